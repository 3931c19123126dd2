// The declaration pass: every named thing of every parsed file enters the scope tree
// and the symbol table, coloured by its kind; the document's declarations become
// outline rows.
#include "analysis/name_sites.h"
#include "analysis/vantrel/vantrel_semantic.h"
#include "syntax/token_kinds.h"

namespace {
// "using" imports stop here, so that many usings of large structs cannot exhaust memory.
constexpr i64 import_limit = 1 << 20;

u8 namespace_of(u8 kind) { return kind >= symbol_struct && kind <= symbol_template_parameter ? vns_type : vns_value; }

VContext top_context(const VantrelAnalysis* a) {
    if (a->contexts.count == 0) return VContext{0, -1, 0, 0, 0};
    return a->contexts[a->contexts.count - 1];
}

void push_context(VantrelAnalysis* a, VContext c) { array_append(&a->contexts, c); }
void pop_context(VantrelAnalysis* a) {
    if (a->contexts.count > 0) a->contexts.count--;
}

void add_row(VantrelAnalysis* a, u8 kind, i64 token, StringView name, u8 group_start, u8 group_end) {
    const Token& t = token_at(a->p, token);
    add_outline_row(a->job, kind, a->result->kind_tokens[kind], (i32)t.line, name, group_start, group_end);
}

void declare_item(VantrelAnalysis* a, VItem* item);

void declare_var_decl(VantrelAnalysis* a, VVarDecl* decl, VContext c) {
    if (!decl) return;
    u8 kind = c.parameter ? symbol_parameter : c.member ? symbol_member : c.local ? symbol_local : symbol_global;
    for (const VVarName& n : decl->names) {
        if (n.name < 0) continue;
        VVar var{};
        var.type_expr = decl->type;
        var.init = n.init;
        var.name = n.name;
        var.scope = c.scope;
        var.kind = kind;
        var.has_using = n.has_using;
        vnt_declare_variable(a, var);
        if (kind == symbol_global && vnt_token_in_document(a, n.name))
            add_row(a, kind, n.name, vnt_token_text(a, n.name), 0, 0);
    }
}

void declare_template_params(VantrelAnalysis* a, Array<VTemplateParam>* params, i32 scope) {
    for (i64 i = 0; i < params->count; i++) {
        VTemplateParam* param = &(*params)[i];
        if (param->name < 0) continue;
        i32 index = (i32)array_append(&a->template_params, VTemplateRecord{param, scope});
        vnt_declare(a, symbol_template_parameter, index, scope, param->name);
    }
}

void declare_procedure(VantrelAnalysis* a, VProc* proc, VContext c) {
    i32 index = (i32)a->procs.count;
    AnalysisResult* r = a->result;
    Symbol* existing = nullptr;
    if (proc->name >= 0 && proc->name_text.length > 0) {
        // An operator is found by its spelling but is no name to offer.
        char first = proc->name_text.data[0];
        bool named = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') || first == '_' || (u8)first >= 0x80;
        existing = named ? declare_symbol_at_token(r, a->p, symbol_procedure, vns_value, index, c.scope, proc->name_text,
                                                   proc->name)
                         : declare_hidden_symbol(r, symbol_procedure, vns_value, index, c.scope, proc->name_text);
        vnt_colour(a, proc->name, vantrel_kind_proc);
        if (proc->name_text.length == 2 && proc->name_text.data[0] == '[') vnt_colour(a, proc->name + 1, vantrel_kind_proc);
    }
    Signature signature{};
    signature.overloads = Array<i32>{nullptr, 0, 0, pool_parser};
    array_append(&signature.overloads, index);
    array_append(&r->signatures, signature);
    // A second procedure of the same name in the same scope is an overload of the first.
    if (existing && existing->kind == symbol_procedure && existing->value >= 0 && existing->value < r->signatures.count)
        array_append(&r->signatures[existing->value].overloads, index);

    i32 start = 0, end = 0;
    if (proc->body) {
        start = (i32)vnt_token_offset(a, proc->body->open);
        end = (i32)vnt_token_offset(a, proc->body->close);
    }
    i32 scope = (i32)open_scope(r, (u32)c.scope, vnt_file_name_of(a, proc->first), start, end);
    VProcRecord record{};
    record.node = proc;
    record.scope = scope;
    record.struct_index = c.member ? c.struct_index : -1;
    record.this_var = -1;
    record.params = Array<i32>{nullptr, 0, 0, pool_parser};
    array_append(&a->procs, record);
    if (proc->name >= 0 && vnt_token_in_document(a, proc->name))
        add_row(a, symbol_procedure, proc->name, proc->name_text, 0, 0);

    push_context(a, VContext{scope, record.struct_index, 0, 1, 0});
    if (record.struct_index >= 0) {
        // A method: the implicit "this" is a parameter of the struct's type.
        VVar self{};
        self.name = -1;
        self.scope = scope;
        self.kind = symbol_parameter;
        self.state = vstate_done;
        self.type = VType{vtype_struct, 0, 0, record.struct_index};
        i32 var = (i32)array_append(&a->vars, self);
        declare_symbol(r, symbol_parameter, vns_value, var, scope, SV("this"));
        a->procs[index].this_var = var;
    }
    declare_template_params(a, &proc->template_params, scope);
    VContext params = top_context(a);
    for (VVarDecl* decl : proc->params) {
        if (!decl) continue;
        i64 first_var = a->vars.count;
        declare_var_decl(a, decl, params);
        for (i64 v = first_var; v < a->vars.count; v++) array_append(&a->procs[index].params, (i32)v);
    }
    pop_context(a);
}

void declare_struct(VantrelAnalysis* a, VStruct* s, VContext c) {
    bool named = s->name >= 0;
    i32 index = (i32)a->structs.count;
    if (named) {
        vnt_declare(a, symbol_struct, index, c.scope, s->name);
        i32 start = s->open >= 0 ? (i32)vnt_token_offset(a, s->open) : 0;
        i32 end = s->close >= 0 ? (i32)vnt_token_offset(a, s->close) : 0;
        i32 scope = (i32)open_scope(a->result, (u32)c.scope, vnt_token_text(a, s->name), start, end);
        array_append(&a->structs, VStructRecord{s, scope});
        if (vnt_token_in_document(a, s->name)) add_row(a, symbol_struct, s->name, vnt_token_text(a, s->name), 1, 0);
        push_context(a, VContext{scope, index, 1, 0, 0});
    } else {
        // Anonymous: the fields land in the enclosing scope.
        push_context(a, c);
    }
    declare_template_params(a, &s->template_params, top_context(a).scope);
    for (VItem* member : s->members) declare_item(a, member);
    pop_context(a);
    if (named && vnt_token_in_document(a, s->name)) {
        i64 close = s->close >= 0 ? s->close : s->name;
        add_row(a, symbol_struct, close, vnt_token_text(a, s->name), 0, 1);
    }
}

void declare_enum(VantrelAnalysis* a, VEnum* e, VContext c) {
    i32 index = (i32)a->enums.count;
    array_append(&a->enums, VEnumRecord{e, c.scope, vstate_pending, VType{}});
    if (e->name >= 0) {
        vnt_declare(a, symbol_enum, index, c.scope, e->name);
        if (vnt_token_in_document(a, e->name)) add_row(a, symbol_enum, e->name, vnt_token_text(a, e->name), 0, 0);
    }
    // Members are globals of the enclosing scope, visible without qualification.
    for (const VEnumMember& m : e->members) {
        VVar var{};
        var.init = m.value;
        var.name = m.name;
        var.scope = c.scope;
        var.kind = symbol_global;
        var.is_enum_member = 1;
        var.state = vstate_done;
        var.type = VType{vtype_enum, 0, 0, index};
        vnt_declare_variable(a, var);
    }
}

void declare_type_entries(VantrelAnalysis* a, VItem* item, VContext c) {
    bool alias = item->kind == vitem_alias;
    u8 kind = alias ? symbol_alias : symbol_handle;
    Array<VTypeRecord>* list = alias ? &a->aliases : &a->handles;
    for (const VTypeEntry& entry : item->entries) {
        if (entry.name < 0) continue;
        i32 index = (i32)array_append(list, VTypeRecord{entry, c.scope, vstate_pending, VType{}});
        vnt_declare(a, kind, index, c.scope, entry.name);
        if (vnt_token_in_document(a, entry.name)) add_row(a, kind, entry.name, vnt_token_text(a, entry.name), 0, 0);
    }
}

void declare_item(VantrelAnalysis* a, VItem* item) {
    if (!item) return;
    a->p->current_file = file_of_token(a->p, token_at(a->p, item->token));
    VContext c = top_context(a);
    switch (item->kind) {
    case vitem_variable: declare_var_decl(a, item->var, c); break;
    case vitem_procedure:
        if (item->proc) declare_procedure(a, item->proc, c);
        break;
    case vitem_struct:
        if (item->record) declare_struct(a, item->record, c);
        break;
    case vitem_enum:
        if (item->enumeration) declare_enum(a, item->enumeration, c);
        break;
    case vitem_using: array_append(&a->usings, VUsingRecord{item->usings, c.scope}); break;
    case vitem_alias:
    case vitem_handle: declare_type_entries(a, item, c); break;
    }
}
}  // namespace

