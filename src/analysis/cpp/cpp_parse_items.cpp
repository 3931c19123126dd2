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

CppNode* new_node(i64 token, u8 kind) {
    CppNode* n = cfam_new<CppNode>();
    n->token = token;
    n->kind = kind;
    return n;
}

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
    const Token& t = token_at(p, p->pos + ahead);
    return StringView{t.text, t.length};
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
    cfam_parse_member_list(p, item_hook, a, &members);
    for (void* member : members) array_append(&s->members, (CppNode*)member);
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
    cfam_parse_member_list(p, item_hook, a, &members);
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

// The name of an item: an identifier with its qualifiers, a destructor, an operator,
// or a conversion operator.
struct ItemName {
    i64 name;
    StringView text;
    Array<i64> qualifiers;
    u8 destructor;
    CppExpr* conversion;
};

StringView operator_spelling(u16 code) {
    switch (code) {
    case '!': return SV("!");
    case '%': return SV("%");
    case '&': return SV("&");
    case '*': return SV("*");
    case '+': return SV("+");
    case '-': return SV("-");
    case '/': return SV("/");
    case '<': return SV("<");
    case '=': return SV("=");
    case '>': return SV(">");
    case '^': return SV("^");
    case '|': return SV("|");
    case token_doubled('+'): return SV("++");
    case token_doubled('-'): return SV("--");
    case token_doubled('<'): return SV("<<");
    case token_doubled('>'): return SV(">>");
    case token_with_equal('!'): return SV("!=");
    case token_with_equal('%'): return SV("%=");
    case token_with_equal('&'): return SV("&=");
    case token_with_equal('*'): return SV("*=");
    case token_with_equal('+'): return SV("+=");
    case token_with_equal('-'): return SV("-=");
    case token_with_equal('/'): return SV("/=");
    case token_with_equal('<'): return SV("<=");
    case token_with_equal('>'): return SV(">=");
    case token_with_equal('^'): return SV("^=");
    case token_with_equal('|'): return SV("|=");
    case token_doubled_equal('<'): return SV("<<=");
    case token_doubled_equal('>'): return SV(">>=");
    default: return StringView{nullptr, 0};
    }
}

bool parse_operator_name(CppAnalysis* a, ItemName* n, bool type_found) {
    ParseState* p = ps(a);
    p->pos++;  // "operator"
    u16 c = cfam_code_now(p);
    StringView spelling = operator_spelling(c);
    if (spelling.length) {
        p->pos++;
    } else if (c == '(' && cfam_peek_code(p, 1) == ')') {
        spelling = SV("()");
        p->pos += 2;
    } else if (c == '[' && cfam_peek_code(p, 1) == ']') {
        spelling = SV("[]");
        p->pos += 2;
    } else if (!type_found) {
        n->conversion = cpp_parse_type(a);
        if (!n->conversion) return false;
        n->text = SV("<implicit conversion>");
        return true;
    } else {
        return false;
    }
    n->text = string_concat(SV("operator"), spelling, pool_parser);
    return true;
}

bool parse_item_name(CppAnalysis* a, ItemName* n, bool type_found) {
    ParseState* p = ps(a);
    i64 start = p->pos;
    *n = ItemName{};
    n->name = -1;
    n->qualifiers = cfam_array<i64>();
    cfam_accept_token(p, token_doubled(':'));
    for (;;) {
        u16 c = cfam_code_now(p);
        if (c == token_identifier) {
            // Calling-convention macros between the type and the name ("int WINAPI f(").
            while (cfam_peek_code(p, 1) == token_identifier && cfam_peek_code(p, 2) != token_doubled(':')) p->pos++;
            if (cfam_peek_code(p, 1) == token_doubled(':')) {
                array_append(&n->qualifiers, p->pos);
                p->pos += 2;
                cfam_accept_token(p, cpp_kw_template);
                continue;
            }
            if (cfam_peek_code(p, 1) == '<' && !a->c_mode) {
                // "A<T>::f": template arguments of a qualifier.
                i64 at = p->pos;
                p->pos++;
                if (cpp_template_arguments_follow(a)) {
                    Array<CppExpr*> ignored = cfam_array<CppExpr*>();
                    cpp_parse_template_arguments(a, &ignored);
                    if (cfam_at_code(p, token_doubled(':'))) {
                        array_append(&n->qualifiers, at);
                        p->pos++;
                        continue;
                    }
                }
                p->pos = at;
            }
            n->name = p->pos++;
            n->text = cfam_text_of_token(p, n->name);
            return true;
        }
        if (c == '~' && cfam_peek_code(p, 1) == token_identifier) {
            n->destructor = 1;
            n->name = p->pos + 1;
            n->text = string_concat(SV("~"), cfam_text_of_token(p, n->name), pool_parser);
            p->pos += 2;
            return true;
        }
        if (c == cpp_kw_operator) {
            if (parse_operator_name(a, n, type_found && n->qualifiers.count == 0)) return true;
        }
        p->pos = start;
        return false;
    }
}

