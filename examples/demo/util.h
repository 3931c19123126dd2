#ifndef DEMO_UTIL_H
#define DEMO_UTIL_H

typedef struct {
    float x, y;
} point;

enum direction { north, east, south, west };

float distance(point a, point b);
point move(point p, enum direction d, float amount);

#endif
