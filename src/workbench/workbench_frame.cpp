#include "core/frame_globals.h"
#include "workbench/workbench.h"

void workbench_init() {}

void workbench_frame() { glyph_count = 0; }

void open_confirm_dialog(StringView, i64) {}
