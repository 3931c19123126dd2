// 8-bit RGBA images as written to resources/.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Image8 {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // rows top to bottom, 4 bytes per pixel

    Image8() = default;
    Image8(int w, int h) : width(w), height(h), rgba(size_t(w) * size_t(h) * 4, 0) {}
    uint8_t* at(int x, int y) { return &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
    const uint8_t* at(int x, int y) const { return &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
};

// Writes a PNG; returns false (after printing why) when the file cannot be written.
bool write_png(const std::string& path, const Image8& image);

// Copies `src` into `dst` with its top-left corner at (x, y), alpha-blended over what is there.
void blit_over(Image8& dst, const Image8& src, int x, int y);

// Nearest-neighbour enlargement, for looking at pixels.
Image8 magnify(const Image8& src, int factor);
