// A long scripted session of the whole program on the headless back-end, with the real
// analysis thread: edits of every kind across several documents (one of 10 MB), tabs
// opened and closed, the project saved and loaded again and again. Nothing may crash or
// run an arena dry, and once warmed up no arena may keep growing.
// TESMORA_SOAK=1 runs 1,000,000 edits, 10,000 tab opens and closes and 1,000 project
// loads and saves; by default one fiftieth of that (TESMORA_SOAK_FRACTION=N: 1/N).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "app/application.h"
#include "app/shell_state.h"
#include "editor/document.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/search.h"
#include "editor/undo_store.h"
#include "editor/view.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "test_support.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace fs = std::filesystem;

namespace {

const char* const vantrel_block =
    "struct Point {\n    x: f32\n    y: f32\n}\n\nproc length(p: Point) -> f32 {\n    var sum = p.x * p.x + p.y * p.y\n"
    "    if sum > 1.0 {\n        return sum\n    }\n    return 0.5 * sum\n}\n\n";
const char* const c_block =
    "#include <stdio.h>\nstruct pair { int a, b; };\nstatic int add(struct pair p) {\n\treturn p.a + p.b;\n}\n"
    "int main(void) {\n\tstruct pair p = {1, 2};\n\tprintf(\"%d\\n\", add(p));\n\treturn 0;\n}\n";
const char* const glsl_block =
    "uniform vec2 size;\nin vec2 uv;\nout vec4 colour;\nvoid main() {\n    vec2 p = uv * size;\n"
    "    colour = vec4(p, length(p), 1.0);\n}\n";

std::string repeated(const char* block, size_t bytes) {
    std::string s;
    while (s.size() < bytes) s += block;
    return s;
}

struct PoolMarks {
    i64 used[pool_count];
    i64 high_water[pool_count];
};

// Read under analysis_lock: the analysis thread empties pool_output holding it. The
// thread's own pool is seen through the size it reports with each result.
PoolMarks marks() {
    PoolMarks m{};
    mutex_lock(analysis.lock);
    for (int i = 0; i < pool_count; i++) {
        if (i == pool_parser) continue;
        m.used[i] = memory.arenas[i].used;
        m.high_water[i] = memory.arenas[i].high_water;
    }
    m.used[pool_parser] = m.high_water[pool_parser] = analysis.result_slot.parser_used;
    mutex_unlock(analysis.lock);
    return m;
}

bool line_table_matches(const Document* doc) {
    i64 line = 0, run = 0;
    for (i64 i = 0; i < document_length(doc); i++) {
        run++;
        if (document_byte(doc, i) != '\n') continue;
        if (line >= line_count(doc) || line_length(doc, line) != run) return false;
        line++;
        run = 0;
    }
    return line == line_count(doc) - 1 && line_length(doc, line) == run;
}

class SoakSession : public ::testing::Test {
protected:
    std::mt19937 random{7};
    std::string dir, previous_directory;
    bool running = false;
    std::vector<i64> base_sizes;  // by tab id
    struct {
        i64 typed, deleted, undone, redone, cut, pasted, found, replaced, indented, moved, lists, clicked;
        i64 frames, tab_cycles, project_cycles, document_switches, big_document_edits;
    } count{};

    i64 pick(i64 n) { return n <= 0 ? 0 : (i64)(random() % (u64)n); }

