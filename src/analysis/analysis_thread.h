#pragma once
// The background thread that analyses the latest request and publishes the result.
#include "core/types.h"

i64 analysis_thread_main(void* argument);
// One cycle of that thread: takes the pending request, analyses it and publishes the
// result. False when nothing was pending. Tests and fuzz targets run it on their own thread.
bool analysis_run_pending();
