// A window that exists only as a record: its size, title and icon, and the window
// events scripted by tests, each seen by the one frame after it was queued.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/headless/headless_internal.h"

namespace {

struct FrameEvents {
    bool closed, terminated, resized, minimized, focus_lost, focus_gained, exposed;
};

HeadlessWindowState window;
FrameEvents frame_events;

}  // namespace

void headless_window_reset() {
    memset(&window, 0, sizeof(window));
    memset(&frame_events, 0, sizeof(frame_events));
}

void headless_window_begin_frame() { memset(&frame_events, 0, sizeof(frame_events)); }

void headless_window_apply(HeadlessEventKind kind, i32 a, i32 b) {
    switch (kind) {
        case event_close: frame_events.closed = true; break;
        case event_terminate: frame_events.terminated = true; break;
        case event_resize:
            frame_events.resized = true;
            window.width = a;
            window.height = b;
            break;
        case event_minimize: frame_events.minimized = true; break;
        case event_focus_lost: frame_events.focus_lost = true; break;
        case event_focus_gained: frame_events.focus_gained = true; break;
        case event_expose: frame_events.exposed = true; break;
        default: break;
    }
}

void system_init(u32 flags) {
    thread_is_main();
    window.system_initialized = true;
    window.system_flags = flags;
}

void system_release() { window.system_initialized = false; }

bool display_open(i32 width, i32 height, StringView title, u32 flags, i32 resizable) {
    window.open = true;
    window.width = width;
    window.height = height;
    window.x = window.y = 0;
    window.flags = flags;
    window.resizable = resizable;
    i64 length = headless_utf8_prefix(title, (i64)sizeof(window.title) - 1);
    if (length > 0) memcpy(window.title, title.data, (size_t)length);
    window.title[length] = 0;
    return true;
}

void display_set_icon(i32 width, i32 height, const u8*) {
    window.icon_width = width;
    window.icon_height = height;
}

bool display_get_placement(i32* x, i32* y, i32* width, i32* height) {
    if (!window.open) return false;
    *x = window.x;
    *y = window.y;
    *width = window.width;
    *height = window.height;
    return true;
}

void display_set_placement(i32 x, i32 y, i32 width, i32 height) {
    if (!window.open || width < 1 || height < 1) return;
    window.x = x;
    window.y = y;
    // As a real window manager would, the new size comes as a resize event.
    headless_resize(width, height);
}

f32 display_content_scale() { return 1; }

bool display_is_closed() { return frame_events.closed; }
bool system_termination_requested() { return frame_events.terminated; }

bool display_is_resized(i32* width, i32* height) {
    if (!frame_events.resized) return false;
    if (width) *width = window.width;
    if (height) *height = window.height;
    return true;
}

bool display_is_minimized() { return frame_events.minimized; }
bool display_is_focus_lost() { return frame_events.focus_lost; }
bool display_is_focus_gained() { return frame_events.focus_gained; }
bool display_is_exposed() { return frame_events.exposed; }
void display_close() { window.open = false; }

void system_exit_now(i32 status) {
    fflush(stdout);
    _exit(status);
}

void headless_request_close() { headless_queue_event(event_close, 0, 0); }
void headless_request_termination() { headless_queue_event(event_terminate, 0, 0); }
void headless_resize(i32 width, i32 height) { headless_queue_event(event_resize, width, height); }
void headless_minimize() { headless_queue_event(event_minimize, 0, 0); }
void headless_focus_lost() { headless_queue_event(event_focus_lost, 0, 0); }
void headless_focus_gained() { headless_queue_event(event_focus_gained, 0, 0); }
void headless_expose() { headless_queue_event(event_expose, 0, 0); }

void headless_icon_size(i32* width, i32* height) {
    if (width) *width = window.icon_width;
    if (height) *height = window.icon_height;
}

const HeadlessWindowState* headless_window_state() { return &window; }
