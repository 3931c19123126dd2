#pragma once
// The named colours of the user interface, the font description path and the optional
// background image. Built-in defaults until a theme file replaces them.
#include "core/array.h"
#include "core/string_view.h"
#include "core/types.h"
#include "render/color.h"

struct ThemeEntry {
    StringView key;
    Color color;
};

struct Theme {
    Color background_color;
    Color menu_background_color;
    Color text_color;
    Color error_color;
    Color note_color;
    Color cursor_color;
    Color selection_color;
    Color line_number_color;
    Color scrollbar_color;
    Color treeview_resize_bar_color;
    Color minimap_resize_bar_color;
    Color pressed_color;
    Color hover_color;
    Color tree_move_color;
    Color good_match_color;
    Color bad_match_color;
    Color neutral_match_color;
    Color highlight_color;
    Color mouse_start_color;
    Color mouse_end_color;
    Color new_file_color;
    Color open_file_color;
    Color save_file_color;
    Color rename_file_color;
    Color view_file_color;
    Color remove_file_color;
    Color settings_color;
    Color folder_color;
    Color c_file_color;
    Color cpp_file_color;
    Color vantrel_file_color;
    Color glsl_file_color;
    Color text_file_color;
    Color search_match_color;  // other matches of the find text on screen
    Color name_use_color;      // other uses of the name under the resting caret
    // Colour lines of the last theme file read, pointing into its bytes in pool 1; only
    // the first line of each colour key is kept, since later ones never count.
    Array<ThemeEntry> entries;
    StringView font_path;        // pool 0
    StringView background_path;  // pool 0; empty: no background image
};

enum : int { theme_color_count = 35 };


// The background image named by the theme, loaded by resources_load (0 when none).

// Key of the i-th colour field ("background_color", ...) and the field itself.
StringView theme_color_key(int index);
Color* theme_color_field(Theme* t, int index);

void theme_set_defaults();
// Reads a theme file; an unreadable one leaves the theme as it is.
void theme_load(StringView path);
// Applies the bytes of a theme file: every colour is replaced (missing keys become
// transparent black), "font" and "background" change only when named.
void theme_parse(StringView bytes);
