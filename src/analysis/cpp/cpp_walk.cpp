// The bodies phase: each function body is walked statement by statement, blocks
// opening scopes, local declarations declared and resolved at once.
#include "analysis/cpp/cpp_semantic.h"
#include "analysis/name_sites.h"

namespace {
ParseState* ps(CppAnalysis* a) { return &a->p; }

i32 scope_now(CppAnalysis* a) { return cfam_current_scope(&a->scope_stack); }

void walk_statements(CppAnalysis* a, const Array<CppStmt*>& statements) {
    for (CppStmt* s : statements) cpp_walk_statement(a, s);
}

// A braced block gets a scope of its own; a single statement stands in the current one.
void walk_block(CppAnalysis* a, CppBlock* b) {
    if (!b) return;
    if (b->open >= 0) cfam_push_block_scope(ps(a), a->result, &a->scope_stack, b->open, b->close);
    walk_statements(a, b->statements);
    if (b->open >= 0) cfam_scope_pop(&a->scope_stack);
}

// The names of an init statement are locals of the enclosing block, as those of a "for".
void walk_condition(CppAnalysis* a, const CppCondition& c) {
    cpp_walk_statement(a, c.init);
    if (c.decl) cpp_declare_declaration(a, c.decl);
    cpp_resolve_expression(a, c.expr, scope_now(a));
}

void walk_function(CppAnalysis* a, i32 index) {
    CppFunctionRecord record = a->functions[index];
    CppFunction* f = record.node;
    cfam_begin_work_record(ps(a), &a->scope_stack, record.token, record.scope, scope_flag_body);
    a->current_function = index;
    // N::C::f: each qualifier in the scope of the one before; the class found lends its
    // members to the body.
    i32 class_scope = record.parent;
    if (f->qualifiers.count > 0) {
        TypeInfo t = no_type;
        for (i64 i = 0; i < f->qualifiers.count; i++) {
            if (i == 0) {
                t = cfam_resolve_name_token(&a->resolve, record.scope, f->qualifiers[i], true);
            } else {
                i32 members = cfam_member_scope(&a->resolve, t);
                t = members >= 0 ? cfam_resolve_name_token(&a->resolve, members, f->qualifiers[i], false) : no_type;
            }
        }
        i32 members = cfam_member_scope(&a->resolve, t);
        if (members >= 0) {
            // The definition is the member's: F2 and the uses see one function.
            join_declarations(a->result, lookup_symbol(a->result, 0, members, f->name_text),
                              lookup_symbol(a->result, 0, record.parent, f->name_text));
            cfam_import_scope(&a->resolve, t);
            class_scope = members;
            if (t.kind == symbol_struct) a->functions[index].this_type = t;
        }
    }
    for (const CppInitializer& init : f->initializers) {
        CppExpr* name = init.name;
        if (name && name->kind == cexpr_name) cfam_resolve_name_token(&a->resolve, class_scope, name->token, true);
        else cpp_resolve_expression(a, name, class_scope);
        for (CppExpr* arg : init.args) cpp_resolve_expression(a, arg, record.scope);
    }
    if (f->body) walk_statements(a, f->body->statements);
    a->current_function = -1;
}
}  // namespace

void cpp_walk_statement(CppAnalysis* a, CppStmt* s) {
    if (!s || a->resolve_depth > 4 * max_nesting_depth) return;
    a->resolve_depth++;
    i32 scope = scope_now(a);
    switch (s->kind) {
    case cstmt_block: walk_block(a, s->body); break;
    case cstmt_expression:
    case cstmt_case:
    case cstmt_return:
    case cstmt_delete: cpp_resolve_expression(a, s->expr, scope); break;
    case cstmt_declaration: cpp_declare_declaration(a, s->decl); break;
    case cstmt_item: cpp_declare_node(a, s->item); break;
    case cstmt_if:
        for (i64 i = 0; i < s->conditions.count; i++) {
            walk_condition(a, s->conditions[i]);
            if (i < s->blocks.count) walk_block(a, s->blocks[i]);
        }
        walk_block(a, s->else_body);
        break;
    case cstmt_for:
        cpp_walk_statement(a, s->init);
        cpp_resolve_expression(a, s->expr, scope);
        cpp_resolve_expression(a, s->expr2, scope);
        walk_block(a, s->body);
        break;
    case cstmt_for_range:
        cpp_declare_declaration(a, s->decl);
        cpp_resolve_expression(a, s->expr, scope);
        walk_block(a, s->body);
        break;
    case cstmt_while:
    case cstmt_switch:
        walk_condition(a, CppCondition{s->expr, s->decl, s->init});
        walk_block(a, s->body);
        break;
    case cstmt_do:
        walk_block(a, s->body);
        cpp_resolve_expression(a, s->expr, scope);
        break;
    case cstmt_try:
        walk_block(a, s->body);
        for (const CppCatch& clause : s->catches) {
            if (clause.decl) cpp_declare_declaration(a, clause.decl);
            walk_block(a, clause.body);
        }
        break;
    default: break;
    }
    a->resolve_depth--;
}

void cpp_walk_lambda(CppAnalysis* a, CppLambda* lambda, i32 scope) {
    if (!lambda) return;
    i32 start = 0, end = 0;
    i64 token = lambda->body ? lambda->body->open : -1;
    if (token >= 0) {
        start = (i32)cpp_offset_of(a, token);
        end = lambda->body->close >= 0 ? (i32)cpp_offset_of(a, lambda->body->close) : start;
    }
    i32 own = (i32)open_scope(a->result, (u32)scope, cpp_file_path_of(a, token), start, end);
    u8 phase = a->bodies_phase;
    a->bodies_phase = 1;  // its parameters and locals are resolved as they are declared
    cfam_scope_push(&a->scope_stack, own, scope_flag_parameters);
    for (const CppParam& param : lambda->params) {
        if (param.decl) cpp_declare_declaration(a, param.decl);
        else cpp_resolve_expression(a, param.expr, own);
    }
    cfam_scope_pop(&a->scope_stack);
    cpp_resolve_type(a, lambda->trailing_return, own);
    cfam_scope_push(&a->scope_stack, own, scope_flag_body);
    if (lambda->body) walk_statements(a, lambda->body->statements);
    cfam_scope_pop(&a->scope_stack);
    a->bodies_phase = phase;
}

void cpp_bodies_phase(CppAnalysis* a) {
    a->bodies_phase = 1;
    // Functions of structs declared inside bodies are appended meanwhile and walked too.
    for (i64 i = 0; i < a->functions.count; i++) walk_function(a, (i32)i);
    a->bodies_phase = 0;
}
