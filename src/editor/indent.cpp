#include "editor/indent.h"

#include "editor/edit.h"
#include "editor/line_table.h"
#include "editor/text_change.h"
#include "syntax/file_kind.h"

namespace {
// Lines looked at to tell the unit: enough for any real file's habit, cheap on a huge one.
constexpr i64 detect_lines = 2000;

bool is_blank(u8 c) { return c == ' ' || c == '\t'; }

i64 line_start_of(const Document* doc, i64 pos) {
    i64 start = 0;
    locate_row(doc, pos, &start);
    return start;
}

bool braces_indent(const Document* doc) {
    return doc->kind == file_kind_c || doc->kind == file_kind_cpp || doc->kind == file_kind_glsl ||
           doc->kind == file_kind_vantrel;
}

i64 unit_width(const Document* doc) { return doc->indent_unit == 0 ? 1 : doc->indent_unit; }
}  // namespace

u8 detect_indent_unit(const Document* doc) {
    // Lines starting with a tab against lines starting with spaces; for the spaces, the
    // steps between one indented line and the next tell the width.
    i64 tab_lines = 0, space_lines = 0;
    i64 steps[9] = {};
    i64 previous = 0, start = 0, length = document_length(doc);
    for (i64 row = 0; row < line_count(doc) && row < detect_lines; row++) {
        i64 n = line_length(doc, row);
        i64 spaces = 0;
        while (spaces < n && start + spaces < length && document_byte(doc, start + spaces) == ' ') spaces++;
        bool content = spaces < n && start + spaces < length && document_byte(doc, start + spaces) != '\n';
        if (n > 0 && document_byte(doc, start) == '\t') tab_lines++;
        else if (spaces > 0 && content) space_lines++;
        if (content && document_byte(doc, start) != '\t') {
            i64 step = spaces > previous ? spaces - previous : previous - spaces;
            if (step >= 2 && step <= 8) steps[step]++;
            previous = spaces;
        }
        start += n;
    }
    if (space_lines <= tab_lines) return 0;
    // The commonest step; of steps as common, the smaller (a 2-space file also has 4-steps).
    u8 best = 0;
    for (u8 w = 2; w <= 8; w++)
        if (steps[w] > (best ? steps[best] : 0)) best = w;
    return best ? best : 4;
}

i64 leading_blanks(const Document* doc, i64 pos) {
    i64 start = line_start_of(doc, pos);
    i64 n = 0;
    while (start + n < pos && is_blank(document_byte(doc, start + n))) n++;
    return n;
}

i64 newline_indentation(const Document* doc, i64 pos, char* out, i64 capacity) {
    i64 start = line_start_of(doc, pos);
    i64 n = 0;
    while (start + n < pos && n < capacity && is_blank(document_byte(doc, start + n))) {
        out[n] = (char)document_byte(doc, start + n);
        n++;
    }
    if (!braces_indent(doc)) return n;
    i64 last = pos - 1;
    while (last >= start && is_blank(document_byte(doc, last))) last--;
    if (last < start || document_byte(doc, last) != '{') return n;
    for (i64 i = 0; i < unit_width(doc) && n < capacity; i++) out[n++] = doc->indent_unit == 0 ? '\t' : ' ';
    return n;
}

void outdent_for_closing_brace(Document* doc) {
    if (!braces_indent(doc) || doc->cursor != doc->anchor) return;
    i64 start = line_start_of(doc, doc->cursor);
    for (i64 i = start; i < doc->cursor; i++)
        if (!is_blank(document_byte(doc, i))) return;
    // Remove what makes up one unit just before the caret: a tab, or up to N spaces.
    i64 remove = 0;
    if (doc->cursor > start && document_byte(doc, doc->cursor - 1) == '\t') remove = 1;
    else
        while (remove < unit_width(doc) && doc->cursor - remove > start &&
               document_byte(doc, doc->cursor - remove - 1) == ' ')
            remove++;
    if (remove == 0) return;
    text_remove(doc, doc->cursor - remove, remove);
    doc->cursor -= (i32)remove;
    doc->anchor = doc->cursor;
}

void indent_block(Document* doc, bool outdent) {
    undo_checkpoint(doc, edit_structural);
    bool cursor_larger = doc->cursor >= doc->anchor;
    bool collapsed = doc->cursor == doc->anchor;
    i64 low = cursor_larger ? doc->anchor : doc->cursor;
    i64 high = cursor_larger ? doc->cursor : doc->anchor;
    i64 unit = unit_width(doc);
    char unit_text[8];
    for (i64 i = 0; i < unit; i++) unit_text[i] = doc->indent_unit == 0 ? '\t' : ' ';
    i64 start = 0;
    i64 row = locate_row(doc, low, &start);
    i64 high_start = 0;
    i64 last_row = collapsed ? row : locate_row(doc, high, &high_start);
    // A selection that ends at the start of a line does not take that line.
    if (!collapsed && last_row > row && high_start == high) last_row--;
    if (!outdent && !document_can_grow(doc, document_length(doc) + (last_row - row + 1) * unit + 1)) return;
    // Positions after a line's start move with its text; one at the start itself moves
    // only when it is the caret alone (a selection keeps taking the new indentation).
    auto shift = [&](i64 at, i64 delta, i32* p) {
        if (*p > at || (*p == at && collapsed && delta > 0)) *p = (i32)(*p + delta < at ? at : *p + delta);
    };
    for (; row <= last_row && row < line_count(doc); row++) {
        i64 n = line_length(doc, row);
        i64 delta = 0;
        if (!outdent) {
            bool empty_line = n == 0 || document_byte(doc, start) == '\n';
            // Blank lines inside a selection stay empty.
            if (!empty_line || collapsed) delta = text_insert(doc, start, StringView{unit_text, unit}, 0);
        } else {
            i64 remove = 0;
            if (n > 0 && document_byte(doc, start) == '\t') remove = 1;
            else
                while (remove < unit && remove < n && document_byte(doc, start + remove) == ' ') remove++;
            if (remove > 0) text_remove(doc, start, remove);
            delta = -remove;
        }
        if (delta != 0) {
            shift(start, delta, &doc->cursor);
            shift(start, delta, &doc->anchor);
        }
        start += n + delta;
    }
}

i64 tab_text(const Document* doc, char* out, i64 capacity) {
    if (doc->indent_unit == 0 || capacity < 8) {
        out[0] = '\t';
        return 1;
    }
    i64 column = doc->cursor - line_start_of(doc, doc->cursor);
    i64 n = doc->indent_unit - column % doc->indent_unit;
    for (i64 i = 0; i < n; i++) out[i] = ' ';
    return n;
}
