// Plain surfaces: the white texture, button faces, tab gradients and the window backdrop.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "icons.h"

namespace {

uint8_t byte_of(float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

Image8 opaque(int w, int h, float (*shade)(int x, int y, int w, int h)) {
    Image8 img(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            uint8_t g = byte_of(shade(x, y, w, h));
            uint8_t* p = img.at(x, y);
            p[0] = p[1] = p[2] = g;
            p[3] = 255;
        }
    return img;
}

Image8 button_face(float top, float bottom, float rim, float highlight) {
    Canvas c(kIconSize);
    Xform xf;
    fill_outlined(c, xf, round_rect(2.5f, 2.5f, 61.5f, 61.5f, 9), vertical(2.5f, top, 61.5f, bottom), kOutlinePx,
                  grey(rim));
    if (highlight > 0) fill(c, xf, capsule({11, 6}, {53, 6}, 1.2f), flat(grey(1.0f, highlight)));
    return resolve(c);
}

// Tab background: light at the top, a bright first row, darker side columns so that
// neighbouring tabs stay apart once the image is stretched.
float tab_shade(int x, int y, int w, int h, float top, float bottom) {
    float t = float(y) / float(h - 1);
    float g = top + (bottom - top) * t;
    if (y == 0) g = std::min(1.0f, top + 0.08f);
    if (y == h - 1) g *= 0.8f;
    if (x == 0 || x == w - 1) g *= 0.75f;
    return g;
}

// Tileable value noise: a lattice of `cells` per side, wrapped, with smooth interpolation.
float lattice(int ix, int iy, int cells, uint32_t seed) {
    uint32_t h = uint32_t((ix % cells + cells) % cells) * 374761393u + uint32_t((iy % cells + cells) % cells) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xFFFFFF) / float(0xFFFFFF);
}

float value_noise(float u, float v, int cells, uint32_t seed) {
    float x = u * float(cells), y = v * float(cells);
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - float(ix), fy = y - float(iy);
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = lattice(ix, iy, cells, seed) * (1 - fx) + lattice(ix + 1, iy, cells, seed) * fx;
    float b = lattice(ix, iy + 1, cells, seed) * (1 - fx) + lattice(ix + 1, iy + 1, cells, seed) * fx;
    return a * (1 - fy) + b * fy;
}

}  // namespace

Image8 make_white() {
    return opaque(4, 4, [](int, int, int, int) { return 1.0f; });
}

Image8 make_button() { return button_face(0.9f, 0.62f, 0.2f, 0.7f); }
Image8 make_button_hover() { return button_face(1.0f, 0.76f, 0.3f, 0.9f); }
Image8 make_button_pressed() { return button_face(0.48f, 0.7f, 0.12f, 0.0f); }

Image8 make_gradient1() {
    return opaque(kIconSize, kIconSize, [](int x, int y, int w, int h) { return tab_shade(x, y, w, h, 1.0f, 0.58f); });
}

Image8 make_gradient2() {
    return opaque(kIconSize, kIconSize, [](int x, int y, int w, int h) { return tab_shade(x, y, w, h, 0.7f, 0.38f); });
}

Image8 make_gradient3() {
    return opaque(kIconSize, kIconSize, [](int x, int y, int w, int h) {
        float across = 1.0f - 0.5f * float(x) / float(w - 1);
        float down = 1.0f - 0.2f * float(y) / float(h - 1);
        return across * down;
    });
}

Image8 make_backdrop() {
    // Dark slate with soft cloudy noise and a faint diamond lattice; every feature repeats
    // an exact number of times across the image, so it tiles without seams.
    const int size = 512, period = 64, ss = 4;
    Image8 img(size, size);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            float line = 0;
            for (int j = 0; j < ss; j++)
                for (int i = 0; i < ss; i++) {
                    float px = float(x) + (float(i) + 0.5f) / ss, py = float(y) + (float(j) + 0.5f) / ss;
                    float d1 = std::fabs(std::remainder(px + py, float(period)));
                    float d2 = std::fabs(std::remainder(px - py, float(period)));
                    line += (std::min(d1, d2) < 0.9f) ? 1.0f : 0.0f;
                }
            line /= float(ss * ss);
            float u = float(x) / size, v = float(y) / size;
            float cloud = 0.5f * value_noise(u, v, 4, 1) + 0.3f * value_noise(u, v, 8, 2) +
                          0.2f * value_noise(u, v, 32, 3);
            float base = 0.09f + 0.06f * (cloud - 0.5f) + 0.03f * line;
            uint8_t* p = img.at(x, y);
            p[0] = byte_of(base * 0.92f);
            p[1] = byte_of(base * 1.0f);
            p[2] = byte_of(base * 1.22f);
            p[3] = 255;
        }
    return img;
}
