// Resolution of expressions and types, the lazily resolved types of the work records,
// and the resolution passes that run before the function bodies.
#include "analysis/c_family/expression_walk.h"
#include "analysis/cpp/cpp_semantic.h"
#include "syntax/keyword_lists.h"
#include "syntax/token_kinds.h"

namespace {
ParseState* ps(CppAnalysis* a) { return &a->p; }

TypeInfo hook_variable_type(void* context, i32 index) { return cpp_variable_type((CppAnalysis*)context, index); }

i32 hook_scope_of_record(void* context, u8 kind, i32 index) {
    CppAnalysis* a = (CppAnalysis*)context;
    switch (kind) {
    case symbol_struct: return index < a->structs.count ? a->structs[index].member_scope : -1;
    case symbol_namespace: return index < a->namespaces.count ? a->namespaces[index].scope : -1;
    case symbol_enum: return index < a->enums.count ? a->enums[index].enumerator_scope : -1;
    default: return -1;
    }
}

TypeInfo hook_alias_target(void* context, u8 kind, i32 index) {
    CppAnalysis* a = (CppAnalysis*)context;
    return kind == symbol_typedef ? cpp_typedef_target(a, index) : cpp_using_target(a, index);
}

// The shapes only C/C++ has: "this", type runs, casts, keyword operators, braced lists
// and lambdas.
TypeInfo resolve_cpp_only_expression(CppAnalysis* a, CppExpr* e, i32 scope) {
    switch (e->kind) {
    case cexpr_this:
        if (a->current_function >= 0 && a->current_function < a->functions.count)
            return a->functions[a->current_function].this_type;
        return no_type;
    case cexpr_type: return cpp_resolve_expression(a, e->a, scope);
    case cexpr_cast: {
        TypeInfo t = cpp_resolve_expression(a, e->a, scope);
        cpp_resolve_expression(a, e->b, scope);
        return t;
    }
    case cexpr_keyword_op: {
        TypeInfo operand = cpp_resolve_expression(a, e->a, scope);
        for (CppExpr* item : e->list) cpp_resolve_expression(a, item, scope);
        return (e->op & ~cexpr_pointer_marks) == cpp_kw_new ? operand : no_type;
    }
    case cexpr_braced:
        for (CppExpr* item : e->list) cpp_resolve_expression(a, item, scope);
        return no_type;
    case cexpr_lambda: cpp_walk_lambda(a, e->lambda, scope); return no_type;
    case cexpr_designator: cpp_resolve_expression(a, e->a, scope); return no_type;
    default: return no_type;
    }
}

// The C/C++ side of the shared expression walk (c_family/expression_walk.h).
struct CppExpressions {
    using Analysis = CppAnalysis;
    using Expr = CppExpr;
    static constexpr u8 expr_name = cexpr_name, expr_binary = cexpr_binary, expr_conditional = cexpr_conditional,
                        expr_prefix = cexpr_prefix, expr_paren = cexpr_paren, expr_chain = cexpr_chain,
                        post_member = cpost_member, post_call = cpost_call;
    static TypeInfo resolve(CppAnalysis* a, CppExpr* e, i32 scope) { return cpp_resolve_expression(a, e, scope); }
    static TypeInfo own_expression(CppAnalysis* a, CppExpr* e, i32 scope) {
        return resolve_cpp_only_expression(a, e, scope);
    }
    static bool names_member(u8 kind) { return kind == cpost_member || kind == cpost_scope; }
    static TypeInfo member_access(CppAnalysis* a, TypeInfo t, i64 op, i64 name, bool note_range) {
        return cfam_resolve_member_access(&a->resolve, t, op, name, note_range);
    }
    static bool in_document(const CppAnalysis* a, i64 token) { return cpp_in_document(a, token); }
    static TypeInfo return_type(CppAnalysis* a, i32 function) { return cpp_function_return_type(a, function); }
};

// "A::B::name" of a definition outside its class: each part in the scope of the one before.
TypeInfo resolve_qualified(CppAnalysis* a, const Array<i64>& qualifiers, i64 name, i32 scope) {
    TypeInfo t = no_type;
    for (i64 i = 0; i <= qualifiers.count; i++) {
        i64 token = i < qualifiers.count ? qualifiers[i] : name;
        if (token < 0) break;
        if (i == 0) {
            t = cfam_resolve_name_token(&a->resolve, scope, token, true);
        } else {
            i32 members = cfam_member_scope(&a->resolve, t);
            t = members >= 0 ? cfam_resolve_name_token(&a->resolve, members, token, false) : no_type;
        }
    }
    return t;
}

void resolve_params(CppAnalysis* a, const Array<CppParam>& params, i32 scope) {
    for (const CppParam& param : params) {
        if (param.expr) cpp_resolve_expression(a, param.expr, scope);
        if (param.decl) {
            cpp_resolve_type(a, param.decl->type, scope);
            cpp_resolve_declarator_parts(a, param.decl, scope);
        }
    }
}
// Whether a braced list (or one nested in it) names members: ".x = 1".
bool holds_designator(const CppExpr* e, i32 depth) {
    if (depth > 16) return false;
    for (const CppExpr* item : e->list) {
        if (item->kind == cexpr_designator) return true;
        if (item->kind == cexpr_braced && holds_designator(item, depth + 1)) return true;
    }
    return false;
}

// ".x = 1" in the initialiser of a variable of struct type names a member of it; an
// array's list holds one list per element; a member's own list names its members.
void name_designated_members(CppAnalysis* a, CppExpr* list, TypeInfo type, bool elements, i32 depth) {
    if (depth > 16) return;
    i32 members = cfam_member_scope(&a->resolve, type);
    if (members < 0) return;
    for (CppExpr* item : list->list) {
        if (elements) {
            if (item->kind == cexpr_braced) name_designated_members(a, item, type, false, depth + 1);
        } else if (item->kind == cexpr_designator) {
            TypeInfo member = cfam_resolve_name_token(&a->resolve, members, item->token, false);
            if (item->a && item->a->kind == cexpr_braced) name_designated_members(a, item->a, member, false, depth + 1);
        }
    }
}

// The work of the lazily resolved types (cfam_lazy_record_type). Enumerators and the names
// after a struct's "}" have no declaration: their type is preset.
TypeInfo declared_variable_type(CppAnalysis* a, const CppVariable& v) {
    return v.decl ? cpp_resolve_type(a, v.decl->type, v.scope) : v.type;
}

// A trailing return type wins; the leading "auto" is resolved all the same.
TypeInfo declared_return_type(CppAnalysis* a, const CppFunctionRecord& f) {
    CppExpr* type = f.node->trailing_return ? f.node->trailing_return : f.node->return_type;
    TypeInfo t = cpp_resolve_type(a, type, f.scope);
    if (f.node->trailing_return && f.node->return_type) cpp_resolve_type(a, f.node->return_type, f.scope);
    return t;
}

TypeInfo declared_typedef_target(CppAnalysis* a, const CppTypedefRecord& r) {
    if (!r.decl) return no_type;
    TypeInfo t = cpp_resolve_type(a, r.decl->type, r.scope);
    cpp_resolve_declarator_parts(a, r.decl, r.scope);
    return t;
}

TypeInfo declared_using_target(CppAnalysis* a, const CppUsingRecord& r) {
    return cpp_resolve_type(a, r.node->target, r.scope);
}
}  // namespace

