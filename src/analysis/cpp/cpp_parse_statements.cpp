// Statements and blocks of the C/C++ parser.
#include "analysis/c_family/statement_grammar.h"
#include "analysis/cpp/cpp_parser.h"
#include "analysis/cpp/cpp_token_tables.h"
#include "syntax/keyword_lists.h"

namespace {
ParseState* ps(CppAnalysis* a) { return &a->p; }

CppStmt* new_stmt(u8 kind, i64 token) {
    CppStmt* s = cfam_new<CppStmt>();
    s->kind = kind;
    s->token = token;
    s->conditions = cfam_array<CppCondition>();
    s->blocks = cfam_array<CppBlock*>();
    s->catches = cfam_array<CppCatch>();
    return s;
}

// Whether the "(" at `open` holds a ";" of its own (not one inside a lambda or a group).
bool holds_init_statement(const CppAnalysis* a, i64 open) {
    i64 close = cpp_closing_of(a, open);
    for (i64 i = open + 1; i < close; i++) {
        u16 c = cfam_code_at(&a->p, i);
        if (c == ';') return true;
        if (c == '(' || c == '[' || c == '{') {
            i64 end = cpp_closing_of(a, i);
            if (end < 0) return false;
            i = end;
        }
    }
    return false;
}

// "(" condition ")": a declaration with an initialiser where one fits, else an
// expression; C++17 lets a statement and ";" come first.
CppCondition parse_condition(CppAnalysis* a) {
    ParseState* p = ps(a);
    CppCondition c{};
    if (!cfam_at_code(p, '(')) {
        cfam_expect_token(p, '(');
        return c;
    }
    bool init = !a->c_mode && holds_init_statement(a, p->pos);
    p->pos++;
    if (init) {
        i64 at = p->pos;
        if (CppDeclaration* d = cpp_parse_declaration(a, true, cdecl_statement)) {
            c.init = new_stmt(cstmt_declaration, at);
            c.init->decl = d;
        } else if (CppExpr* e = cpp_parse_expression(a, 0, 0)) {
            c.init = new_stmt(cstmt_expression, at);
            c.init->expr = e;
        }
        cfam_expect_token(p, ';');
    }
    c.decl = a->c_mode ? nullptr : cpp_parse_declaration(a, false, cdecl_condition);
    if (!c.decl) c.expr = cpp_parse_expression(a, 0, 0);
    cfam_expect_token(p, ')');
    return c;
}

CppStmt* parse_cpp_only_statement(CppAnalysis* a, u16 c);

// The C/C++ side of the shared statement grammar (c_family/statement_grammar.h).
struct CppStatements {
    using Analysis = CppAnalysis;
    using Stmt = CppStmt;
    using Block = CppBlock;
    static constexpr u16 kw_if = c_kw_if, kw_else = c_kw_else, kw_while = c_kw_while, kw_do = c_kw_do,
                         kw_for = c_kw_for, kw_switch = c_kw_switch, kw_case = c_kw_case,
                         kw_default = c_kw_default, kw_break = c_kw_break, kw_continue = c_kw_continue,
                         kw_return = c_kw_return;
    static constexpr u8 stmt_block = cstmt_block, stmt_expression = cstmt_expression,
                        stmt_declaration = cstmt_declaration, stmt_if = cstmt_if, stmt_for = cstmt_for,
                        stmt_for_range = cstmt_for_range, stmt_while = cstmt_while, stmt_do = cstmt_do,
                        stmt_switch = cstmt_switch, stmt_case = cstmt_case, stmt_jump = cstmt_jump,
                        stmt_return = cstmt_return;
    static constexpr bool case_ranges = true, else_after_recovery = false, body_after_failed_header = false;

