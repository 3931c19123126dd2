// The tree list widget's frame: scrolling, selection by clicks, group toggling and the
// order of its steps (input first, then drawing).
#include "workbench/list_widget.h"

#include "core/core_state.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "workbench/list_widget_walk.h"

// ---- Walking the rows ------------------------------------------------------------------

f32 row_height_of(const ListWidget* w, const TreeNode& row) {
    return row.is_group_end ? w->group_end_height : w->row_height;
}

RowWalk row_walk_start(const ListWidget* w) { return RowWalk{w, 0, 0, -1, w->y + w->height + w->scroll}; }

bool row_walk_step(RowWalk* walk, RowPlace* place, bool* visible) {
    const ListWidget* w = walk->w;
    if (walk->next >= w->rows.count) return false;
    const TreeNode& row = w->rows[walk->next];
    *visible = walk->hidden_at < 0;
    place->index = walk->next++;
    place->level = walk->depth;
    if (row.is_group_start) {
        walk->depth++;
        if (*visible && !row.is_open) walk->hidden_at = walk->depth;
    } else if (row.is_group_end) {
        // The end row of a closed group is hidden with its contents.
        if (walk->hidden_at == walk->depth) walk->hidden_at = -1;
        if (walk->depth > 0) walk->depth--;
        place->level = walk->depth;
    }
    place->top = walk->top;
    place->height = row_height_of(w, row);
    if (*visible) walk->top -= place->height;
    return true;
}

bool row_walk_next_visible(RowWalk* walk, RowPlace* place) {
    bool visible = false;
    while (row_walk_step(walk, place, &visible))
        if (visible) return true;
    return false;
}

f32 list_content_height(const ListWidget* w) {
    RowWalk walk = row_walk_start(w);
    RowPlace place;
    f32 total = 0;
    while (row_walk_next_visible(&walk, &place)) total += place.height;
    return total;
}

bool list_row_visible(const ListWidget* w, i64 index) {
    if (index < 0 || index >= w->rows.count) return false;
    RowWalk walk = row_walk_start(w);
    RowPlace place;
    bool visible = false;
    while (row_walk_step(&walk, &place, &visible))
        if (place.index == index) return visible;
    return false;
}

i64 list_group_end(const ListWidget* w, i64 index) {
    i64 last = w->rows.count - 1;
    if (index < 0 || index > last) return last;
    if (!w->rows[index].is_group_start) return index;
    i64 depth = 0;
    for (i64 i = index; i <= last; i++) {
        if (w->rows[i].is_group_start) depth++;
        else if (w->rows[i].is_group_end && --depth == 0) return i;
    }
    return last;
}

void list_widget_init(ListWidget* w, bool drag_enabled) {
    w->indent = 16;
    w->row_height = 32;
    w->group_end_height = 16;
    w->icon_size = 32;
    w->scale = 1;
    w->closed_icon = render.icon_textures[icon_maximize2];
    w->open_icon = render.icon_textures[icon_minimize];
    w->font = &render.font;
    w->selection_color = render.theme.selection_color;
    w->drag_enabled = drag_enabled;
    w->double_click_time = 0.5f;
    w->click_timer = 0;
    w->dragging = w->pressed = 0;
    w->thumb_dragging = 0;
}

// ---- Input -------------------------------------------------------------------------------

RowHit list_hit_test(const ListWidget* w) {
    RowHit hit{};
    RowWalk walk = row_walk_start(w);
    RowPlace place;
    while (row_walk_next_visible(&walk, &place)) {
        if (place.top - place.height > core.mouse_y) continue;
        if (place.top <= core.mouse_y) break;
        hit.found = true;
        hit.place = place;
        hit.on_group_icon = w->rows[place.index].is_group_start && core.mouse_x < w->x + w->icon_size;
        break;
    }
    return hit;
}

