#pragma once
// Which part of the window a frame changes: its quads against the last drawn frame's.
// Used by end_frame when frames are drawn on change, so that only that part is cleared,
// drawn and gamma-corrected again in the kept pictures.
#include "core/types.h"

// Window pixels, origin bottom-left; x1 and y1 exclusive. Empty when x0 >= x1 or y0 >= y1.
struct DamageRect {
    i32 x0, y0, x1, y1;
};

inline bool damage_empty(DamageRect d) { return d.x0 >= d.x1 || d.y0 >= d.y1; }

// Compares the draw list with the quads of the last frame that was drawn and returns the
// rectangle holding every quad that appeared, went or moved in the drawing order (the
// whole window when there is nothing to compare with). Remembers this frame's quads
// for the next comparison.
DamageRect frame_damage_compute();
// The next frame compares with nothing (the kept pictures are gone or incomplete).
void frame_damage_forget();
// Forgets the storage too (pool_main), as a new GPU set-up starts.
void frame_damage_release();
// Hands over the quads of the draw list that touch `damage`, each run clipped to it, and
// empties the list.
void frame_damage_submit(DamageRect damage);
