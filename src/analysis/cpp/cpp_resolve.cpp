// Resolution of expressions and types, the lazily resolved types of the work records,
// and the resolution passes that run before the function bodies.
#include "analysis/cpp/cpp_semantic.h"
#include "syntax/keyword_lists.h"
#include "syntax/token_kinds.h"

namespace {
ParseState* ps(CppAnalysis* a) { return &a->p; }

TypeInfo hook_variable_type(void* context, i32 index) { return variable_type((CppAnalysis*)context, index); }

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
    return kind == symbol_typedef ? typedef_target(a, index) : using_target(a, index);
}

// Member access, calls and the other postfix operations, left to right.
TypeInfo resolve_chain(CppAnalysis* a, CppExpr* e, i32 scope) {
    TypeInfo t = resolve_expression(a, e->a, scope);
    bool document = in_document(a, e->token);
    for (i64 i = 0; i < e->post.count; i++) {
        const CppPostfix post = e->post[i];
        switch (post.kind) {
        case cpost_member:
        case cpost_scope: {
            i32 members = member_scope(&a->resolve, t);
            if (document && post.kind == cpost_member && members >= 0) {
                // From just after the operator to the end of the member name.
                const Token& op = token_at(ps(a), post.token);
                i64 start = op.offset + op.length;
                i64 end = post.name >= 0 ? token_at(ps(a), post.name).offset + token_at(ps(a), post.name).length : start;
                array_append(&a->result->cursor_ranges, CursorRange{(i32)start, (i32)end, members, 0});
            }
            t = members >= 0 && post.name >= 0 ? resolve_name_token(&a->resolve, members, post.name, false) : no_type;
            break;
        }
        case cpost_call: {
            for (CppExpr* arg : post.args) resolve_expression(a, arg, scope);
            if (t.kind == symbol_procedure) {
                if (document && post.close >= 0) {
                    i64 start = offset_of(a, post.token) + 1;
                    i64 end = offset_of(a, post.close);
                    array_append(&a->result->cursor_ranges, CursorRange{(i32)start, (i32)end, t.index, 1});
                }
                t = function_return_type(a, t.index);
            }
            break;
        }
        case cpost_index:
        case cpost_template:
        case cpost_braced:
            for (CppExpr* arg : post.args) resolve_expression(a, arg, scope);
            break;
        default: break;
        }
    }
    return t;
}

// "A::B::name" of a definition outside its class: each part in the scope of the one before.
TypeInfo resolve_qualified(CppAnalysis* a, const Array<i64>& qualifiers, i64 name, i32 scope) {
    TypeInfo t = no_type;
    for (i64 i = 0; i <= qualifiers.count; i++) {
        i64 token = i < qualifiers.count ? qualifiers[i] : name;
        if (token < 0) break;
        if (i == 0) {
            t = resolve_name_token(&a->resolve, scope, token, true);
        } else {
            i32 members = member_scope(&a->resolve, t);
            t = members >= 0 ? resolve_name_token(&a->resolve, members, token, false) : no_type;
        }
    }
    return t;
}

