// Fixed-function switches, the draw call and presenting, with the state record they keep.
// A switch set to the value it has changes nothing and so does not flush collected quads.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "platform/sdl_gl/gl_codes.h"
#include "platform/sdl_gl/gpu_state.h"
#include "platform/sdl_gl/gpu_stats.h"
#include "platform/sdl_gl/quad_batch.h"
#include "platform/sdl_gl/sdl_window.h"

GpuState gpu_state;

namespace {
bool environment_set(const char* name) {
    const char* value = getenv(name);
    return value && value[0] && strcmp(value, "0") != 0;
}
}  // namespace

void gpu_context_created() {
    memset(&gpu_state, 0, sizeof gpu_state);
    gpu_state.ready = true;
    gpu_state.check_errors = getenv("TESMORA_GL_CHECK") != nullptr;
    gpu_state.batching = !environment_set("TESMORA_NO_BATCH");
    gpu_state.print_stats = environment_set("TESMORA_GL_STATS");
    quad_batch_reset();
    // Image rows are tightly packed whatever their width.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGetIntegerv(GL_VIEWPORT, gpu_state.viewport);
    glGetIntegerv(GL_SCISSOR_BOX, gpu_state.scissor_rect);
    gpu_state.blend_source = 1;  // GL starts with ONE, ZERO
    gpu_state.blend_destination = 0;
    if (gpu_state.check_errors) {
        fprintf(stderr, "GL %s on %s\n", (const char*)glGetString(GL_VERSION), (const char*)glGetString(GL_RENDERER));
    }
    gpu_check("context set-up");
}

void gpu_context_destroyed() {
    memset(&gpu_state, 0, sizeof gpu_state);
    quad_batch_reset();  // its GL objects go with the context
}

void gpu_check(const char* what) {
    if (!gpu_state.check_errors) return;
    for (i32 i = 0; i < 8; i++) {
        GLenum error = glGetError();
        if (error == GL_NO_ERROR) return;
        fprintf(stderr, "gl error 0x%04x after %s\n", error, what);
    }
}

void gpu_submit_draw(GLenum mode, i32 first, i32 count, i32 instances) {
    gpu_state.frame_draws++;
    if (gpu_state.batching && quad_batch_add(mode, first, count, instances)) return;
    quad_batch_flush();
    gpu_sync_program();
    gpu_sync_vertex_array();
    gpu_state.frame_gl_draws++;
    if (instances > 1) {
        glDrawArraysInstanced(mode, first, count, instances);
    } else {
        glDrawArrays(mode, first, count);
    }
    gpu_check("draw_arrays");
}

void draw_arrays(u32 mode, i32 first, i32 count, i32 instances) {
    if (!gpu_state.ready || first < 0 || count <= 0 || instances <= 0) return;
    gpu_submit_draw(gl_draw_mode(mode), first, count, instances);
}

void pipeline_draw_buffers(i32 count, const u32* buffers) {
    if (!gpu_state.ready || count < 0 || count > 8 || (count > 0 && !buffers)) return;
    GLenum list[8];
    for (i32 i = 0; i < count; i++) list[i] = gl_draw_buffer(buffers[i]);
    quad_batch_flush();
    glDrawBuffers(count, list);
    gpu_check("pipeline_draw_buffers");
}

void pipeline_blend_enable(bool enable) {
    if (!gpu_state.ready || enable == gpu_state.blend) return;
    quad_batch_flush();
    if (enable) {
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    gpu_state.blend = enable;
}

void pipeline_blend_factor(u32 source, u32 destination) {
    if (!gpu_state.ready) return;
    if (source == gpu_state.blend_source && destination == gpu_state.blend_destination) return;
    quad_batch_flush();
    glBlendFunc(gl_blend_factor(source), gl_blend_factor(destination));
    gpu_state.blend_source = source;
    gpu_state.blend_destination = destination;
    gpu_check("pipeline_blend_factor");
}

void pipeline_viewport(i32 x, i32 y, i32 width, i32 height) {
    if (!gpu_state.ready || width < 0 || height < 0) return;
    const i32* v = gpu_state.viewport;
    if (v[0] == x && v[1] == y && v[2] == width && v[3] == height) return;
    quad_batch_flush();
    glViewport(x, y, width, height);
    gpu_state.viewport[0] = x;
    gpu_state.viewport[1] = y;
    gpu_state.viewport[2] = width;
    gpu_state.viewport[3] = height;
}

void pipeline_clear_color(f32 r, f32 g, f32 b, f32 a) {
    if (gpu_state.ready) glClearColor(r, g, b, a);
}

void pipeline_clear(u32 mask) {
    if (!gpu_state.ready) return;
    quad_batch_flush();
    glClear(gl_clear_mask(mask));
    gpu_check("pipeline_clear");
}

void pipeline_scissor_enable(bool enable) {
    if (!gpu_state.ready || enable == gpu_state.scissor) return;
    quad_batch_flush();
    if (enable) {
        glEnable(GL_SCISSOR_TEST);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
    gpu_state.scissor = enable;
}

// Layout arithmetic can give negative sizes for collapsed panels: they clip everything.
void pipeline_scissor_rect(i32 x, i32 y, i32 width, i32 height) {
    if (!gpu_state.ready) return;
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    const i32* r = gpu_state.scissor_rect;
    if (r[0] == x && r[1] == y && r[2] == width && r[3] == height) return;
    quad_batch_flush();
    glScissor(x, y, width, height);
    gpu_state.scissor_rect[0] = x;
    gpu_state.scissor_rect[1] = y;
    gpu_state.scissor_rect[2] = width;
    gpu_state.scissor_rect[3] = height;
}

void pipeline_present() {
    if (!sdl_window.window) return;
    quad_batch_flush();
    SDL_GL_SwapWindow(sdl_window.window);
    gpu_check("pipeline_present");
    gpu_state.last_frame_draws = gpu_state.frame_draws;
    gpu_state.last_frame_gl_draws = gpu_state.frame_gl_draws;
    gpu_state.frame_draws = 0;
    gpu_state.frame_gl_draws = 0;
    if (gpu_state.print_stats) {
        fprintf(stderr, "gl frame: %lld draws in %lld gl draw calls\n", (long long)gpu_state.last_frame_draws,
                (long long)gpu_state.last_frame_gl_draws);
    }
}

GpuFrameStats gpu_frame_stats() { return GpuFrameStats{gpu_state.last_frame_draws, gpu_state.last_frame_gl_draws}; }
