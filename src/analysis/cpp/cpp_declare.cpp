// The declaration pass: symbols, scopes, work records, signatures and the outline rows
// of the requested document.
#include "analysis/name_sites.h"
#include "analysis/c_family/primitives.h"
#include "analysis/c_family/signatures.h"
#include "analysis/cpp/cpp_semantic.h"
#include "syntax/token_kinds.h"

namespace {
ParseState* ps(CppAnalysis* a) { return &a->p; }

bool makes_rows(const CppAnalysis* a, i64 token) { return a->declaring_rows && cpp_in_document(a, token); }

i32 line_of(const CppAnalysis* a, i64 token) { return (i32)token_at(&a->p, token).line; }

void leaf_row(CppAnalysis* a, i64 token, u8 symbol_kind, u8 token_kind, StringView name) {
    if (!makes_rows(a, token)) return;
    add_outline_row(a->job, symbol_kind, token_kind, line_of(a, token), name, 0, 0);
}

void group_start_row(CppAnalysis* a, i64 token, u8 symbol_kind, u8 token_kind, StringView name) {
    if (!makes_rows(a, token)) return;
    add_outline_row(a->job, symbol_kind, token_kind, line_of(a, token), name, 1, 0);
}

void group_end_row(CppAnalysis* a, i64 token) {
    if (!makes_rows(a, token)) return;
    add_outline_row(a->job, symbol_struct, cpp_kind_struct, line_of(a, token), StringView{nullptr, 0}, 0, 1);
}

StringView name_of(const CppAnalysis* a, i64 token) { return cfam_text_of_token(&a->p, token); }

// The identifier a using declaration is known by: its alias, or the last name of its
// target ("using std::vector" gives "vector").
i64 last_name_token(const CppExpr* e) {
    for (i32 steps = 0; e && steps < 64; steps++) {
        if (e->kind == cexpr_name) return e->token;
        if (e->kind == cexpr_type) {
            e = e->a;
            continue;
        }
        if (e->kind != cexpr_chain) return -1;
        for (i64 i = e->post.count - 1; i >= 0; i--)
            if (e->post[i].name >= 0) return e->post[i].name;
        e = e->a;
    }
    return -1;
}

void declare_template_params(CppAnalysis* a, const Array<CppTemplateParam>& params, i32 scope) {
    for (const CppTemplateParam& param : params)
        if (param.name >= 0) cfam_declare_token(&a->resolve, symbol_template_parameter, -1, scope, param.name);
}

// Variables declared after a struct's or enum's "}" take that type; under typedef the
// names are typedefs of it.
void declare_trailing(CppAnalysis* a, CppDeclaration* d, bool is_typedef, i64 type_name, TypeInfo type) {
    i32 scope = cfam_current_scope(&a->scope_stack);
    for (; d; d = d->next) {
        if (d->name < 0 || d->name == type_name || d->qualifiers.count) continue;
        if (is_typedef) {
            i32 index = (i32)array_append(&a->typedefs, CppTypedefRecord{d->name, nullptr, scope, type_done, type});
            cfam_declare_token(&a->resolve, symbol_typedef, index, scope, d->name);
            leaf_row(a, d->name, symbol_typedef, cpp_kind_typedef, name_of(a, d->name));
            continue;
        }
        u8 kind = cfam_variable_kind_for_flags(cfam_current_scope_flags(&a->scope_stack));
        i32 index = (i32)array_append(&a->variables, CppVariable{d->name, nullptr, scope, kind, type_done, type});
        cfam_declare_token(&a->resolve, kind, index, scope, d->name);
        if (kind == symbol_global || kind == symbol_member)
            leaf_row(a, d->name, kind, a->resolve.token_kind_of[kind], name_of(a, d->name));
        if (a->bodies_phase) cpp_resolve_declarator_parts(a, d, scope);
    }
}

void declare_members(CppAnalysis* a, const Array<CppNode*>& members) {
    for (CppNode* member : members) cpp_declare_node(a, member);
}

// A head with neither a return type nor a body declares nothing when it is no
// constructor, destructor, operator or qualified name: it is a macro call
// ("DECLARE_THING(x);", "X(a) X(b)").
bool is_macro_call(const CppAnalysis* a, const CppFunction* f) {
    // Only a head that starts with its name: "PyAPI_FUNC(int) f(...)" has its return type
    // in the macro before it.
    if (f->macro_call && !f->macro_declared) return true;
    if (f->return_type || f->body || f->destructor || f->macro_declared || f->qualifiers.count > 0 || f->name < 0 ||
        f->name != f->first)
        return false;
    if (a->current_struct < 0) return true;
    i64 class_name = a->structs[a->current_struct].node->name;
    return class_name < 0 || !sv_equal(f->name_text, name_of(a, class_name));
}

// What tells a head from the other heads of its name (cfam_offer_overload): a definition,
// and then a head naming its parameters, is offered rather than a prototype.
HeadKey head_key(void* context, i32 index) {
    CppAnalysis* a = (CppAnalysis*)context;
    if (index < 0 || index >= a->functions.count) return HeadKey{};
    const CppFunction* f = a->functions[index].node;
    if (f->name < 0) return HeadKey{};  // an operator: its name holds brackets of its own
    return cfam_cached_head_key(&a->functions[index].head, [&] {
        Array<i64> names = cfam_array<i64>();
        bool named = true;
        for (const CppParam& param : f->params) {
            if (param.decl && param.decl->name >= 0) array_append(&names, (i64)param.decl->name);
            else named = false;
        }
        return HeadKey{cfam_parameter_tokens(ps(a), f->name, f->head_end, names), 1, (named ? 2 : 0) + (f->body ? 1 : 0)};
    });
}

void declare_function(CppAnalysis* a, CppNode* node) {
    CppFunction* f = node->function;
    if (is_macro_call(a, f)) return;
    i32 parent = cfam_current_scope(&a->scope_stack);
    i32 index = (i32)a->functions.count;
    CppFunctionRecord record{};
    record.token = node->token;
    record.node = f;
    record.parent = parent;
    record.overloads = Array<i32>{nullptr, 0, 0, pool_parser};
    array_append(&record.overloads, index);
    if (a->current_struct >= 0) record.this_type = TypeInfo{symbol_struct, a->current_struct};
    i32 start = 0, end = 0;
    if (f->body) cfam_brace_extent(ps(a), f->body->open, f->body->close, &start, &end);
    StringView scope_name = cfam_function_scope_name(ps(a), f->body ? f->body->open : -1, f->name_text);
    record.scope = (i32)open_scope(a->result, (u32)parent, scope_name, start, end);
    array_append(&a->functions, record);
    array_append(&a->result->signatures, cfam_signature_of_head(ps(a), index, f->first, f->head_end));
    // A constructor is not declared under the class's name: inside the class that name
    // keeps standing for the class ("pair(const pair&)").
    bool constructor = a->current_struct >= 0 && a->structs[a->current_struct].node->name >= 0 &&
                       sv_equal(f->name_text, name_of(a, a->structs[a->current_struct].node->name));
    if (f->name_text.length > 0 && !constructor) {
        cfam_note_declared_name(&a->resolve, f->name_text);
        Symbol* existing =
            declare_symbol_at_token(a->result, ps(a), symbol_procedure, 0, index, parent, f->name_text, f->name);
        // A prototype and its definition, or overloads: the first one offers them all,
        // each function's signature once.
        if (existing && existing->kind == symbol_procedure && existing->value >= 0 &&
            existing->value < a->functions.count && existing->value != index) {
            array_append(&a->functions[existing->value].overloads, index);
            cfam_offer_overload(ps(a), a->result, existing->value, index, head_key, a);
        }
    }
    // On the name's line: the head may start lines above it ("static int\nf(void)", or
    // a macro call without ";" taken in front of it).
    leaf_row(a, f->name >= 0 ? f->name : node->token, symbol_procedure, cpp_kind_proc, f->name_text);
    cfam_scope_push(&a->scope_stack, record.scope, scope_flag_parameters);
    declare_template_params(a, f->template_params, record.scope);
    for (const CppParam& param : f->params)
        if (param.decl) cpp_declare_declaration(a, param.decl);
    cfam_scope_pop(&a->scope_stack);
}

void declare_struct(CppAnalysis* a, CppNode* node) {
    CppStruct* s = node->structure;
    if (!s->has_body) {
        if (s->name >= 0) leaf_row(a, node->token, symbol_struct, cpp_kind_struct, name_of(a, s->name));
        return;
    }
    if (s->name < 0) {
        // An unnamed struct lends its members to the enclosing scope.
        declare_members(a, s->members);
        declare_trailing(a, s->trailing, s->is_typedef, -1, no_type);
        return;
    }
    i32 scope = cfam_current_scope(&a->scope_stack);
    i32 index = (i32)a->structs.count;
    cfam_declare_token(&a->resolve, symbol_struct, index, scope, s->name);
    i32 start, end;
    cfam_brace_extent(ps(a), s->open, s->close, &start, &end);
    i32 members = (i32)open_scope(a->result, (u32)scope, name_of(a, s->name), start, end);
    array_append(&a->structs, CppStructRecord{node->token, s, scope, members});
    group_start_row(a, node->token, symbol_struct, cpp_kind_struct, name_of(a, s->name));
    cfam_scope_push(&a->scope_stack, members, scope_flag_member);
    declare_template_params(a, s->template_params, members);
    i32 outer_struct = a->current_struct;
    a->current_struct = index;
    declare_members(a, s->members);
    a->current_struct = outer_struct;
    cfam_scope_pop(&a->scope_stack);
    group_end_row(a, node->token);
    if (a->bodies_phase) {
        // A struct inside a function body: its bases are resolved at once.
        for (CppExpr* base : s->bases) cpp_resolve_type(a, base, members);
    }
    declare_trailing(a, s->trailing, s->is_typedef, s->name, TypeInfo{symbol_struct, index});
}

void declare_enum(CppAnalysis* a, CppNode* node) {
    CppEnum* e = node->enumeration;
    i32 scope = cfam_current_scope(&a->scope_stack);
    i32 index = (i32)a->enums.count;
    if (e->name >= 0) cfam_declare_token(&a->resolve, symbol_enum, index, scope, e->name);
    i32 items = scope;
    if (e->scoped) {
        i32 start, end;
        cfam_brace_extent(ps(a), e->open, e->close, &start, &end);
        items = (i32)open_scope(a->result, (u32)scope, name_of(a, e->name), start, end);
    }
    array_append(&a->enums, CppEnumRecord{node->token, e, scope, items});
    if (e->name >= 0) leaf_row(a, node->token, symbol_enum, cpp_kind_enum, name_of(a, e->name));
    u8 kind = e->scoped ? symbol_member : symbol_global;
    for (const CppEnumerator& item : e->items) {
        i32 v = (i32)array_append(&a->variables,
                                  CppVariable{item.name, nullptr, items, kind, type_done, TypeInfo{symbol_enum, index}});
        cfam_declare_token(&a->resolve, kind, v, items, item.name);
    }
    if (a->bodies_phase) {
        cpp_resolve_type(a, e->underlying, scope);
        for (const CppEnumerator& item : e->items) cpp_resolve_expression(a, item.value, items);
    }
    declare_trailing(a, e->trailing, e->is_typedef, e->name, TypeInfo{symbol_enum, index});
}

void declare_namespace(CppAnalysis* a, CppNode* node) {
    CppNamespace* n = node->space;
    if (n->transparent || n->name < 0) {
        declare_members(a, n->members);
        return;
    }
    i32 scope = cfam_current_scope(&a->scope_stack);
    StringView name = name_of(a, n->name);
    i32 members = -1;
    // A namespace opened again adds to the scope of its first opening.
    const Symbol* existing = lookup_symbol(a->result, 0, scope, name);
    if (existing && existing->kind == symbol_namespace && existing->value >= 0 && existing->value < a->namespaces.count)
        members = a->namespaces[existing->value].scope;
    if (members < 0) {
        i32 start, end;
        cfam_brace_extent(ps(a), n->open, n->close, &start, &end);
        members = (i32)open_scope(a->result, (u32)scope, name, start, end);
    }
    i32 index = (i32)array_append(&a->namespaces, CppNamespaceRecord{node->token, n, members});
    cfam_declare_token(&a->resolve, symbol_namespace, index, scope, n->name);
    group_start_row(a, node->token, symbol_namespace, cpp_kind_namespace, name);
    cfam_scope_push(&a->scope_stack, members, scope_flag_file);
    declare_members(a, n->members);
    cfam_scope_pop(&a->scope_stack);
    group_end_row(a, node->token);
}

void declare_using(CppAnalysis* a, CppNode* node) {
    i32 scope = cfam_current_scope(&a->scope_stack);
    for (CppUsing* u = node->use; u; u = u->next) {
        i32 index = (i32)array_append(&a->usings, CppUsingRecord{node->token, u, scope, type_pending, no_type});
        i64 name = u->alias >= 0 ? u->alias : last_name_token(u->target);
        if (name >= 0 && !u->is_namespace) cfam_declare_token(&a->resolve, symbol_using, index, scope, name);
        if (name >= 0) leaf_row(a, node->token, symbol_using, cpp_kind_using, name_of(a, name));
        if (a->bodies_phase) {
            TypeInfo target = cpp_using_target(a, index);
            if (!u->is_concept) cfam_import_scope(&a->resolve, target);
        }
    }
}

void declare_typedef(CppAnalysis* a, CppNode* node) {
    i32 scope = cfam_current_scope(&a->scope_stack);
    if (!node->alias) return;
    for (CppDeclaration* d = node->alias->decl; d; d = d->next) {
        if (d->name < 0) continue;
        i32 index = (i32)array_append(&a->typedefs, CppTypedefRecord{d->name, d, scope, type_pending, no_type});
        cfam_declare_token(&a->resolve, symbol_typedef, index, scope, d->name);
        leaf_row(a, d->name, symbol_typedef, cpp_kind_typedef, name_of(a, d->name));
        if (a->bodies_phase) cpp_typedef_target(a, index);
    }
}
}  // namespace

