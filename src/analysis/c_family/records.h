#pragma once
// Allocation of the C-family syntax records (C/C++, GLSL): records and their lists live
// in pool_parser for one pass; a new record starts zeroed, a new list empty.
#include "core/array.h"
#include "core/types.h"
#include "memory/arena.h"

template <typename T>
inline T* cfam_new() {
    T* record = (T*)pool_alloc(pool_parser, (i64)sizeof(T));
    memset((void*)record, 0, sizeof(T));
    return record;
}
template <typename T>
inline Array<T> cfam_array() {
    return Array<T>{nullptr, 0, 0, pool_parser};
}
