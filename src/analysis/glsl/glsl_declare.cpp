// The declaration pass: symbols, scopes, work records, signatures and the outline rows
// of the document.
#include "analysis/name_sites.h"
#include "analysis/c_family/primitives.h"
#include "analysis/c_family/signatures.h"
#include "analysis/glsl/glsl_semantic.h"
#include "syntax/token_kinds.h"

namespace {
ParseState* ps(GlslAnalysis* a) { return &a->p; }

i32 line_of(const GlslAnalysis* a, i64 token) { return (i32)token_at(&a->p, token).line; }

StringView name_of(const GlslAnalysis* a, i64 token) { return cfam_text_of_token(&a->p, token); }

void add_row(GlslAnalysis* a, i64 token, u8 symbol_kind, u8 token_kind, StringView name, u8 group_start,
             u8 group_end) {
    if (!a->declaring_rows) return;
    add_outline_row(a->job, symbol_kind, token_kind, line_of(a, token), name, group_start, group_end);
}

void declare_members(GlslAnalysis* a, const Array<GlslNode*>& members) {
    for (GlslNode* member : members) glsl_declare_node(a, member);
}

// What tells a head from the other heads of its name (cfam_offer_overload): a definition,
// and then a head naming its parameters, is offered rather than a prototype.
HeadKey head_key(void* context, i32 index) {
    GlslAnalysis* a = (GlslAnalysis*)context;
    if (index < 0 || index >= a->functions.count) return HeadKey{};
    const GlslFunction* f = a->functions[index].node;
    return cfam_cached_head_key(&a->functions[index].head, [&] {
        Array<i64> names = cfam_array<i64>();
        bool named = true;
        for (const GlslDeclaration* param : f->params) {
            if (param && param->name >= 0) array_append(&names, param->name);
            else named = false;
        }
        return HeadKey{cfam_parameter_tokens(ps(a), f->name, f->head_end, names), 1, (named ? 2 : 0) + (f->body ? 1 : 0)};
    });
}

void declare_function(GlslAnalysis* a, GlslNode* node) {
    GlslFunction* f = node->function;
    i32 parent = cfam_current_scope(&a->scope_stack);
    i32 index = (i32)a->functions.count;
    StringView name = name_of(a, f->name);
    i32 start = 0, end = 0;
    if (f->body) cfam_brace_extent(ps(a), f->body->open, f->body->close, &start, &end);
    GlslFunctionRecord record{};
    record.token = node->token;
    record.node = f;
    record.parent = parent;
    StringView scope_name = cfam_function_scope_name(ps(a), f->body ? f->body->open : -1, name);
    record.scope = (i32)open_scope(a->result, (u32)parent, scope_name, start, end);
    array_append(&a->functions, record);
    array_append(&a->result->signatures, cfam_signature_of_head(ps(a), index, f->first, f->head_end));
    // A name taken already keeps its first entry (a built-in, or the prototype of this
    // function); a prototype and its definition offer one signature between them.
    Symbol* existing = declare_symbol_at_token(a->result, ps(a), symbol_procedure, 0, index, parent, name, f->name);
    if (existing && existing->kind == symbol_procedure && existing->value >= 0 &&
        existing->value < a->result->signatures.count && existing->value != index)
        cfam_offer_overload(ps(a), a->result, existing->value, index, head_key, a);
    add_row(a, node->token, symbol_procedure, glsl_kind_proc, name, 0, 0);
    cfam_scope_push(&a->scope_stack, record.scope, scope_flag_parameters);
    for (GlslDeclaration* param : f->params) glsl_declare_declaration(a, param);
    cfam_scope_pop(&a->scope_stack);
}

// An interface block's instance: a variable of the block's type.
void declare_instance(GlslAnalysis* a, GlslDeclaration* d, TypeInfo type) {
    i32 scope = cfam_current_scope(&a->scope_stack);
    u8 kind = cfam_variable_kind_for_flags(cfam_current_scope_flags(&a->scope_stack));
    i32 index = (i32)array_append(&a->variables, GlslVariable{d->name, d, scope, kind, type_done, type});
    cfam_declare_token(&a->resolve, kind, index, scope, d->name);
    if (kind == symbol_global || kind == symbol_member)
        add_row(a, d->name, kind, glsl_token_kind_of_symbol[kind], name_of(a, d->name), 0, 0);
}

void declare_struct(GlslAnalysis* a, GlslNode* node) {
    GlslStruct* s = node->structure;
    if (!s->has_body) {
        if (s->name >= 0) add_row(a, node->token, symbol_struct, glsl_kind_struct, name_of(a, s->name), 0, 0);
        return;
    }
    if (s->name < 0 || (s->is_block && !s->instance)) {
        // Its members belong to the enclosing scope; an unnamed struct's instances have
        // no type to look members up in.
        declare_members(a, s->members);
        for (GlslDeclaration* d = s->instance; d && !s->is_block; d = d->next) declare_instance(a, d, no_type);
        return;
    }
    i32 scope = cfam_current_scope(&a->scope_stack);
    i32 index = (i32)a->structs.count;
    StringView name = name_of(a, s->name);
    cfam_declare_token(&a->resolve, symbol_struct, index, scope, s->name);
    i32 start, end;
    cfam_brace_extent(ps(a), s->open, s->close, &start, &end);
    i32 members = (i32)open_scope(a->result, (u32)scope, name, start, end);
    array_append(&a->structs, GlslStructRecord{node->token, s, scope, members});
    add_row(a, node->token, symbol_struct, glsl_kind_struct, name, 1, 0);
    cfam_scope_push(&a->scope_stack, members, scope_flag_member);
    declare_members(a, s->members);
    cfam_scope_pop(&a->scope_stack);
    add_row(a, node->token, symbol_struct, glsl_kind_struct, StringView{nullptr, 0}, 0, 1);
    for (GlslDeclaration* d = s->instance; d; d = d->next) declare_instance(a, d, TypeInfo{symbol_struct, index});
}
}  // namespace

