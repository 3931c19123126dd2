// The completion list fed by real analysis results: when it opens by itself, which names
// it gathers at the cursor, how typing filters and orders them, and what Enter inserts.
#include "completion_fixture.h"
#include "analysis/analysis_state.h"
#include "core/core_state.h"
#include "editor/recolour.h"
#include "editor/symbol_look.h"

namespace {
using namespace completion_test;

const char* vec_program =
    "struct Vec { int x; int y; proc len() int { return x; } }\n"
    "proc f(int a, int b) int { return a; }\n"
    "proc main() {\n"
    "  Vec v;\n"
    "  |\n"
    "}\n";

class CompletionList : public CompletionFixture {};

TEST_F(CompletionList, DotAfterAnIdentifierOpensOnceTheNextResultArrives) {
    load(vec_program);
    type("v");
    type(".");
    // The result of the text with "." is not there yet.
    EXPECT_EQ(doc->completion_open, 0);
    analyse_and_frame();
    ASSERT_EQ(doc->completion_open, 1);
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"len", "x", "y"}));
    // Typing narrows the list at once; a later result gathers again and keeps it narrowed.
    type("y");
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"y"}));
    analyse_and_frame();
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"y"}));
}

TEST_F(CompletionList, DotAfterANumberOrADirectiveDoesNotOpen) {
    load("proc main() {\n  real r = |\n}\n");
    type_analysed("5.");
    EXPECT_EQ(doc->completion_open, 0);
    load("proc main() {\n  |\n}\n");
    type_analysed("#x.");
    EXPECT_EQ(doc->completion_open, 0);
    // After a closing bracket it does.
    load(vec_program);
    type_analysed("(v).");
    EXPECT_EQ(doc->completion_open, 1);
}

TEST_F(CompletionList, AnIdentifierAtTheVeryStartOfTheTextQualifies) {
    load("|");
    type_analysed("v.");
    EXPECT_EQ(doc->completion_open, 1);
    load("|");
    type_analysed("+v.");
    EXPECT_EQ(doc->completion_open, 1);
}

TEST_F(CompletionList, SubsequenceFilterInNameOrder) {
    load("struct P { int pt; int tip; int point; int top; int input; int step; int Pt; int apart; int stop; }\n"
         "proc main() {\n  P v;\n  |\n}\n");
    type_analysed("v.");
    ASSERT_EQ(doc->completion_open, 1);
    EXPECT_EQ(completion_names().size(), 9u);
    type("p");
    type("t");
    // Each holds a "p" with a "t" somewhere after it; "tip", "top", "step", "stop" have
    // their t only before the p, and "Pt" has no lower-case p.
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"apart", "input", "point", "pt"}));
    EXPECT_EQ(doc->completion_selected, 0);
}

TEST_F(CompletionList, EnterInsertsTheSelectedNameInPlaceOfTheIdentifier) {
    load(vec_program);
    type_analysed("v.");
    type("e");
    ASSERT_EQ(completion_names(), (std::vector<std::string>{"len"}));
    tap(key_enter);
    EXPECT_EQ(doc->completion_open, 0);
    i32 at = offset_of("v.len");
    ASSERT_GE(at, 0);
    EXPECT_EQ(doc->cursor, at + 5);
    EXPECT_EQ(doc->anchor, doc->cursor);
    EXPECT_EQ(text().find("v.len\n"), (size_t)at);  // no newline came with Enter

    // The identifier around the cursor counts the bytes on both sides of it.
    load("struct Vec { int x; int y; proc len() int { return x; } }\nproc main() {\n  Vec v;\n  v.|q;\n}\n");
    type_analysed("x");
    EXPECT_EQ(doc->completion_open, 0);  // a letter does not open the list
    ctrl_tap(key_space);
    ASSERT_EQ(doc->completion_open, 1);
    EXPECT_TRUE(completion_names().empty());  // nothing holds "xq"

    // Down picks the second name.
    load("struct Vec { int x; int y; proc len() int { return x; } }\nproc main() {\n  Vec v;\n  v.|;\n}\n");
    ctrl_tap(key_space);
    ASSERT_EQ(completion_names(), (std::vector<std::string>{"len", "x", "y"}));
    tap(key_down);
    tap(key_enter);
    EXPECT_NE(text().find("  v.x;\n"), std::string::npos);
}

// A new member name typed after "." leaves no candidate: Enter keeps it and ends the line.
TEST_F(CompletionList, EnterWithNoCandidatesEndsTheLine) {
    load(vec_program);
    type_analysed("v.");
    type("zz");
    ASSERT_EQ(doc->completion_open, 1);
    ASSERT_TRUE(completion_names().empty());
    std::string before = text();
    size_t at = (size_t)doc->cursor;
    tap(key_enter);
    EXPECT_EQ(doc->completion_open, 0);
    EXPECT_EQ(text().substr(0, at + 1), before.substr(0, at) + "\n");
    EXPECT_NE(text().find("v.zz\n"), std::string::npos);
}

