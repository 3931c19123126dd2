// The corner indicators, the caret, the selection and the scrollbar thumb.
//
// Theme colours of the view: the current-line band is highlight_color, a bracket and its
// partner good_match_color (bad_match_color for a bracket without one), occurrences of
// the selected word neutral_match_color, the corner indicators text_color, and the thumb
// hover_color while hovered and pressed_color while dragged.
#include <cmath>

#include "core/core_state.h"
#include "editor/editor_state.h"
#include "editor/motion.h"
#include "editor/search.h"
#include "editor/view.h"
#include "render/draw.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"

namespace {

const f32 indicator_alpha = 0.75f;
// The caret is shown and hidden for half a second each, and stays shown once the keys
// have rested this long, so that an idle editor draws nothing.
const f32 caret_blink_half = 0.5f;
const f32 caret_steady_after = 10.0f;

Color with_alpha(Color c, f32 alpha) {
    c.a = alpha;
    return c;
}

// Row-high boxes of rows off screen would land on the panels around the box.
bool row_shown(const ViewFrame* f, i64 row) { return row >= f->first_row && row <= f->last_row; }

void indicator(u32 texture, f64 x, f64 y, f32 h) {
    draw_quad(texture, with_alpha(render.theme.text_color, indicator_alpha), x, y, h, h, 0, 0, 0, uv_rect_full);
}

}  // namespace

void view_draw_indicators(Document* doc, const ViewFrame* f) {
    if (doc->single_line) return;
    f32 h = f->h;
    if (editor.search.whole_word) indicator(render.icon_textures[icon_triangular_prism], doc->x, doc->y, h);
    if (editor.search.match_case) indicator(render.icon_textures[icon_pyramid], doc->x + h, doc->y, h);
    if (doc->dirty) indicator(render.icon_textures[icon_star3d], doc->x + 2 * h, doc->y, h);
}

void view_draw_caret(Document* doc, const ViewFrame* f) {
    if (!doc->focused) return;
    doc->blink_phase += core.frame_time;
    if (!(doc->blink_phase >= 0) || doc->blink_phase > caret_steady_after) doc->blink_phase = caret_steady_after;
    f32 alpha = 1;
    if (doc->blink_phase < caret_steady_after) {
        i32 half = (i32)(doc->blink_phase / caret_blink_half);
        if (half % 2 == 1) alpha = 0;
        frame_request((f32)(half + 1) * caret_blink_half - doc->blink_phase);
    }
    if (row_shown(f, f->cursor_row))
        view_row_box(doc, with_alpha(doc->caret_color, alpha), doc->caret_x, doc->caret_y, doc->caret_width, f->h);
    if (f->inside) {
        f64 centre = view_row_centre(doc, f->h, f->hover_row);
        view_row_box(doc, with_alpha(doc->caret_color, 0.5f), doc->hover_x, centre, doc->caret_width, f->h);
    }
}

void view_draw_search_matches(Document* doc, const ViewFrame* f) {
    i64 n = editor.search.search_text.length;
    if (doc->single_line || !editor.search.highlight || n <= 0 || f->last_row < f->first_row) return;
    i64 start = f->first_row_start;
    i64 end = row_start(doc, f->last_row) + line_length(doc, f->last_row);
    if (end > document_length(doc)) end = document_length(doc);
    Color color = render.theme.search_match_color;
    // The selected match shows as the selection alone.
    i64 selected = doc->anchor < doc->cursor ? doc->anchor : doc->cursor;
    i64 selected_end = doc->anchor < doc->cursor ? doc->cursor : doc->anchor;
    for (i64 i = start; i + n <= end; i++) {
        if (!matches_at(doc, i, i + n)) continue;
        if (i == selected && i + n == selected_end) {
            i += n - 1;
            continue;
        }
        // A match across rows is marked on its first row only.
        i64 row = row_of_position(doc, i);
        f64 x0 = doc->text_left + line_offset(doc, (i32)i), x1 = doc->text_left + line_offset(doc, (i32)(i + n));
        if (x1 < x0) x1 = (f64)doc->x + doc->width;
        view_row_box(doc, color, x0, view_row_centre(doc, f->h, row), x1 - x0, f->h);
        i += n - 1;
    }
}

void view_draw_selection(Document* doc, const ViewFrame* f) {
    if (doc->anchor == doc->cursor) return;
    i64 s = doc->anchor < doc->cursor ? doc->anchor : doc->cursor;
    i64 e = doc->anchor < doc->cursor ? doc->cursor : doc->anchor;
    // The cursor's row is known from the layout; only the anchor's needs the walk.
    i64 anchor_row = row_of_position(doc, doc->anchor);
    i64 first = s == doc->cursor ? f->cursor_row : anchor_row;
    i64 last = e == doc->cursor ? f->cursor_row : anchor_row;
    f64 x0 = doc->text_left + line_offset(doc, (i32)s);
    f64 x1 = doc->text_left + line_offset(doc, (i32)e);
    f32 h = f->h;
    Color color = doc->selection_color;
    if (first == last) {
        if (row_shown(f, first)) view_row_box(doc, color, x0, view_row_centre(doc, h, first), x1 - x0, h);
        return;
    }
    f64 right = (f64)doc->x + doc->width;
    if (right > x0 && row_shown(f, first)) view_row_box(doc, color, x0, view_row_centre(doc, h, first), right - x0, h);
    // The rows between, cut to the rows on screen so that the block never leaves the box.
    i64 from = first + 1, to = last - 1;
    if (from < f->first_row) from = f->first_row;
    if (to > f->last_row) to = f->last_row;
    if (from <= to && right > doc->text_left) {
        f64 top = view_row_centre(doc, h, from) + h * 0.5;
        f64 height = (f64)(to - from + 1) * h;
        draw_quad(doc->caret_texture, color, doc->text_left, top, right - doc->text_left, height, 0, height, 0,
                  uv_rect_full);
    }
    if (row_shown(f, last)) view_row_box(doc, color, doc->text_left, view_row_centre(doc, h, last), x1 - doc->text_left, h);
}

void view_draw_scrollbar(Document* doc, const ViewFrame* f) {
    if (doc->single_line || !f->bar_shown) return;
    f64 left = (f64)doc->x + doc->width - doc->scrollbar_width;
    f64 bottom = (f64)doc->y + doc->height - f->thumb_height + doc->thumb_offset;
    draw_quad(doc->scrollbar_texture, doc->scrollbar_color, left, bottom, doc->scrollbar_width, f->thumb_height, 0,
              0, 0, uv_rect_full);
    Color over;
    if (doc->thumb_dragging) over = render.theme.pressed_color;
    else if (f->over_thumb && render.theme.hover_color.a != 0) over = render.theme.hover_color;
    else return;
    draw_quad(doc->scrollbar_texture, over, left, bottom, doc->scrollbar_width, f->thumb_height, 0, 0, 0,
              uv_rect_full);
}
