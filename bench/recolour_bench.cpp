// Recolouring after one keystroke, against document size: only the visible lines are
// lexed, so the cost should stay flat from a thousand to a million lines.
#include <benchmark/benchmark.h>

#include <string>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "editor/document.h"
#include "editor/edit.h"
#include "editor/text_change.h"
#include "platform/headless/headless.h"
#include "render/font.h"
#include "syntax/coloring_file.h"
#include "editor/recolour.h"
#include "syntax/token_kinds.h"

namespace {

Font bench_font;

void setup_once() {
    static bool done = false;
    if (done) return;
    done = true;
    arenas_reserve();
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    analysis_locks_create();
    source_cache_init();
    std::string info = "s 256 256\ng 32 0 0 9 0 0 0 0\n";
    for (int c = 33; c < 127; c++) info += "g " + std::to_string(c) + " 0 0 9 0 0 9 19\n";
    font_parse(&bench_font, StringView{info.data(), (i64)info.size()}, SV("b/font_info.txt"));
}

// One document for every run, so that its storage is reused (a fresh record per run
// would leave its old buffers behind in pool_main).
Document* bench_document() {
    static Document doc;
    static bool ready = false;
    if (!ready) {
        ready = true;
        document_init_tab_defaults(&doc);
    }
    return &doc;
}

void BM_RecolourAfterKeystroke(benchmark::State& state) {
    setup_once();
    i64 lines = state.range(0);
    Document& doc = *bench_document();
    doc.font = &bench_font;
    doc.width = 360;
    doc.height = 680;
    std::string text;
    text.reserve((size_t)lines * 32);
    for (i64 i = 0; i < lines; i++) text += "int value_" + std::to_string(i % 1000) + " = f(x, 0x1F); // c\n";
    document_set_text(&doc, StringView{text.data(), (i64)text.size()});
    doc.kind = file_kind_c;
    string_assign(&doc.path, SV("bench.c"), pool_main);
    // Scrolled to the middle, the cursor there; each iteration types one byte.
    doc.scroll_y = (f32)(lines / 2) * 19;
    i32 home = (i32)(text.size() / 2);
    doc.cursor = doc.anchor = home;
    i64 typed = 0;
    for (auto _ : state) {
        insert_byte(&doc, 'a', 0);  // keeps the line table up to date incrementally
        recolour_document(&doc);
        mutex_lock(analysis.lock);
        analysis.request.pending = 0;
        mutex_unlock(analysis.lock);
        // The typed bytes go again every 32 keystrokes (not timed), so that the row
        // stays a normal row instead of growing for the whole run.
        if (++typed == 32) {
            state.PauseTiming();
            text_remove(&doc, home, doc.cursor - home);
            doc.cursor = doc.anchor = home;
            typed = 0;
            state.ResumeTiming();
        }
    }
    state.counters["lines"] = (double)lines;
    document_reset(&doc);
}
BENCHMARK(BM_RecolourAfterKeystroke)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Recolouring alone (no text change), for the same sizes.
void BM_RecolourOnly(benchmark::State& state) {
    setup_once();
    i64 lines = state.range(0);
    Document& doc = *bench_document();
    doc.font = &bench_font;
    doc.width = 360;
    doc.height = 680;
    std::string text;
    for (i64 i = 0; i < lines; i++) text += "int value_" + std::to_string(i % 1000) + " = f(x, 0x1F); // c\n";
    document_set_text(&doc, StringView{text.data(), (i64)text.size()});
    doc.kind = file_kind_c;
    string_assign(&doc.path, SV("bench.c"), pool_main);
    doc.scroll_y = (f32)(lines / 2) * 19;
    for (auto _ : state) {
        recolour_document(&doc);
        mutex_lock(analysis.lock);
        analysis.request.pending = 0;
        mutex_unlock(analysis.lock);
    }
    document_reset(&doc);
}
BENCHMARK(BM_RecolourOnly)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
