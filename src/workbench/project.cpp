#include "workbench/project.h"

#include <cstdio>

bool project_saved = true;

void project_load(StringView path) {
    printf("opening %.*s\n", (int)path.length, path.data);
    fflush(stdout);
}

StringView project_file_name() {
    StringView p = owned_view(project_path);
    i64 cut = sv_last_index(p, '/');
    if (cut < 0) cut = sv_last_index(p, '\\');
    return StringView{p.data + cut + 1, p.length - cut - 1};
}
