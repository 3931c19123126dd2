#include "analysis/name_sites.h"

#include "analysis/symbols.h"
#include "core/sort.h"
#include "memory/arena.h"

namespace {
// A chain longer than this stops growing: a name declared thousands of times (an X-macro
// list) must not make each further declaration walk them all.
constexpr i32 site_chain_limit = 64;

bool same_place(const DeclarationSite& a, const DeclarationSite& b) {
    return a.file == b.file && a.offset == b.offset;
}

// Joins `site` to the chain that starts at `first` unless the place is in it already.
void join_chain(AnalysisResult* r, i32 first, i32 site) {
    i32 at = first;
    for (i32 steps = 0; steps < site_chain_limit; steps++) {
        if (same_place(r->sites[at], r->sites[site])) return;
        i32 next = r->sites[at].next;
        if (next < 0) {
            r->sites[at].next = site;
            return;
        }
        at = next;
    }
}

void append_use(AnalysisResult* r, ParseState* p, const Token& t, i32 site) {
    i64 file = file_of_token(p, t);
    if (file < 0 || site < 0) return;
    i32 column = (i32)(t.column >= (u32)t.length ? t.column - (u32)t.length : 0);
    array_append(&r->uses, NameUse{(i32)file, (i32)t.offset, (i32)t.line, column, site});
}

bool use_before(const NameUse& a, const NameUse& b) {
    return a.file != b.file ? a.file < b.file : a.offset < b.offset;
}
}  // namespace

i32 name_site_of_token(AnalysisResult* r, ParseState* p, i64 token, u8 symbol_kind) {
    if (token < 0 || token >= p->tokens.count) return -1;
    const Token& t = p->tokens[token];
    StringView name = text_of(p, t);
    if (name.length <= 0) return -1;
    i64 file = file_of_token(p, t);
    if (file < 0) return -1;
    DeclarationSite site{};
    site.name = name;
    site.file = (i32)file;
    site.offset = (i32)t.offset;
    site.line = (i32)t.line;
    site.column = (i32)(t.column >= (u32)t.length ? t.column - (u32)t.length : 0);
    site.next = -1;
    site.symbol_kind = symbol_kind;
    if (!r->sites.pool) r->sites.pool = pool_parser;
    return (i32)array_append(&r->sites, site);
}

Symbol* declare_symbol_at_token(AnalysisResult* r, ParseState* p, u8 kind, u8 flag, i32 value, i32 scope,
                                StringView name, i64 token) {
    i32 site = name_site_of_token(r, p, token, kind);
    Symbol* existing = declare_symbol(r, kind, flag, value, scope, name, site + 1);
    i32 first = site;
    if (existing && site >= 0) {
        first = existing->site - 1;
        if (first >= 0 && first < r->sites.count) join_chain(r, first, site);
        else first = -1;
    }
    if (first >= 0) append_use(r, p, p->tokens[token], first);
    return existing;
}

void record_name_use(AnalysisResult* r, ParseState* p, const Token& t, const Symbol* symbol) {
    if (!symbol || symbol->site <= 0 || symbol->site > r->sites.count) return;
    append_use(r, p, t, symbol->site - 1);
}

void join_declarations(AnalysisResult* r, const Symbol* first, const Symbol* other) {
    if (!first || !other) return;
    i32 into = first->site - 1, from = other->site - 1;
    if (into < 0 || from < 0 || into >= r->sites.count || from >= r->sites.count || into == from) return;
    if (!r->site_redirects.pool) r->site_redirects.pool = pool_parser;
    for (i32 at = from, steps = 0; at >= 0 && steps < site_chain_limit; steps++) {
        i32 next = r->sites[at].next;
        r->sites[at].next = -1;
        join_chain(r, into, at);
        at = next;
    }
    array_append(&r->site_redirects, from);
    array_append(&r->site_redirects, into);
}

