// Search, replace, clipboard and case conversion.
#include <gtest/gtest.h>

#include <string>

#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/clipboard.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/search.h"
#include "editor/text_change.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

std::string str(StringView s) { return std::string(s.data ? s.data : "", (size_t)(s.data ? s.length : 0)); }

class EditorSearch : public ::testing::Test {
  protected:
    EditorHooks saved_hooks{};
    Document* doc = nullptr;

    void SetUp() override {
        ensure_analysis_locks();
        headless_reset();
        tab_table_init();
        // The workbench may have left its hooks and a project behind.
        saved_hooks = editor.hooks;
        editor.hooks = EditorHooks{};
        core.project_path.length = 0;
        doc = &editor.tab_table.slots[0];
        editor.search.match_case = false;
        editor.search.whole_word = false;
    }
    void TearDown() override {
        editor.hooks = saved_hooks;
        document_reset(doc);
        editor.search.match_case = false;
        editor.search.whole_word = false;
    }

    void set(const char* text, i32 cursor) {
        document_set_text(doc, sv_from_cstr(text));
        doc->cursor = doc->anchor = cursor;
    }
    void select(i32 anchor, i32 cursor) {
        doc->anchor = anchor;
        doc->cursor = cursor;
    }
    void search_for(const char* s) { string_assign(&editor.search.search_text, sv_from_cstr(s), pool_main); }
    std::string text() const { return std::string((const char*)((const u8*)document_text(doc).data), (size_t)document_length(doc)); }
};

TEST_F(EditorSearch, FindNextContinuesAfterTheMatchAndWraps) {
    set("foo bar foo baz\n", 0);
    search_for("foo");
    find_next(doc, doc->cursor);
    EXPECT_EQ(doc->anchor, 0);
    EXPECT_EQ(doc->cursor, 3);
    find_next(doc, doc->cursor);
    EXPECT_EQ(doc->anchor, 8);
    EXPECT_EQ(doc->cursor, 11);
    find_next(doc, doc->cursor);
    EXPECT_EQ(doc->anchor, 0);

    // Longer than the text: nothing selected, and find previous does nothing either.
    select(2, 2);
    search_for("foo bar foo baz and more");
    find_next(doc, doc->cursor);
    find_previous(doc);
    EXPECT_EQ(doc->anchor, 2);
    EXPECT_EQ(doc->cursor, 2);

    // An empty search text matches at the cursor and selects nothing.
    search_for("");
    select(5, 5);
    find_next(doc, 5);
    EXPECT_EQ(doc->anchor, 5);
    EXPECT_EQ(doc->cursor, 5);
}

TEST_F(EditorSearch, FindPreviousEndsAtOrBeforeTheMatchStartAndWraps) {
    set("ab ab ab\n", 0);
    search_for("ab");
    select(3, 5);
    find_previous(doc);
    EXPECT_EQ(doc->anchor, 0);
    EXPECT_EQ(doc->cursor, 2);
    find_previous(doc);
    EXPECT_EQ(doc->anchor, 6);
    EXPECT_EQ(doc->cursor, 8);
}

