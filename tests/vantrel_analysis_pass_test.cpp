// The whole vantrel pass as the analysis thread runs it: colours of declared and used
// names, scopes, signatures, cursor ranges and minimap rows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/analysis_job.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/document.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"
#include "test_support.h"

namespace {

struct Analysed {
    AnalysisJob job;
    std::string text;
};

void setup_analysis() {
    static bool ready = false;
    if (ready) return;
    ensure_arenas();
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    ensure_analysis_locks();
    ready = true;
}

Analysed* analyse(const std::string& text, bool keep_cache = false) {
    setup_analysis();
    if (!keep_cache) source_cache_clear();
    static Analysed run;
    static AnalysisResult result;
    pool_reset(pool_parser);
    run.text = text;
    run.job = AnalysisJob{};
    run.job.text = StringView{run.text.data(), (i64)run.text.size()};
    run.job.path = SV("main.vnt");
    run.job.kind = file_kind_vantrel;
    run.job.result = &result;
    analysis_run_job(&run.job);
    return &run;
}

bool is_word_byte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '?';
}

// Offset of the n-th (from 0) whole-word occurrence of `word`, or -1.
i64 find_word(const Analysed* r, const std::string& word, int n = 0) {
    size_t at = 0;
    while ((at = r->text.find(word, at)) != std::string::npos) {
        bool starts = at == 0 || !is_word_byte(r->text[at - 1]);
        bool ends = at + word.size() >= r->text.size() || !is_word_byte(r->text[at + word.size()]);
        if (starts && ends && n-- == 0) return (i64)at;
        at++;
    }
    return -1;
}

// Colour byte of the n-th occurrence of a word; 0xFF when the word is not there.
int colour(const Analysed* r, const std::string& word, int n = 0) {
    i64 at = find_word(r, word, n);
    if (at < 0 || at >= r->job.colours.count) return 0xFF;
    return r->job.colours[at];
}

const AnalysisResult& result_of(const Analysed* r) { return *r->job.result; }

std::string row_name(const OutlineRow& row) { return std::string(row.name.data, (size_t)row.name.length); }

std::string sv(StringView s) { return std::string(s.data ? s.data : "", (size_t)s.length); }

i32 scope_named(const Analysed* r, const std::string& name) {
    const AnalysisResult& res = result_of(r);
    for (i64 i = 0; i < res.scopes.count; i++)
        if (sv(res.scopes[i].name) == name) return (i32)i;
    return -1;
}

TEST(VantrelPass, VariableKindFollowsContext) {
    Analysed* r = analyse("int x;");
    EXPECT_EQ(colour(r, "x"), vantrel_kind_global_var);
    r = analyse("proc f() { int x; x = 1; }");
    EXPECT_EQ(colour(r, "x"), vantrel_kind_local_var);
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_local_var);
    r = analyse("proc f(int x) { x = 1; }");
    EXPECT_EQ(colour(r, "x"), vantrel_kind_parameter_var);
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_parameter_var);
    r = analyse("struct S { int x; }");
    EXPECT_EQ(colour(r, "x"), vantrel_kind_member_var);
    EXPECT_EQ(colour(r, "S"), vantrel_kind_struct);
    // An anonymous struct at file level puts its fields into the file's scope.
    r = analyse("struct { int a; } proc f() { a = 1; }");
    EXPECT_EQ(colour(r, "a"), vantrel_kind_global_var);
    EXPECT_EQ(colour(r, "a", 1), vantrel_kind_global_var);
}

TEST(VantrelPass, UsesBeforeDeclarationsAndBlockScopes) {
    Analysed* r = analyse("proc f() { later = 2; { int inner; inner = 1; } inner = 3; } int later;");
    EXPECT_EQ(colour(r, "later"), vantrel_kind_global_var);
    EXPECT_EQ(colour(r, "inner", 1), vantrel_kind_local_var);
    EXPECT_EQ(colour(r, "inner", 2), vantrel_kind_default);  // the block has ended
    // The block has a scope covering its braces, named after the file.
    const AnalysisResult& res = result_of(r);
    i64 open = (i64)r->text.find("{ int inner");
    bool found = false;
    for (const Scope& s : res.scopes) found |= s.start == open && sv(s.name) == "main.vnt";
    EXPECT_TRUE(found);
    // A for-loop variable is a local of the loop body only.
    r = analyse("proc f(int n) { for i .. n { i = 1; } i = 2; }");
    EXPECT_EQ(colour(r, "i"), vantrel_kind_local_var);
    EXPECT_EQ(colour(r, "i", 1), vantrel_kind_local_var);
    EXPECT_EQ(colour(r, "i", 2), vantrel_kind_default);
    EXPECT_EQ(colour(r, "n", 1), vantrel_kind_parameter_var);
}

