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

// Drawing of the completion list and symbol list (filled in with completion).
struct ViewHooks {
    void (*take_result)(Document* doc);  // under analysis_lock: take a result, run the triggers
    void (*draw_popups)(Document* doc, f32 line_height);
};
extern ViewHooks view_hooks;
// Whether the workbench wants pointer shapes set by the view.
extern bool view_sets_pointer_shape;
