#include "render/draw.h"

#include <cstring>

#include "platform/platform.h"
#include "render/draw_list.h"
#include "render/renderer.h"
#include "render/resources.h"

Matrix matrix_identity() {
    Matrix m{};
    m.e[0] = m.e[5] = m.e[10] = m.e[15] = 1;
    return m;
}

Matrix translate(f32 x, f32 y) {
    Matrix m = matrix_identity();
    m.e[12] = x;
    m.e[13] = y;
    return m;
}

Matrix scale(f32 sx, f32 sy) {
    Matrix m = matrix_identity();
    m.e[0] = sx;
    m.e[5] = sy;
    return m;
}

Matrix matrix_multiply(const Matrix& a, const Matrix& b) {
    Matrix r;
    for (int column = 0; column < 4; column++) {
        for (int row = 0; row < 4; row++) {
            f32 sum = 0;
            for (int k = 0; k < 4; k++) sum += a.e[k * 4 + row] * b.e[column * 4 + k];
            r.e[column * 4 + row] = sum;
        }
    }
    return r;
}

void draw_quad(u32 texture, Color color, f64 x, f64 y, f64 width, f64 height, f64 pivot_x, f64 pivot_y,
               f64 angle, UvRect uv_rect) {
    f64 turn = (f64)(f32)angle;
    f32 c = (f32)math_cos(turn), s = (f32)math_sin(turn);
    Matrix rotation = matrix_identity();
    rotation.e[0] = c;
    rotation.e[1] = s;
    rotation.e[4] = -s;
    rotation.e[5] = c;
    Matrix m = matrix_multiply(render.gpu.combined_matrix, translate((f32)x, (f32)y));
    m = matrix_multiply(m, rotation);
    m = matrix_multiply(m, translate((f32)-pivot_x, (f32)-pivot_y));
    m = matrix_multiply(m, scale((f32)width, (f32)height));

    QuadInstance* quad = draw_list_add(texture);
    memcpy(quad->mvp, m.e, sizeof quad->mvp);
    quad->color[0] = color.r;
    quad->color[1] = color.g;
    quad->color[2] = color.b;
    quad->color[3] = color.a;
    quad->uv_rect[0] = uv_rect.x;
    quad->uv_rect[1] = uv_rect.y;
    quad->uv_rect[2] = uv_rect.width;
    quad->uv_rect[3] = uv_rect.height;
    render.draw_list.last_color = color;
}

void draw_rect(Color color, f64 x, f64 y, f64 width, f64 height) {
    draw_quad(render.icon_textures[icon_white], color, x, y, width, height, 0, 0, 0, uv_rect_full);
}

Color color_scale(Color color, f32 factor) {
    return Color{color.r * factor, color.g * factor, color.b * factor, color.a * factor};
}

// Layout values may be anything a float holds; the conversion must stay defined.
static i32 pixel_truncate(f64 v) {
    if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
    if (!(v < 2147483647.0)) return INT32_MAX;
    return (i32)v;
}

void scissor_set(f64 x, f64 y, f64 width, f64 height) {
    render.draw_list.scissored = true;
    render.draw_list.scissor =
        QuadScissor{pixel_truncate(x), pixel_truncate(y), pixel_truncate(width), pixel_truncate(height)};
}

void scissor_off() { render.draw_list.scissored = false; }
