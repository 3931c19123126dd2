// Random keystrokes on random documents, checking the document's invariants after every
// step; and a long editing session that must not grow the main arena.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/text_change.h"
#include "editor/undo_store.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

bool is_continuation(u8 c) { return c >= 0x80 && c <= 0xBF; }

class EditorRandom : public ::testing::Test {
  protected:
    EditorHooks saved_hooks{};
    Document* doc = nullptr;
    std::mt19937 random{20240611};

    void SetUp() override {
        ensure_analysis_locks();
        headless_reset();
        tab_table_init();
        // The workbench may have left its hooks and a project behind.
        saved_hooks = editor.hooks;
        editor.hooks = EditorHooks{};
        core.project_path.length = 0;
        doc = &editor.tab_table.slots[3];
        doc->focused = 1;
    }
    void TearDown() override {
        editor.hooks = saved_hooks;
        document_reset(doc);
    }

    i64 pick(i64 n) { return n <= 0 ? 0 : (i64)(random() % (u64)n); }

    std::string random_piece() {
        static const char* const utf8[] = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xD0\x96"};
        switch (pick(10)) {
            case 0: return "\n";
            case 1: return "\t";
            case 2: return " ";
            case 3: return utf8[pick(4)];
            case 4: return std::string(1, "(){};,.+-*"[pick(10)]);
            case 5: return std::string((size_t)(200 + pick(3000)), 'L');  // a long run
            default: return std::string(1, "abcxyz_019#$"[pick(12)]);
        }
    }
    std::string random_document() {
        std::string s;
        i64 pieces = pick(400);
        for (i64 i = 0; i < pieces; i++) s += random_piece();
        return s;
    }
    std::string text() const { return std::string((const char*)((const u8*)document_text(doc).data), (size_t)document_length(doc)); }

    i32 boundary_near(i64 pos) {
        if (pos > document_length(doc)) pos = document_length(doc);
        while (pos > 0 && pos < document_length(doc) && is_continuation(document_byte(doc, pos))) pos--;
        return (i32)pos;
    }

    void frame() {
        input_poll();
        handle_keys(doc);
    }
    void tap(i32 key, bool shift, bool ctrl) {
        if (shift) headless_key_down(key_shift);
        if (ctrl) headless_key_down(key_ctrl);
        headless_key_tap(key);
        frame();
        if (shift) headless_key_up(key_shift);
        if (ctrl) headless_key_up(key_ctrl);
    }

    // One random event. Returns true when it was a plain character step (Left or Right
    // that moved by a character rather than collapsing a selection).
    bool random_event() {
        static const i32 motion[] = {key_left, key_right, key_up, key_down, key_home, key_end, key_page_up, key_page_down};
        static const i32 ctrl_keys[] = {key_Z, key_Y, key_X, key_C, key_V, key_A, key_backspace, key_delete, key_left, key_right};
        i64 kind = pick(20);
        bool shift = pick(4) == 0;
        if (kind < 7) {
            std::string piece = random_piece();
            if (piece.size() > 40) piece.resize(40);
            headless_text(StringView{piece.data(), (i64)piece.size()});
            frame();
        } else if (kind < 11) {
            i32 key = motion[pick(8)];
            bool collapsing = doc->cursor != doc->anchor && !shift;
            tap(key, shift, false);
            return (key == key_left || key == key_right) && !collapsing;
        } else if (kind < 13) {
            tap(pick(2) ? key_backspace : key_delete, false, false);
        } else if (kind < 14) {
            tap(pick(2) ? key_enter : key_tab, shift, false);
        } else if (kind < 17) {
            i32 key = ctrl_keys[pick(10)];
            if (key == key_V && pick(2)) {
                std::string clip = random_piece() + random_piece() + random_piece();
                headless_set_clipboard(StringView{clip.data(), (i64)clip.size()});
            }
            tap(key, shift && key != key_Z && key != key_Y, true);
        } else {
            doc->anchor = boundary_near(pick(document_length(doc) + 1));
            doc->cursor = pick(3) ? boundary_near(pick(document_length(doc) + 1)) : doc->anchor;
        }
        return false;
    }

    void check_invariants(bool character_step, i64 step) {
        ASSERT_GT(document_length(doc), 0);
        ASSERT_EQ(document_byte(doc, document_length(doc) - 1), '\n') << step;
        // The table equals what a full walk of the text gives.
        std::vector<i32> walked;
        i32 run = 0;
        for (i64 i = 0; i < document_length(doc); i++) {
            run++;
            if (document_byte(doc, i) == '\n') {
                walked.push_back(run);
                run = 0;
            }
        }
        walked.push_back(run);
        std::vector<i32> lines;
        for (i64 i = 0; i < line_count(doc); i++) lines.push_back((i32)line_length(doc, i));
        ASSERT_EQ(lines, walked) << step;
        ASSERT_GE(doc->cursor, 0);
        ASSERT_GE(doc->anchor, 0);
        ASSERT_LE(doc->cursor, document_length(doc));
        ASSERT_LE(doc->anchor, document_length(doc));
        if (character_step && doc->cursor < document_length(doc)) {
            ASSERT_FALSE(is_continuation(document_byte(doc, doc->cursor))) << step;
        }
    }
};

