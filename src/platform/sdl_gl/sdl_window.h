#pragma once
// The window, its GL context and the pointer shapes, shared by the SDL back-end's files.
#include <SDL2/SDL.h>

#include "core/types.h"

struct SdlWindow {
    bool sdl_ready;  // SDL_Init succeeded
    SDL_Window* window;
    SDL_GLContext context;
    SDL_Cursor* cursors[2];  // arrow, I-beam; made on first use
    i32 cursor_shape;        // -1 until one is set
    i32 reported_width, reported_height;
};

extern SdlWindow sdl_window;

// Called once the GL context is current (display_open) and before it goes away.
void gpu_context_created();
void gpu_context_destroyed();
// Whether a rectangle of the back buffer can reach the window without a swap; decided
// once the context is current. present_area is false where it cannot.
void present_area_setup(SDL_Window* window, bool display_paced);
bool present_area(i32 x, i32 y, i32 width, i32 height);
bool present_area_usable();
// True once after SIGINT or SIGTERM arrived (input_poll turns it into a close request).
bool take_close_signal();
// Whether SIGINT, SIGTERM or SIGHUP arrived and was not yet acted on (input_wait).
bool signal_pending();
// Frees the back-end's clipboard copy (system_release).
void clipboard_release();
