// The whole GLSL analysis (lex, parse, built-ins, declare, resolve) on arbitrary bytes: it
// must finish, stay inside its buffers and leave a consistent result. The second half of
// the input goes into the source cache as another project shader, which must change
// nothing: a GLSL document sees only itself.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "analysis/analysis_job.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/project_path.h"
#include "editor/document.h"
#include "memory/arena.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"

namespace {
void set_up() {
    static const i64 capacities[pool_count] = {64 << 20, 16 << 20, 1 << 20, 16 << 20, 1 << 20, 512 << 20, 1 << 20};
    if (!arenas_reserve(capacities)) abort();
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    analysis_locks_create();
    source_cache_init();
    // A project whose sources list names one other .glsl file; each input replaces its text.
    char dir[] = "/tmp/glsl_fuzz_XXXXXX";
    if (!mkdtemp(dir)) abort();
    char path[256];
    FILE* f = nullptr;
    static const char* const names[] = {"other.glsl", "fuzz.glsl"};
    for (const char* name : names) {
        snprintf(path, sizeof path, "%s/%s", dir, name);
        f = fopen(path, "w");
        if (!f) abort();
        fclose(f);
    }
    snprintf(path, sizeof path, "%s/sources.txt", dir);
    f = fopen(path, "w");
    if (!f) abort();
    fputs("other.glsl\nfuzz.glsl\n", f);
    fclose(f);
    snprintf(path, sizeof path, "%s/fuzz.project", dir);
    string_assign(&project_path, sv_from_cstr(path), pool_main);
    source_cache_rebuild(SV("sources.txt"));
}

void check(bool condition) {
    if (!condition) abort();
}

AnalysisJob run(StringView document, const u8* data, size_t size, AnalysisResult* result) {
    AnalysisJob job{};
    job.text = document;
    job.path = SV("fuzz.glsl");
    job.kind = file_kind_glsl;
    job.result = result;
    job.request_rows = Array<tree_node>{nullptr, 0, 0, pool_parser};
    tree_node row{};
    row.name = StringView{(const char*)data, (i64)(size < 16 ? size : 16)};
    row.is_group_start = 1;
    array_append(&job.request_rows, row);
    analysis_run_job(&job);
    return job;
}

void check_result(const AnalysisJob& job, const AnalysisResult& result, i64 length) {
    check(job.colours.count == length);
    for (i64 i = 0; i < job.colours.count; i++) check(job.colours[i] < glsl_kind_count);
    check(result.scopes.count >= 1 && result.scopes[0].members.count >= 102);
    for (const CursorRange& c : result.cursor_ranges) {
        check(c.start >= 0 && c.start <= c.end && c.end <= length);
        check(c.is_call ? c.target >= 0 && c.target < result.signatures.count
                        : c.target > 0 && c.target < result.scopes.count);
    }
    for (const Signature& s : result.signatures) {
        check(s.text.length == s.colours.length && s.text.length >= 0);
        check(s.overloads.count >= 1);
        for (i32 o : s.overloads) check(o >= 0 && o < result.signatures.count);
    }
    i64 depth = 0;
    for (const tree_node& r : result.minimap.rows) {
        if (r.is_group_start) depth++;
        if (r.is_group_end) check(--depth >= 0);
    }
    check(depth == 0);
    for (const Scope& s : result.scopes) {
        check(s.parent < (u32)result.scopes.count);
        check(s.start >= 0 && s.start <= s.end && s.end <= length);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        set_up();
        ready = true;
    }
    size_t half = size / 2;
    StringView document{(const char*)data, (i64)half};
    static AnalysisResult result;

    source_cache_update(SV("other.glsl"), StringView{(const char*)data + half, (i64)(size - half)});
    pool_reset(pool_parser);
    AnalysisJob job = run(document, data, size, &result);
    check_result(job, result, document.length);
    // Keep the first run's colours, then run again with the other shader emptied.
    u8* first = (u8*)malloc(job.colours.count > 0 ? (size_t)job.colours.count : 1);
    if (job.colours.count > 0) memcpy(first, job.colours.data, (size_t)job.colours.count);
    i64 rows = result.minimap.rows.count;
    i64 scopes = result.scopes.count;

    source_cache_update(SV("other.glsl"), StringView{"", 0});
    pool_reset(pool_parser);
    job = run(document, data, size, &result);
    check(job.colours.count == document.length);
    check(job.colours.count == 0 || memcmp(first, job.colours.data, (size_t)job.colours.count) == 0);
    check(result.minimap.rows.count == rows && result.scopes.count == scopes);
    free(first);
    return 0;
}
