#pragma once
// Find, replace and go to line in the current document.
#include "editor/document.h"

struct SearchState {
    OwnedString search_text;   // pool_main
    OwnedString replace_text;  // pool_main
    bool match_case;
    bool whole_word;
};

bool matches_at(const Document* doc, i64 start, i64 end);
// The whole-word test of a range [s, e).
bool on_word_boundaries(const Document* doc, i64 s, i64 e);
void find_next(Document* doc, i64 from);
void find_previous(Document* doc);
void replace_selection(Document* doc);
