// The file tree, the minimap list and the editor region, and the editor's focus.
#include "analysis/handover.h"
#include "app/shell_state.h"
#include "core/frame_globals.h"
#include "editor/motion.h"
#include "editor/view.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "workbench/list_widget.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
const ContextMenuEntry tree_menu[] = {
    {SV("View"), SV("view_file")},
    {SV("Rename"), SV("rename_file")},
    {SV("Remove"), SV("remove_file")},
    {SV("Copy file name"), SV("copy_file_name")},
};

bool too_narrow(Rect r) { return r.width < 0.001f || r.height <= 0; }

void place_widget(list_widget* w, Rect r) {
    w->x = r.x;
    w->y = r.y;
    w->width = r.width;
    w->height = r.height;
}
}  // namespace

void run_editor_focus() {
    if (any_dialog_open() || !current_document || !input_mouse_is_pressed(mouse_primary)) return;
    current_document->focused = point_in_rect(workbench.layout.editor, mouse_x, mouse_y) ? 1 : 0;
}

void run_file_tree() {
    const WorkbenchLayout& l = workbench.layout;
    Rect r = l.tree;
    if (too_narrow(r)) return;
    place_widget(&file_tree, r);
    // Rows dragged out of the tree onto the rest of the window are opened, not moved.
    bool dropped_outside = file_tree.dragging && input_mouse_is_released(mouse_primary) &&
                           !point_in_rect(r, mouse_x, mouse_y) && mouse_y < l.height - workbench.toolbar_height;
    if (dropped_outside) {
        file_tree.dragging = 0;
        file_tree.pressed = 0;
    }
    scissor_set(r.x, r.y, r.width, r.height);
    list_widget_frame(&file_tree);
    scissor_off();
    if (file_tree.rows_changed) project_saved = false;
    if (file_tree.double_clicked || dropped_outside) view_selected_files();
    if (!any_dialog_open() && input_mouse_is_pressed(mouse_secondary) && point_in_rect(r, mouse_x, mouse_y))
        open_context_menu_at(tree_menu, 4, mouse_x, mouse_y);
}

void run_minimap() {
    Rect r = workbench.layout.minimap;
    if (too_narrow(r)) return;
    // The jump runs after the lock is let go: moving the cursor may post a request.
    i64 target_line = -1;
    if (analysis_lock) mutex_lock(analysis_lock);
    list_widget* m = &current_result.minimap;
    place_widget(m, r);
    scissor_set(r.x, r.y, r.width, r.height);
    list_widget_frame(m);
    scissor_off();
    for (tree_node& row : m->rows) {
        if (!row.is_selected) continue;
        row.is_selected = 0;
        target_line = (i64)row.id + 1;
    }
    if (analysis_lock) mutex_unlock(analysis_lock);
    if (target_line >= 0 && current_document) go_to_line(current_document, target_line);
}

void run_editor_region() {
    Document* doc = current_document;
    Rect r = workbench.layout.editor;
    if (!doc) {
        if (shell.keep_system_cursor) input_mouse_set_cursor(0);
        return;
    }
    if (too_narrow(r)) return;
    doc->x = r.x;
    doc->y = r.y;
    doc->width = r.width;
    doc->height = r.height;
    scissor_set(r.x, r.y, r.width, r.height);
    // Pointer shapes matter only while the system pointer is shown.
    view_sets_pointer_shape = shell.keep_system_cursor;
    editor_view(doc);
    view_sets_pointer_shape = false;
    scissor_off();
}

void clear_minimap_without_document() {
    if (project.tab_entries.count > 0 && current_document) return;
    if (analysis_lock) mutex_lock(analysis_lock);
    current_result.minimap.rows.count = 0;
    current_result.minimap.scroll = 0;
    if (analysis_lock) mutex_unlock(analysis_lock);
}
