#include "render/renderer.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "render/draw_list.h"
#include "render/frame_damage.h"
#include "render/theme.h"

RenderState render;

// Unit square as a triangle strip for the gamma pass: position (x, y) then texture
// coordinate (u, v).
static const f32 quad_vertices[16] = {
    0, 0, 0, 0,  //
    1, 0, 1, 0,  //
    0, 1, 0, 1,  //
    1, 1, 1, 1,  //
};

static void write_out(StringView text) {
    if (text.length > 0) fwrite(text.data, 1, (size_t)text.length, stdout);
}

static u32 compile_program(StringView source, StringView failure_message) {
    u32 program = shader_create();
    char log[256] = {};
    ShaderResult result = shader_source(program, source, StringView{log, (i64)sizeof log});
    if (!result.ok) {
        write_out(failure_message);
        write_out(result.log);
        fflush(stdout);
    }
    return program;
}

void gpu_setup() {
    render.frames = FramePacing{};
    frame_damage_release();
    render.gpu.gamma = 2.2;
    render.gpu.view_matrix = matrix_identity();

    render.gpu.quad_vertex_array = vertex_array_create();
    render.gpu.quad_buffer = buffer_create();
    vertex_array_bind(render.gpu.quad_vertex_array);
    buffer_bind(0, render.gpu.quad_buffer);
    buffer_data(0, (i64)sizeof quad_vertices, quad_vertices, 0);
    attribute_enable(0);
    attribute_format(0, 2, 6, false, 16, 0);
    attribute_enable(1);
    attribute_format(1, 2, 6, false, 16, 8);
    vertex_array_unbind();

    render.gpu.simple_shader = compile_program(simple_shader_text, SV("failed to compile simple_shader!\n"));
    render.gpu.simple_diffuse = shader_get_uniform_location(render.gpu.simple_shader, SV("diffuse"));
    render.gpu.simple_gamma = shader_get_uniform_location(render.gpu.simple_shader, SV("gamma"));
    // Quads always sample unit 0; the value outlives every frame.
    shader_bind(render.gpu.simple_shader);
    shader_uniform1i(render.gpu.simple_diffuse, 0);

    render.gpu.gamma_shader = compile_program(gamma_shader_text, SV("failed to compile gamma_shader!\n"));
    render.gpu.gamma_mvp = shader_get_uniform_location(render.gpu.gamma_shader, SV("mvp"));
    render.gpu.gamma_diffuse = shader_get_uniform_location(render.gpu.gamma_shader, SV("diffuse"));
    render.gpu.gamma_gamma = shader_get_uniform_location(render.gpu.gamma_shader, SV("gamma"));

    render.gpu.width = 1024;
    render.gpu.height = 768;
    projection_update();
    // Quads of an earlier set-up name objects that are gone.
    draw_list_reset();
    frame_buffer_resize();
    pipeline_set_submit_hook(draw_list_submit);
}

void projection_update() {
    f32 w = (f32)render.gpu.width, h = (f32)render.gpu.height;
    Matrix p{};
    p.e[0] = 2 / w;
    p.e[5] = 2 / h;
    p.e[10] = -1;
    p.e[12] = -1;
    p.e[13] = -1;
    p.e[14] = -0.0f;
    p.e[15] = 1;
    render.gpu.projection_matrix = p;
}

static const StringView frame_buffer_messages[9] = {
    SV(""),
    SV("frame buffer error: undefined\n"),
    SV("frame buffer error: incomplete attachment\n"),
    SV("frame buffer error: missing attachment\n"),
    SV("frame buffer error: incomplete draw buffer\n"),
    SV("frame buffer error: incomplete read attachment\n"),
    SV("frame buffer error: incomplete attachment\n"),
    SV("frame buffer error: incomplete layer attachment\n"),
    SV("frame buffer error: unsupported\n"),
};

static void release_display_target() {
    if (render.gpu.display_buffer != 0) frame_buffer_destroy(render.gpu.display_buffer);
    if (render.gpu.display_texture != 0) texture_destroy(render.gpu.display_texture);
    render.gpu.display_buffer = render.gpu.display_texture = 0;
}

