// Declarations of the C/C++ parser: specifiers, declarators, parameter lists, typedef,
// using, and template parameters and arguments.
#include "analysis/cpp/cpp_parser.h"
#include "analysis/cpp/cpp_token_tables.h"
#include "syntax/keyword_lists.h"
#include "syntax/token_kinds.h"

namespace {
ParseState* ps(CppAnalysis* a) { return &a->p; }

// Identifiers that decorate declarations in system headers and take a parenthesised
// argument list: __attribute__((...)), __declspec(...), __asm__("name").
bool is_decoration_word(const ParseState* p, i64 index) {
    if (cfam_code_at(p, index) != token_identifier) return false;
    StringView t = cfam_text_of_token(p, index);
    if (t.length < 5 || t.data[0] != '_') return false;
    return sv_equal(t, SV("__attribute__")) || sv_equal(t, SV("__attribute")) || sv_equal(t, SV("__declspec")) ||
           sv_equal(t, SV("__asm__")) || sv_equal(t, SV("__asm")) || sv_equal(t, SV("_Alignas")) ||
           sv_equal(t, SV("__alignas"));
}

// Identifiers that qualify a declaration without taking arguments.
bool is_qualifier_word(const ParseState* p, i64 index) {
    if (cfam_code_at(p, index) != token_identifier) return false;
    StringView t = cfam_text_of_token(p, index);
    if (t.length < 7 || (t.data[0] != '_' && t.data[0] != 'r')) return false;
    return sv_equal(t, SV("__extension__")) || sv_equal(t, SV("__restrict")) || sv_equal(t, SV("__restrict__")) ||
           sv_equal(t, SV("restrict")) || sv_equal(t, SV("__inline")) || sv_equal(t, SV("__inline__")) ||
           sv_equal(t, SV("_Noreturn")) || sv_equal(t, SV("__const")) || sv_equal(t, SV("_Thread_local")) ||
           sv_equal(t, SV("__thread")) || sv_equal(t, SV("__volatile__"));
}


bool is_storage_keyword(u16 c) {
    return c == c_kw_static || c == c_kw_inline || c == c_kw_extern || c == c_kw_register || c == c_kw_typedef ||
           c == c_kw_struct || c == c_kw_union || c == c_kw_enum || c == cpp_kw_class || c == cpp_kw_virtual ||
           c == cpp_kw_explicit || c == cpp_kw_friend || c == cpp_kw_constexpr || c == cpp_kw_template ||
           c == cpp_kw_namespace || c == cpp_kw_using;
}

// An identifier standing where specifiers stand is taken for a specifier macro when the
// declaration can only be read with it left out. Count the names that follow one another
// (a qualified name counts once; "const" and "volatile" between them are passed): three
// or more cannot all be type and declarator ("static __forceinline uint32 f("); two
// followed by the rest of a declarator neither ("X const _Tp* f", "EXPORT FILE *f"); and
// a name followed by a type keyword or a specifier is never a type ("stbir__inline int").
bool is_specifier_macro(const CppAnalysis* a, i64 index) {
    const ParseState* p = &a->p;
    if (cfam_code_at(p, index) != token_identifier) return false;
    i64 j = index;
    i64 names = 0;
    for (;;) {
        u16 c = cfam_code_at(p, j);
        if (c == c_kw_const || c == c_kw_volatile) {
            j++;
        } else if (c == token_identifier && !cpp_at_parameter_wrapper(a, j)) {
            names++;
            j++;
            while (cfam_code_at(p, j) == token_doubled(':') && cfam_code_at(p, j + 1) == token_identifier) j += 2;
        } else {
            break;
        }
    }
    u16 next = cfam_code_at(p, j);
    // "EXPORT std::vector<int> f()": two names and then template arguments after which a
    // declarator follows; the first name can only be a macro.
    if (names == 2 && next == '<') {
        // No ">" before the next ";", "{" or "}": no arguments close (told by the tables).
        if (a->next_angle_close && p->next_stop && j < p->tokens.count &&
            a->next_angle_close[j] > p->next_stop[j])
            return false;
        i64 depth = 0, k = j;
        for (i64 steps = 0; steps < 128; steps++, k++) {
            u16 c = cfam_code_at(p, k);
            if (c == '<') depth++;
            else if (c == '>') depth--;
            else if (c == token_doubled('>')) depth -= 2;
            else if (c == ';' || c == '{' || c == '}' || c == token_end) return false;
            if (depth <= 0) break;
        }
        u16 after = cfam_code_at(p, k + 1);
        return depth == 0 && (after == token_identifier || after == '*' || after == '&' ||
                              after == token_doubled('&') || after == token_doubled(':'));
    }
    bool keyword_follows =
        is_storage_keyword(next) || (cpp_is_type_keyword(next) && next != c_kw_const && next != c_kw_volatile);
    if (names == 1) return keyword_follows && cfam_code_at(p, index + 1) != token_doubled(':');
    if (names >= 3) return next != '<' && next != token_doubled(':');
    return keyword_follows || next == '*' || next == '&' || next == token_doubled('&') || next == cpp_kw_operator ||
           next == '~';
}

// Skips the bracket group at `pos`; false (nothing moved) when it is not closed.
bool skip_group(CppAnalysis* a) {
    i64 close = cpp_closing_of(a, a->p.pos);
    if (close < 0) return false;
    a->p.pos = close + 1;
    return true;
}

// What may follow a declarator in each place.
bool follower_fits(u16 c, u8 context) {
    switch (context) {
    case cdecl_statement: return c == ';' || c == ',' || c == '=' || c == '{';
    case cdecl_parameter: return c == ',' || c == ')' || c == '=' || c == token_ellipsis || c == '>';
    case cdecl_condition: return c == '=' || c == '{';
    case cdecl_for: return c == ';' || c == ',' || c == '=' || c == '{' || c == ':';
    case cdecl_catch: return c == ')';
    default: return true;
    }
}

}  // namespace

