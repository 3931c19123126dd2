// Drawing of the completion panel under the caret and of the signature panel at the top
// of the editor box.
//
// Theme colours: both panels are filled with menu_background_color; the selected row of
// the completion list and the argument under the cursor are backed by selection_color;
// "<no symbols found>" and the "(k/n)" counter are drawn in text_color. Candidates draw
// their icon and name in their own kind colour, signatures through the document palette.
#include "editor/completion.h"
#include "editor/view.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"

namespace {

constexpr i64 completion_rows = 8;
constexpr f64 completion_width = 512;
constexpr f64 name_gap = 8;
constexpr f64 symbol_panel_inset = 8;
constexpr f64 counter_room = 96;
// The argument scan gives up beyond the longest call range that is ever offered.
constexpr i64 argument_scan_limit = 1000000;

// Solid whatever the theme's alpha: the code behind must not show through the names.
void panel(const Document* doc, f64 left, f64 bottom, f64 width, f64 height) {
    Color c = render.theme.menu_background_color;
    c.a = 1;
    draw_quad(doc->background_texture, c, left, bottom, width, height, 0, 0, 0, uv_rect_full);
}

void draw_completion_list(Document* doc, f32 h) {
    i64 n = doc->completion.count;
    i64 rows = n < 1 ? 1 : n > completion_rows ? completion_rows : n;
    // The pop-ups' sizes grow with the text's zoom (which starts at the window's scale).
    f64 wanted = completion_width * doc->zoom;
    f64 width = doc->width < wanted ? doc->width : wanted;
    if (!(width > 0)) return;
    f64 box_right = (f64)doc->x + doc->width;
    f64 left = doc->caret_x;
    if (left + width > box_right) left = box_right - width;
    f64 height = (f64)rows * h;
    // Half a row below the caret row; above it when that would leave the window.
    f64 top = (f64)doc->caret_y - h;
    if (top - height < 0) top = (f64)doc->caret_y + h + height;
    panel(doc, left, top - height, width, height);

    if (n == 0) {
        draw_text(doc->font, render.theme.text_color, SV("<no symbols found>"), left + name_gap * doc->zoom,
                  top - h * 0.5, doc->zoom, doc->zoom, 0, align_center_y);
        return;
    }
    i64 first = doc->completion_top;
    if (first < 0 || first >= n) first = 0;
    for (i64 r = 0; r < rows && first + r < n; r++) {
        i64 i = first + r;
        const Candidate& c = doc->completion[i];
        f64 centre = top - h * 0.5 - (f64)r * h;
        if (i == doc->completion_selected) view_row_box(doc, render.theme.selection_color, left, centre, width, h);
        if (c.icon) draw_quad(c.icon, c.color, left, centre, h, h, 0, h * 0.5, 0, uv_rect_full);
        draw_text(doc->font, c.color, c.name, left + h + name_gap * doc->zoom, centre, doc->zoom, doc->zoom, 0,
                  align_center_y);
    }
}

// Where a byte of a wrapped text stands: its row and the pen x from the line start.
struct WrapPoint {
    i64 row;
    f64 x;
};

// Row and x of the bytes `start` (where its character is placed) and `end` (the pen after
// the character before it), by the same wrapping rule the text drawing follows.
void wrapped_points(const Font* f, StringView text, f64 scale, f64 wrap_width, i64 start, i64 end, WrapPoint* at_start,
                    WrapPoint* at_end) {
    f64 s = scale * f->size;
    f64 pen = 0;
    i64 row = 0;
    *at_start = WrapPoint{0, 0};
    *at_end = WrapPoint{0, 0};
    for (i64 i = 0; i < text.length;) {
        Utf8Decoded d = utf8_decode(sv_slice(text, i, text.length));
        const Glyph& g = f->glyphs[glyph_lookup(f, d.code_point)];
        if (pen + g.advance * s > wrap_width) {
            pen = 0;
            row++;
        }
        if (i <= start && start < i + d.length) *at_start = WrapPoint{row, pen};
        if (d.code_point == 10) {
            pen = 0;
            row++;
        } else if (d.code_point == 32) {
            pen += f->space_advance * s;
        } else if (d.code_point == 9) {
            pen += f->tab_advance * s;
        } else {
            pen += g.advance * s;
        }
        i += d.length;
        if (i >= end && i - d.length < end) *at_end = WrapPoint{row, pen};
        if (i >= end) break;
    }
}

// The highlight behind bytes [start, end) of a text drawn hanging from `top`; a part on
// each row it covers.
void draw_argument_highlight(const Document* doc, StringView text, f64 left, f64 top, f64 width, f32 h, i64 start,
                             i64 end) {
    if (end <= start) return;
    WrapPoint a, b;
    wrapped_points(doc->font, text, doc->zoom, width, start, end, &a, &b);
    Color c = render.theme.selection_color;
    for (i64 row = a.row; row <= b.row; row++) {
        f64 x0 = row == a.row ? a.x : 0;
        f64 x1 = row == b.row ? b.x : width;
        if (x1 <= x0) continue;
        view_row_box(doc, c, left + x0, top - h * 0.5 - (f64)row * h, x1 - x0, h);
    }
}

void draw_counter(const Document* doc, f64 top, f32 h) {
    char digits[48];
    i64 length = 0;
    auto append_number = [&](i64 v) {
        char reversed[24];
        i64 k = 0;
        do {
            reversed[k++] = (char)('0' + v % 10);
            v /= 10;
        } while (v > 0 && k < 20);
        while (k > 0) digits[length++] = reversed[--k];
    };
    digits[length++] = '(';
    append_number((i64)doc->symbol_list_selected + 1);
    digits[length++] = '/';
    append_number(doc->symbol_list.count);
    digits[length++] = ')';
    f64 right = (f64)doc->x + doc->width - doc->scrollbar_width;
    draw_text(doc->font, render.theme.text_color, StringView{digits, length}, right, top - h * 0.5, doc->zoom, doc->zoom,
              align_right, align_center_y);
}

void draw_symbol_list(Document* doc, f32 h) {
    i64 count = doc->symbol_list.count;
    i64 selected = doc->symbol_list_selected;
    if (selected < 0 || selected >= count) return;
    const SymbolListEntry& e = doc->symbol_list[selected];
    f64 left = (f64)doc->x + symbol_panel_inset * doc->zoom;
    f64 width = (f64)doc->width - doc->scrollbar_width - (count > 1 ? counter_room * doc->zoom : 0);
    if (!(width > 0)) return;
    f64 top = (f64)doc->y + doc->height;
    TextMetrics m = measure_text(doc->font, e.text, doc->zoom, doc->zoom, 0, align_below, width);
    f64 height = m.height > h ? m.height : h;
    panel(doc, left, top - height, width, height);

    i64 start, end;
    if (signature_argument_range(e.text, symbol_list_argument_index(doc), &start, &end))
        draw_argument_highlight(doc, e.text, left, top, width, h, start, end);
    if (doc->palette.count > 0 && doc->palette.colors)
        draw_text_colored(doc->font, doc->palette.colors, doc->palette.count, e.text, (const u8*)e.colours.data, left,
                          top, doc->zoom, doc->zoom, align_below, width);
    else
        draw_text_colored(doc->font, &render.theme.text_color, 1, e.text, nullptr, left, top, doc->zoom, doc->zoom,
                          align_below, width);
    if (count > 1) draw_counter(doc, top, h);
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

i64 symbol_list_argument_index(const Document* doc) {
    i64 cursor = doc->cursor < document_length(doc) ? doc->cursor : document_length(doc);
    i64 depth = 1, commas = 0;
    i64 stop = cursor - argument_scan_limit;
    i64 first = stop > 0 ? stop : 0;
    // The scanned stretch is made contiguous once; indices below stay absolute.
    const u8* text = (const u8*)document_range(doc, first, cursor).data - first;
    const u8* colours = document_colour_range(doc, first, cursor) - first;
    for (i64 i = cursor - 1; i >= 0 && i >= stop; i--) {
        u8 c = text[i];
        if (c == ')') {
            depth++;
        } else if (c == '(') {
            if (--depth == 0) return commas;
        } else if (c == ',' && depth == 1 && (!colours || colours[i] < 3)) {
            commas++;
        }
    }
    return -1;
}

bool signature_argument_range(StringView text, i64 index, i64* start, i64* end) {
    if (index < 0) return false;
    i64 open = 0;
    while (open < text.length && text.data[open] != '(') open++;
    if (open >= text.length) return false;
    i64 depth = 1, argument = 0, from = open + 1;
    for (i64 i = open + 1; i < text.length; i++) {
        char c = text.data[i];
        if (c == '(') {
            depth++;
        } else if (c == ')' || (c == ',' && depth == 1)) {
            if (c == ')' && --depth > 0) continue;
            if (argument == index) {
                *start = from;
                *end = i;
                return true;
            }
            if (c == ')') return false;
            argument++;
            from = i + 1;
            while (from < text.length && is_blank(text.data[from])) from++;
            i = from - 1;
        }
    }
    // A head cut off before its ")" still has its last argument.
    if (argument != index) return false;
    *start = from;
    *end = text.length;
    return true;
}

void completion_draw_popups(Document* doc, f32 line_height) {
    if (doc->single_line || !(line_height > 0) || !doc->font || doc->font->glyphs.count == 0) return;
    if (doc->completion_open) draw_completion_list(doc, line_height);
    if (doc->symbol_list_open) draw_symbol_list(doc, line_height);
}
