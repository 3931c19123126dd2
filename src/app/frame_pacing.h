#pragma once
// When the main loop draws its next frame (frame_pacing.cpp).

// After a frame: when the next is due. `animating` asks for the next frame at the pace
// (a key or button held, the statistics overlay shown).
void plan_next_frame(bool animating);
// Whether an analysis result waits to be taken; `requested`: a request waits for the
// analysis thread.
bool analysis_result_waiting(bool* requested);
