// Statements and blocks of the C/C++ parser.
#include "analysis/cpp/cpp_block_loops.h"
#include "analysis/cpp/cpp_parser.h"
#include "analysis/cpp/cpp_token_tables.h"
#include "syntax/keyword_lists.h"

namespace {
ParseState* ps(CppAnalysis* a) { return &a->p; }

CppStmt* new_stmt(u8 kind, i64 token) {
    CppStmt* s = cpp_new<CppStmt>();
    s->kind = kind;
    s->token = token;
    s->conditions = cpp_array<CppCondition>();
    s->blocks = cpp_array<CppBlock*>();
    s->catches = cpp_array<CppCatch>();
    return s;
}

void* statement_hook(ParseState*, void* context) { return parse_statement((CppAnalysis*)context); }

bool is_stray(u16 c) {
    switch (c) {
    case '|':
    case '%':
    case '&':
    case ',':
    case '.':
    case '/':
    case '<':
    case '>':
    case '[':
    case ']':
    case '^':
    case '=': return true;
    default: return false;
    }
}

// "(" condition ")": a declaration with an initialiser where one fits, else an expression.
CppCondition parse_condition(CppAnalysis* a) {
    ParseState* p = ps(a);
    CppCondition c{};
    if (!expect_token(p, '(')) return c;
    c.decl = a->c_mode ? nullptr : parse_declaration(a, false, cdecl_condition);
    if (!c.decl) c.expr = parse_expression(a, 0, 0);
    expect_token(p, ')');
    return c;
}

void parse_for(CppAnalysis* a, CppStmt* s) {
    ParseState* p = ps(a);
    if (!expect_token(p, '(')) return;
    if (!at_code(p, ';')) {
        CppDeclaration* d = parse_declaration(a, true, cdecl_for);
        if (d && at_code(p, ':')) {
            s->kind = cstmt_for_range;
            s->decl = d;
            p->pos++;
            s->expr = parse_expression(a, 0, 0);
            expect_token(p, ')');
            s->body = cpp_parse_block(a);
            return;
        }
        if (d) {
            s->init = new_stmt(cstmt_declaration, d->first);
            s->init->decl = d;
        } else if (CppExpr* e = parse_expression(a, 0, 0)) {
            s->init = new_stmt(cstmt_expression, e->token);
            s->init->expr = e;
        }
    }
    expect_token(p, ';');
    if (!at_code(p, ';')) s->expr = parse_expression(a, 0, 0);
    expect_token(p, ';');
    if (!at_code(p, ')')) s->expr2 = parse_expression(a, 0, 0);
    expect_token(p, ')');
    s->body = cpp_parse_block(a);
}

void parse_if(CppAnalysis* a, CppStmt* s) {
    ParseState* p = ps(a);
    p->pos++;  // "if"
    accept_token(p, cpp_kw_constexpr);
    array_append(&s->conditions, parse_condition(a));
    array_append(&s->blocks, cpp_parse_block(a));
    // "else if" arms are kept in one list, so a long chain needs no recursion.
    while (going_on(p) && at_code(p, c_kw_else)) {
        p->pos++;
        if (at_code(p, c_kw_if)) {
            p->pos++;
            accept_token(p, cpp_kw_constexpr);
            array_append(&s->conditions, parse_condition(a));
            array_append(&s->blocks, cpp_parse_block(a));
        } else {
            s->else_body = cpp_parse_block(a);
            break;
        }
    }
}

void parse_try(CppAnalysis* a, CppStmt* s) {
    ParseState* p = ps(a);
    p->pos++;  // "try"
    s->body = cpp_parse_block(a);
    while (going_on(p) && at_code(p, cpp_kw_catch)) {
        p->pos++;
        CppCatch clause{};
        if (expect_token(p, '(')) {
            if (!accept_token(p, token_ellipsis)) clause.decl = parse_declaration(a, false, cdecl_catch);
            expect_token(p, ')');
        }
        clause.body = cpp_parse_block(a);
        array_append(&s->catches, clause);
    }
}

// return, throw, co_return, co_yield: an optional expression and ";".
CppStmt* parse_return(CppAnalysis* a) {
    ParseState* p = ps(a);
    CppStmt* s = new_stmt(cstmt_return, p->pos++);
    if (!at_code(p, ';')) s->expr = parse_expression(a, 0, 0);
    expect_token(p, ';');
    return s;
}

CppStmt* parse_item_statement(CppAnalysis* a) {
    i64 at = a->p.pos;
    CppNode* item = parse_top_level_item(a);
    if (!item) return nullptr;
    CppStmt* s = new_stmt(cstmt_item, at);
    s->item = item;
    return s;
}

CppStmt* parse_simple_statement(CppAnalysis* a) {
    ParseState* p = ps(a);
    i64 at = p->pos;
    if (CppDeclaration* d = parse_declaration(a, true, cdecl_statement)) {
        CppStmt* s = new_stmt(cstmt_declaration, at);
        s->decl = d;
        expect_token(p, ';');
        return s;
    }
    CppExpr* e = parse_expression(a, 0, 0);
    if (!e) return nullptr;
    CppStmt* s = new_stmt(cstmt_expression, at);
    s->expr = e;
    expect_token(p, ';');
    return s;
}

CppStmt* parse_statement_inner(CppAnalysis* a) {
    ParseState* p = ps(a);
    while (!at_end(p) && is_stray(code_now(p))) p->pos++;
    if (at_end(p)) return nullptr;
    u16 c = code_now(p);
    i64 at = p->pos;
    switch (c) {
    case '{': {
        CppStmt* s = new_stmt(cstmt_block, at);
        s->body = cpp_parse_block(a);
        return s;
    }
    case ';': p->pos++; return new_stmt(cstmt_jump, at);
    case c_kw_do: {
        CppStmt* s = new_stmt(cstmt_do, p->pos++);
        s->body = cpp_parse_block(a);
        if (expect_token(p, c_kw_while)) s->expr = parse_expression(a, 0, 0);
        expect_token(p, ';');
        return s;
    }
    case c_kw_for: {
        CppStmt* s = new_stmt(cstmt_for, p->pos++);
        parse_for(a, s);
        return s;
    }
    case c_kw_if: {
        CppStmt* s = new_stmt(cstmt_if, at);
        parse_if(a, s);
        return s;
    }
    case c_kw_switch:
    case c_kw_while: {
        CppStmt* s = new_stmt(c == c_kw_switch ? cstmt_switch : cstmt_while, p->pos++);
        CppCondition cond = parse_condition(a);
        s->expr = cond.expr;
        s->decl = cond.decl;
        s->body = cpp_parse_block(a);
        return s;
    }
    case cpp_kw_try: {
        CppStmt* s = new_stmt(cstmt_try, at);
        parse_try(a, s);
        return s;
    }
    case c_kw_case: {
        CppStmt* s = new_stmt(cstmt_case, p->pos++);
        s->expr = parse_expression(a, 2, 0);
        if (accept_token(p, token_ellipsis)) parse_expression(a, 2, 0);  // case 'a' ... 'z'
        expect_token(p, ':');
        return s;
    }
    case c_kw_default:
        p->pos++;
        expect_token(p, ':');
        return new_stmt(cstmt_jump, at);
    case c_kw_break:
    case c_kw_continue:
        p->pos++;
        expect_token(p, ';');
        return new_stmt(cstmt_jump, at);
    case c_kw_goto:
        p->pos++;
        accept_token(p, token_identifier);
        expect_token(p, ';');
        return new_stmt(cstmt_jump, at);
    case c_kw_return:
    case cpp_kw_throw:
    case cpp_kw_co_return:
    case cpp_kw_co_yield:
    case cpp_kw_co_await: return parse_return(a);
    case cpp_kw_delete: {
        CppStmt* s = new_stmt(cstmt_delete, p->pos++);
        if (at_code(p, '[') && peek_code(p, 1) == ']') p->pos += 2;
        s->expr = parse_expression(a, 0, 0);
        expect_token(p, ';');
        return s;
    }
    case c_kw_asm: {
        p->pos++;
        while (at_code(p, c_kw_volatile) || at_code(p, c_kw_inline) || at_code(p, c_kw_goto)) p->pos++;
        if (at_code(p, '(')) {
            i64 close = closing_of(a, p->pos);
            p->pos = close > 0 ? close + 1 : p->pos + 1;
        }
        expect_token(p, ';');
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
    case cpp_kw_static_assert:
        if (CppStmt* s = parse_item_statement(a)) return s;
        break;
    case token_identifier:
        if (peek_code(p, 1) == ':') {  // a label
            p->pos += 2;
            return new_stmt(cstmt_jump, at);
        }
        break;
    default: break;
    }
    return parse_simple_statement(a);
}
}  // namespace

CppStmt* parse_statement(CppAnalysis* a) {
    ParseState* p = ps(a);
    if (!nesting_enter(p)) return nullptr;
    CppStmt* s = parse_statement_inner(a);
    nesting_leave(p);
    return s;
}

CppBlock* cpp_parse_block(CppAnalysis* a) {
    CppBlock* b = cpp_new<CppBlock>();
    b->open = b->close = -1;
    b->statements = cpp_array<CppStmt*>();
    // A header that already failed has no body to give: the enclosing list resumes.
    if (!going_on(ps(a))) return b;
    BlockParse parsed;
    parse_block(ps(a), statement_hook, a, &parsed);
    b->open = parsed.open;
    b->close = parsed.close;
    b->statements = Array<CppStmt*>{(CppStmt**)parsed.statements.data, parsed.statements.count,
                                    parsed.statements.capacity, pool_parser};
    return b;
}
