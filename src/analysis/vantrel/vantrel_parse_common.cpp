// Error counting, the two recoveries and the small token tests of the vantrel parser.
#include "analysis/token_classes.h"
#include "analysis/vantrel/vantrel_parser.h"
#include "syntax/keyword_lists.h"

namespace {
constexpr i64 forced_advance_limit = 1048576;

// Statement recovery: skip to the end of the statement or block that failed.
void statement_recovery(ParseState* p) {
    p->recovering = 1;
    p->block_abort = !p->in_block;
    i64 depth = 0;
    i64 i = p->pos < 0 ? 0 : p->pos;
    for (; i < p->tokens.count; i++) {
        u16 c = p->tokens[i].code;
        if (c == token_end) {
            p->recovering = 0;
            break;
        }
        if (c == '{') {
            depth++;
        } else if (c == '}') {
            if (depth == 0) break;
            if (depth == 1) {
                i++;
                break;
            }
            depth--;
        } else if (c == ';' && depth == 0) {
            i++;
            break;
        }
    }
    if (i >= p->tokens.count) p->recovering = 0;
    p->pos = i;
    p->resume_pos = i;
}

// Expectation recovery after `code` was missing; leaves pos on `code` when found.
void expectation_recovery(ParseState* p, u16 code) {
    i64 depth = 0;
    i64 i = p->pos < 0 ? 0 : p->pos;
    bool paren = code == '(' || code == ')';
    for (; i < p->tokens.count; i++) {
        u16 c = p->tokens[i].code;
        if (c == token_end) break;
        if (depth == 0 && c == code) break;
        if (depth == 0 && c == ';') {
            p->pos = p->resume_pos = i + 1;
            p->recovering = 1;
            p->block_abort = !p->in_block;
            return;
        }
        if (paren && (c == '{' || c == '}')) break;
        if (c == '{') {
            depth++;
        } else if (c == '}') {
            if (depth > 0) {
                depth--;
            } else {
                p->pos = p->resume_pos = i;
                p->recovering = 1;
                p->block_abort = !p->in_block;
                return;
            }
        }
    }
    p->pos = i;
}

struct OperatorTexts {
    char one[128];
    char two[128 * 2];   // c "="  and  c c
    char pair[128 * 2];
    char three[128 * 3];
    constexpr OperatorTexts() : one(), two(), pair(), three() {
        for (int c = 0; c < 128; c++) {
            one[c] = (char)c;
            two[c * 2] = (char)c;
            two[c * 2 + 1] = '=';
            pair[c * 2] = (char)c;
            pair[c * 2 + 1] = (char)c;
            three[c * 3] = (char)c;
            three[c * 3 + 1] = (char)c;
            three[c * 3 + 2] = '=';
        }
    }
};
constexpr OperatorTexts operator_texts;
}  // namespace

void vnt_count_error(ParseState* p) {
    p->error_count++;
    if (p->error_count > forced_advance_limit) {
        if (p->pos < p->tokens.count) p->pos++;
        p->error_count = 0;
    }
}

void vnt_record_error(ParseState* p) {
    vnt_count_error(p);
    if (!p->recovering) statement_recovery(p);
}

bool vnt_expect(ParseState* p, u16 code) {
    if (!at_end(p) && current_code(p) == code) {
        p->pos++;
        return true;
    }
    vnt_count_error(p);
    if (p->recovering) return false;
    expectation_recovery(p, code);
    if (!p->recovering && !at_end(p) && current_code(p) == code) {
        p->pos++;
        return true;
    }
    return false;
}

i64 vnt_expect_identifier(ParseState* p) {
    if (vnt_expect(p, token_identifier)) return p->pos - 1;
    return -1;
}

bool vnt_enter(ParseState* p) {
    if (p->depth >= max_nesting_depth) {
        vnt_record_error(p);
        return false;
    }
    p->depth++;
    return true;
}

VExpr* vnt_expr(ParseState* p, u8 kind) {
    VExpr* e = vnt_new<VExpr>();
    e->kind = kind;
    e->token = p->pos;
    e->open = e->close = -1;
    e->list.pool = pool_parser;
    e->tokens.pool = pool_parser;
    return e;
}

bool vnt_is_type_keyword(u16 code) {
    switch (code) {
    case vantrel_kw_bool:
    case vantrel_kw_byte:
    case vantrel_kw_char:
    case vantrel_kw_double:
    case vantrel_kw_float:
    case vantrel_kw_int:
    case vantrel_kw_long:
    case vantrel_kw_octa:
    case vantrel_kw_pointer:
    case vantrel_kw_quadro:
    case vantrel_kw_real:
    case vantrel_kw_short:
    case vantrel_kw_tiny: return true;
    default: return false;
    }
}

bool vnt_can_begin_operand(u16 code) {
    if (vnt_is_type_keyword(code)) return true;
    switch (code) {
    case token_integer:
    case token_real:
    case token_string:
    case token_character:
    case token_identifier:
    case '(':
    case '[':
    case '^':
    case '!':
    case '&':
    case '*':
    case '-':
    case vantrel_kw_true:
    case vantrel_kw_false:
    case vantrel_kw_null:
    case vantrel_kw_src_file:
    case vantrel_kw_src_line:
    case vantrel_kw_src_proc:
    case vantrel_kw_proc:
    case vantrel_kw_size_of:
    case vantrel_kw_size_val:
    case vantrel_kw_size_arr:
    case vantrel_kw_align_of:
    case vantrel_kw_align_val:
    case vantrel_kw_length_of:
    case vantrel_kw_offset_of:
    case vantrel_kw_enum_min:
    case vantrel_kw_enum_max:
    case vantrel_kw_enum_size:
    case vantrel_kw_inline:
    case vantrel_kw_no_inline:
    case vantrel_kw_cast:
    case vantrel_kw_transmute:
    case vantrel_kw_take: return true;
    default: return false;
    }
}

// The shared assignments, and the steps "++" and "--" of an assignment statement.
bool vnt_is_assignment_op(u16 code) {
    return is_assignment_operator(code) || code == token_doubled('+') || code == token_doubled('-');
}

StringView vnt_operator_text(u16 code) {
    if (code > 0 && code < 128) return StringView{&operator_texts.one[code], 1};
    if (code >= 256 + 1 && code < 256 + 128) return StringView{&operator_texts.two[(code - 256) * 2], 2};
    if (code >= 512 + 1 && code < 512 + 128) return StringView{&operator_texts.pair[(code - 512) * 2], 2};
    if (code >= 768 + 1 && code < 768 + 128) return StringView{&operator_texts.three[(code - 768) * 3], 3};
    return StringView{nullptr, 0};
}
