// The workbench's frame: resize bars, toolbar buttons and shortcuts, focus, the
// background image and the pointer trail.
#include "workbench_frame_fixture.h"
#include "core/core_state.h"
#include "editor/editor_state.h"
#include "render/renderer.h"
#include "workbench/workbench_state.h"

namespace {
const ToolbarButton& button(int number) { return workbench.buttons[number - 1]; }

bool same_color(const f32* c, Color want) { return c[0] == want.r && c[1] == want.g && c[2] == want.b && c[3] == want.a; }

}  // namespace

class WorkbenchWindow : public WorkbenchFrame {
protected:
    void drag(f64 from_x, f64 to_x, f64 y) {
        move(from_x, y);
        headless_mouse_down(mouse_primary);
        frame();
        move(to_x, y);
        frame();
        headless_mouse_up(mouse_primary);
        frame();
    }
};

TEST_F(WorkbenchWindow, ResizeBarsFollowTheMouseAndStayWithinTheWindow) {
    frame();
    // 1024 pixels cannot give the editor 80 columns: both panels are at their least width.
    EXPECT_EQ(workbench.tree_width, panel_least_width);
    EXPECT_EQ(workbench.minimap_width, panel_least_width);
    // The left bar (180..192) follows the mouse, keeping where it was grabbed.
    drag(186, 286, 300);
    EXPECT_EQ(workbench.tree_width, 280);
    // Dragged past the right bar it stops where the editor keeps its least columns.
    f32 least_editor = editor_width_for_columns(editor_least_columns);
    drag(286, 1010, 300);
    EXPECT_EQ(workbench.minimap_width, panel_least_width);
    EXPECT_EQ(workbench.tree_width, 1024 - 2 * 12 - panel_least_width - least_editor);
    EXPECT_EQ(workbench.layout.editor.width, least_editor);
    // The right bar cannot push the left panel either.
    f32 right_bar = workbench.layout.right_bar.x + 6;
    drag(right_bar, 100, 300);
    EXPECT_EQ(workbench.minimap_width, panel_least_width);
    EXPECT_EQ(workbench.tree_width, 1024 - 2 * 12 - panel_least_width - least_editor);
    // Dragging the left bar off the window's left edge gives a tree of width 0.
    drag(workbench.layout.left_bar.x + 6, -50, 300);
    EXPECT_EQ(workbench.tree_width, 0);
    drag(workbench.layout.right_bar.x + 6, 2000, 300);
    EXPECT_EQ(workbench.minimap_width, 0);
    // The regions follow: the editor fills what is left.
    EXPECT_EQ(workbench.layout.editor.x, 12);
    EXPECT_EQ(workbench.layout.editor.width, 1024 - 24);
    EXPECT_EQ(workbench.layout.editor.height, 768 - 48 - 32);
}

TEST_F(WorkbenchWindow, ResizeBarsIgnoreTheMouseWhileADialogIsOpen) {
    open_prompt(1, SV("find"));
    drag(186, 500, 300);
    EXPECT_EQ(workbench.tree_width, panel_least_width);
}

TEST_F(WorkbenchWindow, ButtonsWithoutAProjectAreDisabledButTheShortcutsStillWork) {
    frame();
    for (int n : {4, 5, 6, 7, 9, 10, 11}) EXPECT_TRUE(button(n).disabled) << n;
    for (int n : {1, 2, 3, 8, 12}) EXPECT_FALSE(button(n).disabled) << n;
    // Disabled: dark cover, then the icon in half its colour.
    Color dimmed = color_scale(render.theme.new_file_color, 0.5f);
    bool found = false;
    for (i64 i = 0; i < headless_draw_count(); i++) {
        const RecordedDraw& d = headless_draws()[i];
        if (d.texture == render.icon_textures[icon_sphere] && same_color(d.color, dimmed)) found = true;
    }
    EXPECT_TRUE(found);

    click_button(button(4));
    EXPECT_FALSE(workbench.file_dialog.open);
    ctrl_key(key_N);
    ASSERT_TRUE(workbench.file_dialog.open);
    EXPECT_EQ(workbench.file_dialog.mode, 3);
    EXPECT_EQ(str_of(owned_view(workbench.file_dialog.title)), "new file");
    click_button(workbench.file_dialog.cancel);
    EXPECT_FALSE(workbench.file_dialog.open);
    ctrl_key(key_O);
    EXPECT_TRUE(workbench.file_dialog.open);
    EXPECT_EQ(workbench.file_dialog.mode, 4);
    EXPECT_TRUE(workbench.file_dialog.relative);
}

