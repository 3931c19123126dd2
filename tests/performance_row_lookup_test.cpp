// Row look-ups start from the previous answer of the same document. Whatever order the
// look-ups and edits come in, and however documents are interleaved, reset or refilled,
// every answer must equal a walk over the text from the top.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/document.h"
#include "editor/line_table.h"
#include "editor/motion.h"
#include "editor/text_change.h"
#include "test_support.h"

namespace {

// The first byte of every row of `text`, computed afresh (a final empty row included).
std::vector<i64> row_starts_of(const std::string& text) {
    std::vector<i64> starts{0};
    for (size_t i = 0; i < text.size(); i++)
        if (text[i] == '\n') starts.push_back((i64)i + 1);
    return starts;
}

std::string text_of(const Document* doc) { return std::string((const char*)((const u8*)document_text(doc).data), (size_t)document_length(doc)); }

class RowLookup : public ::testing::Test {
  protected:
    Document docs[3];
    std::mt19937 random{7031};

    i64 pick(i64 n) { return n <= 0 ? 0 : (i64)(random() % (u64)n); }

    void SetUp() override {
        ensure_arenas();
        for (Document& d : docs) document_init_tab_defaults(&d);
    }

    std::string random_text(i64 lines) {
        std::string s;
        for (i64 i = 0; i < lines; i++) s += std::string((size_t)pick(40), 'x') + "\n";
        return s;
    }

    // Every kind of look-up at random places, each checked against the reference.
    void check_lookups(Document* doc, int count) {
        std::string text = text_of(doc);
        std::vector<i64> starts = row_starts_of(text);
        i64 rows = (i64)starts.size();
        ASSERT_EQ(line_count(doc), rows);
        for (int k = 0; k < count; k++) {
            i64 pos = pick((i64)text.size() + 3) - 1;  // -1 .. past the end
            i64 expected_row = 0;
            for (i64 r = 0; r < rows; r++)
                if (starts[(size_t)r] <= pos) expected_row = r;
            i64 start = -7;
            ASSERT_EQ(locate_row(doc, pos, &start), expected_row) << "pos " << pos;
            ASSERT_EQ(start, starts[(size_t)expected_row]) << "pos " << pos;
            ASSERT_EQ(row_of_position(doc, pos), expected_row);
            i64 row = pick(rows + 4) - 2;  // -2 .. rows + 1
            i64 clamped = row < 0 ? 0 : row > rows - 1 ? rows - 1 : row;
            ASSERT_EQ(row_start(doc, row), starts[(size_t)clamped]) << "row " << row;
        }
    }
};

// Long jumps both ways (far more than one block of rows), then short hops.
TEST_F(RowLookup, LookupsInAnyOrderMatchAWalkFromTheTop) {
    std::string text = random_text(5000);
    document_set_text(&docs[0], StringView{text.data(), (i64)text.size()});
    check_lookups(&docs[0], 3000);
    std::vector<i64> starts = row_starts_of(text);
    for (i64 r : {4999, 10, 2500, 2499, 2531, 2467, 0, 5000, 1}) {
        EXPECT_EQ(row_start(&docs[0], r), starts[(size_t)r]);
        i64 start = 0;
        EXPECT_EQ(locate_row(&docs[0], starts[(size_t)r], &start), r);
        EXPECT_EQ(start, starts[(size_t)r]);
    }
}

// Edits that add and remove rows between look-ups, on three documents taking turns, so
// that a hint left by one document or by the table before an edit would show.
TEST_F(RowLookup, EditsOnInterleavedDocumentsKeepAnswersExact) {
    for (int d = 0; d < 3; d++) {
        std::string text = random_text(300 + 200 * d);
        document_set_text(&docs[d], StringView{text.data(), (i64)text.size()});
    }
    for (int step = 0; step < 600; step++) {
        Document* doc = &docs[pick(3)];
        i64 length = document_length(doc);
        switch (pick(4)) {
            case 0: {
                std::string piece = pick(2) ? "\n" : std::string((size_t)(1 + pick(5)), 'y') + (pick(2) ? "\n\n" : "");
                text_insert(doc, pick(length + 1), StringView{piece.data(), (i64)piece.size()}, 0);
                break;
            }
            case 1: text_remove(doc, pick(length), 1 + pick(pick(2) ? 3 : 200)); break;
            case 2: {
                // A whole new text in the same record: a table of the same length and
                // place but other contents is the case a stale hint would get wrong.
                std::string text = random_text(200 + pick(100));
                document_set_text(doc, StringView{text.data(), (i64)text.size()});
                break;
            }
            default: break;
        }
        check_lookups(doc, 8);
    }
}

// A record refilled through reset with a text of the same row count but other lengths.
TEST_F(RowLookup, SameRowCountAfterResetIsNotTrustedBlindly) {
    std::string a = "aaaaaaaaaa\nb\nccccccccccccccccccccccc\nd\n";
    std::string b = "a\nbbbbbbbbbbbbbbbbbbbbb\nc\ndddddddddddddd\n";
    document_set_text(&docs[1], StringView{a.data(), (i64)a.size()});
    EXPECT_EQ(row_start(&docs[1], 3), 37);
    document_set_text(&docs[1], StringView{b.data(), (i64)b.size()});
    EXPECT_EQ(row_start(&docs[1], 3), 26);
    i64 start = 0;
    EXPECT_EQ(locate_row(&docs[1], 25, &start), 2);
    EXPECT_EQ(start, 24);
}

}  // namespace
