// The editor view on the headless back-end: layout, scrolling, mouse selection and the
// boxes and glyphs it draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "app/frame_input.h"
#include "core/core_state.h"
#include "editor/document.h"
#include "editor/editor_state.h"
#include "editor/search.h"
#include "editor/view.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "editor/motion.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "glyph_rows_fixture.h"
#include "test_support.h"

namespace {

const Color band_color = {0.11f, 0.12f, 0.13f, 1};
const Color good_color = {0.21f, 0.22f, 0.23f, 1};
const Color bad_color = {0.31f, 0.32f, 0.33f, 1};
const Color neutral_color = {0.41f, 0.42f, 0.43f, 1};
const Color pressed_thumb = {0.51f, 0.52f, 0.53f, 1};
const Color hover_thumb = {0.61f, 0.62f, 0.63f, 1};
const Color caret_color = {0.9f, 0.1f, 0.1f, 1};
const Color selection_color = {0.1f, 0.9f, 0.1f, 0.5f};
const Color number_color = {0.1f, 0.1f, 0.9f, 1};
const Color thumb_color = {0.7f, 0.7f, 0.7f, 1};
const Color box_color = {0.05f, 0.05f, 0.05f, 1};
const Color palette[3] = {{0.8f, 0.8f, 0.8f, 1}, {0.8f, 0.6f, 0.2f, 1}, {0.3f, 0.8f, 0.3f, 1}};

bool same_rgb(const f32* c, Color want) { return c[0] == want.r && c[1] == want.g && c[2] == want.b; }
bool same_color(const f32* c, Color want) { return same_rgb(c, want) && c[3] == want.a; }

struct Box {
    f64 left, bottom, width, height;
    f32 alpha;
    u32 texture;
};

// Calls the view makes to the hooks.
int context_menu_calls;
Document* context_menu_doc;

class EditorView : public ::testing::Test {
protected:
    void SetUp() override {
        ensure_arenas();
        headless_reset();
        render.gpu = Renderer{};
        theme_set_defaults();
        render.theme.highlight_color = band_color;
        render.theme.good_match_color = good_color;
        render.theme.bad_match_color = bad_color;
        render.theme.neutral_match_color = neutral_color;
        render.theme.pressed_color = pressed_thumb;
        render.theme.hover_color = hover_thumb;
        gpu_setup();
        std::string info = font_info_text();
        ASSERT_TRUE(font_parse(&test_font, StringView{info.data(), (i64)info.size()}, SV("fixture/font_info.txt")));
        test_font.texture = texture_create();
        for (int i = 0; i < icon_count; i++) render.icon_textures[i] = texture_create();
        white = render.icon_textures[icon_white];
        editor.search.whole_word = editor.search.match_case = false;
        editor.hooks = EditorHooks{};
        editor.view_sets_pointer_shape = false;
        core.frame_time = 1.0f / 60;
        context_menu_calls = 0;

        document_init_tab_defaults(&doc);
        doc.font = &test_font;
        doc.caret_texture = doc.background_texture = doc.scrollbar_texture = white;
        doc.caret_color = caret_color;
        doc.selection_color = selection_color;
        doc.line_number_color = number_color;
        doc.scrollbar_color = thumb_color;
        doc.background = box_color;
        doc.palette = PaletteView{palette, 3};
        doc.x = 100;
        doc.y = 50;
        doc.width = 600;
        doc.height = 600;
        doc.focused = 1;
        doc.smooth_scroll = 0;
        move(20, 20);  // outside the box unless a test moves it
    }
    void TearDown() override {
        for (int i = 0; i < icon_count; i++) render.icon_textures[i] = 0;
        editor.hooks = EditorHooks{};
        editor.view_sets_pointer_shape = false;
        render.gpu = Renderer{};
    }

    void set_text(const std::string& s) {
        document_set_text(&doc, StringView{s.data(), (i64)s.size()});
        doc.cursor = doc.anchor = 0;
    }
    void set_lines(int n) {
        std::string s;
        for (int i = 1; i <= n; i++) s += "line " + std::to_string(i) + "\n";
        set_text(s);
    }
    // Window point with y upwards, as the main loop hands it to the view.
    void move(i32 x, i32 y) { headless_mouse_move(x, render.gpu.height - y); }
    void frame() {
        frame_input_begin();
        begin_frame();
        editor_view(&doc);
    }
    void click_at(i32 x, i32 y) {
        move(x, y);
        headless_mouse_click(mouse_primary);
        frame();
        frame();  // the release
    }

