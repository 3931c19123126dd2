// Room for the code and the small things around it: the panels' share of the window, the
// gutter and the scrollbar beside the text, hiding the panels, the modified mark, the
// tree following the tabs, the outline handing the keyboard back, toolbar names, and
// opaque dialogs.
#include "workbench_frame_fixture.h"
#include "analysis/analysis_state.h"
#include "editor/editor_state.h"
#include "editor/view.h"
#include "render/renderer.h"
#include "workbench/workbench_state.h"

namespace {
struct Box {
    f64 x, y, width, height;
};

// The window box of a recorded quad (its mvp holds scale and translation).
Box box_of(const RecordedDraw& d) {
    f64 w = render.gpu.width, h = render.gpu.height;
    return Box{(d.mvp[12] + 1) * 0.5 * w, (d.mvp[13] + 1) * 0.5 * h, d.mvp[0] * 0.5 * w, d.mvp[5] * 0.5 * h};
}

// The test font puts each glyph at its code point's atlas x.
bool is_glyph(const RecordedDraw& d, char c) {
    return d.texture == render.font.texture && (i32)(d.uv_rect[0] * 256 + 0.5f) == c;
}

bool is_panel(const RecordedDraw& d) {
    Color c = opaque_panel_color();
    return d.color[0] == c.r && d.color[1] == c.g && d.color[2] == c.b;
}

// Columns of text the editor shows beside its gutter and scrollbar (glyphs are 10 wide).
f64 editor_columns(const Document* doc) {
    return (doc->x + doc->width - doc->scrollbar_width - view_text_area_left(doc)) / 10;
}
}  // namespace

class WorkbenchRoom : public WorkbenchFrame {
protected:
    void TearDown() override {
        render.gpu.width = 1024;
        render.gpu.height = 768;
        projection_update();
        WorkbenchFrame::TearDown();
    }
    void window(i32 width, i32 height) {
        render.gpu.width = width;
        render.gpu.height = height;
        projection_update();
        frame();
    }
    i64 tree_row_of(const char* name) {
        for (i64 i = 0; i < workbench.file_tree.rows.count; i++)
            if (str_of(workbench.file_tree.rows[i].name) == name) return i;
        return -1;
    }
    // Wraps rows [first, last] of the tree in a closed group.
    void group_rows(i64 first, i64 last) {
        TreeNode start{};
        start.id = -1;
        start.name = SV("group");
        start.is_group_start = 1;
        TreeNode end = start;
        end.is_group_start = 0;
        end.is_group_end = 1;
        array_insert(&workbench.file_tree.rows, last + 1, end);
        array_insert(&workbench.file_tree.rows, first, start);
    }
};

TEST_F(WorkbenchRoom, PanelsTakeTheirShareAndTheEditorKeepsItsColumnsAtEverySize) {
    project_with({{"a.vnt", std::string(200, '\n')}});
    const Document* doc = editor.current_document;
    // Wide: a fifth each, and far more than 80 columns.
    window(1920, 1080);
    EXPECT_EQ(workbench.tree_width, 384);
    EXPECT_EQ(workbench.minimap_width, 384);
    // Less wide: both panels give way equally until the editor has its 80 columns.
    window(1280, 800);
    EXPECT_LT(workbench.tree_width, 256);
    EXPECT_EQ(workbench.tree_width, workbench.minimap_width);
    EXPECT_NEAR(editor_columns(doc), 80, 0.2);
    // 80 columns would squeeze the panels below their least width: they stop there.
    window(1024, 768);
    EXPECT_EQ(workbench.tree_width, panel_least_width);
    EXPECT_EQ(workbench.minimap_width, panel_least_width);
    EXPECT_GT(editor_columns(doc), 50);
    // Small windows: the panels give up room, never the editor's least columns.
    for (i32 width : {700, 400, 320}) {
        window(width, 500);
        EXPECT_GE(editor_columns(doc), 20) << width;
        EXPECT_EQ(doc->x, workbench.layout.editor.x);
        EXPECT_GE(workbench.tree_width, 0) << width;
        // The scrollbar stands right of the text area, not over the line numbers.
        bool scrollbar_drawn = false;
        for (i64 i = 0; i < headless_draw_count(); i++) {
            const RecordedDraw& d = headless_draws()[i];
            if (d.texture != doc->scrollbar_texture || d.color[0] != doc->scrollbar_color.r ||
                d.color[3] != doc->scrollbar_color.a)
                continue;
            scrollbar_drawn = true;
            EXPECT_GE(box_of(d).x, view_text_area_left(doc) + 20 * 10) << width;
        }
        EXPECT_TRUE(scrollbar_drawn) << width;
    }
    EXPECT_EQ(workbench.tree_width, 0) << "320 pixels hold the editor alone";
    EXPECT_EQ(workbench.minimap_width, 0);
    // A bar dragged is the user's width, kept while the window has room for it.
    window(1920, 1080);
    f32 bar_x = workbench.layout.left_bar.x + 6;
    move(bar_x, 300);
    headless_mouse_down(mouse_primary);
    frame();
    move(bar_x + 100, 300);
    frame();
    headless_mouse_up(mouse_primary);
    frame();
    EXPECT_EQ(workbench.tree_width, 484);
    window(1024, 768);
    EXPECT_GE(editor_columns(doc), 20);
    window(1920, 1080);
    EXPECT_EQ(workbench.tree_width, 484);
    EXPECT_EQ(workbench.minimap_width, 384);
}

