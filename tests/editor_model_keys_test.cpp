// Key handling of a document driven through the headless back-end: editing, undo
// grouping, indentation, keypad rules and motion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "syntax/file_kind.h"
#include "editor/search.h"
#include "editor/motion.h"
#include "editor/undo_store.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

class EditorKeys : public ::testing::Test {
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
        doc->focused = 1;
    }
    void TearDown() override {
        editor.hooks = saved_hooks;
        document_reset(doc);
    }

    void set(const char* text, i32 cursor) {
        document_set_text(doc, sv_from_cstr(text));
        doc->cursor = doc->anchor = cursor;
    }
    std::string text() const { return std::string((const char*)((const u8*)document_text(doc).data), (size_t)document_length(doc)); }

    void frame() {
        input_poll();
        handle_keys(doc);
    }
    void type(const char* s) {
        headless_text(sv_from_cstr(s));
        frame();
    }
    void key(i32 k) {
        headless_key_tap(k);
        frame();
    }
    void hold(i32 k) { headless_key_down(k); }
    void release(i32 k) { headless_key_up(k); }
    void ctrl(i32 k) {
        hold(key_ctrl);
        key(k);
        release(key_ctrl);
    }
    i64 snapshots() const { return doc->undo_snapshots.count; }
};

TEST_F(EditorKeys, UndoGroupsRunsOfTypingNearOnePlace) {
    set("0123456789abcdef\n", 0);
    type("x");
    type("y");
    type("z");
    EXPECT_EQ(text(), "xyz0123456789abcdef\n");
    EXPECT_EQ(snapshots(), 1);
    ctrl(key_Z);
    EXPECT_EQ(text(), "0123456789abcdef\n");

    // A letter, then a jump of 9 or more bytes and another letter: two steps.
    set("0123456789abcdef\n", 0);
    type("x");
    doc->cursor = doc->anchor = 12;
    type("y");
    EXPECT_EQ(text(), "x0123456789aybcdef\n");
    ctrl(key_Z);
    EXPECT_EQ(text(), "x0123456789abcdef\n");
    ctrl(key_Z);
    EXPECT_EQ(text(), "0123456789abcdef\n");

    // Letters then a space: the kind changes, so the space starts a new step.
    set("\n", 0);
    type("a");
    type("b");
    type(" ");
    EXPECT_EQ(text(), "ab \n");
    ctrl(key_Z);
    EXPECT_EQ(text(), "ab\n");
    ctrl(key_Z);
    EXPECT_EQ(text(), "\n");
}

TEST_F(EditorKeys, UndoTwiceRedoTwiceReturnsToThePresent) {
    set("\n", 0);
    type("a");
    key(key_enter);
    type("b");
    std::string before = text();
    ctrl(key_Z);
    ctrl(key_Z);
    EXPECT_NE(text(), before);
    ctrl(key_Y);
    ctrl(key_Y);
    EXPECT_EQ(text(), before);
    EXPECT_TRUE(doc->dirty);
    // Redo at the newest snapshot does nothing.
    ctrl(key_Y);
    EXPECT_EQ(text(), before);
}

// Typing after an undo starts a new branch: the typed text is one undo away and redo
// has nothing left that would bring back the text it replaced.
TEST_F(EditorKeys, TypingAfterUndoEndsTheRedoChainWithoutLosingText) {
    set("\n", 0);
    type("a");
    key(key_enter);
    type("b");
    ctrl(key_Z);
    EXPECT_EQ(text(), "a\n\n");
    type("c");
    EXPECT_EQ(text(), "a\nc\n");
    ctrl(key_Y);
    EXPECT_EQ(text(), "a\nc\n") << "redo must not drop what was typed";
    ctrl(key_Z);
    EXPECT_EQ(text(), "a\n\n");
    ctrl(key_Y);
    EXPECT_EQ(text(), "a\nc\n");
}

