// Draws text with a font_info and its atlas following the editor's placement rules, for
// looking at the result.
#pragma once
#include <string>

#include "font_info.h"
#include "png_out.h"

// Every "\n"-separated line of `text` is drawn as one editor row (rows one line high, text
// vertically centred on the row centre) at the given scale; rows alternate two background shades.
Image8 render_text_preview(const FontInfo& info, const Image8& atlas, const std::string& text, double scale);

// One line of text on a transparent image one line high, at scale 1.
Image8 render_label(const FontInfo& info, const Image8& atlas, const std::string& text);
