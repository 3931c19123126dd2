#include "font_atlas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

#include <stb/stb_rect_pack.h>
#include <stb/stb_truetype.h>

namespace {

constexpr int kFullBlock = 0x2588;

struct Bitmap {
    int codepoint = 0;
    int left = 0;   // left bearing in pixels (may be negative)
    int top = 0;    // rows above the baseline
    int width = 0, height = 0;
    std::vector<uint8_t> coverage;
    int atlas_x = 0, atlas_top = 0;  // top-left corner in the PNG
};

std::vector<int> wanted_codepoints() {
    // Order is priority: what comes first always gets a place; the tail is dropped when full.
    std::vector<int> cps = {0xFFFD, kFullBlock};
    for (int c = 33; c <= 126; c++) cps.push_back(c);
    for (int c = 160; c <= 255; c++) cps.push_back(c);
    for (int c = 0x100; c <= 0x17F; c++) cps.push_back(c);
    for (int c = 0x391; c <= 0x3C9; c++) cps.push_back(c);
    for (int c = 0x400; c <= 0x45F; c++) cps.push_back(c);
    // Then, while room remains, punctuation and signs common in comments and documents.
    for (int c : {0x2010, 0x2011, 0x2012, 0x2013, 0x2014, 0x2015, 0x2018, 0x2019, 0x201A, 0x201C, 0x201D, 0x201E,
                  0x2020, 0x2021, 0x2022, 0x2026, 0x2030, 0x2032, 0x2033, 0x2039, 0x203A, 0x20AC, 0x2122, 0x2190,
                  0x2191, 0x2192, 0x2193, 0x2212, 0x2260, 0x2264, 0x2265, 0x221E})
        cps.push_back(c);
    return cps;
}

// Counts the ASCII, Latin-1 and fallback glyphs plus the full block: those must all fit.
bool is_required(int cp) { return cp <= 255 || cp == 0xFFFD || cp == kFullBlock; }

// How much of the ink sits in partly covered pixels: lower is crisper.
float blur_of(const std::vector<uint8_t>& cov) {
    double ink = 0, partial = 0;
    for (uint8_t c : cov) {
        ink += c;
        partial += double(c) * (255 - c) / 255.0;
    }
    return ink > 0 ? float(partial / ink) : 0.0f;
}

Bitmap render_at_shift(const stbtt_fontinfo& font, int cp, float scale, float shift) {
    Bitmap b;
    b.codepoint = cp;
    int x0, y0, x1, y1;
    stbtt_GetCodepointBitmapBoxSubpixel(&font, cp, scale, scale, shift, 0, &x0, &y0, &x1, &y1);
    b.left = x0;
    b.top = -y0;
    b.width = std::max(0, x1 - x0);
    b.height = std::max(0, y1 - y0);
    b.coverage.assign(size_t(b.width) * b.height, 0);
    if (b.width > 0 && b.height > 0)
        stbtt_MakeCodepointBitmapSubpixel(&font, b.coverage.data(), b.width, b.height, b.width, scale, scale,
                                          shift, 0, cp);
    return b;
}

// Unhinted outlines put vertical stems across pixel boundaries; moving a glyph sideways by up
// to half a pixel (as a hinter would) often lands its stems on whole pixels.
Bitmap render_glyph(const stbtt_fontinfo& font, int cp, float scale, bool snap) {
    Bitmap best = render_at_shift(font, cp, scale, 0);
    if (!snap) return best;
    float best_cost = blur_of(best.coverage);
    for (int k = -4; k <= 3; k++) {
        if (k == 0) continue;
        float shift = float(k) / 8.0f;
        Bitmap b = render_at_shift(font, cp, scale, shift);
        float cost = blur_of(b.coverage) + 0.2f * std::fabs(shift);
        if (cost < best_cost - 1e-4f) {
            best = std::move(b);
            best_cost = cost;
        }
    }
    return best;
}

// Cuts rows outside the line box [baseline - descent, baseline + ascent].
int clip_to_line_box(Bitmap& b, int ascent, int descent) {
    int cut_top = std::max(0, b.top - ascent);
    int bottom_below = b.height - b.top;  // rows below the baseline
    int cut_bottom = std::max(0, bottom_below - descent);
    if (cut_top + cut_bottom == 0) return 0;
    int rows = std::max(0, b.height - cut_top - cut_bottom);
    std::vector<uint8_t> kept(b.coverage.begin() + std::ptrdiff_t(cut_top) * b.width,
                              b.coverage.begin() + std::ptrdiff_t(cut_top + rows) * b.width);
    b.coverage = std::move(kept);
    b.height = rows;
    b.top -= cut_top;
    return cut_top + cut_bottom;
}

// A full block fills the whole character cell, so it defines the line height exactly.
Bitmap full_block(const FontParams& p) {
    Bitmap b;
    b.codepoint = kFullBlock;
    b.left = 0;
    b.top = p.ascent_px;
    b.width = p.advance_px;
    b.height = p.ascent_px + p.descent_px;
    b.coverage.assign(size_t(b.width) * b.height, 255);
    return b;
}

bool has_ink(const Bitmap& b) {
    return std::any_of(b.coverage.begin(), b.coverage.end(), [](uint8_t c) { return c > 0; });
}

// Packs the first `count` inked bitmaps; true when every one found a place.
bool pack(std::vector<Bitmap*>& inked, size_t count, int atlas_size) {
    // One pixel of gap right of and below every glyph, and a one-pixel border at the top-left.
    int area = atlas_size - 1;
    std::vector<stbrp_node> nodes(static_cast<size_t>(area));
    std::vector<stbrp_rect> rects(count);
    for (size_t i = 0; i < count; i++) {
        rects[i] = {};
        rects[i].id = int(i);
        rects[i].w = inked[i]->width + 1;
        rects[i].h = inked[i]->height + 1;
    }
    stbrp_context ctx;
    stbrp_init_target(&ctx, area, area, nodes.data(), area);
    stbrp_setup_heuristic(&ctx, STBRP_HEURISTIC_Skyline_BL_sortHeight);
    if (!stbrp_pack_rects(&ctx, rects.data(), int(count))) return false;
    for (const stbrp_rect& r : rects) {
        inked[size_t(r.id)]->atlas_x = r.x + 1;
        inked[size_t(r.id)]->atlas_top = r.y + 1;
    }
    return true;
}

bool read_file(const std::string& path, std::vector<unsigned char>* out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out->insert(out->end(), chunk, chunk + n);
    std::fclose(f);
    return true;
}

}  // namespace

