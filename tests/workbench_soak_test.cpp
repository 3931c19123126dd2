// A long run of random input over the whole workbench on a small project: nothing may
// crash, and the arenas that live across frames must stop growing once warmed up.
// TESMORA_SOAK=1 runs 100,000 frames; the default run is shorter for CI.
#include <cstdio>
#include <random>

#include "workbench_frame_fixture.h"
#include "editor/editor_state.h"
#include "render/renderer.h"
#include "workbench/workbench_state.h"

namespace {
const char* const vantrel_main =
    "struct Point {\n    x: f32\n    y: f32\n}\n\nproc length(p: Point) -> f32 {\n    return p.x * p.x + p.y * p.y\n}\n\n"
    "proc main() {\n    var p: Point\n    p.x = 3\n    print(length(p))\n}\n";
const char* const vantrel_util = "proc twice(n: i32) -> i32 {\n    return n + n\n}\n";
const char* const c_file = "#include <stdio.h>\nint add(int a, int b) { return a + b; }\nint main(void) { return add(1, 2); }\n";
const char* const project_text =
    "tabs 2\n1 0 main.vnt\n3 1 helper.c\nfiles 4\n1 main.vnt\n2 lib/util.vnt\n3 helper.c\n4 notes.txt\n"
    "nodes 6\n-1 5 sources\n1 0 main.vnt\n2 0 util.vnt\n-1 2 \n3 0 helper.c\n4 0 notes.txt\nsources sources.txt\n";

constexpr const char* typed_pieces[] = {"a", "b", "x1", " ", "p.", "(", ")", "{", "}", "|", "main.vnt", "notes.txt",
                                        "lib", "3", "-2", "\n", "\t", "\xc3\xa9", "zz|main.vnt"};
constexpr i32 tapped_keys[] = {key_enter, key_backspace, key_delete, key_left, key_right, key_up, key_down, key_home,
                               key_end, key_page_up, key_page_down, key_tab, key_escape, key_quit};
constexpr i32 ctrl_keys[] = {key_A, key_C, key_X, key_V, key_Z, key_Y, key_F, key_R, key_G, key_L, key_J, key_T,
                             key_W, key_N, key_O, key_S, key_E, key_Q, key_B, key_space, key_match_case};

struct PoolMarks {
    i64 used[pool_count];
};
PoolMarks marks() {
    PoolMarks m{};
    for (int i = 0; i < pool_count; i++) m.used[i] = memory.arenas[i].used;
    return m;
}
}  // namespace

class WorkbenchSoak : public WorkbenchFrame {
protected:
    std::mt19937 random{12345};
    int pick(int n) { return (int)(random() % (unsigned)n); }
    f64 coordinate(f64 limit) { return (f64)(random() % (unsigned)limit); }

    void restore_project() {
        write_file("demo.proj", project_text);
        write_file("main.vnt", vantrel_main);
        write_file("lib/util.vnt", vantrel_util);
        write_file("helper.c", c_file);
        write_file("notes.txt", "plain words here\nand more\n");
        write_file("sources.txt", "main.vnt\nlib/util.vnt\nhelper.c\n");
        std::string p = path_of("demo.proj");
        project_load(sv_of(p));
    }

    // A point on one of the places where something happens, or anywhere.
    void aim() {
        const WorkbenchLayout& l = workbench.layout;
        switch (pick(8)) {
        case 0: move(coordinate(700), 768 - 24); break;                            // toolbar
        case 1: move(l.tab_bar.x + coordinate(400), l.tab_bar.y + 16); break;      // tab bar
        case 2: move(coordinate(330), coordinate(720)); break;                     // tree
        case 3: move(212 + coordinate(600), 134 + coordinate(500)); break;          // dialogs
        case 4: move(workbench.menu.x + coordinate(320), workbench.menu.y - coordinate(170)); break;
        default: move(coordinate(1100) - 40, coordinate(850) - 40); break;
        }
    }

    void click_dialog_button() {
        WorkbenchState& w = workbench;
        ToolbarButton* choices[] = {&w.file_dialog.ok, &w.file_dialog.cancel, &w.prompt.ok,     &w.prompt.cancel,
                                     &w.confirm.yes,    &w.confirm.no,         &w.confirm.cancel, &w.settings.ok,
                                     &w.settings.cancel};
        ToolbarButton* b = choices[pick(9)];
        move(b->x + 5 + coordinate(100), b->y + 5 + coordinate(20));
        headless_mouse_click(mouse_primary);
    }