TEST_F(WorkbenchRoom, GutterStaysAndTextIsClippedBetweenItAndTheScrollbar) {
    std::string long_line(300, 'x');
    std::string text;
    for (int i = 0; i < 80; i++) text += long_line + "\n";
    project_with({{"a.vnt", text}});
    Document* doc = editor.current_document;
    doc->smooth_scroll = 0;
    auto number_one_x = [&] {
        for (i64 i = 0; i < headless_draw_count(); i++)
            if (is_glyph(headless_draws()[i], '1')) return box_of(headless_draws()[i]).x;
        return -1.0;
    };
    frame();
    f64 before = number_one_x();
    ASSERT_GT(before, doc->x);
    headless_key_tap(key_end);
    frame();
    frame();
    ASSERT_LT(doc->scroll_x, 0) << "the caret at the end of a long line scrolls sideways";
    EXPECT_EQ(number_one_x(), before);
    // Every glyph of the text is cut to the text area: right of the gutter, left of the
    // scrollbar.
    f32 left = view_text_area_left(doc), right = doc->x + doc->width - doc->scrollbar_width;
    i64 text_glyphs = 0;
    for (i64 i = 0; i < headless_draw_count(); i++) {
        const RecordedDraw& d = headless_draws()[i];
        if (!is_glyph(d, 'x')) continue;
        text_glyphs++;
        ASSERT_TRUE(d.scissor_enabled);
        EXPECT_EQ(d.scissor[0], (i32)left);
        EXPECT_EQ(d.scissor[0] + d.scissor[2], (i32)right);
    }
    EXPECT_GT(text_glyphs, 100);
}

TEST_F(WorkbenchRoom, CtrlShiftBHidesAndShowsBothPanels) {
    project_with({{"a.vnt", "one\n"}});
    f32 tree = workbench.tree_width;
    ASSERT_GT(tree, 0);
    ctrl_key(key_B, true);
    EXPECT_EQ(workbench.layout.editor.x, 0);
    EXPECT_EQ(workbench.layout.editor.width, 1024);
    EXPECT_EQ(workbench.layout.tree.width, 0);
    EXPECT_EQ(workbench.layout.minimap.width, 0);
    EXPECT_FALSE(editor.current_document->symbol_list_open) << "not the editor's Ctrl+B";
    ctrl_key(key_B, true);
    EXPECT_EQ(workbench.tree_width, tree);
    EXPECT_EQ(workbench.layout.editor.x, tree + workbench.bar_width);
}

