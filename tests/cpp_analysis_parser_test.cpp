// The C/C++ parser: recovery primitives, the shapes of items it builds, and inputs that
// must neither hang nor exhaust the stack.
#include "analysis/c_family/block_loops.h"
#include "cpp_analysis_harness.h"
#include "syntax/keyword_lists.h"

using namespace cpp_test;

namespace {
// A parse state over hand-made token codes (no text), ending with the end token.
ParseState tokens_of(const std::vector<u16>& codes) {
    ensure_arenas();
    pool_reset(pool_parser);
    ParseState p;
    parse_state_reset(&p);
    for (u16 c : codes) array_append(&p.tokens, Token{c, 0, 0, 0, 0, 0});
    array_append(&p.tokens, Token{token_end, 0, 0, 0, 0, 0});
    return p;
}

constexpr u16 id = token_identifier;

std::vector<u8> kinds(const CppAnalysis* a) {
    std::vector<u8> out;
    for (CppNode* n : a->top_level_items) out.push_back(n->kind);
    return out;
}

std::string text_at(const CppAnalysis* a, i64 token) { return str(cfam_text_of_token(&a->p, token)); }
}  // namespace

TEST(CppPrimitives, TokensFindTheirTextAndPathThroughTheirFile) {
    setup();
    pool_reset(pool_parser);
    ParseState p;
    parse_state_reset(&p);
    u8 colours[16] = {};
    ASSERT_TRUE(parse_state_add_file(&p, file_kind_c, SV("x.c"), SV("int a;"), colours));
    ASSERT_TRUE(parse_state_add_file(&p, file_kind_c, SV("y.c"), SV("b ccc"), colours + 8));
    // int a ; end | b ccc end
    ASSERT_EQ(p.tokens.count, 7);
    EXPECT_EQ(str(text_of(&p, p.tokens[1])), "a");
    EXPECT_EQ(str(path_of(&p, p.tokens[1])), "x.c");
    EXPECT_EQ(str(text_of(&p, p.tokens[5])), "ccc");
    EXPECT_EQ(str(path_of(&p, p.tokens[5])), "y.c");
    EXPECT_EQ(file_of_token(&p, p.tokens[5]), 1);
    EXPECT_EQ(str(path_of(&p, p.tokens[6])), "y.c") << "a file's end token belongs to it";
    EXPECT_EQ(file_of_token(&p, token_at(&p, 99)), -1) << "past the end is no file";
    EXPECT_EQ(text_of(&p, token_at(&p, 99)).length, 0);
    // A token's file index has 16 bits: the pass stops adding files before it wraps.
    while (parse_state_add_file(&p, file_kind_c, SV("z.c"), SV(""), colours)) {
    }
    EXPECT_EQ(p.files.count, max_parsed_files);
    EXPECT_EQ(file_of_token(&p, p.tokens[p.tokens.count - 1]), max_parsed_files - 1);
}

TEST(CppPrimitives, SkipStatementStopsAfterSemicolonAndOverBalancedBraces) {
    ParseState p = tokens_of({id, '{', ';', '}', id, ';', id});
    p.in_block = 1;
    cfam_skip_statement(&p);
    // The braced group closes at depth 0 first: resume after its "}".
    EXPECT_EQ(p.pos, 4);
    EXPECT_EQ(p.resume_pos, 4);
    EXPECT_EQ(p.recovering, 1);
    EXPECT_EQ(p.block_abort, 0);
    p.recovering = 0;
    p.in_block = 0;
    cfam_skip_statement(&p);
    EXPECT_EQ(p.pos, 6);  // after the ";"
    EXPECT_EQ(p.block_abort, 1);
}

TEST(CppPrimitives, SkipStatementLeadingCloseBraceAndEndOfFile) {
    // A leading "}" is consumed (depth -1); the ";" at depth 0 only comes after a "{".
    ParseState p = tokens_of({'}', ';', '{', ';', id});
    cfam_skip_statement(&p);
    EXPECT_EQ(p.pos, 4);  // the ";" inside "{" is at depth 0 again
    // Without a resume point recovery ends and the position moves one token on.
    ParseState q = tokens_of({id, '{', id, id});
    q.pos = 1;
    cfam_skip_statement(&q);
    EXPECT_EQ(q.recovering, 0);
    EXPECT_EQ(q.pos, 2);
    // A "}" at depth 0 that is not the first token stops the scan before it.
    ParseState r = tokens_of({id, id, '}', id});
    cfam_skip_statement(&r);
    EXPECT_EQ(r.pos, 2);
    EXPECT_EQ(r.recovering, 1);
}

