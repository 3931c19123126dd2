// The yes/no/cancel question: saving a modified tab before it closes, or the project
// before the program ends.
#include "app/shell_state.h"
#include "core/project_path.h"
#include "editor/file_io.h"
#include "render/font.h"
#include "render/theme.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
void answer_quit(bool yes) {
    if (yes && project_path.length <= 0) {
        // The loop ends once the user has picked where the project goes (or given up).
        open_file_dialog(2, SV("save project"), false);
        workbench.file_dialog.quit_when_closed = true;
        return;
    }
    if (yes) project_save(string_copy(owned_view(project_path), pool_frame));
    shell.running = false;
}

// The tab closes on the next frame, when the tab bar sees its request again.
void answer_tab(bool yes) {
    i32 id = workbench.confirm.pending_tab_id;
    for (tab_entry& e : project.tab_entries) {
        if (e.tab_id != id) continue;
        i64 slot = tab_entry_slot(e);
        if (slot >= 0) {
            Document* doc = &tab_table.slots[slot];
            if (yes) document_save(doc);
            else doc->dirty = 0;
        }
        e.close_requested = 1;
        return;
    }
}
}  // namespace

void open_confirm_dialog(StringView text, i64 pending_tab) {
    ConfirmState& c = workbench.confirm;
    workbench.menu.open = false;
    string_assign(&c.text, text, pool_main);
    c.pending_close_tab = pending_tab;
    bool is_entry = pending_tab >= 0 && pending_tab < project.tab_entries.count;
    c.pending_tab_id = is_entry ? project.tab_entries[pending_tab].tab_id : -1;
    if (pending_tab >= 0 && !is_entry) c.pending_close_tab = -2;  // nothing to close
    c.open = true;
    workbench_take_focus();
}

void run_confirm_dialog() {
    ConfirmState& c = workbench.confirm;
    if (!c.open) return;
    Rect r = dialog_frame(600, 300, StringView{nullptr, 0});
    draw_text(&font, theme.text_color, owned_view(c.text), r.x + r.width * 0.5f, r.y + r.height * 0.5f + 24, 1, 1,
              align_center_x, align_center_y);
    f32 gap = 16;
    f32 left = r.x + (r.width - 3 * dialog_button_width - 2 * gap) * 0.5f;
    bool yes = dialog_button(&c.yes, left, r.y + 24);
    bool no = dialog_button(&c.no, left + dialog_button_width + gap, r.y + 24);
    bool cancel = dialog_button(&c.cancel, left + 2 * (dialog_button_width + gap), r.y + 24);
    if (!yes && !no && !cancel) return;
    c.open = false;
    if (!cancel) {
        if (c.pending_close_tab == -1) answer_quit(yes);
        else if (c.pending_close_tab >= 0) answer_tab(yes);
    }
    c.pending_close_tab = -1;
    c.pending_tab_id = -1;
    workbench_give_focus_back();
}
