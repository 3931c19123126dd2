// Scripted input: headless_* calls queue events, input_poll turns them into one frame's
// key, mouse and text state.
#include <cstring>

#include "platform/headless/headless_internal.h"

namespace {

const i32 max_events = 4096;
const i32 max_buttons = 8;
const i64 text_capacity = 64 * 1024;

struct Event {
    HeadlessEventKind kind;
    i32 a, b;
};

struct InputState {
    Event queue[max_events];
    i32 queued;
    u64 first_queued_time;  // counter value of the first queued event or text, 0 when none
    char pending_text[text_capacity];
    i64 pending_length;

    // The frame's view, rebuilt by input_poll.
    bool key_held[key_count], key_pressed[key_count], key_typed[key_count], key_released[key_count];
    bool key_auto_release[key_count];  // tapped last frame: goes up at the next poll
    bool button_held[max_buttons], button_pressed[max_buttons], button_released[max_buttons];
    bool button_auto_release[max_buttons];
    u32 explicit_modifiers;
    i32 mouse_x, mouse_y;
    i32 wheel;
    char text[text_capacity];
    i64 text_length;
    u64 first_event_time;

    bool text_enabled;
    bool mouse_hidden;  // zero is the start state: the pointer shows
    i32 mouse_cursor;
};

InputState input;

bool key_valid(i32 key) { return key >= 0 && key < key_count; }
bool button_valid(i32 button) { return button >= 0 && button < max_buttons; }

void key_goes_down(i32 key, bool auto_release) {
    if (!key_valid(key)) return;
    input.key_pressed[key] = true;
    input.key_typed[key] = true;
    input.key_held[key] = true;
    input.key_typed[key_any] = true;
    input.key_auto_release[key] = auto_release;
}

void key_goes_up(i32 key) {
    if (!key_valid(key)) return;
    input.key_released[key] = true;
    input.key_held[key] = false;
    input.key_auto_release[key] = false;
}

void button_goes_down(i32 button, bool auto_release) {
    if (!button_valid(button)) return;
    input.button_pressed[button] = true;
    input.button_held[button] = true;
    input.button_auto_release[button] = auto_release;
}

void button_goes_up(i32 button) {
    if (!button_valid(button)) return;
    input.button_released[button] = true;
    input.button_held[button] = false;
    input.button_auto_release[button] = false;
}

void apply_event(const Event& e) {
    switch (e.kind) {
        case event_key_down: key_goes_down(e.a, false); break;
        case event_key_tap: key_goes_down(e.a, true); break;
        case event_key_repeat:
            if (!key_valid(e.a)) break;
            input.key_typed[e.a] = true;
            input.key_typed[key_any] = true;
            break;
        case event_key_up: key_goes_up(e.a); break;
        case event_modifiers: input.explicit_modifiers = (u32)e.a; break;
        case event_mouse_move:
            input.mouse_x = e.a;
            input.mouse_y = e.b;
            break;
        case event_mouse_down: button_goes_down(e.a, false); break;
        case event_mouse_click: button_goes_down(e.a, true); break;
        case event_mouse_up: button_goes_up(e.a); break;
        case event_wheel: input.wheel += e.a; break;
        default: headless_window_apply(e.kind, e.a, e.b); break;
    }
}

// Taps and clicks of the previous frame come up before this frame's events apply, so a
// key tapped again at once reads as released and pressed in the same frame.
void apply_auto_releases() {
    for (i32 key = 0; key < key_count; key++)
        if (input.key_auto_release[key]) key_goes_up(key);
    for (i32 button = 0; button < max_buttons; button++)
        if (input.button_auto_release[button]) button_goes_up(button);
}

void note_event_time() {
    if (input.first_queued_time == 0) input.first_queued_time = system_performance_counter();
}

}  // namespace

i64 headless_utf8_prefix(StringView text, i64 limit) {
    if (!text.data || text.length <= 0 || limit <= 0) return 0;
    if (text.length <= limit) return text.length;
    i64 length = limit;
    while (length > 0 && ((u8)text.data[length] & 0xC0) == 0x80) length--;
    return length;
}

void headless_queue_event(HeadlessEventKind kind, i32 a, i32 b) {
    if (input.queued >= max_events) return;  // a script this long is a test bug; drop
    note_event_time();
    input.queue[input.queued++] = Event{kind, a, b};
}

void headless_input_reset() {
    memset(&input, 0, sizeof(input));
}

