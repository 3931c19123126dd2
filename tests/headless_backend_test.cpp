// The headless back-end: scripted input across frames, recorded draws, the in-memory
// clipboard and message boxes. Every other test leans on these behaviours.
#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace {

class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override { headless_reset(); }
    void TearDown() override { headless_reset(); }
};

struct KeyState {
    bool pressed, held, typed, released;
};

KeyState key_state(i32 key) {
    return KeyState{input_key_is_pressed(key), input_key_is_held(key), input_key_is_typed(key),
                    input_key_is_released(key)};
}

void expect_key(i32 key, bool pressed, bool held, bool typed, bool released, const char* where) {
    KeyState s = key_state(key);
    EXPECT_EQ(s.pressed, pressed) << where;
    EXPECT_EQ(s.held, held) << where;
    EXPECT_EQ(s.typed, typed) << where;
    EXPECT_EQ(s.released, released) << where;
}

std::string text_of(StringView s) { return std::string(s.data, (size_t)s.length); }

TEST_F(HeadlessTest, KeyDownHoldUpAcrossFrames) {
    headless_key_down(key_A);
    expect_key(key_A, false, false, false, false, "queued events wait for the poll");
    input_poll();
    expect_key(key_A, true, true, true, false, "down frame");
    EXPECT_TRUE(input_key_is_typed(key_any));
    EXPECT_FALSE(input_key_is_pressed(key_B));

    input_poll();
    expect_key(key_A, false, true, false, false, "held frame");
    EXPECT_FALSE(input_key_is_typed(key_any));

    headless_key_repeat(key_A);
    input_poll();
    expect_key(key_A, false, true, true, false, "repeat frame");
    EXPECT_TRUE(input_key_is_typed(key_any));

    headless_key_up(key_A);
    input_poll();
    expect_key(key_A, false, false, false, true, "up frame");
    input_poll();
    expect_key(key_A, false, false, false, false, "after up");

    // Down and up between two polls: both edges are seen, the key is not left held.
    headless_key_down(key_enter);
    headless_key_up(key_enter);
    input_poll();
    expect_key(key_enter, true, false, true, true, "down and up in one frame");

    // Codes outside the table are ignored, not stored out of bounds.
    headless_key_down(-1);
    headless_key_down(key_count);
    headless_key_down(1 << 20);
    input_poll();
    EXPECT_FALSE(input_key_is_pressed(-1));
    EXPECT_FALSE(input_key_is_held(key_count));
    EXPECT_FALSE(input_key_is_typed(1 << 20));
}

TEST_F(HeadlessTest, TapReleasesAtTheFollowingPoll) {
    headless_key_tap(key_tab);
    input_poll();
    expect_key(key_tab, true, true, true, false, "tap frame");
    EXPECT_TRUE(input_key_is_typed(key_any));
    input_poll();
    expect_key(key_tab, false, false, false, true, "frame after the tap");
    input_poll();
    expect_key(key_tab, false, false, false, false, "two frames after the tap");

    // Tapping again in the frame after a tap: released and pressed again, still down.
    headless_key_tap(key_C);
    input_poll();
    headless_key_tap(key_C);
    input_poll();
    expect_key(key_C, true, true, true, true, "second tap");
    input_poll();
    expect_key(key_C, false, false, false, true, "after the second tap");

    // A tap does not release a key that a later explicit down holds.
    headless_key_tap(key_D);
    input_poll();
    headless_key_down(key_D);
    input_poll();
    input_poll();
    EXPECT_TRUE(input_key_is_held(key_D));
}

