#pragma once
// The resolution walk over the expression shapes that C/C++ and GLSL share — names, flat
// operator runs, the conditional, prefix operators, parentheses and postfix chains —
// written once over each language's own expression records. A language passes a
// description L with:
//   types     Analysis (holding `resolve`, `result` and `resolve_depth`), Expr
//   kinds     expr_name, expr_binary, expr_conditional, expr_prefix, expr_paren,
//             expr_chain; post_member, post_call
//   steps     resolve(a, e, scope): the language's whole walk (for the parts);
//             own_expression(a, e, scope): the shapes only the language has;
//             names_member(post kind): the operation is followed by a member name;
//             member_access(a, type, op, name, note_range): that name looked up after a
//             value of the type (cfam_resolve_member_access, or the language's own);
//             in_document(a, token): ranges are noted only for the document's tokens;
//             return_type(a, function): the type a call of the function record gives
#include "analysis/c_family/resolve_helpers.h"

// A primary followed by its postfix operations, left to right: member names are looked
// up in the scope of the type before them, a call gives its function's return type, and
// the arguments of every operation are walked from `scope`.
template <typename L>
TypeInfo cfam_resolve_postfix_chain(typename L::Analysis* a, typename L::Expr* e, i32 scope) {
    TypeInfo t = L::resolve(a, e->a, scope);
    bool document = L::in_document(a, e->token);
    for (i64 i = 0; i < e->post.count; i++) {
        const auto post = e->post[i];
        if (L::names_member(post.kind)) {
            t = L::member_access(a, t, post.token, post.name, document && post.kind == L::post_member);
            continue;
        }
        for (typename L::Expr* arg : post.args) L::resolve(a, arg, scope);
        if (post.kind == L::post_call && t.kind == symbol_procedure) {
            if (document) cfam_note_call_range(&a->resolve, post.token, post.close, t.index);
            t = L::return_type(a, t.index);
        }
    }
    return t;
}

// Walks an expression from `scope`, colouring the names it resolves, and gives the type
// of the whole: a run of operators has the type of its first operand, a conditional that
// of its first branch.
template <typename L>
TypeInfo cfam_resolve_expression_shapes(typename L::Analysis* a, typename L::Expr* e, i32 scope) {
    if (!e || a->resolve_depth > 4 * max_nesting_depth) return no_type;
    a->resolve_depth++;
    TypeInfo t = no_type;
    switch (e->kind) {
    case L::expr_name: t = cfam_resolve_name_token(&a->resolve, scope, e->token, true); break;
    case L::expr_binary:
        for (i64 i = 0; i < e->list.count; i++) {
            TypeInfo operand = L::resolve(a, e->list[i], scope);
            if (i == 0) t = operand;
        }
        break;
    case L::expr_conditional:
        L::resolve(a, e->a, scope);
        t = L::resolve(a, e->b, scope);
        L::resolve(a, e->c, scope);
        break;
    case L::expr_prefix:
    case L::expr_paren: t = L::resolve(a, e->a, scope); break;
    case L::expr_chain: t = cfam_resolve_postfix_chain<L>(a, e, scope); break;
    default: t = L::own_expression(a, e, scope); break;
    }
    a->resolve_depth--;
    return t;
}