TEST_F(WorkbenchRoom, AModifiedTabShowsAMarkUntilSaved) {
    project_with({{"a.vnt", "one\n"}});
    Rect bar = workbench.layout.tab_bar;
    u32 dot = render.icon_textures[icon_sphere];
    auto marks = [&] {
        i64 n = 0;
        for (i64 i = 0; i < headless_draw_count(); i++) {
            const RecordedDraw& d = headless_draws()[i];
            Box b = box_of(d);
            if (d.texture == dot && b.y >= bar.y && b.y + b.height <= bar.y + bar.height) n++;
        }
        return n;
    };
    frame();
    EXPECT_EQ(marks(), 0);
    type("x");
    frame();
    EXPECT_EQ(marks(), 1);
    ctrl_key(key_S);
    frame();
    EXPECT_EQ(marks(), 0);
    EXPECT_EQ(read_file("a.vnt"), "xone\n");
}

TEST_F(WorkbenchRoom, TheTreeSelectsTheActiveTabsFileAndRevealsItOnCtrlShiftE) {
    project_with({{"a.vnt", "1\n"}, {"b.vnt", "2\n"}, {"c.vnt", "3\n"}});
    i64 b = tree_row_of("b.vnt");
    i32 a_id = workbench.file_tree.rows[tree_row_of("a.vnt")].id;
    activate_tab(a_id);
    frame();
    for (i64 i = 0; i < workbench.file_tree.rows.count; i++)
        EXPECT_EQ(workbench.file_tree.rows[i].is_selected, i == tree_row_of("a.vnt")) << i;
    // b inside a closed group, the group inside another: revealing opens both.
    group_rows(b, b);
    group_rows(b, b + 2);
    i32 b_id = workbench.file_tree.rows[tree_row_of("b.vnt")].id;
    activate_tab(b_id);
    frame();
    EXPECT_TRUE(workbench.file_tree.rows[tree_row_of("b.vnt")].is_selected);
    EXPECT_FALSE(list_row_visible(&workbench.file_tree, tree_row_of("b.vnt")));
    workbench.project_saved = true;
    ctrl_key(key_E, true);
    EXPECT_TRUE(list_row_visible(&workbench.file_tree, tree_row_of("b.vnt")));
    EXPECT_TRUE(workbench.file_tree.rows[b].is_open && workbench.file_tree.rows[b + 1].is_open);
    EXPECT_FALSE(workbench.project_saved) << "open groups are part of the project";
    EXPECT_EQ(editor.current_document->zoom, 1) << "Ctrl+Shift+E is not the zoom";
    i64 selected = 0;
    for (const TreeNode& n : workbench.file_tree.rows) selected += n.is_selected;
    EXPECT_EQ(selected, 1);
}

TEST_F(WorkbenchRoom, ClickingAnOutlineRowPutsTheKeyboardBackInTheEditor) {
    project_with({{"a.vnt", "l1\nl2\nl3\n"}});
    mutex_lock(analysis.lock);
    workbench.outline.rows = Array<TreeNode>{nullptr, 0, 0, pool_main};
    TreeNode row{};
    row.id = 2;  // the third line
    row.name = SV("decl");
    array_append(&workbench.outline.rows, row);
    mutex_unlock(analysis.lock);
    frame();
    Rect m = workbench.layout.minimap;
    click(m.x + 60, m.y + m.height - 16);
    ASSERT_TRUE(editor.current_document->focused);
    type("z");
    EXPECT_EQ(doc_text(editor.current_document), "l1\nl2\nzl3\n");
    ctrl_key(key_G);
    EXPECT_TRUE(workbench.prompt.open);
}

TEST_F(WorkbenchRoom, ToolbarButtonsShowTheirNameAfterHalfASecondOfHover) {
    headless_simulate_clock(true);
    frame();
    const ToolbarButton& open_file = workbench.buttons[4];
    auto tip_drawn = [&] {
        for (i64 i = 0; i < headless_draw_count(); i++)
            if (is_glyph(headless_draws()[i], '+')) return true;  // "Open file (Ctrl+O)"
        return false;
    };
    EXPECT_EQ(str_of(toolbar_tooltip(4)), "Open file (Ctrl+O)");
    move(open_file.x + 10, open_file.y + 10);
    frame();
    headless_advance_clock(400 * 1000000LL);
    frame();
    EXPECT_FALSE(tip_drawn());
    EXPECT_GE(render.frames.wanted_in, 0) << "a frame is asked for when the name is due";
    headless_advance_clock(150 * 1000000LL);
    frame();
    EXPECT_TRUE(tip_drawn());
    // Another button starts the wait again; leaving the toolbar puts the name away.
    const ToolbarButton& save = workbench.buttons[5];
    move(save.x + 10, save.y + 10);
    frame();
    EXPECT_FALSE(tip_drawn());
    move(500, 300);
    headless_advance_clock(600 * 1000000LL);
    frame();
    EXPECT_FALSE(tip_drawn());
}

