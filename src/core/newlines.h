#pragma once
// Finding the newlines of a text eight bytes at a time: source lines are short, and a
// call per line (memchr) costs more than the scan itself on a pasted or loaded file.
#include <cstring>

#include "core/types.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the newline scan reads words as little-endian");

namespace newlines_detail {
// High bit set in each byte of `word` that equals '\n', and only there.
inline u64 newline_bits(u64 word) {
    u64 x = word ^ 0x0a0a0a0a0a0a0a0aull;
    u64 t = ((x & 0x7f7f7f7f7f7f7f7full) + 0x7f7f7f7f7f7f7f7full) | x;
    return ~t & 0x8080808080808080ull;
}
inline u64 load(const u8* p) {
    u64 word;
    memcpy(&word, p, 8);
    return word;
}
}  // namespace newlines_detail

// Calls `visit(offset)` for each '\n' in [bytes, bytes + length), in order.
template <typename Visit>
inline void for_each_newline(const u8* bytes, i64 length, Visit visit) {
    i64 i = 0;
    // Bytes are read in memory order: bit 8k+7 of the little-endian word is byte k.
    for (; i + 8 <= length; i += 8) {
        u64 bits = newlines_detail::newline_bits(newlines_detail::load(bytes + i));
        while (bits) {
            visit(i + (__builtin_ctzll(bits) >> 3));
            bits &= bits - 1;
        }
    }
    for (; i < length; i++)
        if (bytes[i] == '\n') visit(i);
}

inline i64 count_newlines(const u8* bytes, i64 length) {
    i64 n = 0;
    i64 i = 0;
    // One bit per newline byte, moved to the byte's low bit and summed by the multiply
    // (no popcount instruction on the baseline x86-64).
    for (; i + 8 <= length; i += 8)
        n += (i64)(((newlines_detail::newline_bits(newlines_detail::load(bytes + i)) >> 7) * 0x0101010101010101ull) >> 56);
    for (; i < length; i++) n += bytes[i] == '\n';
    return n;
}
