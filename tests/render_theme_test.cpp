// Theme defaults, theme files (replace semantics, duplicates, paths) and file colours.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "memory/arena.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/workbench_state.h"

namespace {

void expect_color(Color c, f32 r, f32 g, f32 b, f32 a) {
    EXPECT_EQ(c.r, r);
    EXPECT_EQ(c.g, g);
    EXPECT_EQ(c.b, b);
    EXPECT_EQ(c.a, a);
}

std::string view_string(StringView s) { return std::string(s.data ? s.data : "", (size_t)s.length); }

class RenderTheme : public ::testing::Test {
protected:
    void SetUp() override {
        if (!arenas_reserved()) arenas_reserve();
        pool_reset(pool_frame);
        theme_set_defaults();
    }
    void parse(const std::string& text) { theme_parse(StringView{text.data(), (i64)text.size()}); }
};

TEST_F(RenderTheme, Defaults) {
    expect_color(render.theme.background_color, 0, 0, 0.5f, 1);
    expect_color(render.theme.menu_background_color, 0, 0, 0, 0.95f);
    expect_color(render.theme.line_number_color, 0.5f, 0.5f, 0.7f, 0.9f);
    expect_color(render.theme.highlight_color, 0.5f, 0.7f, 1, 0.125f);
    expect_color(render.theme.text_file_color, 0.6f, 0.8f, 1, 1);
    EXPECT_EQ(view_string(render.theme.font_path), "resources/font_info.txt");
    EXPECT_EQ(render.theme.background_path.length, 0);
    // Keys follow the field order.
    EXPECT_EQ(view_string(theme_color_key(0)), "background_color");
    EXPECT_EQ(view_string(theme_color_key(32)), "text_file_color");
    EXPECT_EQ(theme_color_field(&render.theme, 17), &render.theme.highlight_color);
    EXPECT_EQ(theme_color_field(&render.theme, theme_color_count), nullptr);
}

TEST_F(RenderTheme, FileReplacesEveryColour) {
    parse("text_color 1 1 0\n");
    expect_color(render.theme.text_color, 1, 1, 0, 1);
    for (int i = 0; i < theme_color_count; i++) {
        if (i == 2) continue;
        Color* c = theme_color_field(&render.theme, i);
        EXPECT_TRUE(color_equal(*c, Color{0, 0, 0, 0})) << view_string(theme_color_key(i));
    }
    EXPECT_EQ(view_string(render.theme.font_path), "resources/font_info.txt") << "not named, so kept";
}

TEST_F(RenderTheme, ColourValueForms) {
    parse("text_color 0.25 0.5 0.75\n"
          "error_color 0.1 0.2 0.3 0.4 trailing words\n"
          "note_color x 2 -0.5 1.5\n"
          "cursor_color 1,0,1\n"
          "selection_color -0.5 2 3.5 -1\n"
          "hover_color 1 1");
    expect_color(render.theme.text_color, 0.25f, 0.5f, 0.75f, 1);
    expect_color(render.theme.error_color, 0.1f, 0.2f, 0.3f, 0.4f);
    // A letter reads as 0 and the separator skip lands on the space before "2", which
    // reads as 0 again; values are not clamped.
    expect_color(render.theme.note_color, 0, 0, 2, -0.5f);
    expect_color(render.theme.cursor_color, 1, 0, 1, 1);  // separators are not examined
    expect_color(render.theme.selection_color, -0.5f, 2, 3.5f, -1);
    expect_color(render.theme.hover_color, 1, 1, 0, 1);  // a cut last line
}

TEST_F(RenderTheme, FirstOccurrenceOfAKeyWins) {
    parse("text_color 0.1 0.1 0.1\nunknown_key 1 1 1\ntext_color 0.9 0.9 0.9\n");
    expect_color(render.theme.text_color, 0.1f, 0.1f, 0.1f, 1);
    EXPECT_EQ(render.theme.entries.count, 1);
    EXPECT_EQ(render.theme.entries.pool, pool_frame);
}

TEST_F(RenderTheme, KeysAreCaseSensitiveAndExact) {
    parse("Text_color 1 1 1\ntext_colour 1 1 1\ntext_color  1 1 1\n");
    // The last line's key is exact but its value starts with a space: r reads 0.
    expect_color(render.theme.text_color, 0, 1, 1, 1);
    expect_color(render.theme.background_color, 0, 0, 0, 0);
}

TEST_F(RenderTheme, PathsRunToTheLineEnd) {
    parse("font my fonts/info.txt\nbackground images/back drop.png\nbackground_color 0.1 0.1 0.12\n");
    EXPECT_EQ(view_string(render.theme.font_path), "my fonts/info.txt");
    EXPECT_EQ(view_string(render.theme.background_path), "images/back drop.png");
    expect_color(render.theme.background_color, 0.1f, 0.1f, 0.12f, 1);
    // The paths outlive the frame pool holding the file.
    EXPECT_TRUE((u8*)render.theme.font_path.data >= memory.arenas[pool_main].base &&
                (u8*)render.theme.font_path.data < memory.arenas[pool_main].base + memory.arenas[pool_main].capacity);
}

TEST_F(RenderTheme, SecondLoadKeepsPathsItDoesNotName) {
    parse("font first/font_info.txt\nbackground first/back.png\ntext_color 1 0 0\n");
    parse("error_color 0 1 0\n");
    EXPECT_EQ(view_string(render.theme.font_path), "first/font_info.txt");
    EXPECT_EQ(view_string(render.theme.background_path), "first/back.png");
    expect_color(render.theme.error_color, 0, 1, 0, 1);
    expect_color(render.theme.text_color, 0, 0, 0, 0);  // the second file decides every colour
    parse("font second/font_info.txt\n");
    EXPECT_EQ(view_string(render.theme.font_path), "second/font_info.txt");
    EXPECT_EQ(view_string(render.theme.background_path), "first/back.png");
}

TEST_F(RenderTheme, ManyLinesKeepEntriesSmall) {
    std::string text;
    for (int i = 0; i < 200000; i++) text += "text_color 1 1 1\nzz 0 0 0\n";
    parse(text);
    EXPECT_EQ(render.theme.entries.count, 1);
    expect_color(render.theme.text_color, 1, 1, 1, 1);
}

TEST_F(RenderTheme, UnreadableFileChangesNothing) {
    render.theme.text_color = Color{0.3f, 0.3f, 0.3f, 1};
    theme_load(SV("/nonexistent/tesmora/theme.txt"));
    theme_load(SV("/tmp"));  // a directory
    expect_color(render.theme.text_color, 0.3f, 0.3f, 0.3f, 1);
    expect_color(render.theme.background_color, 0, 0, 0.5f, 1);
}

TEST_F(RenderTheme, LoadReadsTheFileIntoTheFramePool) {
    char pattern[] = "/tmp/tesmora_theme_XXXXXX";
    int fd = mkstemp(pattern);
    ASSERT_GE(fd, 0);
    const char text[] = "background_color 0.5 0.5 0.5\nfont x/y.txt";
    ASSERT_EQ(write(fd, text, sizeof text - 1), (ssize_t)(sizeof text - 1));
    close(fd);
    i64 frame_before = memory.arenas[pool_frame].used;
    theme_load(sv_from_cstr(pattern));
    unlink(pattern);
    expect_color(render.theme.background_color, 0.5f, 0.5f, 0.5f, 1);
    expect_color(render.theme.text_color, 0, 0, 0, 0);
    EXPECT_EQ(view_string(render.theme.font_path), "x/y.txt");
    EXPECT_GT(memory.arenas[pool_frame].used, frame_before);
}

TEST_F(RenderTheme, FileColourByEnding) {
    parse("c_file_color 0.1 0 0\ncpp_file_color 0.2 0 0\nvantrel_file_color 0.3 0 0\n"
          "glsl_file_color 0.4 0 0\ntext_file_color 0.5 0 0\n");
    struct Case {
        const char* path;
        f32 red;
    } cases[] = {
        {"src/main.vnt", 0.3f}, {"a/b.cpp", 0.2f},  {"x.h", 0.2f},      {"x.hpp", 0.2f},  {"lib.c", 0.1f},
        {"LIB.C", 0.1f},        {"fx.glsl", 0.4f},  {"notes.txt", 0.5f}, {"Makefile", 0.5f}, {"", 0.5f},
        {"archive.cc", 0.2f},   {"dir.h/x", 0.5f},  {"blur.FRAG", 0.4f},
    };
    for (const Case& c : cases) EXPECT_EQ(file_color_for_path(sv_from_cstr(c.path)).r, c.red) << c.path;
}

// The shipped theme files name every colour, so nothing becomes transparent black.
void expect_complete_theme(const char* name, bool light) {
    std::string path = std::string(TESMORA_SOURCE_DIR) + "/themes/" + name;
    FILE* f = fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr) << path;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    fclose(f);
    theme_set_defaults();
    theme_parse(StringView{text.data(), (i64)text.size()});
    EXPECT_EQ(render.theme.entries.count, theme_color_count) << name;
    for (int i = 0; i < theme_color_count; i++) {
        Color* c = theme_color_field(&render.theme, i);
        EXPECT_GT(c->a, 0.0f) << name << " " << view_string(theme_color_key(i));
        EXPECT_TRUE(c->r >= 0 && c->r <= 1 && c->g >= 0 && c->g <= 1 && c->b >= 0 && c->b <= 1);
    }
    EXPECT_EQ(view_string(render.theme.font_path), "resources/font_info.txt") << name;
    auto luminance = [](Color c) { return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b; };
    f32 text_l = luminance(render.theme.text_color), back_l = luminance(render.theme.background_color);
    if (light) EXPECT_GT(back_l - text_l, 0.5f) << name;
    else EXPECT_GT(text_l - back_l, 0.5f) << name;
    EXPECT_EQ(render.theme.background_color.a, 1.0f) << name;
}

TEST_F(RenderTheme, ShippedThemesAreComplete) {
    expect_complete_theme("dark.txt", false);
    EXPECT_EQ(render.theme.background_path.length, 0);
    expect_complete_theme("light.txt", true);
    EXPECT_EQ(view_string(render.theme.background_path), "resources/backdrop.png");
}

}  // namespace
