// Supersampled drawing surface for the icons: shapes are tested per sub-sample with hard
// edges, and resolve() averages the sub-samples into antialiased pixels.
#pragma once
#include <functional>
#include <vector>

#include "png_out.h"

struct Rgba {
    float r, g, b, a;
};
inline Rgba grey(float v, float a = 1.0f) { return {v, v, v, a}; }

struct P2 {
    float x, y;
};

// Placement of a drawing made on a 64 x 64 design grid (y down): the design centre (32, 32)
// lands at (cx, cy) on the canvas, scaled and turned clockwise by `angle` radians.
struct Xform {
    float cx = 32, cy = 32, scale = 1, angle = 0;
};

using Pred = std::function<bool(float x, float y)>;
using Shade = std::function<Rgba(float x, float y)>;
using Mask = std::vector<uint8_t>;

struct Canvas {
    int size;                // output pixels per side
    int ss;                  // sub-samples per pixel per axis
    int n;                   // size * ss
    std::vector<Rgba> px;    // premultiplied colour per sub-sample, rows top to bottom

    explicit Canvas(int size_, int ss_ = 8)
        : size(size_), ss(ss_), n(size_ * ss_), px(size_t(n) * size_t(n), Rgba{0, 0, 0, 0}) {}
    // Canvas position (pixels) of sub-sample (i, j).
    P2 sample_pos(int i, int j) const { return {(i + 0.5f) / ss, (j + 0.5f) / ss}; }
};

P2 to_design(const Xform& xf, P2 canvas_pos);

Mask rasterize(const Canvas& c, const Xform& xf, const Pred& inside);
void paint_mask(Canvas& c, const Mask& mask, const Xform& xf, const Shade& shade);
void fill(Canvas& c, const Xform& xf, const Pred& inside, const Shade& shade);
// Fills the shape over a dark rim `outline_px` canvas pixels wide drawn around it.
void fill_outlined(Canvas& c, const Xform& xf, const Pred& inside, const Shade& shade, float outline_px,
                   Rgba outline);
// Paints a rim of `width_px` canvas pixels around an existing mask, under nothing: callers draw it first.
void paint_rim(Canvas& c, const Mask& mask, float width_px, Rgba colour);
// Makes the shape transparent.
void erase(Canvas& c, const Xform& xf, const Pred& inside);
// Averages sub-samples into pixels with straight alpha; fully transparent pixels take the
// colour of nearby visible ones so that linear filtering does not darken the edges.
Image8 resolve(const Canvas& c);

// Shapes on the design grid.
Pred circle(float cx, float cy, float r);
Pred polygon(std::vector<P2> points);  // non-zero winding
Pred capsule(P2 a, P2 b, float r);
Pred round_rect(float x0, float y0, float x1, float y1, float r);
Pred unite(Pred a, Pred b);
Pred subtract(Pred a, Pred b);
Pred intersect(Pred a, Pred b);
// Every point of `points` mirrored, rotated or moved; used to build symmetric shapes.
std::vector<P2> regular_star(float cx, float cy, float outer, float inner, int points, float start_angle);

// Shades.
Shade flat(Rgba colour);
// Grey from `top` at y0 to `bottom` at y1 (clamped outside).
Shade vertical(float y0, float top, float y1, float bottom);
