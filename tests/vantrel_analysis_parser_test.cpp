// The vantrel parser on its own: tree shapes, the special rules of the grammar and the
// error recovery, checked on the trees and the error count.
#include <gtest/gtest.h>

#include <string>

#include "analysis/handover.h"
#include "analysis/vantrel/vantrel_parser.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"
#include "test_support.h"

namespace {

struct Parsed {
    ParseState state;
    Array<VItem*> items;
    u8* colours;
    const char* text;
};

Parsed* parse(const char* text) {
    static bool ready = false;
    if (!ready) {
        ensure_arenas();
        store_builtin_palettes();
        load_coloring_file(StringView{nullptr, 0});
        ready = true;
    }
    static Parsed parsed;
    pool_reset(pool_parser);
    i64 n = (i64)strlen(text);
    parsed.text = text;
    parsed.colours = (u8*)pool_alloc(pool_parser, n + 1);
    memset(parsed.colours, 0, (size_t)n + 1);
    parse_state_reset(&parsed.state);
    parsed.items = Array<VItem*>{nullptr, 0, 0, pool_parser};
    parse_state_add_file(&parsed.state, file_kind_vantrel, SV("t.vnt"),
                         StringView{text, n}, parsed.colours);
    vantrel_parse_tokens(&parsed.state, &parsed.items);
    return &parsed;
}

std::string text_of(const Parsed* p, i64 token) {
    if (token < 0 || token >= p->state.tokens.count) return "<none>";
    StringView t = text_of(&p->state, p->state.tokens[token]);
    return std::string(t.data ? t.data : "", (size_t)t.length);
}

// The statements of the body of the first item (a procedure).
const Array<VStmt*>& body(const Parsed* p) {
    static Array<VStmt*> empty{};
    if (p->items.count == 0 || p->items[0]->kind != vitem_procedure || !p->items[0]->proc->body) return empty;
    return p->items[0]->proc->body->statements;
}

u8 colour_of_word(const Parsed* p, const char* word) {
    const char* at = strstr(p->text, word);
    return at ? p->colours[at - p->text] : 0xFF;
}

TEST(VantrelParser, EqualSignComparesInConditionsAndAssignsInStatements) {
    Parsed* p = parse("proc f() { if a = b { } a = b; }");
    ASSERT_EQ(body(p).count, 2);
    const VStmt* s = body(p)[0];
    ASSERT_EQ(s->kind, vstmt_if);
    ASSERT_EQ(s->arms.count, 1);
    const VExpr* c = s->arms[0].condition;
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->kind, vexpr_binary);
    EXPECT_EQ(text_of(p, c->tokens[0]), "=");
    EXPECT_EQ(body(p)[1]->kind, vstmt_assignment);
    EXPECT_EQ(p->state.error_count, 0);

    // In an assignment chain "=" separates the parts instead of comparing.
    p = parse("proc f() { a = b = c; x += 1; i++; }");
    ASSERT_EQ(body(p).count, 3);
    EXPECT_EQ(body(p)[0]->ops.count, 2);
    EXPECT_EQ(body(p)[0]->list[0]->kind, vexpr_name);
    EXPECT_EQ(body(p)[2]->ops.count, 1);
    EXPECT_EQ(body(p)[2]->list[0], nullptr);  // "++" needs no right side
    EXPECT_EQ(p->state.error_count, 0);
}

TEST(VantrelParser, StarIsNoOperatorInConditions) {
    Parsed* p = parse("proc f() { x = a * b; }");
    EXPECT_EQ(p->state.error_count, 0);
    ASSERT_EQ(body(p)[0]->list[0]->kind, vexpr_binary);
    p = parse("proc f() { if a * b { } }");
    EXPECT_GT(p->state.error_count, 0);
    p = parse("proc f() { if (a * b) > 2 { } }");
    EXPECT_EQ(p->state.error_count, 0);
}

