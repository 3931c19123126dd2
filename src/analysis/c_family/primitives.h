#pragma once
// The error and recovery steps of the C-family parsers (C/C++ and GLSL): counting
// errors, the two recoveries, the nesting guard and tentative parsing. They work on the
// shared ParseState alone, so any parser built on it can call them.
//
// Recovery in brief: an error inside a statement skips to the end of that statement
// (cfam_skip_statement); a missing token looks a short way ahead for it (cfam_recover_to_token).
// While `recovering` is set further errors are only counted, and whoever loops over
// items or statements moves `pos` to `resume_pos` before the next one.
#include "analysis/parse_state.h"

// Errors counted before the position is forced one token on, so that any input ends.
constexpr i64 forced_advance_errors = 1048576;
// How far cfam_recover_to_token looks for the missing token.
constexpr i64 recovery_look_ahead = 128;

// Builds the jump tables of the recovery scans for the tokens lexed so far (pool_parser).
// Optional: without them the scans give the same results, only slower on huge inputs.
void cfam_prepare_recovery_tables(ParseState* p);

// Adds one error; past forced_advance_errors `pos` moves one token on and the count restarts.
void cfam_count_error(ParseState* p);
// Counts an error and, unless already recovering, skips the current statement.
void cfam_record_error(ParseState* p);
// Consumes the token `code`; otherwise counts an error and, unless recovering or at a
// "}" (which belongs to an enclosing list), looks for it with cfam_recover_to_token. True when
// `code` was consumed (directly or after a skip). At the end of the stream nothing changes.
bool cfam_expect_token(ParseState* p, u16 code);
// The ";" ending a statement. A statement whose line ends without one while the next
// token starts a new line (typing in progress: "p." above "p.x = 1;") ends there, with an
// error counted and no recovery, so that the next line still parses as it stands.
bool cfam_expect_statement_end(ParseState* p);
// Whether the token at `index` is the first of its line.
bool cfam_starts_line(const ParseState* p, i64 index);
// Whether the member access operator at `op` ends its line and the name after it starts a
// line and is followed by another access: "p." typed above "p.x = 1;" has no member name
// yet, and the expression ends after the operator.
bool cfam_member_typed_above(const ParseState* p, i64 op);
// Starts recovery: skips to the end of the current statement or braced group and sets
// `resume_pos` there (see the .cpp for the exact rules).
void cfam_skip_statement(ParseState* p);
// Looks at most recovery_look_ahead tokens ahead for `code` at brace depth 0.
void cfam_recover_to_token(ParseState* p, u16 code);

// Recursion guard of the parsers and passes: false (an error recorded) when entering one
// more level would pass max_nesting_depth. Every true must be paired with cfam_nesting_leave.
bool cfam_nesting_enter(ParseState* p);
inline void cfam_nesting_leave(ParseState* p) { p->depth--; }

// Tentative parsing: everything an attempt may change, restored when it is abandoned.
struct ParseMark {
    i64 pos;
    i64 error_count;
    i64 resume_pos;
    u8 recovering;
    u8 block_abort;
};
inline ParseMark cfam_parse_mark(const ParseState* p) {
    return ParseMark{p->pos, p->error_count, p->resume_pos, p->recovering, p->block_abort};
}
inline void cfam_parse_restore(ParseState* p, const ParseMark& m) {
    p->pos = m.pos;
    p->error_count = m.error_count;
    p->resume_pos = m.resume_pos;
    p->recovering = m.recovering;
    p->block_abort = m.block_abort;
}

// False once recovery has started: a construct then stops taking tokens, and the loop
// over its list moves on from `resume_pos`.
inline bool cfam_going_on(const ParseState* p) { return !p->recovering; }
// Token codes by index: the end token's code outside the stream. Inline, since the
// parsers ask for little else.
inline u16 cfam_code_at(const ParseState* p, i64 index) {
    return index >= 0 && index < p->tokens.count ? p->tokens.data[index].code : (u16)token_end;
}
inline u16 cfam_code_now(const ParseState* p) { return cfam_code_at(p, p->pos); }
inline u16 cfam_peek_code(const ParseState* p, i64 ahead) { return cfam_code_at(p, p->pos + ahead); }
inline bool cfam_at_code(const ParseState* p, u16 code) {
    return p->pos >= 0 && p->pos < p->tokens.count && p->tokens.data[p->pos].code == code;
}
// Consumes the current token when it has `code`.
inline bool cfam_accept_token(ParseState* p, u16 code) {
    if (!cfam_at_code(p, code)) return false;
    p->pos++;
    return true;
}
// Text of any token of the stream (empty for indexes outside it).
StringView cfam_text_of_token(const ParseState* p, i64 index);
// Index of the token that closes the group opened at `open` ("(", "[" or "{"), counting
// only that bracket kind and stopping at ";" outside it, at the end token and after
// `limit` tokens; -1 when none is found.
i64 cfam_find_closing(const ParseState* p, i64 open, i64 limit);
