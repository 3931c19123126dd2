// A very small ray caster for the icons of solids: orthographic view, one light, unions of
// convex hulls, spheres, cylinders and cones.
#pragma once
#include <vector>

#include "canvas.h"

struct V3 {
    float x, y, z;
};
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 normalize(V3 v);

struct Plane {
    V3 n;     // outward unit normal
    float d;  // inside when dot(n, p) <= d
};

struct Primitive {
    enum Kind { Hull, Sphere, Cylinder, Cone } kind = Hull;
    std::vector<Plane> planes;  // Hull
    float radius = 1;           // Sphere, Cylinder, Cone (radius of the base)
    float y0 = -1, y1 = 1;      // Cylinder: bottom and top; Cone: base and apex heights
};

Primitive hull(const std::vector<V3>& points);  // convex hull of the points
Primitive sphere(float radius);
Primitive cylinder(float radius, float bottom, float top);
Primitive cone(float radius, float base_y, float apex_y);

struct Material {
    V3 colour{1, 1, 1};
    float ambient = 0.32f;
    float diffuse = 0.68f;
    float specular = 0.0f;
    float shininess = 24.0f;
};

// A union of primitives turned by yaw (about y), then pitch (about x, top towards the viewer),
// then roll (about the view axis). Angles in degrees.
struct Solid {
    std::vector<Primitive> parts;
    float yaw = 0, pitch = 0, roll = 0;
    Material material;
};

// Where one model unit lands on the canvas: model origin at (cx, cy), one unit = unit_px pixels.
struct View {
    float cx = 32, cy = 32, unit_px = 30;
};

// Draws the solid; with outline_px > 0 a rim of that colour is laid under its silhouette first.
void render_solid(Canvas& canvas, const Solid& solid, const View& view, float outline_px, Rgba outline);