    void queue_random_input() {
        switch (pick(16)) {
        case 0: case 1: aim(); break;
        case 2: case 3: aim(); headless_mouse_click(mouse_primary); break;
        case 4: aim(); headless_mouse_click(mouse_secondary); break;
        case 5: aim(); headless_mouse_down(mouse_primary); break;
        case 6: headless_mouse_up(mouse_primary); break;
        case 7: headless_wheel(pick(7) - 3); break;
        case 8: case 9: headless_text(sv_of(typed_pieces[pick((int)std::size(typed_pieces))])); break;
        case 10: headless_key_tap(tapped_keys[pick((int)std::size(tapped_keys))]); break;
        case 11:
            headless_key_down(key_ctrl);
            headless_key_tap(ctrl_keys[pick((int)std::size(ctrl_keys))]);
            break;
        case 12: headless_key_up(key_ctrl); headless_key_up(key_shift); break;
        case 13: headless_key_down(key_shift); break;
        case 14: if (modal_dialog_open()) click_dialog_button(); break;
        default: {
            // New and open project mostly leave an empty project behind: rarer.
            int index = pick(toolbar_button_count);
            if (index < 2 && pick(4) != 0) index = 2 + pick(toolbar_button_count - 2);
            const ToolbarButton& b = workbench.buttons[index];
            move(b.x + 20, b.y + 20);
            headless_mouse_click(mouse_primary);
            break;
        }
        }
    }
};

TEST_F(WorkbenchSoak, RandomUseNeitherCrashesNorGrowsTheArenas) {
    const char* full = getenv("TESMORA_SOAK");
    const int total = full && full[0] == '1' ? 100000 : 20000;
    const int warm_up = total / 5;
    string_assign(&workbench.workspace, sv_of(dir), pool_main);
    restore_project();
    ASSERT_EQ(workbench.project.tab_entries.count, 2);
    for (int i = 0; i < pool_count; i++) memory.arenas[i].high_water = memory.arenas[i].used;

    PoolMarks after_warm_up{}, peak_after_warm_up{};
    i64 frame_peak = 0, project_peak = 0;
    i64 most_stars = 0;
    struct {
        i64 with_document, file_dialog, prompt, confirm, settings, menu, most_tabs;
    } stats{};
    for (int n = 0; n < total; n++) {
        queue_random_input();
        frame();
        if (n % 8 == 7) headless_key_up(key_ctrl);
        shell.running = true;  // quitting is answered, but the run goes on
        if (n % 64 == 0) headless_clear_message_boxes();
        // Every so often the project is opened afresh, as a user would reopen it.
        if (n % 1000 == 999) restore_project();
        if (editor.current_document) stats.with_document++;
        if (workbench.file_dialog.open) stats.file_dialog++;
        if (workbench.prompt.open) stats.prompt++;
        if (workbench.confirm.open) stats.confirm++;
        if (workbench.settings.open) stats.settings++;
        if (workbench.menu.open) stats.menu++;
        stats.most_tabs = std::max(stats.most_tabs, (i64)workbench.project.tab_entries.count);
        frame_peak = std::max(frame_peak, memory.arenas[pool_frame].used);
        project_peak = std::max(project_peak, memory.arenas[pool_project].used);
        most_stars = std::max(most_stars, draws_with_texture(render.icon_textures[icon_star]));
        if (n == warm_up) after_warm_up = marks();
        if (n > warm_up)
            for (int i = 0; i < pool_count; i++)
                peak_after_warm_up.used[i] = std::max(peak_after_warm_up.used[i], memory.arenas[i].used);
    }
    std::printf("soak: %d frames; with a document %lld, file dialog %lld, prompt %lld, confirm %lld, "
                "settings %lld, menu %lld; most tabs %lld\n",
                total, (long long)stats.with_document, (long long)stats.file_dialog, (long long)stats.prompt,
                (long long)stats.confirm, (long long)stats.settings, (long long)stats.menu,
                (long long)stats.most_tabs);
    for (int i = 0; i < pool_count; i++)
        std::printf("  %-13s high water %10lld  at warm-up %10lld  peak after %10lld\n", arena_names[i],
                    (long long)memory.arenas[i].high_water, (long long)after_warm_up.used[i],
                    (long long)peak_after_warm_up.used[i]);
    std::fflush(stdout);

    EXPECT_LE(most_stars, trail_point_count);
    EXPECT_LT(frame_peak, 1 << 20);
    EXPECT_LT(project_peak, 1 << 20);
    // After the warm-up the main pool only grows as the documents and the files on disk
    // grow (the run types into them and saves them): tens of kilobytes, not a share of
    // every frame.
    EXPECT_LT(peak_after_warm_up.used[pool_main] - after_warm_up.used[pool_main], 1 << 20);
}
