// The C/C++ analysis of hostile inputs against a normal file of the same size: nesting
// cut off at every level, failed template parameter lists retried from every token,
// ambiguous nested declarators and overloads of one name must all cost linear time.
// Each case is about 180 KB.
#include <benchmark/benchmark.h>

#include <string>

#include "analysis/analysis_job.h"
#include "analysis/analysis_state.h"
#include "analysis/source_cache.h"
#include "memory/arena.h"
#include "syntax/coloring_file.h"

namespace {

constexpr size_t input_bytes = 180000;

std::string repeated(const std::string& unit) {
    std::string s;
    while (s.size() + unit.size() <= input_bytes) s += unit;
    return s;
}

std::string input_of(int kind) {
    switch (kind) {
    case 0:
        return repeated("static int sum(struct node *list, int limit) {\n    int total = 0;\n"
                        "    for (; list && total < limit; list = list->next) total += list->value;\n"
                        "    return total;\n}\n");
    case 1: return repeated("template<");
    case 2: return repeated("int f(int (");
    case 3: return repeated("f(");
    case 5: {
        // Overloads of one name that differ in their parameters: each new head is compared
        // with those already offered.
        std::string s;
        for (int i = 0; s.size() < input_bytes; i++) s += "int g(struct s" + std::to_string(i) + " *p, int n);\n";
        return s;
    }
    default: return repeated("a<");
    }
}

void BM_CppPathological(benchmark::State& state) {
    if (!arenas_reserved()) arenas_reserve();
    static bool ready = false;
    if (!ready) {
        ready = true;
        store_builtin_palettes();
        load_coloring_file(StringView{nullptr, 0});
        if (!analysis.lock) {
            analysis_locks_create();
            source_cache_init();
        }
    }
    const std::string text = input_of((int)state.range(0));
    static AnalysisResult result;
    for (auto _ : state) {
        pool_reset(pool_parser);
        AnalysisJob job{};
        job.text = string_copy(StringView{text.data(), (i64)text.size()}, pool_parser);
        job.path = SV("hostile.cpp");
        job.kind = 4;
        job.result = &result;
        analysis_run_job(&job);
        benchmark::DoNotOptimize(job.colours.data);
    }
    state.SetBytesProcessed((i64)state.iterations() * (i64)text.size());
    state.SetLabel(state.range(0) == 0   ? "normal C++"
                   : state.range(0) == 1 ? "template< repeated"
                   : state.range(0) == 2 ? "int f(int ( repeated"
                   : state.range(0) == 3 ? "f( repeated"
                   : state.range(0) == 4 ? "a< repeated"
                                         : "overloads of one name");
}
BENCHMARK(BM_CppPathological)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

}  // namespace
