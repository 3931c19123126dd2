#pragma once
// Every string of the program: a pointer and a signed length, no terminator.
#include <cstring>

#include "core/types.h"

struct StringView {
    const char* data;
    i64 length;
};

// A view of a string literal, without its terminator.
#define SV(literal) (StringView{(literal), (i64)sizeof(literal) - 1})

inline StringView sv_from_cstr(const char* s) { return StringView{s, s ? (i64)strlen(s) : 0}; }
inline StringView sv_slice(StringView s, i64 start, i64 end) { return StringView{s.data + start, end - start}; }

inline bool sv_equal(StringView a, StringView b) {
    return a.length == b.length && (a.length == 0 || memcmp(a.data, b.data, (size_t)a.length) == 0);
}
bool ends_with(StringView s, StringView suffix);
bool starts_with(StringView s, StringView prefix);
// Byte order as unsigned values; on a common prefix the shorter string first.
int sv_compare(StringView a, StringView b);
// Last index of `c` in `s`, or -1.
i64 sv_last_index(StringView s, char c);

StringView string_copy(StringView s, u8 pool);
StringView string_concat(StringView a, StringView b, u8 pool);
// Copies into the destination's own storage; grows only when the source is longer.
// `capacity` tracks the storage so that repeated assignment reuses it.
struct OwnedString {
    char* data;
    i64 length;
    i64 capacity;
};
void string_assign(OwnedString* destination, StringView source, u8 pool);
inline StringView owned_view(const OwnedString& s) { return StringView{s.data, s.length}; }

// Parses an optional "-" and decimal digits at `*pos`; anything else reads as 0.
// Leaves `*pos` after the digits.
i64 parse_integer(StringView s, i64* pos);
// Optional "-", digits, optional "." and digits; at most 64 digits are kept.
f64 parse_decimal(StringView s, i64* pos);
