// Expressions and types of the C/C++ parser: precedence climbing over the binary
// levels, prefix operators, and primaries with their postfix chains.
#include "analysis/cpp/cpp_parser.h"
#include "analysis/cpp/cpp_token_tables.h"
#include "analysis/token_classes.h"
#include "syntax/keyword_lists.h"

namespace {
ParseState* ps(CppAnalysis* a) { return &a->p; }

// Binary level of the current operator in this mode, -1 when it is none.
i32 binary_level(u16 code, u32 flags) {
    if (flags & cflag_type) return -1;
    if (is_assignment_operator(code)) return 1;
    bool in_template = (flags & cflag_template) != 0;
    switch (code) {
    case ',': return in_template ? -1 : 0;
    case '?': return 2;
    case token_doubled('|'): return 3;
    case token_doubled('&'): return 4;
    case '|': return 5;
    case '^': return 6;
    case '&': return 7;
    case token_with_equal('='):
    case token_with_equal('!'): return 8;
    case '<':
    case '>': return in_template ? -1 : 9;
    case token_with_equal('<'):
    case token_with_equal('>'): return 9;
    case token_doubled('<'):
    case token_doubled('>'): return in_template ? -1 : 10;
    case '+':
    case '-': return 11;
    case '*':
    case '/':
    case '%': return 12;
    default: return -1;
    }
}

bool is_pointer_mark(u16 code) { return code == '*' || code == '&' || code == token_doubled('&'); }

CppExpr* as_chain(CppAnalysis* a, CppExpr* e) {
    if (e->kind == cexpr_chain) return e;
    CppExpr* chain = cpp_new_expr(a, cexpr_chain, e->token);
    chain->a = e;
    chain->post = cfam_array<CppPostfix>();
    return chain;
}

void add_postfix(CppAnalysis* a, CppExpr** e, u8 kind, i64 token) {
    *e = as_chain(a, *e);
    CppPostfix post{};
    post.kind = kind;
    post.token = token;
    post.name = -1;
    post.close = -1;
    post.args = cfam_array<CppExpr*>();
    array_append(&(*e)->post, post);
}

CppPostfix* last_postfix(CppExpr* e) { return e->kind == cexpr_chain && e->post.count ? &e->post[e->post.count - 1] : nullptr; }

// A run of "*", "&", "&&", "const" and "volatile" after a type, when nothing that could be
// an operand follows it: the run is part of the type ("(char **)p", "vector<int*>").
bool pointer_marks_follow(CppAnalysis* a) {
    if (!is_pointer_mark(cfam_code_now(ps(a)))) return false;
    i64 i = ps(a)->pos;
    while (i < ps(a)->tokens.count) {
        u16 c = cfam_code_at(ps(a), i);
        if (!is_pointer_mark(c) && c != c_kw_const && c != c_kw_volatile) break;
        i++;
    }
    return !cpp_can_begin_operand(a, cfam_code_at(ps(a), i));
}

// The marks change nothing that resolution looks at, so they are only remembered as a
// flag (casts are told from parenthesised expressions by it).
void take_pointer_marks(CppAnalysis* a, CppExpr** e) {
    for (;;) {
        u16 c = cfam_code_now(ps(a));
        if (!is_pointer_mark(c) && c != c_kw_const && c != c_kw_volatile) return;
        (*e)->op |= cexpr_pointer_marks;
        ps(a)->pos++;
    }
}

// Items separated by "," up to `closer`, which is consumed; its token is returned (-1
// when it is missing).
i64 parse_list(CppAnalysis* a, u16 closer, Array<CppExpr*>* out) {
    ParseState* p = ps(a);
    p->pos++;  // the opener
    if (!cfam_nesting_enter(p)) return -1;
    while (cfam_going_on(p) && !cfam_at_code(p, closer)) {
        CppExpr* item = cpp_parse_expression(a, 1, 0);
        if (!item) {
            if (cfam_at_code(p, ',')) {
                p->pos++;
                continue;
            }
            break;
        }
        array_append(out, item);
        if (!cfam_accept_token(p, ',')) break;
    }
    cfam_nesting_leave(p);
    if (cfam_expect_token(p, closer)) return p->pos - 1;
    return -1;
}

// "{ items }" with C designators (".x =", "[i] =").
CppExpr* parse_braced(CppAnalysis* a) {
    ParseState* p = ps(a);
    CppExpr* e = cpp_new_expr(a, cexpr_braced, p->pos);
    e->list = cfam_array<CppExpr*>();
    p->pos++;
    if (!cfam_nesting_enter(p)) return e;
    while (cfam_going_on(p) && !at_end(p) && !cfam_at_code(p, '}') && cfam_code_now(p) != token_end) {
        bool designated = false;
        i64 member = -1;
        while (cfam_at_code(p, '.') && cfam_peek_code(p, 1) == token_identifier) {
            if (member < 0) member = p->pos + 1;
            p->pos += 2;
            designated = true;
        }
        while (cfam_at_code(p, '[')) {
            i64 close = cpp_closing_of(a, p->pos);
            if (close < 0 || cfam_code_at(p, close + 1) != '=') break;
            p->pos++;
            if (CppExpr* index = cpp_parse_expression(a, 0, 0)) array_append(&e->list, index);
            cfam_expect_token(p, ']');
            designated = true;
        }
        if (designated) cfam_accept_token(p, '=');
        CppExpr* item = cpp_parse_expression(a, 1, 0);
        if (!item) {
            if (cfam_at_code(p, ',')) {
                p->pos++;
                continue;
            }
            break;
        }
        if (member >= 0) {
            // The member is named once the list's type is known (cpp_resolve_declarator_parts).
            CppExpr* d = cpp_new_expr(a, cexpr_designator, member);
            d->a = item;
            item = d;
        }
        array_append(&e->list, item);
        if (!cfam_accept_token(p, ',')) break;
    }
    cfam_nesting_leave(p);
    cfam_expect_token(p, '}');
    return e;
}

CppExpr* parse_lambda(CppAnalysis* a) {
    ParseState* p = ps(a);
    i64 close = cpp_closing_of(a, p->pos);
    if (close < 0 || cfam_peek_code(p, 1) == '[') return nullptr;
    CppExpr* e = cpp_new_expr(a, cexpr_lambda, p->pos);
    CppLambda* lambda = cfam_new<CppLambda>();
    lambda->params = cfam_array<CppParam>();
    e->lambda = lambda;
    p->pos = close + 1;
    if (cfam_at_code(p, '(')) {
        u8 variadic = 0;
        cpp_parse_parameter_list(a, &lambda->params, &variadic);
    }
    for (;;) {
        u16 c = cfam_code_now(p);
        if (c == cpp_kw_mutable || c == cpp_kw_constexpr || c == cpp_kw_consteval) {
            p->pos++;
        } else if (c == cpp_kw_noexcept) {
            p->pos++;
            if (cfam_at_code(p, '(')) {
                i64 end = cpp_closing_of(a, p->pos);
                p->pos = end > 0 ? end + 1 : p->pos + 1;
            }
        } else if (!cpp_skip_attributes(a)) {
            break;
        }
    }
    if (cfam_accept_token(p, token_arrow)) lambda->trailing_return = cpp_parse_type(a);
    if (cfam_at_code(p, '{')) lambda->body = cpp_parse_block(a);
    return e;
}

// "sizeof", "alignof", "typeid", "decltype", "noexcept": a parenthesised type or an operand.
CppExpr* parse_keyword_operand(CppAnalysis* a) {
    ParseState* p = ps(a);
    CppExpr* e = cpp_new_expr(a, cexpr_keyword_op, p->pos);
    e->op = cfam_code_now(p);
    e->list = cfam_array<CppExpr*>();
    p->pos++;
    cfam_accept_token(p, token_ellipsis);
    if (cfam_at_code(p, '(') && cpp_is_type_keyword(cfam_peek_code(p, 1)) && cfam_peek_code(p, 1) != cpp_kw_decltype) {
        p->pos++;
        e->a = cpp_parse_type(a);
        cfam_expect_token(p, ')');
        return e;
    }
    e->a = cpp_parse_expression(a, 13, 0);
    return e;
}

CppExpr* parse_new(CppAnalysis* a) {
    ParseState* p = ps(a);
    CppExpr* e = cpp_new_expr(a, cexpr_keyword_op, p->pos);
    e->op = cfam_code_now(p);
    e->list = cfam_array<CppExpr*>();
    p->pos++;
    if (cfam_at_code(p, '(')) parse_list(a, ')', &e->list);
    if (cfam_at_code(p, '(')) {
        p->pos++;
        e->a = cpp_parse_type(a);
        cfam_expect_token(p, ')');
    } else {
        e->a = cpp_parse_type(a);
    }
    if (cfam_at_code(p, '(')) parse_list(a, ')', &e->list);
    else if (cfam_at_code(p, '{')) array_append(&e->list, parse_braced(a));
    return e;
}

// "requires (parameters) { requirements }": the parameters are parsed so that their
// types are resolved; the requirements are skipped as one group.
CppExpr* parse_requires_expression(CppAnalysis* a) {
    ParseState* p = ps(a);
    CppExpr* e = cpp_new_expr(a, cexpr_keyword_op, p->pos);
    e->op = cpp_kw_requires;
    e->list = cfam_array<CppExpr*>();
    p->pos++;
    if (cfam_at_code(p, '(')) {
        Array<CppParam> params = cfam_array<CppParam>();
        u8 variadic = 0;
        cpp_parse_parameter_list(a, &params, &variadic);
    }
    if (cfam_at_code(p, '{')) {
        i64 close = cpp_closing_of(a, p->pos);
        p->pos = close > p->pos ? close + 1 : p->pos + 1;
    }
    return e;
}

CppExpr* parse_named_cast(CppAnalysis* a) {
    ParseState* p = ps(a);
    CppExpr* e = cpp_new_expr(a, cexpr_cast, p->pos);
    p->pos++;
    if (cfam_expect_token(p, '<')) {
        e->a = cpp_parse_type(a);
        cpp_expect_template_close(a);
    }
    if (cfam_expect_token(p, '(')) {
        e->b = cpp_parse_expression(a, 0, 0);
        cfam_expect_token(p, ')');
    }
    return e;
}

// A name of the chain looks like a type: names, "::" parts, template arguments, marks.
bool looks_like_type(const CppExpr* e) {
    if (!e) return false;
    if (e->kind == cexpr_name || e->kind == cexpr_type) return true;
    if (e->kind != cexpr_chain || !e->a || (e->a->kind != cexpr_name && e->a->kind != cexpr_type)) return false;
    for (const CppPostfix& post : e->post)
        if (post.kind != cpost_scope && post.kind != cpost_template && post.kind != cpost_pointer) return false;
    return true;
}

bool has_pointer_mark(const CppExpr* e) { return e && (e->op & cexpr_pointer_marks); }

// The operand of a cast: another cast, a braced compound literal, or a prefix expression.
CppExpr* cast_operand(CppAnalysis* a) {
    if (cfam_at_code(ps(a), '{')) return parse_braced(a);
    return cpp_parse_expression(a, 13, 0);
}

CppExpr* parse_parenthesised(CppAnalysis* a, u32 flags) {
    ParseState* p = ps(a);
    i64 open = p->pos;
    if (!cfam_nesting_enter(p)) return nullptr;
    CppExpr* result = nullptr;
    u16 first = cfam_peek_code(p, 1);
    if (cpp_is_type_keyword(first) && first != cpp_kw_decltype && !cpp_backtracking_spent(a)) {
        CppMark m = cpp_mark(a);
        p->pos++;
        CppExpr* type = cpp_parse_type(a);
        if (type && cfam_at_code(p, ')')) {
            p->pos++;
            result = cpp_new_expr(a, cexpr_cast, open);
            result->a = type;
            if (cfam_at_code(p, '{') || cpp_can_begin_operand(a, cfam_code_now(p))) result->b = cast_operand(a);
        } else {
            cpp_restore(a, m);
        }
    }
    if (!result) {
        p->pos = open + 1;
        CppExpr* inner = cpp_parse_expression(a, 0, flags & ~(cflag_type | cflag_template));
        cfam_expect_token(p, ')');
        u16 next = cfam_code_now(p);
        bool operand_follows = next == token_identifier || (next >= token_integer && next <= token_character) ||
                               next == '!' || next == '~' || next == '{' || next == c_kw_sizeof ||
                               next == cpp_kw_this || next == cpp_kw_new || next == c_kw_true || next == c_kw_false ||
                               next == cpp_kw_nullptr;
        if (has_pointer_mark(inner) && cpp_can_begin_operand(a, next)) operand_follows = true;
        if (looks_like_type(inner) && operand_follows && !(flags & cflag_type)) {
            result = cpp_new_expr(a, cexpr_cast, open);
            result->a = inner;
            result->b = cast_operand(a);
        } else {
            result = cpp_new_expr(a, cexpr_paren, open);
            result->a = inner;
        }
    }
    cfam_nesting_leave(p);
    return result;
}

// A run of type keywords with its named part: "unsigned long", "const struct S",
// "typename T::type", "decltype(x)", "const Foo" (in type mode).
CppExpr* parse_type_run(CppAnalysis* a, u32 flags) {
    ParseState* p = ps(a);
    i64 start = p->pos;
    CppExpr* e = cpp_new_expr(a, cexpr_type, start);
    bool saw_base = false, saw_size = false;
    for (;;) {
        u16 c = cfam_code_now(p);
        if (c == c_kw_const || c == c_kw_volatile) {
            p->pos++;
        } else if (c == c_kw_signed || c == c_kw_unsigned || c == c_kw_short || c == c_kw_long) {
            saw_size = true;
            p->pos++;
        } else if (c == c_kw_bool || c == c_kw_char || c == c_kw_int || c == c_kw_float || c == c_kw_double ||
                   c == c_kw_void || c == cpp_kw_auto || c == cpp_kw_char8_t || c == cpp_kw_char16_t ||
                   c == cpp_kw_char32_t) {
            saw_base = true;
            p->pos++;
        } else if (c == c_kw_struct || c == c_kw_union || c == c_kw_enum || c == cpp_kw_class ||
                   c == cpp_kw_typename) {
            p->pos++;
            cpp_skip_attributes(a);
            if (!saw_base && (cfam_at_code(p, token_identifier) || cfam_at_code(p, token_doubled(':')))) {
                e->a = cpp_parse_expression(a, 14, cflag_type | cflag_no_braces | (flags & cflag_template));
                saw_base = true;
            }
        } else if (c == cpp_kw_decltype && !saw_base) {
            e->a = parse_keyword_operand(a);
            saw_base = true;
        } else if (c == token_identifier && !saw_base && !saw_size && p->pos > start) {
            e->a = cpp_parse_expression(a, 14, cflag_type | cflag_no_braces | (flags & cflag_template));
            saw_base = true;
        } else {
            break;
        }
    }
    if (p->pos == start) return nullptr;
    return e;
}

CppExpr* parse_primary(CppAnalysis* a, u32 flags) {
    ParseState* p = ps(a);
    if (at_end(p)) return nullptr;
    u16 c = cfam_code_now(p);
    i64 at = p->pos;
    if (c == token_identifier) {
        p->pos++;
        return cpp_new_expr(a, cexpr_name, at);
    }
    if (c == token_doubled(':') && cfam_peek_code(p, 1) == token_identifier) {
        p->pos += 2;
        return cpp_new_expr(a, cexpr_name, at + 1);
    }
    if (cpp_is_type_keyword(c)) return parse_type_run(a, flags);
    if (flags & cflag_type) return nullptr;
    switch (c) {
    case token_integer:
    case token_real:
    case token_character:
    case c_kw_true:
    case c_kw_false:
    case cpp_kw_nullptr: p->pos++; return cpp_new_expr(a, cexpr_literal, at);
    case token_string:
        while (cfam_at_code(p, token_string)) p->pos++;
        return cpp_new_expr(a, cexpr_literal, at);
    case cpp_kw_this: p->pos++; return cpp_new_expr(a, cexpr_this, at);
    case '(': return parse_parenthesised(a, flags);
    case '{': return parse_braced(a);
    case '[': return a->c_mode ? nullptr : parse_lambda(a);
    case c_kw_sizeof:
    case cpp_kw_alignof:
    case cpp_kw_typeid:
    case cpp_kw_noexcept: return parse_keyword_operand(a);
    case cpp_kw_new: return parse_new(a);
    case cpp_kw_requires: return parse_requires_expression(a);
    case cpp_kw_static_cast:
    case cpp_kw_dynamic_cast:
    case cpp_kw_reinterpret_cast:
    case cpp_kw_const_cast: return parse_named_cast(a);
    case cpp_kw_delete:
    case cpp_kw_co_await:
    case cpp_kw_throw: {
        CppExpr* e = cpp_new_expr(a, cexpr_keyword_op, at);
        e->op = c;
        e->list = cfam_array<CppExpr*>();
        p->pos++;
        if (c == cpp_kw_delete && cfam_at_code(p, '[') && cfam_peek_code(p, 1) == ']') p->pos += 2;
        if (cpp_can_begin_operand(a, cfam_code_now(p))) e->a = cpp_parse_expression(a, c == cpp_kw_throw ? 1 : 13, 0);
        return e;
    }
    case cpp_kw_operator: {
        // "&C::operator=" and the like: the operator's name as a literal.
        p->pos++;
        if ((cfam_at_code(p, '(') && cfam_peek_code(p, 1) == ')') ||
            (cfam_at_code(p, '[') && cfam_peek_code(p, 1) == ']'))
            p->pos += 2;
        else if (!at_end(p) && cfam_code_now(p) != token_end && cfam_code_now(p) != ';') p->pos++;
        return cpp_new_expr(a, cexpr_literal, at);
    }
    default: return nullptr;
    }
}

// Whether `auto` stands right before `index`, past reference marks and "const": a "["
// there opens a structured binding, never an array bound of the type.
bool follows_auto(const ParseState* p, i64 index) {
    for (i64 i = index - 1; i >= 0 && i >= index - 4; i--) {
        u16 c = cfam_code_at(p, i);
        if (c == cpp_kw_auto) return true;
        if (c != '&' && c != token_doubled('&') && c != c_kw_const && c != c_kw_volatile) return false;
    }
    return false;
}

bool name_like(const CppExpr* e) {
    if (e->kind == cexpr_name) return true;
    if (e->kind != cexpr_chain || e->a->kind != cexpr_name || e->post.count == 0) return false;
    const CppPostfix& last = e->post[e->post.count - 1];
    return last.kind == cpost_scope || (last.kind == cpost_member && last.name >= 0);
}

CppExpr* parse_postfix(CppAnalysis* a, u32 flags) {
    ParseState* p = ps(a);
    CppExpr* e = parse_primary(a, flags);
    if (!e) return nullptr;
    bool type_mode = (flags & cflag_type) != 0;
    for (;;) {
        if (at_end(p) || !cfam_going_on(p)) break;
        u16 c = cfam_code_now(p);
        i64 at = p->pos;
        if (c == '.' || c == token_arrow || c == token_doubled(':')) {
            if (c == token_arrow && type_mode) break;
            p->pos++;
            cfam_accept_token(p, cpp_kw_template);
            add_postfix(a, &e, c == token_doubled(':') ? cpost_scope : cpost_member, at);
            CppPostfix* post = last_postfix(e);
            if (cfam_at_code(p, '~') && cfam_peek_code(p, 1) == token_identifier) {
                post->destructor = 1;
                p->pos++;
            }
            if (cfam_at_code(p, token_identifier) && !cfam_member_typed_above(p, at)) {
                post->name = p->pos++;
            } else if (c == token_doubled(':') && cfam_at_code(p, '*')) {
                post->kind = cpost_pointer;  // pointer to member "C::*"
                p->pos++;
            } else if (cfam_at_code(p, cpp_kw_operator)) {
                parse_primary(a, 0);
            }
        } else if (c == '[') {
            if (a->c_mode == false && cfam_peek_code(p, 1) == '[') break;  // an attribute
            if (type_mode && follows_auto(p, at)) break;                        // "auto& [k, v]"
            add_postfix(a, &e, cpost_index, at);
            p->pos++;
            if (!cfam_nesting_enter(p)) break;
            if (!cfam_at_code(p, ']')) {
                // The chain's postfix list may move while the index is parsed: look it up after.
                CppExpr* index = cpp_parse_expression(a, 0, 0);
                if (index) array_append(&last_postfix(e)->args, index);
            }
            cfam_nesting_leave(p);
            if (cfam_expect_token(p, ']')) last_postfix(e)->close = p->pos - 1;
        } else if (c == '<' && name_like(e) && cpp_template_arguments_follow(a)) {
            add_postfix(a, &e, cpost_template, at);
            Array<CppExpr*> args = cfam_array<CppExpr*>();
            cpp_parse_template_arguments(a, &args);
            last_postfix(e)->args = args;
        } else if (c == '(' && !type_mode) {
            add_postfix(a, &e, cpost_call, at);
            Array<CppExpr*> args = cfam_array<CppExpr*>();
            i64 close = parse_list(a, ')', &args);
            last_postfix(e)->args = args;
            last_postfix(e)->close = close;
        } else if (c == '{' && !type_mode && !(flags & cflag_no_braces) && !a->c_mode && looks_like_type(e) &&
                   !cpp_braces_hold_statements(a, p->pos)) {
            add_postfix(a, &e, cpost_braced, at);
            CppExpr* braced = parse_braced(a);
            last_postfix(e)->args = braced->list;
            last_postfix(e)->close = p->pos - 1;
        } else if ((c == token_doubled('+') || c == token_doubled('-')) && !type_mode) {
            add_postfix(a, &e, cpost_increment, at);
            p->pos++;
        } else if (type_mode && (is_pointer_mark(c) || ((c == c_kw_const || c == c_kw_volatile) && e->kind == cexpr_chain))) {
            take_pointer_marks(a, &e);
        } else if (c == token_ellipsis) {
            p->pos++;
        } else {
            break;
        }
    }
    return e;
}

CppExpr* parse_prefix(CppAnalysis* a, u32 flags) {
    ParseState* p = ps(a);
    u16 c = cfam_code_now(p);
    bool prefix = !(flags & cflag_type) && (c == '-' || c == '+' || c == token_doubled('-') || c == '!' || c == '&' ||
                                             c == token_doubled('&') || c == '*' || c == '~' ||
                                             c == token_doubled('+'));
    if (!prefix) return parse_postfix(a, flags);
    if (!cfam_nesting_enter(p)) return nullptr;
    CppExpr* e = cpp_new_expr(a, cexpr_prefix, p->pos);
    e->op = c;
    p->pos++;
    e->a = parse_prefix(a, flags);
    cfam_nesting_leave(p);
    if (!e->a) cfam_record_error(p);
    return e;
}

CppExpr* parse_binary(CppAnalysis* a, i32 min_level, u32 flags) {
    ParseState* p = ps(a);
    CppExpr* lhs = parse_prefix(a, flags);
    if (!lhs) return nullptr;
    for (;;) {
        if (at_end(p) || !cfam_going_on(p)) break;
        if (pointer_marks_follow(a)) {
            take_pointer_marks(a, &lhs);
            continue;
        }
        u16 c = cfam_code_now(p);
        i32 level = binary_level(c, flags);
        if (level < 0 || level < min_level) break;
        if (level <= 2) {
            // Right-associative: assignments and the conditional recurse for their right side.
            if (!cfam_nesting_enter(p)) break;
            CppExpr* e = cpp_new_expr(a, level == 2 ? cexpr_conditional : cexpr_binary, lhs->token);
            p->pos++;
            if (level == 2) {
                e->a = lhs;
                e->b = cpp_parse_expression(a, 0, flags & ~cflag_template);
                cfam_expect_token(p, ':');
                e->c = parse_binary(a, 2, flags);
            } else {
                e->list = cfam_array<CppExpr*>();
                array_append(&e->list, lhs);
                CppExpr* rhs = parse_binary(a, 1, flags);
                if (rhs) array_append(&e->list, rhs);
                else cfam_record_error(p);
            }
            cfam_nesting_leave(p);
            lhs = e;
            continue;
        }
        // A left-associative run of one level is kept as one flat list of operands.
        CppExpr* e = cpp_new_expr(a, cexpr_binary, lhs->token);
        e->op = c;
        e->list = cfam_array<CppExpr*>();
        array_append(&e->list, lhs);
        while (cfam_going_on(p) && !at_end(p) && binary_level(cfam_code_now(p), flags) == level &&
               !pointer_marks_follow(a)) {
            p->pos++;
            CppExpr* rhs = parse_binary(a, level + 1, flags);
            if (!rhs) {
                cfam_record_error(p);
                break;
            }
            array_append(&e->list, rhs);
        }
        lhs = e;
    }
    return lhs;
}
}  // namespace