TEST(CppPrimitives, JumpTablesGiveTheSameResultsAsStepping) {
    std::vector<std::vector<u16>> streams = {
        {id, '{', '{', ';', '}', id, '}', ';', id},
        {'}', '}', '{', ';', id, ';'},
        {id, '{', id, ';', id},
        {'{', '}', '{', '{', '}', ';'},
    };
    for (const auto& codes : streams) {
        for (i64 start = 0; start < (i64)codes.size(); start++) {
            ParseState plain = tokens_of(codes);
            plain.pos = start;
            cfam_skip_statement(&plain);
            ParseState fast = tokens_of(codes);
            cfam_prepare_recovery_tables(&fast);
            fast.pos = start;
            cfam_skip_statement(&fast);
            EXPECT_EQ(plain.pos, fast.pos) << "start " << start;
            EXPECT_EQ(plain.recovering, fast.recovering) << "start " << start;
            EXPECT_EQ(plain.resume_pos, fast.resume_pos) << "start " << start;
        }
    }
}

TEST(CppPrimitives, ExpectTokenRecoversWithinItsLookAhead) {
    ParseState p = tokens_of({id, id, ')', id});
    EXPECT_TRUE(cfam_expect_token(&p, ')'));
    EXPECT_EQ(p.pos, 3);
    EXPECT_EQ(p.error_count, 1);
    // A ";" at depth 0 comes first: stop there and resume after it.
    ParseState q = tokens_of({id, ';', ')', id});
    EXPECT_FALSE(cfam_expect_token(&q, ')'));
    EXPECT_EQ(q.pos, 1);
    EXPECT_EQ(q.resume_pos, 2);
    EXPECT_EQ(q.recovering, 1);
    // While recovering only the count grows.
    i64 pos = q.pos;
    EXPECT_FALSE(cfam_expect_token(&q, ']'));
    EXPECT_EQ(q.pos, pos);
    EXPECT_EQ(q.error_count, 2);
}

TEST(CppPrimitives, ExpectTokenBeyondTheLookAheadSkipsTheStatement) {
    std::vector<u16> codes(200, id);
    codes.push_back(')');
    ParseState p = tokens_of({});
    p.tokens.count = 0;
    for (u16 c : codes) array_append(&p.tokens, Token{c, 0, 0, 0, 0, 0});
    array_append(&p.tokens, Token{token_end, 0, 0, 0, 0, 0});
    EXPECT_FALSE(cfam_expect_token(&p, ')'));
    // No resume point before the end token: one token on, recovery off.
    EXPECT_EQ(p.pos, 1);
    EXPECT_EQ(p.recovering, 0);
}

TEST(CppPrimitives, EnclosingCloseBraceStopsRecovery) {
    ParseState p = tokens_of({id, '{', '}', '}', ')'});
    cfam_recover_to_token(&p, ')');
    EXPECT_EQ(p.pos, 3);
    EXPECT_EQ(p.resume_pos, 3);
    EXPECT_EQ(p.recovering, 1);
}

TEST(CppPrimitives, RecoveryNeverLeavesItsFile) {
    // A "}" where a ";" is missing belongs to the enclosing list: only counted.
    ParseState p = tokens_of({'}', id, ';'});
    EXPECT_FALSE(cfam_expect_token(&p, ';'));
    EXPECT_EQ(p.pos, 0);
    EXPECT_EQ(p.recovering, 0);
    EXPECT_EQ(p.error_count, 1);
    // A skip that starts at a file's end token stays on it.
    ParseState q = tokens_of({id, token_end, id, ';'});
    q.pos = 1;
    cfam_skip_statement(&q);
    EXPECT_EQ(q.pos, 1);
    EXPECT_EQ(q.recovering, 0);
}

TEST(CppPrimitives, TooManyErrorsForceProgress) {
    ParseState p = tokens_of({id, id, id});
    p.error_count = forced_advance_errors;
    p.recovering = 1;
    cfam_record_error(&p);
    EXPECT_EQ(p.pos, 1);
    EXPECT_EQ(p.error_count, 0);
}

