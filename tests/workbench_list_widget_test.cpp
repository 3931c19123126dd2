// The tree list widget on the headless back-end: group folding, selection by clicks,
// dragging rows and groups, scrolling and the scrollbar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frame_input.h"
#include "core/core_state.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "test_support.h"
#include "workbench/list_widget.h"

namespace {

const Color marker_color = {0.9f, 0.2f, 0.7f, 1};
const Color track_color = {0.3f, 0.3f, 0.35f, 1};
const Color selection = {0.2f, 0.4f, 0.8f, 1};

class ListWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensure_arenas();
        headless_reset();
        render.gpu = Renderer{};
        theme_set_defaults();
        render.theme.tree_move_color = marker_color;
        render.theme.scrollbar_color = track_color;
        gpu_setup();
        for (int i = 0; i < icon_count; i++) render.icon_textures[i] = texture_create();
        core.frame_time = 1.0f / 60;
        names.clear();
        w = ::ListWidget{};
        list_widget_init(&w, true);
        w.font = nullptr;  // rows are checked by their boxes, not their glyphs
        w.selection_color = selection;
        w.x = 0;
        w.y = 0;
        w.width = 300;
        w.height = 400;
        w.has_focus = 1;
        move(500, 500);  // outside the panel
    }
    void TearDown() override {
        for (int i = 0; i < icon_count; i++) render.icon_textures[i] = 0;
        render.gpu = Renderer{};
    }

    // Rows by a short code: "(" opens a group (open), "[" a closed one, ")" ends one,
    // anything else is a file row named by it.
    void set_rows(const std::vector<std::string>& codes) {
        names = codes;
        w.rows = Array<TreeNode>{};
        for (size_t i = 0; i < names.size(); i++) {
            TreeNode row{};
            row.id = (i32)i;
            row.name = StringView{names[i].data(), (i64)names[i].size()};
            row.is_group_start = names[i] == "(" || names[i] == "[";
            row.is_open = names[i] == "(";
            row.is_group_end = names[i] == ")";
            row.color = Color{1, 1, 1, 1};
            array_append(&w.rows, row);
        }
    }
    std::string order() {
        std::string s;
        for (const TreeNode& r : w.rows) s += std::string(r.name.data, (size_t)r.name.length) + " ";
        return s;
    }
    std::string selected() {
        std::string s;
        for (const TreeNode& r : w.rows)
            if (r.is_selected) s += std::string(r.name.data, (size_t)r.name.length) + " ";
        return s;
    }

    void move(i32 x, i32 y) { headless_mouse_move(x, render.gpu.height - y); }
    void frame() {
        frame_input_begin();
        begin_frame();
        list_widget_frame(&w);
    }
    // The centre of the n-th shown row when every shown row is a full row.
    i32 row_y(int n) { return (i32)(w.y + w.height + w.scroll - 32 * n - 16); }
    void click(i32 x, i32 y) {
        move(x, y);
        headless_mouse_click(mouse_primary);
        frame();
        frame();
    }
    void drag(i32 from_y, i32 to_y) {
        move(100, from_y);
        headless_mouse_down(mouse_primary);
        frame();
        move(100, from_y - 12);
        frame();
        move(100, to_y);
        frame();
        headless_mouse_up(mouse_primary);
        frame();
    }
    i64 draws_of(Color c) {
        i64 n = 0;
        for (i64 i = 0; i < headless_draw_count(); i++) {
            const f32* d = headless_draws()[i].color;
            if (d[0] == c.r && d[1] == c.g && d[2] == c.b && d[3] == c.a) n++;
        }
        return n;
    }

    std::vector<std::string> names;
    ::ListWidget w{};
};

TEST_F(ListWidgetTest, ClosedGroupHidesEverythingToItsEndRowNestedGroupsIncluded) {
    set_rows({"[", "a", "(", "b", ")", ")", "c"});
    const bool shown[] = {true, false, false, false, false, false, true};
    for (int i = 0; i < 7; i++) EXPECT_EQ(list_row_visible(&w, i), shown[i]) << "row " << i;
    EXPECT_EQ(list_group_end(&w, 0), 5);
    EXPECT_EQ(list_group_end(&w, 2), 4);
    EXPECT_EQ(list_group_end(&w, 1), 1);
    frame();
    EXPECT_EQ(w.content_height, 64);

    // Outer open, inner closed: the inner contents and end row go, the outer end stays.
    w.rows[0].is_open = 1;
    w.rows[2].is_open = 0;
    const bool shown2[] = {true, true, true, false, false, true, true};
    for (int i = 0; i < 7; i++) EXPECT_EQ(list_row_visible(&w, i), shown2[i]) << "row " << i;
    frame();
    EXPECT_EQ(w.content_height, 32 * 4 + 16);

    // An unbalanced group runs to the last row.
    set_rows({"(", "a"});
    EXPECT_EQ(list_group_end(&w, 0), 1);
}

