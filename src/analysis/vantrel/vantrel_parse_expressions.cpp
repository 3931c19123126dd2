// Expressions: four binary levels, the prefix level, primaries and postfix forms.
#include "analysis/vantrel/vantrel_parser.h"
#include "syntax/keyword_lists.h"
#include "syntax/token_kinds.h"

namespace {
bool is_level_op(u16 code, int level, u32 flags) {
    switch (level) {
    case 0: return code == '&' || code == '|' || code == '^' || code == token_doubled('&') || code == token_doubled('|');
    case 1:
        return code == '<' || code == '>' || (code == '=' && !(flags & vflag_no_equal)) || code == token_with_equal('!') ||
               code == token_with_equal('<') || code == token_with_equal('>');
    case 2: return code == '+' || code == '-';
    case 3:
        return (code == '*' && !(flags & vflag_condition)) || code == '/' || code == '%' || code == token_doubled('<') ||
               code == token_doubled('>');
    default: return false;
    }
}

bool is_operator_keyword(u16 code) {
    switch (code) {
    case vantrel_kw_size_of:
    case vantrel_kw_size_val:
    case vantrel_kw_size_arr:
    case vantrel_kw_align_of:
    case vantrel_kw_align_val:
    case vantrel_kw_length_of:
    case vantrel_kw_offset_of:
    case vantrel_kw_enum_min:
    case vantrel_kw_enum_max:
    case vantrel_kw_enum_size:
    case vantrel_kw_inline:
    case vantrel_kw_no_inline: return true;
    default: return false;
    }
}

bool is_literal(u16 code) {
    switch (code) {
    case token_integer:
    case token_real:
    case token_string:
    case token_character:
    case vantrel_kw_true:
    case vantrel_kw_false:
    case vantrel_kw_null:
    case vantrel_kw_src_file:
    case vantrel_kw_src_line:
    case vantrel_kw_src_proc: return true;
    default: return false;
    }
}

// Binary levels 0 to 3 as left-associative chains; level 4 is the prefix level.
VExpr* parse_level(ParseState* p, int level, u32 flags) {
    if (level >= 4) return vnt_parse_prefix(p, flags);
    VExpr* first = parse_level(p, level + 1, flags);
    if (!first || p->recovering || !is_level_op(current_code(p), level, flags)) return first;
    VExpr* chain = vnt_expr(p, vexpr_binary);
    chain->token = first->token;
    array_append(&chain->list, first);
    while (!p->recovering && is_level_op(current_code(p), level, flags)) {
        i64 op = p->pos++;
        VExpr* operand = parse_level(p, level + 1, flags);
        if (!operand) {
            vnt_record_error(p);
            break;
        }
        array_append(&chain->tokens, op);
        array_append(&chain->list, operand);
    }
    return chain;
}

// Expressions separated by ","; a "," directly before `close` ends the list. With
// `empty_entries` an entry may be left out (a defaulted call argument, null).
void parse_expression_list(ParseState* p, Array<VExpr*>* list, u16 close, bool empty_entries) {
    while (!p->recovering && current_code(p) != close) {
        if (empty_entries && current_code(p) == ',') {
            array_append(list, (VExpr*)nullptr);
            p->pos++;
            continue;
        }
        VExpr* e = vnt_parse_expression(p, 0);
        if (!e) {
            vnt_record_error(p);
            return;
        }
        array_append(list, e);
        if (current_code(p) != ',') return;
        p->pos++;
    }
}

// "proc" "(" parameter types ")" [return type]: a procedure type.
VExpr* parse_proc_type(ParseState* p) {
    VExpr* e = vnt_expr(p, vexpr_proc_type);
    p->pos++;
    if (!vnt_expect(p, '(')) return e;
    while (!p->recovering && current_code(p) != ')') {
        VExpr* t = vnt_parse_type(p);
        if (!t) {
            vnt_record_error(p);
            return e;
        }
        array_append(&e->list, t);
        if (current_code(p) == token_identifier) p->pos++;  // a parameter name
        if (current_code(p) != ',') break;
        p->pos++;
    }
    if (p->recovering || !vnt_expect(p, ')')) return e;
    u16 c = current_code(p);
    u16 after = next_code(p);
    bool has_return = vnt_is_type_keyword(c) || c == vantrel_kw_proc ||
                      (c == token_identifier &&
                       (after == token_identifier || after == '*' || after == '.' || after == vantrel_kw_using));
    if (has_return) e->a = vnt_parse_type(p);
    return e;
}

// "^" type ["(" member initialisers ")"]: a compound literal.
VExpr* parse_compound(ParseState* p) {
    VExpr* e = vnt_expr(p, vexpr_compound);
    p->pos++;
    if (current_code(p) == '(') {
        p->pos++;
        e->a = vnt_parse_type(p);
        if (!e->a) {
            vnt_record_error(p);
            return e;
        }
        if (!vnt_expect(p, ')')) return e;
    } else {
        e->a = vnt_parse_postfix(p, vflag_type | vflag_no_call);
        if (!e->a) {
            vnt_record_error(p);
            return e;
        }
    }
    if (p->recovering || current_code(p) != '(') return e;
    p->pos++;
    while (!p->recovering && current_code(p) != ')') {
        u16 c = current_code(p);
        if (c == ',' || c == ';') {
            p->pos++;
            continue;
        }
        if (c != token_identifier) {
            vnt_record_error(p);
            return e;
        }
        colour_current_token(p, vantrel_kind_member_var);
        array_append(&e->tokens, p->pos++);
        VExpr* value = nullptr;
        if (current_code(p) == '=') {
            p->pos++;
            value = vnt_parse_expression(p, 0);
            if (!value) {
                vnt_record_error(p);
                return e;
            }
        }
        array_append(&e->list, value);
    }
    if (!p->recovering) vnt_expect(p, ')');
    return e;
}

VExpr* parse_primary(ParseState* p) {
    u16 c = current_code(p);
    if (is_literal(c)) {
        VExpr* e = vnt_expr(p, vexpr_literal);
        p->pos++;
        return e;
    }
    if (c == token_identifier || vnt_is_type_keyword(c)) {
        VExpr* e = vnt_expr(p, c == token_identifier ? vexpr_name : vexpr_type_keyword);
        p->pos++;
        return e;
    }
    if (c == '(') {
        VExpr* e = vnt_expr(p, vexpr_paren);
        p->pos++;
        e->a = vnt_parse_expression(p, 0);
        if (!e->a) {
            vnt_record_error(p);
            return e;
        }
        vnt_expect(p, ')');
        return e;
    }
    if (c == '[') {
        VExpr* e = vnt_expr(p, vexpr_array);
        p->pos++;
        parse_expression_list(p, &e->list, ']', false);
        if (!p->recovering) vnt_expect(p, ']');
        return e;
    }
    if (c == vantrel_kw_proc) return parse_proc_type(p);
    if (c == '^') return parse_compound(p);
    return nullptr;
}

// Whether the "*" at pos makes a pointer type rather than a multiplication.
bool star_is_pointer(const ParseState* p, const VExpr* base, u32 flags) {
    if (flags & vflag_type) return true;
    if (base->kind == vexpr_type_keyword || base->kind == vexpr_pointer || base->kind == vexpr_proc_type) return true;
    i64 i = p->pos;
    while (i < p->tokens.count && p->tokens[i].code == '*') i++;
    return !vnt_can_begin_operand(token_at(p, i).code);
}

void parse_member_names(ParseState* p, VExpr* path) {
    while (!p->recovering && current_code(p) == '.') {
        array_append(&path->tokens, p->pos++);
        // "p." typed above "p.x = 1;": the name on the next line belongs to the next
        // statement, not to this path.
        bool typed_above = token_at(p, p->pos).line > token_at(p, p->pos - 1).line && next_code(p) == '.';
        if (current_code(p) == token_identifier && !typed_above) {
            array_append(&path->tokens, p->pos++);
        } else {
            // "v." while the member is being typed: keep the path so that the place can
            // offer completion; no recovery, the statement goes on.
            array_append(&path->tokens, (i64)-1);
            vnt_count_error(p);
            return;
        }
    }
}

VExpr* parse_call(ParseState* p, VExpr* callee) {
    VExpr* call = vnt_expr(p, vexpr_call);
    call->token = callee->token;
    call->a = callee;
    call->open = p->pos++;
    parse_expression_list(p, &call->list, ')', true);
    if (p->recovering) return call;
    if (vnt_expect(p, ')')) call->close = p->pos - 1;
    return call;
}

VExpr* parse_index(ParseState* p, VExpr* base) {
    VExpr* e = vnt_expr(p, vexpr_index);
    e->token = base->token;
    e->a = base;
    p->pos++;
    if (current_code(p) == ']') {
        p->pos++;
        return e;
    }
    e->b = vnt_parse_expression(p, 0);
    if (!e->b) {
        vnt_record_error(p);
        return e;
    }
    if (current_code(p) == token_doubled('.')) {
        e->kind = vexpr_slice;
        p->pos++;
        e->c = vnt_parse_expression(p, 0);
        if (!e->c) {
            vnt_record_error(p);
            return e;
        }
    }
    if (!p->recovering) vnt_expect(p, ']');
    return e;
}
}  // namespace

