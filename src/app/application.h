#pragma once
// Start-up, main loop and shutdown. The three steps are separate so that tests can run
// the program frame by frame on the headless back-end.
#include "core/string_view.h"

void application_main(StringView* arguments, i64 count);

// Set by main before application_main: when the process started, and whether to print
// the time from then to the first presented frame (environment TESMORA_STARTUP_REPORT).
extern u64 application_process_start;
extern bool application_report_startup;

bool application_start(const StringView* arguments, i64 count);
// One pass of the main loop; returns false once the loop should end.
bool application_frame();
void application_shutdown();