    Box box_of(const RecordedDraw& d) {
        f64 w = render.gpu.width, h = render.gpu.height;
        return Box{(d.mvp[12] + 1) * 0.5 * w, (d.mvp[13] + 1) * 0.5 * h, d.mvp[0] * 0.5 * w, d.mvp[5] * 0.5 * h,
                   d.color[3], d.texture};
    }
    // Solid boxes of one colour; with `rgb_only` the alpha may differ.
    std::vector<Box> boxes(Color c, bool rgb_only = false) {
        std::vector<Box> out;
        for (i64 i = 0; i < headless_draw_count(); i++) {
            const RecordedDraw& d = headless_draws()[i];
            if (d.texture != white) continue;
            if (rgb_only ? same_rgb(d.color, c) : same_color(d.color, c)) out.push_back(box_of(d));
        }
        return out;
    }
    std::vector<Box> draws_with_texture(u32 texture) {
        std::vector<Box> out;
        for (i64 i = 0; i < headless_draw_count(); i++)
            if (headless_draws()[i].texture == texture) out.push_back(box_of(headless_draws()[i]));
        return out;
    }
    // Glyphs of one colour grouped into rows, top row first.
    std::vector<GlyphRow> glyph_rows(Color c) {
        std::vector<DrawnGlyph> glyphs;
        for (i64 i = 0; i < headless_draw_count(); i++) {
            const RecordedDraw& d = headless_draws()[i];
            if (d.texture != test_font.texture || !same_color(d.color, c)) continue;
            Box b = box_of(d);
            glyphs.push_back({std::round(b.bottom), b.left, (char)std::lround(d.uv_rect[0] * 256)});
        }
        return glyph_rows_of(glyphs);
    }
    std::vector<GlyphRow> text_rows() { return glyph_rows(palette[0]); }
    std::vector<GlyphRow> number_rows() { return glyph_rows(number_color); }

