#include "analysis/parse_state.h"

#include "memory/arena.h"
#include "syntax/coloring_file.h"
#include "syntax/lex_text.h"
#include "syntax/syntax_state.h"
#include "syntax/token_kinds.h"

namespace {
// Of no file: max_parsed_files keeps its index out of reach.
const Token end_token{token_end, (u16)max_parsed_files, 0, 0, 0, 0};
}

void parse_state_reset(ParseState* p) {
    *p = ParseState{};
    p->tokens.pool = pool_parser;
    p->files.pool = pool_parser;
}

bool parse_state_add_file(ParseState* p, u8 kind, StringView path, StringView text, u8* colours) {
    if (p->files.count >= max_parsed_files) return false;
    i64 index = array_append(&p->files, ParsedFile{path, text, colours});
    lex_file_text(syntax.analysis_lexers, kind, (u16)index, text, colours, &p->tokens, 0, -1);
    return true;
}

const Token& current_token(const ParseState* p) { return token_at(p, p->pos); }

const Token& token_at(const ParseState* p, i64 index) {
    if (index < 0 || index >= p->tokens.count) return end_token;
    return p->tokens[index];
}

StringView token_text(const ParseState* p) {
    if (at_end(p)) return StringView{nullptr, 0};
    return text_of(p, p->tokens[p->pos]);
}

StringView text_of(const ParseState* p, const Token& t) {
    if (t.code == token_end || t.file >= p->files.count) return StringView{nullptr, 0};
    StringView text = p->files[t.file].text;
    if (t.offset < 0 || t.offset > text.length || (i64)t.length > text.length - t.offset) return StringView{nullptr, 0};
    return StringView{text.data + t.offset, (i64)t.length};
}

StringView path_of(const ParseState* p, const Token& t) {
    return t.file < p->files.count ? p->files[t.file].path : StringView{nullptr, 0};
}

TokenPosition token_position(const ParseState* p) {
    if (at_end(p)) return TokenPosition{};
    const Token& t = p->tokens[p->pos];
    return TokenPosition{path_of(p, t), t.line, t.column, t.offset};
}

static void colour_in_file(ParseState* p, i64 file, u8 kind, i64 offset, i64 length) {
    if (file < 0 || file >= p->files.count) return;
    ParsedFile& f = p->files[file];
    if (!f.colours || offset < 0 || length <= 0 || offset > f.text.length || length > f.text.length - offset) return;
    memset(f.colours + offset, kind, (size_t)length);
}

void colour_token(ParseState* p, const Token& t, u8 kind) {
    if (t.code == token_end) return;
    colour_in_file(p, file_of_token(p, t), kind, t.offset, t.length);
}

void colour_current_token(ParseState* p, u8 kind) {
    if (!at_end(p)) colour_token(p, p->tokens[p->pos], kind);
}

void colour_range(ParseState* p, u8 kind, i64 offset, i64 length) {
    colour_in_file(p, p->current_file, kind, offset, length);
}

void top_level_driver(ParseState* p, bool (*parse_item)(ParseState*, void*), void (*record_error)(ParseState*),
                      void* context) {
    p->pos = 0;
    p->error_count = 0;
    p->recovering = 0;
    if (p->tokens.count == 0) return;
    i64 depth = 0;
    for (;;) {
        i64 before = p->pos;
        p->recovering = 0;
        p->block_abort = 0;
        p->depth = 0;
        if (parse_item(p, context)) {
            if (at_end(p)) break;
        } else if (!at_end(p)) {
            u16 code = current_code(p);
            if ((code == '}' && depth > 1) || (code != '}' && code != token_end)) {
                record_error(p);
                if (!at_end(p)) {
                    u16 now = current_code(p);
                    if (now == '{') depth++;
                    else if (now == '}') depth--;
                }
                p->pos++;
                if (at_end(p)) break;
            } else {
                p->pos++;
                depth = 0;
                if (at_end(p)) break;
            }
        } else {
            p->pos++;
            break;
        }
        if (p->recovering) p->pos = p->resume_pos;
        // Retrying from each token of a run nested too deep would nest as deep again.
        if (p->depth_cut_pos > p->pos && p->depth_cut_pos < p->tokens.count) p->pos = p->depth_cut_pos;
        // Every turn must move on: a parse routine that yields an item without consuming
        // anything (or recovery that goes back) would otherwise loop for ever.
        if (p->pos <= before) p->pos = before + 1;
        if (at_end(p)) break;
    }
    if (depth != 0) {
        record_error(p);
        if (!at_end(p)) record_error(p);
    }
}