void cpp_parse_initializer(CppAnalysis* a, CppDeclaration* d, bool allow_bit_field) {
    ParseState* p = ps(a);
    if (allow_bit_field && cfam_at_code(p, ':') && d->name >= 0) {
        // A bit-field width.
        p->pos++;
        if (CppExpr* width = cpp_parse_expression(a, 2, 0)) array_append(&d->sizes, width);
    }
    if (cfam_accept_token(p, '=')) {
        d->init = cpp_parse_expression(a, 1, 0);
        if (!d->init) cfam_record_error(p);
    } else if (cfam_at_code(p, '{') && !a->c_mode) {
        d->init = cpp_parse_expression(a, 15, 0);
    }
}

CppDeclaration* cpp_new_declaration(i64 first, u32 specifiers, CppExpr* type) {
    CppDeclaration* d = cfam_new<CppDeclaration>();
    d->first = first;
    d->specifiers = specifiers;
    d->type = type;
    d->name = -1;
    d->qualifiers = cfam_array<i64>();
    d->sizes = cfam_array<CppExpr*>();
    d->params = cfam_array<CppParam>();
    return d;
}

namespace {

// The name part of a declarator: pointer marks, then an identifier (possibly qualified)
// or a parenthesised declarator.
void parse_declarator_name(CppAnalysis* a, CppDeclaration* d, u8 context) {
    ParseState* p = ps(a);
    for (;;) {
        u16 c = cfam_code_now(p);
        if (c == '*' || c == '&' || c == token_doubled('&') || c == '^' || c == c_kw_const || c == c_kw_volatile ||
            c == token_ellipsis || is_qualifier_word(p, p->pos)) {
            p->pos++;
        } else if (c == token_identifier && cfam_peek_code(p, 1) == token_doubled(':') && cfam_peek_code(p, 2) == '*') {
            p->pos += 3;  // pointer to member "C::*"
        } else if (!cpp_skip_attributes(a) && !cpp_skip_macro_decoration(a)) {
            break;
        }
    }
    u16 c = cfam_code_now(p);
    if (c == '(') {
        u16 next = cfam_peek_code(p, 1);
        bool nested =
            next == '*' || next == '&' || next == token_doubled('&') || next == '^' ||
            (next == token_identifier && cfam_peek_code(p, 2) == token_doubled(':') && cfam_peek_code(p, 3) == '*');
        if (nested) {
            // "(*name[4])" or "(*f(int))": the inner declarator with its own suffixes.
            p->pos++;
            cpp_parse_declarator(a, d, context == cdecl_statement ? (u8)cdecl_item : context);
            if (d->has_function) d->nested_function = 1;
            cfam_expect_token(p, ')');
        }
        return;
    }
    // Macro words in front of the name ("int __restrict x", "char FAR *p"), but not the
    // name in front of a parameter wrapper ("f OF((int a))").
    while (cfam_at_code(p, token_identifier) && cfam_peek_code(p, 1) == token_identifier &&
           !cpp_at_parameter_wrapper(a, p->pos + 1))
        p->pos++;
    if (cfam_at_code(p, token_doubled(':')) && cfam_peek_code(p, 1) == token_identifier) p->pos++;
    if (!cfam_at_code(p, token_identifier)) return;
    i64 name = p->pos++;
    while (cfam_at_code(p, token_doubled(':'))) {
        u16 next = cfam_peek_code(p, 1);
        if (next == token_identifier) {
            array_append(&d->qualifiers, name);
            name = p->pos + 1;
            p->pos += 2;
        } else if (next == '~' && cfam_peek_code(p, 2) == token_identifier) {
            array_append(&d->qualifiers, name);
            name = p->pos + 2;
            p->pos += 3;
        } else {
            break;
        }
    }
    if (cfam_at_code(p, '<') && !a->c_mode && d->qualifiers.count > 0 && cpp_template_arguments_follow(a)) {
        Array<CppExpr*> ignored = cfam_array<CppExpr*>();
        cpp_parse_template_arguments(a, &ignored);
    }
    d->name = name;
}
}  // namespace

