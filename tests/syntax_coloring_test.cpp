// Palettes and the coloring file: parsing rules, key application, the rainbow, loading.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "syntax/coloring_file.h"
#include "syntax/keyword_lists.h"
#include "syntax/syntax_state.h"
#include "test_support.h"

namespace {

class ColoringTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensure_arenas();
        pool_reset(pool_frame);
        store_builtin_palettes();
        reset_rainbow_palette();
    }
    void TearDown() override {
        store_builtin_palettes();
        reset_rainbow_palette();
    }
};

void parse(std::string_view text) { parse_coloring_data(StringView{text.data(), (i64)text.size()}); }

#define EXPECT_COLOR(c, R, G, B, A) \
    do {                            \
        Color c_ = (c);             \
        EXPECT_FLOAT_EQ(c_.r, R);   \
        EXPECT_FLOAT_EQ(c_.g, G);   \
        EXPECT_FLOAT_EQ(c_.b, B);   \
        EXPECT_FLOAT_EQ(c_.a, A);   \
    } while (0)

std::string write_temp(const char* name, std::string_view content) {
    std::string path = std::string(TESMORA_BINARY_DIR) + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        fwrite(content.data(), 1, content.size(), f);
        fclose(f);
    }
    return path;
}

TEST_F(ColoringTest, BuiltInColours) {
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_declaration_keyword], 0.25f, 0.5f, 1, 1);
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_single_line_comment], 0.75f, 0.75f, 0.75f, 1);
    EXPECT_COLOR(syntax.cpp_palette[cpp_kind_namespace], 1, 0, 0.5f, 1);
    EXPECT_COLOR(syntax.cpp_palette[cpp_kind_parameter_var], 1, 0.75f, 1, 1);
    EXPECT_COLOR(syntax.glsl_palette[glsl_kind_preprocessor_directive], 0.5f, 0, 1, 1);
    EXPECT_COLOR(syntax.glsl_palette[glsl_kind_proc], 1, 0.5f, 0.25f, 1);
    ASSERT_EQ(syntax.rainbow_view.count, 9);
    EXPECT_EQ(syntax.rainbow_view.colors, syntax.rainbow_palette.data);
    EXPECT_COLOR(syntax.rainbow_view.colors[2], 1, 0.4f, 0, 1);
    EXPECT_EQ(palette_of_language(language_cpp).count, 22);
    EXPECT_EQ(palette_of_language(language_glsl).count, 17);
    EXPECT_EQ(palette_of_language(language_vantrel).colors, syntax.vantrel_palette);
}

TEST_F(ColoringTest, OneKeySetsEveryPaletteThatHasIt) {
    parse("default 0 0 0\nproc 0.1 0.2 0.3\nhandle 0.5 0.5 0.5\n");
    for (const Color* p : {syntax.vantrel_palette, syntax.cpp_palette, syntax.glsl_palette}) EXPECT_COLOR(p[0], 0, 0, 0, 1);
    EXPECT_COLOR(syntax.vantrel_palette[15], 0.1f, 0.2f, 0.3f, 1);
    EXPECT_COLOR(syntax.cpp_palette[17], 0.1f, 0.2f, 0.3f, 1);
    EXPECT_COLOR(syntax.glsl_palette[12], 0.1f, 0.2f, 0.3f, 1);
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_handle], 0.5f, 0.5f, 0.5f, 1);
    // Nothing else moved.
    EXPECT_COLOR(syntax.cpp_palette[12], 1, 0, 1, 1);
    EXPECT_COLOR(syntax.glsl_palette[13], 0.5f, 0.75f, 1, 1);
}

TEST_F(ColoringTest, PreprocessorKeyLeavesGlslAlone) {
    parse("preprocessor_directive 0.1 0.1 0.1\n");
    EXPECT_COLOR(syntax.cpp_palette[cpp_kind_preprocessor_directive], 0.1f, 0.1f, 0.1f, 1);
    EXPECT_COLOR(syntax.glsl_palette[glsl_kind_preprocessor_directive], 0.5f, 0, 1, 1);
    EXPECT_COLOR(syntax.vantrel_palette[8], 0.75f, 0.75f, 0.75f, 1);
}

TEST_F(ColoringTest, AlphaOnlyAfterASpace) {
    parse("member_var 0.1 0.2 0.3 0.5\n");
    EXPECT_COLOR(syntax.cpp_palette[cpp_kind_member_var], 0.1f, 0.2f, 0.3f, 0.5f);
    parse("member_var 0.1 0.2 0.3,0.5\n");
    EXPECT_COLOR(syntax.cpp_palette[cpp_kind_member_var], 0.1f, 0.2f, 0.3f, 1);
    // Any single byte separates the three values. Text after a space where alpha
    // stands is read as alpha (0 without digits); after any other byte it is ignored.
    parse("local_var 1,0.5;0.25 trailing words\n");
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_local_var], 1, 0.5f, 0.25f, 0);
    parse("local_var -1x2x3;junk\n");
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_local_var], -1, 2, 3, 1);
}

