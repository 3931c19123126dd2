// The dialogs and the context menu: the file dialog's listing and modes, the input
// dialog's find/replace/goto/rename, the confirmation when quitting, and the settings.
#include "workbench_frame_fixture.h"
#include "analysis/analysis_state.h"
#include "core/core_state.h"
#include "editor/editor_state.h"
#include "workbench/workbench_state.h"

class WorkbenchDialogs : public WorkbenchFrame {
protected:
    std::vector<std::string> listing() {
        std::vector<std::string> out;
        for (i64 i = 0; i < workbench.file_dialog.entries.count; i++) out.push_back(str_of(listing_name(i)));
        return out;
    }
    // Clicks row i of the file dialog's listing (drawn in the last frame).
    void click_listing_row(i64 i) {
        f32 top = 124 + 112 + 340 + workbench.file_dialog.scroll;
        click(300, top - 12 - 24 * (f64)i);
    }
    f32 menu_entry_y(i32 i) { return workbench.menu.y - 32 * (f32)i - 16; }
};

TEST_F(WorkbenchDialogs, FileDialogListsDirectoriesThenFilesAndNavigates) {
    write_file("zeta/z.txt", "");
    write_file("alpha/inner.txt", "");
    write_file("alpha/deeper/d.txt", "");
    write_file("b.txt", "");
    write_file("a.txt", "");
    write_file("A.txt", "");
    frame();
    click_button(workbench.buttons[1]);  // open project: lists the workspace
    ASSERT_TRUE(workbench.file_dialog.open);
    EXPECT_EQ(listing(), (std::vector<std::string>{"alpha", "zeta", "A.txt", "a.txt", "b.txt"}));
    click_listing_row(0);
    EXPECT_EQ(str_of(owned_view(workbench.file_dialog.sub_directory)), "alpha");
    EXPECT_EQ(listing(), (std::vector<std::string>{"..", "deeper", "inner.txt"}));
    click_listing_row(1);
    EXPECT_EQ(str_of(owned_view(workbench.file_dialog.sub_directory)), "alpha/deeper");
    click_listing_row(0);
    EXPECT_EQ(str_of(owned_view(workbench.file_dialog.sub_directory)), "alpha");
    click_listing_row(2);
    EXPECT_EQ(doc_text(&workbench.file_dialog.box), "inner.txt");
    EXPECT_EQ(str_of(file_dialog_chosen_path(SV("inner.txt"))), dir + "/alpha/inner.txt");
    click_listing_row(0);
    EXPECT_EQ(workbench.file_dialog.sub_directory.length, 0);
    EXPECT_EQ(listing().size(), 5u);
    click_button(workbench.file_dialog.cancel);
    EXPECT_FALSE(workbench.file_dialog.open);
}

TEST_F(WorkbenchDialogs, FileDialogScrollsItsListingByTheWheel) {
    for (int i = 0; i < 40; i++) write_file("f" + std::to_string(100 + i) + ".txt", "");
    open_file_dialog(1, SV("open project"), false);
    move(300, 400);
    headless_wheel(-2);
    frame();
    EXPECT_EQ(workbench.file_dialog.scroll, 32);
    headless_wheel(-1000);
    frame();
    EXPECT_EQ(workbench.file_dialog.scroll, 40 * 24 - 340);
    // Row 0 on screen is now the one the scroll brought to the top.
    click_listing_row(30);
    EXPECT_EQ(doc_text(&workbench.file_dialog.box), "f130.txt");
}

TEST_F(WorkbenchDialogs, SaveProjectGoesToTheWorkspaceSubDirectory) {
    write_file("projects/keep.txt", "");
    frame();
    click_button(workbench.buttons[2]);  // no path yet: asks where
    ASSERT_TRUE(workbench.file_dialog.open);
    EXPECT_EQ(workbench.file_dialog.mode, 2);
    click_listing_row(0);
    type("mine.proj");
    enter();
    EXPECT_FALSE(workbench.file_dialog.open);
    EXPECT_EQ(str_of(owned_view(core.project_path)), dir + "/projects/mine.proj");
    EXPECT_TRUE(std::filesystem::exists(path_of("projects/mine.proj")));
    EXPECT_TRUE(workbench.project_saved);
}

