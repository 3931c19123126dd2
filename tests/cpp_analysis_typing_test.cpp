// Text being typed: an unclosed brace ends before the next definition at column 0, and
// the members offered after "." come from the expression left of it whatever follows.
#include "cpp_analysis_harness.h"
#include "glsl_analysis_harness.h"

using namespace cpp_test;

namespace {
// Members offered at byte `at`: the target scope of the member range holding it, -1 when none.
i64 member_scope_at(const CppRun& run, size_t at) {
    for (const CursorRange& r : run.job.result->cursor_ranges)
        if (!r.is_call && r.start <= (i32)at && (i32)at <= r.end) return r.target;
    return -1;
}

std::string functions(int count, int unclosed) {
    std::string s;
    for (int k = 0; k < count; k++) {
        s += "int f" + std::to_string(k) + "(int a)\n{\n    int x = a;\n    if (x) {\n        x++;\n";
        if (k != unclosed) s += "    }\n";
        s += "    return x;\n}\n\n";
    }
    return s;
}
}  // namespace

TEST(CppTyping, AnUnclosedBraceEndsAtTheNextDefinitionAtColumnZero) {
    CppRun run = analyse(functions(300, 150), "gen.c");
    EXPECT_EQ(run.job.result->outline.count, 300);
    EXPECT_EQ(outline(run)[299], "0 cylinder f299");
    // An unclosed struct, and one in GLSL, end the same way; namespaces do not.
    CppRun s = analyse("struct S {\n  int a;\nint after(void);\n", "s.c");
    EXPECT_EQ(outline(s), (std::vector<std::string>{"0 cube S", "1 sphere a", "0 end", "0 cylinder after"}));
    CppRun n = analyse("namespace n {\nint a;\n");
    EXPECT_EQ(outline(n), (std::vector<std::string>{"0 cube n", "1 sphere a", "0 end"}));
    glsl_test::CppRun g = glsl_test::analyse("void main() {\n  float x = 1.0;\nfloat after() { return 1.0; }\n");
    EXPECT_EQ(outline(g), (std::vector<std::string>{"0 cylinder main", "0 cylinder after"}));
    // Balanced code keeps labels and statements written at column 0.
    CppRun labels = analyse("void f(int x) {\nagain:\nx++;\n}\nint g;\n", "l.c");
    EXPECT_EQ(outline(labels), (std::vector<std::string>{"0 cylinder f", "0 sphere g"}));
}

TEST(CppTyping, MembersAfterADotTypedAboveAnotherStatement) {
    std::string text = "struct P { int position; int speed; };\nvoid f(void) {\n  struct P p;\n  p.\n  p.position = 1;\n}\n";
    CppRun run = analyse(text, "m.c");
    i64 members = scope_named(run, "P");
    ASSERT_GE(members, 1);
    EXPECT_EQ(member_scope_at(run, text.find("p.\n") + 2), members);
    EXPECT_EQ(member_scope_at(run, text.find("position = 1")), members);
    // GLSL: "p." with the next line was read as a declaration of p whose type was "p.".
    std::string shader = "struct P { vec3 position; float speed; };\nvoid main() {\n  P p;\n  p.\n  p.position = vec3(1.0);\n}\n";
    CppRun g = glsl_test::analyse(shader);
    i64 shader_members = scope_named(g, "P");
    ASSERT_GE(shader_members, 1);
    EXPECT_EQ(member_scope_at(g, shader.find("p.\n") + 2), shader_members);
    EXPECT_EQ(member_scope_at(g, shader.find("position = ")), shader_members);
}

// The same in vantrel (the demo's main.vnt): "p." typed above "p.position = ...", and
// operator procedures, which are looked up by their spelling but never offered.
TEST(VantrelTyping, MembersAfterADotAndNoOperatorCandidates) {
    std::string text =
        "struct Vec2 { real x; real y; }\nproc + (Vec2 a, b) Vec2 { return a; }\n"
        "symmetric proc * (Vec2 v, real f) Vec2 { return v; }\n"
        "struct Particle { Vec2 position; int phase; }\n"
        "proc main() {\n    Particle p;\n    p.\n    p.position = ^Vec2(x = 1, y = 2) + p.position * 2;\n}\n";
    setup();
    pool_reset(pool_parser);
    static AnalysisResult result;
    CppRun run{};
    run.text = text;
    run.job.text = StringView{run.text.data(), (i64)run.text.size()};
    run.job.path = SV("main.vnt");
    run.job.kind = file_kind_vantrel;
    run.job.result = &result;
    analysis_run_job(&run.job);
    i64 members = scope_named(run, "Particle");
    ASSERT_GE(members, 1);
    EXPECT_EQ(member_scope_at(run, text.find("p.\n") + 2), members);
    EXPECT_EQ(member_scope_at(run, text.find("position = ")), members);
    for (const Scope& scope : result.scopes)
        for (const Symbol& s : scope.members) EXPECT_TRUE(str(s.name) != "+" && str(s.name) != "*") << str(s.name);
    // Still found for the operator expressions: "+" and "*" resolve to their procedures.
    EXPECT_NE(lookup_symbol(&result, 0, 0, SV("+")), nullptr);
}
