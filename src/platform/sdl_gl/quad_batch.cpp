// Collecting quads and drawing them as one instanced draw of the program's twin.
#include "platform/sdl_gl/quad_batch.h"

#include <cstring>

#include "platform/sdl_gl/quad_twin_build.h"

namespace {
enum : i32 { quad_program_capacity = 8, twin_array_capacity = 16 };

// A twin vertex array for one program and one of the caller's vertex arrays; twin 0
// when that pair cannot be merged.
struct TwinArray {
    u32 program;
    u32 source;
    u32 twin;
};

struct QuadBatch {
    QuadProgram programs[quad_program_capacity];
    TwinArray arrays[twin_array_capacity];
    i32 next_victim;  // the cache entry replaced when all are taken
    u32 instance_buffer;
    // The run being collected.
    QuadProgram* program;
    u32 vertex_array;
    u32 twin_array;
    i32 first;
    i32 count;
    f32 instances[(i64)quad_batch_capacity * (i64)quad_instance_floats];
};

QuadBatch batch;

void write_uniform(i32 location, UniformKind kind, const f32* values) {
    switch (kind) {
        case uniform_float: glUniform1f(location, values[0]); break;
        case uniform_int: {
            i32 value;
            memcpy(&value, values, sizeof value);
            glUniform1i(location, value);
            break;
        }
        case uniform_vec4: glUniform4fv(location, 1, values); break;
        case uniform_mat4: glUniformMatrix4fv(location, 1, GL_FALSE, values); break;
        default: break;
    }
}

void delete_twin_array(TwinArray* entry) {
    if (entry->twin) {
        glDeleteVertexArrays(1, &entry->twin);
        if (gpu_state.gl_vertex_array == entry->twin) gpu_state.gl_vertex_array = 0;  // GL falls back to 0
    }
    memset(entry, 0, sizeof *entry);
}

// The twin vertex array for the program and vertex array, built on first use.
u32 twin_array_for(const QuadProgram* record, u32 vertex_array) {
    for (TwinArray& entry : batch.arrays) {
        if (entry.program == record->program && entry.source == vertex_array) return entry.twin;
    }
    TwinArray* slot = nullptr;
    for (TwinArray& entry : batch.arrays) {
        if (entry.program == 0) {
            slot = &entry;
            break;
        }
    }
    if (!slot) {
        slot = &batch.arrays[batch.next_victim];
        batch.next_victim = (batch.next_victim + 1) % twin_array_capacity;
        delete_twin_array(slot);
    }
    if (!batch.instance_buffer) glGenBuffers(1, &batch.instance_buffer);
    slot->program = record->program;
    slot->source = vertex_array;
    slot->twin = quad_twin_array_build(record, vertex_array, batch.instance_buffer);
    return slot->twin;
}
}  // namespace

void quad_batch_reset() { memset(&batch, 0, sizeof batch); }

void quad_program_linked(u32 program, StringView vertex, StringView fragment) {
    for (QuadProgram& record : batch.programs) {
        if (record.program != 0) continue;
        if (!quad_twin_build(program, vertex, fragment, &record)) memset(&record, 0, sizeof record);
        return;
    }
}

void quad_program_forget(u32 program) {
    for (QuadProgram& record : batch.programs) {
        if (record.program != program || program == 0) continue;
        if (batch.count > 0 && batch.program == &record) quad_batch_flush();
        for (TwinArray& entry : batch.arrays) {
            if (entry.program == program) delete_twin_array(&entry);
        }
        if (gpu_state.gl_program == record.twin) {
            glUseProgram(gpu_state.program);
            gpu_state.gl_program = gpu_state.program;
        }
        glDeleteProgram(record.twin);
        memset(&record, 0, sizeof record);
    }
}

QuadProgram* quad_program_of(u32 program) {
    if (program == 0) return nullptr;
    for (QuadProgram& record : batch.programs) {
        if (record.program == program) return record.usable ? &record : nullptr;
    }
    return nullptr;
}

