#pragma once
// Shared by the view tests on the headless back-end: a test font whose glyphs tell which
// character was drawn, and the grouping of drawn glyphs into rows of text.
#include <algorithm>
#include <string>
#include <vector>

#include "core/types.h"

// Every glyph is 10 pixels wide and rows are 16 high at zoom 1; a glyph's atlas x is its
// code point, so a drawn glyph tells which character it is.
inline std::string font_info_text() {
    std::string s = "s 256 256\ng 32 0 0 10 0 0 0 0\ng 9 0 0 40 0 0 0 0\n";
    for (int c = 33; c < 127; c++) s += "g " + std::to_string(c) + " 0 0 10 " + std::to_string(c) + " 0 10 16\n";
    s += "g 65533 0 0 10 127 0 10 16\n";
    return s;
}

struct GlyphRow {
    f64 bottom;
    std::string text;
    f64 left;   // of the first glyph
    f64 right;  // of the last glyph
};

// A drawn glyph: the (rounded) bottom and the left of its quad, and its character.
struct DrawnGlyph {
    f64 bottom;
    f64 left;
    char c;
};

// Glyphs grouped into rows by their bottom, top row first, each left to right. Spaces
// draw nothing: every 10 pixels of gap is one.
inline std::vector<GlyphRow> glyph_rows_of(std::vector<DrawnGlyph> glyphs) {
    std::sort(glyphs.begin(), glyphs.end(), [](const DrawnGlyph& a, const DrawnGlyph& b) {
        return a.bottom != b.bottom ? a.bottom > b.bottom : a.left < b.left;
    });
    std::vector<GlyphRow> rows;
    for (const DrawnGlyph& g : glyphs) {
        if (rows.empty() || rows.back().bottom != g.bottom) {
            rows.push_back(GlyphRow{g.bottom, "", g.left, 0});
        } else {
            for (f64 x = rows.back().right; x + 5 < g.left; x += 10) rows.back().text += ' ';
        }
        rows.back().text += g.c;
        rows.back().right = g.left + 10;
    }
    return rows;
}
