// The C/C++ declaration and resolution passes: colours of names by what they name,
// scopes, the outline, signatures with overloads, and cursor ranges.
#include "cpp_analysis_harness.h"

using namespace cpp_test;

TEST(CppSemantic, GlobalsAndLocalsInNestedBlocks) {
    CppRun run = analyse(
        "int g;\n"
        "void f(int p) {\n"
        "  g = p;\n"
        "  { int g = 2; g++; { g--; } }\n"
        "  g = 3;\n"
        "}\n");
    EXPECT_EQ(colour_of(run, "g", 0), cpp_kind_global_var);
    EXPECT_EQ(colour_of(run, "g", 1), cpp_kind_global_var);
    EXPECT_EQ(colour_of(run, "p", 1), cpp_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "g", 2), cpp_kind_local_var);  // declared in the block
    EXPECT_EQ(colour_of(run, "g", 3), cpp_kind_local_var);
    EXPECT_EQ(colour_of(run, "g", 4), cpp_kind_local_var);  // a nested block sees it
    EXPECT_EQ(colour_of(run, "g", 5), cpp_kind_global_var); // after the block: the global again
    EXPECT_EQ(colour_of(run, "f"), cpp_kind_proc);
}

TEST(CppSemantic, BlocksOpenScopesNamedByTheFileWithTheirBraces) {
    CppRun run = analyse("void f() { int a; { int b; } }", "src/main.cpp");
    const Array<Scope>& scopes = run.job.result->scopes;
    std::vector<i64> blocks;
    for (i64 i = 0; i < scopes.count; i++)
        if (str(scopes[i].name) == "src/main.cpp") blocks.push_back(i);
    // The function's scope, named by its file too, holds the body's statements; the
    // inner block has its own below it.
    ASSERT_EQ(blocks.size(), 2u);
    i64 function_scope = scope_starting_at(run, run.text.find("{ int a"));
    ASSERT_EQ(function_scope, blocks[0]);
    EXPECT_EQ(scopes[function_scope].end, (i32)run.text.rfind("}"));
    const Scope& inner = scopes[blocks[1]];
    EXPECT_EQ(inner.start, (i32)run.text.find("{ int b"));
    EXPECT_EQ(inner.end, (i32)run.text.find("} }"));
    EXPECT_EQ(inner.parent, (u32)function_scope);
    EXPECT_TRUE(symbol_in(run, (i32)function_scope, "a"));
    EXPECT_TRUE(symbol_in(run, (i32)blocks[1], "b"));
    EXPECT_FALSE(symbol_in(run, (i32)function_scope, "b"));
    // A prototype's scope, which has no extent, keeps the function's name.
    CppRun prototype = analyse("void g(int x);", "src/main.cpp");
    EXPECT_GE(scope_named(prototype, "g"), 1);
}

TEST(CppSemantic, MembersUsedUnqualifiedInAMethodDefinedOutsideItsClass) {
    CppRun run = analyse(
        "namespace N {\n"
        "struct C { int m; static int count; void f(int m2); C(int v); };\n"
        "}\n"
        "int global;\n"
        "void N::C::f(int m2) { m = m2 + global; this->m = count; }\n"
        "N::C::C(int v) : m(v) { }\n");
    EXPECT_EQ(colour_of(run, "N", 1), cpp_kind_namespace);
    EXPECT_EQ(colour_of(run, "C", 2), cpp_kind_struct);
    EXPECT_EQ(colour_of(run, "f", 1), cpp_kind_proc);
    EXPECT_EQ(colour_of(run, "m", 1), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "m2", 2), cpp_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "global", 1), cpp_kind_global_var);
    EXPECT_EQ(colour_of(run, "m", 2), cpp_kind_member_var);  // this->m
    EXPECT_EQ(colour_of(run, "count", 1), cpp_kind_member_var);
    // The member initialiser names the member, not the parameter of the same scope.
    EXPECT_EQ(colour_of(run, "m", 3), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "v", 2), cpp_kind_parameter_var);
}

