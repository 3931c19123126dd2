#pragma once
// What the back-end knows of the GL state it set: bindings, fixed-function switches and
// the frame's counters. Quad runs bind a vertex array and buffer of the back-end's own
// and a scissor of their own, so for those the caller's choice (`vertex_array`,
// `array_buffer`, `scissor`) is kept apart from what GL has now (`gl_...`) and reaches GL
// only before a call that depends on it.
#include "core/types.h"
#include "platform/sdl_gl/gpu_gl.h"

enum : i32 {
    gpu_texture_units = 16,
};

struct GpuScissor {
    bool enabled;
    i32 rect[4];  // x, y, width, height
};

struct GpuState {
    bool ready;          // a context is current
    bool check_errors;   // TESMORA_GL_CHECK set: glGetError after each call
    bool one_quad_runs;  // TESMORA_ONE_QUAD_RUNS=1: each quad of a run is a draw of its own
    bool print_stats;    // TESMORA_GL_STATS=1: one line of counts per presented frame
    u32 program;
    u32 vertex_array;
    u32 gl_vertex_array;
    u32 array_buffer;  // target 0 (vertex data)
    u32 gl_array_buffer;
    u32 active_unit;
    u32 textures_2d[gpu_texture_units];
    u32 draw_frame_buffer;
    bool blend;
    u32 blend_source, blend_destination;  // the caller's codes
    GpuScissor scissor;                   // for pipeline_clear and draw_arrays
    GpuScissor gl_scissor;
    i32 viewport[4];
    // Quad runs: a vertex array whose per-instance inputs read `quad_buffer`, whose store
    // holds `quad_store_quads` instances.
    u32 quad_vertex_array;
    u32 quad_buffer;
    i64 quad_store_quads;
    // This frame so far: draws asked for (a quad of a run counts as one), the GL draw
    // calls that carried them out, and every GL call.
    i64 frame_draws;
    i64 frame_gl_draws;
    i64 last_frame_draws;
    i64 last_frame_gl_draws;
    i64 last_frame_gl_calls;
};

extern GpuState gpu_state;

// Reports GL errors raised since the last check, naming the call (only when enabled).
void gpu_check(const char* what);
// Bring GL's binding or scissor to what the caller set, before a call that depends on it.
void gpu_sync_vertex_array();
void gpu_sync_array_buffer();
void gpu_apply_scissor(const GpuScissor& wanted);
// Unit 0 active with `texture` bound.
void gpu_bind_unit0(u32 texture);