TEST(CppPrimitives, BlockFailsAtTheEndOfItsFile) {
    ParseState p = tokens_of({'{', id, ';', token_end, id, ';'});
    BlockParse block;
    cfam_parse_block(
        &p, [](ParseState* q, void*) -> void* { return q->pos < q->tokens.count && q->tokens[q->pos].code == id ? (q->pos += 2, q) : nullptr; },
        nullptr, &block);
    EXPECT_EQ(block.failed, 1);
    EXPECT_EQ(block.statements.count, 1);
    EXPECT_EQ(p.recovering, 1);
    EXPECT_EQ(p.block_abort, 1);
    EXPECT_EQ(p.resume_pos, 4);  // the next file
}

TEST(CppParser, NestedTemplateArgumentsClosedByOneShiftToken) {
    CppAnalysis* a = parse_only("std::vector<std::vector<int>> grid; map<a, b<c<d>>> deep; int after;");
    EXPECT_EQ(a->p.error_count, 0);
    ASSERT_EQ(kinds(a), (std::vector<u8>{cpp_node_variable, cpp_node_variable, cpp_node_variable}));
    EXPECT_EQ(text_at(a, a->top_level_items[0]->variable->name), "grid");
    EXPECT_EQ(text_at(a, a->top_level_items[1]->variable->name), "deep");
    EXPECT_EQ(text_at(a, a->top_level_items[2]->variable->name), "after");
}

TEST(CppParser, ComparisonsAreNotTemplateArguments) {
    CppAnalysis* a = parse_only("void f() { if (a < b && c > d) x = 1; for (i = 0; i < n; i++) y(a < b, c); }");
    EXPECT_EQ(a->p.error_count, 0);
    // In C there are no templates at all.
    CppAnalysis* c = parse_only("int f(void) { return a < b > c; }", true);
    EXPECT_EQ(c->p.error_count, 0);
}

TEST(CppParser, StrayTokensBetweenItemsAreSkippedSilently) {
    CppAnalysis* a = parse_only("int a; ) , ) int b; ... 42 int c;");
    EXPECT_EQ(a->p.error_count, 0);
    EXPECT_EQ(kinds(a), (std::vector<u8>{cpp_node_variable, cpp_node_variable, cpp_node_variable}));
}

TEST(CppParser, UnmatchedCloseBraceAtTopLevelIsSkipped) {
    CppAnalysis* a = parse_only("} int a; } } int b;");
    ASSERT_EQ(kinds(a), (std::vector<u8>{cpp_node_variable, cpp_node_variable}));
    EXPECT_EQ(text_at(a, a->top_level_items[1]->variable->name), "b");
}

TEST(CppParser, ForwardDeclarationHasNoMemberList) {
    CppAnalysis* a = parse_only("struct S; class C : public B { int m; };");
    ASSERT_EQ(kinds(a), (std::vector<u8>{cpp_node_struct, cpp_node_struct}));
    EXPECT_EQ(a->top_level_items[0]->structure->has_body, 0);
    EXPECT_EQ(a->top_level_items[1]->structure->has_body, 1);
    EXPECT_EQ(a->top_level_items[1]->structure->bases.count, 1);
    EXPECT_EQ(a->top_level_items[1]->structure->members.count, 1);
}

TEST(CppParser, TypedefOfUnnamedStructTakesTheNameAfterTheBrace) {
    CppAnalysis* a = parse_only("typedef struct { int x; } Point; typedef enum { red, green } Colour;", true);
    ASSERT_EQ(kinds(a), (std::vector<u8>{cpp_node_struct, cpp_node_enum}));
    EXPECT_EQ(text_at(a, a->top_level_items[0]->structure->name), "Point");
    EXPECT_EQ(a->top_level_items[0]->structure->is_typedef, 1);
    EXPECT_EQ(text_at(a, a->top_level_items[1]->enumeration->name), "Colour");
    EXPECT_EQ(a->top_level_items[1]->enumeration->items.count, 2);
}

