// The hand-over between the main thread and the analysis thread, with the real thread.
// The stress case is the one CI runs under ThreadSanitizer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "analysis/analysis_state.h"
#include "analysis/analysis_thread.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/completion.h"
#include "editor/document.h"
#include "editor/recolour.h"
#include "editor/text_change.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"
#include "test_support.h"

namespace {

// A colour buffer seen as a text store with its gap at the end, as a document may be.
bool take_into(u8* colours, i64 length) {
    TextStore store{colours, colours, length, length, length, 0, pool_main};
    return analysis_take_result_locked(&store);
}

void ensure_analysis_globals() {
    ensure_arenas();
    static bool done = false;
    if (done) return;
    done = true;
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    ensure_analysis_locks();
}

struct ThreadFixture : ::testing::Test {
    ThreadHandle thread{};
    void SetUp() override {
        ensure_analysis_globals();
        mutex_lock(analysis.lock);
        analysis.request = AnalysisRequest{};
        analysis.result_slot.ready = 0;
        analysis.result_slot.running = 1;
        mutex_unlock(analysis.lock);
        thread = thread_create(analysis_thread_main, nullptr);
    }
    void TearDown() override {
        mutex_lock(analysis.lock);
        analysis.result_slot.running = 0;
        mutex_unlock(analysis.lock);
        thread_wait(thread, 0);
    }
    void post(StringView path, StringView text, u8 kind) {
        StringView stored = source_cache_update(path, text);
        analysis_post_request(path, stored.length > 0, kind);
    }
    // Waits (up to 5 s) for a result and takes it with the given colour buffer.
    bool wait_and_take(u8* colours, i64 length) {
        for (int i = 0; i < 500; i++) {
            mutex_lock(analysis.lock);
            bool taken = take_into(colours, length);
            mutex_unlock(analysis.lock);
            if (taken) return true;
            system_sleep(10);
        }
        return false;
    }
};

TEST_F(ThreadFixture, PlainTextGetsWordColoursAndAnEmptyResult) {
    std::string text = "alpha beta gamma\nfirst second\n";
    std::string colours(text.size(), '\x7f');
    post(SV("notes.txt"), StringView{text.data(), (i64)text.size()}, file_kind_other);
    ASSERT_TRUE(wait_and_take((u8*)colours.data(), (i64)colours.size()));
    EXPECT_EQ(colours[0], 1);   // alpha
    EXPECT_EQ(colours[6], 2);   // beta
    EXPECT_EQ(colours[5], 0);   // the space
    EXPECT_EQ(colours[17], 1);  // a new line starts again at 1
    EXPECT_EQ(analysis.current_result.outline.count, 0);
}

TEST_F(ThreadFixture, ResultOfAnotherLengthLeavesColoursAlone) {
    std::string text = "int x;\n";
    post(SV("a.c"), StringView{text.data(), (i64)text.size()}, file_kind_c);
    std::string colours(text.size() + 3, '\x7f');  // the user typed meanwhile
    ASSERT_TRUE(wait_and_take((u8*)colours.data(), (i64)colours.size()));
    EXPECT_EQ(colours, std::string(text.size() + 3, '\x7f'));
}

TEST_F(ThreadFixture, PendingRequestHoldsBackAnOlderResult) {
    std::string text = "int x;\n";
    post(SV("a.c"), StringView{text.data(), (i64)text.size()}, file_kind_c);
    // Wait until the thread has published, then post again before taking.
    for (int i = 0; i < 500; i++) {
        mutex_lock(analysis.lock);
        bool ready = analysis.result_slot.ready;
        mutex_unlock(analysis.lock);
        if (ready) break;
        system_sleep(5);
    }
    mutex_lock(analysis.lock);
    analysis.request.pending = 1;
    analysis.request.has_text = 0;
    analysis.request.path = SV("a.c");
    analysis.request.kind = file_kind_c;
    std::string colours(text.size(), 0);
    EXPECT_FALSE(take_into((u8*)colours.data(), (i64)colours.size()));
    mutex_unlock(analysis.lock);
}

TEST_F(ThreadFixture, DocumentKindZeroIsNeverAnalysed) {
    std::string text = "x\n";
    post(SV("field"), StringView{text.data(), (i64)text.size()}, file_kind_none);
    system_sleep(150);
    mutex_lock(analysis.lock);
    EXPECT_FALSE(analysis.result_slot.ready);
    EXPECT_FALSE(analysis.request.pending);
    mutex_unlock(analysis.lock);
}

// The main thread edits and posts every "frame", rebuilds the source cache now and then
// and takes results, while the thread analyses. Run under ThreadSanitizer in CI.
TEST_F(ThreadFixture, EditingWhileAnalysingStress) {
    char dir[] = "/tmp/tesmora-handover-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string d = dir;
    auto write = [&](const std::string& name, const std::string& content) {
        FILE* f = fopen((d + "/" + name).c_str(), "wb");
        fwrite(content.data(), 1, content.size(), f);
        fclose(f);
    };
    write("other.vnt", "struct Vec { float x; float y; }\nproc len(Vec v) float { return v.x; }\n");
    write("main.vnt", "proc main() { }\n");
    write("sources.txt", "main.vnt\nother.vnt\n");
    std::string project = d + "/p.project";
    string_assign(&core.project_path, StringView{project.data(), (i64)project.size()}, pool_main);

    std::string text = "proc main() {\n  Vec v;\n}\n";
    std::string colours;
    for (int frame = 0; frame < 400; frame++) {
        pool_reset(pool_frame);
        if (frame % 50 == 0) source_cache_rebuild(SV("sources.txt"));
        text.insert(text.size() - 2, frame % 7 == 0 ? "\n  len(v);" : "x");
        colours.assign(text.size(), 0);
        post(SV("main.vnt"), StringView{text.data(), (i64)text.size()}, file_kind_vantrel);
        mutex_lock(analysis.lock);
        take_into((u8*)colours.data(), (i64)colours.size());
        mutex_unlock(analysis.lock);
        if (frame % 3 == 0) system_sleep(1);
    }
    // The last text once more: its result may already have been taken in the loop.
    post(SV("main.vnt"), StringView{text.data(), (i64)text.size()}, file_kind_vantrel);
    EXPECT_TRUE(wait_and_take((u8*)colours.data(), (i64)colours.size()));
    source_cache_clear();
    core.project_path.length = 0;
}

// Open documents are read in place by the analysis: the main thread types into one,
// grows its storage, moves its gap, shares it again and takes results with colours while
// the thread copies its text. Run under ThreadSanitizer in CI.
TEST_F(ThreadFixture, EditingASharedDocumentWhileAnalysingStress) {
    Document doc{};
    document_init_tab_defaults(&doc);
    string_assign(&doc.path, SV("shared.vnt"), pool_main);
    doc.kind = file_kind_vantrel;
    std::string text = "proc main() {\n    int count = 0;\n}\n";
    document_set_text(&doc, StringView{text.data(), (i64)text.size()});
    for (int frame = 0; frame < 400; frame++) {
        pool_reset(pool_frame);
        i64 middle = document_length(&doc) / 2;
        if (frame % 50 == 49) {
            // Enough to make the store grow (a new block) while the thread may be reading.
            std::string block((size_t)(70 << 10), 'z');
            block += "\n";
            text_insert(&doc, middle, StringView{block.data(), (i64)block.size()}, 0);
        } else if (frame % 5 == 4) {
            text_remove(&doc, middle, 3);
        } else {
            text_insert(&doc, frame % 2 ? middle : document_length(&doc) - 3, SV("x"), 0);
        }
        keep_final_newline(&doc);
        document_mark_changed(&doc);
        if (frame % 97 == 0) document_unshare_text(&doc);
        recolour_document(&doc);
        mutex_lock(analysis.lock);
        editor_take_analysis_result_locked(&doc);
        mutex_unlock(analysis.lock);
        recolour_on_screen(&doc);
        if (frame % 3 == 0) system_sleep(1);
    }
    // One change more, whose result is still to come, arrives and fits.
    text_insert(&doc, document_length(&doc) - 3, SV("y"), 0);
    document_mark_changed(&doc);
    recolour_document(&doc);
    bool last = false;
    for (int i = 0; i < 500 && !last; i++) {
        mutex_lock(analysis.lock);
        last = editor_take_analysis_result_locked(&doc);
        mutex_unlock(analysis.lock);
        if (!last) {
            recolour_on_screen(&doc);
            system_sleep(10);
        }
    }
    EXPECT_TRUE(last);
    EXPECT_EQ(document_colour(&doc, 0), vantrel_kind_declaration_keyword);
    document_reset(&doc);
}

}  // namespace
