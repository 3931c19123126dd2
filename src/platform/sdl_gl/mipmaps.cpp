// Mipmaps computed on the CPU: a 2x2 box filter per level. Software GL drivers compile a
// blit shader the first time glGenerateMipmap runs, which costs a large share of the
// start-up time for a 256 x 256 atlas; this takes well under a millisecond.
#include <cstdlib>
#include <cstring>

#include "platform/sdl_gl/mipmaps.h"

namespace {
// Averages the 2x2 blocks of a w x h RGBA image into a max(w/2,1) x max(h/2,1) one;
// odd edges reuse their last row or column.
void halve(const unsigned char* src, int w, int h, unsigned char* dst, int dw, int dh) {
    for (int y = 0; y < dh; y++) {
        int y0 = 2 * y < h ? 2 * y : h - 1;
        int y1 = 2 * y + 1 < h ? 2 * y + 1 : y0;
        for (int x = 0; x < dw; x++) {
            int x0 = 2 * x < w ? 2 * x : w - 1;
            int x1 = 2 * x + 1 < w ? 2 * x + 1 : x0;
            for (int c = 0; c < 4; c++) {
                int sum = src[(y0 * w + x0) * 4 + c] + src[(y0 * w + x1) * 4 + c] + src[(y1 * w + x0) * 4 + c] +
                          src[(y1 * w + x1) * 4 + c];
                dst[(y * dw + x) * 4 + c] = (unsigned char)((sum + 2) / 4);
            }
        }
    }
}
}  // namespace

bool generate_mipmaps_on_cpu() {
    GLint width = 0, height = 0, format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    if (width <= 0 || height <= 0 || format != GL_RGBA8 || (long)width * height > (1L << 24)) return false;
    unsigned char* level = (unsigned char*)malloc((size_t)width * height * 4);
    unsigned char* next = (unsigned char*)malloc((size_t)width * height * 4);
    if (!level || !next) {
        free(level);
        free(next);
        return false;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, level);
    int w = width, h = height, index = 0;
    while (w > 1 || h > 1) {
        int nw = w > 1 ? w / 2 : 1, nh = h > 1 ? h / 2 : 1;
        halve(level, w, h, next, nw, nh);
        glTexImage2D(GL_TEXTURE_2D, ++index, GL_RGBA8, nw, nh, 0, GL_RGBA, GL_UNSIGNED_BYTE, next);
        unsigned char* swap = level;
        level = next;
        next = swap;
        w = nw;
        h = nh;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, index);
    free(level);
    free(next);
    return true;
}
