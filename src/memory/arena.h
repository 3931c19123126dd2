#pragma once
// Seven bump arenas, each emptied whole at a fixed point of the program's cycle.
#include <atomic>

#include "core/types.h"

enum : u8 {
    pool_main = 0,     // whole run
    pool_frame = 1,    // one frame
    pool_project = 2,  // one project
    pool_sources = 3,  // source cache
    pool_editor = 4,   // symbol list at the cursor
    pool_parser = 5,   // one analysis pass (analysis thread only)
    pool_output = 6,   // main thread's copy of the last analysis result
    pool_count = 7,
};

struct Arena {
    u8* base;
    i64 capacity;
    i64 used;
    i64 high_water;  // largest `used` seen; reported by soak tests and the overlay
    i64 touched;     // largest `used` since pages were last given back: what may be resident
    i64 huge_from;   // offset where pages may be huge (0: none asked for)
};

// The seven arenas, and the call made once when one runs out (before the process ends
// with a message naming the pool): the program writes what must not be lost. It may not
// allocate from the arenas. A call-back because the memory layer knows nothing above it.
struct MemoryState {
    Arena arenas[pool_count];
    void (*exhausted_hook)(u8 pool);
    std::atomic<bool> in_exhausted_hook;
};
extern MemoryState memory;
extern const i64 arena_default_capacity[pool_count];
extern const char* const arena_names[pool_count];

// Reserves the seven blocks (pool order); `capacities` null means the defaults.
// Returns false (after printing a line) when a block cannot be had.
bool arenas_reserve(const i64* capacities = nullptr);
void arenas_release();
bool arenas_reserved();

void* pool_alloc(u8 pool, i64 size);
void* pool_realloc(u8 pool, void* old_pointer, i64 old_size, i64 new_size);
void pool_reset(u8 pool);
// Hands the pages of the pool beyond max(used, keep) back to the system: what they held is
// gone, and a later use gets fresh zero pages. For a pool whose large peak is past (one
// big analysis), so that a program at rest does not keep that peak resident. Returns the
// bytes given back.
i64 pool_give_back(u8 pool, i64 keep);
// The same for the whole pages inside one block of a pool (a large buffer kept for reuse
// that sits idle): its contents are lost, it reads as zeros until written again.
i64 pool_give_back_block(void* block, i64 size);
// Bytes that a new 8-aligned allocation could still take from the pool.
i64 pool_available(u8 pool);