void resolve_params(CppAnalysis* a, const Array<CppParam>& params, i32 scope) {
    for (const CppParam& param : params) {
        if (param.expr) resolve_expression(a, param.expr, scope);
        if (param.decl) {
            resolve_type(a, param.decl->type, scope);
            resolve_declarator_parts(a, param.decl, scope);
        }
    }
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

bool in_document(const CppAnalysis* a, i64 token) {
    if (token < 0 || token >= a->p.tokens.count || a->p.files.count == 0) return false;
    const Token& t = a->p.tokens[token];
    return t.source.data == a->p.files[0].path.data && t.source.length == a->p.files[0].path.length;
}

StringView file_path_of(const CppAnalysis* a, i64 token) {
    if (token < 0 || token >= a->p.tokens.count) return StringView{nullptr, 0};
    return a->p.tokens[token].source;
}

i64 offset_of(const CppAnalysis* a, i64 token) { return token_at(&a->p, token).offset; }

void cpp_semantic_init(CppAnalysis* a) {
    a->variables = cpp_array<CppVariable>();
    a->functions = cpp_array<CppFunctionRecord>();
    a->structs = cpp_array<CppStructRecord>();
    a->enums = cpp_array<CppEnumRecord>();
    a->typedefs = cpp_array<CppTypedefRecord>();
    a->usings = cpp_array<CppUsingRecord>();
    a->namespaces = cpp_array<CppNamespaceRecord>();
    scope_stack_reset(&a->scope_stack);
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
    enable_name_filter(r);
}

TypeInfo variable_type(CppAnalysis* a, i32 index) {
    if (index < 0 || index >= a->variables.count) return no_type;
    CppVariable v = a->variables[index];
    if (v.state != cpp_pending) return v.type;
    if (!v.decl) {
        a->variables[index].state = cpp_done;
        return v.type;
    }
    a->variables[index].state = cpp_busy;
    i64 file = switch_current_file(ps(a), v.token);
    TypeInfo t = resolve_type(a, v.decl->type, v.scope);
    ps(a)->current_file = file;
    a->variables[index].type = t;
    a->variables[index].state = cpp_done;
    return t;
}

TypeInfo function_return_type(CppAnalysis* a, i32 index) {
    if (index < 0 || index >= a->functions.count) return no_type;
    CppFunctionRecord* f = &a->functions[index];
    if (f->state != cpp_pending) return f->return_type;
    f->state = cpp_busy;
    CppExpr* type = f->node->trailing_return ? f->node->trailing_return : f->node->return_type;
    i64 file = switch_current_file(ps(a), f->token);
    i32 scope = f->scope;
    TypeInfo t = resolve_type(a, type, scope);
    if (f->node->trailing_return && f->node->return_type) resolve_type(a, f->node->return_type, scope);
    ps(a)->current_file = file;
    a->functions[index].return_type = t;
    a->functions[index].state = cpp_done;
    return t;
}

TypeInfo typedef_target(CppAnalysis* a, i32 index) {
    if (index < 0 || index >= a->typedefs.count) return no_type;
    CppTypedefRecord r = a->typedefs[index];
    if (r.state != cpp_pending) return r.target;
    a->typedefs[index].state = cpp_busy;
    i64 file = switch_current_file(ps(a), r.token);
    TypeInfo t = r.decl ? resolve_type(a, r.decl->type, r.scope) : no_type;
    if (r.decl) resolve_declarator_parts(a, r.decl, r.scope);
    ps(a)->current_file = file;
    a->typedefs[index].target = t;
    a->typedefs[index].state = cpp_done;
    return t;
}

TypeInfo using_target(CppAnalysis* a, i32 index) {
    if (index < 0 || index >= a->usings.count) return no_type;
    CppUsingRecord r = a->usings[index];
    if (r.state != cpp_pending) return r.target;
    a->usings[index].state = cpp_busy;
    i64 file = switch_current_file(ps(a), r.token);
    TypeInfo t = resolve_type(a, r.node->target, r.scope);
    ps(a)->current_file = file;
    a->usings[index].target = t;
    a->usings[index].state = cpp_done;
    return t;
}

void resolve_declarator_parts(CppAnalysis* a, CppDeclaration* d, i32 scope) {
    if (d->qualifiers.count > 0) resolve_qualified(a, d->qualifiers, d->name, scope);
    for (CppExpr* size : d->sizes) resolve_expression(a, size, scope);
    resolve_params(a, d->params, scope);
    resolve_expression(a, d->init, scope);
}

TypeInfo resolve_expression(CppAnalysis* a, CppExpr* e, i32 scope) {
    if (!e || a->resolve_depth > 4 * max_nesting_depth) return no_type;
    a->resolve_depth++;
    TypeInfo t = no_type;
    switch (e->kind) {
    case cexpr_name: t = resolve_name_token(&a->resolve, scope, e->token, true); break;
    case cexpr_this:
        if (a->current_function >= 0 && a->current_function < a->functions.count)
            t = a->functions[a->current_function].this_type;
        break;
    case cexpr_type: t = resolve_expression(a, e->a, scope); break;
    case cexpr_binary:
        for (i64 i = 0; i < e->list.count; i++) {
            TypeInfo operand = resolve_expression(a, e->list[i], scope);
            if (i == 0) t = operand;
        }
        break;
    case cexpr_conditional:
        resolve_expression(a, e->a, scope);
        t = resolve_expression(a, e->b, scope);
        resolve_expression(a, e->c, scope);
        break;
    case cexpr_prefix:
    case cexpr_paren: t = resolve_expression(a, e->a, scope); break;
    case cexpr_cast:
        t = resolve_expression(a, e->a, scope);
        resolve_expression(a, e->b, scope);
        break;
    case cexpr_keyword_op: {
        TypeInfo operand = resolve_expression(a, e->a, scope);
        for (CppExpr* item : e->list) resolve_expression(a, item, scope);
        if ((e->op & ~cexpr_pointer_marks) == cpp_kw_new) t = operand;
        break;
    }
    case cexpr_braced:
        for (CppExpr* item : e->list) resolve_expression(a, item, scope);
        break;
    case cexpr_chain: t = resolve_chain(a, e, scope); break;
    case cexpr_lambda: walk_lambda(a, e->lambda, scope); break;
    default: break;
    }
    a->resolve_depth--;
    return t;
}

void cpp_resolve_passes(CppAnalysis* a) {
    ScopeStack* stack = &a->scope_stack;
    // Records appended meanwhile (locals of lambdas in initialisers) are taken too.
    for (i64 i = 0; i < a->variables.count; i++) {
        CppVariable v = a->variables[i];
        begin_work_record(ps(a), stack, v.token, v.scope, scope_flag_body);
        variable_type(a, (i32)i);
        if (v.decl) resolve_declarator_parts(a, v.decl, v.scope);
    }
    for (i64 i = 0; i < a->structs.count; i++) {
        CppStructRecord s = a->structs[i];
        begin_work_record(ps(a), stack, s.token, s.scope, scope_flag_file);
        for (CppExpr* arg : s.node->template_args) resolve_expression(a, arg, s.scope);
        for (const CppTemplateParam& param : s.node->template_params) {
            resolve_type(a, param.type, s.member_scope);
            resolve_expression(a, param.value, s.member_scope);
        }
        // Members of the bases become visible through the derived struct.
        scope_push(stack, s.member_scope, scope_flag_member);
        for (CppExpr* base : s.node->bases) import_scope(&a->resolve, resolve_type(a, base, s.member_scope));
    }
    for (i64 i = 0; i < a->enums.count; i++) {
        CppEnumRecord e = a->enums[i];
        begin_work_record(ps(a), stack, e.token, e.scope, scope_flag_file);
        resolve_type(a, e.node->underlying, e.scope);
        for (const CppEnumerator& item : e.node->items) resolve_expression(a, item.value, e.enumerator_scope);
    }
    for (i64 i = 0; i < a->usings.count; i++) {
        CppUsingRecord u = a->usings[i];
        begin_work_record(ps(a), stack, u.token, u.scope, scope_flag_file);
        import_scope(&a->resolve, using_target(a, (i32)i));
    }
    for (i64 i = 0; i < a->typedefs.count; i++) {
        begin_work_record(ps(a), stack, a->typedefs[i].token, a->typedefs[i].scope, scope_flag_file);
        typedef_target(a, (i32)i);
    }
    for (i64 i = 0; i < a->functions.count; i++) {
        CppFunctionRecord f = a->functions[i];
        begin_work_record(ps(a), stack, f.token, f.scope, scope_flag_body);
        function_return_type(a, (i32)i);
        for (const CppTemplateParam& param : f.node->template_params) {
            resolve_type(a, param.type, f.scope);
            resolve_expression(a, param.value, f.scope);
        }
    }
}
