#include "editor/file_io.h"

#include "analysis/analysis_state.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/newlines.h"
#include "core/project_path.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/indent.h"
#include "editor/line_ends.h"
#include "editor/text_change.h"
#include "platform/platform.h"
#include "editor/recolour.h"

namespace {
void report(StringView prefix, StringView full_path) {
    show_simple_message_box(0, SV("error"), string_concat(prefix, full_path, pool_frame));
}

StringView full_path_of(StringView relative) {
    StringBuilder full{};
    full.pool = pool_frame;
    build_full_path(&full, relative);
    return builder_view(full);
}

// The text without the CRs of its "\r\n" pairs; the document remembers which line end
// the file mostly had, to write it back that way (a mixed file becomes its majority).
i64 take_line_ends(Document* doc, u8* bytes, i64 length) {
    doc->crlf = doc->mixed_line_ends = 0;
    // A binary file (a NUL near its start) keeps every byte as it is.
    if (length > 0 && memchr(bytes, 0, (size_t)(length < 65536 ? length : 65536))) return length;
    LineEndCount ends;
    i64 kept = line_ends_strip_crlf(bytes, length, &ends);
    doc->crlf = ends.crlf > ends.lf ? 1 : 0;
    doc->mixed_line_ends = ends.crlf > 0 && ends.lf > 0 ? 1 : 0;
    return kept;
}

// Fills the (empty) document's store with the file's bytes, colour 0; the line table is
// the caller's. On failure the document stays empty.
ReadStatus read_whole_file(Document* doc, StringView full_path) {
    FileStamp stamp = file_stamp(full_path);
    if (!stamp.exists || !stamp.is_regular) return read_cannot_open;
    // Text and colours, with room for a final newline; the line table is checked once
    // the newlines are counted.
    if (!document_has_room(doc, stamp.size + 1, 0)) return read_too_large;
    TextStore* store = &doc->text;
    store->pool = pool_main;
    if (!store_reserve(store, stamp.size + 1, pool_available(pool_main))) return read_too_large;
    store_clear(store);
    // A file that grew since it was measured is refused rather than read past the room.
    FileContents contents = file_read_all_to(full_path, store->bytes, stamp.size);
    if (contents.status != read_ok) return contents.status;
    i64 read = take_line_ends(doc, store->bytes, contents.bytes.length);
    store->gap_start = read;
    if (read > 0) memset(store->colours, 0, (size_t)read);
    // The table grows by doubling: allow for twice the lines.
    i64 lines = 2 * (count_newlines(store->bytes, read) + 2);
    if (!document_has_room(doc, read + 1, lines - line_count(doc))) {
        store_clear(store);
        return read_too_large;
    }
    return read_ok;
}

void note_file_on_disk(Document* doc, StringView full_path) {
    doc->disk_stamp = file_stamp(full_path);
    doc->seen_stamp = doc->disk_stamp;
    doc->file_missing = doc->disk_stamp.exists ? 0 : 1;
}
}  // namespace

StringView document_full_path(const Document* doc) { return full_path_of(owned_view(doc->path)); }

StringView absolute_document_path(StringView relative, char* buffer, i64 capacity) {
    char joined[8192];
    i64 n = 0;
    StringView project = owned_view(core.project_path);
    // As build_full_path joins them: with a separator in the project path, its directory.
    if (sv_last_index(project, '/') >= 0 || sv_last_index(project, '\\') >= 0) {
        StringView directory = project_directory();
        if (directory.length + 1 > (i64)sizeof joined) return StringView{nullptr, 0};
        if (directory.length > 0) memcpy(joined, directory.data, (size_t)directory.length);
        n = directory.length;
        joined[n++] = '/';
    }
    if (relative.length < 0 || relative.length > (i64)sizeof joined - n) return StringView{nullptr, 0};
    if (relative.length > 0) memcpy(joined + n, relative.data, (size_t)relative.length);
    n += relative.length;
    if (n <= 0) return StringView{nullptr, 0};
    return path_absolute(StringView{joined, n}, buffer, capacity);
}

bool file_stamp_differs(const FileStamp& known, const FileStamp& now) {
    if (known.exists != now.exists) return true;
    if (!known.exists) return false;
    return known.size != now.size || known.mtime_ns != now.mtime_ns || known.inode != now.inode ||
           known.device != now.device || known.is_regular != now.is_regular;
}

