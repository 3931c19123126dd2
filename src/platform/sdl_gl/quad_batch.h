#pragma once
// Merging of quad draws. A run of one-instance, four-vertex strip draws of a program that
// quad_program_plan accepts, with the same vertex array, is collected (per quad: mvp,
// colour, uv_rect) and drawn as one instanced draw of the program's twin. Whatever else
// could change the picture flushes the run first: the GPU functions call
// quad_batch_flush before changing a binding, a switch, a texture or buffer, a
// non-per-quad uniform value, before clearing, before a draw that is not merged and
// before presenting.
#include "core/string_view.h"
#include "platform/sdl_gl/gpu_state.h"
#include "platform/sdl_gl/quad_uniforms.h"

// Quads collected before a flush is forced.
enum : i32 { quad_batch_capacity = 4096 };

// Forgets every record and GL object of the back-end's own (the context is new or gone).
void quad_batch_reset();
// After a successful link: builds the twin when the program fits.
void quad_program_linked(u32 program, StringView vertex, StringView fragment);
// Before a program is relinked or destroyed: flushes its quads, drops its twin.
void quad_program_forget(u32 program);
// The record of a program whose quads are merged, or null.
QuadProgram* quad_program_of(u32 program);
// Writes the values the program itself lacks (the program is bound).
void quad_program_write_uniforms(QuadProgram* record);

// True when the draw was collected; false when it must be drawn as it is.
bool quad_batch_add(GLenum mode, i32 first, i32 count, i32 instances);
void quad_batch_flush();
// Before a vertex array's inputs change or it goes away (0: every vertex array).
void quad_arrays_forget(u32 vertex_array);

// A uniform setter's value for the bound program: true when the record took it; false
// when it must go straight to GL (the program is then bound and up to date).
bool quad_uniform_take(i32 location, UniformKind kind, const f32* values);
// A value the record cannot hold (several matrices at once) goes to GL directly; the
// program's quads are not merged from then on when it is one of the program's uniforms.
void quad_uniform_bypass(i32 location);
