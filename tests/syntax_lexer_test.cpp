// The three lexers: token codes, token fields, colour bytes and sub-range runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "syntax/keyword_lists.h"
#include "syntax/lexer.h"
#include "syntax/token_kinds.h"
#include "test_support.h"

namespace {

const u8 untouched = 0xEE;

struct Lexed {
    std::vector<u16> codes;  // without the end token
    Array<Token> tokens;
    std::string colours;     // one character per byte: kind digit, 'a'+ for 10.., '.' untouched
    u8 complete;
    Lexer* lexer;
};

enum Language { vantrel, c_language, cpp_language, glsl };

Lexer* lexer_for(Language language) {
    static Lexer lexers[3];
    static bool built = false;
    if (!built) {
        ensure_arenas();
        lexer_build_keywords(&lexers[0], language_vantrel);
        lexer_build_keywords(&lexers[1], language_cpp);
        lexer_build_keywords(&lexers[2], language_glsl);
        built = true;
    }
    return language == vantrel ? &lexers[0] : language == glsl ? &lexers[2] : &lexers[1];
}

std::string colour_string(const u8* colours, i64 n) {
    std::string s;
    for (i64 i = 0; i < n; i++) {
        u8 k = colours[i];
        s += k == untouched ? '.' : k < 10 ? (char)('0' + k) : (char)('a' + k - 10);
    }
    return s;
}

// The text of the last lex call, which token_text reads from.
std::string_view last_lexed;

Lexed lex(Language language, std::string_view text, i64 start = 0, i64 end = -1) {
    pool_reset(pool_frame);
    Lexed out{};
    Lexer* lexer = lexer_for(language);
    u8* colours = (u8*)pool_alloc(pool_frame, (i64)text.size());
    memset(colours, untouched, text.size());
    out.tokens.pool = pool_frame;
    lexer->file = 7;
    last_lexed = text;
    lexer->text = StringView{text.data(), (i64)text.size()};
    lexer->colours = &colours;
    lexer->tokens = &out.tokens;
    switch (language) {
    case vantrel: lex_vantrel(lexer, start, end); break;
    case c_language: lex_cpp(lexer, true, start, end); break;
    case cpp_language: lex_cpp(lexer, false, start, end); break;
    case glsl: lex_glsl(lexer, start, end); break;
    }
    for (i64 i = 0; i + 1 < out.tokens.count; i++) out.codes.push_back(out.tokens[i].code);
    out.colours = colour_string(colours, (i64)text.size());
    out.complete = lexer->complete;
    out.lexer = lexer;
    return out;
}

std::vector<u16> codes(Language language, std::string_view text) { return lex(language, text).codes; }

std::string token_text(const Token& t) { return std::string(last_lexed.substr((size_t)t.offset, t.length)); }

const u16 id = token_identifier, integer = token_integer, real = token_real;

// ---- vantrel -------------------------------------------------------------------------

TEST(VantrelLexer, Operators) {
    EXPECT_EQ(codes(vantrel, "a==b"), (std::vector<u16>{id, '=', '=', id}));
    EXPECT_EQ(codes(vantrel, "x<=y"), (std::vector<u16>{id, 316, id}));
    EXPECT_EQ(codes(vantrel, "x<<=1"), (std::vector<u16>{id, 828, integer}));
    EXPECT_EQ(codes(vantrel, "x>>=1 x>>1 x>1"), (std::vector<u16>{id, 830, integer, id, 574, integer, id, '>', integer}));
    EXPECT_EQ(codes(vantrel, "p->q"), (std::vector<u16>{id, 768, id}));
    EXPECT_EQ(codes(vantrel, "a--"), (std::vector<u16>{id, 557}));
    EXPECT_EQ(codes(vantrel, "&& || ++ -= != %= ^= |= *"), (std::vector<u16>{550, 636, 555, 301, 289, 293, 350, 380, '*'}));
    // "." never combines with "=" and "..." is ".." then ".".
    EXPECT_EQ(codes(vantrel, ".= ..."), (std::vector<u16>{'.', '=', 558, '.'}));
    EXPECT_EQ(codes(vantrel, "(){}[];,"), (std::vector<u16>{'(', ')', '{', '}', '[', ']', ';', ','}));
    // "^" does not double in vantrel.
    EXPECT_EQ(codes(vantrel, "^^"), (std::vector<u16>{'^', '^'}));
}

TEST(VantrelLexer, OperatorsAreColouredAndIdentifiersAreNot) {
    Lexed l = lex(vantrel, "ab <<= cd; x");
    EXPECT_EQ(l.colours, "...111...1..");
}

TEST(VantrelLexer, Numbers) {
    struct Case {
        const char* text;
        std::vector<u16> codes;
        i64 first_length;
    } cases[] = {
        {"0x1F", {integer}, 4},
        {"7xff", {integer}, 4},
        {"0XaB_c", {integer}, 6},
        {"1.5e-3", {real}, 6},
        {"2e", {real}, 2},
        {"2E5_0", {real}, 5},
        {"1.", {real}, 2},
        {"1.x", {real, id}, 2},
        {"1..5", {integer, 558, integer}, 1},
        {"1_000", {integer}, 5},
        {"1e+5", {real, '+', integer}, 2},  // "+" is not part of an exponent
        {"0x1.8p", {real, id}, 5},
        {"12abc", {integer, id}, 2},
    };
    for (const Case& c : cases) {
        Lexed l = lex(vantrel, c.text);
        EXPECT_EQ(l.codes, c.codes) << c.text;
        ASSERT_GE(l.tokens.count, 1) << c.text;
        EXPECT_EQ(l.tokens[0].length, c.first_length) << c.text;
        EXPECT_EQ(l.colours.substr(0, (size_t)c.first_length), std::string((size_t)c.first_length, '5')) << c.text;
    }
    // No suffixes in vantrel.
    EXPECT_EQ(codes(vantrel, "1.5f 10u"), (std::vector<u16>{real, id, integer, id}));
}

TEST(VantrelLexer, IdentifiersAndKeywords) {
    Lexed l = lex(vantrel, "is_ok? $tmp proc int true transmute Proc x");
    EXPECT_EQ(l.codes, (std::vector<u16>{id, id, vantrel_kw_proc, vantrel_kw_int, vantrel_kw_true, vantrel_kw_transmute, id, id}));
    EXPECT_EQ(token_text(l.tokens[0]), "is_ok?");
    EXPECT_EQ(token_text(l.tokens[1]), "$tmp");
    EXPECT_EQ(l.colours, "............3333.222.4444.444444444.......");
    EXPECT_EQ(l.complete, 1);
    // Longer than nine bytes is never a keyword, even with a keyword inside.
    EXPECT_EQ(codes(vantrel, "transmutes proc_ inx"), (std::vector<u16>{id, id, id}));
    // Bytes of 0x80 and above belong to identifiers.
    Lexed u = lex(vantrel, "gr\xc3\xbc\xc3\x9f x");
    EXPECT_EQ(u.codes, (std::vector<u16>{id, id}));
    EXPECT_EQ(u.tokens[0].length, 6);
}

TEST(VantrelLexer, UnrecognisedBytesAreSkippedAndClearComplete) {
    Lexed l = lex(vantrel, "#run");
    EXPECT_EQ(l.codes, (std::vector<u16>{id}));
    EXPECT_EQ(token_text(l.tokens[0]), "run");
    EXPECT_EQ(l.complete, 0);
    EXPECT_EQ(l.colours, "....");
    for (std::string_view bad : std::vector<std::string_view>{":", "@", "~", "\\", "`", std::string_view("\0", 1), "\x0b"}) {
        Lexed b = lex(vantrel, bad);
        EXPECT_TRUE(b.codes.empty());
        EXPECT_EQ(b.complete, 0) << (int)bad[0];
    }
    EXPECT_EQ(lex(vantrel, "a \t\r\n b").complete, 1);
}

TEST(VantrelLexer, NestedBlockComments) {
    Lexed l = lex(vantrel, "/* a /* b */ c */ d");
    EXPECT_EQ(l.codes, (std::vector<u16>{id}));
    EXPECT_EQ(token_text(l.tokens[0]), "d");
    EXPECT_EQ(l.colours, "99999999999999999..");
    // Inside a comment "/*/" both opens and closes.
    EXPECT_EQ(codes(vantrel, "/* a /*/ b */ c"), (std::vector<u16>{id}));
    // The opening pair is not looked at again: "/*/" at the start does not close.
    EXPECT_EQ(codes(vantrel, "/*/ c */ d"), (std::vector<u16>{id}));
    // Line feeds inside comments count.
    Lexed m = lex(vantrel, "/*\n/*\n*/\n*/x");
    EXPECT_EQ(m.tokens[0].line, 3u);
    EXPECT_EQ(m.tokens[0].column, 3u);
}

TEST(VantrelLexer, UnterminatedCommentRunsToTheEnd) {
    Lexed l = lex(vantrel, "x /* a /* b */\ny");
    EXPECT_EQ(l.codes, (std::vector<u16>{id}));
    EXPECT_EQ(l.complete, 0);
    EXPECT_EQ(l.colours, "..99999999999999");
    EXPECT_EQ(l.tokens[1].code, token_end);
    EXPECT_EQ(l.tokens[1].line, 1u);
}

TEST(VantrelLexer, LineComments) {
    Lexed l = lex(vantrel, "a // b /* c\nd");
    EXPECT_EQ(l.codes, (std::vector<u16>{id, id}));
    EXPECT_EQ(l.colours, "..888888888..");
    EXPECT_EQ(l.tokens[1].line, 1u);
    // A zero byte ends the comment and is then an unknown byte.
    Lexed z = lex(vantrel, std::string_view("// a\0b", 6));
    EXPECT_EQ(z.codes, (std::vector<u16>{id}));
    EXPECT_EQ(z.complete, 0);
    EXPECT_EQ(z.colours, "8888..");
}

TEST(VantrelLexer, StringAndCharacterLiterals) {
    Lexed l = lex(vantrel, "s = \"a\\\"b\" + 'c';");
    ASSERT_EQ(l.codes, (std::vector<u16>{id, '=', token_string, '+', token_character, ';'}));
    const Token& s = l.tokens[2];
    EXPECT_EQ(token_text(s), "a\\\"b");
    EXPECT_EQ(s.offset, 5);
    EXPECT_EQ(s.column, 10u);  // up to and including the closing quote
    EXPECT_EQ(token_text(l.tokens[4]), "c");
    EXPECT_EQ(l.colours, "..1.777777.1.6661");
    EXPECT_EQ(l.complete, 1);
    // A backslash takes any byte, also the other quote kind and a backslash.
    EXPECT_EQ(token_text(lex(vantrel, "'\\\\' x").tokens[0]), "\\\\");
    EXPECT_EQ(token_text(lex(vantrel, "\"'\"").tokens[0]), "'");
}

TEST(VantrelLexer, UnterminatedLiteralsStopBeforeTheLineFeed) {
    Lexed l = lex(vantrel, "\"abc\nx");
    EXPECT_EQ(l.codes, (std::vector<u16>{token_string, id}));
    EXPECT_EQ(token_text(l.tokens[0]), "abc");
    EXPECT_EQ(l.colours, "7777..");
    EXPECT_EQ(l.complete, 0);
    EXPECT_EQ(l.tokens[1].line, 1u);
    EXPECT_EQ(l.tokens[1].column, 1u);
    // At the end of the text nothing past the text is coloured.
    Lexed e = lex(vantrel, "x 'ab");
    EXPECT_EQ(e.colours, "..666");
    EXPECT_EQ(token_text(e.tokens[1]), "ab");
    // A backslash as the last byte.
    Lexed b = lex(vantrel, "\"a\\");
    EXPECT_EQ(b.tokens[0].length, 2);
    EXPECT_EQ(b.colours, "777");
    EXPECT_EQ(b.complete, 0);
    // A zero byte ends the literal too, and is itself an unknown byte.
    Lexed z = lex(vantrel, std::string_view("'a\0'", 4));
    EXPECT_EQ(z.codes, (std::vector<u16>{token_character, token_character}));
    EXPECT_EQ(z.colours, "66.6");
}

TEST(VantrelLexer, EscapedLineFeedContinuesTheLiteralOnTheNextLine) {
    Lexed l = lex(vantrel, "\"a\\\nb\" c");
    EXPECT_EQ(l.codes, (std::vector<u16>{token_string, id}));
    EXPECT_EQ(token_text(l.tokens[0]), "a\\\nb");
    EXPECT_EQ(l.tokens[1].line, 1u);
    EXPECT_EQ(l.tokens[1].column, 4u);
    EXPECT_EQ(l.complete, 1);
}

TEST(VantrelLexer, TokenFields) {
    Lexed l = lex(vantrel, "ab\n  cd = 12");
    ASSERT_EQ(l.tokens.count, 5);
    const Token& cd = l.tokens[1];
    EXPECT_EQ(cd.line, 1u);
    EXPECT_EQ(cd.column, 4u);
    EXPECT_EQ(cd.offset, 5);
    EXPECT_EQ(cd.length, 2u);
    EXPECT_EQ(cd.file, 7) << "the lexer's file is stamped into each token";
    const Token& end = l.tokens[4];
    EXPECT_EQ(end.code, token_end);
    EXPECT_EQ(end.offset, 12);
    EXPECT_EQ(end.length, 0);
    EXPECT_EQ(end.line, 1u);
    EXPECT_EQ(end.column, 9u);
    // Tokens live in the pool of the list they were appended to.
    u8* base = memory.arenas[pool_frame].base;
    EXPECT_TRUE((u8*)l.tokens.data >= base && (u8*)l.tokens.data < base + memory.arenas[pool_frame].capacity);
}

TEST(VantrelLexer, EmptyInputAndEmptyRange) {
    Lexed l = lex(vantrel, "");
    ASSERT_EQ(l.tokens.count, 1);
    EXPECT_EQ(l.tokens[0].code, token_end);
    Lexed r = lex(vantrel, "abc def", 3, 3);
    ASSERT_EQ(r.tokens.count, 1);
    EXPECT_EQ(r.tokens[0].offset, 3);
    EXPECT_EQ(r.colours, ".......");
}

TEST(VantrelLexer, ColoursOnlyAndTokensOnly) {
    ensure_arenas();
    Lexer* lexer = lexer_for(vantrel);
    std::string text = "x = 1; // c";
    std::string buffer(text.size(), (char)untouched);
    u8* colours = (u8*)buffer.data();
    lexer->text = StringView{text.data(), (i64)text.size()};
    lexer->colours = &colours;
    lexer->tokens = nullptr;
    lex_vantrel(lexer, 0, -1);
    EXPECT_EQ(colour_string(colours, (i64)text.size()), "..1.51.8888");
    Array<Token> tokens{};
    tokens.pool = pool_frame;
    lexer->colours = nullptr;
    lexer->tokens = &tokens;
    lex_vantrel(lexer, 0, -1);
    EXPECT_EQ(tokens.count, 5);
}

// ---- sub-ranges ----------------------------------------------------------------------

TEST(SubRangeLexing, OnlyTheRangeIsColoured) {
    Lexed l = lex(vantrel, "a+b\nc+d\ne+f", 4, 7);
    EXPECT_EQ(l.colours, ".....1.....");
    EXPECT_EQ(l.codes, (std::vector<u16>{id, '+', id}));
    EXPECT_EQ(token_text(l.tokens[0]), "c");
    EXPECT_EQ(l.tokens[0].line, 0u);  // lines count from the start offset
    EXPECT_EQ(l.tokens[0].column, 1u);
    EXPECT_EQ(l.tokens[3].offset, 7);
}

TEST(SubRangeLexing, TokensBegunInTheRangeAreFinished) {
    // A comment, an identifier or an operator that starts before the end runs on.
    Lexed l = lex(vantrel, "x /* y\nz */ w", 0, 6);
    EXPECT_EQ(l.colours, "..999999999..");
    EXPECT_EQ(l.codes, (std::vector<u16>{id}));
    Lexed w = lex(vantrel, "abcdef <<= 1", 0, 2);
    EXPECT_EQ(token_text(w.tokens[0]), "abcdef");
    Lexed o = lex(vantrel, "a <<= 1", 0, 3);
    EXPECT_EQ(o.codes, (std::vector<u16>{id, 828}));
    EXPECT_EQ(o.colours, "..111..");
}

TEST(SubRangeLexing, StartingInsideACommentLexesItsInsideAsCode) {
    Lexed l = lex(vantrel, "/* a\nb c */ d", 5, -1);
    EXPECT_EQ(l.codes, (std::vector<u16>{id, id, '*', '/', id}));
    EXPECT_EQ(l.colours, ".........11..");
}

TEST(SubRangeLexing, OutOfRangeArgumentsAreClamped) {
    Lexed l = lex(vantrel, "ab", -5, 100);
    EXPECT_EQ(l.codes, (std::vector<u16>{id}));
    Lexed r = lex(vantrel, "ab", 5, 1);
    EXPECT_TRUE(r.codes.empty());
    EXPECT_EQ(r.tokens[0].offset, 1);
}

// ---- C and C++ -----------------------------------------------------------------------

TEST(CppLexer, DirectivesColourTheLineAndMakeNoTokens) {
    Lexed l = lex(cpp_language, "#include <x.h>\nint a;");
    EXPECT_EQ(l.codes, (std::vector<u16>{c_kw_int, id, ';'}));
    EXPECT_EQ(l.colours, "88888888888888.222..1");
    EXPECT_EQ(l.tokens[0].line, 1u);
    // A "#" anywhere starts one.
    Lexed d = lex(c_language, "x # y\nz");
    EXPECT_EQ(d.codes, (std::vector<u16>{id, id}));
    EXPECT_EQ(d.colours, "..888..");
    EXPECT_EQ(d.complete, 1);
}

TEST(CppLexer, DirectivesTakeInContinuedLinesAndTheirComments) {
    // A trailing backslash (also before "\r") continues the directive.
    Lexed c = lex(c_language, "#define A 1 \\\r\n + 2\nint");
    EXPECT_EQ(c.codes, (std::vector<u16>{c_kw_int}));
    EXPECT_EQ(c.tokens[0].line, 2u);
    EXPECT_EQ(c.colours, std::string(19, '8') + ".222");
    // A block comment opened in a directive runs over its lines; the line goes on after it.
    Lexed b = lex(c_language, "#define B /* one\ntwo */ 3\nx");
    EXPECT_EQ(b.codes, (std::vector<u16>{id}));
    EXPECT_EQ(b.tokens[0].line, 2u);
    EXPECT_EQ(b.colours, std::string(25, '8') + "..");
    // Quotes hide "/*"; a line comment ignores it; an open comment runs to the end.
    EXPECT_EQ(codes(cpp_language, "#include \"a/*b\"\ny"), (std::vector<u16>{id}));
    EXPECT_EQ(codes(cpp_language, "#endif // a /* b\ny"), (std::vector<u16>{id}));
    Lexed open = lex(cpp_language, "#if X /* open\ny");
    EXPECT_TRUE(open.codes.empty());
    EXPECT_EQ(open.complete, 0);
    // The same in GLSL.
    Lexed g = lex(glsl, "#define F(x) \\\n x * 2\nfloat");
    EXPECT_EQ(g.codes, (std::vector<u16>{id}));
    EXPECT_EQ(g.tokens[0].line, 2u);
}

TEST(CppLexer, RawStringsAndLeadingDotNumbers) {
    Lexed r = lex(cpp_language, "R\"x(a \")\" \\n\nb)x\" y");
    EXPECT_EQ(r.codes, (std::vector<u16>{token_string, id}));
    EXPECT_EQ(token_text(r.tokens[0]), "a \")\" \\n\nb");
    EXPECT_EQ(r.tokens[1].line, 1u);
    EXPECT_EQ(r.colours, std::string(17, '7') + "..");
    EXPECT_EQ(codes(cpp_language, "u8R\"(z)\" LR\"(w)\""), (std::vector<u16>{token_string, token_string}));
    // Not raw: no "(" within 16 bytes, a C file, or another prefix.
    EXPECT_EQ(codes(cpp_language, "R\"a b\""), (std::vector<u16>{id, token_string}));
    EXPECT_EQ(codes(c_language, "R\"(z)\""), (std::vector<u16>{id, token_string}));
    Lexed open = lex(cpp_language, "R\"(never");
    EXPECT_EQ(open.codes, (std::vector<u16>{token_string}));
    EXPECT_EQ(open.complete, 0);
    // ".5" and "f(.5e1)" are numbers in C, C++ and GLSL; "a.b" and "..." are not.
    EXPECT_EQ(codes(c_language, "f(.5e1)"), (std::vector<u16>{id, '(', real, ')'}));
    EXPECT_EQ(lex(glsl, ".25f").colours, "5555");
    EXPECT_EQ(codes(cpp_language, "a.b ..."), (std::vector<u16>{id, '.', id, token_ellipsis}));
}

TEST(CppLexer, Operators) {
    EXPECT_EQ(codes(cpp_language, "a == b"), (std::vector<u16>{id, 317, id}));
    EXPECT_EQ(codes(cpp_language, "std::vector"), (std::vector<u16>{id, 570, id}));
    EXPECT_EQ(codes(cpp_language, "f(...)"), (std::vector<u16>{id, '(', 769, ')'}));
    EXPECT_EQ(codes(cpp_language, "a.. b. c:d :="), (std::vector<u16>{id, 558, id, '.', id, ':', id, ':', '='}));
    EXPECT_EQ(codes(cpp_language, "p->q x<<=1 y>>=2 ++ -- && ||"),
              (std::vector<u16>{id, 768, id, id, 828, integer, id, 830, integer, 555, 557, 550, 636}));
    EXPECT_EQ(codes(cpp_language, "a?b:~c"), (std::vector<u16>{id, '?', id, ':', '~', id}));
    EXPECT_EQ(codes(cpp_language, "^^ ^="), (std::vector<u16>{'^', '^', 350}));
    EXPECT_EQ(lex(cpp_language, "a == b").colours, "..11..");
}

TEST(CppLexer, CommentsDoNotNest) {
    Lexed l = lex(cpp_language, "/* a /* b */ c */");
    EXPECT_EQ(l.codes, (std::vector<u16>{id, '*', '/'}));
    EXPECT_EQ(l.colours, "aaaaaaaaaaaa...11");
    // The opening "*" is not reused: "/*/" does not close.
    EXPECT_EQ(codes(cpp_language, "/*/ x */ y"), (std::vector<u16>{id}));
    Lexed u = lex(cpp_language, "/* open");
    EXPECT_EQ(u.complete, 0);
    EXPECT_EQ(u.colours, "aaaaaaa");
    EXPECT_EQ(lex(cpp_language, "x // y").colours, "..9999");
}

TEST(CppLexer, NumbersWithSuffixes) {
    struct Case {
        const char* text;
        std::vector<u16> codes;
        i64 first_length;
    } cases[] = {
        {"1.5f", {real}, 4},      {"10ul", {integer}, 4},  {"0xFFu", {integer}, 5},  {"10uLL", {integer}, 5},
        {"1e5F", {real}, 4},      {"1e1'0", {real}, 5},    {"1.5fu", {real, id}, 4}, {"1fu", {integer, id}, 2},
        {"3u", {integer}, 2},     {"2.l", {real}, 3},      {"1'000'0", {integer}, 7},
        {"0x1'Fu", {integer}, 6}, {"1.2'5", {real}, 5},    {"1'", {integer, token_character}, 1},
        {"1e+5", {real}, 4},      {"2.5E-3f", {real}, 7},
    };
    for (const Case& c : cases) {
        Lexed l = lex(cpp_language, c.text);
        EXPECT_EQ(l.codes, c.codes) << c.text;
        ASSERT_GE(l.tokens.count, 1);
        EXPECT_EQ(l.tokens[0].length, c.first_length) << c.text;
    }
    EXPECT_EQ(lex(cpp_language, "10ul;").colours, "55551");
}

TEST(CppLexer, CAndCppModes) {
    Lexed c = lex(c_language, "class A");
    EXPECT_EQ(c.codes, (std::vector<u16>{id, id}));
    EXPECT_EQ(c.colours, ".......");
    Lexed cpp = lex(cpp_language, "class A");
    EXPECT_EQ(cpp.codes, (std::vector<u16>{1099, id}));
    EXPECT_EQ(cpp.colours, "33333..");
    EXPECT_EQ(codes(cpp_language, "char8_t"), (std::vector<u16>{1096}));
    EXPECT_EQ(lex(cpp_language, "char8_t").colours, "2222222");
    // The C list is shared by both modes.
    EXPECT_EQ(codes(c_language, "typedef struct"), (std::vector<u16>{c_kw_typedef, c_kw_struct}));
    EXPECT_EQ(lex(c_language, "sizeof").colours, "444444");
}

TEST(CppLexer, AlternativeOperatorsAreColouredAsKeywordsAndParsedAsOperators) {
    Lexed l = lex(cpp_language, "x and y");
    EXPECT_EQ(l.codes, (std::vector<u16>{id, 550, id}));
    EXPECT_EQ(l.colours, "..444..");
    EXPECT_EQ(codes(cpp_language, "and_eq bitand bitor compl not not_eq or or_eq xor xor_eq"),
              (std::vector<u16>{294, '&', '|', '~', '!', 289, 636, 380, '^', 350}));
    Lexed c = lex(c_language, "x and y");
    EXPECT_EQ(c.codes, (std::vector<u16>{id, id, id}));
    EXPECT_EQ(c.colours, ".......");
}

TEST(CppLexer, DollarIsNotAnIdentifierByte) {
    Lexed l = lex(c_language, "$x");
    EXPECT_EQ(l.codes, (std::vector<u16>{id}));
    EXPECT_EQ(token_text(l.tokens[0]), "x");
    EXPECT_EQ(l.complete, 0);
    // "@" and a backslash are unknown too; "#" is not.
    EXPECT_EQ(lex(c_language, "@").complete, 0);
    EXPECT_EQ(lex(c_language, "#").complete, 1);
}

TEST(CppLexer, LongKeywordsAreLookedUp) {
    EXPECT_EQ(codes(cpp_language, "reinterpret_cast thread_local"), (std::vector<u16>{cpp_kw_reinterpret_cast, cpp_kw_thread_local}));
    EXPECT_EQ(codes(cpp_language, "reinterpret_casts"), (std::vector<u16>{id}));
}

// ---- GLSL ----------------------------------------------------------------------------

TEST(GlslLexer, DirectivesAndComments) {
    Lexed l = lex(glsl, "#version 330 core\n// c\n/* d */x");
    EXPECT_EQ(l.codes, (std::vector<u16>{id}));
    EXPECT_EQ(l.colours, "88888888888888888.9999.aaaaaaa.");
    EXPECT_EQ(codes(glsl, "/* a /* b */ c */"), (std::vector<u16>{id, '*', '/'}));
}

TEST(GlslLexer, Operators) {
    EXPECT_EQ(codes(glsl, "a ^^ b"), (std::vector<u16>{id, 606, id}));
    EXPECT_EQ(codes(glsl, "a ^ b ^= c"), (std::vector<u16>{id, '^', id, 350, id}));
    EXPECT_EQ(codes(glsl, "p->x"), (std::vector<u16>{id, '-', '>', id}));
    EXPECT_EQ(codes(glsl, "f(...)"), (std::vector<u16>{id, '(', 558, '.', ')'}));
    EXPECT_EQ(codes(glsl, "a == b :: c"), (std::vector<u16>{id, 317, id, 570, id}));
}

TEST(GlslLexer, Numbers) {
    Lexed f = lex(glsl, "1.0f");
    EXPECT_EQ(f.codes, (std::vector<u16>{real}));
    EXPECT_EQ(f.tokens[0].length, 4);
    // "u" unsigned, "lf" and "LF" double; "l" alone and C's "ul" are no GLSL suffixes.
    Lexed u = lex(glsl, "3u");
    EXPECT_EQ(u.codes, (std::vector<u16>{integer}));
    EXPECT_EQ(u.colours, "55");
    EXPECT_EQ(codes(glsl, "0xFFU 2.5lf 1e3LF 1.0F"), (std::vector<u16>{integer, real, real, real}));
    EXPECT_EQ(lex(glsl, "2.5lf;").colours, "555551");
    EXPECT_EQ(codes(glsl, "10ul 1.0l 2.0Lf"), (std::vector<u16>{integer, id, real, id, real, id}));
    EXPECT_EQ(lex(glsl, "1e1'0").tokens[0].length, 5);
    EXPECT_EQ(codes(glsl, "1.5e+3"), (std::vector<u16>{real}));
}

TEST(GlslLexer, Keywords) {
    Lexed l = lex(glsl, "uniform vec3 in true false");
    EXPECT_EQ(l.codes, (std::vector<u16>{1042, id, 1035, 1041, 1032}));
    EXPECT_EQ(l.colours, "3333333......33.4444.44444");
    EXPECT_EQ(codes(glsl, "class and"), (std::vector<u16>{id, id}));
}

TEST(GlslLexer, LiteralsAsInC) {
    Lexed l = lex(glsl, "\"a\" 'b");
    EXPECT_EQ(l.codes, (std::vector<u16>{token_string, token_character}));
    EXPECT_EQ(l.colours, "777.66");
    EXPECT_EQ(l.complete, 0);
}

}  // namespace
