#pragma once
// The one drawing primitive (a textured, tinted, optionally rotated quad), the 4x4
// matrices it is built from, and the scissor helpers used for clipping.
#include "core/types.h"
#include "render/color.h"

// Column-major: e[12] and e[13] hold the x and y translation.
struct Matrix {
    f32 e[16];
};

// A sub-rectangle of a texture in texture coordinates, origin at the bottom-left.
struct UvRect {
    f32 x, y, width, height;
};

inline constexpr UvRect uv_rect_full = {0, 0, 1, 1};

Matrix matrix_identity();
Matrix translate(f32 x, f32 y);
Matrix scale(f32 sx, f32 sy);
// A x B: the product applies B first.
Matrix matrix_multiply(const Matrix& a, const Matrix& b);

// Draws the uv_rect part of `texture`, tinted by `color`, as a width x height rectangle
// whose point (pivot_x, pivot_y), measured from its bottom-left corner, lands on (x, y),
// turned counter-clockwise by `angle` radians about that point. The quad joins the frame's
// draw list (draw_list.h) and is drawn with the simple shader when the list is submitted.
void draw_quad(u32 texture, Color color, f64 x, f64 y, f64 width, f64 height, f64 pivot_x, f64 pivot_y,
               f64 angle, UvRect uv_rect);
// Solid rectangle with its bottom-left corner at (x, y).
void draw_rect(Color color, f64 x, f64 y, f64 width, f64 height);

// All four components, alpha included, multiplied by `factor`.
Color color_scale(Color color, f32 factor);

// The clip rectangle of the quads drawn from now on, in window pixels, origin
// bottom-left; the values are truncated to whole pixels.
void scissor_set(f64 x, f64 y, f64 width, f64 height);
void scissor_off();
