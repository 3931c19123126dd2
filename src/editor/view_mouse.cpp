// Placing the caret and selecting with the primary mouse button.
#include "core/core_state.h"
#include "editor/motion.h"
#include "editor/view.h"
#include "platform/keys.h"
#include "platform/platform.h"

namespace {

const f64 double_click_distance_squared = 500;

void select_double_click(Document* doc, i32 p) {
    if (p >= document_length(doc)) {
        // Below the last line the word scans would start past the text.
        doc->anchor = doc->cursor = (i32)document_length(doc);
        return;
    }
    if (document_byte(doc, p) == '\n') {
        doc->anchor = (i32)row_start(doc, row_of_position(doc, p));
        doc->cursor = p;
        return;
    }
    doc->anchor = word_start(doc, p, false);
    doc->cursor = word_end(doc, p, false);
}

void press(Document* doc, ViewFrame* f) {
    close_completion(doc);
    i32 p = position_at(doc, core.mouse_x, core.mouse_y);
    f64 dx = core.mouse_x - doc->last_press_x, dy = core.mouse_y - doc->last_press_y;
    if (dx * dx + dy * dy <= double_click_distance_squared && doc->click_timer > 0) {
        select_double_click(doc, p);
    } else if (input_key_is_held(key_shift)) {
        doc->cursor = p;
    } else {
        doc->anchor = doc->cursor = p;
        doc->selecting = 1;
        doc->click_timer = doc->double_click_time;
    }
    doc->last_press_x = (f32)core.mouse_x;
    doc->last_press_y = (f32)core.mouse_y;
    // The caret is drawn where the press put it in this very frame.
    view_layout(doc, f);
}

}  // namespace

bool view_mouse_selection(Document* doc, ViewFrame* f) {
    if (input_mouse_is_pressed(mouse_primary) && f->inside) press(doc, f);
    bool outside = false;
    if (doc->selecting && input_mouse_is_held(mouse_primary)) {
        doc->cursor = position_at(doc, core.mouse_x, core.mouse_y);
        doc->preferred_column = visual_column(doc, doc->cursor);
        view_layout(doc, f);
        outside = !f->inside;
    }
    if (input_mouse_is_released(mouse_primary)) {
        if (doc->selecting) doc->view_request = 1;
        doc->selecting = 0;
    }
    return outside;
}