void finish_name_index(AnalysisResult* r, const ParseState* p) {
    if (r->site_redirects.count > 0) {
        Array<i32> target{nullptr, 0, 0, pool_parser};
        array_resize(&target, r->sites.count);
        for (i64 s = 0; s < r->sites.count; s++) target[s] = (i32)s;
        for (i64 i = 0; i + 1 < r->site_redirects.count; i += 2) target[r->site_redirects[i]] = r->site_redirects[i + 1];
        for (NameUse& u : r->uses) u.site = target[u.site];
    }
    r->files = Array<StringView>{nullptr, 0, 0, pool_parser};
    array_reserve(&r->files, p->files.count);
    for (const ParsedFile& f : p->files) array_append(&r->files, f.path);
    if (!r->uses.pool) r->uses.pool = pool_parser;
    if (!r->sites.pool) r->sites.pool = pool_parser;
    // Uses come mostly in order (declarations, then bodies file by file): sorting a few
    // runs is cheap.
    if (r->uses.count > 1) {
        NameUse* scratch = (NameUse*)pool_alloc(pool_parser, r->uses.count * (i64)sizeof(NameUse));
        // A lambda, not the function's address, so that the comparison is inlined.
        merge_sort(r->uses.data, 0, r->uses.count, scratch,
                   [](const NameUse& a, const NameUse& b) { return use_before(a, b); });
    }
    // A counting sort by site keeps each site's uses in place order, in linear time.
    r->uses_by_site = Array<i32>{nullptr, 0, 0, pool_parser};
    array_resize(&r->uses_by_site, r->uses.count);
    Array<i32> starts{nullptr, 0, 0, pool_parser};
    array_resize(&starts, r->sites.count + 1);
    memset(starts.data, 0, (size_t)(r->sites.count + 1) * sizeof(i32));
    for (const NameUse& u : r->uses) starts[u.site + 1]++;
    for (i64 s = 0; s < r->sites.count; s++) starts[s + 1] += starts[s];
    for (i64 i = 0; i < r->uses.count; i++) r->uses_by_site[starts[r->uses[i].site]++] = (i32)i;
}

i64 result_first_use_from(const AnalysisResult* r, i64 offset) {
    i64 low = 0, high = r->uses.count;
    while (low < high) {
        i64 mid = low + (high - low) / 2;
        const NameUse& u = r->uses[mid];
        if (u.file < 0 || (u.file == 0 && u.offset < offset)) low = mid + 1;
        else high = mid;
    }
    return low;
}

i64 result_use_at(const AnalysisResult* r, i64 offset) {
    // The first use of files[0] at or after `offset`, then the one before it.
    i64 low = result_first_use_from(r, offset);
    auto holds = [&](i64 i) {
        if (i < 0 || i >= r->uses.count) return false;
        const NameUse& u = r->uses[i];
        if (u.file != 0 || u.site < 0 || u.site >= r->sites.count) return false;
        i64 length = r->sites[u.site].name.length;
        return offset >= u.offset && offset <= u.offset + length;
    };
    if (holds(low) && r->uses[low].offset == offset) return low;
    if (holds(low - 1)) return low - 1;
    return holds(low) ? low : -1;
}

i32 result_definition_for_use(const AnalysisResult* r, i64 use) {
    if (use < 0 || use >= r->uses.count) return -1;
    const NameUse& u = r->uses[use];
    i32 first = u.site;
    if (first < 0 || first >= r->sites.count) return -1;
    // On one of the chain's own sites: the one after it, round to the first.
    i32 at = first;
    for (i32 steps = 0; steps < site_chain_limit && at >= 0 && at < r->sites.count; steps++) {
        const DeclarationSite& s = r->sites[at];
        if (s.file == u.file && s.offset == u.offset) return s.next >= 0 ? s.next : first;
        at = s.next;
    }
    return first;
}

Array<i64> result_uses_of_site(const AnalysisResult* r, i32 site, u8 pool) {
    Array<i64> found{nullptr, 0, 0, pool};
    if (site < 0 || site >= r->sites.count || r->uses_by_site.count != r->uses.count) return found;
    const Array<i32>& order = r->uses_by_site;
    i64 low = 0, high = order.count;
    while (low < high) {
        i64 mid = low + (high - low) / 2;
        if (r->uses[order[mid]].site < site) low = mid + 1;
        else high = mid;
    }
    for (i64 i = low; i < order.count && r->uses[order[i]].site == site; i++) array_append(&found, (i64)order[i]);
    return found;
}
