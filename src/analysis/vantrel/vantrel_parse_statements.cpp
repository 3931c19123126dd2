// Statements and blocks.
#include "analysis/token_classes.h"
#include "analysis/vantrel/vantrel_parser.h"
#include "syntax/keyword_lists.h"

namespace {
// The "=" search of a for header looks this far at most.
constexpr i64 for_scan_limit = 65536;

bool is_label_follower(u16 c) {
    return c == '{' || c == vantrel_kw_do || c == vantrel_kw_for || c == vantrel_kw_if || c == vantrel_kw_switch ||
           c == vantrel_kw_while;
}

VStmt* new_statement(ParseState* p, u8 kind) {
    VStmt* s = vnt_new<VStmt>();
    s->kind = kind;
    s->token = p->pos;
    s->label = -1;
    s->list.pool = s->ops.pool = s->arms.pool = s->cases.pool = pool_parser;
    return s;
}

// A condition (if, else if, while) followed by its block.
VIfArm parse_condition_and_block(ParseState* p) {
    VIfArm arm{};
    arm.condition = vnt_parse_expression(p, vflag_condition);
    if (!arm.condition) {
        vnt_record_error(p);
        return arm;
    }
    if (!p->recovering) arm.block = vnt_parse_block(p);
    return arm;
}

void parse_if(ParseState* p, VStmt* s) {
    p->pos++;
    VIfArm first = parse_condition_and_block(p);
    array_append(&s->arms, first);
    while (!p->recovering && current_code(p) == vantrel_kw_else) {
        if (next_code(p) == vantrel_kw_if) {
            p->pos += 2;
            VIfArm arm = parse_condition_and_block(p);
            array_append(&s->arms, arm);
        } else {
            p->pos++;
            s->block = vnt_parse_block(p);
            break;
        }
    }
}

void parse_switch(ParseState* p, VStmt* s) {
    p->pos++;
    s->expr = vnt_parse_expression(p, 0);
    if (!s->expr) {
        vnt_record_error(p);
        return;
    }
    bool braced = current_code(p) == '{';
    if (braced) p->pos++;
    bool has_else = false;
    i64 case_count = 0;
    while (!p->recovering) {
        u16 c = current_code(p);
        VCaseArm arm{};
        arm.values.pool = pool_parser;
        if (c == vantrel_kw_case) {
            p->pos++;
            bool failed = false;
            do {
                VExpr* v = vnt_parse_expression(p, 0);
                if (!v) {
                    failed = true;
                    break;
                }
                array_append(&arm.values, v);
                if (current_code(p) != ',') break;
                p->pos++;
            } while (!p->recovering);
            if (failed) {
                vnt_record_error(p);
                break;
            }
            case_count++;
        } else if (c == vantrel_kw_else) {
            if (has_else) {
                vnt_record_error(p);  // a second default arm
                break;
            }
            has_else = true;
            arm.is_else = 1;
            p->pos++;
        } else {
            break;
        }
        if (p->recovering) break;
        arm.block = vnt_parse_block(p);
        array_append(&s->cases, arm);
    }
    if (case_count == 0) vnt_record_error(p);
    if (braced && !p->recovering) vnt_expect(p, '}');
}

// Index of the first "=" before the first "..", ";", "{" or end token, or -1.
i64 find_for_equal(const ParseState* p) {
    i64 limit = p->pos + for_scan_limit;
    for (i64 i = p->pos; i < p->tokens.count && i < limit; i++) {
        u16 c = p->tokens[i].code;
        if (c == '=') return i;
        if (c == token_doubled('.') || c == ';' || c == '{' || c == token_end) return -1;
    }
    return -1;
}

void parse_for(ParseState* p, VStmt* s) {
    p->pos++;
    VFor* loop = vnt_new<VFor>();
    loop->name = -1;
    s->loop = loop;
    i64 equal = find_for_equal(p);
    if (equal >= 0) {
        if (equal - p->pos > 1) {
            loop->type = vnt_parse_type(p);
            if (!loop->type) {
                vnt_record_error(p);
                return;
            }
        }
        loop->name = vnt_expect_identifier(p);
        if (p->recovering || !vnt_expect(p, '=')) return;
        loop->start = vnt_parse_expression(p, 0);
        if (!loop->start) {
            vnt_record_error(p);
            return;
        }
    } else if (current_code(p) == token_identifier && next_code(p) == token_doubled('.')) {
        loop->name = p->pos++;
    } else {
        loop->start = vnt_parse_expression(p, 0);
        if (!loop->start) {
            vnt_record_error(p);
            return;
        }
    }
    if (p->recovering || !vnt_expect(p, token_doubled('.'))) return;
    u16 c = current_code(p);
    if (c == '<') {
        p->pos++;
    } else if (c == token_with_equal('<')) {
        loop->inclusive = 1;
        p->pos++;
    } else if (c == '>') {
        loop->downward = 1;
        p->pos++;
    } else if (c == token_with_equal('>')) {
        loop->inclusive = loop->downward = 1;
        p->pos++;
    }
    loop->end = vnt_parse_expression(p, 0);
    if (!loop->end) {
        vnt_record_error(p);
        return;
    }
    if (!p->recovering && current_code(p) == ',') {
        p->pos++;
        loop->step = vnt_parse_expression(p, 0);
        if (!loop->step) {
            vnt_record_error(p);
            return;
        }
    }
    if (!p->recovering) loop->body = vnt_parse_block(p);
}

// "break", "continue", "return": ";" directly, or an expression and ";".
void parse_jump(ParseState* p, VStmt* s, u8 with_value) {
    p->pos++;
    if (current_code(p) == ';') {
        p->pos++;
        return;
    }
    s->kind = with_value;
    s->expr = vnt_parse_expression(p, 0);
    if (!s->expr) {
        vnt_record_error(p);
        return;
    }
    if (!p->recovering) vnt_expect(p, ';');
}

// A declaration, an assignment chain or an expression statement.
VStmt* parse_simple(ParseState* p) {
    VStmt* s = new_statement(p, vstmt_variable);
    s->decl = vnt_parse_var_decl(p);
    if (s->decl) {
        if (!p->recovering) vnt_expect(p, ';');
        return s;
    }
    if (p->recovering) return nullptr;
    s->expr = vnt_parse_prefix(p, 0);
    if (!s->expr) return nullptr;
    if (p->recovering) {
        s->kind = vstmt_expression;
        return s;
    }
    if (!vnt_is_assignment_op(current_code(p))) {
        s->kind = vstmt_expression;
        // A line left without its ";" while being typed ends at the line break, so that
        // the next line still parses as it stands.
        if (current_code(p) != ';' && !at_end(p) && p->pos > 0 &&
            token_at(p, p->pos).line > token_at(p, p->pos - 1).line) {
            vnt_count_error(p);
            return s;
        }
        vnt_expect(p, ';');
        return s;
    }
    s->kind = vstmt_assignment;
    while (!p->recovering && vnt_is_assignment_op(current_code(p))) {
        u16 op = current_code(p);
        array_append(&s->ops, p->pos++);
        bool step = op == token_doubled('+') || op == token_doubled('-');
        VExpr* right = nullptr;
        if (!step || vnt_can_begin_operand(current_code(p))) {
            right = vnt_parse_expression(p, vflag_no_equal);
            if (!right) {
                vnt_record_error(p);
                return s;
            }
        }
        array_append(&s->list, right);
    }
    if (!p->recovering) vnt_expect(p, ';');
    return s;
}

VStmt* parse_statement_body(ParseState* p) {
    u16 c = current_code(p);
    VStmt* s = nullptr;
    switch (c) {
    case '{':
        s = new_statement(p, vstmt_block);
        s->block = vnt_parse_block(p);
        return s;
    case vantrel_kw_do:
        s = new_statement(p, vstmt_do);
        p->pos++;
        s->block = vnt_parse_block(p);
        if (p->recovering || !vnt_expect(p, vantrel_kw_while)) return s;
        s->expr = vnt_parse_expression(p, 0);
        if (!s->expr) vnt_record_error(p);
        else if (!p->recovering) vnt_expect(p, ';');
        return s;
    case vantrel_kw_while: {
        s = new_statement(p, vstmt_while);
        p->pos++;
        VIfArm arm = parse_condition_and_block(p);
        s->expr = arm.condition;
        s->block = arm.block;
        return s;
    }
    case vantrel_kw_if:
        s = new_statement(p, vstmt_if);
        parse_if(p, s);
        return s;
    case vantrel_kw_switch:
        s = new_statement(p, vstmt_switch);
        parse_switch(p, s);
        return s;
    case vantrel_kw_for:
        s = new_statement(p, vstmt_for);
        parse_for(p, s);
        return s;
    case vantrel_kw_break:
        s = new_statement(p, vstmt_break);
        parse_jump(p, s, vstmt_break_label);
        return s;
    case vantrel_kw_continue:
        s = new_statement(p, vstmt_continue);
        parse_jump(p, s, vstmt_continue_label);
        return s;
    case vantrel_kw_return:
        s = new_statement(p, vstmt_return);
        parse_jump(p, s, vstmt_return_value);
        return s;
    case vantrel_kw_exit:
        s = new_statement(p, vstmt_exit);
        p->pos++;
        vnt_expect(p, ';');
        return s;
    case vantrel_kw_using:
        s = new_statement(p, vstmt_using);
        p->pos++;
        s->list = vnt_parse_using_list(p);
        if (!p->recovering) vnt_expect(p, ';');
        return s;
    default: return parse_simple(p);
    }
}
}  // namespace

