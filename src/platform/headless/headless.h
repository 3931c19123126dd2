#pragma once
// Test-only control of the headless back-end: scripted input per frame, recorded draws,
// an in-memory clipboard and recorded message boxes. Files are real.
#include "core/string_view.h"
#include "core/types.h"

// One draw_arrays call, or one quad of a pipeline_draw_quads run (recorded as a strip of
// four vertices: mode 5, first 0, count 4, one instance, with the quad's own values).
struct RecordedDraw {
    u32 texture;       // texture bound to unit 0 (target 1) at the draw; a run's texture
    u32 program;       // bound shader program
    u32 frame_buffer;  // bound frame buffer (0: the window)
    f32 mvp[16];       // value of the program's "mvp" uniform; a quad's mvp
    f32 color[4];      // "color" (zeros when the program has none); a quad's colour
    f32 uv_rect[4];    // "uv_rect" (zeros when the program has none); a quad's uv_rect
    bool scissor_enabled;
    i32 scissor[4];  // x, y, width, height in force (a run's own; zeros for a run without)
    u32 mode;
    i32 first, count, instances;
};

struct RecordedMessageBox {
    char title[128];
    char text[1024];
};

// Forget all state: input, window events, draws, GPU objects, clipboard, message boxes.
void headless_reset();

// ---- Input for the next input_poll --------------------------------------------------
// Each call queues one event; input_poll applies everything queued so far and the frame
// then sees it (pressed/typed/released for one frame, held until released).
void headless_key_down(i32 key);          // pressed + typed + held (also types key_any)
void headless_key_repeat(i32 key);        // typed again while held (also types key_any)
void headless_key_up(i32 key);            // released
void headless_key_tap(i32 key);           // down now, up at the following input_poll
void headless_text(StringView text);      // appended to the frame's typed text
void headless_set_modifiers(u32 bits);    // state bits (Num Lock is bit 5); shift/ctrl/alt bits follow held keys too
void headless_mouse_move(i32 x, i32 y_from_top);
void headless_mouse_down(i32 button);
void headless_mouse_up(i32 button);
void headless_mouse_click(i32 button);    // down now, up at the following input_poll
void headless_wheel(i32 steps);
// Window events, seen by the next frame only.
void headless_request_close();
// A request from the system to end now (SIGTERM, SIGHUP): system_termination_requested.
void headless_request_termination();
void headless_resize(i32 width, i32 height);
void headless_minimize();
void headless_focus_lost();
void headless_focus_gained();
void headless_expose();  // the window's picture was lost: display_is_exposed

// ---- Simulated time ---------------------------------------------------------------------
// While on, system_performance_counter reads a clock that moves only by
// headless_advance_clock and by input_wait, which returns at once when input is queued
// and otherwise moves the clock by the whole timeout. headless_reset turns it off.
void headless_simulate_clock(bool on);
void headless_advance_clock(i64 nanoseconds);

// ---- Observations ----------------------------------------------------------------------
// The draw and GPU state views first take what the renderer still holds (the hook of
// pipeline_set_submit_hook; headless_reset forgets the hook).
// Draws since the last input_poll (input_poll clears the list).
i64 headless_draw_count();
const RecordedDraw* headless_draws();
i64 headless_present_count();
// x, y, width, height of what the last present covered (the bounds of its rectangles);
// width -1 for the whole picture. Returns how many rectangles it had (0: the whole).
i32 headless_last_present_area(i32* area);
bool headless_text_input_enabled();
bool headless_mouse_visible();
i32 headless_mouse_cursor();
i64 headless_message_box_count();
const RecordedMessageBox* headless_message_box(i64 index);
void headless_clear_message_boxes();
// The clipboard as the system would see it.
StringView headless_clipboard();
void headless_set_clipboard(StringView text);
// Texture sizes as uploaded by texture_image_2d (0 when unknown).
void headless_texture_size(u32 texture, i32* width, i32* height);
// Icon set by display_set_icon.
void headless_icon_size(i32* width, i32* height);

// ---- Additions for tests of the renderer and the shell -------------------------------
struct HeadlessUniformValue {
    f32 floats[16];  // shader_uniform1f sets [0], shader_uniform4f [0..3], a matrix all 16
    i32 integer;     // shader_uniform1i
    i64 set_count;   // calls that set it since the name was looked up
};
// The uniform of `program` called `name`; null when that name was never looked up.
const HeadlessUniformValue* headless_uniform(u32 program, StringView name);

struct HeadlessGpuState {
    u32 program;       // bound by shader_bind
    u32 active_unit;   // texture_unit
    u32 texture;       // bound to target 1 on unit 0
    u32 vertex_array;
    u32 array_buffer;  // bound to target 0
    u32 frame_buffer;  // 0: the window
    bool blend_enabled;
    u32 blend_source, blend_destination;
    i32 viewport[4];
    f32 clear_color[4];
    i64 clear_count;
    u32 clear_mask;  // of the last pipeline_clear
    bool scissor_enabled;  // pipeline_scissor_*: clears and draw_arrays; quad runs carry their own
    i32 scissor[4];
    i64 live_vertex_arrays, live_buffers, live_programs, live_textures, live_frame_buffers;
    i64 draws_dropped;  // draws past the recording limit, since the last input_poll
    i64 quad_runs;      // pipeline_draw_quads calls, since the last input_poll
    i64 copies_to_window;  // frame_buffer_copy_to_window calls, since headless_reset
    // Calls a real GPU would reject or ignore: unknown, destroyed or wrong-kind handles,
    // drawing without a program or vertex array, uniforms with no program bound, texture
    // or frame buffer calls with nothing bound.
    i64 misuse_count;
    const char* last_misuse;  // what the last one was, null when none
};
const HeadlessGpuState* headless_gpu_state();
// The status frame_buffer_get_status returns from now on (0 after headless_reset).
void headless_set_frame_buffer_status(i32 status);

struct HeadlessWindowState {
    bool system_initialized;  // between system_init and system_release
    u32 system_flags;
    bool open;  // between display_open and display_close
    i32 width, height;  // as opened, then as resized
    i32 x, y;           // as placed by display_set_placement (0 until then)
    u32 flags;
    i32 resizable;
    char title[128];
    i32 icon_width, icon_height;
};
const HeadlessWindowState* headless_window_state();
