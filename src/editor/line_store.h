#pragma once
// Line lengths kept with a gap at the last edited row, as the text keeps its bytes: a new
// or removed line moves only the entries between the last edit and this one.
#include "core/types.h"

struct LineStore {
    i32* lengths;  // [0, gap_start) and [gap_end, capacity) hold the rows
    i64 gap_start, gap_end;
    i64 capacity;
    u8 pool;
};

inline i64 lines_count(const LineStore* l) { return l->capacity - (l->gap_end - l->gap_start); }
inline i64 lines_index(const LineStore* l, i64 row) { return row < l->gap_start ? row : row + (l->gap_end - l->gap_start); }
inline i32 lines_get(const LineStore* l, i64 row) { return l->lengths[lines_index(l, row)]; }
inline void lines_set(LineStore* l, i64 row, i64 length) { l->lengths[lines_index(l, row)] = (i32)length; }
// Sum of the lengths of rows [row, row + n) (all inside the table).
i64 lines_sum(const LineStore* l, i64 row, i64 n);

// Capacity for `count` rows in all, from the store's pool; `room` is what the pool may
// give. False, with nothing changed, when that is not enough.
bool lines_reserve(LineStore* l, i64 count, i64 room);
i64 lines_planned_capacity(const LineStore* l, i64 count);
// Makes room for `n` new rows before `row` (their lengths are the caller's to set); the
// capacity must have been reserved.
void lines_insert(LineStore* l, i64 row, i64 n);
// Removes rows [row, row + n).
void lines_remove(LineStore* l, i64 row, i64 n);
void lines_clear(LineStore* l);
