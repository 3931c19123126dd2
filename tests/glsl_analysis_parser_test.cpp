// The GLSL parser: the node shapes the semantic pass walks, the shared operator levels,
// structs that take nothing after "}", prototypes, declarations with layout lists and
// storage words, statements, and recovery.
#include "glsl_analysis_harness.h"
#include "syntax/syntax_state.h"

using namespace glsl_test;

namespace {
GlslDeclaration* only_variable(GlslAnalysis* a) {
    if (a->top_level_items.count != 1 || a->top_level_items[0]->kind != glsl_node_variable) return nullptr;
    return a->top_level_items[0]->variable;
}

std::vector<std::string> operand_names(const GlslAnalysis* a, const GlslExpr* e) {
    std::vector<std::string> names;
    for (const GlslExpr* operand : e->list) names.push_back(token_text_of(a, operand->token));
    return names;
}

std::vector<std::string> operator_texts(const GlslAnalysis* a, const GlslExpr* e) {
    std::vector<std::string> ops;
    for (i64 op : e->ops) ops.push_back(token_text_of(a, op));
    return ops;
}
}  // namespace

TEST(GlslParserExpressions, LogicalOperatorsFormOneChainInSourceOrder) {
    GlslAnalysis* a = parse_only("bool b = p && q || r ^^ s && t;");
    GlslDeclaration* d = only_variable(a);
    ASSERT_TRUE(d);
    ASSERT_TRUE(d->init);
    ASSERT_EQ(d->init->kind, gexpr_binary);
    EXPECT_EQ(operand_names(a, d->init), (std::vector<std::string>{"p", "q", "r", "s", "t"}));
    EXPECT_EQ(operator_texts(a, d->init), (std::vector<std::string>{"&&", "||", "^^", "&&"}));
    EXPECT_EQ(a->p.error_count, 0);
}

TEST(GlslParserExpressions, BitwiseOperatorsShareALevelBelowTheLogicalOnes) {
    GlslAnalysis* a = parse_only("int i = p & q | r ^ s || t == u + v * w;");
    GlslDeclaration* d = only_variable(a);
    ASSERT_TRUE(d && d->init);
    // Level 3: the "||" run of two operands; its first is the level-4 run.
    GlslExpr* logical = d->init;
    ASSERT_EQ(logical->kind, gexpr_binary);
    ASSERT_EQ(logical->list.count, 2);
    EXPECT_EQ(operator_texts(a, logical), (std::vector<std::string>{"||"}));
    GlslExpr* bitwise = logical->list[0];
    ASSERT_EQ(bitwise->kind, gexpr_binary);
    EXPECT_EQ(operand_names(a, bitwise), (std::vector<std::string>{"p", "q", "r", "s"}));
    // t == (u + (v * w))
    GlslExpr* equality = logical->list[1];
    ASSERT_EQ(equality->kind, gexpr_binary);
    EXPECT_EQ(operator_texts(a, equality), (std::vector<std::string>{"=="}));
    GlslExpr* sum = equality->list[1];
    ASSERT_EQ(sum->kind, gexpr_binary);
    EXPECT_EQ(operator_texts(a, sum), (std::vector<std::string>{"+"}));
    EXPECT_EQ(sum->list[1]->kind, gexpr_binary);
    EXPECT_EQ(operator_texts(a, sum->list[1]), (std::vector<std::string>{"*"}));
}

TEST(GlslParserExpressions, AssignmentsAndTheConditionalAreRightAssociative) {
    GlslAnalysis* a = parse_only("void f() { x = y += c ? d : e ? g : h; }");
    ASSERT_EQ(a->top_level_items.count, 1);
    GlslFunction* f = a->top_level_items[0]->function;
    ASSERT_TRUE(f->body);
    ASSERT_EQ(f->body->statements.count, 1);
    GlslExpr* e = f->body->statements[0]->expr;
    ASSERT_TRUE(e);
    ASSERT_EQ(e->kind, gexpr_binary);
    EXPECT_EQ(operator_texts(a, e), (std::vector<std::string>{"="}));
    GlslExpr* rhs = e->list[1];
    ASSERT_EQ(rhs->kind, gexpr_binary);
    EXPECT_EQ(operator_texts(a, rhs), (std::vector<std::string>{"+="}));
    GlslExpr* conditional = rhs->list[1];
    ASSERT_EQ(conditional->kind, gexpr_conditional);
    ASSERT_TRUE(conditional->c);
    EXPECT_EQ(conditional->c->kind, gexpr_conditional);
    EXPECT_EQ(a->p.error_count, 0);
}