void document_load(Document* doc, StringView path) {
    document_reset(doc);
    doc->disk_stamp = doc->seen_stamp = FileStamp{};
    doc->file_missing = 0;
    StringView full_path = full_path_of(path);
    FileStamp stamp = file_stamp(full_path);
    if (!stamp.exists && path.length > 0) {
        // The file the user means is not there (yet): the tab keeps its name and the
        // first save creates it.
        if (!editor.loading_new_file) report(SV("failed to open file: "), full_path);
        string_assign(&doc->path, path, pool_main);
        doc->kind = file_kind_for_path(path);
        doc->file_missing = 1;
        return;
    }
    file_remove_stray_temporaries(full_path);
    ReadStatus outcome = read_whole_file(doc, full_path);
    if (outcome != read_ok) {
        // Nothing of that file is shown, so no save may write over it.
        document_reset(doc);
        doc->path.length = 0;
        report(outcome == read_too_large ? SV("file too large to open: ") : SV("failed to open file: "), full_path);
        return;
    }
    string_assign(&doc->path, path, pool_main);
    doc->kind = file_kind_for_path(path);
    note_file_on_disk(doc, full_path);
    rebuild_line_table(doc);
    doc->indent_unit = detect_indent_unit(doc);
    recolour_document(doc);
    doc->view_request = 1;
}

SaveOutcome document_save(Document* doc, bool overwrite_changed) {
    if (!doc->dirty) return save_outcome_not_needed;
    if (doc->path.length <= 0) return save_outcome_no_path;
    StringView full_path = document_full_path(doc);
    if (!overwrite_changed && file_stamp_differs(doc->disk_stamp, file_stamp(full_path)))
        return save_outcome_changed_on_disk;

    file_remove_stray_temporaries(full_path);
    // Written beside the file and renamed over it: the old bytes stay until the new
    // ones are safely on disk.
    StringView text = document_text(doc);
    if (doc->crlf) {
        editor.save_scratch.pool = pool_main;
        line_ends_expand_crlf(text, &editor.save_scratch);
        text = StringView{(const char*)editor.save_scratch.data, editor.save_scratch.count};
    }
    SaveResult result = file_save_atomic(full_path, text);
    if (result == save_open_failed || result == save_not_writable) {
        report(SV("failed to open file for writing: "), full_path);
        return save_outcome_failed;
    }
    if (result != save_ok) {
        report(SV("failed to write file: "), full_path);
        return save_outcome_failed;
    }
    document_mark_saved(doc);
    note_file_on_disk(doc, full_path);
    if (doc->mixed_line_ends) {
        // Said once: from now on the file has one kind of line end.
        doc->mixed_line_ends = 0;
        StringView said = doc->crlf ? SV("mixed line ends saved as CRLF: ") : SV("mixed line ends saved as LF: ");
        string_assign(&editor.line_end_notice, string_concat(said, full_path, pool_frame), pool_main);
    }

    StringView sources = owned_view(analysis.source_cache.sources_name);
    if (sources.length > 0 && sv_equal(owned_view(doc->path), sources)) {
        source_cache_rebuild(owned_view(doc->path));
        if (editor.current_document) recolour_document(editor.current_document);
    }
    return save_outcome_saved;
}

bool document_reload(Document* doc) {
    if (doc->path.length <= 0) return false;
    StringView full_path = document_full_path(doc);
    i32 cursor = doc->cursor, anchor = doc->anchor;
    f32 scroll_x = doc->scroll_x, scroll_y = doc->scroll_y;
    f32 target_x = doc->target_scroll_x, target_y = doc->target_scroll_y;
    // The new bytes are read beside the text first, so that a failed read changes nothing.
    Array<u8>* scratch = &editor.reload_scratch;
    scratch->pool = pool_main;
    FileStamp stamp = file_stamp(full_path);
    i64 limit = pool_available(pool_main) / 4;
    FileContents contents = stamp.size <= limit ? file_read_all_into(full_path, scratch, limit, 0)
                                                : FileContents{read_too_large, StringView{nullptr, 0}, stamp.size};
    if (contents.status == read_ok) {
        u8* bytes = (u8*)contents.bytes.data;
        contents.bytes.length = take_line_ends(doc, bytes, contents.bytes.length);
    }
    undo_checkpoint(doc, edit_structural);
    if (contents.status != read_ok || !text_replace_all(doc, contents.bytes)) {
        bool too_large = contents.status != read_cannot_open;
        report(too_large ? SV("file too large to open: ") : SV("failed to open file: "), full_path);
        return false;
    }
    doc->last_edit_kind = edit_structural;
    i32 length = (i32)document_length(doc);
    doc->cursor = cursor < length ? cursor : length - 1;
    doc->anchor = anchor < length ? anchor : length - 1;
    if (doc->cursor < 0) doc->cursor = 0;
    if (doc->anchor < 0) doc->anchor = 0;
    doc->scroll_x = scroll_x;
    doc->scroll_y = scroll_y;
    doc->target_scroll_x = target_x;
    doc->target_scroll_y = target_y;
    document_mark_changed(doc);
    document_mark_saved(doc);
    note_file_on_disk(doc, full_path);
    doc->indent_unit = detect_indent_unit(doc);
    recolour_document(doc);
    return true;
}
