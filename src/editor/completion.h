#pragma once
// The completion list and the symbol list, fed by the last analysis result.
#include "editor/document.h"

// Fills symbol_source with the names in scope at the cursor.
void gather_candidates(Document* doc);
// Keeps the source candidates whose name holds the identifier at the cursor, in name order.
void filter_candidates(Document* doc);
// Fills the symbol list with the signatures of the innermost call around the cursor.
void open_symbol_list(Document* doc);
// Replaces the identifier around the cursor by the selected candidate's name.
void accept_completion(Document* doc);

// Sets view_hooks: the editor view then takes analysis results through
// completion_take_result and draws both pop-ups through completion_draw_popups.
void completion_install_view_hooks();
// With analysis_lock held: takes a posted result into the document and, when one was
// taken, runs the automatic openings of both lists.
void completion_take_result(Document* doc);
// The completion panel under the caret and the signature panel at the top of the box.
void completion_draw_popups(Document* doc, f32 line_height);

// Index of the argument that holds the cursor, counted back to the "(" that opens the
// call; -1 when no such "(" is met.
i64 symbol_list_argument_index(const Document* doc);
// Byte range of argument `index` in a signature's text; false when it has none.
bool signature_argument_range(StringView text, i64 index, i64* start, i64* end);
