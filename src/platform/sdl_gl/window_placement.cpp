// The window's place and size on the screen, and how many pixels the display draws per
// screen unit.
#include "platform/platform.h"
#include "platform/sdl_gl/sdl_window.h"

bool display_get_placement(i32* x, i32* y, i32* width, i32* height) {
    if (!sdl_window.window) return false;
    // A maximised or full-screen window is not a size to open the next one at.
    if (SDL_GetWindowFlags(sdl_window.window) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MINIMIZED))
        return false;
    SDL_GetWindowPosition(sdl_window.window, x, y);
    SDL_GetWindowSize(sdl_window.window, width, height);
    return *width > 0 && *height > 0;
}

void display_set_placement(i32 x, i32 y, i32 width, i32 height) {
    if (!sdl_window.window || width < 1 || height < 1) return;
    SDL_SetWindowSize(sdl_window.window, width, height);
    SDL_SetWindowPosition(sdl_window.window, x, y);
}

f32 display_content_scale() {
    if (!sdl_window.window) return 1;
    int window_width = 0, window_height = 0, drawable_width = 0, drawable_height = 0;
    SDL_GetWindowSize(sdl_window.window, &window_width, &window_height);
    SDL_GL_GetDrawableSize(sdl_window.window, &drawable_width, &drawable_height);
    if (window_width > 0 && drawable_width > window_width) return (f32)drawable_width / (f32)window_width;
    // Where the drawable is not larger (X11), the display's dots per inch tell: 96 is 1.
    float dpi = 0;
    int display = SDL_GetWindowDisplayIndex(sdl_window.window);
    if (display < 0 || SDL_GetDisplayDPI(display, &dpi, nullptr, nullptr) != 0 || !(dpi > 0)) return 1;
    f32 scale = (f32)(SDL_floor(dpi / 96.0f * 4.0f + 0.5f) / 4.0f);
    return scale >= 1 && scale <= 4 ? scale : 1;
}
