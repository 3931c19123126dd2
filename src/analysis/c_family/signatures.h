#pragma once
// The signature record of a function head, shared by the C-family analyses (C/C++, GLSL).
#include "analysis/parse_state.h"

// The head's text from the token `first` up to (not including) `head_end` — the body's
// "{" or the ";" — in the file of `first`, trailing spaces, tabs and newlines removed,
// with a view of that file's colour bytes; its overloads list holds `index` alone.
Signature cfam_signature_of_head(ParseState* p, i32 index, i64 first, i64 head_end);
