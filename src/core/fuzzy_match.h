#pragma once
// Ranking names (files, declarations) by a typed query whose letters they contain in
// order, as "go to file or symbol" lists them.
#include "core/string_view.h"

// tier 0: the name starts with the query; 1: the query's letters fall in runs that each
// begin a word (the name's start, after "_", "." or "/", or an upper-case letter after a
// lower-case one or a digit); 2: any other order-keeping match. -1 when the query is not
// a subsequence of the name. Letters are compared without case.
struct FuzzyScore {
    i32 tier;
    i64 length;  // of the name: shorter names rank first among equals
};
FuzzyScore fuzzy_score(StringView name, StringView query);
// Whether `a` ranks before `b` (neither is -1).
inline bool fuzzy_before(FuzzyScore a, FuzzyScore b) {
    return a.tier != b.tier ? a.tier < b.tier : a.length < b.length;
}
