#include "core/core_state.h"
#include "core/project_path.h"


static i64 directory_cut() {
    StringView p = owned_view(core.project_path);
    i64 cut = sv_last_index(p, '/');
    if (cut < 0) cut = sv_last_index(p, '\\');
    return cut;
}

StringView project_directory() {
    i64 cut = directory_cut();
    if (cut < 0) return StringView{nullptr, 0};
    return StringView{core.project_path.data, cut};
}

void build_full_path(StringBuilder* out, StringView relative) {
    out->count = 0;
    // "/x.proj" has the root as its directory; a bare "x.proj" has none and paths
    // are then used as they are.
    if (directory_cut() >= 0) {
        append_string(out, project_directory());
        append_char(out, '/');
    }
    append_string(out, relative);
}