// An 8-bit picture like the window's own, so that the copy gives the same pixels the
// gamma pass would have written to the window.
static void make_display_target() {
    if (render.gpu.display_buffer != 0) return;
    render.gpu.display_texture = texture_create();
    texture_bind(1, render.gpu.display_texture);
    texture_image_2d(1, 0, 13, render.gpu.width, render.gpu.height, 8, 0, nullptr);
    texture_parameter_filter(1, 3, 0);
    texture_parameter_filter(1, 4, 0);
    texture_unbind(1);
    render.gpu.display_buffer = frame_buffer_create();
    frame_buffer_bind(0, render.gpu.display_buffer);
    frame_buffer_texture(0, 3, 0, render.gpu.display_texture, 0);
    const u32 draw_buffers[1] = {0};
    pipeline_draw_buffers(1, draw_buffers);
    frame_buffer_unbind(0);
    frame_damage_forget();
}

void frame_buffer_resize() {
    draw_list_submit();
    // The new targets hold nothing yet.
    frame_damage_forget();
    release_display_target();
    if (render.gpu.frame_buffer != 0) frame_buffer_destroy(render.gpu.frame_buffer);
    if (render.gpu.frame_texture != 0) texture_destroy(render.gpu.frame_texture);

    render.gpu.frame_buffer = frame_buffer_create();
    render.gpu.frame_texture = texture_create();
    texture_bind(1, render.gpu.frame_texture);
    texture_image_2d(1, 0, 29, render.gpu.width, render.gpu.height, 8, 0, nullptr);
    texture_parameter_wrap(1, 0, 2);
    texture_parameter_wrap(1, 1, 2);
    texture_parameter_filter(1, 3, 0);
    texture_parameter_filter(1, 4, 0);
    texture_unbind(1);

    frame_buffer_bind(0, render.gpu.frame_buffer);
    frame_buffer_texture(0, 3, 0, render.gpu.frame_texture, 0);
    const u32 draw_buffers[1] = {0};
    pipeline_draw_buffers(1, draw_buffers);

    i32 status = frame_buffer_get_status(0);
    if (status >= 1 && status <= 8) {
        write_out(frame_buffer_messages[status]);
        fflush(stdout);
    }
    frame_buffer_unbind(0);
}

// The frame's GPU work: target, blend, viewport, clear (of `area` only), program.
static void start_frame_on_gpu(const Damage& areas) {
    render.frames.gpu_started = true;
    frame_buffer_bind(0, render.gpu.frame_buffer);
    pipeline_blend_enable(true);
    pipeline_blend_factor(3, 9);
    pipeline_viewport(0, 0, render.gpu.width, render.gpu.height);

    Color background = render.theme.background_color;
    pipeline_clear_color((f32)math_pow(background.r, render.gpu.gamma), (f32)math_pow(background.g, render.gpu.gamma),
                         (f32)math_pow(background.b, render.gpu.gamma), background.a);
    for (i32 i = 0; i < areas.count; i++) {
        DamageRect area = areas.rects[i];
        bool whole = area.x0 <= 0 && area.y0 <= 0 && area.x1 >= render.gpu.width && area.y1 >= render.gpu.height;
        if (!whole) {
            pipeline_scissor_enable(true);
            pipeline_scissor_rect(area.x0, area.y0, area.x1 - area.x0, area.y1 - area.y0);
        }
        pipeline_clear(4);
        if (!whole) pipeline_scissor_enable(false);
    }

    shader_bind(render.gpu.simple_shader);
    shader_uniform1f(render.gpu.simple_gamma, (f32)render.gpu.gamma);
}

static Damage whole_window() { return Damage{1, {DamageRect{0, 0, render.gpu.width, render.gpu.height}}}; }

void frame_present(bool whole) {
    const Damage& c = render.frames.changed;
    if (whole || c.count == 0) {
        pipeline_present();
        return;
    }
    i32 rects[4 * damage_rect_limit];
    for (i32 i = 0; i < c.count; i++) {
        const DamageRect& r = c.rects[i];
        rects[4 * i] = r.x0, rects[4 * i + 1] = r.y0, rects[4 * i + 2] = r.x1 - r.x0, rects[4 * i + 3] = r.y1 - r.y0;
    }
    pipeline_present_areas(rects, c.count);
}

void begin_frame() {
    draw_list_drop();
    render.gpu.combined_matrix = matrix_multiply(render.gpu.view_matrix, render.gpu.projection_matrix);
    render.frames.gpu_started = false;
    render.frames.handed_over_early = false;
    render.frames.wanted_in = -1;
    if (!render.frames.skip_unchanged) start_frame_on_gpu(whole_window());
}

