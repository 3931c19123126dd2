// The performance counter and the wait for input: the real clock, or simulated time
// that moves only when a test or a wait moves it, so that frame pacing can be tested
// over minutes in no time and with the same result every run.
#include <atomic>

#include "platform/headless/headless_internal.h"
#include "platform/posix/clock.h"

namespace {
// Read by other threads too (the analysis thread times its passes).
std::atomic<bool> simulated;
std::atomic<u64> simulated_now;
}  // namespace

void headless_clock_reset() { simulated.store(false); }

void headless_simulate_clock(bool on) {
    if (on && !simulated.load()) simulated_now.store(posix_clock_ns());
    simulated.store(on);
}

void headless_advance_clock(i64 nanoseconds) {
    if (simulated.load() && nanoseconds > 0) simulated_now.fetch_add((u64)nanoseconds);
}

u64 system_performance_counter() { return simulated.load() ? simulated_now.load() : posix_clock_ns(); }

bool input_wait(i64 timeout_ms) {
    if (headless_input_waiting()) return true;
    if (timeout_ms <= 0) return false;
    if (simulated.load()) headless_advance_clock(timeout_ms * 1000000);
    else system_sleep(timeout_ms);
    return headless_input_waiting();
}
