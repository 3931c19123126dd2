// Commands on tabs and tree nodes: activating and adding tab entries, opening and
// removing the selected nodes, renaming them, new groups and saving.
#include <cstdint>

#include "core/project_path.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "editor/recolour.h"
#include "workbench/list_widget.h"
#include "workbench/list_widget_walk.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
bool is_file_node(const TreeNode& n) { return n.id != -1 && !n.is_group_start && !n.is_group_end; }

// The project forgets a removed file: its tab is asked to close and its path record
// goes, the last record taking its place.
void forget_file(i32 id) {
    for (TabEntry& e : workbench.project.tab_entries)
        if (e.tab_id == id) e.close_requested = 1;
    for (i64 i = 0; i < editor.tab_paths.count; i++) {
        if (editor.tab_paths[i].id != id) continue;
        editor.tab_paths[i] = editor.tab_paths[editor.tab_paths.count - 1];
        editor.tab_paths.count--;
        break;
    }
}

// Opens every group that encloses row `index`.
bool open_enclosing_groups(Array<TreeNode>* rows, i64 index) {
    bool opened = false;
    i64 depth = 0;
    for (i64 i = index - 1; i >= 0; i--) {
        TreeNode& n = (*rows)[i];
        if (n.is_group_end && !n.is_group_start) {
            depth++;
        } else if (n.is_group_start) {
            if (depth > 0) {
                depth--;
                continue;
            }
            opened = opened || !n.is_open;
            n.is_open = 1;
        }
    }
    return opened;
}

// Scrolls the list so that shown row `index` lies inside its box.
void scroll_row_into_view(ListWidget* w, i64 index) {
    RowWalk walk = row_walk_start(w);
    RowPlace place;
    f32 offset = 0;
    while (row_walk_next_visible(&walk, &place)) {
        if (place.index == index) break;
        offset += place.height;
    }
    f32 height = row_height_of(w, w->rows[index]);
    if (offset < w->scroll) w->scroll = offset;
    else if (offset + height > w->scroll + w->height) w->scroll = offset + height - w->height;
}

bool inside_store(const Array<char>& store, StringView s) {
    if (!store.data || s.length <= 0) return false;
    uintptr_t p = (uintptr_t)s.data, start = (uintptr_t)store.data;
    return p >= start && p < start + (uintptr_t)store.count;
}
}  // namespace

void tree_select_file(i32 tab_id, bool reveal) {
    ListWidget* tree = &workbench.file_tree;
    i64 index = -1;
    for (i64 i = 0; i < tree->rows.count && index < 0; i++)
        if (is_file_node(tree->rows[i]) && tree->rows[i].id == tab_id) index = i;
    if (index < 0) return;
    for (TreeNode& n : tree->rows) n.is_selected = 0;
    tree->rows[index].is_selected = 1;
    // Which groups are open is part of the project.
    if (reveal && open_enclosing_groups(&tree->rows, index)) workbench.project_saved = false;
    if (list_row_visible(tree, index)) scroll_row_into_view(tree, index);
}

void reveal_active_file() {
    for (const TabEntry& e : workbench.project.tab_entries)
        if (e.is_active) tree_select_file(e.tab_id, true);
}

void close_tab_popups(Document* doc) {
    doc->completion_open = 0;
    doc->symbol_source.count = 0;
    doc->completion.count = 0;
    doc->symbol_list_open = 0;
    doc->symbol_list.count = 0;
}

void document_take_scale(Document* doc) {
    doc->zoom = workbench.scale;
    doc->scrollbar_width = editor_scrollbar_width * workbench.scale;
    doc->caret_width = editor_caret_width * workbench.scale;
}

void activate_tab(i32 tab_id) {
    for (TabEntry& e : workbench.project.tab_entries) e.is_active = e.tab_id == tab_id ? 1 : 0;
    workbench.tab_bar_changed = 1;
    i64 slot = find_tab((u32)tab_id);
    if (slot < 0) return;
    Document* doc = &editor.tab_table.slots[slot];
    editor.current_document = doc;
    close_tab_popups(doc);
    doc->focused = any_dialog_open() ? 0 : 1;
    recolour_document(doc);
}

void add_tab_entry(u32 id, StringView label) {
    for (TabEntry& e : workbench.project.tab_entries) e.is_active = 0;
    TabEntry entry{};
    entry.tab_id = (i32)id;
    entry.is_active = 1;
    // The label is kept per tab slot, so opening and closing tabs reuses its storage.
    i64 slot = find_tab(id);
    if (slot >= 0) {
        OwnedString* stored = &workbench.tab_labels[slot];
        string_assign(stored, label, pool_main);
        entry.label = owned_view(*stored);
    } else {
        entry.label = string_copy(label, pool_project);
    }
    array_append(&workbench.project.tab_entries, entry);
    workbench.tab_bar_changed = 1;
    if (slot >= 0) document_take_scale(&editor.tab_table.slots[slot]);
}

