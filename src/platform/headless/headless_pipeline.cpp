// Pipeline state and the draw list: every draw_arrays is recorded with the state and
// uniform values in force, and every quad of a run as a draw of its own with the run's
// texture and scissor, so tests can check what would have reached the screen.
#include <cstdlib>
#include <cstring>

#include "platform/headless/headless_internal.h"

namespace {

// About 150 MiB of records; a frame of the editor makes a few thousand draws.
const i64 max_draws = 1 << 20;

struct DrawList {
    RecordedDraw* draws;  // capacity kept between frames
    i64 count, capacity;
};

HeadlessGpuState gpu;
DrawList draw_list;
i64 present_count;
i32 present_area_seen[4];  // the last present's rectangles' bounds; width -1: the whole picture
i32 present_rects_seen;    // how many rectangles it had (0: the whole picture)
i32 frame_buffer_status;
void (*submit_hook)();

bool reserve_draw() {
    if (draw_list.count < draw_list.capacity) return true;
    if (draw_list.capacity >= max_draws) return false;
    i64 capacity = draw_list.capacity ? draw_list.capacity * 2 : 1024;
    if (capacity > max_draws) capacity = max_draws;
    void* grown = realloc(draw_list.draws, (size_t)capacity * sizeof(RecordedDraw));
    if (!grown) return false;
    draw_list.draws = (RecordedDraw*)grown;
    draw_list.capacity = capacity;
    return true;
}

void copy_floats(f32* destination, const HeadlessUniformValue* value, i32 count) {
    if (value) memcpy(destination, value->floats, (size_t)count * sizeof(f32));
    else memset(destination, 0, (size_t)count * sizeof(f32));
}

// What the renderer still holds reaches the list before anyone looks at it.
void take_pending() {
    if (submit_hook) submit_hook();
}

void check_program(const char* none, const char* unlinked) {
    HeadlessObject* program = headless_object(gpu.program, object_program);
    if (!program) headless_gpu_misuse(none);
    else if (!program->linked) headless_gpu_misuse(unlinked);
}

}  // namespace

HeadlessGpuState* headless_gpu_mutable() { return &gpu; }

void headless_gpu_misuse(const char* what) {
    gpu.misuse_count++;
    gpu.last_misuse = what;
}

void headless_draws_clear() {
    draw_list.count = 0;
    gpu.draws_dropped = 0;
    gpu.quad_runs = 0;
}

// The renderer's hook goes too: whatever it holds names objects that are gone.
void headless_draws_reset() {
    memset(&gpu, 0, sizeof(gpu));
    draw_list.count = 0;
    present_count = 0;
    present_area_seen[0] = present_area_seen[1] = present_area_seen[2] = present_area_seen[3] = 0;
    present_rects_seen = 0;
    frame_buffer_status = 0;
    submit_hook = nullptr;
}

i32 frame_buffer_get_status(u32) { return frame_buffer_status; }
void headless_set_frame_buffer_status(i32 status) { frame_buffer_status = status; }

void pipeline_draw_buffers(i32 count, const u32* buffers) {
    if (gpu.frame_buffer == 0) headless_gpu_misuse("pipeline_draw_buffers with no frame buffer bound");
    else if (count < 0 || (count > 0 && !buffers)) headless_gpu_misuse("pipeline_draw_buffers without buffers");
}

void pipeline_blend_enable(bool enable) { gpu.blend_enabled = enable; }

void pipeline_blend_factor(u32 source, u32 destination) {
    gpu.blend_source = source;
    gpu.blend_destination = destination;
}

void pipeline_viewport(i32 x, i32 y, i32 width, i32 height) {
    gpu.viewport[0] = x;
    gpu.viewport[1] = y;
    gpu.viewport[2] = width;
    gpu.viewport[3] = height;
}

void pipeline_clear_color(f32 r, f32 g, f32 b, f32 a) {
    gpu.clear_color[0] = r;
    gpu.clear_color[1] = g;
    gpu.clear_color[2] = b;
    gpu.clear_color[3] = a;
}

void pipeline_clear(u32 mask) {
    gpu.clear_count++;
    gpu.clear_mask = mask;
}

void pipeline_scissor_enable(bool enable) { gpu.scissor_enabled = enable; }

void pipeline_scissor_rect(i32 x, i32 y, i32 width, i32 height) {
    gpu.scissor[0] = x;
    gpu.scissor[1] = y;
    gpu.scissor[2] = width;
    gpu.scissor[3] = height;
}

void pipeline_set_submit_hook(void (*submit)()) { submit_hook = submit; }

