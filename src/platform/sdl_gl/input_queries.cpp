// input_poll and the questions asked of its result; pointer and text-input switches.
#include "platform/platform.h"
#include "platform/sdl_gl/sdl_input.h"
#include "platform/sdl_gl/sdl_window.h"

namespace {
bool valid_key(i32 key) { return key > 0 && key < key_count; }
bool valid_button(i32 button) { return button >= 0 && button < input_mouse_buttons; }

// The size is compared with what was last reported, so a window that did not get the
// size it asked for, or a change whose event was missed, still reaches the program.
void reconcile_window_size(InputState* state) {
    if (!sdl_window.window) return;
    // Pixels, not screen units: with high-DPI drawing the two differ.
    SDL_GL_GetDrawableSize(sdl_window.window, &state->width, &state->height);
    if (state->width != sdl_window.reported_width || state->height != sdl_window.reported_height) {
        state->resized = true;
    }
    if (state->resized) {
        sdl_window.reported_width = state->width;
        sdl_window.reported_height = state->height;
    }
}
}  // namespace

// SDL's own wait retries when a signal interrupts it, so the wait goes in slices to
// notice SIGINT and SIGTERM within a quarter of a second.
bool input_wait(i64 timeout_ms) {
    constexpr i64 slice_ms = 250;
    if (input_state.carried_count > 0 || signal_pending()) return true;
    if (!sdl_window.sdl_ready) {
        system_sleep(timeout_ms);
        return signal_pending();
    }
    for (;;) {
        i64 slice = timeout_ms < slice_ms ? timeout_ms : slice_ms;
        if (slice < 0) slice = 0;
        if (SDL_WaitEventTimeout(nullptr, (int)slice) == 1) return true;
        if (signal_pending()) return true;
        timeout_ms -= slice;
        if (timeout_ms <= 0) return false;
    }
}

// Events are taken after one pump, in batches, so a flood arriving meanwhile waits for
// the next frame instead of holding this one.
void input_poll() {
    InputState* state = &input_state;
    input_frame_begin(state);
    if (!sdl_window.sdl_ready) {
        if (take_close_signal()) state->closed = true;
        return;
    }
    SDL_PumpEvents();
    u32 now_ticks = SDL_GetTicks();
    u64 now_counter = system_performance_counter();
    input_take_carried(state, now_ticks, now_counter);
    SDL_Event events[64];
    for (;;) {
        int count = SDL_PeepEvents(events, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        if (count <= 0) break;
        for (int i = 0; i < count; i++) input_take_event(state, &events[i], now_ticks, now_counter);
    }
    if (take_close_signal()) state->closed = true;
    state->modifiers = modifiers_from_sdl((u32)SDL_GetModState());
    reconcile_window_size(state);
}

bool input_key_is_pressed(i32 key) { return valid_key(key) && input_state.pressed[key]; }
bool input_key_is_held(i32 key) { return valid_key(key) && input_state.code_held_count[key] > 0; }
bool input_key_is_typed(i32 key) { return valid_key(key) && input_state.typed[key]; }
bool input_key_is_released(i32 key) { return valid_key(key) && input_state.released[key]; }
u32 input_key_modifiers() { return input_state.modifiers; }
StringView input_text_typed() { return StringView{input_state.text, input_state.text_length}; }

void input_text_enable(bool enable) {
    if (!sdl_window.sdl_ready) return;
    if (enable) {
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
    }
}

void input_mouse_position(i32* x, i32* y) {
    // SDL reports the pointer in screen units; the program works in drawn pixels.
    int window_width = 0, window_height = 0;
    if (sdl_window.window) SDL_GetWindowSize(sdl_window.window, &window_width, &window_height);
    bool scaled = window_width > 0 && window_height > 0 && sdl_window.reported_width != window_width;
    if (x) *x = scaled ? input_state.mouse_x * sdl_window.reported_width / window_width : input_state.mouse_x;
    if (y) *y = scaled ? input_state.mouse_y * sdl_window.reported_height / window_height : input_state.mouse_y;
}

bool input_mouse_is_pressed(i32 button) { return valid_button(button) && input_state.mouse_pressed[button]; }
bool input_mouse_is_held(i32 button) { return valid_button(button) && input_state.mouse_held[button]; }
bool input_mouse_is_released(i32 button) { return valid_button(button) && input_state.mouse_released[button]; }
i32 input_mouse_wheel() { return input_state.wheel; }

void input_mouse_set_visible(bool visible) {
    if (sdl_window.sdl_ready) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

// Called every frame by the workbench; the X server is only asked when the shape changes.
void input_mouse_set_cursor(i32 shape) {
    if (!sdl_window.sdl_ready || shape < 0 || shape > 1 || shape == sdl_window.cursor_shape) return;
    SDL_Cursor*& cursor = sdl_window.cursors[shape];
    if (!cursor) cursor = SDL_CreateSystemCursor(shape == 1 ? SDL_SYSTEM_CURSOR_IBEAM : SDL_SYSTEM_CURSOR_ARROW);
    if (!cursor) return;
    SDL_SetCursor(cursor);
    sdl_window.cursor_shape = shape;
}

// Resolution: SDL stamps events in whole milliseconds when it takes them from the
// window system, which happens in input_poll's pump; the stamp is placed on the
// performance counter's nanosecond timeline relative to the moment of the pump.
u64 input_first_event_time() { return input_state.first_event_time; }

bool input_anything_held() {
    for (i32 key = 1; key < key_count; key++)
        if (input_state.code_held_count[key] > 0) return true;
    for (i32 button = 0; button < input_mouse_buttons; button++)
        if (input_state.mouse_held[button]) return true;
    return false;
}
