#pragma once
// The editor view: input, layout and drawing of a document in its box, once per frame.
#include "editor/document.h"

void editor_view(Document* doc);
void scroll_to_cursor_centred(Document* doc);
// Byte position under window point (x, y) (origin bottom-left).
i32 position_at(const Document* doc, f64 x, f64 y);
// Horizontal distance from the start of pos's line to pos, in pixels.
f32 line_offset(const Document* doc, i32 pos);
f32 document_line_height(const Document* doc);


// ---- The parts of one frame, shared by the view's source files -------------------------

// Quantities of the frame being laid out.
struct ViewFrame {
    f32 h;               // row height
    f32 gutter;          // width of the line-number gutter
    f64 content_height;  // h x (line entries - 1)
    bool inside;         // the pointer lies in the box
    i64 cursor_row;
    i64 hover_row;
    // Rows whose centre lies within half a row of the box; none when last_row < first_row.
    i64 first_row, last_row;
    i64 first_row_start;  // byte offset of first_row
    // Scrollbar thumb.
    bool bar_shown;
    f32 thumb_height;
    bool over_thumb;
};

// Window y of the centre of a row.
f64 view_row_centre(const Document* doc, f32 h, i64 row);
// The row under window height y, clamped to the line entries.
i64 view_row_at(const Document* doc, f64 y);
f32 view_gutter_width(const Document* doc);
// Window x where the text area starts (right of the gutter), whatever the sideways scroll.
f32 view_text_area_left(const Document* doc);
// Box width that shows `columns` characters beside the gutter and the scrollbar.
f32 view_width_for_columns(const Document* doc, i64 columns);
// Pixel advance of one character as the text walk moves the pen.
f64 view_char_advance(const Document* doc, u32 code_point);
// Gutter, text_left, caret_x and caret_y.
void view_layout(Document* doc, ViewFrame* f);
void view_find_visible_rows(const Document* doc, ViewFrame* f);
// Partner of the bracket at `pos`, counting only brackets of its own colour byte; -1
// when `pos` holds no bracket or it has no partner.
i64 find_matching_bracket(const Document* doc, i64 pos);

void view_ease_scroll(Document* doc);
void view_wheel(Document* doc, const ViewFrame* f);
// Thumb geometry, and its press and release.
void view_scrollbar_input(Document* doc, ViewFrame* f);
// Scrolls just far enough to show the caret.
void view_scroll_to_caret(Document* doc, ViewFrame* f);
// While the thumb is dragged the scroll follows the pointer.
void view_follow_thumb(Document* doc, ViewFrame* f);
// Presses, double clicks and drags of the primary button; true while a drag selection
// runs with the pointer outside the box.
bool view_mouse_selection(Document* doc, ViewFrame* f);

void view_draw_brackets(Document* doc, const ViewFrame* f);
// Current-line band and line numbers.
void view_draw_gutter(Document* doc, const ViewFrame* f);
// Sets the scissor to the text area (multi-line documents), or back to the whole box.
void view_text_area_clip(const Document* doc, bool on);
void view_draw_rows(Document* doc, const ViewFrame* f);
void view_draw_occurrences(Document* doc, const ViewFrame* f);
void view_draw_indicators(Document* doc, const ViewFrame* f);
void view_draw_caret(Document* doc, const ViewFrame* f);
void view_draw_selection(Document* doc, const ViewFrame* f);
// The matches of the find text in the rows on screen, while the search is highlighted.
void view_draw_search_matches(Document* doc, const ViewFrame* f);
void view_draw_scrollbar(Document* doc, const ViewFrame* f);
// A row-high box whose left edge stands at (x, row centre).
void view_row_box(const Document* doc, Color color, f64 x, f64 centre, f64 width, f32 h);
