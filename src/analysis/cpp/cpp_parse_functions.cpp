// Functions and the other declarations of an item: the item's name (qualified, a
// destructor, an operator or a conversion), the parameter list with its wrappers, the
// words after it, member initialisers, K&R parameter declarations and the body.
#include "analysis/cpp/cpp_parser.h"
#include "analysis/cpp/cpp_token_tables.h"
#include "syntax/keyword_lists.h"
#include "syntax/token_kinds.h"

namespace {
ParseState* ps(CppAnalysis* a) { return &a->p; }

CppNode* new_node(i64 token, u8 kind) { return cpp_new_node(token, kind); }

void colour_at(CppAnalysis* a, i64 token, u8 kind) {
    if (token >= 0 && token < ps(a)->tokens.count) colour_token(ps(a), ps(a)->tokens[token], kind);
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
    case token_with_equal('='): return SV("==");
    case token_doubled('&'): return SV("&&");
    case token_doubled('|'): return SV("||");
    case token_arrow: return SV("->");
    case ',': return SV(",");
    case '~': return SV("~");
    case cpp_kw_new: return SV(" new");  // a word: "operator new"
    case cpp_kw_delete: return SV(" delete");
    case cpp_kw_co_await: return SV(" co_await");
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
        // The spellings of two tokens: "<=>", "->*", "new[]" and "delete[]".
        u16 next = cfam_code_now(p);
        if (c == token_with_equal('<') && next == '>') {
            spelling = SV("<=>");
            p->pos++;
        } else if (c == token_arrow && next == '*') {
            spelling = SV("->*");
            p->pos++;
        } else if ((c == cpp_kw_new || c == cpp_kw_delete) && next == '[' && cfam_peek_code(p, 1) == ']') {
            spelling = string_concat(spelling, SV("[]"), pool_parser);
            p->pos += 2;
        }
    } else if (c == token_string && cfam_peek_code(p, 1) == token_identifier) {
        // A literal operator: operator"" _km.
        spelling = string_concat(SV("\"\""), cfam_text_of_token(p, p->pos + 1), pool_parser);
        p->pos += 2;
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
    // "T const *f(": the type takes no "const" after a plain name, so its marks are here.
    if (type_found && (cfam_at_code(p, c_kw_const) || cfam_at_code(p, c_kw_volatile)))
        while (cfam_at_code(p, c_kw_const) || cfam_at_code(p, c_kw_volatile) || cfam_at_code(p, '*') ||
               cfam_at_code(p, '&') || cfam_at_code(p, token_doubled('&')))
            p->pos++;
    cfam_accept_token(p, token_doubled(':'));
    for (;;) {
        // Decorations between the type and the name: "__declspec(dllexport)",
        // "__attribute__((...))", "ALIGNED(16)", "FAR *".
        if (n->qualifiers.count == 0 && (cpp_skip_attributes(a) || cpp_skip_macro_decoration(a))) {
            while (cfam_at_code(p, '*') || cfam_at_code(p, '&') || cfam_at_code(p, c_kw_const)) p->pos++;
            continue;
        }
        u16 c = cfam_code_now(p);
        if (c == token_identifier) {
            // Calling-convention macros between the type and the name ("int WINAPI f("),
            // but not the name of "f OF((int a))".
            while (cfam_peek_code(p, 1) == token_identifier && cfam_peek_code(p, 2) != token_doubled(':') &&
                   !cpp_at_parameter_wrapper(a, p->pos + 1))
                p->pos++;
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

// `same_line`: a head without a return type takes no words from later lines, which
// belong to the next item ("X(a)\nPNG_EXPORT(...);"); words that start no item still
// continue it ("pair(U1 x)\n  noexcept(...)\n  : first(x)").
void parse_function_tail(CppAnalysis* a, CppFunction* f, bool same_line) {
    ParseState* p = ps(a);
    u32 line = token_at(p, p->pos - 1).line;
    while (cfam_going_on(p)) {
        u16 c = cfam_code_now(p);
        bool continues = c == cpp_kw_noexcept || c == cpp_kw_throw || c == cpp_kw_requires || c == token_arrow ||
                         c == '=' || c == '&' || c == token_doubled('&');
        if (same_line && !continues && token_at(p, p->pos).line != line) return;
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
            cpp_parse_requires_clause(a);
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

// A parameter list of bare names: the head of a K&R definition ("f(a, b)").
bool names_only(const Array<CppParam>& params) {
    if (params.count == 0) return false;
    for (const CppParam& param : params) {
        const CppExpr* e = param.decl ? param.decl->type : param.expr;
        if (!e || e->kind != cexpr_name || (param.decl && (param.decl->name >= 0 || param.decl->specifiers)))
            return false;
    }
    return true;
}

// The parameter declarations of a K&R definition ("int f(a, b) int a; char *b; {"): they
// become the function's parameters. False, nothing consumed, when they do not lead to "{".
bool parse_knr_parameters(CppAnalysis* a, CppFunction* f) {
    ParseState* p = ps(a);
    if (!names_only(f->params)) return false;
    CppMark m = cpp_mark(a);
    Array<CppParam> declared = cfam_array<CppParam>();
    while (cfam_going_on(p) && !cfam_at_code(p, '{')) {
        CppDeclaration* d = cpp_parse_declaration(a, true, cdecl_statement);
        if (!d || !cfam_accept_token(p, ';')) break;
        array_append(&declared, CppParam{d, nullptr});
    }
    if (declared.count == 0 || !cfam_at_code(p, '{')) {
        cpp_restore(a, m);
        return false;
    }
    for (const CppParam& name : f->params) {
        i64 token = name.decl ? name.decl->type->token : name.expr->token;
        colour_at(a, token, cpp_kind_parameter_var);
    }
    f->params = declared;
    return true;
}

// A declaration macro whose arguments hold the whole prototype, the name just before the
// parenthesised parameter list ("PNG_EXPORT(1, void, png_init, (png_structp p));"): the
// function takes that name and those parameters. The call's "(" is at `open`.
void take_declaration_macro(CppAnalysis* a, CppFunction* f, i64 open) {
    ParseState* p = ps(a);
    i64 close = cpp_closing_of(a, open);
    if (close < 0) return;
    i64 previous = -1, name = -1, group = -1;
    for (i64 i = open + 1; i < close;) {
        i64 argument = i;
        while (i < close && cfam_code_at(p, i) != ',') {
            u16 c = cfam_code_at(p, i);
            i64 end = c == '(' || c == '[' || c == '{' ? cpp_closing_of(a, i) : -1;
            i = end > i ? end + 1 : i + 1;
        }
        bool whole_group = cfam_code_at(p, argument) == '(' && cpp_closing_of(a, argument) == i - 1;
        if (whole_group && previous >= 0 && i - previous >= 0) {
            name = previous;
            group = argument;
        }
        previous = i - argument == 1 && cfam_code_at(p, argument) == token_identifier ? argument : -1;
        i++;
    }
    if (name < 0) return;
    p->pos = group;
    p->recovering = 0;
    f->params = cfam_array<CppParam>();
    cpp_parse_parameter_list(a, &f->params, &f->variadic);
    // The call ends at its ")", whatever its other arguments held.
    p->pos = close + 1;
    p->recovering = 0;
    cfam_accept_token(p, ';');
    f->name = name;
    f->name_text = cfam_text_of_token(p, name);
    f->macro_declared = 1;
    colour_at(a, name, cpp_kind_proc);
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
    i64 open = p->pos;
    cpp_parse_wrapped_parameter_list(a, &f->params, &f->variadic);
    CppNode* node = new_node(start, cpp_node_function);
    node->function = f;
    bool macro_shape = !type && n.qualifiers.count == 0 && !n.destructor && n.name == start;
    bool untyped = !type && !n.conversion && !n.destructor && n.qualifiers.count == 0;
    if (!cfam_going_on(p)) {
        f->head_end = p->pos;
        if (macro_shape) take_declaration_macro(a, f, open);
        return node;
    }
    parse_function_tail(a, f, untyped);
    parse_member_initializers(a, f);
    f->head_end = p->pos;
    // An attribute macro of the prototype on a line of its own: "Py_GCC_ATTRIBUTE((...));".
    // So is a macro's own line after a head whose return type a macro gave
    // ("EXPORT(int) f(...)\n    PRINTFLIKE(2,3);"), when its arguments hold no groups:
    // "X(a) X(b)\nPNG_EXPORT(1, void, f, (int a));" is a macro call and a prototype.
    if (cfam_at_code(p, token_identifier) && cfam_peek_code(p, 1) == '(') {
        i64 group = cpp_closing_of(a, p->pos + 1);
        bool flat = group > 0;
        for (i64 i = p->pos + 2; flat && i < group; i++) flat = cfam_code_at(p, i) != '(';
        bool own_line = token_at(p, p->pos).line != token_at(p, p->pos - 1).line;
        bool decoration =
            !untyped || cfam_peek_code(p, 2) == '(' || ((specifiers & cspec_macro_type) && flat && own_line);
        if (decoration && group > 0 && cfam_code_at(p, group + 1) == ';') p->pos = group + 1;
    }
    bool ends = cfam_accept_token(p, ';');
    if (!ends && !cfam_at_code(p, '{') && !cfam_at_code(p, cpp_kw_try) && !parse_knr_parameters(a, f)) {
        // A function-like macro standing alone ("DEFINE_X(a)", "X(a) X(b)"): what follows
        // is not this head's body.
        cfam_count_error(p);
        ends = true;
        f->macro_call = untyped;
    }
    if (ends) {
        if (macro_shape) take_declaration_macro(a, f, open);
        return node;
    }
    if (cfam_at_code(p, '{') || cfam_at_code(p, cpp_kw_try)) f->body = cpp_parse_block(a);
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
}  // namespace

// Everything after the specifiers that is not a struct, enum or namespace: a function or
// a variable declaration.
CppNode* cpp_parse_function_or_variable(CppAnalysis* a, i64 start, const CppMark& before_specifiers, u32 specifiers,
                                    const Array<CppTemplateParam>& tparams) {
    ParseState* p = ps(a);
    CppMark before_type = cpp_mark(a);
    CppExpr* type = cpp_parse_type(a);
    ItemName n{};
    bool named = false;
    if (type) {
        named = parse_item_name(a, &n, true);
        u16 next = cfam_peek_code(p, 1);
        // "int (max)(int a, int b)": a name kept in parentheses from a macro of its own name.
        if (!named && cfam_at_code(p, '(') && next == token_identifier && cfam_peek_code(p, 2) == ')' &&
            cfam_peek_code(p, 3) == '(') {
            p->pos++;
            if (parse_item_name(a, &n, true) && cfam_accept_token(p, ')'))
                return parse_function(a, start, n, type, specifiers, tparams);
            cpp_restore(a, before_type);
            type = cpp_parse_type(a);
        }
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
    if (named && (cfam_at_code(p, '(') || cpp_at_parameter_wrapper(a, p->pos)))
        return parse_function(a, start, n, type, specifiers, tparams);
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