bool cpp_looks_like_macro_name(StringView t) {
    i64 letters = 0;
    for (i64 i = 0; i < t.length; i++) {
        char c = t.data[i];
        if (c >= 'a' && c <= 'z') return false;
        if (c >= 'A' && c <= 'Z') letters++;
    }
    return letters >= 2;
}

bool cpp_at_parameter_wrapper(const CppAnalysis* a, i64 index) {
    const ParseState* p = &a->p;
    if (cfam_code_at(p, index) != token_identifier || cfam_code_at(p, index + 1) != '(' ||
        cfam_code_at(p, index + 2) != '(')
        return false;
    StringView t = cfam_text_of_token(p, index);
    bool no_lower = true;
    for (i64 i = 0; i < t.length; i++)
        if (t.data[i] >= 'a' && t.data[i] <= 'z') no_lower = false;
    if (!no_lower && !(t.length > 2 && t.data[0] == '_' && t.data[1] == '_')) return false;
    i64 inner = cpp_closing_of(a, index + 2);
    return inner > 0 && cpp_closing_of(a, index + 1) == inner + 1;
}

void cpp_parse_wrapped_parameter_list(CppAnalysis* a, Array<CppParam>* out, u8* variadic) {
    ParseState* p = ps(a);
    if (!cpp_at_parameter_wrapper(a, p->pos)) {
        cpp_parse_parameter_list(a, out, variadic);
        return;
    }
    p->pos += 2;  // the wrapper and its "("
    cpp_parse_parameter_list(a, out, variadic);
    cfam_expect_token(p, ')');
}

bool cpp_skip_macro_decoration(CppAnalysis* a) {
    ParseState* p = ps(a);
    if (!cfam_at_code(p, token_identifier) || !cpp_looks_like_macro_name(token_text(p))) return false;
    u16 next = cfam_peek_code(p, 1);
    if (next == '*' || next == '&' || next == token_doubled('&')) {
        p->pos++;
        return true;
    }
    if (next != '(') return false;
    i64 close = cpp_closing_of(a, p->pos + 1);
    u16 after = cfam_code_at(p, close + 1);
    if (close < 0 || !(after == token_identifier || after == '*' || after == '&')) return false;
    if (after == token_identifier && cpp_at_parameter_wrapper(a, close + 1)) return false;
    // "int RUN_ALL_TESTS() MUST_USE_RESULT;": an empty group with a macro-styled word after
    // it is a function and its decoration, not a decoration and a name.
    if (close == p->pos + 2 && after == token_identifier &&
        cpp_looks_like_macro_name(cfam_text_of_token(p, close + 1)))
        return false;
    p->pos = close + 1;
    return true;
}