TEST_F(EditorSearch, CaseFoldingAndWholeWords) {
    set("Value VALUE value values\n", 0);
    search_for("value");
    find_next(doc, 0);
    EXPECT_EQ(doc->anchor, 0);
    find_next(doc, doc->cursor);
    EXPECT_EQ(doc->anchor, 6);
    editor.search.match_case = true;
    find_next(doc, 1);
    EXPECT_EQ(doc->anchor, 12);
    // Whole word: "values" does not count, so the search wraps back to "value".
    editor.search.whole_word = true;
    find_next(doc, 13);
    EXPECT_EQ(doc->anchor, 12);
    EXPECT_EQ(doc->cursor, 17);

    // At the very start of the text a match counts only when it begins with a word byte.
    editor.search.match_case = false;
    set("ab+ab\n", 0);
    EXPECT_TRUE(on_word_boundaries(doc, 0, 2));
    search_for("+ab");
    EXPECT_TRUE(matches_at(doc, 2, 5));
    set("+ab ab\n", 0);
    EXPECT_FALSE(matches_at(doc, 0, 3));
    editor.search.whole_word = false;
    EXPECT_TRUE(matches_at(doc, 0, 3));
    editor.search.whole_word = true;
    // Folding touches only A to Z: bytes of UTF-8 letters must be equal.
    editor.search.whole_word = false;
    set("\xC3\x89t\xC3\xA9\n", 0);
    search_for("\xC3\xA9T\xC3\x89");
    EXPECT_FALSE(matches_at(doc, 0, 5));
    search_for("\xC3\x89T\xC3\xA9");
    EXPECT_TRUE(matches_at(doc, 0, 5));
    // Out-of-range tests are simply false.
    EXPECT_FALSE(matches_at(doc, -1, 4));
    EXPECT_FALSE(matches_at(doc, 3, 8));
}

// Ctrl+T replaces only a selected match; replace-all counts, and undoes in one step.
TEST_F(EditorSearch, ReplaceOnlyASelectedMatchAndReplaceAllInOneStep) {
    set("one two\n", 4);
    search_for("two");
    string_assign(&editor.search.replace_text, SV("2"), pool_main);
    select(4, 7);
    replace_selection(doc);
    EXPECT_EQ(text(), "one 2\n");
    EXPECT_EQ(doc->cursor, 5);
    EXPECT_EQ(doc->anchor, 5);
    EXPECT_TRUE(doc->dirty);
    select(1, 1);
    replace_selection(doc);
    select(0, 3);
    replace_selection(doc);
    EXPECT_EQ(text(), "one 2\n") << "nothing selected, or not a match: nothing happens";

    set("a.b a.b\nA.B a.bc\n", 0);
    search_for("a.b");
    MatchCount c = count_matches(doc, SV("a.b"), 4);
    EXPECT_EQ(c.total, 4);
    EXPECT_EQ(c.before, 1);
    editor.search.whole_word = true;
    EXPECT_EQ(count_matches(doc, SV("a.b"), 0).total, 3);
    editor.search.match_case = true;
    EXPECT_EQ(count_matches(doc, SV("a.b"), 0).total, 2);
    editor.search.match_case = editor.search.whole_word = false;
    EXPECT_EQ(count_matches(doc, SV("aa"), 0).total, 0);
    string_assign(&editor.search.replace_text, SV("xy"), pool_main);
    EXPECT_EQ(replace_all(doc), 4);
    EXPECT_EQ(text(), "xy xy\nxy xyc\n");
    undo(doc);
    EXPECT_EQ(text(), "a.b a.b\nA.B a.bc\n");
    set("aaaa\n", 0);
    EXPECT_EQ(count_matches(doc, SV("aa"), 0).total, 2) << "matches do not overlap";
}

TEST_F(EditorSearch, FindStartsFromTheSelectionOrTheWordAtTheCaret) {
    set("int value = other;\nx\n", 6);
    EXPECT_EQ(str(search_text_at_caret(doc)), "value");
    select(12, 17);
    EXPECT_EQ(str(search_text_at_caret(doc)), "other");
    select(4, 21);
    EXPECT_EQ(search_text_at_caret(doc).length, 0) << "a selection over several lines is not searched for";
    select(11, 11);
    EXPECT_EQ(search_text_at_caret(doc).length, 0);
}

TEST_F(EditorSearch, CopyGrowsTheStagingBufferAndRegistersIt) {
    std::string big(10000, 'q');
    big += "\n";
    set(big.c_str(), 0);
    select(0, 10000);
    copy_selection(doc);
    EXPECT_EQ(doc->clip_capacity, 16384);
    EXPECT_EQ(headless_clipboard().length, 10000);
    // The buffer handed to the platform is where clipboard_get now delivers the text.
    StringView got = clipboard_get();
    EXPECT_EQ(got.data, doc->clip_data);
    EXPECT_EQ(got.length, 10000);
    EXPECT_FALSE(doc->dirty);

    // An empty selection puts an empty string on the clipboard and changes nothing.
    select(3, 3);
    copy_selection(doc);
    EXPECT_EQ(headless_clipboard().length, 0);
    EXPECT_EQ(document_length(doc), 10001);
}

