// Conditional groups read structurally: one version of lines that exist in several never
// unbalances the braces, alternative whole definitions keep their rows, and left-out
// tokens keep the lexer's colours.
#include "cpp_analysis_harness.h"
#include "glsl_analysis_harness.h"

using namespace cpp_test;

TEST(CppPreprocessorBranches, AlternativeHeadsOpenersAndElseLinesKeepOneVersion) {
    CppRun heads = analyse(
        "#ifdef WIN\nint f(int a) {\n#else\nint f(long b) {\n#endif\n  return 0;\n}\nint after(void);\n", "m.c");
    EXPECT_EQ(outline(heads), (std::vector<std::string>{"0 cylinder f", "0 cylinder after"}));
    EXPECT_EQ(colour_of(heads, "a"), cpp_kind_parameter_var);
    EXPECT_EQ(colour_of(heads, "b"), cpp_kind_default);
    CppRun spaces = analyse("#if X\nnamespace a {\n#else\nnamespace b {\n#endif\nint v;\n}\nint w;\n");
    EXPECT_EQ(outline(spaces), (std::vector<std::string>{"0 cube a", "1 sphere v", "0 end", "0 sphere w"}));
    CppRun elses = analyse(
        "void g(int x) {\n  if (x) {\n    x = 1;\n#ifdef A\n  } else if (x > 2) {\n#else\n  } else {\n#endif\n"
        "    x = 2;\n  }\n}\nint h;\n",
        "m.c");
    EXPECT_EQ(outline(elses), (std::vector<std::string>{"0 cylinder g", "0 sphere h"}));
    EXPECT_EQ(colour_of(elses, "h"), cpp_kind_global_var);
}

TEST(CppPreprocessorBranches, BalancedAlternativesKeepTheirDeclarations) {
    CppRun run = analyse(
        "#ifdef _WIN32\nstatic int open_file(void) { return 1; }\n#elif defined(__APPLE__)\n"
        "static int open_file(void) { return 2; }\n#else\nstatic int other(void) { return 3; }\n#endif\n"
        // A group inside an alternative is decided first: its own alternative head goes.
        "#ifdef A\nint one(void) { return 1; }\n#else\n#ifdef B\nint two(int x) {\n#else\nint two(long x) {\n"
        "#endif\n  return 2;\n}\n#endif\nint three;\n",
        "m.c");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder open_file", "0 cylinder open_file",
                                                      "0 cylinder other", "0 cylinder one", "0 cylinder two",
                                                      "0 sphere three"}));
}

TEST(CppPreprocessorBranches, KnownConditionsDecideTheBranch) {
    // "#if 1" leaves out what follows it; "#if 0" takes the next branch not known false.
    CppRun run = analyse(
        "#if 1\nint a;\n#else\nint b;\n#endif\n"
        "#if 0\nint c {\n#elif X\nint d;\n#elif 0\nint e;\n#else\nint f;\n#endif\n"
        "#ifndef Y\n#elif 1 // always\nint g;\n#else\nint h;\n#endif\n",
        "m.c");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 sphere a", "0 sphere d", "0 sphere f", "0 sphere g"}));
    EXPECT_EQ(colour_of(run, "e"), cpp_kind_default);
    // Indented directives count; a "#" line inside a comment does not; a group decided
    // inside a branch that is left out goes with it.
    CppRun nested = analyse(
        "  #  if 0\n#ifdef A\nint p {\n#else\nint q {\n#endif\n#else\nint r;\n  #endif\n"
        "/*\n#if 0\n*/\nint s;\n#ifdef B\nint t(void) {\n#else\nint t(int) {\n#endif\n}\nint u;\n",
        "m.c");
    EXPECT_EQ(outline(nested), (std::vector<std::string>{"0 sphere r", "0 sphere s", "0 cylinder t", "0 sphere u"}));
    // A group left open at the end of the file is decided there.
    CppRun open = analyse("int x;\n#ifdef Q\nint y(void) {\n#else\nint y(int) {\n", "m.c");
    EXPECT_EQ(outline(open), (std::vector<std::string>{"0 sphere x", "0 cylinder y"}));
}

TEST(GlslPreprocessorBranches, AlternativeMainHeadsKeepOneVersion) {
    glsl_test::CppRun run = glsl_test::analyse(
        "#ifdef GL_ES\nprecision mediump float;\nvoid main() {\n#else\nvoid main(void) {\n#endif\n"
        "  gl_FragColor = vec4(1.0);\n}\nfloat after;\n");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder main", "0 sphere after"}));
}
