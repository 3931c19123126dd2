// Tab slots, the line table (full and incremental) and the shared undo store.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/line_table.h"
#include "editor/motion.h"
#include "editor/text_change.h"
#include "editor/undo_store.h"
#include "platform/headless/headless.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "test_support.h"

namespace {

std::vector<i32> lines_of(const Document* doc) {
    std::vector<i32> out;
    for (i64 i = 0; i < line_count(doc); i++) out.push_back((i32)line_length(doc, i));
    return out;
}

// The table a full walk gives for the text as it stands.
std::vector<i32> walked_lines(const Document* doc) {
    std::vector<i32> lines;
    i32 run = 0;
    for (i64 i = 0; i < document_length(doc); i++) {
        run++;
        if (document_byte(doc, i) == '\n') {
            lines.push_back(run);
            run = 0;
        }
    }
    lines.push_back(run);
    return lines;
}

std::string text_of(const Document* doc) { return std::string((const char*)((const u8*)document_text(doc).data), (size_t)document_length(doc)); }

class EditorDocument : public ::testing::Test {
  protected:
    EditorHooks saved_hooks{};
    void SetUp() override {
        ensure_analysis_locks();
        headless_reset();
        tab_table_init();
        // The workbench may have left its hooks and a project behind.
        saved_hooks = editor.hooks;
        editor.hooks = EditorHooks{};
        core.project_path.length = 0;
    }
    void TearDown() override {
        editor.hooks = saved_hooks;
        tab_table_init();
    }
};

TEST_F(EditorDocument, RebuildLineTableFollowsTheFinalNewlineRule) {
    Document* doc = &editor.tab_table.slots[0];
    document_set_text(doc, SV(""));
    EXPECT_EQ(text_of(doc), "\n");
    EXPECT_EQ(lines_of(doc), (std::vector<i32>{1, 0}));
    EXPECT_EQ(document_length(doc), 1);

    document_set_text(doc, SV("a\nbc"));
    EXPECT_EQ(text_of(doc), "a\nbc\n");
    EXPECT_EQ(lines_of(doc), (std::vector<i32>{2, 3, 0}));

    Document field;
    document_init_entry_field(&field);
    document_set_text(&field, SV("a\nb"));
    EXPECT_EQ(text_of(&field), "ab");
    EXPECT_EQ(lines_of(&field), (std::vector<i32>{2}));
    EXPECT_LE(field.cursor, 2);
    EXPECT_EQ(document_length(&field), 2);
}

TEST_F(EditorDocument, EntryFieldsAndTabSlotsStartFromTheirTemplates) {
    render.theme.text_color = Color{0.25f, 0.5f, 0.75f, 1};
    render.theme.cursor_color = Color{1, 0, 0, 1};
    Document field;
    document_init_entry_field(&field);
    EXPECT_EQ(field.id, (u32)-1);
    EXPECT_EQ(field.single_line, 1);
    EXPECT_EQ(field.palette.count, 1);
    EXPECT_TRUE(color_equal(field.palette.colors[0], render.theme.text_color));
    EXPECT_FALSE(field.show_line_numbers || field.smooth_scroll || field.highlight_flag);

    tab_table_init();
    const Document& slot = editor.tab_table.slots[31];
    EXPECT_EQ(slot.undo_limit, 64);
    EXPECT_EQ(slot.last_edit_kind, edit_structural);
    EXPECT_EQ(slot.last_edit_pos, -1);
    EXPECT_FLOAT_EQ(slot.double_click_time, 0.5f);
    EXPECT_FLOAT_EQ(slot.scrollbar_width, 32.0f);
    EXPECT_TRUE(slot.show_line_numbers && slot.smooth_scroll && slot.highlight_flag);
    EXPECT_TRUE(color_equal(slot.caret_color, render.theme.cursor_color));
    EXPECT_EQ(slot.palette.count, vantrel_kind_count);
}

TEST_F(EditorDocument, TabSlotsAreFoundOpenedAndReused) {
    char dir[] = "/tmp/tesmora_tabs_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string file = std::string(dir) + "/x.vnt";
    FILE* f = fopen(file.c_str(), "w");
    fputs("abc\n", f);
    fclose(f);
    StringView path{file.c_str(), (i64)file.size()};

    for (u32 id = 1; id <= 32; id++) EXPECT_EQ(open_tab(path, id), (i64)id - 1);
    EXPECT_EQ(headless_message_box_count(), 0);
    editor.tab_table.slots[5].cursor = 2;
    EXPECT_EQ(open_tab(path, 99), -1);
    ASSERT_EQ(headless_message_box_count(), 1);
    EXPECT_STREQ(headless_message_box(0)->title, "error");
    EXPECT_STREQ(headless_message_box(0)->text, "too many tabs!");
    EXPECT_EQ(find_tab(99), -1);
    EXPECT_EQ(editor.tab_table.slots[5].cursor, 2);
    EXPECT_EQ(editor.current_document, &editor.tab_table.slots[31]);

    // A closed slot keeps its record but is no longer found, and is taken first again.
    tab_slot_release(0);
    EXPECT_EQ(editor.tab_table.slots[0].id, 1u);
    EXPECT_EQ(find_tab(1), -1);
    EXPECT_EQ(find_tab(7), 6);
    EXPECT_EQ(open_tab(path, 40), 0);
    EXPECT_EQ(find_tab(40), 0);
    EXPECT_EQ(text_of(&editor.tab_table.slots[0]), "abc\n");
    EXPECT_EQ(editor.tab_table.slots[0].kind, file_kind_vantrel);

    // Closing and reopening tabs for a long time takes nothing more from pool_main.
    tab_slot_release(3);
    open_tab(path, 50);
    i64 used = memory.arenas[pool_main].used;
    for (int i = 0; i < 300; i++) {
        tab_slot_release(3);
        EXPECT_EQ(open_tab(path, 51 + (u32)i), 3);
    }
    EXPECT_EQ(memory.arenas[pool_main].used, used);

    // A slot reused for a file that is not there keeps that file's name (saving creates
    // it), never the previous file's path.
    tab_slot_release(3);
    EXPECT_EQ(open_tab(SV("/nonexistent/file.vnt"), 500), 3);
    EXPECT_TRUE(sv_equal(owned_view(editor.tab_table.slots[3].path), SV("/nonexistent/file.vnt")));
    EXPECT_TRUE(editor.tab_table.slots[3].file_missing);
    EXPECT_STREQ(headless_message_box(headless_message_box_count() - 1)->text,
                 "failed to open file: /nonexistent/file.vnt");
    unlink(file.c_str());
    rmdir(dir);
}

TEST_F(EditorDocument, DisplayNamesAndProjectPaths) {
    EXPECT_TRUE(sv_equal(tab_display_name(SV("src/a/b.vnt")), SV("b.vnt")));
    EXPECT_TRUE(sv_equal(tab_display_name(SV("src\\b.c")), SV("b.c")));
    EXPECT_TRUE(sv_equal(tab_display_name(SV("x/y\\z")), SV("y\\z")));
    EXPECT_TRUE(sv_equal(tab_display_name(SV("plain")), SV("plain")));
    editor.tab_paths.count = 0;
    array_append(&editor.tab_paths, TabPath{3, SV("three.vnt")});
    array_append(&editor.tab_paths, TabPath{4, SV("four.c")});
    EXPECT_TRUE(sv_equal(tab_path(4), SV("four.c")));
    EXPECT_EQ(tab_path(5).length, 0);
    editor.tab_paths.count = 0;
}

// Incremental changes give exactly the table a full walk gives.
TEST_F(EditorDocument, IncrementalLineTableMatchesAFullWalk) {
    Document* doc = &editor.tab_table.slots[0];
    struct Case {
        const char* text;
        i64 pos;
        const char* insert;
        i64 remove_start, remove_count;
    };
    const Case cases[] = {
        {"ab\ncd\n", 3, "x\ny\n", 0, 0},   // at a row start, ending in a newline
        {"ab\ncd\n", 6, "tail", 0, 0},     // past the final newline
        {"ab\ncd\n", 1, "\n\n\n", 0, 0},   // only newlines, mid-row
        {"ab\ncd\nef\n", 0, "", 1, 5},     // across two newlines
        {"ab\ncd\nef\n", 0, "", 2, 1},     // one newline
        {"ab\ncd\nef\n", 0, "", 0, 9},     // everything
        {"ab\ncd\nef\n", 0, "", 6, 3},     // the last row with the final newline
    };
    for (const Case& c : cases) {
        document_set_text(doc, sv_from_cstr(c.text));
        text_insert(doc, c.pos, sv_from_cstr(c.insert), 3);
        text_remove(doc, c.remove_start, c.remove_count);
        EXPECT_EQ(lines_of(doc), walked_lines(doc)) << c.text << " / " << c.insert;
        EXPECT_EQ(document_length(doc), document_length(doc));
        keep_final_newline(doc);
        std::vector<i32> incremental = lines_of(doc);
        rebuild_line_table(doc);
        EXPECT_EQ(incremental, lines_of(doc)) << c.text;
    }
    // Long tables take the block-skipping path of the row search.
    std::string many;
    for (int i = 0; i < 1000; i++) many += std::string((size_t)(i % 7), 'x') + "\n";
    document_set_text(doc, SV(""));
    text_insert(doc, 0, StringView{many.data(), (i64)many.size()}, 0);
    text_remove(doc, 1234, 2000);
    text_insert(doc, 555, SV("a\nb\n"), 0);
    EXPECT_EQ(lines_of(doc), walked_lines(doc));
    i64 start = 0;
    i64 row = locate_row(doc, 1000, &start);
    EXPECT_EQ(row, row_of_position(doc, 1000));
    EXPECT_EQ(start, row_start(doc, row));
    EXPECT_LE(start, 1000);
    EXPECT_GT(start + line_length(doc, row), 1000);
}

// The history holds what changed, not copies of the text: a 20 MB document keeps every
// step, and one document's edits never touch another's history.
TEST_F(EditorDocument, LargeDocumentsKeepTheirStepsAndHistoriesStaySeparate) {
    Document* a = &editor.tab_table.slots[0];
    Document* b = &editor.tab_table.slots[1];
    std::string big((size_t)20 << 20, 'a');
    document_set_text(a, StringView{big.data(), (i64)big.size()});
    big.assign(big.size(), 'b');
    document_set_text(b, StringView{big.data(), (i64)big.size()});
    auto change_first = [](Document* d, char c) {
        d->last_edit_kind = edit_structural;
        undo_checkpoint(d, edit_structural);
        text_remove(d, 0, 1);
        text_insert(d, 0, StringView{&c, 1}, 0);
    };
    for (int i = 0; i < 4; i++) change_first(b, (char)('0' + i));
    for (int i = 0; i < 64; i++) change_first(a, (char)('A' + i % 26));
    EXPECT_FALSE(a->history_trimmed);
    EXPECT_EQ(a->undo_snapshots.count, 64);
    EXPECT_FALSE(b->history_trimmed);
    EXPECT_EQ(b->undo_snapshots.count, 4);
    EXPECT_LT(undo_store_bytes(a), 1 << 20) << "the history holds the edits, not the text";

    // Every step of both comes back.
    for (int i = 0; i < 64; i++) undo(a);
    EXPECT_EQ(document_byte(a, 0), 'a');
    EXPECT_EQ(document_byte(a, 1), 'a');
    for (int i = 0; i < 64; i++) redo(a);
    EXPECT_EQ(document_byte(a, 0), (u8)('A' + 63 % 26));
    for (int i = 0; i < 4; i++) undo(b);
    EXPECT_EQ(document_byte(b, 0), 'b');
    EXPECT_EQ(document_length(b), (i64)big.size() + 1);
}

}  // namespace
