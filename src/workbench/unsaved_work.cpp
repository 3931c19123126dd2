// Unsaved work never goes unasked: quitting, switching projects and closing a modified
// tab wait until every document involved is saved (a path asked for when it has none, a
// question before writing over a file another program changed) or the user gives the
// changes up. Each step that needs a dialog leaves the action pending; the dialog's
// success carries it on and its cancel gives it up.
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "editor/recovery.h"
#include "platform/platform.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
enum SaveProgress { progress_done, progress_waiting, progress_failed };

bool is_pending_single(const PendingAction& p) { return p.kind == pending_close_tab || p.kind == pending_save_one; }

// The documents a pending action is about: the tab it closes, or all of them.
bool involves(const PendingAction& p, const Document* doc) {
    return !is_pending_single(p) || (i32)doc->id == p.tab_id;
}

bool project_involved(const PendingAction& p) {
    return p.kind == pending_quit || p.kind == pending_new_project || p.kind == pending_open_project ||
           p.kind == pending_save_project;
}

SaveProgress save_one(Document* doc) {
    switch (document_save(doc)) {
    case save_outcome_saved:
    case save_outcome_not_needed: return progress_done;
    case save_outcome_no_path:
        activate_tab((i32)doc->id);
        open_file_dialog(5, SV("save file"), true);
        workbench.file_dialog.target_doc_id = (i32)doc->id;
        return progress_waiting;
    case save_outcome_changed_on_disk:
        activate_tab((i32)doc->id);
        open_overwrite_question(doc);
        return progress_waiting;
    default: return progress_failed;
    }
}

SaveProgress save_for_pending() {
    const PendingAction& p = workbench.pending;
    if (editor.tab_table.slots) {
        for (i64 slot = 0; slot < tab_slot_count; slot++) {
            if (!tab_slot_used(slot)) continue;
            Document* doc = &editor.tab_table.slots[slot];
            if (!doc->dirty || !involves(p, doc)) continue;
            SaveProgress progress = save_one(doc);
            if (progress != progress_done) return progress;
        }
    }
    if (!project_involved(p) || (workbench.project_saved && p.kind != pending_save_project)) return progress_done;
    if (core.project_path.length <= 0) {
        open_file_dialog(2, SV("save project"), false);
        if (workbench.unnamed_project_name.length > 0)
            document_set_text(&workbench.file_dialog.box, owned_view(workbench.unnamed_project_name));
        return progress_waiting;
    }
    project_save(string_copy(owned_view(core.project_path), pool_frame));
    return workbench.project_saved ? progress_done : progress_failed;
}

void close_pending_tab(i32 tab_id) {
    for (TabEntry& e : workbench.project.tab_entries)
        if (e.tab_id == tab_id) e.close_requested = 1;
}

void perform_pending() {
    PendingAction p = workbench.pending;
    StringView path = string_copy(owned_view(p.path), pool_frame);
    workbench.pending.kind = pending_none;
    switch (p.kind) {
    case pending_quit: workbench.quit_confirmed = true; break;
    case pending_new_project: project_reset(path); break;
    case pending_open_project: project_load(path); break;
    case pending_close_tab: close_pending_tab(p.tab_id); break;
    default: break;
    }
}

// "save a.c, b.c and the project before quitting?" with at most a few names shown.
StringView unsaved_question(const PendingAction& p) {
    StringBuilder text{};
    text.pool = pool_frame;
    if (p.kind == pending_close_tab) {
        Document* doc = document_of_tab(p.tab_id);
        append_string(&text, SV("save "));
        if (doc) append_string(&text, owned_view(doc->path));
        append_char(&text, '?');
        return builder_view(text);
    }
    append_string(&text, SV("unsaved changes:\n"));
    i64 shown = 0, more = 0;
    for (i64 slot = 0; editor.tab_table.slots && slot < tab_slot_count; slot++) {
        if (!tab_slot_used(slot) || !editor.tab_table.slots[slot].dirty) continue;
        const Document* doc = &editor.tab_table.slots[slot];
        if (shown == 5) {
            more++;
            continue;
        }
        append_string(&text, doc->path.length > 0 ? owned_view(doc->path) : SV("(a tab without a file)"));
        append_char(&text, '\n');
        shown++;
    }
    if (more > 0) {
        append_string(&text, SV("and "));
        append_int(&text, more);
        append_string(&text, SV(" more\n"));
    }
    if (!workbench.project_saved) {
        append_string(&text, SV("the project"));
        if (core.project_path.length > 0) {
            append_char(&text, ' ');
            append_string(&text, project_file_name());
        }
        append_char(&text, '\n');
    }
    append_string(&text, p.kind == pending_quit ? SV("save before quitting?") : SV("save before switching projects?"));
    return builder_view(text);
}