TEST_F(WorkbenchDialogs, OpenFileAddsEveryPieceWhenTheWholeNamePasses) {
    new_project();
    write_file("a.vnt", "aa\n");
    write_file("b.vnt", "bb\n");
    write_file("a.vnt|b.vnt", "");
    ctrl_key(key_O);
    type("a.vnt|b.vnt");
    enter();
    ASSERT_EQ(workbench.project.tab_entries.count, 2);
    EXPECT_EQ(str_of(workbench.project.tab_entries[0].label), "a.vnt");
    EXPECT_EQ(str_of(workbench.project.tab_entries[1].label), "b.vnt");
    EXPECT_EQ(doc_text(editor.current_document), "bb\n");
    EXPECT_EQ(workbench.file_tree.rows.count, 2);
    EXPECT_EQ(headless_message_box_count(), 0);
    // A name that does not exist is reported with the chosen path.
    ctrl_key(key_O);
    type("c.vnt");
    enter();
    ASSERT_EQ(headless_message_box_count(), 1);
    EXPECT_EQ(message(0), "error: file does not exist: c.vnt");
    EXPECT_EQ(workbench.project.tab_entries.count, 2);
}

TEST_F(WorkbenchDialogs, NewFileAndSaveFileActOnTheProjectDirectory) {
    new_project();
    ctrl_key(key_N);
    type("fresh.c");
    enter();
    EXPECT_TRUE(std::filesystem::exists(path_of("fresh.c")));
    ASSERT_EQ(workbench.project.tab_entries.count, 1);
    EXPECT_EQ(str_of(tab_path(workbench.file_tree.rows[0].id)), "fresh.c");
    type("int x;");
    ctrl_key(key_S, true);  // save as
    ASSERT_TRUE(workbench.file_dialog.open);
    EXPECT_EQ(workbench.file_dialog.mode, 5);
    type("copy.c");
    enter();
    EXPECT_EQ(read_file("copy.c"), "int x;\n");
    EXPECT_EQ(str_of(owned_view(editor.current_document->path)), "copy.c");
    EXPECT_EQ(str_of(workbench.project.tab_entries[0].label), "copy.c");
    // Ctrl+S without Shift saves to the document's own path.
    type("!");
    ctrl_key(key_S);
    EXPECT_FALSE(workbench.file_dialog.open);
    EXPECT_EQ(read_file("copy.c"), "int x;!\n");
}

TEST_F(WorkbenchDialogs, PromptFindsReplacesAndGoesToALine) {
    project_with({{"a.vnt", "alpha beta\nalpha gamma\nthird\n"}});
    Document* doc = editor.current_document;
    ctrl_key(key_F);
    ASSERT_TRUE(workbench.prompt.open);
    EXPECT_EQ(workbench.prompt.mode, 1);
    EXPECT_EQ(str_of(owned_view(workbench.prompt.title)), "find");
    type("gamma");
    enter();
    EXPECT_FALSE(workbench.prompt.open);
    EXPECT_EQ(document_length(&workbench.prompt.box), 0);  // reset on close
    EXPECT_TRUE(doc->focused);
    EXPECT_EQ(doc->anchor, 17);
    EXPECT_EQ(doc->cursor, 22);

    // Replace starts from the selected match, counts it, replaces it and stays open.
    ctrl_key(key_R);
    ASSERT_EQ(workbench.prompt.mode, 2);
    EXPECT_EQ(doc_text(&workbench.prompt.box), "gamma");
    EXPECT_EQ(workbench.prompt.match_index, 1);
    EXPECT_EQ(workbench.prompt.match_total, 1);
    headless_key_tap(key_tab);
    frame();
    type("delta");
    click_button(workbench.prompt.replace_one);
    EXPECT_EQ(doc_text(doc), "alpha beta\nalpha delta\nthird\n");
    EXPECT_EQ(str_of(owned_view(editor.search.replace_text)), "delta");
    EXPECT_TRUE(workbench.prompt.open);
    // All: every match in one undo step, the count said in a notice.
    document_set_text(&workbench.prompt.box, SV("alpha"));
    frame();
    EXPECT_EQ(workbench.prompt.match_total, 2);
    click_button(workbench.prompt.replace_every);
    EXPECT_FALSE(workbench.prompt.open);
    EXPECT_EQ(doc_text(doc), "delta beta\ndelta delta\nthird\n");
    ASSERT_EQ(workbench.notices.count, 1);
    EXPECT_EQ(str_of(owned_view(workbench.notices.texts[0])), "2 replaced");
    ctrl_key(key_Z);
    EXPECT_EQ(doc_text(doc), "alpha beta\nalpha delta\nthird\n");
    // Ctrl+T with a selection that is not a match does nothing.
    doc->anchor = 0;
    doc->cursor = 3;
    ctrl_key(key_T);
    EXPECT_EQ(doc_text(doc), "alpha beta\nalpha delta\nthird\n");

    ctrl_key(key_G);
    type("3");
    enter();
    EXPECT_EQ(doc->cursor, 23);
    ctrl_key(key_G);
    type("x3");
    enter();
    EXPECT_EQ(doc->cursor, 0);

    // Cancel does nothing but close.
    ctrl_key(key_F);
    type("third");
    click_button(workbench.prompt.cancel);
    EXPECT_EQ(doc->cursor, 0);
    EXPECT_EQ(str_of(owned_view(editor.search.search_text)), "alpha");
}