TEST(VantrelParser, ForHeaderVariants) {
    Parsed* p = parse("proc f() { for int i = 0 .. <=n, 2 { } for i .. 10 { } for 0 .. 10 { } for x = 1 .. >= 0 { } }");
    ASSERT_EQ(body(p).count, 4);
    EXPECT_EQ(p->state.error_count, 0);
    const VFor* a = body(p)[0]->loop;
    ASSERT_NE(a->type, nullptr);
    EXPECT_EQ(text_of(p, a->type->token), "int");
    EXPECT_EQ(text_of(p, a->name), "i");
    EXPECT_EQ(text_of(p, a->start->token), "0");
    EXPECT_EQ(text_of(p, a->end->token), "n");
    ASSERT_NE(a->step, nullptr);
    EXPECT_EQ(text_of(p, a->step->token), "2");
    EXPECT_TRUE(a->inclusive);
    EXPECT_FALSE(a->downward);
    ASSERT_NE(a->body, nullptr);

    const VFor* b = body(p)[1]->loop;
    EXPECT_EQ(text_of(p, b->name), "i");
    EXPECT_EQ(b->start, nullptr);
    EXPECT_EQ(b->type, nullptr);

    const VFor* c = body(p)[2]->loop;
    EXPECT_EQ(c->name, -1);
    EXPECT_EQ(text_of(p, c->start->token), "0");
    EXPECT_FALSE(c->inclusive || c->downward);

    const VFor* d = body(p)[3]->loop;
    EXPECT_EQ(d->type, nullptr);  // one token before "=": no type
    EXPECT_EQ(text_of(p, d->name), "x");
    EXPECT_TRUE(d->inclusive && d->downward);
}

TEST(VantrelParser, LabelsAndJumps) {
    Parsed* p = parse("proc f() { outer while x { break outer; continue; } return; return x + 1; exit; }");
    ASSERT_EQ(body(p).count, 4);
    const VStmt* loop = body(p)[0];
    EXPECT_EQ(loop->kind, vstmt_while);
    EXPECT_EQ(text_of(p, loop->label), "outer");
    ASSERT_EQ(loop->block->statements.count, 2);
    const VStmt* jump = loop->block->statements[0];
    EXPECT_EQ(jump->kind, vstmt_break_label);
    EXPECT_EQ(text_of(p, jump->expr->token), "outer");
    EXPECT_EQ(loop->block->statements[1]->kind, vstmt_continue);
    EXPECT_EQ(body(p)[1]->kind, vstmt_return);
    EXPECT_EQ(body(p)[2]->kind, vstmt_return_value);
    EXPECT_EQ(body(p)[3]->kind, vstmt_exit);
    EXPECT_EQ(p->state.error_count, 0);
}

TEST(VantrelParser, ProcedureHeads) {
    Parsed* p = parse("proc += (Vec a, b) Vec { }");
    ASSERT_EQ(p->items.count, 1);
    const VProc* op = p->items[0]->proc;
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(std::string(op->name_text.data, (size_t)op->name_text.length), "+=");
    ASSERT_EQ(op->params.count, 1);  // "b" is a second name of the same type
    EXPECT_EQ(op->params[0]->names.count, 2);
    EXPECT_EQ(colour_of_word(p, "+="), vantrel_kind_proc);

    p = parse("proc max(T)(T a, b) T { } proc f(int a) { } proc g(int a, float b = 1.5,) int;");
    ASSERT_EQ(p->items.count, 3);
    EXPECT_EQ(p->items[0]->proc->template_params.count, 1);
    EXPECT_EQ(colour_of_word(p, "T)"), vantrel_kind_template_type);
    EXPECT_EQ(p->items[1]->proc->template_params.count, 0);
    EXPECT_EQ(p->items[1]->proc->params.count, 1);
    const VProc* g = p->items[2]->proc;
    EXPECT_EQ(g->params.count, 2);
    EXPECT_NE(g->params[1]->names[0].init, nullptr);
    EXPECT_EQ(g->body, nullptr);
    ASSERT_NE(g->return_type, nullptr);
    EXPECT_EQ(p->state.error_count, 0);

    // A parameter without any type before it, indexing operator, modifiers.
    p = parse("static symmetric foreign \"m\" proc [] (a, int i) int; proc f { }");
    ASSERT_EQ(p->items.count, 2);
    const VProc* index = p->items[0]->proc;
    EXPECT_EQ(std::string(index->name_text.data, 2), "[]");
    EXPECT_EQ(index->modifiers, vmod_static | vmod_symmetric | vmod_foreign);
    EXPECT_EQ(index->params[0]->type, nullptr);
    EXPECT_EQ(p->state.error_count, 1);  // "proc f {" is accepted with an error
    EXPECT_NE(p->items[1]->proc->body, nullptr);

    // "proc (" is a procedure type: a variable of that type.
    p = parse("proc(int, real) bool callback;");
    ASSERT_EQ(p->items.count, 1);
    EXPECT_EQ(p->items[0]->kind, vitem_variable);
    EXPECT_EQ(text_of(p, p->items[0]->var->names[0].name), "callback");
}

