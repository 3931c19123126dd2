// Frames from the "." keystroke to the completion panel on screen, with the real analysis
// thread and the main loop's 12 ms sleep between frames: on the vantrel sample project
// and on a generated project of 100,000 lines.
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "analysis/analysis_state.h"
#include "analysis/analysis_thread.h"
#include "core/core_state.h"
#include "completion_fixture.h"
#include "test_support.h"

namespace {
using namespace completion_test;

constexpr i32 frame_sleep_ms = 12;
constexpr int frame_limit = 2000;

// Results the frame has taken.
int results_taken;

class CompletionLatency : public CompletionFixture {
protected:
    ThreadHandle thread{};
    bool thread_started = false;

    void start_thread() {
        mutex_lock(analysis.lock);
        analysis.result_slot.running = 1;
        mutex_unlock(analysis.lock);
        thread = thread_create(analysis_thread_main, nullptr);
        thread_started = true;
    }
    void TearDown() override {
        if (thread_started) {
            mutex_lock(analysis.lock);
            analysis.result_slot.running = 0;
            mutex_unlock(analysis.lock);
            thread_wait(thread, 0);
        }
        CompletionFixture::TearDown();
    }
    void paced_frame() {
        if (frame()) results_taken++;
        system_sleep(frame_sleep_ms);
    }
    // Frames until the view has taken a result: the one for the latest edit, since a
    // result is taken only while no newer request is pending.
    bool settle() {
        int before = results_taken;
        for (int i = 0; i < frame_limit; i++) {
            paced_frame();
            if (results_taken > before) return true;
        }
        return false;
    }
    // Types `name` on a new line after `anchor`, lets the analysis catch up, then types
    // "." and counts frames (the keystroke's own frame is frame 1) until the panel is drawn.
    int frames_to_panel(const std::string& anchor, const std::string& name, f64* milliseconds) {
        i32 at = offset_of(anchor);
        EXPECT_GE(at, 0);
        doc->cursor = doc->anchor = at + (i32)anchor.size();
        type("\n    " + name);
        EXPECT_TRUE(settle());
        EXPECT_EQ(doc->completion_open, 0);
        u64 start = system_performance_counter();
        headless_text(SV("."));
        for (int frames = 1; frames <= frame_limit; frames++) {
            frame();
            if (!boxes(panel_color).empty()) {
                *milliseconds = (f64)(system_performance_counter() - start) * 1000.0 /
                                (f64)system_performance_frequency();
                return frames;
            }
            system_sleep(frame_sleep_ms);
        }
        return -1;
    }
};


void write_file(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A generated file of about `lines` lines: a struct with members and methods, then
// procedures that use it and call into the next file.
std::string generated_file(int k, int files, int lines) {
    std::string n = std::to_string(k), next = std::to_string((k + 1) % files);
    std::string s = "struct Item" + n + " {\n    int count; real weight; real price;\n";
    s += "    proc total() real { return weight * price; }\n}\n";
    s += "proc helper" + n + "(int v, real w) int { return v * 2; }\n";
    int written = 6;
    for (int j = 0; written + 9 <= lines; j++) {
        std::string p = n + "_" + std::to_string(j);
        s += "proc work" + p + "(Item" + n + " item, int steps) real {\n";
        s += "    real sum = 0.0;\n";
        s += "    for int i = 0 .. steps {\n";
        s += "        sum += item.total() + cast(real) i;\n";
        s += "        item.count = helper" + next + "(item.count, sum);\n";
        s += "    }\n";
        s += "    return sum;\n";
        s += "}\n\n";
        written += 9;
    }
    return s;
}

TEST_F(CompletionLatency, SampleProject) {
    std::string dir = TESMORA_SOURCE_DIR "/examples/vantrel_sample/";
    std::string project = dir + "vantrel_sample.project";
    string_assign(&core.project_path, StringView{project.data(), (i64)project.size()}, pool_main);
    source_cache_rebuild(SV("sources.txt"));
    std::string text = read_file(dir + "main.vnt");
    ASSERT_FALSE(text.empty());
    load(text);  // analysed here, before the thread runs
    start_thread();
    f64 ms = 0;
    int frames = frames_to_panel("    build_scene(&scene);", "scene", &ms);
    ASSERT_GT(frames, 0) << "the list never appeared";
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"bounds", "frame", "shapes"}));
    printf("[ latency  ] sample project: %d frames, %.1f ms from \".\" to the list\n", frames, ms);
    EXPECT_LE(frames, 100);
}

TEST_F(CompletionLatency, HundredThousandLineProject) {
    char dir_template[] = "/tmp/tesmora-completion-XXXXXX";
    ASSERT_NE(mkdtemp(dir_template), nullptr);
    std::string dir = dir_template;
    constexpr int files = 20, lines_per_file = 5000;
    std::string sources;
    i64 total_lines = 0;
    for (int k = 1; k < files; k++) {
        std::string name = "part" + std::to_string(k) + ".vnt";
        std::string body = generated_file(k, files, lines_per_file);
        total_lines += (i64)std::count(body.begin(), body.end(), '\n');
        write_file(dir + "/" + name, body);
        sources += name + "\n";
    }
    std::string main_text = generated_file(0, files, lines_per_file) + "proc main() {\n    Item0 item;\n}\n";
    total_lines += (i64)std::count(main_text.begin(), main_text.end(), '\n');
    write_file(dir + "/main.vnt", main_text);
    sources = "main.vnt\n" + sources;
    write_file(dir + "/sources.txt", sources);
    std::string project = dir + "/big.project";
    string_assign(&core.project_path, StringView{project.data(), (i64)project.size()}, pool_main);
    source_cache_rebuild(SV("sources.txt"));
    EXPECT_GE(total_lines, 99000);

    load(main_text);
    start_thread();
    f64 ms = 0;
    int frames = frames_to_panel("    Item0 item;", "item", &ms);
    ASSERT_GT(frames, 0) << "the list never appeared";
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"count", "price", "total", "weight"}));
    printf("[ latency  ] %lld-line project: %d frames, %.1f ms from \".\" to the list\n", (long long)total_lines,
           frames, ms);
    source_cache_clear();
    std::string cleanup = "rm -rf '" + dir + "'";
    EXPECT_EQ(system(cleanup.c_str()), 0);
}

}  // namespace