TEST(CppSemantic, InsideItsClassTheClassNameStaysATypeNextToConstructors) {
    CppRun run = analyse("struct Pair { Pair(const Pair& other); Pair make(); int first; };");
    EXPECT_EQ(colour_of(run, "Pair", 1), cpp_kind_proc);    // the constructor's own name
    EXPECT_EQ(colour_of(run, "Pair", 2), cpp_kind_struct);  // its parameter's type
    EXPECT_EQ(colour_of(run, "Pair", 3), cpp_kind_struct);  // a return type
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cube Pair", "1 cylinder Pair", "1 cylinder make",
                                                       "1 sphere first", "0 end"}));
}

TEST(CppSemantic, ScopedEnumeratorsOnlyThroughTheirEnum) {
    CppRun run = analyse(
        "enum class Colour { red, green };\n"
        "enum Plain { blue, yellow };\n"
        "void f() { Colour c = Colour::red; int x = blue; int y = red; Plain p = Plain::yellow; }\n");
    EXPECT_EQ(colour_of(run, "red", 0), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "blue", 0), cpp_kind_global_var);
    EXPECT_EQ(colour_of(run, "Colour", 1), cpp_kind_enum);
    EXPECT_EQ(colour_of(run, "red", 1), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "blue", 1), cpp_kind_global_var);
    EXPECT_EQ(colour_of(run, "red", 2), cpp_kind_default);  // not visible unqualified
    // A plain enum's enumerators live in the enclosing scope; its member scope is that one.
    EXPECT_EQ(colour_of(run, "yellow", 1), cpp_kind_global_var);
    i64 enum_scope = scope_named(run, "Colour");
    ASSERT_GE(enum_scope, 1);
    EXPECT_TRUE(symbol_in(run, (i32)enum_scope, "green"));
    EXPECT_FALSE(symbol_in(run, 0, "green"));
    EXPECT_TRUE(symbol_in(run, 0, "yellow"));
}

TEST(CppSemantic, StructFromAnotherProjectFileColoursUsesWithoutARow) {
    set_project_files({{"other.h", "struct Remote { int field; };\nint remote_count;\n"},
                       {"notes.txt", "struct Ignored { int z; };"},
                       {"main.cpp", "struct Stale { };"}});
    CppRun run = analyse("void use() { Remote r; r.field = remote_count; Ignored i; }");
    set_project_files({});
    EXPECT_EQ(colour_of(run, "Remote"), cpp_kind_struct);
    EXPECT_EQ(colour_of(run, "field"), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "remote_count"), cpp_kind_global_var);
    EXPECT_EQ(colour_of(run, "Ignored"), cpp_kind_default);  // not a C/C++ file
    EXPECT_FALSE(symbol_in(run, 0, "Stale"));                // the document's own path is skipped
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder use"}));
}

TEST(CppSemantic, UnterminatedDocumentDoesNotSwallowTheNextFile) {
    set_project_files({{"other.h", "struct Other { int y; };\nint other_global;\n"}});
    CppRun run = analyse("void f() { Other o; o.y = other_global; if (o.y) {");
    set_project_files({});
    EXPECT_EQ(colour_of(run, "Other"), cpp_kind_struct);
    EXPECT_EQ(colour_of(run, "y"), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "other_global"), cpp_kind_global_var);
    const Symbol* other = symbol_in(run, 0, "Other");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->kind, symbol_struct);  // declared at file level, not inside f
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder f"}));
}

TEST(CppSemantic, OverloadsShareOneListWithAPrototypeAndItsDefinitionOnce) {
    CppRun run = analyse(
        "int add(int, int /* count */ = 2);\n"
        "int add(int a, int b)\n{ return a + b; }\n"
        "double add(double x);\n"
        "int add(long a, int b);\n"
        "int add(int a, int b);\n"
        "int other(void);\n"
        "int other() { return 0; }\n"
        "int main() { return add(1, 2); }\n");
    const Array<Signature>& sigs = run.job.result->signatures;
    ASSERT_EQ(sigs.count, 8);
    EXPECT_EQ(str(sigs[0].text), "int add(int, int /* count */ = 2)");
    EXPECT_EQ(str(sigs[1].text), "int add(int a, int b)");  // up to the body, newline trimmed
    EXPECT_EQ(str(sigs[2].text), "double add(double x)");
    // The definition takes the unnamed prototype's place; a later prototype of it is left
    // out, while heads of other parameter types stay overloads.
    std::vector<i32> offered(sigs[0].overloads.data, sigs[0].overloads.data + sigs[0].overloads.count);
    EXPECT_EQ(offered, (std::vector<i32>{1, 2, 3}));
    ASSERT_EQ(sigs[5].overloads.count, 1);  // "(void)" is "()"
    EXPECT_EQ(sigs[5].overloads[0], 6);
    // The colours of a signature are those of its text.
    ASSERT_EQ(sigs[0].colours.length, sigs[0].text.length);
    EXPECT_EQ((u8)sigs[0].colours.data[4], cpp_kind_proc);
    EXPECT_EQ((u8)sigs[0].colours.data[0], cpp_kind_type_keyword);
    // The call offers the first declaration's list.
    bool found = false;
    for (const CursorRange& r : run.job.result->cursor_ranges) {
        if (!r.is_call) continue;
        found = true;
        EXPECT_EQ(r.target, 0);
        EXPECT_EQ(r.start, (i32)run.text.find("1, 2)"));
        EXPECT_EQ(r.end, (i32)run.text.rfind(");"));
    }
    EXPECT_TRUE(found);
}

