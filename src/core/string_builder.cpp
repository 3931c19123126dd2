#include "core/string_builder.h"

#include <cmath>
#include <cstdio>

void append_char(StringBuilder* b, char c) {
    array_append<char>(b, c);
    if (b->count > b->max) b->max = b->count;
}

void append_string(StringBuilder* b, StringView s) {
    append_bytes<char>(b, s.data, s.length);
    if (b->count > b->max) b->max = b->count;
}

void append_int(StringBuilder* b, i64 value) {
    char digits[24];
    int n = 0;
    u64 magnitude = value < 0 ? (u64)0 - (u64)value : (u64)value;
    if (value < 0) append_char(b, '-');
    do {
        digits[n++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    while (n) append_char(b, digits[--n]);
}

i64 format_decimal(f64 value, char* out) {
    if (std::isnan(value)) { memcpy(out, "nan", 3); return 3; }
    if (std::isinf(value)) {
        if (value < 0) { memcpy(out, "-infinity", 9); return 9; }
        memcpy(out, "infinity", 8);
        return 8;
    }
    i64 n = 0;
    if (value < 0) { out[n++] = '-'; value = -value; }
    f64 whole = std::floor(value);
    f64 fraction = value - whole;
    int frac[5];
    for (int i = 0; i < 5; i++) {
        fraction *= 10;
        f64 d = std::floor(fraction);
        if (d > 9) d = 9;
        frac[i] = (int)d;
        fraction -= d;
    }
    bool carry = frac[4] >= 5;
    for (int i = 3; i >= 0 && carry; i--) {
        if (frac[i] == 9) frac[i] = 0;
        else { frac[i]++; carry = false; }
    }
    char integer[320];
    int len;
    if (whole < 1e18) {
        u64 w = (u64)whole + (carry ? 1 : 0);
        len = snprintf(integer, sizeof integer, "%llu", (unsigned long long)w);
    } else {
        len = snprintf(integer, sizeof integer, "%.0f", whole + (carry ? 1.0 : 0.0));
    }
    if (len > 300) len = 300;  // keeps every caller's fixed buffer safe
    memcpy(out + n, integer, (size_t)len);
    n += len;
    int last = 3;
    while (last >= 0 && frac[last] == 0) last--;
    if (last >= 0) {
        out[n++] = '.';
        for (int i = 0; i <= last; i++) out[n++] = (char)('0' + frac[i]);
    }
    return n;
}

void append_decimal(StringBuilder* b, f64 value) {
    char text[320];
    i64 n = format_decimal(value, text);
    append_string(b, StringView{text, n});
}
