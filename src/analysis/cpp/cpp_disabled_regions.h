#pragma once
// Code between "#if 0" and its "#else", "#elif" or "#endif" is left out of parsing: it
// is dead by intent and often unbalanced (half a function kept for reference), which
// would otherwise swallow the rest of its file. The same holds for the lines that a
// directive continues with a trailing backslash (the bodies of long macros). Their bytes
// keep the lexer's colours.
#include "analysis/parse_state.h"

// Removes the tokens of the file lexed from `first_token` on (its end token stays)
// whose offsets lie in such groups; `colours` tells directives from other "#" bytes.
void cpp_drop_disabled_regions(ParseState* p, i64 first_token, StringView text, const u8* colours);
