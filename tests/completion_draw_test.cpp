// What the two pop-ups draw: the completion panel under (or above) the caret with its
// rows, icons and names, and the signature panel at the top of the box with the argument
// under the cursor highlighted and the overload counter.
#include "completion_fixture.h"

namespace {
using namespace completion_test;

const char* vec_program =
    "struct Vec { int x; int y; proc len() int { return x; } }\n"
    "proc main() {\n"
    "  Vec v;\n"
    "  |\n"
    "}\n";

class CompletionDraw : public CompletionFixture {
protected:
    f64 row_centre(i64 row) const { return (f64)doc->y + doc->height - 8 - 16.0 * (f64)row; }
    Box completion_panel() const {
        Box b{};
        EXPECT_TRUE(panel(&b, false));
        return b;
    }
};

TEST_F(CompletionDraw, PanelHangsHalfARowBelowTheCaretRow) {
    load(vec_program);
    type_analysed("v.");
    ASSERT_EQ(doc->completion.count, 3);
    Box p = completion_panel();
    // The caret is on row 3; three rows of 16 pixels.
    f64 top = row_centre(3) - 8 - 8;
    EXPECT_NEAR(p.left, doc->caret_x, 0.01);
    EXPECT_NEAR(p.width, 512, 0.01);
    EXPECT_NEAR(p.bottom + p.height, top, 0.01);
    EXPECT_NEAR(p.height, 48, 0.01);

    // The selected row's band, and one icon and name per row in the candidate's colour.
    std::vector<Box> bands = boxes(selected_color);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_NEAR(bands[0].left, p.left, 0.01);
    EXPECT_NEAR(bands[0].width, 512, 0.01);
    EXPECT_NEAR(bands[0].bottom + bands[0].height, top, 0.01);
    for (i64 i = 0; i < 3; i++) {
        const Candidate& c = doc->completion[i];
        f64 row_top = top - 16.0 * (f64)i;
        std::vector<Box> icons;
        for (const Box& b : boxes(c.color))
            if (b.texture == c.icon) icons.push_back(b);
        bool found = false;
        for (const Box& b : icons)
            found |= std::abs(b.left - p.left) < 0.01 && std::abs(b.bottom + 16 - row_top) < 0.01 && b.width == 16;
        EXPECT_TRUE(found) << "icon of " << str(c.name);
        std::vector<GlyphRow> names = glyph_rows(c.color);
        bool named = false;
        for (const GlyphRow& r : names)
            named |= r.text == str(c.name) && std::abs(r.left - (p.left + 16 + 8)) < 0.01 &&
                     std::abs(r.bottom - (row_top - 16)) < 0.01;
        EXPECT_TRUE(named) << "name of " << str(c.name);
    }

    // Down moves the band one row.
    tap(key_down);
    bands = boxes(selected_color);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_NEAR(bands[0].bottom + bands[0].height, top - 16, 0.01);
}

TEST_F(CompletionDraw, PanelStaysInsideTheBoxOnTheRight) {
    load("struct Vec { int x; int y; }\nproc main() {\n  Vec v;\n"
         "  int a_rather_long_name_to_push_the_caret_right = |\n}\n");
    type_analysed("v.");
    ASSERT_EQ(doc->completion_open, 1);
    Box p = completion_panel();
    EXPECT_GT(doc->caret_x + 512, doc->x + doc->width);
    EXPECT_NEAR(p.left + p.width, doc->x + doc->width, 0.01);
    EXPECT_NEAR(p.width, 512, 0.01);

    // A box narrower than 512 pixels gives the panel its width.
    doc->width = 300;
    frame();
    p = completion_panel();
    EXPECT_NEAR(p.width, 300, 0.01);
    EXPECT_NEAR(p.left, doc->x, 0.01);
}

TEST_F(CompletionDraw, PanelGoesAboveTheCaretRowNearTheWindowBottom) {
    std::string members;
    for (char c = 'a'; c <= 'j'; c++) members += std::string("int m") + c + "; ";
    load("struct M { " + members + "}\nproc main() {\n  M v;\n\n\n\n\n\n\n  |\n}\n");
    doc->y = 0;
    doc->height = 200;  // the caret's row 9 is centred 200 - 8 - 144 = 48 above the window bottom
    type_analysed("v.");
    ASSERT_EQ(doc->completion.count, 10);
    Box p = completion_panel();
    EXPECT_NEAR(doc->caret_y, 48, 0.01);
    EXPECT_NEAR(p.height, 8 * 16, 0.01);  // at most eight rows
    EXPECT_NEAR(p.bottom, 48 + 16, 0.01);  // half a row above the caret row
    // Only the eight rows from completion_top have names.
    std::vector<GlyphRow> rows = glyph_rows_in(p);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].text, "ma");
    EXPECT_EQ(rows[7].text, "mh");
    for (int i = 0; i < 9; i++) tap(key_down);
    rows = glyph_rows_in(p);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].text, "mc");
    EXPECT_EQ(rows[7].text, "mj");

    // With room below, three rows hang under the caret again.
    doc->height = 600;
    frame();
    p = completion_panel();
    EXPECT_LT(p.bottom + p.height, doc->caret_y);
}