TEST(CppSemantic, CursorRangesForMemberAccessOnlyInTheDocument) {
    set_project_files({{"lib.h", "struct P { int x; int y; };\nP origin;\nvoid lib() { origin.x = 1; }\n"}});
    CppRun run = analyse("void f(P* q) { origin.y = 2; q->x = 3; q-> ; }");
    set_project_files({});
    i64 p_scope = scope_named(run, "P");
    ASSERT_GE(p_scope, 1);
    std::vector<CursorRange> members;
    for (const CursorRange& r : run.job.result->cursor_ranges)
        if (!r.is_call) members.push_back(r);
    ASSERT_EQ(members.size(), 3u);  // none from lib.h
    i64 y = (i64)run.text.find("y = 2");
    EXPECT_EQ(members[0].start, (i32)y);
    EXPECT_EQ(members[0].end, (i32)y + 1);
    EXPECT_EQ(members[0].target, (i32)p_scope);
    EXPECT_EQ(members[1].start, (i32)run.text.find("x = 3"));
    // A member name not typed yet: the range is empty, right after the operator.
    EXPECT_EQ(members[2].start, (i32)run.text.find(" ;"));
    EXPECT_EQ(members[2].end, members[2].start);
    EXPECT_EQ(colour_of(run, "y"), cpp_kind_member_var);
}

TEST(CppSemantic, OutlineGroups) {
    CppRun run = analyse(
        "namespace ns {\n"
        "struct S { int a; void m(); };\n"
        "enum E { one };\n"
        "typedef int T;\n"
        "using U = S;\n"
        "}\n"
        "struct Fwd;\n"
        "int g;\n",
        "main.cpp");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cube ns", "1 cube S", "2 sphere a", "2 cylinder m", "1 end",
                                                       "1 octahedron E", "1 cone T", "1 cone U", "0 end",
                                                       "0 cube Fwd", "0 sphere g"}));
    const Array<OutlineRow>& rows = run.job.result->outline;
    EXPECT_EQ(rows[1].line, 1);  // 0-based line
    EXPECT_EQ(rows[4].is_group_end, 1);
    EXPECT_EQ(rows[4].name.length, 0);
    EXPECT_EQ(rows[0].token_kind, cpp_kind_namespace);
    EXPECT_EQ(rows[1].token_kind, cpp_kind_struct);
}

TEST(CppSemantic, TypedefsUsingsAndImportedNamespaces) {
    CppRun run = analyse(
        "namespace lib { struct Node { int value; }; int helper(int); }\n"
        "typedef lib::Node NodeT;\n"
        "using NodeU = NodeT;\n"
        "using namespace lib;\n"
        "void f() { NodeU n; n.value = helper(1); NodeT* p; p->value = 2; }\n");
    EXPECT_EQ(colour_of(run, "NodeT", 0), cpp_kind_typedef);
    EXPECT_EQ(colour_of(run, "NodeU", 0), cpp_kind_using);
    EXPECT_EQ(colour_of(run, "value", 1), cpp_kind_member_var);  // through using and typedef
    EXPECT_EQ(colour_of(run, "helper", 1), cpp_kind_proc);       // imported by "using namespace"
    EXPECT_EQ(colour_of(run, "value", 2), cpp_kind_member_var);
}

