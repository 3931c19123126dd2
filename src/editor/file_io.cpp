#include "editor/file_io.h"

#include "analysis/source_cache.h"
#include "core/project_path.h"
#include "editor/text_change.h"
#include "platform/platform.h"
#include "syntax/recolour.h"

namespace {
void report(StringView prefix, StringView full_path) {
    show_simple_message_box(0, SV("error"), string_concat(prefix, full_path, pool_frame));
}

i64 count_newlines(const u8* bytes, i64 length) {
    i64 n = 0;
    const u8* p = bytes;
    const u8* end = bytes + length;
    while (p < end && (p = (const u8*)memchr(p, '\n', (size_t)(end - p))) != nullptr) {
        n++;
        p++;
    }
    return n;
}
}  // namespace

u8 file_kind_for_path(StringView path) {
    if (ends_with(path, SV(".vnt"))) return file_kind_vantrel;
    if (ends_with(path, SV(".cpp")) || ends_with(path, SV(".h")) || ends_with(path, SV(".hpp"))) return file_kind_cpp;
    if (ends_with(path, SV(".c"))) return file_kind_c;
    if (ends_with(path, SV(".glsl"))) return file_kind_glsl;
    return file_kind_other;
}

void document_load(Document* doc, StringView path) {
    document_reset(doc);
    StringBuilder full{};
    full.pool = pool_frame;
    build_full_path(&full, path);
    StringView full_path = builder_view(full);

    FileHandle file = file_open(full_path, file_mode_read);
    if (file_failed(file)) {
        report(SV("failed to open file: "), full_path);
        return;
    }
    i64 size = file_size(file);
    if (size < 0) size = 0;
    // Text and colours, with room for a final newline; the line table is checked once
    // the newlines are counted.
    if (!document_has_room(doc, size + 1, 0)) {
        file_close(file);
        report(SV("file too large to open: "), full_path);
        return;
    }
    array_resize(&doc->text, size + 1);
    array_resize(&doc->colours, size + 1);
    i64 read = file_read(file, size, doc->text.data);
    file_close(file);
    doc->text.count = read;
    doc->colours.count = read;
    if (read > 0) memset(doc->colours.data, 0, (size_t)read);
    // The table grows by doubling: allow for twice the lines.
    i64 lines = 2 * (count_newlines(doc->text.data, read) + 2);
    if (!document_has_room(doc, read + 1, lines - doc->line_lengths.count)) {
        document_reset(doc);
        report(SV("file too large to open: "), full_path);
        return;
    }

    string_assign(&doc->path, path, pool_main);
    doc->kind = file_kind_for_path(path);
    rebuild_line_table(doc);
    recolour_document(doc);
    doc->view_request = 1;
}

void document_save(Document* doc) {
    if (doc->path.length <= 0 || !doc->dirty) return;
    StringBuilder full{};
    full.pool = pool_frame;
    build_full_path(&full, owned_view(doc->path));
    StringView full_path = builder_view(full);

    // Written beside the file and renamed over it: the old bytes stay until the new
    // ones are safely on disk.
    SaveResult result = file_save_atomic(full_path, document_text(doc));
    if (result == save_open_failed) {
        report(SV("failed to open file for writing: "), full_path);
        return;
    }
    if (result != save_ok) {
        report(SV("failed to write file: "), full_path);
        return;
    }
    doc->dirty = 0;

    StringView sources = owned_view(source_cache.sources_name);
    if (sources.length > 0 && sv_equal(owned_view(doc->path), sources)) {
        source_cache_rebuild(owned_view(doc->path));
        if (current_document) recolour_document(current_document);
    }
}
