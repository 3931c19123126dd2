#pragma once
// Start-up, main loop and shutdown. The three steps are separate so that tests can run
// the program frame by frame on the headless back-end.
#include "core/string_view.h"

// Returns the process's exit status: 0, or 1 when start-up failed.
i32 application_main(StringView* arguments, i64 count);

// Reports (shell.reports, set by main): with `startup` the time from the process start to
// each start-up step and to the first presented frame; with `latency`, after the present
// of every frame that took input, one line "latency <ms> present_ns <counter>": the time
// from the frame's first input event to just after the present, and the counter value
// (CLOCK_MONOTONIC nanoseconds) of that moment, so that a driver can also measure from
// when it sent the event.

bool application_start(const StringView* arguments, i64 count);
// One frame of the main loop (drawn when something changed, or for input and window
// events); returns false once the loop should end.
bool application_frame();
// Between frames: sleeps until the next frame is due or input arrives (frame_pacing.cpp).
void application_wait();
void application_shutdown();
