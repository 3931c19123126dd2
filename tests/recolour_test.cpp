// Recolouring: the visible range, rainbow words, lexing only what is on screen, and the
// request that follows.
#include <gtest/gtest.h>

#include <string>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "editor/completion.h"
#include "editor/document.h"
#include "editor/motion.h"
#include "render/font.h"
#include "syntax/coloring_file.h"
#include "editor/recolour.h"
#include "syntax/lex_text.h"
#include "syntax/token_kinds.h"
#include "test_support.h"

namespace {

// Rows are 16 pixels high at zoom 1.
std::string font_info_text() {
    std::string s = "s 256 256\ng 32 0 0 10 0 0 0 0\n";
    for (int c = 33; c < 127; c++) s += "g " + std::to_string(c) + " 0 0 10 0 0 10 16\n";
    return s;
}

class Recolour : public ::testing::Test {
  protected:
    Font test_font{};
    Document doc{};

    void SetUp() override {
        ensure_arenas();
        static bool once = false;
        if (!once) {
            once = true;
            store_builtin_palettes();
            load_coloring_file(StringView{nullptr, 0});
            ensure_analysis_locks();
        }
        std::string info = font_info_text();
        ASSERT_TRUE(font_parse(&test_font, StringView{info.data(), (i64)info.size()}, SV("t/font_info.txt")));
        document_init_tab_defaults(&doc);
        doc.font = &test_font;
        doc.x = 0;
        doc.y = 0;
        doc.width = 400;
        doc.height = 160;  // ten rows
        mutex_lock(analysis.lock);
        analysis.request = AnalysisRequest{};
        mutex_unlock(analysis.lock);
    }
    void TearDown() override { document_reset(&doc); }

