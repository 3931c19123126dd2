#pragma once
// The signature record of a function head, shared by the C-family analyses (C/C++, GLSL).
#include "analysis/parse_state.h"

// The head's text from the token `first` up to (not including) `head_end` — the body's
// "{" or the ";" — in the file of `first`, trailing spaces, tabs and newlines removed,
// with a view of that file's colour bytes; its overloads list holds `index` alone.
Signature cfam_signature_of_head(ParseState* p, i32 index, i64 first, i64 head_end);

// What tells a function head from another head of the same name, and which of two heads
// of one function (a prototype and its definition) is worth offering.
struct HeadKey {
    // cfam_parameter_tokens; a head without a key (an operator's) is never the same as
    // another.
    Array<i64> tokens;
    u8 comparable;
    i32 preference;  // the higher one is offered
};

// A function's head key, made on first use and kept in its record: each new overload is
// compared with every head already offered for its name, and rebuilding those each time
// cost a header of thousands of overloads hundreds of MB.
struct CachedHeadKey {
    HeadKey key;
    u8 known;
};

template <typename Make>
HeadKey cfam_cached_head_key(CachedHeadKey* cached, Make make) {
    if (!cached->known) {
        cached->key = make();
        cached->known = 1;
    }
    return cached->key;
}

// The tokens of a head's parameter list that make its type: from the first "(" at or
// after the name token `name` (before head_end) to its ")", less the parameters' name
// tokens `names`, default values and a lone "void", followed by the "const", "volatile",
// "&" and "&&" after the ")".
Array<i64> cfam_parameter_tokens(const ParseState* p, i64 name, i64 head_end, const Array<i64>& names);
// Adds signature `index` to those offered for a call of signature `first`'s function. A
// head with the same parameter tokens as one offered already (`key_of` gives the key of a
// signature's head) declares that function again: it takes the offered one's place when
// preferred, else is left out, so a prototype and its definition are offered once.
void cfam_offer_overload(const ParseState* p, AnalysisResult* result, i32 first, i32 index,
                         HeadKey (*key_of)(void* context, i32 index), void* context);
