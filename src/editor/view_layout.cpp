// Where rows and characters of a document stand in its box, and back from a point to a
// byte position.
#include "editor/motion.h"
#include "editor/view.h"
#include "render/font.h"

namespace {

bool font_usable(const Font* f) { return f != nullptr && f->glyphs.count > 0; }

i64 line_entries(const Document* doc) { return line_count(doc); }

// First byte after the row's text, its newline excluded, clamped to the text.
i64 row_content_end(const Document* doc, i64 row, i64 start) {
    i64 end = start + line_length(doc, row);
    if (end > document_length(doc)) end = document_length(doc);
    if (end < start) end = start;
    if (end > start && document_byte(doc, end - 1) == '\n') end--;
    return end;
}

i64 decimal_digits(i64 n) {
    i64 digits = 1;
    while (n >= 10) {
        n /= 10;
        digits++;
    }
    return digits;
}

}  // namespace

f32 document_line_height(const Document* doc) {
    if (!font_usable(doc->font)) return 0;
    return (f32)(doc->zoom * doc->font->size * doc->font->line_height);
}

f64 view_row_centre(const Document* doc, f32 h, i64 row) {
    return (f64)doc->y + doc->height + doc->scroll_y - h * 0.5 - (f64)row * h;
}

i64 view_row_at(const Document* doc, f64 y) {
    i64 last = line_entries(doc) - 1;
    f32 h = document_line_height(doc);
    if (last <= 0 || !(h > 0)) return 0;
    f64 row = ((f64)doc->scroll_y + doc->height - (y - doc->y)) / h;
    if (!(row > 0)) return 0;  // also NaN
    if (row >= (f64)last) return last;
    return (i64)row;
}

f32 view_gutter_width(const Document* doc) {
    if (!doc->show_line_numbers || !font_usable(doc->font)) return 0;
    i64 entries = line_entries(doc);
    i64 digits = decimal_digits(entries > 1 ? entries - 1 : 0);
    return (f32)(digits * doc->zoom * doc->font->size * doc->font->space_advance);
}

f32 view_text_area_left(const Document* doc) { return doc->x + 16 + view_gutter_width(doc); }

f32 view_width_for_columns(const Document* doc, i64 columns) {
    if (!font_usable(doc->font)) return 0;
    f32 column = (f32)(doc->zoom * doc->font->size * doc->font->space_advance);
    return view_text_area_left(doc) - doc->x + (f32)columns * column + doc->scrollbar_width;
}

f64 view_char_advance(const Document* doc, u32 code_point) {
    const Font* f = doc->font;
    if (!font_usable(f)) return 0;
    f64 advance;
    if (code_point == ' ') advance = f->space_advance;
    else if (code_point == '\t') advance = f->tab_advance;
    else if (code_point == '\n') advance = 0;
    else advance = f->glyphs[glyph_lookup(f, code_point)].advance;
    return advance * f->size * doc->zoom;
}

f32 line_offset(const Document* doc, i32 pos) {
    i64 end = pos < 0 ? 0 : pos > document_length(doc) ? document_length(doc) : pos;
    i64 start = end;
    while (start > 0 && document_byte(doc, start - 1) != '\n') start--;
    // The row up to pos, and the few bytes a last character may run on.
    i64 tail = end + 4 < document_length(doc) ? end + 4 : document_length(doc);
    StringView row = document_range(doc, start, tail);
    f64 x = 0;
    for (i64 i = start; i < end;) {
        Utf8Decoded d = utf8_decode(sv_slice(row, i - start, row.length));
        x += view_char_advance(doc, d.code_point);
        i += d.length;
    }
    return (f32)x;
}

i32 position_at(const Document* doc, f64 x, f64 y) {
    if (line_entries(doc) == 0) return 0;
    i64 row = view_row_at(doc, y);
    i64 start = row_start(doc, row);
    if (start > document_length(doc)) start = document_length(doc);
    i64 end = row_content_end(doc, row, start);
    StringView row_text = document_range(doc, start, end);
    f64 running = doc->text_left;
    i64 i = start;
    while (i < end) {
        Utf8Decoded d = utf8_decode(sv_slice(row_text, i - start, end - start));
        f64 w = view_char_advance(doc, d.code_point);
        if (x < running + w * 0.5) break;
        running += w;
        i += d.length;
    }
    return (i32)(i < end ? i : end);
}

void view_layout(Document* doc, ViewFrame* f) {
    f->h = document_line_height(doc);
    f->gutter = view_gutter_width(doc);
    doc->text_left = doc->scroll_x + view_text_area_left(doc);
    f->cursor_row = line_entries(doc) > 0 ? row_of_position(doc, doc->cursor) : 0;
    doc->caret_x = doc->text_left + line_offset(doc, doc->cursor);
    doc->caret_y = (f32)view_row_centre(doc, f->h, f->cursor_row);
}

void view_find_visible_rows(const Document* doc, ViewFrame* f) {
    i64 entries = line_entries(doc);
    f->first_row = 0;
    f->last_row = -1;
    f->first_row_start = 0;
    if (entries == 0) return;
    if (doc->single_line) {
        f->last_row = entries - 1;
        return;
    }
    f32 h = f->h;
    if (!(h > 0) || !(doc->scroll_y == doc->scroll_y)) return;
    // Rows are uniform: the scroll tells which few rows can qualify; the exact test below
    // is the one that decides.
    f64 low = (f64)doc->scroll_y / h - 2;
    f64 high = ((f64)doc->scroll_y + doc->height) / h + 2;
    if (high < 0 || low > (f64)(entries - 1)) return;
    i64 first = low > 0 ? (i64)low : 0;
    i64 last = high < (f64)(entries - 1) ? (i64)high : entries - 1;
    f64 bottom = (f64)doc->y - h * 0.5, top = (f64)doc->y + doc->height + h * 0.5;
    auto visible = [&](i64 r) {
        f64 c = view_row_centre(doc, h, r);
        return c >= bottom && c < top;
    };
    while (first <= last && !visible(first)) first++;
    while (last >= first && !visible(last)) last--;
    if (last < first) return;
    f->first_row = first;
    f->last_row = last;
    f->first_row_start = row_start(doc, first);
}

void scroll_to_cursor_centred(Document* doc) {
    ViewFrame f{};
    view_layout(doc, &f);
    doc->target_scroll_y = (doc->y + doc->height / 2) - doc->caret_y + doc->scroll_y;
    if (doc->single_line || doc->target_scroll_y < 0) doc->target_scroll_y = 0;
    f32 right = doc->x + doc->width - doc->scrollbar_width - 16;
    if (doc->caret_x > right) doc->target_scroll_x = right - doc->caret_x + doc->scroll_x;
    if (doc->caret_x < doc->x + 32) doc->target_scroll_x = doc->x + 32 - doc->caret_x + doc->scroll_x;
    bool fits = doc->caret_x - doc->scroll_x <= right;
    if (fits || doc->target_scroll_x > 0) doc->target_scroll_x = 0;
}
