#pragma once
// The window's size and place, remembered per user from one run to the next.
#include "core/types.h"

// Puts the window where the last run left it (nothing when there is no record).
void window_placement_restore();
// Records where the window is now (nothing when the system does not tell).
void window_placement_save();
