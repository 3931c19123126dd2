// A quad is known by its bytes, its texture and scissor, and the quad drawn before it
// (so that a change of order counts as a change). This frame's keys are matched against
// the last drawn frame's in a hash table; what is left over on either side is damage.
#include "render/frame_damage.h"

#include <cstring>

#include "memory/arena.h"
#include "render/renderer.h"

namespace {
struct DamageEntry {
    u64 key;   // 0: free slot
    i32 count;
    i16 box[4];  // x0, y0, x1, y1
};

// The quads of the list in drawing order, with their keys and boxes (quads that draw
// nothing are left out).
struct DamageQuad {
    u64 key;
    i16 box[4];
};

struct DamageState {
    DamageEntry* table;  // the last drawn frame's keys; pool_main, grown by doubling
    i64 table_capacity;  // a power of two
    DamageQuad* quads;   // this frame's; pool_main
    i64 quad_capacity;
    QuadInstance* picked;  // the quads of one run that reach one rectangle; pool_main
    i64 picked_capacity;
    i64 quad_count;
    u64 frame_key;       // size, gamma, clear colour and textures of the last drawn frame
    bool known;          // the table describes the kept pictures
};

DamageState damage;

u64 mix(u64 h, u64 w) {
    h ^= w;
    h *= 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 32);
}

u64 mix_bytes(u64 h, const void* data, i64 size) {
    const u8* p = (const u8*)data;
    for (i64 i = 0; i + 8 <= size; i += 8) {
        u64 w;
        memcpy(&w, p + i, 8);
        h = mix(h, w);
    }
    return h;
}

i32 clamp_i32(f32 v, i32 low, i32 high) {
    if (!(v > (f32)low)) return low;
    if (v > (f32)high) return high;
    return (i32)v;
}

// The pixels a quad may touch, a pixel wider on each side, clipped to the window and
// its scissor.
DamageRect quad_box(const QuadInstance& q, const QuadRun& run, i32 width, i32 height) {
    f32 x_low = 1e30f, y_low = 1e30f, x_high = -1e30f, y_high = -1e30f;
    for (i32 corner = 0; corner < 4; corner++) {
        f32 u = (f32)(corner & 1), v = (f32)(corner >> 1);
        const f32* m = q.mvp;
        f32 w = m[3] * u + m[7] * v + m[15];
        if (!(w > 1e-6f)) return DamageRect{0, 0, width, height};
        f32 x = ((m[0] * u + m[4] * v + m[12]) / w + 1) * 0.5f * (f32)width;
        f32 y = ((m[1] * u + m[5] * v + m[13]) / w + 1) * 0.5f * (f32)height;
        x_low = x < x_low ? x : x_low;
        x_high = x > x_high ? x : x_high;
        y_low = y < y_low ? y : y_low;
        y_high = y > y_high ? y : y_high;
    }
    DamageRect box{clamp_i32(x_low - 1, 0, width), clamp_i32(y_low - 1, 0, height), clamp_i32(x_high + 2, 0, width),
                   clamp_i32(y_high + 2, 0, height)};
    if (run.scissored) {
        const QuadScissor& s = run.scissor;
        if (box.x0 < s.x) box.x0 = s.x;
        if (box.y0 < s.y) box.y0 = s.y;
        if (box.x1 > s.x + s.width) box.x1 = s.x + s.width;
        if (box.y1 > s.y + s.height) box.y1 = s.y + s.height;
    }
    return box;
}

// Boxes this close share a rectangle: one more cleared strip costs less than another pass.
constexpr i32 damage_gap = 16;

DamageRect unite(DamageRect a, DamageRect b) {
    return DamageRect{a.x0 < b.x0 ? a.x0 : b.x0, a.y0 < b.y0 ? a.y0 : b.y0, a.x1 > b.x1 ? a.x1 : b.x1,
                      a.y1 > b.y1 ? a.y1 : b.y1};
}

i64 area(DamageRect r) { return (i64)(r.x1 - r.x0) * (i64)(r.y1 - r.y0); }

