// Statements and blocks of the GLSL parser: the statement grammar shared with C/C++,
// with conditions that are plain parenthesised expressions.
#include "analysis/c_family/statement_grammar.h"
#include "analysis/glsl/glsl_parser.h"
#include "syntax/keyword_lists.h"

namespace {
GlslStmt* new_stmt(u8 kind, i64 token) {
    GlslStmt* s = cfam_new<GlslStmt>();
    s->kind = kind;
    s->token = token;
    s->conditions = cfam_array<GlslExpr*>();
    s->blocks = cfam_array<GlslBlock*>();
    return s;
}

// "(" expression ")".
GlslExpr* parse_condition(GlslAnalysis* a) {
    ParseState* p = &a->p;
    if (!cfam_expect_token(p, '(')) return nullptr;
    GlslExpr* e = glsl_parse_expression(a, 0);
    cfam_expect_token(p, ')');
    return e;
}

// A struct declared inside a body, with its instances: "struct L { vec2 q; } l;".
GlslStmt* parse_local_struct(GlslAnalysis* a) {
    i64 at = a->p.pos;
    GlslNode* item = glsl_parse_top_level_item(a);
    if (!item) return nullptr;
    cfam_accept_token(&a->p, ';');
    GlslStmt* s = new_stmt(gstmt_item, at);
    s->item = item;
    return s;
}

// The GLSL side of the shared statement grammar (c_family/statement_grammar.h).
struct GlslStatements {
    using Analysis = GlslAnalysis;
    using Stmt = GlslStmt;
    using Block = GlslBlock;
    static constexpr u16 kw_if = glsl_kw_if, kw_else = glsl_kw_else, kw_while = glsl_kw_while, kw_do = glsl_kw_do,
                         kw_for = glsl_kw_for, kw_switch = glsl_kw_switch, kw_case = glsl_kw_case,
                         kw_default = glsl_kw_default, kw_break = glsl_kw_break, kw_continue = glsl_kw_continue,
                         kw_return = glsl_kw_return;
    static constexpr u8 stmt_block = gstmt_block, stmt_expression = gstmt_expression,
                        stmt_declaration = gstmt_declaration, stmt_if = gstmt_if, stmt_for = gstmt_for,
                        stmt_for_range = gstmt_for_range, stmt_while = gstmt_while, stmt_do = gstmt_do,
                        stmt_switch = gstmt_switch, stmt_case = gstmt_case, stmt_jump = gstmt_jump,
                        stmt_return = gstmt_return;
    static constexpr bool case_ranges = false, else_after_recovery = true, body_after_failed_header = true;

    static GlslStmt* new_statement(u8 kind, i64 token) { return new_stmt(kind, token); }
    static GlslExpr* expression(GlslAnalysis* a, i32 level) { return glsl_parse_expression(a, level); }
    static GlslDeclaration* statement_declaration(GlslAnalysis* a) {
        return glsl_parse_declaration(a, true, gdecl_statement);
    }
    static GlslDeclaration* for_declaration(GlslAnalysis* a) { return glsl_parse_declaration(a, true, gdecl_statement); }
    static GlslExpr* if_condition(GlslAnalysis* a) { return parse_condition(a); }
    static void loop_condition(GlslAnalysis* a, GlslStmt* s) { s->expr = parse_condition(a); }
    static GlslExpr* do_condition(GlslAnalysis* a) { return parse_condition(a); }
    static GlslStmt* own_statement(GlslAnalysis* a, u16 c) { return c == glsl_kw_struct ? parse_local_struct(a) : nullptr; }
    static bool stray_statement_token(GlslAnalysis* a) { return is_stray_statement_token(current_code(&a->p)); }
};
}  // namespace

GlslStmt* glsl_parse_statement(GlslAnalysis* a) { return cfam_parse_nested_statement<GlslStatements>(a); }

GlslBlock* glsl_parse_block(GlslAnalysis* a) { return cfam_parse_statement_block<GlslStatements>(a); }
