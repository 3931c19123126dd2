#include "editor/line_store.h"

#include <cstring>

#include "memory/arena.h"

namespace {
constexpr i64 least_gap = 4096;

void move_gap(LineStore* l, i64 row) {
    i64 gap = l->gap_end - l->gap_start;
    if (row < l->gap_start) {
        memmove(l->lengths + row + gap, l->lengths + row, (size_t)(l->gap_start - row) * sizeof(i32));
    } else if (row > l->gap_start) {
        memmove(l->lengths + l->gap_start, l->lengths + l->gap_end, (size_t)(row - l->gap_start) * sizeof(i32));
    }
    l->gap_start = row;
    l->gap_end = row + gap;
}

i64 plain_sum(const i32* p, i64 n) {
    i64 sum = 0;
    for (i64 i = 0; i < n; i++) sum += p[i];
    return sum;
}
}  // namespace

i64 lines_sum(const LineStore* l, i64 row, i64 n) {
    if (n <= 0) return 0;
    i64 end = row + n;
    if (end <= l->gap_start || row >= l->gap_start) return plain_sum(l->lengths + lines_index(l, row), n);
    return plain_sum(l->lengths + row, l->gap_start - row) + plain_sum(l->lengths + l->gap_end, end - l->gap_start);
}

i64 lines_planned_capacity(const LineStore* l, i64 count) {
    if (l->lengths && l->capacity >= count) return l->capacity;
    i64 gap = count / 8;
    if (gap < least_gap) gap = least_gap;
    i64 grown = l->capacity * 2;
    i64 wanted = count + gap;
    return grown > wanted && grown < wanted * 2 ? grown : wanted;
}

bool lines_reserve(LineStore* l, i64 count, i64 room) {
    if (l->lengths && l->capacity >= count) return true;
    i64 capacity = lines_planned_capacity(l, count);
    if (capacity * (i64)sizeof(i32) > room) capacity = count;
    if (capacity * (i64)sizeof(i32) > room) return false;
    i32* lengths = (i32*)pool_alloc(l->pool, capacity * (i64)sizeof(i32));
    i64 rows = lines_count(l);
    i64 tail = rows - l->gap_start;
    if (l->lengths) {
        memcpy(lengths, l->lengths, (size_t)l->gap_start * sizeof(i32));
        memcpy(lengths + capacity - tail, l->lengths + l->gap_end, (size_t)tail * sizeof(i32));
    }
    l->lengths = lengths;
    l->gap_end = capacity - tail;
    l->capacity = capacity;
    return true;
}

void lines_insert(LineStore* l, i64 row, i64 n) {
    if (n <= 0 || l->gap_end - l->gap_start < n) return;
    move_gap(l, row);
    memset(l->lengths + l->gap_start, 0, (size_t)n * sizeof(i32));
    l->gap_start += n;
}

void lines_remove(LineStore* l, i64 row, i64 n) {
    if (n <= 0) return;
    move_gap(l, row);
    l->gap_end += n;
}

void lines_clear(LineStore* l) {
    l->gap_start = 0;
    l->gap_end = l->capacity;
}