TEST_F(ListWidgetTest, ReleasingOverTheGroupIconTogglesTheGroup) {
    set_rows({"(", "a", ")", "b"});
    click(10, row_y(0));
    EXPECT_FALSE(w.rows[0].is_open);
    EXPECT_EQ(selected(), "");  // the icon column does not select
    frame();
    EXPECT_EQ(w.content_height, 64);
    click(10, row_y(0));
    EXPECT_TRUE(w.rows[0].is_open);

    w.has_focus = 0;
    click(10, row_y(0));
    EXPECT_TRUE(w.rows[0].is_open);
}

TEST_F(ListWidgetTest, ClicksSelectWithCtrlAndShift) {
    set_rows({"a", "b", "(", "c", ")", "d", "e"});
    // From the top: a, b, the group, c, the 16-pixel end row, then d and e.
    const i32 d_y = 400 - 160, e_y = 400 - 192;
    // Shift with nothing selected selects only the clicked row.
    headless_key_down(key_shift);
    click(100, row_y(3));
    EXPECT_EQ(selected(), "c ");
    // Then Shift spans from the first selected row to the clicked one, end rows excepted.
    click(100, row_y(0));
    EXPECT_EQ(selected(), "a b ( c ");
    click(100, d_y);
    headless_key_up(key_shift);
    frame();
    EXPECT_EQ(selected(), "a b ( c d ");
    EXPECT_FALSE(w.rows[4].is_selected);

    // Ctrl toggles one row and leaves the rest.
    headless_key_down(key_ctrl);
    click(100, row_y(1));
    EXPECT_EQ(selected(), "a ( c d ");
    click(100, row_y(1));
    EXPECT_EQ(selected(), "a b ( c d ");
    headless_key_up(key_ctrl);
    frame();

    // A plain click on a selected row keeps the selection; on another row it starts over.
    click(100, row_y(0));
    EXPECT_EQ(selected(), "a b ( c d ");
    click(100, e_y);
    EXPECT_EQ(selected(), "e ");

    // Without focus, clicks on rows do nothing; in the icon column neither.
    w.has_focus = 0;
    click(100, row_y(0));
    EXPECT_EQ(selected(), "e ");
    w.has_focus = 1;
    click(10, row_y(0));
    EXPECT_EQ(selected(), "e ");
}

TEST_F(ListWidgetTest, DoubleClickWithinHalfASecondAndNearby) {
    set_rows({"a", "b"});
    core.frame_time = 0.1f;
    auto press_then_wait = [&](int frames) {
        move(100, row_y(0));
        headless_mouse_click(mouse_primary);
        frame();
        EXPECT_FALSE(w.double_clicked);
        for (int i = 0; i < frames; i++) frame();
    };
    // Second press 0.4 s after the first, 15 pixels away: a double click, for one frame.
    press_then_wait(3);
    move(112, row_y(0) + 9);
    headless_mouse_click(mouse_primary);
    frame();
    EXPECT_TRUE(w.double_clicked);
    frame();
    EXPECT_FALSE(w.double_clicked);

    // 0.6 s apart: two single clicks.
    for (int i = 0; i < 10; i++) frame();
    press_then_wait(5);
    move(100, row_y(0));
    headless_mouse_click(mouse_primary);
    frame();
    EXPECT_FALSE(w.double_clicked);

    // In time but too far away (25 pixels): not a double click either.
    for (int i = 0; i < 10; i++) frame();
    press_then_wait(1);
    move(125, row_y(0));
    headless_mouse_click(mouse_primary);
    frame();
    EXPECT_FALSE(w.double_clicked);
}

TEST_F(ListWidgetTest, DraggingAGroupMovesItsStartContentsAndEndTogether) {
    set_rows({"a", "(", "b", "c", ")", "d"});
    // From the top: a, the group, b, c, the 16-pixel end row, then d (centre 240).
    const i32 d_lower_half = 400 - 168;
    click(100, row_y(1));
    EXPECT_EQ(selected(), "( ");
    drag(row_y(1), d_lower_half);  // after d
    EXPECT_EQ(order(), "a d ( b c ) ");
    EXPECT_FALSE(w.dragging);
    EXPECT_FALSE(w.pressed);

    // A row inside a group dropped on the upper half of the first row goes before it.
    click(100, row_y(3));  // "b"
    drag(row_y(3), row_y(0) + 8);
    EXPECT_EQ(order(), "b a d ( c ) ");

    // Dropping a group into itself changes nothing.
    click(100, row_y(3));  // "("
    drag(row_y(3), row_y(4) - 8);
    EXPECT_EQ(order(), "b a d ( c ) ");
}