TEST_F(CompletionList, AcceptedNameIsNotReopenedByTheNextResult) {
    load(vec_program);
    type_analysed("v.");
    ASSERT_EQ(doc->completion_open, 1);
    tap(key_enter);
    ASSERT_EQ(doc->completion_open, 0);
    analyse_and_frame();
    EXPECT_EQ(doc->completion_open, 0);
    // Moving away from a "." typed earlier does not bring the list back either.
    load(vec_program);
    type_analysed("v.");
    tap(key_left);
    EXPECT_EQ(doc->completion_open, 0);
    recolour_document(doc);  // as when the tab is activated again
    analyse_and_frame();
    EXPECT_EQ(doc->completion_open, 0);
}

TEST_F(CompletionList, CtrlSpaceGathersTheFileScopeAndTheScopesAroundTheCursor) {
    load("struct Vec { int x; }\n"
         "proc f(int a, int b) int { int inner = 0; return a; }\n"
         "proc main(int count) {\n"
         "  Vec v;\n"
         "  { int block = 1; }\n"
         "  |\n"
         "}\n");
    ctrl_tap(key_space);
    ASSERT_EQ(doc->completion_open, 1);
    // Declarations of the file, then main's parameter and local; not f's, nor those of
    // the block that has ended, nor the members of Vec.
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"Vec", "count", "f", "main", "v"}));
    ctrl_tap(key_space);
    EXPECT_EQ(doc->completion_open, 0);
}

TEST_F(CompletionList, ScopesOfOtherFilesAreLeftOutEvenWhereTheirExtentsOverlap) {
    std::string dir = TESMORA_SOURCE_DIR "/examples/vantrel_sample/";
    std::string project = dir + "vantrel_sample.project";
    string_assign(&core.project_path, StringView{project.data(), (i64)project.size()}, pool_main);
    source_cache_rebuild(SV("sources.txt"));
    StringView main_text = source_cache_copy(SV("main.vnt"), pool_main);
    ASSERT_GT(main_text.length, 0);
    std::string text = str(main_text);
    size_t at = text.find("    build_scene(&scene);\n");
    ASSERT_NE(at, std::string::npos);
    // Spliced rather than inserted: g++ 12 at -O3 warns falsely about a short insert.
    load(text.substr(0, at) + "|" + text.substr(at));
    ASSERT_GT(analysis.current_result.scopes.count, 1);
    bool overlapping = false;
    for (const Scope& s : analysis.current_result.scopes)
        overlapping |= str(s.name) == "geometry.vnt" && s.start <= doc->cursor && doc->cursor <= s.end;
    ASSERT_TRUE(overlapping) << "the sample no longer has a geometry.vnt scope around the cursor's offset";

    ctrl_tap(key_space);
    std::vector<std::string> names = completion_names();
    auto has = [&](const char* n) { return std::find(names.begin(), names.end(), n) != names.end(); };
    EXPECT_TRUE(has("canvas"));     // a local of main
    EXPECT_TRUE(has("scene"));      // a global of main.vnt
    EXPECT_TRUE(has("Vec2"));       // a struct of geometry.vnt
    EXPECT_FALSE(has("far"));       // a local of Rect.contains in geometry.vnt
    EXPECT_FALSE(has("target"));    // a parameter of build_scene
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));

    // Members of the sample's Scene after "scene.".
    ctrl_tap(key_space);
    tap(key_end);
    type_analysed("\n    scene.");
    ASSERT_EQ(doc->completion_open, 1);
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"bounds", "frame", "shapes"}));
}

TEST_F(CompletionList, CandidatesCarryTheIconAndColourOfTheirKind) {
    load(vec_program);
    type_analysed("v.");
    ASSERT_EQ(doc->completion.count, 3);
    const Candidate& len = doc->completion[0];
    const Candidate& x = doc->completion[1];
    EXPECT_EQ(len.icon, symbol_kind_icon(&analysis.current_result, symbol_procedure));
    EXPECT_EQ(x.icon, symbol_kind_icon(&analysis.current_result, symbol_member));
    EXPECT_NE(len.icon, 0u);
    EXPECT_NE(len.icon, x.icon);
    Color member = symbol_kind_colour(&analysis.current_result, symbol_member);
    Color procedure = symbol_kind_colour(&analysis.current_result, symbol_procedure);
    EXPECT_EQ(std::memcmp(&x.color, &member, sizeof(Color)), 0);
    EXPECT_EQ(std::memcmp(&len.color, &procedure, sizeof(Color)), 0);
}