TEST(VantrelPass, MethodsThisAndMemberPaths) {
    Analysed* r = analyse(
        "struct Vec { real x, y; proc len() real { return this.x + y; } }\n"
        "proc f(Vec v) { v.len(); v.y = 1; }");
    EXPECT_EQ(colour(r, "this"), vantrel_kind_parameter_var);
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_member_var);
    EXPECT_EQ(colour(r, "y", 1), vantrel_kind_member_var);  // members are visible in methods
    EXPECT_EQ(colour(r, "len", 1), vantrel_kind_proc);
    EXPECT_EQ(colour(r, "y", 2), vantrel_kind_member_var);
    EXPECT_EQ(colour(r, "Vec", 1), vantrel_kind_struct);

    // Each member path in the document offers the struct's members after its last ".".
    const AnalysisResult& res = result_of(r);
    i32 vec_scope = scope_named(r, "Vec");
    ASSERT_GT(vec_scope, 0);
    i64 y_at = find_word(r, "y", 2);
    bool found = false;
    for (const CursorRange& c : res.cursor_ranges)
        if (!c.is_call && c.start == y_at && c.end == y_at + 1) {
            found = true;
            EXPECT_EQ(c.target, vec_scope);
        }
    EXPECT_TRUE(found);

    // While the member is being typed the range is empty, right after the ".".
    r = analyse("struct Vec { int x; } proc f(Vec v) { v.\n}");
    i64 dot = (i64)r->text.find("v.") + 2;
    found = false;
    for (const CursorRange& c : result_of(r).cursor_ranges) found |= !c.is_call && c.start == dot && c.end == dot;
    EXPECT_TRUE(found);
}

TEST(VantrelPass, OverloadsAndCalls) {
    // Built-in types are all alike to the choice; a struct is not.
    Analysed* r = analyse("proc f(int a) int; proc f(Vec a) Vec;\nstruct Vec { int x; }\nproc g(Vec v) { f(1.5); f(v).x; }");
    EXPECT_EQ(colour(r, "f"), vantrel_kind_proc);
    EXPECT_EQ(colour(r, "f", 1), vantrel_kind_proc);
    EXPECT_EQ(colour(r, "f", 3), vantrel_kind_proc);
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_member_var);  // the second overload was chosen
    const AnalysisResult& res = result_of(r);
    ASSERT_EQ(res.signatures.count, 3);
    ASSERT_EQ(res.signatures[0].overloads.count, 2);
    EXPECT_EQ(res.signatures[0].overloads[0], 0);
    EXPECT_EQ(res.signatures[0].overloads[1], 1);
    EXPECT_EQ(sv(res.signatures[0].text), "proc f(int a) int");
    // Call ranges: the argument list, the chosen procedure as target.
    std::vector<CursorRange> calls;
    for (const CursorRange& c : res.cursor_ranges)
        if (c.is_call) calls.push_back(c);
    ASSERT_EQ(calls.size(), 2u);
    i64 first = (i64)r->text.find("f(1.5)");
    EXPECT_EQ(calls[0].start, first + 2);
    EXPECT_EQ(calls[0].end, first + 5);
    EXPECT_EQ(calls[0].target, 0);
    EXPECT_EQ(calls[1].target, 1);
}

TEST(VantrelPass, OverloadChoiceRules) {
    // Defaults fill missing and empty arguments; a method counts its object.
    Analysed* r = analyse(
        "struct Vec { int x; proc scale(real k) Vec; }\n"
        "proc h(Vec v) int; proc h(int a, int b = 5) Vec;\n"
        "proc t() { Vec v; h(1).x; h(1,).x; v.scale(2.0).x; }");
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_member_var);
    EXPECT_EQ(colour(r, "x", 2), vantrel_kind_member_var);
    EXPECT_EQ(colour(r, "x", 3), vantrel_kind_member_var);

    // A symmetric procedure also fits its arguments reversed.
    const char* ops =
        "struct Vec { int x; }\n"
        "proc * (Vec a, Vec b) real; %s proc * (real s, Vec v) Vec;\n"
        "proc t(Vec v) { (v * 2.0).x; }";
    char text[256];
    snprintf(text, sizeof text, ops, "symmetric");
    r = analyse(text);
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_member_var);
    snprintf(text, sizeof text, ops, "");
    r = analyse(text);
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_default);  // no fit: the first, returning real

    // Operator procedures of a struct operand, looked up in its member scope.
    r = analyse(
        "struct Vec { int x; proc + (Vec b) Vec; }\n"
        "proc t(Vec a, Vec b) { (a + b).x; (1 + 2).x; }");
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_member_var);
    EXPECT_EQ(colour(r, "x", 2), vantrel_kind_default);
}

