#pragma once
// Conditional groups (#if, #ifdef, #ifndef, #elif, #else, #endif) read structurally, so
// that alternative versions of the same lines never unbalance the braces the parser
// follows. Of each group the first branch not known to be false is kept; a branch known
// to be false ("#if 0", or any branch after "#if 1") is left out; every other branch is
// kept only when its tokens, with the groups inside it decided the same way, leave braces
// and parentheses balanced and never close more than they opened. So alternative function
// heads ("int f(a) {" / "int f(b) {") or "} else {" lines keep one version, while
// alternative whole definitions stay in and give their outline rows. Left-out tokens
// keep the lexer's colours. One pass over the directives and one over the tokens.
#include "analysis/parse_state.h"

// Removes the left-out tokens of the file lexed from `first_token` on (its end token
// stays). `colours` holds the lexer's kinds: a directive is a "#" coloured
// `directive_kind` at the start of a line.
void cfam_follow_preprocessor_branches(ParseState* p, i64 first_token, StringView text, const u8* colours,
                                       u8 directive_kind);
