#pragma once
// The frame's quads, kept in drawing order as runs that share a texture and a scissor,
// and handed to the platform one run per call (pipeline_draw_quads) where the picture
// must be complete: before the gamma pass, before the render target changes or a
// texture goes away, when the list is full, and when the back-end asks (presenting, a
// test looking at the draws). Code that changes GPU state itself in the middle of a frame
// (re-uploads a texture it drew, sets the simple shader's uniforms, draws on its own)
// calls draw_list_submit first.
#include "core/types.h"
#include "platform/platform.h"
#include "render/color.h"

struct QuadRun {
    u32 texture;
    bool scissored;
    QuadScissor scissor;
    i64 first;  // index of its first quad
    i64 count;
};

struct DrawList {
    QuadInstance* quads;  // pool_main, kept from frame to frame
    QuadRun* runs;        // as many as quads: a run holds one quad at least
    i64 count;
    i64 run_count;
    i64 capacity;
    // The scissor for quads added from now on (scissor_set, scissor_off).
    bool scissored;
    QuadScissor scissor;
    Color last_color;  // of the latest quad: text drawn without a palette keeps it
    i64 submissions;   // lists handed over with at least one quad
};

enum : i64 {
    draw_list_first_capacity = 4096,
    // Beyond this the list is handed over when full instead of growing (8.5 MiB).
    draw_list_most_capacity = 65536,
};


// The next quad, to be filled by the caller, at the end of the run of `texture` and the
// current scissor (a new run when either differs from the last quad's).
QuadInstance* draw_list_add(u32 texture);
// Draws every quad of the list with the simple shader and empties it.
void draw_list_submit();
// Empties the list without drawing (the frame it belonged to was never finished, or the
// GPU objects it names are gone).
void draw_list_drop();
// Empties the list, turns the scissor off and forgets the last colour, as a new GPU
// set-up starts; the storage stays.
void draw_list_reset();