TEST(VantrelParser, Declarations) {
    Parsed* p = parse("int x = --; static const Vec* using v, w = 3; struct { int a; } union U(T = int) { T t; }");
    ASSERT_EQ(p->items.count, 4);
    EXPECT_TRUE(p->items[0]->var->names[0].uninitialised);
    EXPECT_EQ(p->items[0]->var->names[0].init, nullptr);
    const VVarDecl* d = p->items[1]->var;
    EXPECT_EQ(d->modifiers, vmod_static | vmod_const);
    EXPECT_EQ(d->type->kind, vexpr_pointer);
    ASSERT_EQ(d->names.count, 2);
    EXPECT_TRUE(d->names[0].has_using);
    EXPECT_NE(d->names[1].init, nullptr);
    const VStruct* anonymous = p->items[2]->record;
    EXPECT_EQ(anonymous->name, -1);
    EXPECT_EQ(anonymous->members.count, 1);
    const VStruct* u = p->items[3]->record;
    EXPECT_TRUE(u->is_union);
    EXPECT_EQ(u->template_params.count, 1);
    EXPECT_NE(u->template_params[0].default_type, nullptr);
    EXPECT_EQ(p->state.error_count, 0);

    p = parse("enum E byte { a = 1, b; c } alias A int, B Vec*; handle H, W pointer; using x.y, z;");
    ASSERT_EQ(p->items.count, 4);
    EXPECT_NE(p->items[0]->enumeration->underlying, nullptr);
    EXPECT_EQ(p->items[0]->enumeration->members.count, 3);
    EXPECT_EQ(p->items[1]->entries.count, 2);
    EXPECT_EQ(p->items[2]->entries[0].type, nullptr);
    EXPECT_NE(p->items[2]->entries[1].type, nullptr);
    EXPECT_EQ(p->items[3]->usings.count, 2);
    EXPECT_EQ(p->state.error_count, 0);
}

TEST(VantrelParser, ExpressionForms) {
    Parsed* p = parse(
        "proc f() { x = ^Vec(a = 1; b = 2) + [1, 2] + cast(int) y + take(p) q + size_of Vec + s[1..2] + g(1,,3,) + "
        "-*&z + !w + a.b.c[0].d; }");
    EXPECT_EQ(p->state.error_count, 0);
    ASSERT_EQ(body(p).count, 1);
    const VExpr* sum = body(p)[0]->list[0];
    ASSERT_EQ(sum->kind, vexpr_binary);
    ASSERT_EQ(sum->list.count, 10);
    EXPECT_EQ(sum->list[0]->kind, vexpr_compound);
    EXPECT_EQ(sum->list[0]->tokens.count, 2);
    EXPECT_EQ(colour_of_word(p, "a = 1"), vantrel_kind_member_var);
    EXPECT_EQ(sum->list[1]->kind, vexpr_array);
    EXPECT_EQ(sum->list[2]->kind, vexpr_cast);
    EXPECT_EQ(sum->list[3]->kind, vexpr_take);
    EXPECT_EQ(sum->list[4]->kind, vexpr_keyword_op);
    EXPECT_EQ(sum->list[5]->kind, vexpr_slice);
    const VExpr* call = sum->list[6];
    ASSERT_EQ(call->kind, vexpr_call);
    ASSERT_EQ(call->list.count, 3);  // the "," before ")" ends the list
    EXPECT_EQ(call->list[1], nullptr);
    EXPECT_EQ(sum->list[7]->kind, vexpr_prefix);
    const VExpr* path = sum->list[9];
    ASSERT_EQ(path->kind, vexpr_path);
    EXPECT_EQ(path->tokens.count, 2);  // ".d" after the index
    EXPECT_EQ(path->a->kind, vexpr_index);
    EXPECT_EQ(path->a->a->tokens.count, 4);  // "a" ".b" ".c"
}