bool build_font_atlas(const FontParams& p, FontAtlas* out) {
    std::vector<unsigned char> ttf;
    stbtt_fontinfo font;
    if (!read_file(p.ttf_path, &ttf) || ttf.empty() ||
        !stbtt_InitFont(&font, ttf.data(), stbtt_GetFontOffsetForIndex(ttf.data(), 0))) {
        std::fprintf(stderr, "cannot read font %s\n", p.ttf_path.c_str());
        return false;
    }
    int m_advance, lsb;
    stbtt_GetCodepointHMetrics(&font, 'M', &m_advance, &lsb);
    float scale = float(p.advance_px) / float(m_advance);

    std::vector<Bitmap> bitmaps;
    for (int cp : wanted_codepoints()) {
        if (cp == kFullBlock) {
            bitmaps.push_back(full_block(p));
            continue;
        }
        if (stbtt_FindGlyphIndex(&font, cp) == 0) {
            out->missing.push_back(cp);
            continue;
        }
        Bitmap b = render_glyph(font, cp, scale, p.snap_stems);
        out->clipped_rows += clip_to_line_box(b, p.ascent_px, p.descent_px);
        if (!has_ink(b)) b.width = b.height = 0;
        bitmaps.push_back(std::move(b));
    }
    out->wanted = int(bitmaps.size());

    std::vector<Bitmap*> inked;
    for (Bitmap& b : bitmaps)
        if (b.width > 0) inked.push_back(&b);
    size_t fit = inked.size();
    while (fit > 0 && !pack(inked, fit, p.atlas_size)) fit--;
    for (size_t i = fit; i < inked.size(); i++) {
        if (is_required(inked[i]->codepoint)) {
            std::fprintf(stderr, "glyph U+%04X does not fit in the atlas\n", inked[i]->codepoint);
            return false;
        }
        out->left_out.push_back(inked[i]->codepoint);
        inked[i]->codepoint = -1;  // dropped
    }

    out->image = Image8(p.atlas_size, p.atlas_size);
    for (int i = 0; i < p.atlas_size * p.atlas_size; i++) out->image.rgba[size_t(i) * 4 + 0] =
        out->image.rgba[size_t(i) * 4 + 1] = out->image.rgba[size_t(i) * 4 + 2] = 255;
    out->glyphs.push_back({32, 0, 0, p.advance_px, 0, 0, 0, 0});
    out->glyphs.push_back({9, 0, 0, 4 * p.advance_px, 0, 0, 0, 0});
    std::vector<AtlasGlyph> drawn;
    for (const Bitmap& b : bitmaps) {
        if (b.codepoint < 0) continue;
        AtlasGlyph g;
        g.codepoint = b.codepoint;
        g.advance = p.advance_px;
        if (b.width > 0) {
            for (int y = 0; y < b.height; y++)
                for (int x = 0; x < b.width; x++)
                    out->image.at(b.atlas_x + x, b.atlas_top + y)[3] = b.coverage[size_t(y) * b.width + x];
            g.offset_x = -b.left;
            g.offset_y = (b.height - b.top) - p.descent_px;
            g.x = b.atlas_x;
            g.y = p.atlas_size - (b.atlas_top + b.height);
            g.width = b.width;
            g.height = b.height;
        }
        drawn.push_back(g);
    }
    std::sort(drawn.begin(), drawn.end(),
              [](const AtlasGlyph& a, const AtlasGlyph& b) { return a.codepoint < b.codepoint; });
    out->glyphs.insert(out->glyphs.end(), drawn.begin(), drawn.end());
    out->packed = int(drawn.size());
    return true;
}

std::string font_info_text(const FontAtlas& atlas, const std::string& image_name) {
    std::string s = "s " + std::to_string(atlas.image.width) + " " + std::to_string(atlas.image.height) + "\n";
    s += "i " + image_name + "\n";
    char line[160];
    for (const AtlasGlyph& g : atlas.glyphs) {
        std::snprintf(line, sizeof line, "g %d %d %d %d %d %d %d %d\n", g.codepoint, g.offset_x, g.offset_y,
                      g.advance, g.x, g.y, g.width, g.height);
        s += line;
    }
    return s;
}
