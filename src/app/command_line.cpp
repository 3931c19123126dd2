#include "app/shell_state.h"

#include "render/theme.h"

ShellState shell;

const char command_line_help[] =
    "usage: tesmora [OPTIONS] [PATH...]\n"
    "Each PATH is a project file (\"NAME.project\", or a file that starts like one), a source\n"
    "file (opened in a project without a file, with the files of the same languages beside\n"
    "it as its sources), or a folder (opened as a project of its files; saving asks where\n"
    "the project file goes). Without a path, the project of the last run is opened again.\n"
    "  -v         pace frames by the display\n"
    "  -i         show frame timings\n"
    "  -m         show memory use\n"
    "  -c         keep the system's mouse pointer\n"
    "  --version  print the version and end\n"
    "  --help     print this and end\n";

void shell_set_defaults() {
    shell.running = true;
    shell.display_paced = shell.show_timings = shell.show_memory = shell.keep_system_cursor = false;
    shell.paused = false;
    shell.render_time = 0;
    shell.sleep_ms = 12;
    shell.scale = 0;
    shell.path_count = 0;
    shell.print_help = shell.print_version = false;
    shell.exit_status = 0;
    shell.exit_on_termination = false;
    shell.workspace_path.length = 0;
    shell.coloring_path.length = 0;
    if (!shell.theme_loader) shell.theme_loader = theme_load;
    shell.exhausted_pool.store(-1);
}

void parse_command_line(const StringView* arguments, i64 count) {
    shell.path_count = 0;
    for (i64 i = 0; i < count; i++) {
        StringView a = arguments[i];
        if (a.length == 2) {
            if (sv_equal(a, SV("-v"))) { shell.display_paced = true; continue; }
            if (sv_equal(a, SV("-i"))) { shell.show_timings = true; continue; }
            if (sv_equal(a, SV("-m"))) { shell.show_memory = true; continue; }
            if (sv_equal(a, SV("-c"))) { shell.keep_system_cursor = true; continue; }
        }
        if (sv_equal(a, SV("--help")) || sv_equal(a, SV("-h"))) {
            shell.print_help = true;
            continue;
        }
        if (sv_equal(a, SV("--version"))) {
            shell.print_version = true;
            continue;
        }
        if (shell.path_count < (i32)(sizeof shell.paths / sizeof shell.paths[0])) shell.paths[shell.path_count++] = a;
    }
}
