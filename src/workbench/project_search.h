#pragma once
// Ctrl+Shift+F: a text searched for in every file of the project on a worker thread,
// with the find options; the matches fill the results panel as they come.
#include "core/string_view.h"
#include "core/types.h"

constexpr i64 project_search_row_limit = 10000;      // rows listed; further matches are counted
constexpr i64 project_search_file_limit = 32 << 20;  // larger files are skipped
constexpr i64 project_search_line_limit = 200;       // bytes of a match's line that are listed

// Starts searching (a search still running is given up). Open documents are searched as
// they are now, saved or not.
void project_search_start(StringView text);
// Takes the search's blocks from pool_main (address space only until a search writes
// them), once, at start-up: a first search later makes the arena grow no more.
void project_search_reserve();
// Each frame: the matches found since the last frame go into the results panel. A search
// whose list was closed or replaced is given up.
void run_project_search();
// Stops the worker thread; called once at the end.
void project_search_shutdown();

struct ProjectSearchProgress {
    bool running;  // a search was started and has not finished
    i64 listed, total;
    i64 files_done, files_total, files_skipped;
};
// Where the newest search stands (as last taken by run_project_search).
ProjectSearchProgress project_search_progress();
