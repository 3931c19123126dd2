#pragma once
// What the back-end knows of the GL state it set: bindings, fixed-function switches and
// the uniform values set since the current program was bound. Every draw goes through
// gpu_submit_draw, the one place where consecutive draws could later be merged.
#include <epoxy/gl.h>

#include "core/types.h"

enum : i32 {
    gpu_texture_units = 16,
    gpu_uniform_slots = 16,
};

enum UniformKind : u8 { uniform_float = 1, uniform_int = 2, uniform_vec4 = 3, uniform_mat4 = 4 };

struct UniformValue {
    i32 location;
    UniformKind kind;
    f32 values[16];  // floats, or the int in values' bits for uniform_int
};

struct GpuState {
    bool ready;  // a context is current
    bool check_errors;  // TESMORA_GL_CHECK set: glGetError after each call
    u32 program;
    u32 vertex_array;
    u32 active_unit;
    u32 textures_2d[gpu_texture_units];
    u32 draw_frame_buffer;
    bool blend;
    u32 blend_source, blend_destination;  // the caller's codes
    bool scissor;
    i32 scissor_rect[4];
    i32 viewport[4];
    UniformValue uniforms[gpu_uniform_slots];
    i32 uniform_count;
};

extern GpuState gpu_state;

// Reports GL errors raised since the last check, naming the call (only when enabled).
void gpu_check(const char* what);
void gpu_submit_draw(GLenum mode, i32 first, i32 count, i32 instances);
