// Top-level items: structs and unions, enums, using/alias/handle lists, procedures and
// variable declarations; and the driver that parses the whole token list.
#include "analysis/token_classes.h"
#include "analysis/vantrel/vantrel_parser.h"
#include "syntax/keyword_lists.h"
#include "syntax/token_kinds.h"

namespace {
// A procedure's template list is told from its parameter list by looking this far at most.
constexpr i64 template_scan_limit = 4096;

// The shared stray tokens and vantrel's literal words and range and arrow operators.
bool is_stray_vantrel_item_token(u16 c) {
    return is_stray_item_token(c) || c == vantrel_kw_false || c == vantrel_kw_null || c == vantrel_kw_true ||
           c == token_doubled('.') || c == token_arrow;
}

VItem* new_item(ParseState* p, u8 kind) {
    VItem* item = vnt_new<VItem>();
    item->kind = kind;
    item->token = p->pos;
    item->usings.pool = item->entries.pool = pool_parser;
    return item;
}

// An optional string literal after "foreign" or "export".
void skip_optional_string(ParseState* p) {
    if (current_code(p) == token_string) p->pos++;
}

// "(" identifiers [= type] separated by "," ")".
Array<VTemplateParam> parse_template_params(ParseState* p) {
    Array<VTemplateParam> params = vnt_array<VTemplateParam>();
    if (!vnt_expect(p, '(')) return params;
    while (!p->recovering && current_code(p) != ')') {
        VTemplateParam param{};
        param.name = vnt_expect_identifier(p);
        if (param.name < 0) return params;
        colour_token(p, p->tokens[param.name], vantrel_kind_template_type);
        if (current_code(p) == '=') {
            p->pos++;
            param.default_type = vnt_parse_type(p);
            if (!param.default_type) {
                vnt_record_error(p);
                return params;
            }
        }
        array_append(&params, param);
        if (current_code(p) != ',') break;
        p->pos++;
    }
    if (!p->recovering) vnt_expect(p, ')');
    return params;
}

// Items between "{" and "}" of a struct, with the top-level recovery.
void parse_members(ParseState* p, Array<VItem*>* members) {
    u8 outer_in_block = p->in_block;
    p->in_block = 0;
    for (;;) {
        if (at_end(p)) break;
        u16 c = current_code(p);
        if (c == '}' || c == token_end) break;
        i64 before = p->pos;
        p->recovering = 0;
        p->block_abort = 0;
        VItem* item = vnt_parse_item(p);
        if (item) array_append(members, item);
        else if (!p->recovering && !at_end(p) && current_code(p) != '}' && current_code(p) != token_end)
            vnt_record_error(p);
        if (p->recovering) {
            p->pos = p->resume_pos;
            p->recovering = 0;
        }
        if (p->pos <= before && !at_end(p) && current_code(p) != '}' && current_code(p) != token_end) p->pos = before + 1;
    }
    p->in_block = outer_in_block;
}

VItem* parse_struct(ParseState* p) {
    VItem* item = new_item(p, vitem_struct);
    VStruct* s = vnt_new<VStruct>();
    item->record = s;
    s->is_union = current_code(p) == vantrel_kw_union;
    s->name = s->open = s->close = -1;
    s->template_params.pool = s->members.pool = pool_parser;
    p->pos++;
    if (current_code(p) == token_identifier) {
        s->name = p->pos;
        colour_current_token(p, vantrel_kind_struct);
        p->pos++;
        if (current_code(p) == '(') s->template_params = parse_template_params(p);
        if (p->recovering) return item;
    }
    if (!vnt_expect(p, '{')) return item;
    s->open = p->pos - 1;
    parse_members(p, &s->members);
    s->close = p->pos;
    if (!p->recovering) vnt_expect(p, '}');
    return item;
}

VItem* parse_enum(ParseState* p) {
    VItem* item = new_item(p, vitem_enum);
    VEnum* e = vnt_new<VEnum>();
    item->enumeration = e;
    e->members.pool = pool_parser;
    p->pos++;
    e->name = vnt_expect_identifier(p);
    if (e->name < 0) return item;
    colour_token(p, p->tokens[e->name], vantrel_kind_enum);
    if (current_code(p) != '{') {
        e->underlying = vnt_parse_type(p);
        if (!e->underlying) vnt_record_error(p);
        if (p->recovering) return item;
    }
    if (!vnt_expect(p, '{')) return item;
    while (!p->recovering) {
        u16 c = current_code(p);
        if (c == '}' || c == token_end) break;
        if (c == ',' || c == ';') {
            p->pos++;
            continue;
        }
        if (c != token_identifier) {
            vnt_record_error(p);
            return item;
        }
        VEnumMember member{p->pos, nullptr};
        colour_current_token(p, vantrel_kind_global_var);
        p->pos++;
        if (current_code(p) == '=') {
            p->pos++;
            member.value = vnt_parse_expression(p, 0);
            if (!member.value) vnt_record_error(p);
        }
        array_append(&e->members, member);
    }
    if (!p->recovering) vnt_expect(p, '}');
    return item;
}

// "alias" / "handle" entries: a name and a type (required for aliases).
VItem* parse_type_entries(ParseState* p, bool alias) {
    VItem* item = new_item(p, alias ? vitem_alias : vitem_handle);
    p->pos++;
    while (!p->recovering) {
        VTypeEntry entry{};
        entry.name = vnt_expect_identifier(p);
        if (entry.name < 0) return item;
        colour_token(p, p->tokens[entry.name], alias ? vantrel_kind_alias : vantrel_kind_handle);
        u16 c = current_code(p);
        if (alias || (c != ',' && c != ';')) {
            entry.type = vnt_parse_type(p);
            if (!entry.type && alias) vnt_record_error(p);
        }
        array_append(&item->entries, entry);
        if (p->recovering || current_code(p) != ',') break;
        p->pos++;
    }
    if (!p->recovering) vnt_expect(p, ';');
    return item;
}

// Whether the "(" at pos opens a template list: its ")" is directly followed by "(".
bool template_list_follows(const ParseState* p) {
    i64 depth = 0;
    i64 limit = p->pos + template_scan_limit;
    for (i64 i = p->pos; i < p->tokens.count && i < limit; i++) {
        u16 c = p->tokens[i].code;
        if (c == '(') {
            depth++;
        } else if (c == ')') {
            if (--depth == 0) return token_at(p, i + 1).code == '(';
        } else if (c == '{' || c == '}' || c == ';' || c == token_end) {
            return false;
        }
    }
    return false;
}

// One parameter; one written without a type takes the type of the one before it.
VVarDecl* parse_parameter(ParseState* p, VExpr* previous_type) {
    VVarDecl* decl = vnt_parse_var_decl(p);
    if (decl || p->recovering) return decl;
    if (current_code(p) != token_identifier) return nullptr;
    decl = vnt_new<VVarDecl>();
    decl->token = p->pos;
    decl->type = previous_type;
    decl->names.pool = pool_parser;
    VVarName name{p->pos++, 0, 0, nullptr};
    if (current_code(p) == '=') {
        p->pos++;
        name.init = vnt_parse_expression(p, 0);
        if (!name.init) vnt_record_error(p);
    }
    array_append(&decl->names, name);
    return decl;
}

void parse_parameters(ParseState* p, VProc* proc) {
    p->pos++;  // "("
    VExpr* previous_type = nullptr;
    while (!p->recovering && current_code(p) != ')') {
        VVarDecl* decl = parse_parameter(p, previous_type);
        if (!decl) {
            if (!p->recovering) vnt_record_error(p);
            return;
        }
        array_append(&proc->params, decl);
        previous_type = decl->type;
        if (p->recovering || current_code(p) != ',') break;
        p->pos++;  // a "," before ")" is allowed
    }
    if (!p->recovering) vnt_expect(p, ')');
}

// The name after "proc": an identifier or the operator being defined.
void parse_proc_name(ParseState* p, VProc* proc) {
    u16 c = current_code(p);
    if (c == token_identifier) {
        proc->name = p->pos;
        proc->name_text = token_text(p);
        colour_current_token(p, vantrel_kind_proc);
        p->pos++;
        return;
    }
    if (c == '[' && next_code(p) == ']') {
        proc->name = p->pos;
        proc->name_text = SV("[]");
        colour_current_token(p, vantrel_kind_proc);
        p->pos++;
        colour_current_token(p, vantrel_kind_proc);
        p->pos++;
        return;
    }
    bool one_byte = c == '!' || c == '%' || c == '&' || c == '*' || c == '+' || c == '-' || c == '/' || c == '<' ||
                    c == '=' || c == '>' || c == '^' || c == '|';
    bool with_equal = c > 256 && c < 384 && (c - 256 == '!' || c - 256 == '%' || c - 256 == '&' || c - 256 == '*' ||
                                             c - 256 == '+' || c - 256 == '-' || c - 256 == '/' || c - 256 == '<' ||
                                             c - 256 == '>' || c - 256 == '^' || c - 256 == '|');
    bool doubled = c == token_doubled('+') || c == token_doubled('-') || c == token_doubled('<') || c == token_doubled('>');
    bool shift_equal = c == token_doubled_equal('<') || c == token_doubled_equal('>');
    if (one_byte || with_equal || doubled || shift_equal) {
        proc->name = p->pos;
        proc->name_text = vnt_operator_text(c);
        colour_current_token(p, vantrel_kind_proc);
        p->pos++;
        return;
    }
    proc->name = vnt_expect_identifier(p);
    if (proc->name >= 0) {
        proc->name_text = text_of(p, p->tokens[proc->name]);
        colour_token(p, p->tokens[proc->name], vantrel_kind_proc);
    }
}

// Modifiers in their fixed order, then "proc" and a name; null (pos restored) when the
// tokens are not a procedure definition.
VItem* parse_procedure(ParseState* p) {
    i64 start = p->pos;
    static const u16 order[] = {vantrel_kw_static, vantrel_kw_direct, vantrel_kw_symmetric, vantrel_kw_inline,
                                vantrel_kw_no_inline, vantrel_kw_foreign, vantrel_kw_export};
    static const u8 bits[] = {vmod_static, vmod_direct, vmod_symmetric, vmod_inline, vmod_no_inline, vmod_foreign, vmod_export};
    u8 modifiers = 0;
    for (int i = 0; i < 7; i++) {
        if (current_code(p) != order[i]) continue;
        modifiers |= bits[i];
        p->pos++;
        if (order[i] == vantrel_kw_foreign || order[i] == vantrel_kw_export) skip_optional_string(p);
    }
    if (current_code(p) != vantrel_kw_proc || next_code(p) == '(') {
        p->pos = start;
        return nullptr;
    }
    VItem* item = new_item(p, vitem_procedure);
    item->token = start;
    VProc* proc = vnt_new<VProc>();
    item->proc = proc;
    proc->first = start;
    proc->name = -1;
    proc->modifiers = modifiers;
    proc->template_params.pool = proc->params.pool = pool_parser;
    p->pos++;  // "proc"
    parse_proc_name(p, proc);
    proc->head_end = p->pos;
    if (p->recovering) return item;
    if (current_code(p) == '(' && template_list_follows(p)) proc->template_params = parse_template_params(p);
    if (p->recovering) return item;
    if (current_code(p) == '(') parse_parameters(p, proc);
    else if (current_code(p) == '{') vnt_count_error(p);  // "proc f {": accepted
    else vnt_expect(p, '(');
    proc->head_end = p->pos;
    if (p->recovering) return item;
    u16 c = current_code(p);
    if (c != ';' && c != '{' && c != token_end) proc->return_type = vnt_parse_type(p);
    proc->head_end = p->pos;
    if (p->recovering) return item;
    if (current_code(p) == ';') p->pos++;
    else if (current_code(p) == '{') proc->body = vnt_parse_block(p);
    else vnt_record_error(p);
    return item;
}
}  // namespace