TEST_F(EditorKeys, UndoingBackToTheSavedTextClearsTheModifiedMark) {
    set("\n", 0);
    type("a");
    key(key_enter);
    document_mark_saved(doc);  // as a save does
    type("b");
    EXPECT_TRUE(doc->dirty);
    ctrl(key_Z);
    EXPECT_EQ(text(), "a\n\n");
    EXPECT_FALSE(doc->dirty);
    ctrl(key_Z);
    EXPECT_TRUE(doc->dirty);
    ctrl(key_Y);
    EXPECT_FALSE(doc->dirty);
}

TEST_F(EditorKeys, HistoryKeepsAtMost65SnapshotsAfter70StructuralEdits) {
    set("\n", 0);
    for (int i = 0; i < 70; i++) key(key_enter);
    EXPECT_EQ(document_length(doc), 71);
    EXPECT_LE(snapshots(), 65);
    EXPECT_TRUE(doc->history_trimmed);
    for (int i = 0; i < 100; i++) ctrl(key_Z);
    // The oldest states are gone: undo stops short of the empty text.
    EXPECT_EQ(doc->undo_index, 0);
    EXPECT_GT(document_length(doc), 1);
    EXPECT_EQ(document_length(doc), 71 - 64);
}

TEST_F(EditorKeys, EnterKeepsLeadingTabsAndSingleLineSubmits) {
    set("\t\tabc\n", 5);
    key(key_enter);
    EXPECT_EQ(text(), "\t\tabc\n\t\t\n");
    EXPECT_EQ(doc->cursor, 8);
    EXPECT_EQ(doc->anchor, 8);

    Document field;
    document_init_entry_field(&field);
    document_set_text(&field, SV("abc"));
    field.focused = 1;
    headless_key_tap(key_enter);
    input_poll();
    handle_keys(&field);
    EXPECT_EQ(field.submitted, 1);
    EXPECT_EQ(std::string((const char*)((const u8*)document_text(&field).data), (size_t)document_length(&field)), "abc");
    // Typed text holding newlines (a paste through the keyboard) stays on one line.
    headless_text(SV("x\ny"));
    input_poll();
    handle_keys(&field);
    EXPECT_EQ(std::string((const char*)((const u8*)document_text(&field).data), (size_t)document_length(&field)), "abcxy");
    EXPECT_EQ(field.cursor, 5);
    ASSERT_EQ(line_count(&field), 1);
    EXPECT_EQ(line_length(&field, 0), 5);
    undo_store_clear(&field);
}

TEST_F(EditorKeys, BackspaceRemovesWholeUtf8CharactersAndWords) {
    set("a\xC3\xA9\xE2\x82\xAC\n", 6);  // a, e-acute (2 bytes), euro sign (3 bytes)
    key(key_backspace);
    EXPECT_EQ(text(), "a\xC3\xA9\n");
    key(key_backspace);
    EXPECT_EQ(text(), "a\n");
    EXPECT_EQ(doc->cursor, 1);

    set("x = foo_42bar\n", 13);
    ctrl(key_backspace);
    EXPECT_EQ(text(), "x = \n");
    set("x a  \n", 5);
    ctrl(key_backspace);
    EXPECT_EQ(text(), "x a\n");
    EXPECT_EQ(doc->cursor, 3);
    // At the start of a line the newline before it goes.
    set("ab\ncd\n", 3);
    ctrl(key_backspace);
    EXPECT_EQ(text(), "abcd\n");

    // Delete takes the character at the cursor with its continuation bytes.
    set("\xC3\xA9x\n", 0);
    key(key_delete);
    EXPECT_EQ(text(), "x\n");
    // Deleting the final newline gives it back: the text always ends in one.
    set("ab\n", 2);
    key(key_delete);
    EXPECT_EQ(text(), "ab\n");
    ASSERT_EQ(line_count(doc), 2);
    EXPECT_EQ(line_length(doc, 0), 3);
}

