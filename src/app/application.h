#pragma once
// Start-up, main loop and shutdown.
#include "core/string_view.h"

void application_main(StringView* arguments, i64 count);