bool near(DamageRect a, DamageRect b) {
    return a.x0 <= b.x1 + damage_gap && b.x0 <= a.x1 + damage_gap && a.y0 <= b.y1 + damage_gap &&
           b.y0 <= a.y1 + damage_gap;
}

void add_box(Damage* d, const i16* b) { damage_add(d, DamageRect{b[0], b[1], b[2], b[3]}); }

void make_room(i64 quads) {
    if (quads > damage.quad_capacity) {
        i64 capacity = damage.quad_capacity ? damage.quad_capacity : 4096;
        while (capacity < quads) capacity *= 2;
        damage.quads = (DamageQuad*)pool_alloc(pool_main, capacity * (i64)sizeof(DamageQuad));
        damage.quad_capacity = capacity;
    }
    i64 slots = 8192;
    while (slots < quads * 2) slots *= 2;
    if (slots > damage.table_capacity) {
        damage.table = (DamageEntry*)pool_alloc(pool_main, slots * (i64)sizeof(DamageEntry));
        damage.table_capacity = slots;
        damage.known = false;
    }
}

// The table is never more than half full, so a free slot is always found.
DamageEntry* find_slot(u64 key) {
    u64 mask = (u64)damage.table_capacity - 1;
    for (u64 i = key & mask;; i = (i + 1) & mask) {
        DamageEntry* e = &damage.table[i];
        if (e->key == key || e->key == 0) return e;
    }
}

u64 frame_key() {
    u64 h = mix(0x9E3779B97F4A7C15ull, (u64)(u32)render.gpu.width << 32 | (u32)render.gpu.height);
    h = mix_bytes(h, &render.gpu.gamma, sizeof render.gpu.gamma);
    h = mix_bytes(h, &render.theme.background_color, sizeof render.theme.background_color);
    return mix(h, render.frames.resource_generation);
}
}  // namespace

void damage_add(Damage* d, DamageRect box) {
    if (damage_empty(box)) return;
    i32 target = -1;
    for (i32 i = 0; i < d->count && target < 0; i++)
        if (near(d->rects[i], box)) target = i;
    if (target < 0 && d->count < damage_rect_limit) {
        d->rects[d->count++] = box;
        return;
    }
    if (target < 0) {
        i64 least = -1;
        for (i32 i = 0; i < d->count; i++) {
            i64 growth = area(unite(d->rects[i], box)) - area(d->rects[i]);
            if (least < 0 || growth < least) least = growth, target = i;
        }
    }
    d->rects[target] = unite(d->rects[target], box);
    // The grown rectangle may now reach others.
    for (bool merged = true; merged;) {
        merged = false;
        for (i32 i = 0; i < d->count && !merged; i++)
            for (i32 j = i + 1; j < d->count && !merged; j++)
                if (near(d->rects[i], d->rects[j])) {
                    d->rects[i] = unite(d->rects[i], d->rects[j]);
                    d->rects[j] = d->rects[--d->count];
                    merged = true;
                }
    }
}

void frame_damage_forget() { damage.known = false; }

void frame_damage_release() { damage = DamageState{}; }

