// A contact sheet of every generated image, for looking them over in one picture.
#pragma once
#include "font_info.h"
#include "png_out.h"

// Each image appears plain, tinted with a theme colour, and at half size on a dark panel,
// labelled with its file name.
Image8 make_contact_sheet(const FontInfo& info, const Image8& atlas);