void vantrel_analysis_init(VantrelAnalysis* a, ParseState* p, AnalysisJob* job) {
    *a = VantrelAnalysis{};
    a->p = p;
    a->job = job;
    a->result = job->result;
    a->items.pool = a->vars.pool = a->procs.pool = a->structs.pool = a->enums.pool = pool_parser;
    a->aliases.pool = a->handles.pool = a->usings.pool = a->template_params.pool = a->contexts.pool = pool_parser;
}

u8 vantrel_colour_of_symbol(u8 kind) {
    static const u8 colours[symbol_kind_count] = {
        0,
        vantrel_kind_struct,
        vantrel_kind_enum,
        vantrel_kind_handle,
        vantrel_kind_alias,
        vantrel_kind_template_type,
        vantrel_kind_proc,
        vantrel_kind_member_var,
        vantrel_kind_global_var,
        vantrel_kind_local_var,
        vantrel_kind_parameter_var,
        0, 0, 0, 0, 0, 0,
    };
    return kind < symbol_kind_count ? colours[kind] : 0;
}

bool vnt_token_in_document(const VantrelAnalysis* a, i64 token) {
    const ParseState* p = a->p;
    if (token < 0 || token >= p->tokens.count || p->files.count == 0) return false;
    return p->tokens[token].file == 0;
}

