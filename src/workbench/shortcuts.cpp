// Global shortcuts: the file dialogs, saving, the side panels, revealing the active file
// in the tree, and zooming every open document.
#include "core/core_state.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "platform/platform.h"
#include "workbench/results_panel.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
// Zooming stays within sane limits so that holding the keys never overflows the layout.
constexpr f32 zoom_min = 1.0f / 64;
constexpr f32 zoom_max = 64;

void zoom_documents(f32 direction) {
    if (!editor.tab_table.slots) return;
    f32 rate = direction * 0.5f * core.frame_time;
    for (i64 i = 0; i < tab_slot_count; i++) {
        if (!tab_slot_used(i)) continue;
        Document* doc = &editor.tab_table.slots[i];
        f32 zoom = doc->zoom + rate * doc->zoom;
        if (zoom < zoom_min || zoom > zoom_max) continue;
        doc->zoom = zoom;
        doc->scroll_y += rate * doc->scroll_y;
        doc->target_scroll_y = doc->scroll_y;
    }
}

void save_shortcut(bool shift) {
    if (!editor.current_document) return;
    if (!shift && editor.current_document->path.length > 0) save_document_interactive(editor.current_document);
    else open_file_dialog(5, SV("save file"), true);
}

void close_prompt() {
    PromptState& p = workbench.prompt;
    document_reset(&p.box);
    p.open = false;
    workbench_give_focus_back();
}
}  // namespace

// Escape gives up whatever is on top: a dialog, the context menu, then the editor's
// pop-ups, then the results panel, then the notices.
void run_escape() {
    if (!input_key_is_pressed(key_escape)) return;
    WorkbenchState& w = workbench;
    if (w.confirm.open) {
        answer_confirm(2);
    } else if (w.prompt.open) {
        close_prompt();
    } else if (w.file_dialog.open) {
        close_file_dialog();
    } else if (w.settings.open) {
        w.settings.open = false;
        workbench_give_focus_back();
    } else if (w.menu.open) {
        w.menu.open = false;
        workbench_give_focus_back();
    } else if (editor.current_document && (editor.current_document->completion_open || editor.current_document->symbol_list_open)) {
        close_tab_popups(editor.current_document);
    } else if (results_panel_is_open()) {
        results_panel_close();
    } else {
        dismiss_notices();
    }
}

void run_shortcuts() {
    if (!input_key_is_held(key_ctrl)) return;
    bool shift = input_key_is_held(key_shift);
    // A dialog that is open keeps its box's keys to itself.
    if (!modal_dialog_open()) {
        if (input_key_is_pressed(key_N)) open_file_dialog(3, SV("new file"), true);
        if (input_key_is_pressed(key_O)) open_file_dialog(4, SV("open file"), true);
        if (input_key_is_pressed(key_S)) save_shortcut(shift);
        if (shift && input_key_is_pressed(key_B)) toggle_side_panels();
        if (shift && input_key_is_pressed(key_E)) reveal_active_file();
        if (shift && input_key_is_pressed(key_F)) open_prompt(4, SV("search in project"));
        if (!shift && input_key_is_pressed(key_P)) open_prompt(5, SV("go to file or symbol"));
    }
    if (!shift && input_key_is_held(key_E)) zoom_documents(1);
    if (input_key_is_held(key_Q)) zoom_documents(-1);
}