Array<VExpr*> vnt_parse_using_list(ParseState* p) {
    Array<VExpr*> list = vnt_array<VExpr*>();
    while (!p->recovering) {
        VExpr* e = vnt_parse_prefix(p, 0);
        if (!e) {
            vnt_record_error(p);
            break;
        }
        array_append(&list, e);
        if (p->recovering || current_code(p) != ',') break;
        p->pos++;
    }
    return list;
}

VVarDecl* vnt_parse_var_decl(ParseState* p) {
    i64 start = p->pos;
    u8 modifiers = 0;
    for (;;) {
        u16 c = current_code(p);
        if (c == vantrel_kw_static) modifiers |= vmod_static;
        else if (c == vantrel_kw_const) modifiers |= vmod_const;
        else if (c == vantrel_kw_foreign) modifiers |= vmod_foreign;
        else if (c == vantrel_kw_export) modifiers |= vmod_export;
        else break;
        p->pos++;
        if (c == vantrel_kw_foreign || c == vantrel_kw_export) skip_optional_string(p);
    }
    VExpr* type = vnt_parse_type(p);
    if (p->recovering) return nullptr;
    if (!type) {
        if (modifiers) vnt_record_error(p);
        else p->pos = start;
        return nullptr;
    }
    bool has_using = current_code(p) == vantrel_kw_using;
    // "p." typed above "p.x = 1;" is no declaration of a variable p of type "p.".
    bool typed_above = type->kind == vexpr_path && type->tokens.count > 0 && type->tokens[type->tokens.count - 1] < 0;
    if (typed_above || (!has_using && !modifiers && current_code(p) != token_identifier)) {
        p->pos = start;  // not a declaration: the caller tries another form
        return nullptr;
    }
    VVarDecl* decl = vnt_new<VVarDecl>();
    decl->token = start;
    decl->modifiers = modifiers;
    decl->type = type;
    decl->names.pool = pool_parser;
    for (;;) {
        VVarName name{};
        if (current_code(p) == vantrel_kw_using) {
            name.has_using = 1;
            p->pos++;
        }
        name.name = vnt_expect_identifier(p);
        if (name.name < 0) return decl;
        if (current_code(p) == '=') {
            p->pos++;
            if (current_code(p) == token_doubled('-')) {
                name.uninitialised = 1;
                p->pos++;
            } else {
                name.init = vnt_parse_expression(p, 0);
                if (!name.init) vnt_record_error(p);
            }
        }
        array_append(&decl->names, name);
        if (p->recovering || current_code(p) != ',') return decl;
        // Another name of the same type: "using" or an identifier that ends there.
        u16 after = code_at(p, p->pos + 1);
        u16 follow = code_at(p, p->pos + 2);
        bool more = after == vantrel_kw_using ||
                    (after == token_identifier &&
                     (follow == ',' || follow == ';' || follow == '=' || follow == ')' || follow == token_end));
        if (!more) return decl;
        p->pos++;
    }
}