VExpr* vnt_parse_expression(ParseState* p, u32 flags) {
    if (!vnt_enter(p)) return nullptr;
    VExpr* e = parse_level(p, 0, flags);
    vnt_leave(p);
    return e;
}

VExpr* vnt_parse_prefix(ParseState* p, u32 flags) {
    if (!vnt_enter(p)) return nullptr;
    u16 c = current_code(p);
    VExpr* e = nullptr;
    if (c == '!' || c == '&' || c == '*' || c == '-' || is_operator_keyword(c)) {
        e = vnt_expr(p, is_operator_keyword(c) ? vexpr_keyword_op : vexpr_prefix);
        e->op = c;
        p->pos++;
        e->a = vnt_parse_prefix(p, flags);
        if (!e->a) vnt_record_error(p);
    } else if (c == vantrel_kw_cast || c == vantrel_kw_transmute) {
        e = vnt_expr(p, vexpr_cast);
        e->op = c;
        p->pos++;
        if (current_code(p) == '(') {
            p->pos++;
            e->a = vnt_parse_type(p);
            if (!e->a) vnt_record_error(p);
            else vnt_expect(p, ')');
        }
        if (!p->recovering) {
            e->b = vnt_parse_prefix(p, flags);
            if (!e->b) vnt_record_error(p);
        }
    } else if (c == vantrel_kw_take) {
        e = vnt_expr(p, vexpr_take);
        p->pos++;
        if (vnt_expect(p, '(')) {
            e->a = vnt_parse_expression(p, 0);
            if (!e->a) vnt_record_error(p);
            else vnt_expect(p, ')');
        }
        if (!p->recovering) {
            e->b = vnt_parse_prefix(p, flags);
            if (!e->b) vnt_record_error(p);
        }
    } else {
        e = vnt_parse_postfix(p, flags);
    }
    vnt_leave(p);
    return e;
}

VExpr* vnt_parse_postfix(ParseState* p, u32 flags) {
    if (!vnt_enter(p)) return nullptr;
    VExpr* e = parse_primary(p);
    while (e && !p->recovering) {
        u16 c = current_code(p);
        if (c == '.') {
            VExpr* path = e;
            if (e->kind != vexpr_path) {
                path = vnt_expr(p, vexpr_path);
                path->token = e->token;
                path->a = e;
            }
            parse_member_names(p, path);
            e = path;
        } else if (c == '[') {
            e = parse_index(p, e);
        } else if (c == '(' && !(flags & vflag_no_call)) {
            e = parse_call(p, e);
        } else if (c == '*' && star_is_pointer(p, e, flags)) {
            VExpr* pointer = vnt_expr(p, vexpr_pointer);
            pointer->token = e->token;
            pointer->a = e;
            p->pos++;
            e = pointer;
        } else {
            break;
        }
    }
    vnt_leave(p);
    return e;
}