void input_poll() {
    memset(input.key_pressed, 0, sizeof(input.key_pressed));
    memset(input.key_typed, 0, sizeof(input.key_typed));
    memset(input.key_released, 0, sizeof(input.key_released));
    memset(input.button_pressed, 0, sizeof(input.button_pressed));
    memset(input.button_released, 0, sizeof(input.button_released));
    input.wheel = 0;
    headless_window_begin_frame();
    headless_draws_clear();

    apply_auto_releases();
    for (i32 i = 0; i < input.queued; i++) apply_event(input.queue[i]);
    input.first_event_time = input.first_queued_time;
    input.first_queued_time = 0;
    input.queued = 0;

    memcpy(input.text, input.pending_text, (size_t)input.pending_length);
    input.text_length = input.pending_length;
    input.pending_length = 0;
}

// ---- Queries ---------------------------------------------------------------------------

bool input_key_is_pressed(i32 key) { return key_valid(key) && input.key_pressed[key]; }
bool input_key_is_held(i32 key) { return key_valid(key) && input.key_held[key]; }
bool input_key_is_typed(i32 key) { return key_valid(key) && input.key_typed[key]; }
bool input_key_is_released(i32 key) { return key_valid(key) && input.key_released[key]; }

u32 input_key_modifiers() {
    u32 bits = input.explicit_modifiers;
    if (input.key_held[key_shift]) bits |= modifier_shift;
    if (input.key_held[key_ctrl]) bits |= modifier_ctrl;
    if (input.key_held[key_alt]) bits |= modifier_alt;
    return bits;
}

StringView input_text_typed() { return StringView{input.text, input.text_length}; }
void input_text_enable(bool enable) { input.text_enabled = enable; }

void input_mouse_position(i32* x, i32* y) {
    if (x) *x = input.mouse_x;
    if (y) *y = input.mouse_y;
}
bool input_mouse_is_pressed(i32 button) { return button_valid(button) && input.button_pressed[button]; }
bool input_mouse_is_held(i32 button) { return button_valid(button) && input.button_held[button]; }
bool input_mouse_is_released(i32 button) { return button_valid(button) && input.button_released[button]; }
i32 input_mouse_wheel() { return input.wheel; }
void input_mouse_set_visible(bool visible) { input.mouse_hidden = !visible; }
void input_mouse_set_cursor(i32 shape) { input.mouse_cursor = shape; }
u64 input_first_event_time() { return input.first_event_time; }

bool input_anything_held() {
    for (i32 key = 0; key < key_count; key++)
        if (input.key_held[key]) return true;
    for (i32 button = 0; button < max_buttons; button++)
        if (input.button_held[button]) return true;
    return false;
}

// Taps and clicks come up at the next poll, so they wait too.
bool headless_input_waiting() {
    if (input.queued > 0 || input.pending_length > 0) return true;
    for (i32 key = 0; key < key_count; key++)
        if (input.key_auto_release[key]) return true;
    for (i32 button = 0; button < max_buttons; button++)
        if (input.button_auto_release[button]) return true;
    return false;
}

// ---- Test control ------------------------------------------------------------------------

void headless_key_down(i32 key) { headless_queue_event(event_key_down, key, 0); }
void headless_key_repeat(i32 key) { headless_queue_event(event_key_repeat, key, 0); }
void headless_key_up(i32 key) { headless_queue_event(event_key_up, key, 0); }
void headless_key_tap(i32 key) { headless_queue_event(event_key_tap, key, 0); }
void headless_set_modifiers(u32 bits) { headless_queue_event(event_modifiers, (i32)bits, 0); }
void headless_mouse_move(i32 x, i32 y_from_top) { headless_queue_event(event_mouse_move, x, y_from_top); }
void headless_mouse_down(i32 button) { headless_queue_event(event_mouse_down, button, 0); }
void headless_mouse_up(i32 button) { headless_queue_event(event_mouse_up, button, 0); }
void headless_mouse_click(i32 button) { headless_queue_event(event_mouse_click, button, 0); }
void headless_wheel(i32 steps) { headless_queue_event(event_wheel, steps, 0); }

// Text that does not fit the frame's buffer is cut at a character boundary.
void headless_text(StringView text) {
    i64 length = headless_utf8_prefix(text, text_capacity - input.pending_length);
    if (length <= 0) return;
    note_event_time();
    memcpy(input.pending_text + input.pending_length, text.data, (size_t)length);
    input.pending_length += length;
}

bool headless_text_input_enabled() { return input.text_enabled; }
bool headless_mouse_visible() { return !input.mouse_hidden; }
i32 headless_mouse_cursor() { return input.mouse_cursor; }
