// The resolution passes, in order: declared variables, struct template defaults, enums,
// "using" declarations, handles and aliases, procedures with their bodies.
#include "analysis/vantrel/vantrel_semantic.h"

namespace {
void resolve_statement(VantrelAnalysis* a, VStmt* s, i32 scope);

// The members of an expression's type (or of the type it names) come into `scope`.
void import_members_of(VantrelAnalysis* a, VExpr* e, i32 scope) {
    VValue v = vnt_resolve_expr(a, e, scope, vns_value);
    vnt_import_scope(a, vnt_member_scope(a, v.type), scope);
}

void resolve_block(VantrelAnalysis* a, VBlock* b, i32 parent) {
    if (!b) return;
    i32 scope = (i32)open_scope(a->result, (u32)parent, vnt_file_name_of(a, b->open), (i32)vnt_token_offset(a, b->open),
                                (i32)vnt_token_offset(a, b->close));
    for (VStmt* s : b->statements) resolve_statement(a, s, scope);
}

// Local variables: the type and initialiser are resolved before the name is declared.
void declare_locals(VantrelAnalysis* a, VVarDecl* decl, i32 scope) {
    if (!decl) return;
    for (const VVarName& n : decl->names) {
        VVar var{};
        var.type_expr = decl->type;
        var.init = n.init;
        var.name = n.name;
        var.scope = scope;
        var.kind = symbol_local;
        var.has_using = n.has_using;
        var.state = vstate_done;
        var.type = vnt_resolve_type(a, decl->type, scope);
        vnt_resolve_expr(a, n.init, scope, vns_value);
        if (n.name < 0) continue;
        vnt_declare_variable(a, var);
        if (n.has_using) vnt_import_scope(a, vnt_member_scope(a, var.type), scope);
    }
}

void resolve_for(VantrelAnalysis* a, VFor* loop, i32 scope) {
    if (!loop) return;
    i32 inner = scope;
    if (loop->body)
        inner = (i32)open_scope(a->result, (u32)scope, vnt_file_name_of(a, loop->body->open),
                                (i32)vnt_token_offset(a, loop->body->open), (i32)vnt_token_offset(a, loop->body->close));
    VType type = vnt_resolve_type(a, loop->type, scope);
    VType start = vnt_resolve_expr(a, loop->start, scope, vns_value).type;
    if (loop->name >= 0) {
        VVar var{};
        var.name = loop->name;
        var.scope = inner;
        var.kind = symbol_local;
        var.state = vstate_done;
        var.type = loop->type ? type : start;
        vnt_declare_variable(a, var);
    }
    vnt_resolve_expr(a, loop->end, inner, vns_value);
    vnt_resolve_expr(a, loop->step, inner, vns_value);
    if (loop->body)
        for (VStmt* s : loop->body->statements) resolve_statement(a, s, inner);
}

void resolve_statement(VantrelAnalysis* a, VStmt* s, i32 scope) {
    if (!s || a->depth >= vnt_resolve_depth_limit) return;
    a->depth++;
    switch (s->kind) {
    case vstmt_expression:
    case vstmt_break_label:
    case vstmt_continue_label:
    case vstmt_return_value: vnt_resolve_expr(a, s->expr, scope, vns_value); break;
    case vstmt_assignment:
        vnt_resolve_expr(a, s->expr, scope, vns_value);
        for (VExpr* e : s->list) vnt_resolve_expr(a, e, scope, vns_value);
        break;
    case vstmt_variable: declare_locals(a, s->decl, scope); break;
    case vstmt_using:
        for (VExpr* e : s->list) import_members_of(a, e, scope);
        break;
    case vstmt_block: resolve_block(a, s->block, scope); break;
    case vstmt_if:
        for (const VIfArm& arm : s->arms) {
            vnt_resolve_expr(a, arm.condition, scope, vns_value);
            resolve_block(a, arm.block, scope);
        }
        resolve_block(a, s->block, scope);
        break;
    case vstmt_while:
        vnt_resolve_expr(a, s->expr, scope, vns_value);
        resolve_block(a, s->block, scope);
        break;
    case vstmt_do:
        resolve_block(a, s->block, scope);
        vnt_resolve_expr(a, s->expr, scope, vns_value);
        break;
    case vstmt_for: resolve_for(a, s->loop, scope); break;
    case vstmt_switch:
        vnt_resolve_expr(a, s->expr, scope, vns_value);
        for (const VCaseArm& arm : s->cases) {
            for (VExpr* v : arm.values) vnt_resolve_expr(a, v, scope, vns_value);
            resolve_block(a, arm.block, scope);
        }
        break;
    default: break;
    }
    a->depth--;
}

void resolve_template_defaults(VantrelAnalysis* a, Array<VTemplateParam>* params, i32 scope) {
    for (const VTemplateParam& param : *params) vnt_resolve_type(a, param.default_type, scope);
}

void resolve_procedure(VantrelAnalysis* a, i32 index) {
    VProcRecord* record = &a->procs[index];
    VProc* proc = record->node;
    i32 scope = record->scope;
    resolve_template_defaults(a, &proc->template_params, scope);
    for (i64 i = 0; i < a->procs[index].params.count; i++) {
        i32 var = a->procs[index].params[i];
        VType t = vnt_var_type(a, var);
        if (var < 0 || var >= a->vars.count) continue;
        if (a->vars[var].has_using) vnt_import_scope(a, vnt_member_scope(a, t), scope);
        vnt_resolve_expr(a, a->vars[var].init, scope, vns_value);
    }
    vnt_return_type(a, index);
    if (proc->body)
        for (VStmt* s : proc->body->statements) resolve_statement(a, s, scope);
}
}  // namespace

