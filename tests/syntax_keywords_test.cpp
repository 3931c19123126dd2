// Keyword tries and lists: codes, kinds, node usage and the capacity guard.
#include <gtest/gtest.h>

#include <string>

#include "syntax/keyword_lists.h"
#include "syntax/keyword_trie.h"
#include "syntax/lexer.h"
#include "syntax/token_kinds.h"
#include "test_support.h"

namespace {

struct Built {
    Lexer vantrel, cpp, glsl;
};

const Built& built() {
    static Built b{};
    static bool done = false;
    if (!done) {
        ensure_arenas();
        lexer_build_keywords(&b.vantrel, language_vantrel);
        lexer_build_keywords(&b.cpp, language_cpp);
        lexer_build_keywords(&b.glsl, language_glsl);
        done = true;
    }
    return b;
}

u16 look(const KeywordTrie* t, const char* word) { return trie_lookup(t, sv_from_cstr(word)); }

TEST(KeywordTrie, ListsUseTheExpectedNodeCounts) {
    // Counting slot 0 and the root; a different count means a different insertion.
    EXPECT_EQ(built().vantrel.keywords->node_count, 252);
    EXPECT_EQ(built().cpp.keywords->node_count, 156);
    EXPECT_EQ(built().cpp.cpp_keywords->node_count, 291);
    EXPECT_EQ(built().glsl.keywords->node_count, 104);
    EXPECT_EQ(built().vantrel.cpp_keywords, nullptr);
}

TEST(KeywordTrie, EveryKeywordFindsItsCode) {
    struct List {
        const KeywordTrie* trie;
        const StringView* words;
        i64 count;
        u16 first;
    } lists[] = {
        {built().vantrel.keywords, vantrel_keyword_list, vantrel_keyword_count, 1024},
        {built().cpp.keywords, c_keyword_list, c_keyword_count, 1024},
        {built().cpp.cpp_keywords, cpp_keyword_list, cpp_keyword_count, 1088},
        {built().glsl.keywords, glsl_keyword_list, glsl_keyword_count, 1024},
    };
    for (const List& l : lists) {
        for (i64 i = 0; i < l.count; i++) {
            EXPECT_EQ(trie_lookup(l.trie, l.words[i]), l.first + i) << std::string(l.words[i].data, l.words[i].length);
            // Every proper prefix that is not itself a keyword yields 0.
            StringView prefix = {l.words[i].data, l.words[i].length - 1};
            u16 code = trie_lookup(l.trie, prefix);
            if (code) {
                EXPECT_TRUE(sv_equal(l.words[code - l.first], prefix));
            }
        }
    }
    EXPECT_EQ(vantrel_keyword_count, 58);
    EXPECT_EQ(c_keyword_count, 36);
    EXPECT_EQ(cpp_keyword_count, 55);
    EXPECT_EQ(glsl_keyword_count, 21);
}

TEST(KeywordTrie, ExactWordsOnly) {
    const KeywordTrie* v = built().vantrel.keywords;
    EXPECT_EQ(look(v, "proc"), 1060);
    EXPECT_EQ(look(v, "pro"), 0);
    EXPECT_EQ(look(v, "procs"), 0);
    EXPECT_EQ(look(v, "Proc"), 0);
    EXPECT_EQ(look(v, "alias"), 1024);
    EXPECT_EQ(look(v, "lias"), 0);
    EXPECT_EQ(look(v, "xalias"), 0);
    EXPECT_EQ(look(v, "in"), 0);
    EXPECT_EQ(look(v, "inline"), vantrel_kw_inline);
    EXPECT_EQ(look(v, "int"), vantrel_kw_int);
    EXPECT_EQ(look(v, ""), 0);
    EXPECT_EQ(look(built().glsl.keywords, "in"), 1035);
    EXPECT_EQ(look(built().cpp.cpp_keywords, "char8_t"), 1096);
    EXPECT_EQ(look(built().cpp.cpp_keywords, "class"), 1099);
    EXPECT_EQ(look(built().cpp.keywords, "class"), 0);
    EXPECT_EQ(look(built().cpp.keywords, "while"), 1059);
    EXPECT_EQ(look(built().cpp.cpp_keywords, "xor_eq"), 1142);
}

TEST(KeywordTrie, KindTables) {
    struct Count {
        const u8* kinds;
        i64 n;
        int type, declaration, operation;
    } counts[] = {
        {vantrel_keyword_kind, vantrel_keyword_count, 13, 26, 19},
        {c_keyword_kind, c_keyword_count, 8, 25, 3},
        {cpp_keyword_kind, cpp_keyword_count, 4, 28, 23},
        {glsl_keyword_kind, glsl_keyword_count, 0, 19, 2},
    };
    for (const Count& c : counts) {
        int seen[5] = {};
        for (i64 i = 0; i < c.n; i++) {
            ASSERT_TRUE(c.kinds[i] >= 2 && c.kinds[i] <= 4);
            seen[c.kinds[i]]++;
        }
        EXPECT_EQ(seen[2], c.type);
        EXPECT_EQ(seen[3], c.declaration);
        EXPECT_EQ(seen[4], c.operation);
    }
    EXPECT_EQ(vantrel_keyword_kind[vantrel_kw_pointer - 1024], 2);
    EXPECT_EQ(vantrel_keyword_kind[vantrel_kw_cast - 1024], 4);
    EXPECT_EQ(vantrel_keyword_kind[vantrel_kw_symmetric - 1024], 3);
    EXPECT_EQ(c_keyword_kind[c_kw_sizeof - 1024], 4);
    EXPECT_EQ(c_keyword_kind[c_kw_void - 1024], 2);
    EXPECT_EQ(c_keyword_kind[c_kw_unsigned - 1024], 3);
    EXPECT_EQ(cpp_keyword_kind[cpp_kw_class - 1088], 3);
    EXPECT_EQ(cpp_keyword_kind[cpp_kw_char8_t - 1088], 2);
    EXPECT_EQ(cpp_keyword_kind[cpp_kw_this - 1088], 4);
    EXPECT_EQ(glsl_keyword_kind[1032 - 1024], 4);
    EXPECT_EQ(glsl_keyword_kind[1041 - 1024], 4);
}

TEST(KeywordTrie, InsertRules) {
    ensure_arenas();
    KeywordTrie* t = trie_create();
    EXPECT_EQ(t->node_count, 2);
    trie_insert(t, SV(""), 7);  // the root's code
    EXPECT_EQ(look(t, ""), 7);
    trie_insert(t, SV("ab"), 10);
    trie_insert(t, SV("abc"), 11);
    EXPECT_EQ(t->node_count, 5);  // the shared path is not created twice
    trie_insert(t, SV("ab"), 12);  // replaces
    EXPECT_EQ(look(t, "ab"), 12);
    EXPECT_EQ(look(t, "abc"), 11);
    // Upper case and other bytes share one child, so they cannot be told apart.
    trie_insert(t, SV("X$"), 20);
    EXPECT_EQ(look(t, "Q?"), 20);
    EXPECT_EQ(look(t, "x$"), 0);
}

TEST(KeywordTrie, FullTableRefusesWholeWordsAndStaysUsable) {
    ensure_arenas();
    KeywordTrie* t = trie_create();
    testing::internal::CaptureStdout();
    // Words of 10 bytes with distinct first bytes need 10 nodes each; the 298 free
    // slots hold 29 of them.
    const char firsts[] = "abcdefghijklmnopqrstuvwxyz0123456789_";
    char word[11] = {};
    int inserted = 0;
    for (int w = 0; w < 37; w++) {
        word[0] = firsts[w];
        for (int i = 1; i < 10; i++) word[i] = (char)('a' + i);
        i64 before = t->node_count;
        trie_insert(t, StringView{word, 10}, (u16)(2000 + w));
        if (look(t, word) == 2000 + w) {
            inserted++;
        } else {
            EXPECT_EQ(t->node_count, before);  // nothing half-built
        }
        EXPECT_LE(t->node_count, trie_node_capacity);
    }
    EXPECT_EQ(inserted, 29);
    EXPECT_EQ(t->node_count, 292);
    // The last slot can be used, and not one more.
    trie_insert(t, SV("3bcdefgh"), 2900);
    EXPECT_EQ(t->node_count, 300);
    EXPECT_EQ(look(t, "3bcdefgh"), 2900);
    trie_insert(t, SV("4"), 2901);
    trie_insert(t, SV("abcdefghijk"), 2902);
    EXPECT_EQ(t->node_count, 300);
    EXPECT_EQ(look(t, "4"), 0);
    EXPECT_EQ(look(t, "abcdefghijk"), 0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "keyword table full\n");
    // A word whose path already exists still fits.
    trie_insert(t, SV("abcde"), 3000);
    EXPECT_EQ(look(t, "abcde"), 3000);
    EXPECT_EQ(look(t, "abcdefghij"), 2000);
}

TEST(KeywordTrie, RebuildingReusesTheBlock) {
    ensure_arenas();
    Lexer l{};
    lexer_build_keywords(&l, language_cpp);
    KeywordTrie* first = l.keywords;
    KeywordTrie* second = l.cpp_keywords;
    i64 used = memory.arenas[pool_main].used;
    lexer_build_keywords(&l, language_cpp);
    EXPECT_EQ(l.keywords, first);
    EXPECT_EQ(l.cpp_keywords, second);
    EXPECT_EQ(memory.arenas[pool_main].used, used);
    EXPECT_EQ(second->node_count, 291);
    EXPECT_EQ(look(second, "class"), 1099);
}

}  // namespace
