#include "app/shell_state.h"

#include "render/theme.h"

ShellState shell;

void shell_set_defaults() {
    shell.running = true;
    shell.display_paced = shell.show_timings = shell.show_memory = shell.keep_system_cursor = false;
    shell.paused = false;
    shell.render_time = 0;
    shell.sleep_ms = 12;
    shell.scale = 0;
    shell.project_argument = StringView{nullptr, 0};
    shell.exit_status = 0;
    shell.exit_on_termination = false;
    shell.workspace_path.length = 0;
    shell.coloring_path.length = 0;
    if (!shell.theme_loader) shell.theme_loader = theme_load;
    shell.exhausted_pool.store(-1);
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
