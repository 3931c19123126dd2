// Reads a font_info text the way the editor's loader does, and checks the placement rules
// that the editor's text drawing relies on.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "png_out.h"

// One glyph as the loader keeps it: fractions of the atlas size.
struct InfoGlyph {
    int codepoint = 0;
    double offset_x = 0, offset_y = 0, advance = 0, u = 0, v = 0, width = 0, height = 0;
};

struct FontInfo {
    double space_advance = 0, tab_advance = 0, line_height = 0;
    double size = 256;               // the loader's fixed font size
    std::string image_path;          // as written on the "i" line
    std::vector<InfoGlyph> glyphs;   // index 0 is the fallback (a copy of U+FFFD)
    std::map<int, size_t> index;     // code point -> first glyph listed for it
};

// Strict reading: besides the loader's own rules, every record must end right after its last
// field, and the text must end with a line end.
bool parse_font_info(const std::string& text, FontInfo* out, std::string* error);

// Checks, in atlas pixels of a `atlas` image: monospace advances, tab = 4 spaces, the fallback
// glyph, every glyph inside the line box when drawn centred on a row, rectangles inside the
// atlas and apart from each other, ink only inside rectangles.
bool check_font_info(const FontInfo& info, const Image8& atlas, std::string* error);

const InfoGlyph& glyph_for(const FontInfo& info, int codepoint);

// Decodes one UTF-8 sequence with the editor's rules; returns the byte length.
int utf8_decode(const std::string& s, size_t at, int* codepoint);
