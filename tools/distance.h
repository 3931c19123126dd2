// Exact Euclidean distance transform of a sub-sample mask, used to grow shapes into outlines.
#pragma once
#include <cstdint>
#include <vector>

// Squared distance (in sub-samples) from every cell of an n x n grid to the nearest set cell.
std::vector<float> squared_distance_to_mask(const std::vector<uint8_t>& mask, int n);
// The mask grown by `radius` sub-samples.
std::vector<uint8_t> dilate(const std::vector<uint8_t>& mask, int n, float radius);
