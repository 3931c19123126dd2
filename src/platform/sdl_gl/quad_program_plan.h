#pragma once
// Which linked programs can have their quads merged, decided from what the linker reports
// (active uniforms and inputs, with names, types and locations), and whether a built
// twin has exactly the interface the merging relies on.
#include <epoxy/gl.h>

#include "core/types.h"

enum : i32 {
    program_variable_capacity = 24,
    vertex_attribute_locations = 16,
    quad_instance_floats = 24,  // mvp, colour, uv_rect
    quad_instance_locations = 6,  // four matrix columns, colour, uv_rect
};

struct ProgramVariable {
    char name[64];
    GLenum type;
    i32 size;      // array length, 1 for a single value
    i32 location;  // -1 for uniforms in blocks and built-in inputs
};

// Active uniforms and vertex inputs of a linked program; `overflow` when either list
// did not fit or a name was too long.
struct ProgramInterface {
    ProgramVariable uniforms[program_variable_capacity];
    i32 uniform_count;
    ProgramVariable attributes[program_variable_capacity];
    i32 attribute_count;
    bool overflow;
};

struct QuadPlan {
    i32 mvp, color, uv_rect;  // indexes into the program's uniforms
    u32 attribute_mask;       // vertex input locations the program reads
    i32 instance_base;        // first of the twin's six per-instance locations
};

// Number of input locations one element of this type takes (a mat4 takes four).
i32 attribute_type_locations(GLenum type);
bool program_variable_named(const ProgramVariable* variable, const char* name);

// A program can be merged when it has the single-valued uniforms "mvp" (mat4), "color"
// and "uv_rect" (vec4), exactly one sampler (a 2D one), only uniform types the twin can
// mirror, and room for six more vertex inputs.
bool quad_program_plan(const ProgramInterface* program, QuadPlan* plan);

// The twin must read the program's inputs at the same locations, the per-instance values
// at the planned ones, and have the program's other uniforms; their twin locations are
// written to twin_locations (index of the program's uniform; -1 for the three per-quad
// ones).
bool quad_twin_matches(const ProgramInterface* program, const QuadPlan* plan, const ProgramInterface* twin,
                       i32* twin_locations);