TEST_F(ListWidgetTest, DropAfterAClosedGroupLandsAfterItsEndRow) {
    set_rows({"a", "[", "b", ")", "c"});
    click(100, row_y(0));
    drag(row_y(0), row_y(1) - 10);  // lower half of the closed group's row
    EXPECT_EQ(order(), "[ b ) a c ");

    // Into an open group: after its start row, inside it.
    set_rows({"a", "(", "b", ")", "c"});
    click(100, row_y(0));
    drag(row_y(0), row_y(1) - 10);
    EXPECT_EQ(order(), "( a b ) c ");
}

TEST_F(ListWidgetTest, DragShowsTheDropMarkerAndNeedsTheThreshold) {
    set_rows({"a", "b", "c"});
    click(100, row_y(0));
    move(100, row_y(0));
    headless_mouse_down(mouse_primary);
    frame();
    move(105, row_y(0) - 5);  // 50 squared pixels: below the threshold
    frame();
    EXPECT_FALSE(w.dragging);
    EXPECT_EQ(draws_of(marker_color), 0);
    move(100, row_y(2) - 10);
    frame();
    EXPECT_TRUE(w.dragging);
    EXPECT_EQ(draws_of(marker_color), 1);
    // Released outside the panel: nothing moves.
    move(500, row_y(2));
    headless_mouse_up(mouse_primary);
    frame();
    EXPECT_FALSE(w.dragging);
    EXPECT_EQ(order(), "a b c ");

    // The minimap's widget never drags.
    w.drag_enabled = 0;
    drag(row_y(0), row_y(2) - 10);
    EXPECT_EQ(order(), "a b c ");
}

TEST_F(ListWidgetTest, FewRowsNeverScrollAndDrawNoScrollbar) {
    set_rows({"a", "b", "c"});
    move(100, 200);
    headless_wheel(-3);
    frame();
    EXPECT_EQ(w.scroll, 0);
    EXPECT_EQ(draws_of(track_color), 0);
    w.scroll = 50;  // left over from a longer list
    frame();
    EXPECT_EQ(w.scroll, 0);
}

TEST_F(ListWidgetTest, WheelScrollsBySeventyTwoPixelsWithinTheContent) {
    std::vector<std::string> many;
    for (int i = 0; i < 50; i++) many.push_back("r" + std::to_string(i));
    set_rows(many);  // 1600 pixels of rows in a 400 pixel panel
    move(100, 200);
    headless_wheel(-1);
    frame();
    EXPECT_EQ(w.scroll, 72);
    EXPECT_GT(draws_of(track_color), 0);
    headless_wheel(-100);
    frame();
    EXPECT_EQ(w.scroll, 1200);
    headless_wheel(2);
    frame();
    EXPECT_EQ(w.scroll, 1200 - 144);
    // Over another panel the wheel does nothing.
    move(500, 200);
    headless_wheel(5);
    frame();
    EXPECT_EQ(w.scroll, 1200 - 144);
    move(100, 200);
    headless_wheel(100);
    frame();
    EXPECT_EQ(w.scroll, 0);
    // A click lands on the row under the mouse with the scroll applied.
    w.scroll = 72;
    click(100, 400 - 5);  // 77 pixels into the content: row 2
    EXPECT_EQ(selected(), "r2 ");
}

TEST_F(ListWidgetTest, DraggingTheThumbScrollsTheList) {
    std::vector<std::string> many;
    for (int i = 0; i < 50; i++) many.push_back("r" + std::to_string(i));
    set_rows(many);
    frame();
    // Thumb: 400 * 400 / 1600 = 100 high, at the top of the track on the right edge.
    EXPECT_EQ(w.thumb_height, 100);
    move(292, 350);
    headless_mouse_down(mouse_primary);
    frame();
    EXPECT_TRUE(w.thumb_dragging);
    EXPECT_EQ(selected(), "");  // the press belongs to the scrollbar
    move(292, 200);  // 150 of 300 pixels of travel
    frame();
    EXPECT_NEAR(w.scroll, 600, 0.01);
    move(292, -500);  // far below: clamped to the end
    frame();
    EXPECT_NEAR(w.scroll, 1200, 0.01);
    headless_mouse_up(mouse_primary);
    frame();
    EXPECT_FALSE(w.thumb_dragging);
}

}  // namespace
