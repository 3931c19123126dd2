#pragma once
// Where a call's argument list plausibly ends while its ")" is not typed yet, so that the
// call's signature can be offered as its arguments are being written.
#include "analysis/parse_state.h"

// The byte offset, in the file of the "(" token `open`, at which its unclosed argument
// list ends: at the first ";" or "}" (or an unmatched ")" or "]") outside the brackets
// opened after it, else at the end of the last line that continues the list (a line
// ending in "(" or "," goes on to the next), else at the end of the file.
i64 unclosed_call_end(const ParseState* p, i64 open);