TEST(CppParser, OperatorNames) {
    CppAnalysis* a = parse_only(
        "struct V {\n"
        "  V operator+(V o);\n"
        "  int& operator[](int i);\n"
        "  void operator()();\n"
        "  V& operator<<=(int n);\n"
        "  explicit operator bool() const;\n"
        "  bool operator==(V o);\n"
        "  bool operator&&(V o);\n"
        "  auto operator<=>(const V&) const = default;\n"
        "  V* operator->*(int m);\n"
        "  void* operator new[](size_t n);\n"
        "  void operator delete(void* p);\n"
        "  int after();\n"
        "};\n"
        "long operator\"\" _km(unsigned long long v);");
    ASSERT_EQ(a->top_level_items.count, 2);
    std::vector<std::string> names;
    for (CppNode* m : a->top_level_items[0]->structure->members)
        if (m->kind == cpp_node_function) names.push_back(str(m->function->name_text));
    EXPECT_EQ(names, (std::vector<std::string>{"operator+", "operator[]", "operator()", "operator<<=",
                                               "<implicit conversion>", "operator==", "operator&&", "operator<=>",
                                               "operator->*", "operator new[]", "operator delete", "after"}));
    ASSERT_EQ(a->top_level_items[1]->kind, cpp_node_function);
    EXPECT_EQ(str(a->top_level_items[1]->function->name_text), "operator\"\"_km");
}

TEST(CppParser, QualifiedNamesDestructorsAndMemberInitialisers) {
    CppAnalysis* a = parse_only("N::C::C(int v) : base(v), m{2} { }\nN::C::~C() { }\nvoid N::C::f() const override;");
    ASSERT_EQ(kinds(a), (std::vector<u8>{cpp_node_function, cpp_node_function, cpp_node_function}));
    CppFunction* ctor = a->top_level_items[0]->function;
    EXPECT_EQ(str(ctor->name_text), "C");
    ASSERT_EQ(ctor->qualifiers.count, 2);
    EXPECT_EQ(text_at(a, ctor->qualifiers[0]), "N");
    EXPECT_EQ(ctor->initializers.count, 2);
    EXPECT_TRUE(ctor->body != nullptr);
    EXPECT_EQ(str(a->top_level_items[1]->function->name_text), "~C");
    EXPECT_EQ(a->top_level_items[1]->function->destructor, 1);
    EXPECT_TRUE(a->top_level_items[2]->function->body == nullptr);
}

TEST(CppParser, EnumClassNamespacesUsingAndAccessLabels) {
    CppAnalysis* a = parse_only(
        "enum class E : unsigned { a = 1, b };\n"
        "namespace outer::inner { int v; }\n"
        "using Alias = std::vector<int>;\n"
        "struct S { public: int x; private: int y; };\n"
        "typedef unsigned long size, *size_ptr;\n"
        "typedef void (*handler)(int);");
    ASSERT_EQ(kinds(a), (std::vector<u8>{cpp_node_enum, cpp_node_namespace, cpp_node_using, cpp_node_struct,
                                         cpp_node_typedef, cpp_node_typedef}));
    EXPECT_EQ(a->top_level_items[0]->enumeration->scoped, 1);
    EXPECT_TRUE(a->top_level_items[0]->enumeration->underlying != nullptr);
    CppNamespace* outer = a->top_level_items[1]->space;
    EXPECT_EQ(text_at(a, outer->name), "outer");
    ASSERT_EQ(outer->members.count, 1);
    EXPECT_EQ(text_at(a, outer->members[0]->space->name), "inner");
    EXPECT_EQ(outer->members[0]->space->members.count, 1);
    std::vector<u8> member_kinds;
    for (CppNode* m : a->top_level_items[3]->structure->members) member_kinds.push_back(m->kind);
    EXPECT_EQ(member_kinds, (std::vector<u8>{cpp_node_access, cpp_node_variable, cpp_node_access, cpp_node_variable}));
    CppDeclaration* size = a->top_level_items[4]->alias->decl;
    EXPECT_EQ(text_at(a, size->name), "size");
    ASSERT_TRUE(size->next != nullptr);
    EXPECT_EQ(text_at(a, size->next->name), "size_ptr");
    EXPECT_EQ(text_at(a, a->top_level_items[5]->alias->decl->name), "handler");
}

