// Macros of real headers around declarations, macro calls that declare nothing, and K&R
// definitions.
#include "cpp_analysis_harness.h"

using namespace cpp_test;

TEST(CppMacros, DecorationsBetweenTypeAndNameAndParameterWrappers) {
    CppRun run = analyse(
        "ZEXTERN uLong ZEXPORT deflateBound OF((z_streamp strm, uLong sourceLen));\n"
        "extern char *index __P((const char *s, int c));\n"
        "char FAR * WINAPI lookup(int key);\n"
        "int __declspec(dllexport) __stdcall exported(void);\n"
        "static int __attribute__((unused)) ALIGNED(16) aligned_fn(void) { return 0; }\n"
        "struct state { struct state FAR *state; int ALIGNED(8) words[2]; };\n",
        "z.c");
    EXPECT_EQ(outline(run),
              (std::vector<std::string>{"0 cylinder deflateBound", "0 cylinder index", "0 cylinder lookup",
                                        "0 cylinder exported", "0 cylinder aligned_fn", "0 cube state",
                                        "1 sphere state", "1 sphere words", "0 end"}));
    EXPECT_EQ(colour_of(run, "strm"), cpp_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "s"), cpp_kind_parameter_var);
}

TEST(CppMacros, MacroCallsDeclareNothingUnlessTheyHoldAPrototype) {
    CppRun run = analyse(
        "DECLARE_THING(x);\n"
        "X(a) X(b)\n"
        "PNG_EXPORT(1, void, png_set_sig_bytes, (png_structrp png_ptr, int num_bytes));\n"
        "main() { return 0; }\n"
        "struct S { S(int v); MEMBER_MACRO(y); };\n",
        "m.cpp");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder png_set_sig_bytes", "0 cylinder main", "0 cube S",
                                                      "1 cylinder S", "0 end"}));
    EXPECT_EQ(colour_of(run, "num_bytes"), cpp_kind_parameter_var);
    EXPECT_EQ(symbol_in(run, 0, "DECLARE_THING"), nullptr);
}

TEST(CppMacros, KnrParameterDeclarationsAreParameters) {
    CppRun run = analyse(
        "int copy(dst, src, n)\n  char *dst;\n  const char *src;\n  int n;\n{\n  return dst[0] + src[0] + n;\n}\n"
        "int after;\n",
        "k.c");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder copy", "0 sphere after"}));
    for (int k = 0; k < 3; k++) {
        EXPECT_EQ(colour_of(run, "dst", k), cpp_kind_parameter_var) << k;
        EXPECT_EQ(colour_of(run, "n", k), cpp_kind_parameter_var) << k;
    }
    EXPECT_EQ(symbol_in(run, 0, "src"), nullptr);
}

// "T const *f(void) {" is a function (a variable before, which took the next function in
// as well); a row stands on its name's line when the head starts lines above it.
TEST(CppMacros, ConstAfterANamedTypeAndRowsOnTheNameLine) {
    CppRun run = analyse(
        "SQLITE_PRIVATE methods const *default_mutex(void);\n"
        "methods const *checked_mutex(void){\n"
        "  static const methods m = { 0 };\n"
        "  return &m;\n"
        "}\n"
        "#ifndef CORE\n"
        "  EXTENSION_INIT1\n"
        "#endif\n"
        "static int\n"
        "next_token(const char *z){ return z[0]; }\n",
        "s.c");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder default_mutex", "0 cylinder checked_mutex",
                                                      "0 cylinder next_token"}));
    ASSERT_EQ(run.job.result->outline.count, 3);
    EXPECT_EQ(run.job.result->outline[1].line, 1);
    EXPECT_EQ(run.job.result->outline[2].line, 9);
    EXPECT_EQ(colour_of(run, "m", 1), cpp_kind_local_var);
    EXPECT_EQ(colour_of(run, "z", 1), cpp_kind_parameter_var);
}

TEST(CppMacros, ExportAndAttributeMacrosOfLibraryHeaders) {
    CppRun run = analyse(
        "EXPORT std::map<std::string, int>*& context();\n"
        "EXPORT\nstd::vector<int> range(int lo, int hi);\n"
        "DEPRECATED(3.0) API(int) check(Object *obj);\n"
        "extern API(int) print_at(Window *, const char *, ...)\n\t\tPRINTF_LIKE(2,3);\n"
        "int RUN_ALL() MUST_USE_RESULT;\n"
        "extern API(void) tracef(const char *, ...) PRINTF_LIKE(1,2);\n"
        "class API DEPRECATED_MSG(\"going\") Reporter : public Base {\n public:\n  Reporter() {}\n};\n"
        "int (max)(int a, int b) { return a; }\n"
        "int after;\n");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder context", "0 cylinder range", "0 cylinder check",
                                                      "0 cylinder print_at", "0 cylinder RUN_ALL", "0 cylinder tracef", "0 cube Reporter",
                                                      "1 cylinder Reporter", "0 end", "0 cylinder max",
                                                      "0 sphere after"}));
    EXPECT_EQ(colour_of(run, "obj"), cpp_kind_parameter_var);
}
