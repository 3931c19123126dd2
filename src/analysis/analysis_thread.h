#pragma once
// The background thread that analyses the latest request and publishes the result.
#include "core/types.h"

i64 analysis_thread_main(void* argument);