TEST_F(EditorSearch, CutAndPaste) {
    set("abc\ndef\n", 0);
    // Cut of nothing still marks the document and takes a checkpoint.
    cut_selection(doc);
    EXPECT_TRUE(doc->dirty);
    EXPECT_EQ(doc->undo_snapshots.count, 1);
    EXPECT_EQ(text(), "abc\ndef\n");

    select(1, 6);
    cut_selection(doc);
    EXPECT_EQ(text(), "af\n");
    EXPECT_EQ(std::string(headless_clipboard().data, (size_t)headless_clipboard().length), "bc\nde");

    headless_set_clipboard(SV("1\n22\n333"));
    for (i64 i = 0; i < document_length(doc); i++) store_set_colour(&(doc)->text, i, 4);
    select(1, 1);
    paste(doc);
    EXPECT_EQ(text(), "a1\n22\n333f\n");
    EXPECT_EQ(doc->cursor, 9);
    EXPECT_EQ(doc->anchor, 9);
    ASSERT_EQ(line_count(doc), 4);
    EXPECT_EQ(line_length(doc, 0), 3);
    EXPECT_EQ(line_length(doc, 1), 3);
    EXPECT_EQ(line_length(doc, 2), 5);
    for (i64 i = 1; i < 9; i++) EXPECT_EQ(document_colour(doc, i), 0) << i;
    EXPECT_EQ(document_colour(doc, 0), 4);
    EXPECT_EQ(document_colour(doc, 9), 4);
    EXPECT_EQ(document_length(doc), document_length(doc));
    undo(doc);
    EXPECT_EQ(text(), "af\n");

    // Pasting an empty clipboard only deletes the selection.
    headless_set_clipboard(SV(""));
    select(0, 1);
    paste(doc);
    EXPECT_EQ(text(), "f\n");
}

TEST_F(EditorSearch, CaseConversionLeavesUtf8BytesAlone) {
    set("ab\xC3\xA9 Zz\n", 0);
    select(0, 7);
    to_upper_case(doc);
    EXPECT_EQ(text(), "AB\xC3\xA9 ZZ\n");
    EXPECT_EQ(doc->anchor, 0);
    EXPECT_EQ(doc->cursor, 7);
    EXPECT_TRUE(doc->dirty);
    select(7, 1);
    to_lower_case(doc);
    EXPECT_EQ(text(), "Ab\xC3\xA9 zz\n");
    undo(doc);
    EXPECT_EQ(text(), "AB\xC3\xA9 ZZ\n");
}

TEST_F(EditorSearch, HugePasteIsRefusedWhenTheArenaCannotHoldIt) {
    set("keep\n", 0);
    std::string huge((size_t)8 << 20, 'h');
    headless_set_clipboard(StringView{huge.data(), (i64)huge.size()});
    i64 capacity = memory.arenas[pool_main].capacity;
    // Pretend the arena ends a few megabytes past what is in use now.
    memory.arenas[pool_main].capacity = memory.arenas[pool_main].used + ((i64)4 << 20) + document_memory_margin;
    i64 boxes = headless_message_box_count();
    paste(doc);
    memory.arenas[pool_main].capacity = capacity;
    EXPECT_EQ(text(), "keep\n");
    ASSERT_EQ(headless_message_box_count(), boxes + 1);
    EXPECT_STREQ(headless_message_box(boxes)->text, "document too large");
    EXPECT_FALSE(doc->dirty);
    // With the arena back the same paste goes in.
    paste(doc);
    EXPECT_EQ(document_length(doc), (i64)huge.size() + 5);
}

}  // namespace
