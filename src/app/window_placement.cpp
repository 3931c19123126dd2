// The window record is one line "x y width height" in $XDG_STATE_HOME/tesmora/window, else
// ~/.local/state/tesmora/window, beside the recovery files; the last project is the
// absolute path in "last-project" there.
#include "app/window_placement.h"

#include <cstdio>
#include <cstdlib>

#include "core/string_view.h"
#include "platform/platform.h"

namespace {
// Sizes below this are a window shrunk by accident, not one to open at again.
constexpr i32 least_side = 200;
constexpr i32 most_side = 16384;

// The record's directory and path; false when neither variable names a directory.
bool record_paths(char* directory, i64 directory_capacity, char* path, i64 path_capacity, const char* name = "window") {
    const char* state = getenv("XDG_STATE_HOME");
    const char* home = getenv("HOME");
    int n = 0;
    if (state && state[0] == '/') n = snprintf(directory, (size_t)directory_capacity, "%s/tesmora", state);
    else if (home && home[0] == '/') n = snprintf(directory, (size_t)directory_capacity, "%s/.local/state/tesmora", home);
    if (n <= 0 || n >= directory_capacity) return false;
    int m = snprintf(path, (size_t)path_capacity, "%s/%s", directory, name);
    return m > 0 && m < path_capacity;
}
}  // namespace

void window_placement_restore() {
    char directory[4096], path[4200];
    if (!record_paths(directory, sizeof directory, path, sizeof path)) return;
    FILE* f = fopen(path, "r");
    if (!f) return;
    int x = 0, y = 0, width = 0, height = 0;
    int read = fscanf(f, "%d %d %d %d", &x, &y, &width, &height);
    fclose(f);
    if (read != 4 || width < least_side || height < least_side || width > most_side || height > most_side) return;
    display_set_placement(x, y, width, height);
}

void window_placement_save() {
    i32 x = 0, y = 0, width = 0, height = 0;
    if (!display_get_placement(&x, &y, &width, &height) || width < least_side || height < least_side) return;
    char directory[4096], path[4200];
    if (!record_paths(directory, sizeof directory, path, sizeof path)) return;
    if (!directory_create_all(sv_from_cstr(directory), 0700)) return;
    char line[64];
    int n = snprintf(line, sizeof line, "%d %d %d %d\n", x, y, width, height);
    if (n > 0) file_save_atomic(sv_from_cstr(path), StringView{line, n});
}

StringView last_project_read(u8 pool) {
    char directory[4096], path[4200];
    if (!record_paths(directory, sizeof directory, path, sizeof path, "last-project")) return StringView{nullptr, 0};
    FileContents f = file_read_all(sv_from_cstr(path), pool, 8192);
    if (f.status != read_ok) return StringView{nullptr, 0};
    StringView line = f.bytes;
    while (line.length > 0 && (line.data[line.length - 1] == '\n' || line.data[line.length - 1] == '\r')) line.length--;
    return line;
}

void last_project_save(StringView project) {
    char directory[4096], path[4200];
    if (project.length <= 0 || !record_paths(directory, sizeof directory, path, sizeof path, "last-project")) return;
    if (!directory_create_all(sv_from_cstr(directory), 0700)) return;
    file_save_atomic(sv_from_cstr(path), project);
}
