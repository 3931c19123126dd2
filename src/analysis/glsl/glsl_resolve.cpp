// Resolution of expressions and types, the lazily resolved types of the work records,
// and the resolution passes that run before the function bodies.
#include "analysis/c_family/expression_walk.h"
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

// The GLSL side of the shared expression walk (c_family/expression_walk.h). A name after "."
// is looked up among the members of a struct type; after a built-in type it is a swizzle
// of a vector's components, which keeps the lexer's colour. A GLSL pass sees only its
// document.
struct GlslExpressions {
    using Analysis = GlslAnalysis;
    using Expr = GlslExpr;
    static constexpr u8 expr_name = gexpr_name, expr_binary = gexpr_binary, expr_conditional = gexpr_conditional,
                        expr_prefix = gexpr_prefix, expr_paren = gexpr_paren, expr_chain = gexpr_chain,
                        post_member = gpost_member, post_call = gpost_call;
    static TypeInfo resolve(GlslAnalysis* a, GlslExpr* e, i32 scope) { return glsl_resolve_expression(a, e, scope); }
    static TypeInfo own_expression(GlslAnalysis*, GlslExpr*, i32) { return no_type; }
    static bool names_member(u8 kind) { return kind == gpost_member; }
    static TypeInfo member_access(GlslAnalysis* a, TypeInfo t, i64 op, i64 name, bool note_range) {
        if (t.kind == symbol_builtin_type) return glsl_builtin_member_access(a, t, op, name, note_range);
        return cfam_resolve_member_access(&a->resolve, t, op, name, note_range);
    }
    static bool in_document(const GlslAnalysis*, i64) { return true; }
    static TypeInfo return_type(GlslAnalysis* a, i32 function) { return glsl_function_return_type(a, function); }
};

// The work of the lazily resolved types (cfam_lazy_record_type).
TypeInfo declared_variable_type(GlslAnalysis* a, const GlslVariable& v) {
    return v.decl ? glsl_resolve_expression(a, v.decl->type, v.scope) : no_type;
}

TypeInfo declared_return_type(GlslAnalysis* a, const GlslFunctionRecord& f) {
    return glsl_resolve_expression(a, f.node->return_type, f.scope);
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
    a->variables = cfam_array<GlslVariable>();
    a->functions = cfam_array<GlslFunctionRecord>();
    a->structs = cfam_array<GlslStructRecord>();
    cfam_scope_stack_reset(&a->scope_stack);
    a->bodies_phase = 0;
    a->declaring_rows = 0;
    a->resolve_depth = 0;
    for (i32& scope : a->component_scopes) scope = 0;
    ResolveContext* r = &a->resolve;
    r->p = &a->p;
    r->result = a->result;
    r->stack = &a->scope_stack;
    r->token_kind_of = glsl_token_kind_of_symbol;
    r->hooks = ResolveHooks{a, hook_variable_type, hook_scope_of_record, nullptr};
}

TypeInfo glsl_variable_type(GlslAnalysis* a, i32 index) {
    return cfam_lazy_record_type(a, &a->variables, index, &GlslVariable::type, declared_variable_type);
}

TypeInfo glsl_function_return_type(GlslAnalysis* a, i32 index) {
    return cfam_lazy_record_type(a, &a->functions, index, &GlslFunctionRecord::return_type, declared_return_type);
}

void glsl_resolve_declarator_parts(GlslAnalysis* a, GlslDeclaration* d, i32 scope) {
    for (const GlslLayoutItem& item : d->layout) glsl_resolve_expression(a, item.value, scope);
    for (GlslExpr* size : d->sizes) glsl_resolve_expression(a, size, scope);
    glsl_resolve_expression(a, d->init, scope);
}

TypeInfo glsl_resolve_expression(GlslAnalysis* a, GlslExpr* e, i32 scope) {
    return cfam_resolve_expression_shapes<GlslExpressions>(a, e, scope);
}

void glsl_resolve_passes(GlslAnalysis* a) {
    ScopeStack* stack = &a->scope_stack;
    for (i64 i = 0; i < a->variables.count; i++) {
        GlslVariable v = a->variables[i];
        cfam_begin_work_record(ps(a), stack, v.token, v.scope, scope_flag_body);
        glsl_variable_type(a, (i32)i);
        if (v.decl) glsl_resolve_declarator_parts(a, v.decl, v.scope);
    }
    for (i64 i = 0; i < a->functions.count; i++) {
        GlslFunctionRecord f = a->functions[i];
        cfam_begin_work_record(ps(a), stack, f.token, f.scope, scope_flag_body);
        glsl_function_return_type(a, (i32)i);
    }
}
