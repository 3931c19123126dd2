#include "core/frame_globals.h"

f32 frame_time = 1.0f / 60.0f;
f64 mouse_x = 0;
f64 mouse_y = 0;
i64 glyph_count = 0;