TEST_F(WorkbenchWindow, ButtonsFollowTheProjectTheSelectionAndModifiedDocuments) {
    project_with({{"a.vnt", "one\n"}});
    EXPECT_FALSE(button(4).disabled);
    EXPECT_FALSE(button(5).disabled);
    EXPECT_TRUE(button(6).disabled);  // not modified
    type("x");
    frame();
    EXPECT_FALSE(button(6).disabled);
    EXPECT_FALSE(button(7).disabled);
    // The tree selected the active tab's file; without a selection the tree buttons rest.
    EXPECT_FALSE(button(9).disabled);
    for (TreeNode& n : workbench.file_tree.rows) n.is_selected = 0;
    frame();
    EXPECT_TRUE(button(9).disabled);
    workbench.file_tree.rows[0].is_selected = 1;
    frame();
    EXPECT_FALSE(button(9).disabled);
    EXPECT_FALSE(button(11).disabled);
    // Button 6 saves the current document.
    click_button(button(6));
    EXPECT_EQ(read_file("a.vnt"), "xone\n");
    EXPECT_FALSE(editor.current_document->dirty);
}

TEST_F(WorkbenchWindow, ButtonsClickOnReleaseAfterAPressInside) {
    frame();
    const ToolbarButton& group = button(8);
    // Laid out with a gap of half a button after the third and before the twelfth.
    EXPECT_EQ(button(3).x, 96);
    EXPECT_EQ(button(4).x, 48 * 3 + 24);
    EXPECT_EQ(button(12).x, 48 * 11 + 48);
    EXPECT_EQ(group.y, 768 - 48);

    move(group.x + 10, group.y + 10);
    headless_mouse_down(mouse_primary);
    frame();
    EXPECT_TRUE(group.held);
    EXPECT_EQ(workbench.file_tree.rows.count, 0);
    // Released away from the button while held: still a click.
    move(600, 300);
    headless_mouse_up(mouse_primary);
    frame();
    ASSERT_EQ(workbench.file_tree.rows.count, 2);
    EXPECT_TRUE(workbench.file_tree.rows[0].is_group_start && workbench.file_tree.rows[0].is_open);
    EXPECT_EQ(str_of(workbench.file_tree.rows[0].name), "new group");
    EXPECT_EQ(workbench.file_tree.rows[0].id, -1);
    EXPECT_TRUE(workbench.file_tree.rows[1].is_group_end);
    EXPECT_FALSE(group.held);
    // Pressed elsewhere and released on the button: nothing.
    move(600, 300);
    headless_mouse_down(mouse_primary);
    frame();
    move(group.x + 10, group.y + 10);
    headless_mouse_up(mouse_primary);
    frame();
    EXPECT_EQ(workbench.file_tree.rows.count, 2);
}

TEST_F(WorkbenchWindow, EditorFocusFollowsPressesAndDialogs) {
    project_with({{"a.vnt", "one\n"}});
    Document* doc = editor.current_document;
    ASSERT_NE(doc, nullptr);
    click(100, 300);  // the file tree
    EXPECT_FALSE(doc->focused);
    EXPECT_TRUE(workbench.file_tree.has_focus);
    click(500, 300);  // the editor
    EXPECT_TRUE(doc->focused);
    ctrl_key(key_F);
    ASSERT_TRUE(workbench.prompt.open);
    EXPECT_FALSE(doc->focused);
    EXPECT_FALSE(workbench.file_tree.has_focus);
    EXPECT_FALSE(workbench.outline.has_focus);
    EXPECT_TRUE(workbench.prompt.box.focused);
    click_button(workbench.prompt.cancel);
    EXPECT_FALSE(workbench.prompt.open);
    EXPECT_TRUE(doc->focused);
    EXPECT_TRUE(workbench.file_tree.has_focus);
    EXPECT_TRUE(workbench.outline.has_focus);
}

