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
    // No position yet: the first pointer position leaves no trail behind.
    t.last_x = t.last_y = -1e30f;
    t.sprite_size = 24;
    t.rotation_speed = 3.14159265f;
    t.decay = 6;
}

// Points are left where the pointer was and fade; the star turns while a trail is
// visible. A pointer at rest is one still star, and no frame is asked for.
void run_pointer_trail() {
    TrailState& t = workbench.trail;
    bool fading = false;
    for (TrailPoint& p : t.points) {
        if (p.life <= 0) continue;
        p.life -= t.decay * core.frame_time;
        fading = fading || p.life > 0;
    }
    if (fading) {
        f64 angle = (f64)t.angle + (f64)t.rotation_speed * core.frame_time;
        angle -= two_pi * math_floor(angle / two_pi);
        t.angle = (f32)angle;
        frame_request(0);
    }
    scissor_off();
    u32 star = render.icon_textures[icon_star];
    f32 size = t.sprite_size;
    for (const TrailPoint& p : t.points) {
        if (p.life <= 0) continue;
        // Life runs from 1 at birth down to 0: the colour runs from start to end.
        Color c = mix(render.theme.mouse_start_color, render.theme.mouse_end_color, p.life);
        draw_quad(star, c, p.x, p.y, size, size, size * 0.5f, size * 0.5f, t.angle, uv_rect_full);
    }
    f32 x = (f32)core.mouse_x, y = (f32)core.mouse_y;
    draw_quad(star, render.theme.mouse_start_color, x, y, size, size, size * 0.5f, size * 0.5f, t.angle, uv_rect_full);
    if (x == t.last_x && y == t.last_y) return;
    if (t.last_x == -1e30f) {
        t.last_x = x;
        t.last_y = y;
        return;
    }
    // The pointer moved: where it was becomes the newest point of the trail.
    TrailPoint* scratch = (TrailPoint*)pool_alloc(pool_frame, trail_point_count * (i64)sizeof(TrailPoint));
    merge_sort(t.points, 0, trail_point_count, scratch,
               [](const TrailPoint& a, const TrailPoint& b) { return a.life < b.life; });
    t.points[0] = TrailPoint{t.last_x, t.last_y, 1};
    t.last_x = x;
    t.last_y = y;
    frame_request(0);
}
