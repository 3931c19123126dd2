#pragma once
// Sources of the instanced twin of a quad program. The twin draws many quads in one call:
// its vertex stage takes "mvp" and "uv_rect" as per-instance inputs instead of uniforms
// and hands the per-instance colour on as a flat output named "color", which the
// fragment stage reads in place of its uniform. Everything else is the original text, so
// each quad comes out exactly as its own draw would have drawn it. A rewrite that fails
// here, or a twin that does not compile and link to the expected interface, only means
// that the program's draws are not merged.
#include "core/string_view.h"

// The twin's per-instance colour input; the vertex stage copies it to "color".
#define QUAD_INSTANCE_COLOR_NAME "tesmora_quad_color"

struct TextBuffer {
    char* data;
    i64 capacity;
    i64 length;
};

// Finds the statement `uniform TYPE NAME;` (any white space between the words, none in
// comments); returns how many there are and the first one's byte range.
i32 find_uniform_declaration(StringView text, StringView type, StringView name, i64* start, i64* end);

// Each returns false, leaving `out` unspecified, when the stage does not hold exactly one
// declaration of each uniform to replace (and, for the vertex stage, a "#version" line)
// or when the result does not fit.
bool quad_twin_vertex_source(StringView vertex, TextBuffer* out);
bool quad_twin_fragment_source(StringView fragment, TextBuffer* out);