// Words that may follow a function's parameter list before its body or ";": macros of
// system headers (__THROW, __wur), "override", "final".
bool is_function_decoration(const ParseState* p) {
    if (!cfam_at_code(p, token_identifier)) return false;
    StringView t = token_text(p);
    if (sv_equal(t, SV("override")) || sv_equal(t, SV("final"))) return true;
    if (t.length > 2 && t.data[0] == '_' && t.data[1] == '_') return true;
    return cpp_looks_like_macro_name(t);
}

void parse_function_tail(CppAnalysis* a, CppFunction* f) {
    ParseState* p = ps(a);
    while (cfam_going_on(p)) {
        u16 c = cfam_code_now(p);
        if (c == c_kw_const || c == c_kw_volatile || c == '&' || c == token_doubled('&')) {
            p->pos++;
        } else if (c == cpp_kw_noexcept || c == cpp_kw_throw) {
            p->pos++;
            if (cfam_at_code(p, '(')) {
                i64 close = cpp_closing_of(a, p->pos);
                p->pos = close > 0 ? close + 1 : p->pos + 1;
            }
        } else if (c == token_arrow) {
            p->pos++;
            f->trailing_return = cpp_parse_type(a);
        } else if (c == '=' && (cfam_peek_code(p, 1) == token_integer || cfam_peek_code(p, 1) == c_kw_default ||
                                cfam_peek_code(p, 1) == cpp_kw_delete)) {
            p->pos += 2;
        } else if (c == cpp_kw_requires) {
            p->pos++;
            cpp_parse_expression(a, 13, 0);
        } else if (cpp_skip_attributes(a)) {
        } else if (is_function_decoration(p)) {
            p->pos++;
            if (cfam_at_code(p, '(')) {
                i64 close = cpp_closing_of(a, p->pos);
                p->pos = close > 0 ? close + 1 : p->pos + 1;
            }
        } else {
            return;
        }
    }
}

void parse_member_initializers(CppAnalysis* a, CppFunction* f) {
    ParseState* p = ps(a);
    if (a->c_mode || !cfam_accept_token(p, ':')) return;
    do {
        CppInitializer init{};
        init.args = cfam_array<CppExpr*>();
        init.name = cpp_parse_expression(a, 14, cflag_type | cflag_no_braces);
        if (!init.name) {
            cfam_record_error(p);
            return;
        }
        if (cfam_accept_token(p, '(')) {
            if (!cfam_at_code(p, ')'))
                if (CppExpr* e = cpp_parse_expression(a, 0, 0)) array_append(&init.args, e);
            cfam_expect_token(p, ')');
        } else if (cfam_at_code(p, '{')) {
            array_append(&init.args, cpp_parse_expression(a, 15, 0));
        }
        cfam_accept_token(p, token_ellipsis);
        array_append(&f->initializers, init);
    } while (cfam_going_on(p) && cfam_accept_token(p, ','));
}

