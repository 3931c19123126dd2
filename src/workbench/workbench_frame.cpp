// The per-frame update of the workbench, in its fixed order: each step draws its region
// with the scissor set to it and acts on this frame's input.
#include "core/core_state.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/project_search.h"
#include "workbench/results_panel.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

WorkbenchState workbench;

f64 workbench_seconds() { return (f64)system_performance_counter() / (f64)system_performance_frequency(); }

bool point_in_rect(Rect r, f64 x, f64 y) { return r.x <= x && x < r.x + r.width && r.y <= y && y < r.y + r.height; }

void compute_layout(WorkbenchLayout* l) {
    const WorkbenchState& w = workbench;
    l->width = (f32)render.gpu.width;
    l->height = (f32)render.gpu.height;
    f32 bar = workbench_bar_width();
    f32 below_toolbar = l->height - w.toolbar_height;
    f32 middle_x = w.tree_width + bar;
    f32 middle_width = l->width - w.minimap_width - bar - middle_x;
    l->toolbar = Rect{0, below_toolbar, l->width, w.toolbar_height};
    l->tree = Rect{0, 0, w.tree_width, below_toolbar};
    l->left_bar = Rect{w.tree_width, 0, bar, below_toolbar};
    l->tab_bar = Rect{middle_x, below_toolbar - w.tab_bar_height, middle_width, w.tab_bar_height};
    l->editor = Rect{middle_x, 0, middle_width, below_toolbar - w.tab_bar_height};
    l->right_bar = Rect{l->width - w.minimap_width - bar, 0, bar, below_toolbar};
    l->minimap = Rect{l->width - w.minimap_width, 0, w.minimap_width, below_toolbar};
}

// Covers the window with the image's aspect ratio kept, cutting equal parts off both sides.
void draw_background_image() {
    if (render.theme.background_path.length <= 0 || render.background_width <= 0 || render.background_height <= 0) return;
    f32 width = (f32)render.gpu.width, height = (f32)render.gpu.height;
    if (width <= 0 || height <= 0) return;
    f32 window_aspect = width / height;
    f32 image_aspect = (f32)render.background_width / (f32)render.background_height;
    UvRect uv = uv_rect_full;
    if (window_aspect > image_aspect) {
        uv.height = image_aspect / window_aspect;
        uv.y = (1 - uv.height) * 0.5f;
    } else {
        uv.width = window_aspect / image_aspect;
        uv.x = (1 - uv.width) * 0.5f;
    }
    draw_quad(render.background_texture, Color{1, 1, 1, 1}, 0, 0, width, height, 0, 0, 0, uv);
}

void workbench_frame() {
    core.glyph_count = 0;
    workbench.clock = workbench_seconds();
    draw_background_image();
    run_escape();
    run_shortcuts();
    run_navigation_keys();
    fit_panel_widths();
    compute_layout(&workbench.layout);
    run_toolbar();
    run_resize_bars();
    compute_layout(&workbench.layout);
    run_editor_focus();
    run_file_tree();
    run_analysis_result();
    run_waiting_navigation();
    // The results panel stands in the outline's place while it is open.
    run_project_search();
    results_panel_is_open() ? run_results_panel() : run_minimap();
    run_editor_region();
    run_ctrl_click();
    run_tab_bar();
    clear_minimap_without_document();
    run_settings_dialog();
    run_context_menu();
    run_confirm_dialog();
    run_prompt();
    run_file_dialog();
    run_notices();
    run_tooltip();
    run_disk_watch();
    run_recovery();
    if (!workbench.keep_system_cursor) run_pointer_trail();
}