TEST_F(EditorKeys, BlockIndentationWithTabAndShiftTab) {
    set("ab\ncd\nef\n", 0);
    doc->anchor = 1;
    doc->cursor = 4;
    key(key_tab);
    EXPECT_EQ(text(), "\tab\n\tcd\nef\n");
    EXPECT_EQ(doc->anchor, 2) << "the ends stay on their characters";
    EXPECT_EQ(doc->cursor, 6);
    hold(key_shift);
    key(key_tab);
    release(key_shift);
    EXPECT_EQ(text(), "ab\ncd\nef\n");
    EXPECT_EQ(doc->cursor, 4);

    // No leading tab: nothing to take away.
    set("ab\ncd\n", 4);
    doc->anchor = 0;
    hold(key_shift);
    key(key_tab);
    release(key_shift);
    EXPECT_EQ(text(), "ab\ncd\n");
    // A line beginning exactly at the larger end is not touched.
    set("ab\ncd\n", 3);
    doc->anchor = 0;
    key(key_tab);
    EXPECT_EQ(text(), "\tab\ncd\n");
}

// The file's own unit (told by its indented lines) for Enter, braces, Tab and Shift+Tab.
TEST_F(EditorKeys, IndentationFollowsTheFilesUnit) {
    const char* spaced = "int f() {\n  if (x) {\n    y();\n  }\n}\n";
    set(spaced, 0);
    doc->kind = file_kind_c;
    EXPECT_EQ(doc->indent_unit, 2);
    // Enter after "y();" keeps the four spaces; after "{" one unit more.
    doc->cursor = doc->anchor = 29;
    key(key_enter);
    type("z;");
    EXPECT_EQ(text(), "int f() {\n  if (x) {\n    y();\n    z;\n  }\n}\n");
    doc->cursor = doc->anchor = 20;
    key(key_enter);
    EXPECT_EQ(doc->cursor, 25);
    EXPECT_EQ(text().substr(0, 26), "int f() {\n  if (x) {\n    \n");
    // "}" on a blank line goes back one unit.
    type("}");
    EXPECT_EQ(text().substr(0, 25), "int f() {\n  if (x) {\n  }\n");
    // Enter inside the leading blanks takes only what is left of the caret.
    set("\t\tx\n", 1);
    key(key_enter);
    EXPECT_EQ(text(), "\t\n\t\tx\n");
    // Enter between braces puts the closing one on its own line.
    set("\tg() {}\n", 6);
    doc->kind = file_kind_cpp;
    key(key_enter);
    EXPECT_EQ(text(), "\tg() {\n\t\t\n\t}\n");
    EXPECT_EQ(doc->cursor, 9);
    // Plain text gets no extra level.
    set("a {\n", 3);
    doc->kind = file_kind_other;
    key(key_enter);
    EXPECT_EQ(text(), "a {\n\n");

    // Shift+Tab outdents the caret's line from anywhere in it, also from column 0; Tab
    // with a selection indents by the unit and Tab alone goes to the next unit stop.
    set("a\n    b c\n  d\n", 9);
    EXPECT_EQ(doc->indent_unit, 2);
    hold(key_shift);
    key(key_tab);
    release(key_shift);
    EXPECT_EQ(text(), "a\n  b c\n  d\n");
    EXPECT_EQ(doc->cursor, 7);
    doc->cursor = doc->anchor = 10;
    hold(key_shift);
    key(key_tab);
    release(key_shift);
    EXPECT_EQ(text(), "a\n  b c\nd\n");
    doc->anchor = 0;
    doc->cursor = 11;
    key(key_tab);
    EXPECT_EQ(text(), "  a\n    b c\n  d\n");
    doc->cursor = doc->anchor = 3;
    type("x");
    key(key_tab);
    EXPECT_EQ(text(), "  ax  \n    b c\n  d\n");
}

TEST_F(EditorKeys, KeypadFollowsNumLockAndShift) {
    set("abc\n", 2);
    // Num Lock off: keypad 4 moves left.
    headless_set_modifiers(0);
    key(key_kp_4);
    EXPECT_EQ(doc->cursor, 1);
    EXPECT_EQ(text(), "abc\n");
    // Num Lock on: it types its digit.
    headless_set_modifiers(modifier_num_lock);
    headless_text(SV("4"));
    key(key_kp_4);
    EXPECT_EQ(text(), "a4bc\n");
    EXPECT_EQ(doc->cursor, 2);
    // Num Lock on with Shift: it moves left again and types nothing.
    hold(key_shift);
    headless_text(SV("4"));
    key(key_kp_4);
    release(key_shift);
    EXPECT_EQ(text(), "a4bc\n");
    EXPECT_EQ(doc->cursor, 1);
}

