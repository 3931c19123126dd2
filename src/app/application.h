#pragma once
// Start-up, main loop and shutdown. The three steps are separate so that tests can run
// the program frame by frame on the headless back-end.
#include "core/string_view.h"

void application_main(StringView* arguments, i64 count);

bool application_start(const StringView* arguments, i64 count);
// One pass of the main loop; returns false once the loop should end.
bool application_frame();
void application_shutdown();
