#pragma once
// The window's size and place, remembered per user from one run to the next.
#include "core/string_view.h"
#include "core/types.h"

// Puts the window where the last run left it (nothing when there is no record).
void window_placement_restore();
// Records where the window is now (nothing when the system does not tell).
void window_placement_save();
// The project the last run had open ("" when none is remembered), in `pool`.
StringView last_project_read(u8 pool);
// Remembers `path` (absolute) as the project to reopen when no path is given.
void last_project_save(StringView path);