VStmt* vnt_parse_statement(ParseState* p) {
    skip_stray_tokens(p, is_stray_statement_token, vnt_count_error);
    if (!vnt_enter(p)) return nullptr;
    i64 label = -1;
    if (current_code(p) == token_identifier && is_label_follower(next_code(p))) label = p->pos++;
    VStmt* s = parse_statement_body(p);
    if (s) s->label = label;
    vnt_leave(p);
    return s;
}

VBlock* vnt_parse_block(ParseState* p) {
    if (current_code(p) != '{') {
        if (!vnt_expect(p, '{')) return nullptr;
        p->pos--;  // the recovery found a "{": parse the block from it
    }
    if (!vnt_enter(p)) return nullptr;
    VBlock* b = vnt_new<VBlock>();
    b->statements.pool = pool_parser;
    b->open = p->pos++;
    u8 outer_in_block = p->in_block;
    p->in_block = 1;
    for (;;) {
        if (at_end(p)) break;
        u16 c = current_code(p);
        if (c == '}' || c == token_end) break;
        i64 before = p->pos;
        VStmt* s = vnt_parse_statement(p);
        if (s) array_append(&b->statements, s);
        else if (!p->recovering) vnt_record_error(p);
        if (p->recovering) {
            if (p->block_abort) break;
            p->pos = p->resume_pos;
            p->recovering = 0;
        }
        if (p->pos <= before && !at_end(p) && current_code(p) != '}' && current_code(p) != token_end) p->pos = before + 1;
    }
    p->in_block = outer_in_block;
    b->close = p->pos;
    if (!p->recovering) vnt_expect(p, '}');
    vnt_leave(p);
    return b;
}
