#pragma once
// Classes of tokens that the parsers of all three languages (vantrel, C/C++, GLSL) share:
// the stray tokens passed over before a statement or an item, since nothing starts with
// them, and the assignment operators.
#include "analysis/parse_state.h"

// Operators and punctuation that start no statement.
bool is_stray_statement_token(u16 code);
// Punctuation and number literals that start no item in any of the languages; each
// language adds its own literal keywords (true, false, null...).
bool is_stray_item_token(u16 code);
// Moves `pos` over the tokens `is_stray` accepts; `on_skip` (may be null) runs before
// each one is passed, for parsers that count them as errors.
void skip_stray_tokens(ParseState* p, bool (*is_stray)(u16 code), void (*on_skip)(ParseState* p));

// "=" and the compound assignments ("+=" ... "<<=", ">>=").
bool is_assignment_operator(u16 code);
