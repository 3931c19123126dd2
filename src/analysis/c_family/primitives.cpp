#include "analysis/c_family/primitives.h"

#include "memory/arena.h"

void cfam_prepare_recovery_tables(ParseState* p) {
    i64 n = p->tokens.count;
    p->next_stop = nullptr;
    p->brace_match = nullptr;
    if (n <= 0 || n >= 0x7fffffff) return;
    i32* next = (i32*)pool_alloc(pool_parser, (n + 1) * (i64)sizeof(i32));
    i32* match = (i32*)pool_alloc(pool_parser, n * (i64)sizeof(i32));
    next[n] = (i32)n;
    for (i64 i = n - 1; i >= 0; i--) {
        u16 c = p->tokens[i].code;
        next[i] = (c == '{' || c == '}' || c == ';' || c == token_end) ? (i32)i : next[i + 1];
        match[i] = -1;
    }
    // Braces pair up within one file: the end token empties the stack of open ones.
    i32* open = (i32*)pool_alloc(pool_parser, n * (i64)sizeof(i32));
    i64 depth = 0;
    for (i64 i = 0; i < n; i++) {
        u16 c = p->tokens[i].code;
        if (c == '{') open[depth++] = (i32)i;
        else if (c == '}' && depth > 0) match[open[--depth]] = (i32)i;
        else if (c == token_end) depth = 0;
    }
    p->next_stop = next;
    p->brace_match = match;
    p->lookahead_budget = 16 * n + 65536;
}

void cfam_count_error(ParseState* p) {
    p->error_count++;
    if (p->error_count > forced_advance_errors) {
        if (p->pos < p->tokens.count) p->pos++;
        p->error_count = 0;
    }
}

void cfam_record_error(ParseState* p) {
    cfam_count_error(p);
    if (!p->recovering) cfam_skip_statement(p);
}

bool cfam_expect_token(ParseState* p, u16 code) {
    if (at_end(p)) return false;
    if (cfam_code_now(p) == code) {
        p->pos++;
        return true;
    }
    cfam_count_error(p);
    if (p->recovering) return false;
    // A "}" here closes something around the construct that lacks `code` (a struct
    // missing its ";" before the end of a class): leave it to that list, since a scan
    // starting at it would count it as opening a deeper level and run past it.
    if (cfam_code_now(p) == '}') return false;
    i64 before = p->pos;
    cfam_recover_to_token(p, code);
    return !p->recovering && p->pos > before && cfam_code_at(p, p->pos - 1) == code;
}

bool cfam_starts_line(const ParseState* p, i64 index) {
    if (index <= 0 || index >= p->tokens.count) return index == 0;
    const Token& t = p->tokens[index];
    const Token& before = p->tokens[index - 1];
    return before.code == token_end || before.file != t.file || before.line < t.line;
}

bool cfam_member_typed_above(const ParseState* p, i64 op) {
    u16 after = cfam_code_at(p, op + 2);
    return cfam_starts_line(p, op + 1) && (after == '.' || after == token_arrow || after == token_doubled(':'));
}

bool cfam_expect_statement_end(ParseState* p) {
    if (cfam_accept_token(p, ';')) return true;
    if (!at_end(p) && !p->recovering && cfam_code_now(p) != '}' && cfam_starts_line(p, p->pos)) {
        cfam_count_error(p);
        return false;
    }
    return cfam_expect_token(p, ';');
}

