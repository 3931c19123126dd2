#pragma once
// The statements that C/C++ and GLSL share — blocks, if / else-if chains, the loops,
// switch, case and default labels, break, continue, return, declaration and expression
// statements — written once over each language's own node records. A language passes a
// description L with:
//   types     Analysis (holding the ParseState `p`), Stmt, Block
//   keywords  kw_if, kw_else, kw_while, kw_do, kw_for, kw_switch, kw_case, kw_default,
//             kw_break, kw_continue, kw_return
//   kinds     stmt_block, stmt_expression, stmt_declaration, stmt_if, stmt_for,
//             stmt_for_range, stmt_while, stmt_do, stmt_switch, stmt_case, stmt_jump,
//             stmt_return
//   steps     new_statement(kind, token); expression(a, level); statement_declaration(a)
//             and for_declaration(a) (null, position kept, when none starts here);
//             if_condition(a) (after "if", the value kept in `conditions`);
//             loop_condition(a, s) (of while and switch); do_condition(a) (after the
//             "while" of do); own_statement(a, code): the language's other statements,
//             null to leave the token to the shared ones; stray_statement_token(a): the
//             current token starts no statement and is passed over
//   options   case_ranges: "case a ... b"; else_after_recovery: an "else" met while
//             recovering still continues the chain; body_after_failed_header: a block is
//             parsed even when its header already started recovery (else it is empty).
#include "analysis/c_family/block_loops.h"
#include "analysis/c_family/primitives.h"
#include "analysis/c_family/records.h"
#include "analysis/token_classes.h"

template <typename L>
typename L::Block* cfam_parse_statement_block(typename L::Analysis* a);

// return (and in C++ the statements of its form): an optional expression and ";".
template <typename L>
typename L::Stmt* cfam_parse_return_statement(typename L::Analysis* a) {
    ParseState* p = &a->p;
    typename L::Stmt* s = L::new_statement(L::stmt_return, p->pos++);
    if (!cfam_at_code(p, ';')) s->expr = L::expression(a, 0);
    cfam_expect_token(p, ';');
    return s;
}

// A declaration statement, else an expression statement; null when neither starts here.
template <typename L>
typename L::Stmt* cfam_parse_simple_statement(typename L::Analysis* a) {
    ParseState* p = &a->p;
    i64 at = p->pos;
    if (auto* d = L::statement_declaration(a)) {
        typename L::Stmt* s = L::new_statement(L::stmt_declaration, at);
        s->decl = d;
        cfam_expect_statement_end(p);
        return s;
    }
    auto* e = L::expression(a, 0);
    if (!e) return nullptr;
    typename L::Stmt* s = L::new_statement(L::stmt_expression, at);
    s->expr = e;
    cfam_expect_statement_end(p);
    return s;
}

// The header and body after "for": three parts, or a declaration ":" a range.
template <typename L>
void cfam_parse_for_statement(typename L::Analysis* a, typename L::Stmt* s) {
    ParseState* p = &a->p;
    if (!cfam_expect_token(p, '(')) return;
    if (!cfam_at_code(p, ';')) {
        auto* d = L::for_declaration(a);
        if (d && cfam_at_code(p, ':')) {
            s->kind = L::stmt_for_range;
            s->decl = d;
            p->pos++;
            s->expr = L::expression(a, 0);
            cfam_expect_token(p, ')');
            s->body = cfam_parse_statement_block<L>(a);
            return;
        }
        if (d) {
            s->init = L::new_statement(L::stmt_declaration, d->first);
            s->init->decl = d;
        } else if (auto* e = L::expression(a, 0)) {
            s->init = L::new_statement(L::stmt_expression, e->token);
            s->init->expr = e;
        }
    }
    cfam_expect_token(p, ';');
    if (!cfam_at_code(p, ';')) s->expr = L::expression(a, 0);
    cfam_expect_token(p, ';');
    if (!cfam_at_code(p, ')')) s->expr2 = L::expression(a, 0);
    cfam_expect_token(p, ')');
    s->body = cfam_parse_statement_block<L>(a);
}