TEST(GlslParserExpressions, PostfixChainsAndPrefixOperators) {
    GlslAnalysis* a = parse_only("float v = -lights[i + 1].color.r * f(a, b)++ + !--c;");
    GlslDeclaration* d = only_variable(a);
    ASSERT_TRUE(d && d->init);
    GlslExpr* product = d->init->list[0];
    ASSERT_EQ(product->kind, gexpr_binary);
    GlslExpr* negated = product->list[0];
    ASSERT_EQ(negated->kind, gexpr_prefix);
    GlslExpr* chain = negated->a;
    ASSERT_EQ(chain->kind, gexpr_chain);
    ASSERT_EQ(chain->post.count, 3);
    EXPECT_EQ(chain->post[0].kind, gpost_index);
    EXPECT_EQ(chain->post[0].args.count, 1);
    EXPECT_EQ(chain->post[1].kind, gpost_member);
    EXPECT_EQ(token_text_of(a, chain->post[1].name), "color");
    EXPECT_EQ(token_text_of(a, chain->post[2].name), "r");
    GlslExpr* call = product->list[1];
    ASSERT_EQ(call->kind, gexpr_chain);
    ASSERT_EQ(call->post.count, 2);
    EXPECT_EQ(call->post[0].kind, gpost_call);
    EXPECT_EQ(call->post[0].args.count, 2);
    EXPECT_GE(call->post[0].close, 0);
    EXPECT_EQ(call->post[1].kind, gpost_increment);
    EXPECT_EQ(d->init->list[1]->kind, gexpr_prefix);
    EXPECT_EQ(a->p.error_count, 0);
}

TEST(GlslParserExpressions, TypeModeTakesSizesButNoCalls) {
    GlslAnalysis* a = parse_only("float[3] a = float[](1.0, 2.0, 3.0);");
    GlslDeclaration* d = only_variable(a);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->type->kind, gexpr_chain);
    EXPECT_EQ(d->type->post[0].kind, gpost_index);
    EXPECT_EQ(token_text_of(a, d->name), "a");
    ASSERT_TRUE(d->init);
    ASSERT_EQ(d->init->kind, gexpr_chain);
    ASSERT_EQ(d->init->post.count, 2);
    EXPECT_EQ(d->init->post[1].kind, gpost_call);
    EXPECT_EQ(d->init->post[1].args.count, 3);
    // A type followed by "(" is no declaration: "vec3(1.0);" is an expression statement.
    a = parse_only("void f() { vec3(1.0); x++; }");
    GlslFunction* f = a->top_level_items[0]->function;
    ASSERT_EQ(f->body->statements.count, 2);
    EXPECT_EQ(f->body->statements[0]->kind, gstmt_expression);
    EXPECT_EQ(f->body->statements[1]->kind, gstmt_expression);
}

TEST(GlslParserItems, StructTakesNothingAfterItsClosingBrace) {
    GlslAnalysis* a = parse_only("struct Light { vec3 position; float a, b; };\nfloat after;");
    ASSERT_EQ(a->top_level_items.count, 2);
    GlslNode* node = a->top_level_items[0];
    ASSERT_EQ(node->kind, glsl_node_struct);
    EXPECT_EQ(token_text_of(a, node->structure->name), "Light");
    EXPECT_TRUE(node->structure->has_body);
    ASSERT_EQ(node->structure->members.count, 2);
    EXPECT_TRUE(node->structure->members[1]->variable->next);  // "a, b" share one node
    EXPECT_EQ(a->top_level_items[1]->kind, glsl_node_variable);
    // The ";" after "}" is the driver's: skipped with one counted error.
    EXPECT_EQ(a->p.error_count, 1);
    // The name is coloured by syntax.
    EXPECT_EQ(a->p.files[0].colours[7], glsl_kind_struct);

    a = parse_only("struct Light { float a; } lights[4];");
    ASSERT_EQ(a->top_level_items.count, 1);  // no declarator is taken after "}"
    EXPECT_GE(a->p.error_count, 1);
}

