// SDL start and stop, the window with its OpenGL 3.3 core context, and the window-state
// answers of each frame.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix/clock.h"
#include "platform/sdl_gl/sdl_input.h"
#include "platform/sdl_gl/sdl_window.h"

SdlWindow sdl_window = {false, nullptr, nullptr, {nullptr, nullptr}, -1, 0, 0};

namespace {
volatile sig_atomic_t close_signal_received;
volatile sig_atomic_t termination_signal_received;

void on_close_signal(int) { close_signal_received = 1; }
void on_termination_signal(int) { termination_signal_received = 1; }

void install_signal(int number, void (*handler)(int)) {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(number, &action, nullptr);
}

// SIGINT (Ctrl+C in a terminal) asks as the close button does; SIGTERM and SIGHUP (the
// session ends) give no time to ask.
void install_close_signals() {
    install_signal(SIGINT, on_close_signal);
    install_signal(SIGTERM, on_termination_signal);
    install_signal(SIGHUP, on_termination_signal);
}

void report_sdl_failure(const char* what) { printf("%s: %s\n", what, SDL_GetError()); }
}  // namespace

// Consumed by input_poll: a signal reads as the close button of the next frame.
bool take_close_signal() {
    if (!close_signal_received) return false;
    close_signal_received = 0;
    return true;
}

bool system_termination_requested() { return termination_signal_received != 0; }

bool signal_pending() { return close_signal_received || termination_signal_received; }

u64 system_performance_counter() { return posix_clock_ns(); }

void system_exit_now(i32 status) {
    fflush(stdout);
    fflush(stderr);
    _exit(status);
}

// The flags word is not needed: SDL is started with video and events in every case.
void system_init(u32 flags) {
    (void)flags;
    thread_is_main();
    // Our own handlers turn SIGINT/SIGTERM into a close request; SDL's would too, but
    // only while its event loop runs and only when no handler is installed.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    install_close_signals();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        report_sdl_failure("SDL_Init failed");
        return;
    }
    sdl_window.sdl_ready = true;
}

void system_release() {
    for (SDL_Cursor*& cursor : sdl_window.cursors) {
        if (cursor) SDL_FreeCursor(cursor);
        cursor = nullptr;
    }
    sdl_window.cursor_shape = -1;
    clipboard_release();
    if (sdl_window.sdl_ready) SDL_Quit();
    sdl_window.sdl_ready = false;
}

bool display_open(i32 width, i32 height, StringView title, u32 flags, i32 resizable) {
    if (!sdl_window.sdl_ready || sdl_window.window) return false;
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    char title_text[256];
    i64 title_length = title.length > 0 ? title.length : 0;
    if (title_length > (i64)sizeof title_text - 1) title_length = (i64)sizeof title_text - 1;
    if (title_length) memcpy(title_text, title.data, (size_t)title_length);
    title_text[title_length] = 0;

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Everything is drawn flat, back to front: no depth or stencil buffer.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    u32 window_flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI | (resizable ? SDL_WINDOW_RESIZABLE : 0);
    sdl_window.window = SDL_CreateWindow(title_text, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                         window_flags);
    if (!sdl_window.window) {
        report_sdl_failure("failed to open the window");
        return false;
    }
    sdl_window.context = SDL_GL_CreateContext(sdl_window.window);
    if (!sdl_window.context) {
        report_sdl_failure("failed to create an OpenGL 3.3 core context");
        SDL_DestroyWindow(sdl_window.window);
        sdl_window.window = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(sdl_window.window, sdl_window.context);
    // Bit 0x40: run unpaced. A driver that refuses an interval keeps its own default.
    SDL_GL_SetSwapInterval((flags & 0x40) ? 0 : 1);
    gpu_context_created();
    present_area_setup(sdl_window.window, (flags & 0x40) == 0);
    // The first frame reports a resize if the window did not get the size asked for.
    sdl_window.reported_width = width;
    sdl_window.reported_height = height;
    return true;
}

void display_set_icon(i32 width, i32 height, const u8* rgba_pixels) {
    if (!sdl_window.window || !rgba_pixels || width < 1 || height < 1 || width > 4096 || height > 4096) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom((void*)rgba_pixels, width, height, 32, width * 4,
                                                              SDL_PIXELFORMAT_RGBA32);
    if (!surface) return;
    SDL_SetWindowIcon(sdl_window.window, surface);
    SDL_FreeSurface(surface);
}

bool display_is_closed() { return input_state.closed; }

bool display_is_resized(i32* width, i32* height) {
    if (!input_state.resized) return false;
    if (width) *width = input_state.width;
    if (height) *height = input_state.height;
    return true;
}

bool display_is_minimized() { return input_state.minimized; }
bool display_is_focus_lost() { return input_state.focus_lost; }
bool display_is_focus_gained() { return input_state.focus_gained; }
bool display_is_exposed() { return input_state.exposed; }

void display_close() {
    if (sdl_window.context) {
        gpu_context_destroyed();
        SDL_GL_DeleteContext(sdl_window.context);
    }
    if (sdl_window.window) SDL_DestroyWindow(sdl_window.window);
    sdl_window.context = nullptr;
    sdl_window.window = nullptr;
}
