// Type records: the declared types of variables, return types, aliases, handles and
// enums, resolved on first use; expansion and the compatibility test of overload choice.
#include "analysis/vantrel/vantrel_semantic.h"

namespace {
// Aliases, handles and enums are expanded through at most this many steps.
constexpr int expansion_steps = 9;

u8 add_levels(u8 a, u8 b) { return (u8)(a + b > 255 ? 255 : a + b); }

// The type an alias, handle or enum stands for; unknown when it stands for nothing.
VType expansion_of(VantrelAnalysis* a, VType t) {
    switch (t.category) {
    case vtype_alias:
    case vtype_handle: {
        Array<VTypeRecord>* list = t.category == vtype_alias ? &a->aliases : &a->handles;
        if (t.target < 0 || t.target >= list->count) return VType{};
        VTypeRecord* record = &(*list)[t.target];
        if (record->state == vstate_done) return record->type;
        if (record->state == vstate_busy || !record->entry.type || !vnt_can_descend(a)) return VType{};
        record->state = vstate_busy;
        i32 scope = record->scope;
        VExpr* expr = record->entry.type;
        VType resolved = vnt_resolve_type(a, expr, scope);
        record = &(*list)[t.target];
        record->type = resolved;
        record->state = vstate_done;
        return resolved;
    }
    case vtype_enum: {
        if (t.target < 0 || t.target >= a->enums.count) return VType{};
        VEnumRecord* record = &a->enums[t.target];
        if (record->state == vstate_done) return record->underlying;
        if (record->state == vstate_busy || !record->node->underlying || !vnt_can_descend(a)) return VType{};
        record->state = vstate_busy;
        VType resolved = vnt_resolve_type(a, record->node->underlying, record->scope);
        record = &a->enums[t.target];
        record->underlying = resolved;
        record->state = vstate_done;
        return resolved;
    }
    default: return VType{};
    }
}

bool expandable(VType t) { return t.category == vtype_alias || t.category == vtype_handle || t.category == vtype_enum; }
}  // namespace

VType vnt_var_type(VantrelAnalysis* a, i32 var) {
    if (var < 0 || var >= a->vars.count) return VType{};
    VVar* v = &a->vars[var];
    if (v->state == vstate_done) return v->type;
    if (v->state == vstate_busy) return VType{};
    if (v->type_expr && !vnt_can_descend(a)) return VType{};
    if (!v->type_expr) {
        v->state = vstate_done;
        return v->type;
    }
    v->state = vstate_busy;
    VExpr* expr = v->type_expr;
    i32 scope = v->scope;
    VType t = vnt_resolve_type(a, expr, scope);
    v = &a->vars[var];  // the list may have grown meanwhile
    v->type = t;
    v->state = vstate_done;
    return t;
}

VType vnt_return_type(VantrelAnalysis* a, i32 proc) {
    if (proc < 0 || proc >= a->procs.count) return VType{};
    VProcRecord* record = &a->procs[proc];
    if (record->return_state == vstate_done) return record->return_type;
    if (record->return_state == vstate_busy || !record->node->return_type || !vnt_can_descend(a)) return VType{};
    record->return_state = vstate_busy;
    VType t = vnt_resolve_type(a, record->node->return_type, record->scope);
    record = &a->procs[proc];
    record->return_type = t;
    record->return_state = vstate_done;
    return t;
}

VType vnt_expand(VantrelAnalysis* a, VType t) {
    VType current = t;
    for (int step = 0; step < expansion_steps && expandable(current); step++) {
        VType next = expansion_of(a, current);
        if (next.category == vtype_unknown) return current;  // a handle or enum of its own
        next.arrays = add_levels(next.arrays, current.arrays);
        next.pointers = add_levels(next.pointers, current.pointers);
        current = next;
    }
    return expandable(current) && expansion_of(a, current).category != vtype_unknown ? t : current;
}

bool vnt_compatible(VantrelAnalysis* a, VType parameter, VType argument) {
    VType p = vnt_expand(a, parameter);
    VType q = vnt_expand(a, argument);
    // Unresolved types and template parameters fit anywhere.
    if (p.category == vtype_unknown || q.category == vtype_unknown) return true;
    if (p.category == vtype_template || q.category == vtype_template) return true;
    if (p.category != q.category) return false;
    bool targeted = p.category == vtype_struct || p.category == vtype_enum || p.category == vtype_handle ||
                    p.category == vtype_alias;
    if (targeted && p.target != q.target) return false;
    return p.pointers == q.pointers && p.arrays >= q.arrays;
}

i32 vnt_member_scope(VantrelAnalysis* a, VType t) {
    VType e = vnt_expand(a, t);
    if (e.category != vtype_struct || e.target < 0 || e.target >= a->structs.count) return -1;
    return a->structs[e.target].scope;
}

VType vnt_type_of_symbol(VantrelAnalysis* a, const Symbol* s) {
    if (!s) return VType{};
    switch (s->kind) {
    case symbol_struct: return VType{vtype_struct, 0, 0, s->value};
    case symbol_enum: return VType{vtype_enum, 0, 0, s->value};
    case symbol_handle: return VType{vtype_handle, 0, 0, s->value};
    case symbol_alias: return VType{vtype_alias, 0, 0, s->value};
    case symbol_template_parameter: return VType{vtype_template, 0, 0, s->value};
    case symbol_procedure: return VType{vtype_proc, 0, 0, s->value};
    case symbol_member:
    case symbol_global:
    case symbol_local:
    case symbol_parameter: return vnt_var_type(a, s->value);
    default: return VType{};
    }
}