    Font test_font;
    u32 white = 0;
    Document doc{};
};

// Row r's centre with the standard box and no scroll: 50 + 600 - 8 - 16r.
f64 centre_of_row(i64 r) { return 642.0 - 16.0 * r; }

TEST_F(EditorView, NoScrollbarWhenTextFits) {
    set_lines(5);
    frame();
    EXPECT_TRUE(boxes(thumb_color).empty());
    // 3000 lines: the thumb would be 600^2 / 48000 = 7.5 high, so it takes the minimum.
    set_lines(3000);
    frame();
    std::vector<Box> thumb = boxes(thumb_color);
    ASSERT_EQ(thumb.size(), 1u);
    EXPECT_NEAR(thumb[0].height, 16, 0.01);
}

TEST_F(EditorView, DraggingTheThumbToTheBottomShowsTheLastLine) {
    set_lines(1000);
    frame();
    f64 H = 16.0 * 1000, thumb = 600.0 * 600.0 / H;
    std::vector<Box> bar = boxes(thumb_color);
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_NEAR(bar[0].height, thumb, 0.01);
    EXPECT_NEAR(bar[0].left, 668, 0.01);
    EXPECT_NEAR(bar[0].width, 32, 0.01);
    EXPECT_NEAR(bar[0].bottom, 650 - thumb, 0.01);

    // Hovering tints the thumb; pressing grabs it and does not move the caret.
    move(680, 640);
    frame();
    EXPECT_EQ(boxes(hover_thumb).size(), 1u);
    headless_mouse_down(mouse_primary);
    frame();
    EXPECT_EQ(doc.thumb_dragging, 1);
    EXPECT_EQ(doc.selecting, 0);
    move(680, 0);
    frame();
    EXPECT_EQ(boxes(pressed_thumb).size(), 1u);
    EXPECT_NEAR(doc.scroll_y, H - 600, 0.5);
    EXPECT_NEAR(doc.target_scroll_y, H - 600, 0.5);
    EXPECT_NEAR(doc.thumb_offset, -(600 - thumb), 0.01);
    frame();
    std::vector<GlyphRow> numbers = number_rows();
    ASSERT_FALSE(numbers.empty());
    EXPECT_EQ(numbers.back().text, "1000");
    EXPECT_EQ(text_rows().back().text, "line 1000");
    EXPECT_NEAR(boxes(thumb_color)[0].bottom, 50, 0.01);
    headless_mouse_up(mouse_primary);
    frame();
    EXPECT_EQ(doc.thumb_dragging, 0);
    EXPECT_EQ(doc.cursor, 0);
}

TEST_F(EditorView, WheelStepsAndEasing) {
    set_lines(1000);
    doc.smooth_scroll = 1;
    move(400, 300);
    headless_wheel(-1);
    frame();
    EXPECT_FLOAT_EQ(doc.target_scroll_y, 96);
    EXPECT_FLOAT_EQ(doc.scroll_y, 0);  // the ease runs before the wheel
    frame();
    EXPECT_NEAR(doc.scroll_y, 96 * 20.0 / 60, 0.01);
    headless_wheel(1);
    frame();
    EXPECT_FLOAT_EQ(doc.target_scroll_y, 0);
    headless_wheel(3);
    frame();
    EXPECT_FLOAT_EQ(doc.target_scroll_y, 0) << "the text never scrolls below its first line";

    // Outside the box, or without focus, the wheel does nothing.
    move(20, 300);
    headless_wheel(-1);
    frame();
    EXPECT_FLOAT_EQ(doc.target_scroll_y, 0);
    move(400, 300);
    doc.focused = 0;
    headless_wheel(-1);
    frame();
    EXPECT_FLOAT_EQ(doc.target_scroll_y, 0);

    // A short text cannot be wheeled away.
    doc.focused = 1;
    set_lines(5);
    headless_wheel(-10);
    frame();
    EXPECT_FLOAT_EQ(doc.target_scroll_y, 0);
}

TEST_F(EditorView, CtrlWheelZoomKeepsTheSameLineInPlace) {
    set_lines(1000);
    doc.scroll_y = doc.target_scroll_y = 300 * 16;
    move(400, 300);
    frame();
    ASSERT_FALSE(number_rows().empty());
    EXPECT_EQ(number_rows().front().text, "301");
    auto row_bottom = [&](const std::string& text) {
        for (const GlyphRow& r : text_rows())
            if (r.text == text) return r.bottom;
        return -1.0;
    };
    // Zoom scales the scroll with the rows: the top row keeps its place.
    f64 before = row_bottom("line 301");
    ASSERT_GT(before, 0);

    headless_key_down(key_ctrl);
    headless_wheel(1);
    frame();
    EXPECT_FLOAT_EQ(doc.zoom, 1.125f);
    EXPECT_FLOAT_EQ(doc.scroll_y, 300 * 18);
    EXPECT_FLOAT_EQ(doc.target_scroll_y, 300 * 18);
    frame();
    EXPECT_EQ(number_rows().front().text, "301");
    EXPECT_NEAR(row_bottom("line 301"), before, 3);

    headless_wheel(-1);
    frame();
    headless_wheel(-1);
    frame();
    EXPECT_NEAR(doc.zoom, 1.125f * 0.8888889f * 0.8888889f, 1e-5);
    frame();
    EXPECT_NEAR(row_bottom("line 301"), before, 3);
    headless_key_up(key_ctrl);
    frame();
}

TEST_F(EditorView, BracketAtCaretAndItsPartner) {
    set_text("f(a, g(b))");
    doc.cursor = doc.anchor = 10;  // after the last ")", on the newline
    frame();
    f64 text_left = 100 + 16 + 10;
    EXPECT_FLOAT_EQ(doc.text_left, text_left);
    std::vector<Box> pair = boxes(good_color);
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_NEAR(pair[0].left, text_left + 10, 0.01);  // the "(" at 1
    EXPECT_NEAR(pair[1].left, text_left + 90, 0.01);  // the ")" at 9
    for (const Box& b : pair) {
        EXPECT_NEAR(b.width, 10, 0.01);
        EXPECT_NEAR(b.height, 16, 0.01);
        EXPECT_NEAR(b.bottom, centre_of_row(0) - 8, 0.01);
    }
    // On the inner "(": its partner is the first ")".
    EXPECT_EQ(find_matching_bracket(&doc, 6), 8);
    EXPECT_EQ(find_matching_bracket(&doc, 8), 6);
    EXPECT_EQ(find_matching_bracket(&doc, 2), -1);

    doc.cursor = doc.anchor = 3;  // between "a" and ","
    frame();
    EXPECT_TRUE(boxes(good_color).empty());
    EXPECT_TRUE(boxes(bad_color).empty());

    set_text("a)");
    doc.cursor = doc.anchor = 2;
    frame();
    EXPECT_TRUE(boxes(good_color).empty());
    EXPECT_EQ(boxes(bad_color).size(), 1u);
}

TEST_F(EditorView, BracketsOfAnotherColourDoNotCount) {
    set_text("f(a, \")\")");
    for (i64 i = 5; i <= 7; i++) store_set_colour(&doc.text, i, 2);  // the string literal
    doc.cursor = doc.anchor = 9;
    EXPECT_EQ(find_matching_bracket(&doc, 8), 1);
    frame();
    std::vector<Box> pair = boxes(good_color);
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_NEAR(pair[0].left, doc.text_left + 10, 0.01);
    // The ")" inside the string only pairs with brackets of its own colour: none.
    EXPECT_EQ(find_matching_bracket(&doc, 6), -1);
}

TEST_F(EditorView, LineNumbersAndGutter) {
    set_lines(100);
    doc.scroll_y = doc.target_scroll_y = 1000;
    frame();
    EXPECT_FLOAT_EQ(doc.text_left, 100 + 16 + 30) << "101 entries: three digits of gutter";
    std::vector<GlyphRow> numbers = number_rows();
    ASSERT_FALSE(numbers.empty());
    // The final empty entry has no number; numbers end 8 pixels left of the text.
    EXPECT_EQ(numbers.back().text, "100");
    EXPECT_NEAR(numbers.back().right, doc.text_left - 8, 0.01);
    EXPECT_NEAR(numbers.front().right, doc.text_left - 8, 0.01);
    std::vector<GlyphRow> texts = text_rows();
    EXPECT_EQ(texts.back().text, "line 100");
    EXPECT_NEAR(texts.back().left, doc.text_left, 0.01);
    // Only rows whose centre lies within half a row of the box are drawn.
    for (const GlyphRow& r : texts) {
        EXPECT_GE(r.bottom + 8, 50 - 8);
        EXPECT_LT(r.bottom + 8, 650 + 8);
    }
    EXPECT_EQ(numbers.size(), texts.size());

    set_lines(99);
    frame();
    EXPECT_FLOAT_EQ(doc.text_left, 100 + 16 + 20);
    doc.show_line_numbers = 0;
    frame();
    EXPECT_FLOAT_EQ(doc.text_left, 100 + 16);
    EXPECT_TRUE(number_rows().empty());
}

TEST_F(EditorView, CurrentLineBandAndSingleLineField) {
    set_text("one\ntwo\nthree");
    doc.cursor = doc.anchor = 5;
    frame();
    std::vector<Box> band = boxes(band_color);
    ASSERT_EQ(band.size(), 1u);
    EXPECT_NEAR(band[0].bottom, centre_of_row(1) - 8, 0.01);
    EXPECT_NEAR(band[0].left, 100, 0.01);
    EXPECT_NEAR(band[0].width, 600, 0.01);

    Document field{};
    field.single_line = 1;
    field.zoom = 1;
    field.font = &test_font;
    field.caret_texture = field.background_texture = field.scrollbar_texture = white;
    field.caret_color = caret_color;
    field.palette = PaletteView{palette, 1};
    field.caret_width = 6;
    field.x = 100, field.y = 50, field.width = 300, field.height = 30;
    field.focused = 1;
    field.dirty = 1;
    document_set_text(&field, SV("hello"));
    ASSERT_EQ(line_count(&field), 1);
    editor.search.whole_word = true;
    move(200, 60);
    headless_wheel(-1);
    input_poll();
    core.mouse_x = 200, core.mouse_y = 60;
    begin_frame();
    editor_view(&field);
    EXPECT_FLOAT_EQ(field.target_scroll_y, 0);
    EXPECT_FLOAT_EQ(field.scroll_y, 0);
    band = boxes(band_color);
    ASSERT_EQ(band.size(), 1u) << "an entry field draws its band always";
    EXPECT_NEAR(band[0].width, 300, 0.01);
    EXPECT_EQ(text_rows().size(), 1u);
    EXPECT_EQ(text_rows()[0].text, "hello");
    // No indicators and no scrollbar; every draw clipped to the field.
    EXPECT_TRUE(draws_with_texture(render.icon_textures[icon_triangular_prism]).empty());
    EXPECT_TRUE(draws_with_texture(render.icon_textures[icon_star3d]).empty());
    for (i64 i = 0; i < headless_draw_count(); i++) {
        const RecordedDraw& d = headless_draws()[i];
        ASSERT_TRUE(d.scissor_enabled);
        EXPECT_EQ(d.scissor[0], 100);
        EXPECT_EQ(d.scissor[1], 50);
        EXPECT_EQ(d.scissor[2], 300);
        EXPECT_EQ(d.scissor[3], 30);
    }
    EXPECT_FALSE(headless_gpu_state()->scissor_enabled);
}

TEST_F(EditorView, PositionAtAndLineOffsetCountCharacters) {
    set_text("h\xC3\xA9llo\n\tx");
    frame();
    f64 left = doc.text_left;
    EXPECT_FLOAT_EQ(line_offset(&doc, 1), 10);
    EXPECT_FLOAT_EQ(line_offset(&doc, 3), 20) << "the two bytes of the accent are one glyph";
    EXPECT_FLOAT_EQ(line_offset(&doc, 6), 50);
    EXPECT_FLOAT_EQ(line_offset(&doc, 7), 0);
    EXPECT_FLOAT_EQ(line_offset(&doc, 8), 40) << "a tab is one fixed advance";
    f64 y0 = centre_of_row(0);
    EXPECT_EQ(position_at(&doc, left + 4, y0), 0);
    EXPECT_EQ(position_at(&doc, left + 6, y0), 1);
    EXPECT_EQ(position_at(&doc, left + 14, y0), 1);
    EXPECT_EQ(position_at(&doc, left + 16, y0), 3);
    EXPECT_EQ(position_at(&doc, left + 500, y0), 6) << "right of the line: its newline";
    EXPECT_EQ(position_at(&doc, left - 50, y0), 0);
    EXPECT_EQ(position_at(&doc, left + 25, centre_of_row(1)), 8);
    EXPECT_EQ(position_at(&doc, left + 4, 900), 0) << "above the box: the first row";
    EXPECT_EQ(position_at(&doc, left + 4, -900), 10) << "below the text: the empty last row";

    doc.zoom = 2;
    EXPECT_FLOAT_EQ(document_line_height(&doc), 32);
    EXPECT_FLOAT_EQ(line_offset(&doc, 3), 40);
}

TEST_F(EditorView, DoubleClickSelections) {
    set_text("alpha  beta\n\ngamma");  // rows: 0..11, 12, 13..18, then the empty entry at 19
    f64 left = 100 + 16 + 10;
    auto double_click = [&](f64 x, f64 y) {
        click_at((i32)x, (i32)y);
        click_at((i32)x, (i32)y);
    };
    double_click(left + 83, centre_of_row(0));
    EXPECT_EQ(doc.anchor, 7);
    EXPECT_EQ(doc.cursor, 11);
    // The caret moved on screen at once.
    EXPECT_FLOAT_EQ(doc.caret_x, left + 110);

    doc.click_timer = 0;
    double_click(left + 53, centre_of_row(0));
    EXPECT_EQ(doc.anchor, 5) << "a run of spaces is one word";
    EXPECT_EQ(doc.cursor, 7);

    doc.click_timer = 0;
    double_click(left + 40, centre_of_row(1));
    EXPECT_EQ(doc.anchor, 12) << "an empty line selects nothing";
    EXPECT_EQ(doc.cursor, 12);

    doc.click_timer = 0;
    double_click(left + 40, centre_of_row(6));
    EXPECT_EQ(doc.anchor, 19) << "below the last line: an empty selection at the end";
    EXPECT_EQ(doc.cursor, 19);

    // After the double-click time a second click is a plain click.
    doc.click_timer = 0;
    click_at((i32)(left + 83), (i32)centre_of_row(0));
    doc.click_timer = 0;
    click_at((i32)(left + 83), (i32)centre_of_row(0));
    EXPECT_EQ(doc.anchor, 8);
    EXPECT_EQ(doc.cursor, 8);
}

TEST_F(EditorView, ShiftClickAndDragSelection) {
    set_text("alpha  beta\n\ngamma");
    f64 left = 100 + 16 + 10;
    click_at((i32)(left + 23), (i32)centre_of_row(0));
    EXPECT_EQ(doc.cursor, 2);
    EXPECT_EQ(doc.anchor, 2);
    EXPECT_EQ(doc.selecting, 0);

    headless_key_down(key_shift);
    move((i32)(left + 23), (i32)centre_of_row(2));
    headless_mouse_click(mouse_primary);
    frame();
    EXPECT_EQ(doc.anchor, 2);
    EXPECT_EQ(doc.cursor, 15);
    // The caret and the selection show the press in the same frame.
    EXPECT_FLOAT_EQ(doc.caret_x, left + 20);
    EXPECT_FLOAT_EQ(doc.caret_y, centre_of_row(2));
    EXPECT_EQ(boxes(selection_color).size(), 3u);
    headless_key_up(key_shift);
    frame();

    // Drag from row 0 to row 2: the anchor stays at the press.
    doc.click_timer = 0;
    move((i32)(left + 13), (i32)centre_of_row(0));
    headless_mouse_down(mouse_primary);
    frame();
    EXPECT_EQ(doc.selecting, 1);
    move((i32)(left + 33), (i32)centre_of_row(2));
    frame();
    EXPECT_EQ(doc.anchor, 1);
    EXPECT_EQ(doc.cursor, 16);
    EXPECT_EQ(doc.preferred_column, 3);
    std::vector<Box> sel = boxes(selection_color);
    ASSERT_EQ(sel.size(), 3u);
    EXPECT_NEAR(sel[0].left, left + 10, 0.01);  // first end to the box's right edge
    EXPECT_NEAR(sel[0].left + sel[0].width, 700, 0.01);
    EXPECT_NEAR(sel[1].bottom, centre_of_row(1) - 8, 0.01);  // the row between
    EXPECT_NEAR(sel[1].height, 16, 0.01);
    EXPECT_NEAR(sel[2].left, left, 0.01);  // text_left to the last end
    EXPECT_NEAR(sel[2].width, 30, 0.01);
    headless_mouse_up(mouse_primary);
    frame();
    EXPECT_EQ(doc.selecting, 0);
    EXPECT_EQ(doc.view_request, 0) << "the release asks for the caret, and the view consumes it";
    EXPECT_EQ(doc.cursor, 16);
}

TEST_F(EditorView, DragBelowTheBoxScrollsTheView) {
    set_lines(1000);
    move(300, 600);
    headless_mouse_down(mouse_primary);
    frame();
    move(300, 10);  // below the box
    frame();
    // row = (0 + 600 - (10 - 50)) / 16 = 40, "line 41" at 9 x 7 + 31 x 8; x lies past its end.
    EXPECT_EQ(doc.cursor, 9 * 7 + 31 * 8 + 7);
    EXPECT_GT(doc.target_scroll_y, 0);
    EXPECT_GE(doc.caret_y, 50 + 8 - 0.01);
    headless_mouse_up(mouse_primary);
    frame();
}

TEST_F(EditorView, ViewRequestAndCentredScroll) {
    set_lines(1000);
    doc.cursor = doc.anchor = 7 * 9 + 8 * 90 + 9 * 399;  // start of row 498
    doc.view_request = 1;
    frame();
    EXPECT_EQ(doc.view_request, 0);
    // The caret row comes to the bottom edge: its centre at y + h/2.
    EXPECT_NEAR(doc.target_scroll_y, 58 - (centre_of_row(498)), 0.01);
    EXPECT_NEAR(doc.caret_y, 58, 0.01);
    doc.cursor = doc.anchor = 0;
    doc.view_request = 1;
    frame();
    EXPECT_FLOAT_EQ(doc.target_scroll_y, 0);

    doc.cursor = doc.anchor = 7 * 9 + 8 * 90 + 9 * 399;
    scroll_to_cursor_centred(&doc);
    EXPECT_NEAR(doc.target_scroll_y, 350 - centre_of_row(498), 0.01);
    EXPECT_FLOAT_EQ(doc.target_scroll_x, 0);

    // A long line: the caret at its end scrolls left; back at its start, no scroll.
    set_text(std::string(200, 'x'));
    doc.cursor = doc.anchor = 200;
    scroll_to_cursor_centred(&doc);
    f32 right = 100 + 600 - 32 - 16;
    EXPECT_NEAR(doc.target_scroll_x, right - (100 + 16 + 10 + 2000), 0.01);
    doc.view_request = 1;
    frame();
    EXPECT_NEAR(doc.caret_x, right, 0.01);
    doc.cursor = doc.anchor = 0;
    doc.view_request = 1;
    frame();
    EXPECT_FLOAT_EQ(doc.target_scroll_x, 0);
}

// Ctrl+L and Ctrl+End centre the caret and also move it, which asks the view to show the
// caret in the same frame: with easing, that request must measure from the new target,
// or the distance is added twice and the caret lands far off (the found word cut at the
// left edge, the last line above the middle).
TEST_F(EditorView, CaretShownOnceWhenACentringKeyMovesIt) {
    doc.smooth_scroll = 1;
    std::string text = "short\n" + std::string(150, 'x') + " needle tail\n";
    set_text(text);
    string_assign(&editor.search.search_text, SV("needle"), pool_main);
    headless_key_down(key_ctrl);
    headless_key_tap(key_L);
    frame();
    headless_key_up(key_ctrl);
    ASSERT_EQ(doc.cursor, (i32)(6 + 151 + 6));
    f32 right = 100 + 600 - 32 - 16;
    for (int i = 0; i < 120; i++) frame();
    EXPECT_NEAR(doc.caret_x, right, 0.5) << "the caret after the found word belongs at the right edge";

    set_lines(1000);
    doc.scroll_x = doc.target_scroll_x = 0;
    doc.scroll_y = doc.target_scroll_y = 0;
    headless_key_down(key_ctrl);
    headless_key_tap(key_end);
    frame();
    headless_key_up(key_ctrl);
    for (int i = 0; i < 120; i++) frame();
    EXPECT_NEAR(doc.caret_y, 50 + 300, 0.5) << "the last row belongs in the middle of the box";

    // Typing while an ease runs: each request measures from the target, so the caret
    // stops at the right edge instead of overshooting it by the unfinished distances.
    if (!analysis.source_lock) analysis_locks_create();  // typing recolours
    set_text(std::string(60, 'y'));
    doc.cursor = doc.anchor = 60;
    doc.scroll_x = doc.target_scroll_x = 0;
    for (int i = 0; i < 10; i++) {
        headless_text(SV("z"));
        frame();
    }
    for (int i = 0; i < 120; i++) frame();
    EXPECT_NEAR(doc.caret_x, right, 0.5);
    string_assign(&editor.search.search_text, SV(""), pool_main);
}

// The caret is shown and hidden for half a second each, asking for a frame at each
// change, and stays shown without asking for frames ten seconds after the last key.
TEST_F(EditorView, CaretBlinksTwiceASecondThenRestsAndFollowsThePointer) {
    set_text("abc");
    doc.cursor = doc.anchor = 2;
    doc.blink_phase = 0;
    frame();
    EXPECT_FLOAT_EQ(doc.blink_phase, 1.0f / 60);
    std::vector<Box> caret = boxes(caret_color, true);
    ASSERT_EQ(caret.size(), 1u) << "the pointer is outside: no hover caret";
    EXPECT_EQ(caret[0].alpha, 1.0f);
    EXPECT_NEAR(render.frames.wanted_in, 0.5 - 1.0 / 60, 1e-6) << "the next frame comes when the caret hides";
    EXPECT_NEAR(caret[0].left, doc.text_left + 20, 0.01);
    EXPECT_NEAR(caret[0].width, 6, 0.01);
    EXPECT_NEAR(caret[0].height, 16, 0.01);

    doc.blink_phase = 0.6f;
    frame();
    EXPECT_EQ(boxes(caret_color, true)[0].alpha, 0.0f);
    EXPECT_NEAR(render.frames.wanted_in, 1.0 - 0.6 - 1.0 / 60, 1e-6);
    doc.blink_phase = 9.99f;
    frame();
    EXPECT_EQ(boxes(caret_color, true)[0].alpha, 1.0f) << "at rest the caret stays";
    EXPECT_LT(render.frames.wanted_in, 0) << "and asks for no frames";
    frame();
    EXPECT_LT(render.frames.wanted_in, 0);
    headless_key_tap(key_left);
    frame();
    EXPECT_GE(render.frames.wanted_in, 0) << "a key starts the blinking again";

    move((i32)doc.text_left + 11, (i32)centre_of_row(0));
    frame();
    caret = boxes(caret_color, true);
    ASSERT_EQ(caret.size(), 2u);
    EXPECT_FLOAT_EQ(caret[1].alpha, 0.5f);
    EXPECT_NEAR(caret[1].left, doc.text_left + 10, 0.01);
    EXPECT_EQ(doc.hover_position, 1);

    doc.focused = 0;
    frame();
    EXPECT_TRUE(boxes(caret_color, true).empty());
}

TEST_F(EditorView, CornerIndicators) {
    set_text("abc");
    frame();
    EXPECT_TRUE(draws_with_texture(render.icon_textures[icon_triangular_prism]).empty());
    EXPECT_TRUE(draws_with_texture(render.icon_textures[icon_pyramid]).empty());
    EXPECT_TRUE(draws_with_texture(render.icon_textures[icon_star3d]).empty());

    editor.search.whole_word = true;
    editor.search.match_case = true;
    doc.dirty = 1;
    frame();
    struct Expect {
        int icon;
        f64 left;
    } expected[] = {{icon_triangular_prism, 100}, {icon_pyramid, 116}, {icon_star3d, 132}};
    for (const Expect& e : expected) {
        std::vector<Box> icon = draws_with_texture(render.icon_textures[e.icon]);
        ASSERT_EQ(icon.size(), 1u);
        EXPECT_NEAR(icon[0].left, e.left, 0.01);
        EXPECT_NEAR(icon[0].bottom, 50, 0.01);
        EXPECT_NEAR(icon[0].width, 16, 0.01);
        EXPECT_NEAR(icon[0].height, 16, 0.01);
        EXPECT_FLOAT_EQ(icon[0].alpha, 0.75f);
    }
    editor.search.whole_word = false;
    frame();
    EXPECT_TRUE(draws_with_texture(render.icon_textures[icon_triangular_prism]).empty());
    EXPECT_EQ(draws_with_texture(render.icon_textures[icon_star3d]).size(), 1u);
}

TEST_F(EditorView, OccurrencesOfAWholeWordSelection) {
    set_text("foo bar foo foobar\nfoo\n");
    doc.anchor = 0;
    doc.cursor = 3;
    frame();
    std::vector<Box> found = boxes(neutral_color);
    ASSERT_EQ(found.size(), 2u) << "not the selection itself, not inside foobar";
    EXPECT_NEAR(found[0].left, doc.text_left + 80, 0.01);
    EXPECT_NEAR(found[0].width, 30, 0.01);
    EXPECT_NEAR(found[0].bottom, centre_of_row(0) - 8, 0.01);
    EXPECT_NEAR(found[1].left, doc.text_left, 0.01);
    EXPECT_NEAR(found[1].bottom, centre_of_row(1) - 8, 0.01);

    doc.anchor = 1;  // "oo" is not on word boundaries
    frame();
    EXPECT_TRUE(boxes(neutral_color).empty());
    doc.anchor = 0;
    doc.highlight_flag = 0;
    frame();
    EXPECT_TRUE(boxes(neutral_color).empty());

    // Only the rows on screen are searched.
    std::string many;
    for (int i = 0; i < 200; i++) many += "foo\n";
    set_text(many);
    doc.highlight_flag = 1;
    doc.anchor = 0;
    doc.cursor = 3;
    frame();
    EXPECT_EQ(boxes(neutral_color).size(), 37u);  // rows 1..37 of the 38 visible
}

TEST_F(EditorView, ContextMenuAndPointerShape) {
    set_text("abc");
    editor.hooks.open_context_menu = [](Document* d) {
        context_menu_calls++;
        context_menu_doc = d;
    };
    editor.view_sets_pointer_shape = true;
    move(400, 300);
    headless_mouse_click(mouse_secondary);
    frame();
    EXPECT_EQ(context_menu_calls, 1);
    EXPECT_EQ(context_menu_doc, &doc);
    EXPECT_EQ(headless_mouse_cursor(), 1);

    move(20, 300);
    headless_mouse_click(mouse_secondary);
    frame();
    EXPECT_EQ(context_menu_calls, 1);
    EXPECT_EQ(headless_mouse_cursor(), 0);
}

TEST_F(EditorView, DegenerateStatesDoNotBreakTheFrame) {
    // A record that was never given a font or a line table.
    Document bare{};
    bare.x = 100, bare.y = 50, bare.width = 600, bare.height = 600;
    bare.focused = 1;
    move(300, 300);
    headless_mouse_click(mouse_primary);
    headless_wheel(-2);
    input_poll();
    core.mouse_x = 300, core.mouse_y = 300;
    begin_frame();
    editor_view(&bare);
    EXPECT_EQ(bare.cursor, 0);
    EXPECT_EQ(position_at(&bare, 300, 300), 0);
    EXPECT_FLOAT_EQ(line_offset(&bare, 5), 0);

    // Scroll values that are not numbers are dropped; zoom stays within its bounds.
    set_lines(50);
    doc.scroll_y = doc.target_scroll_y = std::nanf("");
    doc.scroll_x = doc.target_scroll_x = INFINITY;
    frame();
    EXPECT_FLOAT_EQ(doc.scroll_y, 0);
    EXPECT_FLOAT_EQ(doc.scroll_x, 0);
    EXPECT_FALSE(text_rows().empty());
    headless_key_down(key_ctrl);
    for (int i = 0; i < 60; i++) {
        headless_wheel(-1);
        frame();
    }
    EXPECT_GE(doc.zoom, 0.1f);
    for (int i = 0; i < 60; i++) {
        headless_wheel(1);
        frame();
    }
    EXPECT_LE(doc.zoom, 16.0f);
    headless_key_up(key_ctrl);
    frame();

    // A zero-height box has no scrollbar to divide by.
    doc.height = 0;
    frame();
    EXPECT_TRUE(boxes(thumb_color).empty());
}

// Page keys move by what the view shows; Home goes to the first non-blank and back; Up
// and Down keep the column as drawn; Ctrl+Down and a click in the scrollbar's track
// scroll without moving the caret.
TEST_F(EditorView, NavigationFollowsTheViewAndTheDrawnColumn) {
    auto tap = [&](i32 k) {
        headless_key_tap(k);
        frame();
    };
    // Right then Left: the caret where it is, its drawn column remembered.
    auto settle = [&](i32 at) {
        doc.cursor = doc.anchor = at;
        tap(key_right);
        tap(key_left);
    };
    set_lines(300);
    frame();
    f32 h = document_line_height(&doc);
    i32 page = (i32)(doc.height / h) - 1;
    tap(key_page_down);
    EXPECT_EQ(row_of_position(&doc, doc.cursor), page);
    EXPECT_FLOAT_EQ(doc.target_scroll_y, (f32)page * h);
    tap(key_page_up);
    EXPECT_EQ(doc.cursor, 0);

    i32 before = doc.cursor;
    f32 scroll = doc.target_scroll_y;
    headless_key_down(key_ctrl);
    tap(key_down);
    headless_key_up(key_ctrl);
    EXPECT_EQ(doc.cursor, before);
    EXPECT_FLOAT_EQ(doc.target_scroll_y, scroll + h);
    // Below the thumb: a page on, the caret stays.
    click_at((i32)(doc.x + doc.width - doc.scrollbar_width / 2), (i32)doc.y + 4);
    EXPECT_EQ(doc.cursor, before);
    EXPECT_FLOAT_EQ(doc.target_scroll_y, scroll + h + (doc.height - h));

    set_text("    int x;\n");
    doc.cursor = doc.anchor = 8;
    tap(key_home);
    EXPECT_EQ(doc.cursor, 4);
    tap(key_home);
    EXPECT_EQ(doc.cursor, 0);
    tap(key_home);
    EXPECT_EQ(doc.cursor, 4);

    // "\t" is drawn as wide as several spaces, "\xC3\xA9" as one character.
    i64 tab = (i64)(test_font.tab_advance / test_font.space_advance + 0.5);
    set_text("\tab\n" + std::string((size_t)tab + 4, 'x') + "\n\xC3\xA9\xC3\xA9\xC3\xA9\n");
    settle(2);
    tap(key_down);
    EXPECT_EQ(doc.cursor, 4 + tab + 1);
    settle(4 + 2);
    tap(key_down);
    i64 third_row = 4 + tab + 4 + 1;
    EXPECT_EQ(doc.cursor, third_row + 4) << "two characters in: four bytes";
}

}  // namespace