void cpp_declare_declaration(CppAnalysis* a, CppDeclaration* d) {
    i32 scope = cfam_current_scope(&a->scope_stack);
    u8 kind = cfam_variable_kind_for_flags(cfam_current_scope_flags(&a->scope_stack));
    for (; d; d = d->next) {
        // "int C::count = 0" defines a member declared elsewhere: resolved, not declared.
        bool declared = d->name >= 0 && d->qualifiers.count == 0;
        i64 token = d->name >= 0 ? d->name : d->first;
        i32 index = (i32)array_append(&a->variables,
                                      CppVariable{token, d, scope, declared ? kind : (u8)0, type_pending, no_type});
        if (declared) {
            cfam_declare_token(&a->resolve, kind, index, scope, d->name);
            if (kind == symbol_global || kind == symbol_member)
                leaf_row(a, d->name, kind, a->resolve.token_kind_of[kind], name_of(a, d->name));
        }
        if (a->bodies_phase) {
            cpp_variable_type(a, index);
            cpp_resolve_declarator_parts(a, d, scope);
        }
    }
}

void cpp_declare_node(CppAnalysis* a, CppNode* node) {
    if (!node) return;
    if (a->resolve_depth > 4 * max_nesting_depth) return;
    a->resolve_depth++;
    cfam_switch_current_file(ps(a), node->token);
    switch (node->kind) {
    case cpp_node_variable: cpp_declare_declaration(a, node->variable); break;
    case cpp_node_function: declare_function(a, node); break;
    case cpp_node_struct: declare_struct(a, node); break;
    case cpp_node_enum: declare_enum(a, node); break;
    case cpp_node_namespace: declare_namespace(a, node); break;
    case cpp_node_using: declare_using(a, node); break;
    case cpp_node_typedef: declare_typedef(a, node); break;
    default: break;
    }
    a->resolve_depth--;
}

void cpp_declare_items(CppAnalysis* a) {
    a->declaring_rows = 1;
    cfam_scope_stack_reset(&a->scope_stack);
    cfam_scope_push(&a->scope_stack, 0, scope_flag_file);
    for (CppNode* node : a->top_level_items) cpp_declare_node(a, node);
    a->declaring_rows = 0;
}
