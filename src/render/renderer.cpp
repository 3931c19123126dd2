#include "render/renderer.h"

#include <cstdio>

#include "platform/platform.h"
#include "render/draw_list.h"
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

void frame_buffer_resize() {
    draw_list_submit();
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

void begin_frame() {
    draw_list_drop();
    render.gpu.combined_matrix = matrix_multiply(render.gpu.view_matrix, render.gpu.projection_matrix);
    frame_buffer_bind(0, render.gpu.frame_buffer);
    pipeline_blend_enable(true);
    pipeline_blend_factor(3, 9);
    pipeline_viewport(0, 0, render.gpu.width, render.gpu.height);

    Color background = render.theme.background_color;
    pipeline_clear_color((f32)math_pow(background.r, render.gpu.gamma), (f32)math_pow(background.g, render.gpu.gamma),
                         (f32)math_pow(background.b, render.gpu.gamma), background.a);
    pipeline_clear(4);

    shader_bind(render.gpu.simple_shader);
    shader_uniform1f(render.gpu.simple_gamma, (f32)render.gpu.gamma);
}

void end_frame() {
    draw_list_submit();
    pipeline_blend_enable(false);
    frame_buffer_unbind(0);
    pipeline_viewport(0, 0, render.gpu.width, render.gpu.height);

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
    render.gpu.gamma_shader = render.gpu.simple_shader = 0;
    render.gpu.quad_buffer = render.gpu.quad_vertex_array = 0;
    render.gpu.frame_buffer = render.gpu.frame_texture = 0;
}
