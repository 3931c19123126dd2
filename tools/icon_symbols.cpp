// Flat symbols: documents, folders, marks and tools, each with a thin dark outline so that
// they stay readable on light tints and hover overlays.
#include <cmath>

#include "icons.h"

namespace {

constexpr float kPi = 3.14159265f;

void outlined(Canvas& c, const Xform& xf, const Pred& shape, const Shade& shade) {
    fill_outlined(c, xf, shape, shade, kOutlinePx, kOutline);
}

Shade radial(float cx, float cy, float r, float centre, float edge) {
    return [=](float x, float y) {
        float t = std::fmin(1.0f, std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / r);
        return grey(centre + (edge - centre) * t);
    };
}

Image8 draw(void (*paint)(Canvas&)) {
    Canvas c(kIconSize);
    paint(c);
    return resolve(c);
}

}  // namespace

void paint_open_folder(Canvas& c, const Xform& xf) {
    outlined(c, xf, polygon({{5, 12}, {23, 12}, {28, 18}, {55, 18}, {55, 50}, {5, 50}}), flat(grey(0.6f)));
    outlined(c, xf, round_rect(12, 23, 50, 46, 1), flat(grey(0.97f)));
    outlined(c, xf, polygon({{15, 30}, {61, 30}, {52, 56}, {5, 56}}), vertical(30, 1.0f, 56, 0.78f));
}

void paint_floppy(Canvas& c, const Xform& xf) {
    outlined(c, xf, polygon({{8, 8}, {48, 8}, {56, 16}, {56, 56}, {8, 56}}), vertical(8, 0.86f, 56, 0.7f));
    fill(c, xf, round_rect(18, 8, 46, 26, 1.5f), flat(grey(0.45f)));
    fill(c, xf, round_rect(36, 11, 42, 23, 1), flat(grey(0.85f)));
    outlined(c, xf, round_rect(15, 33, 49, 56, 2), flat(grey(1.0f)));
    fill(c, xf, capsule({21, 41}, {43, 41}, 1.3f), flat(grey(0.55f)));
    fill(c, xf, capsule({21, 48}, {43, 48}, 1.3f), flat(grey(0.55f)));
}

Image8 make_circle2() {
    return draw([](Canvas& c) {
        outlined(c, {}, subtract(circle(32, 32, 28), circle(32, 32, 19)), vertical(4, 1.0f, 60, 0.75f));
    });
}

Image8 make_new() {
    return draw([](Canvas& c) {
        Xform xf;
        outlined(c, xf, polygon({{12, 4}, {36, 4}, {50, 18}, {50, 60}, {12, 60}}), vertical(4, 1.0f, 60, 0.82f));
        outlined(c, xf, polygon({{36, 4}, {36, 18}, {50, 18}}), flat(grey(0.62f)));
        // The plus that says "new".
        Pred plus = unite(round_rect(35, 42.5f, 59, 50.5f, 2), round_rect(43, 34.5f, 51, 58.5f, 2));
        outlined(c, xf, plus, flat(grey(1.0f)));
    });
}

Image8 make_open() {
    return draw([](Canvas& c) { paint_open_folder(c, {}); });
}

Image8 make_save() {
    return draw([](Canvas& c) { paint_floppy(c, {}); });
}

Image8 make_close() {
    return draw([](Canvas& c) {
        Pred cross = unite(capsule({17, 17}, {47, 47}, 6.5f), capsule({47, 17}, {17, 47}, 6.5f));
        outlined(c, {}, cross, vertical(10, 1.0f, 54, 0.82f));
    });
}

Image8 make_minimize() {
    return draw([](Canvas& c) { outlined(c, {}, capsule({13, 32}, {51, 32}, 5.5f), vertical(26, 1.0f, 38, 0.8f)); });
}

Image8 make_maximize2() {
    return draw([](Canvas& c) {
        // A window frame with a thick title bar.
        outlined(c, {}, subtract(round_rect(10, 10, 54, 54, 4), round_rect(16, 23, 48, 48, 1)),
                 vertical(10, 1.0f, 54, 0.8f));
    });
}

Image8 make_key() {
    return draw([](Canvas& c) {
        Pred bow = subtract(circle(17, 32, 13), circle(14, 32, 5));
        Pred shaft = round_rect(27, 28.5f, 60, 35.5f, 1.5f);
        Pred teeth = unite(round_rect(46, 33, 51, 45, 1), round_rect(53, 33, 58, 42, 1));
        Xform xf{32, 32, 0.98f, -0.7f};
        outlined(c, xf, unite(bow, unite(shaft, teeth)), vertical(20, 1.0f, 45, 0.68f));
    });
}

Image8 make_lightning() {
    return draw([](Canvas& c) {
        outlined(c, {}, polygon({{38, 3}, {12, 37}, {29, 37}, {20, 61}, {53, 24}, {35, 24}, {47, 3}}),
                 vertical(3, 1.0f, 61, 0.78f));
    });
}

Image8 make_star() {
    return draw([](Canvas& c) {
        fill(c, {}, polygon(regular_star(32, 33.5f, 30.5f, 12.5f, 5, -kPi / 2)), radial(32, 33.5f, 30, 1.0f, 0.82f));
    });
}

Image8 make_arrow() {
    return draw([](Canvas& c) {
        outlined(c, {}, polygon({{5, 25}, {34, 25}, {34, 10}, {59, 32}, {34, 54}, {34, 39}, {5, 39}}),
                 vertical(10, 1.0f, 54, 0.78f));
    });
}

Image8 make_eye() {
    return draw([](Canvas& c) {
        Xform xf;
        // An almond: the overlap of two large circles.
        Pred almond = intersect(circle(32, 49.5f, 33.5f), circle(32, 14.5f, 33.5f));
        outlined(c, xf, almond, flat(grey(1.0f)));
        fill_outlined(c, xf, intersect(circle(32, 32, 12.5f), almond), radial(32, 32, 12.5f, 0.8f, 0.5f), 1.0f,
                      kOutline);
        fill(c, xf, circle(32, 32, 5.5f), flat(grey(0.06f)));
        fill(c, xf, circle(28, 28, 2.6f), flat(grey(1.0f)));
    });
}

Image8 make_settings() {
    return draw([](Canvas& c) {
        // Eight teeth that narrow towards their tips.
        Pred gear = [](float x, float y) {
            float dx = x - 32, dy = y - 32, r = std::sqrt(dx * dx + dy * dy);
            if (r <= 21.5f) return true;
            if (r > 29.5f) return false;
            float a = std::atan2(dy, dx) + kPi / 8;
            float sector = 2 * kPi / 8;
            float local = std::fabs(a - sector * std::round(a / sector));
            float half_width = 0.30f - (r - 21.5f) / 8.0f * 0.12f;
            return local <= half_width;
        };
        outlined(c, {}, subtract(gear, circle(32, 32, 8.5f)), vertical(3, 1.0f, 61, 0.7f));
        fill_outlined(c, {}, subtract(circle(32, 32, 14), circle(32, 32, 8.5f)), vertical(18, 0.72f, 46, 0.9f), 1.0f,
                      kOutline);
        erase(c, {}, circle(32, 32, 7.0f));  // keeps a dark rim inside the hole
    });
}
