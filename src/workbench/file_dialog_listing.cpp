// The file dialog's listing: the directory below its base, navigation into and out of
// sub-directories, and the path that the dialog's text box names.
#include "core/project_path.h"
#include "core/sort.h"
#include "platform/platform.h"
#include "workbench/workbench_state.h"

namespace {
bool project_mode(i32 mode) { return mode >= 0 && mode <= 2; }

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

// The sub-directory without its last element (cut at the last '/', else the last '\\').
StringView parent_of(StringView sub) {
    i64 cut = sv_last_index(sub, '/');
    if (cut < 0) cut = sv_last_index(sub, '\\');
    return cut < 0 ? StringView{nullptr, 0} : sv_slice(sub, 0, cut);
}
}  // namespace

void file_dialog_refresh() {
    FileDialogState& d = workbench.file_dialog;
    StringBuilder dir{};
    dir.pool = pool_frame;
    StringView base = listing_base();
    StringView sub = owned_view(d.sub_directory);
    append_string(&dir, base);
    if (sub.length > 0) {
        if (base.length > 0) append_char(&dir, '/');
        append_string(&dir, sub);
    }
    DirectoryContent content = directory_get_content(builder_view(dir), pool_frame);
    sort_strings(content.directories.data, content.directories.count, pool_frame);
    sort_strings(content.files.data, content.files.count, pool_frame);
    d.entries.count = 0;
    d.names.count = 0;
    if (sub.length > 0) append_entry(SV(".."), true);
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
        if (sub.length > 0) append_char(&next, '/');
        append_string(&next, name);
    }
    string_assign(&d.sub_directory, builder_view(next), pool_main);
    file_dialog_refresh();
}

StringView file_dialog_chosen_path(StringView text) {
    const FileDialogState& d = workbench.file_dialog;
    if (text.length > 0 && text.data[text.length - 1] == '\n') text.length--;
    StringBuilder path{};
    path.pool = pool_frame;
    // With no workspace set, project paths are taken from the working directory.
    if (project_mode(d.mode) && workbench.workspace.length > 0) {
        append_string(&path, owned_view(workbench.workspace));
        append_char(&path, '/');
    }
    if (d.sub_directory.length > 0) {
        append_string(&path, owned_view(d.sub_directory));
        append_char(&path, '/');
    }
    append_string(&path, text);
    return builder_view(path);
}