TEST_F(EditorRandom, RandomKeystrokesKeepEveryInvariantAndUndoRestoresTheStart) {
    i64 events = 0;
    for (int round = 0; round < 30; round++) {
        std::string start = random_document();
        document_set_text(doc, StringView{start.data(), (i64)start.size()});
        doc->undo_limit = 100000;  // long runs: the whole history stays
        doc->cursor = doc->anchor = boundary_near(pick(document_length(doc) + 1));
        std::string initial = text();
        i64 steps = 100 + pick(200);
        for (i64 step = 0; step < steps; step++, events++) {
            bool character_step = random_event();
            check_invariants(character_step, step);
            if (HasFatalFailure()) return;
        }
        for (int i = 0; i < 2000 && doc->undo_index >= 1; i++) tap(key_Z, false, true);
        ASSERT_FALSE(doc->history_trimmed);
        // A document that never changed has no history at all; otherwise the first
        // snapshot is the starting text.
        if (doc->undo_snapshots.count > 0) {
            EXPECT_EQ(text(), initial) << "round " << round;
        }
        check_invariants(false, -1);
        // Redo all the way forward again leaves every invariant in place.
        for (int i = 0; i < 2000 && doc->undo_index + 1 < doc->undo_snapshots.count; i++) tap(key_Y, false, true);
        check_invariants(false, -2);
    }
    EXPECT_GT(events, 3000);
}

TEST_F(EditorRandom, LongEditingSessionKeepsTheMainArenaBounded) {
    std::string line = "\tvalue = compute(alpha, beta) + 42; // comment\n";
    std::string big;
    while (big.size() < ((size_t)1 << 20)) big += line;
    document_set_text(doc, StringView{big.data(), (i64)big.size()});
    doc->cursor = doc->anchor = 0;
    i64 settled = 0, highest = 0, settled_at = 0;
    i64 run_kind = 0;
    const i64 before = memory.arenas[pool_main].used;
    for (int edit = 0; edit < 10000; edit++) {
        // Runs of a few like keystrokes at one place, then another place or kind.
        if (edit % 4 == 0) {
            run_kind = pick(10);
            if (pick(3) == 0) doc->cursor = doc->anchor = boundary_near(pick(document_length(doc)));
        }
        if (run_kind < 4) {
            headless_text(SV("q"));
            frame();
        } else if (run_kind < 8) {
            tap(key_backspace, false, false);
        } else if (run_kind < 9) {
            tap(key_Z, false, true);
        } else {
            tap(key_Y, false, true);
        }
        // Once the history is full, new snapshots must live on the chunks of dropped ones.
        if (settled == 0 && doc->undo_snapshots.count == 65) {
            settled = memory.arenas[pool_main].used;
            settled_at = edit;
        } else if (settled > 0 && memory.arenas[pool_main].used > highest) {
            highest = memory.arenas[pool_main].used;
        }
    }
    ASSERT_GT(settled, 0);
    EXPECT_LT(settled_at, 2000);
    std::printf("10,000 edits of a 1 MB document: pool_main grew %lld bytes, %lld of them before the history "
                "was full (edit %lld), %lld after\n",
                (long long)(std::max(highest, settled) - before), (long long)(settled - before), (long long)settled_at,
                (long long)(highest > settled ? highest - settled : 0));
    // Without reuse every later snapshot would take 2 MB more; at most one doubling of
    // the text's storage (its length drifts a little) may still be taken.
    i64 one_doubling = 2 * 2 * doc->text.capacity + 4 * doc->lines.capacity * 2;
    EXPECT_LE(highest - settled, one_doubling);
}

