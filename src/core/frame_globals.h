#pragma once
// Shell state that every layer reads: the frame clock, the pointer and the glyph tally.
#include "core/types.h"

extern f32 frame_time;     // seconds; 1/60 unless the loop is paced by the display
extern f64 mouse_x;        // pixels, origin bottom-left, y upwards
extern f64 mouse_y;
extern i64 glyph_count;    // glyphs drawn by draw_text this frame