void glsl_declare_declaration(GlslAnalysis* a, GlslDeclaration* d) {
    i32 scope = cfam_current_scope(&a->scope_stack);
    u8 kind = cfam_variable_kind_for_flags(cfam_current_scope_flags(&a->scope_stack));
    for (; d; d = d->next) {
        bool named = d->name >= 0;
        i64 token = named ? d->name : d->first;
        i32 index = (i32)array_append(&a->variables,
                                      GlslVariable{token, d, scope, named ? kind : (u8)0, type_pending, no_type});
        if (named) {
            cfam_declare_token(&a->resolve, kind, index, scope, d->name);
            if (kind == symbol_global || kind == symbol_member)
                add_row(a, d->name, kind, glsl_token_kind_of_symbol[kind], name_of(a, d->name), 0, 0);
        }
        if (a->bodies_phase) {
            glsl_variable_type(a, index);
            glsl_resolve_declarator_parts(a, d, scope);
        }
    }
}

void glsl_declare_node(GlslAnalysis* a, GlslNode* node) {
    if (!node || a->resolve_depth > 4 * max_nesting_depth) return;
    a->resolve_depth++;
    switch (node->kind) {
    case glsl_node_variable: glsl_declare_declaration(a, node->variable); break;
    case glsl_node_function: declare_function(a, node); break;
    case glsl_node_struct: declare_struct(a, node); break;
    default: break;
    }
    a->resolve_depth--;
}

void glsl_declare_items(GlslAnalysis* a) {
    a->declaring_rows = 1;
    cfam_scope_stack_reset(&a->scope_stack);
    cfam_scope_push(&a->scope_stack, 0, scope_flag_file);
    for (GlslNode* node : a->top_level_items) glsl_declare_node(a, node);
    a->declaring_rows = 0;
}
