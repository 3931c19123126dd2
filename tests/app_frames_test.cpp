// The whole program on the headless back-end: start-up, a few frames, the overlay, quit.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "analysis/analysis_state.h"
#include "app/application.h"
#include "app/shell_state.h"
#include "editor/document.h"
#include "editor/editor_state.h"
#include "editor/view.h"
#include "platform/keys.h"
#include "platform/headless/headless.h"
#include "render/font.h"
#include "render/renderer.h"
#include "test_support.h"
#include "workbench/workbench_state.h"

namespace {

// The program's start-up installs hooks into the editor; later tests expect none.
void forget_program_hooks() {
    editor.hooks = EditorHooks{};
    headless_reset();
}

// Window y of a recorded quad's bottom edge, from its transform.
f32 quad_bottom(const RecordedDraw& d) { return (d.mvp[13] + 1.0f) * 0.5f * (f32)render.gpu.height; }

bool is_red(const RecordedDraw& d) { return d.color[0] == 1 && d.color[1] == 0 && d.color[2] == 0 && d.color[3] == 1; }

TEST(ApplicationFrames, StartFramesOverlayAndQuit) {
    ensure_arenas();
    headless_reset();
    StringView args[] = {SV("-i")};
    ASSERT_TRUE(application_start(args, 1));
    EXPECT_TRUE(headless_text_input_enabled());
    EXPECT_FALSE(headless_mouse_visible());
    // The first frame draws the whole window; later ones only what changed.
    ASSERT_TRUE(application_frame());
    i32 area[4];
    headless_last_present_area(area);
    EXPECT_EQ(area[2], -1) << "the first frame is shown whole";

    // Red glyphs of the overlay: the block's last line stands at y = 16. The text ends
    // with a newline, so that last line is empty and the lowest glyphs stand one line
    // higher; nothing reaches below y = 16.
    f32 lowest = 1e9f;
    i64 red = 0;
    for (i64 i = 0; i < headless_draw_count(); i++) {
        const RecordedDraw& d = headless_draws()[i];
        if (!is_red(d)) continue;
        red++;
        if (quad_bottom(d) < lowest) lowest = quad_bottom(d);
    }
    EXPECT_GT(red, 20);
    f32 line = (f32)(render.font.line_height * render.font.size);
    ASSERT_GT(line, 0);
    EXPECT_GE(lowest, 16.0f + line - 1);
    EXPECT_LE(lowest, 16.0f + line + 1);
    // The overlay measures frames: each one is drawn.
    for (int i = 0; i < 2; i++) ASSERT_TRUE(application_frame());
    EXPECT_EQ(headless_present_count(), 3);

    // F12 hides both overlay sections; a close request with a saved project quits.
    headless_key_tap(key_overlay);
    ASSERT_TRUE(application_frame());
    EXPECT_FALSE(shell.show_timings);
    EXPECT_FALSE(shell.show_memory);
    headless_request_close();
    EXPECT_FALSE(application_frame());
    application_shutdown();
    forget_program_hooks();
}

TEST(ApplicationFrames, PausedWhileUnfocusedUntilFocusReturns) {
    ensure_arenas();
    headless_reset();
    ASSERT_TRUE(application_start(nullptr, 0));
    ASSERT_TRUE(application_frame());
    i64 presents = headless_present_count();
    headless_focus_lost();
    ASSERT_TRUE(application_frame());
    EXPECT_TRUE(headless_mouse_visible());
    ASSERT_TRUE(application_frame());
    EXPECT_EQ(headless_present_count(), presents) << "nothing is drawn while paused";
    headless_focus_gained();
    ASSERT_TRUE(application_frame());
    EXPECT_EQ(headless_present_count(), presents + 1);
    EXPECT_FALSE(headless_mouse_visible());
    // The quit key is honoured.
    headless_key_tap(key_quit);
    EXPECT_FALSE(application_frame());
    application_shutdown();
    forget_program_hooks();
}

// SIGTERM or SIGHUP: no question, the modified documents go to recovery files and the
// loop ends. A close request with the same edit asks instead.
TEST(ApplicationFrames, TerminationWritesRecoveryFilesAndEnds) {
    ensure_arenas();
    headless_reset();
    char pattern[] = "/tmp/tesmora_app_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string dir = pattern;
    std::ofstream(dir + "/a.vnt") << "one\n";
    std::ofstream(dir + "/p.project") << "tabs 1\n2 1 a.vnt\nfiles 1\n2 a.vnt\nnodes 0\n";
    std::string previous_state = getenv("XDG_STATE_HOME") ? getenv("XDG_STATE_HOME") : "";
    setenv("XDG_STATE_HOME", (dir + "/state").c_str(), 1);
    std::string project = dir + "/p.project";
    StringView args[] = {StringView{project.data(), (i64)project.size()}};
    ASSERT_TRUE(application_start(args, 1));
    ASSERT_TRUE(application_frame());
    headless_text(SV("x"));
    ASSERT_TRUE(application_frame());
    headless_request_close();
    EXPECT_TRUE(application_frame()) << "a close request asks first";
    headless_request_termination();
    EXPECT_FALSE(application_frame());
    std::vector<std::string> found;
    for (const auto& e : std::filesystem::directory_iterator(dir + "/state/tesmora/recovery"))
        found.push_back(read_file(e.path().string()));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].substr(found[0].size() - 5), "xone\n");
    application_shutdown();
    forget_program_hooks();
    if (previous_state.empty()) unsetenv("XDG_STATE_HOME");
    else setenv("XDG_STATE_HOME", previous_state.c_str(), 1);
    std::filesystem::remove_all(dir);
}

