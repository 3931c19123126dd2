// Items of a file, a class body or a namespace body: structs, enums, namespaces,
// functions, variables, using, typedef and access labels.
#include "analysis/c_family/block_loops.h"
#include "analysis/cpp/cpp_parser.h"
#include "analysis/cpp/cpp_token_tables.h"
#include "analysis/token_classes.h"
#include "syntax/keyword_lists.h"
#include "syntax/token_kinds.h"

namespace {
ParseState* ps(CppAnalysis* a) { return &a->p; }

CppNode* new_node(i64 token, u8 kind) { return cpp_new_node(token, kind); }

void* item_hook(ParseState*, void* context) { return cpp_parse_top_level_item((CppAnalysis*)context); }

// The shared stray tokens and the literal words and operators of C and C++.
bool is_stray(u16 c) {
    return is_stray_item_token(c) || c == cpp_kw_nullptr || c == c_kw_true || c == c_kw_false || c == token_arrow ||
           c == token_ellipsis;
}

// Keywords that can only start an item: an identifier in front of one is a macro
// ("__BEGIN_DECLS extern ...").
bool starts_item(u16 c) {
    return c == c_kw_typedef || c == c_kw_extern || c == c_kw_static || c == c_kw_inline || c == c_kw_struct ||
           c == c_kw_union || c == c_kw_enum || c == cpp_kw_class || c == cpp_kw_namespace || c == cpp_kw_template ||
           c == cpp_kw_using || c == token_end;
}

bool is_access(u16 c) { return c == cpp_kw_public || c == cpp_kw_protected || c == cpp_kw_private; }

void colour_at(CppAnalysis* a, i64 token, u8 kind) {
    if (token >= 0 && token < ps(a)->tokens.count) colour_token(ps(a), ps(a)->tokens[token], kind);
}

// Declarators after the "}" of a struct or enum: "} a, *b;" or the names of a typedef.
CppDeclaration* parse_trailing(CppAnalysis* a, i64 first, u32 specifiers) {
    ParseState* p = ps(a);
    if (cfam_at_code(p, ';') || cfam_at_code(p, '}') || at_end(p) || cfam_code_now(p) == token_end) return nullptr;
    CppDeclaration* head = nullptr;
    CppDeclaration* last = nullptr;
    do {
        CppDeclaration* d = cpp_new_declaration(first, specifiers, nullptr);
        cpp_parse_declarator(a, d, cdecl_item);
        cpp_parse_initializer(a, d, false);
        if (last) last->next = d;
        else head = d;
        last = d;
    } while (cfam_going_on(p) && cfam_accept_token(p, ','));
    return head;
}

// Names after a struct's or enum's "}" under typedef: the first names an unnamed type;
// the others (and all of them for a named type) are typedef names.
void colour_trailing_names(CppAnalysis* a, CppDeclaration* d, i64* type_name, u8 type_kind) {
    for (; d; d = d->next) {
        if (d->name < 0) continue;
        if (*type_name < 0 && d->qualifiers.count == 0 && d->sizes.count == 0 && !d->has_function) {
            *type_name = d->name;
            colour_at(a, d->name, type_kind);
        } else {
            colour_at(a, d->name, cpp_kind_typedef);
        }
    }
}

namespace {
// The text of the token `ahead` places after the current one.
StringView identifier_text(const ParseState* p, i64 ahead) {
    return text_of(p, token_at(p, p->pos + ahead));
}
}  // namespace

CppNode* parse_struct(CppAnalysis* a, i64 start, bool is_typedef, u32 specifiers, const Array<CppTemplateParam>& tparams) {
    ParseState* p = ps(a);
    CppMark m = cpp_mark(a);
    CppStruct* s = cfam_new<CppStruct>();
    s->keyword = cfam_code_now(p);
    s->name = -1;
    s->open = s->close = -1;
    s->specifiers = specifiers;
    s->is_typedef = is_typedef;
    s->template_params = tparams;
    s->template_args = cfam_array<CppExpr*>();
    s->bases = cfam_array<CppExpr*>();
    s->members = cfam_array<CppNode*>();
    p->pos++;
    cpp_skip_attributes(a);
    // Macros with arguments before the name ("class API DEPRECATED("...") Name : Base {"),
    // where names and a struct head follow their group.
    for (;;) {
        i64 k = p->pos;
        while (cfam_code_at(p, k) == token_identifier) k++;
        if (k == p->pos || cfam_code_at(p, k) != '(') break;
        i64 close = cpp_closing_of(a, k);
        i64 next = close + 1;
        while (close > 0 && cfam_code_at(p, next) == token_identifier) next++;
        u16 head = cfam_code_at(p, next);
        if (close < 0 || next == close + 1 || (head != '{' && head != ':' && head != '<')) break;
        p->pos = close + 1;
    }
    // Export macros before the name ("struct API Name {"): only where the identifiers run
    // into a struct head. "struct S t;" is a variable t of type struct S, not a struct t.
    // "typedef struct X X;" stays a declaration of the struct X: C keeps tags apart from
    // typedef names, and one struct symbol serves both here.
    i64 run = 0;
    while (cfam_peek_code(p, run) == token_identifier) run++;
    i64 last = run - 1;
    if (last > 0 && sv_equal(identifier_text(p, last), SV("final"))) last--;
    u16 after_run = cfam_peek_code(p, run);
    bool same_name_typedef = is_typedef && run == 2 && after_run == ';' &&
                             sv_equal(identifier_text(p, 0), identifier_text(p, 1));
    if (last > 0 && (after_run == '{' || after_run == ':' || after_run == '<' || same_name_typedef)) p->pos += last;
    if (cfam_at_code(p, token_identifier)) {
        s->name = p->pos++;
        while (cfam_at_code(p, token_doubled(':')) && cfam_peek_code(p, 1) == token_identifier) {
            s->name = p->pos + 1;
            p->pos += 2;
        }
    }
    if (cfam_at_code(p, token_identifier) && sv_equal(token_text(p), SV("final"))) p->pos++;
    if (s->name >= 0 && cfam_at_code(p, '<') && cpp_template_arguments_follow(a))
        cpp_parse_template_arguments(a, &s->template_args);
    u16 c = cfam_code_now(p);
    CppNode* node = new_node(start, cpp_node_struct);
    node->structure = s;
    if (c == ';' && s->name >= 0) {
        colour_at(a, s->name, cpp_kind_struct);
        p->pos++;
        return node;
    }
    if (c != ':' && c != '{') {
        cpp_restore(a, m);
        return nullptr;
    }
    colour_at(a, s->name, cpp_kind_struct);
    if (cfam_accept_token(p, ':')) {
        do {
            while (is_access(cfam_code_now(p)) || cfam_at_code(p, cpp_kw_virtual)) p->pos++;
            if (CppExpr* base = cpp_parse_expression(a, 14, cflag_type | cflag_no_braces))
                array_append(&s->bases, base);
            cfam_accept_token(p, token_ellipsis);
        } while (cfam_going_on(p) && cfam_accept_token(p, ','));
    }
    if (!cfam_going_on(p) || !cfam_expect_token(p, '{')) return node;
    s->open = p->pos - 1;
    s->has_body = 1;
    Array<void*> members = cfam_array<void*>();
    cfam_parse_member_list(p, item_hook, a, &members, true);
    for (void* member : members) array_append(&s->members, (CppNode*)member);
    if (cfam_list_ended_unclosed(p, s->open)) return node;
    // After a failure inside, recovery may have stopped right at this "}": it is ours.
    if (cfam_at_code(p, '}')) s->close = p->pos++;
    else cfam_expect_token(p, '}');
    if (!cfam_going_on(p)) return node;
    s->trailing = parse_trailing(a, start, specifiers);
    if (is_typedef) colour_trailing_names(a, s->trailing, &s->name, cpp_kind_struct);
    cfam_expect_token(p, ';');
    return node;
}

CppNode* parse_enum(CppAnalysis* a, i64 start, bool is_typedef) {
    ParseState* p = ps(a);
    CppMark m = cpp_mark(a);
    CppEnum* e = cfam_new<CppEnum>();
    e->name = -1;
    e->open = e->close = -1;
    e->is_typedef = is_typedef;
    e->items = cfam_array<CppEnumerator>();
    p->pos++;
    if (cfam_accept_token(p, cpp_kw_class) || cfam_accept_token(p, c_kw_struct)) e->scoped = 1;
    cpp_skip_attributes(a);
    if (cfam_at_code(p, token_identifier)) {
        e->name = p->pos++;
        while (cfam_at_code(p, token_doubled(':')) && cfam_peek_code(p, 1) == token_identifier) {
            e->name = p->pos + 1;
            p->pos += 2;
        }
    }
    if (cfam_accept_token(p, ':')) e->underlying = cpp_parse_type(a);
    if (!cfam_at_code(p, '{')) {
        cpp_restore(a, m);
        return nullptr;
    }
    colour_at(a, e->name, cpp_kind_enum);
    e->open = p->pos++;
    u8 item_kind = e->scoped ? cpp_kind_member_var : cpp_kind_global_var;
    while (cfam_going_on(p) && cfam_at_code(p, token_identifier)) {
        CppEnumerator item{p->pos, nullptr};
        colour_current_token(p, item_kind);
        p->pos++;
        cpp_skip_attributes(a);
        if (cfam_accept_token(p, '=')) item.value = cpp_parse_expression(a, 1, 0);
        array_append(&e->items, item);
        if (!cfam_accept_token(p, ',') && !cfam_accept_token(p, ';')) break;
    }
    CppNode* node = new_node(start, cpp_node_enum);
    node->enumeration = e;
    if (cfam_at_code(p, '}')) e->close = p->pos++;
    else cfam_expect_token(p, '}');
    if (!cfam_going_on(p)) return node;
    e->trailing = parse_trailing(a, start, 0);
    if (is_typedef) colour_trailing_names(a, e->trailing, &e->name, cpp_kind_enum);
    cfam_expect_token(p, ';');
    return node;
}

// The members of a namespace or linkage block between braces.
void parse_namespace_body(CppAnalysis* a, CppNamespace* n) {
    ParseState* p = ps(a);
    if (!cfam_expect_token(p, '{')) return;
    n->open = p->pos - 1;
    Array<void*> members = cfam_array<void*>();
    cfam_parse_member_list(p, item_hook, a, &members, false);
    for (void* member : members) array_append(&n->members, (CppNode*)member);
    if (cfam_at_code(p, '}')) n->close = p->pos++;
    else cfam_expect_token(p, '}');
}

CppNamespace* new_namespace(i64 name) {
    CppNamespace* n = cfam_new<CppNamespace>();
    n->name = name;
    n->open = n->close = -1;
    n->members = cfam_array<CppNode*>();
    return n;
}

CppNode* parse_namespace(CppAnalysis* a, i64 start) {
    ParseState* p = ps(a);
    p->pos++;  // "namespace"
    Array<i64> names = cfam_array<i64>();
    cpp_skip_attributes(a);
    if (cfam_at_code(p, token_identifier)) {
        array_append(&names, p->pos++);
        while (cfam_at_code(p, token_doubled(':')) && cfam_peek_code(p, 1) == token_identifier) {
            array_append(&names, p->pos + 1);
            p->pos += 2;
        }
    }
    // Decorations such as _GLIBCXX_VISIBILITY(default).
    for (;;) {
        if (cpp_skip_attributes(a)) continue;
        if (cfam_at_code(p, token_identifier) && cfam_peek_code(p, 1) == '(') {
            i64 close = cpp_closing_of(a, p->pos + 1);
            if (close > 0) {
                p->pos = close + 1;
                continue;
            }
        }
        break;
    }
    if (names.count == 1 && cfam_at_code(p, '=')) {
        // A namespace alias works like "using A = B".
        CppUsing* u = cfam_new<CppUsing>();
        u->alias = names[0];
        colour_at(a, names[0], cpp_kind_using);
        p->pos++;
        u->target = cpp_parse_expression(a, 13, cflag_type);
        cfam_expect_token(p, ';');
        CppNode* node = new_node(start, cpp_node_using);
        node->use = u;
        return node;
    }
    for (i64 name : names) colour_at(a, name, cpp_kind_namespace);
    // "namespace a::b {": b inside a, the members inside b.
    CppNamespace* outer = new_namespace(names.count ? names[0] : -1);
    CppNamespace* inner = outer;
    for (i64 i = 1; i < names.count; i++) {
        CppNamespace* next = new_namespace(names[i]);
        CppNode* node = new_node(start, cpp_node_namespace);
        node->space = next;
        array_append(&inner->members, node);
        inner = next;
    }
    if (!cfam_accept_token(p, ';')) parse_namespace_body(a, inner);
    for (CppNamespace* n = outer; n != inner; n = n->members[0]->space) {
        n->open = inner->open;
        n->close = inner->close;
    }
    CppNode* node = new_node(start, cpp_node_namespace);
    node->space = outer;
    return node;
}


// "template<...> concept C = constraint;": a named constraint, known by its name as an
// alias is.
CppNode* parse_concept(CppAnalysis* a, i64 start) {
    ParseState* p = ps(a);
    CppUsing* u = cfam_new<CppUsing>();
    u->is_concept = 1;
    p->pos++;  // "concept"
    u->alias = p->pos++;
    colour_at(a, u->alias, cpp_kind_using);
    if (cfam_expect_token(p, '=')) u->target = cpp_parse_expression(a, 1, 0);
    cfam_expect_token(p, ';');
    CppNode* node = new_node(start, cpp_node_using);
    node->use = u;
    return node;
}

CppNode* parse_linkage_block(CppAnalysis* a, i64 start) {
    ParseState* p = ps(a);
    p->pos += 2;  // extern "C"
    CppNamespace* n = new_namespace(-1);
    n->transparent = 1;
    parse_namespace_body(a, n);
    CppNode* node = new_node(start, cpp_node_namespace);
    node->space = n;
    return node;
}

}  // namespace

