// Presenting only the part of the window that changed. Under X with GLX the back buffer
// can be copied to the window for a rectangle (GLX_MESA_copy_sub_buffer, offered by Mesa's
// drivers, llvmpipe included): a keystroke then sends the X server its few rows instead of
// the whole window, which on a software renderer costs more than drawing them. Elsewhere,
// and when frames are paced by the display, the whole back buffer is swapped.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <epoxy/glx.h>

#include <cstdlib>

// Declared in sdl_window.h, which cannot be included here: X11's headers name types
// (KeyCode) that the platform's own headers use too.
void present_area_setup(SDL_Window* window, bool display_paced);
bool present_area(int x, int y, int width, int height);
bool present_area_usable();

namespace {
struct AreaPresent {
    bool usable;
    Display* display;
    ::Window window;
} area_present;
}  // namespace

void present_area_setup(SDL_Window* window, bool display_paced) {
    area_present = AreaPresent{};
    if (display_paced || !window || getenv("TESMORA_SWAP_WHOLE")) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    // SDL may have made an EGL context instead; the copy needs the GLX one.
    if (!glXGetCurrentContext() || glXGetCurrentDrawable() == 0) return;
    Display* display = info.info.x11.display;
    if (!epoxy_has_glx_extension(display, DefaultScreen(display), "GLX_MESA_copy_sub_buffer")) return;
    area_present.usable = true;
    area_present.display = display;
    area_present.window = glXGetCurrentDrawable();
}

bool present_area(int x, int y, int width, int height) {
    if (!area_present.usable || width <= 0 || height <= 0) return false;
    glXCopySubBufferMESA(area_present.display, area_present.window, x, y, width, height);
    return true;
}

bool present_area_usable() { return area_present.usable; }