TEST_F(CompletionList, DownAndUpScrollTheEightShownRows) {
    std::string members;
    for (char c = 'a'; c <= 'l'; c++) members += std::string("int m") + c + "; ";
    load("struct M { " + members + "}\nproc main() {\n  M v;\n  |\n}\n");
    type_analysed("v.");
    ASSERT_EQ(doc->completion.count, 12);
    for (int i = 0; i < 9; i++) tap(key_down);
    EXPECT_EQ(doc->completion_selected, 9);
    EXPECT_EQ(doc->completion_top, 2);
    for (int i = 0; i < 5; i++) tap(key_down);
    EXPECT_EQ(doc->completion_selected, 11);  // not past the last
    EXPECT_EQ(doc->completion_top, 4);
    for (int i = 0; i < 8; i++) tap(key_up);
    EXPECT_EQ(doc->completion_selected, 3);
    EXPECT_EQ(doc->completion_top, 3);
    i32 cursor = doc->cursor;
    EXPECT_EQ(cursor, offset_of("v.") + 2);  // the caret stayed
}

TEST_F(CompletionList, OtherLanguagesOpenTheirMemberLists) {
    load("struct S { int alpha; int beta; };\nvoid g() {\n  S s;\n  |\n}\n", SV("main.cpp"), file_kind_cpp);
    type_analysed("s.");
    ASSERT_EQ(doc->completion_open, 1);
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"alpha", "beta"}));

    // A variable declared with the struct's tag.
    load("struct S { int alpha; int beta; };\nvoid g(void) {\n  struct S s;\n  |\n}\n", SV("main.c"), file_kind_c);
    type_analysed("s.");
    ASSERT_EQ(doc->completion_open, 1);
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"alpha", "beta"}));

    load("typedef struct S { int alpha; int beta; } S;\nvoid g() {\n  S s;\n  s.|b;\n}\n", SV("main.c"), file_kind_c);
    ctrl_tap(key_space);
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"beta"}));

    load("struct Light { vec3 pos; float power; };\nvoid main() {\n  Light l;\n  |\n}\n", SV("main.frag"),
         file_kind_glsl);
    type_analysed("l.");
    ASSERT_EQ(doc->completion_open, 1);
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"pos", "power"}));

    // Plain text is never opened by a result.
    load("v|", SV("notes.txt"), file_kind_other);
    type_analysed(".");
    EXPECT_EQ(doc->completion_open, 0);
}

TEST_F(CompletionList, GlslVectorsOfferTheirComponentsAndOtherBuiltinsNothing) {
    using Names = std::vector<std::string>;
    const Names two{"g", "r", "s", "t", "x", "y"};
    struct Case {
        const char* typed;
        Names names;
    } cases[] = {
        {"p.", two},
        {"u.", {"b", "g", "p", "r", "s", "t", "x", "y", "z"}},
        {"c.", {"a", "b", "g", "p", "q", "r", "s", "t", "w", "x", "y", "z"}},
        {"c.ab.", two},           // a swizzle is a vector of its length
        {"u.zx.", two},
        {"m.", {}},               // neither a matrix nor a scalar has members
        {"f.", {}},
        {"c.w.", {}},
    };
    for (const Case& c : cases) {
        load("void main() {\n  vec2 p; uvec3 u; vec4 c; mat3 m; float f;\n  |\n}\n", SV("main.frag"), file_kind_glsl);
        type_analysed(c.typed);
        ASSERT_EQ(doc->completion_open, 1) << c.typed;
        EXPECT_EQ(completion_names(), c.names) << c.typed;
    }
}

}  // namespace

namespace {

TEST_F(CompletionList, ParametersAndClassMembersAroundAFunctionBodyAreOffered) {
    // C: the parameters live in the function's own scope, outside its body block.
    load("int total;\nint add(int left, int right) {\n  int sum = 0;\n  |\n}\nint other(int unseen) { return unseen; }\n",
         SV("main.c"), file_kind_c);
    ctrl_tap(key_space);
    ASSERT_EQ(doc->completion_open, 1);
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"add", "left", "other", "right", "sum", "total"}));

    // C++: a method defined in its class sees the class's members and its parameters;
    // a nested block adds its own locals, and nothing is offered twice.
    load("struct Counter {\n  int value;\n  void bump(int step) {\n    int old = value;\n    { int inner = 1; | }\n  }\n};\n",
         SV("main.cpp"), file_kind_cpp);
    ctrl_tap(key_space);
    ASSERT_EQ(doc->completion_open, 1);
    EXPECT_EQ(completion_names(), (std::vector<std::string>{"Counter", "bump", "inner", "old", "step", "value"}));

    // GLSL: a user function's parameter beside the built-ins.
    load("float scale(float amount) {\n  float twice = amount * 2.0;\n  |\n  return twice;\n}\n", SV("main.frag"),
         file_kind_glsl);
    ctrl_tap(key_space);
    std::vector<std::string> names = completion_names();
    auto has = [&](const char* n) { return std::find(names.begin(), names.end(), n) != names.end(); };
    EXPECT_TRUE(has("amount"));
    EXPECT_TRUE(has("twice"));
    EXPECT_TRUE(has("scale"));
    EXPECT_EQ(std::count(names.begin(), names.end(), "amount"), 1);
}

}  // namespace

