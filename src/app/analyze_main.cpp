// tesmora-analyze: prints what the editor would colour in each file, as spans of token
// kinds and the outline rows of the minimap.
//
//   tesmora-analyze [--project PROJECT_FILE] [--lexical] [--stats] [--no-spans]
//                   [--no-outline] FILE...
#include <cstdio>
#include <cstring>

#include "analysis/analysis_job.h"
#include "analysis/handover.h"
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

void analyse_file(const Options& options, StringView path, StringView text) {
    AnalysisJob job{};
    static AnalysisResult result;
    job.path = path_in_project(path);
    job.kind = file_kind_for_path(path);
    job.text = text;
    job.result = &result;
    f64 start = analysis_clock_ms();
    if (options.lexical) analyse_lexically(&job);
    else analysis_run_job(&job);
    f64 total = analysis_clock_ms() - start;
    print_file_report(path, job, options.spans, options.outline && !options.lexical);
    if (options.stats)
        printf("stats bytes=%lld lex_ms=%.3f parse_ms=%.3f resolve_ms=%.3f total_ms=%.3f\n", (long long)text.length,
               job.lex_ms, job.parse_ms, job.resolve_ms, total);
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
        else if (sv_equal(a, SV("--help"))) {
            puts("usage: tesmora-analyze [--project PROJECT_FILE] [--lexical] [--stats] [--no-spans] [--no-outline] FILE...");
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
