// GPU set-up, projection, frame buffer and the two per-frame passes on the headless back-end.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "render/theme.h"

namespace {

struct Clip {
    f32 x, y;
};

Clip transform(const f32* m, f32 x, f32 y) { return Clip{m[0] * x + m[4] * y + m[12], m[1] * x + m[5] * y + m[13]}; }

class RenderGpu : public ::testing::Test {
protected:
    void SetUp() override {
        if (!arenas_reserved()) arenas_reserve();
        headless_reset();
        render.gpu = Renderer{};
        theme_set_defaults();
        gpu_setup();
    }
    void TearDown() override { render.gpu = Renderer{}; }
};

TEST(RenderShaderTexts, ExactLengthsAndSections) {
    EXPECT_EQ(simple_shader_text.length, 648);
    EXPECT_EQ(gamma_shader_text.length, 466);
    std::string simple(simple_shader_text.data, (size_t)simple_shader_text.length);
    std::string gamma(gamma_shader_text.data, (size_t)gamma_shader_text.length);
    EXPECT_EQ(simple.rfind("#vertex\n#version 330 core\n", 0), 0u);
    EXPECT_EQ(gamma.rfind("#vertex\n#version 330 core\n", 0), 0u);
    EXPECT_NE(simple.find("\n#fragment\n#version 330 core\n"), std::string::npos);
    // The instance layout of QuadInstance, and the corner order of the unit quad's strip.
    EXPECT_NE(simple.find("layout(location = 0) in mat4 mvp;\nlayout(location = 4) in vec4 color;\n"
                          "layout(location = 5) in vec4 uv_rect;\n"),
              std::string::npos);
    EXPECT_NE(simple.find("vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1))"), std::string::npos);
    EXPECT_NE(simple.find("uv = corner * uv_rect.zw + uv_rect.xy;"), std::string::npos);
    EXPECT_NE(simple.find("flat in vec4 tint;"), std::string::npos) << "one exact colour per quad";
    EXPECT_NE(gamma.find("vec3(1.0/gamma)"), std::string::npos);
    EXPECT_EQ(simple.back(), '\n');
    EXPECT_EQ(gamma.substr(gamma.size() - 3), "\n}\n");
}

TEST_F(RenderGpu, SetupBuildsEveryObjectWithoutMisuse) {
    const HeadlessGpuState* gpu = headless_gpu_state();
    EXPECT_EQ(gpu->misuse_count, 0) << (gpu->last_misuse ? gpu->last_misuse : "");
    EXPECT_EQ(gpu->live_programs, 2);
    EXPECT_EQ(gpu->live_vertex_arrays, 1);
    EXPECT_EQ(gpu->live_buffers, 1);
    EXPECT_EQ(gpu->live_frame_buffers, 1);
    EXPECT_EQ(gpu->live_textures, 1);
    EXPECT_EQ(gpu->vertex_array, 0u) << "the quad's vertex array is left unbound";
    EXPECT_EQ(gpu->frame_buffer, 0u) << "the frame buffer is left unbound";
    EXPECT_EQ(render.gpu.width, 1024);
    EXPECT_EQ(render.gpu.height, 768);
    EXPECT_DOUBLE_EQ(render.gpu.gamma, 2.2);
    i32 w = 0, h = 0;
    headless_texture_size(render.gpu.frame_texture, &w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    EXPECT_NE(render.gpu.simple_shader, render.gpu.gamma_shader);
    // Every uniform the renderer uses exists in its program; quads sample unit 0.
    for (i32 location : {render.gpu.simple_diffuse, render.gpu.simple_gamma, render.gpu.gamma_mvp, render.gpu.gamma_diffuse,
                         render.gpu.gamma_gamma})
        EXPECT_GE(location, 0);
    const HeadlessUniformValue* diffuse = headless_uniform(render.gpu.simple_shader, SV("diffuse"));
    ASSERT_NE(diffuse, nullptr);
    EXPECT_EQ(diffuse->integer, 0);
    EXPECT_EQ(diffuse->set_count, 1);
}

TEST_F(RenderGpu, ProjectionMapsWindowPixelsOntoClipSpace) {
    render.gpu.width = 800;
    render.gpu.height = 600;
    projection_update();
    const f32* p = render.gpu.projection_matrix.e;
    EXPECT_FLOAT_EQ(p[0], 2.0f / 800);
    EXPECT_FLOAT_EQ(p[5], 2.0f / 600);
    EXPECT_EQ(p[10], -1.0f);
    EXPECT_EQ(p[12], -1.0f);
    EXPECT_EQ(p[13], -1.0f);
    EXPECT_EQ(p[14], 0.0f);
    EXPECT_TRUE(std::signbit(p[14]));
    EXPECT_EQ(p[15], 1.0f);
    for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 11}) EXPECT_EQ(p[i], 0.0f) << i;
    Clip low = transform(p, 0, 0), high = transform(p, 800, 600), middle = transform(p, 400, 300);
    EXPECT_FLOAT_EQ(low.x, -1);
    EXPECT_FLOAT_EQ(low.y, -1);
    EXPECT_FLOAT_EQ(high.x, 1);
    EXPECT_FLOAT_EQ(high.y, 1);
    EXPECT_NEAR(middle.x, 0, 1e-6);
    EXPECT_NEAR(middle.y, 0, 1e-6);
}

