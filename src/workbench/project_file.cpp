// Reading the sections of a project file. The file is untrusted: counts only bound how
// many lines a section takes (nothing is reserved by them), numbers saturate, and
// whatever was read before a fault stays loaded.
#include "editor/document.h"
#include "editor/editor_state.h"
#include "workbench/project.h"
#include "workbench/workbench_state.h"

namespace {
struct LineReader {
    StringView bytes;
    i64 pos;
};

// The next line without its "\n". A "\r" before it is dropped too: saving never writes
// one, so it can only come from a file whose lines end in "\r\n".
bool peek_line(const LineReader* r, StringView* line, i64* next) {
    if (r->pos >= r->bytes.length) return false;
    const char* start = r->bytes.data + r->pos;
    i64 left = r->bytes.length - r->pos;
    const char* newline = (const char*)memchr(start, '\n', (size_t)left);
    i64 length = newline ? newline - start : left;
    *next = r->pos + length + (newline ? 1 : 0);
    if (length > 0 && start[length - 1] == '\r') length--;
    *line = StringView{start, length};
    return true;
}

bool take_line(LineReader* r, StringView* line) {
    i64 next = 0;
    if (!peek_line(r, line, &next)) return false;
    r->pos = next;
    return true;
}

// An optional "-" and digits, saturated to the 32-bit range; anything else reads as 0.
i64 read_number(StringView line, i64* pos) {
    i64 p = *pos;
    bool negative = p < line.length && line.data[p] == '-';
    if (negative) p++;
    i64 value = 0;
    while (p < line.length && line.data[p] >= '0' && line.data[p] <= '9') {
        if (value <= 0x7fffffffLL) value = value * 10 + (line.data[p] - '0');
        p++;
    }
    *pos = p;
    if (negative) value = -value;
    if (value > 0x7fffffffLL) value = 0x7fffffffLL;
    if (value < -0x80000000LL) value = -0x80000000LL;
    return value;
}

// Items are separated by exactly one space.
void skip_separator(StringView line, i64* pos) {
    if (*pos < line.length && line.data[*pos] == ' ') (*pos)++;
}

StringView rest_of_line(StringView line, i64 pos) { return sv_slice(line, pos, line.length); }

enum Section { section_none, section_tabs, section_files, section_nodes, section_sources };

// The word before the first space of a line; a line without a space has no word.
Section section_of(StringView line, i64* after_word) {
    static const struct {
        StringView word;
        Section section;
    } words[] = {{SV("tabs "), section_tabs},
                 {SV("files "), section_files},
                 {SV("nodes "), section_nodes},
                 {SV("sources "), section_sources}};
    for (const auto& w : words) {
        if (starts_with(line, w.word)) {
            *after_word = w.word.length;
            return w.section;
        }
    }
    return section_none;
}

i64 first_free_slot() {
    for (i64 slot = 0; slot < tab_slot_count; slot++)
        if (!tab_slot_used(slot)) return slot;
    return -1;
}

void note_id(ProjectFileSummary* summary, i64 id) {
    if (id > summary->largest_id) summary->largest_id = id;
}

void read_tab(StringView line, ProjectFileSummary* summary) {
    i64 pos = 0;
    i64 id = read_number(line, &pos);
    skip_separator(line, &pos);
    i64 active = read_number(line, &pos);
    skip_separator(line, &pos);
    StringView label = rest_of_line(line, pos);
    note_id(summary, id);
    // A second entry for a tab that is already open would share its document.
    if (!editor.tab_table.slots || find_tab((u32)id) >= 0) return;
    i64 slot = first_free_slot();
    if (slot < 0) return;  // all 32 slots taken: the entry is skipped
    editor.tab_table.used[slot / 8] |= (u8)(1u << (slot & 7));
    Document* doc = &editor.tab_table.slots[slot];
    doc->id = (u32)id;
    doc->focused = 1;
    // The slot may still name the previous project's file: should this tab's file fail
    // to open, or have no "files" entry, saving the document would overwrite that file.
    doc->path.length = 0;
    document_reset(doc);
    TabEntry entry{};
    entry.tab_id = (i32)id;
    entry.label = label;
    entry.is_active = active != 0;
    if (entry.is_active) {
        for (TabEntry& e : workbench.project.tab_entries) e.is_active = 0;
        editor.current_document = doc;
    }
    array_append(&workbench.project.tab_entries, entry);
}

void read_file(StringView line, ProjectFileSummary* summary) {
    i64 pos = 0;
    i64 id = read_number(line, &pos);
    skip_separator(line, &pos);
    note_id(summary, id);
    array_append(&editor.tab_paths, TabPath{(i32)id, rest_of_line(line, pos)});
}

void read_node(StringView line, ProjectFileSummary* summary) {
    i64 pos = 0;
    i64 id = read_number(line, &pos);
    skip_separator(line, &pos);
    i64 flags = read_number(line, &pos);
    skip_separator(line, &pos);
    note_id(summary, id);
    TreeNode node{};
    node.id = (i32)id;
    node.name = rest_of_line(line, pos);
    node.is_group_start = (flags & 1) != 0;
    // A row cannot both open and close a group; it is taken as the opening.
    node.is_group_end = (flags & 2) != 0 && !node.is_group_start;
    node.is_open = (flags & 4) != 0;
    node.is_selected = (flags & 8) != 0;
    array_append(&workbench.file_tree.rows, node);
}

// Reads up to `count` entry lines. A line that starts a section ends the entries early
// (a count too large); returns false when the project would hold more files or nodes
// than the limit.
bool read_entries(LineReader* r, i64 count, Section section, ProjectFileSummary* summary) {
    for (i64 i = 0; i < count; i++) {
        StringView line;
        i64 next = 0, after_word = 0;
        if (!peek_line(r, &line, &next)) return true;
        if (section_of(line, &after_word) != section_none) return true;
        i64 held = section == section_files ? editor.tab_paths.count : section == section_nodes ? workbench.file_tree.rows.count : 0;
        if (held >= project_section_limit) return false;
        r->pos = next;
        if (section == section_tabs) read_tab(line, summary);
        else if (section == section_files) read_file(line, summary);
        else read_node(line, summary);
    }
    return true;
}
}  // namespace

ProjectFileSummary project_parse(StringView bytes) {
    ProjectFileSummary summary{};
    summary.sources_name = StringView{nullptr, 0};
    LineReader reader{bytes, 0};
    StringView line;
    while (take_line(&reader, &line)) {
        i64 pos = 0;
        Section section = section_of(line, &pos);
        if (section == section_none) {
            summary.invalid = true;
            break;
        }
        if (section == section_sources) {
            summary.sources_name = rest_of_line(line, pos);
            summary.has_sources = true;
            continue;
        }
        i64 count = read_number(line, &pos);
        if (!read_entries(&reader, count, section, &summary)) {
            summary.invalid = true;
            break;
        }
    }
    return summary;
}