// The text store, line table and undo log against a plain string model: random inserts
// and removals (UTF-8, CRLF, long runs, each with its own colour) at random byte
// positions, random step boundaries, undos and redos. Every state a snapshot may hold is
// remembered by its state id; undo and redo must bring back exactly that text and those
// colours.
TEST_F(EditorRandom, StoreMatchesAStringModelOverMillionsOfEditsUndosAndRedos) {
    struct State {
        std::string text, colours;
    };
    std::string m, mc;
    std::unordered_map<u64, State> states;
    auto piece = [&]() -> std::string {
        switch (pick(12)) {
            case 0: return "\r\n";
            case 1: return "\n";
            case 2: return "\r";
            case 3: return "\xE2\x82\xAC\xF0\x9F\x98\x80";
            case 4: return std::string((size_t)(1 + pick(3000)), (char)('a' + pick(26)));
            default: {
                std::string s;
                for (i64 i = pick(12); i >= 0; i--) s += "ab\xC3\xA9 \t;\n\r{}x"[pick(12)];
                return s;
            }
        }
    };
    auto start = [&]() {
        std::string t;
        for (i64 i = pick(40); i > 0; i--) t += piece();
        document_set_text(doc, StringView{t.data(), (i64)t.size()});
        m.assign((const char*)document_text(doc).data, (size_t)document_length(doc));
        mc.assign(m.size(), '\0');
        states.clear();
        states[doc->state_id] = State{m, mc};
    };
    auto full_check = [&](i64 op) {
        ASSERT_EQ(document_length(doc), (i64)m.size()) << op;
        std::string bytes((size_t)m.size(), '\0'), colours((size_t)m.size(), '\0');
        store_copy_out(&doc->text, 0, (i64)m.size(), (u8*)bytes.data());
        store_copy_colours_out(&doc->text, 0, (i64)m.size(), (u8*)colours.data());
        ASSERT_EQ(bytes, m) << op;
        ASSERT_EQ(colours, mc) << op;
        std::vector<i32> walked(1, 0), lines;
        for (char c : m) {
            walked.back()++;
            if (c == '\n') walked.push_back(0);
        }
        for (i64 i = 0; i < line_count(doc); i++) lines.push_back((i32)line_length(doc, i));
        ASSERT_EQ(lines, walked) << op;
    };
    start();
    const i64 ops = 2000000;
    i64 undos = 0, redos = 0, trims = 0;
    for (i64 op = 0; op < ops; op++) {
        if (op % 200000 == 0) start();
        i64 length = (i64)m.size();
        i64 what = pick(100);
        if (what < 40 && length < (64 << 10)) {
            std::string p = piece();
            i64 pos = pick(length + 1);
            u8 colour = (u8)(1 + pick(200));
            ASSERT_EQ(text_insert(doc, pos, StringView{p.data(), (i64)p.size()}, colour), (i64)p.size());
            m.insert((size_t)pos, p);
            mc.insert((size_t)pos, p.size(), (char)colour);
            document_mark_changed(doc);
        } else if (what < 75) {
            i64 pos = pick(length + 1);
            i64 n = pick(10) == 0 ? pick(4000) : pick(40);
            if (n > length - pos) n = length - pos;
            text_remove(doc, pos, n);
            m.erase((size_t)pos, (size_t)n);
            mc.erase((size_t)pos, (size_t)n);
            document_mark_changed(doc);
        } else if (what < 85) {
            static const u8 kinds[] = {edit_structural, edit_word_char, edit_other_char, edit_delete_char};
            doc->cursor = doc->anchor = (i32)pick(length + 1);
            bool trimmed = doc->history_trimmed;
            states[doc->state_id] = State{m, mc};  // what a snapshot taken now holds
            undo_checkpoint(doc, kinds[pick(4)]);
            trims += doc->history_trimmed && !trimmed;
        } else {
            states[doc->state_id] = State{m, mc};  // undo snapshots the present first
            if (what < 93) {
                undo(doc);
                undos++;
            } else {
                redo(doc);
                redos++;
            }
            auto found = states.find(doc->state_id);
            ASSERT_NE(found, states.end()) << op;
            m = found->second.text;
            mc = found->second.colours;
        }
        ASSERT_EQ(document_length(doc), (i64)m.size()) << op;
        for (int probe = 0; probe < 4 && !m.empty(); probe++) {
            i64 at = pick((i64)m.size());
            ASSERT_EQ(document_byte(doc, at), (u8)m[(size_t)at]) << op;
            ASSERT_EQ(document_colour(doc, at), (u8)mc[(size_t)at]) << op;
        }
        if (op % 1024 == 0 || (what >= 85 && op % 8 == 0)) {
            full_check(op);
            if (HasFatalFailure()) return;
        }
        // Only states a snapshot can bring back are kept.
        if (op % 4096 == 0) {
            std::unordered_map<u64, State> kept;
            for (const UndoSnapshot& s : doc->undo_snapshots)
                if (states.count(s.state_id)) kept[s.state_id] = states[s.state_id];
            kept[doc->state_id] = State{m, mc};
            states.swap(kept);
        }
    }
    full_check(ops);
    EXPECT_GT(undos, ops / 20);
    EXPECT_GT(redos, ops / 20);
    EXPECT_GT(trims, 0) << "the history filled and dropped its oldest steps";
    // Histories come and go on the same chunks: a leak would take thousands.
    EXPECT_LT(undo_chunks_made(), 300);
}

}  // namespace