TEST_F(CompletionDraw, EmptyListSaysSo) {
    load(vec_program);
    type_analysed("v.");
    type("qq");
    ASSERT_EQ(doc->completion.count, 0);
    Box p = completion_panel();
    EXPECT_NEAR(p.height, 16, 0.01);  // one row
    std::vector<GlyphRow> rows = glyph_rows(label_color);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "<no symbols found>");
    EXPECT_NEAR(rows[0].left, p.left + 8, 0.01);
    EXPECT_TRUE(boxes(selected_color).empty());
    // Closed, nothing of it is drawn.
    tap(key_left);
    EXPECT_TRUE(boxes(panel_color).empty());
    EXPECT_TRUE(glyph_rows(label_color).empty());
}

const char* two_procs =
    "proc f(int a, int b) int { return a; }\n"
    "proc sqrt(real v) real;\n"
    "proc sqrt(int v) int;\n";

TEST_F(CompletionDraw, SignaturePanelHighlightsTheArgumentUnderTheCursor) {
    load(std::string(two_procs) + "proc main() {\n  int r = f(1, |2);\n}\n");
    ctrl_tap(key_B);
    ASSERT_EQ(doc->symbol_list.count, 1);
    Box p{};
    ASSERT_TRUE(panel(&p, true));
    f64 top = doc->y + doc->height;
    EXPECT_NEAR(p.left, doc->x + 8, 0.01);
    EXPECT_NEAR(p.width, doc->width - doc->scrollbar_width, 0.01);  // one entry: no counter room
    EXPECT_NEAR(p.bottom + p.height, top, 0.01);
    EXPECT_NEAR(p.height, 16, 0.01);
    std::vector<GlyphRow> rows = glyph_rows_in(p);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "proc f(int a, int b) int");
    EXPECT_NEAR(rows[0].left, p.left, 0.01);
    // "int b" starts 14 characters in.
    std::vector<Box> marks = boxes(selected_color);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_NEAR(marks[0].left, p.left + 140, 0.01);
    EXPECT_NEAR(marks[0].width, 50, 0.01);
    EXPECT_NEAR(marks[0].bottom, top - 16, 0.01);
    // A single signature has no counter.
    EXPECT_TRUE(glyph_rows(label_color).empty());

    // The first argument once the cursor is before the comma; none outside the call.
    doc->cursor = doc->anchor = offset_of("1, 2");
    frame();
    marks = boxes(selected_color);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_NEAR(marks[0].left, p.left + 70, 0.01);
    EXPECT_NEAR(marks[0].width, 50, 0.01);
    doc->cursor = doc->anchor = offset_of("int r");
    frame();
    EXPECT_TRUE(boxes(selected_color).empty());
    EXPECT_EQ(glyph_rows_in(p).size(), 1u);  // still shown
}

