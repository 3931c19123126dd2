// Drawing the list widget's rows and the row being dragged, and its scrollbar.
#include "core/core_state.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "workbench/list_widget_walk.h"

namespace {
const Color white = {1, 1, 1, 1};

// The row's own icon and its name, with the icon's bottom-left corner at (x, bottom).
void draw_icon_and_name(const ListWidget* w, const TreeNode& row, f32 x, f32 bottom) {
    draw_quad(row.icon, row.color, x, bottom, w->row_height, w->row_height, 0, 0, 0, uv_rect_full);
    if (w->font && row.name.length > 0)
        draw_text(w->font, row.color, row.name, x + w->row_height + list_name_gap * w->scale, bottom + w->row_height * 0.5,
                  w->scale, w->scale, 0, align_center_y);
}

void draw_group_icon(const ListWidget* w, const TreeNode& row, const RowPlace& place, bool hovered) {
    f32 size = w->icon_size;
    f32 bottom = place.top - place.height * 0.5f - size * 0.5f;
    if (hovered) {
        Color c = input_mouse_is_held(mouse_primary) ? render.theme.pressed_color : render.theme.hover_color;
        draw_quad(render.icon_textures[icon_circle2], c, w->x, bottom, size, size, 0, 0, 0, uv_rect_full);
    }
    u32 icon = row.is_open ? w->open_icon : w->closed_icon;
    draw_quad(icon, white, w->x, bottom, size, size, 0, 0, 0, uv_rect_full);
}

void draw_row(const ListWidget* w, const RowPlace& place, const RowHit& hit) {
    const TreeNode& row = w->rows[place.index];
    f32 bottom = place.top - place.height;
    if (row.is_selected) draw_rect(w->selection_color, w->x, bottom, w->width, place.height);
    if (row.is_group_end) {
        draw_rect(row.color, w->x, bottom, w->width, w->group_end_height);
        return;
    }
    if (row.is_group_start) {
        bool hovered = hit.found && hit.on_group_icon && hit.place.index == place.index;
        draw_group_icon(w, row, place, hovered);
    }
    // The level is the row's depth among groups, so rows inside a group stand one
    // indent further right than the group's own row.
    f32 icon_x = w->x + w->icon_size + (f32)place.level * w->indent;
    draw_icon_and_name(w, row, icon_x, bottom);
}

struct ThumbPlace {
    bool shown;
    f32 x, y, width, height;
};

ThumbPlace thumb_place(const ListWidget* w) {
    ThumbPlace t{};
    t.shown = w->content_height > w->height && w->height > 0;
    if (!t.shown) return t;
    t.width = list_scrollbar_width * w->scale;
    t.x = w->x + w->width - t.width;
    t.height = w->height * w->height / w->content_height;
    if (t.height < list_min_thumb * w->scale) t.height = list_min_thumb * w->scale;
    if (t.height > w->height) t.height = w->height;
    f32 range = w->content_height - w->height;
    f32 travel = w->height - t.height;
    f32 offset = range > 0 ? w->scroll / range * travel : 0;
    t.y = w->y + w->height - offset - t.height;
    return t;
}

bool inside_thumb(const ThumbPlace& t) {
    return t.shown && core.mouse_x >= t.x && core.mouse_x < t.x + t.width && core.mouse_y >= t.y && core.mouse_y < t.y + t.height;
}
}  // namespace

void list_draw_rows(const ListWidget* w, const RowHit& hit) {
    RowWalk walk = row_walk_start(w);
    RowPlace place;
    f32 box_top = w->y + w->height;
    while (row_walk_next_visible(&walk, &place)) {
        if (place.top - place.height >= box_top) continue;
        if (place.top <= w->y) break;
        draw_row(w, place, hit);
    }
}

void list_draw_drag(const ListWidget* w, const RowHit& hit) {
    i64 first = -1;
    for (i64 i = 0; i < w->rows.count && first < 0; i++)
        if (w->rows[i].is_selected) first = i;
    if (first < 0) return;
    DropPlace drop = list_drop_place(w, hit);
    if (drop.index >= 0)
        draw_rect(render.theme.tree_move_color, w->x, drop.marker_y - list_drop_marker_height * w->scale * 0.5f, w->width,
                  list_drop_marker_height * w->scale);
    f32 half = w->row_height * 0.5f;
    draw_icon_and_name(w, w->rows[first], (f32)core.mouse_x - half, (f32)core.mouse_y - half);
}

void list_scrollbar_input(ListWidget* w, bool inside, bool* over) {
    ThumbPlace t = thumb_place(w);
    w->track_x = t.x;
    w->thumb_height = t.height;
    w->thumb_y = t.y;
    *over = t.shown && inside && core.mouse_x >= t.x;
    if (!t.shown) {
        w->thumb_dragging = 0;
        return;
    }
    if (w->has_focus && input_mouse_is_pressed(mouse_primary) && inside_thumb(t)) {
        w->thumb_dragging = 1;
        w->thumb_grab_offset = (f32)core.mouse_y - t.y;
    }
    if (w->thumb_dragging) {
        f32 lowest = w->y, highest = w->y + w->height - t.height;
        f32 y = (f32)core.mouse_y - w->thumb_grab_offset;
        if (y < lowest) y = lowest;
        if (y > highest) y = highest;
        f32 travel = w->height - t.height;
        f32 range = w->content_height - w->height;
        w->scroll = travel > 0 ? (highest - y) / travel * range : 0;
        w->thumb_y = y;
    }
    if (input_mouse_is_released(mouse_primary)) w->thumb_dragging = 0;
}

void list_scrollbar_draw(const ListWidget* w, bool inside) {
    ThumbPlace t = thumb_place(w);
    if (!t.shown) return;
    draw_rect(render.theme.scrollbar_color, t.x, w->y, t.width, w->height);
    draw_rect(render.theme.line_number_color, t.x, t.y, t.width, t.height);
    if (w->thumb_dragging) draw_rect(render.theme.pressed_color, t.x, t.y, t.width, t.height);
    else if (inside && inside_thumb(t)) draw_rect(render.theme.hover_color, t.x, t.y, t.width, t.height);
}
