// The tab bar and the panels around the editor: activating, dragging and closing tab
// entries, the minimap, and the tree commands.
#include "workbench_frame_fixture.h"
#include "analysis/analysis_state.h"
#include "editor/editor_state.h"
#include "render/renderer.h"
#include "workbench/workbench_state.h"

class WorkbenchTabs : public WorkbenchFrame {
protected:
    // Screen rectangle of entry i after the last frame.
    f32 entry_left(i64 i) { return workbench.layout.tab_bar.x + workbench.project.tab_entries[i].x + workbench.tab_scroll; }
    f32 bar_middle_y() { return workbench.layout.tab_bar.y + workbench.tab_bar_height / 2; }
    void click_close(i64 i) {
        const TabEntry& e = workbench.project.tab_entries[i];
        click(entry_left(i) + e.width - workbench.tab_bar_height / 2, bar_middle_y());
        frame();  // the request is handled by the next frame
    }
    void click_label(i64 i) { click(entry_left(i) + 4, bar_middle_y()); }
    std::vector<std::string> labels() {
        std::vector<std::string> out;
        for (const TabEntry& e : workbench.project.tab_entries) out.push_back(str_of(e.label));
        return out;
    }
    void fill_minimap(int rows) {
        mutex_lock(analysis.lock);
        workbench.outline.rows = Array<TreeNode>{nullptr, 0, 0, pool_main};
        for (int i = 0; i < rows; i++) {
            TreeNode n{};
            n.id = i * 2;  // 0-based line
            n.name = SV("decl");
            n.color = Color{1, 1, 1, 1};
            array_append(&workbench.outline.rows, n);
        }
        mutex_unlock(analysis.lock);
    }
};

TEST_F(WorkbenchTabs, EntriesAreLaidOutByLabelWidthAndActivatedByAPress) {
    project_with({{"a.vnt", "one\n"}, {"bb.vnt", "two\n"}});
    ASSERT_EQ(labels(), (std::vector<std::string>{"a.vnt", "bb.vnt"}));
    // 8 + label + room for the modified mark + the close square.
    EXPECT_EQ(workbench.project.tab_entries[0].width, 8 + 50 + 16 + 32);
    EXPECT_EQ(workbench.project.tab_entries[1].x, 106);
    EXPECT_TRUE(workbench.project.tab_entries[1].is_active);
    Document* a = &editor.tab_table.slots[0];
    a->completion_open = 1;
    a->symbol_list_open = 1;
    click_label(0);
    EXPECT_FALSE(a->completion_open);
    EXPECT_FALSE(a->symbol_list_open);
    EXPECT_TRUE(workbench.project.tab_entries[0].is_active);
    EXPECT_FALSE(workbench.project.tab_entries[1].is_active);
    EXPECT_EQ(doc_text(editor.current_document), "one\n");
    EXPECT_TRUE(editor.current_document->focused);
    // The active tab's document is the one the editor shows.
    EXPECT_EQ(editor.current_document->x, workbench.layout.editor.x);
}

TEST_F(WorkbenchTabs, DraggingAnEntryPastTheMiddleOfItsNeighbourSwapsThem) {
    project_with({{"a.vnt", "1\n"}, {"b.vnt", "2\n"}, {"c.vnt", "3\n"}});
    f32 start = entry_left(0) + 10;
    move(start, bar_middle_y());
    headless_mouse_down(mouse_primary);
    frame();
    // 50 pixels right: the right edge (106 wide) has not reached b's middle (159).
    move(start + 50, bar_middle_y());
    frame();
    EXPECT_EQ(labels(), (std::vector<std::string>{"a.vnt", "b.vnt", "c.vnt"}));
    move(start + 60, bar_middle_y());
    frame();
    EXPECT_EQ(labels(), (std::vector<std::string>{"b.vnt", "a.vnt", "c.vnt"}));
    // And back to the left past b's middle.
    move(start - 10, bar_middle_y());
    frame();
    EXPECT_EQ(labels(), (std::vector<std::string>{"a.vnt", "b.vnt", "c.vnt"}));
    headless_mouse_up(mouse_primary);
    frame();
    EXPECT_FALSE(workbench.project.tab_entries[0].dragging);
    EXPECT_TRUE(editor.current_document->focused);
}

