// Project file bytes: reading never crashes or keeps more than the file gives, what is
// read writes back to a text that reads again to the same text, and moving the rows the
// file selected keeps every row.
#include <cstdlib>

#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "editor/document.h"
#include "editor/editor_state.h"
#include "memory/arena.h"
#include "render/theme.h"
#include "workbench/list_widget.h"
#include "workbench/list_widget_walk.h"
#include "workbench/project.h"
#include "workbench/workbench_state.h"

namespace {
void set_up() {
    static const i64 capacities[pool_count] = {64 << 20, 8 << 20, 4 << 20, 1 << 20, 1 << 20, 1 << 20, 1 << 20};
    if (!arenas_reserve(capacities)) abort();
    theme_set_defaults();
    tab_table_init();
    analysis_locks_create();
    source_cache_init();
    document_init_entry_field(&workbench.settings.box);
    document_init_entry_field(&workbench.prompt.box);
    document_init_entry_field(&workbench.file_dialog.box);
}

bool inside(StringView s, StringView bytes) {
    return s.length == 0 || (s.data >= bytes.data && s.data + s.length <= bytes.data + bytes.length);
}

// Parses `bytes` (already in pool_project) into a freshly reset project.
ProjectFileSummary read_project(StringView bytes) {
    ProjectFileSummary summary = project_parse(bytes);
    project_colour_nodes();
    i64 used = 0;
    for (i64 slot = 0; slot < tab_slot_count; slot++) used += tab_slot_used(slot);
    if (workbench.project.tab_entries.count > tab_slot_count || used != workbench.project.tab_entries.count) abort();
    for (const TabEntry& e : workbench.project.tab_entries) {
        if (tab_entry_slot(e) < 0 || !inside(e.label, bytes)) abort();
        if (e.tab_id > summary.largest_id) abort();
    }
    for (const TabPath& p : editor.tab_paths)
        if (!inside(p.path, bytes) || p.id > summary.largest_id) abort();
    for (const TreeNode& n : workbench.file_tree.rows)
        if (!inside(n.name, bytes) || n.id > summary.largest_id || (n.is_group_start && n.is_group_end)) abort();
    return summary;
}

StringView copy_to_project_pool(StringView text) {
    char* bytes = (char*)pool_alloc(pool_project, text.length > 0 ? text.length : 1);
    if (text.length > 0) memcpy(bytes, text.data, (size_t)text.length);
    return StringView{bytes, text.length};
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        set_up();
        ready = true;
    }
    pool_reset(pool_frame);
    project_reset(StringView{nullptr, 0});
    if ((i64)size > pool_available(pool_project) / 4) return 0;
    StringView bytes = copy_to_project_pool(StringView{(const char*)data, (i64)size});
    read_project(bytes);

    // Written back, read again and written again: the same text.
    StringView first = project_file_text();
    if (!first.data) abort();
    StringView first_copy = string_copy(first, pool_frame);
    i64 rows = workbench.file_tree.rows.count;
    project_reset(StringView{nullptr, 0});
    ProjectFileSummary again = read_project(copy_to_project_pool(first_copy));
    if (again.invalid || workbench.file_tree.rows.count != rows) abort();
    StringView second = project_file_text();
    if (!sv_equal(first_copy, second)) abort();

    // The widget's walks and moves over whatever tree the file gave.
    i64 id_sum = 0;
    for (const TreeNode& n : workbench.file_tree.rows) {
        id_sum += n.id;
        i64 end = list_group_end(&workbench.file_tree, &n - workbench.file_tree.rows.data);
        if (end < 0 || end >= workbench.file_tree.rows.count) abort();
    }
    list_row_visible(&workbench.file_tree, workbench.file_tree.rows.count - 1);
    workbench.file_tree.row_height = 32;
    workbench.file_tree.group_end_height = 16;
    if (list_content_height(&workbench.file_tree) > 32.0f * (f32)workbench.file_tree.rows.count) abort();
    list_move_selected(&workbench.file_tree, (i64)(size % (size_t)(workbench.file_tree.rows.count + 1)));
    if (workbench.file_tree.rows.count != rows) abort();
    for (const TreeNode& n : workbench.file_tree.rows) id_sum -= n.id;
    if (id_sum != 0) abort();

    StringView name = sanitize_node_name(StringView{(const char*)data, (i64)size}, pool_frame);
    for (i64 i = 0; i < name.length; i++)
        if (name.data[i] == '\n' || name.data[i] == '\r') abort();
    return 0;
}
