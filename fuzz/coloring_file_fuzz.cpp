// Any bytes parsed as a coloring file: no reads past the data, the rainbow view always
// matches the palette, and GLSL directives keep their built-in colour.
#include <cstdio>
#include <cstdlib>

#include "memory/arena.h"
#include "syntax/coloring_file.h"
#include "syntax/syntax_state.h"

static void fail(const char* what) {
    fprintf(stderr, "invariant broken: %s\n", what);
    abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!arenas_reserved()) {
        const i64 capacities[pool_count] = {256ll << 20, 1ll << 20, 1ll << 20, 1ll << 20, 1ll << 20, 1ll << 20, 1ll << 20};
        if (!arenas_reserve(capacities)) abort();
    }
    store_builtin_palettes();
    reset_rainbow_palette();
    Color directive = syntax.glsl_palette[glsl_kind_preprocessor_directive];
    parse_coloring_data(StringView{(const char*)data, (i64)size});
    if (syntax.rainbow_view.colors != syntax.rainbow_palette.data || syntax.rainbow_view.count != syntax.rainbow_palette.count) fail("rainbow view stale");
    if (syntax.rainbow_view.count < 1) fail("rainbow emptied");
    if (syntax.rainbow_palette.count > syntax.rainbow_palette.capacity) fail("rainbow count beyond capacity");
    if (!color_equal(directive, syntax.glsl_palette[glsl_kind_preprocessor_directive])) fail("GLSL directive colour changed");
    return 0;
}
