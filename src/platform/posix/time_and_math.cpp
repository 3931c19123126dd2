// Timers, sleeping and the maths functions.
#include <time.h>

#include <cmath>

#include "platform/platform.h"
#include "platform/posix/clock.h"

void system_sleep(i64 milliseconds) {
    if (milliseconds <= 0) return;
    struct timespec t;
    t.tv_sec = milliseconds / 1000;
    t.tv_nsec = (milliseconds % 1000) * 1000000;
    while (nanosleep(&t, &t) != 0) {
    }
}

u64 posix_clock_ns() {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (u64)t.tv_sec * 1000000000ull + (u64)t.tv_nsec;
}

u64 system_performance_frequency() { return 1000000000ull; }

f64 math_abs(f64 x) { return std::fabs(x); }
f64 math_sin(f64 x) { return std::sin(x); }
f64 math_cos(f64 x) { return std::cos(x); }
f64 math_sqrt(f64 x) { return std::sqrt(x); }
f64 math_pow(f64 x, f64 y) { return std::pow(x, y); }
f64 math_floor(f64 x) { return std::floor(x); }
