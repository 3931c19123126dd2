#pragma once
// The editor's side of names resolved by the analysis: the result that belongs to the
// document's present text, the name at the caret, and its other uses marked on screen.
#include "analysis/analysis_result.h"
#include "editor/document.h"
#include "editor/view.h"

// The last taken result when it was made from exactly this document's present text (its
// path and change count agree); null otherwise, so that no position from an older text
// is ever used.
const AnalysisResult* result_of_present_text(const Document* doc);
// The use under the caret or ending at it in that result; -1 when there is none.
i64 name_use_at_caret(const Document* doc, const AnalysisResult* r);
// Marks the other uses of the name at the caret in the rows on screen.
void view_draw_name_uses(Document* doc, const ViewFrame* f);
