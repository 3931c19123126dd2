#include "analysis/cpp/cpp_token_tables.h"

#include "memory/arena.h"

namespace {
// Brackets still open at a file's end stay unmatched: their chain links are cleared.
void clear_open_chains(i32* match, i32* top) {
    for (int k = 0; k < 3; k++) {
        while (top[k] >= 0) {
            i32 previous = match[top[k]];
            match[top[k]] = -1;
            top[k] = previous;
        }
    }
}
}  // namespace

// One pass over the tokens. While a bracket is open its entry in bracket_match links to
// the bracket of the same kind opened before it (the stack of that kind), so that no
// separate stacks are needed; closing it stores its partner there instead.
void cpp_build_token_tables(CppAnalysis* a) {
    ParseState* p = &a->p;
    i64 n = p->tokens.count;
    i32* next = (i32*)pool_alloc(pool_parser, (n + 1) * (i64)sizeof(i32));
    i32* match = (i32*)pool_alloc(pool_parser, (n + 1) * (i64)sizeof(i32));
    a->bracket_match = match;
    a->backtracked = 0;
    a->backtrack_budget = 4 * n + 65536;
    // C has no templates and no braced initialisers after a type: those tables stay
    // null there (a large C file is millions of tokens, each byte of them a page touched).
    u8* braces = nullptr;
    i32* angle = nullptr;
    a->braces_with_statements = nullptr;
    a->template_guess = nullptr;
    a->failed_parameter_lists = nullptr;
    a->next_angle_close = nullptr;
    if (!a->c_mode) {
        braces = (u8*)pool_alloc(pool_parser, n + 1);
        memset(braces, 0, (size_t)(n + 1));
        a->braces_with_statements = braces;
        a->template_guess = (u8*)pool_alloc(pool_parser, n + 1);
        memset(a->template_guess, 0, (size_t)(n + 1));
        a->failed_parameter_lists = (i32*)pool_alloc(pool_parser, (n + 1) * (i64)sizeof(i32));
        memset(a->failed_parameter_lists, 0, (size_t)(n + 1) * sizeof(i32));
        angle = (i32*)pool_alloc(pool_parser, (n + 1) * (i64)sizeof(i32));
        a->next_angle_close = angle;
    }
    i64 angle_from = 0;
    i32 top[3] = {-1, -1, -1};
    i64 shifts = 0;
    i64 fill_from = 0;
    const Token* tokens = p->tokens.data;
    for (i64 i = 0; i < n; i++) {
        u16 c = tokens[i].code;
        match[i] = -1;
        if (c == '{' || c == '}' || c == ';' || c == token_end) {
            for (i64 j = fill_from; j <= i; j++) next[j] = (i32)i;
            fill_from = i + 1;
        }
        if (angle && (c == '>' || c == token_doubled('>'))) {
            for (i64 j = angle_from; j <= i; j++) angle[j] = (i32)i;
            angle_from = i + 1;
        }
        int opener = c == '(' ? 0 : c == '[' ? 1 : c == '{' ? 2 : -1;
        int closer = c == ')' ? 0 : c == ']' ? 1 : c == '}' ? 2 : -1;
        if (opener >= 0) {
            match[i] = top[opener];
            top[opener] = (i32)i;
        } else if (closer >= 0) {
            i32 open = top[closer];
            if (open >= 0) {
                top[closer] = match[open];
                match[open] = (i32)i;
            }
        } else if (c == ';') {
            if (top[2] >= 0 && braces) braces[top[2]] = 1;
        } else if (c == token_end) {
            clear_open_chains(match, top);
        } else if (c == token_doubled('>')) {
            shifts++;
        }
    }
    clear_open_chains(match, top);
    for (i64 j = fill_from; j <= n; j++) next[j] = (i32)n;
    if (angle)
        for (i64 j = angle_from; j <= n; j++) angle[j] = (i32)n;
    a->splits = Array<CppSplit>{nullptr, 0, 0, pool_parser};
    array_reserve(&a->splits, shifts + 1);
    // The recovery scans share the tables: braces pair up the same way.
    p->next_stop = next;
    p->brace_match = match;
    p->lookahead_budget = 4 * n + 65536;
}

i64 cpp_closing_of(const CppAnalysis* a, i64 open) {
    if (!a->bracket_match || open < 0 || open >= a->p.tokens.count) return -1;
    return a->bracket_match[open];
}

bool cpp_braces_hold_statements(const CppAnalysis* a, i64 open) {
    if (!a->braces_with_statements || open < 0 || open >= a->p.tokens.count) return false;
    return a->braces_with_statements[open] != 0;
}
