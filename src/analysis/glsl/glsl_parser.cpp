// Items of a GLSL file or struct body: structs, interface blocks, functions with their
// prototypes, and variable declarations with their layout lists and storage words.
#include "analysis/glsl/glsl_parser.h"

#include "analysis/c_family/block_loops.h"
#include "analysis/token_classes.h"
#include "syntax/keyword_lists.h"
#include "syntax/token_kinds.h"

namespace {
ParseState* ps(GlslAnalysis* a) { return &a->p; }

GlslNode* new_node(i64 token, u8 kind) {
    GlslNode* n = cfam_new<GlslNode>();
    n->token = token;
    n->kind = kind;
    return n;
}

void* item_hook(ParseState*, void* context) { return glsl_parse_top_level_item((GlslAnalysis*)context); }

// The shared stray tokens and GLSL's literal words.
bool is_stray(u16 c) { return is_stray_item_token(c) || c == glsl_kw_false || c == glsl_kw_true; }

u32 storage_bit(u16 c) {
    switch (c) {
    case glsl_kw_attribute: return gstore_attribute;
    case glsl_kw_in: return gstore_in;
    case glsl_kw_out: return gstore_out;
    case glsl_kw_uniform: return gstore_uniform;
    case glsl_kw_varying: return gstore_varying;
    default: return 0;
    }
}

// "layout" "(" items ")": each item an identifier with an optional "= value", separated
// by "," or ";". The current token must be "layout" followed by "(".
void parse_layout(GlslAnalysis* a, Array<GlslLayoutItem>* out) {
    ParseState* p = ps(a);
    p->pos += 2;
    while (cfam_at_code(p, token_identifier)) {
        GlslLayoutItem item{p->pos++, nullptr};
        if (cfam_accept_token(p, '=')) item.value = glsl_parse_expression(a, 1);
        array_append(out, item);
        if (!cfam_accept_token(p, ',') && !cfam_accept_token(p, ';')) break;
    }
    cfam_expect_token(p, ')');
}

// The words in front of a type: an optional layout list, then storage words and
// qualifier words in any order. False when a "layout" lacks its list.
bool parse_prefix(GlslAnalysis* a, GlslDeclaration* d) {
    ParseState* p = ps(a);
    if (cfam_at_code(p, glsl_kw_layout)) {
        if (cfam_peek_code(p, 1) != '(') return false;
        parse_layout(a, &d->layout);
    }
    for (;;) {
        if (u32 bit = storage_bit(current_code(p))) {
            d->storage |= bit;
            p->pos++;
            continue;
        }
        i64 before = p->pos;
        glsl_skip_qualifier_words(a);
        if (p->pos == before) return true;
    }
}

GlslDeclaration* new_declaration(i64 first) {
    GlslDeclaration* d = cfam_new<GlslDeclaration>();
    d->first = first;
    d->name = -1;
    d->layout = cfam_array<GlslLayoutItem>();
    d->sizes = cfam_array<GlslExpr*>();
    return d;
}

// The name's "[n]" suffixes and "= initialiser".
void parse_declarator_tail(GlslAnalysis* a, GlslDeclaration* d) {
    ParseState* p = ps(a);
    while (cfam_at_code(p, '[')) {
        p->pos++;
        if (!cfam_at_code(p, ']'))
            if (GlslExpr* size = glsl_parse_expression(a, 0)) array_append(&d->sizes, size);
        cfam_expect_token(p, ']');
    }
    if (cfam_accept_token(p, '=')) d->init = glsl_parse_expression(a, 1);
}

GlslNode* parse_struct(GlslAnalysis* a, i64 start) {
    ParseState* p = ps(a);
    ParseMark m = cfam_parse_mark(p);
    GlslStruct* s = cfam_new<GlslStruct>();
    s->name = -1;
    s->open = s->close = -1;
    s->members = cfam_array<GlslNode*>();
    p->pos++;  // "struct"
    if (cfam_at_code(p, token_identifier)) s->name = p->pos++;
    GlslNode* node = new_node(start, glsl_node_struct);
    node->structure = s;
    if (!cfam_at_code(p, ';') && !cfam_at_code(p, '{')) {
        cfam_parse_restore(p, m);
        return nullptr;
    }
    if (s->name >= 0) colour_token(p, p->tokens[s->name], glsl_kind_struct);
    if (cfam_accept_token(p, ';')) return node;  // a forward declaration
    s->open = p->pos++;
    s->has_body = 1;
    Array<void*> members = cfam_array<void*>();
    cfam_parse_member_list(p, item_hook, a, &members, true);
    for (void* member : members) array_append(&s->members, (GlslNode*)member);
    if (cfam_list_ended_unclosed(p, s->open)) return node;
    if (cfam_at_code(p, '}')) s->close = p->pos++;
    else cfam_expect_token(p, '}');
    // Instances after the "}" ("} a, b[2];"); the ";" is left to whoever skips it.
    GlslDeclaration* last = nullptr;
    while (cfam_going_on(p) && cfam_at_code(p, token_identifier) &&
           (cfam_peek_code(p, 1) == ';' || cfam_peek_code(p, 1) == ',' || cfam_peek_code(p, 1) == '[')) {
        GlslDeclaration* d = new_declaration(start);
        d->name = p->pos++;
        parse_declarator_tail(a, d);
        if (last) last->next = d;
        else s->instance = d;
        last = d;
        if (!cfam_accept_token(p, ',')) break;
    }
    return node;
}

// "uniform Name { members } [instance [n]] ;" and the like: the block's members are
// variables declared like a struct's; the block has a name of its own only when an
// instance names it.
GlslNode* parse_interface_block(GlslAnalysis* a, i64 start) {
    ParseState* p = ps(a);
    ParseMark m = cfam_parse_mark(p);
    bool ok = parse_prefix(a, new_declaration(start));
    // Qualifier words that are no keywords ("buffer", "readonly") before the block name.
    while (ok && cfam_at_code(p, token_identifier) && cfam_peek_code(p, 1) == token_identifier) p->pos++;
    if (!ok || p->pos == start || !cfam_at_code(p, token_identifier) || cfam_peek_code(p, 1) != '{') {
        cfam_parse_restore(p, m);
        return nullptr;
    }
    GlslStruct* s = cfam_new<GlslStruct>();
    s->name = p->pos++;
    s->is_block = 1;
    s->has_body = 1;
    s->members = cfam_array<GlslNode*>();
    colour_token(p, p->tokens[s->name], glsl_kind_struct);
    s->open = p->pos++;
    Array<void*> members = cfam_array<void*>();
    cfam_parse_member_list(p, item_hook, a, &members, true);
    for (void* member : members) array_append(&s->members, (GlslNode*)member);
    GlslNode* node = new_node(start, glsl_node_struct);
    node->structure = s;
    if (cfam_list_ended_unclosed(p, s->open)) return node;
    if (cfam_at_code(p, '}')) s->close = p->pos++;
    else cfam_expect_token(p, '}');
    if (cfam_at_code(p, token_identifier)) {
        s->instance = new_declaration(start);
        s->instance->name = p->pos++;
        parse_declarator_tail(a, s->instance);
    }
    cfam_expect_token(p, ';');
    return node;
}

GlslNode* parse_function(GlslAnalysis* a, i64 start, GlslExpr* type) {
    ParseState* p = ps(a);
    GlslFunction* f = cfam_new<GlslFunction>();
    f->first = start;
    f->return_type = type;
    f->params = cfam_array<GlslDeclaration*>();
    f->name = p->pos;
    colour_current_token(p, glsl_kind_proc);
    p->pos += 2;  // the name and "("
    if (!cfam_at_code(p, ')')) {
        do {
            GlslDeclaration* d = glsl_parse_declaration(a, false, gdecl_parameter);
            if (!d) break;
            array_append(&f->params, d);
        } while (cfam_accept_token(p, ','));
    }
    cfam_expect_token(p, ')');
    f->head_end = p->pos;
    if (cfam_accept_token(p, ';')) {
    } else if (cfam_at_code(p, '{')) {
        f->body = glsl_parse_block(a);
    } else {
        cfam_record_error(p);
    }
    GlslNode* node = new_node(start, glsl_node_function);
    node->function = f;
    return node;
}

// "precision highp float;": a declaration of no name whose type is the last word.
GlslNode* parse_precision(GlslAnalysis* a, i64 start) {
    ParseState* p = ps(a);
    if (!cfam_at_code(p, token_identifier) || !sv_equal(token_text(p), SV("precision")) ||
        cfam_peek_code(p, 1) != token_identifier || cfam_peek_code(p, 2) != token_identifier ||
        cfam_peek_code(p, 3) != ';')
        return nullptr;
    GlslDeclaration* d = new_declaration(start);
    p->pos += 2;
    d->type = glsl_parse_type(a);
    cfam_expect_token(p, ';');
    GlslNode* node = new_node(start, glsl_node_variable);
    node->variable = d;
    return node;
}
}  // namespace