TEST_F(EditorKeys, VerticalMotionKeepsThePreferredColumn) {
    set("0123456789abc\nxyz\n0123456789abcdef\n", 10);
    key(key_right);
    key(key_left);  // typed motion sets the preferred column to 10
    key(key_down);
    EXPECT_EQ(doc->cursor, 17);  // the short line's newline
    key(key_down);
    EXPECT_EQ(doc->cursor, 18 + 10);
    key(key_up);
    key(key_up);
    EXPECT_EQ(doc->cursor, 10);
    // Up on the first line goes to 0; Down on the last entry stays.
    key(key_up);
    EXPECT_EQ(doc->cursor, 0);
    doc->cursor = doc->anchor = (i32)document_length(doc);
    key(key_down);
    EXPECT_EQ(doc->cursor, document_length(doc));
    // Page Down moves twelve lines.
    std::string many;
    for (int i = 0; i < 30; i++) many += "ab\n";
    set(many.c_str(), 1);
    key(key_right);
    key(key_left);
    key(key_page_down);
    EXPECT_EQ(doc->cursor, 12 * 3 + 1);
}

TEST_F(EditorKeys, HorizontalMotionAndSelections) {
    set("hello world\n", 2);
    doc->anchor = 8;
    key(key_left);
    EXPECT_EQ(doc->cursor, 2);
    EXPECT_EQ(doc->anchor, 2);
    doc->anchor = 8;
    key(key_right);
    EXPECT_EQ(doc->cursor, 8);
    EXPECT_EQ(doc->anchor, 8);
    // Shift extends instead.
    hold(key_shift);
    key(key_right);
    release(key_shift);
    EXPECT_EQ(doc->cursor, 9);
    EXPECT_EQ(doc->anchor, 8);

    // Ctrl+Right from the first of two spaces before a letter stops before the letter.
    set("a  b\n", 1);
    ctrl(key_right);
    EXPECT_EQ(doc->cursor, 3);
    // On a newline it moves one byte.
    set("a\nb\n", 1);
    ctrl(key_right);
    EXPECT_EQ(doc->cursor, 2);
    // Right at the end stays at the end.
    set("ab\n", 3);
    key(key_right);
    EXPECT_EQ(doc->cursor, 3);
    ctrl(key_right);
    EXPECT_EQ(doc->cursor, 3);
    // Left over a multi-byte character lands on its first byte.
    set("a\xE2\x82\xAC\n", 4);
    key(key_left);
    EXPECT_EQ(doc->cursor, 1);
    // Home and End.
    set("ab\ncdef\n", 4);
    key(key_end);
    EXPECT_EQ(doc->cursor, 7);
    key(key_home);
    EXPECT_EQ(doc->cursor, 3);
}

TEST_F(EditorKeys, EscapeSuppressesTheFrameAndCtrlSuppressesTyping) {
    set("ab\n", 0);
    headless_text(SV("x"));
    headless_key_tap(key_escape);
    frame();
    EXPECT_EQ(text(), "ab\n");
    // Text typed with Ctrl held goes to the shortcuts, not into the document.
    hold(key_ctrl);
    headless_text(SV("a"));
    key(key_A);
    release(key_ctrl);
    EXPECT_EQ(text(), "ab\n");
    EXPECT_EQ(doc->anchor, 0);
    EXPECT_EQ(doc->cursor, 3);
}

TEST_F(EditorKeys, GoToLineClampsAtBothEnds) {
    set("a\nbb\nccc\n", 5);
    go_to_line(doc, 0);
    EXPECT_EQ(doc->cursor, 0);
    go_to_line(doc, 3);
    EXPECT_EQ(doc->cursor, 5);
    doc->cursor = doc->anchor = 4;
    go_to_line(doc, -7);
    EXPECT_EQ(doc->cursor, 0);
    EXPECT_EQ(doc->anchor, 0);
    go_to_line(doc, 1000);
    EXPECT_EQ(doc->cursor, 9);  // the start of the last (empty) entry
}

