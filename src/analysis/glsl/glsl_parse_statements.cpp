// Statements and blocks of the GLSL parser.
#include "analysis/cpp/cpp_block_loops.h"
#include "analysis/glsl/glsl_parser.h"
#include "syntax/keyword_lists.h"

namespace {
ParseState* ps(GlslAnalysis* a) { return &a->p; }

GlslStmt* new_stmt(u8 kind, i64 token) {
    GlslStmt* s = cpp_new<GlslStmt>();
    s->kind = kind;
    s->token = token;
    s->conditions = cpp_array<GlslExpr*>();
    s->blocks = cpp_array<GlslBlock*>();
    return s;
}

void* statement_hook(ParseState*, void* context) { return glsl_parse_statement((GlslAnalysis*)context); }

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

// "(" expression ")".
GlslExpr* parse_condition(GlslAnalysis* a) {
    ParseState* p = ps(a);
    if (!expect_token(p, '(')) return nullptr;
    GlslExpr* e = glsl_parse_expression(a, 0);
    expect_token(p, ')');
    return e;
}

void parse_for(GlslAnalysis* a, GlslStmt* s) {
    ParseState* p = ps(a);
    if (!expect_token(p, '(')) return;
    if (!at_code(p, ';')) {
        GlslDeclaration* d = glsl_parse_declaration(a, true, gdecl_statement);
        if (d && at_code(p, ':')) {
            s->kind = gstmt_for_range;
            s->decl = d;
            p->pos++;
            s->expr = glsl_parse_expression(a, 0);
            expect_token(p, ')');
            s->body = glsl_parse_block(a);
            return;
        }
        if (d) {
            s->init = new_stmt(gstmt_declaration, d->first);
            s->init->decl = d;
        } else if (GlslExpr* e = glsl_parse_expression(a, 0)) {
            s->init = new_stmt(gstmt_expression, e->token);
            s->init->expr = e;
        }
    }
    expect_token(p, ';');
    if (!at_code(p, ';')) s->expr = glsl_parse_expression(a, 0);
    expect_token(p, ';');
    if (!at_code(p, ')')) s->expr2 = glsl_parse_expression(a, 0);
    expect_token(p, ')');
    s->body = glsl_parse_block(a);
}

void parse_if(GlslAnalysis* a, GlslStmt* s) {
    ParseState* p = ps(a);
    p->pos++;  // "if"
    array_append(&s->conditions, parse_condition(a));
    array_append(&s->blocks, glsl_parse_block(a));
    // "else if" arms are kept in one list, so a long chain needs no recursion.
    while (at_code(p, glsl_kw_else)) {
        p->pos++;
        if (at_code(p, glsl_kw_if)) {
            p->pos++;
            array_append(&s->conditions, parse_condition(a));
            array_append(&s->blocks, glsl_parse_block(a));
        } else {
            s->else_body = glsl_parse_block(a);
            break;
        }
    }
}

GlslStmt* parse_simple_statement(GlslAnalysis* a) {
    ParseState* p = ps(a);
    i64 at = p->pos;
    if (GlslDeclaration* d = glsl_parse_declaration(a, true, gdecl_statement)) {
        GlslStmt* s = new_stmt(gstmt_declaration, at);
        s->decl = d;
        expect_token(p, ';');
        return s;
    }
    GlslExpr* e = glsl_parse_expression(a, 0);
    if (!e) return nullptr;
    GlslStmt* s = new_stmt(gstmt_expression, at);
    s->expr = e;
    expect_token(p, ';');
    return s;
}

GlslStmt* parse_statement_inner(GlslAnalysis* a) {
    ParseState* p = ps(a);
    while (!at_end(p) && is_stray(current_code(p))) p->pos++;
    if (at_end(p)) return nullptr;
    u16 c = current_code(p);
    i64 at = p->pos;
    switch (c) {
    case '{': {
        GlslStmt* s = new_stmt(gstmt_block, at);
        s->body = glsl_parse_block(a);
        return s;
    }
    case glsl_kw_if: {
        GlslStmt* s = new_stmt(gstmt_if, at);
        parse_if(a, s);
        return s;
    }
    case glsl_kw_switch:
    case glsl_kw_while: {
        GlslStmt* s = new_stmt(c == glsl_kw_switch ? gstmt_switch : gstmt_while, p->pos++);
        s->expr = parse_condition(a);
        s->body = glsl_parse_block(a);
        return s;
    }
    case glsl_kw_do: {
        GlslStmt* s = new_stmt(gstmt_do, p->pos++);
        s->body = glsl_parse_block(a);
        if (expect_token(p, glsl_kw_while)) s->expr = parse_condition(a);
        expect_token(p, ';');
        return s;
    }
    case glsl_kw_for: {
        GlslStmt* s = new_stmt(gstmt_for, p->pos++);
        parse_for(a, s);
        return s;
    }
    case glsl_kw_case: {
        GlslStmt* s = new_stmt(gstmt_case, p->pos++);
        s->expr = glsl_parse_expression(a, 2);
        expect_token(p, ':');
        return s;
    }
    case glsl_kw_default:
        p->pos++;
        expect_token(p, ':');
        return new_stmt(gstmt_jump, at);
    case glsl_kw_break:
    case glsl_kw_continue:
        p->pos++;
        expect_token(p, ';');
        return new_stmt(gstmt_jump, at);
    case glsl_kw_return: {
        GlslStmt* s = new_stmt(gstmt_return, p->pos++);
        if (!at_code(p, ';')) s->expr = glsl_parse_expression(a, 0);
        expect_token(p, ';');
        return s;
    }
    default: return parse_simple_statement(a);
    }
}
}  // namespace

GlslStmt* glsl_parse_statement(GlslAnalysis* a) {
    ParseState* p = ps(a);
    if (!nesting_enter(p)) return nullptr;
    GlslStmt* s = parse_statement_inner(a);
    nesting_leave(p);
    return s;
}

GlslBlock* glsl_parse_block(GlslAnalysis* a) {
    BlockParse parsed;
    parse_block(ps(a), statement_hook, a, &parsed);
    GlslBlock* b = cpp_new<GlslBlock>();
    b->open = parsed.open;
    b->close = parsed.close;
    b->statements = Array<GlslStmt*>{(GlslStmt**)parsed.statements.data, parsed.statements.count,
                                     parsed.statements.capacity, pool_parser};
    return b;
}