void glsl_skip_qualifier_words(GlslAnalysis* a) {
    ParseState* p = ps(a);
    while (cfam_at_code(p, token_identifier)) {
        u16 next = cfam_peek_code(p, 1);
        bool before_type = next == token_identifier && cfam_peek_code(p, 2) == token_identifier;
        if (!before_type && !storage_bit(next)) return;
        p->pos++;
    }
}

GlslDeclaration* glsl_parse_declaration(GlslAnalysis* a, bool more, u8 context) {
    ParseState* p = ps(a);
    ParseMark m = cfam_parse_mark(p);
    GlslDeclaration* d = new_declaration(p->pos);
    if (!parse_prefix(a, d)) {
        cfam_parse_restore(p, m);
        return nullptr;
    }
    d->type = glsl_parse_type(a);
    if (!d->type || (context != gdecl_parameter && !cfam_at_code(p, token_identifier))) {
        cfam_parse_restore(p, m);
        return nullptr;
    }
    if (cfam_at_code(p, token_identifier)) d->name = p->pos++;
    parse_declarator_tail(a, d);
    GlslDeclaration* last = d;
    while (more && cfam_at_code(p, ',')) {
        p->pos++;
        if (!cfam_at_code(p, token_identifier)) {
            cfam_count_error(p);
            break;
        }
        GlslDeclaration* next = new_declaration(d->first);
        next->storage = d->storage;
        next->layout = d->layout;
        next->type = d->type;
        next->name = p->pos++;
        parse_declarator_tail(a, next);
        last->next = next;
        last = next;
    }
    return d;
}

