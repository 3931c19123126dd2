#pragma once
// The bytes of a document and one colour byte per byte, kept with a gap where the last
// edit was: an edit moves only the bytes between the previous edit and this one, never
// the whole tail, so typing costs the same at the top of a large file as in a small one.
// Readers take single bytes or ask for a range to be made contiguous (the gap then moves
// to the nearer end of that range, so reading the rows on screen costs their size).
#include "core/string_view.h"
#include "core/types.h"

// The store takes no lock itself: whoever lets another thread read it (the analysis reads
// documents through the source cache) holds that thread's lock while the layout changes.
struct TextStore {
    u8* bytes;    // [0, gap_start) and [gap_end, capacity) hold the text
    u8* colours;  // the same layout
    i64 gap_start, gap_end;
    i64 capacity;
    u64 changes;  // counts every insertion, removal and clearing: the text's identity
    u8 pool;
};

inline i64 store_length(const TextStore* s) { return s->capacity - (s->gap_end - s->gap_start); }
inline i64 store_index(const TextStore* s, i64 pos) { return pos < s->gap_start ? pos : pos + (s->gap_end - s->gap_start); }
inline u8 store_byte(const TextStore* s, i64 pos) { return s->bytes[store_index(s, pos)]; }
inline u8 store_colour(const TextStore* s, i64 pos) { return s->colours[store_index(s, pos)]; }
inline void store_set_colour(TextStore* s, i64 pos, u8 colour) { s->colours[store_index(s, pos)] = colour; }

// Moves the gap so that it starts at `pos` (0..length).
void store_move_gap(TextStore* s, i64 pos);
// [start, end) made contiguous: pointers to its first byte and colour byte, valid until
// the next change or the next call that moves the gap. The range is clamped to the text.
const u8* store_bytes(TextStore* s, i64 start, i64 end);
u8* store_colours(TextStore* s, i64 start, i64 end);
// The bytes of [start, end) copied into `out` (the gap stays where it is).
void store_copy_out(const TextStore* s, i64 start, i64 end, u8* out);
void store_copy_colours_out(const TextStore* s, i64 start, i64 end, u8* out);
// Colours for [start, end) from `in` (the gap stays where it is).
void store_copy_colours_in(TextStore* s, i64 start, i64 end, const u8* in);
// Capacity for `length` bytes in all (text plus gap), from the store's pool. Growth keeps
// a gap of an eighth of the text (at least 64 KiB) so that pasting stays cheap; `room`
// is what the pool may give. False, with nothing changed, when that is not enough.
bool store_reserve(TextStore* s, i64 length, i64 room);
// The capacity store_reserve would take for `length` bytes (for planning the memory).
i64 store_planned_capacity(const TextStore* s, i64 length);
// Inserts `n` bytes at `pos` with their colours (`colours` null: all `colour`). The
// capacity must have been reserved.
void store_insert(TextStore* s, i64 pos, const u8* bytes, i64 n, const u8* colours, u8 colour);
// Removes [pos, pos + n), clamped to the text.
void store_remove(TextStore* s, i64 pos, i64 n);
// Empties the text; the storage stays.
void store_clear(TextStore* s);