void frame_about_to_draw() {
    if (render.frames.gpu_started) return;
    render.frames.handed_over_early = true;
    start_frame_on_gpu(whole_window());
}

void frame_request(f64 seconds) {
    if (!(seconds >= 0)) seconds = 0;
    if (render.frames.wanted_in < 0 || seconds < render.frames.wanted_in) render.frames.wanted_in = seconds;
}

// The gamma pass: the linear frame to the current target, within `area` when given.
static void gamma_pass(const DamageRect* area) {
    pipeline_blend_enable(false);
    pipeline_viewport(0, 0, render.gpu.width, render.gpu.height);
    if (area) {
        pipeline_scissor_enable(true);
        pipeline_scissor_rect(area->x0, area->y0, area->x1 - area->x0, area->y1 - area->y0);
    }
    shader_bind(render.gpu.gamma_shader);
    texture_unit(0);
    texture_bind(1, render.gpu.frame_texture);
    Matrix mvp = matrix_multiply(translate(-1, -1), scale(2, 2));
    shader_uniform_matrix4fa(render.gpu.gamma_mvp, 1, false, mvp.e);
    shader_uniform1i(render.gpu.gamma_diffuse, 0);
    shader_uniform1f(render.gpu.gamma_gamma, (f32)render.gpu.gamma);

    vertex_array_bind(render.gpu.quad_vertex_array);
    draw_arrays(5, 0, 4, 1);
    vertex_array_unbind();
    texture_unbind(1);
    if (area) pipeline_scissor_enable(false);
}

// Frames on change: only the damaged part of the kept linear frame is cleared and drawn
// again, and only that part is gamma-corrected. Where the window keeps its back buffer
// (presents of a part, no swaps) that buffer is the kept picture; elsewhere an 8-bit
// picture is kept and copied whole, so nothing depends on what a swap leaves behind.
static void gamma_passes(const Damage& areas) {
    for (i32 i = 0; i < areas.count; i++) gamma_pass(&areas.rects[i]);
}

static bool end_kept_frame(bool draw_anyway) {
    Damage d = whole_window();
    if (render.frames.handed_over_early) {
        frame_damage_forget();
        draw_list_submit();
    } else {
        d = frame_damage_compute();
        if (d.count == 0 && !draw_anyway) {
            draw_list_drop();
            render.frames.left_out++;
            return false;
        }
        if (d.count == 0) {
            draw_list_drop();
        } else {
            start_frame_on_gpu(d);
            frame_damage_submit(d);
        }
    }
    render.frames.drawn++;
    if (pipeline_window_keeps_picture()) {
        // The window is the kept picture: the changed part is gamma-corrected into it.
        release_display_target();
        if (d.count > 0) {
            frame_buffer_unbind(0);
            gamma_passes(d);
        }
        render.frames.changed = d;
        return true;
    }
    bool fresh_target = render.gpu.display_buffer == 0;
    make_display_target();
    if (fresh_target) d = whole_window();  // the picture must be whole before it is copied
    if (d.count > 0) {
        frame_buffer_bind(0, render.gpu.display_buffer);
        gamma_passes(d);
    }
    frame_buffer_copy_to_window(render.gpu.display_buffer, render.gpu.width, render.gpu.height);
    render.frames.changed = d;
    return true;
}

bool end_frame(bool draw_anyway) {
    if (render.frames.skip_unchanged) return end_kept_frame(draw_anyway);
    render.frames.drawn++;
    draw_list_submit();
    frame_buffer_unbind(0);
    gamma_pass(nullptr);
    render.frames.changed = Damage{};
    return true;
}

void gpu_release() {
    pipeline_set_submit_hook(nullptr);
    draw_list_drop();
    shader_destroy(render.gpu.gamma_shader);
    shader_destroy(render.gpu.simple_shader);
    buffer_destroy(render.gpu.quad_buffer);
    vertex_array_destroy(render.gpu.quad_vertex_array);
    if (render.gpu.frame_buffer != 0) frame_buffer_destroy(render.gpu.frame_buffer);
    if (render.gpu.frame_texture != 0) texture_destroy(render.gpu.frame_texture);
    release_display_target();
    frame_damage_release();
    render.frames.skip_unchanged = false;
    render.gpu.gamma_shader = render.gpu.simple_shader = 0;
    render.gpu.quad_buffer = render.gpu.quad_vertex_array = 0;
    render.gpu.frame_buffer = render.gpu.frame_texture = 0;
}
