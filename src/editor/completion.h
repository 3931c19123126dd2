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
