// The GLSL analysis of one generated 20,000-line shader, and of a directory of 500 small
// shaders analysed one after another (one analysis each). Counters: the stage times of
// the runs and the peak use of pool_parser.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis_job.h"
#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "editor/document.h"
#include "memory/arena.h"
#include "syntax/coloring_file.h"

namespace {

constexpr int large_lines = 20000;
constexpr int small_count = 500;

// One group of declarations (about 40 lines): a struct, uniforms, a helper with a loop
// and a switch, and a function using swizzles, member access and built-ins.
void append_group(std::string* s, int k) {
    std::string n = std::to_string(k);
    *s += "struct Light" + n + " {\n    vec3 position;\n    vec3 color;\n    float radius;\n};\n";
    *s += "uniform Light" + n + " lights" + n + "[4];\n";
    *s += "layout(location = " + std::to_string(k % 8) + ") uniform vec4 tint" + n + ";\n";
    *s += "const float scale" + n + " = 1.5;\n";
    *s += "float falloff" + n + "(float d, float r);\n";
    *s += "float falloff" + n + "(float d, float r) {\n";
    *s += "    float x = clamp(1.0 - d / r, 0.0, 1.0);\n";
    *s += "    int steps = 0;\n";
    *s += "    for (int i = 0; i < 4 && x > 0.01; i++) {\n";
    *s += "        x *= x;\n";
    *s += "        steps++;\n";
    *s += "    }\n";
    *s += "    switch (steps) {\n";
    *s += "    case 0: return x;\n";
    *s += "    default: break;\n";
    *s += "    }\n";
    *s += "    return x * scale" + n + ";\n";
    *s += "}\n";
    *s += "vec3 shade" + n + "(vec3 p, vec3 normal) {\n";
    *s += "    vec3 total = vec3(0.0);\n";
    *s += "    for (int i = 0; i < 4; i++) {\n";
    *s += "        vec3 to_light = lights" + n + "[i].position - p;\n";
    *s += "        float d = length(to_light);\n";
    *s += "        float lambert = max(dot(normalize(normal), to_light / d), 0.0);\n";
    *s += "        if (d < lights" + n + "[i].radius && lambert > 0.0) {\n";
    *s += "            total += lights" + n + "[i].color * lambert * falloff" + n + "(d, lights" + n + "[i].radius);\n";
    *s += "        } else if (gl_FragCoord.x > 0.5 ^^ gl_FragCoord.y > 0.5) {\n";
    *s += "            total += tint" + n + ".rgb * 0.01;\n";
    *s += "        } else {\n";
    *s += "            total = mix(total, tint" + n + ".xyz, 0.5);\n";
    *s += "        }\n";
    *s += "    }\n";
    *s += "    return total;\n";
    *s += "}\n";
}

std::string large_shader() {
    std::string s = "#version 330 core\nin vec3 v_position;\nin vec3 v_normal;\nout vec4 colour;\n";
    int k = 0;
    while (std::count(s.begin(), s.end(), '\n') < large_lines - 50) append_group(&s, k++);
    s += "void main() {\n    colour = vec4(shade0(v_position, v_normal), 1.0);\n}\n";
    while (std::count(s.begin(), s.end(), '\n') < large_lines) s += "\n";
    return s;
}

void set_up() {
    static bool ready = false;
    if (ready) return;
    ready = true;
    if (!arenas_reserved()) arenas_reserve();
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    if (!analysis.lock) analysis_locks_create();
    if (!analysis.source_cache.shared_text_buffer) source_cache_init();
}

// Writes the small shaders into a fresh directory once, and reads them back.
const std::vector<std::string>& small_shaders() {
    static std::vector<std::string> texts;
    if (!texts.empty()) return texts;
    char dir[] = "/tmp/glsl_bench_XXXXXX";
    if (!mkdtemp(dir)) abort();
    for (int i = 0; i < small_count; i++) {
        std::string s = "#version 330 core\nin vec3 v_position;\nin vec3 v_normal;\nout vec4 colour;\n";
        append_group(&s, i);
        s += "void main() {\n    colour = vec4(shade" + std::to_string(i) + "(v_position, v_normal), 1.0);\n}\n";
        std::ofstream(std::string(dir) + "/shader" + std::to_string(i) + ".glsl") << s;
    }
    for (int i = 0; i < small_count; i++) {
        std::ifstream in(std::string(dir) + "/shader" + std::to_string(i) + ".glsl");
        std::stringstream buffer;
        buffer << in.rdbuf();
        texts.push_back(buffer.str());
    }
    return texts;
}

struct Totals {
    f64 lex = 0, parse = 0, resolve = 0;
    i64 runs = 0;
};

void analyse(const std::string& text, Totals* totals) {
    static AnalysisResult result;
    pool_reset(pool_parser);
    AnalysisJob job{};
    job.text = StringView{text.data(), (i64)text.size()};
    job.path = SV("shader.glsl");
    job.kind = file_kind_glsl;
    job.result = &result;
    analysis_run_job(&job);
    totals->lex += job.lex_ms;
    totals->parse += job.parse_ms;
    totals->resolve += job.resolve_ms;
    totals->runs++;
    benchmark::DoNotOptimize(job.colours.data);
}

void report(benchmark::State& state, const Totals& totals, i64 bytes) {
    f64 runs = (f64)(totals.runs > 0 ? totals.runs : 1);
    state.counters["lex_ms"] = totals.lex / runs;
    state.counters["parse_ms"] = totals.parse / runs;
    state.counters["resolve_ms"] = totals.resolve / runs;
    state.counters["parser_peak_MiB"] = (f64)memory.arenas[pool_parser].high_water / (1024.0 * 1024.0);
    state.SetBytesProcessed((i64)state.iterations() * bytes);
}

void BM_GlslAnalysisLargeFile(benchmark::State& state) {
    set_up();
    static const std::string text = large_shader();
    memory.arenas[pool_parser].high_water = 0;
    Totals totals;
    for (auto _ : state) analyse(text, &totals);
    report(state, totals, (i64)text.size());
    state.counters["lines"] = (f64)std::count(text.begin(), text.end(), '\n');
}
BENCHMARK(BM_GlslAnalysisLargeFile)->Unit(benchmark::kMillisecond);

// Counters per shader; the time is that of all 500.
void BM_GlslAnalysis500SmallShaders(benchmark::State& state) {
    set_up();
    const std::vector<std::string>& texts = small_shaders();
    i64 bytes = 0;
    for (const std::string& t : texts) bytes += (i64)t.size();
    memory.arenas[pool_parser].high_water = 0;
    Totals totals;
    for (auto _ : state)
        for (const std::string& t : texts) analyse(t, &totals);
    report(state, totals, bytes);
}
BENCHMARK(BM_GlslAnalysis500SmallShaders)->Unit(benchmark::kMillisecond);

}  // namespace
