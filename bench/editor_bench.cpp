// One typed character in a 270,000-line document: the whole key handling of a frame
// (undo grouping, the insertion, the line table, recolouring of the visible rows and the
// analysis request), next to a full line-table rebuild of the same text for scale.
#include <benchmark/benchmark.h>

#include <string>

#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "editor/document.h"
#include "editor/edit.h"
#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/font.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"

namespace {

constexpr i64 bench_lines = 270000;

struct EditBench {
    Font font_record;  // only the row height matters to recolouring
    Document doc;      // lives for the whole run: its undo history is in the shared store
};

EditBench* bench_setup() {
    static EditBench b;
    static bool ready = false;
    if (ready) return &b;
    ready = true;
    if (!arenas_reserved()) arenas_reserve();
    headless_reset();
    analysis_locks_create();
    source_cache_init();
    store_builtin_palettes();
    build_keyword_tables();
    tab_table_init();

    std::string text;
    for (i64 i = 0; i < bench_lines; i++)
        text += "\tvalue_" + std::to_string(i % 97) + " := compute(items[" + std::to_string(i) + "]); // step\n";
    b.font_record.size = 16;
    b.font_record.line_height = 1.25;
    document_init_tab_defaults(&b.doc);
    document_set_text(&b.doc, StringView{text.data(), (i64)text.size()});
    b.doc.font = &b.font_record;
    b.doc.kind = file_kind_vantrel;
    b.doc.focused = 1;
    b.doc.x = 200;
    b.doc.y = 0;
    b.doc.width = 800;
    b.doc.height = 700;
    return &b;
}

// Typing at one place in the middle of the file: after the first character the
// keystrokes group into one undo step, as they do for a user typing a word.
void BM_TypeCharacter(benchmark::State& state) {
    EditBench* b = bench_setup();
    Document* doc = &b->doc;
    i64 middle_row = bench_lines / 2;
    i32 pos = 0;
    for (i64 i = 0; i < middle_row; i++) pos += line_length(doc, i);
    doc->cursor = doc->anchor = pos;
    doc->scroll_y = (f32)(middle_row * 20 - 300);
    for (auto _ : state) {
        headless_text(SV("x"));
        input_poll();
        handle_keys(doc);
    }
    benchmark::DoNotOptimize(document_length(doc));
    state.counters["lines"] = (double)line_count(doc);
    state.counters["bytes"] = (double)document_length(doc);
}
BENCHMARK(BM_TypeCharacter)->Unit(benchmark::kMicrosecond);

void BM_FullLineTableRebuild(benchmark::State& state) {
    EditBench* b = bench_setup();
    for (auto _ : state) rebuild_line_table(&b->doc);
    benchmark::DoNotOptimize(line_count(&b->doc));
}
BENCHMARK(BM_FullLineTableRebuild)->Unit(benchmark::kMicrosecond);

}  // namespace
