#pragma once
// A byte array with a high-water mark, used to assemble paths and messages.
#include "core/array.h"
#include "core/string_view.h"

struct StringBuilder : Array<char> {
    i64 max;
};

inline StringView builder_view(const StringBuilder& b) { return StringView{b.data, b.count}; }
void append_char(StringBuilder* b, char c);
void append_string(StringBuilder* b, StringView s);
void append_int(StringBuilder* b, i64 value);
// Appends the text of format_decimal (four fractional digits at most).
void append_decimal(StringBuilder* b, f64 value);
// Writes the decimal form: "nan", "infinity", "-infinity", or digits rounded to four
// fractional places with trailing zeros dropped. Returns the length (at most 310 bytes).
i64 format_decimal(f64 value, char* out);
