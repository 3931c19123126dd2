// An in-memory clipboard that behaves like the system one: clipboard_get copies into
// the registered buffer when the text fits and otherwise hands out its own storage.
#include <cstdlib>
#include <cstring>

#include "platform/headless/headless_internal.h"

namespace {

struct Clipboard {
    char* storage;  // kept between resets
    i64 length, capacity;
    char* buffer;  // registered by clipboard_set_buffer
    i64 buffer_capacity;
};

Clipboard clipboard;

}  // namespace

void headless_clipboard_reset() {
    clipboard.length = 0;
    clipboard.buffer = nullptr;
    clipboard.buffer_capacity = 0;
}

void clipboard_set_buffer(i64 capacity, char* memory) {
    clipboard.buffer = capacity > 0 ? memory : nullptr;
    clipboard.buffer_capacity = memory && capacity > 0 ? capacity : 0;
}

// The text may point into the clipboard's own storage (setting what was just got), so
// the old storage is released only after the copy.
void clipboard_set(StringView text) {
    i64 length = text.data && text.length > 0 ? text.length : 0;
    if (length > clipboard.capacity) {
        char* grown = (char*)malloc((size_t)length);
        if (!grown) return;  // the clipboard keeps its old text, as when the system refuses
        memcpy(grown, text.data, (size_t)length);
        free(clipboard.storage);
        clipboard.storage = grown;
        clipboard.capacity = length;
    } else if (length > 0) {
        memmove(clipboard.storage, text.data, (size_t)length);
    }
    clipboard.length = length;
}

StringView clipboard_get() {
    if (clipboard.length == 0) return StringView{"", 0};
    if (clipboard.buffer && clipboard.length <= clipboard.buffer_capacity) {
        memmove(clipboard.buffer, clipboard.storage, (size_t)clipboard.length);
        return StringView{clipboard.buffer, clipboard.length};
    }
    return StringView{clipboard.storage, clipboard.length};
}

StringView headless_clipboard() { return StringView{clipboard.length ? clipboard.storage : "", clipboard.length}; }
void headless_set_clipboard(StringView text) { clipboard_set(text); }
