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

// A few rectangles, so that two changes far apart (the caret and the drawn pointer) do
// not redraw everything between them. None empty; count 0: nothing changed.
constexpr i32 damage_rect_limit = 4;
struct Damage {
    i32 count;
    DamageRect rects[damage_rect_limit];
};

// Adds `box` to the damage: it joins a rectangle it touches or comes near, else takes a
// new one; past the limit, the one that grows least. Rectangles that come to overlap merge.
void damage_add(Damage* d, DamageRect box);

// Compares the draw list with the quads of the last frame that was drawn and returns the
// rectangles holding every quad that appeared, went or moved in the drawing order (the
// whole window when there is nothing to compare with). Remembers this frame's quads
// for the next comparison.
Damage frame_damage_compute();
// The next frame compares with nothing (the kept pictures are gone or incomplete).
void frame_damage_forget();
// Forgets the storage too (pool_main), as a new GPU set-up starts.
void frame_damage_release();
// Hands over the quads of the draw list that touch each rectangle of `damage`, clipped to
// it, and empties the list.
void frame_damage_submit(const Damage& damage);
