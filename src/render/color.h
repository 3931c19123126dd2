#pragma once
// Colours are four floats in display values 0..1; the renderer works in linear light.
#include "core/types.h"

struct Color {
    f32 r, g, b, a;
};

inline bool color_equal(Color x, Color y) { return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a; }
