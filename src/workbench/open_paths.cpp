// What the command line names: a project file, source files (in a project without a
// file, with the files beside them of the same languages as its sources), or a folder
// (a project whose tree holds its files, its sub-folders as groups).
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "analysis/analysis_state.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/string_builder.h"
#include "editor/editor_state.h"
#include "editor/recolour.h"
#include "memory/arena.h"
#include "platform/platform.h"
#include "syntax/file_kind.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
// Bounds of a folder's walk: deep or huge trees are cut, never walked for long.
constexpr i32 folder_depth_limit = 8;
constexpr i64 folder_file_limit = 4000;

void say(StringView prefix, StringView path) {
    show_simple_message_box(0, SV("error"), string_concat(prefix, path, pool_frame));
}

bool ends_with_project(StringView path) {
    StringView ending = SV(".project");
    if (path.length < ending.length) return false;
    for (i64 i = 0; i < ending.length; i++) {
        char c = path.data[path.length - ending.length + i];
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        if (c != ending.data[i]) return false;
    }
    return true;
}

// A project file by its name, or by starting with one of its section words.
bool is_project_file(StringView path) {
    if (ends_with_project(path)) return true;
    FileContents head = file_read_all(path, pool_frame, 16, true);
    if (head.status != read_ok) return false;
    StringView b = head.bytes;
    auto starts = [b](StringView word) { return b.length >= word.length && sv_equal(StringView{b.data, word.length}, word); };
    return starts(SV("tabs ")) || starts(SV("files ")) || starts(SV("nodes ")) || starts(SV("sources "));
}

// Hidden folders and what builds leave behind hold no sources anyone opens by hand.
bool skipped_folder(StringView name) {
    if (name.length <= 0 || name.data[0] == '.') return true;
    const StringView skipped[] = {SV("node_modules"), SV("CMakeFiles"), SV("__pycache__"), SV("target"), SV("out"),
                                  SV("dist")};
    for (StringView s : skipped)
        if (sv_equal(name, s)) return true;
    return name.length >= 5 && sv_equal(StringView{name.data, 5}, SV("build"));
}

StringView join(StringView a, StringView b) {
    StringView parts = string_concat(a, SV("/"), pool_frame);
    return string_concat(parts, b, pool_frame);
}

StringView base_name(StringView path) {
    i64 slash = sv_last_index(path, '/');
    return slash >= 0 ? StringView{path.data + slash + 1, path.length - slash - 1} : path;
}

StringView parent_of(StringView path) {
    i64 slash = sv_last_index(path, '/');
    if (slash == 0) return SV("/");
    return slash > 0 ? StringView{path.data, slash} : SV(".");
}

struct FolderWalk {
    StringBuilder files, nodes, sources;
    i64 file_count, node_count;
    i32 next_id;
};

// By name, as a listing is read: the system gives them in no useful order.
void sort_names(Array<StringView>* names) {
    std::sort(names->data, names->data + names->count, [](StringView a, StringView b) {
        i64 n = a.length < b.length ? a.length : b.length;
        int c = n > 0 ? memcmp(a.data, b.data, (size_t)n) : 0;
        return c != 0 ? c < 0 : a.length < b.length;
    });
}

// Appends "PREFIX[/]NAME\n".
void add_line(StringBuilder* b, StringView prefix, StringView name, bool slash = false) {
    append_string(b, prefix);
    if (slash) append_char(b, '/');
    append_string(b, name);
    append_char(b, '\n');
}

// Room the walk leaves in the frame pool: a huge tree is cut, never runs the pool out.
constexpr i64 walk_reserve = (i64)1 << 20;

void walk(FolderWalk* w, StringView directory, i32 depth) {
    if (pool_available(pool_frame) < walk_reserve) return;
    DirectoryContent content = directory_get_content(directory, pool_frame);
    sort_names(&content.files);
    sort_names(&content.directories);
    char number[32];
    for (StringView name : content.files) {
        if (w->file_count >= folder_file_limit || name.length <= 0 || name.data[0] == '.') continue;
        if (pool_available(pool_frame) < walk_reserve) return;
        snprintf(number, sizeof number, "%d ", w->next_id++);
        append_string(&w->files, sv_from_cstr(number));
        add_line(&w->files, directory, name, true);
        append_string(&w->nodes, sv_from_cstr(number));
        add_line(&w->nodes, SV("0 "), name);
        w->file_count++;
        w->node_count++;
        if (file_kind_for_path(name) > file_kind_other) add_line(&w->sources, directory, name, true);
    }
    if (depth >= folder_depth_limit) return;
    for (StringView name : content.directories) {
        if (skipped_folder(name) || w->file_count >= folder_file_limit) continue;
        // A group row starts the folder (open at the top) and another ends it; an empty
        // one is left out.
        i64 nodes_before = w->nodes.count, count_before = w->node_count;
        add_line(&w->nodes, depth == 0 ? SV("-1 5 ") : SV("-1 1 "), name);
        i64 files_before = w->file_count;
        walk(w, join(directory, name), depth + 1);
        if (w->file_count == files_before) {
            w->nodes.count = nodes_before;
            w->node_count = count_before;
            continue;
        }
        add_line(&w->nodes, SV("-1 2 "), name);
        w->node_count += 2;
    }
}

