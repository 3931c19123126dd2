// The whole handling of one typed character against document size (1,000, 100,000 and
// 1,000,000 lines of C): input, undo grouping, the insertion into the text and colour
// bytes, the line table, recolouring of the visible rows and the analysis request.
//   BM_TypedKeystroke:         letters typed at one place, which group into one undo step;
//   BM_TypedKeystrokeNewStep:  a letter and a space in turn, so that every keystroke
//                              begins a new undo step;
//   BM_BackspaceKeystroke, BM_EnterKeystroke: those keys in the middle of the file;
//   BM_Paste1MB:               Ctrl+V of a 1 MB clipboard (30,000 lines);
//   BM_UndoKeystroke, BM_RedoKeystroke: Ctrl+Z and Ctrl+Y of a typed word.
#include <benchmark/benchmark.h>

#include <string>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "editor/document.h"
#include "editor/edit.h"
#include "editor/motion.h"
#include "editor/text_change.h"
#include "platform/keys.h"
#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/font.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"

namespace {

Font keystroke_font;

Document* keystroke_document(i64 lines) {
    static Document doc;
    static bool ready = false;
    if (!ready) {
        ready = true;
        if (!arenas_reserved()) arenas_reserve();
        headless_reset();
        if (!analysis.lock) analysis_locks_create();
        if (!analysis.source_cache.shared_text_buffer) source_cache_init();
        store_builtin_palettes();
        load_coloring_file(StringView{nullptr, 0});
        build_keyword_tables();
        keystroke_font.size = 16;
        keystroke_font.line_height = 1.25;
        document_init_tab_defaults(&doc);
        string_assign(&doc.path, SV("bench.c"), pool_main);
    }
    std::string text;
    text.reserve((size_t)lines * 34);
    for (i64 i = 0; i < lines; i++) text += "int value_" + std::to_string(i % 1000) + " = f(x, 0x1F); // c\n";
    document_set_text(&doc, StringView{text.data(), (i64)text.size()});
    doc.font = &keystroke_font;
    doc.kind = file_kind_c;
    doc.focused = 1;
    doc.x = 200;
    doc.y = 0;
    doc.width = 800;
    doc.height = 700;
    // The middle of the file on screen, the cursor there.
    i64 middle = lines / 2;
    doc.scroll_y = (f32)(middle * 20 - 300);
    doc.cursor = doc.anchor = (i32)row_start(&doc, middle);
    return &doc;
}

// Every 32 keystrokes the typed bytes are taken out again (not timed), so that the row
// being typed into stays a normal row instead of growing for the whole run.
void take_typed_bytes_out(benchmark::State& state, Document* doc, i32 home, i64* typed) {
    if (++*typed < 32) return;
    state.PauseTiming();
    text_remove(doc, home, doc->cursor - home);
    doc->cursor = doc->anchor = home;
    *typed = 0;
    state.ResumeTiming();
}

void type_one(Document* doc, StringView text) {
    headless_text(text);
    input_poll();
    handle_keys(doc);
    mutex_lock(analysis.lock);
    analysis.request.pending = 0;
    mutex_unlock(analysis.lock);
}

void BM_TypedKeystroke(benchmark::State& state) {
    Document* doc = keystroke_document(state.range(0));
    i32 home = doc->cursor;
    i64 typed = 0;
    for (auto _ : state) {
        type_one(doc, SV("x"));
        take_typed_bytes_out(state, doc, home, &typed);
    }
    state.counters["lines"] = (double)line_count(doc);
    state.counters["bytes"] = (double)document_length(doc);
}
BENCHMARK(BM_TypedKeystroke)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_TypedKeystrokeNewStep(benchmark::State& state) {
    Document* doc = keystroke_document(state.range(0));
    i32 home = doc->cursor;
    i64 typed = 0;
    bool letter = true;
    for (auto _ : state) {
        type_one(doc, letter ? SV("x") : SV(" "));
        letter = !letter;
        take_typed_bytes_out(state, doc, home, &typed);
    }
    state.counters["lines"] = (double)line_count(doc);
}
BENCHMARK(BM_TypedKeystrokeNewStep)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void key_once(Document* doc, i32 key, bool ctrl) {
    if (ctrl) headless_key_down(key_ctrl);
    headless_key_tap(key);
    input_poll();
    handle_keys(doc);
    if (ctrl) headless_key_up(key_ctrl);  // seen by the next poll
    mutex_lock(analysis.lock);
    analysis.request.pending = 0;
    mutex_unlock(analysis.lock);
}

void BM_BackspaceKeystroke(benchmark::State& state) {
    Document* doc = keystroke_document(state.range(0));
    i64 left = 0;
    for (auto _ : state) {
        if (left == 0) {
            // Letters to take away again (not timed), so the file keeps its size.
            state.PauseTiming();
            text_insert(doc, doc->cursor, SV("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"), 0);
            doc->cursor = doc->anchor = doc->cursor + 32;
            left = 32;
            state.ResumeTiming();
        }
        key_once(doc, key_backspace, false);
        left--;
    }
}
BENCHMARK(BM_BackspaceKeystroke)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_EnterKeystroke(benchmark::State& state) {
    Document* doc = keystroke_document(state.range(0));
    i32 home = doc->cursor;
    i64 typed = 0;
    for (auto _ : state) {
        key_once(doc, key_enter, false);
        take_typed_bytes_out(state, doc, home, &typed);
    }
}
BENCHMARK(BM_EnterKeystroke)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_Paste1MB(benchmark::State& state) {
    Document* doc = keystroke_document(state.range(0));
    std::string clip;
    while (clip.size() < ((size_t)1 << 20)) clip += "float pasted = g(y, 0x2E); // p\n";
    clip.resize((size_t)1 << 20);
    clipboard_set(StringView{clip.data(), (i64)clip.size()});
    i32 home = doc->cursor;
    for (auto _ : state) {
        key_once(doc, key_V, true);
        state.PauseTiming();
        if (doc->cursor - home != (i64)clip.size()) state.SkipWithError("nothing was pasted");
        text_remove(doc, home, doc->cursor - home);
        doc->cursor = doc->anchor = home;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Paste1MB)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// A word typed after a space is one undo step; Ctrl+Z takes it away and Ctrl+Y brings it
// back, each timed with the other one untimed.
void undo_redo(benchmark::State& state, bool time_undo) {
    Document* doc = keystroke_document(state.range(0));
    type_one(doc, SV(" "));
    type_one(doc, SV("word"));
    i64 typed = document_length(doc);
    for (auto _ : state) {
        if (!time_undo) state.PauseTiming();
        key_once(doc, key_Z, true);
        if (!time_undo) state.ResumeTiming();
        if (time_undo) state.PauseTiming();
        if (document_length(doc) != typed - 4) state.SkipWithError("undo took nothing away");
        key_once(doc, key_Y, true);
        if (time_undo) state.ResumeTiming();
    }
    if (document_length(doc) != typed) state.SkipWithError("redo brought nothing back");
}
void BM_UndoKeystroke(benchmark::State& state) { undo_redo(state, true); }
void BM_RedoKeystroke(benchmark::State& state) { undo_redo(state, false); }
BENCHMARK(BM_UndoKeystroke)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedoKeystroke)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