TEST(VantrelPass, AliasExpansionIsBounded) {
    // k's first overload takes an alias of Vec: through 3 steps it fits a Vec argument
    // (returning int); through 12 steps it is left unexpanded and the second is chosen.
    auto text = [](int steps) {
        std::string s = "struct Vec { int x; }\nalias A0 Vec;\n";
        for (int i = 1; i <= steps; i++) s += "alias A" + std::to_string(i) + " A" + std::to_string(i - 1) + ";\n";
        s += "proc k(A" + std::to_string(steps) + " a) int; proc k(Vec v) Vec;\n";
        s += "proc t(Vec v) { k(v).x; }";
        return s;
    };
    Analysed* r = analyse(text(3));
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_default);
    r = analyse(text(12));
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_member_var);
    // A cycle neither hangs nor fits.
    r = analyse("alias A B; alias B A; struct Vec { int x; } proc k(A a) int; proc k(Vec v) Vec; proc t(Vec v) { k(v).x; }");
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_member_var);
    EXPECT_EQ(colour(r, "A", 1), vantrel_kind_alias);
}

TEST(VantrelPass, EnumsAliasesHandlesTemplatesAndUsing) {
    Analysed* r = analyse(
        "enum Color { red, green = red }\nalias Real real;\nhandle Window;\n"
        "struct Box(T) { T item; }\nproc max(T)(T a, b) T { Color c = green; Window w; Real q; return a; }\n"
        "struct Vec { int x; } Vec origin; using origin;\nproc u(Vec using v) { x; }\nproc w() { x; }");
    EXPECT_EQ(colour(r, "Color"), vantrel_kind_enum);
    EXPECT_EQ(colour(r, "red"), vantrel_kind_global_var);
    EXPECT_EQ(colour(r, "red", 1), vantrel_kind_global_var);
    EXPECT_EQ(colour(r, "green", 1), vantrel_kind_global_var);
    EXPECT_EQ(colour(r, "Color", 1), vantrel_kind_enum);
    EXPECT_EQ(colour(r, "Real"), vantrel_kind_alias);
    EXPECT_EQ(colour(r, "Real", 1), vantrel_kind_alias);
    EXPECT_EQ(colour(r, "Window", 1), vantrel_kind_handle);
    EXPECT_EQ(colour(r, "T", 1), vantrel_kind_template_type);  // "T item"
    EXPECT_EQ(colour(r, "T", 3), vantrel_kind_template_type);  // "T a" of max
    EXPECT_EQ(colour(r, "T", 4), vantrel_kind_template_type);  // the return type
    EXPECT_EQ(colour(r, "x", 1), vantrel_kind_member_var);     // through "using v"
    EXPECT_EQ(colour(r, "x", 2), vantrel_kind_member_var);     // through "using origin"
}

TEST(VantrelPass, OutlineRows) {
    std::string text =
        "struct Vec {\n  int x;\n  proc len() int;\n  struct Inner { int y; }\n}\n"
        "enum E { a }\nalias A int;\nhandle H;\nint g;\nproc main() { int local; }\nstruct Other { }\n";
    Analysed* r = analyse(text);
    const Array<OutlineRow>& rows = result_of(r).outline;
    std::vector<std::string> names;
    for (const OutlineRow& row : rows) names.push_back(row_name(row) + (row.is_group_end ? "/end" : ""));
    std::vector<std::string> expected = {"Vec", "len", "Inner", "Inner/end", "Vec/end", "E", "A", "H", "g", "main",
                                         "Other", "Other/end"};
    EXPECT_EQ(names, expected);
    ASSERT_EQ(rows.count, (i64)expected.size());
    EXPECT_TRUE(rows[0].is_group_start);
    EXPECT_EQ(rows[0].line, 0);
    EXPECT_EQ(rows[1].line, 2);
    EXPECT_EQ(rows[9].symbol_kind, symbol_procedure);
    EXPECT_EQ(rows[9].token_kind, vantrel_kind_proc);
}

