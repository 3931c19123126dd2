#pragma once
// Growable arrays that take their storage from the pool named in the header.
// A zeroed Array is empty and valid.
#include <cstring>

#include "core/types.h"
#include "memory/arena.h"

// Counts are 32-bit: every array lives in a pool of at most 1 GB, and the header of the
// many small lists of a large analysis pass stays 24 bytes.
template <typename T>
struct Array {
    T* data;
    i32 count;
    i32 capacity;
    u8 pool;

    T& operator[](i64 i) { return data[i]; }
    const T& operator[](i64 i) const { return data[i]; }
    T* begin() { return data; }
    T* end() { return data + count; }
    const T* begin() const { return data; }
    const T* end() const { return data + count; }
};

template <typename T>
inline void array_reserve(Array<T>* a, i64 wanted) {
    if (a->data && a->capacity >= wanted) return;
    i64 capacity = a->capacity > 0 && a->data ? a->capacity : 1;
    while (capacity < wanted) capacity *= 2;
    a->data = (T*)pool_realloc(a->pool, a->data, a->data ? a->capacity * (i64)sizeof(T) : 0, capacity * (i64)sizeof(T));
    a->capacity = capacity;
}

// Capacity becomes exactly `wanted` when it grows: room reserved up front for a list that
// would otherwise move as it doubles (untouched room costs no memory).
template <typename T>
inline void array_reserve_exact(Array<T>* a, i64 wanted) {
    if (a->data && a->capacity >= wanted) return;
    a->data = (T*)pool_realloc(a->pool, a->data, a->data ? a->capacity * (i64)sizeof(T) : 0, wanted * (i64)sizeof(T));
    a->capacity = wanted;
}

template <typename T>
inline i64 array_append(Array<T>* a, const T& value) {
    if (!a->data) {
        a->data = (T*)pool_alloc(a->pool, (i64)sizeof(T));
        a->capacity = 1;
    } else if (a->count == a->capacity) {
        a->data = (T*)pool_realloc(a->pool, a->data, a->capacity * (i64)sizeof(T), a->capacity * 2 * (i64)sizeof(T));
        a->capacity *= 2;
    }
    a->data[a->count] = value;
    return a->count++;
}

// An index beyond the count inserts at the end; a negative one at the front.
template <typename T>
inline void array_insert(Array<T>* a, i64 index, const T& value) {
    array_reserve(a, a->count + 1);
    if (index > a->count) index = a->count;
    if (index < 0) index = 0;
    memmove(a->data + index + 1, a->data + index, (size_t)(a->count - index) * sizeof(T));
    a->data[index] = value;
    a->count++;
}

// Inserts `n` elements copied from `values` at `index` (clamped like array_insert).
template <typename T>
inline void array_insert_many(Array<T>* a, i64 index, const T* values, i64 n) {
    if (n <= 0) return;
    array_reserve(a, a->count + n);
    if (index > a->count) index = a->count;
    if (index < 0) index = 0;
    memmove(a->data + index + n, a->data + index, (size_t)(a->count - index) * sizeof(T));
    memcpy(a->data + index, values, (size_t)n * sizeof(T));
    a->count += n;
}

template <typename T>
inline void array_remove(Array<T>* a, i64 index) {
    if (index < 0 || index >= a->count) return;
    memmove(a->data + index, a->data + index + 1, (size_t)(a->count - index - 1) * sizeof(T));
    a->count--;
}

// Removes [start, start + n), clamped to the array.
template <typename T>
inline void array_remove_range(Array<T>* a, i64 start, i64 n) {
    if (start < 0) { n += start; start = 0; }
    if (start + n > a->count) n = a->count - start;
    if (n <= 0) return;
    memmove(a->data + start, a->data + start + n, (size_t)(a->count - start - n) * sizeof(T));
    a->count -= n;
}

template <typename T>
inline void array_remove_first(Array<T>* a) { array_remove(a, 0); }

template <typename T>
inline Array<T> array_copy(const Array<T>& source) {
    Array<T> copy{};
    copy.pool = source.pool;
    if (source.count == 0) return copy;
    copy.data = (T*)pool_alloc(source.pool, source.count * (i64)sizeof(T));
    memcpy(copy.data, source.data, (size_t)source.count * sizeof(T));
    copy.count = copy.capacity = source.count;
    return copy;
}

// Copies into `pool` instead of the source's pool.
template <typename T>
inline Array<T> array_copy_to(const Array<T>& source, u8 pool) {
    Array<T> copy{};
    copy.pool = pool;
    if (source.count == 0) return copy;
    copy.data = (T*)pool_alloc(pool, source.count * (i64)sizeof(T));
    memcpy(copy.data, source.data, (size_t)source.count * sizeof(T));
    copy.count = copy.capacity = source.count;
    return copy;
}

// Capacity becomes at least n (exactly n when it grows); the new elements are not cleared.
template <typename T>
inline void array_resize(Array<T>* a, i64 n) {
    if (a->capacity < n || !a->data) {
        i64 capacity = a->capacity < n ? n : a->capacity;
        if (capacity < 1) capacity = 1;
        a->data = (T*)pool_realloc(a->pool, a->data, a->data ? a->capacity * (i64)sizeof(T) : 0, capacity * (i64)sizeof(T));
        a->capacity = capacity;
    }
    a->count = n;
}

// Byte arrays: append a run of bytes, doubling from 1 until it fits.
template <typename T>
inline void append_bytes(Array<T>* a, const void* bytes, i64 length) {
    static_assert(sizeof(T) == 1, "append_bytes works on byte arrays");
    if (length <= 0) return;
    array_reserve(a, a->count + length);
    memcpy(a->data + a->count, bytes, (size_t)length);
    a->count += length;
}
