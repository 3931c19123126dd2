// Shaded solids, ray cast in an orthographic view with the light from the upper left.
#include <cmath>
#include <cstdint>

#include "icons.h"
#include "raytrace.h"

namespace {

constexpr float kPi = 3.14159265f;

Image8 render(const Solid& s, View v = {}) {
    Canvas c(kIconSize);
    render_solid(c, s, v, kOutlinePx, kOutline);
    return resolve(c);
}

Solid solid(std::vector<Primitive> parts, float yaw, float pitch) {
    Solid s;
    s.parts = std::move(parts);
    s.yaw = yaw;
    s.pitch = pitch;
    return s;
}

Solid shiny_sphere() {
    Solid s = solid({sphere(0.93f)}, 0, 0);
    s.material.specular = 0.55f;
    s.material.shininess = 30;
    return s;
}

// A prism whose cross-section `section` (x, y pairs) is extruded along z from -depth to depth.
Primitive prism_along_z(const std::vector<P2>& section, float depth) {
    std::vector<V3> pts;
    for (P2 p : section) {
        pts.push_back({p.x, p.y, -depth});
        pts.push_back({p.x, p.y, depth});
    }
    return hull(pts);
}

// Deterministic pseudo-random numbers in [0, 1).
struct Lcg {
    uint32_t state;
    float next() {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / float(1u << 24);
    }
};

// Sphere with a small mark in its lower right corner.
Image8 sphere_with_mark(void (*mark)(Canvas&)) {
    Canvas c(kIconSize);
    render_solid(c, shiny_sphere(), {27, 27, 25}, kOutlinePx, kOutline);
    mark(c);
    return resolve(c);
}

}  // namespace

Image8 make_sphere() { return render(shiny_sphere()); }

Image8 make_red_sphere() {
    Solid s = shiny_sphere();
    s.material.colour = {0.88f, 0.1f, 0.08f};
    s.material.specular = 0.6f;
    return render(s);
}

Image8 make_sphere_open() {
    return sphere_with_mark([](Canvas& c) { paint_open_folder(c, {45, 45, 0.5f, 0}); });
}

Image8 make_sphere_save() {
    return sphere_with_mark([](Canvas& c) { paint_floppy(c, {46, 46, 0.46f, 0}); });
}

Image8 make_sphere_save_all() {
    return sphere_with_mark([](Canvas& c) {
        paint_floppy(c, {40, 40, 0.4f, 0});
        paint_floppy(c, {49, 49, 0.4f, 0});
    });
}

Image8 make_cube() {
    std::vector<V3> pts;
    for (int i = 0; i < 8; i++) pts.push_back({i & 1 ? 0.6f : -0.6f, i & 2 ? 0.6f : -0.6f, i & 4 ? 0.6f : -0.6f});
    return render(solid({hull(pts)}, 35, 28), {32, 32, 28});
}

Image8 make_octahedron() {
    std::vector<V3> pts = {{0.72f, 0, 0}, {-0.72f, 0, 0}, {0, 1.0f, 0}, {0, -1.0f, 0}, {0, 0, 0.72f}, {0, 0, -0.72f}};
    return render(solid({hull(pts)}, 25, 12), {32, 32, 29});
}

Image8 make_cylinder() { return render(solid({cylinder(0.62f, -0.72f, 0.72f)}, 0, 24), {32, 32, 28}); }

Image8 make_cone() { return render(solid({cone(0.8f, -0.72f, 0.9f)}, 0, 18), {32, 34, 30}); }

Image8 make_pyramid() {
    std::vector<V3> pts = {{-0.82f, -0.62f, -0.82f}, {0.82f, -0.62f, -0.82f}, {0.82f, -0.62f, 0.82f},
                           {-0.82f, -0.62f, 0.82f},  {0, 0.85f, 0}};
    return render(solid({hull(pts)}, 28, 16), {32, 34, 29});
}

Image8 make_triangular_prism() {
    Primitive p = prism_along_z({{-0.82f, -0.55f}, {0.82f, -0.55f}, {0, 0.8f}}, 0.72f);
    return render(solid({p}, 48, 18), {32, 35, 27});
}

Image8 make_pentagonal_prism() {
    std::vector<V3> pts;
    for (int i = 0; i < 5; i++) {
        float a = 2 * kPi * float(i) / 5 + kPi / 2;
        pts.push_back({0.8f * std::cos(a), -0.58f, 0.8f * std::sin(a)});
        pts.push_back({0.8f * std::cos(a), 0.58f, 0.8f * std::sin(a)});
    }
    return render(solid({hull(pts)}, 14, 28), {32, 32, 29});
}

Image8 make_stone() {
    // A flattened, faceted pebble: the hull of points scattered over an ellipsoid.
    Lcg rng{12345u};
    std::vector<V3> pts;
    for (int i = 0; i < 40; i++) {
        float z = 2 * rng.next() - 1, a = 2 * kPi * rng.next(), r = std::sqrt(1 - z * z);
        float k = 0.86f + 0.14f * rng.next();
        pts.push_back({k * 1.0f * r * std::cos(a), k * 0.74f * z, k * 0.86f * r * std::sin(a)});
    }
    return render(solid({hull(pts)}, 25, 28), {32, 33, 29});
}

Image8 make_star3d() {
    // Five convex points around a bipyramid core: together, a star raised front and back.
    const float outer = 1.0f, inner = 0.42f, depth = 0.36f;
    auto rim = [&](int i) {  // even i: tips, odd i: inner corners
        float a = kPi / 2 + float(i) * kPi / 5;
        float r = (i % 2 == 0) ? outer : inner;
        return V3{r * std::cos(a), r * std::sin(a), 0};
    };
    V3 front{0, 0, depth}, back{0, 0, -depth};
    std::vector<Primitive> parts;
    std::vector<V3> core = {front, back};
    for (int k = 0; k < 5; k++) {
        parts.push_back(hull({rim(2 * k), rim((2 * k + 9) % 10), rim(2 * k + 1), front, back}));
        core.push_back(rim(2 * k + 1));
    }
    parts.push_back(hull(core));
    return render(solid(parts, -20, 10), {32, 34, 31});
}
