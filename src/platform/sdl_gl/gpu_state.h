#pragma once
// What the back-end knows of the GL state it set: bindings, fixed-function switches and
// the frame's counters. Every draw goes through gpu_submit_draw, which merges runs of
// quads (quad_batch.h); the bindings a merged draw disturbs are put back lazily, so
// `program` and `vertex_array` are what the caller bound and `gl_program` and
// `gl_vertex_array` what GL has bound now.
#include <epoxy/gl.h>

#include "core/types.h"

enum : i32 {
    gpu_texture_units = 16,
};

enum UniformKind : u8 { uniform_none = 0, uniform_float = 1, uniform_int = 2, uniform_vec4 = 3, uniform_mat4 = 4 };

struct GpuState {
    bool ready;         // a context is current
    bool check_errors;  // TESMORA_GL_CHECK set: glGetError after each call
    bool batching;      // quads are merged; TESMORA_NO_BATCH=1 turns it off
    bool print_stats;   // TESMORA_GL_STATS=1: one line of counts per presented frame
    u32 program;
    u32 gl_program;
    u32 vertex_array;
    u32 gl_vertex_array;
    u32 array_buffer;  // the caller's vertex-data buffer binding
    u32 active_unit;
    u32 textures_2d[gpu_texture_units];
    u32 draw_frame_buffer;
    bool blend;
    u32 blend_source, blend_destination;  // the caller's codes
    bool scissor;
    i32 scissor_rect[4];
    i32 viewport[4];
    // This frame so far: draws asked for, and the GL draw calls that carried them out.
    i64 frame_draws;
    i64 frame_gl_draws;
    i64 last_frame_draws;
    i64 last_frame_gl_draws;
};

extern GpuState gpu_state;

// Reports GL errors raised since the last check, naming the call (only when enabled).
void gpu_check(const char* what);
void gpu_submit_draw(GLenum mode, i32 first, i32 count, i32 instances);
// Binds what the caller bound, with its uniform values, before a call that depends on it.
void gpu_sync_program();
void gpu_sync_vertex_array();