TEST_F(HeadlessTest, ModifiersFollowHeldKeysAndExplicitBits) {
    EXPECT_EQ(input_key_modifiers(), 0u);
    headless_set_modifiers(modifier_num_lock);
    headless_key_down(key_shift);
    input_poll();
    EXPECT_EQ(input_key_modifiers(), modifier_num_lock | modifier_shift);

    headless_key_down(key_ctrl);
    headless_key_down(key_alt);
    input_poll();
    EXPECT_EQ(input_key_modifiers(), modifier_num_lock | modifier_shift | modifier_ctrl | modifier_alt);

    headless_key_up(key_shift);
    headless_key_up(key_alt);
    input_poll();
    EXPECT_EQ(input_key_modifiers(), modifier_num_lock | modifier_ctrl);

    // Explicit bits are a state, replaced by the next call; the held Ctrl still counts.
    headless_set_modifiers(0);
    input_poll();
    EXPECT_EQ(input_key_modifiers(), (u32)modifier_ctrl);

    // A tapped modifier is in force in its frame only.
    headless_key_up(key_ctrl);
    headless_key_tap(key_shift);
    input_poll();
    EXPECT_EQ(input_key_modifiers(), (u32)modifier_shift);
    input_poll();
    EXPECT_EQ(input_key_modifiers(), 0u);
}

TEST_F(HeadlessTest, TypedTextBelongsToOneFrame) {
    headless_text(SV("ab"));
    headless_text(SV("\xC3\xA9"));  // é
    EXPECT_EQ(input_text_typed().length, 0) << "text waits for the poll";
    input_poll();
    EXPECT_EQ(text_of(input_text_typed()), "ab\xC3\xA9");
    headless_text(SV("x"));
    input_poll();
    EXPECT_EQ(text_of(input_text_typed()), "x");
    input_poll();
    EXPECT_EQ(input_text_typed().length, 0);

    // More than the frame holds: cut, and never inside a UTF-8 sequence.
    std::string big(65535, 'a');
    headless_text(StringView{big.data(), (i64)big.size()});
    headless_text(SV("\xC3\xA9"));
    headless_text(SV("b"));
    input_poll();
    StringView typed = input_text_typed();
    EXPECT_EQ(typed.length, 65536);
    EXPECT_EQ(typed.data[65535], 'b');

    std::string huge(200000, 'z');
    headless_text(StringView{huge.data(), (i64)huge.size()});
    input_poll();
    EXPECT_EQ(input_text_typed().length, 65536);
    input_poll();
    EXPECT_EQ(input_text_typed().length, 0) << "the overflow is dropped, not carried over";

    headless_text(StringView{nullptr, 5});
    headless_text(StringView{"q", -3});
    input_poll();
    EXPECT_EQ(input_text_typed().length, 0);
}

