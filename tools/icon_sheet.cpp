#include "icon_sheet.h"

#include <algorithm>

#include "font_preview.h"
#include "icons.h"

namespace {

// Any image brought to 64 x 64 for display: small ones enlarged, big ones cropped.
Image8 fit64(const Image8& src) {
    if (src.width == 64 && src.height == 64) return src;
    if (src.width < 64) return magnify(src, 64 / src.width);
    Image8 out(64, 64);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++)
            for (int c = 0; c < 4; c++) out.at(x, y)[c] = src.at(x, y)[c];
    return out;
}

Image8 tinted(const Image8& src, const float colour[3]) {
    Image8 out = src;
    for (size_t i = 0; i < out.rgba.size(); i += 4)
        for (int c = 0; c < 3; c++) out.rgba[i + size_t(c)] = uint8_t(out.rgba[i + size_t(c)] * colour[c] + 0.5f);
    return out;
}

Image8 half(const Image8& src) {
    Image8 out(src.width / 2, src.height / 2);
    for (int y = 0; y < out.height; y++)
        for (int x = 0; x < out.width; x++) {
            float sum[4] = {0, 0, 0, 0};
            for (int j = 0; j < 2; j++)
                for (int i = 0; i < 2; i++) {
                    const uint8_t* p = src.at(2 * x + i, 2 * y + j);
                    for (int c = 0; c < 3; c++) sum[c] += p[c] * p[3] / 255.0f;
                    sum[3] += p[3];
                }
            uint8_t* d = out.at(x, y);
            d[3] = uint8_t(sum[3] / 4 + 0.5f);
            for (int c = 0; c < 3; c++) d[c] = sum[3] > 0 ? uint8_t(std::min(255.0f, sum[c] * 255.0f / sum[3] + 0.5f)) : 0;
        }
    return out;
}

void fill_rect(Image8& img, int x0, int y0, int w, int h, uint8_t g) {
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++) {
            uint8_t* p = img.at(x, y);
            p[0] = p[1] = p[2] = g;
            p[3] = 255;
        }
}

}  // namespace

Image8 make_contact_sheet(const FontInfo& info, const Image8& atlas) {
    // Theme colours the icons are drawn with: new, open, save, folder, remove, view.
    const float tints[6][3] = {{1, 0.75f, 0}, {0, 1, 0.4f}, {0.2f, 0.2f, 1}, {0.5f, 0, 1}, {1, 0, 0}, {0.6f, 0.8f, 1}};
    const int columns = 5, cell_w = 220, cell_h = 100;
    const auto& files = icon_files();
    int rows = int((files.size() + columns - 1) / columns);
    Image8 sheet(columns * cell_w, rows * cell_h);
    fill_rect(sheet, 0, 0, sheet.width, sheet.height, 20);
    for (size_t i = 0; i < files.size(); i++) {
        int cx = int(i % columns) * cell_w, cy = int(i / columns) * cell_h;
        fill_rect(sheet, cx + 2, cy + 2, cell_w - 4, cell_h - 4, 40);
        fill_rect(sheet, cx + 150, cy + 10, 64, 64, 110);
        Image8 icon = fit64(files[i].make());
        blit_over(sheet, icon, cx + 8, cy + 8);
        blit_over(sheet, tinted(icon, tints[i % 6]), cx + 78, cy + 8);
        blit_over(sheet, half(icon), cx + 166, cy + 26);
        blit_over(sheet, render_label(info, atlas, files[i].name), cx + 8, cy + 76);
    }
    return sheet;
}
