#include <math.h>
#include "util.h"

static int calls;

float distance(point a, point b) {
    float dx = a.x - b.x;
    float dy = a.y - b.y;
    calls++;
    return sqrtf(dx * dx + dy * dy);
}

point move(point p, enum direction d, float amount) {
    switch (d) {
    case north: p.y += amount; break;
    case east: p.x += amount; break;
    case south: p.y -= amount; break;
    case west: p.x -= amount; break;
    }
    return p;
}
