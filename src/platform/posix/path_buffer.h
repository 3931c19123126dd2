#pragma once
// POSIX calls need NUL-terminated paths; this copies a view into a bounded buffer.
#include "core/string_view.h"

struct PathBuffer {
    char text[4096];
    bool ok;  // false when the path is too long or holds a NUL byte
};

inline PathBuffer make_path(StringView path) {
    PathBuffer p;
    p.ok = path.length >= 0 && path.length < (i64)sizeof p.text;
    if (!p.ok) { p.text[0] = 0; return p; }
    if (path.length) memcpy(p.text, path.data, (size_t)path.length);
    p.text[path.length] = 0;
    if (memchr(p.text, 0, (size_t)path.length)) { p.ok = false; p.text[0] = 0; }
    if (path.length == 0) p.ok = false;
    return p;
}
