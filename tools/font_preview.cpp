#include "font_preview.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Canvas with y up, like the window.
struct Target {
    int width, height;
    std::vector<float> rgba;  // straight colour and alpha per pixel
    void set_band(int y0, int y1, float shade) {
        for (int y = std::max(0, y0); y < std::min(height, y1); y++)
            for (int x = 0; x < width; x++) {
                float* d = &rgba[(size_t(y) * width + x) * 4];
                d[0] = d[1] = d[2] = shade;
                d[3] = 1;
            }
    }
    Image8 to_image() const {
        Image8 out(width, height);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                uint8_t* d = out.at(x, height - 1 - y);
                for (int c = 0; c < 4; c++)
                    d[c] = uint8_t(std::lround(std::clamp(rgba[(size_t(y) * width + x) * 4 + c], 0.0f, 1.0f) * 255));
            }
        return out;
    }
};

// Bilinear, clamped, on the texture whose row 0 is the PNG's last row.
float sample_alpha(const Image8& atlas, double s, double t) {
    double tx = s * atlas.width - 0.5, ty = t * atlas.height - 0.5;
    int x0 = int(std::floor(tx)), y0 = int(std::floor(ty));
    double fx = tx - x0, fy = ty - y0;
    auto texel = [&](int x, int y) {
        x = std::clamp(x, 0, atlas.width - 1);
        y = std::clamp(y, 0, atlas.height - 1);
        return atlas.at(x, atlas.height - 1 - y)[3] / 255.0;
    };
    double a = texel(x0, y0) * (1 - fx) + texel(x0 + 1, y0) * fx;
    double b = texel(x0, y0 + 1) * (1 - fx) + texel(x0 + 1, y0 + 1) * fx;
    return float(a * (1 - fy) + b * fy);
}

void draw_glyph(Target& t, const Image8& atlas, const InfoGlyph& g, double left, double bottom, double w, double h) {
    const float ink[3] = {0.92f, 0.92f, 0.86f};
    for (int y = int(bottom); y < int(bottom + h); y++)
        for (int x = int(left); x < int(left + w); x++) {
            if (x < 0 || y < 0 || x >= t.width || y >= t.height) continue;
            double s = g.u + (x - left + 0.5) / w * g.width;
            double tt = g.v + (y - bottom + 0.5) / h * g.height;
            float a = sample_alpha(atlas, s, tt);
            float* d = &t.rgba[(size_t(y) * t.width + x) * 4];
            float out_a = a + d[3] * (1 - a);
            if (out_a <= 0) continue;
            for (int c = 0; c < 3; c++) d[c] = (ink[c] * a + d[c] * d[3] * (1 - a)) / out_a;
            d[3] = out_a;
        }
}

// One line of text with vertical alignment 2 around `centre_y`; returns the pen's final x.
double draw_line(Target& t, const FontInfo& info, const Image8& atlas, const std::string& line, double x,
                 double centre_y, double scale) {
    const double sx = scale * info.size, sy = scale * info.size;
    const double one_line = info.line_height * sy;
    double pen_x = 0, pen_y = 0.5 * one_line - one_line;
    for (size_t i = 0; i < line.size();) {
        int cp;
        i += size_t(utf8_decode(line, i, &cp));
        const InfoGlyph& g = glyph_for(info, cp);
        if (cp == 32) {
            pen_x += info.space_advance * sx;
        } else if (cp == 9) {
            pen_x += info.tab_advance * sx;
        } else {
            double left = std::floor(x + pen_x - g.offset_x * sx + 0.5);
            double bottom = std::floor(centre_y + pen_y - g.offset_y * sy + 0.5);
            double w = std::floor(g.width * sx + 0.5), h = std::floor(g.height * sy + 0.5);
            if (w > 0 && h > 0) draw_glyph(t, atlas, g, left, bottom, w, h);
            pen_x += g.advance * sx;
        }
    }
    return pen_x;
}

double line_width(const FontInfo& info, const std::string& line, double scale) {
    double w = 0;
    for (size_t i = 0; i < line.size();) {
        int cp;
        i += size_t(utf8_decode(line, i, &cp));
        w += (cp == 9 ? info.tab_advance : cp == 32 ? info.space_advance : glyph_for(info, cp).advance) *
             scale * info.size;
    }
    return w;
}

}  // namespace

Image8 render_text_preview(const FontInfo& info, const Image8& atlas, const std::string& text, double scale) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t nl = text.find('\n', start);
        lines.push_back(text.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    const double row = info.line_height * info.size * scale;
    const int margin = 8;
    double widest = 0;
    for (const std::string& l : lines) widest = std::max(widest, line_width(info, l, scale));
    Target t{int(widest) + 2 * margin, int(std::ceil(row * double(lines.size()))) + 2 * margin, {}};
    t.rgba.assign(size_t(t.width) * t.height * 4, 0.0f);
    t.set_band(0, t.height, 0.12f);
    double top = t.height - margin;
    for (size_t r = 0; r < lines.size(); r++) {
        double centre = top - row / 2 - double(r) * row;
        t.set_band(int(std::floor(centre - row / 2 + 0.5)), int(std::floor(centre + row / 2 + 0.5)),
                   r % 2 ? 0.12f : 0.18f);
        draw_line(t, info, atlas, lines[r], margin, centre, scale);
    }
    return t.to_image();
}

Image8 render_label(const FontInfo& info, const Image8& atlas, const std::string& text) {
    const double row = info.line_height * info.size;
    Target t{std::max(1, int(line_width(info, text, 1.0))), int(std::ceil(row)), {}};
    t.rgba.assign(size_t(t.width) * t.height * 4, 0.0f);
    draw_line(t, info, atlas, text, 0, row / 2, 1.0);
    return t.to_image();
}
