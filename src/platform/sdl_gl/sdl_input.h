#pragma once
// Input and window-event state of the SDL back-end. The event-to-state rules are plain
// functions over this record so that they run without a display.
#include <SDL2/SDL.h>

#include "core/types.h"
#include "platform/keys.h"

enum : i32 {
    input_text_capacity = 4096,
    input_mouse_buttons = 8,
    input_carry_capacity = 512,
};

struct InputState {
    // Physical keys held, by SDL scancode; several scancodes share one key code (both
    // Ctrl keys are 47), so a code is held while any of its scancodes is.
    u8 scancode_held[SDL_NUM_SCANCODES];
    u8 code_held_count[key_count];
    u8 pressed[key_count];
    u8 typed[key_count];
    u8 released[key_count];

    char text[input_text_capacity];
    i32 text_length;

    i32 mouse_x, mouse_y;
    u8 mouse_held[input_mouse_buttons];
    u8 mouse_pressed[input_mouse_buttons];
    u8 mouse_released[input_mouse_buttons];
    i32 wheel;

    u32 modifiers;
    u64 first_event_time;  // 0: no event this frame

    bool closed;
    bool resized;
    i32 width, height;  // the latest size, valid when `resized`
    bool minimized;
    bool focus_lost;
    bool focus_gained;
    bool exposed;  // uncovered, shown or restored: the picture must be drawn again

    // Events kept for the next frame, in their order (see input_event_must_wait).
    SDL_Event carried[input_carry_capacity];
    i32 carried_count;
    bool carrying;          // an event of this frame waits, so every later one does too
    bool key_went_down;     // a key other than Ctrl, Shift and Alt was pressed this frame
    bool button_went_down;  // a mouse button was pressed this frame
};

extern InputState input_state;

// The key code of an SDL scancode, 0 for keys without one.
i32 key_from_scancode(SDL_Scancode scancode);
// Forgets what happened during the last frame; held keys and buttons stay.
void input_frame_begin(InputState* state);
// SDL stamps events with its millisecond tick; `now_ticks` and `now_counter` are read
// together so that a stamp can be placed on the performance counter's timeline.
void input_apply_event(InputState* state, const SDL_Event* event, u32 now_ticks, u64 now_counter);
u64 event_time_to_counter(u32 event_ticks, u32 now_ticks, u64 now_counter);
u32 modifiers_from_sdl(u32 sdl_modifiers);
// Whether an event must wait for the next frame: a key press after another key went down
// in this frame, a second press of a mouse button, or a change of Ctrl, Shift or Alt after
// a key or button went down. A frame so sees at most one key press (with its text), each
// button press once, and one modifier state, however many events a slow frame collects:
// the editor acts on one key a frame, so Backspace typed twice deletes twice, text followed
// by Enter keeps the text, and a chord typed in one go keeps its Ctrl. Repeats never wait.
bool input_event_must_wait(const InputState* state, const SDL_Event* event);
// Applies the event now, or keeps it for the next frame when it (or an event before it in
// this frame) must wait; when the carry-over is full it is applied now.
void input_take_event(InputState* state, const SDL_Event* event, u32 now_ticks, u64 now_counter);
// The events kept over from the last frame, first at the start of the next one.
void input_take_carried(InputState* state, u32 now_ticks, u64 now_counter);