TEST_F(EditorKeys, TypedTextTakesTheColourOfTheTokenItExtends) {
    set("abc def\n", 3);
    for (i64 i = 0; i < 3; i++) store_set_colour(&(doc)->text, i, 5);
    for (i64 i = 4; i < 7; i++) store_set_colour(&(doc)->text, i, 9);
    store_set_colour(&(doc)->text, 3, 2);
    type("x");
    EXPECT_EQ(document_colour(doc, 3), 5);
    // A space after "abcx" takes the colour of the space after it.
    type(" ");
    EXPECT_EQ(document_colour(doc, 4), 2);
    EXPECT_EQ(document_length(doc), document_length(doc));
}

struct PromptCall {
    i32 mode;
    std::string title;
};
std::vector<PromptCall> prompt_calls;
void record_prompt(i32 mode, StringView title) {
    prompt_calls.push_back(PromptCall{mode, std::string(title.data, (size_t)title.length)});
}

TEST_F(EditorKeys, CtrlShortcutsReachPromptsSearchAndLists) {
    prompt_calls.clear();
    editor.hooks.open_prompt = record_prompt;
    set("alpha beta alpha\n", 0);
    ctrl(key_F);
    ctrl(key_R);
    ctrl(key_G);
    ASSERT_EQ(prompt_calls.size(), 3u);
    EXPECT_EQ(prompt_calls[0].mode, 1);
    EXPECT_EQ(prompt_calls[0].title, "find");
    EXPECT_EQ(prompt_calls[1].title, "replace");
    EXPECT_EQ(prompt_calls[2].mode, 3);
    EXPECT_EQ(prompt_calls[2].title, "goto line");

    // Ctrl+L finds the next match from the cursor, Ctrl+J the previous one.
    string_assign(&editor.search.search_text, SV("alpha"), pool_main);
    doc->cursor = doc->anchor = 1;
    ctrl(key_L);
    EXPECT_EQ(doc->anchor, 11);
    EXPECT_EQ(doc->cursor, 16);
    EXPECT_EQ(doc->view_request, 1);
    ctrl(key_J);
    EXPECT_EQ(doc->anchor, 0);
    bool whole = editor.search.whole_word, match = editor.search.match_case;
    ctrl(key_W);
    ctrl(key_match_case);
    EXPECT_NE(editor.search.whole_word, whole);
    EXPECT_NE(editor.search.match_case, match);
    editor.search.whole_word = whole;
    editor.search.match_case = match;

    // Ctrl+I and Ctrl+K move through the symbol list within its bounds.
    doc->symbol_list.count = 0;
    for (int i = 0; i < 3; i++) array_append(&doc->symbol_list, SymbolListEntry{});
    doc->symbol_list_selected = 0;
    ctrl(key_I);
    EXPECT_EQ(doc->symbol_list_selected, 0);
    for (int i = 0; i < 5; i++) ctrl(key_K);
    EXPECT_EQ(doc->symbol_list_selected, 2);
    ctrl(key_I);
    EXPECT_EQ(doc->symbol_list_selected, 1);

    // Ctrl+End and Ctrl+Home jump; with the completion list open but no candidate shown,
    // Enter closes it and ends the line.
    ctrl(key_end);
    EXPECT_EQ(doc->cursor, document_length(doc));
    ctrl(key_home);
    EXPECT_EQ(doc->cursor, 0);
    doc->cursor = doc->anchor = 8;  // inside "beta"
    analysis.current_result = AnalysisResult{};  // no names left by an earlier test's analysis
    ctrl(key_space);
    EXPECT_EQ(doc->completion_open, 1);
    key(key_enter);
    EXPECT_EQ(text(), "alpha be\nta alpha\n");
    EXPECT_EQ(doc->completion_open, 0);

    // A single-line field has no prompts.
    prompt_calls.clear();
    Document field;
    document_init_entry_field(&field);
    field.focused = 1;
    hold(key_ctrl);
    headless_key_tap(key_F);
    input_poll();
    handle_keys(&field);
    release(key_ctrl);
    EXPECT_TRUE(prompt_calls.empty());
}

}  // namespace