TEST_F(ColoringTest, MissingNumbersReadAsZero) {
    parse("struct a b c\n");
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_struct], 0, 0, 0, 1);
    parse("struct 0.5");
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_struct], 0.5f, 0, 0, 1);
    // A separator is taken whatever it is, also a line feed: a line with one value eats
    // the next line.
    parse("string_literal 0.5\nproc 0 0 0\n");
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_string_literal], 0.5f, 0, 0, 1);
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_proc], 1, 0.5f, 0.25f, 1);
    // A key at the very end without a space still gets a (zero) colour.
    parse("default");
    EXPECT_COLOR(syntax.cpp_palette[0], 0, 0, 0, 1);
}

TEST_F(ColoringTest, LongNumbersKeepSixtyFourDigits) {
    std::string digits(100, '5');
    parse("enum 0." + digits + " 0.25 0.75\n");
    EXPECT_NEAR(syntax.cpp_palette[cpp_kind_enum].r, 0.5555555f, 1e-6);
    EXPECT_FLOAT_EQ(syntax.cpp_palette[cpp_kind_enum].g, 0.25f);
    EXPECT_FLOAT_EQ(syntax.cpp_palette[cpp_kind_enum].b, 0.75f);
    std::string big(200, '9');
    parse("enum " + big + " 1 1 " + big + "\n");
    EXPECT_GT(syntax.cpp_palette[cpp_kind_enum].r, 1e30f);
    EXPECT_FLOAT_EQ(syntax.cpp_palette[cpp_kind_enum].g, 1);
}

TEST_F(ColoringTest, LineEndingsAndLayout) {
    // Carriage returns are skipped with the rest of the line.
    parse("default 0.5 0.5 0.5\r\nmember_var 1 1 1 0.5\r\nproc 1 0 0\r\n");
    EXPECT_COLOR(syntax.vantrel_palette[0], 0.5f, 0.5f, 0.5f, 1);
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_member_var], 1, 1, 1, 0.5f);
    EXPECT_COLOR(syntax.glsl_palette[glsl_kind_proc], 1, 0, 0, 1);
    // No final line feed.
    parse("alias 0 0 1");
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_alias], 0, 0, 1, 1);
}

TEST_F(ColoringTest, MalformedKeysMatchNothing) {
    // A line without a space runs into the next one, whose entry is lost.
    parse("defaultXX\nproc 0 0 0\n");
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_proc], 1, 0.5f, 0.25f, 1);
    EXPECT_COLOR(syntax.vantrel_palette[0], 1, 1, 1, 1);
    // An empty line makes the next key start with a line feed.
    parse("default 0 0 0\n\nproc 0 0 0\n");
    EXPECT_COLOR(syntax.vantrel_palette[0], 0, 0, 0, 1);
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_proc], 1, 0.5f, 0.25f, 1);
    // Keys are case-sensitive and untrimmed; a leading space gives an empty key. A
    // second space makes red empty and shifts the last number into alpha.
    parse("Proc 0.5 0.5 0.5\nproc  0.5 0.5 0.5\n struct 0 0 0\n");
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_proc], 0, 0.5f, 0.5f, 0.5f);
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_struct], 0, 1, 0.4f, 1);
    // Later entries win.
    parse("alias 1 0 0\nalias 0 1 0\n");
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_alias], 0, 1, 0, 1);
}

TEST_F(ColoringTest, Rainbow) {
    parse("rainbow_default 0.1 0.2 0.3\n");
    ASSERT_EQ(syntax.rainbow_view.count, 1);
    EXPECT_EQ(syntax.rainbow_view.colors, syntax.rainbow_palette.data);
    EXPECT_COLOR(syntax.rainbow_view.colors[0], 0.1f, 0.2f, 0.3f, 1);
    parse("rainbow_default 1 1 1\nrainbow 1 0 0\nrainbow 0 1 0\n");
    ASSERT_EQ(syntax.rainbow_view.count, 3);
    EXPECT_COLOR(syntax.rainbow_view.colors[0], 1, 1, 1, 1);
    EXPECT_COLOR(syntax.rainbow_view.colors[1], 1, 0, 0, 1);
    EXPECT_COLOR(syntax.rainbow_view.colors[2], 0, 1, 0, 1);
    // Without a rainbow_default the colours are added to the built-in ones.
    reset_rainbow_palette();
    parse("rainbow 0 0 1\n");
    ASSERT_EQ(syntax.rainbow_view.count, 10);
    EXPECT_COLOR(syntax.rainbow_view.colors[9], 0, 0, 1, 1);
    // Many entries grow the palette; the view follows the storage.
    std::string many;
    for (int i = 0; i < 100; i++) many += "rainbow 0 0 " + std::to_string(i) + "\n";
    parse(many);
    ASSERT_EQ(syntax.rainbow_view.count, 110);
    EXPECT_EQ(syntax.rainbow_view.colors, syntax.rainbow_palette.data);
    EXPECT_FLOAT_EQ(syntax.rainbow_view.colors[109].b, 99);
}

