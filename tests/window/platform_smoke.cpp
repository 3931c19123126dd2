// A real window driven only through platform.h, for platform_smoke.sh: it draws a fixed
// scene whose pixels the script checks, and reports on stdout, one line each, the input
// it receives ("pressed 2 mods 0", "text a", "mouse 2 321 123", ...). F10, the close
// request (button, SIGINT) and termination (SIGTERM, SIGHUP) end it with status 0. Key C prints the clipboard, key
// S puts a long text on it. With the argument "paced" the swap waits for the display.
//
// Scene, in window pixels with y from the top (the script's coordinates):
//   background (0.2, 0.4, 0.6)
//   x 100..300, y 100..300: a 2x2 texture, nearest: blue top-left, white top-right,
//                            red bottom-left, green bottom-right
//   x 400..500, y 100..200: an offscreen frame buffer (internal format 29) cleared to magenta, its left half
//                            drawn yellow
//   x 600..700, y 100..200: black at alpha 0.5 blended over the background
//   x 100..300, y 400..500: orange, scissored to x 100..200
//   x 400..500 and 550..650, y 400..500: cyan, one draw of two instances
//   x 100..164, y 600..664: a mipmapped 2x2 green texture, linear
//   x 200..264, y 600..664: the same without mipmaps, linear
//   x 800..900, y 100..200: a run of two quads (pipeline_draw_quads), red then green,
//                            scissored to y 100..150; drawn before the scissored orange
//                            and the instanced cyan, which must not be disturbed by it
//   x 800..900, y 250..300: a blue run without a scissor
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace {
const char* shader_text =
    "#vertex\n"
    "#version 330 core\n"
    "uniform mat4 mvp;\n"
    "uniform vec4 rect;\n"
    "uniform float instance_step;\n"
    "layout(location = 0) in vec2 a_position;\n"
    "layout(location = 1) in vec2 a_uv;\n"
    "out vec2 uv;\n"
    "void main()\n"
    "{\n"
    "  vec2 p = rect.xy + a_position * rect.zw + vec2(instance_step * float(gl_InstanceID), 0.0);\n"
    "  gl_Position = mvp * vec4(p, 0.0, 1.0);\n"
    "  uv = a_uv;\n"
    "}\n"
    "#fragment\n"
    "#version 330 core\n"
    "uniform vec4 color;\n"
    "uniform sampler2D diffuse;\n"
    "in vec2 uv;\n"
    "out vec4 fragment_color;\n"
    "void main()\n"
    "{\n"
    "  fragment_color = color * texture(diffuse, uv);\n"
    "}\n";

// Reads the instance layout of QuadInstance.
const char* quad_shader_text =
    "#vertex\n"
    "#version 330 core\n"
    "layout(location = 0) in mat4 mvp;\n"
    "layout(location = 4) in vec4 color;\n"
    "layout(location = 5) in vec4 uv_rect;\n"
    "out vec2 uv;\n"
    "flat out vec4 tint;\n"
    "void main()\n"
    "{\n"
    "  vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));\n"
    "  gl_Position = mvp * vec4(corner, 0.0, 1.0);\n"
    "  uv = corner * uv_rect.zw + uv_rect.xy;\n"
    "  tint = color;\n"
    "}\n"
    "#fragment\n"
    "#version 330 core\n"
    "uniform sampler2D diffuse;\n"
    "in vec2 uv;\n"
    "flat in vec4 tint;\n"
    "out vec4 fragment_color;\n"
    "void main()\n"
    "{\n"
    "  fragment_color = tint * texture(diffuse, uv);\n"
    "}\n";

const char* broken_shader_text =
    "#vertex\n"
    "#version 330 core\n"
    "void main() { gl_Position = undefined_name; }\n"
    "#fragment\n"
    "#version 330 core\n"
    "out vec4 c;\n"
    "void main() { c = vec4(1.0); }\n";

struct Scene {
    u32 program;
    u32 quad_program;
    i32 mvp, rect, instance_step, color, diffuse;
    u32 quad_array, quad_buffer;
    u32 white, checker, mipmapped, plain, offscreen, offscreen_texture;
    i32 width, height;
};

Scene scene;

void say(const char* line) {
    fputs(line, stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

u32 make_texture(i32 width, i32 height, const u8* pixels, u32 internal_format, u32 filter, bool mipmaps) {
    u32 texture = texture_create();
    texture_bind(1, texture);
    texture_image_2d(1, 0, internal_format, width, height, 8, 0, pixels);
    texture_parameter_wrap(1, 0, 2);
    texture_parameter_wrap(1, 1, 2);
    texture_parameter_filter(1, 3, filter);
    texture_parameter_filter(1, 4, filter);
    if (mipmaps) texture_generate_mipmap(1);
    texture_unbind(1);
    return texture;
}

void build_scene() {
    char log_memory[256] = {};
    StringView log_buffer = {log_memory, (i64)sizeof log_memory};

    u32 broken = shader_create();
    ShaderResult bad = shader_source(broken, sv_from_cstr(broken_shader_text), log_buffer);
    printf("broken shader ok %d log %lld\n", bad.ok, (long long)bad.log.length);
    shader_destroy(broken);

    memset(log_memory, 0, sizeof log_memory);
    scene.program = shader_create();
    ShaderResult good = shader_source(scene.program, sv_from_cstr(shader_text), log_buffer);
    printf("shader ok %d\n", good.ok);
    if (!good.ok) printf("%.*s\n", (int)good.log.length, good.log.data);
    scene.mvp = shader_get_uniform_location(scene.program, SV("mvp"));
    scene.rect = shader_get_uniform_location(scene.program, SV("rect"));
    scene.instance_step = shader_get_uniform_location(scene.program, SV("instance_step"));
    scene.color = shader_get_uniform_location(scene.program, SV("color"));
    scene.diffuse = shader_get_uniform_location(scene.program, SV("diffuse"));

    scene.quad_program = shader_create();
    good = shader_source(scene.quad_program, sv_from_cstr(quad_shader_text), log_buffer);
    printf("quad shader ok %d\n", good.ok);

    const f32 quad[16] = {0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 0, 1, 1, 1, 1, 1};
    scene.quad_array = vertex_array_create();
    scene.quad_buffer = buffer_create();
    vertex_array_bind(scene.quad_array);
    buffer_bind(0, scene.quad_buffer);
    buffer_data(0, sizeof quad, quad, 0);
    attribute_enable(0);
    attribute_format(0, 2, 6, false, 16, 0);
    attribute_enable(1);
    attribute_format(1, 2, 6, false, 16, 8);
    vertex_array_unbind();

    const u8 white[4] = {255, 255, 255, 255};
    // Row 0 is the bottom row, as the renderer loads its images.
    const u8 checker[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    const u8 green[16] = {0, 128, 0, 255, 0, 128, 0, 255, 0, 128, 0, 255, 0, 128, 0, 255};
    scene.white = make_texture(1, 1, white, 13, 0, false);
    scene.checker = make_texture(2, 2, checker, 13, 0, false);
    scene.mipmapped = make_texture(2, 2, green, 13, 1, true);
    scene.plain = make_texture(2, 2, green, 13, 1, false);

    scene.offscreen_texture = make_texture(100, 100, nullptr, 29, 0, false);
    scene.offscreen = frame_buffer_create();
    frame_buffer_bind(0, scene.offscreen);
    frame_buffer_texture(0, 3, 0, scene.offscreen_texture, 0);
    u32 draw_buffer = 0;
    pipeline_draw_buffers(1, &draw_buffer);
    printf("frame buffer status %d\n", frame_buffer_get_status(0));
    frame_buffer_unbind(0);
    fflush(stdout);
}

void set_projection(i32 width, i32 height) {
    f32 m[16] = {};
    m[0] = 2.0f / (f32)width;
    m[5] = 2.0f / (f32)height;
    m[10] = -1;
    m[12] = -1;
    m[13] = -1;
    m[15] = 1;
    shader_uniform_matrix4fa(scene.mvp, 1, false, m);
}

// Rectangles are given with y from the top of a window of the current height.
void draw_rect(u32 texture, f32 r, f32 g, f32 b, f32 a, f32 x, f32 top, f32 w, f32 h, i32 instances = 1) {
    texture_unit(0);
    texture_bind(1, texture);
    shader_uniform1i(scene.diffuse, 0);
    shader_uniform4f(scene.color, r, g, b, a);
    shader_uniform4f(scene.rect, x, (f32)scene.height - top - h, w, h);
    vertex_array_bind(scene.quad_array);
    draw_arrays(5, 0, 4, instances);
    vertex_array_unbind();
}

// One instance covering a rectangle given with y from the top, the whole texture.
QuadInstance quad_instance(f32 r, f32 g, f32 b, f32 x, f32 top, f32 w, f32 h) {
    QuadInstance q = {};
    q.mvp[0] = 2 * w / (f32)scene.width;
    q.mvp[5] = 2 * h / (f32)scene.height;
    q.mvp[10] = -1;
    q.mvp[12] = 2 * x / (f32)scene.width - 1;
    q.mvp[13] = 2 * ((f32)scene.height - top - h) / (f32)scene.height - 1;
    q.mvp[15] = 1;
    q.color[0] = r;
    q.color[1] = g;
    q.color[2] = b;
    q.color[3] = 1;
    q.uv_rect[2] = q.uv_rect[3] = 1;
    return q;
}

void draw_quad_runs() {
    shader_bind(scene.quad_program);
    const QuadInstance pair[2] = {quad_instance(1, 0, 0, 800, 100, 50, 100), quad_instance(0, 1, 0, 850, 100, 50, 100)};
    const QuadScissor top_half = {800, scene.height - 150, 100, 50};
    pipeline_draw_quads(scene.white, &top_half, pair, 2);
    const QuadInstance blue = quad_instance(0, 0, 1, 800, 250, 100, 50);
    pipeline_draw_quads(scene.white, nullptr, &blue, 1);
    shader_bind(scene.program);
}

void draw_offscreen() {
    frame_buffer_bind(0, scene.offscreen);
    pipeline_viewport(0, 0, 100, 100);
    pipeline_clear_color(1, 0, 1, 1);
    pipeline_clear(4);
    set_projection(100, 100);
    i32 height = scene.height;
    scene.height = 100;
    draw_rect(scene.white, 1, 1, 0, 1, 0, 0, 50, 100);
    scene.height = height;
    frame_buffer_unbind(0);
}

void draw_scene() {
    shader_bind(scene.program);
    shader_uniform1f(scene.instance_step, 0);
    draw_offscreen();

    pipeline_viewport(0, 0, scene.width, scene.height);
    pipeline_clear_color(0.2f, 0.4f, 0.6f, 1);
    pipeline_clear(4);
    set_projection(scene.width, scene.height);
    pipeline_blend_enable(true);
    pipeline_blend_factor(3, 9);

    draw_rect(scene.checker, 1, 1, 1, 1, 100, 100, 200, 200);
    draw_rect(scene.offscreen_texture, 1, 1, 1, 1, 400, 100, 100, 100);
    draw_rect(scene.white, 0, 0, 0, 0.5f, 600, 100, 100, 100);
    draw_quad_runs();

    pipeline_scissor_enable(true);
    pipeline_scissor_rect(100, scene.height - 500, 100, 100);
    draw_rect(scene.white, 1, 0.5f, 0, 1, 100, 400, 200, 100);
    pipeline_scissor_enable(false);

    shader_uniform1f(scene.instance_step, 150);
    draw_rect(scene.white, 0, 1, 1, 1, 400, 400, 100, 100, 2);
    shader_uniform1f(scene.instance_step, 0);

    draw_rect(scene.mipmapped, 1, 1, 1, 1, 100, 600, 64, 64);
    draw_rect(scene.plain, 1, 1, 1, 1, 200, 600, 64, 64);
    pipeline_blend_enable(false);
}

void report_input() {
    char line[4200];
    for (i32 key = 1; key < key_count; key++) {
        if (input_key_is_pressed(key)) {
            printf("pressed %d mods %u\n", key, input_key_modifiers());
        } else if (input_key_is_typed(key) && key != key_any) {
            printf("repeated %d\n", key);
        }
        if (input_key_is_released(key)) printf("released %d\n", key);
    }
    StringView text = input_text_typed();
    if (text.length > 0) printf("text %.*s\n", (int)text.length, text.data);
    i32 x = 0, y = 0;
    input_mouse_position(&x, &y);
    for (i32 button = mouse_primary; button <= mouse_secondary; button++) {
        if (input_mouse_is_pressed(button)) printf("mouse %d %d %d\n", button, x, y);
        if (input_mouse_is_released(button)) printf("mouse released %d\n", button);
    }
    if (input_mouse_wheel()) printf("wheel %d\n", input_mouse_wheel());
    i32 width = 0, height = 0;
    if (display_is_resized(&width, &height)) {
        printf("resized %d %d\n", width, height);
        scene.width = width;
        scene.height = height;
    }
    if (display_is_focus_gained()) say("focus gained");
    if (display_is_focus_lost()) say("focus lost");
    if (input_key_is_pressed(key_C)) {
        StringView clip = clipboard_get();
        snprintf(line, sizeof line, "clipboard get %.*s", (int)clip.length, clip.data);
        say(line);
    }
    if (input_key_is_pressed(key_S)) {
        clipboard_set(SV("a longer text set by platform_smoke"));
        say("clipboard set");
    }
    if (input_first_event_time() > system_performance_counter()) say("event time in the future");
    fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
    // "paced": swap interval 1, as the editor runs with "-v"; otherwise unpaced.
    bool paced = argc > 1 && strcmp(argv[1], "paced") == 0;
    system_init(13);
    if (!display_open(1024, 768, SV("platform smoke"), paced ? 0x14 : 0x54, 1)) {
        say("display_open failed");
        return 1;
    }
    const u8 icon[16] = {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255};
    display_set_icon(2, 2, icon);
    display_set_icon(2, 2, nullptr);  // a missing icon image: nothing happens

    static char clip_buffer[8];
    clipboard_set_buffer(sizeof clip_buffer, clip_buffer);
    clipboard_set(SV("smoke clipboard out"));
    show_simple_message_box(0, SV("smoke"), SV("message text"));

    input_text_enable(true);
    input_mouse_set_cursor(1);
    input_mouse_set_cursor(0);
    input_mouse_set_visible(true);

    scene.width = 1024;
    scene.height = 768;
    build_scene();
    say("ready");
    i64 frames = 0;
    for (;;) {
        input_poll();
        if (display_is_closed()) {
            say("closed");
            break;
        }
        if (system_termination_requested()) {
            say("terminated");
            break;
        }
        if (input_key_is_pressed(key_quit)) {
            report_input();
            say("quit");
            break;
        }
        report_input();
        draw_scene();
        pipeline_present();
        frames++;
        if (frames == 3) say("presented 3");
        system_sleep(10);
    }
    texture_destroy(scene.white);
    texture_destroy(scene.checker);
    texture_destroy(scene.mipmapped);
    texture_destroy(scene.plain);
    texture_destroy(scene.offscreen_texture);
    frame_buffer_destroy(scene.offscreen);
    shader_destroy(scene.program);
    shader_destroy(scene.quad_program);
    buffer_destroy(scene.quad_buffer);
    vertex_array_destroy(scene.quad_array);
    display_close();
    system_release();
    return 0;
}