TEST_F(WorkbenchRoom, RenameStartsWithTheCurrentNameSelected) {
    project_with({{"a.vnt", "1\n"}, {"b.vnt", "2\n"}});
    for (TreeNode& n : workbench.file_tree.rows) n.is_selected = 0;
    workbench.file_tree.rows[tree_row_of("a.vnt")].is_selected = 1;
    frame();
    click_button(workbench.buttons[8]);
    ASSERT_TRUE(workbench.prompt.open);
    const Document& box = workbench.prompt.box;
    EXPECT_EQ(doc_text(&box).substr(0, 5), "a.vnt");
    EXPECT_EQ(box.anchor, 0);
    EXPECT_EQ(box.cursor, 5);
    type("main.vnt");
    enter();
    EXPECT_FALSE(workbench.prompt.open);
    EXPECT_GE(tree_row_of("main.vnt"), 0);
}

TEST_F(WorkbenchRoom, FileDialogTakesAbsolutePathsHomeAndCompletesNamesWithTab) {
    project_with({{"src/alpha_one.c", "1\n"}, {"src/alpha_two.c", "2\n"}, {"src/beta.c", "3\n"}});
    ctrl_key(key_O);
    ASSERT_TRUE(workbench.file_dialog.open);
    const Document* box = &workbench.file_dialog.box;
    // Tab: as far as the names agree, then a folder's name with its slash.
    type("sr");
    headless_key_tap(key_tab);
    frame();
    EXPECT_EQ(doc_text(box).substr(0, 4), "src/");
    type("al");
    headless_key_tap(key_tab);
    frame();
    EXPECT_EQ(doc_text(box).substr(0, 10), "src/alpha_");
    EXPECT_EQ(doc_text(box).find('\t'), std::string::npos);
    // A folder typed and entered is shown, the dialog stays, and its path is on screen.
    document_set_text(&workbench.file_dialog.box, sv_of(path_of("src")));
    enter();
    ASSERT_TRUE(workbench.file_dialog.open);
    EXPECT_EQ(str_of(file_dialog_directory()), path_of("src"));
    // Absolute paths reach the project relative to its directory.
    EXPECT_EQ(str_of(file_dialog_chosen_path(sv_of(path_of("src/beta.c")))), "src/beta.c");
    EXPECT_EQ(str_of(file_dialog_chosen_path(SV("beta.c"))), "src/beta.c");
    std::string home = getenv("HOME") ? getenv("HOME") : "";
    EXPECT_EQ(str_of(expand_home(SV("~/notes.txt"))), home + "/notes.txt");
    EXPECT_EQ(str_of(expand_home(SV("~x"))), "~x");
    std::string outside = std::filesystem::path(dir).parent_path().string() + "/elsewhere.c";
    EXPECT_EQ(str_of(file_dialog_chosen_path(sv_of(outside))), "../elsewhere.c");
    document_set_text(&workbench.file_dialog.box, sv_of(path_of("src/alpha_one.c")));
    enter();
    EXPECT_FALSE(workbench.file_dialog.open);
    EXPECT_EQ(doc_text(editor.current_document), "1\n");
}