void view_selected_files() {
    for (i64 i = 0; i < workbench.file_tree.rows.count; i++) {
        const TreeNode n = workbench.file_tree.rows[i];
        if (!n.is_selected || !is_file_node(n)) continue;
        if (find_tab((u32)n.id) >= 0) {
            activate_tab(n.id);
        } else if (open_tab(tab_path(n.id), (u32)n.id) >= 0) {
            workbench.project_saved = false;
            restore_recovered_document(&editor.tab_table.slots[find_tab((u32)n.id)]);
        }
    }
}

void remove_selected_nodes() {
    Array<TreeNode>* rows = &workbench.file_tree.rows;
    bool changed = false;
    for (i64 i = 0; i < rows->count;) {
        TreeNode& n = (*rows)[i];
        if (!n.is_selected) {
            i++;
            continue;
        }
        // A group end goes only with its group, so that the tree stays balanced.
        if (n.is_group_end && !n.is_group_start) {
            n.is_selected = 0;
            i++;
            continue;
        }
        i64 end = n.is_group_start ? list_group_end(&workbench.file_tree, i) : i;
        if (end < i) end = i;
        if (end >= rows->count) end = rows->count - 1;
        for (i64 k = i; k <= end; k++)
            if (is_file_node((*rows)[k])) forget_file((*rows)[k].id);
        array_remove_range(rows, i, end - i + 1);
        changed = true;
    }
    if (changed) workbench.project_saved = false;
}

StringView first_selected_node_name() {
    for (const TreeNode& n : workbench.file_tree.rows)
        if (n.is_selected && !(n.is_group_end && !n.is_group_start)) return n.name;
    return StringView{nullptr, 0};
}

bool any_node_selected() {
    for (const TreeNode& n : workbench.file_tree.rows)
        if (n.is_selected) return true;
    return false;
}

bool any_document_modified() {
    if (!editor.tab_table.slots) return false;
    for (i64 i = 0; i < tab_slot_count; i++)
        if (tab_slot_used(i) && editor.tab_table.slots[i].dirty) return true;
    return false;
}

void save_all_documents() { request_action(pending_save_all, StringView{nullptr, 0}); }

void append_new_group() {
    TreeNode start{};
    start.color = render.theme.folder_color;
    start.icon = render.icon_textures[icon_star3d];
    start.id = -1;
    start.name = SV("new group");
    start.is_group_start = 1;
    start.is_open = 1;
    TreeNode end = start;
    end.name = StringView{nullptr, 0};
    end.is_group_start = 0;
    end.is_group_end = 1;
    end.is_open = 0;
    array_append(&workbench.file_tree.rows, start);
    array_append(&workbench.file_tree.rows, end);
    workbench.project_saved = false;
}

// Names are written to the store that is not in use, together with every earlier
// renamed name still shown, and the stores then trade places.
void rename_selected_nodes(StringView name) {
    WorkbenchState& w = workbench;
    StringView clean = sanitize_node_name(name, pool_frame);
    const Array<char>& old_store = w.rename_store[w.rename_current];
    Array<char>* new_store = &w.rename_store[1 - w.rename_current];
    i64 needed = 0;
    bool any = false;
    for (const TreeNode& n : workbench.file_tree.rows) {
        if (n.is_selected) {
            needed += clean.length;
            any = true;
        } else if (inside_store(old_store, n.name)) {
            needed += n.name.length;
        }
    }
    if (!any) return;
    new_store->count = 0;
    array_reserve(new_store, needed > 0 ? needed : 1);
    for (TreeNode& n : workbench.file_tree.rows) {
        StringView source;
        if (n.is_selected) source = clean;
        else if (inside_store(old_store, n.name)) source = n.name;
        else continue;
        char* at = new_store->data + new_store->count;
        if (source.length > 0) memcpy(at, source.data, (size_t)source.length);
        new_store->count += source.length > 0 ? source.length : 0;
        n.name = StringView{source.length > 0 ? at : nullptr, source.length > 0 ? source.length : 0};
    }
    w.rename_current = 1 - w.rename_current;
    workbench.project_saved = false;
}

void copy_selected_file_names() {
    StringBuilder names{};
    names.pool = pool_frame;
    for (const TreeNode& n : workbench.file_tree.rows) {
        if (!n.is_selected || !is_file_node(n)) continue;
        append_string(&names, tab_path(n.id));
        append_char(&names, '\n');
    }
    clipboard_set(builder_view(names));
}

void save_project_or_ask() { request_action(pending_save_project, StringView{nullptr, 0}); }
