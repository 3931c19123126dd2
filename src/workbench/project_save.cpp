// Writing the project file: the sections are measured first so that the text takes one
// exact block of pool_frame, and the file is replaced atomically.
#include "analysis/analysis_state.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "editor/document.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "platform/platform.h"
#include "workbench/project.h"
#include "workbench/workbench_state.h"

namespace {
bool is_line_break(char c) { return c == '\n' || c == '\r'; }

// Counts bytes while `data` is null, writes them otherwise; both passes run the same code.
struct TextOut {
    char* data;
    i64 length;
};

void put(TextOut* out, StringView s) {
    if (s.length <= 0) return;
    if (out->data) memcpy(out->data + out->length, s.data, (size_t)s.length);
    out->length += s.length;
}

void put_char(TextOut* out, char c) { put(out, StringView{&c, 1}); }

void put_number(TextOut* out, i64 value) {
    char digits[24];
    i64 n = 0;
    u64 magnitude = value < 0 ? (u64)0 - (u64)value : (u64)value;
    do {
        digits[sizeof digits - 1 - n++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (value < 0) digits[sizeof digits - 1 - n++] = '-';
    put(out, StringView{digits + sizeof digits - n, n});
}

// Labels, paths and names end their line; a line break inside one would cut it and make
// the rest a line of its own. Such characters are dropped rather than written.
void put_text(TextOut* out, StringView s) {
    i64 start = 0;
    for (i64 i = 0; i <= s.length; i++) {
        if (i < s.length && !is_line_break(s.data[i])) continue;
        put(out, sv_slice(s, start, i));
        start = i + 1;
    }
}

void put_header(TextOut* out, StringView word, i64 count) {
    put(out, word);
    put_number(out, count);
    put_char(out, '\n');
}

void write_sections(TextOut* out) {
    put_header(out, SV("tabs "), workbench.project.tab_entries.count);
    for (const TabEntry& e : workbench.project.tab_entries) {
        put_number(out, e.tab_id);
        put(out, e.is_active ? SV(" 1 ") : SV(" 0 "));
        put_text(out, e.label);
        put_char(out, '\n');
    }
    put_header(out, SV("files "), editor.tab_paths.count);
    for (const TabPath& p : editor.tab_paths) {
        put_number(out, p.id);
        put_char(out, ' ');
        put_text(out, p.path);
        put_char(out, '\n');
    }
    put_header(out, SV("nodes "), workbench.file_tree.rows.count);
    for (const TreeNode& n : workbench.file_tree.rows) {
        i64 flags = (n.is_group_start ? 1 : 0) + (n.is_group_end ? 2 : 0) + (n.is_open ? 4 : 0) + (n.is_selected ? 8 : 0);
        put_number(out, n.id);
        put_char(out, ' ');
        put_number(out, flags);
        put_char(out, ' ');
        put_text(out, n.name);
        put_char(out, '\n');
    }
    StringView sources = owned_view(analysis.source_cache.sources_name);
    if (sources.length > 0) {
        put(out, SV("sources "));
        put_text(out, sources);
        put_char(out, '\n');
    }
}

// The text of a usual project fits this frame's pool; a very large one is built in a
// buffer of pool_main that keeps its storage for the next save. Null when neither has room.
char* text_buffer(i64 length) {
    Array<char>& large = workbench.project_text;
    large.pool = pool_main;
    if (length < 1) length = 1;
    if (length <= pool_available(pool_frame) / 2) return (char*)pool_alloc(pool_frame, length);
    if (large.capacity < length && length * 2 > pool_available(pool_main)) return nullptr;
    array_reserve(&large, length);
    return large.data;
}

void report_save_failure(StringView path) {
    show_simple_message_box(0, SV("error"), string_concat(SV("failed to save project file: "), path, pool_frame));
}
}  // namespace

StringView sanitize_node_name(StringView name, u8 pool) {
    i64 breaks = 0;
    for (i64 i = 0; i < name.length; i++) breaks += is_line_break(name.data[i]);
    if (breaks == 0) return name;
    TextOut out{nullptr, 0};
    put_text(&out, name);
    if (out.length == 0) return StringView{nullptr, 0};
    out.data = (char*)pool_alloc(pool, out.length);
    out.length = 0;
    put_text(&out, name);
    return StringView{out.data, out.length};
}

StringView project_file_text() {
    TextOut out{nullptr, 0};
    write_sections(&out);
    out.data = text_buffer(out.length);
    if (!out.data) return StringView{nullptr, 0};
    out.length = 0;
    write_sections(&out);
    return StringView{out.data, out.length};
}

void project_save(StringView path) {
    // A failed save leaves the project as it was, its path included.
    StringView previous = string_copy(owned_view(core.project_path), pool_frame);
    StringView own = string_copy(path, pool_frame);
    string_assign(&core.project_path, own, pool_main);
    for (i64 slot = 0; slot < tab_slot_count; slot++)
        if (tab_slot_used(slot)) document_save(&editor.tab_table.slots[slot]);

    StringView text = project_file_text();
    if (!text.data) {
        string_assign(&core.project_path, previous, pool_main);
        report_save_failure(own);
        return;
    }
    if (file_save_atomic(own, text) != save_ok) {
        string_assign(&core.project_path, previous, pool_main);
        report_save_failure(own);
        return;
    }
    workbench.project_saved = true;
}