void vantrel_resolve_all(VantrelAnalysis* a) {
    // 1. Variables declared by the declaration pass (parameters go with their procedure,
    // enum members with their enum).
    i64 declared = a->vars.count;
    for (i64 i = 0; i < declared; i++) {
        const VVar& v = a->vars[i];
        if (v.kind == symbol_parameter || v.is_enum_member) continue;
        VType t = vnt_var_type(a, (i32)i);
        if (a->vars[i].has_using) vnt_import_scope(a, vnt_member_scope(a, t), a->vars[i].scope);
        vnt_resolve_expr(a, a->vars[i].init, a->vars[i].scope, vns_value);
    }
    // 2. Default types of struct template parameters.
    for (i64 i = 0; i < a->structs.count; i++)
        resolve_template_defaults(a, &a->structs[i].node->template_params, a->structs[i].scope);
    // 3. Enums: the underlying type and the member values.
    for (i64 i = 0; i < a->enums.count; i++) {
        vnt_expand(a, VType{vtype_enum, 0, 0, (i32)i});
        VEnum* e = a->enums[i].node;
        for (const VEnumMember& m : e->members) vnt_resolve_expr(a, m.value, a->enums[i].scope, vns_value);
    }
    // 4. "using" declarations.
    for (i64 i = 0; i < a->usings.count; i++) {
        VUsingRecord record = a->usings[i];
        for (VExpr* e : record.list) import_members_of(a, e, record.scope);
    }
    // 5. Handles and aliases.
    for (i64 i = 0; i < a->handles.count; i++) vnt_expand(a, VType{vtype_handle, 0, 0, (i32)i});
    for (i64 i = 0; i < a->aliases.count; i++) vnt_expand(a, VType{vtype_alias, 0, 0, (i32)i});
    // 6. Procedures: parameters, return type, then the body.
    for (i64 i = 0; i < a->procs.count; i++) resolve_procedure(a, (i32)i);
}

void vantrel_fill_signatures(VantrelAnalysis* a) {
    AnalysisResult* r = a->result;
    ParseState* p = a->p;
    for (i64 i = 0; i < a->procs.count && i < r->signatures.count; i++) {
        VProc* proc = a->procs[i].node;
        const Token& first = token_at(p, proc->first);
        i64 file = file_of_token(p, first);
        if (file < 0) continue;
        const ParsedFile& f = p->files[file];
        i64 start = first.offset;
        const Token& stop = token_at(p, proc->head_end);
        i64 end = stop.file == first.file && stop.code != token_end ? stop.offset : f.text.length;
        if (start < 0 || start > f.text.length) continue;
        if (end > f.text.length) end = f.text.length;
        while (end > start) {
            char c = f.text.data[end - 1];
            if (c != ' ' && c != '\t' && c != '\n') break;
            end--;
        }
        r->signatures[i].text = StringView{f.text.data + start, end - start};
        r->signatures[i].colours = StringView{(const char*)f.colours + start, end - start};
    }
}
