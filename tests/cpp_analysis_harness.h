#pragma once
// Shared by the C/C++ analysis tests: runs the pass synchronously on the test thread and
// looks at what it coloured and published.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "analysis/analysis_state.h"
#include "editor/symbol_look.h"
#include "analysis/analysis_job.h"
#include "analysis/cpp/cpp_parser.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "analysis/symbols.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"
#include "test_support.h"

namespace cpp_test {

// Distinct stand-in textures so that rows can be told apart by icon (other tests may
// have loaded real ones, or none).
inline void distinct_icons() {
    const IconId used[] = {icon_cube, icon_cylinder, icon_sphere, icon_octahedron, icon_cone};
    bool distinct = true;
    for (int i = 0; i < 5; i++)
        for (int j = i + 1; j < 5; j++)
            if (render.icon_textures[used[i]] == render.icon_textures[used[j]]) distinct = false;
    if (!distinct)
        for (int i = 0; i < icon_count; i++) render.icon_textures[i] = 1000u + (u32)i;
}

inline void setup() {
    ensure_arenas();
    static bool ready = false;
    distinct_icons();
    if (ready) return;
    ready = true;
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    ensure_analysis_locks();
}


// The project's other files, as the sources list and the cache would hold them.
inline void set_project_files(const std::vector<std::pair<std::string, std::string>>& files) {
    setup();  // a test may list files before its first analysis
    analysis.source_cache.source_paths.count = 0;
    analysis.source_cache.source_entries.count = 0;
    for (const auto& f : files) {
        StringView path = string_copy(StringView{f.first.data(), (i64)f.first.size()}, pool_main);
        array_append(&analysis.source_cache.source_paths, path);
        SourceEntry entry{path, Array<u8>{nullptr, 0, 0, pool_main}};
        append_bytes(&entry.text, f.second.data(), (i64)f.second.size());
        array_append(&analysis.source_cache.source_entries, entry);
    }
}

struct CppRun {
    AnalysisJob job;
    std::string text;
    AnalysisResult* result() { return job.result; }
};

// Analyses `text` as the document `path` (".c" runs the C mode).
inline CppRun analyse(const std::string& text, const char* path = "main.cpp") {
    setup();
    pool_reset(pool_parser);
    static AnalysisResult result;
    CppRun run{};
    run.text = text;
    run.job.text = StringView{run.text.data(), (i64)run.text.size()};
    run.job.path = sv_from_cstr(path);
    run.job.kind = ends_with(run.job.path, SV(".c")) ? 3 : 4;
    run.job.result = &result;
    analysis_run_job(&run.job);
    return run;
}

// Byte offset of the `occurrence`-th (from 0) appearance of `word` as a whole identifier.
inline i64 find_word(const std::string& text, const std::string& word, int occurrence = 0) {
    auto is_ident = [](char c) { return isalnum((unsigned char)c) || c == '_'; };
    size_t at = 0;
    for (;;) {
        at = text.find(word, at);
        if (at == std::string::npos) return -1;
        bool start_ok = at == 0 || !is_ident(text[at - 1]);
        bool end_ok = at + word.size() >= text.size() || !is_ident(text[at + word.size()]);
        if (start_ok && end_ok && occurrence-- == 0) return (i64)at;
        at += 1;
    }
}

// The colour of every byte of that occurrence when they agree, else 255.
inline int colour_of(const CppRun& run, const std::string& word, int occurrence = 0) {
    i64 at = find_word(run.text, word, occurrence);
    if (at < 0 || at + (i64)word.size() > run.job.colours.count) return -1;
    u8 c = run.job.colours[at];
    for (size_t i = 1; i < word.size(); i++)
        if (run.job.colours[at + (i64)i] != c) return 255;
    return c;
}

inline std::string str(StringView s) { return std::string(s.data ? s.data : "", (size_t)(s.data ? s.length : 0)); }

// Outline rows as "icon-index depth name" strings for compact comparison.
inline std::vector<std::string> outline(const CppRun& run) {
    std::vector<std::string> rows;
    int depth = 0;
    for (const OutlineRow& row : run.job.result->outline) {
        if (row.is_group_end) {
            depth--;
            rows.push_back(std::to_string(depth) + " end");
            continue;
        }
        u32 texture = outline_row_icon(run.job.result, row);
        std::string icon = texture == render.icon_textures[icon_cube]         ? "cube"
                           : texture == render.icon_textures[icon_cylinder]   ? "cylinder"
                           : texture == render.icon_textures[icon_sphere]     ? "sphere"
                           : texture == render.icon_textures[icon_octahedron] ? "octahedron"
                           : texture == render.icon_textures[icon_cone]       ? "cone"
                                                                       : "?";
        rows.push_back(std::to_string(depth) + " " + icon + " " + str(row.name));
        if (row.is_group_start) depth++;
    }
    return rows;
}

inline const Symbol* symbol_in(const CppRun& run, i32 scope, const char* name) {
    return lookup_symbol(run.job.result, 0, scope, sv_from_cstr(name));
}

// Index of the first scope with that name, -1 when none.
inline i64 scope_named(const CppRun& run, const std::string& name) {
    const Array<Scope>& scopes = run.job.result->scopes;
    for (i64 i = 0; i < scopes.count; i++)
        if (str(scopes[i].name) == name) return i;
    return -1;
}

// Index of the first scope (after the root) whose extent starts at byte `offset`: a
// function's scope starts at its body's "{". -1 when none.
inline i64 scope_starting_at(const CppRun& run, size_t offset) {
    const Array<Scope>& scopes = run.job.result->scopes;
    for (i64 i = 1; i < scopes.count; i++)
        if (offset != std::string::npos && scopes[i].start == (i32)offset) return i;
    return -1;
}

// The parser alone over `text` (the document's tokens only).
inline CppAnalysis* parse_only(const std::string& text, bool c_mode = false) {
    setup();
    pool_reset(pool_parser);
    CppAnalysis* a = cfam_new<CppAnalysis>();
    a->c_mode = c_mode;
    parse_state_reset(&a->p);
    StringView copy = string_copy(StringView{text.data(), (i64)text.size()}, pool_parser);
    u8* colours = (u8*)pool_alloc(pool_parser, copy.length + 1);
    memset(colours, 0, (size_t)copy.length + 1);
    parse_state_add_file(&a->p, c_mode ? file_kind_c : file_kind_cpp, SV("main.cpp"), copy, colours);
    cpp_parse_tokens(a);
    return a;
}

}  // namespace cpp_test
