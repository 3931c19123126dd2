// The pointer drawn by the program while the system pointer is hidden: a trail of
// turning stars that fade from the start colour to the end colour.
#include "core/core_state.h"
#include "core/sort.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "workbench/workbench_state.h"

namespace {
constexpr f64 two_pi = 6.283185307179586;

Color mix(Color from, Color to, f32 t) {
    return Color{to.r + (from.r - to.r) * t, to.g + (from.g - to.g) * t, to.b + (from.b - to.b) * t,
                 to.a + (from.a - to.a) * t};
}
}  // namespace

void trail_init() {
    TrailState& t = workbench.trail;
    for (TrailPoint& p : t.points) p = TrailPoint{0, 0, 0};
    t.angle = 0;
    t.sprite_size = 24;
    t.rotation_speed = 3.14159265f;
    t.decay = 6;
}

void run_pointer_trail() {
    TrailState& t = workbench.trail;
    f64 angle = (f64)t.angle + (f64)t.rotation_speed * core.frame_time;
    angle -= two_pi * math_floor(angle / two_pi);
    t.angle = (f32)angle;
    scissor_off();
    u32 star = render.icon_textures[icon_star];
    f32 size = t.sprite_size;
    for (TrailPoint& p : t.points) {
        if (p.life <= 0) continue;
        p.life -= t.decay * core.frame_time;
        if (p.life <= 0) continue;
        // Life runs from 1 at birth down to 0: the colour runs from start to end.
        Color c = mix(render.theme.mouse_start_color, render.theme.mouse_end_color, p.life);
        draw_quad(star, c, p.x, p.y, size, size, size * 0.5f, size * 0.5f, t.angle, uv_rect_full);
    }
    TrailPoint* scratch = (TrailPoint*)pool_alloc(pool_frame, trail_point_count * (i64)sizeof(TrailPoint));
    merge_sort(t.points, 0, trail_point_count, scratch,
               [](const TrailPoint& a, const TrailPoint& b) { return a.life < b.life; });
    t.points[0] = TrailPoint{(f32)core.mouse_x, (f32)core.mouse_y, 1};
}
