#include "analysis/token_classes.h"

bool is_stray_statement_token(u16 code) {
    switch (code) {
    case '|':
    case '%':
    case '&':
    case ',':
    case '.':
    case '/':
    case '<':
    case '>':
    case '[':
    case ']':
    case '^':
    case '=': return true;
    default: return false;
    }
}

bool is_stray_item_token(u16 code) {
    switch (code) {
    case '!':
    case '%':
    case ')':
    case ',':
    case '.':
    case '/':
    case '<':
    case '>':
    case ']':
    case '^':
    case '|':
    case token_integer:
    case token_real: return true;
    default: return false;
    }
}

void skip_stray_tokens(ParseState* p, bool (*is_stray)(u16 code), void (*on_skip)(ParseState* p)) {
    while (!at_end(p) && is_stray(current_code(p))) {
        if (on_skip) on_skip(p);
        p->pos++;
    }
}

bool is_assignment_operator(u16 code) {
    switch (code) {
    case '=':
    case token_with_equal('+'):
    case token_with_equal('-'):
    case token_with_equal('*'):
    case token_with_equal('/'):
    case token_with_equal('%'):
    case token_with_equal('&'):
    case token_with_equal('|'):
    case token_with_equal('^'):
    case token_doubled_equal('<'):
    case token_doubled_equal('>'): return true;
    default: return false;
    }
}
