// Runs of quads: the instances go into one buffer of the back-end's own and each run is
// one instanced draw of the four strip corners. The buffer's store grows to the largest
// run and is then written over in place, so that drawing makes the driver allocate
// nothing either.
#include <cstdint>

#include "platform/platform.h"
#include "platform/sdl_gl/gpu_state.h"

static_assert(sizeof(QuadInstance) == 96, "the instance layout is read with a 96-byte stride");

namespace {
// The most instances one GL draw takes: bounds the size of the store.
const i64 quads_per_draw = 65536;
const i64 first_store_quads = 4096;

// Locations 0..5: the four columns of mvp, the colour, uv_rect; 16 bytes each, one step
// per instance.
void create_quad_objects() {
    glGenVertexArrays(1, &gpu_state.quad_vertex_array);
    glGenBuffers(1, &gpu_state.quad_buffer);
    glBindVertexArray(gpu_state.quad_vertex_array);
    gpu_state.gl_vertex_array = gpu_state.quad_vertex_array;
    glBindBuffer(GL_ARRAY_BUFFER, gpu_state.quad_buffer);
    gpu_state.gl_array_buffer = gpu_state.quad_buffer;
    for (GLuint location = 0; location < 6; location++) {
        glVertexAttribPointer(location, 4, GL_FLOAT, GL_FALSE, (GLsizei)sizeof(QuadInstance),
                              (const void*)(uintptr_t)(location * 4 * sizeof(f32)));
        glEnableVertexAttribArray(location);
        glVertexAttribDivisor(location, 1);
    }
    gpu_check("quad vertex array");
}
}  // namespace

void gpu_bind_unit0(u32 texture) {
    if (gpu_state.active_unit != 0) {
        glActiveTexture(GL_TEXTURE0);
        gpu_state.active_unit = 0;
    }
    if (gpu_state.textures_2d[0] == texture) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    gpu_state.textures_2d[0] = texture;
}

void pipeline_draw_quads(u32 texture, const QuadScissor* scissor, const QuadInstance* quads, i64 count) {
    if (!gpu_state.ready || !quads || count <= 0) return;
    gpu_state.frame_draws += count;
    if (!gpu_state.quad_vertex_array) create_quad_objects();
    gpu_bind_unit0(texture);
    GpuScissor wanted = {scissor != nullptr, {0, 0, 0, 0}};
    if (scissor) {
        wanted.rect[0] = scissor->x;
        wanted.rect[1] = scissor->y;
        wanted.rect[2] = scissor->width;
        wanted.rect[3] = scissor->height;
    }
    gpu_apply_scissor(wanted);
    if (gpu_state.gl_vertex_array != gpu_state.quad_vertex_array) {
        glBindVertexArray(gpu_state.quad_vertex_array);
        gpu_state.gl_vertex_array = gpu_state.quad_vertex_array;
    }
    if (gpu_state.gl_array_buffer != gpu_state.quad_buffer) {
        glBindBuffer(GL_ARRAY_BUFFER, gpu_state.quad_buffer);
        gpu_state.gl_array_buffer = gpu_state.quad_buffer;
    }
    i64 step = gpu_state.one_quad_runs ? 1 : quads_per_draw;
    for (i64 done = 0; done < count;) {
        i64 n = count - done < step ? count - done : step;
        if (n > gpu_state.quad_store_quads) {
            i64 quads_held = gpu_state.quad_store_quads ? gpu_state.quad_store_quads : first_store_quads;
            while (quads_held < n) quads_held *= 2;
            glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(quads_held * (i64)sizeof(QuadInstance)), nullptr,
                         GL_STREAM_DRAW);
            gpu_state.quad_store_quads = quads_held;
        }
        glBufferSubData(GL_ARRAY_BUFFER, 0, (GLsizeiptr)(n * (i64)sizeof(QuadInstance)), quads + done);
        glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, (GLsizei)n);
        gpu_state.frame_gl_draws++;
        done += n;
    }
    gpu_check("pipeline_draw_quads");
}
