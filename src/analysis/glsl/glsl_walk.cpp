// The bodies phase: each function body is walked statement by statement, blocks
// opening scopes, local declarations declared and resolved at once.
#include "analysis/glsl/glsl_semantic.h"

namespace {
ParseState* ps(GlslAnalysis* a) { return &a->p; }

i32 scope_now(GlslAnalysis* a) { return cfam_current_scope(&a->scope_stack); }

void walk_statements(GlslAnalysis* a, const Array<GlslStmt*>& statements) {
    for (GlslStmt* s : statements) glsl_walk_statement(a, s);
}

// A braced block gets a scope of its own; a single statement stands in the current one.
void walk_block(GlslAnalysis* a, GlslBlock* b) {
    if (!b) return;
    if (b->open >= 0) cfam_push_block_scope(ps(a), a->result, &a->scope_stack, b->open, b->close);
    walk_statements(a, b->statements);
    if (b->open >= 0) cfam_scope_pop(&a->scope_stack);
}
}  // namespace

void glsl_walk_statement(GlslAnalysis* a, GlslStmt* s) {
    if (!s || a->resolve_depth > 4 * max_nesting_depth) return;
    a->resolve_depth++;
    i32 scope = scope_now(a);
    switch (s->kind) {
    case gstmt_block: walk_block(a, s->body); break;
    case gstmt_expression:
    case gstmt_case:
    case gstmt_return: glsl_resolve_expression(a, s->expr, scope); break;
    case gstmt_declaration: glsl_declare_declaration(a, s->decl); break;
    case gstmt_item: glsl_declare_node(a, s->item); break;
    case gstmt_if:
        for (i64 i = 0; i < s->conditions.count; i++) {
            glsl_resolve_expression(a, s->conditions[i], scope);
            if (i < s->blocks.count) walk_block(a, s->blocks[i]);
        }
        walk_block(a, s->else_body);
        break;
    case gstmt_for:
        glsl_walk_statement(a, s->init);
        glsl_resolve_expression(a, s->expr, scope);
        glsl_resolve_expression(a, s->expr2, scope);
        walk_block(a, s->body);
        break;
    case gstmt_for_range:
        glsl_resolve_expression(a, s->expr, scope);
        glsl_declare_declaration(a, s->decl);
        walk_block(a, s->body);
        break;
    case gstmt_while:
    case gstmt_switch:
        glsl_resolve_expression(a, s->expr, scope);
        walk_block(a, s->body);
        break;
    case gstmt_do:
        walk_block(a, s->body);
        glsl_resolve_expression(a, s->expr, scope);
        break;
    default: break;
    }
    a->resolve_depth--;
}

void glsl_bodies_phase(GlslAnalysis* a) {
    a->bodies_phase = 1;
    for (i64 i = 0; i < a->functions.count; i++) {
        GlslFunctionRecord record = a->functions[i];
        cfam_begin_work_record(ps(a), &a->scope_stack, record.token, record.scope, scope_flag_body);
        if (record.node->body) walk_statements(a, record.node->body->statements);
    }
    a->bodies_phase = 0;
}
