#include "app/shell_state.h"

ShellState shell;
OwnedString workspace_path;
OwnedString coloring_path;

void shell_set_defaults() {
    shell = ShellState{};
    shell.running = true;
    shell.sleep_ms = 12;
    workspace_path.length = 0;
    coloring_path.length = 0;
}

void parse_command_line(const StringView* arguments, i64 count) {
    for (i64 i = 0; i < count; i++) {
        StringView a = arguments[i];
        if (a.length == 2) {
            if (sv_equal(a, SV("-v"))) { shell.display_paced = true; continue; }
            if (sv_equal(a, SV("-i"))) { shell.show_timings = true; continue; }
            if (sv_equal(a, SV("-m"))) { shell.show_memory = true; continue; }
            if (sv_equal(a, SV("-c"))) { shell.keep_system_cursor = true; continue; }
        }
        shell.project_argument = a;  // a later path replaces an earlier one
    }
}
