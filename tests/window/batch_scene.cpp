// A busy frame drawn through the real renderer, for batching.sh: the same picture must
// come out whether each run of quads is one instanced draw or every quad is a draw of its
// own (TESMORA_ONE_QUAD_RUNS=1). It redraws the same frame until closed (SIGTERM),
// saying "presented 3" after the third, followed by the frame's counts ("draws N gl M
// calls K": quads and other draws asked for, GL draw calls, all GL calls).
//   batch_scene          the busy scene: text in many colours, translucent, rotated and
//                        scissored quads, several textures, a texture re-uploaded
//                        between two draws of it, a "gamma" change for one quad
//   batch_scene text     a full window of text
// Run it in the source directory (it loads resources/).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/core_state.h"
#include "memory/arena.h"
#include "platform/platform.h"
#include "platform/sdl_gl/gpu_stats.h"
#include "render/draw.h"
#include "render/draw_list.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"

namespace {
const Color palette[6] = {
    {0.95f, 0.35f, 0.30f, 1}, {0.40f, 0.85f, 0.45f, 1}, {0.35f, 0.55f, 0.95f, 1},
    {0.95f, 0.85f, 0.30f, 0.8f}, {0.80f, 0.45f, 0.90f, 0.6f}, {1, 1, 1, 1},
};

struct Scene {
    char text[8192];
    u8 kinds[8192];
    i64 length;
    u32 uploaded;  // a 2x2 texture given new pixels between two draws of it
};

Scene scene;

void make_text(i64 glyphs, i64 line) {
    scene.length = 0;
    for (i64 i = 0; i < glyphs && scene.length + 2 < (i64)sizeof scene.text; i++) {
        scene.text[scene.length] = (char)('!' + (i * 13) % 90);
        scene.kinds[scene.length++] = (u8)((i / 3) % 7);  // kind 6 is beyond the palette
        if (i % line == line - 1) {
            scene.kinds[scene.length] = 0;
            scene.text[scene.length++] = '\n';
        }
    }
}

// The scene changes a texture it has drawn: what it drew so far goes out first.
void upload(const u8* pixels) {
    draw_list_submit();
    texture_unit(0);
    texture_bind(1, scene.uploaded);
    texture_image_2d(1, 0, 13, 2, 2, 8, 0, pixels);
}

void draw_text_block(f64 x, f64 y, i64 bytes, f64 text_scale) {
    if (bytes > scene.length) bytes = scene.length;
    draw_text_colored(&render.font, palette, 6, StringView{scene.text, bytes}, scene.kinds, x, y, text_scale, text_scale, 0,
                      1000000000.0);
}

// Quads of several textures, overlapping, translucent and turned.
void draw_shapes() {
    for (i32 i = 0; i < 12; i++) {
        Color c = palette[i % 6];
        c.a = 0.35f + 0.05f * (f32)(i % 5);
        draw_rect(c, 40 + 30 * i, 420 + 9 * (i % 4), 120, 80);
    }
    const i32 icons[5] = {icon_star, icon_cube, icon_sphere, icon_circle2, icon_gradient1};
    for (i32 i = 0; i < 20; i++) {
        u32 texture = render.icon_textures[icons[i % 5]];
        Color tint = palette[(i + 2) % 6];
        draw_quad(texture, tint, 560 + 22 * i, 470 + 11 * (i % 7), 64, 48, 32, 24, 0.31 * i, uv_rect_full);
    }
    // Half a texture stretched, a mirrored quad, one of zero width.
    draw_quad(render.icon_textures[icon_gradient2], palette[5], 820, 600, 150, 100, 0, 0, 0, UvRect{0, 0, 0.5f, 1});
    draw_quad(render.icon_textures[icon_star], palette[1], 800, 380, -90, 60, 0, 0, 0, uv_rect_full);
    draw_quad(render.icon_textures[icon_star], palette[0], 700, 380, 0, 60, 0, 0, 0, uv_rect_full);
}

void draw_busy_frame() {
    const u8 red[16] = {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255};
    const u8 blue[16] = {0, 0, 255, 255, 0, 0, 255, 160, 0, 0, 255, 255, 0, 0, 255, 90};
    begin_frame();
    draw_text_block(10, 740, 1200, 0.6);
    draw_shapes();

    // Text and quads clipped to two regions, one inside the other.
    scissor_set(600, 120, 300, 200);
    draw_rect(Color{0.1f, 0.1f, 0.3f, 0.9f}, 560, 100, 400, 260);
    draw_text_block(560, 300, 900, 0.5);
    scissor_set(650, 150, 120, 90);
    draw_quad(render.icon_textures[icon_sphere], palette[3], 700, 200, 160, 160, 80, 80, 0.7, uv_rect_full);
    draw_text_block(600, 230, 300, 0.9);
    scissor_off();

    // The texture's first pixels must stay with the quad drawn before the upload (the
    // binding does not change in between).
    upload(red);
    draw_quad(scene.uploaded, palette[5], 40, 40, 100, 100, 0, 0, 0, uv_rect_full);
    upload(blue);
    draw_quad(scene.uploaded, palette[5], 160, 40, 100, 100, 0, 0, 0, uv_rect_full);
    draw_text_block(280, 220, 200, 0.5);

    // A different "gamma" for one of three quads of the same texture: a uniform set by
    // the scene itself, with the list submitted around it.
    draw_rect(Color{0.5f, 0.5f, 0.5f, 0.7f}, 300, 40, 80, 100);
    draw_list_submit();
    shader_uniform1f(render.gpu.simple_gamma, 1.4f);
    draw_rect(Color{0.5f, 0.5f, 0.5f, 0.7f}, 400, 40, 80, 100);
    draw_list_submit();
    shader_uniform1f(render.gpu.simple_gamma, (f32)render.gpu.gamma);
    draw_rect(Color{0.5f, 0.5f, 0.5f, 0.7f}, 500, 40, 80, 100);

    draw_text_block(560, 60, 400, 0.45);
    end_frame();
}

void draw_text_frame() {
    begin_frame();
    draw_text_block(4, 760, scene.length, 1);
    end_frame();
}
}  // namespace

int main(int argc, char** argv) {
    bool text_only = argc > 1 && strcmp(argv[1], "text") == 0;
    system_init(13);
    if (!display_open(1024, 768, SV("batch scene"), 0x40, 0)) {
        puts("display_open failed");
        return 1;
    }
    arenas_reserve();
    theme_set_defaults();
    void* image_memory = malloc((size_t)16 << 20);
    image_set_buffer((i64)16 << 20, image_memory);
    image_set_flip(true);
    gpu_setup();
    resources_load();
    scene.uploaded = texture_create();
    texture_bind(1, scene.uploaded);
    texture_parameter_filter(1, 3, 0);
    texture_parameter_filter(1, 4, 0);
    texture_unbind(1);
    if (text_only) make_text(6000, 100);
    else make_text(2400, 60);

    for (i64 frame = 1;; frame++) {
        input_poll();
        if (display_is_closed() || system_termination_requested()) break;
        if (text_only) draw_text_frame();
        else draw_busy_frame();
        pipeline_present();
        if (frame == 3) {
            GpuFrameStats stats = gpu_frame_stats();
            printf("presented 3\ndraws %lld gl %lld calls %lld\n", (long long)stats.draws,
                   (long long)stats.gl_draw_calls, (long long)stats.gl_calls);
            fflush(stdout);
        }
        system_sleep(20);
    }
    texture_destroy(scene.uploaded);
    resources_destroy();
    gpu_release();
    display_close();
    system_release();
    return 0;
}
