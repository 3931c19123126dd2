#pragma once
// Line ends as the file has them on disk. The text the editor holds ends its lines with
// "\n" only; a file whose lines mostly end in "\r\n" is read without the CRs and written
// back with them, so the CR is never drawn and Enter never mixes the two.
#include "core/array.h"
#include "core/string_view.h"
#include "core/types.h"

struct LineEndCount {
    i64 crlf;  // "\r\n" pairs
    i64 lf;    // "\n" without a CR before it
};

// Removes the CR of every "\r\n" pair of bytes[0, length) in place, counting both kinds
// of line end; returns the new length. A CR elsewhere is text and stays.
i64 line_ends_strip_crlf(u8* bytes, i64 length, LineEndCount* count);
// `text` with every "\n" written as "\r\n", into `out` (its contents replaced).
void line_ends_expand_crlf(StringView text, Array<u8>* out);
