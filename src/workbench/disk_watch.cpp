// Files that other programs change while they are open: checked when the window gets
// the focus back and every couple of seconds. A clean document follows its file, a
// modified one asks, a file that disappeared marks its tab and keeps the text.
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "editor/recovery.h"
#include "platform/platform.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
void check_document(Document* doc) {
    if (doc->path.length <= 0) return;
    FileStamp now = file_stamp(document_full_path(doc));
    if (!file_stamp_differs(doc->seen_stamp, now)) return;
    if (!now.exists) {
        doc->seen_stamp = now;
        doc->file_missing = 1;
        return;
    }
    if (!now.is_regular) return;
    doc->file_missing = 0;
    if (!doc->dirty) {
        document_reload(doc);
        return;
    }
    // One question at a time; the others are asked at a later check.
    if (modal_dialog_open()) return;
    doc->seen_stamp = now;
    workbench.disk.asked_doc_id = (i32)doc->id;
    open_reload_question(doc);
}
}  // namespace

void check_documents_on_disk() {
    workbench.disk.last_check = workbench.clock;
    for (i64 slot = 0; editor.tab_table.slots && slot < tab_slot_count; slot++)
        if (tab_slot_used(slot)) check_document(&editor.tab_table.slots[slot]);
}

void run_disk_watch() {
    bool due = workbench.clock - workbench.disk.last_check >= disk_check_interval;
    if (due || display_is_focus_gained()) check_documents_on_disk();
}