    void SetUp() override {
        ensure_arenas();
        headless_reset();
        // Memory-backed when the system has it: every project save syncs 10 MB.
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/tesmora_soak_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        previous_directory = cwd;
        // Settings, theme, font and icons as the program ships them.
        ASSERT_EQ(chdir(TESMORA_SOURCE_DIR), 0);
    }
    void TearDown() override {
        if (running) application_shutdown();
        editor.hooks = EditorHooks{};
        headless_reset();
        EXPECT_EQ(chdir(previous_directory.c_str()), 0);
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    void write(const std::string& name, const std::string& bytes) {
        fs::create_directories(fs::path(dir + "/" + name).parent_path());
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
    }

    // Five open tabs (one of them 10 MB), ten more files to open and close, a sources list.
    std::string make_project() {
        write("main.vnt", repeated(vantrel_block, 20000));
        write("lib/util.vnt", repeated(vantrel_block, 6000));
        write("shapes.c", repeated(c_block, 12000));
        write("shader.glsl", repeated(glsl_block, 4000));
        write("notes.txt", repeated("plain words on a line of notes\n", 3000));
        write("big.vnt", repeated(vantrel_block, (size_t)10 << 20));
        write("sources.txt", "main.vnt\nlib/util.vnt\nshapes.c\nshader.glsl\n");
        std::string files = "files 16\n1 main.vnt\n2 shapes.c\n3 shader.glsl\n4 notes.txt\n5 big.vnt\n6 lib/util.vnt\n";
        std::string nodes = "nodes 16\n1 0 main.vnt\n2 0 shapes.c\n3 0 shader.glsl\n4 0 notes.txt\n5 0 big.vnt\n6 0 util.vnt\n";
        for (int i = 0; i < 10; i++) {
            std::string name = "extra/e" + std::to_string(i) + (i % 2 ? ".vnt" : ".txt");
            write(name, repeated(i % 2 ? vantrel_block : "extra file text\n", 2000 + 500 * (size_t)i));
            files += std::to_string(7 + i) + " " + name + "\n";
            nodes += std::to_string(7 + i) + " 0 e" + std::to_string(i) + "\n";
        }
        std::string text = "tabs 5\n1 1 main.vnt\n2 0 shapes.c\n3 0 shader.glsl\n4 0 notes.txt\n5 0 big.vnt\n" + files +
                           nodes + "sources sources.txt\n";
        write("soak.tproj", text);
        base_sizes.assign(17, 0);
        return dir + "/soak.tproj";
    }

    Document* doc() { return editor.current_document; }

    void poll_and_handle() {
        pool_reset(pool_frame);
        input_poll();
        if (doc()) handle_keys(doc());
    }
    void tap(i32 key, bool shift = false, bool ctrl = false) {
        if (shift) headless_key_down(key_shift);
        if (ctrl) headless_key_down(key_ctrl);
        headless_key_tap(key);
        poll_and_handle();
        if (shift) headless_key_up(key_shift);
        if (ctrl) headless_key_up(key_ctrl);
    }
    void type(const std::string& s) {
        headless_text(StringView{s.data(), (i64)s.size()});
        poll_and_handle();
    }
    void frame() {
        ASSERT_TRUE(application_frame());
        count.frames++;
    }

    i64 base_size(const Document* d) {
        i64 id = d->id;
        return id >= 0 && id < (i64)base_sizes.size() ? base_sizes[(size_t)id] : 0;
    }
    void select_range(i64 length) {
        Document* d = doc();
        i64 start = pick(document_length(d));
        d->anchor = (i32)start;
        d->cursor = (i32)std::min<i64>(document_length(d), start + length);
    }

    // One edit of the kinds a user makes; motion and clicks come in between. Returns
    // true when it was an edit.
    bool random_operation() {
        static const char* const pieces[] = {"a", "x", "value", " ", "(", ")", "{", "}", ";", ".", "p.", "\t",
                                             "\xc3\xa9", "\xe2\x82\xac", "42", "return ", "_id"};
        static const i32 motion[] = {key_left, key_right, key_up, key_down, key_home, key_end, key_page_up, key_page_down};
        Document* d = doc();
        // Documents stay near their size on disk: past it, edits delete.
        bool too_big = document_length(d) > base_size(d) + base_size(d) / 50 + 4096;
        i64 kind = too_big ? 40 : pick(100);
        if (kind < 30) {
            if (pick(8) == 0) tap(key_enter);
            else type(pieces[pick((i64)std::size(pieces))]);
            count.typed++;
        } else if (kind < 40) {
            tap(pick(2) ? key_backspace : key_delete, false, pick(4) == 0);
            count.deleted++;
        } else if (kind < 48) {
            if (too_big) select_range(1 + pick(400));
            else select_range(pick(64));
            tap(key_backspace);
            count.deleted++;
        } else if (kind < 55) {
            tap(key_Z, false, true);
            count.undone++;
        } else if (kind < 60) {
            tap(key_Y, false, true);
            count.redone++;
        } else if (kind < 64) {
            select_range(1 + pick(300));
            tap(key_X, false, true);
            count.cut++;
        } else if (kind < 70) {
            if (pick(3) == 0) {
                select_range(1 + pick(100));
                tap(key_C, false, true);
            }
            tap(key_V, false, true);
            count.pasted++;
        } else if (kind < 74) {
            tap(pick(2) ? key_L : key_J, false, true);
            count.found++;
        } else if (kind < 77) {
            tap(key_T, false, true);
            count.replaced++;
        } else if (kind < 81) {
            select_range(1 + pick(600));
            tap(key_tab, pick(2) == 0);
            count.indented++;
        } else if (kind < 83) {
            // The completion list and the symbol list, fed by the analysis results.
            tap(pick(2) ? key_space : key_B, false, true);
            count.lists++;
            return false;
        } else {
            tap(motion[pick((i64)std::size(motion))], pick(3) == 0, pick(5) == 0);
            count.moved++;
            return false;
        }
        return true;
    }

    void check_document(bool full) {
        Document* d = doc();
        if (!d) return;
        ASSERT_EQ(document_length(d), document_length(d));
        ASSERT_GE(d->cursor, 0);
        ASSERT_LE(d->cursor, document_length(d));
        ASSERT_GE(d->anchor, 0);
        ASSERT_LE(d->anchor, document_length(d));
        ASSERT_EQ(document_byte(d, document_length(d) - 1), '\n');
        if (full) {
            ASSERT_TRUE(line_table_matches(d));
        }
    }

    // A click somewhere in the editor area, or a drag across it.
    void mouse_operation() {
        i32 x = 360 + (i32)pick(600), y = 80 + (i32)pick(600);
        headless_mouse_move(x, y);
        if (pick(3) == 0) {
            headless_mouse_down(mouse_primary);
            frame();
            headless_mouse_move(x + (i32)pick(200) - 100, y + (i32)pick(200) - 100);
            frame();
            headless_mouse_up(mouse_primary);
        } else {
            headless_mouse_click(mouse_primary);
        }
        frame();
        if (pick(4) == 0) headless_wheel((i32)pick(11) - 5);
        count.clicked++;
    }

    void switch_document(bool big) {
        if (workbench.project.tab_entries.count == 0) return;
        i32 id = -1;
        for (const TabEntry& e : workbench.project.tab_entries) {
            i64 slot = find_tab((u32)e.tab_id);
            bool is_big = slot >= 0 && document_length(&editor.tab_table.slots[slot]) > ((i64)8 << 20);
            if (is_big == big && (id < 0 || pick(3) == 0)) id = e.tab_id;
        }
        if (id < 0) return;
        activate_tab(id);
        count.document_switches++;
    }

    // Opens one of the files without a tab, as the file tree does, and closes it through
    // the tab bar.
    void tab_cycle() {
        i32 id = 7 + (i32)pick(10);
        if (find_tab((u32)id) >= 0) return;
        i32 previous = doc() ? (i32)doc()->id : -1;
        StringView path = tab_path(id);
        ASSERT_GT(path.length, 0);
        ASSERT_GE(open_tab(path, (u32)id), 0);
        frame();
        for (TabEntry& e : workbench.project.tab_entries)
            if (e.tab_id == id) e.close_requested = 1;
        frame();
        ASSERT_LT(find_tab((u32)id), 0);
        // Back to the document the user was editing.
        if (previous >= 0) activate_tab(previous);
        count.tab_cycles++;
    }

    void project_cycle(const std::string& path) {
        StringView p{path.data(), (i64)path.size()};
        project_save(p);
        ASSERT_TRUE(workbench.project_saved);
        project_load(p);
        ASSERT_TRUE(workbench.project_saved);
        ASSERT_EQ(workbench.project.tab_entries.count, 5);
        frame();
        count.project_cycles++;
    }
};

TEST_F(SoakSession, MillionEditsTabsAndProjectsKeepEveryArenaBounded) {
    const char* full = getenv("TESMORA_SOAK");
    const char* fraction_text = getenv("TESMORA_SOAK_FRACTION");
    i64 fraction = full && full[0] == '1' ? 1 : 50;
    if (fraction_text && atoi(fraction_text) > 0) fraction = atoi(fraction_text);
    const i64 edits = 1000000 / fraction, tab_cycles = 10000 / fraction, project_cycles = 1000 / fraction;
    std::string project_file = make_project();
    auto started = std::chrono::steady_clock::now();

    std::string argument_project = project_file;
    StringView arguments[] = {SV("-v"), StringView{argument_project.data(), (i64)argument_project.size()}};
    testing::internal::CaptureStdout();  // an "opening" line per load
    ASSERT_TRUE(application_start(arguments, 2));
    running = true;
    ASSERT_EQ(workbench.project.tab_entries.count, 5);
    for (i64 slot = 0; slot < tab_slot_count; slot++)
        if (tab_slot_used(slot)) {
            base_sizes[editor.tab_table.slots[slot].id] = document_length(&editor.tab_table.slots[slot]);
        }
    ASSERT_GT(base_sizes[5], (i64)10 << 20);
    string_assign(&editor.search.search_text, SV("sum"), pool_main);
    string_assign(&editor.search.replace_text, SV("total"), pool_main);

    // Warm-up: every document edited and analysed, the undo store filled by the big
    // document, then a tenth of the run.
    i64 parser_before = 0;  // largest pass before the warm-up ended
    std::vector<i32> open_ids;
    for (const TabEntry& e : workbench.project.tab_entries) open_ids.push_back(e.tab_id);
    for (i32 id : open_ids) {
        activate_tab(id);
        for (int i = 0; i < 40; i++) random_operation();
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
        while (std::chrono::steady_clock::now() < until && !HasFatalFailure()) {
            frame();
            parser_before = std::max(parser_before, marks().used[pool_parser]);
        }
    }
    switch_document(true);
    for (int i = 0; i < 20; i++) {
        doc()->cursor = doc()->anchor = (i32)pick(document_length(doc()));
        tap(key_enter);
        tap(key_backspace);
        count.big_document_edits += 2;
    }
    // Its recovery file is written once before the warm-up ends: the write buffer takes the
    // big document's size then, whenever the worker's turn comes.
    auto written_by = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (doc()->recovery_state_id != doc()->state_id && std::chrono::steady_clock::now() < written_by) frame();
    EXPECT_EQ(doc()->recovery_state_id, doc()->state_id);
    i64 edits_done = 0, next_tab = 0, next_project = 0, operations = 0;
    const i64 warm_up = edits / 10;
    PoolMarks at_warm_up{}, peak_after{};
    bool warmed = false;
    while (edits_done < edits) {
        if (operations % 200 == 0) switch_document(pick(50) == 0);
        if (!doc()) switch_document(false);
        ASSERT_NE(doc(), nullptr);
        if (random_operation()) {
            edits_done++;
            if (document_length(doc()) > ((i64)8 << 20)) count.big_document_edits++;
        }
        operations++;
        check_document(operations % 512 == 0);
        if (HasFatalFailure()) break;
        if (operations % 16 == 0) frame();
        if (operations % 64 == 0) mouse_operation();
        if (edits_done * tab_cycles >= next_tab * edits && next_tab < tab_cycles) {
            tab_cycle();
            next_tab++;
        }
        if (edits_done * project_cycles >= next_project * edits && next_project < project_cycles) {
            project_cycle(project_file);
            next_project++;
        }
        if (HasFatalFailure()) break;
        if (operations % 16 != 0) continue;
        PoolMarks now = marks();
        if (!warmed) {
            parser_before = std::max(parser_before, now.used[pool_parser]);
            if (edits_done >= warm_up) {
                warmed = true;
                at_warm_up = now;
                peak_after = now;
            }
        }
        for (int i = 0; i < pool_count && warmed; i++) peak_after.used[i] = std::max(peak_after.used[i], now.used[i]);
    }
    while (next_tab < tab_cycles && !HasFatalFailure()) {
        tab_cycle();
        next_tab++;
    }
    while (next_project < project_cycles && !HasFatalFailure()) {
        project_cycle(project_file);
        next_project++;
    }
    i64 messages = headless_message_box_count();
    std::string first_message = messages ? std::string(headless_message_box(0)->title) + ": " + headless_message_box(0)->text : "";
    application_shutdown();  // the analysis thread stops: its pool may be read now
    running = false;
    testing::internal::GetCapturedStdout();
    ASSERT_FALSE(HasFatalFailure());
    PoolMarks end{};
    for (int i = 0; i < pool_count; i++) {
        end.used[i] = memory.arenas[i].used;
        end.high_water[i] = memory.arenas[i].high_water;
    }
    f64 seconds = std::chrono::duration<f64>(std::chrono::steady_clock::now() - started).count();

    std::printf("soak (1/%lld): %lld edits (typed %lld, deleted %lld, undone %lld, redone %lld, cut %lld, pasted %lld, "
                "found %lld, replaced %lld, indented %lld; %lld on the 10 MB document), %lld motions, %lld list "
                "openings, %lld clicks, "
                "%lld frames, %lld tab opens and closes, %lld project saves and loads, %lld document switches, "
                "%.1f s\n",
                (long long)fraction, (long long)edits_done, (long long)count.typed, (long long)count.deleted,
                (long long)count.undone, (long long)count.redone, (long long)count.cut, (long long)count.pasted,
                (long long)count.found, (long long)count.replaced, (long long)count.indented,
                (long long)count.big_document_edits, (long long)count.moved, (long long)count.lists, (long long)count.clicked,
                (long long)count.frames, (long long)count.tab_cycles, (long long)count.project_cycles,
                (long long)count.document_switches, seconds);
    std::printf("  %-13s %14s %14s %14s %14s   (pool_parser: the size of each published pass)\n", "pool",
                "capacity", "high water", "at warm-up", "peak after");
    for (int i = 0; i < pool_count; i++)
        std::printf("  %-13s %14lld %14lld %14lld %14lld\n", arena_names[i], (long long)memory.arenas[i].capacity,
                    (long long)end.high_water[i], (long long)at_warm_up.used[i], (long long)peak_after.used[i]);
    std::fflush(stdout);

    EXPECT_EQ(messages, 0) << first_message;
    EXPECT_EQ(count.tab_cycles, tab_cycles);
    EXPECT_EQ(count.project_cycles, project_cycles);
    EXPECT_GT(count.big_document_edits, 0);
    // The main pool holds the documents and the undo store: once both are at their size,
    // it must not grow with the number of edits, tabs or projects.
    EXPECT_LT(peak_after.used[pool_main] - at_warm_up.used[pool_main], (i64)4 << 20);
    // Pools emptied at their fixed points peak where the largest frame, project, source
    // cache or analysis pass puts them; after the warm-up they may only come near it again.
    for (int i : {(int)pool_frame, (int)pool_project, (int)pool_sources, (int)pool_editor, (int)pool_output}) {
        i64 allowed = at_warm_up.high_water[i] + at_warm_up.high_water[i] / 10 + (256 << 10);
        EXPECT_LE(end.high_water[i], allowed) << arena_names[i];
    }
    // An analysis pass takes what its texts need, and the texts stay near their size.
    EXPECT_GT(parser_before, 0);
    EXPECT_LE(peak_after.used[pool_parser], parser_before + parser_before / 10 + (256 << 10));
    for (int i = 0; i < pool_count; i++) EXPECT_LT(end.high_water[i], memory.arenas[i].capacity) << arena_names[i];
}

}  // namespace
