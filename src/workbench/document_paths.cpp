// Which file a tab holds: saving under another name, and finding the tab or project
// record of a path however it was spelled.
#include "core/project_path.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "editor/recovery.h"
#include "editor/recovery_file.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"
#include "syntax/file_kind.h"

namespace {
// Two spellings of one file: the same normalised path, or the same existing file.
bool same_file(StringView a_relative, StringView b_relative) {
    char a_buffer[4096], b_buffer[4096];
    StringView a = absolute_document_path(a_relative, a_buffer, sizeof a_buffer);
    StringView b = absolute_document_path(b_relative, b_buffer, sizeof b_buffer);
    if (a.length > 0 && sv_equal(a, b)) return true;
    FileStamp sa = file_stamp(a), sb = file_stamp(b);
    return sa.exists && sb.exists && sa.inode == sb.inode && sa.device == sb.device;
}

// The project keeps the new path: its file record, the tree row's label, the tab's label.
void follow_new_path(Document* doc, StringView chosen) {
    StringView own = string_copy(chosen, pool_project);
    bool recorded = false;
    for (TabPath& p : editor.tab_paths) {
        if (p.id != (i32)doc->id) continue;
        p.path = own;
        recorded = true;
    }
    if (!recorded) array_append(&editor.tab_paths, TabPath{(i32)doc->id, own});
    bool in_tree = false;
    for (TreeNode& n : workbench.file_tree.rows) {
        if (n.id != (i32)doc->id || n.is_group_start || n.is_group_end) continue;
        n.name = tab_display_name(own);
        n.color = file_color_for_path(own);
        in_tree = true;
    }
    if (!in_tree) {
        TreeNode node{};
        node.color = file_color_for_path(own);
        node.icon = render.icon_textures[icon_sphere];
        node.id = (i32)doc->id;
        node.name = tab_display_name(own);
        array_append(&workbench.file_tree.rows, node);
    }
    i64 slot = doc - editor.tab_table.slots;
    for (TabEntry& e : workbench.project.tab_entries) {
        if (e.tab_id != (i32)doc->id || slot < 0 || slot >= tab_slot_count) continue;
        string_assign(&workbench.tab_labels[slot], tab_display_name(chosen), pool_main);
        e.label = owned_view(workbench.tab_labels[slot]);
    }
    workbench.project_saved = false;
}
}  // namespace

Document* open_document_of_path(StringView relative, const Document* except) {
    for (i64 slot = 0; editor.tab_table.slots && slot < tab_slot_count; slot++) {
        if (!tab_slot_used(slot)) continue;
        Document* doc = &editor.tab_table.slots[slot];
        if (doc == except || doc->path.length <= 0) continue;
        if (same_file(owned_view(doc->path), relative)) return doc;
    }
    return nullptr;
}

i64 project_record_of_path(StringView relative) {
    for (i64 i = 0; i < editor.tab_paths.count; i++)
        if (same_file(editor.tab_paths[i].path, relative)) return i;
    return -1;
}

bool save_document_as(Document* doc, StringView chosen) {
    if (chosen.length <= 0) return false;
    if (open_document_of_path(chosen, doc)) {
        show_simple_message_box(0, SV("error"), string_concat(SV("already open in another tab: "), chosen, pool_frame));
        return false;
    }
    if (chosen.length > pool_available(pool_project) - 64) {
        show_simple_message_box(0, SV("error"), SV("too many files!"));
        return false;
    }
    // The old file's recovery copy is named after the old path.
    char old_recovery_name[32];
    recovery_name_of(doc, old_recovery_name);
    StringView old_path = string_copy(owned_view(doc->path), pool_frame);
    u8 old_kind = doc->kind;
    FileStamp old_stamp = doc->disk_stamp;
    string_assign(&doc->path, chosen, pool_main);
    doc->kind = file_kind_for_path(chosen);
    // Written even when unchanged: the new file must hold the text.
    doc->dirty = 1;
    if (document_save(doc, true) != save_outcome_saved) {
        string_assign(&doc->path, old_path, pool_main);
        doc->kind = old_kind;
        doc->disk_stamp = old_stamp;
        document_update_dirty(doc);
        return false;
    }
    recovery_discard_named(StringView{old_recovery_name, recovery_file_name_length});
    doc->recovery_present = 0;
    doc->recovery_state_id = 0;
    follow_new_path(doc, chosen);
    return true;
}