StringView vnt_file_name_of(const VantrelAnalysis* a, i64 token) { return path_of(a->p, token_at(a->p, token)); }

i64 vnt_token_offset(const VantrelAnalysis* a, i64 token) { return token_at(a->p, token).offset; }

StringView vnt_token_text(const VantrelAnalysis* a, i64 token) {
    return text_of(a->p, token_at(a->p, token));
}

void vnt_colour(VantrelAnalysis* a, i64 token, u8 kind) {
    if (token >= 0 && token < a->p->tokens.count) colour_token(a->p, a->p->tokens[token], kind);
}

void vnt_note_use(VantrelAnalysis* a, i64 token, const Symbol* s) {
    if (token >= 0 && token < a->p->tokens.count) record_name_use(a->result, a->p, a->p->tokens[token], s);
}

Symbol* vnt_declare(VantrelAnalysis* a, u8 kind, i32 value, i32 scope, i64 name) {
    vnt_colour(a, name, vantrel_colour_of_symbol(kind));
    StringView text = vnt_token_text(a, name);
    if (text.length == 0) return nullptr;
    return declare_symbol_at_token(a->result, a->p, kind, namespace_of(kind), value, scope, text, name);
}

i32 vnt_declare_variable(VantrelAnalysis* a, VVar var) {
    i32 index = (i32)array_append(&a->vars, var);
    vnt_declare(a, var.kind, index, var.scope, var.name);
    return index;
}

const Symbol* vnt_lookup(const VantrelAnalysis* a, i32 scope, u8 ns, StringView name) {
    const AnalysisResult* r = a->result;
    if (name.length == 0) return nullptr;
    for (int attempt = 0; attempt < 2; attempt++) {
        u8 flag = attempt == 0 ? ns : (u8)(ns == vns_type ? vns_value : vns_type);
        i32 s = scope;
        for (;;) {
            if (s < 0 || s >= r->scopes.count) break;
            // Most block scopes declare nothing: no need to hash the name for them.
            if (r->scopes[s].members.count > 0)
                if (const Symbol* found = lookup_symbol(r, flag, s, name)) return found;
            if (s == 0) break;
            i32 parent = (i32)r->scopes[s].parent;
            s = parent < s ? parent : 0;
        }
    }
    return nullptr;
}

void vnt_import_scope(VantrelAnalysis* a, i32 from, i32 to) {
    AnalysisResult* r = a->result;
    if (from < 0 || from >= r->scopes.count || to < 0 || to >= r->scopes.count || from == to) return;
    i64 count = r->scopes[from].members.count;
    for (i64 i = 0; i < count && a->imported < import_limit; i++) {
        Symbol m = r->scopes[from].members[i];
        declare_symbol(r, m.kind, namespace_of(m.kind), m.value, to, m.name, m.site);
        a->imported++;
    }
}

void vantrel_declare_items(VantrelAnalysis* a) {
    a->contexts.count = 0;
    push_context(a, VContext{0, -1, 0, 0, 0});
    for (VItem* item : a->items) declare_item(a, item);
    a->contexts.count = 0;
}