void open_folder(StringView folder) {
    FolderWalk w{};
    w.files.pool = w.nodes.pool = w.sources.pool = pool_frame;
    w.next_id = 2;
    walk(&w, folder, 0);
    char counts[64];
    StringBuilder text{};
    text.pool = pool_project;
    project_reset(SV(""));
    snprintf(counts, sizeof counts, "files %lld\n", (long long)w.file_count);
    append_string(&text, sv_from_cstr(counts));
    append_string(&text, builder_view(w.files));
    snprintf(counts, sizeof counts, "nodes %lld\n", (long long)w.node_count);
    append_string(&text, sv_from_cstr(counts));
    append_string(&text, builder_view(w.nodes));
    // The labels and paths point into these bytes for the project's lifetime.
    project_parse(builder_view(text));
    project_colour_nodes();
    editor.next_tab_id = w.next_id - 1;
    source_cache_rebuild_from_list(builder_view(w.sources));
    string_assign(&workbench.unnamed_project_name, join(folder, string_concat(base_name(folder), SV(".project"), pool_frame)),
                  pool_main);
    workbench.project_saved = false;
}

// The sources of files opened on their own: them and the files of the same languages in
// their folders.
void list_sources_beside(const Array<StringView>& opened) {
    StringBuilder list{};
    list.pool = pool_frame;
    for (i64 i = 0; i < opened.count; i++) {
        StringView folder = parent_of(opened[i]);
        bool seen = false;
        for (i64 j = 0; j < i && !seen; j++) seen = sv_equal(parent_of(opened[j]), folder);
        if (seen) continue;
        DirectoryContent content = directory_get_content(folder, pool_frame);
        for (StringView name : content.files) {
            // C and C++ are one language to the analysis (headers serve both).
            u8 kind = file_kind_for_path(name);
            int language = language_of_file_kind(kind);
            bool wanted = false;
            for (StringView o : opened)
                wanted = wanted || (kind > file_kind_other && language == language_of_file_kind(file_kind_for_path(o)));
            if (wanted) add_line(&list, folder, name, true);
        }
    }
    source_cache_rebuild_from_list(builder_view(list));
}
}  // namespace

void workbench_open_paths(const StringView* paths, i64 count) {
    bool project_open = false;
    Array<StringView> opened{nullptr, 0, 0, pool_frame};
    for (i64 i = 0; i < count; i++) {
        char buffer[4096];
        StringView path = path_absolute(paths[i], buffer, sizeof buffer);
        if (path.length <= 0) {
            say(SV("no such file or folder: "), paths[i]);
            continue;
        }
        path = string_copy(path, pool_frame);
        bool folder = directory_exists(path);
        bool project = !folder && file_exists(path) && is_project_file(path);
        if (folder || project) {
            // One project at a time: the first named is the one opened.
            if (project_open) {
                say(SV("one project at a time, not opened: "), path);
                continue;
            }
            project_open = true;
            if (folder) open_folder(path);
            else project_load(path);
            continue;
        }
        if (!file_exists(path) && !directory_exists(parent_of(path))) {
            say(SV("no such file or folder: "), path);
            continue;
        }
        if (!project_open) {
            project_reset(SV(""));
            workbench.unnamed_project_name.length = 0;
            project_open = true;
        }
        // A file that does not exist yet opens as an empty tab; the first save makes it.
        editor.loading_new_file = !file_exists(path);
        project_add_file(path);
        editor.loading_new_file = false;
        array_append(&opened, path);
    }
    if (opened.count > 0 && analysis.source_cache.sources_name.length == 0 && core.project_path.length == 0)
        list_sources_beside(opened);
    if (editor.current_document) recolour_document(editor.current_document);
}
