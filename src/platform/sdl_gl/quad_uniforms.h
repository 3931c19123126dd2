#pragma once
// The uniform values of a program whose quads are merged. Setting one of them does not
// reach GL at once: the three per-quad values ("mvp", "color", "uv_rect") go into each
// merged quad's instance data, and every value is written to the program itself only
// before a draw that is not merged, and to its twin before a merged draw. Both programs
// start with every uniform at zero, so the record is complete from the link on.
#include "platform/sdl_gl/gpu_state.h"
#include "platform/sdl_gl/quad_program_plan.h"

enum QuadSlot : i8 { quad_slot_shared = -1, quad_slot_mvp = 0, quad_slot_color = 1, quad_slot_uv_rect = 2 };

struct QuadUniform {
    i32 location;
    i32 twin_location;  // -1 for the per-quad three
    GLenum type;
    QuadSlot slot;
    UniformKind kind;  // the setter last used (the natural one until then)
    bool program_stale;  // the program itself lacks the value
    bool twin_stale;
    f32 values[16];  // floats, or an int's bits in values[0]
};

struct QuadProgram {
    u32 program;
    u32 twin;
    bool usable;  // false once a value went to GL around the record
    bool program_stale;  // some uniform's program_stale is set
    u32 attribute_mask;
    i32 instance_base;
    i32 slot_index[3];  // uniform index of mvp, color, uv_rect
    QuadUniform uniforms[program_variable_capacity];
    i32 uniform_count;
};

// How setting a uniform bears on the quads already collected.
enum QuadUniformChange : u8 {
    quad_change_none,      // the same value again
    quad_change_per_quad,  // travels with each quad: nothing to flush
    quad_change_shared,    // later quads differ from collected ones: flush first
    quad_change_foreign,   // not a value the record can hold: straight to GL
};

void quad_program_init(QuadProgram* record, u32 program, u32 twin, const ProgramInterface* interface,
                       const QuadPlan* plan, const i32* twin_locations);
i32 uniform_kind_floats(UniformKind kind);
// Nothing is stored; `values` holds uniform_kind_floats(kind) floats.
QuadUniformChange quad_uniform_classify(const QuadProgram* record, i32 location, UniformKind kind, const f32* values);
// For a value that classified as per-quad or shared.
void quad_uniform_store(QuadProgram* record, i32 location, UniformKind kind, const f32* values);
bool quad_program_has_location(const QuadProgram* record, i32 location);
// The instance data of the next quad: mvp (16 floats), colour (4), uv_rect (4).
void quad_instance_write(const QuadProgram* record, f32* out);