bool cpp_skip_attributes(CppAnalysis* a) {
    ParseState* p = ps(a);
    bool skipped = false;
    for (;;) {
        u16 c = cfam_code_now(p);
        if (c == token_identifier) {
            // Only long names starting with "_" or "r" can be decorations: most names
            // are told apart here without comparing text.
            const Token& t = p->tokens[p->pos];
            StringView name = text_of(p, t);
            if (name.length < 5 || (name.data[0] != '_' && name.data[0] != 'r')) return skipped;
        } else if (c != cpp_kw_alignas && c != '[') {
            return skipped;
        }
        if (is_decoration_word(p, p->pos) || c == cpp_kw_alignas) {
            p->pos++;
            if (cfam_at_code(p, '(')) skip_group(a);
        } else if (is_qualifier_word(p, p->pos) && !(cfam_peek_code(p, 1) == '(' )) {
            p->pos++;
        } else if (c == '[' && cfam_peek_code(p, 1) == '[' && !a->c_mode) {
            if (!skip_group(a)) return skipped;
        } else {
            return skipped;
        }
        skipped = true;
    }
}

u32 cpp_parse_specifiers(CppAnalysis* a) {
    ParseState* p = ps(a);
    u32 flags = 0;
    bool took_macro_group = false;
    for (;;) {
        u16 c = cfam_code_now(p);
        u32 flag = 0;
        switch (c) {
        case c_kw_static: flag = cspec_static; break;
        case c_kw_inline: flag = cspec_inline; break;
        case c_kw_extern: flag = cspec_extern; break;
        case cpp_kw_export: flag = cspec_export; break;
        case cpp_kw_virtual: flag = cspec_virtual; break;
        case cpp_kw_friend: flag = cspec_friend; break;
        case cpp_kw_explicit: flag = cspec_explicit; break;
        case cpp_kw_mutable: flag = cspec_mutable; break;
        case cpp_kw_constexpr:
        case cpp_kw_consteval:
        case cpp_kw_constinit: flag = cspec_constexpr; break;
        case c_kw_register:
        case cpp_kw_thread_local: flag = cspec_static; break;
        default: break;
        }
        if (flag) {
            flags |= flag;
            p->pos++;
            if (c == c_kw_extern && cfam_at_code(p, token_string) && cfam_peek_code(p, 1) != '{') p->pos++;
            if (c == cpp_kw_explicit && cfam_at_code(p, '(')) skip_group(a);
            continue;
        }
        if (cpp_skip_attributes(a)) continue;
        if (is_specifier_macro(a, p->pos) ||
            (cfam_at_code(p, token_identifier) && is_decoration_word(p, p->pos + 1))) {  // "EXPORT __declspec(...)"
            p->pos++;
            continue;
        }
        // One macro with arguments standing for the return type or linkage, then the
        // type or name of the declaration: "PyAPI_FUNC(int) f(...)", "DECLARE(x) T y".
        // A second one only where the name and its "(" follow it on the line:
        // "DEPRECATED(3.0) API(int) f(...)", but "API(int) f(...) PRINTFLIKE(1,2)" ends
        // with a macro-styled decoration, not a name.
        if (cfam_at_code(p, token_identifier) && cfam_peek_code(p, 1) == '(') {
            i64 close = cpp_closing_of(a, p->pos + 1);
            u16 after = cfam_code_at(p, close + 2);
            if (took_macro_group &&
                (after != '(' || cpp_looks_like_macro_name(cfam_text_of_token(p, close + 1))))
                return flags;
            took_macro_group = true;
            // On one line: "X(a)\nY(b);" are two macro calls, not a return type and a name.
            if (close > 0 && cfam_code_at(p, close + 1) == token_identifier &&
                token_at(p, close + 1).line == token_at(p, close).line &&
                (after == '(' || after == token_identifier || after == '*' || after == '&')) {
                p->pos = close + 1;
                flags |= cspec_macro_type;
                continue;
            }
        }
        return flags;
    }
}