TEST_F(WorkbenchTabs, TheWheelScrollsTheBarAndTheActiveEntryIsBroughtIntoView) {
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < 8; i++) files.push_back({"file_number_" + std::to_string(i) + ".vnt", "x\n"});
    project_with(files);
    // 8 entries of 8 + 170 + 16 + 32 on a narrower bar: the last (active) one is in view.
    f32 bar = workbench.layout.tab_bar.width;
    EXPECT_EQ(workbench.tab_scroll, bar - 8 * 226);
    move(workbench.layout.tab_bar.x + 20, bar_middle_y());
    headless_wheel(1);
    frame();
    EXPECT_EQ(workbench.tab_scroll, bar - 8 * 226 + 3 * 32);
    headless_wheel(100);
    frame();
    EXPECT_EQ(workbench.tab_scroll, 0);
    // Everything fits once the bar is wide enough.
    workbench.panels_hidden = true;
    render.gpu.width = 4000;
    headless_wheel(-1);
    frame();
    EXPECT_EQ(workbench.tab_scroll, 0);
    render.gpu.width = 1024;
    workbench.panels_hidden = false;
}

TEST_F(WorkbenchTabs, ClosingTheLastTabLeavesNoDocumentAndAnEmptyMinimap) {
    project_with({{"a.vnt", "one\n"}});
    fill_minimap(3);
    frame();
    EXPECT_EQ(workbench.outline.rows.count, 3);
    click_close(0);
    EXPECT_EQ(workbench.project.tab_entries.count, 0);
    EXPECT_EQ(editor.current_document, nullptr);
    EXPECT_FALSE(tab_slot_used(0));
    EXPECT_EQ(workbench.outline.rows.count, 0);
    frame();  // and nothing is drawn for the editor
}

TEST_F(WorkbenchTabs, ClosingTheActiveEntryActivatesTheOneTakingItsPlace) {
    project_with({{"a.vnt", "1\n"}, {"b.vnt", "2\n"}, {"c.vnt", "3\n"}});
    click_label(1);
    click_close(1);
    EXPECT_EQ(labels(), (std::vector<std::string>{"a.vnt", "c.vnt"}));
    EXPECT_TRUE(workbench.project.tab_entries[1].is_active);
    EXPECT_EQ(doc_text(editor.current_document), "3\n");
    click_close(1);
    EXPECT_TRUE(workbench.project.tab_entries[0].is_active);
    EXPECT_EQ(doc_text(editor.current_document), "1\n");
    // Closing an entry that is not active leaves the current document alone.
    project_add_file(SV("b.vnt"));
    frame();
    click_close(0);
    EXPECT_EQ(labels(), (std::vector<std::string>{"b.vnt"}));
    EXPECT_EQ(doc_text(editor.current_document), "2\n");
}

TEST_F(WorkbenchTabs, AModifiedTabAsksBeforeClosing) {
    project_with({{"a.vnt", "one\n"}, {"b.vnt", "two\n"}});
    type("x");  // into b.vnt
    ASSERT_TRUE(editor.current_document->dirty);
    click_close(1);
    ASSERT_TRUE(workbench.confirm.open);
    EXPECT_EQ(str_of(owned_view(workbench.confirm.text)), "save b.vnt?");
    EXPECT_EQ(workbench.pending.kind, pending_close_tab);
    EXPECT_EQ(workbench.pending.tab_id, workbench.project.tab_entries[1].tab_id);
    EXPECT_EQ(workbench.project.tab_entries.count, 2);
    EXPECT_FALSE(workbench.project.tab_entries[1].close_requested);
    // Cancel: nothing closes, the text stays modified.
    click_button(workbench.confirm.cancel);
    frame();
    EXPECT_EQ(workbench.project.tab_entries.count, 2);
    EXPECT_TRUE(editor.current_document->dirty);
    // No: closed without saving.
    click_close(1);
    click_button(workbench.confirm.no);
    frame();
    EXPECT_EQ(labels(), (std::vector<std::string>{"a.vnt"}));
    EXPECT_EQ(read_file("b.vnt"), "two\n");
    // Yes: saved, then closed.
    type("y");  // into a.vnt, now current
    click_close(0);
    ASSERT_TRUE(workbench.confirm.open);
    click_button(workbench.confirm.yes);
    frame();
    EXPECT_EQ(workbench.project.tab_entries.count, 0);
    EXPECT_EQ(read_file("a.vnt"), "yone\n");
}