TEST_F(CompletionDraw, OverloadsShowACounterAndLeaveItRoom) {
    load(std::string(two_procs) + "proc main() {\n  sqrt(|2.0);\n}\n");
    ctrl_tap(key_B);
    ASSERT_EQ(doc->symbol_list.count, 2);
    Box p{};
    ASSERT_TRUE(panel(&p, true));
    EXPECT_NEAR(p.width, doc->width - doc->scrollbar_width - 96, 0.01);
    std::vector<GlyphRow> counter = glyph_rows(label_color);
    ASSERT_EQ(counter.size(), 1u);
    EXPECT_EQ(counter[0].text, "(1/2)");
    EXPECT_NEAR(counter[0].right, doc->x + doc->width - doc->scrollbar_width, 0.01);
    EXPECT_NEAR(counter[0].bottom, doc->y + doc->height - 16, 0.01);
    EXPECT_EQ(glyph_rows_in(p)[0].text, "proc sqrt(real v) real");

    ctrl_tap(key_K);
    counter = glyph_rows(label_color);
    ASSERT_EQ(counter.size(), 1u);
    EXPECT_EQ(counter[0].text, "(2/2)");
    EXPECT_EQ(glyph_rows_in(p)[0].text, "proc sqrt(int v) int");
}

TEST_F(CompletionDraw, WrappedArgumentIsHighlightedOnBothRows) {
    load(std::string(two_procs) + "proc main() {\n  int r = f(1, |2);\n}\n");
    // 150 pixels of panel: 15 characters a row, so "int b" starts at the end of row 0.
    doc->width = 150 + doc->scrollbar_width;
    ctrl_tap(key_B);
    Box p{};
    ASSERT_TRUE(panel(&p, true));
    EXPECT_NEAR(p.width, 150, 0.01);
    EXPECT_NEAR(p.height, 32, 0.01);
    std::vector<GlyphRow> rows = glyph_rows_in(p);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "proc f(int a, i");
    EXPECT_EQ(rows[1].text, "nt b) int");
    std::vector<Box> marks = boxes(selected_color);
    ASSERT_EQ(marks.size(), 2u);
    std::sort(marks.begin(), marks.end(), [](const Box& a, const Box& b) { return a.bottom > b.bottom; });
    f64 top = doc->y + doc->height;
    EXPECT_NEAR(marks[0].left, p.left + 140, 0.01);
    EXPECT_NEAR(marks[0].width, 10, 0.01);
    EXPECT_NEAR(marks[0].bottom, top - 16, 0.01);
    EXPECT_NEAR(marks[1].left, p.left, 0.01);
    EXPECT_NEAR(marks[1].width, 40, 0.01);
    EXPECT_NEAR(marks[1].bottom, top - 32, 0.01);
}

TEST_F(CompletionDraw, SignatureColoursComeFromTheDocumentPalette) {
    load(std::string(two_procs) + "proc main() {\n  int r = f(1, |2);\n}\n");
    ctrl_tap(key_B);
    ASSERT_GT(doc->palette.count, vantrel_kind_proc);
    Color keyword = doc->palette.colors[vantrel_kind_declaration_keyword];
    Color proc = doc->palette.colors[vantrel_kind_proc];
    Box p{};
    ASSERT_TRUE(panel(&p, true));
    std::vector<GlyphRow> keywords = glyph_rows(keyword, false, &p);
    ASSERT_EQ(keywords.size(), 1u);
    EXPECT_EQ(keywords[0].text, "proc");
    EXPECT_NEAR(keywords[0].left, doc->x + 8, 0.01);
    std::vector<GlyphRow> names = glyph_rows(proc, false, &p);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].text, "f");
    EXPECT_NEAR(names[0].left, doc->x + 58, 0.01);
}

TEST_F(CompletionDraw, NothingForOutOfRangeSelectionsAndEntryFields) {
    load(std::string(two_procs) + "proc main() {\n  int r = f(1, |2);\n}\n");
    ctrl_tap(key_B);
    doc->symbol_list_selected = 5;
    frame();
    EXPECT_TRUE(boxes(panel_color).empty());
    doc->symbol_list_selected = 0;
    doc->cursor = doc->anchor = offset_of("  int r");  // no identifier around it
    ctrl_tap(key_space);
    ASSERT_GT(doc->completion.count, 1);
    doc->completion_top = 99;  // a stale top shows the list from its start
    frame();
    EXPECT_EQ(boxes(panel_color).size(), 2u);
    Box p = completion_panel();
    std::vector<GlyphRow> rows = glyph_rows_in(p);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].text, str(doc->completion[0].name));

    Document field{};
    document_init_entry_field(&field);
    field.font = &test_font;
    field.completion_open = 1;
    field.symbol_list_open = 1;
    headless_reset();
    gpu_setup();
    begin_frame();
    completion_draw_popups(&field, 16);
    EXPECT_EQ(headless_draw_count(), 0);
}

}  // namespace
