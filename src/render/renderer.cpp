#include "render/renderer.h"

#include <cstdio>

#include "platform/platform.h"
#include "render/draw_list.h"
#include "render/theme.h"

Renderer renderer;

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
    renderer.gamma = 2.2;
    renderer.view_matrix = matrix_identity();

    renderer.quad_vertex_array = vertex_array_create();
    renderer.quad_buffer = buffer_create();
    vertex_array_bind(renderer.quad_vertex_array);
    buffer_bind(0, renderer.quad_buffer);
    buffer_data(0, (i64)sizeof quad_vertices, quad_vertices, 0);
    attribute_enable(0);
    attribute_format(0, 2, 6, false, 16, 0);
    attribute_enable(1);
    attribute_format(1, 2, 6, false, 16, 8);
    vertex_array_unbind();

    renderer.simple_shader = compile_program(simple_shader_text, SV("failed to compile simple_shader!\n"));
    renderer.simple_diffuse = shader_get_uniform_location(renderer.simple_shader, SV("diffuse"));
    renderer.simple_gamma = shader_get_uniform_location(renderer.simple_shader, SV("gamma"));
    // Quads always sample unit 0; the value outlives every frame.
    shader_bind(renderer.simple_shader);
    shader_uniform1i(renderer.simple_diffuse, 0);

    renderer.gamma_shader = compile_program(gamma_shader_text, SV("failed to compile gamma_shader!\n"));
    renderer.gamma_mvp = shader_get_uniform_location(renderer.gamma_shader, SV("mvp"));
    renderer.gamma_diffuse = shader_get_uniform_location(renderer.gamma_shader, SV("diffuse"));
    renderer.gamma_gamma = shader_get_uniform_location(renderer.gamma_shader, SV("gamma"));

    renderer.width = 1024;
    renderer.height = 768;
    projection_update();
    // Quads of an earlier set-up name objects that are gone.
    draw_list_reset();
    frame_buffer_resize();
    pipeline_set_submit_hook(draw_list_submit);
}

void projection_update() {
    f32 w = (f32)renderer.width, h = (f32)renderer.height;
    Matrix p{};
    p.e[0] = 2 / w;
    p.e[5] = 2 / h;
    p.e[10] = -1;
    p.e[12] = -1;
    p.e[13] = -1;
    p.e[14] = -0.0f;
    p.e[15] = 1;
    renderer.projection_matrix = p;
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
    if (renderer.frame_buffer != 0) frame_buffer_destroy(renderer.frame_buffer);
    if (renderer.frame_texture != 0) texture_destroy(renderer.frame_texture);

    renderer.frame_buffer = frame_buffer_create();
    renderer.frame_texture = texture_create();
    texture_bind(1, renderer.frame_texture);
    texture_image_2d(1, 0, 29, renderer.width, renderer.height, 8, 0, nullptr);
    texture_parameter_wrap(1, 0, 2);
    texture_parameter_wrap(1, 1, 2);
    texture_parameter_filter(1, 3, 0);
    texture_parameter_filter(1, 4, 0);
    texture_unbind(1);

    frame_buffer_bind(0, renderer.frame_buffer);
    frame_buffer_texture(0, 3, 0, renderer.frame_texture, 0);
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
    renderer.combined_matrix = matrix_multiply(renderer.view_matrix, renderer.projection_matrix);
    frame_buffer_bind(0, renderer.frame_buffer);
    pipeline_blend_enable(true);
    pipeline_blend_factor(3, 9);
    pipeline_viewport(0, 0, renderer.width, renderer.height);

    Color background = theme.background_color;
    pipeline_clear_color((f32)math_pow(background.r, renderer.gamma), (f32)math_pow(background.g, renderer.gamma),
                         (f32)math_pow(background.b, renderer.gamma), background.a);
    pipeline_clear(4);

    shader_bind(renderer.simple_shader);
    shader_uniform1f(renderer.simple_gamma, (f32)renderer.gamma);
}

void end_frame() {
    draw_list_submit();
    pipeline_blend_enable(false);
    frame_buffer_unbind(0);
    pipeline_viewport(0, 0, renderer.width, renderer.height);

    shader_bind(renderer.gamma_shader);
    texture_unit(0);
    texture_bind(1, renderer.frame_texture);
    Matrix mvp = matrix_multiply(translate(-1, -1), scale(2, 2));
    shader_uniform_matrix4fa(renderer.gamma_mvp, 1, false, mvp.e);
    shader_uniform1i(renderer.gamma_diffuse, 0);
    shader_uniform1f(renderer.gamma_gamma, (f32)renderer.gamma);

    vertex_array_bind(renderer.quad_vertex_array);
    draw_arrays(5, 0, 4, 1);
    vertex_array_unbind();
    texture_unbind(1);
}

void gpu_release() {
    pipeline_set_submit_hook(nullptr);
    draw_list_drop();
    shader_destroy(renderer.gamma_shader);
    shader_destroy(renderer.simple_shader);
    buffer_destroy(renderer.quad_buffer);
    vertex_array_destroy(renderer.quad_vertex_array);
    if (renderer.frame_buffer != 0) frame_buffer_destroy(renderer.frame_buffer);
    if (renderer.frame_texture != 0) texture_destroy(renderer.frame_texture);
    renderer.gamma_shader = renderer.simple_shader = 0;
    renderer.quad_buffer = renderer.quad_vertex_array = 0;
    renderer.frame_buffer = renderer.frame_texture = 0;
}
