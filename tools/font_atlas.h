// Rasterises a monospace TrueType font into the glyph atlas and writes its font_info text.
#pragma once
#include <string>
#include <vector>

#include "png_out.h"

struct FontParams {
    std::string ttf_path;
    int atlas_size = 256;  // square atlas, declared at its real size by the "s" line
    int advance_px = 9;    // every glyph's advance, a whole number of pixels so columns line up
    int ascent_px = 14;    // line box above the baseline
    int descent_px = 5;    // line box below the baseline
    bool snap_stems = true;
};

// One "g" record, in atlas pixels.
struct AtlasGlyph {
    int codepoint = 0;
    int offset_x = 0;  // minus the left bearing
    int offset_y = 0;  // minus the distance from the bottom of the line box to the bottom of the glyph
    int advance = 0;
    int x = 0;         // left edge in the atlas
    int y = 0;         // bottom edge in the atlas, counted from the bottom row (the texture origin)
    int width = 0;
    int height = 0;
};

struct FontAtlas {
    Image8 image;                     // rows top to bottom, as stored in the PNG
    std::vector<AtlasGlyph> glyphs;   // space and tab first, then by code point
    int wanted = 0;                   // code points asked for that the font has
    int packed = 0;                   // of those, the ones with a place in the atlas (blank ones included)
    std::vector<int> left_out;        // asked for, had a glyph in the font, no room in the atlas
    std::vector<int> missing;         // asked for, not in the font
    int clipped_rows = 0;             // glyph rows cut because they left the line box
};

// Returns false (after printing why) when the font cannot be read or a required glyph does not fit.
bool build_font_atlas(const FontParams& params, FontAtlas* out);

// The font_info text for an atlas stored as `image_name` next to the font_info file.
std::string font_info_text(const FontAtlas& atlas, const std::string& image_name);