// The analysis thread works in real time, whatever the clock of the loop says.
bool analysis_result_posted_within_seconds(int seconds) {
    for (int i = 0; i < seconds * 1000; i++) {
        mutex_lock(analysis.lock);
        bool ready = analysis.result_slot.ready != 0 && analysis.request.pending == 0;
        mutex_unlock(analysis.lock);
        if (ready) return true;
        system_sleep(1);
    }
    return false;
}

f64 simulated_seconds() { return (f64)system_performance_counter() / (f64)system_performance_frequency(); }

// The loop as the program runs it, over simulated time; returns the presents it made.
i64 run_loop_for(f64 seconds) {
    i64 before = headless_present_count();
    f64 end = simulated_seconds() + seconds;
    while (simulated_seconds() < end) {
        EXPECT_TRUE(application_frame());
        application_wait();
    }
    return headless_present_count() - before;
}

// Frames on change: input and an analysis result are drawn at once, the caret blinks at
// most twice a second for ten seconds, and then the loop draws nothing however long it
// runs, waking only for its timers.
TEST(ApplicationFrames, DrawnOnInputAndOnResultsAndNeverAtRest) {
    ensure_arenas();
    headless_reset();
    char pattern[] = "/tmp/tesmora_rest_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string dir = pattern;
    std::ofstream(dir + "/a.c") << "int main(void) { return 0; }\n";
    std::ofstream(dir + "/p.project") << "tabs 1\n2 1 a.c\nfiles 1\n2 a.c\nnodes 0\n";
    std::string previous_state = getenv("XDG_STATE_HOME") ? getenv("XDG_STATE_HOME") : "";
    setenv("XDG_STATE_HOME", (dir + "/state").c_str(), 1);
    std::string project = dir + "/p.project";
    StringView args[] = {StringView{project.data(), (i64)project.size()}};
    ASSERT_TRUE(application_start(args, 1));
    ASSERT_TRUE(analysis_result_posted_within_seconds(10));
    ASSERT_TRUE(application_frame());
    i64 rows = workbench.outline.rows.count;
    EXPECT_GT(rows, 0);

    headless_simulate_clock(true);
    i64 blinks = run_loop_for(11);
    EXPECT_GE(blinks, 15) << "the caret blinks";
    EXPECT_LE(blinks, 23) << "at most twice a second";
    i64 runs = render.frames.drawn + render.frames.left_out;
    EXPECT_EQ(run_loop_for(60), 0) << "nothing changes: nothing is drawn";
    EXPECT_LE(render.frames.drawn + render.frames.left_out - runs, 31) << "the loop sleeps between its timers";

    // A key: the wait ends at once and the next frame shows it.
    headless_text(SV("int g(void) { return 1; } "));
    f64 typed_at = simulated_seconds();
    application_wait();
    EXPECT_EQ(simulated_seconds(), typed_at);
    i64 presents = headless_present_count();
    ASSERT_TRUE(application_frame());
    EXPECT_EQ(headless_present_count(), presents + 1);
    ASSERT_NE(editor.current_document, nullptr);
    EXPECT_EQ(document_length(editor.current_document), 29 + 26);

    // The analysis of the edit: the loop wakes for its result well before the caret's
    // next change, and draws the new outline row.
    ASSERT_TRUE(analysis_result_posted_within_seconds(10));
    f64 posted_at = simulated_seconds();
    application_wait();
    EXPECT_LT(simulated_seconds() - posted_at, 0.1);
    presents = headless_present_count();
    ASSERT_TRUE(application_frame());
    EXPECT_EQ(workbench.outline.rows.count, rows + 1);
    EXPECT_EQ(headless_present_count(), presents + 1);

    // The pointer trail moves while it fades, then rests.
    headless_mouse_move(500, 300);
    run_loop_for(11);
    EXPECT_EQ(run_loop_for(30), 0);

    // Only the rows a key changed reach the screen.
    headless_text(SV("a"));
    ASSERT_TRUE(application_frame());
    i32 area[4];
    headless_last_present_area(area);
    EXPECT_GT(area[2], 0);
    EXPECT_GT(area[3], 0);
    EXPECT_LT(area[3], render.gpu.height / 4) << area[0] << " " << area[1] << " " << area[2];

    application_shutdown();
    forget_program_hooks();
    if (previous_state.empty()) unsetenv("XDG_STATE_HOME");
    else setenv("XDG_STATE_HOME", previous_state.c_str(), 1);
    std::filesystem::remove_all(dir);
}

}  // namespace
