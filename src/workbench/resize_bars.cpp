// The two bars between the panels: dragging them sets the panel widths, which are
// clamped so that both panels and both bars always fit in the window.
#include "core/core_state.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/workbench_state.h"

namespace {
f32 clamp_between(f32 v, f32 low, f32 high) {
    if (high < low) high = low;
    if (v < low) return low;
    if (v > high) return high;
    return v;
}

// The bar being dragged gives way first, so that the other panel keeps its width.
void clamp_widths(bool minimap_first) {
    WorkbenchState& w = workbench;
    f32 width = w.layout.width;
    if (minimap_first) w.minimap_width = clamp_between(w.minimap_width, 0, width - w.tree_width - 2 * w.bar_width);
    w.tree_width = clamp_between(w.tree_width, 0, width - w.minimap_width - 2 * w.bar_width);
    w.minimap_width = clamp_between(w.minimap_width, 0, width - w.tree_width - 2 * w.bar_width);
}

void draw_bar(Rect r, Color base, bool dragged) {
    if (r.width < 0.001f || r.height <= 0) return;
    scissor_set(r.x, r.y, r.width, r.height);
    draw_rect(base, r.x, r.y, r.width, r.height);
    if (dragged) draw_rect(render.theme.pressed_color, r.x, r.y, r.width, r.height);
    else if (point_in_rect(r, core.mouse_x, core.mouse_y)) draw_rect(render.theme.hover_color, r.x, r.y, r.width, r.height);
}
}  // namespace

void run_resize_bars() {
    WorkbenchState& w = workbench;
    const WorkbenchLayout& l = w.layout;
    if (!any_dialog_open()) {
        if (input_mouse_is_pressed(mouse_primary)) {
            if (point_in_rect(l.left_bar, core.mouse_x, core.mouse_y)) {
                w.dragging_left_bar = 1;
                w.bar_grab_offset = (f32)core.mouse_x - l.left_bar.x;
            } else if (point_in_rect(l.right_bar, core.mouse_x, core.mouse_y)) {
                w.dragging_right_bar = 1;
                w.bar_grab_offset = (f32)core.mouse_x - l.right_bar.x;
            }
        }
        if (w.dragging_left_bar) w.tree_width = (f32)core.mouse_x - w.bar_grab_offset;
        if (w.dragging_right_bar) w.minimap_width = l.width - ((f32)core.mouse_x - w.bar_grab_offset) - w.bar_width;
    }
    // The window may also have shrunk since the last frame.
    clamp_widths(w.dragging_right_bar != 0);
    compute_layout(&w.layout);
    draw_bar(w.layout.left_bar, render.theme.treeview_resize_bar_color, w.dragging_left_bar);
    draw_bar(w.layout.right_bar, render.theme.minimap_resize_bar_color, w.dragging_right_bar);
    scissor_off();
    if (input_mouse_is_released(mouse_primary) || !input_mouse_is_held(mouse_primary))
        w.dragging_left_bar = w.dragging_right_bar = 0;
}
