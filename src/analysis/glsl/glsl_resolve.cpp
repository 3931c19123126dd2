// Resolution of expressions and types, the lazily resolved types of the work records,
// and the resolution passes that run before the function bodies.
#include "analysis/glsl/glsl_semantic.h"
#include "syntax/token_kinds.h"

namespace {
ParseState* ps(GlslAnalysis* a) { return &a->p; }

TypeInfo hook_variable_type(void* context, i32 index) { return glsl_variable_type((GlslAnalysis*)context, index); }

i32 hook_scope_of_record(void* context, u8 kind, i32 index) {
    GlslAnalysis* a = (GlslAnalysis*)context;
    if (kind == symbol_struct && index < a->structs.count) return a->structs[index].member_scope;
    return -1;
}

// Member access, indexes and calls, left to right. A name after "." is looked up only
// among the members of a struct type: swizzles of vectors find no scope and keep the
// lexer's colour.
TypeInfo resolve_chain(GlslAnalysis* a, GlslExpr* e, i32 scope) {
    TypeInfo t = glsl_resolve_expression(a, e->a, scope);
    for (i64 i = 0; i < e->post.count; i++) {
        const GlslPostfix post = e->post[i];
        switch (post.kind) {
        case gpost_member: {
            i32 members = member_scope(&a->resolve, t);
            if (members >= 0) {
                // From just after the "." to the end of the member name.
                const Token& op = token_at(ps(a), post.token);
                i64 start = op.offset + op.length;
                i64 end = post.name >= 0 ? token_at(ps(a), post.name).offset + token_at(ps(a), post.name).length : start;
                array_append(&a->result->cursor_ranges, CursorRange{(i32)start, (i32)end, members, 0});
            }
            t = members >= 0 && post.name >= 0 ? resolve_name_token(&a->resolve, members, post.name, false) : no_type;
            break;
        }
        case gpost_call:
            for (GlslExpr* arg : post.args) glsl_resolve_expression(a, arg, scope);
            if (t.kind == symbol_procedure) {
                if (post.close >= 0) {
                    i64 start = glsl_offset_of(a, post.token) + 1;
                    i64 end = glsl_offset_of(a, post.close);
                    array_append(&a->result->cursor_ranges, CursorRange{(i32)start, (i32)end, t.index, 1});
                }
                t = glsl_function_return_type(a, t.index);
            }
            break;
        case gpost_index:
            for (GlslExpr* arg : post.args) glsl_resolve_expression(a, arg, scope);
            break;
        default: break;
        }
    }
    return t;
}
}  // namespace

const u8 glsl_token_kind_of_symbol[symbol_kind_count] = {
    0,                       // none
    glsl_kind_struct,        // struct
    0, 0, 0, 0,              // enum, handle, alias, template parameter
    glsl_kind_proc,          // procedure
    glsl_kind_member_var,    // member variable
    glsl_kind_global_var,    // global variable
    glsl_kind_local_var,     // local variable
    glsl_kind_parameter_var, // parameter
    0, 0, 0,                 // namespace, using, typedef
    glsl_kind_type_keyword,  // built-in type
    glsl_kind_global_var,    // built-in variable
    glsl_kind_proc,          // built-in function
};

i64 glsl_offset_of(const GlslAnalysis* a, i64 token) { return token_at(&a->p, token).offset; }

void glsl_semantic_init(GlslAnalysis* a) {
    a->variables = cpp_array<GlslVariable>();
    a->functions = cpp_array<GlslFunctionRecord>();
    a->structs = cpp_array<GlslStructRecord>();
    scope_stack_reset(&a->scope_stack);
    a->bodies_phase = 0;
    a->declaring_rows = 0;
    a->resolve_depth = 0;
    ResolveContext* r = &a->resolve;
    r->p = &a->p;
    r->result = a->result;
    r->stack = &a->scope_stack;
    r->token_kind_of = glsl_token_kind_of_symbol;
    r->hooks = ResolveHooks{a, hook_variable_type, hook_scope_of_record, nullptr};
}

TypeInfo glsl_variable_type(GlslAnalysis* a, i32 index) {
    if (index < 0 || index >= a->variables.count) return no_type;
    GlslVariable v = a->variables[index];
    if (v.state != glsl_pending) return v.type;
    a->variables[index].state = glsl_busy;
    TypeInfo t = v.decl ? glsl_resolve_expression(a, v.decl->type, v.scope) : no_type;
    a->variables[index].type = t;
    a->variables[index].state = glsl_done;
    return t;
}

TypeInfo glsl_function_return_type(GlslAnalysis* a, i32 index) {
    if (index < 0 || index >= a->functions.count) return no_type;
    GlslFunctionRecord* f = &a->functions[index];
    if (f->state != glsl_pending) return f->return_type;
    f->state = glsl_busy;
    TypeInfo t = glsl_resolve_expression(a, f->node->return_type, f->scope);
    a->functions[index].return_type = t;
    a->functions[index].state = glsl_done;
    return t;
}

void glsl_resolve_declarator_parts(GlslAnalysis* a, GlslDeclaration* d, i32 scope) {
    for (const GlslLayoutItem& item : d->layout) glsl_resolve_expression(a, item.value, scope);
    for (GlslExpr* size : d->sizes) glsl_resolve_expression(a, size, scope);
    glsl_resolve_expression(a, d->init, scope);
}

TypeInfo glsl_resolve_expression(GlslAnalysis* a, GlslExpr* e, i32 scope) {
    if (!e || a->resolve_depth > 4 * max_nesting_depth) return no_type;
    a->resolve_depth++;
    TypeInfo t = no_type;
    switch (e->kind) {
    case gexpr_name: t = resolve_name_token(&a->resolve, scope, e->token, true); break;
    case gexpr_binary:
        for (i64 i = 0; i < e->list.count; i++) {
            TypeInfo operand = glsl_resolve_expression(a, e->list[i], scope);
            if (i == 0) t = operand;
        }
        break;
    case gexpr_conditional:
        glsl_resolve_expression(a, e->a, scope);
        t = glsl_resolve_expression(a, e->b, scope);
        glsl_resolve_expression(a, e->c, scope);
        break;
    case gexpr_prefix:
    case gexpr_paren: t = glsl_resolve_expression(a, e->a, scope); break;
    case gexpr_chain: t = resolve_chain(a, e, scope); break;
    default: break;
    }
    a->resolve_depth--;
    return t;
}

void glsl_resolve_passes(GlslAnalysis* a) {
    ScopeStack* stack = &a->scope_stack;
    for (i64 i = 0; i < a->variables.count; i++) {
        GlslVariable v = a->variables[i];
        begin_work_record(ps(a), stack, v.token, v.scope, scope_flag_body);
        glsl_variable_type(a, (i32)i);
        if (v.decl) glsl_resolve_declarator_parts(a, v.decl, v.scope);
    }
    for (i64 i = 0; i < a->functions.count; i++) {
        GlslFunctionRecord f = a->functions[i];
        begin_work_record(ps(a), stack, f.token, f.scope, scope_flag_body);
        glsl_function_return_type(a, (i32)i);
    }
}