CppMark cpp_mark(const CppAnalysis* a) {
    return CppMark{cfam_parse_mark(&a->p), a->splits.count, memory.arenas[pool_parser].used};
}

void cpp_restore(CppAnalysis* a, const CppMark& m) {
    if (a->p.pos > m.mark.pos) a->backtracked += a->p.pos - m.mark.pos;
    cfam_parse_restore(&a->p, m.mark);
    // Everything allocated since the mark belongs to the abandoned attempt (the split
    // list never grows: its storage is reserved for every ">>" of the pass).
    if (memory.arenas[pool_parser].used > m.pool_used) memory.arenas[pool_parser].used = m.pool_used;
    while (a->splits.count > m.splits) {
        CppSplit split = a->splits[--a->splits.count];
        if (split.index >= 0 && split.index < a->p.tokens.count) a->p.tokens[split.index] = split.original;
    }
}

bool cpp_parse_declarator(CppAnalysis* a, CppDeclaration* d, u8 context) {
    ParseState* p = ps(a);
    if (!cfam_nesting_enter(p)) return false;
    parse_declarator_name(a, d, context);
    cpp_skip_attributes(a);
    for (;;) {
        if (cfam_at_code(p, '[') && !(cfam_peek_code(p, 1) == '[' && !a->c_mode)) {
            p->pos++;
            if (!cfam_at_code(p, ']'))
                if (CppExpr* size = cpp_parse_expression(a, 0, 0)) array_append(&d->sizes, size);
            cfam_expect_token(p, ']');
        } else if (cfam_at_code(p, '(') || cpp_at_parameter_wrapper(a, p->pos)) {
            // Parameters of a function declarator, or the arguments of "T x(a, b)"; the
            // parameters of a returned function pointer ("(*f(int))(char)") are dropped.
            if (d->name < 0 && context == cdecl_statement) break;
            u8 variadic = 0;
            if (d->has_function) {
                Array<CppParam> ignored = cfam_array<CppParam>();
                cpp_parse_wrapped_parameter_list(a, &ignored, &variadic);
            } else {
                d->has_function = 1;
                cpp_parse_wrapped_parameter_list(a, &d->params, &variadic);
            }
            while (cfam_at_code(p, c_kw_const) || cfam_at_code(p, c_kw_volatile) || cfam_at_code(p, cpp_kw_noexcept))
                p->pos++;
        } else {
            break;
        }
    }
    cpp_skip_attributes(a);
    cfam_nesting_leave(p);
    bool needs_name = context == cdecl_statement || context == cdecl_condition || context == cdecl_for;
    if (needs_name && d->name < 0) return false;
    return true;
}

namespace {
// "auto [k, v] = ...", "const auto& [k, v] : m": one declaration per name, chained; the
// initialiser is kept once, with the first. Null, nothing moved, when the declaration is
// no structured binding (it needs "auto" among the tokens from `first`).
CppDeclaration* parse_structured_binding(CppAnalysis* a, i64 first, u32 specifiers, CppExpr* type, u8 context) {
    ParseState* p = ps(a);
    if (a->c_mode || context == cdecl_parameter || context == cdecl_catch) return nullptr;
    i64 i = p->pos;
    while (cfam_code_at(p, i) == '&' || cfam_code_at(p, i) == token_doubled('&')) i++;
    if (cfam_code_at(p, i) != '[' || cfam_code_at(p, i + 1) != token_identifier) return nullptr;
    bool has_auto = false;
    for (i64 t = first; t < p->pos && !has_auto; t++) has_auto = cfam_code_at(p, t) == cpp_kw_auto;
    if (!has_auto) return nullptr;
    i64 close = cpp_closing_of(a, i);
    if (close < 0) return nullptr;
    for (i64 t = i + 1; t < close; t += 2) {
        if (cfam_code_at(p, t) != token_identifier) return nullptr;
        if (t + 1 < close && cfam_code_at(p, t + 1) != ',') return nullptr;
    }
    CppDeclaration* head = nullptr;
    CppDeclaration* last = nullptr;
    for (i64 t = i + 1; t < close; t += 2) {
        CppDeclaration* d = cpp_new_declaration(first, specifiers, type);
        d->name = t;
        if (last) last->next = d;
        else head = d;
        last = d;
    }
    p->pos = close + 1;
    return head;
}
}  // namespace

