// How SDL events become the per-frame input answers (pressed, held, typed, released,
// text, mouse, window changes).
#include <cstring>

#include "platform/sdl_gl/sdl_input.h"

InputState input_state;

namespace {
void note_code_down(InputState* state, i32 code) {
    if (code <= 0 || code >= key_count) return;
    state->pressed[code] = 1;
    if (state->code_held_count[code] < 255) state->code_held_count[code]++;
}

void note_code_up(InputState* state, i32 code) {
    if (code <= 0 || code >= key_count) return;
    if (state->code_held_count[code] > 0) state->code_held_count[code]--;
    if (state->code_held_count[code] == 0) state->released[code] = 1;
}

bool is_modifier(i32 code) { return code == key_ctrl || code == key_shift || code == key_alt; }

void apply_key_down(InputState* state, const SDL_KeyboardEvent& key) {
    i32 scancode = key.keysym.scancode;
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return;
    i32 code = key_from_scancode((SDL_Scancode)scancode);
    if (!is_modifier(code) && !key.repeat) state->key_went_down = true;
    state->typed[key_any] = 1;
    if (code > 0) state->typed[code] = 1;
    if (key.repeat) return;
    if (state->scancode_held[scancode]) {
        // The release was lost (for example while another window had the keyboard).
        if (code > 0) state->pressed[code] = 1;
        return;
    }
    state->scancode_held[scancode] = 1;
    note_code_down(state, code);
}

void apply_key_up(InputState* state, SDL_Scancode scancode) {
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES || !state->scancode_held[scancode]) return;
    state->scancode_held[scancode] = 0;
    note_code_up(state, key_from_scancode(scancode));
}

// Keys still down when the keyboard goes elsewhere would otherwise stay held forever.
void release_all_keys(InputState* state) {
    for (i32 s = 0; s < SDL_NUM_SCANCODES; s++) {
        if (state->scancode_held[s]) apply_key_up(state, (SDL_Scancode)s);
    }
}

void append_text(InputState* state, const char* text) {
    i64 length = (i64)strnlen(text, SDL_TEXTINPUTEVENT_TEXT_SIZE);
    // A piece that does not fit is dropped whole, so no UTF-8 sequence is ever split.
    if (state->text_length + length > input_text_capacity) return;
    memcpy(state->text + state->text_length, text, (size_t)length);
    state->text_length += (i32)length;
}

// SDL buttons 1 left, 2 middle, 3 right, 4 and 5 the side buttons; ours start at 2.
i32 button_from_sdl(u8 button) { return button + 1 < input_mouse_buttons ? button + 1 : -1; }

void mouse_button(InputState* state, const SDL_MouseButtonEvent& event, bool down) {
    i32 button = button_from_sdl(event.button);
    state->mouse_x = event.x;
    state->mouse_y = event.y;
    if (button < 0) return;
    if (down) {
        state->button_went_down = true;
        state->mouse_pressed[button] = 1;
        state->mouse_held[button] = 1;
    } else {
        state->mouse_released[button] = 1;
        state->mouse_held[button] = 0;
    }
}

void window_event(InputState* state, const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE: state->closed = true; break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            state->resized = true;
            state->width = event.data1;
            state->height = event.data2;
            break;
        case SDL_WINDOWEVENT_MINIMIZED: state->minimized = true; break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            state->focus_lost = true;
            release_all_keys(state);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: state->focus_gained = true; break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: state->exposed = true; break;
        default: break;
    }
}

bool is_input_event(u32 type) {
    switch (type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
        case SDL_TEXTINPUT:
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL: return true;
        default: return false;
    }
}
}  // namespace

u64 event_time_to_counter(u32 event_ticks, u32 now_ticks, u64 now_counter) {
    u32 age_ms = now_ticks - event_ticks;  // unsigned: right across the 49-day wrap
    if (age_ms > 0x80000000u) age_ms = 0;   // stamped after `now_ticks` was read
    u64 age = (u64)age_ms * 1000000ull;
    u64 time = age < now_counter ? now_counter - age : 1;
    return time ? time : 1;  // 0 means "no event"
}

