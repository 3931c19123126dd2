#include "analysis/analysis_state.h"
#include "analysis/handover.h"

#include "memory/arena.h"

AnalysisState analysis;

void analysis_locks_create() {
    analysis.lock = mutex_create();
    analysis.source_lock = mutex_create();
    analysis.wake = signal_create();
}

void analysis_locks_destroy() {
    mutex_destroy(analysis.lock);
    mutex_destroy(analysis.source_lock);
    signal_destroy(analysis.wake);
    analysis.lock = analysis.source_lock = nullptr;
    analysis.wake = nullptr;
}

void analysis_post_request(StringView path, bool has_text, u8 kind) {
    mutex_lock(analysis.lock);
    analysis.request.pending = 1;
    analysis.request.has_text = has_text ? 1 : 0;
    analysis.request.path = path;
    analysis.request.kind = kind;
    mutex_unlock(analysis.lock);
    if (analysis.wake) signal_post(analysis.wake);
}

namespace {
// Bytes the deep copy of a result needs in pool_output (with alignment slack).
i64 result_copy_size(const AnalysisResult& r, i64 row_limit) {
    auto pad = [](i64 n) { return (n + 7) & ~(i64)7; };
    i64 size = pad(r.scopes.count * (i64)sizeof(Scope));
    for (const Scope& s : r.scopes) {
        size += pad(s.members.count * (i64)sizeof(Symbol));
        for (const Symbol& m : s.members) size += pad(m.name.length);
        size += pad(s.name.length);
    }
    size += pad(r.symbols.slot_count * (i64)sizeof(Symbol));
    for (i64 i = 0; i < r.symbols.slot_count; i++)
        if (r.symbols.slots[i].kind) size += pad(r.symbols.slots[i].name.length);
    i64 rows = r.outline.count < row_limit ? r.outline.count : row_limit;
    size += pad(rows * (i64)sizeof(OutlineRow));
    for (i64 i = 0; i < rows; i++) size += pad(r.outline[i].name.length);
    size += pad(r.cursor_ranges.count * (i64)sizeof(CursorRange));
    size += pad(r.signatures.count * (i64)sizeof(Signature));
    for (const Signature& s : r.signatures)
        size += pad(s.text.length) + pad(s.colours.length) + pad(s.overloads.count * 4);
    size += pad(r.files.count * (i64)sizeof(StringView));
    for (StringView f : r.files) size += pad(f.length);
    size += pad(r.sites.count * (i64)sizeof(DeclarationSite));
    for (const DeclarationSite& s : r.sites) size += pad(s.name.length);
    size += pad(r.uses.count * (i64)sizeof(NameUse)) + pad(r.uses_by_site.count * 4);
    return size;
}

StringView copy_out(StringView s) { return string_copy(s, pool_output); }

template <typename T>
Array<T> copy_array_out(const Array<T>& a) { return array_copy_to(a, pool_output); }

void copy_result_out(const AnalysisResult& from, AnalysisResult* to, bool with_symbols) {
    if (with_symbols) {
        to->scopes = copy_array_out(from.scopes);
        for (Scope& s : to->scopes) {
            s.name = copy_out(s.name);
            s.members = copy_array_out(s.members);
            for (Symbol& m : s.members) m.name = copy_out(m.name);
        }
        to->symbols = from.symbols;
        to->symbols.pool = pool_output;
        if (from.symbols.slot_count) {
            to->symbols.slots = (Symbol*)pool_alloc(pool_output, from.symbols.slot_count * (i64)sizeof(Symbol));
            memcpy((void*)to->symbols.slots, from.symbols.slots, (size_t)from.symbols.slot_count * sizeof(Symbol));
            for (i64 i = 0; i < from.symbols.slot_count; i++)
                if (to->symbols.slots[i].kind) to->symbols.slots[i].name = copy_out(to->symbols.slots[i].name);
        }
        to->cursor_ranges = copy_array_out(from.cursor_ranges);
        to->signatures = copy_array_out(from.signatures);
        for (Signature& s : to->signatures) {
            s.text = copy_out(s.text);
            s.colours = copy_out(s.colours);
            s.overloads = copy_array_out(s.overloads);
        }
        to->files = copy_array_out(from.files);
        for (StringView& f : to->files) f = copy_out(f);
        to->sites = copy_array_out(from.sites);
        for (DeclarationSite& s : to->sites) s.name = copy_out(s.name);
        to->uses = copy_array_out(from.uses);
        to->uses_by_site = copy_array_out(from.uses_by_site);
    } else {
        to->scopes = Array<Scope>{};
        to->symbols = SymbolMap{};
        to->cursor_ranges = Array<CursorRange>{};
        to->signatures = Array<Signature>{};
        to->files = Array<StringView>{};
        to->sites = Array<DeclarationSite>{};
        to->uses = Array<NameUse>{};
        to->uses_by_site = Array<i32>{};
    }
    to->scopes.pool = to->cursor_ranges.pool = to->signatures.pool = to->symbols.pool = pool_output;
    to->files.pool = to->sites.pool = to->uses.pool = to->uses_by_site.pool = pool_output;
    to->path = copy_out(from.path);
    to->text_changes = from.text_changes;
    to->language = from.language;
    memcpy(to->kind_tokens, from.kind_tokens, sizeof to->kind_tokens);
}
}  // namespace

bool analysis_take_result_locked(TextStore* text) {
    ResultSlot* slot = &analysis.result_slot;
    if (!slot->ready || analysis.request.pending) return false;
    i64 length = text ? store_length(text) : 0;
    if (length > 0 && slot->colours.count == length) store_copy_colours_in(text, 0, length, slot->colours.data);

    const AnalysisResult& from = slot->result;
    // pool_output was emptied at publication. A result too large for it keeps its
    // colours and outline but drops the symbol tables rather than stopping the program.
    i64 room = pool_available(pool_output);
    i64 row_limit = from.outline.count;
    bool with_symbols = result_copy_size(from, row_limit) <= room;
    if (!with_symbols) {
        AnalysisResult rows_only{};
        rows_only.outline = from.outline;
        while (row_limit > 0 && result_copy_size(rows_only, row_limit) > room) row_limit /= 2;
    }
    copy_result_out(from, &analysis.current_result, with_symbols);
    Array<OutlineRow>* outline = &analysis.current_result.outline;
    *outline = Array<OutlineRow>{};
    outline->pool = pool_output;
    if (row_limit > 0) array_reserve(outline, row_limit);
    for (i64 i = 0; i < row_limit; i++) {
        OutlineRow row = from.outline[i];
        row.name = copy_out(row.name);
        array_append(outline, row);
    }
    slot->ready = 0;
    return true;
}

bool analysis_result_stale_locked(StringView path, i64 length) {
    const ResultSlot* slot = &analysis.result_slot;
    if (!slot->ready || analysis.request.pending) return false;
    return !sv_equal(slot->path, path) || (slot->had_text && slot->colours.count != length);
}

void analysis_drop_result_locked() { analysis.result_slot.ready = 0; }
