// CPU time of one whole workbench frame (toolbar, file tree, minimap, the editor view
// with a full window of text, tab bar) on the headless back-end: the program's own work
// per frame, without the GPU's. Run from the repository root (it opens the example
// project and reads settings.txt and resources/ like the program).
#include <benchmark/benchmark.h>

#include <string>

#include "app/application.h"
#include "editor/document.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "editor/recolour.h"
#include "workbench/workbench.h"

namespace {

bool start_program() {
    static bool started = false, ok = false;
    if (started) return ok;
    started = true;
    if (!arenas_reserved()) arenas_reserve();
    headless_reset();
    StringView args[] = {SV("examples/demo/demo.project")};
    ok = application_start(args, 1);
    if (!ok || !editor.current_document) return ok = false;
    // Long lines of code from the top of the window to the bottom and past the right edge.
    std::string text;
    for (int i = 0; i < 3000; i++)
        text += "proc step_" + std::to_string(i) + "(int count, real scale) real { return compute(items[" +
                std::to_string(i) + "], scale * (count + 3)) + offset_table[count % 16]; } // row\n";
    document_set_text(editor.current_document, StringView{text.data(), (i64)text.size()});
    recolour_document(editor.current_document);
    return ok;
}

void BM_WorkbenchFrame(benchmark::State& state) {
    if (!start_program()) {
        state.SkipWithError("the program did not start (run from the repository root)");
        return;
    }
    for (auto _ : state) {
        pool_reset(pool_frame);
        input_poll();
        begin_frame();
        workbench_frame();
        end_frame();
        pipeline_present();
    }
    state.counters["draws"] = (double)headless_draw_count();
}
BENCHMARK(BM_WorkbenchFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
