#include "editor/symbol_look.h"

#include "render/renderer.h"
#include "render/resources.h"
#include "syntax/token_kinds.h"

namespace {
const IconId kind_icons[symbol_kind_count] = {
    icon_stone,     // none
    icon_cube,      // struct
    icon_octahedron,  // enum
    icon_cone,      // handle
    icon_cone,      // alias
    icon_cone,      // template parameter
    icon_cylinder,  // procedure
    icon_sphere,    // member
    icon_sphere,    // global
    icon_sphere,    // local
    icon_sphere,    // parameter
    icon_cone,      // namespace
    icon_cone,      // using
    icon_cone,      // typedef
    icon_cube,      // built-in type
    icon_sphere,    // built-in variable
    icon_cylinder,  // built-in function
};

bool has_kind(const AnalysisResult* r, u8 kind) { return kind < symbol_kind_count && r->kind_tokens[kind] >= 0; }

Color colour_of_token(const AnalysisResult* r, i64 token_kind) {
    PaletteView palette = palette_of_language(r->language);
    if (token_kind < 0 || token_kind >= palette.count) return Color{0, 0, 0, 0};
    return palette.colors[token_kind];
}
}  // namespace

u32 symbol_kind_icon(const AnalysisResult* r, u8 kind) {
    return has_kind(r, kind) ? render.icon_textures[kind_icons[kind]] : 0;
}

Color symbol_kind_colour(const AnalysisResult* r, u8 kind) {
    return has_kind(r, kind) ? colour_of_token(r, r->kind_tokens[kind]) : Color{0, 0, 0, 0};
}

u32 outline_row_icon(const AnalysisResult* r, const OutlineRow& row) {
    if (row.is_group_start) return render.icon_textures[icon_cube];
    return symbol_kind_icon(r, row.symbol_kind);
}

Color outline_row_colour(const AnalysisResult* r, const OutlineRow& row) { return colour_of_token(r, row.token_kind); }
