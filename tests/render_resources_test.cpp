// Icon, background and font loading at start-up, and their release.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"

namespace {

// A 3 x 2 opaque white RGBA image.
const unsigned char tiny_png[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x9d, 0x74, 0x66, 0x1a, 0x00, 0x00, 0x00,
    0x0e, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0x8f, 0x04, 0x18, 0x90, 0x39, 0x00, 0x36, 0xf1, 0x17,
    0xe9, 0x20, 0x17, 0xc5, 0xc2, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82,
};

std::string view_string(StringView s) { return std::string(s.data ? s.data : "", (size_t)s.length); }

// Runs in an empty working directory: there is no resources/ folder.
class RenderResources : public ::testing::Test {
protected:
    void SetUp() override {
        if (!arenas_reserved()) arenas_reserve();
        headless_reset();
        render.gpu = Renderer{};
        theme_set_defaults();
        render.font = Font{};
        decode_buffer = malloc(1 << 20);
        image_set_buffer(1 << 20, decode_buffer);
        image_set_flip(true);
        ASSERT_NE(getcwd(old_cwd, sizeof old_cwd), nullptr);
        char pattern[] = "/tmp/tesmora_resources_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(old_cwd), 0);
        image_set_buffer(0, nullptr);
        free(decode_buffer);
        render.font = Font{};
        render.background_texture = 0;
        for (u32& t : render.icon_textures) t = 0;
        std::string command = "rm -rf '" + dir + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }
    void* decode_buffer = nullptr;
    char old_cwd[4096];
    std::string dir;
};

TEST_F(RenderResources, MissingDirectoryStillLoads) {
    testing::internal::CaptureStdout();
    resources_load();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "failed to open resources/font_info.txt\n");
    for (int i = 0; i < icon_count; i++) {
        EXPECT_NE(render.icon_textures[i], 0u) << icon_paths[i];
        for (int j = 0; j < i; j++) EXPECT_NE(render.icon_textures[i], render.icon_textures[j]);
    }
    EXPECT_EQ(render.font.glyphs.count, 0);
    EXPECT_EQ(render.background_texture, 0u);
    const HeadlessGpuState* gpu = headless_gpu_state();
    EXPECT_EQ(gpu->live_textures, icon_count);
    EXPECT_EQ(gpu->misuse_count, 0) << (gpu->last_misuse ? gpu->last_misuse : "");
    EXPECT_EQ(gpu->texture, 0u) << "textures are left unbound";

    EXPECT_EQ(view_string(icon_base_name(render.icon_textures[icon_cube])), "cube");
    EXPECT_EQ(view_string(icon_base_name(render.icon_textures[icon_sphere_save_all])), "sphere_save_all");
    EXPECT_EQ(icon_base_name(0).length, 0);
    EXPECT_EQ(icon_base_name(999999).length, 0);

    resources_destroy();
    EXPECT_EQ(gpu->live_textures, 0);
    EXPECT_EQ(gpu->misuse_count, 0);
    EXPECT_EQ(icon_base_name(0).length, 0);
}

TEST_F(RenderResources, BackgroundImageAndFontFromTheTheme) {
    ASSERT_EQ(mkdir("look", 0755), 0);
    FILE* f = fopen("look/back.png", "wb");
    ASSERT_NE(f, nullptr);
    fwrite(tiny_png, 1, sizeof tiny_png, f);
    fclose(f);
    f = fopen("look/font_info.txt", "wb");
    ASSERT_NE(f, nullptr);
    fputs("s 3 2\ni back.png\ng 65 0 0 1 0 0 1 1\n", f);
    fclose(f);
    render.theme.background_path = SV("look/back.png");
    render.theme.font_path = SV("look/font_info.txt");

    testing::internal::CaptureStdout();
    resources_load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_NE(render.background_texture, 0u);
    EXPECT_EQ(render.background_width, 3);
    EXPECT_EQ(render.background_height, 2);
    i32 w = 0, h = 0;
    headless_texture_size(render.background_texture, &w, &h);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(render.font.glyphs.count, 2);
    ASSERT_NE(render.font.texture, 0u);
    headless_texture_size(render.font.texture, &w, &h);
    EXPECT_EQ(w, 3) << "the atlas found next to font_info is decoded";
    const HeadlessGpuState* gpu = headless_gpu_state();
    EXPECT_EQ(gpu->live_textures, icon_count + 2);

    resources_destroy();
    EXPECT_EQ(render.background_texture, 0u);
    EXPECT_EQ(render.font.texture, 0u);
    EXPECT_EQ(gpu->live_textures, 0);
    EXPECT_EQ(gpu->misuse_count, 0) << (gpu->last_misuse ? gpu->last_misuse : "");
}

TEST_F(RenderResources, TextureLoadReportsSizeAndRestartsTheBuffer) {
    FILE* f = fopen("a.png", "wb");
    ASSERT_NE(f, nullptr);
    fwrite(tiny_png, 1, sizeof tiny_png, f);
    fclose(f);
    // Far more loads than the decoding buffer could hold without starting over.
    i32 w = 0, h = 0;
    for (int i = 0; i < 2000; i++) {
        u32 t = texture_load(SV("a.png"), i % 2 == 0, &w, &h);
        ASSERT_EQ(w, 3) << i;
        texture_destroy(t);
    }
    EXPECT_EQ(h, 2);
    u32 t = texture_load(SV("missing.png"), false, &w, &h);
    EXPECT_NE(t, 0u);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    texture_load(SV("a.png"), false, nullptr, nullptr);
    EXPECT_EQ(headless_gpu_state()->misuse_count, 0);
}

}  // namespace
