#include "memory/arena.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#if defined(__linux__)
#include <sys/mman.h>
#endif

MemoryState memory;

const i64 arena_default_capacity[pool_count] = {
    1073741824,  // pool_main
    4194304,     // pool_frame
    4194304,     // pool_project
    67108864,    // pool_sources
    4194304,     // pool_editor
    1073741824,  // pool_parser
    67108864,    // pool_output
};

const char* const arena_names[pool_count] = {
    "pool_main", "pool_frame", "pool_project", "pool_sources", "pool_editor", "pool_parser", "pool_output",
};

static void write_line(const char* prefix, i64 number) {
    char line[96];
    int n = snprintf(line, sizeof line, "%s%lld\n", prefix, (long long)number);
    fwrite(line, 1, (size_t)n, stdout);
    fflush(stdout);
}

static Arena* select_arena(u8 pool, const char* who) {
    if (pool >= pool_count) {
        char prefix[64];
        snprintf(prefix, sizeof prefix, "%s: unknown pool ", who);
        write_line(prefix, (i64)(i8)pool);
        exit(0);
    }
    return &memory.arenas[pool];
}

// Running out is never silent and never writes past the block.
[[noreturn]] static void out_of_space(u8 pool, i64 wanted) {
    if (memory.exhausted_hook && !memory.in_exhausted_hook.exchange(true)) memory.exhausted_hook(pool);
    char line[160];
    int n = snprintf(line, sizeof line, "%s exhausted: %lld bytes wanted, %lld of %lld in use\n",
                     arena_names[pool], (long long)wanted, (long long)memory.arenas[pool].used,
                     (long long)memory.arenas[pool].capacity);
    fwrite(line, 1, (size_t)n, stdout);
    fflush(stdout);
    exit(1);
}

// The large pools back the analysis of big files (tens of MB of tokens touched once
// each): with 4 KB pages every first touch is a page fault, which cost as much time
// as the analysis itself. Asking for huge pages beyond the first few MB keeps the small
// start-up use in small pages, so the resident size of an idle editor does not grow.
// Returns the offset where huge pages begin, 0 when none were asked for.
static const i64 huge_page = (i64)2 << 20;
static i64 advise_huge_pages(u8* base, i64 capacity) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const i64 small_prefix = (i64)8 << 20;
    if (capacity < 4 * small_prefix) return 0;
    uintptr_t from = ((uintptr_t)base + (uintptr_t)small_prefix + (uintptr_t)huge_page - 1) & ~(uintptr_t)(huge_page - 1);
    uintptr_t to = ((uintptr_t)base + (uintptr_t)capacity) & ~(uintptr_t)(huge_page - 1);
    if (to <= from || madvise((void*)from, (size_t)(to - from), MADV_HUGEPAGE) != 0) return 0;
    return (i64)(from - (uintptr_t)base);
#else
    (void)base;
    (void)capacity;
    return 0;
#endif
}

bool arenas_reserve(const i64* capacities) {
    for (u8 i = 0; i < pool_count; i++) {
        i64 capacity = capacities ? capacities[i] : arena_default_capacity[i];
        memory.arenas[i].base = (u8*)malloc((size_t)capacity);
        memory.arenas[i].capacity = memory.arenas[i].base ? capacity : 0;
        memory.arenas[i].used = 0;
        memory.arenas[i].high_water = 0;
        memory.arenas[i].touched = 0;
        memory.arenas[i].huge_from = 0;
        if (!memory.arenas[i].base) {
            printf("failed to reserve %s (%lld bytes)\n", arena_names[i], (long long)capacity);
            fflush(stdout);
            return false;
        }
        memory.arenas[i].huge_from = advise_huge_pages(memory.arenas[i].base, capacity);
    }
    return true;
}

void arenas_release() {
    for (u8 i = 0; i < pool_count; i++) {
        free(memory.arenas[i].base);
        memory.arenas[i] = Arena{};
    }
}

bool arenas_reserved() { return memory.arenas[0].base != nullptr; }

static inline i64 align8(i64 v) { return (v + 7) & ~(i64)7; }

void* pool_alloc(u8 pool, i64 size) {
    Arena* a = select_arena(pool, "pool_alloc");
    i64 start = align8(a->used);
    // A block of a huge page or more that would start among the small pages starts where
    // the huge ones begin: first touches then cost a fault per 2 MB instead of per 4 KB
    // (in a virtual machine 4 KB faults cost more than the work of a large pass). The
    // gap is address space only, never touched.
    if (size >= huge_page && start < a->huge_from) start = a->huge_from;
    if (size < 0 || size > a->capacity - start) out_of_space(pool, size);
    a->used = start + size;
    if (a->used > a->high_water) a->high_water = a->used;
    if (a->used > a->touched) a->touched = a->used;
    return a->base + start;
}

void* pool_realloc(u8 pool, void* old_pointer, i64 old_size, i64 new_size) {
    Arena* a = select_arena(pool, "pool_realloc");
    i64 start = old_pointer ? (u8*)old_pointer - a->base : 0;
    // The last block grows (or shrinks) in place, unless it grows to a huge page or more
    // among the small pages (it moves to the huge ones, as a fresh block would).
    bool moves_to_huge = new_size >= huge_page && start < a->huge_from;
    if (old_pointer && (u8*)old_pointer + old_size == a->base + a->used && !moves_to_huge) {
        if (new_size < 0 || new_size > a->capacity - start) out_of_space(pool, new_size);
        a->used = start + new_size;
        if (a->used > a->high_water) a->high_water = a->used;
        if (a->used > a->touched) a->touched = a->used;
        return old_pointer;
    }
    void* fresh = pool_alloc(pool, new_size);
    if (old_pointer && old_size > 0) memcpy(fresh, old_pointer, (size_t)(old_size < new_size ? old_size : new_size));
    return fresh;
}

void pool_reset(u8 pool) { select_arena(pool, "pool_reset")->used = 0; }

i64 pool_give_back(u8 pool, i64 keep) {
    Arena* a = select_arena(pool, "pool_give_back");
    i64 from = keep > a->used ? keep : a->used;
    if (from < 0 || from >= a->touched) return 0;
    i64 span = a->touched - from;
    i64 given = pool_give_back_block(a->base + from, span);
    // Less than a whole page beyond the mark is nothing to give, yet counts as given back.
    if (given > 0 || span < 2 * 4096) a->touched = from;
    return given;
}

i64 pool_give_back_block(void* block, i64 size) {
#if defined(__linux__) && defined(MADV_DONTNEED)
    if (!block || size <= 0) return 0;
    const uintptr_t page = 4096;
    uintptr_t start = ((uintptr_t)block + page - 1) & ~(page - 1);
    uintptr_t end = ((uintptr_t)block + (uintptr_t)size) & ~(page - 1);
    if (end <= start || madvise((void*)start, (size_t)(end - start), MADV_DONTNEED) != 0) return 0;
    return (i64)(end - start);
#else
    (void)block;
    (void)size;
    return 0;
#endif
}

i64 pool_available(u8 pool) {
    Arena* a = select_arena(pool, "pool_available");
    i64 left = a->capacity - align8(a->used);
    return left > 0 ? left : 0;
}