TEST(CppParser, StatementForms) {
    CppAnalysis* a = parse_only(
        "void f() {\n"
        "  do { x++; } while (x < 10);\n"
        "  for (int i = 0; i < n; ++i) {}\n"
        "  for (auto& e : list) use(e);\n"
        "  if (a) b(); else if (c) d(); else if (e) g(); else h();\n"
        "  switch (k) { case 1: break; default: return; }\n"
        "  try { t(); } catch (const E& e) { } catch (...) { }\n"
        "  while (p) p = p->next;\n"
        "  delete[] buf; throw; co_return 1; label: goto label;\n"
        "  struct Local { int q; } l;\n"
        "  T* ptr = static_cast<T*>(raw);\n"
        "}");
    EXPECT_EQ(a->p.error_count, 0);
    ASSERT_EQ(a->top_level_items.count, 1);
    CppBlock* body = a->top_level_items[0]->function->body;
    ASSERT_TRUE(body != nullptr);
    std::vector<u8> forms;
    for (CppStmt* s : body->statements) forms.push_back(s->kind);
    EXPECT_EQ(forms, (std::vector<u8>{cstmt_do, cstmt_for, cstmt_for_range, cstmt_if, cstmt_switch, cstmt_try,
                                      cstmt_while, cstmt_delete, cstmt_return, cstmt_return, cstmt_jump, cstmt_jump,
                                      cstmt_item, cstmt_declaration}));
    CppStmt* chain = body->statements[3];
    EXPECT_EQ(chain->conditions.count, 3);
    EXPECT_TRUE(chain->else_body != nullptr);
    EXPECT_EQ(body->statements[5]->catches.count, 2);
}

TEST(CppParser, UnterminatedBlockEndsAtItsFileAndTheNextFileParses) {
    setup();
    pool_reset(pool_parser);
    CppAnalysis* a = cfam_new<CppAnalysis>();
    parse_state_reset(&a->p);
    std::string first = "void f() { int x = 1; if (x) {";
    std::string second = "struct Other { int y; }; int g;";
    u8* c1 = (u8*)pool_alloc(pool_parser, (i64)first.size());
    u8* c2 = (u8*)pool_alloc(pool_parser, (i64)second.size());
    parse_state_add_file(&a->p, file_kind_cpp, SV("a.cpp"), StringView{first.data(), (i64)first.size()}, c1);
    parse_state_add_file(&a->p, file_kind_cpp, SV("b.h"), StringView{second.data(), (i64)second.size()}, c2);
    cpp_parse_tokens(a);
    ASSERT_EQ(kinds(a), (std::vector<u8>{cpp_node_function, cpp_node_struct, cpp_node_variable}));
    EXPECT_EQ(str(a->top_level_items[1]->structure->name >= 0
                      ? cfam_text_of_token(&a->p, a->top_level_items[1]->structure->name)
                      : StringView{}),
              "Other");
    // The same inside a class body: the unterminated member function takes only its file.
    std::string third = "struct A { void m() { ";
    pool_reset(pool_parser);
    a = cfam_new<CppAnalysis>();
    parse_state_reset(&a->p);
    c1 = (u8*)pool_alloc(pool_parser, (i64)third.size());
    c2 = (u8*)pool_alloc(pool_parser, (i64)second.size());
    parse_state_add_file(&a->p, file_kind_cpp, SV("a.cpp"), StringView{third.data(), (i64)third.size()}, c1);
    parse_state_add_file(&a->p, file_kind_cpp, SV("b.h"), StringView{second.data(), (i64)second.size()}, c2);
    cpp_parse_tokens(a);
    ASSERT_EQ(kinds(a), (std::vector<u8>{cpp_node_struct, cpp_node_struct, cpp_node_variable}));
    EXPECT_EQ(a->top_level_items[0]->structure->members.count, 1);
}

TEST(CppParser, DisabledCodeAndMacroBodiesAreLeftOut) {
    CppRun run = analyse(
        "#if 0\n"
        "void broken( {\n"
        "#else\n"
        "int kept;\n"
        "#endif\n"
        "#define LONG(x) \\\n"
        "   x = x + 1, {\n"
        "int after;\n");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 sphere kept", "0 sphere after"}));
    // The left-out bytes keep the lexer's colours.
    EXPECT_EQ(colour_of(run, "broken"), cpp_kind_default);
    EXPECT_EQ(colour_of(run, "kept"), cpp_kind_global_var);
    // Nested conditionals inside a dead group, "#elif" after it, and a dead group left
    // open at the end of the file; "#if 0" inside a comment does nothing.
    CppRun nested = analyse(
        "int one;\n"
        "#if (0)\n#ifdef X\nint dead1;\n#endif\nint dead2 = {;\n#elif defined(Y)\nint two;\n#endif\n"
        "/*\n#if 0\n*/\nint three;\n"
        "#define A(x) \\\n  x \\\n  }\nint four;\n"
        "#if 0\nint dead3 {\n");
    EXPECT_EQ(outline(nested), (std::vector<std::string>{"0 sphere one", "0 sphere two", "0 sphere three",
                                                          "0 sphere four"}));
}

