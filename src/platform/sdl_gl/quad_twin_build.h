#pragma once
// Building a quad program's twin in GL: reading a program's interface, compiling and
// linking the rewritten sources, and the twin's vertex arrays.
#include "platform/sdl_gl/quad_uniforms.h"

#include "core/string_view.h"

void program_interface_read(GLuint program, ProgramInterface* out);
// Fills `record` and returns true when the program fits and its twin links with the
// expected interface; otherwise nothing is left behind.
bool quad_twin_build(u32 program, StringView vertex, StringView fragment, QuadProgram* record);
// A vertex array that reads `source`'s inputs for the record's program as `source` does
// and the per-instance values from `instance_buffer`; 0 when the source's inputs do not
// allow it (an input already per instance, or an enabled input without a buffer). Leaves
// the new array bound (gpu_state.gl_vertex_array says which).
u32 quad_twin_array_build(const QuadProgram* record, u32 source, u32 instance_buffer);
