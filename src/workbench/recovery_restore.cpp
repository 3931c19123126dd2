// After a crash: recovered texts go back into their tabs as unsaved changes, with a
// notice; recovery files nothing here uses are listed and kept.
#include <cstdio>

#include "editor/editor_state.h"
#include "editor/recovery.h"
#include "editor/recovery_file.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
constexpr f64 recovery_input_delay = 0.25;

void announce(const Document* doc, RecoveryFound found) {
    StringView name = doc->path.length > 0 ? owned_view(doc->path) : SV("a tab without a file");
    if (found == recovery_restored) {
        notice_show(string_concat(SV("recovered unsaved changes of "), name, pool_frame));
        printf("recovered unsaved changes of %.*s\n", (int)name.length, name.data);
        fflush(stdout);
    } else if (found == recovery_unreadable) {
        notice_show(string_concat(SV("unreadable recovery file kept for "), name, pool_frame));
    }
}

void append_name(StringBuilder* names, const char* name) {
    append_string(names, StringView{name, recovery_file_name_length});
}
}  // namespace

void restore_recovered_document(Document* doc) {
    if (!editor.recovery.enabled) return;
    announce(doc, recovery_restore(doc));
}

void restore_recovered_documents() {
    if (!editor.recovery.enabled) return;
    StringBuilder in_use{};
    in_use.pool = pool_frame;
    // Files of the project that are not open but have a recovery file open in a tab.
    for (i64 i = 0; i < editor.tab_paths.count; i++) {
        TabPath p = editor.tab_paths[i];
        if (find_tab((u32)p.id) >= 0 || !recovery_exists_for_path(p.path)) continue;
        if (open_tab(p.path, (u32)p.id) >= 0) workbench.project_saved = false;
    }
    for (i64 slot = 0; editor.tab_table.slots && slot < tab_slot_count; slot++) {
        if (!tab_slot_used(slot)) continue;
        Document* doc = &editor.tab_table.slots[slot];
        RecoveryFound found = recovery_restore(doc);
        announce(doc, found);
        // Older or unreadable files stay and are listed with the others.
        if (found == recovery_restored || found == recovery_none) {
            char name[32];
            recovery_name_of(doc, name);
            append_name(&in_use, name);
        }
    }
    recovery_list_kept(builder_view(in_use));
}

void run_recovery() {
    // A frame that takes input is shown first: copying a large text for its recovery file
    // waits for the next frame (a quarter of a second at most, however busy the input).
    if (input_first_event_time() != 0) {
        if (!workbench.recovery_deferred) workbench.recovery_deferred_since = workbench.clock;
        workbench.recovery_deferred = true;
        if (workbench.clock - workbench.recovery_deferred_since < recovery_input_delay) {
            frame_request(0);
            return;
        }
    }
    workbench.recovery_deferred = false;
    recovery_step(workbench.clock);
    StringView message = recovery_take_message();
    if (message.length > 0) notice_show(message);
}