// Scan with a brace depth d from 0: "{" adds one; a "}" that is the first token scanned,
// or met while d != 0, is consumed (d may go below 0) and resumes after itself when it
// brings d from 1 to 0; any other "}" stops before itself; ";" at d = 0 resumes after
// itself; the end token ends the scan with no resume point. Without a resume point
// recovery is off again and `pos` moves one token on (not over an end token).
void cfam_skip_statement(ParseState* p) {
    i64 n = p->tokens.count;
    p->recovering = 1;
    p->resume_pos = n;
    p->block_abort = !p->in_block;
    i64 start = p->pos < 0 ? 0 : p->pos;
    i64 resume = -1;
    i64 d = 0;
    i64 i = start;
    while (i < n) {
        if (p->next_stop && i != start) i = p->next_stop[i];
        if (i >= n) break;
        u16 c = p->tokens[i].code;
        if (c == token_end) break;
        if (c == '{') {
            // A balanced group cannot stop a scan at d >= 0 except by closing at d = 0;
            // an unmatched one leaves d above 0 up to the end of the file.
            if (p->brace_match && d >= 0) {
                i32 m = p->brace_match[i];
                if (m < 0) break;
                if (d == 0) {
                    resume = m + 1;
                    break;
                }
                i = m + 1;
                continue;
            }
            d++;
        } else if (c == '}') {
            if (i == start || d != 0) {
                d--;
                if (d == 0) {
                    resume = i + 1;
                    break;
                }
            } else {
                resume = i;
                break;
            }
        } else if (c == ';' && d == 0) {
            resume = i + 1;
            break;
        }
        i++;
    }
    if (resume >= 0) {
        p->pos = p->resume_pos = resume;
    } else {
        p->recovering = 0;
        // An end token is never stepped over here: what follows it is another file,
        // which no construct of this one may take in.
        bool at_file_end = start < n && p->tokens[start].code == token_end;
        p->pos = start < n && !at_file_end ? start + 1 : start < n ? start : n;
    }
}

void cfam_recover_to_token(ParseState* p, u16 code) {
    i64 n = p->tokens.count;
    i64 start = p->pos < 0 ? 0 : p->pos;
    i64 d = 0;
    if (p->lookahead_budget > 0 && p->lookahead_spent > p->lookahead_budget) {
        cfam_skip_statement(p);
        return;
    }
    for (i64 i = start; i < n && i < start + recovery_look_ahead; i++) {
        p->lookahead_spent++;
        u16 c = p->tokens[i].code;
        if (c == token_end && code != token_end) return;
        if (d == 0 && c == code) {
            p->pos = i + 1;
            return;
        }
        if (c == ';' && d == 0) {
            p->pos = i;
            p->recovering = 1;
            p->resume_pos = i + 1;
            p->block_abort = !p->in_block;
            return;
        }
        if (c == '{') {
            d++;
        } else if (c == '}') {
            if (d == 0 && i != start) {
                p->pos = i;
                p->recovering = 1;
                p->resume_pos = i;
                return;
            }
            d--;
        }
    }
    cfam_skip_statement(p);
}

bool cfam_nesting_enter(ParseState* p) {
    if (p->depth >= max_nesting_depth) {
        if (p->pos > p->depth_cut_pos) p->depth_cut_pos = p->pos;
        cfam_record_error(p);
        // Every level around unwinds to the statement or item loop, which resumes after
        // the cut. Were recovery off, each level would go on at the next token and nest
        // as deep again: "f(" repeated would cost the nesting limit per token.
        if (!p->recovering) {
            p->recovering = 1;
            p->resume_pos = p->pos;
            p->block_abort = !p->in_block;
        }
        return false;
    }
    p->depth++;
    return true;
}

StringView cfam_text_of_token(const ParseState* p, i64 index) {
    if (index < 0 || index >= p->tokens.count) return StringView{nullptr, 0};
    return text_of(p, p->tokens[index]);
}

i64 cfam_find_closing(const ParseState* p, i64 open, i64 limit) {
    u16 opener = cfam_code_at(p, open);
    u16 closer = opener == '(' ? ')' : opener == '[' ? ']' : opener == '{' ? '}' : 0;
    if (!closer) return -1;
    i64 depth = 0;
    for (i64 i = open; i < p->tokens.count && i < open + limit; i++) {
        u16 c = p->tokens[i].code;
        if (c == opener) depth++;
        else if (c == closer && --depth == 0) return i;
        else if (c == token_end || (c == ';' && opener != '{')) return -1;
    }
    return -1;
}
