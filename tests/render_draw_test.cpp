// Matrices, draw_quad's transform and uniforms, colour scaling and the scissor helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/draw_list.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"

namespace {

struct Point {
    f32 x, y;
};

Point apply(const Matrix& m, f32 x, f32 y) { return Point{m.e[0] * x + m.e[4] * y + m.e[12], m.e[1] * x + m.e[5] * y + m.e[13]}; }

// A recorded mvp applied to a corner of the unit quad, back in window pixels.
Point quad_corner_pixels(const RecordedDraw& d, f32 u, f32 v) {
    f32 cx = d.mvp[0] * u + d.mvp[4] * v + d.mvp[12];
    f32 cy = d.mvp[1] * u + d.mvp[5] * v + d.mvp[13];
    return Point{(cx + 1) * 0.5f * (f32)render.gpu.width, (cy + 1) * 0.5f * (f32)render.gpu.height};
}

TEST(RenderMatrix, ProductAppliesRightFactorFirst) {
    Point p = apply(matrix_multiply(translate(3, 4), scale(2, 5)), 1, 1);
    EXPECT_EQ(p.x, 5.0f);
    EXPECT_EQ(p.y, 9.0f);
    Point q = apply(matrix_multiply(scale(2, 5), translate(3, 4)), 1, 1);
    EXPECT_EQ(q.x, 8.0f);
    EXPECT_EQ(q.y, 25.0f);
    // A general product, entry by entry: row 1 of A against column 2 of B.
    Matrix a{}, b{};
    for (int i = 0; i < 16; i++) {
        a.e[i] = (f32)(i + 1);
        b.e[i] = (f32)(16 - i);
    }
    Matrix r = matrix_multiply(a, b);
    f32 expected = 0;
    for (int k = 0; k < 4; k++) expected += a.e[k * 4 + 1] * b.e[2 * 4 + k];
    EXPECT_EQ(r.e[2 * 4 + 1], expected);
    Matrix id = matrix_multiply(matrix_identity(), a);
    for (int i = 0; i < 16; i++) EXPECT_EQ(id.e[i], a.e[i]);
}

TEST(RenderColor, ScaleMultipliesAlphaToo) {
    Color c = color_scale(Color{1, 0.5f, 0.25f, 0.8f}, 0.5f);
    EXPECT_FLOAT_EQ(c.r, 0.5f);
    EXPECT_FLOAT_EQ(c.g, 0.25f);
    EXPECT_FLOAT_EQ(c.b, 0.125f);
    EXPECT_FLOAT_EQ(c.a, 0.4f);
}

class RenderDraw : public ::testing::Test {
protected:
    void SetUp() override {
        if (!arenas_reserved()) arenas_reserve();
        headless_reset();
        render.gpu = Renderer{};
        theme_set_defaults();
        gpu_setup();
        render.icon_textures[icon_white] = texture_create();
        begin_frame();
        first = headless_draw_count();
    }
    void TearDown() override {
        render.icon_textures[icon_white] = 0;
        render.gpu = Renderer{};
    }
    const RecordedDraw& draw(i64 i) { return headless_draws()[first + i]; }
    i64 first = 0;
};

void expect_near(Point p, f32 x, f32 y) {
    EXPECT_NEAR(p.x, x, 1e-3) << "x";
    EXPECT_NEAR(p.y, y, 1e-3) << "y";
}

TEST_F(RenderDraw, QuadCornersLandOnTheRectangle) {
    draw_quad(render.icon_textures[icon_white], Color{1, 1, 1, 1}, 10, 20, 30, 40, 0, 0, 0, uv_rect_full);
    ASSERT_EQ(headless_draw_count(), first + 1);
    expect_near(quad_corner_pixels(draw(0), 0, 0), 10, 20);
    expect_near(quad_corner_pixels(draw(0), 1, 0), 40, 20);
    expect_near(quad_corner_pixels(draw(0), 1, 1), 40, 60);
    EXPECT_EQ(draw(0).program, render.gpu.simple_shader);
    EXPECT_EQ(draw(0).frame_buffer, render.gpu.frame_buffer);
    EXPECT_EQ(draw(0).mode, 5u);
    EXPECT_EQ(draw(0).count, 4);
    EXPECT_EQ(draw(0).instances, 1);
    EXPECT_EQ(headless_gpu_state()->vertex_array, 0u);
    EXPECT_EQ(headless_gpu_state()->misuse_count, 0);
}

TEST_F(RenderDraw, NegativeWidthMirrorsToTheLeft) {
    draw_quad(render.icon_textures[icon_white], Color{1, 1, 1, 1}, 100, 50, -30, 10, 0, 0, 0, uv_rect_full);
    expect_near(quad_corner_pixels(draw(0), 0, 0), 100, 50);
    expect_near(quad_corner_pixels(draw(0), 1, 1), 70, 60);
}

TEST_F(RenderDraw, PivotAndQuarterTurnRotateAboutTheCentre) {
    // A 20 x 10 quad centred on (100, 100), turned a quarter counter-clockwise.
    draw_quad(render.icon_textures[icon_white], Color{1, 1, 1, 1}, 100, 100, 20, 10, 10, 5, M_PI / 2, uv_rect_full);
    expect_near(quad_corner_pixels(draw(0), 0, 0), 105, 90);   // bottom-left goes to lower right
    expect_near(quad_corner_pixels(draw(0), 1, 0), 105, 110);  // bottom-right goes up
    expect_near(quad_corner_pixels(draw(0), 1, 1), 95, 110);
    expect_near(quad_corner_pixels(draw(0), 0.5f, 0.5f), 100, 100);
}

TEST_F(RenderDraw, ColorTextureAndUvRectPassThrough) {
    u32 texture = texture_create();
    draw_quad(texture, Color{0.1f, 0.2f, 0.3f, 0.4f}, 0, 0, 5, 5, 0, 0, 0, UvRect{0, 0, 0.5f, 1});
    EXPECT_EQ(draw(0).texture, texture);
    EXPECT_EQ(draw(0).color[0], 0.1f);
    EXPECT_EQ(draw(0).color[1], 0.2f);
    EXPECT_EQ(draw(0).color[2], 0.3f);
    EXPECT_EQ(draw(0).color[3], 0.4f);
    EXPECT_EQ(draw(0).uv_rect[0], 0.0f);
    EXPECT_EQ(draw(0).uv_rect[2], 0.5f);
    EXPECT_EQ(draw(0).uv_rect[3], 1.0f);
    const HeadlessUniformValue* diffuse = headless_uniform(render.gpu.simple_shader, SV("diffuse"));
    ASSERT_NE(diffuse, nullptr);
    EXPECT_EQ(diffuse->integer, 0);
}

TEST_F(RenderDraw, RectUsesWhiteTextureAndCoversResizedWindow) {
    render.gpu.width = 800;
    render.gpu.height = 600;
    frame_buffer_resize();
    projection_update();
    begin_frame();
    i64 at = headless_draw_count();
    draw_rect(Color{0, 1, 0, 1}, 0, 0, 800, 600);
    const RecordedDraw& d = headless_draws()[at];
    EXPECT_EQ(d.texture, render.icon_textures[icon_white]);
    EXPECT_EQ(d.color[1], 1.0f);
    f32 cx0 = d.mvp[12], cy0 = d.mvp[13];
    f32 cx1 = d.mvp[0] + d.mvp[12], cy1 = d.mvp[5] + d.mvp[13];
    EXPECT_NEAR(cx0, -1, 1e-6);
    EXPECT_NEAR(cy0, -1, 1e-6);
    EXPECT_NEAR(cx1, 1, 1e-6);
    EXPECT_NEAR(cy1, 1, 1e-6);
}

TEST_F(RenderDraw, ScissorHelpersTruncateAndSwitch) {
    scissor_set(10.9, 20.2, 30.7, 40.99);
    draw_rect(Color{1, 1, 1, 1}, 0, 0, 1, 1);
    EXPECT_TRUE(draw(0).scissor_enabled);
    EXPECT_EQ(draw(0).scissor[0], 10);
    EXPECT_EQ(draw(0).scissor[1], 20);
    EXPECT_EQ(draw(0).scissor[2], 30);
    EXPECT_EQ(draw(0).scissor[3], 40);
    scissor_off();
    draw_rect(Color{1, 1, 1, 1}, 0, 0, 1, 1);
    EXPECT_FALSE(draw(1).scissor_enabled);
    // Layout values out of range must not turn into undefined conversions.
    scissor_set(1e300, -1e300, NAN, 5);
    draw_rect(Color{1, 1, 1, 1}, 0, 0, 1, 1);
    EXPECT_EQ(draw(2).scissor[0], INT32_MAX);
    EXPECT_EQ(draw(2).scissor[1], INT32_MIN);
    EXPECT_EQ(draw(2).scissor[2], 0);
    EXPECT_EQ(draw(2).scissor[3], 5);
    EXPECT_FALSE(headless_gpu_state()->scissor_enabled) << "the scissor of clears stays off";
}

// Quads wait in the draw list, in runs of one texture and one scissor, until the frame
// ends or the list is full; the list's storage is taken once and reused.
TEST_F(RenderDraw, DrawListKeepsOrderInRunsUntilTheFrameEndsOrTheListIsFull) {
    u32 a = render.icon_textures[icon_white], b = texture_create();
    i64 submissions = render.draw_list.submissions;
    const u32 textures[7] = {a, a, b, b, b, b, a};
    for (i32 i = 0; i < 7; i++) {
        if (i == 3) scissor_set(1, 2, 3, 4);
        if (i == 5) scissor_set(5, 6, 7, 8);
        if (i == 6) scissor_off();
        draw_quad(textures[i], Color{1, 1, 1, 1}, 10 * i, 0, 5, 5, 0, 0, 0, uv_rect_full);
    }
    // Read before any view of the back-end, which would take the list.
    EXPECT_EQ(render.draw_list.count, 7);
    EXPECT_EQ(render.draw_list.run_count, 5) << "a a | b | b b (1,2,3,4) | b (5,6,7,8) | a";
    EXPECT_EQ(render.draw_list.submissions, submissions);
    end_frame();
    EXPECT_EQ(render.draw_list.count, 0);
    ASSERT_EQ(headless_draw_count(), first + 8) << "seven quads, then the gamma pass";
    EXPECT_EQ(headless_gpu_state()->quad_runs, 5);
    const i32 scissor_x[7] = {-1, -1, -1, 1, 1, 5, -1};
    for (i32 i = 0; i < 7; i++) {
        EXPECT_EQ(draw(i).texture, textures[i]) << i;
        EXPECT_EQ(draw(i).program, render.gpu.simple_shader) << i;
        EXPECT_EQ(draw(i).frame_buffer, render.gpu.frame_buffer) << i;
        expect_near(quad_corner_pixels(draw(i), 0, 0), 10.0f * (f32)i, 0);
        EXPECT_EQ(draw(i).scissor_enabled, scissor_x[i] >= 0) << i;
        if (scissor_x[i] >= 0) {
            EXPECT_EQ(draw(i).scissor[0], scissor_x[i]) << i;
        }
    }
    EXPECT_EQ(draw(7).program, render.gpu.gamma_shader);

    // One quad more than a new list holds: the full list is drawn and the storage
    // doubles, so that the next frame of this size fits.
    render.draw_list = DrawList{};
    const i64 quads = draw_list_first_capacity + 1;
    for (i32 frame = 0; frame < 2; frame++) {
        input_poll();
        begin_frame();
        submissions = render.draw_list.submissions;
        i64 used = memory.arenas[pool_main].used;
        const QuadInstance* storage = render.draw_list.quads;
        for (i64 i = 0; i < quads; i++) draw_rect(Color{1, 1, 1, 1}, (f64)i, 0, 1, 1);
        if (frame == 0) {
            EXPECT_EQ(render.draw_list.submissions, submissions + 1) << "the full list went out";
            EXPECT_EQ(render.draw_list.count, 1);
            EXPECT_EQ(render.draw_list.capacity, 2 * draw_list_first_capacity);
        } else {
            EXPECT_EQ(render.draw_list.submissions, submissions) << "the frame fits";
            EXPECT_EQ(render.draw_list.quads, storage);
            EXPECT_EQ(memory.arenas[pool_main].used, used) << "no memory taken by a frame like the last";
        }
        end_frame();
        ASSERT_EQ(headless_draw_count(), quads + 1);
        for (i64 i = 0; i < quads; i++) ASSERT_NEAR(headless_draws()[i].mvp[12], -1 + 2.0f * (f32)i / 1024, 1e-5) << i;
    }
}

// Frames on change: two changes far apart are redrawn and presented as two small
// rectangles, not as everything between them.
TEST_F(RenderDraw, KeptFramesRedrawTheRectanglesThatChangedApart) {
    render.frames.skip_unchanged = true;
    frame_damage_forget();
    const f64 w = render.gpu.width, h = render.gpu.height;
    auto frame = [&](Color first_colour) {
        input_poll();
        begin_frame();
        draw_rect(first_colour, 10, 10, 20, 20);
        draw_rect(Color{0, 1, 0, 1}, w / 2, h / 2, 20, 20);  // drawn after the first: its order changes with it
        draw_rect(Color{0, 0, 1, 1}, w - 40, h - 40, 20, 20);
        EXPECT_TRUE(end_frame());
        frame_present(false);
    };
    i32 area[4];
    // The first frames are whole (the kept picture is made after the first).
    for (int i = 0; i < 2; i++) {
        frame(Color{1, 0, 0, 1});
        EXPECT_EQ(headless_last_present_area(area), 1);
        EXPECT_EQ(area[2] * area[3], w * h);
    }

    frame(Color{1, 1, 0, 1});
    EXPECT_EQ(headless_last_present_area(area), 2);
    EXPECT_LT(area[0], 10);
    EXPECT_GT(area[0] + area[2], w / 2 + 20);
    i64 quads = 0;
    for (i64 i = 0; i < headless_draw_count(); i++)
        if (headless_draws()[i].program == render.gpu.simple_shader) quads++;
    EXPECT_EQ(quads, 2) << "the far corner's quad is neither redrawn nor presented";

    // Boxes near each other share a rectangle; past the limit, rectangles grow instead.
    Damage d{};
    damage_add(&d, DamageRect{0, 0, 10, 10});
    damage_add(&d, DamageRect{12, 0, 20, 10});
    EXPECT_EQ(d.count, 1);
    for (i32 i = 1; i <= damage_rect_limit + 2; i++) damage_add(&d, DamageRect{100 * i, 100 * i, 100 * i + 5, 100 * i + 5});
    EXPECT_EQ(d.count, damage_rect_limit);
    for (i32 i = 0; i < d.count; i++)
        for (i32 j = i + 1; j < d.count; j++) {
            const DamageRect &a = d.rects[i], &b = d.rects[j];
            EXPECT_TRUE(a.x1 <= b.x0 || b.x1 <= a.x0 || a.y1 <= b.y0 || b.y1 <= a.y0) << "rectangles never overlap";
        }
    i32 left = d.rects[0].x0, right = d.rects[0].x1;
    for (i32 i = 1; i < d.count; i++) left = std::min(left, d.rects[i].x0), right = std::max(right, d.rects[i].x1);
    EXPECT_EQ(left, 0) << "no box is lost";
    EXPECT_EQ(right, 100 * (damage_rect_limit + 2) + 5);
    render.frames = FramePacing{};
}

}  // namespace