TEST_F(RenderGpu, OnePixelWindowGetsFrameBufferAndProjection) {
    u32 old_buffer = render.gpu.frame_buffer;
    render.gpu.width = 1;
    render.gpu.height = 1;
    frame_buffer_resize();
    projection_update();
    const HeadlessGpuState* gpu = headless_gpu_state();
    EXPECT_EQ(gpu->misuse_count, 0) << (gpu->last_misuse ? gpu->last_misuse : "");
    EXPECT_NE(render.gpu.frame_buffer, 0u);
    EXPECT_NE(render.gpu.frame_buffer, old_buffer);
    EXPECT_EQ(gpu->live_frame_buffers, 1) << "the old frame buffer is destroyed";
    EXPECT_EQ(gpu->live_textures, 1) << "the old frame texture is destroyed";
    i32 w = 0, h = 0;
    headless_texture_size(render.gpu.frame_texture, &w, &h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(render.gpu.projection_matrix.e[0], 2.0f);
    EXPECT_EQ(render.gpu.projection_matrix.e[5], 2.0f);
    Clip corner = transform(render.gpu.projection_matrix.e, 1, 1);
    EXPECT_EQ(corner.x, 1.0f);
    EXPECT_EQ(corner.y, 1.0f);
}

TEST_F(RenderGpu, FrameBufferStatusLines) {
    const char* expected[9] = {"",
                               "frame buffer error: undefined\n",
                               "frame buffer error: incomplete attachment\n",
                               "frame buffer error: missing attachment\n",
                               "frame buffer error: incomplete draw buffer\n",
                               "frame buffer error: incomplete read attachment\n",
                               "frame buffer error: incomplete attachment\n",
                               "frame buffer error: incomplete layer attachment\n",
                               "frame buffer error: unsupported\n"};
    for (i32 status = 0; status <= 10; status++) {
        headless_set_frame_buffer_status(status);
        testing::internal::CaptureStdout();
        frame_buffer_resize();
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, status <= 8 ? expected[status] : "") << status;
        EXPECT_NE(render.gpu.frame_buffer, 0u) << "drawing goes on with the incomplete buffer";
    }
    EXPECT_EQ(headless_gpu_state()->live_frame_buffers, 1);
}

