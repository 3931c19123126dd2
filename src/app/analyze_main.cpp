// tesmora-analyze: prints what the editor would colour in each file, as spans of token
// kinds and the outline rows of the minimap.
//
//   tesmora-analyze [--project PROJECT_FILE] [--lexical] [--stats] [--no-spans]
//                   [--no-outline] FILE...
//   tesmora-analyze [--project PROJECT_FILE] --definition FILE:LINE:COLUMN
//   tesmora-analyze [--project PROJECT_FILE] --uses FILE:LINE:COLUMN
// Lines and columns count from 1, columns in bytes.
#include <cstdio>
#include <cstring>

#include "analysis/analysis_job.h"
#include "analysis/handover.h"
#include "analysis/name_sites.h"
#include "analysis/source_cache.h"
#include "app/analyze_output.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/file_io.h"
#include "memory/arena.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"

namespace {
struct Options {
    StringView project;
    bool lexical, stats, spans = true, outline = true;
    // --definition or --uses: the place asked about, "FILE:LINE:COLUMN".
    StringView query_kind, query_place;
};

// Reads a whole file into pool_main; false when it cannot be opened or does not fit.
bool read_whole_file(StringView path, StringView* out) {
    FileContents contents = file_read_all(path, pool_main, pool_available(pool_main) - ((i64)64 << 20));
    *out = contents.bytes;
    return contents.status == read_ok;
}

// The sources name of a project file: the rest of its "sources " line.
StringView project_sources_name(StringView project) {
    StringView bytes{};
    if (!read_whole_file(project, &bytes)) return StringView{nullptr, 0};
    i64 line = 0;
    while (line < bytes.length) {
        i64 end = line;
        while (end < bytes.length && bytes.data[end] != '\n') end++;
        StringView text{bytes.data + line, end - line};
        if (starts_with(text, SV("sources "))) return sv_slice(text, 8, text.length);
        line = end + 1;
    }
    return StringView{nullptr, 0};
}

// A file's path as the project lists it: relative to the project directory when inside it.
StringView path_in_project(StringView path) {
    StringView dir = project_directory();
    if (core.project_path.length == 0 || dir.length == 0) return path;
    if (path.length > dir.length + 1 && starts_with(path, dir) && path.data[dir.length] == '/')
        return sv_slice(path, dir.length + 1, path.length);
    return path;
}

AnalysisJob job_for(StringView path, StringView text, AnalysisResult* result) {
    AnalysisJob job{};
    job.path = path_in_project(path);
    job.kind = file_kind_for_path(path);
    job.text = text;
    job.result = result;
    return job;
}

// "FILE:LINE:COLUMN" split from the right, so that a path may hold ':'.
bool split_place(StringView place, StringView* file, i64* line, i64* column) {
    i64 numbers[2] = {0, 0};
    i64 end = place.length;
    for (int n = 1; n >= 0; n--) {
        i64 colon = end - 1;
        while (colon >= 0 && place.data[colon] != ':') colon--;
        if (colon < 0 || colon == end - 1) return false;
        i64 value = 0;
        for (i64 i = colon + 1; i < end; i++) {
            char c = place.data[i];
            if (c < '0' || c > '9' || value > 100000000) return false;
            value = value * 10 + (c - '0');
        }
        numbers[n] = value;
        end = colon;
    }
    *file = StringView{place.data, end};
    *line = numbers[0];
    *column = numbers[1];
    return end > 0 && *line >= 1 && *column >= 1;
}

// Byte offset of a 1-based (line, column) in the text, clamped to the line's end.
i64 offset_of_place(StringView text, i64 line, i64 column) {
    i64 at = 0;
    for (i64 l = 1; l < line && at < text.length; at++)
        if (text.data[at] == '\n') l++;
    i64 end = at;
    while (end < text.length && text.data[end] != '\n') end++;
    return at + column - 1 < end ? at + column - 1 : end;
}

void print_place(const char* word, const AnalysisResult& r, i32 file, i32 line, i32 column) {
    StringView path = file >= 0 && file < r.files.count ? r.files[file] : SV("?");
    printf("%s %.*s %d %d\n", word, (int)path.length, path.data, line + 1, column + 1);
}

// Answers --definition or --uses; 0 when something was found, 1 when not.
int answer_query(const Options& options) {
    StringView file{};
    i64 line = 0, column = 0;
    if (!split_place(options.query_place, &file, &line, &column)) {
        fprintf(stderr, "expected FILE:LINE:COLUMN, got: %.*s\n", (int)options.query_place.length,
                options.query_place.data);
        return 2;
    }
    StringView text{};
    if (!read_whole_file(string_copy(file, pool_main), &text)) {
        fprintf(stderr, "failed to open file: %.*s\n", (int)file.length, file.data);
        return 2;
    }
    static AnalysisResult result;
    AnalysisJob job = job_for(file, text, &result);
    analysis_run_job(&job);
    i64 use = result_use_at(&result, offset_of_place(text, line, column));
    if (use < 0) {
        puts("no declaration known");
        return 1;
    }
    if (sv_equal(options.query_kind, SV("--definition"))) {
        i32 site = result_definition_for_use(&result, use);
        const DeclarationSite& s = result.sites[site];
        print_place("definition", result, s.file, s.line, s.column);
        return 0;
    }
    for (i64 i : result_uses_of_site(&result, result.uses[use].site, pool_main)) {
        const NameUse& u = result.uses[i];
        print_place("use", result, u.file, u.line, u.column);
    }
    return 0;
}

void analyse_file(const Options& options, StringView path, StringView text) {
    static AnalysisResult result;
    AnalysisJob job = job_for(path, text, &result);
    f64 start = analysis_clock_ms();
    if (options.lexical) analyse_lexically(&job);
    else analysis_run_job(&job);
    f64 total = analysis_clock_ms() - start;
    print_file_report(path, job, options.spans, options.outline && !options.lexical);
    if (options.stats)
        printf("stats bytes=%lld lex_ms=%.3f parse_ms=%.3f resolve_ms=%.3f total_ms=%.3f\n", (long long)text.length,
               job.lex_ms, job.parse_ms, job.resolve_ms, total);
    if (options.stats) {
        // Peak bytes per pool: where a pass's memory goes.
        printf("stats peak_kib");
        for (int p = 0; p < pool_count; p++)
            printf(" %s=%lld", arena_names[p], (long long)(memory.arenas[p].high_water >> 10));
        printf("\n");
    }
}
}  // namespace