    void set_text(const std::string& text, u8 kind, const char* path) {
        document_set_text(&doc, StringView{text.data(), (i64)text.size()});
        doc.kind = kind;
        string_assign(&doc.path, sv_from_cstr(path), pool_main);
    }
    u8 colour_at(const std::string& text, const std::string& word, int nth = 0) {
        size_t at = text.find(word);
        for (int i = 0; i < nth; i++) at = text.find(word, at + 1);
        return document_colour(&doc, (i64)at);
    }
};

std::string numbered_lines(int n, const char* body) {
    std::string s;
    for (int i = 0; i < n; i++) s += std::string(body) + std::to_string(i) + "\n";
    return s;
}

TEST_F(Recolour, VisibleRangeFollowsTheScroll) {
    std::string text = numbered_lines(100, "line");
    set_text(text, file_kind_other, "a.txt");
    ByteRange top = visible_range(&doc);
    EXPECT_EQ(top.start, 0);
    // Rows whose centre lies within half a row of the box: ten full rows and the one
    // whose centre sits exactly on the bottom edge.
    i64 lines_shown = 0;
    for (i64 i = top.start; i < top.end; i++) lines_shown += text[(size_t)i] == '\n';
    EXPECT_EQ(lines_shown, 11);
    doc.scroll_y = 16 * 40;  // forty rows down
    ByteRange mid = visible_range(&doc);
    EXPECT_EQ(mid.start, (i64)text.find("line40\n"));
    EXPECT_EQ(text.substr((size_t)mid.end - 7, 7), "line50\n");
    doc.scroll_y = 16 * 500;  // past the end: nothing
    ByteRange none = visible_range(&doc);
    EXPECT_EQ(none.start, none.end);
    doc.single_line = 1;
    ByteRange all = visible_range(&doc);
    EXPECT_EQ(all.end, (i64)text.size());
}

TEST_F(Recolour, RainbowWordsRestartOnEveryLine) {
    std::string text = "one two, three\nfour five\n";
    std::string colours(text.size(), '\x55');
    rainbow_colour_words(StringView{text.data(), (i64)text.size()}, (u8*)colours.data(), 0, -1, 9);
    EXPECT_EQ(colours[0], 1);
    EXPECT_EQ(colours[4], 2);
    EXPECT_EQ(colours[7], 0);   // the comma
    EXPECT_EQ(colours[9], 3);
    EXPECT_EQ(colours[15], 1);  // "four" on the next line
    EXPECT_EQ(colours[20], 2);
    // With three colours words cycle 1, 2, 1, 2.
    std::string four = "a b c d\n";
    std::string c4(four.size(), 0);
    rainbow_colour_words(StringView{four.data(), (i64)four.size()}, (u8*)c4.data(), 0, -1, 3);
    EXPECT_EQ(std::string({c4[0], c4[2], c4[4], c4[6]}), std::string("\x01\x02\x01\x02", 4));
    // A one-colour rainbow gives every word index 1 (drawn with index 0 by the view).
    rainbow_colour_words(StringView{four.data(), (i64)four.size()}, (u8*)c4.data(), 0, -1, 1);
    EXPECT_EQ(c4[0], 1);
    EXPECT_EQ(c4[6], 1);
    // Only the range is coloured; everything else is cleared.
    std::string two = "ab cd\nef gh\n";
    std::string c2(two.size(), 9);
    rainbow_colour_words(StringView{two.data(), (i64)two.size()}, (u8*)c2.data(), 6, 12, 9);
    EXPECT_EQ(c2[0], 0);
    EXPECT_EQ(c2[6], 1);
    EXPECT_EQ(c2[9], 2);
}

TEST_F(Recolour, OnlyVisibleLinesAreLexed) {
    // A block comment opened above the window: the visible lines inside it are coloured
    // as code until the analysis result arrives.
    std::string text = "/* comment\n" + numbered_lines(60, "proc p") + "*/\nproc last() { }\n";
    set_text(text, file_kind_vantrel, "main.vnt");
    doc.scroll_y = 16 * 20;
    recolour_document(&doc);
    EXPECT_EQ(colour_at(text, "proc p25"), vantrel_kind_declaration_keyword);
    EXPECT_EQ(colour_at(text, "/* comment"), 0) << "above the window: untouched";
    EXPECT_EQ(colour_at(text, "proc p55"), 0) << "below the window: untouched";
    EXPECT_EQ(doc.palette.colors, palette_of_language(language_vantrel).colors);
    EXPECT_EQ(doc.palette.count, 20);
}

TEST_F(Recolour, IdentifiersKeepTheirAnalysisColourWhileTyping) {
    std::string text = "proc main() { counter = 1; }\n";
    set_text(text, file_kind_vantrel, "main.vnt");
    size_t at = text.find("counter");
    for (size_t i = 0; i < 7; i++) store_set_colour(&doc.text, (i64)(at + i), vantrel_kind_local_var);
    recolour_document(&doc);
    EXPECT_EQ(document_colour(&doc, (i64)at), vantrel_kind_local_var);
    EXPECT_EQ(colour_at(text, "proc"), vantrel_kind_declaration_keyword);
}

TEST_F(Recolour, RequestsForAnalysableDocumentsOnly) {
    std::string text = "int x;\n";
    set_text(text, file_kind_c, "x.c");
    recolour_document(&doc);
    mutex_lock(analysis.lock);
    EXPECT_EQ(analysis.request.pending, 1);
    EXPECT_EQ(analysis.request.kind, file_kind_c);
    EXPECT_TRUE(sv_equal(analysis.request.path, SV("x.c")));
    EXPECT_EQ(analysis.request.has_text, 1);
    analysis.request.pending = 0;
    mutex_unlock(analysis.lock);
    EXPECT_EQ(colour_at(text, "int"), cpp_kind_type_keyword);

    // An entry field (kind 0) never asks for an analysis.
    Document field{};
    document_init_entry_field(&field);
    document_set_text(&field, SV("find me"));
    recolour_document(&field);
    mutex_lock(analysis.lock);
    EXPECT_EQ(analysis.request.pending, 0);
    mutex_unlock(analysis.lock);
}

TEST_F(Recolour, HugeUnlistedDocumentIsColouredButAnalysedAsEmpty) {
    std::string text((size_t)unlisted_analysis_limit + 100, 'a');
    for (size_t i = 80; i < text.size(); i += 81) text[i] = '\n';
    text.replace(0, 4, "int ");
    size_t far = text.find('\n', text.size() / 2) + 1;
    text.replace(far, 4, "int ");
    set_text(text, file_kind_c, "big.c");
    recolour_document(&doc);
    EXPECT_EQ(colour_at(text, "int"), cpp_kind_type_keyword);
    EXPECT_EQ(document_colour(&doc, (i64)far), 0) << "not on screen yet";
    mutex_lock(analysis.lock);
    EXPECT_EQ(analysis.request.pending, 1);
    EXPECT_EQ(analysis.request.has_text, 0);
    analysis.request.pending = 0;
    mutex_unlock(analysis.lock);

    // No analysis colours it, so rows are lexed as they scroll into view.
    doc.scroll_y = 16.0f * (f32)row_of_position(&doc, (i64)far);
    recolour_on_screen(&doc);
    EXPECT_EQ(document_colour(&doc, (i64)far), cpp_kind_type_keyword);
}

// A result made from another file or another text is dropped, and the document asks
// again, once per state of its text, instead of waiting for a key.
TEST_F(Recolour, AStaleResultIsDroppedAndAskedForAgain) {
    std::string text = "int x;\n";
    set_text(text, file_kind_c, "x.c");
    std::string colours(text.size() + 2, (char)cpp_kind_local_var);
    auto publish = [&](const char* path, i64 length) {
        mutex_lock(analysis.lock);
        analysis.request.pending = 0;
        analysis.result_slot.ready = 1;
        analysis.result_slot.path = sv_from_cstr(path);
        analysis.result_slot.had_text = 1;
        analysis.result_slot.colours = Array<u8>{(u8*)colours.data(), (i32)length, (i32)length, pool_main};
        analysis.result_slot.result = AnalysisResult{};
        mutex_unlock(analysis.lock);
    };
    auto stale_then_asked = [&](const char* path, i64 length) {
        publish(path, length);
        EXPECT_FALSE(editor_take_analysis_result(&doc)) << path;
        EXPECT_EQ(analysis.result_slot.ready, 0) << path;
        EXPECT_EQ(colour_at(text, "x"), 0) << path;
        recolour_on_screen(&doc);
        mutex_lock(analysis.lock);
        bool asked = analysis.request.pending;
        analysis.request.pending = 0;
        mutex_unlock(analysis.lock);
        return asked;
    };
    i64 size = (i64)text.size();
    EXPECT_TRUE(stale_then_asked("other.c", size));
    EXPECT_FALSE(stale_then_asked("x.c", size + 2)) << "the same text is not asked for twice";
    document_mark_changed(&doc);
    EXPECT_TRUE(stale_then_asked("x.c", size + 2));
    // A result that fits is taken with its colours.
    publish("x.c", size);
    EXPECT_TRUE(editor_take_analysis_result(&doc));
    EXPECT_EQ(colour_at(text, "x"), cpp_kind_local_var);
}

}  // namespace
