// Start-up of the workbench: layout values, buttons, panels, text boxes, the pointer
// trail, the editor's hooks and the first listing of the file dialog.
#include "editor/editor_state.h"
#include "editor/view.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/list_widget.h"
#include "workbench/project.h"
#include "workbench/project_search.h"
#include "workbench/results_panel.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
void init_entry_field(Document* box) {
    document_init_entry_field(box);
    box->background = Color{0, 0, 0, 0.5f};
    box->zoom = workbench.scale;
}

void init_panel(ListWidget* w, bool drag_enabled) {
    list_widget_init(w, drag_enabled);
    if (!w->font) w->font = &render.font;
    w->has_focus = 1;
    f32 k = workbench.scale;
    w->scale = k;
    w->indent *= k;
    w->row_height *= k;
    w->group_end_height *= k;
    w->icon_size *= k;
}

void init_dialogs() {
    WorkbenchState& w = workbench;
    init_entry_field(&w.file_dialog.box);
    init_entry_field(&w.prompt.box);
    init_entry_field(&w.prompt.replacement);
    init_entry_field(&w.settings.box);
    dialog_button_init(&w.file_dialog.ok, SV("ok"));
    dialog_button_init(&w.file_dialog.cancel, SV("cancel"));
    dialog_button_init(&w.prompt.ok, SV("ok"));
    dialog_button_init(&w.prompt.cancel, SV("cancel"));
    dialog_button_init(&w.prompt.replace_one, SV("replace"));
    dialog_button_init(&w.prompt.replace_every, SV("all"));
    dialog_button_init(&w.settings.ok, SV("ok"));
    dialog_button_init(&w.settings.cancel, SV("cancel"));
    dialog_button_init(&w.confirm.yes, SV("yes"));
    dialog_button_init(&w.confirm.no, SV("no"));
    dialog_button_init(&w.confirm.cancel, SV("cancel"));
    w.file_dialog.open = w.prompt.open = w.confirm.open = w.settings.open = w.menu.open = false;
    w.file_dialog.mode = 0;
    w.file_dialog.relative = false;
    w.file_dialog.sub_directory.length = 0;
    w.file_dialog.entries.pool = pool_main;
    w.file_dialog.names.pool = pool_main;
    w.confirm.doc_id = -1;
    w.confirm.button_count = 3;
    w.file_dialog.target_doc_id = -1;
    w.pending.kind = pending_none;
    w.notices.count = 0;
    w.disk.asked_doc_id = -1;
    w.disk.last_check = 0;
    w.quit_confirmed = false;
    w.menu.entry_count = 0;
    w.menu.pressed = -1;
    w.rename_store[0].pool = w.rename_store[1].pool = pool_main;
}
}  // namespace

void workbench_init(const WorkbenchConfig& config) {
    WorkbenchState& w = workbench;
    string_assign(&w.workspace, config.workspace, pool_main);
    // Sane bounds: a scale outside them is a typing error in the settings.
    w.scale = config.scale >= 0.5f && config.scale <= 4 ? config.scale : 1;
    f32 k = w.scale;
    w.keep_system_cursor = config.keep_system_cursor;
    project_search_reserve();
    results_panel_reserve();
    // Nothing is open yet: nothing to save.
    w.project_saved = true;
    w.tree_width = w.minimap_width = 0;
    w.tree_chosen = w.minimap_chosen = -1;
    w.panels_hidden = false;
    w.bar_width = 12 * k;
    w.toolbar_height = 48 * k;
    w.tab_bar_height = 32 * k;
    w.tab_scroll = 0;
    w.dragging_left_bar = w.dragging_right_bar = 0;
    w.tab_bar_changed = 0;
    w.last_active_tab = -1;
    w.tree_followed_tab = -1;
    w.tooltip_button = -1;
    w.tooltip_since = 0;
    w.tooltip_dismissed = false;
    toolbar_init();
    init_panel(&workbench.file_tree, true);
    init_panel(&workbench.outline, false);
    workbench.outline.rows.pool = pool_main;
    init_dialogs();
    trail_init();
    w.trail.sprite_size *= k;

    editor.hooks.add_tab_entry = add_tab_entry;
    editor.hooks.open_prompt = open_prompt;
    editor.hooks.open_context_menu = open_editor_context_menu;
    editor.hooks.focus_taken = workbench_take_focus;
    editor.view_sets_pointer_shape = false;

    file_dialog_refresh();
}