int main(int argc, char** argv) {
    Options options{};
    i64 first_file = argc;
    for (int i = 1; i < argc; i++) {
        StringView a = sv_from_cstr(argv[i]);
        if (sv_equal(a, SV("--project")) && i + 1 < argc) options.project = sv_from_cstr(argv[++i]);
        else if (sv_equal(a, SV("--lexical"))) options.lexical = true;
        else if (sv_equal(a, SV("--stats"))) options.stats = true;
        else if (sv_equal(a, SV("--no-spans"))) options.spans = false;
        else if (sv_equal(a, SV("--no-outline"))) options.outline = false;
        else if ((sv_equal(a, SV("--definition")) || sv_equal(a, SV("--uses"))) && i + 1 < argc) {
            options.query_kind = a;
            options.query_place = sv_from_cstr(argv[++i]);
        }
        else if (sv_equal(a, SV("--help"))) {
            puts("usage: tesmora-analyze [--project PROJECT_FILE] [--lexical] [--stats] [--no-spans] [--no-outline] FILE...\n"
                 "       tesmora-analyze [--project PROJECT_FILE] --definition|--uses FILE:LINE:COLUMN");
            return 0;
        } else { first_file = i; break; }
    }
    if (!arenas_reserve()) return 2;
    // Distinct stand-in textures, so that outline rows can name their icons.
    for (int i = 0; i < icon_count; i++) render.icon_textures[i] = 1000u + (u32)i;
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    analysis_locks_create();
    source_cache_init();
    if (options.project.length > 0) {
        string_assign(&core.project_path, options.project, pool_main);
        StringView name = project_sources_name(options.project);
        if (name.length > 0) source_cache_rebuild(name);
    }
    if (options.query_kind.length > 0) {
        int answer = answer_query(options);
        fflush(stdout);
        return answer;
    }
    int status = 0;
    for (i64 i = first_file; i < argc; i++) {
        StringView path = sv_from_cstr(argv[i]);
        StringView text{};
        pool_reset(pool_frame);
        pool_reset(pool_parser);
        if (!read_whole_file(path, &text)) {
            fprintf(stderr, "failed to open file: %s\n", argv[i]);
            status = 1;
            continue;
        }
        analyse_file(options, path, text);
    }
    fflush(stdout);
    return status;
}
