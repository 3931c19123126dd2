// The file tree and the editor region, and the editor's focus.
#include "core/core_state.h"
#include "editor/editor_state.h"
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

void place_widget(ListWidget* w, Rect r) {
    w->x = r.x;
    w->y = r.y;
    w->width = r.width;
    w->height = r.height;
}
}  // namespace

void run_editor_focus() {
    if (any_dialog_open() || !editor.current_document || !input_mouse_is_pressed(mouse_primary)) return;
    editor.current_document->focused = point_in_rect(workbench.layout.editor, core.mouse_x, core.mouse_y) ? 1 : 0;
}

void run_file_tree() {
    const WorkbenchLayout& l = workbench.layout;
    Rect r = l.tree;
    if (too_narrow(r)) return;
    place_widget(&workbench.file_tree, r);
    // The tree follows the tab bar: a tab that becomes active has its file selected.
    i32 active = -1;
    for (const TabEntry& e : workbench.project.tab_entries)
        if (e.is_active) active = e.tab_id;
    if (active != workbench.tree_followed_tab) {
        workbench.tree_followed_tab = active;
        if (active >= 0) tree_select_file(active, false);
    }
    // Rows dragged out of the tree onto the rest of the window are opened, not moved.
    bool dropped_outside = workbench.file_tree.dragging && input_mouse_is_released(mouse_primary) &&
                           !point_in_rect(r, core.mouse_x, core.mouse_y) && core.mouse_y < l.height - workbench.toolbar_height;
    if (dropped_outside) {
        workbench.file_tree.dragging = 0;
        workbench.file_tree.pressed = 0;
    }
    scissor_set(r.x, r.y, r.width, r.height);
    list_widget_frame(&workbench.file_tree);
    scissor_off();
    if (workbench.file_tree.rows_changed) workbench.project_saved = false;
    if (workbench.file_tree.double_clicked || dropped_outside) view_selected_files();
    if (!any_dialog_open() && input_mouse_is_pressed(mouse_secondary) && point_in_rect(r, core.mouse_x, core.mouse_y))
        open_context_menu_at(tree_menu, 4, core.mouse_x, core.mouse_y);
}

void run_editor_region() {
    Document* doc = editor.current_document;
    Rect r = workbench.layout.editor;
    if (!doc) {
        if (workbench.keep_system_cursor) input_mouse_set_cursor(0);
        return;
    }
    if (too_narrow(r)) return;
    doc->x = r.x;
    doc->y = r.y;
    doc->width = r.width;
    doc->height = r.height;
    scissor_set(r.x, r.y, r.width, r.height);
    // Pointer shapes matter only while the system pointer is shown.
    editor.view_sets_pointer_shape = workbench.keep_system_cursor;
    editor_view(doc);
    editor.view_sets_pointer_shape = false;
    scissor_off();
}
