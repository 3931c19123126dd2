#include "raytrace.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kDegree = 3.14159265f / 180.0f;

struct Hit {
    float t = kInf;
    V3 normal{0, 0, 0};
};

V3 rotate_x(V3 p, float a) {
    float c = std::cos(a), s = std::sin(a);
    return {p.x, c * p.y - s * p.z, s * p.y + c * p.z};
}
V3 rotate_y(V3 p, float a) {
    float c = std::cos(a), s = std::sin(a);
    return {c * p.x + s * p.z, p.y, -s * p.x + c * p.z};
}
V3 rotate_z(V3 p, float a) {
    float c = std::cos(a), s = std::sin(a);
    return {c * p.x - s * p.y, s * p.x + c * p.y, p.z};
}

V3 model_to_view(const Solid& s, V3 p) {
    return rotate_z(rotate_x(rotate_y(p, s.yaw * kDegree), s.pitch * kDegree), s.roll * kDegree);
}
V3 view_to_model(const Solid& s, V3 p) {
    return rotate_y(rotate_x(rotate_z(p, -s.roll * kDegree), -s.pitch * kDegree), -s.yaw * kDegree);
}

Hit intersect_hull(const Primitive& h, V3 o, V3 d) {
    float t_near = -kInf, t_far = kInf;
    V3 n_near{0, 0, 0};
    for (const Plane& p : h.planes) {
        float denom = dot(p.n, d);
        float dist = p.d - dot(p.n, o);
        if (std::fabs(denom) < 1e-9f) {
            if (dist < 0) return {};
            continue;
        }
        float t = dist / denom;
        if (denom < 0) {
            if (t > t_near) {
                t_near = t;
                n_near = p.n;
            }
        } else {
            t_far = std::min(t_far, t);
        }
    }
    if (t_near > t_far || t_near <= 0) return {};
    return {t_near, n_near};
}

Hit intersect_sphere(const Primitive& s, V3 o, V3 d) {
    float b = dot(o, d), c = dot(o, o) - s.radius * s.radius;
    float disc = b * b - c;
    if (disc < 0) return {};
    float t = -b - std::sqrt(disc);
    if (t <= 0) return {};
    return {t, normalize(o + d * t)};
}

// Lowest root t > 0 of a t^2 + b t + c whose point passes `accept`.
template <typename Accept>
float quadratic_hit(float a, float b, float c, Accept accept) {
    if (std::fabs(a) < 1e-12f) return kInf;
    float disc = b * b - 4 * a * c;
    if (disc < 0) return kInf;
    float r = std::sqrt(disc);
    float t0 = (-b - r) / (2 * a), t1 = (-b + r) / (2 * a);
    if (t0 > t1) std::swap(t0, t1);
    if (t0 > 0 && accept(t0)) return t0;
    if (t1 > 0 && accept(t1)) return t1;
    return kInf;
}

// A flat disc of radius r at height y facing `up` (+1) or down (-1).
void disc_hit(Hit& best, V3 o, V3 d, float y, float r, float up) {
    if (std::fabs(d.y) < 1e-9f) return;
    float t = (y - o.y) / d.y;
    if (t <= 0 || t >= best.t) return;
    V3 p = o + d * t;
    if (p.x * p.x + p.z * p.z <= r * r) best = {t, {0, up, 0}};
}

Hit intersect_cylinder(const Primitive& c, V3 o, V3 d) {
    Hit best;
    float r = c.radius;
    float t = quadratic_hit(d.x * d.x + d.z * d.z, 2 * (o.x * d.x + o.z * d.z), o.x * o.x + o.z * o.z - r * r,
                            [&](float tt) {
                                float y = o.y + d.y * tt;
                                return y >= c.y0 && y <= c.y1;
                            });
    if (t < kInf) {
        V3 p = o + d * t;
        best = {t, normalize({p.x, 0, p.z})};
    }
    disc_hit(best, o, d, c.y1, r, 1);
    disc_hit(best, o, d, c.y0, r, -1);
    return best;
}

Hit intersect_cone(const Primitive& c, V3 o, V3 d) {
    // x^2 + z^2 = (k (apex - y))^2 between the base and the apex.
    Hit best;
    float k = c.radius / (c.y1 - c.y0);
    float k2 = k * k;
    float oy = c.y1 - o.y;  // apex height above the ray origin
    float a = d.x * d.x + d.z * d.z - k2 * d.y * d.y;
    float b = 2 * (o.x * d.x + o.z * d.z + k2 * oy * d.y);
    float cc = o.x * o.x + o.z * o.z - k2 * oy * oy;
    float t = quadratic_hit(a, b, cc, [&](float tt) {
        float y = o.y + d.y * tt;
        return y >= c.y0 && y <= c.y1;
    });
    if (t < kInf) {
        V3 p = o + d * t;
        best = {t, normalize({p.x, k2 * (c.y1 - p.y), p.z})};
    }
    disc_hit(best, o, d, c.y0, c.radius, -1);
    return best;
}

