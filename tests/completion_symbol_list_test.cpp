// The symbol list fed by real analysis results: which call's signatures it holds, when it
// opens by itself, stepping through overloads, and which argument holds the cursor.
#include "completion_fixture.h"
#include "analysis/analysis_state.h"
#include "editor/editor_state.h"

namespace {
using namespace completion_test;

const char* two_procs =
    "proc f(int a, int b) int { return a; }\n"
    "proc g(real x, int y) real { return x; }\n";

class SymbolList : public CompletionFixture {
protected:
    void load_body(const std::string& body) { load(std::string(two_procs) + "proc main() {\n" + body + "\n}\n"); }
};

TEST_F(SymbolList, NestedCallsShowTheInnermostCall) {
    load_body("  real r = g(2.0, f(1, |2));");
    ctrl_tap(key_B);
    ASSERT_EQ(doc->symbol_list_open, 1);
    EXPECT_EQ(symbol_texts(), (std::vector<std::string>{"proc f(int a, int b) int"}));
    EXPECT_EQ(doc->symbol_list_selected, 0);
    // Outside the inner call, the outer one.
    doc->cursor = doc->anchor = offset_of("2.0");
    ctrl_tap(key_B);
    EXPECT_EQ(symbol_texts(), (std::vector<std::string>{"proc g(real x, int y) real"}));
    // Outside every call the list closes.
    doc->cursor = doc->anchor = offset_of("real r");
    ctrl_tap(key_B);
    EXPECT_EQ(doc->symbol_list_open, 0);
    EXPECT_TRUE(symbol_texts().empty());
}

TEST_F(SymbolList, OpeningBracketAfterANameOpensItOnTheNextResult) {
    load_body("  int r = f|1, 2);");
    type("(");
    EXPECT_EQ(doc->symbol_list_open, 0);
    analyse_and_frame();
    ASSERT_EQ(doc->symbol_list_open, 1);
    EXPECT_EQ(symbol_texts(), (std::vector<std::string>{"proc f(int a, int b) int"}));
    // A bracket that follows no name does not.
    load_body("  int r = 3 * |f(1, 2) + 1);");
    type_analysed("(");
    EXPECT_EQ(doc->symbol_list_open, 0);
}

TEST_F(SymbolList, ClosingBracketShowsTheEnclosingCallOrCloses) {
    load_body("  real r = g(2.0, f(1, 2|, 3);");
    type_analysed(")");
    ASSERT_EQ(doc->symbol_list_open, 1);
    EXPECT_EQ(symbol_texts(), (std::vector<std::string>{"proc g(real x, int y) real"}));

    load_body("  int r = f(1, |2);\n  int s = 0;");
    ctrl_tap(key_B);
    ASSERT_EQ(doc->symbol_list_open, 1);
    doc->cursor = doc->anchor = offset_of("0;") + 1;
    type_analysed(")");
    EXPECT_EQ(doc->symbol_list_open, 0);
}

TEST_F(SymbolList, OverloadsAreSteppedWithCtrlIAndCtrlK) {
    load("proc sqrt(real v) real;\nproc sqrt(int v) int;\nproc main() {\n  sqrt(2.0|);\n}\n");
    ctrl_tap(key_B);
    ASSERT_EQ(symbol_texts(), (std::vector<std::string>{"proc sqrt(real v) real", "proc sqrt(int v) int"}));
    EXPECT_EQ(doc->symbol_list_selected, 0);
    ctrl_tap(key_I);
    EXPECT_EQ(doc->symbol_list_selected, 0);  // not below the first
    ctrl_tap(key_K);
    EXPECT_EQ(doc->symbol_list_selected, 1);
    ctrl_tap(key_K);
    EXPECT_EQ(doc->symbol_list_selected, 1);  // not past the last
    ctrl_tap(key_I);
    EXPECT_EQ(doc->symbol_list_selected, 0);
    // Rebuilding starts at the first entry again.
    ctrl_tap(key_K);
    ctrl_tap(key_B);
    EXPECT_EQ(doc->symbol_list_selected, 0);
}

TEST_F(SymbolList, EntriesOutliveTheResultTheyCameFrom) {
    load_body("  int r = f(1, |2);");
    ctrl_tap(key_B);
    ASSERT_EQ(doc->symbol_list.count, 1);
    // A larger, different text brings a result that overwrites pool_output; the entry stays.
    std::string other = "proc other_name(int q, int w, int e) int { return q; }\n";
    for (int i = 0; i < 50; i++) other += "proc zz" + std::to_string(i) + "(real k) { other_name(1, 2, 3); }\n";
    ctrl_tap(key_A);
    type(other);
    analyse_and_frame();
    ASSERT_GT(analysis.current_result.signatures.count, 0);
    EXPECT_EQ(str(analysis.current_result.signatures[0].text), "proc other_name(int q, int w, int e) int");
    ASSERT_EQ(doc->symbol_list.count, 1);
    EXPECT_EQ(str(doc->symbol_list[0].text), "proc f(int a, int b) int");
    EXPECT_EQ(doc->symbol_list[0].colours.length, doc->symbol_list[0].text.length);
    EXPECT_EQ(doc->symbol_list[0].colours.data[0], vantrel_kind_declaration_keyword);
    EXPECT_EQ(doc->symbol_list[0].colours.data[5], vantrel_kind_proc);
}

TEST_F(SymbolList, RebuildingDropsTheListsOfOtherDocuments) {
    load_body("  int r = f(1, |2);");
    ctrl_tap(key_B);
    ASSERT_EQ(doc->symbol_list.count, 1);
    Document* other = doc;
    doc = &editor.tab_table.slots[1];
    doc->font = &test_font;
    doc->caret_texture = doc->background_texture = doc->scrollbar_texture = white;
    doc->x = 100, doc->y = 50, doc->width = 600, doc->height = 600, doc->focused = 1;
    load_body("  real r = g(|2.0, 1);");
    ctrl_tap(key_B);
    EXPECT_EQ(symbol_texts(), (std::vector<std::string>{"proc g(real x, int y) real"}));
    // The first document's entries pointed into the pool that was just emptied.
    EXPECT_EQ(other->symbol_list_open, 0);
    EXPECT_EQ(other->symbol_list.count, 0);
}

TEST_F(SymbolList, ArgumentUnderTheCursor) {
    struct Case {
        const char* body;
        i64 index;
    } cases[] = {
        {"  int r = f(|1, 2);", 0},
        {"  int r = f(1, |2);", 1},
        {"  int r = f(1,|2);", 1},
        {"  real r = g(f(1, 2), |3);", 1},       // commas of a nested call do not count
        {"  real r = g(f(1, |2), 3);", 1},       // inside the nested call: its own arguments
        {"  put(\"a,b,c\", |1);", 1},            // commas inside a string do not count
        {"  put(\"a,b\"|, 1);", 0},
        {"  int r = |f(1, 2);", -1},             // no "(" before the cursor
    };
    for (const Case& c : cases) {
        load("proc put(char* s, int n) { }\n" + std::string(two_procs) + "proc main() {\n" + c.body + "\n}\n");
        EXPECT_EQ(symbol_list_argument_index(doc), c.index) << c.body;
    }
}

TEST_F(SymbolList, ArgumentRangeInTheSignature) {
    auto range = [](const char* text, i64 index) {
        i64 start = -1, end = -1;
        StringView t = sv_from_cstr(text);
        if (!signature_argument_range(t, index, &start, &end)) return std::string("<none>");
        return std::string(text + start, (size_t)(end - start));
    };
    EXPECT_EQ(range("proc f(int a, int b) int", 0), "int a");
    EXPECT_EQ(range("proc f(int a, int b) int", 1), "int b");
    EXPECT_EQ(range("proc f(int a, int b) int", 2), "<none>");
    EXPECT_EQ(range("proc f(int a, int b) int", -1), "<none>");
    // Blanks after a comma are not part of the next argument; brackets nest.
    EXPECT_EQ(range("proc f(List(T) a,\n\t  Map(K, V) b) int", 1), "Map(K, V) b");
    EXPECT_EQ(range("proc f(List(T) a,\n\t  Map(K, V) b) int", 0), "List(T) a");
    EXPECT_EQ(range("proc f() int", 0), "");
    EXPECT_EQ(range("int g(int x, int y", 1), "int y");  // a head cut short
    EXPECT_EQ(range("no brackets", 0), "<none>");
}

TEST_F(SymbolList, CallsInOtherLanguages) {
    load("int f(int x, int y) { return x; }\nvoid g() {\n  f(1, |2);\n}\n", SV("main.cpp"), file_kind_cpp);
    ctrl_tap(key_B);
    EXPECT_EQ(symbol_texts(), (std::vector<std::string>{"int f(int x, int y)"}));
    EXPECT_EQ(symbol_list_argument_index(doc), 1);

    load("float f(float a, float b) { return a; }\nvoid main() {\n  float x = f(1.0, |2.0);\n}\n", SV("main.frag"),
         file_kind_glsl);
    ctrl_tap(key_B);
    EXPECT_EQ(symbol_texts(), (std::vector<std::string>{"float f(float a, float b)"}));
}

TEST_F(SymbolList, UnclosedCallsInEveryLanguage) {
    struct Case {
        const char* head;  // declares the functions `lift` and `ramp`
        const char* call;  // "ramp(" and what follows it, then the next statement
        StringView path;
        u8 kind;
        const char* lift;
        const char* ramp;
    } cases[] = {
        {"proc lift(int k) int { return k; }\nproc ramp(int n, real x) int { return n; }\nproc main() {\n",
         "  int q = ramp(1, |\n  int y = 0;\n}\n", SV("main.vnt"), file_kind_vantrel, "proc lift(int k) int",
         "proc ramp(int n, real x) int"},
        {"int lift(int k) { return k; }\nint ramp(int n, float x) { return n; }\nvoid g(void) {\n",
         "  ramp(1, |\n  int y = 0;\n}\n", SV("main.c"), file_kind_c, "int lift(int k)", "int ramp(int n, float x)"},
        // A line ending in "," goes on to the next.
        {"int lift(int k) { return k; }\nint ramp(int n, float x) { return n; }\nvoid g() {\n",
         "  int q = ramp(2,\n    |\n  return;\n}\n", SV("main.cpp"), file_kind_cpp, "int lift(int k)",
         "int ramp(int n, float x)"},
        {"int lift(int k) { return k; }\nfloat ramp(float e, float x) { return e; }\nvoid main() {\n",
         "  float q = ramp(1.0, |\n  float y = 0.0;\n}\n", SV("main.frag"), file_kind_glsl, "int lift(int k)",
         "float ramp(float e, float x)"},
    };
    auto show_at = [&](const Case& c, const char* in_place_of_caret) {
        std::string text = std::string(c.head) + c.call;
        text.replace(text.find('|'), 1, in_place_of_caret);
        load(text, c.path, c.kind);
        ctrl_tap(key_B);
        return symbol_texts();
    };
    using Texts = std::vector<std::string>;
    for (const Case& c : cases) {
        EXPECT_EQ(show_at(c, "|"), Texts{c.ramp}) << c.path.data;
        EXPECT_EQ(symbol_list_argument_index(doc), 1) << c.path.data;
        // The innermost call holding the caret: an unclosed one in the unclosed one, not a
        // closed one before the caret.
        EXPECT_EQ(show_at(c, "lift(|"), Texts{c.lift}) << c.path.data;
        EXPECT_EQ(show_at(c, "lift(2), |"), Texts{c.ramp}) << c.path.data;
    }
    // A line that does not go on ends the list: the next statement is outside the call.
    load("int ramp(int n) { return n; }\nvoid g() {\n  ramp(1\n  int y = |0;\n}\n", SV("main.cpp"), file_kind_cpp);
    ctrl_tap(key_B);
    EXPECT_EQ(doc->symbol_list_open, 0);
}

}  // namespace
