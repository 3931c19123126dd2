// Searching a 100 MB project (400 generated C files of 250 KB): from the request to the
// last file searched, through the worker thread and the per-frame hand-over as the
// workbench runs them. The files are written once under /tmp and kept for later runs,
// so that the figure is for files in the page cache, as a project being edited is.
#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <cstdio>
#include <string>
#include <thread>

#include "core/core_state.h"
#include "editor/editor_state.h"
#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "workbench/project_search.h"
#include "workbench/results_panel.h"

namespace {
constexpr int file_count = 400;
constexpr i64 file_bytes = 250000;
const char* const project_dir = "/tmp/tesmora_search_bench";

std::string file_text(int index) {
    std::string text;
    text.reserve((size_t)file_bytes + 200);
    for (int line = 0; (i64)text.size() < file_bytes; line++) {
        text += "static int compute_" + std::to_string(index) + "_" + std::to_string(line) +
                "(const struct item *items, int count) { return items[count - 1].value * " + std::to_string(line % 97) +
                "; }\n";
        // A rare word to find: one line in a thousand.
        if (line % 1000 == 999) text += "/* needle_marker in file " + std::to_string(index) + " */\n";
    }
    text.resize((size_t)file_bytes);
    return text;
}

void write_project_once() {
    std::string last = std::string(project_dir) + "/f" + std::to_string(file_count - 1) + ".c";
    struct stat s;
    if (stat(last.c_str(), &s) == 0 && s.st_size == file_bytes) return;
    mkdir(project_dir, 0755);
    for (int i = 0; i < file_count; i++)
        std::ofstream(std::string(project_dir) + "/f" + std::to_string(i) + ".c", std::ios::binary) << file_text(i);
}

void set_up() {
    static bool ready = false;
    if (ready) return;
    ready = true;
    if (!arenas_reserved()) arenas_reserve();
    headless_reset();
    tab_table_init();
    write_project_once();
    std::string project = std::string(project_dir) + "/bench.project";
    string_assign(&core.project_path, StringView{project.data(), (i64)project.size()}, pool_main);
    editor.tab_paths.pool = pool_main;
    for (int i = 0; i < file_count; i++) {
        char name[32];
        int length = snprintf(name, sizeof name, "f%d.c", i);
        StringView kept = string_copy(StringView{name, (i64)length}, pool_main);
        array_append(&editor.tab_paths, TabPath{1000 + i, kept});
    }
}

// The main thread's side as frames run it: take what the worker found, and wait a little.
void search_and_wait(StringView text) {
    project_search_start(text);
    while (project_search_progress().running) {
        pool_reset(pool_frame);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        run_project_search();
    }
    pool_reset(pool_frame);
}

// A rare word: every byte is scanned, few lines are listed.
void BM_ProjectSearchRareWord(benchmark::State& state) {
    set_up();
    for (auto _ : state) search_and_wait(SV("needle_marker"));
    ProjectSearchProgress p = project_search_progress();
    state.counters["matches"] = (double)p.total;
    state.counters["files"] = (double)p.files_done;
    state.SetBytesProcessed(state.iterations() * file_count * file_bytes);
}
BENCHMARK(BM_ProjectSearchRareWord)->Unit(benchmark::kMillisecond)->UseRealTime();

// A common word, case folded and whole words only: the list fills to its limit and the
// rest are counted.
void BM_ProjectSearchCommonWord(benchmark::State& state) {
    set_up();
    editor.search.match_case = false;
    editor.search.whole_word = true;
    for (auto _ : state) search_and_wait(SV("ITEMS"));
    editor.search.whole_word = false;
    ProjectSearchProgress p = project_search_progress();
    state.counters["matches"] = (double)p.total;
    state.counters["listed"] = (double)p.listed;
    state.SetBytesProcessed(state.iterations() * file_count * file_bytes);
}
BENCHMARK(BM_ProjectSearchCommonWord)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace
