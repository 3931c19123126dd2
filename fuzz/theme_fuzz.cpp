// Theme file bytes: never crash, and every colour ends up either parsed or transparent black.
#include <cstdlib>

#include "memory/arena.h"
#include "render/renderer.h"
#include "render/theme.h"

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        static const i64 capacities[pool_count] = {16 << 20, 16 << 20, 1 << 16, 1 << 16, 1 << 16, 1 << 16, 1 << 16};
        if (!arenas_reserve(capacities)) abort();
        ready = true;
    }
    pool_reset(pool_main);
    pool_reset(pool_frame);
    theme_set_defaults();
    theme_parse(StringView{(const char*)data, (i64)size});
    if (render.theme.entries.count > theme_color_count) abort();
    // Paths come from the input or stay as they were.
    if (render.theme.font_path.length > (i64)size && !sv_equal(render.theme.font_path, SV("resources/font_info.txt"))) abort();
    if (render.theme.background_path.length > (i64)size) abort();
    // A second file on top of the first, as two "theme" lines would do.
    theme_parse(StringView{(const char*)data, (i64)size / 2});
    return 0;
}