TEST_F(WorkbenchWindow, ZoomShortcutsScaleEveryOpenDocumentWhileHeld) {
    project_with({{"a.vnt", "one\n"}, {"b.vnt", "two\n"}});
    editor.tab_table.slots[0].scroll_y = 100;
    headless_key_down(key_ctrl);
    headless_key_down(key_E);
    frame();
    f32 grown = 1 + 0.5f / 60;
    EXPECT_FLOAT_EQ(editor.tab_table.slots[0].zoom, grown);
    EXPECT_FLOAT_EQ(editor.tab_table.slots[1].zoom, grown);
    EXPECT_FLOAT_EQ(editor.tab_table.slots[0].target_scroll_y, editor.tab_table.slots[0].scroll_y);
    headless_key_up(key_E);
    headless_key_down(key_Q);
    frame();
    EXPECT_FLOAT_EQ(editor.tab_table.slots[1].zoom, grown * (1 - 0.5f / 60));
    headless_key_up(key_Q);
    headless_key_up(key_ctrl);
    frame();
}

TEST_F(WorkbenchWindow, BackgroundImageCoversTheWindowKeepingItsAspect) {
    render.theme.background_path = SV("wide.png");
    render.background_texture = texture_create();
    render.background_width = 200;
    render.background_height = 100;
    frame();
    bool found = false;
    for (i64 i = 0; i < headless_draw_count(); i++) {
        const RecordedDraw& d = headless_draws()[i];
        if (d.texture != render.background_texture) continue;
        found = true;
        // A 2:1 image on a 4:3 window: two thirds of its width, centred.
        EXPECT_NEAR(d.uv_rect[2], (1024.0 / 768) / 2, 1e-5);
        EXPECT_NEAR(d.uv_rect[0], (1 - (1024.0 / 768) / 2) / 2, 1e-5);
        EXPECT_EQ(d.uv_rect[3], 1);
    }
    EXPECT_TRUE(found);
    render.theme.background_path = StringView{nullptr, 0};
    render.background_texture = 0;
    render.background_width = render.background_height = 0;
}

TEST_F(WorkbenchWindow, PointerTrailFadesFromStartToEndAndComesToRest) {
    u32 star = render.icon_textures[icon_star];
    Color s = render.theme.mouse_start_color, e = render.theme.mouse_end_color;
    frame();
    ASSERT_EQ(draws_with_texture(star), 1) << "the pointer itself";
    move(300, 200);
    frame();
    frame();
    ASSERT_EQ(draws_with_texture(star), 2) << "the pointer and where it was";
    // One frame old: life 0.9, most of the way from the end colour back to the start.
    i64 faded = 0;
    for (i64 i = 0; i < headless_draw_count(); i++) {
        const RecordedDraw& d = headless_draws()[i];
        if (d.texture != star || d.color[3] == s.a) continue;
        faded++;
        EXPECT_NEAR(d.color[0], e.r + (s.r - e.r) * 0.9f, 1e-4);
        EXPECT_NEAR(d.color[3], e.a + (s.a - e.a) * 0.9f, 1e-4);
    }
    EXPECT_EQ(faded, 1);
    EXPECT_GE(render.frames.wanted_in, 0) << "a fading trail asks for frames";
    // At 1/60 s a point lives ten frames; then the pointer rests and asks for none.
    frames(11);
    EXPECT_EQ(draws_with_texture(star), 1);
    f32 angle = workbench.trail.angle;
    frame();
    EXPECT_LT(render.frames.wanted_in, 0);
    EXPECT_EQ(workbench.trail.angle, angle) << "a star at rest does not turn";
    // With very short frames every point stays alive: never more than the trail holds.
    core.frame_time = 1e-5f;
    i64 most = 0;
    for (int i = 0; i < 1100; i++) {
        move(100 + i % 700, 100 + i % 500);
        frame();
        i64 n = draws_with_texture(star);
        most = n > most ? n : most;
    }
    EXPECT_EQ(most, trail_point_count + 1);
    // The system pointer shown: no trail.
    workbench.keep_system_cursor = true;
    frame();
    EXPECT_EQ(draws_with_texture(star), 0);
}