CppDeclaration* cpp_parse_declaration(CppAnalysis* a, bool more, u8 context) {
    ParseState* p = ps(a);
    if (context != cdecl_item && cpp_backtracking_spent(a)) return nullptr;
    CppMark m = cpp_mark(a);
    i64 first = p->pos;
    u32 specifiers = cpp_parse_specifiers(a);
    CppExpr* type = cpp_parse_type(a);
    if (!type) {
        cpp_restore(a, m);
        return nullptr;
    }
    if (CppDeclaration* binding = parse_structured_binding(a, first, specifiers, type, context)) {
        u16 next = cfam_code_now(p);
        if (next == '=' || next == '{' || next == '(' || (next == ':' && context == cdecl_for)) {
            if (next == '(') {
                p->pos++;
                binding->init = cpp_parse_expression(a, 0, 0);
                cfam_expect_token(p, ')');
            } else {
                cpp_parse_initializer(a, binding, false);
            }
            return binding;
        }
        cpp_restore(a, m);
        return nullptr;
    }
    CppDeclaration* d = cpp_new_declaration(first, specifiers, type);
    i64 cut_before = p->depth_cut_pos;
    if (!cpp_parse_declarator(a, d, context) || !follower_fits(cfam_code_now(p), context)) {
        if (p->depth_cut_pos > cut_before && p->recovering) {
            // Nesting was cut off inside: any other reading of these tokens would nest as
            // deep and be cut off again ("int f(int (" repeated costs the depth limit
            // squared). The nodes are dropped, the recovery past the cut is kept.
            ParseMark after = cfam_parse_mark(p);
            i64 backtracked = a->backtracked;
            cpp_restore(a, m);
            cfam_parse_restore(p, after);
            a->backtracked = backtracked;
        } else {
            cpp_restore(a, m);
        }
        return nullptr;
    }
    cpp_parse_initializer(a, d, context == cdecl_item);
    CppDeclaration* last = d;
    while (more && cfam_going_on(p) && cfam_at_code(p, ',')) {
        p->pos++;
        CppDeclaration* next = cpp_new_declaration(first, specifiers, type);
        cpp_parse_declarator(a, next, cdecl_item);
        cpp_parse_initializer(a, next, context == cdecl_item);
        last->next = next;
        last = next;
    }
    return d;
}

void cpp_parse_parameter_list(CppAnalysis* a, Array<CppParam>* out, u8* variadic) {
    ParseState* p = ps(a);
    if (!cfam_expect_token(p, '(')) return;
    if (!cfam_nesting_enter(p)) return;
    while (cfam_going_on(p) && !cfam_at_code(p, ')')) {
        if (cfam_at_code(p, token_ellipsis)) {
            *variadic = 1;
            p->pos++;
        } else {
            cpp_skip_attributes(a);
            CppParam param{};
            param.decl = cpp_parse_declaration(a, false, cdecl_parameter);
            if (!param.decl) param.expr = cpp_parse_expression(a, 1, 0);
            if (!param.decl && !param.expr) {
                cfam_record_error(p);
                break;
            }
            array_append(out, param);
        }
        if (!cfam_accept_token(p, ',')) break;
    }
    cfam_nesting_leave(p);
    cfam_expect_token(p, ')');
}

