#pragma once
// Find, replace and go to line in the current document.
#include "editor/document.h"

struct SearchState {
    OwnedString search_text;   // pool_main
    OwnedString replace_text;  // pool_main
    bool match_case;
    bool whole_word;
    bool highlight;  // other matches on screen are marked (after a find, until Escape)
};

// Matches of `needle` (with the search options) that do not overlap, scanning from the
// start: how many, and how many start before `before`.
struct MatchCount {
    i64 total;
    i64 before;
};
MatchCount count_matches(Document* doc, StringView needle, i64 before);
// What Find starts with: the selection when it lies on one line, else the word at the
// caret (empty when there is none).
StringView search_text_at_caret(const Document* doc);
// Whether the selection is exactly a match of the search text.
bool selection_is_match(const Document* doc);
// Every match replaced in one undo step; returns how many.
i64 replace_all(Document* doc);

bool matches_at(const Document* doc, i64 start, i64 end);
// The whole-word test of a range [s, e).
bool on_word_boundaries(const Document* doc, i64 s, i64 e);
void find_next(Document* doc, i64 from);
void find_previous(Document* doc);
void replace_selection(Document* doc);