void pipeline_present() { pipeline_present_areas(nullptr, 0); }

void pipeline_present_areas(const i32* rects, i32 count) {
    take_pending();
    present_count++;
    present_rects_seen = rects && count > 0 ? count : 0;
    if (!present_rects_seen) {
        present_area_seen[0] = present_area_seen[1] = 0;
        present_area_seen[2] = present_area_seen[3] = -1;
        return;
    }
    i32 x0 = rects[0], y0 = rects[1], x1 = rects[0] + rects[2], y1 = rects[1] + rects[3];
    for (i32 i = 1; i < count; i++) {
        const i32* r = rects + 4 * i;
        x0 = r[0] < x0 ? r[0] : x0;
        y0 = r[1] < y0 ? r[1] : y0;
        x1 = r[0] + r[2] > x1 ? r[0] + r[2] : x1;
        y1 = r[1] + r[3] > y1 ? r[1] + r[3] : y1;
    }
    present_area_seen[0] = x0;
    present_area_seen[1] = y0;
    present_area_seen[2] = x1 - x0;
    present_area_seen[3] = y1 - y0;
}

void draw_arrays(u32 mode, i32 first, i32 count, i32 instances) {
    check_program("draw_arrays with no program bound", "draw_arrays with a program that failed to link");
    if (gpu.vertex_array == 0) headless_gpu_misuse("draw_arrays with no vertex array bound");
    if (first < 0 || count < 0 || instances < 0) headless_gpu_misuse("draw_arrays with a negative count");
    if (!reserve_draw()) {
        gpu.draws_dropped++;
        return;
    }
    RecordedDraw* draw = &draw_list.draws[draw_list.count++];
    HeadlessProgramUniforms uniforms = headless_program_uniforms(gpu.program);
    draw->texture = gpu.texture;
    draw->program = gpu.program;
    draw->frame_buffer = gpu.frame_buffer;
    copy_floats(draw->mvp, uniforms.mvp, 16);
    copy_floats(draw->color, uniforms.color, 4);
    copy_floats(draw->uv_rect, uniforms.uv_rect, 4);
    draw->scissor_enabled = gpu.scissor_enabled;
    memcpy(draw->scissor, gpu.scissor, sizeof(draw->scissor));
    draw->mode = mode;
    draw->first = first;
    draw->count = count;
    draw->instances = instances;
}

// Each quad is recorded as the single-quad draw a strip of four vertices would be, with
// the pipeline's scissor replaced by the run's.
void pipeline_draw_quads(u32 texture, const QuadScissor* scissor, const QuadInstance* quads, i64 count) {
    check_program("pipeline_draw_quads with no program bound",
                  "pipeline_draw_quads with a program that failed to link");
    if (count < 0 || (count > 0 && !quads)) {
        headless_gpu_misuse("pipeline_draw_quads without quads");
        return;
    }
    gpu.quad_runs++;
    if (texture != 0 && !headless_object(texture, object_texture))
        headless_gpu_misuse("pipeline_draw_quads with an unknown texture");
    else headless_bind_unit0(texture);
    for (i64 i = 0; i < count; i++) {
        if (!reserve_draw()) {
            gpu.draws_dropped += count - i;
            return;
        }
        RecordedDraw* draw = &draw_list.draws[draw_list.count++];
        draw->texture = texture;
        draw->program = gpu.program;
        draw->frame_buffer = gpu.frame_buffer;
        memcpy(draw->mvp, quads[i].mvp, sizeof(draw->mvp));
        memcpy(draw->color, quads[i].color, sizeof(draw->color));
        memcpy(draw->uv_rect, quads[i].uv_rect, sizeof(draw->uv_rect));
        draw->scissor_enabled = scissor != nullptr;
        draw->scissor[0] = scissor ? scissor->x : 0;
        draw->scissor[1] = scissor ? scissor->y : 0;
        draw->scissor[2] = scissor ? scissor->width : 0;
        draw->scissor[3] = scissor ? scissor->height : 0;
        draw->mode = 5;
        draw->first = 0;
        draw->count = 4;
        draw->instances = 1;
    }
}

i64 headless_draw_count() {
    take_pending();
    return draw_list.count;
}

const RecordedDraw* headless_draws() {
    take_pending();
    return draw_list.draws;
}

i64 headless_present_count() { return present_count; }

i32 headless_last_present_area(i32* area) {
    for (int i = 0; i < 4; i++) area[i] = present_area_seen[i];
    return present_rects_seen;
}

const HeadlessGpuState* headless_gpu_state() {
    take_pending();
    return &gpu;
}
