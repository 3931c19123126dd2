// settings.txt bytes: never crash or hang; values stay inside the input and theme paths
// are handed over whole.
#include <cstdlib>

#include "app/shell_state.h"
#include "memory/arena.h"

namespace {
const u8* input;
size_t input_size;

void check_theme_path(StringView path) {
    if (path.length < 0 || (size_t)path.length > input_size) abort();
    if (path.length && ((const u8*)path.data < input || (const u8*)path.data + path.length > input + input_size)) abort();
    for (i64 i = 0; i < path.length; i++)
        if (path.data[i] == '\n') abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        static const i64 capacities[pool_count] = {16 << 20, 1 << 20, 1 << 16, 1 << 16, 1 << 16, 1 << 16, 1 << 16};
        if (!arenas_reserve(capacities)) abort();
        shell.theme_loader = check_theme_path;
        ready = true;
    }
    input = data;
    input_size = size;
    shell_set_defaults();
    settings_parse(StringView{(const char*)data, (i64)size});
    if (shell.workspace_path.length > (i64)size || shell.coloring_path.length > (i64)size) abort();
    for (i64 i = 0; i < shell.coloring_path.length; i++)
        if (shell.coloring_path.data[i] == '\n') abort();
    return 0;
}
