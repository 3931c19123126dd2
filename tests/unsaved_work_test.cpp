// Unsaved work through the whole workbench: quitting, switching projects, save-as,
// documents without a path, duplicate opens, what marks the project unsaved, Escape,
// and files changed by another program.
#include <sys/stat.h>
#include <unistd.h>

#include "core/core_state.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "workbench/workbench_state.h"
#include "workbench_frame_fixture.h"

class UnsavedWork : public WorkbenchFrame {
protected:
    std::string confirm_text() { return str_of(owned_view(workbench.confirm.text)); }
    Document* doc_named(const std::string& path) {
        for (i64 slot = 0; slot < tab_slot_count; slot++)
            if (tab_slot_used(slot) && str_of(owned_view(editor.tab_table.slots[slot].path)) == path)
                return &editor.tab_table.slots[slot];
        return nullptr;
    }
    // Dialog buttons are placed when the dialog is drawn: one frame first.
    void answer(const ToolbarButton& b) {
        frame();
        click_button(b);
    }
    void submit_file_dialog(i32 mode, const std::string& name) {
        ASSERT_TRUE(workbench.file_dialog.open);
        ASSERT_EQ(workbench.file_dialog.mode, mode);
        type(name);
        enter();
    }
};

TEST_F(UnsavedWork, QuitWithAModifiedDocumentAndASavedProjectAsksAndSavesAll) {
    project_with({{"a.vnt", "one\n"}, {"b.vnt", "two\n"}});
    project_save(sv_of(path_of("test.proj")));
    ASSERT_TRUE(workbench.project_saved);
    type("x");  // into b.vnt
    workbench_request_quit();
    ASSERT_TRUE(workbench.confirm.open) << "an edit alone must not let the program end";
    EXPECT_FALSE(workbench_quit_confirmed());
    EXPECT_NE(confirm_text().find("b.vnt"), std::string::npos);
    EXPECT_EQ(confirm_text().find("a.vnt"), std::string::npos);
    answer(workbench.confirm.yes);
    EXPECT_TRUE(workbench_quit_confirmed());
    EXPECT_EQ(read_file("b.vnt"), "xtwo\n");
}

TEST_F(UnsavedWork, QuitReplacesAnOpenDialogWhoseControlsThenAnswerNothing) {
    project_with({{"a.vnt", "one\n"}});
    type("x");
    ctrl_key(key_F);
    ASSERT_TRUE(workbench.prompt.open);
    ToolbarButton prompt_cancel = workbench.prompt.cancel;
    workbench_request_quit();
    EXPECT_FALSE(workbench.prompt.open);
    ASSERT_TRUE(workbench.confirm.open);
    // Where the prompt's "cancel" was drawn is now only the question's panel.
    click_button(prompt_cancel);
    EXPECT_FALSE(workbench_quit_confirmed());
    // A file dialog is replaced the same way.
    answer(workbench.confirm.cancel);
    ctrl_key(key_O);
    ASSERT_TRUE(workbench.file_dialog.open);
    workbench_request_quit();
    EXPECT_FALSE(workbench.file_dialog.open);
    EXPECT_TRUE(workbench.confirm.open);
    EXPECT_FALSE(workbench_quit_confirmed());
}

TEST_F(UnsavedWork, QuitWithSaveAllKeepsRunningWhenASaveFails) {
    project_with({{"a.vnt", "one\n"}});
    project_save(sv_of(path_of("test.proj")));
    type("x");
    // No write bit: refused for every user, root included.
    ASSERT_EQ(chmod(path_of("a.vnt").c_str(), 0444), 0);
    workbench_request_quit();
    answer(workbench.confirm.yes);
    EXPECT_FALSE(workbench_quit_confirmed());
    EXPECT_TRUE(editor.current_document->dirty);
    EXPECT_EQ(read_file("a.vnt"), "one\n");
    EXPECT_EQ(message(headless_message_box_count() - 1), "error: failed to open file for writing: " + path_of("a.vnt"));
}