TEST(GlslParserItems, ForwardAndUnnamedStructs) {
    GlslAnalysis* a = parse_only("struct S;\nstruct { float x; }\nstruct T");
    ASSERT_EQ(a->top_level_items.count, 2);
    EXPECT_FALSE(a->top_level_items[0]->structure->has_body);
    EXPECT_EQ(token_text_of(a, a->top_level_items[0]->structure->name), "S");
    EXPECT_EQ(a->top_level_items[1]->structure->name, -1);
    EXPECT_EQ(a->top_level_items[1]->structure->members.count, 1);
}

TEST(GlslParserItems, PrototypesAndDefinitions) {
    GlslAnalysis* a = parse_only(
        "float f(float x, in vec3 y);\n"
        "vec3 g();\n"
        "void main(void) { }\n"
        "float f(float x, in vec3 y) { return x; }\n");
    ASSERT_EQ(a->top_level_items.count, 4);
    for (GlslNode* node : a->top_level_items) ASSERT_EQ(node->kind, glsl_node_function);
    GlslFunction* proto = a->top_level_items[0]->function;
    EXPECT_FALSE(proto->body);
    ASSERT_EQ(proto->params.count, 2);
    EXPECT_EQ(token_text_of(a, proto->params[1]->name), "y");
    EXPECT_EQ(proto->params[1]->storage, gstore_in);
    EXPECT_EQ(token_text_of(a, proto->head_end), ";");
    EXPECT_FALSE(a->top_level_items[1]->function->body);
    EXPECT_EQ(a->top_level_items[1]->function->params.count, 0);
    GlslFunction* main_function = a->top_level_items[2]->function;
    ASSERT_TRUE(main_function->body);
    ASSERT_EQ(main_function->params.count, 1);
    EXPECT_EQ(main_function->params[0]->name, -1);  // "void" alone
    EXPECT_TRUE(a->top_level_items[3]->function->body);
    EXPECT_EQ(a->p.error_count, 0);
    EXPECT_EQ(a->p.files[0].colours[6], glsl_kind_proc);  // "f" coloured by syntax
}

TEST(GlslParserItems, LayoutListsAndStorageWords) {
    GlslAnalysis* a = parse_only(
        "layout(location = 2, std140; binding = 1 + k) uniform in out attribute varying vec4 c, d[2] = e;");
    GlslDeclaration* d = only_variable(a);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->layout.count, 3);
    EXPECT_EQ(token_text_of(a, d->layout[0].name), "location");
    EXPECT_TRUE(d->layout[0].value);
    EXPECT_FALSE(d->layout[1].value);
    EXPECT_EQ(d->layout[2].value->kind, gexpr_binary);
    EXPECT_EQ(d->storage, gstore_uniform | gstore_in | gstore_out | gstore_attribute | gstore_varying);
    ASSERT_TRUE(d->next);
    EXPECT_EQ(token_text_of(a, d->next->name), "d");
    EXPECT_EQ(d->next->type, d->type);
    EXPECT_EQ(d->next->sizes.count, 1);
    EXPECT_TRUE(d->next->init);
    EXPECT_EQ(a->p.error_count, 0);

    // Without a type there is no declaration: a layout-only item is skipped.
    a = parse_only("layout(local_size_x = 8) in;\nfloat after;");
    ASSERT_EQ(a->top_level_items.count, 1);
    EXPECT_EQ(token_text_of(a, a->top_level_items[0]->variable->name), "after");
}

TEST(GlslParserItems, QualifierWordsThatAreNoKeywordsStandBeforeTheType) {
    GlslAnalysis* a = parse_only(
        "const highp float pi = 3.14;\n"
        "flat in int id;\n"
        "precision mediump float;\n"
        "void f(inout vec3 n, const in float s) { }\n");
    ASSERT_EQ(a->top_level_items.count, 4);
    GlslDeclaration* pi = a->top_level_items[0]->variable;
    EXPECT_EQ(token_text_of(a, pi->type->token), "float");
    EXPECT_EQ(token_text_of(a, pi->name), "pi");
    GlslDeclaration* id = a->top_level_items[1]->variable;
    EXPECT_EQ(id->storage, gstore_in);
    EXPECT_EQ(token_text_of(a, id->name), "id");
    GlslDeclaration* precision = a->top_level_items[2]->variable;
    EXPECT_EQ(precision->name, -1);
    EXPECT_EQ(token_text_of(a, precision->type->token), "float");
    GlslFunction* f = a->top_level_items[3]->function;
    ASSERT_EQ(f->params.count, 2);
    EXPECT_EQ(token_text_of(a, f->params[0]->type->token), "vec3");
    EXPECT_EQ(token_text_of(a, f->params[1]->name), "s");
    EXPECT_EQ(a->p.error_count, 0);
}