GlslNode* glsl_parse_top_level_item(GlslAnalysis* a) {
    ParseState* p = ps(a);
    skip_stray_tokens(p, is_stray, nullptr);
    if (at_end(p)) return nullptr;
    ParseMark start_mark = cfam_parse_mark(p);
    i64 start = p->pos;
    if (cfam_at_code(p, glsl_kw_struct)) return parse_struct(a, start);
    if (GlslNode* node = parse_precision(a, start)) return node;
    glsl_skip_qualifier_words(a);
    GlslExpr* type = glsl_parse_type(a);
    if (type && cfam_at_code(p, token_identifier) && cfam_peek_code(p, 1) == '(') return parse_function(a, start, type);
    cfam_parse_restore(p, start_mark);
    if (GlslNode* node = parse_interface_block(a, start)) return node;
    if (GlslDeclaration* d = glsl_parse_declaration(a, true, gdecl_item)) {
        cfam_expect_token(p, ';');
        GlslNode* node = new_node(start, glsl_node_variable);
        node->variable = d;
        return node;
    }
    cfam_parse_restore(p, start_mark);
    return nullptr;
}

namespace {
bool driver_hook(ParseState*, void* context) {
    GlslAnalysis* a = (GlslAnalysis*)context;
    GlslNode* node = glsl_parse_top_level_item(a);
    if (!node) return false;
    array_append(&a->top_level_items, node);
    return true;
}
}  // namespace

void glsl_parse_tokens(GlslAnalysis* a) {
    a->top_level_items = cfam_array<GlslNode*>();
    cfam_prepare_recovery_tables(&a->p);
    top_level_driver(&a->p, driver_hook, cfam_record_error, a);
}