TEST_F(ColoringTest, KindKeys) {
    EXPECT_TRUE(sv_equal(token_kind_key(language_cpp, 17), SV("proc")));
    EXPECT_TRUE(sv_equal(token_kind_key(language_glsl, 8), SV("preprocessor_directive")));
    EXPECT_TRUE(sv_equal(token_kind_key(language_vantrel, 8), SV("single_line_comment")));
    EXPECT_TRUE(sv_equal(token_kind_key(language_vantrel, 19), SV("parameter_var")));
    EXPECT_EQ(token_kind_key(language_vantrel, 20).length, 0);
    EXPECT_EQ(token_kind_key(language_glsl, 17).length, 0);
    StringBuilder b{};
    b.pool = pool_frame;
    append_token_kind_key(&b, language_plain, 3);
    append_char(&b, ' ');
    append_token_kind_key(&b, language_cpp, 2);
    append_char(&b, ' ');
    append_token_kind_key(&b, language_glsl, 40);
    EXPECT_EQ(std::string(b.data, (size_t)b.count), "rainbow3 type_keyword 40");
    // Every kind of every language has a key, and that key sets that kind.
    struct Lang {
        int language;
        Color* palette;
        int count;
    } langs[] = {{language_vantrel, syntax.vantrel_palette, 20}, {language_cpp, syntax.cpp_palette, 22}, {language_glsl, syntax.glsl_palette, 17}};
    for (const Lang& l : langs) {
        for (int k = 0; k < l.count; k++) {
            StringView key = token_kind_key(l.language, (TokenKind)k);
            ASSERT_GT(key.length, 0) << l.language << " " << k;
            if (l.language == language_glsl && k == glsl_kind_preprocessor_directive) continue;
            apply_coloring_entry(key, Color{0.125f, (f32)k, (f32)l.language, 1});
            EXPECT_COLOR(l.palette[k], 0.125f, (f32)k, (f32)l.language, 1);
        }
    }
}

TEST_F(ColoringTest, LoadBuildsKeywordTablesOfBothLexerSets) {
    parse("rainbow_default 0 0 0\n");
    load_coloring_file(SV("/nonexistent/coloring.txt"));
    for (int language = 0; language < lexer_language_count; language++) {
        const Lexer& a = syntax.analysis_lexers[language];
        const Lexer& r = syntax.recolour_lexers[language];
        EXPECT_TRUE(a.keywords && r.keywords && a.keywords != r.keywords) << language;
    }
    EXPECT_EQ(trie_lookup(syntax.recolour_lexers[language_vantrel].keywords, SV("proc")), 1060);
    EXPECT_EQ(trie_lookup(syntax.analysis_lexers[language_cpp].cpp_keywords, SV("class")), 1099);
    EXPECT_EQ(trie_lookup(syntax.analysis_lexers[language_glsl].keywords, SV("in")), 1035);
    // The rainbow was reset; palettes keep their colours.
    EXPECT_EQ(syntax.rainbow_view.count, 9);
    EXPECT_COLOR(syntax.vantrel_palette[vantrel_kind_declaration_keyword], 0.25f, 0.5f, 1, 1);
    // Loading again rebuilds in place.
    i64 used = memory.arenas[pool_main].used;
    load_coloring_file(SV("/nonexistent/coloring.txt"));
    EXPECT_EQ(memory.arenas[pool_main].used, used);
}

TEST_F(ColoringTest, LoadReadsTheFile) {
    std::string path = write_temp("syntax_coloring_test.txt", "number_literal 0 0.5 1 0.25\nrainbow_default 0 0 0");
    load_coloring_file(StringView{path.data(), (i64)path.size()});
    EXPECT_COLOR(syntax.glsl_palette[glsl_kind_number_literal], 0, 0.5f, 1, 0.25f);
    EXPECT_EQ(syntax.rainbow_view.count, 1);
    std::string empty = write_temp("syntax_coloring_empty.txt", "");
    load_coloring_file(StringView{empty.data(), (i64)empty.size()});
    EXPECT_EQ(syntax.rainbow_view.count, 9);
    remove(path.c_str());
    remove(empty.c_str());
}

TEST_F(ColoringTest, RepositoryColoringFileUsesEveryKeyOnce) {
    std::string path = std::string(TESMORA_SOURCE_DIR) + "/coloring.txt";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in.good());
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    std::map<std::string, int> seen;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        size_t space = line.find(' ');
        ASSERT_NE(space, std::string::npos) << line;
        seen[line.substr(0, space)]++;
    }
    for (const ColoringKey& k : coloring_keys) EXPECT_EQ(seen[std::string(k.name.data, (size_t)k.name.length)], 1) << k.name.data;
    EXPECT_EQ(seen["rainbow_default"], 1);
    EXPECT_GE(seen["rainbow"], 3);
    EXPECT_EQ(seen.size(), (size_t)coloring_key_count + 2);
    load_coloring_file(StringView{path.data(), (i64)path.size()});
    EXPECT_EQ(syntax.rainbow_view.count, 1 + seen["rainbow"]);
}

}  // namespace