TEST_F(UnsavedWork, SwitchingProjectsAsksFirst) {
    write_file("other.proj", "files 1\n2 other.vnt\n");
    write_file("other.vnt", "o\n");
    project_with({{"a.vnt", "one\n"}});
    project_save(sv_of(path_of("test.proj")));
    type("x");
    click_button(workbench.buttons[1]);  // open project
    submit_file_dialog(1, "other.proj");
    ASSERT_TRUE(workbench.confirm.open);
    answer(workbench.confirm.cancel);
    EXPECT_EQ(str_of(owned_view(core.project_path)), path_of("test.proj")) << "cancel keeps the project";
    EXPECT_TRUE(editor.current_document->dirty);

    click_button(workbench.buttons[0]);  // new project
    submit_file_dialog(0, "fresh.proj");
    ASSERT_TRUE(workbench.confirm.open);
    answer(workbench.confirm.no);
    EXPECT_EQ(str_of(owned_view(core.project_path)), path_of("fresh.proj"));
    EXPECT_EQ(read_file("a.vnt"), "one\n") << "discard writes nothing";
}

TEST_F(UnsavedWork, SaveAsIsFollowedByTheProjectFileAndItsTab) {
    project_with({{"a.c", "int a;\n"}});
    project_save(sv_of(path_of("test.proj")));
    type("x");
    ctrl_key(key_S, true);
    submit_file_dialog(5, "copy.c");
    EXPECT_EQ(read_file("copy.c"), "xint a;\n");
    EXPECT_EQ(read_file("a.c"), "int a;\n");
    EXPECT_FALSE(editor.current_document->dirty);
    EXPECT_FALSE(workbench.project_saved);
    EXPECT_EQ(str_of(workbench.file_tree.rows[0].name), "copy.c");
    EXPECT_EQ(str_of(workbench.project.tab_entries[0].label), "copy.c");

    project_save(sv_of(path_of("test.proj")));
    project_load(sv_of(path_of("test.proj")));
    ASSERT_NE(editor.current_document, nullptr);
    EXPECT_EQ(str_of(workbench.project.tab_entries[0].label), "copy.c");
    EXPECT_EQ(doc_text(editor.current_document), "xint a;\n");
    // Later saves go to the new file.
    type("y");
    ctrl_key(key_S);
    EXPECT_EQ(read_file("copy.c"), "yxint a;\n");
    EXPECT_EQ(read_file("a.c"), "int a;\n");
}

TEST_F(UnsavedWork, SaveAsOntoAFileOpenInAnotherTabIsRefused) {
    project_with({{"a.c", "1\n"}, {"b.c", "2\n"}});
    type("x");  // b.c
    ctrl_key(key_S, true);
    submit_file_dialog(5, "./a.c");
    EXPECT_EQ(read_file("a.c"), "1\n");
    EXPECT_TRUE(editor.current_document->dirty);
    EXPECT_EQ(str_of(owned_view(editor.current_document->path)), "b.c");
    EXPECT_EQ(message(headless_message_box_count() - 1), "error: already open in another tab: ./a.c");
}

TEST_F(UnsavedWork, ADocumentWithoutAPathAsksForOneWhenSavedOrClosed) {
    // A tab whose id has no file record opens without a path.
    write_file("p.proj", "tabs 1\n7 1 lost.c\n");
    project_load(sv_of(path_of("p.proj")));
    frame();
    ASSERT_NE(editor.current_document, nullptr);
    ASSERT_EQ(editor.current_document->path.length, 0);
    type("keep me");
    ctrl_key(key_S);
    submit_file_dialog(5, "found.c");
    EXPECT_EQ(read_file("found.c"), "keep me\n");
    EXPECT_FALSE(editor.current_document->dirty);
    EXPECT_EQ(str_of(tab_path(7)), "found.c") << "the project records the new file";

    // Closing a modified tab without a path: "save" asks where, then closes.
    project_reset(sv_of(path_of("p.proj")));
    write_file("p.proj", "tabs 1\n8 1 lost2.c\n");
    project_load(sv_of(path_of("p.proj")));
    frame();
    type("more");
    request_close_tab(8);
    answer(workbench.confirm.yes);
    submit_file_dialog(5, "found2.c");
    frame();
    EXPECT_EQ(read_file("found2.c"), "more\n");
    EXPECT_EQ(workbench.project.tab_entries.count, 0);
}

TEST_F(UnsavedWork, OpeningAFileThatIsOpenSwitchesToItsTab) {
    project_with({{"a.vnt", "1\n"}, {"b.vnt", "2\n"}});
    project_add_file(SV("./a.vnt"));
    project_add_file(SV("a.vnt"));
    EXPECT_EQ(editor.tab_paths.count, 2);
    EXPECT_EQ(workbench.project.tab_entries.count, 2);
    EXPECT_EQ(doc_text(editor.current_document), "1\n");
    EXPECT_TRUE(workbench.project.tab_entries[0].is_active);
}

