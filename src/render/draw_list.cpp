// The renderer's draw list: quads collected in runs, handed over run by run.
#include "render/draw_list.h"

#include "memory/arena.h"
#include "render/renderer.h"


namespace {
bool same_scissor(const QuadScissor& a, const QuadScissor& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// A full list is drawn; when it had room for fewer quads than this frame draws and may
// still grow, it doubles, so that later frames of the same size fit whole. It is empty
// then, so the new storage need not keep anything.
void make_room() {
    if (render.draw_list.count > 0) draw_list_submit();
    if (render.draw_list.capacity >= draw_list_most_capacity) return;
    i64 capacity = render.draw_list.capacity ? render.draw_list.capacity * 2 : draw_list_first_capacity;
    render.draw_list.quads = (QuadInstance*)pool_alloc(pool_main, capacity * (i64)sizeof(QuadInstance));
    render.draw_list.runs = (QuadRun*)pool_alloc(pool_main, capacity * (i64)sizeof(QuadRun));
    render.draw_list.capacity = capacity;
}
}  // namespace

QuadInstance* draw_list_add(u32 texture) {
    if (render.draw_list.count == render.draw_list.capacity) make_room();
    QuadRun* run = render.draw_list.run_count > 0 ? &render.draw_list.runs[render.draw_list.run_count - 1] : nullptr;
    if (!run || run->texture != texture || run->scissored != render.draw_list.scissored ||
        (render.draw_list.scissored && !same_scissor(run->scissor, render.draw_list.scissor))) {
        run = &render.draw_list.runs[render.draw_list.run_count++];
        run->texture = texture;
        run->scissored = render.draw_list.scissored;
        run->scissor = render.draw_list.scissored ? render.draw_list.scissor : QuadScissor{0, 0, 0, 0};
        run->first = render.draw_list.count;
        run->count = 0;
    }
    run->count++;
    return &render.draw_list.quads[render.draw_list.count++];
}

void draw_list_submit() {
    if (render.draw_list.count == 0) return;
    if (render.frames.skip_unchanged) frame_about_to_draw();
    shader_bind(render.gpu.simple_shader);
    for (i64 i = 0; i < render.draw_list.run_count; i++) {
        const QuadRun& run = render.draw_list.runs[i];
        pipeline_draw_quads(run.texture, run.scissored ? &run.scissor : nullptr, render.draw_list.quads + run.first,
                            run.count);
    }
    render.draw_list.count = 0;
    render.draw_list.run_count = 0;
    render.draw_list.submissions++;
}

void draw_list_drop() {
    render.draw_list.count = 0;
    render.draw_list.run_count = 0;
}

void draw_list_reset() {
    draw_list_drop();
    render.draw_list.scissored = false;
    render.draw_list.scissor = QuadScissor{0, 0, 0, 0};
    render.draw_list.last_color = Color{0, 0, 0, 0};
}
