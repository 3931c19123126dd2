// The C/C++ analysis of one large real file, named by the environment variable
// CPP_BENCH_FILE (bench/cpp_analysis_bench.sh builds one from the system headers), and
// of a generated C file when none is given. Counters: bytes, the stage times of the last
// run (lex, parse, resolve) and the peak use of pool_parser.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "analysis/analysis_job.h"
#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/name_sites.h"
#include "analysis/source_cache.h"
#include "memory/arena.h"
#include "syntax/coloring_file.h"

namespace {

std::string generated_c_file() {
    std::string s;
    for (int k = 0; k < 20000; k++) {
        std::string n = std::to_string(k);
        s += "struct node" + n + " { struct node" + n + " *next; int value; };\n";
        s += "static int sum" + n + "(struct node" + n + " *list, int limit) {\n";
        s += "    int total = 0;\n";
        s += "    for (; list && total < limit; list = list->next) total += list->value;\n";
        s += "    return total;\n}\n";
    }
    return s;
}

const std::string& input() {
    static std::string text;
    static bool ready = false;
    if (ready) return text;
    ready = true;
    if (!arenas_reserved()) arenas_reserve();
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    if (!analysis.lock) {
        analysis_locks_create();
        source_cache_init();
    }
    const char* path = getenv("CPP_BENCH_FILE");
    if (path && *path) {
        FILE* f = fopen(path, "rb");
        if (f) {
            char buffer[1 << 16];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
            fclose(f);
        }
    }
    if (text.empty()) text = generated_c_file();
    return text;
}

void BM_CppAnalysisLargeCFile(benchmark::State& state) {
    const std::string& text = input();
    static AnalysisResult result;
    AnalysisJob job{};
    i64 peak = 0;
    for (auto _ : state) {
        pool_reset(pool_parser);
        memory.arenas[pool_parser].high_water = 0;
        job = AnalysisJob{};
        // The thread works on its own copy of the text; so does this run.
        job.text = string_copy(StringView{text.data(), (i64)text.size()}, pool_parser);
        job.path = SV("large.c");
        job.kind = 3;
        job.result = &result;
        analysis_run_job(&job);
        benchmark::DoNotOptimize(job.colours.data);
        if (memory.arenas[pool_parser].high_water > peak) peak = memory.arenas[pool_parser].high_water;
    }
    state.SetBytesProcessed((i64)state.iterations() * (i64)text.size());
    state.counters["bytes"] = (double)text.size();
    state.counters["lex_ms"] = job.lex_ms;
    state.counters["parse_ms"] = job.parse_ms;
    state.counters["resolve_ms"] = job.resolve_ms;
    state.counters["parser_peak_mb"] = (double)peak / (1024.0 * 1024.0);
    state.counters["rows"] = (double)job.result->outline.count;
}
BENCHMARK(BM_CppAnalysisLargeCFile)->Unit(benchmark::kMillisecond);

// What F2 and Shift+F2 cost on the main thread once a result is there: the name at a
// place, its declaration, and every use of it, in the generated file's 120,000 lines.
void BM_NameQueriesLargeFile(benchmark::State& state) {
    static std::string text;
    if (text.empty()) {
        input();
        text = generated_c_file();
    }
    static AnalysisResult result;
    pool_reset(pool_parser);
    AnalysisJob job{};
    job.text = string_copy(StringView{text.data(), (i64)text.size()}, pool_parser);
    job.path = SV("large.c");
    job.kind = 3;
    job.result = &result;
    analysis_run_job(&job);
    i64 step = (i64)text.size() / 997;
    i64 offset = 0, answered = 0, listed = 0;
    for (auto _ : state) {
        offset = (offset + step) % (i64)text.size();
        i64 use = result_use_at(&result, offset);
        if (use < 0) continue;
        i32 site = result_definition_for_use(&result, use);
        answered += site >= 0;
        pool_reset(pool_frame);
        listed += result_uses_of_site(&result, result.uses[use].site, pool_frame).count;
    }
    state.counters["lines"] = 120000;
    state.counters["uses"] = (double)result.uses.count;
    state.counters["answered"] = (double)answered;
    state.counters["listed"] = (double)listed;
}
BENCHMARK(BM_NameQueriesLargeFile)->Unit(benchmark::kMicrosecond);

}  // namespace
