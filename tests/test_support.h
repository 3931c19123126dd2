#pragma once
// Shared set-up for tests: arenas are reserved once per test binary.
#include "memory/arena.h"

inline void ensure_arenas() {
    if (!arenas_reserved()) arenas_reserve();
}
