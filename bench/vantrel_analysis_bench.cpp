// The vantrel analysis of a generated project: 20 files of 5,000 lines (19 in the source
// cache, one the document), and of one 5,000-line file alone. Counters: the stage times
// of the last run and the peak use of pool_parser.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "analysis/analysis_job.h"
#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/document.h"
#include "memory/arena.h"
#include "syntax/coloring_file.h"

namespace {

constexpr int file_count = 20;
constexpr int lines_per_file = 5000;

// One file of the project: structs with methods, an enum, globals and procedures that
// call into the next file.
std::string generate_file(int k) {
    std::string s;
    int lines = 0;
    auto line = [&](const std::string& text) {
        s += text;
        s += '\n';
        lines++;
    };
    std::string n = std::to_string(k);
    std::string next = std::to_string((k + 1) % file_count);
    line("// generated file " + n);
    line("struct Vec" + n + " {");
    line("    real x, y;");
    line("    proc len() real { return x * x + y * y; }");
    line("    proc add(Vec" + n + " o) Vec" + n + " { return ^Vec" + n + "(x = x + o.x, y = y + o.y); }");
    line("}");
    line("enum Mode" + n + " { mode" + n + "_a, mode" + n + "_b = 4 }");
    line("alias Real" + n + " real;");
    line("int counter" + n + " = 0;");
    line("proc helper" + n + "(int v) int { return v * 2; }");
    for (int j = 0; lines + 14 <= lines_per_file; j++) {
        std::string p = n + "_" + std::to_string(j);
        line("proc work" + p + "(Vec" + n + " v, int count) Real" + n + " {");
        line("    real total = 0.0;");
        line("    Mode" + n + " mode = mode" + n + "_a;");
        line("    for int i = 0 .. count {");
        line("        if i % 2 = 0 {");
        line("            total += v.len();");
        line("        } else {");
        line("            total -= cast(real) i;");
        line("        }");
        line("    }");
        line("    Vec" + n + " w = v.add(v);");
        line("    counter" + n + " += helper" + next + "(count);");
        line("    return total + w.x;");
        line("}");
    }
    while (lines < lines_per_file) line("");
    return s;
}

struct Project {
    std::string document;
    std::string single;
};

// Writes the 19 other files and the sources list once, and fills the source cache.
const Project& bench_project() {
    static Project p;
    static bool ready = false;
    if (ready) return p;
    if (!arenas_reserved()) arenas_reserve();
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    if (!analysis.lock) analysis_locks_create();
    if (!analysis.source_cache.shared_text_buffer) source_cache_init();
    char dir[] = "/tmp/vantrel_bench_XXXXXX";
    if (!mkdtemp(dir)) abort();
    std::string sources;
    for (int k = 1; k < file_count; k++) {
        std::string name = "file" + std::to_string(k) + ".vnt";
        std::ofstream(std::string(dir) + "/" + name) << generate_file(k);
        sources += name + "\n";
    }
    std::ofstream(std::string(dir) + "/sources.txt") << sources;
    std::string project_file = std::string(dir) + "/bench.project";
    string_assign(&core.project_path, StringView{project_file.data(), (i64)project_file.size()}, pool_main);
    p.document = generate_file(0);
    p.single = generate_file(0);
    ready = true;
    return p;
}

void run_analysis(benchmark::State& state, const std::string& text, bool with_cache) {
    const Project& p = bench_project();
    (void)p;
    if (with_cache) source_cache_rebuild(SV("sources.txt"));
    else source_cache_clear();
    static AnalysisResult result;
    AnalysisJob job{};
    f64 lex = 0, parse = 0, resolve = 0;
    memory.arenas[pool_parser].high_water = 0;
    for (auto _ : state) {
        pool_reset(pool_parser);
        job = AnalysisJob{};
        job.text = StringView{text.data(), (i64)text.size()};
        job.path = SV("file0.vnt");
        job.kind = file_kind_vantrel;
        job.result = &result;
        analysis_run_job(&job);
        lex += job.lex_ms;
        parse += job.parse_ms;
        resolve += job.resolve_ms;
        benchmark::DoNotOptimize(job.colours.data);
    }
    f64 runs = (f64)state.iterations();
    state.counters["lex_ms"] = lex / runs;
    state.counters["parse_ms"] = parse / runs;
    state.counters["resolve_ms"] = resolve / runs;
    state.counters["parser_peak_MiB"] = (f64)memory.arenas[pool_parser].high_water / (1024.0 * 1024.0);
    state.counters["rows"] = (f64)result.outline.count;
    state.counters["scopes"] = (f64)result.scopes.count;
    state.counters["signatures"] = (f64)result.signatures.count;
}

void BM_VantrelAnalysisProject(benchmark::State& state) {
    run_analysis(state, bench_project().document, true);
    state.SetBytesProcessed((i64)state.iterations() * (i64)bench_project().document.size() * file_count);
}
BENCHMARK(BM_VantrelAnalysisProject)->Unit(benchmark::kMillisecond);

void BM_VantrelAnalysisSingleFile(benchmark::State& state) {
    run_analysis(state, bench_project().single, false);
    state.SetBytesProcessed((i64)state.iterations() * (i64)bench_project().single.size());
}
BENCHMARK(BM_VantrelAnalysisSingleFile)->Unit(benchmark::kMillisecond);

}  // namespace
