#include "core/sort.h"

#include "memory/arena.h"

void sort_strings(StringView* items, i64 count, u8 scratch_pool) {
    if (count < 2) return;
    StringView* scratch = (StringView*)pool_alloc(scratch_pool, count * (i64)sizeof(StringView));
    merge_sort(items, 0, count, scratch, [](const StringView& a, const StringView& b) { return sv_compare(a, b) < 0; });
}
