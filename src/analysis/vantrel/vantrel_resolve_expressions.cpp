// Resolution of expressions: names, member paths, calls with overload choice, operator
// procedures of struct operands. Every resolved name is coloured by its symbol's kind.
#include "analysis/call_extent.h"
#include "analysis/vantrel/vantrel_parser.h"
#include "analysis/vantrel/vantrel_semantic.h"
#include "syntax/keyword_lists.h"

namespace {
// Overload candidates examined per call.
constexpr i64 candidate_limit = 1024;

VValue unknown_value() {
    VValue v{};
    v.proc = -1;
    return v;
}

void add_cursor_range(VantrelAnalysis* a, i64 start, i64 end, i32 target, u8 is_call) {
    if (end < start) end = start;
    array_append(&a->result->cursor_ranges, CursorRange{(i32)start, (i32)end, target, is_call});
}

VType literal_type(u16 code) {
    switch (code) {
    case token_integer:
    case vantrel_kw_src_line: return VType{vtype_builtin, 0, 0, vantrel_kw_int};
    case token_real: return VType{vtype_builtin, 0, 0, vantrel_kw_real};
    case token_character: return VType{vtype_builtin, 0, 0, vantrel_kw_char};
    case token_string:
    case vantrel_kw_src_file:
    case vantrel_kw_src_proc: return VType{vtype_builtin, 0, 1, vantrel_kw_char};
    case vantrel_kw_true:
    case vantrel_kw_false: return VType{vtype_builtin, 0, 0, vantrel_kw_bool};
    default: return VType{};  // null fits any pointer
    }
}

VValue resolve_name(VantrelAnalysis* a, VExpr* e, i32 scope, u8 ns) {
    VValue v = unknown_value();
    const Symbol* s = vnt_lookup(a, scope, ns, vnt_token_text(a, e->token));
    if (!s) return v;
    vnt_colour(a, e->token, vantrel_colour_of_symbol(s->kind));
    vnt_note_use(a, e->token, s);
    u8 kind = s->kind;
    i32 value = s->value;
    v.type = vnt_type_of_symbol(a, s);
    if (kind >= symbol_struct && kind <= symbol_template_parameter) v.is_type = 1;
    if (kind == symbol_procedure) v.proc = value;
    return v;
}

VValue resolve_path(VantrelAnalysis* a, VExpr* e, i32 scope, u8 ns) {
    VValue current = vnt_resolve_expr(a, e->a, scope, ns);
    i64 pairs = e->tokens.count / 2;
    for (i64 i = 0; i < pairs; i++) {
        i64 dot = e->tokens[2 * i];
        i64 name = e->tokens[2 * i + 1];
        i32 members = vnt_member_scope(a, current.type);
        if (members >= 0 && vnt_token_in_document(a, dot)) {
            i64 start = vnt_token_offset(a, dot) + 1;
            i64 end = name >= 0 ? vnt_token_offset(a, name) + vnt_token_text(a, name).length : start;
            add_cursor_range(a, start, end, members, 0);
        }
        if (members < 0 || name < 0) return unknown_value();
        StringView text = vnt_token_text(a, name);
        const Symbol* s = lookup_symbol(a->result, vns_value, members, text);
        if (!s) s = lookup_symbol(a->result, vns_type, members, text);
        if (!s) return unknown_value();
        vnt_colour(a, name, vantrel_colour_of_symbol(s->kind));
        vnt_note_use(a, name, s);
        u8 kind = s->kind;
        i32 value = s->value;
        VType object = current.type;
        bool through_value = !current.is_type;
        current = unknown_value();
        current.type = vnt_type_of_symbol(a, s);
        if (kind == symbol_procedure) {
            // A procedure ends the path: it and its overloads are what the path denotes.
            current.proc = value;
            current.has_object = through_value;
            current.object = object;
            return current;
        }
        current.is_type = kind >= symbol_struct && kind <= symbol_template_parameter;
    }
    return current;
}

VValue resolve_call(VantrelAnalysis* a, VExpr* e, i32 scope, u8 ns) {
    VValue callee = vnt_resolve_expr(a, e->a, scope, ns);
    Array<VType> args{nullptr, 0, 0, pool_parser};
    if (callee.proc >= 0 && callee.has_object) array_append(&args, callee.object);
    for (VExpr* arg : e->list) {
        VType t{};
        if (arg) t = vnt_resolve_expr(a, arg, scope, vns_value).type;
        else t.category = vtype_empty_argument;
        array_append(&args, t);
    }
    VValue v = unknown_value();
    if (callee.proc >= 0) {
        i32 chosen = vnt_choose_overload(a, callee.proc, args.data, args.count, callee.has_object);
        v.type = vnt_return_type(a, chosen);
        if (vnt_token_in_document(a, e->open)) {
            i64 start = vnt_token_offset(a, e->open) + 1;
            i64 end = e->close >= 0 ? vnt_token_offset(a, e->close) : unclosed_call_end(a->p, e->open);
            add_cursor_range(a, start, end, chosen, 1);
        }
    } else if (callee.is_type) {
        v.type = callee.type;  // an instance of a template type
        v.is_type = 1;
    }
    return v;
}

bool is_comparison(u16 code) {
    return code == '<' || code == '>' || code == '=' || code == token_with_equal('!') || code == token_with_equal('<') ||
           code == token_with_equal('>') || code == token_doubled('&') || code == token_doubled('|');
}

// The struct member scope of an operand, -1 when it is no struct value.
i32 operand_struct_scope(VantrelAnalysis* a, VType t) {
    VType e = vnt_expand(a, t);
    if (e.category != vtype_struct || e.pointers != 0) return -1;
    return vnt_member_scope(a, e);
}

VValue resolve_chain(VantrelAnalysis* a, VExpr* e, i32 scope) {
    VType left = e->list.count > 0 ? vnt_resolve_expr(a, e->list[0], scope, vns_value).type : VType{};
    for (i64 i = 1; i < e->list.count; i++) {
        VType right = vnt_resolve_expr(a, e->list[i], scope, vns_value).type;
        u16 code = i - 1 < e->tokens.count ? token_at(a->p, e->tokens[i - 1]).code : 0;
        i32 members = operand_struct_scope(a, left);
        if (members < 0) members = operand_struct_scope(a, right);
        if (members >= 0) {
            StringView text = vnt_operator_text(code);
            const Symbol* s = text.length ? lookup_symbol(a->result, vns_value, members, text) : nullptr;
            if (!s || s->kind != symbol_procedure) s = text.length ? lookup_symbol(a->result, vns_value, 0, text) : nullptr;
            if (s && s->kind == symbol_procedure) {
                VType operands[2] = {left, right};
                i32 chosen = vnt_choose_overload(a, s->value, operands, 2, true);
                left = vnt_return_type(a, chosen);
                continue;
            }
        }
        if (is_comparison(code)) left = VType{vtype_builtin, 0, 0, vantrel_kw_bool};
        else if (left.category == vtype_unknown) left = right;
    }
    VValue v = unknown_value();
    v.type = left;
    return v;
}

VValue resolve_index(VantrelAnalysis* a, VExpr* e, i32 scope, u8 ns) {
    VValue base = vnt_resolve_expr(a, e->a, scope, ns);
    VType index = vnt_resolve_expr(a, e->b, scope, vns_value).type;
    if (e->kind == vexpr_slice) {
        vnt_resolve_expr(a, e->c, scope, vns_value);
        return base;
    }
    VValue v = unknown_value();
    if (base.is_type) {  // an array type
        v = base;
        v.type.arrays = (u8)(v.type.arrays < 255 ? v.type.arrays + 1 : 255);
        return v;
    }
    i32 members = operand_struct_scope(a, base.type);
    if (members >= 0) {
        const Symbol* s = lookup_symbol(a->result, vns_value, members, SV("[]"));
        if (!s || s->kind != symbol_procedure) s = lookup_symbol(a->result, vns_value, 0, SV("[]"));
        if (s && s->kind == symbol_procedure) {
            VType operands[2] = {base.type, index};
            v.type = vnt_return_type(a, vnt_choose_overload(a, s->value, operands, 2, true));
            return v;
        }
    }
    v.type = base.type;
    if (v.type.arrays > 0) v.type.arrays--;
    else if (v.type.pointers > 0) v.type.pointers--;
    else v.type = VType{};
    return v;
}

// "^T(a = 1)": the member names are looked up among T's members.
VValue resolve_compound(VantrelAnalysis* a, VExpr* e, i32 scope) {
    VValue v = unknown_value();
    v.type = vnt_resolve_type(a, e->a, scope);
    i32 members = vnt_member_scope(a, v.type);
    for (i64 i = 0; i < e->tokens.count; i++) {
        if (members >= 0) {
            const Symbol* s = lookup_symbol(a->result, vns_value, members, vnt_token_text(a, e->tokens[i]));
            if (s) {
                vnt_colour(a, e->tokens[i], vantrel_colour_of_symbol(s->kind));
                vnt_note_use(a, e->tokens[i], s);
            }
        }
        if (i < e->list.count) vnt_resolve_expr(a, e->list[i], scope, vns_value);
    }
    return v;
}

VValue resolve_prefix(VantrelAnalysis* a, VExpr* e, i32 scope) {
    VValue v = vnt_resolve_expr(a, e->a, scope, vns_value);
    VValue out = unknown_value();
    out.type = v.type;
    if (e->kind == vexpr_keyword_op) {
        if (e->op == vantrel_kw_inline || e->op == vantrel_kw_no_inline) return v;
        out.type = VType{vtype_builtin, 0, 0, vantrel_kw_int};
    } else if (e->op == '&') {
        out.type.pointers = (u8)(out.type.pointers < 255 ? out.type.pointers + 1 : 255);
    } else if (e->op == '*') {
        if (out.type.pointers > 0) out.type.pointers--;
    } else if (e->op == '!') {
        out.type = VType{vtype_builtin, 0, 0, vantrel_kw_bool};
    }
    return out;
}

VValue resolve_node(VantrelAnalysis* a, VExpr* e, i32 scope, u8 ns) {
    VValue v = unknown_value();
    switch (e->kind) {
    case vexpr_name: return resolve_name(a, e, scope, ns);
    case vexpr_type_keyword:
        v.type = VType{vtype_builtin, 0, 0, (i32)token_at(a->p, e->token).code};
        v.is_type = 1;
        return v;
    case vexpr_literal: v.type = literal_type(token_at(a->p, e->token).code); return v;
    case vexpr_paren: return vnt_resolve_expr(a, e->a, scope, ns);
    case vexpr_array:
        for (i64 i = 0; i < e->list.count; i++) {
            VType t = vnt_resolve_expr(a, e->list[i], scope, vns_value).type;
            if (i == 0) v.type = t;
        }
        if (v.type.category != vtype_unknown && v.type.arrays < 255) v.type.arrays++;
        return v;
    case vexpr_proc_type:
        for (VExpr* t : e->list) vnt_resolve_type(a, t, scope);
        vnt_resolve_type(a, e->a, scope);
        v.type = VType{vtype_proc, 0, 0, -1};
        v.is_type = 1;
        return v;
    case vexpr_compound: return resolve_compound(a, e, scope);
    case vexpr_binary: return resolve_chain(a, e, scope);
    case vexpr_prefix:
    case vexpr_keyword_op: return resolve_prefix(a, e, scope);
    case vexpr_cast: {
        VType target = vnt_resolve_type(a, e->a, scope);
        VType operand = vnt_resolve_expr(a, e->b, scope, vns_value).type;
        v.type = e->a ? target : operand;
        return v;
    }
    case vexpr_take:
        vnt_resolve_expr(a, e->a, scope, vns_value);
        v.type = vnt_resolve_expr(a, e->b, scope, vns_value).type;
        return v;
    case vexpr_path: return resolve_path(a, e, scope, ns);
    case vexpr_index:
    case vexpr_slice: return resolve_index(a, e, scope, ns);
    case vexpr_call: return resolve_call(a, e, scope, ns);
    case vexpr_pointer:
        v = vnt_resolve_expr(a, e->a, scope, vns_type);
        v.type.pointers = (u8)(v.type.pointers < 255 ? v.type.pointers + 1 : 255);
        v.is_type = 1;
        v.proc = -1;
        return v;
    default: return v;
    }
}

// Parameter i of a candidate as the call sees it: "this" first for a method called on an
// object.
struct CandidateView {
    i32 proc;
    bool with_this;
    i64 count;
};

void parameter_at(VantrelAnalysis* a, const CandidateView& c, i64 i, VType* type, bool* has_default) {
    if (c.with_this && i == 0) {
        *type = vnt_var_type(a, a->procs[c.proc].this_var);
        *has_default = false;
        return;
    }
    i32 var = a->procs[c.proc].params[i - (c.with_this ? 1 : 0)];
    *type = vnt_var_type(a, var);
    *has_default = var >= 0 && var < a->vars.count && a->vars[var].init != nullptr;
}

bool arguments_fit(VantrelAnalysis* a, const CandidateView& c, const VType* args, i64 count, bool reversed) {
    if (count > c.count) return false;
    for (i64 i = 0; i < c.count; i++) {
        VType type{};
        bool has_default = false;
        parameter_at(a, c, i, &type, &has_default);
        if (i >= count) {
            if (!has_default) return false;
            continue;
        }
        const VType& arg = args[reversed ? count - 1 - i : i];
        if (arg.category == vtype_empty_argument) {
            if (!has_default) return false;
        } else if (!vnt_compatible(a, type, arg)) {
            return false;
        }
    }
    return true;
}

bool candidate_fits(VantrelAnalysis* a, i32 candidate, const VType* args, i64 count, bool with_object) {
    if (candidate < 0 || candidate >= a->procs.count) return false;
    const VProcRecord& record = a->procs[candidate];
    bool method = record.this_var >= 0;
    CandidateView view{candidate, method && with_object, record.params.count + (method && with_object ? 1 : 0)};
    if (count > view.count) return false;
    if (arguments_fit(a, view, args, count, false)) return true;
    bool symmetric = (a->procs[candidate].node->modifiers & vmod_symmetric) != 0;
    return symmetric && !method && arguments_fit(a, view, args, count, true);
}
}  // namespace

i32 vnt_choose_overload(VantrelAnalysis* a, i32 proc, const VType* args, i64 count, bool with_object) {
    AnalysisResult* r = a->result;
    if (proc < 0 || proc >= r->signatures.count) return proc;
    i64 candidates = r->signatures[proc].overloads.count;
    if (candidates == 0) return proc;
    for (i64 k = 0; k < candidates && k < candidate_limit; k++) {
        i32 candidate = r->signatures[proc].overloads[k];
        if (candidate_fits(a, candidate, args, count, with_object)) return candidate;
    }
    return r->signatures[proc].overloads[0];
}

VValue vnt_resolve_expr(VantrelAnalysis* a, VExpr* e, i32 scope, u8 ns) {
    if (!e || a->depth >= vnt_resolve_depth_limit) return unknown_value();
    a->depth++;
    VValue v = resolve_node(a, e, scope, ns);
    a->depth--;
    return v;
}
