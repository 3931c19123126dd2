// The results panel: a title with the count, then one row per place ("file.c:42  the
// line"), in the outline's region. The wheel scrolls, the row under the pointer is lit,
// and a click goes to the place.
#include "workbench/results_panel.h"

#include <cstdio>

#include "core/core_state.h"
#include "editor/editor_state.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/list_widget_walk.h"
#include "workbench/navigation.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
// Rows beyond it are not kept (callers count them in their titles), and a row keeps at
// most this much of its line: the panel shows less.
constexpr i64 row_limit = 10000;
constexpr i64 row_text_limit = 240;
constexpr f32 row_height = 24;  // times the scale
constexpr f32 title_height = 32;
constexpr f32 text_margin = 6;
constexpr f32 scrollbar_width = 8;

// Two stores take turns, so that a list made from the panel's own rows copies safely.
struct ResultsPanelState {
    bool open;
    u64 list_id;
    OwnedString title;  // pool_main
    Array<ResultRow> rows[2];
    Array<char> bytes[2];
    i32 current;
    f32 scroll;
};
ResultsPanelState panel;

StringView keep(Array<char>* bytes, StringView s) {
    StringView kept{bytes->data + bytes->count, s.length};
    if (s.length > 0) memcpy(bytes->data + bytes->count, s.data, (size_t)s.length);
    bytes->count += s.length;
    return kept;
}

// The row under the pointer, or -1.
i64 row_at_pointer(Rect list) {
    if (!point_in_rect(list, core.mouse_x, core.mouse_y)) return -1;
    f32 h = row_height * workbench.scale;
    i64 index = (i64)((list.y + list.height + panel.scroll - (f32)core.mouse_y) / h);
    const Array<ResultRow>& rows = panel.rows[panel.current];
    return index >= 0 && index < rows.count ? index : -1;
}

void draw_row(const ResultRow& row, f32 x, f32 middle, f32 k) {
    char place[32];
    snprintf(place, sizeof place, ":%d", row.line + 1);
    StringView name = tab_display_name(row.path);
    Color file_color = file_color_for_path(row.path);
    f32 pen = x + draw_text(&render.font, file_color, name, x, middle, k, k, 0, align_center_y);
    pen += draw_text(&render.font, file_color, sv_from_cstr(place), pen, middle, k, k, 0, align_center_y);
    draw_text(&render.font, render.theme.text_color, row.text, pen + 2 * text_margin * k, middle, k, k, 0,
              align_center_y);
}

void draw_scrollbar(Rect list, f32 content, f32 k) {
    if (content <= list.height || list.height <= 0) return;
    f32 w = scrollbar_width * k, x = list.x + list.width - w;
    f32 thumb = list.height * list.height / content;
    if (thumb < 16 * k) thumb = 16 * k;
    f32 travel = list.height - thumb;
    f32 y = list.y + list.height - thumb - travel * panel.scroll / (content - list.height);
    draw_rect(render.theme.scrollbar_color, x, list.y, w, list.height);
    draw_rect(render.theme.line_number_color, x, y, w, thumb);
}
}  // namespace

void results_panel_show(StringView title, const ResultRow* rows, i64 count) {
    if (count > row_limit) count = row_limit;
    if (count < 0 || !rows) count = 0;
    i32 next = 1 - panel.current;
    Array<ResultRow>* kept_rows = &panel.rows[next];
    Array<char>* bytes = &panel.bytes[next];
    kept_rows->pool = bytes->pool = pool_main;
    kept_rows->count = bytes->count = 0;
    // Room first, so that the views taken below do not move: each text, and each path
    // that differs from the row before's.
    i64 needed = 0;
    for (i64 i = 0; i < count; i++) {
        needed += rows[i].text.length < row_text_limit ? rows[i].text.length : row_text_limit;
        if (i == 0 || !sv_equal(rows[i].path, rows[i - 1].path)) needed += rows[i].path.length;
    }
    array_reserve(kept_rows, count > 0 ? count : 1);
    array_reserve(bytes, needed > 0 ? needed : 1);
    for (i64 i = 0; i < count; i++) {
        ResultRow row = rows[i];
        // The code matters, not its indentation: the panel is narrow.
        while (row.text.length > 0 && (row.text.data[0] == ' ' || row.text.data[0] == '\t')) {
            row.text.data++;
            row.text.length--;
        }
        row.path =
            i > 0 && sv_equal(rows[i].path, rows[i - 1].path) ? kept_rows->data[i - 1].path : keep(bytes, row.path);
        if (row.text.length > row_text_limit) row.text.length = row_text_limit;
        row.text = keep(bytes, row.text);
        kept_rows->data[kept_rows->count++] = row;
    }
    string_assign(&panel.title, title, pool_main);
    panel.current = next;
    // A new list starts at its top; the same list growing keeps its place.
    if (!panel.open) panel.scroll = 0;
    panel.open = true;
    panel.list_id++;
}

void results_panel_close() {
    panel.open = false;
    panel.scroll = 0;
    panel.list_id++;
}

bool results_panel_is_open() { return panel.open; }

void results_panel_reserve() {
    for (int i = 0; i < 2; i++) {
        if (panel.rows[i].capacity > 0) continue;
        panel.rows[i].pool = panel.bytes[i].pool = pool_main;
        array_reserve(&panel.rows[i], row_limit);
        // Each row's text and, at most, a path of its own.
        array_reserve(&panel.bytes[i], row_limit * (row_text_limit + 256));
    }
}

u64 results_panel_list_id() { return panel.list_id; }

void run_results_panel() {
    Rect r = workbench.layout.minimap;
    if (!panel.open || r.width < 0.001f || r.height <= 0) return;
    f32 k = workbench.scale;
    f32 h = row_height * k, title_h = title_height * k;
    Rect list{r.x, r.y, r.width, r.height - title_h};
    const Array<ResultRow>& rows = panel.rows[panel.current];
    f32 content = (f32)rows.count * h;

    i32 wheel = input_mouse_wheel();
    if (wheel != 0 && point_in_rect(r, core.mouse_x, core.mouse_y)) panel.scroll -= (f32)wheel * list_wheel_step * k;
    f32 most = content - list.height;
    if (panel.scroll > most) panel.scroll = most;
    if (panel.scroll < 0) panel.scroll = 0;

    bool dialog = any_dialog_open();
    i64 hovered = dialog ? -1 : row_at_pointer(list);
    scissor_set(r.x, r.y, r.width, r.height);
    draw_rect(opaque_panel_color(), r.x, r.y + r.height - title_h, r.width, title_h);
    draw_text(&render.font, render.theme.text_color, owned_view(panel.title), r.x + text_margin * k,
              r.y + r.height - title_h * 0.5f, k, k, 0, align_center_y);
    scissor_set(list.x, list.y, list.width, list.height);
    i64 first = (i64)(panel.scroll / h);
    f32 top = list.y + list.height + panel.scroll - (f32)first * h;
    for (i64 i = first; i < rows.count && top > list.y; i++, top -= h) {
        if (i == hovered) draw_rect(render.theme.hover_color, list.x, top - h, list.width, h);
        draw_row(rows[i], list.x + text_margin * k, top - h * 0.5f, k);
    }
    draw_scrollbar(list, content, k);
    scissor_off();

    if (hovered < 0 || !input_mouse_is_pressed(mouse_primary)) return;
    // The row is copied: going there may show another list.
    ResultRow row = rows[hovered];
    if (navigate_to(row.path, row.line, row.column) && editor.current_document) editor.current_document->focused = 1;
}
