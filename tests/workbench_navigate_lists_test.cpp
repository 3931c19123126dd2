// The lists that move through the project: the project search (Ctrl+Shift+F) in the
// results panel, and "go to file or symbol" (Ctrl+P), on frames of the headless workbench.
#include <chrono>
#include <thread>

#include "analysis/analysis_state.h"
#include "workbench/project_search.h"
#include "workbench/results_panel.h"
#include "workbench_frame_fixture.h"

namespace {
class NavigateLists : public WorkbenchFrame {
  protected:
    void TearDown() override {
        if (analysis.lock) mutex_lock(analysis.lock);
        analysis.current_result = AnalysisResult{};
        if (analysis.lock) mutex_unlock(analysis.lock);
        results_panel_close();
        WorkbenchFrame::TearDown();
    }
    void open_prompt_with(i32 key, bool shift, i32 mode, const std::string& text) {
        ctrl_key(key, shift);
        ASSERT_TRUE(workbench.prompt.open);
        ASSERT_EQ(workbench.prompt.mode, mode);
        document_set_text(&workbench.prompt.box, sv_of(text));
        frame();
    }
    // Frames until the worker is done (it has a few seconds: the files are tiny).
    void search_project(const std::string& text) {
        open_prompt_with(key_F, true, 4, text);
        enter();
        for (int i = 0; i < 500 && project_search_progress().running; i++) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            frame();
        }
        ASSERT_FALSE(project_search_progress().running);
    }
    std::string current_path() {
        return editor.current_document ? str_of(owned_view(editor.current_document->path)) : "";
    }
};

TEST_F(NavigateLists, ProjectSearchReadsEveryFileOrItsUnsavedTextAndAClickGoesThere) {
    project_with({{"a.c", "int foo;\n\tfoo(1);\n"},
                  {"b.c", "Foo food\n"},
                  {"bin.dat", std::string("foo\0foo", 7)},
                  {"c.c", "nothing\n"}});
    ASSERT_EQ(current_path(), "c.c");
    type("foo ");
    ASSERT_TRUE(editor.current_document->dirty);

    search_project("foo");
    ProjectSearchProgress p = project_search_progress();
    EXPECT_EQ(p.files_total, 4);
    EXPECT_EQ(p.files_skipped, 1);  // the NUL byte: not text
    EXPECT_EQ(p.total, 5);          // a.c 2, b.c 2 (case folded), c.c 1 as typed, not as saved
    EXPECT_EQ(p.listed, 5);
    EXPECT_TRUE(results_panel_is_open());

    // Alt+W in the prompt: whole words only, and nothing typed into the box.
    open_prompt_with(key_F, true, 4, "foo");
    headless_key_down(key_alt);
    headless_key_tap(key_W);
    frame();
    headless_key_up(key_alt);
    frame();
    EXPECT_TRUE(editor.search.whole_word);
    EXPECT_EQ(str_of(document_text(&workbench.prompt.box)), "foo");
    enter();
    for (int i = 0; i < 500 && project_search_progress().running; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        frame();
    }
    EXPECT_EQ(project_search_progress().total, 4);

    // The first row is a.c's "foo" at line 1, column 5.
    Rect r = workbench.layout.minimap;
    click(r.x + 40, r.y + r.height - 32 - 12);
    EXPECT_EQ(current_path(), "a.c");
    EXPECT_EQ(editor.current_document->cursor, 4);
    headless_key_tap(key_escape);
    frame();
    EXPECT_FALSE(results_panel_is_open());
}

TEST_F(NavigateLists, GoToRanksFilesAndDeclarationsAndOpensTheChosenOne) {
    project_with(
        {{"src/main.c", "int x;\nint z;\n"}, {"src/mesh_info.c", "int y;\n"}, {"util.c", "\n\n\nint make_index;\n"}});
    // A declaration of the last analysis, as a pass over util.c would give it.
    static StringView files[] = {SV("util.c")};
    static DeclarationSite sites[] = {{SV("make_index"), 0, 7, 3, 4, -1, symbol_global},
                                      {SV("mi"), 0, 0, 0, 0, -1, symbol_local}};
    mutex_lock(analysis.lock);
    analysis.current_result.files = Array<StringView>{files, 1, 1, pool_main};
    analysis.current_result.sites = Array<DeclarationSite>{sites, 2, 2, pool_main};
    mutex_unlock(analysis.lock);

    // "mi": the declaration and mesh_info.c start words with both letters, the shorter
    // first; main.c only holds them; a local is not offered.
    open_prompt_with(key_P, false, 5, "mi");
    enter();
    EXPECT_FALSE(workbench.prompt.open);
    EXPECT_EQ(current_path(), "util.c");
    EXPECT_EQ(editor.current_document->cursor, 7);

    open_prompt_with(key_P, false, 5, "mi");
    headless_key_tap(key_down);
    frame();
    headless_key_tap(key_down);
    frame();
    enter();
    EXPECT_EQ(current_path(), "src/main.c");
    EXPECT_EQ(editor.current_document->cursor, 0);  // a file opens at its top
}
}  // namespace