u32 modifiers_from_sdl(u32 sdl) {
    u32 bits = 0;
    if (sdl & KMOD_SHIFT) bits |= modifier_shift;
    if (sdl & KMOD_CTRL) bits |= modifier_ctrl;
    if (sdl & KMOD_ALT) bits |= modifier_alt;
    if (sdl & KMOD_GUI) bits |= modifier_gui;
    if (sdl & KMOD_CAPS) bits |= modifier_caps_lock;
    if (sdl & KMOD_NUM) bits |= modifier_num_lock;
    return bits;
}

void input_frame_begin(InputState* state) {
    memset(state->pressed, 0, sizeof state->pressed);
    memset(state->typed, 0, sizeof state->typed);
    memset(state->released, 0, sizeof state->released);
    memset(state->mouse_pressed, 0, sizeof state->mouse_pressed);
    memset(state->mouse_released, 0, sizeof state->mouse_released);
    state->text_length = 0;
    state->wheel = 0;
    state->first_event_time = 0;
    state->closed = false;
    state->resized = false;
    state->minimized = false;
    state->focus_lost = false;
    state->focus_gained = false;
    state->exposed = false;
    state->carrying = false;
    state->key_went_down = false;
    state->button_went_down = false;
}

void input_apply_event(InputState* state, const SDL_Event* event, u32 now_ticks, u64 now_counter) {
    if (state->first_event_time == 0 && is_input_event(event->type)) {
        state->first_event_time = event_time_to_counter(event->common.timestamp, now_ticks, now_counter);
    }
    switch (event->type) {
        case SDL_QUIT: state->closed = true; break;
        case SDL_WINDOWEVENT: window_event(state, event->window); break;
        case SDL_KEYDOWN: apply_key_down(state, event->key); break;
        case SDL_KEYUP: apply_key_up(state, event->key.keysym.scancode); break;
        case SDL_TEXTINPUT: append_text(state, event->text.text); break;
        case SDL_MOUSEMOTION:
            state->mouse_x = event->motion.x;
            state->mouse_y = event->motion.y;
            break;
        case SDL_MOUSEBUTTONDOWN: mouse_button(state, event->button, true); break;
        case SDL_MOUSEBUTTONUP: mouse_button(state, event->button, false); break;
        case SDL_MOUSEWHEEL: {
            i32 steps = event->wheel.y;
            if (event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED) steps = -steps;
            state->wheel += steps;
            break;
        }
        default: break;
    }
}

bool input_event_must_wait(const InputState* state, const SDL_Event* event) {
    switch (event->type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            i32 scancode = event->key.keysym.scancode;
            if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return false;
            // A repeat is not held back: a slow frame would pile them up past the release.
            if (event->type == SDL_KEYDOWN && event->key.repeat) return false;
            i32 code = key_from_scancode((SDL_Scancode)scancode);
            if (is_modifier(code)) return state->key_went_down || state->button_went_down;
            return event->type == SDL_KEYDOWN && state->key_went_down;
        }
        case SDL_MOUSEBUTTONDOWN: {
            i32 button = button_from_sdl(event->button.button);
            return button >= 0 && state->mouse_pressed[button];
        }
        default: return false;
    }
}

void input_take_event(InputState* state, const SDL_Event* event, u32 now_ticks, u64 now_counter) {
    if ((state->carrying || input_event_must_wait(state, event)) && state->carried_count < input_carry_capacity) {
        state->carried[state->carried_count++] = *event;
        state->carrying = true;
        return;
    }
    input_apply_event(state, event, now_ticks, now_counter);
}

void input_take_carried(InputState* state, u32 now_ticks, u64 now_counter) {
    // Events that must wait again move to the front of the same list, never past the one
    // being read.
    i32 count = state->carried_count;
    state->carried_count = 0;
    for (i32 i = 0; i < count; i++) {
        SDL_Event event = state->carried[i];
        input_take_event(state, &event, now_ticks, now_counter);
    }
}