    static CppStmt* new_statement(u8 kind, i64 token) { return new_stmt(kind, token); }
    static CppExpr* expression(CppAnalysis* a, i32 level) { return cpp_parse_expression(a, level, 0); }
    static CppDeclaration* statement_declaration(CppAnalysis* a) {
        return cpp_parse_declaration(a, true, cdecl_statement);
    }
    static CppDeclaration* for_declaration(CppAnalysis* a) { return cpp_parse_declaration(a, true, cdecl_for); }
    static CppCondition if_condition(CppAnalysis* a) {
        cfam_accept_token(ps(a), cpp_kw_constexpr);
        return parse_condition(a);
    }
    static void loop_condition(CppAnalysis* a, CppStmt* s) {
        CppCondition cond = parse_condition(a);
        s->expr = cond.expr;
        s->decl = cond.decl;
        s->init = cond.init;
    }
    static CppExpr* do_condition(CppAnalysis* a) { return cpp_parse_expression(a, 0, 0); }
    static CppStmt* own_statement(CppAnalysis* a, u16 c) { return parse_cpp_only_statement(a, c); }
    // A closed "[" starts a lambda or attributes in C++.
    static bool stray_statement_token(CppAnalysis* a) {
        u16 c = current_code(&a->p);
        if (c == '[' && !a->c_mode && cpp_closing_of(a, a->p.pos) > a->p.pos) return false;
        return is_stray_statement_token(c);
    }
};

void parse_try(CppAnalysis* a, CppStmt* s) {
    ParseState* p = ps(a);
    p->pos++;  // "try"
    s->body = cpp_parse_block(a);
    while (cfam_going_on(p) && cfam_at_code(p, cpp_kw_catch)) {
        p->pos++;
        CppCatch clause{};
        if (cfam_expect_token(p, '(')) {
            if (!cfam_accept_token(p, token_ellipsis)) clause.decl = cpp_parse_declaration(a, false, cdecl_catch);
            cfam_expect_token(p, ')');
        }
        clause.body = cpp_parse_block(a);
        array_append(&s->catches, clause);
    }
}

CppStmt* parse_item_statement(CppAnalysis* a) {
    i64 at = a->p.pos;
    CppNode* item = cpp_parse_top_level_item(a);
    if (!item) return nullptr;
    CppStmt* s = new_stmt(cstmt_item, at);
    s->item = item;
    return s;
}

// The statements C and C++ have beyond the shared ones; null leaves the token to those
// (an item keyword that starts no item, an identifier that is no label).
CppStmt* parse_cpp_only_statement(CppAnalysis* a, u16 c) {
    ParseState* p = ps(a);
    i64 at = p->pos;
    switch (c) {
    case ';': p->pos++; return new_stmt(cstmt_jump, at);
    case cpp_kw_try: {
        CppStmt* s = new_stmt(cstmt_try, at);
        parse_try(a, s);
        return s;
    }
    case c_kw_goto:
        p->pos++;
        cfam_accept_token(p, token_identifier);
        cfam_expect_token(p, ';');
        return new_stmt(cstmt_jump, at);
    case cpp_kw_throw:
    case cpp_kw_co_return:
    case cpp_kw_co_yield:
    case cpp_kw_co_await: return cfam_parse_return_statement<CppStatements>(a);
    case cpp_kw_delete: {
        CppStmt* s = new_stmt(cstmt_delete, p->pos++);
        if (cfam_at_code(p, '[') && cfam_peek_code(p, 1) == ']') p->pos += 2;
        s->expr = cpp_parse_expression(a, 0, 0);
        cfam_expect_token(p, ';');
        return s;
    }
    case c_kw_asm: {
        p->pos++;
        while (cfam_at_code(p, c_kw_volatile) || cfam_at_code(p, c_kw_inline) || cfam_at_code(p, c_kw_goto)) p->pos++;
        if (cfam_at_code(p, '(')) {
            i64 close = cpp_closing_of(a, p->pos);
            p->pos = close > 0 ? close + 1 : p->pos + 1;
        }
        cfam_expect_token(p, ';');
        return new_stmt(cstmt_jump, at);
    }
    case c_kw_typedef:
    case c_kw_struct:
    case c_kw_union:
    case c_kw_enum:
    case cpp_kw_class:
    case cpp_kw_using:
    case cpp_kw_namespace:
    case cpp_kw_template:
    case cpp_kw_static_assert: return parse_item_statement(a);
    case '[':
        // Attributes of a statement ("[[likely]] if", "[[fallthrough]];") or of a local
        // declaration: the statement after them.
        if (a->c_mode || cfam_peek_code(p, 1) != '[' || !cpp_skip_attributes(a)) return nullptr;
        return cfam_parse_statement_here<CppStatements>(a);
    case token_identifier:
        if (cfam_peek_code(p, 1) != ':') return nullptr;
        p->pos += 2;  // a label
        return new_stmt(cstmt_jump, at);
    default: return nullptr;
    }
}
}  // namespace

CppStmt* cpp_parse_statement(CppAnalysis* a) { return cfam_parse_nested_statement<CppStatements>(a); }

CppBlock* cpp_parse_block(CppAnalysis* a) { return cfam_parse_statement_block<CppStatements>(a); }