const u8 cpp_token_kind_of_symbol[symbol_kind_count] = {
    0,                              // none
    cpp_kind_struct,                // struct
    cpp_kind_enum,                  // enum
    0,                              // handle
    0,                              // alias
    cpp_kind_template_expression,   // template parameter
    cpp_kind_proc,                  // procedure
    cpp_kind_member_var,            // member variable
    cpp_kind_global_var,            // global variable
    cpp_kind_local_var,             // local variable
    cpp_kind_parameter_var,         // parameter
    cpp_kind_namespace,             // namespace
    cpp_kind_using,                 // using
    cpp_kind_typedef,               // typedef
    0, 0, 0,                        // built-ins (GLSL)
};

bool cpp_in_document(const CppAnalysis* a, i64 token) {
    if (token < 0 || token >= a->p.tokens.count || a->p.files.count == 0) return false;
    return a->p.tokens[token].file == 0;
}

StringView cpp_file_path_of(const CppAnalysis* a, i64 token) {
    if (token < 0 || token >= a->p.tokens.count) return StringView{nullptr, 0};
    return path_of(&a->p, a->p.tokens[token]);
}

i64 cpp_offset_of(const CppAnalysis* a, i64 token) { return token_at(&a->p, token).offset; }

void cpp_semantic_init(CppAnalysis* a) {
    a->variables = cfam_array<CppVariable>();
    a->functions = cfam_array<CppFunctionRecord>();
    a->structs = cfam_array<CppStructRecord>();
    a->enums = cfam_array<CppEnumRecord>();
    a->typedefs = cfam_array<CppTypedefRecord>();
    a->usings = cfam_array<CppUsingRecord>();
    a->namespaces = cfam_array<CppNamespaceRecord>();
    cfam_scope_stack_reset(&a->scope_stack);
    a->bodies_phase = 0;
    a->declaring_rows = 0;
    a->current_function = -1;
    a->current_struct = -1;
    a->resolve_depth = 0;
    ResolveContext* r = &a->resolve;
    r->p = &a->p;
    r->result = a->result;
    r->stack = &a->scope_stack;
    r->token_kind_of = cpp_token_kind_of_symbol;
    r->hooks = ResolveHooks{a, hook_variable_type, hook_scope_of_record, hook_alias_target};
    cfam_enable_name_filter(r);
    // Uses are identifiers, well under one per two tokens in real code: with that room
    // the list never moves while the pass fills it.
    array_reserve_exact(&a->result->uses, a->p.tokens.count / 2 + 16);
}

