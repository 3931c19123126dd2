// The whole C/C++ analysis over any bytes: the first byte picks C (bit 0) and whether
// the rest is split at the first 0xFF byte into the document and one more project file
// (bit 1). Checks that everything published stays inside its bounds.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "analysis/analysis_job.h"
#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "memory/arena.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"

namespace {
void fail(const char* what, long long value) {
    fprintf(stderr, "invariant broken: %s (%lld)\n", what, value);
    abort();
}

void set_up_once() {
    static bool ready = false;
    if (ready) return;
    ready = true;
    const i64 capacities[pool_count] = {
        64ll << 20,   // main: keyword tables, shared text buffer, the project file
        1ll << 20,    // frame
        1ll << 20,    // project
        16ll << 20,   // sources: the second file
        1ll << 20,    // editor
        512ll << 20,  // parser: one pass
        1ll << 20,    // output
    };
    if (!arenas_reserve(capacities)) abort();
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    analysis_locks_create();
    source_cache_init();
}

void check(const AnalysisJob& job) {
    const AnalysisResult* r = job.result;
    if (job.colours.count != job.text.length) fail("colour count", job.colours.count);
    for (i64 i = 0; i < job.colours.count; i++)
        if (job.colours[i] >= cpp_kind_count) fail("colour kind", job.colours[i]);
    if (r->scopes.count < 1) fail("no root scope", 0);
    for (i64 i = 1; i < r->scopes.count; i++) {
        const Scope& s = r->scopes[i];
        if ((i64)s.parent >= i) fail("scope parent", (long long)s.parent);
        if (s.start < 0 || s.end < s.start) fail("scope extent", i);
        for (const Symbol& m : s.members)
            if (m.kind == 0 || m.kind >= symbol_kind_count) fail("member kind", m.kind);
    }
    i64 depth = 0;
    for (const OutlineRow& row : r->outline) {
        if (row.is_group_start) depth++;
        if (row.is_group_end && --depth < 0) fail("group end without start", 0);
        if (row.name.length < 0 || (row.name.length > 0 && !row.name.data)) fail("row name", row.name.length);
        if (row.line < 0) fail("row line", row.line);
    }
    if (depth != 0) fail("unclosed groups", depth);
    for (const CursorRange& c : r->cursor_ranges) {
        if (c.start < 0 || c.end < c.start || c.end > job.text.length) fail("cursor range", c.start);
        if (c.is_call ? c.target >= r->signatures.count : c.target >= r->scopes.count) fail("range target", c.target);
        if (c.target < 0) fail("range target", c.target);
    }
    for (const Signature& s : r->signatures) {
        if (s.text.length != s.colours.length) fail("signature colours", s.text.length);
        for (i32 o : s.overloads)
            if (o < 0 || o >= r->signatures.count) fail("overload index", o);
        for (i64 i = 0; i < s.colours.length; i++)
            if ((u8)s.colours.data[i] >= cpp_kind_count) fail("signature colour", (u8)s.colours.data[i]);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    set_up_once();
    if (size == 0) return 0;
    bool c_mode = (data[0] & 1) != 0;
    bool two_files = (data[0] & 2) != 0;
    const char* text = (const char*)data + 1;
    i64 length = (i64)size - 1;
    i64 split = length;
    if (two_files)
        for (i64 i = 0; i < length; i++)
            if ((u8)text[i] == 0xFF) {
                split = i;
                break;
            }
    // The project file lives in pool_sources, emptied each run; the lists keep their storage.
    pool_reset(pool_sources);
    analysis.source_cache.source_paths.count = 0;
    analysis.source_cache.source_entries.count = 0;
    if (split < length) {
        StringView path = SV("other.h");
        array_append(&analysis.source_cache.source_paths, path);
        SourceEntry entry{path, Array<u8>{nullptr, 0, 0, pool_sources}};
        append_bytes(&entry.text, text + split + 1, length - split - 1);
        array_append(&analysis.source_cache.source_entries, entry);
    }
    pool_reset(pool_parser);
    static AnalysisResult result;
    AnalysisJob job{};
    job.text = string_copy(StringView{text, split}, pool_parser);
    job.path = c_mode ? SV("main.c") : SV("main.cpp");
    job.kind = c_mode ? 3 : 4;
    job.result = &result;
    analysis_run_job(&job);
    check(job);
    return 0;
}