TEST(GlslParserItems, InterfaceBlocksWithAndWithoutInstance) {
    GlslAnalysis* a = parse_only(
        "layout(std140) uniform Camera { mat4 view; } camera;\n"
        "uniform Globals { float time; };\n"
        "buffer Data { float values[]; } data[2];\n");
    ASSERT_EQ(a->top_level_items.count, 3);
    GlslStruct* camera = a->top_level_items[0]->structure;
    EXPECT_TRUE(camera->is_block);
    EXPECT_EQ(token_text_of(a, camera->name), "Camera");
    ASSERT_TRUE(camera->instance);
    EXPECT_EQ(token_text_of(a, camera->instance->name), "camera");
    EXPECT_FALSE(a->top_level_items[1]->structure->instance);
    EXPECT_EQ(a->top_level_items[1]->structure->members.count, 1);
    ASSERT_TRUE(a->top_level_items[2]->structure->instance);
    EXPECT_EQ(a->top_level_items[2]->structure->instance->sizes.count, 1);
    EXPECT_EQ(a->p.error_count, 0);
}

TEST(GlslParserItems, StrayTokensAreSkippedSilently) {
    GlslAnalysis* a = parse_only(") , 1.0 true false ! % . / < > ] ^ | float x;");
    ASSERT_EQ(a->top_level_items.count, 1);
    EXPECT_EQ(token_text_of(a, a->top_level_items[0]->variable->name), "x");
    EXPECT_EQ(a->p.error_count, 0);
}

TEST(GlslParserStatements, EveryStatementForm) {
    GlslAnalysis* a = parse_only(
        "void f() {\n"
        "  if (a) { } else if (b) c(); else if (d) { } else { }\n"
        "  for (int i = 0, j = 1; i < n; i++) { }\n"
        "  for (;;) break;\n"
        "  for (vec3 v : list) { }\n"
        "  while (k) continue;\n"
        "  do { k--; } while (k > 0);\n"
        "  switch (m) { case 1: break; default: return; }\n"
        "  { float local = 1.0; }\n"
        "  return x * 2.0;\n"
        "}\n");
    ASSERT_EQ(a->top_level_items.count, 1);
    GlslBlock* body = a->top_level_items[0]->function->body;
    ASSERT_TRUE(body);
    std::vector<int> kinds;
    for (GlslStmt* s : body->statements) kinds.push_back(s->kind);
    EXPECT_EQ(kinds, (std::vector<int>{gstmt_if, gstmt_for, gstmt_for, gstmt_for_range, gstmt_while, gstmt_do,
                                       gstmt_switch, gstmt_block, gstmt_return}));
    GlslStmt* chain = body->statements[0];
    EXPECT_EQ(chain->conditions.count, 3);
    EXPECT_EQ(chain->blocks.count, 3);
    EXPECT_TRUE(chain->else_body);
    GlslStmt* loop = body->statements[1];
    ASSERT_TRUE(loop->init);
    EXPECT_EQ(loop->init->kind, gstmt_declaration);
    EXPECT_TRUE(loop->init->decl->next);
    EXPECT_TRUE(loop->expr && loop->expr2);
    EXPECT_FALSE(body->statements[2]->init || body->statements[2]->expr || body->statements[2]->expr2);
    EXPECT_EQ(body->statements[6]->body->statements.count, 4);  // case, break, default, return
    EXPECT_EQ(a->p.error_count, 0);
}

TEST(GlslParserStatements, RecoveryKeepsLaterStatementsAndItems) {
    GlslAnalysis* a = parse_only(
        "void f() {\n"
        "  x = ;\n"
        "  y = (1 + ;\n"
        "  float ok = 1.0;\n"
        "}\n"
        "} } float after;\n");
    ASSERT_EQ(a->top_level_items.count, 2);
    GlslBlock* body = a->top_level_items[0]->function->body;
    ASSERT_TRUE(body);
    ASSERT_GE(body->statements.count, 1);
    GlslStmt* last = body->statements[body->statements.count - 1];
    ASSERT_EQ(last->kind, gstmt_declaration);
    EXPECT_EQ(token_text_of(a, last->decl->name), "ok");
    EXPECT_GE(a->p.error_count, 2);
    EXPECT_EQ(token_text_of(a, a->top_level_items[1]->variable->name), "after");
}