void quad_program_write_uniforms(QuadProgram* record) {
    for (i32 i = 0; i < record->uniform_count; i++) {
        QuadUniform* u = &record->uniforms[i];
        if (!u->program_stale) continue;
        write_uniform(u->location, u->kind, u->values);
        u->program_stale = false;
    }
    record->program_stale = false;
    gpu_check("uniform values");
}

bool quad_batch_add(GLenum mode, i32 first, i32 count, i32 instances) {
    if (mode != GL_TRIANGLE_STRIP || count != 4 || instances != 1 || gpu_state.vertex_array == 0) return false;
    QuadProgram* record = quad_program_of(gpu_state.program);
    if (!record) return false;
    if (batch.count > 0 &&
        (batch.program != record || batch.vertex_array != gpu_state.vertex_array || batch.first != first)) {
        quad_batch_flush();
    }
    if (batch.count == quad_batch_capacity) quad_batch_flush();
    if (batch.count == 0) {
        u32 twin_array = twin_array_for(record, gpu_state.vertex_array);
        if (!twin_array) return false;
        batch.program = record;
        batch.vertex_array = gpu_state.vertex_array;
        batch.twin_array = twin_array;
        batch.first = first;
    }
    quad_instance_write(record, &batch.instances[batch.count * quad_instance_floats]);
    batch.count++;
    return true;
}

void quad_batch_flush() {
    if (batch.count == 0) return;
    QuadProgram* record = batch.program;
    if (gpu_state.gl_program != record->twin) {
        glUseProgram(record->twin);
        gpu_state.gl_program = record->twin;
    }
    for (i32 i = 0; i < record->uniform_count; i++) {
        QuadUniform* u = &record->uniforms[i];
        if (!u->twin_stale) continue;
        write_uniform(u->twin_location, u->kind, u->values);
        u->twin_stale = false;
    }
    if (gpu_state.gl_vertex_array != batch.twin_array) {
        glBindVertexArray(batch.twin_array);
        gpu_state.gl_vertex_array = batch.twin_array;
    }
    // A new store each time: the driver need not wait for the previous draw's data.
    glBindBuffer(GL_ARRAY_BUFFER, batch.instance_buffer);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)batch.count * quad_instance_floats * (GLsizeiptr)sizeof(f32),
                 batch.instances, GL_STREAM_DRAW);
    glDrawArraysInstanced(GL_TRIANGLE_STRIP, batch.first, 4, batch.count);
    glBindBuffer(GL_ARRAY_BUFFER, gpu_state.array_buffer);
    gpu_state.frame_gl_draws++;
    batch.count = 0;
    gpu_check("merged quads");
}

void quad_arrays_forget(u32 vertex_array) {
    if (batch.count > 0 && (vertex_array == 0 || batch.vertex_array == vertex_array)) quad_batch_flush();
    for (TwinArray& entry : batch.arrays) {
        if (entry.program != 0 && (vertex_array == 0 || entry.source == vertex_array)) delete_twin_array(&entry);
    }
}

bool quad_uniform_take(i32 location, UniformKind kind, const f32* values) {
    QuadProgram* record = quad_program_of(gpu_state.program);
    if (!record) return false;
    switch (quad_uniform_classify(record, location, kind, values)) {
        case quad_change_none: return true;
        case quad_change_per_quad: quad_uniform_store(record, location, kind, values); return true;
        case quad_change_shared:
            quad_batch_flush();
            quad_uniform_store(record, location, kind, values);
            return true;
        case quad_change_foreign: break;
    }
    quad_uniform_bypass(location);
    return false;
}

void quad_uniform_bypass(i32 location) {
    QuadProgram* record = quad_program_of(gpu_state.program);
    if (!record) return;
    quad_batch_flush();
    gpu_sync_program();
    if (quad_program_has_location(record, location)) record->usable = false;
}
