// The file dialog's listing: the directory it shows (below its base, or any absolute
// one), navigation into and out of sub-directories, the path that the dialog's text box
// names ("~" and absolute paths included), and completing a name with Tab.
#include "core/project_path.h"
#include "core/sort.h"
#include "platform/platform.h"
#include "workbench/workbench_state.h"

namespace {
bool project_mode(i32 mode) { return mode >= 0 && mode <= 2; }
bool is_absolute(StringView p) { return p.length > 0 && p.data[0] == '/'; }

// Project files are listed from the workspace; files of the project from its directory.
StringView listing_base() {
    const FileDialogState& d = workbench.file_dialog;
    return d.relative ? project_directory() : owned_view(workbench.workspace);
}

void append_entry(StringView name, bool is_directory) {
    FileDialogState& d = workbench.file_dialog;
    ListingEntry e{d.names.count, name.length, (u8)(is_directory ? 1 : 0)};
    append_bytes(&d.names, name.data, name.length);
    array_append(&d.entries, e);
}

// The sub-directory without its last element (cut at the last '/', else the last '\\');
// the root stays the root.
StringView parent_of(StringView sub) {
    i64 cut = sv_last_index(sub, '/');
    if (cut < 0) cut = sv_last_index(sub, '\\');
    if (cut == 0) return SV("/");
    return cut < 0 ? StringView{nullptr, 0} : sv_slice(sub, 0, cut);
}

void append_joined(StringBuilder* b, StringView part) {
    if (part.length <= 0) return;
    if (b->count > 0 && b->data[b->count - 1] != '/') append_char(b, '/');
    append_string(b, part);
}

StringView absolute_in_frame(StringView path) {
    char buffer[4096];
    return string_copy(path_absolute(path.length > 0 ? path : SV("."), buffer, sizeof buffer), pool_frame);
}

// `path` (absolute) relative to the project's directory, with ".." where it lies outside.
StringView relative_to_project(StringView path) {
    StringView dir = absolute_in_frame(project_directory());
    StringView target = absolute_in_frame(path);
    // Whole elements in common, then one ".." for each element of the directory left.
    i64 common = 0;
    for (i64 i = 0; i <= dir.length && i <= target.length; i++) {
        bool dir_end = i == dir.length || dir.data[i] == '/';
        bool target_end = i == target.length || target.data[i] == '/';
        if (dir_end && target_end) common = i;
        if (i == dir.length || i == target.length || dir.data[i] != target.data[i]) break;
    }
    StringBuilder out{};
    out.pool = pool_frame;
    for (i64 i = common; i < dir.length; i++)
        if (dir.data[i] != '/' && (i == common || dir.data[i - 1] == '/')) append_joined(&out, SV(".."));
    append_joined(&out, sv_slice(target, common < target.length ? common + 1 : target.length, target.length));
    return builder_view(out);
}
}  // namespace

StringView expand_home(StringView text) {
    bool home = text.length > 0 && text.data[0] == '~' && (text.length == 1 || text.data[1] == '/');
    if (!home) return text;
    return string_concat(path_home_directory(), sv_slice(text, 1, text.length), pool_frame);
}

StringView file_dialog_directory() {
    const FileDialogState& d = workbench.file_dialog;
    StringView sub = owned_view(d.sub_directory);
    if (is_absolute(sub)) return sub;
    StringBuilder dir{};
    dir.pool = pool_frame;
    append_string(&dir, listing_base());
    append_joined(&dir, sub);
    return builder_view(dir);
}

void file_dialog_refresh() {
    FileDialogState& d = workbench.file_dialog;
    DirectoryContent content = directory_get_content(file_dialog_directory(), pool_frame);
    sort_strings(content.directories.data, content.directories.count, pool_frame);
    sort_strings(content.files.data, content.files.count, pool_frame);
    d.entries.count = 0;
    d.names.count = 0;
    if (d.sub_directory.length > 0 && !sv_equal(owned_view(d.sub_directory), SV("/"))) append_entry(SV(".."), true);
    for (StringView name : content.directories) append_entry(name, true);
    for (StringView name : content.files) append_entry(name, false);
    d.scroll = 0;
}