TEST(CppParser, HeaderDecorationsAroundDeclarations) {
    CppAnalysis* a = parse_only(
        "__BEGIN_DECLS\n"
        "extern char *strcpy (char *__restrict __dest, const char *__restrict __src)\n"
        "     __THROW __nonnull ((1, 2));\n"
        "static __forceinline uint32 crc(uint32 c) { return c; }\n"
        "int (*lookup(int key))(const void *, const void *);\n"
        "_GLIBCXX_NODISCARD _GLIBCXX20_CONSTEXPR const T* data() const _GLIBCXX_NOEXCEPT { return p; }\n"
        "extern \"C\" { int from_c(void); }\n"
        "PyAPI_FUNC(PyObject *) py_call(const char *, ...)\n"
        "    Py_GCC_ATTRIBUTE((format(printf, 1, 2)));\n"
        "STB_EXTERN __declspec(dllimport) long __stdcall RegCloseKey(HKEY key);\n");
    std::vector<std::string> names;
    for (CppNode* n : a->top_level_items) {
        if (n->kind == cpp_node_function) names.push_back(str(n->function->name_text));
        if (n->kind == cpp_node_namespace)
            for (CppNode* m : n->space->members) names.push_back(str(m->function->name_text));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"strcpy", "crc", "lookup", "data", "from_c", "py_call", "RegCloseKey"}));
    CppFunction* strcpy_fn = a->top_level_items[0]->function;
    ASSERT_EQ(strcpy_fn->params.count, 2);
    EXPECT_EQ(text_at(a, strcpy_fn->params[1].decl->name), "__src");
}

namespace {
std::string repeat(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * (size_t)n);
    for (int i = 0; i < n; i++) out += s;
    return out;
}
}  // namespace

// These run on the test thread (8 MB of stack): nesting is cut off at max_nesting_depth.
TEST(CppParserDeepNesting, HundredThousandLevelsFinishAndLaterItemsStillParse) {
    const int n = 100000;
    std::vector<std::string> inputs = {
        "int x = " + repeat("(", n) + "1" + repeat(")", n) + "; int after;",
        "void f() " + repeat("{", n) + repeat("}", n) + " int after;",
        "A" + repeat("<A", n) + repeat(">", n) + " x; int after;",
        "int x = " + repeat("-", n) + "1; int after;",
        "void f() { a" + repeat(" = a", n) + "; } int after;",
        "void f() { " + repeat("if (a) ", n) + "b; } int after;",
        "int x = a" + repeat(" ? b : a", n) + "; int after;",
        repeat("struct A {", n) + repeat("}", n) + "; int after;",
        repeat("namespace a {", n) + repeat("}", n) + " int after;",
        "int " + repeat("(*", n) + "x" + repeat(")", n) + "; int after;",
        "int x = " + repeat("(T)", n) + "y; int after;",
        "template <" + repeat("template <", n) + repeat("class T>", n) + " class X; int after;",
        "auto x = " + repeat("[](){ return ", n) + "1;" + repeat("}()", n) + "; int after;",
    };
    for (size_t i = 0; i < inputs.size(); i++) {
        CppRun run = analyse(inputs[i]);
        // Every input ends with a declaration the recovery must reach.
        EXPECT_EQ(colour_of(run, "after"), cpp_kind_global_var) << "input " << i;
    }
}

TEST(CppParserDeepNesting, UnclosedOpenersAndLongFlatChainsFinish) {
    const int n = 100000;
    std::vector<std::string> inputs = {
        repeat("(", n) + repeat("{", n) + repeat("<", n) + repeat("[", n),
        "int x = a" + repeat(".b", n) + repeat(" + c", n) + "; void f() { g" + repeat("()", n) + "; }",
        "void f() { if (a) b; " + repeat("else if (a) b; ", n) + "}",
        repeat("[[", n),
        repeat("a{", n),
        repeat("x<", n) + repeat("y>", n),
    };
    for (size_t i = 0; i < inputs.size(); i++) {
        CppRun run = analyse(inputs[i]);
        EXPECT_EQ(run.job.colours.count, (i64)inputs[i].size()) << "input " << i;
        EXPECT_GE(run.job.result->scopes.count, 1) << "input " << i;
    }
}

