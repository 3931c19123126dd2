// The side panels' widths and the two bars between the panels. A panel takes a share of
// the window until the user drags its bar; either way the editor keeps room for its
// least columns, and for its wanted columns while the panels can give way.
#include "core/core_state.h"
#include "editor/editor_state.h"
#include "editor/view.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/workbench_state.h"

namespace {
f32 at_least_zero(f32 v) { return v > 0 ? v : 0; }

// Takes up to `excess` pixels from a panel, not below `floor` (a panel already narrower
// keeps its width); returns what is still to take.
f32 give_way_one(f32* panel, f32 excess, f32 floor) {
    if (excess <= 0) return 0;
    f32 room = at_least_zero(*panel - floor);
    f32 taken = room < excess ? room : excess;
    *panel -= taken;
    return excess - taken;
}

// The first panel gives way first, then the second.
void give_way(f32* first, f32* second, f32 excess, f32 floor) {
    give_way_one(second, give_way_one(first, excess, floor), floor);
}

// Both panels give way by the same amount where they can.
void give_way_evenly(f32* a, f32* b, f32 excess, f32 floor) {
    if (excess <= 0) return;
    f32 half = excess * 0.5f;
    f32 from_a = at_least_zero(*a - floor) < half ? at_least_zero(*a - floor) : half;
    f32 from_b = at_least_zero(*b - floor) < half ? at_least_zero(*b - floor) : half;
    *a -= from_a;
    *b -= from_b;
    give_way(a, b, excess - from_a - from_b, floor);
}

void draw_bar(Rect r, Color base, bool dragged) {
    if (r.width < 0.001f || r.height <= 0) return;
    scissor_set(r.x, r.y, r.width, r.height);
    draw_rect(base, r.x, r.y, r.width, r.height);
    if (dragged) draw_rect(render.theme.pressed_color, r.x, r.y, r.width, r.height);
    else if (point_in_rect(r, core.mouse_x, core.mouse_y)) draw_rect(render.theme.hover_color, r.x, r.y, r.width, r.height);
}
}  // namespace

f32 workbench_bar_width() { return workbench.panels_hidden ? 0 : workbench.bar_width; }

f32 editor_width_for_columns(i64 columns) {
    const Document* doc = editor.current_document;
    if (doc && doc->font && doc->font->glyphs.count > 0) return view_width_for_columns(doc, columns);
    // No document yet: the editor font at the workbench's scale, a three-digit gutter.
    f32 column = (f32)(render.font.space_advance * render.font.size) * workbench.scale;
    return (16 + 32) * workbench.scale + (f32)(columns + 3) * column;
}

void fit_panel_widths() {
    WorkbenchState& w = workbench;
    if (w.panels_hidden) {
        w.tree_width = w.minimap_width = 0;
        return;
    }
    f32 window = (f32)render.gpu.width;
    f32 room = window - 2 * w.bar_width;
    f32 share = (f32)math_floor(window * panel_share);
    w.tree_width = w.tree_chosen >= 0 ? w.tree_chosen : share;
    w.minimap_width = w.minimap_chosen >= 0 ? w.minimap_chosen : share;
    // Panels that follow their share make room for the wanted columns.
    f32 wanted = room - editor_width_for_columns(editor_wanted_columns) - w.tree_width - w.minimap_width;
    f32 least = panel_least_width * w.scale;
    bool tree_follows = w.tree_chosen < 0, minimap_follows = w.minimap_chosen < 0;
    if (tree_follows && minimap_follows) give_way_evenly(&w.tree_width, &w.minimap_width, -wanted, least);
    else if (tree_follows) give_way_one(&w.tree_width, -wanted, least);
    else if (minimap_follows) give_way_one(&w.minimap_width, -wanted, least);
    // The least columns always: the panel whose bar is held gives way first.
    f32 excess = w.tree_width + w.minimap_width - at_least_zero(room - editor_width_for_columns(editor_least_columns));
    if (w.dragging_left_bar) give_way(&w.tree_width, &w.minimap_width, excess, 0);
    else if (w.dragging_right_bar) give_way(&w.minimap_width, &w.tree_width, excess, 0);
    else give_way_evenly(&w.tree_width, &w.minimap_width, excess, 0);
    // A sliver narrower than a row's two icons shows nothing: the editor takes it.
    f32 useful = 2 * w.file_tree.icon_size;
    if (w.tree_width < useful) w.tree_width = 0;
    if (w.minimap_width < useful) w.minimap_width = 0;
    w.tree_width = (f32)math_floor(w.tree_width);
    w.minimap_width = (f32)math_floor(w.minimap_width);
}

void toggle_side_panels() {
    WorkbenchState& w = workbench;
    w.panels_hidden = !w.panels_hidden;
    w.dragging_left_bar = w.dragging_right_bar = 0;
}

void run_resize_bars() {
    WorkbenchState& w = workbench;
    const WorkbenchLayout& l = w.layout;
    if (!any_dialog_open() && !w.panels_hidden) {
        if (input_mouse_is_pressed(mouse_primary)) {
            if (point_in_rect(l.left_bar, core.mouse_x, core.mouse_y)) {
                w.dragging_left_bar = 1;
                w.bar_grab_offset = (f32)core.mouse_x - l.left_bar.x;
            } else if (point_in_rect(l.right_bar, core.mouse_x, core.mouse_y)) {
                w.dragging_right_bar = 1;
                w.bar_grab_offset = (f32)core.mouse_x - l.right_bar.x;
            }
        }
        if (w.dragging_left_bar) w.tree_chosen = at_least_zero((f32)core.mouse_x - w.bar_grab_offset);
        if (w.dragging_right_bar) w.minimap_chosen = at_least_zero(l.width - ((f32)core.mouse_x - w.bar_grab_offset) - w.bar_width);
    }
    // The window may also have changed since the last frame.
    fit_panel_widths();
    // What the window let the dragged panel have is what the user chose.
    if (w.dragging_left_bar) w.tree_chosen = w.tree_width;
    if (w.dragging_right_bar) w.minimap_chosen = w.minimap_width;
    compute_layout(&w.layout);
    draw_bar(w.layout.left_bar, render.theme.treeview_resize_bar_color, w.dragging_left_bar);
    draw_bar(w.layout.right_bar, render.theme.minimap_resize_bar_color, w.dragging_right_bar);
    scissor_off();
    if (input_mouse_is_released(mouse_primary) || !input_mouse_is_held(mouse_primary))
        w.dragging_left_bar = w.dragging_right_bar = 0;
}
