#pragma once
// Icon textures and the other images loaded once at start-up.
#include "core/string_view.h"
#include "core/types.h"

enum IconId : int {
    icon_white,
    icon_circle2,
    icon_new,
    icon_open,
    icon_save,
    icon_close,
    icon_minimize,
    icon_maximize2,
    icon_button,
    icon_button_hover,
    icon_button_pressed,
    icon_key,
    icon_lightning,
    icon_cylinder,
    icon_cube,
    icon_octahedron,
    icon_sphere,
    icon_sphere_open,
    icon_sphere_save,
    icon_sphere_save_all,
    icon_cone,
    icon_stone,
    icon_star,
    icon_star3d,
    icon_arrow,
    icon_pyramid,
    icon_triangular_prism,
    icon_pentagonal_prism,
    icon_gradient1,
    icon_gradient2,
    icon_gradient3,
    icon_eye,
    icon_settings,
    icon_count,
};

// "resources/white.png", ... in load order.
extern const char* const icon_paths[icon_count];

// Loads the 33 icons in order, then the font, then the theme's background image.
void resources_load();
// Destroys every texture made by resources_load (icons, background, font atlas).
void resources_destroy();
u32 texture_load(StringView path, bool repeat, i32* width, i32* height);
// Base name of the icon file of a texture ("cube" for resources/cube.png); empty when
// the texture is not an icon.
StringView icon_base_name(u32 texture);