CppExpr* cpp_new_expr(CppAnalysis* a, u8 kind, i64 token) {
    (void)a;
    CppExpr* e = cfam_new<CppExpr>();
    e->kind = kind;
    e->token = token;
    return e;
}

bool cpp_is_type_keyword(u16 code) {
    switch (code) {
    case c_kw_bool:
    case c_kw_char:
    case c_kw_const:
    case c_kw_double:
    case c_kw_enum:
    case c_kw_float:
    case c_kw_int:
    case c_kw_long:
    case c_kw_short:
    case c_kw_signed:
    case c_kw_struct:
    case c_kw_union:
    case c_kw_unsigned:
    case c_kw_void:
    case c_kw_volatile:
    case cpp_kw_auto:
    case cpp_kw_char8_t:
    case cpp_kw_char16_t:
    case cpp_kw_char32_t:
    case cpp_kw_class:
    case cpp_kw_typename:
    case cpp_kw_decltype: return true;
    default: return false;
    }
}

bool cpp_can_begin_operand(const CppAnalysis* a, u16 code) {
    if (code >= token_integer && code <= token_identifier) return true;
    if (cpp_is_type_keyword(code)) return code != c_kw_const && code != c_kw_volatile;
    switch (code) {
    case '(':
    case '~':
    case '!':
    case '-':
    case '+':
    case '*':
    case '&':
    case token_doubled('&'):
    case token_doubled('+'):
    case token_doubled('-'):
    case token_doubled(':'):
    case c_kw_true:
    case c_kw_false:
    case c_kw_sizeof:
    case cpp_kw_this:
    case cpp_kw_nullptr:
    case cpp_kw_new:
    case cpp_kw_delete:
    case cpp_kw_alignof:
    case cpp_kw_typeid:
    case cpp_kw_noexcept:
    case cpp_kw_static_cast:
    case cpp_kw_dynamic_cast:
    case cpp_kw_reinterpret_cast:
    case cpp_kw_const_cast:
    case cpp_kw_operator:
    case cpp_kw_co_await: return true;
    case '[': return !a->c_mode;
    default: return false;
    }
}

