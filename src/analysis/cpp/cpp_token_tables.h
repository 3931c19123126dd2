#pragma once
// Facts about the token stream computed once per pass, so that the parser's look-aheads
// cost the same however often a position is retried after errors.
#include "analysis/cpp/cpp_state.h"

// Fills a->bracket_match, a->braces_with_statements and a->template_guess.
void cpp_build_token_tables(CppAnalysis* a);
// The token closing the "(", "[" or "{" at `open` within its file, -1 when unmatched.
i64 cpp_closing_of(const CppAnalysis* a, i64 open);
// Whether the "{" at `open` directly holds a ";" (statements, not an initialiser list).
bool cpp_braces_hold_statements(const CppAnalysis* a, i64 open);
