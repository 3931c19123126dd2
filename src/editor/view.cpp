// The editor view's frame: input, layout and drawing of one document in its box.
#include "core/core_state.h"
#include "editor/completion.h"
#include "editor/edit.h"
#include "editor/name_uses.h"
#include "editor/editor_state.h"
#include "editor/recolour.h"
#include "editor/view.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "render/draw.h"


namespace {

bool pointer_inside(const Document* doc) {
    return doc->x <= core.mouse_x && core.mouse_x < doc->x + doc->width && doc->y <= core.mouse_y && core.mouse_y < doc->y + doc->height;
}

void find_hover(Document* doc, ViewFrame* f) {
    f->hover_row = view_row_at(doc, core.mouse_y);
    doc->pointer_inside = f->inside;
    doc->hover_position = position_at(doc, core.mouse_x, core.mouse_y);
    doc->hover_x = doc->text_left + line_offset(doc, doc->hover_position);
}

}  // namespace

void editor_view(Document* doc) {
    ViewFrame f{};
    if (doc->single_line) scissor_set(doc->x, doc->y, doc->width, doc->height);
    view_ease_scroll(doc);
    f.inside = pointer_inside(doc);
    f.h = document_line_height(doc);
    f.content_height = (f64)f.h * (f64)(line_count(doc) - 1);
    if (!doc->single_line && doc->focused && f.inside) view_wheel(doc, &f);
    if (doc->focused) handle_keys(doc);

    view_layout(doc, &f);
    find_hover(doc, &f);
    view_scrollbar_input(doc, &f);

    doc->click_timer -= core.frame_time;
    bool drag_outside = false;
    if (!doc->thumb_dragging && !doc->track_pressed && doc->focused) drag_outside = view_mouse_selection(doc, &f);
    if (doc->view_request || drag_outside) {
        doc->view_request = 0;
        view_scroll_to_caret(doc, &f);
    }
    view_find_visible_rows(doc, &f);
    if (!doc->single_line) recolour_on_screen(doc);

    draw_quad(doc->background_texture, doc->background, doc->x, doc->y, doc->width, doc->height, 0, 0, 0,
              uv_rect_full);
    view_draw_gutter(doc, &f);
    view_text_area_clip(doc, true);
    view_draw_brackets(doc, &f);
    view_draw_rows(doc, &f);
    view_draw_occurrences(doc, &f);
    view_draw_name_uses(doc, &f);
    view_draw_caret(doc, &f);
    view_draw_search_matches(doc, &f);
    view_draw_selection(doc, &f);
    view_text_area_clip(doc, false);
    view_draw_indicators(doc, &f);
    if (f.inside && input_mouse_is_pressed(mouse_secondary) && editor.hooks.open_context_menu)
        editor.hooks.open_context_menu(doc);
    completion_draw_popups(doc, f.h);
    view_follow_thumb(doc, &f);
    view_draw_scrollbar(doc, &f);

    if (doc->single_line) scissor_off();
    if (editor.view_sets_pointer_shape) input_mouse_set_cursor(f.inside ? 1 : 0);
}
