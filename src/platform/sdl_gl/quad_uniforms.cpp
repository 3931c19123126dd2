// The uniform record of a merged program: what a setter call changes, and the values.
#include "platform/sdl_gl/quad_uniforms.h"

#include <cstring>

namespace {
UniformKind natural_kind(GLenum type) {
    switch (type) {
        case GL_FLOAT: return uniform_float;
        case GL_INT:
        case GL_BOOL:
        case GL_SAMPLER_2D: return uniform_int;
        case GL_FLOAT_VEC4: return uniform_vec4;
        case GL_FLOAT_MAT4: return uniform_mat4;
        default: return uniform_none;  // no setter reaches it: stays zero
    }
}

// Whether GL would take this setter for this type; a sampler unit out of range it would
// refuse, so such a value is left to GL to report.
bool setter_fits(GLenum type, UniformKind kind, const f32* values) {
    switch (kind) {
        case uniform_float: return type == GL_FLOAT || type == GL_BOOL;
        case uniform_int: {
            if (type == GL_INT || type == GL_BOOL) return true;
            i32 unit;
            memcpy(&unit, values, sizeof unit);
            return type == GL_SAMPLER_2D && unit >= 0 && unit < gpu_texture_units;
        }
        case uniform_vec4: return type == GL_FLOAT_VEC4;
        case uniform_mat4: return type == GL_FLOAT_MAT4;
        default: return false;
    }
}

const QuadUniform* find_uniform(const QuadProgram* record, i32 location) {
    for (i32 i = 0; i < record->uniform_count; i++) {
        if (record->uniforms[i].location == location) return &record->uniforms[i];
    }
    return nullptr;
}
}  // namespace

i32 uniform_kind_floats(UniformKind kind) {
    switch (kind) {
        case uniform_vec4: return 4;
        case uniform_mat4: return 16;
        case uniform_none: return 0;
        default: return 1;
    }
}

void quad_program_init(QuadProgram* record, u32 program, u32 twin, const ProgramInterface* interface,
                       const QuadPlan* plan, const i32* twin_locations) {
    memset(record, 0, sizeof *record);
    record->program = program;
    record->twin = twin;
    record->usable = true;
    record->attribute_mask = plan->attribute_mask;
    record->instance_base = plan->instance_base;
    record->slot_index[quad_slot_mvp] = plan->mvp;
    record->slot_index[quad_slot_color] = plan->color;
    record->slot_index[quad_slot_uv_rect] = plan->uv_rect;
    record->uniform_count = interface->uniform_count;
    for (i32 i = 0; i < interface->uniform_count; i++) {
        QuadUniform* u = &record->uniforms[i];
        u->location = interface->uniforms[i].location;
        u->twin_location = twin_locations[i];
        u->type = interface->uniforms[i].type;
        u->kind = natural_kind(u->type);
        u->slot = i == plan->mvp       ? quad_slot_mvp
                  : i == plan->color   ? quad_slot_color
                  : i == plan->uv_rect ? quad_slot_uv_rect
                                       : quad_slot_shared;
    }
}

QuadUniformChange quad_uniform_classify(const QuadProgram* record, i32 location, UniformKind kind, const f32* values) {
    const QuadUniform* u = find_uniform(record, location);
    if (!u || !setter_fits(u->type, kind, values)) return quad_change_foreign;
    if (u->slot != quad_slot_shared) return quad_change_per_quad;
    if (u->kind == kind && memcmp(u->values, values, (size_t)uniform_kind_floats(kind) * sizeof(f32)) == 0) {
        return quad_change_none;
    }
    return quad_change_shared;
}

void quad_uniform_store(QuadProgram* record, i32 location, UniformKind kind, const f32* values) {
    QuadUniform* u = (QuadUniform*)find_uniform(record, location);
    if (!u) return;
    u->kind = kind;
    memcpy(u->values, values, (size_t)uniform_kind_floats(kind) * sizeof(f32));
    u->program_stale = true;
    record->program_stale = true;
    if (u->slot == quad_slot_shared) u->twin_stale = true;
}

bool quad_program_has_location(const QuadProgram* record, i32 location) {
    return find_uniform(record, location) != nullptr;
}

void quad_instance_write(const QuadProgram* record, f32* out) {
    memcpy(out, record->uniforms[record->slot_index[quad_slot_mvp]].values, 16 * sizeof(f32));
    memcpy(out + 16, record->uniforms[record->slot_index[quad_slot_color]].values, 4 * sizeof(f32));
    memcpy(out + 20, record->uniforms[record->slot_index[quad_slot_uv_rect]].values, 4 * sizeof(f32));
}