TEST_F(UnsavedWork, TreeAndTabChangesMarkTheProjectUnsaved) {
    project_with({{"a.vnt", "1\n"}, {"b.vnt", "2\n"}});
    append_new_group();
    frame();
    auto saved = [&] {
        project_save(sv_of(path_of("test.proj")));
        return workbench.project_saved;
    };
    // Closing the group by its icon.
    ASSERT_TRUE(saved());
    f32 group_y = workbench.file_tree.y + workbench.file_tree.height - 2 * workbench.file_tree.row_height - workbench.file_tree.row_height / 2;
    click(workbench.file_tree.x + 8, group_y);
    EXPECT_FALSE(workbench.file_tree.rows[2].is_open);
    EXPECT_FALSE(workbench.project_saved);
    // Closing a tab.
    ASSERT_TRUE(saved());
    workbench.project.tab_entries[0].close_requested = 1;
    frame();
    EXPECT_FALSE(workbench.project_saved);
    // Opening one from the tree.
    ASSERT_TRUE(saved());
    for (TreeNode& n : workbench.file_tree.rows) n.is_selected = n.id == workbench.project.tab_entries[0].tab_id ? 0 : n.id != -1;
    view_selected_files();
    EXPECT_EQ(workbench.project.tab_entries.count, 2);
    EXPECT_FALSE(workbench.project_saved);
}

TEST_F(UnsavedWork, EscapeClosesTheDialogOnTopAndThenTheEditorsPopUps) {
    project_with({{"a.vnt", "1\n"}});
    ctrl_key(key_G);
    ASSERT_TRUE(workbench.prompt.open);
    headless_key_tap(key_escape);
    frame();
    EXPECT_FALSE(workbench.prompt.open);
    EXPECT_TRUE(editor.current_document->focused);
    click(500, 300, mouse_secondary);
    ASSERT_TRUE(workbench.menu.open);
    headless_key_tap(key_escape);
    frame();
    EXPECT_FALSE(workbench.menu.open);
    editor.current_document->completion_open = 1;
    editor.current_document->symbol_list_open = 1;
    headless_key_tap(key_escape);
    frame();
    EXPECT_FALSE(editor.current_document->completion_open);
    EXPECT_FALSE(editor.current_document->symbol_list_open);
    EXPECT_EQ(doc_text(editor.current_document), "1\n");
}

TEST_F(UnsavedWork, FilesChangedOnDiskAreReloadedOrAskedAbout) {
    project_with({{"a.vnt", "line one\nline two\n"}, {"b.vnt", "bee\n"}});
    Document* a = doc_named("a.vnt");
    Document* b = doc_named("b.vnt");
    a->cursor = a->anchor = 12;
    // Another program writes both; a is clean, b is modified here.
    type("x");  // b
    write_file("a.vnt", "line one\nline 2\nline three\n");
    write_file("b.vnt", "theirs\n");
    headless_focus_gained();
    frame();
    EXPECT_EQ(doc_text(a), "line one\nline 2\nline three\n");
    EXPECT_EQ(a->cursor, 12) << "the caret stays where it was";
    EXPECT_FALSE(a->dirty);
    ASSERT_TRUE(workbench.confirm.open);
    EXPECT_NE(confirm_text().find("b.vnt changed on disk"), std::string::npos);
    answer(workbench.confirm.cancel);  // keep mine
    EXPECT_EQ(doc_text(b), "xbee\n");
    headless_focus_gained();
    frame();
    EXPECT_FALSE(workbench.confirm.open) << "not asked again for the same change";
    // Saving over their change asks first.
    ctrl_key(key_S);
    ASSERT_TRUE(workbench.confirm.open);
    EXPECT_EQ(read_file("b.vnt"), "theirs\n");
    answer(workbench.confirm.yes);  // overwrite
    EXPECT_EQ(read_file("b.vnt"), "xbee\n");
    // A file that disappears marks its tab and keeps the text.
    unlink(path_of("b.vnt").c_str());
    headless_focus_gained();
    frame();
    EXPECT_TRUE(b->file_missing);
    EXPECT_EQ(doc_text(b), "xbee\n");
    // The reload question answered "reload" takes their text.
    type("y");
    write_file("b.vnt", "again theirs\n");
    headless_focus_gained();
    frame();
    ASSERT_TRUE(workbench.confirm.open);
    answer(workbench.confirm.yes);
    EXPECT_EQ(doc_text(b), "again theirs\n");
    EXPECT_FALSE(b->dirty);
    EXPECT_FALSE(b->file_missing);
}
