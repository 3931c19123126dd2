// One editor_view frame with a full window of text on the headless back-end: layout,
// bracket matching, occurrences, rows, caret and scrollbar.
#include <benchmark/benchmark.h>

#include <string>

#include "core/core_state.h"
#include "editor/document.h"
#include "editor/view.h"
#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "syntax/token_kinds.h"

namespace {

// Glyphs 8 pixels wide and 16 high, like a small monospaced font.
std::string font_info_text() {
    std::string s = "s 256 256\ng 32 0 0 8 0 0 0 0\ng 9 0 0 32 0 0 0 0\n";
    for (int c = 33; c < 127; c++) s += "g " + std::to_string(c) + " 0 0 8 " + std::to_string(c) + " 0 8 16\n";
    s += "g 65533 0 0 8 127 0 8 16\n";
    return s;
}

struct ViewBench {
    Font font_record;
    Document doc;
};

ViewBench* bench_setup(i64 lines) {
    if (!arenas_reserved()) arenas_reserve();
    headless_reset();
    render.gpu = Renderer{};
    theme_set_defaults();
    store_builtin_palettes();
    gpu_setup();
    static ViewBench b;
    std::string info = font_info_text();
    font_parse(&b.font_record, StringView{info.data(), (i64)info.size()}, SV("bench/font_info.txt"));
    b.font_record.texture = texture_create();
    for (int i = 0; i < icon_count; i++) render.icon_textures[i] = texture_create();

    std::string text;
    for (i64 i = 0; i < lines; i++) {
        text += "    value_" + std::to_string(i % 97) + " := compute(items[" + std::to_string(i) +
                "], scale * (offset + 3)); // step\n";
    }
    b.doc = Document{};
    document_init_tab_defaults(&b.doc);
    document_set_text(&b.doc, StringView{text.data(), (i64)text.size()});
    for (i64 i = 0; i < document_length(&b.doc); i++) store_set_colour(&b.doc.text, i, (u8)(i % 7));
    b.doc.font = &b.font_record;
    b.doc.caret_texture = b.doc.background_texture = b.doc.scrollbar_texture = render.icon_textures[icon_white];
    b.doc.palette = palette_of_language(language_cpp);
    b.doc.x = 200;
    b.doc.y = 0;
    b.doc.width = 760;
    b.doc.height = 700;
    b.doc.focused = 1;
    b.doc.smooth_scroll = 0;
    // The middle of the file on screen, the caret after a ")" and a word selected so
    // that bracket matching and occurrence highlighting both run.
    f32 h = document_line_height(&b.doc);
    b.doc.scroll_y = b.doc.target_scroll_y = h * (f32)(lines / 2);
    i64 line_start = 0;
    for (i64 i = 0; i < lines / 2 + 10; i++) line_start += line_length(&b.doc, i);
    b.doc.anchor = (i32)line_start + 4;
    b.doc.cursor = (i32)line_start + 9;  // "value"
    core.mouse_x = 500;
    core.mouse_y = 300;
    return &b;
}

void run_frames(benchmark::State& state, ViewBench* b) {
    for (auto _ : state) {
        input_poll();
        begin_frame();
        editor_view(&b->doc);
        benchmark::DoNotOptimize(headless_draw_count());
    }
    state.counters["draws"] = (f64)headless_draw_count();
    render.gpu = Renderer{};
}

void BM_EditorViewFrame(benchmark::State& state) { run_frames(state, bench_setup(state.range(0))); }

}  // namespace

BENCHMARK(BM_EditorViewFrame)->Arg(2000)->Arg(100000)->Unit(benchmark::kMicrosecond);
