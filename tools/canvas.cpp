#include "canvas.h"

#include <algorithm>
#include <cmath>

#include "distance.h"

P2 to_design(const Xform& xf, P2 p) {
    float dx = (p.x - xf.cx) / xf.scale, dy = (p.y - xf.cy) / xf.scale;
    float c = std::cos(xf.angle), s = std::sin(xf.angle);
    // Inverse of a clockwise turn on a y-down grid.
    return {32 + c * dx + s * dy, 32 - s * dx + c * dy};
}

Mask rasterize(const Canvas& c, const Xform& xf, const Pred& inside) {
    Mask m(size_t(c.n) * size_t(c.n), 0);
    for (int j = 0; j < c.n; j++)
        for (int i = 0; i < c.n; i++) {
            P2 d = to_design(xf, c.sample_pos(i, j));
            m[size_t(j) * c.n + i] = inside(d.x, d.y) ? 1 : 0;
        }
    return m;
}

static void blend(Rgba& dst, Rgba src) {
    float a = std::clamp(src.a, 0.0f, 1.0f);
    dst.r = src.r * a + dst.r * (1 - a);
    dst.g = src.g * a + dst.g * (1 - a);
    dst.b = src.b * a + dst.b * (1 - a);
    dst.a = a + dst.a * (1 - a);
}

void paint_mask(Canvas& c, const Mask& mask, const Xform& xf, const Shade& shade) {
    for (int j = 0; j < c.n; j++)
        for (int i = 0; i < c.n; i++) {
            size_t k = size_t(j) * c.n + i;
            if (!mask[k]) continue;
            P2 d = to_design(xf, c.sample_pos(i, j));
            blend(c.px[k], shade(d.x, d.y));
        }
}

void fill(Canvas& c, const Xform& xf, const Pred& inside, const Shade& shade) {
    paint_mask(c, rasterize(c, xf, inside), xf, shade);
}

void paint_rim(Canvas& c, const Mask& mask, float width_px, Rgba colour) {
    Mask grown = dilate(mask, c.n, width_px * c.ss);
    for (size_t k = 0; k < grown.size(); k++)
        if (grown[k]) blend(c.px[k], colour);
}

void fill_outlined(Canvas& c, const Xform& xf, const Pred& inside, const Shade& shade, float outline_px,
                   Rgba outline) {
    Mask m = rasterize(c, xf, inside);
    paint_rim(c, m, outline_px, outline);
    paint_mask(c, m, xf, shade);
}

void erase(Canvas& c, const Xform& xf, const Pred& inside) {
    Mask m = rasterize(c, xf, inside);
    for (size_t k = 0; k < m.size(); k++)
        if (m[k]) c.px[k] = Rgba{0, 0, 0, 0};
}

// Gives transparent pixels the average colour of their visible neighbours, ring by ring.
static void spread_edge_colours(Image8& img) {
    int w = img.width, h = img.height;
    std::vector<uint8_t> known(size_t(w) * h);
    size_t unknown = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            known[size_t(y) * w + x] = img.at(x, y)[3] > 0;
            unknown += !known[size_t(y) * w + x];
        }
    if (unknown == size_t(w) * h) return;
    while (unknown > 0) {
        std::vector<uint8_t> next = known;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                if (known[size_t(y) * w + x]) continue;
                int sum[3] = {0, 0, 0}, count = 0;
                for (int dy = -1; dy <= 1; dy++)
                    for (int dx = -1; dx <= 1; dx++) {
                        int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h || !known[size_t(ny) * w + nx]) continue;
                        for (int ch = 0; ch < 3; ch++) sum[ch] += img.at(nx, ny)[ch];
                        count++;
                    }
                if (count == 0) continue;
                for (int ch = 0; ch < 3; ch++) img.at(x, y)[ch] = uint8_t((sum[ch] + count / 2) / count);
                next[size_t(y) * w + x] = 1;
                unknown--;
            }
        known.swap(next);
    }
}

static uint8_t to_byte(float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

Image8 resolve(const Canvas& c) {
    Image8 img(c.size, c.size);
    float inv = 1.0f / float(c.ss * c.ss);
    for (int y = 0; y < c.size; y++)
        for (int x = 0; x < c.size; x++) {
            Rgba sum{0, 0, 0, 0};
            for (int j = 0; j < c.ss; j++)
                for (int i = 0; i < c.ss; i++) {
                    const Rgba& p = c.px[size_t(y * c.ss + j) * c.n + size_t(x * c.ss + i)];
                    sum.r += p.r;
                    sum.g += p.g;
                    sum.b += p.b;
                    sum.a += p.a;
                }
            uint8_t* out = img.at(x, y);
            out[3] = to_byte(sum.a * inv);
            if (out[3] == 0) continue;
            out[0] = to_byte(sum.r / sum.a);
            out[1] = to_byte(sum.g / sum.a);
            out[2] = to_byte(sum.b / sum.a);
        }
    spread_edge_colours(img);
    return img;
}

Pred circle(float cx, float cy, float r) {
    return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Pred polygon(std::vector<P2> pts) {
    return [pts = std::move(pts)](float x, float y) {
        int winding = 0;
        size_t n = pts.size();
        for (size_t i = 0; i < n; i++) {
            P2 a = pts[i], b = pts[(i + 1) % n];
            float cross = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
            if (a.y <= y) {
                if (b.y > y && cross > 0) winding++;
            } else if (b.y <= y && cross < 0) {
                winding--;
            }
        }
        return winding != 0;
    };
}

Pred capsule(P2 a, P2 b, float r) {
    return [=](float x, float y) {
        float vx = b.x - a.x, vy = b.y - a.y;
        float len2 = vx * vx + vy * vy;
        float t = len2 > 0 ? std::clamp(((x - a.x) * vx + (y - a.y) * vy) / len2, 0.0f, 1.0f) : 0.0f;
        float dx = x - (a.x + t * vx), dy = y - (a.y + t * vy);
        return dx * dx + dy * dy <= r * r;
    };
}

Pred round_rect(float x0, float y0, float x1, float y1, float r) {
    return [=](float x, float y) {
        if (x < x0 || x > x1 || y < y0 || y > y1) return false;
        float qx = std::max({x0 + r - x, x - (x1 - r), 0.0f});
        float qy = std::max({y0 + r - y, y - (y1 - r), 0.0f});
        return qx * qx + qy * qy <= r * r;
    };
}

Pred unite(Pred a, Pred b) {
    return [=](float x, float y) { return a(x, y) || b(x, y); };
}
Pred subtract(Pred a, Pred b) {
    return [=](float x, float y) { return a(x, y) && !b(x, y); };
}
Pred intersect(Pred a, Pred b) {
    return [=](float x, float y) { return a(x, y) && b(x, y); };
}

std::vector<P2> regular_star(float cx, float cy, float outer, float inner, int points, float start_angle) {
    std::vector<P2> out;
    for (int i = 0; i < points * 2; i++) {
        float r = (i % 2 == 0) ? outer : inner;
        float a = start_angle + float(i) * 3.14159265f / float(points);
        out.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return out;
}

Shade flat(Rgba colour) {
    return [=](float, float) { return colour; };
}

Shade vertical(float y0, float top, float y1, float bottom) {
    return [=](float, float y) {
        float t = std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f);
        return grey(top + (bottom - top) * t);
    };
}
