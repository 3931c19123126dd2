#include "workbench/project.h"

#include <cstdio>

#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/sort.h"
#include "editor/document.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "editor/recovery.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "editor/recolour.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"
#include "syntax/file_kind.h"


namespace {
// Room kept in pool_project after reading a project file, for files added and nodes
// renamed later.
constexpr i64 project_headroom = 65536;
constexpr i32 largest_tab_id = 0x7fffffff;

void report(StringView prefix, StringView path) {
    show_simple_message_box(0, SV("error"), string_concat(prefix, path, pool_frame));
}

// Arrays whose storage another project may reuse keep it; one whose storage lived in
// a pool that is being emptied forgets it.
template <typename T>
void empty_array(Array<T>* a) {
    if (a->pool == pool_project || a->pool == pool_frame) {
        u8 pool = a->pool;
        *a = Array<T>{};
        a->pool = pool;
    }
    a->count = 0;
}

void clear_entry_field(Document* box) {
    // Boxes the workbench has not set up yet are left alone.
    if (box->single_line) document_set_text(box, StringView{nullptr, 0});
}

void clear_workbench_texts() {
    workbench.prompt.title.length = 0;
    clear_entry_field(&workbench.prompt.box);
    clear_entry_field(&workbench.file_dialog.box);
    workbench.menu.entries = nullptr;
    workbench.menu.entry_count = 0;
    set_sources_box_text(StringView{nullptr, 0});
}

void load_open_documents() {
    for (i64 slot = 0; slot < tab_slot_count; slot++) {
        if (!tab_slot_used(slot)) continue;
        Document* doc = &editor.tab_table.slots[slot];
        // A tab whose id has no file keeps its slot with an empty text.
        StringView path = tab_path((i32)doc->id);
        if (path.length > 0) document_load(doc, path);
        document_take_scale(doc);
    }
}
}  // namespace

void project_reset(StringView path) {
    // Saved documents leave no recovery file behind (named after the project that ends).
    for (i64 slot = 0; editor.tab_table.slots && slot < tab_slot_count; slot++) {
        if (!tab_slot_used(slot)) continue;
        const Document* doc = &editor.tab_table.slots[slot];
        if (doc->recovery_present && !doc->dirty) recovery_discard(doc);
    }
    string_assign(&core.project_path, path, pool_main);
    if (editor.tab_table.slots) {
        for (i64 slot = 0; slot < tab_slot_count; slot++) {
            if (!tab_slot_used(slot)) continue;
            tab_slot_release(slot);
            document_reset(&editor.tab_table.slots[slot]);
        }
    }
    empty_array(&editor.tab_paths);
    empty_array(&workbench.project.tab_entries);
    empty_array(&workbench.file_tree.rows);
    source_cache_clear();
    pool_reset(pool_project);
    pool_reset(pool_sources);
    clear_workbench_texts();
    editor.current_document = nullptr;
    // A new project numbers its files as an empty project file does: the first gets 2.
    editor.next_tab_id = 1;
    workbench.project_saved = false;
}

void project_load(StringView path) {
    printf("opening %.*s\n", (int)path.length, path.data);
    fflush(stdout);
    project_reset(path);
    workbench.unnamed_project_name.length = 0;
    // From here on the path is the project's own copy: `path` may have pointed into a
    // text box or a pool that the reset emptied.
    StringView own = owned_view(core.project_path);
    if (!file_exists(own)) {
        report(SV("file does not exist: "), own);
        return;
    }
    // The bytes stay for the project's lifetime: labels, paths and names point into them.
    FileContents contents = file_read_all(own, pool_project, pool_available(pool_project) - project_headroom);
    if (contents.status == read_cannot_open) {
        report(SV("failed to open project: "), own);
        return;
    }
    if (contents.status == read_too_large) {
        report(SV("project file too large: "), own);
        return;
    }

    ProjectFileSummary summary = project_parse(contents.bytes);
    if (summary.invalid) report(SV("invalid project file: "), own);
    if (summary.has_sources) {
        set_sources_box_text(summary.sources_name);
        if (summary.sources_name.length > 0) source_cache_rebuild(summary.sources_name);
    }
    project_colour_nodes();
    load_open_documents();
    if (editor.current_document) recolour_document(editor.current_document);
    i64 next = summary.largest_id + 1;
    editor.next_tab_id = next < largest_tab_id ? (i32)next : largest_tab_id;
    workbench.project_saved = true;
    restore_recovered_documents();
}

