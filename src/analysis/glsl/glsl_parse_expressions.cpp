// Expressions and types of the GLSL parser: precedence climbing over ten two-operand
// levels, prefix operators, and primaries with their postfix chains.
#include "analysis/glsl/glsl_parser.h"
#include "analysis/token_classes.h"
#include "syntax/keyword_lists.h"

namespace {
ParseState* ps(GlslAnalysis* a) { return &a->p; }

// Two-operand level of an operator, -1 when the token is none. The logical operators
// share one level, and so do the bitwise ones.
i32 binary_level(u16 code) {
    if (is_assignment_operator(code)) return 1;
    switch (code) {
    case ',': return 0;
    case '?': return 2;
    case token_doubled('&'):
    case token_doubled('|'):
    case token_doubled('^'): return 3;
    case '&':
    case '|':
    case '^': return 4;
    case token_with_equal('='):
    case token_with_equal('!'): return 5;
    case '<':
    case '>':
    case token_with_equal('<'):
    case token_with_equal('>'): return 6;
    case token_doubled('<'):
    case token_doubled('>'): return 7;
    case '+':
    case '-': return 8;
    case '*':
    case '/':
    case '%': return 9;
    default: return -1;
    }
}

GlslExpr* new_expr(u8 kind, i64 token) {
    GlslExpr* e = cfam_new<GlslExpr>();
    e->kind = kind;
    e->token = token;
    e->list = cfam_array<GlslExpr*>();
    e->ops = cfam_array<i64>();
    e->post = cfam_array<GlslPostfix>();
    return e;
}

GlslPostfix* add_postfix(GlslExpr** e, u8 kind, i64 token) {
    if ((*e)->kind != gexpr_chain) {
        GlslExpr* chain = new_expr(gexpr_chain, (*e)->token);
        chain->a = *e;
        *e = chain;
    }
    GlslPostfix post{};
    post.kind = kind;
    post.token = token;
    post.name = -1;
    post.close = -1;
    post.args = cfam_array<GlslExpr*>();
    i64 at = array_append(&(*e)->post, post);
    return &(*e)->post[at];
}

GlslExpr* parse_parenthesised(GlslAnalysis* a) {
    ParseState* p = ps(a);
    if (!cfam_nesting_enter(p)) return nullptr;
    GlslExpr* e = new_expr(gexpr_paren, p->pos);
    p->pos++;
    e->a = glsl_parse_expression(a, 0);
    cfam_expect_token(p, ')');
    cfam_nesting_leave(p);
    return e;
}

GlslExpr* parse_primary(GlslAnalysis* a, bool type_mode) {
    ParseState* p = ps(a);
    if (at_end(p)) return nullptr;
    u16 c = current_code(p);
    i64 at = p->pos;
    if (c == token_identifier) {
        p->pos++;
        return new_expr(gexpr_name, at);
    }
    if (type_mode) return nullptr;
    switch (c) {
    case token_integer:
    case token_real:
    case token_string:
    case token_character:
    case glsl_kw_true:
    case glsl_kw_false: p->pos++; return new_expr(gexpr_literal, at);
    case '(': return parse_parenthesised(a);
    default: return nullptr;
    }
}

// "(" arguments ")" of a call: level-1 items separated by ",".
void parse_arguments(GlslAnalysis* a, GlslExpr* chain) {
    ParseState* p = ps(a);
    i64 index = chain->post.count - 1;
    p->pos++;  // "("
    Array<GlslExpr*> args = cfam_array<GlslExpr*>();
    if (cfam_nesting_enter(p)) {
        while (!cfam_at_code(p, ')')) {
            GlslExpr* item = glsl_parse_expression(a, 1);
            if (!item) break;
            array_append(&args, item);
            if (!cfam_accept_token(p, ',')) break;
        }
        cfam_nesting_leave(p);
    }
    // The chain's postfix list may have moved while the arguments were parsed.
    chain->post[index].args = args;
    if (cfam_expect_token(p, ')')) chain->post[index].close = p->pos - 1;
}

GlslExpr* parse_postfix(GlslAnalysis* a, bool type_mode) {
    ParseState* p = ps(a);
    GlslExpr* e = parse_primary(a, type_mode);
    if (!e) return nullptr;
    for (;;) {
        if (at_end(p)) break;
        u16 c = current_code(p);
        i64 at = p->pos;
        // No type has a member access: "p." typed above "p.x = 1;" is not a declaration
        // of p of type "p.".
        if (c == '.' && !type_mode) {
            p->pos++;
            GlslPostfix* post = add_postfix(&e, gpost_member, at);
            if (cfam_at_code(p, token_identifier) && !cfam_member_typed_above(p, at)) post->name = p->pos++;
            if (post->name < 0) break;
        } else if (c == '[') {
            add_postfix(&e, gpost_index, at);
            i64 index = e->post.count - 1;
            p->pos++;
            if (!cfam_at_code(p, ']') && cfam_nesting_enter(p)) {
                GlslExpr* size = glsl_parse_expression(a, 0);
                cfam_nesting_leave(p);
                if (size) array_append(&e->post[index].args, size);
            }
            if (cfam_expect_token(p, ']')) e->post[index].close = p->pos - 1;
        } else if (c == '(' && !type_mode) {
            add_postfix(&e, gpost_call, at);
            parse_arguments(a, e);
        } else if ((c == token_doubled('+') || c == token_doubled('-')) && !type_mode) {
            add_postfix(&e, gpost_increment, at);
            p->pos++;
        } else {
            break;
        }
    }
    return e;
}

bool is_prefix_operator(u16 c) {
    return c == '-' || c == token_doubled('-') || c == '!' || c == '~' || c == token_doubled('+');
}

GlslExpr* parse_prefix(GlslAnalysis* a) {
    ParseState* p = ps(a);
    u16 c = current_code(p);
    if (at_end(p) || !is_prefix_operator(c)) return parse_postfix(a, false);
    if (!cfam_nesting_enter(p)) return nullptr;
    GlslExpr* e = new_expr(gexpr_prefix, p->pos);
    e->op = c;
    p->pos++;
    e->a = parse_prefix(a);
    cfam_nesting_leave(p);
    if (!e->a) cfam_record_error(p);
    return e;
}

GlslExpr* parse_binary(GlslAnalysis* a, i32 min_level) {
    ParseState* p = ps(a);
    GlslExpr* lhs = parse_prefix(a);
    if (!lhs) return nullptr;
    for (;;) {
        if (at_end(p)) break;
        u16 c = current_code(p);
        i32 level = binary_level(c);
        if (level < 0 || level < min_level) break;
        if (level == 1 || level == 2) {
            // Right-associative: assignments and the conditional recurse for their right side.
            if (!cfam_nesting_enter(p)) break;
            GlslExpr* e = new_expr(level == 2 ? gexpr_conditional : gexpr_binary, lhs->token);
            e->op = c;
            p->pos++;
            if (level == 2) {
                e->a = lhs;
                e->b = glsl_parse_expression(a, 0);
                cfam_expect_token(p, ':');
                e->c = parse_binary(a, 2);
            } else {
                array_append(&e->list, lhs);
                array_append(&e->ops, p->pos - 1);
                GlslExpr* rhs = parse_binary(a, 1);
                if (rhs) array_append(&e->list, rhs);
                else cfam_record_error(p);
            }
            cfam_nesting_leave(p);
            lhs = e;
            continue;
        }
        // A left-associative run of one level is one flat list of operands.
        GlslExpr* e = new_expr(gexpr_binary, lhs->token);
        e->op = c;
        array_append(&e->list, lhs);
        while (!at_end(p) && binary_level(current_code(p)) == level) {
            array_append(&e->ops, p->pos);
            p->pos++;
            GlslExpr* rhs = parse_binary(a, level + 1);
            if (!rhs) {
                cfam_record_error(p);
                break;
            }
            array_append(&e->list, rhs);
        }
        lhs = e;
    }
    return lhs;
}
}  // namespace

GlslExpr* glsl_parse_expression(GlslAnalysis* a, i32 level) {
    if (level >= 12) return parse_primary(a, false);
    if (level == 11) return parse_postfix(a, false);
    if (level == 10) return parse_prefix(a);
    return parse_binary(a, level < 0 ? 0 : level);
}

GlslExpr* glsl_parse_type(GlslAnalysis* a) { return parse_postfix(a, true); }
