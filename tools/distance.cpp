#include "distance.h"

#include <cstddef>
#include <limits>

namespace {

// One-dimensional squared distance transform of a sampled function (lower envelope of parabolas).
void transform_1d(const float* f, float* d, int n, std::vector<int>& v, std::vector<float>& z) {
    const float inf = std::numeric_limits<float>::infinity();
    int k = -1;
    for (int q = 0; q < n; q++) {
        if (f[q] == inf) continue;  // empty cells never hold the nearest point
        if (k < 0) {
            k = 0;
            v[0] = q;
            z[0] = -inf;
            z[1] = inf;
            continue;
        }
        float s;
        for (;;) {
            int p = v[k];
            s = ((f[q] + float(q) * float(q)) - (f[p] + float(p) * float(p))) / (2.0f * float(q - p));
            if (s > z[k]) break;
            k--;  // z[0] is -inf, so k never drops below 0
        }
        k++;
        v[k] = q;
        z[k] = s;
        z[k + 1] = inf;
    }
    if (k < 0) {
        for (int q = 0; q < n; q++) d[q] = inf;
        return;
    }
    k = 0;
    for (int q = 0; q < n; q++) {
        while (z[k + 1] < float(q)) k++;
        float dq = float(q - v[k]);
        d[q] = dq * dq + f[v[k]];
    }
}

}  // namespace

std::vector<float> squared_distance_to_mask(const std::vector<uint8_t>& mask, int n) {
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> grid(size_t(n) * size_t(n));
    for (size_t i = 0; i < grid.size(); i++) grid[i] = mask[i] ? 0.0f : inf;
    std::vector<float> line(n), out(n);
    std::vector<int> v(n);
    std::vector<float> z(size_t(n) + 1);
    for (int x = 0; x < n; x++) {
        for (int y = 0; y < n; y++) line[y] = grid[size_t(y) * n + x];
        transform_1d(line.data(), out.data(), n, v, z);
        for (int y = 0; y < n; y++) grid[size_t(y) * n + x] = out[y];
    }
    for (int y = 0; y < n; y++) {
        transform_1d(&grid[size_t(y) * n], out.data(), n, v, z);
        for (int x = 0; x < n; x++) grid[size_t(y) * n + x] = out[x];
    }
    return grid;
}

std::vector<uint8_t> dilate(const std::vector<uint8_t>& mask, int n, float radius) {
    std::vector<float> d = squared_distance_to_mask(mask, n);
    std::vector<uint8_t> out(d.size());
    float r2 = radius * radius;
    for (size_t i = 0; i < d.size(); i++) out[i] = d[i] <= r2 ? 1 : 0;
    return out;
}