bool pending_has_unsaved(const PendingAction& p) {
    for (i64 slot = 0; editor.tab_table.slots && slot < tab_slot_count; slot++)
        if (tab_slot_used(slot) && editor.tab_table.slots[slot].dirty && involves(p, &editor.tab_table.slots[slot])) return true;
    return project_involved(p) && !workbench.project_saved;
}

void start_pending(u8 kind, i32 tab_id, StringView path) {
    // The path may live in a dialog's box that closing the dialogs empties.
    StringView own = string_copy(path, pool_frame);
    close_all_dialogs();
    PendingAction& p = workbench.pending;
    p.kind = kind;
    p.tab_id = tab_id;
    string_assign(&p.path, own, pool_main);
}
}  // namespace

Document* document_of_tab(i32 tab_id) {
    if (tab_id < 0) return nullptr;
    i64 slot = find_tab((u32)tab_id);
    return slot >= 0 ? &editor.tab_table.slots[slot] : nullptr;
}

bool any_unsaved_work() { return any_document_modified() || !workbench.project_saved; }

void close_all_dialogs() {
    WorkbenchState& w = workbench;
    w.menu.open = false;
    if (w.prompt.open) {
        document_reset(&w.prompt.box);
        w.prompt.open = false;
    }
    if (w.settings.open) w.settings.open = false;
    if (w.file_dialog.open) close_file_dialog();
    if (w.confirm.open) {
        // A reload question given up keeps the user's text, as "keep mine" does.
        w.confirm.open = false;
        w.disk.asked_doc_id = -1;
    }
    workbench_give_focus_back();
}

void request_action(u8 kind, StringView path) {
    start_pending(kind, -1, path);
    if (kind == pending_save_all || kind == pending_save_project) {
        continue_pending();
        return;
    }
    if (!pending_has_unsaved(workbench.pending)) {
        perform_pending();
        return;
    }
    open_unsaved_question(unsaved_question(workbench.pending), false);
}

void request_close_tab(i32 tab_id) {
    start_pending(pending_close_tab, tab_id, StringView{nullptr, 0});
    if (!pending_has_unsaved(workbench.pending)) {
        perform_pending();
        return;
    }
    open_unsaved_question(unsaved_question(workbench.pending), true);
}

bool save_document_interactive(Document* doc) {
    start_pending(pending_save_one, (i32)doc->id, StringView{nullptr, 0});
    SaveProgress progress = save_one(doc);
    if (progress != progress_waiting) workbench.pending.kind = pending_none;
    return progress == progress_done;
}

void continue_pending() {
    if (workbench.pending.kind == pending_none) return;
    SaveProgress progress = save_for_pending();
    if (progress == progress_done) perform_pending();
    else if (progress == progress_failed) cancel_pending();
}

void cancel_pending() { workbench.pending.kind = pending_none; }

void discard_pending_work() {
    const PendingAction& p = workbench.pending;
    for (i64 slot = 0; editor.tab_table.slots && slot < tab_slot_count; slot++) {
        if (!tab_slot_used(slot)) continue;
        Document* doc = &editor.tab_table.slots[slot];
        if (!doc->dirty || !involves(p, doc)) continue;
        recovery_discard(doc);
        document_mark_saved(doc);
    }
    perform_pending();
}

void workbench_request_quit() { request_action(pending_quit, StringView{nullptr, 0}); }

bool workbench_quit_confirmed() { return workbench.quit_confirmed; }