void project_add_file(StringView path) {
    // A file the project has already is shown, not added a second time.
    i64 record = project_record_of_path(path);
    if (record >= 0) {
        i32 id = editor.tab_paths[record].id;
        i64 slot = find_tab((u32)id);
        if (slot >= 0) {
            // A tab whose file could not be read before tries again.
            Document* doc = &editor.tab_table.slots[slot];
            if (doc->path.length <= 0 && !doc->dirty) document_load(doc, editor.tab_paths[record].path);
            activate_tab(id);
        } else if (open_tab(editor.tab_paths[record].path, (u32)id) >= 0) {
            workbench.project_saved = false;
            restore_recovered_document(&editor.tab_table.slots[find_tab((u32)id)]);
        }
        return;
    }
    if (editor.next_tab_id >= largest_tab_id || path.length > pool_available(pool_project) - 64) {
        show_simple_message_box(0, SV("error"), SV("too many files!"));
        return;
    }
    editor.next_tab_id++;
    i32 id = editor.next_tab_id;
    if (open_tab(path, (u32)id) < 0) return;
    StringView own = string_copy(path, pool_project);
    array_append(&editor.tab_paths, TabPath{id, own});
    TreeNode node{};
    node.color = file_color_for_path(own);
    node.icon = render.icon_textures[icon_sphere];
    node.id = id;
    node.name = tab_display_name(own);
    array_append(&workbench.file_tree.rows, node);
    workbench.project_saved = false;
}

void project_colour_nodes() {
    // Each lookup is a walk of tab_paths; a table sorted by id keeps large projects
    // linear-logarithmic.
    Array<IdPath>& table = workbench.node_ids;
    Array<IdPath>& scratch = workbench.node_ids_scratch;
    table.pool = scratch.pool = pool_main;
    table.count = 0;
    array_reserve(&table, editor.tab_paths.count);
    array_resize(&scratch, editor.tab_paths.count);
    for (i64 i = 0; i < editor.tab_paths.count; i++) array_append(&table, IdPath{editor.tab_paths[i].id, (i32)i});
    merge_sort(table.data, 0, table.count, scratch.data, [](const IdPath& a, const IdPath& b) { return a.id < b.id; });

    for (TreeNode& node : workbench.file_tree.rows) {
        if (node.is_group_start || node.is_group_end) {
            node.color = render.theme.folder_color;
            node.icon = render.icon_textures[icon_star3d];
            continue;
        }
        node.icon = render.icon_textures[icon_sphere];
        // The first record of an id wins, as in tab_path: the sort is stable.
        i64 low = 0, high = table.count;
        while (low < high) {
            i64 mid = low + (high - low) / 2;
            if (table[mid].id < node.id) low = mid + 1;
            else high = mid;
        }
        StringView path{nullptr, 0};
        if (low < table.count && table[low].id == node.id) path = editor.tab_paths[table[low].index].path;
        node.color = file_color_for_path(path);
    }
}

StringView project_file_name() {
    StringView p = owned_view(core.project_path);
    i64 cut = sv_last_index(p, '/');
    if (cut < 0) cut = sv_last_index(p, '\\');
    return StringView{p.data + cut + 1, p.length - cut - 1};
}

i64 tab_entry_slot(const TabEntry& entry) { return find_tab((u32)entry.tab_id); }
