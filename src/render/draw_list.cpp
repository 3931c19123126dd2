// The renderer's draw list: quads collected in runs, handed over run by run.
#include "render/draw_list.h"

#include "memory/arena.h"
#include "render/renderer.h"

DrawList draw_list;

namespace {
bool same_scissor(const QuadScissor& a, const QuadScissor& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// A full list is drawn; when it had room for fewer quads than this frame draws and may
// still grow, it doubles, so that later frames of the same size fit whole. It is empty
// then, so the new storage need not keep anything.
void make_room() {
    if (draw_list.count > 0) draw_list_submit();
    if (draw_list.capacity >= draw_list_most_capacity) return;
    i64 capacity = draw_list.capacity ? draw_list.capacity * 2 : draw_list_first_capacity;
    draw_list.quads = (QuadInstance*)pool_alloc(pool_main, capacity * (i64)sizeof(QuadInstance));
    draw_list.runs = (QuadRun*)pool_alloc(pool_main, capacity * (i64)sizeof(QuadRun));
    draw_list.capacity = capacity;
}
}  // namespace

QuadInstance* draw_list_add(u32 texture) {
    if (draw_list.count == draw_list.capacity) make_room();
    QuadRun* run = draw_list.run_count > 0 ? &draw_list.runs[draw_list.run_count - 1] : nullptr;
    if (!run || run->texture != texture || run->scissored != draw_list.scissored ||
        (draw_list.scissored && !same_scissor(run->scissor, draw_list.scissor))) {
        run = &draw_list.runs[draw_list.run_count++];
        run->texture = texture;
        run->scissored = draw_list.scissored;
        run->scissor = draw_list.scissored ? draw_list.scissor : QuadScissor{0, 0, 0, 0};
        run->first = draw_list.count;
        run->count = 0;
    }
    run->count++;
    return &draw_list.quads[draw_list.count++];
}

void draw_list_submit() {
    if (draw_list.count == 0) return;
    shader_bind(renderer.simple_shader);
    for (i64 i = 0; i < draw_list.run_count; i++) {
        const QuadRun& run = draw_list.runs[i];
        pipeline_draw_quads(run.texture, run.scissored ? &run.scissor : nullptr, draw_list.quads + run.first,
                            run.count);
    }
    draw_list.count = 0;
    draw_list.run_count = 0;
    draw_list.submissions++;
}

void draw_list_drop() {
    draw_list.count = 0;
    draw_list.run_count = 0;
}

void draw_list_reset() {
    draw_list_drop();
    draw_list.scissored = false;
    draw_list.scissor = QuadScissor{0, 0, 0, 0};
    draw_list.last_color = Color{0, 0, 0, 0};
}
