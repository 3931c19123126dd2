#include "render/theme.h"

#include "platform/platform.h"
#include "render/renderer.h"


struct ThemeField {
    StringView key;
    Color Theme::*field;
    Color default_color;
};

#define THEME_FIELD(name, r, g, b, a) {SV(#name), &Theme::name, Color{r, g, b, a}}

static const ThemeField theme_fields[theme_color_count] = {
    THEME_FIELD(background_color, 0, 0, 0.5f, 1),
    THEME_FIELD(menu_background_color, 0, 0, 0, 0.95f),
    THEME_FIELD(text_color, 1, 1, 1, 1),
    THEME_FIELD(error_color, 1, 0, 0, 1),
    THEME_FIELD(note_color, 0.25f, 0.25f, 1, 1),
    THEME_FIELD(cursor_color, 1, 0, 0, 1),
    THEME_FIELD(selection_color, 0.2f, 0.2f, 1, 0.4f),
    THEME_FIELD(line_number_color, 0.5f, 0.5f, 0.7f, 0.9f),
    THEME_FIELD(scrollbar_color, 0.4f, 0.4f, 1, 1),
    THEME_FIELD(treeview_resize_bar_color, 0, 0, 1, 1),
    THEME_FIELD(minimap_resize_bar_color, 0, 0, 1, 1),
    THEME_FIELD(pressed_color, 0, 0, 0, 0.5f),
    THEME_FIELD(hover_color, 1, 1, 1, 0.25f),
    THEME_FIELD(tree_move_color, 1, 0, 0, 0.4f),
    THEME_FIELD(good_match_color, 0, 1, 1, 0.5f),
    THEME_FIELD(bad_match_color, 1, 0, 0, 0.5f),
    THEME_FIELD(neutral_match_color, 1, 0.5f, 0, 0.5f),
    THEME_FIELD(highlight_color, 0.5f, 0.7f, 1, 0.125f),
    THEME_FIELD(mouse_start_color, 1, 0, 0, 1),
    THEME_FIELD(mouse_end_color, 0, 0, 1, 0.125f),
    THEME_FIELD(new_file_color, 1, 0.75f, 0, 1),
    THEME_FIELD(open_file_color, 0, 1, 0.4f, 1),
    THEME_FIELD(save_file_color, 0.2f, 0.2f, 1, 1),
    THEME_FIELD(rename_file_color, 0.5f, 0.5f, 0, 1),
    THEME_FIELD(view_file_color, 0.6f, 0.8f, 1, 1),
    THEME_FIELD(remove_file_color, 1, 0, 0, 1),
    THEME_FIELD(settings_color, 1, 1, 1, 1),
    THEME_FIELD(folder_color, 0.5f, 0, 1, 1),
    THEME_FIELD(c_file_color, 1, 0, 0.2f, 1),
    THEME_FIELD(cpp_file_color, 1, 0.4f, 0.2f, 1),
    THEME_FIELD(vantrel_file_color, 0.2f, 0.5f, 1, 1),
    THEME_FIELD(glsl_file_color, 0, 1, 0.4f, 1),
    THEME_FIELD(text_file_color, 0.6f, 0.8f, 1, 1),
    THEME_FIELD(search_match_color, 1, 0.8f, 0.2f, 0.3f),
    THEME_FIELD(name_use_color, 0.55f, 0.75f, 1, 0.22f),
};

#undef THEME_FIELD

StringView theme_color_key(int index) {
    if (index < 0 || index >= theme_color_count) return StringView{nullptr, 0};
    return theme_fields[index].key;
}

Color* theme_color_field(Theme* t, int index) {
    if (index < 0 || index >= theme_color_count) return nullptr;
    return &(t->*theme_fields[index].field);
}

void theme_set_defaults() {
    for (int i = 0; i < theme_color_count; i++) render.theme.*theme_fields[i].field = theme_fields[i].default_color;
    render.theme.entries = Array<ThemeEntry>{};
    render.theme.entries.pool = pool_frame;
    render.theme.font_path = SV("resources/font_info.txt");
    render.theme.background_path = StringView{nullptr, 0};
}

static i64 skip_to_next_line(StringView s, i64 pos) {
    while (pos < s.length && s.data[pos] != '\n') pos++;
    return pos + 1;
}

static i64 line_end(StringView s, i64 pos) {
    while (pos < s.length && s.data[pos] != '\n') pos++;
    return pos;
}

// r, one separator byte, g, one separator byte, b, and a only after a space.
static Color parse_color(StringView s, i64* pos) {
    Color c;
    c.r = (f32)parse_decimal(s, pos);
    (*pos)++;
    c.g = (f32)parse_decimal(s, pos);
    (*pos)++;
    c.b = (f32)parse_decimal(s, pos);
    c.a = 1;
    if (*pos < s.length && s.data[*pos] == ' ') {
        (*pos)++;
        c.a = (f32)parse_decimal(s, pos);
    }
    return c;
}

static int field_index(StringView key) {
    for (int i = 0; i < theme_color_count; i++)
        if (sv_equal(theme_fields[i].key, key)) return i;
    return -1;
}

static bool entry_present(const Array<ThemeEntry>& entries, StringView key) {
    for (const ThemeEntry& e : entries)
        if (sv_equal(e.key, key)) return true;
    return false;
}

void theme_parse(StringView bytes) {
    render.theme.entries = Array<ThemeEntry>{};
    render.theme.entries.pool = pool_frame;
    i64 pos = 0;
    while (pos < bytes.length) {
        i64 key_start = pos;
        while (pos < bytes.length && bytes.data[pos] != ' ') pos++;
        StringView key = sv_slice(bytes, key_start, pos);
        pos++;
        if (pos > bytes.length) pos = bytes.length;
        if (sv_equal(key, SV("font")) || sv_equal(key, SV("background"))) {
            i64 end = line_end(bytes, pos);
            StringView value = string_copy(sv_slice(bytes, pos, end), pool_main);
            if (key.length == 4) render.theme.font_path = value;
            else render.theme.background_path = value;
            pos = end;
        } else {
            Color color = parse_color(bytes, &pos);
            if (pos > bytes.length) pos = bytes.length;
            // Only a key's first line can decide its colour, and only the 33 keys count,
            // so the list stays small however long the file is.
            if (field_index(key) >= 0 && !entry_present(render.theme.entries, key))
                array_append(&render.theme.entries, ThemeEntry{key, color});
        }
        pos = skip_to_next_line(bytes, pos);
    }
    for (int i = 0; i < theme_color_count; i++) {
        Color color{0, 0, 0, 0};
        for (const ThemeEntry& e : render.theme.entries) {
            if (sv_equal(e.key, theme_fields[i].key)) {
                color = e.color;
                break;
            }
        }
        render.theme.*theme_fields[i].field = color;
    }
}

void theme_load(StringView path) {
    // A file the frame pool cannot hold counts as unreadable.
    FileContents contents = file_read_all(path, pool_frame, pool_available(pool_frame) / 2);
    if (contents.status == read_ok) theme_parse(contents.bytes);
}
