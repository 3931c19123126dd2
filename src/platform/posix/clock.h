#pragma once
// The monotonic clock in nanoseconds; each back-end builds system_performance_counter
// on it (the headless one can replace it with simulated time).
#include "core/types.h"

u64 posix_clock_ns();