TEST_F(WorkbenchRoom, DialogsAndPopUpsHideWhatIsBehindThem) {
    project_with({{"a.vnt", "one\n"}});
    render.theme.menu_background_color = Color{0.3f, 0.2f, 0.1f, 0.5f};  // see-through in the theme
    ctrl_key(key_F);
    ASSERT_TRUE(workbench.prompt.open);
    frame();
    EXPECT_EQ(workbench.prompt.box.background.a, 1);
    Rect editor_box = workbench.layout.editor;
    bool panel = false;
    for (i64 i = 0; i < headless_draw_count(); i++) {
        const RecordedDraw& d = headless_draws()[i];
        Box b = box_of(d);
        if (b.width < 500 || b.height < 200 || !is_panel(d)) continue;
        panel = true;
        EXPECT_EQ(d.color[3], 1);
    }
    EXPECT_TRUE(panel);
    headless_key_tap(key_escape);
    frame();
    click(editor_box.x + 100, editor_box.y + 100, mouse_secondary);
    ASSERT_TRUE(workbench.menu.open);
    bool column = false;
    for (i64 i = 0; i < headless_draw_count(); i++) {
        const RecordedDraw& d = headless_draws()[i];
        if (box_of(d).width != context_menu_width || !is_panel(d)) continue;
        column = true;
        EXPECT_EQ(d.color[3], 1);
    }
    EXPECT_TRUE(column);
}

TEST_F(WorkbenchRoom, AtScaleTwoEverySizeOfTheWorkbenchDoubles) {
    struct Sizes {
        f32 toolbar, tab_bar, bar, tree, row, button_x, tab_width, glyph_height, dialog_width, menu_width;
    };
    auto measure = [&] {
        project_with({{"a.vnt", "one\n"}});
        frame();
        Sizes s{};
        s.toolbar = workbench.layout.toolbar.height;
        s.tab_bar = workbench.layout.tab_bar.height;
        s.bar = workbench.layout.left_bar.width;
        s.tree = workbench.layout.tree.width;
        s.row = workbench.file_tree.row_height;
        s.button_x = workbench.buttons[11].x;
        s.tab_width = workbench.project.tab_entries[0].width;
        Rect bar = workbench.layout.tab_bar;
        for (i64 i = 0; i < headless_draw_count(); i++) {
            const RecordedDraw& d = headless_draws()[i];
            Box b = box_of(d);
            if (d.texture == render.font.texture && b.y >= bar.y && b.y < bar.y + bar.height) s.glyph_height = (f32)b.height;
        }
        ctrl_key(key_G);
        for (i64 i = 0; i < headless_draw_count(); i++) {
            const RecordedDraw& d = headless_draws()[i];
            if (is_panel(d) && box_of(d).height > 100 * workbench.scale)
                s.dialog_width = (f32)box_of(d).width;
        }
        headless_key_tap(key_escape);
        frame();
        Rect e = workbench.layout.editor;
        click(e.x + 50, e.y + 50, mouse_secondary);
        for (i64 i = 0; workbench.menu.open && i < headless_draw_count(); i++) {
            const RecordedDraw& d = headless_draws()[i];
            if (is_panel(d) && box_of(d).x == workbench.menu.x)
                s.menu_width = (f32)box_of(d).width;
        }
        headless_key_tap(key_escape);
        frame();
        return s;
    };
    Sizes one = measure();
    workbench_init(WorkbenchConfig{owned_view(shell.workspace_path), false, 2});
    window(2048, 1536);
    Sizes two = measure();
    EXPECT_EQ(workbench.scale, 2);
    EXPECT_EQ(two.toolbar, 2 * one.toolbar);
    EXPECT_EQ(two.tab_bar, 2 * one.tab_bar);
    EXPECT_EQ(two.bar, 2 * one.bar);
    EXPECT_EQ(two.tree, 2 * one.tree);
    EXPECT_EQ(two.row, 2 * one.row);
    EXPECT_EQ(two.button_x, 2 * one.button_x);
    EXPECT_EQ(two.tab_width, 2 * one.tab_width);
    EXPECT_EQ(two.glyph_height, 2 * one.glyph_height);
    EXPECT_EQ(two.dialog_width, 2 * one.dialog_width);
    EXPECT_EQ(two.menu_width, 2 * one.menu_width);
    EXPECT_GT(one.glyph_height, 0);
    EXPECT_GT(one.dialog_width, 0);
    EXPECT_EQ(editor.current_document->zoom, 2) << "the editor's text too";
    EXPECT_EQ(workbench.prompt.box.zoom, 2);
}
