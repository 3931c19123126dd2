#pragma once
// A list of places (uses of a name, matches of a project search) shown where the outline
// is, until Escape or another list replaces it. A click on a row goes there.
#include "core/string_view.h"
#include "core/types.h"

struct ResultRow {
    StringView path;  // as the project names it, or absolute
    i32 line;         // 0-based
    i32 column;       // byte column, 0-based
    i32 length;       // bytes of the match or the name at (line, column)
    StringView text;  // the line's text, as shown
};

// Replaces the panel's list (copied) under `title` ("3 uses of step", ...).
void results_panel_show(StringView title, const ResultRow* rows, i64 count);
void results_panel_close();
bool results_panel_is_open();
// Takes the panel's two stores at their largest from pool_main, once (address space until
// rows are written), so that lists made later never make the arena grow.
void results_panel_reserve();
// Changes with every results_panel_show: a list's owner can tell that another replaced it.
u64 results_panel_list_id();
// Draws the panel in the outline's place and acts on this frame's pointer.
void run_results_panel();