TEST(VantrelParser, SwitchArms) {
    Parsed* p = parse("proc f() { switch x { case 1, 2 { } else { } } }");
    EXPECT_EQ(p->state.error_count, 0);
    ASSERT_EQ(body(p).count, 1);
    ASSERT_EQ(body(p)[0]->cases.count, 2);
    EXPECT_EQ(body(p)[0]->cases[0].values.count, 2);
    EXPECT_TRUE(body(p)[0]->cases[1].is_else);

    p = parse("proc f() { switch x { case 1, 2 { } else { } else { } } }");
    EXPECT_GT(p->state.error_count, 0);
    p = parse("proc f() { switch x { else { } } }");
    EXPECT_GT(p->state.error_count, 0);
}

TEST(VantrelParser, RecoveryKeepsWhatFollows) {
    // A stray ")" before a declaration is skipped and counted.
    Parsed* p = parse(") int x;");
    EXPECT_EQ(p->state.error_count, 1);
    ASSERT_EQ(p->items.count, 1);
    EXPECT_EQ(p->items[0]->kind, vitem_variable);

    // A broken statement does not take the rest of the block with it.
    p = parse("proc f() { x = ; int y; } proc g() { }");
    EXPECT_GT(p->state.error_count, 0);
    ASSERT_EQ(p->items.count, 2);
    bool found = false;
    for (VStmt* s : body(p)) found |= s->kind == vstmt_variable;
    EXPECT_TRUE(found);

    // A missing ")" is found again by the expectation recovery.
    p = parse("proc f(int a b) { int y; }");
    ASSERT_EQ(p->items.count, 1);
    EXPECT_EQ(body(p).count, 1);

    // An unterminated member access keeps its path for completion.
    p = parse("proc f() { v.\n int y; }");
    ASSERT_GE(body(p).count, 1);
    const VExpr* e = body(p)[0]->expr;
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->kind, vexpr_path);
    EXPECT_EQ(e->tokens[1], -1);
}

TEST(VantrelParser, DeepNestingIsCutOff) {
    std::string parens = "int x = " + std::string(100000, '(') + "1" + std::string(100000, ')') + "; int y;";
    Parsed* p = parse(parens.c_str());
    EXPECT_GT(p->state.error_count, 0);
    ASSERT_GE(p->items.count, 1);
    EXPECT_EQ(text_of(p, p->items[p->items.count - 1]->var->names[0].name), "y");

    std::string blocks = "proc f() " + std::string(100000, '{') + std::string(100000, '}') + " int z;";
    p = parse(blocks.c_str());
    EXPECT_GT(p->state.error_count, 0);
    ASSERT_GE(p->items.count, 2);
    EXPECT_EQ(p->items[p->items.count - 1]->kind, vitem_variable);

    std::string prefixes = "int w = " + std::string(100000, '-') + "1; " + std::string(50000, '^') + " struct " +
                           std::string(3000, '{');
    p = parse(prefixes.c_str());
    EXPECT_GT(p->state.error_count, 0);
}

}  // namespace
