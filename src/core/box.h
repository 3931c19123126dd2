#pragma once
// Copies a value into pool_parser and returns its address (nodes of the analyses).
#include <cstring>

#include "memory/arena.h"

template <typename T>
inline T* box_value(const T& value) {
    T* p = (T*)pool_alloc(pool_parser, (i64)sizeof(T));
    memcpy((void*)p, (const void*)&value, sizeof(T));
    return p;
}
