// The twin's source texts: three declarations replaced, one line inserted, and a new
// main appended that sets the flat colour and runs the original one.
#include "platform/sdl_gl/quad_twin_source.h"

namespace {
bool identifier_start(char c) { return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool identifier_char(char c) { return identifier_start(c) || (c >= '0' && c <= '9'); }

i64 skip_space(StringView text, i64 p) {
    while (p < text.length && (text.data[p] == ' ' || text.data[p] == '\t' || text.data[p] == '\n' ||
                               text.data[p] == '\r')) {
        p++;
    }
    return p;
}

// The whole word `word` at p (not the start of a longer identifier); sets `after`.
bool word_at(StringView text, i64 p, StringView word, i64* after) {
    if (p + word.length > text.length || memcmp(text.data + p, word.data, (size_t)word.length) != 0) return false;
    i64 q = p + word.length;
    if (q < text.length && identifier_char(text.data[q])) return false;
    *after = q;
    return true;
}

// Byte just past the first "#version" line, or -1 when there is none or it has no newline.
i64 version_line_end(StringView text) {
    i64 p = 0;
    while (p < text.length) {
        i64 line_end = p;
        while (line_end < text.length && text.data[line_end] != '\n') line_end++;
        i64 q = p;
        while (q < line_end && (text.data[q] == ' ' || text.data[q] == '\t')) q++;
        i64 after;
        if (word_at(sv_slice(text, 0, line_end), q, SV("#version"), &after)) {
            return line_end < text.length ? line_end + 1 : -1;
        }
        p = line_end + 1;
    }
    return -1;
}

bool put(TextBuffer* out, StringView text) {
    if (text.length < 0 || out->length + text.length > out->capacity) return false;
    if (text.length > 0) memcpy(out->data + out->length, text.data, (size_t)text.length);
    out->length += text.length;
    return true;
}

struct Edit {
    i64 start, end;  // the replaced range of the original
    StringView replacement;
};

// Copies `text` with the edits applied; they must not overlap.
bool apply_edits(StringView text, Edit* edits, i32 count, TextBuffer* out) {
    // Insertion sort by start; an insertion goes before a replacement at the same place.
    for (i32 i = 1; i < count; i++) {
        for (i32 j = i; j > 0 && (edits[j].start < edits[j - 1].start ||
                                  (edits[j].start == edits[j - 1].start && edits[j].end < edits[j - 1].end));
             j--) {
            Edit swap = edits[j];
            edits[j] = edits[j - 1];
            edits[j - 1] = swap;
        }
    }
    out->length = 0;
    i64 position = 0;
    for (i32 i = 0; i < count; i++) {
        if (edits[i].start < position) return false;
        if (!put(out, sv_slice(text, position, edits[i].start)) || !put(out, edits[i].replacement)) return false;
        position = edits[i].end;
    }
    return put(out, sv_slice(text, position, text.length));
}
}  // namespace

i32 find_uniform_declaration(StringView text, StringView type, StringView name, i64* start, i64* end) {
    i32 found = 0;
    i64 p = 0;
    while (p < text.length) {
        char c = text.data[p];
        char next = p + 1 < text.length ? text.data[p + 1] : 0;
        if (c == '/' && next == '/') {
            while (p < text.length && text.data[p] != '\n') p++;
        } else if (c == '/' && next == '*') {
            p += 2;
            while (p + 1 < text.length && !(text.data[p] == '*' && text.data[p + 1] == '/')) p++;
            p += 2;
        } else if (identifier_char(c)) {
            i64 q = p;
            while (q < text.length && identifier_char(text.data[q])) q++;
            i64 after = 0;
            if (word_at(text, p, SV("uniform"), &after)) {
                i64 r = skip_space(text, after);
                if (word_at(text, r, type, &after)) {
                    r = skip_space(text, after);
                    if (word_at(text, r, name, &after)) {
                        r = skip_space(text, after);
                        if (r < text.length && text.data[r] == ';') {
                            if (found == 0) {
                                *start = p;
                                *end = r + 1;
                            }
                            found++;
                        }
                    }
                }
            }
            p = q;
        } else {
            p++;
        }
    }
    return found;
}

bool quad_twin_vertex_source(StringView vertex, TextBuffer* out) {
    Edit edits[3];
    if (find_uniform_declaration(vertex, SV("mat4"), SV("mvp"), &edits[0].start, &edits[0].end) != 1) return false;
    if (find_uniform_declaration(vertex, SV("vec4"), SV("uv_rect"), &edits[1].start, &edits[1].end) != 1) return false;
    edits[0].replacement = SV("in mat4 mvp;");
    edits[1].replacement = SV("in vec4 uv_rect;");
    i64 version_end = version_line_end(vertex);
    if (version_end < 0) return false;
    // The original main keeps its text under another name; the twin's own main calls it.
    edits[2] = Edit{version_end, version_end, SV("#define main tesmora_quad_main\n")};
    if (!apply_edits(vertex, edits, 3, out)) return false;
    return put(out, SV("\n#undef main\n"
                       "in vec4 " QUAD_INSTANCE_COLOR_NAME ";\n"
                       "flat out vec4 color;\n"
                       "void main()\n"
                       "{\n"
                       "  color = " QUAD_INSTANCE_COLOR_NAME ";\n"
                       "  tesmora_quad_main();\n"
                       "}\n"));
}

bool quad_twin_fragment_source(StringView fragment, TextBuffer* out) {
    Edit edit;
    if (find_uniform_declaration(fragment, SV("vec4"), SV("color"), &edit.start, &edit.end) != 1) return false;
    edit.replacement = SV("flat in vec4 color;");
    return apply_edits(fragment, &edit, 1, out);
}
