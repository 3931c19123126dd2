#include "analysis/c_family/resolve_helpers.h"

#include "analysis/call_extent.h"
#include "analysis/name_sites.h"

namespace {
u32 name_bit(u32 hash) { return hash & (u32)(declared_name_bits - 1); }
}  // namespace

void cfam_enable_name_filter(ResolveContext* r) {
    r->declared_names = (u64*)pool_alloc(pool_parser, declared_name_bits / 8);
    memset(r->declared_names, 0, declared_name_bits / 8);
}

void cfam_note_declared_name(ResolveContext* r, StringView name) {
    if (!r->declared_names) return;
    u32 bit = name_bit(fnv1a(name.data, name.length));
    r->declared_names[bit >> 6] |= (u64)1 << (bit & 63);
}

const Symbol* cfam_find_symbol(const ResolveContext* r, i32 scope, StringView name, bool allow_parent) {
    const Array<Scope>& scopes = r->result->scopes;
    if (scope < 0 || scope >= scopes.count || name.length <= 0) return nullptr;
    u32 hash = fnv1a(name.data, name.length);
    if (r->declared_names) {
        u32 bit = name_bit(hash);
        if (!(r->declared_names[bit >> 6] & ((u64)1 << (bit & 63)))) return nullptr;
    }
    u32 in_scope = scope_name_bit(hash);
    // Parents always come before their children, so the walk ends at the root; the
    // count only guards against a damaged list.
    for (i64 steps = 0; steps <= scopes.count; steps++) {
        // The root always looks: names can be declared there before its record exists.
        if (scope == 0 || (scopes[scope].name_bits & in_scope))
            if (const Symbol* s = symbolmap_find_hashed(&r->result->symbols, 0, scope, name, hash)) return s;
        if (!allow_parent || scope == 0) return nullptr;
        u32 parent = scopes[scope].parent;
        if ((i64)parent >= scopes.count || (i32)parent >= scope) parent = 0;
        scope = (i32)parent;
    }
    return nullptr;
}

TypeInfo cfam_type_of_symbol(ResolveContext* r, const Symbol* symbol) {
    if (!symbol) return no_type;
    switch (symbol->kind) {
    case symbol_member:
    case symbol_global:
    case symbol_local:
    case symbol_parameter:
        if (symbol->value < 0 || !r->hooks.variable_type) return no_type;
        return r->hooks.variable_type(r->hooks.context, symbol->value);
    case symbol_builtin_variable:  // value: 1 + the index of its built-in type, 0 untyped
        return symbol->value > 0 ? TypeInfo{symbol_builtin_type, symbol->value - 1} : no_type;
    default: return TypeInfo{symbol->kind, symbol->value};
    }
}

TypeInfo cfam_resolve_name_token(ResolveContext* r, i32 scope, i64 token, bool allow_parent) {
    if (token < 0 || token >= r->p->tokens.count) return no_type;
    const Token& t = r->p->tokens[token];
    if (t.code != token_identifier) return no_type;
    const Symbol* s = cfam_find_symbol(r, scope, text_of(r->p, t), allow_parent);
    if (!s) return no_type;
    u8 kind = s->kind < symbol_kind_count ? r->token_kind_of[s->kind] : 0;
    if (kind) colour_range(r->p, kind, t.offset, t.length);
    record_name_use(r->result, r->p, t, s);
    return cfam_type_of_symbol(r, s);
}

i32 cfam_member_scope(ResolveContext* r, TypeInfo type) {
    for (i32 step = 0; step <= alias_chain_limit; step++) {
        switch (type.kind) {
        case symbol_struct:
        case symbol_namespace:
        case symbol_enum: {
            if (!r->hooks.scope_of_record || type.index < 0) return -1;
            i32 s = r->hooks.scope_of_record(r->hooks.context, type.kind, type.index);
            return s >= 0 && s < r->result->scopes.count ? s : -1;
        }
        case symbol_typedef:
        case symbol_using:
            if (!r->hooks.alias_target || type.index < 0 || step == alias_chain_limit) return -1;
            type = r->hooks.alias_target(r->hooks.context, type.kind, type.index);
            break;
        default: return -1;
        }
    }
    return -1;
}

TypeInfo cfam_resolve_member_access(ResolveContext* r, TypeInfo type, i64 op, i64 name, bool note_range) {
    i32 members = cfam_member_scope(r, type);
    if (note_range && members >= 0) {
        const Token& op_token = token_at(r->p, op);
        i64 start = op_token.offset + op_token.length;
        i64 end = name >= 0 ? token_at(r->p, name).offset + token_at(r->p, name).length : start;
        array_append(&r->result->cursor_ranges, CursorRange{(i32)start, (i32)end, members, 0});
    }
    return members >= 0 && name >= 0 ? cfam_resolve_name_token(r, members, name, false) : no_type;
}

void cfam_note_call_range(ResolveContext* r, i64 open, i64 close, i32 function) {
    i64 start = token_at(r->p, open).offset + 1;
    i64 end = close >= 0 ? token_at(r->p, close).offset : unclosed_call_end(r->p, open);
    if (end < start) end = start;
    array_append(&r->result->cursor_ranges, CursorRange{(i32)start, (i32)end, function, 1});
}

void cfam_import_scope(ResolveContext* r, TypeInfo type) {
    i32 from = cfam_member_scope(r, type);
    i32 into = cfam_current_scope(r->stack);
    if (from < 0 || from == into) return;
    // Declaring appends to `into`'s members, never to `from`'s, so the loop is stable;
    // the count is read once in case both lists share storage.
    i64 count = r->result->scopes[from].members.count;
    for (i64 i = 0; i < count; i++) {
        Symbol s = r->result->scopes[from].members[i];
        declare_symbol(r->result, s.kind, 0, s.value, into, s.name, s.site);
    }
}

Symbol* cfam_declare_token(ResolveContext* r, u8 kind, i32 value, i32 scope, i64 token) {
    if (token < 0 || token >= r->p->tokens.count) return nullptr;
    const Token& t = r->p->tokens[token];
    if (t.code != token_identifier) return nullptr;
    u8 colour = kind < symbol_kind_count ? r->token_kind_of[kind] : 0;
    i64 file = r->p->current_file;
    bool current = file == t.file;
    if (colour && current) colour_range(r->p, colour, t.offset, t.length);
    else if (colour) colour_token(r->p, t, colour);
    StringView name = text_of(r->p, t);
    cfam_note_declared_name(r, name);
    return declare_symbol_at_token(r->result, r->p, kind, 0, value, scope, name, token);
}
