// font_load from files: the atlas search next to font_info, and every failure message.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"

namespace {

std::string make_temp_dir() {
    char pattern[] = "/tmp/tesmora_font_XXXXXX";
    char* dir = mkdtemp(pattern);
    EXPECT_NE(dir, nullptr);
    return dir ? dir : "/tmp";
}

void write_file(const std::string& path, const std::string& content) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(content.data(), 1, content.size(), f);
    fclose(f);
}

class RenderFontLoad : public ::testing::Test {
protected:
    void SetUp() override {
        if (!arenas_reserved()) arenas_reserve();
        headless_reset();
        render.gpu = Renderer{};
        theme_set_defaults();
        render.font = Font{};
        dir = make_temp_dir();
        write_file(dir + "/atlas.png", "not decoded in this test");
    }
    void TearDown() override {
        render.font = Font{};
        std::string command = "rm -rf '" + dir + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }
    // Loads `content` written as <dir>/font_info.txt; returns what was printed.
    std::string load(const std::string& content) {
        path = dir + "/font_info.txt";
        write_file(path, content);
        render.theme.font_path = StringView{path.c_str(), (i64)path.size()};
        testing::internal::CaptureStdout();
        font_load();
        return testing::internal::GetCapturedStdout();
    }
    std::string dir, path;
};

TEST_F(RenderFontLoad, AtlasFoundNextToFontInfo) {
    std::string out = load("s 128 64\ni atlas.png\ng 32 0 0 8 0 0 0 0\ng 65 1 2 10 20 30 12 16\ng 65533 0 0 9 0 0 9 9\n");
    EXPECT_EQ(out, "");
    ASSERT_EQ(render.font.glyphs.count, 4);
    EXPECT_NE(render.font.texture, 0u);
    EXPECT_EQ(headless_gpu_state()->live_textures, 1);
    EXPECT_EQ(headless_gpu_state()->misuse_count, 0);
    EXPECT_DOUBLE_EQ(render.font.size, 256);
    EXPECT_DOUBLE_EQ(render.font.space_advance, 8.0 / 128);
    EXPECT_DOUBLE_EQ(render.font.line_height, 16.0 / 64);
    const Glyph& a = render.font.glyphs[glyph_lookup(&render.font, 65)];
    EXPECT_DOUBLE_EQ(a.offset_x, 1.0 / 128);
    EXPECT_DOUBLE_EQ(a.offset_y, 2.0 / 64);
    EXPECT_DOUBLE_EQ(a.u, 20.0 / 128);
    EXPECT_DOUBLE_EQ(a.v, 30.0 / 64);
    EXPECT_DOUBLE_EQ(a.width, 12.0 / 128);
    EXPECT_DOUBLE_EQ(render.font.glyphs[0].advance, 9.0 / 128);
}

TEST_F(RenderFontLoad, AtlasPathAsWrittenWinsAndLastLineNeedsNoNewline) {
    std::string out = load("i " + dir + "/atlas.png\ng 97 0 0 3 0 0 4 5");
    EXPECT_EQ(out, "");
    EXPECT_EQ(render.font.glyphs.count, 2);
    EXPECT_NE(render.font.texture, 0u);
    EXPECT_DOUBLE_EQ(render.font.glyphs[1].advance, 3) << "without an s line the divisors are 1";
}

TEST_F(RenderFontLoad, MissingFileLeavesFontEmpty) {
    render.theme.font_path = SV("/nonexistent/tesmora/font_info.txt");
    testing::internal::CaptureStdout();
    font_load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed to open /nonexistent/tesmora/font_info.txt\n");
    EXPECT_EQ(render.font.glyphs.count, 0);
}

TEST_F(RenderFontLoad, MissingAtlasNamesThePathTried) {
    std::string out = load("s 256 256\ng 97 0 0 3 0 0 4 5\ni missing.png\n");
    EXPECT_EQ(out, "failed to load font image: " + dir + "/missing.png\n");
    EXPECT_EQ(render.font.glyphs.count, 0);
    EXPECT_EQ(headless_gpu_state()->live_textures, 0);
}

TEST_F(RenderFontLoad, MissingAtlasWithoutDirectory) {
    Font f;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(font_parse(&f, SV("i nowhere-atlas.png\n"), SV("font_info.txt")));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed to load font image: nowhere-atlas.png\n");
}

TEST_F(RenderFontLoad, FailedLoadDestroysItsAtlas) {
    std::string out = load("i atlas.png\nq 1 2\n");
    EXPECT_EQ(out, "unknown q\n");
    EXPECT_EQ(render.font.glyphs.count, 0);
    EXPECT_EQ(headless_gpu_state()->live_textures, 0);
    EXPECT_EQ(headless_gpu_state()->misuse_count, 0);
}

TEST_F(RenderFontLoad, MalformedLinesStopSilently) {
    for (const char* content : {"g 97 0 0 3 0 0 4 5\n\ng 98 0 0 3 0 0 4 5\n", "g97 0 0\n", "g", "s 1 1\ng"}) {
        render.font = Font{};
        EXPECT_EQ(load(content), "") << content;
        EXPECT_EQ(render.font.glyphs.count, 0) << content;
    }
}

TEST_F(RenderFontLoad, EmptyFileInstallsOnlyTheFallback) {
    EXPECT_EQ(load(""), "");
    ASSERT_EQ(render.font.glyphs.count, 1);
    EXPECT_EQ(render.font.glyphs[0].advance, 0.0);
    EXPECT_DOUBLE_EQ(render.font.size, 256);
}

}  // namespace