Hit intersect(const Primitive& p, V3 o, V3 d) {
    switch (p.kind) {
        case Primitive::Hull: return intersect_hull(p, o, d);
        case Primitive::Sphere: return intersect_sphere(p, o, d);
        case Primitive::Cylinder: return intersect_cylinder(p, o, d);
        case Primitive::Cone: return intersect_cone(p, o, d);
    }
    return {};
}

Rgba shade(const Material& m, V3 n) {
    const V3 light = normalize({-0.5f, 0.7f, 0.55f});
    const V3 half = normalize(light + V3{0, 0, 1});
    float diffuse = std::max(0.0f, dot(n, light));
    float shine = m.specular > 0 ? m.specular * std::pow(std::max(0.0f, dot(n, half)), m.shininess) : 0.0f;
    float k = m.ambient + m.diffuse * diffuse;
    return {std::min(1.0f, m.colour.x * k + shine), std::min(1.0f, m.colour.y * k + shine),
            std::min(1.0f, m.colour.z * k + shine), 1.0f};
}

}  // namespace

V3 normalize(V3 v) {
    float len = std::sqrt(dot(v, v));
    return len > 0 ? v * (1.0f / len) : v;
}

Primitive hull(const std::vector<V3>& pts) {
    Primitive h;
    h.kind = Primitive::Hull;
    const float eps = 1e-4f;
    size_t n = pts.size();
    for (size_t i = 0; i < n; i++)
        for (size_t j = i + 1; j < n; j++)
            for (size_t k = j + 1; k < n; k++) {
                V3 nrm = cross(pts[j] - pts[i], pts[k] - pts[i]);
                if (dot(nrm, nrm) < 1e-10f) continue;
                nrm = normalize(nrm);
                float d = dot(nrm, pts[i]);
                bool below = true, above = true;
                for (const V3& p : pts) {
                    float s = dot(nrm, p) - d;
                    below = below && s <= eps;
                    above = above && s >= -eps;
                }
                if (!below && !above) continue;
                Plane plane = below ? Plane{nrm, d} : Plane{nrm * -1.0f, -d};
                bool seen = false;
                for (const Plane& q : h.planes)
                    seen = seen || (dot(q.n, plane.n) > 1 - 1e-5f && std::fabs(q.d - plane.d) < 1e-4f);
                if (!seen) h.planes.push_back(plane);
            }
    return h;
}

Primitive sphere(float radius) {
    Primitive p;
    p.kind = Primitive::Sphere;
    p.radius = radius;
    return p;
}

Primitive cylinder(float radius, float bottom, float top) {
    Primitive p;
    p.kind = Primitive::Cylinder;
    p.radius = radius;
    p.y0 = bottom;
    p.y1 = top;
    return p;
}

Primitive cone(float radius, float base_y, float apex_y) {
    Primitive p;
    p.kind = Primitive::Cone;
    p.radius = radius;
    p.y0 = base_y;
    p.y1 = apex_y;
    return p;
}

void render_solid(Canvas& canvas, const Solid& solid, const View& view, float outline_px, Rgba outline) {
    Mask mask(canvas.px.size(), 0);
    std::vector<Rgba> colour(canvas.px.size());
    V3 dir = view_to_model(solid, {0, 0, -1});
    for (int j = 0; j < canvas.n; j++)
        for (int i = 0; i < canvas.n; i++) {
            P2 c = canvas.sample_pos(i, j);
            V3 origin = view_to_model(solid, {(c.x - view.cx) / view.unit_px, (view.cy - c.y) / view.unit_px, 10});
            Hit best;
            for (const Primitive& p : solid.parts) {
                Hit h = intersect(p, origin, dir);
                if (h.t < best.t) best = h;
            }
            if (best.t == kInf) continue;
            size_t k = size_t(j) * canvas.n + i;
            mask[k] = 1;
            colour[k] = shade(solid.material, model_to_view(solid, best.normal));
        }
    if (outline_px > 0) paint_rim(canvas, mask, outline_px, outline);
    for (size_t k = 0; k < mask.size(); k++)
        if (mask[k]) canvas.px[k] = colour[k];
}
