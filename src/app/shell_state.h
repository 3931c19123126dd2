#pragma once
// State of the application shell: the options and settings, the main loop's run state,
// and the reports asked for by the environment.
#include <atomic>

#include "core/string_view.h"
#include "platform/platform.h"

// Set by main before start-up and kept by shell_set_defaults: when the process started
// and which reports to print (TESMORA_STARTUP_REPORT, TESMORA_LATENCY_REPORT).
struct ShellReports {
    u64 process_start;
    bool startup;
    bool latency;
    bool frame_count;  // TESMORA_FRAME_COUNT: frames drawn and left out, printed at the end
};

// What start-up made, so that shutdown takes down only that, and the loop's clock.
struct ShellRun {
    ThreadHandle analysis_thread;
    bool analysis_started;
    bool system_started;
    bool graphics_started;
    bool arenas_owned;
    bool first_frame_reported;
    u64 counter_frequency;
    u64 last_present;
    // Frames on change (frame_pacing.cpp): when the last frame started, when the next is
    // due (performance counter), and whether an analysis result is being waited for.
    f64 frame_start_seconds;
    u64 last_frame_start;
    u64 next_frame_due;
    bool analysis_awaited;
    f64 analysis_requested_at;
    bool drawn_once;
    i64 drawn_at_last_trim;  // render.frames.drawn when the heap was last trimmed
    f64 last_trim;           // seconds, as frame_start_seconds
};

struct ShellState {
    bool running;
    bool display_paced;       // "-v"
    bool show_timings;        // "-i"
    bool show_memory;         // "-m"
    bool keep_system_cursor;  // "-c"
    bool paused;
    f64 render_time;          // seconds spent in the last workbench_frame
    i64 sleep_ms;
    f32 scale;  // "scale" of the settings; 0: the display's own
    // The paths of the command line (not copied): projects, files, folders.
    StringView paths[64];
    i32 path_count;
    bool print_help, print_version;  // "--help", "--version": said, and nothing started
    i32 exit_status;              // of the process: 1 when start-up failed
    // A termination request ends the process at once (the real program); tests running
    // the loop frame by frame only see the loop end.
    bool exit_on_termination;
    OwnedString workspace_path;  // pool_main
    OwnedString coloring_path;   // pool_main
    // "theme" lines of the settings load their theme through this (theme_load; the
    // settings fuzzer replaces it so that it opens no files).
    void (*theme_loader)(StringView path);
    ShellReports reports;
    ShellRun run;
    // An arena ran out on another thread: the main thread saves what it can and ends.
    std::atomic<i32> exhausted_pool;
};

extern ShellState shell;

constexpr const char* tesmora_version = "0.9";
// What "--help" prints.
extern const char command_line_help[];

// The defaults of every option and setting; the reports and the run state are kept.
void shell_set_defaults();
void parse_command_line(const StringView* arguments, i64 count);
// Parses settings bytes; "theme" lines load their theme at once, through
// shell.theme_loader.
void settings_parse(StringView bytes);
// Reads settings.txt from the working directory (silently nothing when missing).
void settings_load();
// Builds the statistics overlay text into `out` (1024 bytes, zero-filled first);
// returns its length.
i64 overlay_build(char* out);
void overlay_draw();