TEST(CppSemantic, TypedefChainsAreCutAfterNineSteps) {
    std::string text = "struct S { int m; };\ntypedef S T0;\n";
    for (int i = 1; i <= 10; i++) text += "typedef T" + std::to_string(i - 1) + " T" + std::to_string(i) + ";\n";
    text += "typedef Cyc2 Cyc1; typedef Cyc1 Cyc2;\n";
    text += "void f() { T8 short_chain; short_chain.m = 1; T10 long_chain; long_chain.m = 2; Cyc1 c; c.m = 3; }\n";
    CppRun run = analyse(text);
    EXPECT_EQ(colour_of(run, "m", 1), cpp_kind_member_var);  // T8: nine typedefs to S
    EXPECT_EQ(colour_of(run, "m", 2), cpp_kind_default);     // T10: eleven
    EXPECT_EQ(colour_of(run, "m", 3), cpp_kind_default);     // a cycle ends too
}

TEST(CppSemantic, BaseMembersTemplatesAndLocalStructs) {
    CppRun run = analyse(
        "struct Base { int inherited; };\n"
        "struct Derived : Base { int own; };\n"
        "template <typename T, int N> T pick(T value) { T copy = value; return copy; }\n"
        "void f() {\n"
        "  Derived d; d.inherited = d.own;\n"
        "  struct Local { int q; } l; l.q = 1;\n"
        "  auto g = [](int k) { return k; };\n"
        "}\n");
    EXPECT_EQ(colour_of(run, "inherited", 1), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "own", 1), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "T", 0), cpp_kind_template_expression);
    EXPECT_EQ(colour_of(run, "T", 1), cpp_kind_template_expression);  // return type
    EXPECT_EQ(colour_of(run, "T", 2), cpp_kind_template_expression);  // parameter type
    EXPECT_EQ(colour_of(run, "T", 3), cpp_kind_template_expression);  // in the body
    EXPECT_EQ(colour_of(run, "copy", 1), cpp_kind_local_var);
    EXPECT_EQ(colour_of(run, "q", 1), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "l", 1), cpp_kind_local_var);
    EXPECT_EQ(colour_of(run, "k", 1), cpp_kind_parameter_var);
}

TEST(CppSemantic, CModeTreatsCppKeywordsAsNames) {
    CppRun run = analyse(
        "struct list { struct list *next; int class; };\n"
        "static int count(struct list *l) { int new = 0; for (; l; l = l->next) new += l->class; return new; }\n",
        "main.c");
    EXPECT_EQ(colour_of(run, "class", 0), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "new", 1), cpp_kind_local_var);
    EXPECT_EQ(colour_of(run, "next", 1), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "class", 1), cpp_kind_member_var);
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cube list", "1 sphere next", "1 sphere class", "0 end",
                                                       "0 cylinder count"}));
}

TEST(CppSemantic, StructTagsInDeclarationsAndTypedefs) {
    CppRun run = analyse(
        "struct S { int alpha; };\n"
        "struct S global_s;\n"
        "typedef struct S Alias;\n"
        "typedef struct T T;\n"
        "struct T { int beta; };\n"
        "struct API Exported final { int gamma; };\n"
        "void g(void) {\n"
        "  struct S local_s;\n"
        "  struct S *pointer = &local_s;\n"
        "  T t;\n"
        "  Alias a;\n"
        "  local_s.alpha = pointer->alpha + t.beta + a.alpha + global_s.alpha;\n"
        "}\n",
        "main.c");
    // "struct S name;" declares name, of type struct S; it is no struct called name.
    EXPECT_EQ(colour_of(run, "global_s", 0), cpp_kind_global_var);
    EXPECT_EQ(colour_of(run, "local_s", 0), cpp_kind_local_var);
    EXPECT_EQ(colour_of(run, "pointer", 0), cpp_kind_local_var);
    // Members reached through each of them, the same-name typedef and the alias.
    for (int i = 1; i <= 4; i++) EXPECT_EQ(colour_of(run, "alpha", i), cpp_kind_member_var) << i;
    EXPECT_EQ(colour_of(run, "beta", 1), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "Alias", 0), cpp_kind_typedef);
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cube S", "1 sphere alpha", "0 end", "0 sphere global_s",
                                                      "0 cone Alias", "0 cube T", "0 cube T", "1 sphere beta",
                                                      "0 end", "0 cube Exported", "1 sphere gamma", "0 end",
                                                      "0 cylinder g"}));
}