// "if" with its "else if" arms and the final "else".
template <typename L>
void cfam_parse_if_statement(typename L::Analysis* a, typename L::Stmt* s) {
    ParseState* p = &a->p;
    p->pos++;  // "if"
    array_append(&s->conditions, L::if_condition(a));
    array_append(&s->blocks, cfam_parse_statement_block<L>(a));
    // "else if" arms are kept in one list, so a long chain needs no recursion.
    while ((L::else_after_recovery || cfam_going_on(p)) && cfam_at_code(p, L::kw_else)) {
        p->pos++;
        if (cfam_at_code(p, L::kw_if)) {
            p->pos++;
            array_append(&s->conditions, L::if_condition(a));
            array_append(&s->blocks, cfam_parse_statement_block<L>(a));
        } else {
            s->else_body = cfam_parse_statement_block<L>(a);
            break;
        }
    }
}

// One statement at `pos` after the stray tokens; null when none starts there.
template <typename L>
typename L::Stmt* cfam_parse_statement_here(typename L::Analysis* a) {
    using Stmt = typename L::Stmt;
    ParseState* p = &a->p;
    while (!at_end(p) && L::stray_statement_token(a)) p->pos++;
    if (at_end(p)) return nullptr;
    u16 c = current_code(p);
    i64 at = p->pos;
    if (Stmt* own = L::own_statement(a, c)) return own;
    switch (c) {
    case '{': {
        Stmt* s = L::new_statement(L::stmt_block, at);
        s->body = cfam_parse_statement_block<L>(a);
        return s;
    }
    case L::kw_if: {
        Stmt* s = L::new_statement(L::stmt_if, at);
        cfam_parse_if_statement<L>(a, s);
        return s;
    }
    case L::kw_switch:
    case L::kw_while: {
        Stmt* s = L::new_statement(c == L::kw_switch ? L::stmt_switch : L::stmt_while, p->pos++);
        L::loop_condition(a, s);
        s->body = cfam_parse_statement_block<L>(a);
        return s;
    }
    case L::kw_do: {
        Stmt* s = L::new_statement(L::stmt_do, p->pos++);
        s->body = cfam_parse_statement_block<L>(a);
        if (cfam_expect_token(p, L::kw_while)) s->expr = L::do_condition(a);
        cfam_expect_token(p, ';');
        return s;
    }
    case L::kw_for: {
        Stmt* s = L::new_statement(L::stmt_for, p->pos++);
        cfam_parse_for_statement<L>(a, s);
        return s;
    }
    case L::kw_case: {
        Stmt* s = L::new_statement(L::stmt_case, p->pos++);
        s->expr = L::expression(a, 2);
        if (L::case_ranges && cfam_accept_token(p, token_ellipsis)) L::expression(a, 2);  // case 'a' ... 'z'
        cfam_expect_token(p, ':');
        return s;
    }
    case L::kw_default:
        p->pos++;
        cfam_expect_token(p, ':');
        return L::new_statement(L::stmt_jump, at);
    case L::kw_break:
    case L::kw_continue:
        p->pos++;
        cfam_expect_token(p, ';');
        return L::new_statement(L::stmt_jump, at);
    case L::kw_return: return cfam_parse_return_statement<L>(a);
    default: return cfam_parse_simple_statement<L>(a);
    }
}

// A statement inside the nesting guard.
template <typename L>
typename L::Stmt* cfam_parse_nested_statement(typename L::Analysis* a) {
    ParseState* p = &a->p;
    if (!cfam_nesting_enter(p)) return nullptr;
    typename L::Stmt* s = cfam_parse_statement_here<L>(a);
    cfam_nesting_leave(p);
    return s;
}

template <typename L>
void* cfam_statement_hook(ParseState*, void* context) {
    return cfam_parse_nested_statement<L>((typename L::Analysis*)context);
}

// A braced statement list or a single statement (block_loops.h) as the language's block.
template <typename L>
typename L::Block* cfam_parse_statement_block(typename L::Analysis* a) {
    using Stmt = typename L::Stmt;
    typename L::Block* b = cfam_new<typename L::Block>();
    b->open = b->close = -1;
    b->statements = cfam_array<Stmt*>();
    if (!L::body_after_failed_header && !cfam_going_on(&a->p)) return b;
    BlockParse parsed;
    cfam_parse_block(&a->p, cfam_statement_hook<L>, a, &parsed);
    b->open = parsed.open;
    b->close = parsed.close;
    b->statements = Array<Stmt*>{(Stmt**)parsed.statements.data, parsed.statements.count,
                                 parsed.statements.capacity, pool_parser};
    return b;
}
