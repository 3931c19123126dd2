#pragma once
// State of the application shell.
#include "core/string_view.h"

struct ShellState {
    bool running;
    bool display_paced;       // "-v"
    bool show_timings;        // "-i"
    bool show_memory;         // "-m"
    bool keep_system_cursor;  // "-c"
    bool paused;
    f64 render_time;          // seconds spent in the last workbench_frame
    i64 sleep_ms;
    StringView project_argument;  // the project path of the command line (not copied)
    i32 exit_status;              // of the process: 1 when start-up failed
    // A termination request ends the process at once (the real program); tests running
    // the loop frame by frame only see the loop end.
    bool exit_on_termination;
};

extern ShellState shell;
extern OwnedString workspace_path;  // pool_main
extern OwnedString coloring_path;   // pool_main

void shell_set_defaults();
void parse_command_line(const StringView* arguments, i64 count);
// Parses settings bytes; "theme" lines load their theme at once, through
// settings_theme_loader (theme_load; the fuzzer replaces it so that it opens no files).
void settings_parse(StringView bytes);
extern void (*settings_theme_loader)(StringView path);
// Reads settings.txt from the working directory (silently nothing when missing).
void settings_load();
// Builds the statistics overlay text into `out` (1024 bytes, zero-filled first);
// returns its length.
i64 overlay_build(char* out);
void overlay_draw();
