// Gathering and filtering completion candidates from the last analysis result, the
// signatures of the call around the cursor, accepting a candidate, and the openings that
// follow a newly taken result.
#include "editor/completion.h"

#include <cstring>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "core/sort.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/motion.h"
#include "editor/symbol_look.h"
#include "editor/view.h"
#include "memory/arena.h"

namespace {

// Call ranges this long or longer are never offered.
constexpr i64 call_range_bound = 1000000;

i32 clamped_cursor(const Document* doc) {
    if (doc->cursor < 0) return 0;
    if (doc->cursor > document_length(doc)) return (i32)document_length(doc);
    return doc->cursor;
}

// Start of the identifier that ends at `pos`. word_start never looks at byte 0, so a
// non-word byte there is stepped over here.
i32 identifier_start(const Document* doc, i32 pos) {
    i32 start = word_start(doc, pos, true);
    if (start < pos && start < document_length(doc) && !is_word_char(document_byte(doc, start))) start++;
    return start;
}

void append_members(Document* doc, const AnalysisResult* r, i64 scope) {
    if (scope < 0 || scope >= r->scopes.count) return;
    for (const Symbol& s : r->scopes[scope].members) {
        u8 kind = s.kind < symbol_kind_count ? s.kind : 0;
        array_append(&doc->symbol_source, Candidate{symbol_kind_icon(r, kind), s.name, symbol_kind_colour(r, kind)});
    }
}

// Whether the bytes of `w` appear in `name` in order, not necessarily adjacent.
bool holds_in_order(StringView name, StringView w) {
    i64 k = 0;
    for (i64 i = 0; i < name.length && k < w.length; i++)
        if (name.data[i] == w.data[k]) k++;
    return k == w.length;
}

bool name_less(const Candidate& a, const Candidate& b) { return sv_compare(a.name, b.name) < 0; }

void sort_by_name(Array<Candidate>* list) {
    i64 n = list->count;
    if (n < 2) return;
    i64 bytes = n * (i64)sizeof(Candidate);
    Candidate* scratch;
    if (pool_available(pool_frame) >= bytes) {
        scratch = (Candidate*)pool_alloc(pool_frame, bytes);
    } else {
        // A list too long for the frame pool sorts through spare room of its own array,
        // which keeps its capacity for the next filtering.
        array_reserve(list, 2 * n);
        scratch = list->data + n;
    }
    merge_sort(list->data, 0, n, scratch, name_less);
}

// Strings of the symbol list live in pool_editor, which a rebuild empties; no other
// document may keep entries pointing there.
void drop_other_symbol_lists(const Document* doc) {
    if (!editor.tab_table.slots) return;
    for (i64 i = 0; i < editor.tab_table.count; i++) {
        Document* other = &editor.tab_table.slots[i];
        if (other == doc) continue;
        other->symbol_list_open = 0;
        other->symbol_list.count = 0;
    }
}

// A copy of a signature in pool_editor; false when the pool has no room left for it.
bool copy_signature(const Signature& s, SymbolListEntry* out) {
    i64 n = s.text.length > 0 ? s.text.length : 0;
    if (pool_available(pool_editor) < 2 * n + 16) return false;
    char* text = (char*)pool_alloc(pool_editor, n);
    char* colours = (char*)pool_alloc(pool_editor, n);
    if (n > 0) memcpy(text, s.text.data, (size_t)n);
    // The drawing reads one colour byte per text byte, whatever the analysis gave.
    i64 have = s.colours.length < n ? (s.colours.length > 0 ? s.colours.length : 0) : n;
    if (have > 0) memcpy(colours, s.colours.data, (size_t)have);
    if (n > have) memset(colours + have, 0, (size_t)(n - have));
    *out = SymbolListEntry{};
    out->text = StringView{text, n};
    out->colours = StringView{colours, n};
    return true;
}

bool starts_identifier(u8 c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' || c >= 0x80;
}

// Whether the place before the typed byte at cursor - 1 can have members or be called: an
// identifier that does not start like a number or a directive, or a closing bracket.
bool place_qualifies(const Document* doc, i32 cursor) {
    i32 before = cursor - 1;
    i32 start = identifier_start(doc, before);
    if (start < before && starts_identifier(document_byte(doc, start))) return true;
    return cursor >= 2 && (document_byte(doc, cursor - 2) == ')' || document_byte(doc, cursor - 2) == ']');
}

void run_automatic_openings(Document* doc) {
    i32 cursor = clamped_cursor(doc);
    u8 c = doc->last_typed;
    // Only right after the typed byte: last_typed outlives the keystroke (a completion
    // accepted after "." would otherwise reopen the list with the next result).
    if (cursor < 1 || document_byte(doc, cursor - 1) != c) return;
    bool qualifies = place_qualifies(doc, cursor);
    if (c == '.' && qualifies) doc->completion_open = 1;
    else if ((c == '(' && qualifies) || c == ')') open_symbol_list(doc);
}

}  // namespace

