#include "analysis/c_family/block_loops.h"

#include "analysis/c_family/primitives.h"

namespace {
bool at_file_end(const ParseState* p) { return at_end(p) || cfam_code_now(p) == token_end; }

// The block cannot go on: its file (or the stream) ends inside it.
void fail_at_end(ParseState* p, BlockParse* out) {
    p->recovering = 1;
    p->block_abort = 1;
    p->resume_pos = at_end(p) ? p->tokens.count : p->pos + 1;
    out->failed = 1;
}

// After a statement failed: count it, look for the next ";" and follow the braces that
// recovery passed over. False when the block has to give up.
bool recover_in_block(ParseState* p, BlockParse* out, i64* depth) {
    cfam_count_error(p);
    i64 from = p->pos;
    if (!p->recovering) cfam_recover_to_token(p, ';');
    i64 to = p->recovering && p->resume_pos > p->pos ? p->resume_pos : p->pos;
    if (to <= from) return false;
    for (i64 i = from; i < to && i < p->tokens.count; i++) {
        u16 c = p->tokens[i].code;
        if (c == '{') {
            (*depth)++;
        } else if (c == '}' && --(*depth) == 0) {
            // Recovery went past this block's own "}".
            out->close = i;
            p->pos = i + 1;
            p->recovering = 0;
            return false;
        }
    }
    return true;
}

// Whether the current token, a word at column 0, starts a new item while the list opened
// at `open` has no closing brace: a definition being typed then ends there instead of
// swallowing the rest of its file. Labels ("name:") are not items.
bool new_item_while_unclosed(const ParseState* p, i64 open) {
    if (!p->brace_match || open < 0 || open + 1 >= p->pos || p->brace_match[open] >= 0 || at_end(p)) return false;
    const Token& t = p->tokens[p->pos];
    if (t.code != token_identifier && t.code < token_keyword_first) return false;
    StringView text = p->files.count > t.file ? p->files[t.file].text : StringView{nullptr, 0};
    if (t.offset > text.length || (t.offset > 0 && text.data[t.offset - 1] != '\n')) return false;
    return cfam_peek_code(p, 1) != ':';
}

void parse_statement_list(ParseState* p, ParseHook parse_statement, void* context, BlockParse* out) {
    out->open = p->pos;
    p->pos++;
    u8 old_in_block = p->in_block;
    p->in_block = 1;
    i64 depth = 1;
    for (;;) {
        // Giving up leaves the recovery as it is, so that every enclosing list sees where
        // it resumes (possibly past the end of this file).
        if (p->block_abort) {
            out->failed = 1;
            break;
        }
        // Only forwards: a construct may already have taken the token recovery stopped at.
        if (p->recovering && p->resume_pos > p->pos) p->pos = p->resume_pos;
        p->recovering = 0;
        if (at_file_end(p)) {
            fail_at_end(p, out);
            break;
        }
        if (cfam_code_now(p) == '}') {
            out->close = p->pos++;
            break;
        }
        if (new_item_while_unclosed(p, out->open)) break;
        i64 before = p->pos;
        void* statement = parse_statement(p, context);
        if (statement) {
            array_append(&out->statements, statement);
            if (p->pos <= before && !p->recovering) p->pos = before + 1;
            continue;
        }
        if (at_file_end(p)) {
            fail_at_end(p, out);
            break;
        }
        if (!recover_in_block(p, out, &depth)) {
            if (out->close < 0) out->failed = 1;
            break;
        }
    }
    p->in_block = old_in_block;
}
}  // namespace

void cfam_parse_block(ParseState* p, ParseHook parse_statement, void* context, BlockParse* out) {
    *out = BlockParse{};
    out->statements.pool = pool_parser;
    out->open = out->close = -1;
    if (cfam_at_code(p, '{') && cfam_peek_code(p, 1) == '}') {
        out->open = p->pos;
        out->close = p->pos + 1;
        p->pos += 2;
        return;
    }
    if (!cfam_nesting_enter(p)) {
        out->failed = 1;
        return;
    }
    if (cfam_at_code(p, '{')) {
        parse_statement_list(p, parse_statement, context, out);
    } else {
        void* statement = parse_statement(p, context);
        if (statement) array_append(&out->statements, statement);
        else cfam_record_error(p);
    }
    cfam_nesting_leave(p);
}

namespace {
// Too deep to go on: the list is given up as a whole, up to (not including) its "}".
void skip_member_list(ParseState* p) {
    cfam_count_error(p);
    i64 open = p->pos - 1;
    if (p->brace_match && cfam_code_at(p, open) == '{' && p->brace_match[open] >= 0) {
        p->pos = p->brace_match[open];
        return;
    }
    i64 depth = 0;
    while (!at_end(p)) {
        u16 c = cfam_code_now(p);
        if (c == token_end || (c == '}' && depth == 0)) return;
        if (c == '{') depth++;
        else if (c == '}') depth--;
        p->pos++;
    }
}
}  // namespace

bool cfam_list_ended_unclosed(const ParseState* p, i64 open) {
    return !cfam_at_code(p, '}') && new_item_while_unclosed(p, open);
}

void cfam_parse_member_list(ParseState* p, ParseHook parse_item, void* context, Array<void*>* items,
                            bool end_at_new_item) {
    if (p->depth >= max_nesting_depth) {
        skip_member_list(p);
        return;
    }
    p->depth++;
    i64 depth = 0;
    i64 open = p->pos - 1;
    for (;;) {
        p->recovering = 0;
        p->block_abort = 0;
        if (at_end(p)) break;
        if (end_at_new_item && depth == 0 && new_item_while_unclosed(p, open)) break;
        i64 before = p->pos;
        void* item = parse_item(p, context);
        if (item) {
            array_append(items, item);
        } else {
            u16 c = cfam_code_now(p);
            if (c == '}' && depth == 0) break;
            if (c == token_end) break;
            if (c == '{') depth++;
            else if (c == '}') depth--;
            p->pos++;
        }
        if (p->recovering) {
            // A construct that gave up at the end of its file takes this list with it.
            if (p->resume_pos > 0 && cfam_code_at(p, p->resume_pos - 1) == token_end && p->resume_pos > before) break;
            if (p->resume_pos > p->pos) p->pos = p->resume_pos;
        }
        if (p->pos <= before) {
            if (cfam_code_at(p, before) == '}' && depth == 0) {
                p->pos = before;
                break;
            }
            p->pos = before + 1;
        }
    }
    if (depth != 0) cfam_record_error(p);
    cfam_nesting_leave(p);
}
