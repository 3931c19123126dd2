#pragma once
// Shared by the whole-analysis fuzz targets of GLSL and vantrel: a temporary project with
// one other source file whose cached text each input replaces, the job run on the rest of
// the input, and the checks every published result must pass.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "analysis/analysis_job.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/document.h"
#include "memory/arena.h"
#include "syntax/coloring_file.h"

namespace analysis_fuzz {

inline void check(bool condition) {
    if (!condition) abort();
}

inline void create_file(const char* dir, const char* name, const char* text) {
    char path[256];
    snprintf(path, sizeof path, "%s/%s", dir, name);
    FILE* f = fopen(path, "w");
    if (!f) abort();
    fputs(text, f);
    fclose(f);
}

// Arenas, palettes, the analysis locks and a source cache over a new project in /tmp
// (named after `tag`) whose sources list names `other` and `document`, both empty.
inline void set_up_project(const char* tag, const char* other, const char* document) {
    static const i64 capacities[pool_count] = {64 << 20, 16 << 20, 1 << 20, 16 << 20, 1 << 20, 512 << 20, 1 << 20};
    if (!arenas_reserve(capacities)) abort();
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    analysis_locks_create();
    source_cache_init();
    char dir[128];
    snprintf(dir, sizeof dir, "/tmp/%s_fuzz_XXXXXX", tag);
    if (!mkdtemp(dir)) abort();
    create_file(dir, other, "");
    create_file(dir, document, "");
    char list[256];
    snprintf(list, sizeof list, "%s\n%s\n", other, document);
    create_file(dir, "sources.txt", list);
    char path[256];
    snprintf(path, sizeof path, "%s/fuzz.project", dir);
    string_assign(&core.project_path, sv_from_cstr(path), pool_main);
    source_cache_rebuild(SV("sources.txt"));
}

// Runs the analysis of `document` as the analysis thread would.
inline AnalysisJob run_job(StringView document, StringView path, u8 kind, AnalysisResult* result) {
    AnalysisJob job{};
    job.text = document;
    job.path = path;
    job.kind = kind;
    job.result = result;
    analysis_run_job(&job);
    return job;
}

// One colour of a kind below `kinds` per document byte; cursor ranges inside the document
// naming a scope or signature; signatures with their colours and valid overloads; outline
// groups that close; scopes whose parents exist.
inline void check_published(const AnalysisJob& job, const AnalysisResult& result, i64 length, u8 kinds) {
    check(job.colours.count == length);
    for (i64 i = 0; i < job.colours.count; i++) check(job.colours[i] < kinds);
    for (const CursorRange& c : result.cursor_ranges) {
        check(c.start >= 0 && c.start <= c.end && c.end <= length);
        check(c.is_call ? c.target >= 0 && c.target < result.signatures.count
                        : c.target == -1 || (c.target > 0 && c.target < result.scopes.count));
    }
    for (const Signature& s : result.signatures) {
        check(s.text.length == s.colours.length && s.text.length >= 0);
        check(s.overloads.count >= 1);
        for (i32 o : s.overloads) check(o >= 0 && o < result.signatures.count);
    }
    i64 depth = 0;
    for (const OutlineRow& r : result.outline) {
        if (r.is_group_start) depth++;
        if (r.is_group_end) check(--depth >= 0);
    }
    check(depth == 0);
    for (const Scope& s : result.scopes) check(s.parent < (u32)result.scopes.count);
}

}  // namespace analysis_fuzz
