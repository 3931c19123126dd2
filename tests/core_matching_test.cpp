// Matching text with the find options, and ranking names by a typed query.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/fuzzy_match.h"
#include "core/text_match.h"

namespace {
i64 find(const std::string& text, const char* needle, bool match_case, bool whole_word, i64 from = 0) {
    return find_match((const u8*)text.data(), (i64)text.size(), from, sv_from_cstr(needle),
                      MatchOptions{match_case, whole_word});
}

TEST(TextMatch, FindsWithTheCaseAndWholeWordOptions) {
    std::string text = "xFOO foobar foo(Foo)";
    EXPECT_EQ(find(text, "foo", false, false), 1);  // the upper-case spelling comes first
    EXPECT_EQ(find(text, "foo", true, false), 5);
    EXPECT_EQ(find(text, "foo", false, true), 12);  // "xFOO" and "foobar" are parts of words
    EXPECT_EQ(find(text, "foo", true, true, 13), -1);
    EXPECT_EQ(find(text, "Foo", true, true), 16);
    // A match that ends the text is not a whole word, as in the editor's find.
    EXPECT_EQ(find("a foo", "foo", false, true), -1);
    EXPECT_EQ(find("foo", "", false, false), -1);
}

TEST(TextMatch, LineWalkGivesEachMatchItsLineAndColumn) {
    std::string text = "foo\n\n  a foo foo\r\nfoofoo";
    LineMatchWalk w = line_match_walk((const u8*)text.data(), (i64)text.size(), SV("foo"), MatchOptions{true, false});
    std::vector<std::vector<i64>> got;  // line, column, line length
    while (line_match_next(&w)) got.push_back({w.line, w.start - w.line_start, w.line_end - w.line_start});
    std::vector<std::vector<i64>> expected = {{0, 0, 3}, {2, 4, 12}, {2, 8, 12}, {3, 0, 6}, {3, 3, 6}};
    EXPECT_EQ(got, expected);
}

TEST(FuzzyMatch, RanksPrefixesThenWordStartsThenTheRestShorterFirst) {
    std::vector<std::string> names = {"config_f", "bigfoot", "get_file", "xyz", "getFile", "gfx", "go.fmt", "GF"};
    std::vector<std::string> ranked;
    for (const std::string& n : names)
        if (fuzzy_score(StringView{n.data(), (i64)n.size()}, SV("gf")).tier >= 0) ranked.push_back(n);
    std::stable_sort(ranked.begin(), ranked.end(), [](const std::string& a, const std::string& b) {
        return fuzzy_before(fuzzy_score(StringView{a.data(), (i64)a.size()}, SV("gf")),
                            fuzzy_score(StringView{b.data(), (i64)b.size()}, SV("gf")));
    });
    std::vector<std::string> expected = {"GF", "gfx", "go.fmt", "getFile", "get_file", "bigfoot", "config_f"};
    EXPECT_EQ(ranked, expected);
    // Word starts are found past a misleading first letter, and "/" starts a word.
    EXPECT_EQ(fuzzy_score(SV("ab_ac"), SV("ac")).tier, 1);
    EXPECT_EQ(fuzzy_score(SV("abac"), SV("ac")).tier, 2);
    EXPECT_EQ(fuzzy_score(SV("src/go_file.c"), SV("sgf")).tier, 1);
}
}  // namespace