TEST_F(WorkbenchDialogs, RenameChangesTheSelectedNodesAndKeepsMemoryBounded) {
    project_with({{"a.vnt", "1\n"}, {"b.vnt", "2\n"}, {"c.vnt", "3\n"}});
    workbench.file_tree.rows[0].is_selected = 1;
    workbench.file_tree.rows[2].is_selected = 1;
    workbench.project_saved = true;
    click_button(workbench.buttons[8]);
    ASSERT_TRUE(workbench.prompt.open);
    EXPECT_EQ(workbench.prompt.mode, 0);
    type("renamed");
    enter();
    EXPECT_EQ(str_of(workbench.file_tree.rows[0].name), "renamed");
    EXPECT_EQ(str_of(workbench.file_tree.rows[1].name), "b.vnt");
    EXPECT_EQ(str_of(workbench.file_tree.rows[2].name), "renamed");
    EXPECT_FALSE(workbench.project_saved);
    // A name with line breaks cannot break the project file.
    rename_selected_nodes(SV("two\nlines\r"));
    EXPECT_EQ(str_of(workbench.file_tree.rows[0].name), "twolines");
    // Renaming over and over keeps only the live names.
    workbench.file_tree.rows[2].is_selected = 0;
    for (int i = 0; i < 4; i++) rename_selected_nodes(i % 2 ? SV("first name") : SV("second"));
    i64 main_used = memory.arenas[pool_main].used, project_used = memory.arenas[pool_project].used;
    for (int i = 0; i < 500; i++) rename_selected_nodes(i % 2 ? SV("first name") : SV("second"));
    EXPECT_EQ(memory.arenas[pool_main].used, main_used);
    EXPECT_EQ(memory.arenas[pool_project].used, project_used);
    EXPECT_EQ(str_of(workbench.file_tree.rows[0].name), "first name");
    EXPECT_EQ(str_of(workbench.file_tree.rows[2].name), "twolines");
}

TEST_F(WorkbenchDialogs, ContextMenuRunsItsCommandsOnTheCurrentDocument) {
    project_with({{"a.vnt", "Mixed Case\n"}});
    Document* doc = editor.current_document;
    headless_set_clipboard(SV("old"));
    click(500, 400, mouse_secondary);
    ASSERT_TRUE(workbench.menu.open);
    EXPECT_EQ(workbench.menu.entry_count, 5);
    EXPECT_EQ(str_of(workbench.menu.entries[0].command), "cut");
    EXPECT_FALSE(doc->focused);
    // Cut with nothing selected: the text stays, the clipboard empties, the document
    // counts as changed.
    click(520, menu_entry_y(0));
    EXPECT_FALSE(workbench.menu.open);
    EXPECT_TRUE(doc->focused);
    EXPECT_EQ(doc_text(doc), "Mixed Case\n");
    EXPECT_EQ(headless_clipboard().length, 0);
    EXPECT_TRUE(doc->dirty);
    // Upper case on a selection.
    doc->anchor = 0;
    doc->cursor = 5;
    click(500, 400, mouse_secondary);
    click(520, menu_entry_y(3));
    EXPECT_EQ(doc_text(doc), "MIXED Case\n");
    // Near the bottom the column stands on the pointer; a press outside closes it.
    click(500, 40, mouse_secondary);
    ASSERT_TRUE(workbench.menu.open);
    EXPECT_EQ(workbench.menu.y, 40 + 5 * 32);
    click(900, 700);
    EXPECT_FALSE(workbench.menu.open);
    EXPECT_EQ(doc_text(doc), "MIXED Case\n");
}

