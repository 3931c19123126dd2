#pragma once
// Shared between the files of the headless back-end; nothing outside this folder
// includes it.
#include "platform/headless/headless.h"
#include "platform/platform.h"

// Longest prefix of `text` of at most `limit` bytes that does not end inside a UTF-8
// sequence.
i64 headless_utf8_prefix(StringView text, i64 limit);

// Window events travel through the input queue so that they reach the frame after the
// call; input_poll hands them to the window part.
enum HeadlessEventKind : u8 {
    event_key_down,
    event_key_repeat,
    event_key_up,
    event_key_tap,
    event_modifiers,
    event_mouse_move,
    event_mouse_down,
    event_mouse_up,
    event_mouse_click,
    event_wheel,
    event_close,
    event_terminate,
    event_resize,
    event_minimize,
    event_focus_lost,
    event_focus_gained,
    event_expose,
};
void headless_queue_event(HeadlessEventKind kind, i32 a, i32 b);

// Called by input_poll: forget the previous frame's window events; apply one event.
void headless_window_begin_frame();
void headless_window_apply(HeadlessEventKind kind, i32 a, i32 b);

// Whether an event, text or a tap's release waits for the next input_poll.
bool headless_input_waiting();

// Called by input_poll: the draw list belongs to one frame.
void headless_draws_clear();

// Every GPU object lives in one table indexed by handle - 1, so handles are unique
// across kinds and a handle of the wrong kind is caught.
enum HeadlessObjectKind : u8 {
    object_none,
    object_vertex_array,
    object_buffer,
    object_program,
    object_texture,
    object_frame_buffer,
};
struct HeadlessObject {
    u8 kind;
    bool live;
    bool linked;          // programs: the last shader_source succeeded
    i32 width, height;    // textures: level 0 as uploaded
    i32 first_uniform;    // programs: chain of uniform entries, -1 when none
    i32 uniform_count;    // programs: next location to hand out
    i32 mvp, color, uv_rect;  // programs: entries of the names draws record, -1 when absent
};
u32 headless_object_create(HeadlessObjectKind kind);
// The live object of that kind, or null.
HeadlessObject* headless_object(u32 handle, HeadlessObjectKind kind);
// Destroying 0 is a no-op; a dead handle or one of another kind counts as misuse.
void headless_object_destroy(u32 handle, HeadlessObjectKind kind);
// What a draw records from a program; null members for names never looked up.
struct HeadlessProgramUniforms {
    const HeadlessUniformValue* mvp;
    const HeadlessUniformValue* color;
    const HeadlessUniformValue* uv_rect;
};
HeadlessProgramUniforms headless_program_uniforms(u32 program);

// Unit 0 made active with `texture` (live or 0) bound, as a quad run leaves it.
void headless_bind_unit0(u32 texture);
// Mutable view of the pipeline state shared by the GPU files.
HeadlessGpuState* headless_gpu_mutable();
void headless_gpu_misuse(const char* what);

// Start states of each part, for headless_reset.
void headless_input_reset();
void headless_window_reset();
void headless_gpu_objects_reset();
void headless_shaders_reset();
void headless_draws_reset();
void headless_clipboard_reset();
void headless_messages_reset();
void headless_clock_reset();
