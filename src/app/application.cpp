#include "app/application.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "analysis/analysis_state.h"
#include "analysis/analysis_thread.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "app/frame_input.h"
#include "app/frame_pacing.h"
#include "app/shell_state.h"
#include "app/window_placement.h"
#include "core/core_state.h"
#include "editor/document.h"
#include "editor/completion.h"
#include "editor/recovery.h"
#include "editor/view.h"
#include "memory/arena.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"
#include "workbench/project.h"
#include "workbench/project_search.h"
#include "workbench/workbench.h"

namespace {
// stb_image needs working room beyond the decoded pixels (the inflated rows and the
// compressed data), so the decoding buffer holds a 4096 x 4096 RGBA image with room to spare.
constexpr i64 image_decode_buffer_size = (i64)256 << 20;


// With the start-up report on, the time since the process started at each step of
// start-up, so that the report says where the time to the first frame went.
void startup_step(const char* step) {
    if (!shell.reports.startup || shell.run.first_frame_reported) return;
    u64 now = system_performance_counter();
    printf("startup %s %.1f ms\n", step,
           (f64)(now - shell.reports.process_start) * 1000.0 / (f64)system_performance_frequency());
}
// One clear line (and a message box when there is a display), then status 1.
bool fail_start(StringView message) {
    printf("%.*s\n", (int)message.length, message.data);
    fflush(stdout);
    show_simple_message_box(0, SV("tesmora cannot start"), message);
    shell.exit_status = 1;
    return false;
}

// From scale 1.5 on, text is drawn from the font's double-resolution atlas where the
// theme's font has one beside it ("font_info@2x.txt"), so that it stays crisp.
void choose_font_for_scale() {
    StringView path = render.theme.font_path;
    if (shell.scale < 1.5f || path.length <= 4 || !sv_equal(sv_slice(path, path.length - 4, path.length), SV(".txt")))
        return;
    StringView doubled = string_concat(sv_slice(path, 0, path.length - 4), SV("@2x.txt"), pool_main);
    if (file_exists(doubled)) render.theme.font_path = doubled;
}

// $XDG_STATE_HOME/tesmora/recovery, else ~/.local/state/tesmora/recovery.
void start_recovery() {
    const char* state = getenv("XDG_STATE_HOME");
    const char* home = getenv("HOME");
    char directory[4096];
    int n = 0;
    if (state && state[0] == '/') n = snprintf(directory, sizeof directory, "%s/tesmora/recovery", state);
    else if (home && home[0] == '/') n = snprintf(directory, sizeof directory, "%s/.local/state/tesmora/recovery", home);
    if (n <= 0 || n >= (int)sizeof directory) {
        printf("no directory for recovery files (HOME is not set): unsaved changes are not kept after a crash\n");
        fflush(stdout);
        return;
    }
    recovery_init(StringView{directory, n}, true);
}

// Whatever thread ran out, the texts of modified documents are written first; they
// belong to the main thread, so another thread hands the work over and waits.
void on_arena_exhausted(u8 pool) {
    if (thread_is_main()) {
        recovery_write_all_now();
        return;
    }
    shell.exhausted_pool.store(pool);
    for (;;) system_sleep(1000);
}

[[noreturn]] void end_after_exhaustion(i32 pool) {
    recovery_write_all_now();
    const char* name = pool >= 0 && pool < pool_count ? arena_names[pool] : "a pool";
    printf("%s exhausted: unsaved changes were written to recovery files\n", name);
    system_exit_now(1);
}

// TESMORA_FRAME_COUNT: how many frames the loop made, and how many of them reached the
// screen, so that a test or a benchmark can tell an idle program from a busy one.
void report_frame_count() {
    if (!shell.reports.frame_count) return;
    printf("frames drawn %lld left_out %lld\n", (long long)render.frames.drawn, (long long)render.frames.left_out);
    fflush(stdout);
}

// SIGTERM or SIGHUP: no time to ask. Modified documents go to their recovery files.
[[noreturn]] void end_on_termination() {
    recovery_write_all_now();
    report_frame_count();
    printf("terminated: unsaved changes were written to recovery files\n");
    system_exit_now(0);
}
}  // namespace

