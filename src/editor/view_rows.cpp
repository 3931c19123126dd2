// The visible rows: current-line band and line numbers in a gutter that does not scroll
// sideways, coloured text clipped to the text area; and the other occurrences of a
// selected word.
#include <cstring>

#include "editor/edit.h"
#include "editor/search.h"
#include "editor/view.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"

namespace {

const i64 row_byte_limit = 65536;

// Byte range of a row's text, its newline excluded, clamped to the text.
void row_bytes(const Document* doc, i64 row, i64 start, i64* begin, i64* end) {
    i64 s = start < document_length(doc) ? start : document_length(doc);
    i64 e = start + line_length(doc, row);
    if (e > document_length(doc)) e = document_length(doc);
    if (e < s) e = s;
    if (e > s && document_byte(doc, e - 1) == '\n') e--;
    *begin = s;
    *end = e;
}

void draw_line_number(const Document* doc, i64 row, f64 centre) {
    char digits[24];
    i64 n = row + 1, length = 0;
    char reversed[24];
    while (n > 0 && length < 20) {
        reversed[length++] = (char)('0' + n % 10);
        n /= 10;
    }
    for (i64 i = 0; i < length; i++) digits[i] = reversed[length - 1 - i];
    // The gutter stands still while the text scrolls sideways.
    draw_text(doc->font, doc->line_number_color, StringView{digits, length}, view_text_area_left(doc) - 8, centre,
              doc->zoom, doc->zoom, align_right, align_center_y);
}

}  // namespace

void view_row_box(const Document* doc, Color color, f64 x, f64 centre, f64 width, f32 h) {
    draw_quad(doc->caret_texture, color, x, centre, width, h, 0, h * 0.5, 0, uv_rect_full);
}

void view_draw_gutter(Document* doc, const ViewFrame* f) {
    i64 last_entry = line_count(doc) - 1;
    for (i64 row = f->first_row; row <= f->last_row; row++) {
        f64 centre = view_row_centre(doc, f->h, row);
        if (doc->single_line || row == f->cursor_row)
            view_row_box(doc, render.theme.highlight_color, doc->x, centre, doc->width, f->h);
        bool final_empty = row == last_entry && row > 0 && line_length(doc, row) == 0;
        if (doc->show_line_numbers && !final_empty) draw_line_number(doc, row, centre);
    }
}

void view_text_area_clip(const Document* doc, bool on) {
    if (doc->single_line) return;
    if (!on) {
        scissor_set(doc->x, doc->y, doc->width, doc->height);
        return;
    }
    // Text scrolled sideways goes under neither the gutter nor the scrollbar.
    f32 left = view_text_area_left(doc);
    f32 width = doc->x + doc->width - doc->scrollbar_width - left;
    scissor_set(left, doc->y, width > 0 ? width : 0, doc->height);
}

void view_draw_rows(Document* doc, const ViewFrame* f) {
    i64 start = f->first_row_start;
    for (i64 row = f->first_row; row <= f->last_row; row++) {
        f64 centre = view_row_centre(doc, f->h, row);
        i64 begin, end;
        row_bytes(doc, row, start, &begin, &end);
        if (end - begin > row_byte_limit) end = begin + row_byte_limit;
        StringView text = document_range(doc, begin, end);
        draw_text_colored(doc->font, doc->palette.colors, doc->palette.count, text,
                          document_colour_range(doc, begin, end), doc->text_left, centre, doc->zoom, doc->zoom,
                          align_center_y, 1e9);
        start += line_length(doc, row);
    }
}

void view_draw_occurrences(Document* doc, const ViewFrame* f) {
    if (!doc->highlight_flag || doc->anchor == doc->cursor) return;
    i64 s = doc->anchor < doc->cursor ? doc->anchor : doc->cursor;
    i64 e = doc->anchor < doc->cursor ? doc->cursor : doc->anchor;
    if (s < 0 || e > document_length(doc) || !on_word_boundaries(doc, s, e)) return;
    i64 n = e - s;
    // An occurrence must lie on one row, so a selection holding a newline has none.
    StringView selected = document_range(doc, s, e);
    if (memchr(selected.data, '\n', (size_t)n)) return;
    // The selected word, copied: the rows below are made contiguous in turn.
    const u8* word = (const u8*)string_copy(selected, pool_frame).data;
    i64 start = f->first_row_start;
    for (i64 row = f->first_row; row <= f->last_row; row++) {
        i64 begin, end;
        row_bytes(doc, row, start, &begin, &end);
        start += line_length(doc, row);
        if (end - begin < n) continue;
        f64 centre = view_row_centre(doc, f->h, row);
        f64 row_left = doc->text_left, x = 0;
        i64 measured = begin;  // x is the offset of `measured` from the row's start
        // Indices stay absolute: the row's bytes are reached through `text` - begin.
        const u8* text = (const u8*)document_range(doc, begin, end).data - begin;
        for (i64 p = begin; p + n <= end; p++) {
            if (p == s || !is_word_char(text[p]) || text[p] != word[0]) continue;
            if (memcmp(text + p, word, (size_t)n) != 0 || !on_word_boundaries(doc, p, p + n)) continue;
            // Advances accumulate along the row so that a long row is measured once.
            while (measured < p) {
                Utf8Decoded d = utf8_decode(StringView{(const char*)text + measured, end - measured});
                x += view_char_advance(doc, d.code_point);
                measured += d.length;
            }
            f64 width = 0;
            for (i64 q = p; q < p + n;) {
                Utf8Decoded d = utf8_decode(StringView{(const char*)text + q, p + n - q});
                width += view_char_advance(doc, d.code_point);
                q += d.length;
            }
            view_row_box(doc, render.theme.neutral_match_color, row_left + x, centre, width, f->h);
        }
    }
}