VItem* vnt_parse_item(ParseState* p) {
    skip_stray_tokens(p, is_stray_vantrel_item_token, vnt_count_error);
    if (at_end(p) || current_code(p) == token_end) return nullptr;
    if (!vnt_enter(p)) return nullptr;
    VItem* item = nullptr;
    u16 c = current_code(p);
    if (c == vantrel_kw_struct || c == vantrel_kw_union) {
        item = parse_struct(p);
    } else if (c == vantrel_kw_enum) {
        item = parse_enum(p);
    } else if (c == vantrel_kw_using) {
        item = new_item(p, vitem_using);
        p->pos++;
        item->usings = vnt_parse_using_list(p);
        if (!p->recovering) vnt_expect(p, ';');
    } else if (c == vantrel_kw_alias || c == vantrel_kw_handle) {
        item = parse_type_entries(p, c == vantrel_kw_alias);
    } else {
        item = parse_procedure(p);
        if (!item && !p->recovering) {
            i64 start = p->pos;
            VVarDecl* decl = vnt_parse_var_decl(p);
            if (decl) {
                item = new_item(p, vitem_variable);
                item->token = start;
                item->var = decl;
                if (!p->recovering) vnt_expect(p, ';');
            }
        }
    }
    vnt_leave(p);
    return item;
}

namespace {
bool parse_item_into(ParseState* p, void* context) {
    VItem* item = vnt_parse_item(p);
    if (!item) return false;
    array_append((Array<VItem*>*)context, item);
    return true;
}
}  // namespace

void vantrel_parse_tokens(ParseState* p, Array<VItem*>* items) {
    p->in_block = 0;
    p->depth = 0;
    top_level_driver(p, parse_item_into, vnt_record_error, items);
}