bool application_start(const StringView* arguments, i64 count) {
    shell_set_defaults();
    theme_set_defaults();
    store_builtin_palettes();
    parse_command_line(arguments, count);
    if (shell.print_help || shell.print_version) {
        if (shell.print_version) printf("tesmora %s\n", tesmora_version);
        if (shell.print_help) printf("%s", command_line_help);
        shell.exit_status = 0;
        return false;
    }

    system_init(13);
    shell.run.system_started = true;
    startup_step("system_init");
    // The arenas first: without them nothing else can be made, and failing before the
    // window leaves no window behind.
    if (!arenas_reserved()) {
        if (!arenas_reserve()) return fail_start(SV("not enough memory for the editor's arenas (see the line above)"));
        shell.run.arenas_owned = true;
    }
    memory.exhausted_hook = on_arena_exhausted;
    if (!display_open(1024, 768, SV("tesmora"), shell.display_paced ? 0x14u : 0x54u, 1))
        return fail_start(SV("the window cannot be opened (is there a display?)"));
    window_placement_restore();
    startup_step("display_open");

    void* decode_buffer = malloc((size_t)image_decode_buffer_size);
    image_set_buffer(decode_buffer ? image_decode_buffer_size : 0, decode_buffer);
    image_set_flip(false);
    Image icon = image_load(SV("resources/red_sphere.png"), 4);
    image_set_flip(true);
    display_set_icon(icon.width, icon.height, icon.pixels);

    gpu_setup();
    render.frames.skip_unchanged = true;
    shell.run.graphics_started = true;
    startup_step("gpu_setup");
    settings_load();
    if (shell.scale <= 0) shell.scale = display_content_scale();
    choose_font_for_scale();
    resources_load();
    startup_step("resources_load");
    image_set_buffer(0, nullptr);
    free(decode_buffer);

    analysis_locks_create();
    analysis.result_slot.running = 1;
    shell.run.analysis_thread = thread_create(analysis_thread_main, nullptr);
    shell.run.analysis_started = true;
    start_recovery();

    source_cache_init();
    load_coloring_file(owned_view(shell.coloring_path));
    workbench_init(WorkbenchConfig{owned_view(shell.workspace_path), shell.keep_system_cursor, shell.scale});
    tab_table_init();

    shell.run.counter_frequency = system_performance_frequency();
    shell.run.last_present = system_performance_counter();
    shell.run.last_frame_start = shell.run.last_present;
    shell.run.next_frame_due = 0;
    shell.run.drawn_once = false;
    shell.run.analysis_awaited = false;
    if (shell.path_count > 0) {
        workbench_open_paths(shell.paths, shell.path_count);
    } else {
        // No path: the project the last run had open, when it is still there.
        StringView last = last_project_read(pool_frame);
        if (last.length > 0 && file_exists(last)) project_load(last);
        else restore_recovered_documents();
    }

    startup_step("project_load");
    input_text_enable(true);
    if (!shell.keep_system_cursor) input_mouse_set_visible(false);
    return true;
}