Damage frame_damage_compute() {
    const DrawList& list = render.draw_list;
    i32 width = render.gpu.width, height = render.gpu.height;
    make_room(list.count);
    damage.quad_count = 0;
    u64 previous = 0;
    for (i64 r = 0; r < list.run_count; r++) {
        const QuadRun& run = list.runs[r];
        u64 run_key = mix(mix((u64)run.texture + 1, run.scissored), mix_bytes(0, &run.scissor, sizeof run.scissor));
        for (i64 i = run.first; i < run.first + run.count; i++) {
            DamageRect box = quad_box(list.quads[i], run, width, height);
            if (damage_empty(box)) continue;
            u64 self = mix_bytes(run_key, &list.quads[i], (i64)sizeof(QuadInstance));
            DamageQuad& q = damage.quads[damage.quad_count++];
            q.key = mix(self, previous) | 1;  // never 0, the free slot
            q.box[0] = (i16)box.x0, q.box[1] = (i16)box.y0, q.box[2] = (i16)box.x1, q.box[3] = (i16)box.y1;
            previous = self;
        }
    }

    Damage d{};
    u64 key = frame_key();
    if (!damage.known || key != damage.frame_key || width > 32767 || height > 32767) {
        damage_add(&d, DamageRect{0, 0, width, height});
    } else {
        for (i64 i = 0; i < damage.quad_count; i++) {
            DamageEntry* e = find_slot(damage.quads[i].key);
            if (e->key != 0 && e->count > 0) e->count--;
            else add_box(&d, damage.quads[i].box);
        }
        for (i64 i = 0; i < damage.table_capacity; i++)
            if (damage.table[i].key != 0 && damage.table[i].count > 0) add_box(&d, damage.table[i].box);
    }
    // This frame becomes the base of the next comparison.
    memset(damage.table, 0, (size_t)damage.table_capacity * sizeof(DamageEntry));
    for (i64 i = 0; i < damage.quad_count; i++) {
        const DamageQuad& q = damage.quads[i];
        DamageEntry* e = find_slot(q.key);
        e->key = q.key;
        e->count++;
        memcpy(e->box, q.box, sizeof e->box);
    }
    damage.frame_key = key;
    damage.known = true;
    return d;
}

namespace {
// The part of `d` that a run may draw into (its own scissor too); false when none.
bool run_clip(const QuadRun& run, DamageRect d, QuadScissor* clip) {
    *clip = QuadScissor{d.x0, d.y0, d.x1 - d.x0, d.y1 - d.y0};
    if (!run.scissored) return true;
    const QuadScissor& s = run.scissor;
    i32 x0 = s.x > d.x0 ? s.x : d.x0, y0 = s.y > d.y0 ? s.y : d.y0;
    i32 x1 = s.x + s.width < d.x1 ? s.x + s.width : d.x1;
    i32 y1 = s.y + s.height < d.y1 ? s.y + s.height : d.y1;
    if (x0 >= x1 || y0 >= y1) return false;
    *clip = QuadScissor{x0, y0, x1 - x0, y1 - y0};
    return true;
}

// Copies the quads of `run` that reach into `clip` to `out` and draws them.
void submit_run(const QuadRun& run, const QuadScissor& clip, QuadInstance* out) {
    const DrawList& list = render.draw_list;
    i32 width = render.gpu.width, height = render.gpu.height;
    i64 n = 0;
    for (i64 i = run.first; i < run.first + run.count; i++) {
        DamageRect box = quad_box(list.quads[i], run, width, height);
        if (box.x1 <= clip.x || box.x0 >= clip.x + clip.width || box.y1 <= clip.y || box.y0 >= clip.y + clip.height)
            continue;
        out[n++] = list.quads[i];
    }
    if (n > 0) pipeline_draw_quads(run.texture, &clip, out, n);
}
}  // namespace

void frame_damage_submit(const Damage& d) {
    DrawList& list = render.draw_list;
    shader_bind(render.gpu.simple_shader);
    // Each rectangle draws from the whole list: a run's quads that reach it are picked
    // into storage of their own.
    for (i64 r = 0; r < list.run_count; r++) {
        const QuadRun& run = list.runs[r];
        if (run.count > damage.picked_capacity) {
            i64 capacity = damage.picked_capacity ? damage.picked_capacity : 1024;
            while (capacity < run.count) capacity *= 2;
            damage.picked = (QuadInstance*)pool_alloc(pool_main, capacity * (i64)sizeof(QuadInstance));
            damage.picked_capacity = capacity;
        }
        for (i32 k = 0; k < d.count; k++) {
            QuadScissor clip;
            if (run_clip(run, d.rects[k], &clip)) submit_run(run, clip, damage.picked);
        }
    }
    draw_list_drop();
    list.submissions++;
}