TypeInfo cpp_variable_type(CppAnalysis* a, i32 index) {
    return cfam_lazy_record_type(a, &a->variables, index, &CppVariable::type, declared_variable_type);
}

TypeInfo cpp_function_return_type(CppAnalysis* a, i32 index) {
    return cfam_lazy_record_type(a, &a->functions, index, &CppFunctionRecord::return_type, declared_return_type);
}

TypeInfo cpp_typedef_target(CppAnalysis* a, i32 index) {
    return cfam_lazy_record_type(a, &a->typedefs, index, &CppTypedefRecord::target, declared_typedef_target);
}

TypeInfo cpp_using_target(CppAnalysis* a, i32 index) {
    return cfam_lazy_record_type(a, &a->usings, index, &CppUsingRecord::target, declared_using_target);
}

void cpp_resolve_declarator_parts(CppAnalysis* a, CppDeclaration* d, i32 scope) {
    if (d->qualifiers.count > 0) resolve_qualified(a, d->qualifiers, d->name, scope);
    for (CppExpr* size : d->sizes) cpp_resolve_expression(a, size, scope);
    resolve_params(a, d->params, scope);
    if (d->init && d->init->kind == cexpr_braced && holds_designator(d->init, 0))
        name_designated_members(a, d->init, cpp_resolve_type(a, d->type, scope), d->sizes.count > 0, 0);
    cpp_resolve_expression(a, d->init, scope);
}

TypeInfo cpp_resolve_expression(CppAnalysis* a, CppExpr* e, i32 scope) {
    return cfam_resolve_expression_shapes<CppExpressions>(a, e, scope);
}

void cpp_resolve_passes(CppAnalysis* a) {
    ScopeStack* stack = &a->scope_stack;
    // Records appended meanwhile (locals of lambdas in initialisers) are taken too.
    for (i64 i = 0; i < a->variables.count; i++) {
        CppVariable v = a->variables[i];
        cfam_begin_work_record(ps(a), stack, v.token, v.scope, scope_flag_body);
        cpp_variable_type(a, (i32)i);
        if (v.decl) cpp_resolve_declarator_parts(a, v.decl, v.scope);
    }
    for (i64 i = 0; i < a->structs.count; i++) {
        CppStructRecord s = a->structs[i];
        cfam_begin_work_record(ps(a), stack, s.token, s.scope, scope_flag_file);
        for (CppExpr* arg : s.node->template_args) cpp_resolve_expression(a, arg, s.scope);
        for (const CppTemplateParam& param : s.node->template_params) {
            cpp_resolve_type(a, param.type, s.member_scope);
            cpp_resolve_expression(a, param.value, s.member_scope);
        }
        // Members of the bases become visible through the derived struct.
        cfam_scope_push(stack, s.member_scope, scope_flag_member);
        for (CppExpr* base : s.node->bases) cfam_import_scope(&a->resolve, cpp_resolve_type(a, base, s.member_scope));
    }
    for (i64 i = 0; i < a->enums.count; i++) {
        CppEnumRecord e = a->enums[i];
        cfam_begin_work_record(ps(a), stack, e.token, e.scope, scope_flag_file);
        cpp_resolve_type(a, e.node->underlying, e.scope);
        for (const CppEnumerator& item : e.node->items) cpp_resolve_expression(a, item.value, e.enumerator_scope);
    }
    for (i64 i = 0; i < a->usings.count; i++) {
        CppUsingRecord u = a->usings[i];
        cfam_begin_work_record(ps(a), stack, u.token, u.scope, scope_flag_file);
        TypeInfo target = cpp_using_target(a, (i32)i);
        if (!u.node->is_concept) cfam_import_scope(&a->resolve, target);
    }
    for (i64 i = 0; i < a->typedefs.count; i++) {
        cfam_begin_work_record(ps(a), stack, a->typedefs[i].token, a->typedefs[i].scope, scope_flag_file);
        cpp_typedef_target(a, (i32)i);
    }
    for (i64 i = 0; i < a->functions.count; i++) {
        CppFunctionRecord f = a->functions[i];
        cfam_begin_work_record(ps(a), stack, f.token, f.scope, scope_flag_body);
        cpp_function_return_type(a, (i32)i);
        for (const CppTemplateParam& param : f.node->template_params) {
            cpp_resolve_type(a, param.type, f.scope);
            cpp_resolve_expression(a, param.value, f.scope);
        }
    }
}
