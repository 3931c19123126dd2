#pragma once
// What every layer reads: the frame clock, the pointer, the glyph tally and where the open
// project lives. Written by the shell (app) and the project code (workbench).
#include "core/string_view.h"

struct CoreState {
    f32 frame_time;    // seconds; 1/60 unless the loop is paced by the display
    f64 mouse_x;       // pixels, origin bottom-left, y upwards
    f64 mouse_y;
    i64 glyph_count;   // glyphs drawn by draw_text this frame
    // The project file's path (pool_main); empty when no project is open. Document paths
    // and the sources list are relative to its directory (core/project_path.h).
    OwnedString project_path;
};

extern CoreState core;