CppNode* cpp_new_node(i64 token, u8 kind) {
    CppNode* n = cfam_new<CppNode>();
    n->token = token;
    n->kind = kind;
    return n;
}

CppNode* cpp_parse_top_level_item(CppAnalysis* a) {
    ParseState* p = ps(a);
    for (;;) {
        u16 c = cfam_code_now(p);
        if (at_end(p)) return nullptr;
        if (is_stray(c) || (c == token_identifier && starts_item(cfam_peek_code(p, 1)))) {
            p->pos++;
            continue;
        }
        // A run of macro-styled identifiers before an item keyword ("_GLIBCXX_BEGIN_NAMESPACE_VERSION").
        i64 run = p->pos;
        while (cfam_code_at(p, run) == token_identifier && cpp_looks_like_macro_name(cfam_text_of_token(p, run))) run++;
        if (run > p->pos + 1 && starts_item(cfam_code_at(p, run))) {
            p->pos = run;
            continue;
        }
        break;
    }
    CppMark start_mark = cpp_mark(a);
    i64 start = p->pos;
    bool is_typedef = cfam_accept_token(p, c_kw_typedef);
    Array<CppTemplateParam> tparams = cfam_array<CppTemplateParam>();
    while (cfam_at_code(p, cpp_kw_template)) {
        p->pos++;
        if (cfam_at_code(p, '<')) cpp_parse_template_parameters(a, &tparams);
        if (cfam_at_code(p, cpp_kw_requires)) cpp_parse_requires_clause(a);
    }
    if (!is_typedef) is_typedef = cfam_accept_token(p, c_kw_typedef);
    u16 c = cfam_code_now(p);
    if (is_access(c) && cfam_peek_code(p, 1) == ':') {
        p->pos += 2;
        return new_node(start, cpp_node_access);
    }
    if (c == cpp_kw_namespace) return parse_namespace(a, start);
    if (c == cpp_kw_concept && cfam_peek_code(p, 1) == token_identifier) return parse_concept(a, start);
    if (c == cpp_kw_using) {
        CppNode* node = new_node(start, cpp_node_using);
        node->use = cpp_parse_using(a);
        cfam_expect_token(p, ';');
        return node;
    }
    if (c == cpp_kw_static_assert) {
        // Checked by the compiler only; its expression is skipped like an access label.
        p->pos++;
        if (cfam_at_code(p, '(')) cpp_parse_expression(a, 15, 0);
        cfam_expect_token(p, ';');
        return new_node(start, cpp_node_access);
    }
    if (c == c_kw_extern && cfam_peek_code(p, 1) == token_string && cfam_peek_code(p, 2) == '{')
        return parse_linkage_block(a, start);
    CppMark before_specifiers = cpp_mark(a);
    u32 specifiers = cpp_parse_specifiers(a);
    c = cfam_code_now(p);
    if (c == c_kw_struct || c == cpp_kw_class || c == c_kw_union) {
        if (CppNode* node = parse_struct(a, start, is_typedef, specifiers, tparams)) return node;
    } else if (c == c_kw_enum) {
        if (CppNode* node = parse_enum(a, start, is_typedef)) return node;
    } else if (c == cpp_kw_namespace) {
        return parse_namespace(a, start);
    }
    if (is_typedef) {
        CppNode* node = new_node(start, cpp_node_typedef);
        node->alias = cpp_parse_typedef(a);
        cfam_expect_token(p, ';');
        return node;
    }
    if (CppNode* node = cpp_parse_function_or_variable(a, start, before_specifiers, specifiers, tparams)) return node;
    cpp_restore(a, start_mark);
    return nullptr;
}

namespace {
bool driver_hook(ParseState*, void* context) {
    CppAnalysis* a = (CppAnalysis*)context;
    CppNode* node = cpp_parse_top_level_item(a);
    if (!node) return false;
    array_append(&a->top_level_items, node);
    return true;
}
}  // namespace

void cpp_parse_tokens(CppAnalysis* a) {
    a->top_level_items = cfam_array<CppNode*>();
    cpp_build_token_tables(a);
    top_level_driver(&a->p, driver_hook, cfam_record_error, a);
}