TEST_F(HeadlessTest, MouseButtonsPositionAndWheel) {
    headless_mouse_move(10, 20);
    headless_mouse_down(mouse_primary);
    headless_wheel(2);
    headless_wheel(-5);
    input_poll();
    i32 x = -1, y = -1;
    input_mouse_position(&x, &y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    EXPECT_TRUE(input_mouse_is_pressed(mouse_primary));
    EXPECT_TRUE(input_mouse_is_held(mouse_primary));
    EXPECT_FALSE(input_mouse_is_held(mouse_secondary));
    EXPECT_EQ(input_mouse_wheel(), -3);

    input_poll();
    input_mouse_position(&x, &y);
    EXPECT_EQ(x, 10) << "the position persists";
    EXPECT_EQ(y, 20);
    EXPECT_FALSE(input_mouse_is_pressed(mouse_primary));
    EXPECT_TRUE(input_mouse_is_held(mouse_primary));
    EXPECT_EQ(input_mouse_wheel(), 0) << "the wheel is per frame";

    headless_mouse_up(mouse_primary);
    headless_mouse_click(mouse_secondary);
    input_poll();
    EXPECT_TRUE(input_mouse_is_released(mouse_primary));
    EXPECT_FALSE(input_mouse_is_held(mouse_primary));
    EXPECT_TRUE(input_mouse_is_pressed(mouse_secondary));
    EXPECT_TRUE(input_mouse_is_held(mouse_secondary));
    input_poll();
    EXPECT_TRUE(input_mouse_is_released(mouse_secondary));
    EXPECT_FALSE(input_mouse_is_held(mouse_secondary));
    EXPECT_FALSE(input_mouse_is_released(mouse_primary));

    // Buttons do not type keys; bad button numbers are ignored.
    headless_mouse_down(mouse_middle);
    headless_mouse_down(-2);
    headless_mouse_down(99);
    input_poll();
    EXPECT_TRUE(input_mouse_is_held(mouse_middle));
    EXPECT_FALSE(input_key_is_typed(key_any));
    EXPECT_FALSE(input_mouse_is_pressed(99));
    EXPECT_FALSE(input_mouse_is_pressed(-2));
    input_mouse_position(nullptr, nullptr);  // tolerated
}

TEST_F(HeadlessTest, WindowEventsAreSeenByTheNextFrameOnly) {
    EXPECT_TRUE(display_open(1024, 768, SV("tesmora"), 0x54, 1));
    EXPECT_EQ(headless_window_state()->width, 1024);
    EXPECT_STREQ(headless_window_state()->title, "tesmora");

    i32 w = 0, h = 0;
    headless_resize(640, 480);
    headless_request_close();
    EXPECT_FALSE(display_is_closed()) << "events wait for the poll";
    EXPECT_FALSE(display_is_resized(&w, &h));
    input_poll();
    EXPECT_TRUE(display_is_closed());
    EXPECT_TRUE(display_is_resized(&w, &h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(headless_window_state()->height, 480);
    EXPECT_FALSE(display_is_minimized());
    input_poll();
    EXPECT_FALSE(display_is_closed());
    EXPECT_FALSE(display_is_resized(&w, &h));

    // Two resizes before one poll: one report, with the last size.
    headless_resize(300, 200);
    headless_resize(800, 600);
    headless_minimize();
    headless_focus_lost();
    input_poll();
    EXPECT_TRUE(display_is_resized(&w, &h));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_TRUE(display_is_minimized());
    EXPECT_TRUE(display_is_focus_lost());
    EXPECT_FALSE(display_is_focus_gained());
    headless_focus_gained();
    input_poll();
    EXPECT_FALSE(display_is_minimized());
    EXPECT_FALSE(display_is_focus_lost());
    EXPECT_TRUE(display_is_focus_gained());
    input_poll();
    EXPECT_FALSE(display_is_focus_gained());

    display_close();
    EXPECT_FALSE(headless_window_state()->open);
}

TEST_F(HeadlessTest, RecordsPointerTextInputAndFirstEventTime) {
    EXPECT_TRUE(headless_mouse_visible());
    EXPECT_FALSE(headless_text_input_enabled());
    input_mouse_set_visible(false);
    input_mouse_set_cursor(1);
    input_text_enable(true);
    EXPECT_FALSE(headless_mouse_visible());
    EXPECT_EQ(headless_mouse_cursor(), 1);
    EXPECT_TRUE(headless_text_input_enabled());

    input_poll();
    EXPECT_EQ(input_first_event_time(), 0u);
    u64 before = system_performance_counter();
    headless_text(SV("k"));
    headless_key_down(key_K);
    u64 after = system_performance_counter();
    input_poll();
    EXPECT_GE(input_first_event_time(), before);
    EXPECT_LE(input_first_event_time(), after);
    input_poll();
    EXPECT_EQ(input_first_event_time(), 0u);

    display_set_icon(32, 16, nullptr);
    i32 w = 0, h = 0;
    headless_icon_size(&w, &h);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(h, 16);
}

// ---- GPU -----------------------------------------------------------------------------------

const char simple_source[] = "#vertex\nvoid main() {}\n#fragment\nvoid main() {}\n";

u32 make_program() {
    u32 program = shader_create();
    char log[256] = {};
    ShaderResult result = shader_source(program, SV(simple_source), StringView{log, sizeof(log)});
    EXPECT_EQ(result.ok, 1);
    EXPECT_EQ(result.log.length, 0);
    return program;
}

TEST_F(HeadlessTest, DrawRecordsUniformsTextureAndScissor) {
    u32 vertex_array = vertex_array_create();
    u32 program = make_program();
    u32 texture = texture_create();
    EXPECT_NE(vertex_array, 0u);
    EXPECT_NE(program, vertex_array);
    EXPECT_NE(texture, program);

    i32 mvp = shader_get_uniform_location(program, SV("mvp"));
    i32 color = shader_get_uniform_location(program, SV("color"));
    i32 uv_rect = shader_get_uniform_location(program, SV("uv_rect"));
    EXPECT_EQ(mvp, 0);
    EXPECT_EQ(color, 1);
    EXPECT_EQ(uv_rect, 2);
    EXPECT_EQ(shader_get_uniform_location(program, SV("color")), color) << "stable per name";
    EXPECT_EQ(shader_get_uniform_location(program, StringView{"", 0}), -1);

    f32 matrix[16];
    for (i32 i = 0; i < 16; i++) matrix[i] = (f32)i;
    shader_bind(program);
    shader_uniform_matrix4fa(mvp, 1, false, matrix);
    shader_uniform4f(color, 1, 0.5f, 0.25f, 1);
    shader_uniform4f(uv_rect, 0, 0, 0.5f, 1);
    shader_uniform4f(-1, 9, 9, 9, 9);  // an unknown name's location is ignored
    texture_unit(0);
    texture_bind(1, texture);
    vertex_array_bind(vertex_array);
    pipeline_scissor_enable(true);
    pipeline_scissor_rect(1, 2, 30, 40);
    draw_arrays(5, 0, 4, 1);

    pipeline_scissor_enable(false);
    texture_unbind(1);
    shader_uniform4f(color, 0, 1, 0, 0.5f);
    draw_arrays(5, 0, 4, 1);

    ASSERT_EQ(headless_draw_count(), 2);
    const RecordedDraw& a = headless_draws()[0];
    EXPECT_EQ(a.texture, texture);
    EXPECT_EQ(a.program, program);
    EXPECT_EQ(a.frame_buffer, 0u);
    EXPECT_EQ(a.mvp[13], 13.0f);
    EXPECT_EQ(a.color[1], 0.5f);
    EXPECT_EQ(a.uv_rect[2], 0.5f);
    EXPECT_TRUE(a.scissor_enabled);
    EXPECT_EQ(a.scissor[2], 30);
    EXPECT_EQ(a.scissor[3], 40);
    EXPECT_EQ(a.mode, 5u);
    EXPECT_EQ(a.count, 4);
    EXPECT_EQ(a.instances, 1);
    const RecordedDraw& b = headless_draws()[1];
    EXPECT_EQ(b.texture, 0u);
    EXPECT_FALSE(b.scissor_enabled);
    EXPECT_EQ(b.color[1], 1.0f) << "each draw keeps the values in force at its time";
    EXPECT_EQ(b.color[3], 0.5f);
    EXPECT_EQ(headless_gpu_state()->misuse_count, 0) << headless_gpu_state()->last_misuse;

    input_poll();
    EXPECT_EQ(headless_draw_count(), 0) << "input_poll starts a new draw list";
}

TEST_F(HeadlessTest, QuadRunsAreRecordedQuadByQuad) {
    u32 program = make_program();
    u32 texture = texture_create();
    QuadInstance quads[2] = {};
    for (i32 i = 0; i < 2; i++) {
        quads[i].mvp[12] = (f32)(i + 1);
        quads[i].color[1] = 0.25f * (f32)(i + 1);
        quads[i].uv_rect[2] = 0.5f;
    }
    shader_bind(program);
    texture_unit(3);
    pipeline_scissor_enable(true);  // for clears and draw_arrays only
    pipeline_scissor_rect(9, 9, 9, 9);
    const QuadScissor clip = {1, 2, -30, 40};
    pipeline_draw_quads(texture, &clip, quads, 2);
    pipeline_draw_quads(0, nullptr, quads + 1, 1);

    ASSERT_EQ(headless_draw_count(), 3);
    for (i32 i = 0; i < 3; i++) {
        const RecordedDraw& d = headless_draws()[i];
        const QuadInstance& q = quads[i == 0 ? 0 : 1];
        EXPECT_EQ(d.texture, i < 2 ? texture : 0u) << i;
        EXPECT_EQ(d.program, program);
        EXPECT_EQ(d.mvp[12], q.mvp[12]) << i;
        EXPECT_EQ(d.color[1], q.color[1]) << i;
        EXPECT_EQ(d.uv_rect[2], 0.5f);
        EXPECT_EQ(d.scissor_enabled, i < 2) << i;
        EXPECT_EQ(d.scissor[2], i < 2 ? -30 : 0) << "a run's scissor is recorded as given";
        EXPECT_EQ(d.mode, 5u);
        EXPECT_EQ(d.first, 0);
        EXPECT_EQ(d.count, 4);
        EXPECT_EQ(d.instances, 1);
    }
    const HeadlessGpuState* gpu = headless_gpu_state();
    EXPECT_EQ(gpu->quad_runs, 2);
    EXPECT_EQ(gpu->active_unit, 0u) << "a run leaves unit 0 active with its texture";
    EXPECT_EQ(gpu->texture, 0u);
    EXPECT_TRUE(gpu->scissor_enabled) << "the pipeline's scissor is left as it was";
    EXPECT_EQ(gpu->scissor[0], 9);
    EXPECT_EQ(gpu->misuse_count, 0) << gpu->last_misuse;

    pipeline_draw_quads(texture + 100, nullptr, quads, 1);
    EXPECT_EQ(headless_gpu_state()->misuse_count, 1) << "an unknown texture";
    shader_bind(0);
    pipeline_draw_quads(texture, nullptr, quads, 1);
    EXPECT_EQ(headless_gpu_state()->misuse_count, 2) << "no program";
}

namespace {
QuadInstance held_quad;
bool quad_held;
// A renderer that keeps one quad back until the back-end asks for it.
void submit_held_quad() {
    if (quad_held) pipeline_draw_quads(0, nullptr, &held_quad, 1);
    quad_held = false;
}
}  // namespace

TEST_F(HeadlessTest, SubmitHookRunsBeforeTheDrawsAreSeen) {
    shader_bind(make_program());
    pipeline_set_submit_hook(submit_held_quad);
    quad_held = true;
    EXPECT_EQ(headless_draw_count(), 1);
    quad_held = true;
    EXPECT_EQ(headless_draws()[1].count, 4);
    quad_held = true;
    EXPECT_EQ(headless_gpu_state()->quad_runs, 3);
    quad_held = true;
    pipeline_present();
    EXPECT_FALSE(quad_held) << "presenting takes what is held";
    EXPECT_EQ(headless_draw_count(), 4);

    headless_reset();
    quad_held = true;
    EXPECT_EQ(headless_draw_count(), 0) << "the reset forgets the hook";
    quad_held = false;
}

TEST_F(HeadlessTest, UniformsArePerProgram) {
    u32 vertex_array = vertex_array_create();
    u32 first = make_program();
    u32 second = make_program();
    i32 first_color = shader_get_uniform_location(first, SV("color"));
    i32 second_gamma = shader_get_uniform_location(second, SV("gamma"));
    i32 second_mvp = shader_get_uniform_location(second, SV("mvp"));
    EXPECT_EQ(first_color, 0);
    EXPECT_EQ(second_gamma, 0) << "locations count from 0 in each program";
    EXPECT_EQ(second_mvp, 1);

    shader_bind(first);
    shader_uniform4f(first_color, 1, 1, 1, 1);
    shader_bind(second);
    shader_uniform1f(second_gamma, 2.2f);
    f32 rows[16] = {};
    rows[3] = 7;  // row 0, column 3 when read as rows
    shader_uniform_matrix4fa(second_mvp, 1, true, rows);
    vertex_array_bind(vertex_array);
    draw_arrays(5, 0, 4, 1);

    ASSERT_EQ(headless_draw_count(), 1);
    const RecordedDraw& draw = headless_draws()[0];
    EXPECT_EQ(draw.program, second);
    EXPECT_EQ(draw.color[0], 0.0f) << "the other program's colour must not leak in";
    EXPECT_EQ(draw.mvp[12], 7.0f) << "a transposed matrix is stored by columns";
    EXPECT_EQ(draw.uv_rect[0], 0.0f);

    const HeadlessUniformValue* gamma = headless_uniform(second, SV("gamma"));
    ASSERT_NE(gamma, nullptr);
    EXPECT_FLOAT_EQ(gamma->floats[0], 2.2f);
    EXPECT_EQ(gamma->set_count, 1);
    EXPECT_EQ(headless_uniform(first, SV("gamma")), nullptr);
    shader_destroy(second);
    ASSERT_NE(headless_uniform(second, SV("gamma")), nullptr) << "values outlive the program";
    EXPECT_EQ(headless_gpu_state()->program, 0u) << "destroying the bound program unbinds it";
    EXPECT_EQ(headless_gpu_state()->misuse_count, 0) << headless_gpu_state()->last_misuse;
}

TEST_F(HeadlessTest, ShaderSourceNeedsBothSections) {
    char log[256];
    struct Case {
        StringView source;
        bool ok;
    } cases[] = {
        {SV("#vertex\nA\n#fragment\nB\n"), true},
        {SV("#fragment\nB\n"), false},
        {SV("#vertex\nA\n"), false},
        {SV("#fragment\nB\n#vertex\nA\n"), false},
        {SV("// #vertex\n// #fragment\n"), false},  // markers start a line
        {StringView{nullptr, 10}, false},
    };
    for (const Case& c : cases) {
        u32 program = shader_create();
        memset(log, 0, sizeof(log));
        ShaderResult result = shader_source(program, c.source, StringView{log, sizeof(log)});
        EXPECT_EQ(result.ok, c.ok ? 1 : 0) << text_of(c.source);
        if (c.ok) continue;
        EXPECT_GT(result.log.length, 0);
        EXPECT_EQ(result.log.data, log) << "the log is written into the caller's buffer";
    }
    // Drawing with a program that failed is what a driver rejects.
    u32 failed = shader_create();
    shader_source(failed, SV("#vertex\n"), StringView{log, sizeof(log)});
    shader_bind(failed);
    vertex_array_bind(vertex_array_create());
    i64 before = headless_gpu_state()->misuse_count;
    draw_arrays(5, 0, 4, 1);
    EXPECT_EQ(headless_gpu_state()->misuse_count, before + 1);

    // A tiny log buffer is not overrun.
    char small[4] = {'.', '.', '.', '.'};
    ShaderResult result = shader_source(shader_create(), SV("nothing"), StringView{small, 3});
    EXPECT_EQ(result.log.length, 3);
    EXPECT_EQ(small[3], '.');
}

TEST_F(HeadlessTest, ObjectLifetimesAndMisuse) {
    u32 texture = texture_create();
    u32 frame_buffer = frame_buffer_create();
    texture_bind(1, texture);
    texture_image_2d(1, 0, 29, 64, 32, 8, 0, nullptr);
    texture_image_2d(1, 1, 29, 32, 16, 8, 0, nullptr);  // mip levels leave the size alone
    i32 w = 0, h = 0;
    headless_texture_size(texture, &w, &h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    frame_buffer_bind(0, frame_buffer);
    frame_buffer_texture(0, 3, 0, texture, 0);
    u32 draw_buffer = 0;
    pipeline_draw_buffers(1, &draw_buffer);
    EXPECT_EQ(frame_buffer_get_status(0), 0);
    headless_set_frame_buffer_status(3);
    EXPECT_EQ(frame_buffer_get_status(0), 3);
    EXPECT_EQ(headless_gpu_state()->live_textures, 1);
    EXPECT_EQ(headless_gpu_state()->misuse_count, 0) << headless_gpu_state()->last_misuse;

    // Destroying bound objects unbinds them; their handles are never handed out again.
    texture_destroy(texture);
    frame_buffer_destroy(frame_buffer);
    EXPECT_EQ(headless_gpu_state()->texture, 0u);
    EXPECT_EQ(headless_gpu_state()->frame_buffer, 0u);
    EXPECT_EQ(headless_gpu_state()->live_textures, 0);
    headless_texture_size(texture, &w, &h);
    EXPECT_EQ(w, 0);
    u32 next = texture_create();
    EXPECT_GT(next, frame_buffer);

    struct Misuse {
        const char* what;
        void (*call)(u32 stale);
    } misuses[] = {
        {"destroy twice", [](u32 stale) { texture_destroy(stale); }},
        {"bind a destroyed texture", [](u32 stale) { texture_bind(1, stale); }},
        {"bind a destroyed texture as a frame buffer", [](u32 stale) { frame_buffer_bind(0, stale); }},
        {"upload with nothing bound", [](u32) { texture_image_2d(1, 0, 13, 4, 4, 8, 0, nullptr); }},
        {"draw with no program", [](u32) { draw_arrays(5, 0, 4, 1); }},
        {"uniform with no program", [](u32) { shader_uniform1i(0, 0); }},
        {"unit out of range", [](u32) { texture_unit(4096); }},
    };
    for (const Misuse& m : misuses) {
        i64 before = headless_gpu_state()->misuse_count;
        m.call(texture);
        EXPECT_GT(headless_gpu_state()->misuse_count, before) << m.what;
    }
    // Binding the live texture as a frame buffer is refused and leaves the binding alone.
    frame_buffer_bind(0, next);
    EXPECT_EQ(headless_gpu_state()->frame_buffer, 0u);
    // Only unit 0's texture is the one draws record.
    texture_unit(1);
    texture_bind(1, next);
    EXPECT_EQ(headless_gpu_state()->texture, 0u);
    texture_unit(0);
    texture_bind(1, next);
    EXPECT_EQ(headless_gpu_state()->texture, next);
}

// ---- Clipboard and message boxes -------------------------------------------------------------

TEST_F(HeadlessTest, ClipboardUsesTheRegisteredBufferWhenTheTextFits) {
    EXPECT_EQ(clipboard_get().length, 0);
    char buffer[8];
    memset(buffer, '#', sizeof(buffer));
    clipboard_set_buffer(sizeof(buffer), buffer);

    clipboard_set(SV("hello"));
    StringView got = clipboard_get();
    EXPECT_EQ(got.data, buffer);
    EXPECT_EQ(text_of(got), "hello");
    EXPECT_EQ(text_of(headless_clipboard()), "hello");

    // Longer than the buffer: the text comes from elsewhere and the buffer is untouched.
    memset(buffer, '#', sizeof(buffer));
    clipboard_set(SV("a text longer than eight bytes"));
    got = clipboard_get();
    EXPECT_NE(got.data, buffer);
    EXPECT_EQ(text_of(got), "a text longer than eight bytes");
    EXPECT_EQ(buffer[0], '#');

    // Setting the clipboard from what clipboard_get returned keeps the text.
    clipboard_set(got);
    EXPECT_EQ(text_of(clipboard_get()), "a text longer than eight bytes");
    clipboard_set(StringView{got.data + 2, 4});
    EXPECT_EQ(text_of(clipboard_get()), "text");

    // The system side: another program puts text on the clipboard.
    headless_set_clipboard(SV("exactly8"));
    got = clipboard_get();
    EXPECT_EQ(got.data, buffer);
    EXPECT_EQ(text_of(got), "exactly8");

    clipboard_set(StringView{nullptr, 0});
    EXPECT_EQ(clipboard_get().length, 0);

    // A text of megabytes is held whole.
    std::string big(3 << 20, 'x');
    big.back() = 'y';
    clipboard_set(StringView{big.data(), (i64)big.size()});
    got = clipboard_get();
    ASSERT_EQ(got.length, (i64)big.size());
    EXPECT_EQ(got.data[got.length - 1], 'y');
}

TEST_F(HeadlessTest, MessageBoxesAreRecordedAndCut) {
    show_simple_message_box(0, SV("error"), SV("too many tabs!"));
    ASSERT_EQ(headless_message_box_count(), 1);
    EXPECT_STREQ(headless_message_box(0)->title, "error");
    EXPECT_STREQ(headless_message_box(0)->text, "too many tabs!");
    EXPECT_EQ(headless_message_box(1), nullptr);
    EXPECT_EQ(headless_message_box(-1), nullptr);

    // A title of 126 ASCII bytes and a two-byte letter: the letter would end past the
    // 127 bytes the record holds, so it is left out whole.
    std::string title(126, 't');
    title += "\xC3\xA9";
    std::string text(5000, 'm');
    show_simple_message_box(0, StringView{title.data(), (i64)title.size()}, StringView{text.data(), (i64)text.size()});
    const RecordedMessageBox* box = headless_message_box(1);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(strlen(box->title), 126u);
    EXPECT_EQ(strlen(box->text), sizeof(box->text) - 1);

    // Many boxes: the latest stay readable.
    for (i32 i = 0; i < 1000; i++) show_simple_message_box(0, SV("n"), i == 999 ? SV("last") : SV("x"));
    EXPECT_EQ(headless_message_box_count(), 1002);
    ASSERT_NE(headless_message_box(1001), nullptr);
    EXPECT_STREQ(headless_message_box(1001)->text, "last");
    EXPECT_EQ(headless_message_box(0), nullptr) << "an overwritten box must not pass for the first";

    headless_clear_message_boxes();
    EXPECT_EQ(headless_message_box_count(), 0);
    EXPECT_EQ(headless_message_box(0), nullptr);
}

TEST_F(HeadlessTest, ResetForgetsEverything) {
    headless_key_down(key_shift);
    headless_mouse_down(mouse_primary);
    headless_text(SV("pending"));
    headless_request_close();
    input_poll();
    headless_key_down(key_Q);  // still queued at the reset
    u32 vertex_array = vertex_array_create();
    u32 program = make_program();
    shader_bind(program);
    shader_uniform1f(shader_get_uniform_location(program, SV("mvp")), 1);
    vertex_array_bind(vertex_array);
    draw_arrays(5, 0, 4, 1);
    pipeline_present();
    clipboard_set(SV("clip"));
    show_simple_message_box(0, SV("t"), SV("m"));
    input_mouse_set_visible(false);

    headless_reset();
    EXPECT_FALSE(input_key_is_held(key_shift));
    EXPECT_FALSE(input_mouse_is_held(mouse_primary));
    EXPECT_EQ(input_key_modifiers(), 0u);
    EXPECT_FALSE(display_is_closed());
    EXPECT_EQ(headless_draw_count(), 0);
    EXPECT_EQ(headless_present_count(), 0);
    EXPECT_EQ(headless_clipboard().length, 0);
    EXPECT_EQ(headless_message_box_count(), 0);
    EXPECT_TRUE(headless_mouse_visible());
    EXPECT_EQ(headless_gpu_state()->program, 0u);
    EXPECT_EQ(headless_gpu_state()->live_programs, 0);
    EXPECT_EQ(headless_uniform(program, SV("mvp")), nullptr);
    EXPECT_EQ(vertex_array_create(), 1u) << "handles start over";
    input_poll();
    EXPECT_FALSE(input_key_is_pressed(key_Q)) << "queued events are dropped";
    EXPECT_EQ(input_text_typed().length, 0);
}

}  // namespace