TEST_F(WorkbenchDialogs, TreeContextMenuCopiesTheSelectedFilePaths) {
    project_with({{"src/a.vnt", "1\n"}, {"b.vnt", "2\n"}});
    workbench.file_tree.rows[0].is_selected = 1;
    workbench.file_tree.rows[1].is_selected = 1;
    click(100, 600, mouse_secondary);
    ASSERT_TRUE(workbench.menu.open);
    EXPECT_EQ(str_of(workbench.menu.entries[3].label), "Copy file name");
    click(150, menu_entry_y(3));
    EXPECT_EQ(str_of(headless_clipboard()), "src/a.vnt\nb.vnt\n");
}

TEST_F(WorkbenchDialogs, QuitAsksOnlyWhileSomethingIsUnsaved) {
    project_with({{"a.vnt", "1\n"}});
    workbench.project_saved = true;
    workbench_request_quit();
    EXPECT_TRUE(workbench_quit_confirmed()) << "nothing unsaved: no question";

    workbench.quit_confirmed = false;
    workbench.project_saved = false;
    workbench_request_quit();
    ASSERT_TRUE(workbench.confirm.open);
    EXPECT_EQ(str_of(workbench.confirm.yes.label), "save all");
    frame();
    click_button(workbench.confirm.cancel);
    EXPECT_FALSE(workbench_quit_confirmed());
    EXPECT_FALSE(workbench.confirm.open);

    workbench_request_quit();
    frame();
    click_button(workbench.confirm.no);
    EXPECT_TRUE(workbench_quit_confirmed());
    EXPECT_FALSE(std::filesystem::exists(path_of("test.proj"))) << "discard writes nothing";

    workbench.quit_confirmed = false;
    workbench_request_quit();
    frame();
    click_button(workbench.confirm.yes);
    EXPECT_TRUE(workbench_quit_confirmed());
    EXPECT_TRUE(std::filesystem::exists(path_of("test.proj")));
}

TEST_F(WorkbenchDialogs, QuittingWithSaveAllAndNoProjectPathAsksWhereToSaveFirst) {
    workbench.project_saved = false;
    workbench_request_quit();
    frame();
    click_button(workbench.confirm.yes);
    EXPECT_FALSE(workbench_quit_confirmed());
    ASSERT_TRUE(workbench.file_dialog.open);
    EXPECT_EQ(workbench.file_dialog.mode, 2);
    type("last.proj");
    enter();
    EXPECT_TRUE(workbench_quit_confirmed());
    EXPECT_TRUE(std::filesystem::exists(path_of("last.proj")));
}

TEST_F(WorkbenchDialogs, SettingsDialogRebuildsTheSourceCacheFromItsBox) {
    project_with({{"a.vnt", "struct A {}\n"}, {"list.txt", "a.vnt\n"}});
    workbench.project_saved = true;
    click_button(workbench.buttons[11]);
    ASSERT_TRUE(workbench.settings.open);
    EXPECT_EQ(document_length(&workbench.settings.box), 0);
    type("list.txt");
    click_button(workbench.settings.ok);
    EXPECT_FALSE(workbench.settings.open);
    EXPECT_EQ(str_of(owned_view(analysis.source_cache.sources_name)), "list.txt");
    EXPECT_EQ(analysis.source_cache.source_paths.count, 1);
    EXPECT_FALSE(workbench.project_saved);
    // Opened again, it shows the name in use; cancel changes nothing.
    click_button(workbench.buttons[11]);
    EXPECT_EQ(doc_text(&workbench.settings.box), "list.txt");
    type("x");
    click_button(workbench.settings.cancel);
    EXPECT_EQ(str_of(owned_view(analysis.source_cache.sources_name)), "list.txt");
}