TEST_F(RenderGpu, BeginFrameClearsToRaisedBackground) {
    render.theme.background_color = Color{0.5f, 0.5f, 0.5f, 0.75f};
    begin_frame();
    const HeadlessGpuState* gpu = headless_gpu_state();
    EXPECT_NEAR(gpu->clear_color[0], 0.2176, 1e-4);
    EXPECT_NEAR(gpu->clear_color[1], 0.2176, 1e-4);
    EXPECT_NEAR(gpu->clear_color[2], 0.2176, 1e-4);
    EXPECT_EQ(gpu->clear_color[3], 0.75f) << "alpha is not raised";
    EXPECT_EQ(gpu->clear_mask, 4u);
    EXPECT_EQ(gpu->clear_count, 1);
    EXPECT_EQ(gpu->frame_buffer, render.gpu.frame_buffer);
    EXPECT_TRUE(gpu->blend_enabled);
    EXPECT_EQ(gpu->blend_source, 3u);
    EXPECT_EQ(gpu->blend_destination, 9u);
    EXPECT_EQ(gpu->viewport[2], 1024);
    EXPECT_EQ(gpu->viewport[3], 768);
    EXPECT_EQ(gpu->program, render.gpu.simple_shader);
    const HeadlessUniformValue* gamma = headless_uniform(render.gpu.simple_shader, SV("gamma"));
    ASSERT_NE(gamma, nullptr);
    EXPECT_FLOAT_EQ(gamma->floats[0], 2.2f);
    for (int i = 0; i < 16; i++) EXPECT_EQ(render.gpu.combined_matrix.e[i], render.gpu.projection_matrix.e[i]) << i;
    EXPECT_EQ(gpu->misuse_count, 0) << (gpu->last_misuse ? gpu->last_misuse : "");
}

TEST_F(RenderGpu, EndFrameDrawsOneFullWindowQuadThroughGammaPass) {
    begin_frame();
    i64 before = headless_draw_count();
    end_frame();
    ASSERT_EQ(headless_draw_count(), before + 1);
    const RecordedDraw& d = headless_draws()[before];
    EXPECT_EQ(d.program, render.gpu.gamma_shader);
    EXPECT_EQ(d.frame_buffer, 0u);
    EXPECT_EQ(d.texture, render.gpu.frame_texture);
    EXPECT_EQ(d.mode, 5u);
    EXPECT_EQ(d.first, 0);
    EXPECT_EQ(d.count, 4);
    EXPECT_EQ(d.instances, 1);
    const f32 expected[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1, 0, -1, -1, 0, 1};
    for (int i = 0; i < 16; i++) EXPECT_EQ(d.mvp[i], expected[i]) << i;
    Clip low = transform(d.mvp, 0, 0), high = transform(d.mvp, 1, 1);
    EXPECT_EQ(low.x, -1.0f);
    EXPECT_EQ(high.y, 1.0f);
    const HeadlessGpuState* gpu = headless_gpu_state();
    EXPECT_FALSE(gpu->blend_enabled);
    EXPECT_EQ(gpu->vertex_array, 0u);
    EXPECT_EQ(gpu->texture, 0u);
    const HeadlessUniformValue* gamma = headless_uniform(render.gpu.gamma_shader, SV("gamma"));
    const HeadlessUniformValue* diffuse = headless_uniform(render.gpu.gamma_shader, SV("diffuse"));
    ASSERT_NE(gamma, nullptr);
    ASSERT_NE(diffuse, nullptr);
    EXPECT_FLOAT_EQ(gamma->floats[0], 2.2f);
    EXPECT_EQ(diffuse->integer, 0);
    EXPECT_EQ(gpu->misuse_count, 0) << (gpu->last_misuse ? gpu->last_misuse : "");
}

TEST_F(RenderGpu, ReleaseDestroysEverything) {
    gpu_release();
    const HeadlessGpuState* gpu = headless_gpu_state();
    EXPECT_EQ(gpu->live_programs, 0);
    EXPECT_EQ(gpu->live_vertex_arrays, 0);
    EXPECT_EQ(gpu->live_buffers, 0);
    EXPECT_EQ(gpu->live_frame_buffers, 0);
    EXPECT_EQ(gpu->live_textures, 0);
    EXPECT_EQ(gpu->misuse_count, 0) << (gpu->last_misuse ? gpu->last_misuse : "");
}

}  // namespace