bool application_frame() {
    frame_input_begin();
    if (system_termination_requested()) {
        if (shell.exit_on_termination) end_on_termination();
        recovery_write_all_now();
        shell.running = false;
        return false;
    }
    i32 exhausted = shell.exhausted_pool.load();
    if (exhausted >= 0) end_after_exhaustion(exhausted);
    u64 input_time = input_first_event_time();
    if (display_is_closed() || input_key_is_pressed(key_quit)) {
        workbench_request_quit();
        // The question must be seen: a minimised or unfocused window draws again.
        if (!workbench_quit_confirmed()) shell.paused = false;
    }
    if (workbench_quit_confirmed()) {
        shell.running = false;
        return false;
    }

    i32 width = 0, height = 0;
    bool resized = display_is_resized(&width, &height);
    if (resized) {
        render.gpu.width = width;
        render.gpu.height = height;
        frame_buffer_resize();
        projection_update();
    }
    if (display_is_minimized() || display_is_focus_lost()) {
        if (!shell.keep_system_cursor) input_mouse_set_visible(true);
        shell.paused = true;
    }
    bool resumed = false;
    if (display_is_focus_gained()) {
        if (!shell.keep_system_cursor) input_mouse_set_visible(false);
        shell.paused = false;
        resumed = true;
    }
    if (input_key_is_pressed(key_overlay)) {
        shell.show_timings = !shell.show_timings;
        shell.show_memory = shell.show_timings;
    }
    if (shell.paused && !resumed) {
        plan_next_frame(false);
        return shell.running;
    }

    // Animations and timers step by the time that really passed; half a second at most,
    // which is also how long a double click may take.
    u64 frame_start = system_performance_counter();
    f64 elapsed = (f64)(frame_start - shell.run.last_frame_start) / (f64)shell.run.counter_frequency;
    core.frame_time = (f32)(elapsed < 0.5 ? elapsed : 0.5);
    shell.run.last_frame_start = frame_start;
    shell.run.frame_start_seconds = (f64)frame_start / (f64)shell.run.counter_frequency;

    bool overlay = shell.show_timings || shell.show_memory;
    // Input and window events are answered with a frame even when the picture stays the
    // same; what runs by itself is drawn only when it changed something.
    bool draw_anyway = input_time != 0 || resized || resumed || display_is_exposed() || overlay || !shell.run.drawn_once;
    begin_frame();
    u64 start = system_performance_counter();
    workbench_frame();
    if (workbench_quit_confirmed()) shell.running = false;
    u64 end = system_performance_counter();
    shell.render_time = (f64)(end - start) / (f64)shell.run.counter_frequency;
    if (overlay) overlay_draw();
    bool drawn = end_frame(draw_anyway);
    if (drawn) startup_step("first_frame_drawn");

    if (drawn) {
        // A window shown again may have lost what it showed: it gets the whole picture.
        frame_present(resized || resumed || display_is_exposed() || !shell.run.drawn_once);
        shell.run.drawn_once = true;
        shell.run.last_present = system_performance_counter();
    }
    if (drawn && shell.reports.startup && !shell.run.first_frame_reported) {
        shell.run.first_frame_reported = true;
        u64 presented = shell.run.last_present;
        printf("first frame presented after %.1f ms (present_ns %llu)\n",
               (f64)(presented - shell.reports.process_start) * 1000.0 / (f64)shell.run.counter_frequency,
               (unsigned long long)presented);
        fflush(stdout);
    }
    if (drawn && shell.reports.latency && input_time != 0) {
        u64 presented = shell.run.last_present;
        f64 ms = presented > input_time ? (f64)(presented - input_time) * 1000.0 / (f64)shell.run.counter_frequency : 0.0;
        printf("latency %.3f present_ns %llu\n", ms, (unsigned long long)presented);
        fflush(stdout);
    }
    plan_next_frame(input_anything_held() || overlay);
    return shell.running;
}

// Takes down only what start-up made, so that a start that failed half-way ends cleanly.
void application_shutdown() {
    recovery_shutdown();
    project_search_shutdown();
    if (shell.run.analysis_started) {
        mutex_lock(analysis.lock);
        analysis.result_slot.running = 0;
        mutex_unlock(analysis.lock);
        signal_post(analysis.wake);
        thread_wait(shell.run.analysis_thread, 0);
        shell.run.analysis_started = false;
    }
    if (analysis.lock) analysis_locks_destroy();
    if (shell.run.graphics_started) {
        resources_destroy();
        gpu_release();
        shell.run.graphics_started = false;
    }
    window_placement_save();
    if (shell.run.graphics_started || core.project_path.length > 0) {
        char buffer[4096];
        StringView project = path_absolute(owned_view(core.project_path), buffer, sizeof buffer);
        if (project.length > 0 && file_exists(project)) last_project_save(project);
    }
    display_close();
    if (shell.run.system_started) system_release();
    shell.run.system_started = false;
    memory.exhausted_hook = nullptr;
    if (shell.run.arenas_owned) {
        arenas_release();
        shell.run.arenas_owned = false;
    }
}

i32 application_main(StringView* arguments, i64 count) {
    shell.exit_on_termination = true;
    if (application_start(arguments, count))
        while (shell.running && application_frame()) application_wait();
    report_frame_count();
    i32 status = shell.exit_status;
    application_shutdown();
    return status;
}
