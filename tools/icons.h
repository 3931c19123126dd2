// The icon images: drawn procedurally in white and greys with an alpha mask, because the
// editor tints every icon with a theme colour (except the red window icon and the backdrop).
#pragma once
#include <string>
#include <vector>

#include "canvas.h"
#include "png_out.h"

struct IconFile {
    std::string name;  // file name under resources/
    Image8 (*make)();
};

// Every image file, in the editor's loading order, then the window icon and the backdrop.
const std::vector<IconFile>& icon_files();

constexpr int kIconSize = 64;
const Rgba kOutline{0.12f, 0.12f, 0.12f, 1.0f};
constexpr float kOutlinePx = 1.5f;

// Symbols that also serve as small marks on other icons.
void paint_open_folder(Canvas& c, const Xform& xf);
void paint_floppy(Canvas& c, const Xform& xf);

// icon_symbols.cpp
Image8 make_circle2();
Image8 make_new();
Image8 make_open();
Image8 make_save();
Image8 make_close();
Image8 make_minimize();
Image8 make_maximize2();
Image8 make_key();
Image8 make_lightning();
Image8 make_star();
Image8 make_arrow();
Image8 make_eye();
Image8 make_settings();

// icon_solids.cpp
Image8 make_cylinder();
Image8 make_cube();
Image8 make_octahedron();
Image8 make_sphere();
Image8 make_sphere_open();
Image8 make_sphere_save();
Image8 make_sphere_save_all();
Image8 make_cone();
Image8 make_stone();
Image8 make_star3d();
Image8 make_pyramid();
Image8 make_triangular_prism();
Image8 make_pentagonal_prism();
Image8 make_red_sphere();

// icon_surfaces.cpp
Image8 make_white();
Image8 make_button();
Image8 make_button_hover();
Image8 make_button_pressed();
Image8 make_gradient1();
Image8 make_gradient2();
Image8 make_gradient3();
Image8 make_backdrop();
