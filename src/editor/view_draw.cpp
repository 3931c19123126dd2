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

const f32 two_pi = 6.28318530718f;
const f32 indicator_alpha = 0.75f;

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
    doc->blink_phase += core.frame_time * two_pi;
    if (doc->blink_phase > two_pi) doc->blink_phase -= two_pi;
    if (!(doc->blink_phase == doc->blink_phase) || doc->blink_phase > two_pi) doc->blink_phase = 0;
    f32 alpha = std::cos(doc->blink_phase) * 0.5f + 0.5f;
    if (row_shown(f, f->cursor_row))
        view_row_box(doc, with_alpha(doc->caret_color, alpha), doc->caret_x, doc->caret_y, doc->caret_width, f->h);
    if (f->inside) {
        f64 centre = view_row_centre(doc, f->h, f->hover_row);
        view_row_box(doc, with_alpha(doc->caret_color, 0.5f), doc->hover_x, centre, doc->caret_width, f->h);
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