CppTypedef* cpp_parse_typedef(CppAnalysis* a) {
    ParseState* p = ps(a);
    CppTypedef* t = cfam_new<CppTypedef>();
    i64 first = p->pos;
    u32 specifiers = cpp_parse_specifiers(a);
    CppExpr* type = cpp_parse_type(a);
    if (!type) {
        cfam_record_error(p);
        return t;
    }
    CppDeclaration* last = nullptr;
    do {
        CppDeclaration* d = cpp_new_declaration(first, specifiers | cspec_typedef, type);
        cpp_parse_declarator(a, d, cdecl_item);
        if (d->name >= 0) colour_token(p, p->tokens[d->name], cpp_kind_typedef);
        else cfam_count_error(p);  // an identifier was expected
        if (last) last->next = d;
        else t->decl = d;
        last = d;
    } while (cfam_going_on(p) && cfam_accept_token(p, ','));
    return t;
}

CppUsing* cpp_parse_using(CppAnalysis* a) {
    ParseState* p = ps(a);
    p->pos++;  // "using"
    CppUsing* first = nullptr;
    CppUsing* last = nullptr;
    do {
        CppUsing* u = cfam_new<CppUsing>();
        u->alias = -1;
        if (cfam_accept_token(p, cpp_kw_namespace)) u->is_namespace = 1;
        cfam_accept_token(p, cpp_kw_typename);
        if (cfam_at_code(p, token_identifier) && cfam_peek_code(p, 1) == '=') {
            u->alias = p->pos;
            colour_current_token(p, cpp_kind_using);
            p->pos += 2;
            cfam_accept_token(p, cpp_kw_typename);
        }
        cpp_skip_attributes(a);
        u->target = cpp_parse_expression(a, 13, cflag_type);
        if (!u->target) cfam_count_error(p);
        if (last) last->next = u;
        else first = u;
        last = u;
    } while (cfam_going_on(p) && cfam_accept_token(p, ','));
    return first;
}

namespace {
void parse_template_parameter_items(CppAnalysis* a, Array<CppTemplateParam>* out);
}

void cpp_parse_template_parameters(CppAnalysis* a, Array<CppTemplateParam>* out) {
    ParseState* p = ps(a);
    i64 open = p->pos;
    i32* failed = a->failed_parameter_lists;
    if (failed && open >= 0 && open < p->tokens.count && failed[open] > open) {
        // Failed before from here: the same again, without the work ("template<" repeated).
        cfam_count_error(p);
        p->pos = failed[open];
        cfam_record_error(p);
        return;
    }
    i64 errors = p->error_count;
    parse_template_parameter_items(a, out);
    bool failed_now = p->error_count != errors || p->recovering;
    if (failed && failed_now && open >= 0 && open < p->tokens.count && p->pos > open) failed[open] = (i32)p->pos;
}

namespace {
void parse_template_parameter_items(CppAnalysis* a, Array<CppTemplateParam>* out) {
    ParseState* p = ps(a);
    if (!cfam_expect_token(p, '<')) return;
    if (!cfam_nesting_enter(p)) return;
    while (cfam_going_on(p) && !cfam_at_code(p, '>') && !cfam_at_code(p, token_doubled('>'))) {
        CppTemplateParam param{};
        param.name = -1;
        bool type_parameter = false;
        if (cfam_at_code(p, cpp_kw_template)) {
            p->pos++;
            Array<CppTemplateParam> inner = cfam_array<CppTemplateParam>();
            if (cfam_at_code(p, '<')) cpp_parse_template_parameters(a, &inner);
        }
        u16 c = cfam_code_now(p);
        // "typename T" names a type parameter; "typename std::enable_if<...>::type* = nullptr"
        // is a value parameter of that type.
        u16 after_name = cfam_peek_code(p, 2);
        bool qualified = cfam_peek_code(p, 1) == token_identifier && (after_name == token_doubled(':') || after_name == '<');
        if ((c == cpp_kw_class || c == cpp_kw_typename || c == c_kw_struct) && !qualified &&
            (cfam_peek_code(p, 1) == token_identifier || cfam_peek_code(p, 1) == token_ellipsis ||
             cfam_peek_code(p, 1) == ',' || cfam_peek_code(p, 1) == '>' || cfam_peek_code(p, 1) == '=')) {
            p->pos++;
            type_parameter = true;
        } else {
            param.type = cpp_parse_type(a);
            if (!param.type) {
                cfam_record_error(p);
                break;
            }
        }
        cfam_accept_token(p, token_ellipsis);
        if (cfam_at_code(p, token_identifier)) param.name = p->pos++;
        if (cfam_accept_token(p, '=')) {
            param.value = type_parameter ? cpp_parse_type(a) : cpp_parse_expression(a, 1, cflag_template);
            if (!param.value) param.value = cpp_parse_expression(a, 1, cflag_template);
        }
        array_append(out, param);
        if (!cfam_accept_token(p, ',')) break;
    }
    cfam_nesting_leave(p);
    cpp_expect_template_close(a);
}

}  // namespace