void gather_candidates(Document* doc) {
    doc->symbol_source.count = 0;
    const AnalysisResult* r = &analysis.current_result;
    i64 cursor = clamped_cursor(doc);
    for (const CursorRange& range : r->cursor_ranges) {
        if (range.is_call != 0 || cursor < range.start || cursor > range.end) continue;
        append_members(doc, r, range.target);
        return;
    }
    append_members(doc, r, 0);
    StringView path = owned_view(doc->path);
    // A C, C++ or GLSL function keeps its parameters (and a method its class's members) in
    // a scope named after the function or class around its path-named body: those names
    // are in scope too, so the named ancestors of every body holding the cursor are
    // offered as well, each once.
    i64 count = r->scopes.count;
    u8* taken = (u8*)pool_alloc(pool_frame, count > 0 ? count : 1);
    memset(taken, 0, (size_t)(count > 0 ? count : 1));
    for (i64 i = 1; i < count; i++) {
        const Scope& s = r->scopes[i];
        if (s.start > cursor || cursor > s.end || !sv_equal(s.name, path)) continue;
        if (!taken[i]) append_members(doc, r, i);
        taken[i] = 1;
        // Path-named ancestors are left to the test above; the step bound keeps a damaged
        // parent chain from looping.
        u32 up = s.parent;
        for (i64 steps = 0; up != 0 && up < (u64)count && !taken[up] && steps < count; steps++) {
            if (!sv_equal(r->scopes[up].name, path)) {
                taken[up] = 1;
                append_members(doc, r, up);
            }
            up = r->scopes[up].parent;
        }
    }
}

void filter_candidates(Document* doc) {
    doc->completion_top = 0;
    doc->completion_selected = 0;
    doc->completion.count = 0;
    i32 cursor = clamped_cursor(doc);
    i32 start = identifier_start(doc, cursor);
    i32 end = word_end(doc, cursor, true);
    StringView w = end > start ? sv_slice(document_text(doc), start, end) : StringView{nullptr, 0};
    array_reserve(&doc->completion, doc->symbol_source.count);
    for (const Candidate& c : doc->symbol_source)
        if (w.length == 0 || holds_in_order(c.name, w)) array_append(&doc->completion, c);
    sort_by_name(&doc->completion);
}

void open_symbol_list(Document* doc) {
    doc->symbol_list_open = 0;
    doc->symbol_list.count = 0;
    drop_other_symbol_lists(doc);
    pool_reset(pool_editor);
    doc->symbol_list_selected = 0;
    const AnalysisResult* r = &analysis.current_result;
    i64 cursor = clamped_cursor(doc);
    i64 best = -1, best_size = call_range_bound;
    for (i64 i = 0; i < r->cursor_ranges.count; i++) {
        const CursorRange& range = r->cursor_ranges[i];
        if (range.is_call != 1 || cursor < range.start || cursor > range.end) continue;
        i64 size = (i64)range.end - range.start;
        if (size < best_size) {
            best_size = size;
            best = i;
        }
    }
    if (best < 0) return;
    doc->symbol_list_open = 1;
    i64 target = r->cursor_ranges[best].target;
    if (target < 0 || target >= r->signatures.count) return;
    for (i32 overload : r->signatures[target].overloads) {
        if (overload < 0 || overload >= r->signatures.count) continue;
        SymbolListEntry entry;
        if (!copy_signature(r->signatures[overload], &entry)) break;
        array_append(&doc->symbol_list, entry);
    }
}

void accept_completion(Document* doc) {
    doc->cursor = clamped_cursor(doc);
    i32 start = identifier_start(doc, doc->cursor);
    i32 end = word_end(doc, doc->cursor, true);
    if (end < start) end = start;
    doc->anchor = start;
    doc->cursor = end;
    delete_selection(doc);
    if (doc->completion_selected >= 0 && doc->completion_selected < doc->completion.count) {
        StringView name = doc->completion[doc->completion_selected].name;
        u8 colour = name.length > 0 ? typed_text_colour(doc, (u8)name.data[0]) : 0;
        insert_bytes(doc, name, colour);
    }
    close_completion(doc);
    doc->anchor = doc->cursor;
}

bool editor_take_analysis_result_locked(Document* doc) {
    if (doc->single_line) return false;
    if (analysis_result_stale_locked(owned_view(doc->path), document_length(doc))) {
        analysis_drop_result_locked();
        doc->analysis_outdated = 1;
        return false;
    }
    if (!analysis_take_result_locked(&doc->text)) return false;
    if (doc->kind < file_kind_vantrel || doc->kind > file_kind_glsl) return true;
    run_automatic_openings(doc);
    if (doc->completion_open) {
        gather_candidates(doc);
        filter_candidates(doc);
    }
    return true;
}

bool editor_take_analysis_result(Document* doc) {
    if (analysis.lock) mutex_lock(analysis.lock);
    bool taken = editor_take_analysis_result_locked(doc);
    if (analysis.lock) mutex_unlock(analysis.lock);
    return taken;
}
