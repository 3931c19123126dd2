// F2 and Alt+Left on frames of the headless workbench, with the analysis run by hand
// between frames as its thread would.
#include "analysis/analysis_thread.h"
#include "syntax/coloring_file.h"
#include "workbench_frame_fixture.h"

namespace {
class GoToDefinition : public WorkbenchFrame {
  protected:
    void SetUp() override {
        WorkbenchFrame::SetUp();
        // The keywords: without them "return x" reads as a declaration of x.
        store_builtin_palettes();
        load_coloring_file(StringView{nullptr, 0});
    }
    void TearDown() override {
        if (analysis.lock) mutex_lock(analysis.lock);
        analysis.current_result = AnalysisResult{};
        analysis.request.pending = 0;
        analysis.result_slot.ready = 0;
        if (analysis.lock) mutex_unlock(analysis.lock);
        WorkbenchFrame::TearDown();
    }
    void analyse() {
        while (analysis_run_pending()) {
        }
        frame();
    }
    void caret_at(const std::string& before) {
        Document* doc = editor.current_document;
        i64 at = (i64)doc_text(doc).find(before);
        ASSERT_GE(at, 0) << before;
        doc->cursor = doc->anchor = (i32)(at + (i64)before.size());
    }
    void key(i32 code, bool alt = false) {
        if (alt) headless_key_down(key_alt);
        headless_key_tap(code);
        frame();
        if (alt) headless_key_up(key_alt);
        frame();
    }
};

TEST_F(GoToDefinition, WaitsForTheAnalysisOfThePresentTextThenGoesAndComesBack) {
    project_with({{"a.c", "int total;\nint main(void) {\n    return total;\n}\n"}});
    analyse();
    Document* doc = editor.current_document;
    ASSERT_NE(doc, nullptr);
    // An edit above both lines: the last result's positions are one line off now.
    caret_at("");
    type("// sum\n");
    caret_at("return to");
    i32 use = doc->cursor;
    key(key_f1 + 1);
    EXPECT_EQ(doc->cursor, use) << "moved by positions of the older text";
    analyse();
    EXPECT_EQ(doc->cursor, (i32)doc_text(doc).find("total;")) << "the answer did not come with the new result";
    key(key_left, true);
    EXPECT_EQ(doc->cursor, use);
    key(key_right, true);
    EXPECT_EQ(doc->cursor, (i32)doc_text(doc).find("total;"));
    // A name nobody declares: a notice, and the caret stays.
    caret_at("(vo");
    i32 at = doc->cursor;
    key(key_f1 + 1);
    EXPECT_EQ(doc->cursor, at);
    EXPECT_GT(workbench.notices.count, 0);
}
}  // namespace