// C++17 and C++20 forms: each must declare what it declares and leave what follows it
// intact (the function after each sample keeps its parameter's colour).
TEST(CppModern, InitStatementsOfIfAndSwitchDeclareLocals) {
    CppRun run = analyse(
        "int f(Map m) {\n"
        "  if (auto it = m.find(1); it != m.end()) return it->second;\n"
        "  switch (int v = m.size(); v) { case 0: return v; default: break; }\n"
        "  if (m.clear(); m.empty()) return 0;\n"
        "  return 1;\n"
        "}\n"
        "int after(int z) { return z; }\n");
    for (int i = 0; i < 3; i++) EXPECT_EQ(colour_of(run, "it", i), cpp_kind_local_var) << i;
    for (int i = 0; i < 3; i++) EXPECT_EQ(colour_of(run, "v", i), cpp_kind_local_var) << i;
    for (int i = 1; i < 6; i++) EXPECT_EQ(colour_of(run, "m", i), cpp_kind_parameter_var) << i;
    EXPECT_EQ(colour_of(run, "z", 1), cpp_kind_parameter_var);
}

TEST(CppModern, StructuredBindingsDeclareEachName) {
    CppRun run = analyse(
        "int f(Map m) {\n"
        "  auto [first, second] = m.pair();\n"
        "  const auto& [a, b]{m};\n"
        "  for (auto& [key, val] : m) use(key, val);\n"
        "  if (auto [x, ok] = m.try_it(); ok) return x;\n"
        "  return first + b + key;\n"
        "}\n"
        "int after(int z) { return z; }\n");
    for (const char* name : {"first", "second", "a", "b", "key", "val", "x", "ok"})
        EXPECT_EQ(colour_of(run, name), cpp_kind_local_var) << name;
    EXPECT_EQ(colour_of(run, "first", 1), cpp_kind_local_var);
    EXPECT_EQ(colour_of(run, "b", 1), cpp_kind_local_var);
    for (int i = 1; i < 5; i++) EXPECT_EQ(colour_of(run, "m", i), cpp_kind_parameter_var) << i;
    EXPECT_EQ(colour_of(run, "z", 1), cpp_kind_parameter_var);
    // An array declarator is no binding: "int v[2]" still declares v.
    CppRun array = analyse("void g() { int v[2] = {1, 2}; v[0] = 3; }");
    EXPECT_EQ(colour_of(array, "v", 1), cpp_kind_local_var);
}

// Designators name members of the list's type (nested lists, arrays of structs) and
// declare nothing.
TEST(CppModern, DesignatedInitialisersNameMembers) {
    CppRun run = analyse(
        "struct P { int x; int y; };\n"
        "struct Line { P from, to; };\n"
        "P make() {\n"
        "  P p = {.x = 1, .y = 2};\n"
        "  P q{.x = 3};\n"
        "  Line l = {.from = {.x = 0}, .to = q};\n"
        "  P many[2] = {{.y = 4}, {.x = 5}};\n"
        "  return p.x + q.y;\n"
        "}\n"
        "int after(int z) { return z; }\n");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cube P", "1 sphere x", "1 sphere y", "0 end", "0 cube Line",
                                                      "1 sphere from", "1 sphere to", "0 end", "0 cylinder make",
                                                      "0 cylinder after"}));
    for (int i = 1; i < 6; i++) EXPECT_EQ(colour_of(run, "x", i), cpp_kind_member_var) << i;
    for (int i = 1; i < 4; i++) EXPECT_EQ(colour_of(run, "y", i), cpp_kind_member_var) << i;
    EXPECT_EQ(colour_of(run, "from", 1), cpp_kind_member_var);
    EXPECT_EQ(colour_of(run, "q", 1), cpp_kind_local_var);  // ".to = q": the value is resolved
    EXPECT_EQ(colour_of(run, "z", 1), cpp_kind_parameter_var);
    CppRun c = analyse("struct ops { int (*read)(void); };\nint rd(void);\n"
                       "static const struct ops o = { .read = rd };\n", "ops.c");
    EXPECT_EQ(colour_of(c, "read", 1), cpp_kind_member_var);
    EXPECT_EQ(colour_of(c, "rd", 1), cpp_kind_proc);
}

