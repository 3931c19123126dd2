#include "png_out.h"

#include <cstdio>

#include <stb/stb_image_write.h>

bool write_png(const std::string& path, const Image8& image) {
    // Highest zlib level: the files are committed, and the encoder is deterministic at any level.
    stbi_write_png_compression_level = 9;
    if (!stbi_write_png(path.c_str(), image.width, image.height, 4, image.rgba.data(), image.width * 4)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

void blit_over(Image8& dst, const Image8& src, int x, int y) {
    for (int sy = 0; sy < src.height; sy++) {
        for (int sx = 0; sx < src.width; sx++) {
            int dx = x + sx, dy = y + sy;
            if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height) continue;
            const uint8_t* s = src.at(sx, sy);
            uint8_t* d = dst.at(dx, dy);
            float a = s[3] / 255.0f;
            for (int c = 0; c < 3; c++) d[c] = uint8_t(s[c] * a + d[c] * (1 - a) + 0.5f);
            d[3] = uint8_t(s[3] + d[3] * (1 - a) + 0.5f);
        }
    }
}

Image8 magnify(const Image8& src, int factor) {
    Image8 out(src.width * factor, src.height * factor);
    for (int y = 0; y < out.height; y++)
        for (int x = 0; x < out.width; x++) {
            const uint8_t* s = src.at(x / factor, y / factor);
            uint8_t* d = out.at(x, y);
            for (int c = 0; c < 4; c++) d[c] = s[c];
        }
    return out;
}
