#include "core/string_view.h"

#include <cstdio>

#include "memory/arena.h"

bool ends_with(StringView s, StringView suffix) {
    if (suffix.length > s.length) return false;
    return suffix.length == 0 || memcmp(s.data + s.length - suffix.length, suffix.data, (size_t)suffix.length) == 0;
}

bool starts_with(StringView s, StringView prefix) {
    if (prefix.length > s.length) return false;
    return prefix.length == 0 || memcmp(s.data, prefix.data, (size_t)prefix.length) == 0;
}

int sv_compare(StringView a, StringView b) {
    i64 n = a.length < b.length ? a.length : b.length;
    int c = n > 0 ? memcmp(a.data, b.data, (size_t)n) : 0;
    if (c != 0) return c < 0 ? -1 : 1;
    if (a.length == b.length) return 0;
    return a.length < b.length ? -1 : 1;
}

i64 sv_last_index(StringView s, char c) {
    for (i64 i = s.length - 1; i >= 0; i--)
        if (s.data[i] == c) return i;
    return -1;
}

StringView string_copy(StringView s, u8 pool) {
    if (s.length <= 0) return StringView{nullptr, 0};
    char* p = (char*)pool_alloc(pool, s.length);
    memcpy(p, s.data, (size_t)s.length);
    return StringView{p, s.length};
}

StringView string_concat(StringView a, StringView b, u8 pool) {
    i64 n = a.length + b.length;
    if (n <= 0) return StringView{nullptr, 0};
    char* p = (char*)pool_alloc(pool, n);
    if (a.length) memcpy(p, a.data, (size_t)a.length);
    if (b.length) memcpy(p + a.length, b.data, (size_t)b.length);
    return StringView{p, n};
}

void string_assign(OwnedString* destination, StringView source, u8 pool) {
    if (source.length <= 0) {
        destination->length = 0;
        return;
    }
    if (destination->capacity < source.length || !destination->data) {
        destination->data = (char*)pool_alloc(pool, source.length);
        destination->capacity = source.length;
    }
    memmove(destination->data, source.data, (size_t)source.length);
    destination->length = source.length;
}

i64 parse_integer(StringView s, i64* pos) {
    i64 p = *pos;
    bool negative = false;
    if (p < s.length && s.data[p] == '-') {
        negative = true;
        p++;
    }
    u64 value = 0;
    bool any = false;
    while (p < s.length && s.data[p] >= '0' && s.data[p] <= '9') {
        value = value * 10 + (u64)(s.data[p] - '0');  // wraps on absurd lengths, never traps
        p++;
        any = true;
    }
    *pos = p;
    if (!any) return 0;
    // Negated as unsigned so that the most negative value is not undefined behaviour.
    return negative ? (i64)((u64)0 - value) : (i64)value;
}

f64 parse_decimal(StringView s, i64* pos) {
    // Digits are gathered into a bounded store and converted once, so that long
    // runs neither overflow the store nor lose the usual decimal accuracy.
    char digits[80];
    i64 n = 0, p = *pos;
    if (p < s.length && s.data[p] == '-') digits[n++] = s.data[p++];
    i64 kept = 0;
    bool any = false;
    while (p < s.length && s.data[p] >= '0' && s.data[p] <= '9') {
        if (kept < 64) { digits[n++] = s.data[p]; kept++; }
        any = true;
        p++;
    }
    if (p < s.length && s.data[p] == '.') {
        p++;
        if (kept < 64) digits[n++] = '.';
        while (p < s.length && s.data[p] >= '0' && s.data[p] <= '9') {
            if (kept < 64) { digits[n++] = s.data[p]; kept++; }
            any = true;
            p++;
        }
    }
    *pos = p;
    if (!any) return 0;
    digits[n] = 0;
    f64 value = 0;
    sscanf(digits, "%lf", &value);
    return value;
}
