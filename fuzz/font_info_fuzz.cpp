// font_info bytes: parsing, then measuring and drawing text with whatever font came out.
#include <cstdio>
#include <cstdlib>

#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        static const i64 capacities[pool_count] = {32 << 20, 1 << 20, 1 << 16, 1 << 16, 1 << 16, 1 << 16, 1 << 16};
        if (!arenas_reserve(capacities)) abort();
        // Failure lines are expected by the thousand; keep the fuzzer's log readable.
        if (!freopen("/dev/null", "w", stdout)) abort();
        ready = true;
    }
    pool_reset(pool_main);
    pool_reset(pool_frame);
    headless_reset();
    render.gpu = Renderer{};
    theme_set_defaults();
    gpu_setup();

    StringView bytes{(const char*)data, (i64)size};
    Font f;
    if (!font_parse(&f, bytes, SV("fuzz/font_info.txt"))) return 0;
    if (f.glyphs.count < 1) abort();

    // The input itself is the text: every byte sequence must lay out without trouble.
    begin_frame();
    StringView text{(const char*)data, size < 512 ? (i64)size : 512};
    measure_text(&f, text, 1, 1, 2, 2, 40);
    draw_text(&f, Color{1, 1, 1, 1}, text, 10, 10, 1.5, 1.5, 3, 1);
    const Color palette[2] = {{1, 0, 0, 1}, {0, 1, 0, 1}};
    draw_text_colored(&f, palette, 2, text, (const u8*)data, 0, 0, 1, 1, 4, 100);
    caret_position(&f, text, text.length / 2, 1, 1, 60);
    end_frame();
    return 0;
}