void cpp_parse_template_arguments(CppAnalysis* a, Array<CppExpr*>* out) {
    ParseState* p = ps(a);
    p->pos++;  // "<"
    if (!cfam_nesting_enter(p)) return;
    while (cfam_going_on(p) && !cfam_at_code(p, '>') && !cfam_at_code(p, token_doubled('>'))) {
        CppExpr* item = cpp_parse_expression(a, 1, cflag_template);
        if (!item) {
            if (cfam_at_code(p, ',')) {  // an empty item
                p->pos++;
                continue;
            }
            break;
        }
        array_append(out, item);
        if (!cfam_accept_token(p, ',')) break;
    }
    cfam_nesting_leave(p);
    cpp_expect_template_close(a);
}

bool cpp_expect_template_close(CppAnalysis* a) {
    ParseState* p = ps(a);
    if (cfam_at_code(p, token_doubled('>'))) {
        // ">>" closes two lists: this one takes the first ">", the second is left.
        Token& t = p->tokens[p->pos];
        array_append(&a->splits, CppSplit{p->pos, t});
        t.code = '>';
        t.offset += 1;
        t.length = 1;
        return true;
    }
    return cfam_expect_token(p, '>');
}

bool cpp_template_arguments_follow(CppAnalysis* a) {
    ParseState* p = ps(a);
    if (a->c_mode || !cfam_at_code(p, '<')) return false;
    i64 start = p->pos;
    if (a->template_guess && a->template_guess[start]) return a->template_guess[start] == 1;
    if (a->next_angle_close && p->next_stop && a->next_angle_close[start] > p->next_stop[start]) {
        if (a->template_guess) a->template_guess[start] = 2;
        return false;
    }
    i64 angle = 1, paren = 0, i = start + 1;
    bool doubtful = false;
    for (; i < p->tokens.count && i < start + 512; i++) {
        u16 c = p->tokens[i].code;
        switch (c) {
        case token_end:
        case ';':
        case '{':
        case '}': goto fail;
        case '(':
        case '[': paren++; break;
        case ')':
        case ']':
            if (paren == 0) goto fail;
            paren--;
            break;
        case '<':
            if (paren == 0) angle++;
            break;
        case '>':
            if (paren == 0 && --angle == 0) goto found;
            break;
        case token_doubled('>'):
            if (paren == 0 && (angle -= 2) <= 0) goto found;
            break;
        case token_doubled('&'):
        case token_doubled('|'):
            // "a < b && c > d" compares; "enable_if<A && B>::type" does not: decided by
            // what follows the ">".
            if (paren == 0) doubtful = true;
            break;
        case '=':
        case token_with_equal('+'):
        case token_with_equal('-'):
        case token_with_equal('*'):
        case token_with_equal('/'):
        case c_kw_return:
            if (paren == 0) goto fail;
            break;
        default: break;
        }
    }
fail:
    if (a->template_guess) a->template_guess[start] = 2;
    return false;
found:
    if (doubtful && cfam_code_at(p, i + 1) != token_doubled(':')) goto fail;
    if (a->template_guess) a->template_guess[start] = 1;
    return true;
}
