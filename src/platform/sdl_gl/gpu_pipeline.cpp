// Fixed-function switches, the draw calls and presenting, with the state record they
// keep: a switch set to the value GL already has makes no GL call.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "platform/sdl_gl/gl_codes.h"
#include "platform/sdl_gl/gpu_state.h"
#include "platform/sdl_gl/gpu_stats.h"
#include "platform/sdl_gl/sdl_window.h"

GpuState gpu_state;
i64 gpu_gl_calls;

namespace {
void (*submit_hook)();  // set by the renderer, whether a context exists or not

bool environment_set(const char* name) {
    const char* value = getenv(name);
    return value && value[0] && strcmp(value, "0") != 0;
}

bool same_rect(const i32* a, const i32* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3]; }
}  // namespace

void gpu_context_created() {
    memset(&gpu_state, 0, sizeof gpu_state);
    gpu_state.ready = true;
    gpu_state.check_errors = getenv("TESMORA_GL_CHECK") != nullptr;
    gpu_state.one_quad_runs = environment_set("TESMORA_ONE_QUAD_RUNS");
    gpu_state.print_stats = environment_set("TESMORA_GL_STATS");
    // Image rows are tightly packed whatever their width.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGetIntegerv(GL_VIEWPORT, gpu_state.viewport);
    glGetIntegerv(GL_SCISSOR_BOX, gpu_state.gl_scissor.rect);
    gpu_state.scissor = gpu_state.gl_scissor;
    gpu_state.blend_source = 1;  // GL starts with ONE, ZERO
    gpu_state.blend_destination = 0;
    if (gpu_state.check_errors) {
        fprintf(stderr, "GL %s on %s\n", (const char*)glGetString(GL_VERSION), (const char*)glGetString(GL_RENDERER));
    }
    gpu_check("context set-up");
}

// The quad objects go with the context.
void gpu_context_destroyed() { memset(&gpu_state, 0, sizeof gpu_state); }

void gpu_check(const char* what) {
    if (!gpu_state.check_errors) return;
    for (i32 i = 0; i < 8; i++) {
        GLenum error = glGetError();
        if (error == GL_NO_ERROR) return;
        fprintf(stderr, "gl error 0x%04x after %s\n", error, what);
    }
}

// Layout arithmetic can give negative sizes for collapsed panels: they clip everything.
void gpu_apply_scissor(const GpuScissor& wanted) {
    GpuScissor* now = &gpu_state.gl_scissor;
    if (wanted.enabled != now->enabled) {
        if (wanted.enabled) {
            glEnable(GL_SCISSOR_TEST);
        } else {
            glDisable(GL_SCISSOR_TEST);
        }
        now->enabled = wanted.enabled;
    }
    if (!wanted.enabled) return;
    i32 rect[4] = {wanted.rect[0], wanted.rect[1], wanted.rect[2] < 0 ? 0 : wanted.rect[2],
                   wanted.rect[3] < 0 ? 0 : wanted.rect[3]};
    if (same_rect(rect, now->rect)) return;
    glScissor(rect[0], rect[1], rect[2], rect[3]);
    memcpy(now->rect, rect, sizeof rect);
}

void draw_arrays(u32 mode, i32 first, i32 count, i32 instances) {
    if (!gpu_state.ready || first < 0 || count <= 0 || instances <= 0) return;
    gpu_state.frame_draws++;
    gpu_sync_vertex_array();
    gpu_apply_scissor(gpu_state.scissor);
    gpu_state.frame_gl_draws++;
    if (instances > 1) {
        glDrawArraysInstanced(gl_draw_mode(mode), first, count, instances);
    } else {
        glDrawArrays(gl_draw_mode(mode), first, count);
    }
    gpu_check("draw_arrays");
}

void pipeline_draw_buffers(i32 count, const u32* buffers) {
    if (!gpu_state.ready || count < 0 || count > 8 || (count > 0 && !buffers)) return;
    GLenum list[8];
    for (i32 i = 0; i < count; i++) list[i] = gl_draw_buffer(buffers[i]);
    glDrawBuffers(count, list);
    gpu_check("pipeline_draw_buffers");
}

void pipeline_blend_enable(bool enable) {
    if (!gpu_state.ready || enable == gpu_state.blend) return;
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
    glBlendFunc(gl_blend_factor(source), gl_blend_factor(destination));
    gpu_state.blend_source = source;
    gpu_state.blend_destination = destination;
    gpu_check("pipeline_blend_factor");
}

void pipeline_viewport(i32 x, i32 y, i32 width, i32 height) {
    if (!gpu_state.ready || width < 0 || height < 0) return;
    const i32 wanted[4] = {x, y, width, height};
    if (same_rect(wanted, gpu_state.viewport)) return;
    glViewport(x, y, width, height);
    memcpy(gpu_state.viewport, wanted, sizeof wanted);
}

void pipeline_clear_color(f32 r, f32 g, f32 b, f32 a) {
    if (gpu_state.ready) glClearColor(r, g, b, a);
}

void pipeline_clear(u32 mask) {
    if (!gpu_state.ready) return;
    gpu_apply_scissor(gpu_state.scissor);
    glClear(gl_clear_mask(mask));
    gpu_check("pipeline_clear");
}

void pipeline_scissor_enable(bool enable) {
    if (gpu_state.ready) gpu_state.scissor.enabled = enable;
}

void pipeline_scissor_rect(i32 x, i32 y, i32 width, i32 height) {
    if (!gpu_state.ready) return;
    gpu_state.scissor.rect[0] = x;
    gpu_state.scissor.rect[1] = y;
    gpu_state.scissor.rect[2] = width;
    gpu_state.scissor.rect[3] = height;
}

void pipeline_set_submit_hook(void (*submit)()) { submit_hook = submit; }

void pipeline_present() { pipeline_present_areas(nullptr, 0); }

void pipeline_present_areas(const i32* rects, i32 count) {
    if (submit_hook) submit_hook();
    if (!sdl_window.window) return;
    bool presented = false;
    if (count > 0 && rects && present_area_usable()) {
        for (i32 i = 0; i < count; i++) present_area(rects[4 * i], rects[4 * i + 1], rects[4 * i + 2], rects[4 * i + 3]);
        presented = true;
    } else if (present_area_usable()) {
        i32 width = 0, height = 0;
        SDL_GL_GetDrawableSize(sdl_window.window, &width, &height);
        presented = present_area(0, 0, width, height);
    }
    if (!presented) SDL_GL_SwapWindow(sdl_window.window);
    gpu_check("pipeline_present");
    gpu_state.last_frame_draws = gpu_state.frame_draws;
    gpu_state.last_frame_gl_draws = gpu_state.frame_gl_draws;
    gpu_state.last_frame_gl_calls = gpu_gl_calls;
    gpu_state.frame_draws = 0;
    gpu_state.frame_gl_draws = 0;
    gpu_gl_calls = 0;
    if (gpu_state.print_stats) {
        fprintf(stderr, "gl frame: %lld draws in %lld gl draw calls, %lld gl calls\n",
                (long long)gpu_state.last_frame_draws, (long long)gpu_state.last_frame_gl_draws,
                (long long)gpu_state.last_frame_gl_calls);
    }
}

GpuFrameStats gpu_frame_stats() {
    return GpuFrameStats{gpu_state.last_frame_draws, gpu_state.last_frame_gl_draws, gpu_state.last_frame_gl_calls};
}