StringView listing_name(i64 index) {
    const FileDialogState& d = workbench.file_dialog;
    if (index < 0 || index >= d.entries.count) return StringView{nullptr, 0};
    const ListingEntry& e = d.entries[index];
    return StringView{d.names.data + e.offset, e.length};
}

void file_dialog_enter_directory(StringView path) {
    string_assign(&workbench.file_dialog.sub_directory, path, pool_main);
    file_dialog_refresh();
}

void file_dialog_pick(i64 index) {
    FileDialogState& d = workbench.file_dialog;
    if (index < 0 || index >= d.entries.count) return;
    // The listing's store is rebuilt below, so the name is copied first.
    StringView name = string_copy(listing_name(index), pool_frame);
    if (!d.entries[index].is_directory) {
        document_set_text(&d.box, name);
        return;
    }
    StringView sub = owned_view(d.sub_directory);
    StringBuilder next{};
    next.pool = pool_frame;
    if (sv_equal(name, SV(".."))) {
        append_string(&next, parent_of(sub));
    } else {
        append_string(&next, sub);
        append_joined(&next, name);
    }
    file_dialog_enter_directory(builder_view(next));
}

StringView file_dialog_full_path(StringView text) {
    if (text.length > 0 && text.data[text.length - 1] == '\n') text.length--;
    text = expand_home(text);
    if (is_absolute(text)) return text;
    StringBuilder path{};
    path.pool = pool_frame;
    append_string(&path, file_dialog_directory());
    append_joined(&path, text);
    return builder_view(path);
}

StringView file_dialog_chosen_path(StringView text) {
    const FileDialogState& d = workbench.file_dialog;
    if (text.length > 0 && text.data[text.length - 1] == '\n') text.length--;
    text = expand_home(text);
    StringView sub = owned_view(d.sub_directory);
    StringBuilder path{};
    path.pool = pool_frame;
    if (!is_absolute(text)) {
        // With no workspace set, project paths are taken from the working directory.
        if (project_mode(d.mode) && !is_absolute(sub)) append_string(&path, owned_view(workbench.workspace));
        append_joined(&path, sub);
    }
    append_joined(&path, text);
    StringView chosen = builder_view(path);
    // The project keeps its files' paths relative to its own directory.
    if (d.relative && is_absolute(chosen)) return relative_to_project(chosen);
    return chosen;
}

bool file_dialog_complete(StringView text) {
    FileDialogState& d = workbench.file_dialog;
    if (text.length > 0 && text.data[text.length - 1] == '\n') text.length--;
    if (sv_equal(text, SV("~"))) {
        document_set_text(&d.box, SV("~/"));
        return true;
    }
    i64 cut = sv_last_index(text, '/');
    StringView typed_dir = sv_slice(text, 0, cut + 1), prefix = sv_slice(text, cut + 1, text.length);
    StringView dir = typed_dir.length > 0 ? file_dialog_full_path(typed_dir) : file_dialog_directory();
    DirectoryContent content = directory_get_content(dir.length > 0 ? dir : SV("."), pool_frame);
    // The longest start that every name beginning with the prefix shares.
    StringView common{nullptr, 0};
    i64 matches = 0;
    bool only_directory = false;
    for (i32 list = 0; list < 2; list++) {
        for (StringView name : list == 0 ? content.directories : content.files) {
            if (name.length < prefix.length || (prefix.length > 0 && memcmp(name.data, prefix.data, (size_t)prefix.length) != 0)) continue;
            // Hidden names only when asked for.
            if (prefix.length == 0 && name.length > 0 && name.data[0] == '.') continue;
            if (matches++ == 0) {
                common = name;
                only_directory = list == 0;
                continue;
            }
            i64 n = 0;
            while (n < common.length && n < name.length && common.data[n] == name.data[n]) n++;
            common.length = n;
        }
    }
    if (matches == 0) return false;
    StringView completed = string_concat(typed_dir, common, pool_frame);
    if (matches == 1 && only_directory) completed = string_concat(completed, SV("/"), pool_frame);
    if (sv_equal(completed, text)) return false;
    document_set_text(&d.box, completed);
    return true;
}