namespace {
bool mouse_inside(const ListWidget* w) {
    return core.mouse_x >= w->x && core.mouse_x < w->x + w->width && core.mouse_y >= w->y && core.mouse_y < w->y + w->height;
}

void clamp_scroll(ListWidget* w) {
    f32 most = w->content_height - w->height;
    if (most < 0) most = 0;
    if (w->scroll > most) w->scroll = most;
    if (w->scroll < 0) w->scroll = 0;
}

f64 squared_distance_from_press(const ListWidget* w) {
    f64 dx = core.mouse_x - w->press_x, dy = core.mouse_y - w->press_y;
    return dx * dx + dy * dy;
}

void select_range_to(ListWidget* w, i64 index) {
    i64 first = index, last = index;
    for (i64 i = 0; i < w->rows.count; i++) {
        if (!w->rows[i].is_selected) continue;
        if (i < first) first = i;
        if (i > last) last = i;
    }
    for (i64 i = first; i <= last; i++)
        if (!w->rows[i].is_group_end) w->rows[i].is_selected = 1;
}

void click_row(ListWidget* w, i64 index) {
    if (w->click_timer > 0 && squared_distance_from_press(w) <= list_double_click_reach) w->double_clicked = 1;
    else w->click_timer = w->double_click_time;
    w->press_x = core.mouse_x;
    w->press_y = core.mouse_y;
    w->pressed = 1;
    TreeNode& row = w->rows[index];
    if (input_key_is_held(key_ctrl)) {
        row.is_selected = !row.is_selected;
    } else if (input_key_is_held(key_shift)) {
        select_range_to(w, index);
    } else {
        if (!row.is_selected)
            for (TreeNode& r : w->rows) r.is_selected = 0;
        row.is_selected = 1;
    }
}

bool any_selected(const ListWidget* w) {
    for (const TreeNode& r : w->rows)
        if (r.is_selected) return true;
    return false;
}

void rows_input(ListWidget* w, const RowHit& hit, bool inside) {
    bool released = input_mouse_is_released(mouse_primary);
    if (hit.found && w->has_focus && !w->dragging && released && hit.on_group_icon) {
        TreeNode& row = w->rows[hit.place.index];
        row.is_open = !row.is_open;
        w->rows_changed = 1;
    }
    if (hit.found && w->has_focus && input_mouse_is_pressed(mouse_primary) &&
        !w->rows[hit.place.index].is_group_end && core.mouse_x >= w->x + w->icon_size)
        click_row(w, hit.place.index);

    if (w->drag_enabled && w->pressed && !w->dragging && squared_distance_from_press(w) >= list_drag_threshold)
        w->dragging = 1;
    if (released) {
        if (w->dragging && inside && any_selected(w)) list_move_selected(w, list_drop_place(w, hit).index);
        w->dragging = 0;
        w->pressed = 0;
    }
}
}  // namespace

void list_widget_frame(ListWidget* w) {
    w->double_clicked = 0;
    w->rows_changed = 0;
    w->click_timer -= core.frame_time;
    // Scratch of this frame's move; pool_frame is emptied before the next frame.
    w->moved_rows = Array<i32>{nullptr, 0, 0, pool_frame};
    bool inside = mouse_inside(w);

    w->content_height = list_content_height(w);
    i32 wheel = input_mouse_wheel();
    if (inside && wheel != 0) w->scroll -= (f32)wheel * list_wheel_step * w->scale;
    clamp_scroll(w);

    bool over_scrollbar = false;
    list_scrollbar_input(w, inside, &over_scrollbar);
    RowHit hit{};
    if (inside && !over_scrollbar) hit = list_hit_test(w);
    rows_input(w, hit, inside);
    // Toggling or moving rows changes what is shown.
    w->content_height = list_content_height(w);
    clamp_scroll(w);
    if (inside && !over_scrollbar) hit = list_hit_test(w);

    list_draw_rows(w, hit);
    if (w->dragging && inside) list_draw_drag(w, hit);
    list_scrollbar_draw(w, inside);
}