TEST(CppModern, OperatorOverloadsAreOutlineRows) {
    CppRun run = analyse(
        "struct V {\n"
        "  bool operator==(const V& o) const;\n"
        "  auto operator<=>(const V&) const = default;\n"
        "  friend bool operator<(const V& a, const V& b) { return a.n < b.n; }\n"
        "  int n;\n"
        "};\n"
        "bool V::operator==(const V& o) const { return n == o.n; }\n"
        "V operator+(V l, V r);\n");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cube V", "1 cylinder operator==", "1 cylinder operator<=>",
                                                      "1 cylinder operator<", "1 sphere n", "0 end",
                                                      "0 cylinder operator==", "0 cylinder operator+"}));
    EXPECT_EQ(colour_of(run, "n", 3), cpp_kind_member_var);  // n in V::operator==
}

TEST(CppModern, ConceptsAndRequiresClauses) {
    CppRun run = analyse(
        "template<typename T> concept Small = sizeof(T) < 8;\n"
        "template<class T> concept Addable = requires(T a, T b) { a + b; { a - b } -> Small; };\n"
        "template<typename T> requires Small<T> && (sizeof(T) > 1) T twice(T v) { return v + v; }\n"
        "template<typename T> T thrice(T v) requires Addable<T> { return v + v + v; }\n"
        "struct S {\n"
        "  template<class U> requires Small<U> void put(U u);\n"
        "  template<class U>\n"
        "    requires (Small<U>)\n"
        "    constexpr explicit(!Small<U>) S(U u)\n"
        "    noexcept(true)\n"
        "    : w(u), k(u) { }\n"
        "  int w, k;\n"
        "};\n"
        "int after(int z) { return z; }\n");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cone Small", "0 cone Addable", "0 cylinder twice",
                                                      "0 cylinder thrice", "0 cube S", "1 cylinder put", "1 cylinder S",
                                                      "1 sphere w", "1 sphere k", "0 end", "0 cylinder after"}));
    EXPECT_EQ(colour_of(run, "v", 2), cpp_kind_parameter_var);  // in twice's body
    EXPECT_EQ(colour_of(run, "v", 5), cpp_kind_parameter_var);  // in thrice's body
    EXPECT_EQ(colour_of(run, "z", 1), cpp_kind_parameter_var);
}

TEST(CppModern, LambdaParametersAreParameters) {
    CppRun run = analyse(
        "int f(int base) {\n"
        "  auto add = [base](int lp, int lq) { return lp + lq + base; };\n"
        "  [&](int once) { base += once; }(1);\n"
        "  return add(base, 2);\n"
        "}\n"
        "int lp;\n");
    EXPECT_EQ(colour_of(run, "lp", 1), cpp_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "lq", 1), cpp_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "once", 1), cpp_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "add", 1), cpp_kind_local_var);
    EXPECT_EQ(colour_of(run, "lp", 2), cpp_kind_global_var);  // the lambda's name ends with it
}

TEST(CppModern, AttributesOnItemsAndStatements) {
    CppRun run = analyse(
        "[[nodiscard]] int pure(int q);\n"
        "struct [[gnu::packed]] Packed { int z; };\n"
        "[[nodiscard, gnu::cold]] static int cold_path(int r) {\n"
        "  [[maybe_unused]] int w = r;\n"
        "  [[likely]] if (w) return w;\n"
        "  switch (r) { case 1: [[fallthrough]]; default: break; }\n"
        "  return pure(r);\n"
        "}\n");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder pure", "0 cube Packed", "1 sphere z", "0 end",
                                                      "0 cylinder cold_path"}));
    for (int i = 0; i < 3; i++) EXPECT_EQ(colour_of(run, "w", i), cpp_kind_local_var) << i;
    for (int i = 1; i < 4; i++) EXPECT_EQ(colour_of(run, "r", i), cpp_kind_parameter_var) << i;
}

TEST(CppModern, ConditionsInTemplateArgumentsAndValueTemplateParameters) {
    // "&&" inside template arguments read as a comparison lost every later item.
    CppRun run = analyse(
        "template <class T>\ntypename std::enable_if<is_small<T>::value && (sizeof(T) <= 8)>::type\nkeep(T& v) {}\n"
        "class C {\n  template <typename T, typename std::enable_if<!is_int<T>::value>::type* = nullptr>\n"
        "  static bool compare(const T& lhs) { return true; }\n  inline int (index) (void) const { return 0; }\n};\n"
        "bool f(int a, int b, int c, int d) { return a < b && c > d; }\nint after;\n");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder keep", "0 cube C", "1 cylinder compare",
                                                      "1 cylinder index", "0 end", "0 cylinder f", "0 sphere after"}));
    EXPECT_EQ(colour_of(run, "lhs"), cpp_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "d"), cpp_kind_parameter_var);
}