TEST_F(WorkbenchTabs, SelectingAMinimapRowMovesTheCursorToItsLine) {
    project_with({{"a.vnt", "l1\nl2\nl3\nl4\nl5\n"}});
    fill_minimap(3);  // lines 0, 2, 4
    frame();
    Rect m = workbench.layout.minimap;
    // Row 1 (line 2, 0-based) in the panel's second row.
    click(m.x + 60, m.y + m.height - 32 - 16);
    EXPECT_EQ(editor.current_document->cursor, 6);
    EXPECT_EQ(editor.current_document->anchor, 6);
    for (const TreeNode& n : workbench.outline.rows) EXPECT_FALSE(n.is_selected);
}

TEST_F(WorkbenchTabs, RemovingASelectedGroupTakesItsFilesAndClosesTheirTabs) {
    project_with({{"a.vnt", "1\n"}, {"b.vnt", "2\n"}, {"c.vnt", "3\n"}});
    // Tree: a, [group: b], c.
    TreeNode group = workbench.file_tree.rows[0];
    group.id = -1;
    group.is_group_start = 1;
    group.is_open = 1;
    TreeNode end = group;
    end.is_group_start = 0;
    end.is_group_end = 1;
    array_insert(&workbench.file_tree.rows, 1, group);
    array_insert(&workbench.file_tree.rows, 3, end);
    ASSERT_EQ(workbench.file_tree.rows.count, 5);
    i32 b_id = workbench.file_tree.rows[2].id;
    for (TreeNode& n : workbench.file_tree.rows) n.is_selected = 0;
    workbench.file_tree.rows[1].is_selected = 1;
    workbench.project_saved = true;
    remove_selected_nodes();
    ASSERT_EQ(workbench.file_tree.rows.count, 2);
    EXPECT_EQ(str_of(workbench.file_tree.rows[0].name), "a.vnt");
    EXPECT_EQ(str_of(workbench.file_tree.rows[1].name), "c.vnt");
    EXPECT_FALSE(workbench.project_saved);
    EXPECT_EQ(tab_path(b_id).length, 0);
    EXPECT_EQ(editor.tab_paths.count, 2);
    frame();
    EXPECT_EQ(labels(), (std::vector<std::string>{"a.vnt", "c.vnt"}));
}

TEST_F(WorkbenchTabs, ViewSelectedFilesOpensOrActivatesTheirTabs) {
    project_with({{"a.vnt", "1\n"}, {"b.vnt", "2\n"}});
    click_close(0);
    EXPECT_EQ(labels(), (std::vector<std::string>{"b.vnt"}));
    for (TreeNode& n : workbench.file_tree.rows) n.is_selected = 0;
    workbench.file_tree.rows[0].is_selected = 1;
    view_selected_files();
    EXPECT_EQ(labels(), (std::vector<std::string>{"b.vnt", "a.vnt"}));
    EXPECT_EQ(doc_text(editor.current_document), "1\n");
    workbench.file_tree.rows[0].is_selected = 0;
    workbench.file_tree.rows[1].is_selected = 1;
    view_selected_files();
    EXPECT_EQ(workbench.project.tab_entries.count, 2);
    EXPECT_TRUE(workbench.project.tab_entries[0].is_active);
    EXPECT_EQ(doc_text(editor.current_document), "2\n");
}

TEST_F(WorkbenchTabs, RowsDraggedOutOfTheTreeAreOpenedNotMoved) {
    project_with({{"a.vnt", "1\n"}, {"b.vnt", "2\n"}});
    click_close(0);
    Rect tree = workbench.layout.tree;
    f32 top = tree.y + tree.height;
    move(100, top - 16);  // a.vnt, the first row
    headless_mouse_down(mouse_primary);
    frame();
    move(110, top - 60);
    frame();
    EXPECT_TRUE(workbench.file_tree.dragging);
    move(500, 300);  // over the editor
    frame();
    headless_mouse_up(mouse_primary);
    frame();
    EXPECT_EQ(str_of(workbench.file_tree.rows[0].name), "a.vnt");
    EXPECT_EQ(str_of(workbench.file_tree.rows[1].name), "b.vnt");
    EXPECT_EQ(labels(), (std::vector<std::string>{"b.vnt", "a.vnt"}));
    EXPECT_EQ(doc_text(editor.current_document), "1\n");
}
