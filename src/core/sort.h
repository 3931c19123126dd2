#pragma once
// A stable merge sort that skips work on sorted runs.
#include <cstring>

#include "core/string_view.h"
#include "core/types.h"

// `less(a, b)` is the strict order; the right item is taken only when strictly smaller.
template <typename T, typename Less>
void merge_sort(T* items, i64 start, i64 end, T* scratch, Less less) {
    if (end - start < 2) return;
    i64 mid = start + 1;
    while (mid < end && !less(items[mid], items[mid - 1])) mid++;
    while (mid < end) {
        i64 last = 2 * mid - start < end ? 2 * mid - start : end;
        merge_sort(items, mid, last, scratch, less);
        memcpy((void*)(scratch + start), (const void*)(items + start), (size_t)(last - start) * sizeof(T));
        i64 left = start, right = mid, out = start;
        while (left < mid && right < last) {
            if (less(scratch[right], scratch[left])) items[out++] = scratch[right++];
            else items[out++] = scratch[left++];
        }
        while (left < mid) items[out++] = scratch[left++];
        while (right < last) items[out++] = scratch[right++];
        mid = last;
    }
}

// The three uses: strings, 40-byte candidates by name, and trail points by life.
void sort_strings(StringView* items, i64 count, u8 scratch_pool);
