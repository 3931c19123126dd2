// Deciding from a program's reported interface whether its quads can be merged.
#include "platform/sdl_gl/quad_program_plan.h"

#include <cstring>

#include "platform/sdl_gl/quad_twin_source.h"

namespace {
// Types the platform's setters can reach (float, int, vec4, mat4, the sampler) plus the
// ones they cannot, which then keep their initial zero in both programs alike.
bool mirrorable_uniform_type(GLenum type) {
    switch (type) {
        case GL_FLOAT:
        case GL_FLOAT_VEC2:
        case GL_FLOAT_VEC3:
        case GL_FLOAT_VEC4:
        case GL_INT:
        case GL_BOOL:
        case GL_FLOAT_MAT4:
        case GL_SAMPLER_2D: return true;
        default: return false;
    }
}

i32 find_variable(const ProgramVariable* list, i32 count, const char* name) {
    for (i32 i = 0; i < count; i++) {
        if (program_variable_named(&list[i], name)) return i;
    }
    return -1;
}

bool is_builtin(const ProgramVariable* variable) { return strncmp(variable->name, "gl_", 3) == 0; }

bool same_variable(const ProgramVariable* a, const ProgramVariable* b) {
    return strcmp(a->name, b->name) == 0 && a->type == b->type && a->size == b->size;
}

bool has_attribute(const ProgramInterface* twin, const char* name, GLenum type, i32 location) {
    i32 index = find_variable(twin->attributes, twin->attribute_count, name);
    return index >= 0 && twin->attributes[index].type == type && twin->attributes[index].size == 1 &&
           twin->attributes[index].location == location;
}
}  // namespace

bool program_variable_named(const ProgramVariable* variable, const char* name) {
    return strcmp(variable->name, name) == 0;
}

i32 attribute_type_locations(GLenum type) {
    switch (type) {
        case GL_FLOAT_MAT2:
        case GL_FLOAT_MAT2x3:
        case GL_FLOAT_MAT2x4: return 2;
        case GL_FLOAT_MAT3:
        case GL_FLOAT_MAT3x2:
        case GL_FLOAT_MAT3x4: return 3;
        case GL_FLOAT_MAT4:
        case GL_FLOAT_MAT4x2:
        case GL_FLOAT_MAT4x3: return 4;
        default: return 1;
    }
}

bool quad_program_plan(const ProgramInterface* program, QuadPlan* plan) {
    if (program->overflow) return false;
    i32 samplers = 0;
    for (i32 i = 0; i < program->uniform_count; i++) {
        const ProgramVariable* u = &program->uniforms[i];
        // Arrays, structs and block members would need more than one value per name.
        if (u->size != 1 || u->location < 0 || strchr(u->name, '[') || strchr(u->name, '.')) return false;
        if (!mirrorable_uniform_type(u->type)) return false;
        if (u->type == GL_SAMPLER_2D) samplers++;
    }
    if (samplers != 1) return false;
    plan->mvp = find_variable(program->uniforms, program->uniform_count, "mvp");
    plan->color = find_variable(program->uniforms, program->uniform_count, "color");
    plan->uv_rect = find_variable(program->uniforms, program->uniform_count, "uv_rect");
    if (plan->mvp < 0 || plan->color < 0 || plan->uv_rect < 0) return false;
    if (program->uniforms[plan->mvp].type != GL_FLOAT_MAT4 || program->uniforms[plan->color].type != GL_FLOAT_VEC4 ||
        program->uniforms[plan->uv_rect].type != GL_FLOAT_VEC4) {
        return false;
    }

    plan->attribute_mask = 0;
    for (i32 i = 0; i < program->attribute_count; i++) {
        const ProgramVariable* a = &program->attributes[i];
        if (is_builtin(a)) continue;
        if (a->location < 0 || a->size < 1) return false;
        i32 used = attribute_type_locations(a->type) * a->size;
        if (a->location + used > vertex_attribute_locations) return false;
        for (i32 k = 0; k < used; k++) plan->attribute_mask |= 1u << (a->location + k);
    }
    u32 instance_mask = (1u << quad_instance_locations) - 1;
    for (i32 base = 0; base + quad_instance_locations <= vertex_attribute_locations; base++) {
        if ((plan->attribute_mask & (instance_mask << base)) == 0) {
            plan->instance_base = base;
            return true;
        }
    }
    return false;
}

bool quad_twin_matches(const ProgramInterface* program, const QuadPlan* plan, const ProgramInterface* twin,
                       i32* twin_locations) {
    if (twin->overflow) return false;
    // Uniforms: the program's, less the three that became inputs.
    if (twin->uniform_count != program->uniform_count - 3) return false;
    for (i32 i = 0; i < program->uniform_count; i++) {
        twin_locations[i] = -1;
        if (i == plan->mvp || i == plan->color || i == plan->uv_rect) continue;
        const ProgramVariable* u = &program->uniforms[i];
        i32 t = find_variable(twin->uniforms, twin->uniform_count, u->name);
        if (t < 0 || !same_variable(u, &twin->uniforms[t]) || twin->uniforms[t].location < 0) return false;
        twin_locations[i] = twin->uniforms[t].location;
    }
    // Inputs: the program's at their own locations, then the three per-instance ones.
    i32 own = 0;
    for (i32 i = 0; i < program->attribute_count; i++) {
        const ProgramVariable* a = &program->attributes[i];
        if (is_builtin(a)) continue;
        own++;
        i32 t = find_variable(twin->attributes, twin->attribute_count, a->name);
        if (t < 0 || !same_variable(a, &twin->attributes[t]) || twin->attributes[t].location != a->location) {
            return false;
        }
    }
    i32 twin_own = 0;
    for (i32 i = 0; i < twin->attribute_count; i++) twin_own += is_builtin(&twin->attributes[i]) ? 0 : 1;
    if (twin_own != own + 3) return false;
    i32 base = plan->instance_base;
    return has_attribute(twin, "mvp", GL_FLOAT_MAT4, base) &&
           has_attribute(twin, QUAD_INSTANCE_COLOR_NAME, GL_FLOAT_VEC4, base + 4) &&
           has_attribute(twin, "uv_rect", GL_FLOAT_VEC4, base + 5);
}
