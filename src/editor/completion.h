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

// A step of the frame before the editor view: takes a posted analysis result into the
// document (its colours, current_result) and runs the automatic openings of both lists.
// True when a result was taken. The _locked form expects analysis_lock held.
bool editor_take_analysis_result(Document* doc);
bool editor_take_analysis_result_locked(Document* doc);
// The completion panel under the caret and the signature panel at the top of the box.
void completion_draw_popups(Document* doc, f32 line_height);

// Index of the argument that holds the cursor, counted back to the "(" that opens the
// call; -1 when no such "(" is met.
i64 symbol_list_argument_index(const Document* doc);
// Byte range of argument `index` in a signature's text; false when it has none.
bool signature_argument_range(StringView text, i64 index, i64* start, i64* end);