CppExpr* cpp_parse_requires_clause(CppAnalysis* a) {
    ParseState* p = ps(a);
    CppExpr* e = cpp_new_expr(a, cexpr_binary, p->pos);
    e->op = token_doubled('&');
    e->list = cfam_array<CppExpr*>();
    p->pos++;  // "requires"
    if (!cfam_nesting_enter(p)) return e;
    for (;;) {
        CppExpr* item = nullptr;
        if (cfam_at_code(p, '(')) {
            // Parenthesised by hand: "(C<T>) T f()" is no cast.
            p->pos++;
            item = cpp_parse_expression(a, 0, 0);
            cfam_expect_token(p, ')');
        } else if (cfam_at_code(p, cpp_kw_requires)) {
            item = parse_requires_expression(a);
        } else {
            // A concept or a constant with its template arguments; no call, no braces, so
            // that the declaration or the body after it stays where it is.
            item = cpp_parse_expression(a, 14, cflag_no_braces);
        }
        if (!item) break;
        array_append(&e->list, item);
        u16 c = cfam_code_now(p);
        if ((c != token_doubled('&') && c != token_doubled('|')) || !cfam_going_on(p)) break;
        p->pos++;
    }
    cfam_nesting_leave(p);
    return e;
}

CppExpr* cpp_parse_expression(CppAnalysis* a, i32 level, u32 flags) {
    if (level >= 15) return parse_primary(a, flags);
    if (level == 14) return parse_postfix(a, flags);
    if (level == 13) return parse_prefix(a, flags);
    return parse_binary(a, level < 0 ? 0 : level, flags);
}