CppNode* parse_function(CppAnalysis* a, i64 start, const ItemName& n, CppExpr* type, u32 specifiers,
                        const Array<CppTemplateParam>& tparams) {
    ParseState* p = ps(a);
    CppFunction* f = cfam_new<CppFunction>();
    f->first = start;
    f->name = n.name;
    f->name_text = n.text;
    f->qualifiers = n.qualifiers;
    f->destructor = n.destructor;
    f->specifiers = specifiers;
    f->template_params = tparams;
    f->return_type = n.conversion ? n.conversion : type;
    f->params = cfam_array<CppParam>();
    f->initializers = cfam_array<CppInitializer>();
    if (n.name >= 0 && !n.conversion && cfam_code_at(p, n.name) == token_identifier)
        colour_at(a, n.name, cpp_kind_proc);
    cpp_parse_parameter_list(a, &f->params, &f->variadic);
    i64 close = p->pos - 1;
    CppNode* node = new_node(start, cpp_node_function);
    node->function = f;
    if (!cfam_going_on(p)) {
        f->head_end = p->pos;
        return node;
    }
    parse_function_tail(a, f);
    parse_member_initializers(a, f);
    f->head_end = p->pos;
    // An attribute macro of the prototype on a line of its own: "Py_GCC_ATTRIBUTE((...));".
    if (cfam_at_code(p, token_identifier) && cfam_peek_code(p, 1) == '(') {
        i64 group = cpp_closing_of(a, p->pos + 1);
        if (group > 0 && cfam_code_at(p, group + 1) == ';') p->pos = group + 1;
    }
    if (cfam_accept_token(p, ';')) {
    } else if (cfam_at_code(p, '{')) {
        f->body = cpp_parse_block(a);
    } else if (!at_end(p) && cfam_code_now(p) != token_end && token_at(p, p->pos).line > token_at(p, close).line &&
               !is_function_decoration(p)) {
        // A function-like macro standing alone ("DEFINE_X(a)"): what follows on the next
        // lines is an item of its own, not this head's body.
        cfam_count_error(p);
    } else {
        f->body = cpp_parse_block(a);
    }
    return node;
}

// A function whose declarator is parenthesised because it returns a function pointer:
// "int (*f(int x))(char)" followed by ";" or a body.
CppNode* function_from_declarator(CppAnalysis* a, i64 start, CppDeclaration* d, const Array<CppTemplateParam>& tparams) {
    ParseState* p = ps(a);
    CppFunction* f = cfam_new<CppFunction>();
    f->first = start;
    f->name = d->name;
    f->name_text = cfam_text_of_token(p, d->name);
    f->qualifiers = d->qualifiers;
    f->specifiers = d->specifiers;
    f->template_params = tparams;
    f->return_type = d->type;
    f->params = d->params;
    f->initializers = cfam_array<CppInitializer>();
    colour_at(a, d->name, cpp_kind_proc);
    f->head_end = p->pos;
    if (cfam_at_code(p, '{')) f->body = cpp_parse_block(a);
    else cfam_expect_token(p, ';');
    CppNode* node = new_node(start, cpp_node_function);
    node->function = f;
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

// Everything after the specifiers that is not a struct, enum or namespace: a function or
// a variable declaration.
CppNode* parse_function_or_variable(CppAnalysis* a, i64 start, const CppMark& before_specifiers, u32 specifiers,
                                    const Array<CppTemplateParam>& tparams) {
    ParseState* p = ps(a);
    CppMark before_type = cpp_mark(a);
    CppExpr* type = cpp_parse_type(a);
    ItemName n{};
    bool named = false;
    if (type) {
        named = parse_item_name(a, &n, true);
        u16 next = cfam_peek_code(p, 1);
        if (!named && cfam_at_code(p, '(') && next != '*' && next != '&' && next != '^') {
            // A constructor or a macro call: what looked like the type is the name.
            cpp_restore(a, before_type);
            type = nullptr;
            named = parse_item_name(a, &n, false);
        }
    } else {
        named = parse_item_name(a, &n, false);
    }
    if (named && cfam_at_code(p, '<') && cpp_template_arguments_follow(a)) {
        Array<CppExpr*> ignored = cfam_array<CppExpr*>();
        cpp_parse_template_arguments(a, &ignored);
    }
    if (named && cfam_at_code(p, '(')) return parse_function(a, start, n, type, specifiers, tparams);
    cpp_restore(a, before_specifiers);
    if (CppDeclaration* d = cpp_parse_declaration(a, true, cdecl_item)) {
        if (d->nested_function && !d->next && d->name >= 0) return function_from_declarator(a, start, d, tparams);
        cfam_expect_token(p, ';');
        CppNode* node = new_node(start, cpp_node_variable);
        node->variable = d;
        return node;
    }
    return nullptr;
}
}  // namespace

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
    }
    if (!is_typedef) is_typedef = cfam_accept_token(p, c_kw_typedef);
    u16 c = cfam_code_now(p);
    if (is_access(c) && cfam_peek_code(p, 1) == ':') {
        p->pos += 2;
        return new_node(start, cpp_node_access);
    }
    if (c == cpp_kw_namespace) return parse_namespace(a, start);
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
    if (CppNode* node = parse_function_or_variable(a, start, before_specifiers, specifiers, tparams)) return node;
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