TEST(VantrelPass, SignaturesCarryAnalysedColours) {
    Analysed* r = analyse("proc add(Vec a, int b) Vec  \n\t\n{ }\nstruct Vec { }");
    const AnalysisResult& res = result_of(r);
    ASSERT_EQ(res.signatures.count, 1);
    std::string text = sv(res.signatures[0].text);
    EXPECT_EQ(text, "proc add(Vec a, int b) Vec");
    ASSERT_EQ(res.signatures[0].colours.length, (i64)text.size());
    EXPECT_EQ((u8)res.signatures[0].colours.data[text.find("Vec")], vantrel_kind_struct);
    EXPECT_EQ((u8)res.signatures[0].colours.data[text.find("b)")], vantrel_kind_parameter_var);
    EXPECT_EQ((u8)res.signatures[0].colours.data[0], vantrel_kind_declaration_keyword);
}

// Writes the files into a fresh directory and rebuilds the cache from its sources list.
std::string build_project(const std::vector<std::pair<std::string, std::string>>& files, const std::string& sources) {
    char dir_template[] = "/tmp/vantrel_pass_XXXXXX";
    std::string dir = mkdtemp(dir_template);
    for (const auto& f : files) std::ofstream(dir + "/" + f.first) << f.second;
    std::ofstream(dir + "/sources.txt") << sources;
    std::string project = dir + "/test.project";
    string_assign(&core.project_path, StringView{project.data(), (i64)project.size()}, pool_main);
    source_cache_rebuild(SV("sources.txt"));
    return dir;
}

TEST(VantrelPass, OtherProjectFilesComeFromTheSourceCache) {
    setup_analysis();
    std::string dir = build_project({{"lib.vnt", "struct Vec { int x; proc len() int; }\nint shared_count;\n"},
                   {"main.vnt", "this text is stale: the document's own text wins"},
                   {"notes.txt", "struct Ignored { }"}},
                  "lib.vnt\nmain.vnt\nnotes.txt\n");
    Analysed* r = analyse("proc f(Vec v) { v.x; v.len(); shared_count = 1; Ignored i; }", true);
    EXPECT_EQ(colour(r, "Vec"), vantrel_kind_struct);
    EXPECT_EQ(colour(r, "x"), vantrel_kind_member_var);
    EXPECT_EQ(colour(r, "len"), vantrel_kind_proc);
    EXPECT_EQ(colour(r, "shared_count"), vantrel_kind_global_var);
    EXPECT_EQ(colour(r, "Ignored"), vantrel_kind_default);  // only .vnt files take part
    const AnalysisResult& res = result_of(r);
    i32 vec_scope = scope_named(r, "Vec");
    ASSERT_GT(vec_scope, 0);
    i64 x_at = find_word(r, "x");
    bool found = false;
    for (const CursorRange& c : res.cursor_ranges) found |= !c.is_call && c.start == x_at && c.target == vec_scope;
    EXPECT_TRUE(found);
    // Declarations of other files are known but make no minimap rows; their procedures
    // still have signatures.
    EXPECT_EQ(res.outline.count, 1);
    ASSERT_EQ(res.signatures.count, 2);
    EXPECT_EQ(sv(res.signatures[0].text), "proc f(Vec v)");  // the document's come first
    EXPECT_EQ(sv(res.signatures[1].text), "proc len() int");
    source_cache_clear();
    core.project_path.length = 0;
    std::filesystem::remove_all(dir);
}

TEST(VantrelPass, HostileInputFinishes) {
    std::string parens = "proc f() { x = " + std::string(100000, '(') + "1" + std::string(100000, ')') +
                         "; int after; after = 1; }";
    Analysed* r = analyse(parens);
    EXPECT_EQ(colour(r, "after"), vantrel_kind_local_var);
    EXPECT_EQ(colour(r, "after", 1), vantrel_kind_local_var);

    std::string blocks = "proc f() " + std::string(100000, '{') + std::string(100000, '}') + " int g; proc h() { g; }";
    r = analyse(blocks);
    EXPECT_EQ(colour(r, "g"), vantrel_kind_global_var);
    EXPECT_EQ(colour(r, "g", 1), vantrel_kind_global_var);

    // Arbitrary bytes: the pass ends and the colour buffer keeps the text's length.
    u32 seed = 12345;
    const char alphabet[] = "{}()[];,.=+-*/<>!&|^ \n\"'abcxyz019 struct proc enum for if else switch case using";
    for (int round = 0; round < 200; round++) {
        std::string text;
        int n = 1 + (int)(seed % 400);
        for (int i = 0; i < n; i++) {
            seed = seed * 1103515245u + 12345u;
            text += round % 2 ? alphabet[(seed >> 16) % (sizeof alphabet - 1)] : (char)(seed >> 16);
        }
        r = analyse(text);
        ASSERT_EQ(r->job.colours.count, (i64)text.size());
    }
}

}  // namespace
