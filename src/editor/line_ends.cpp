#include "editor/line_ends.h"

#include <cstring>

#include "core/newlines.h"

i64 line_ends_strip_crlf(u8* bytes, i64 length, LineEndCount* count) {
    *count = LineEndCount{};
    i64 out = 0, from = 0;
    // Whole runs between line ends move at once; most files have no CR at all.
    for (const u8* nl = length > 0 ? (const u8*)memchr(bytes, '\n', (size_t)length) : nullptr; nl;
         nl = from < length ? (const u8*)memchr(bytes + from, '\n', (size_t)(length - from)) : nullptr) {
        i64 at = nl - bytes;
        bool pair = at > from && bytes[at - 1] == '\r';
        pair ? count->crlf++ : count->lf++;
        i64 keep = at - from - (pair ? 1 : 0);
        if (out != from && keep > 0) memmove(bytes + out, bytes + from, (size_t)keep);
        out += keep;
        bytes[out++] = '\n';
        from = at + 1;
    }
    if (from < length && out != from) memmove(bytes + out, bytes + from, (size_t)(length - from));
    return out + (length - from);
}

void line_ends_expand_crlf(StringView text, Array<u8>* out) {
    const u8* bytes = (const u8*)text.data;
    i64 lines = count_newlines(bytes, text.length);
    out->count = 0;
    array_reserve(out, text.length + lines);
    u8* to = out->data;
    i64 from = 0;
    for (const u8* nl = text.length > 0 ? (const u8*)memchr(bytes, '\n', (size_t)text.length) : nullptr; nl;
         nl = from < text.length ? (const u8*)memchr(bytes + from, '\n', (size_t)(text.length - from)) : nullptr) {
        i64 at = nl - bytes;
        memcpy(to, bytes + from, (size_t)(at - from));
        to += at - from;
        *to++ = '\r';
        *to++ = '\n';
        from = at + 1;
    }
    if (from < text.length) memcpy(to, bytes + from, (size_t)(text.length - from));
    to += text.length - from;
    out->count = to - out->data;
}
