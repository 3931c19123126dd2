// The system clipboard and message boxes through SDL.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "platform/sdl_gl/sdl_window.h"

namespace {
char* registered_buffer;
i64 registered_capacity;

// The clipboard text is where the program meets the operating system's heap: SDL wants
// a terminated copy and can hand back texts of any size, so the back-end keeps one block
// of its own, grown as needed and kept until the next clipboard call.
char* own_storage;
i64 own_capacity;

char* own_storage_for(i64 length) {
    if (length + 1 > own_capacity) {
        i64 capacity = own_capacity ? own_capacity : 4096;
        while (capacity < length + 1) capacity *= 2;
        char* grown = (char*)realloc(own_storage, (size_t)capacity);
        if (!grown) return nullptr;
        own_storage = grown;
        own_capacity = capacity;
    }
    return own_storage;
}

// Copies at most `capacity - 1` bytes and terminates them.
void copy_terminated(char* destination, i64 capacity, StringView text) {
    i64 length = text.length > 0 ? text.length : 0;
    if (length > capacity - 1) length = capacity - 1;
    if (length) memcpy(destination, text.data, (size_t)length);
    destination[length] = 0;
}
}  // namespace

void clipboard_release() {
    free(own_storage);
    own_storage = nullptr;
    own_capacity = 0;
}

void clipboard_set_buffer(i64 capacity, char* memory) {
    registered_buffer = memory && capacity > 0 ? memory : nullptr;
    registered_capacity = registered_buffer ? capacity : 0;
}

// SDL stops at the first NUL byte, so a text holding one is cut there.
void clipboard_set(StringView text) {
    if (!sdl_window.sdl_ready || text.length < 0) return;
    char* copy = own_storage_for(text.length);
    if (!copy) return;
    copy_terminated(copy, text.length + 1, text);
    SDL_SetClipboardText(copy);
}

StringView clipboard_get() {
    if (!sdl_window.sdl_ready) return StringView{"", 0};
    char* text = SDL_GetClipboardText();
    if (!text) return StringView{"", 0};
    i64 length = (i64)strlen(text);
    char* destination = length <= registered_capacity ? registered_buffer : own_storage_for(length);
    StringView result = {"", 0};
    if (destination) {
        memcpy(destination, text, (size_t)length);
        result = StringView{destination, length};
    }
    SDL_free(text);
    return result;
}

// Real-window tests set TESMORA_NO_MESSAGE_BOX so that a modal box cannot block them.
void show_simple_message_box(u32 flags, StringView title, StringView text) {
    (void)flags;
    char title_text[256];
    char body_text[4096];
    copy_terminated(title_text, (i64)sizeof title_text, title);
    copy_terminated(body_text, (i64)sizeof body_text, text);
    if (title.length > 0) fwrite(title.data, 1, (size_t)title.length, stderr);
    fputs(": ", stderr);
    if (text.length > 0) fwrite(text.data, 1, (size_t)text.length, stderr);
    fputc('\n', stderr);
    fflush(stderr);
    if (getenv("TESMORA_NO_MESSAGE_BOX") || !sdl_window.sdl_ready) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title_text, body_text, sdl_window.window);
}
