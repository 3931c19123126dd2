#include "core/text_store.h"

#include "memory/arena.h"

namespace {
constexpr i64 least_gap = 64 * 1024;

i64 clamp(i64 v, i64 low, i64 high) { return v < low ? low : v > high ? high : v; }
}  // namespace

static void move_gap(TextStore* s, i64 pos) {
    pos = clamp(pos, 0, store_length(s));
    i64 gap = s->gap_end - s->gap_start;
    if (pos < s->gap_start) {
        // The bytes between pos and the gap move to the gap's far side.
        i64 n = s->gap_start - pos;
        memmove(s->bytes + pos + gap, s->bytes + pos, (size_t)n);
        memmove(s->colours + pos + gap, s->colours + pos, (size_t)n);
    } else if (pos > s->gap_start) {
        i64 n = pos - s->gap_start;
        memmove(s->bytes + s->gap_start, s->bytes + s->gap_end, (size_t)n);
        memmove(s->colours + s->gap_start, s->colours + s->gap_end, (size_t)n);
    }
    s->gap_start = pos;
    s->gap_end = pos + gap;
}

void store_move_gap(TextStore* s, i64 pos) {
    if (clamp(pos, 0, store_length(s)) == s->gap_start) return;
    move_gap(s, pos);
}

// The gap leaves [start, end) by the shorter way.
static void make_contiguous(TextStore* s, i64 start, i64 end) {
    if (end <= s->gap_start || start >= s->gap_start) return;
    if (s->gap_start - start <= end - s->gap_start) move_gap(s, start);
    else move_gap(s, end);
}

const u8* store_bytes(TextStore* s, i64 start, i64 end) {
    i64 length = store_length(s);
    start = clamp(start, 0, length);
    end = clamp(end, start, length);
    make_contiguous(s, start, end);
    return s->bytes + store_index(s, start);
}

u8* store_colours(TextStore* s, i64 start, i64 end) {
    i64 length = store_length(s);
    start = clamp(start, 0, length);
    end = clamp(end, start, length);
    make_contiguous(s, start, end);
    return s->colours + store_index(s, start);
}

static void copy_range(const TextStore* s, const u8* base, i64 start, i64 end, u8* out) {
    start = clamp(start, 0, store_length(s));
    end = clamp(end, start, store_length(s));
    i64 before_end = end < s->gap_start ? end : s->gap_start;
    if (start < before_end) {
        memcpy(out, base + start, (size_t)(before_end - start));
        out += before_end - start;
    }
    i64 after_start = start > s->gap_start ? start : s->gap_start;
    if (after_start < end) memcpy(out, base + store_index(s, after_start), (size_t)(end - after_start));
}

void store_copy_out(const TextStore* s, i64 start, i64 end, u8* out) { copy_range(s, s->bytes, start, end, out); }

void store_copy_colours_in(TextStore* s, i64 start, i64 end, const u8* in) {
    start = clamp(start, 0, store_length(s));
    end = clamp(end, start, store_length(s));
    i64 before_end = end < s->gap_start ? end : s->gap_start;
    if (start < before_end) {
        memcpy(s->colours + start, in, (size_t)(before_end - start));
        in += before_end - start;
    }
    i64 after_start = start > s->gap_start ? start : s->gap_start;
    if (after_start < end) memcpy(s->colours + store_index(s, after_start), in, (size_t)(end - after_start));
}

void store_copy_colours_out(const TextStore* s, i64 start, i64 end, u8* out) {
    copy_range(s, s->colours, start, end, out);
}

i64 store_planned_capacity(const TextStore* s, i64 length) {
    if (s->bytes && s->capacity >= length) return s->capacity;
    i64 gap = length / 8;
    if (gap < least_gap) gap = least_gap;
    i64 grown = s->capacity * 2;
    i64 wanted = length + gap;
    return grown > wanted && grown < wanted * 2 ? grown : wanted;
}

bool store_reserve(TextStore* s, i64 length, i64 room) {
    if (s->bytes && s->capacity >= length) return true;
    i64 capacity = store_planned_capacity(s, length);
    // Short of room: the exact need, with no gap to spare.
    if (2 * capacity > room) capacity = length;
    if (2 * capacity > room) return false;
    u8* bytes = (u8*)pool_alloc(s->pool, capacity);
    u8* colours = (u8*)pool_alloc(s->pool, capacity);
    i64 text = store_length(s);
    i64 tail = text - s->gap_start;
    if (s->bytes) {
        memcpy(bytes, s->bytes, (size_t)s->gap_start);
        memcpy(colours, s->colours, (size_t)s->gap_start);
        memcpy(bytes + capacity - tail, s->bytes + s->gap_end, (size_t)tail);
        memcpy(colours + capacity - tail, s->colours + s->gap_end, (size_t)tail);
    }
    s->bytes = bytes;
    s->colours = colours;
    s->gap_end = capacity - tail;
    s->capacity = capacity;
    return true;
}

void store_insert(TextStore* s, i64 pos, const u8* bytes, i64 n, const u8* colours, u8 colour) {
    if (n <= 0 || s->gap_end - s->gap_start < n) return;
    s->changes++;
    move_gap(s, pos);
    memcpy(s->bytes + s->gap_start, bytes, (size_t)n);
    if (colours) memcpy(s->colours + s->gap_start, colours, (size_t)n);
    else memset(s->colours + s->gap_start, colour, (size_t)n);
    s->gap_start += n;
}

void store_remove(TextStore* s, i64 pos, i64 n) {
    i64 length = store_length(s);
    if (pos < 0) {
        n += pos;
        pos = 0;
    }
    if (pos + n > length) n = length - pos;
    if (n <= 0) return;
    s->changes++;
    move_gap(s, pos);
    s->gap_end += n;
}

void store_clear(TextStore* s) {
    s->changes++;
    s->gap_start = 0;
    s->gap_end = s->capacity;
}
