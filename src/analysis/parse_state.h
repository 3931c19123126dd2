#pragma once
// The parse state and primitive steps shared by the vantrel, C/C++ and GLSL parsers.
#include "analysis/analysis_job.h"
#include "syntax/lexer.h"

// A lexed file of the pass: the document is files[0]; the others colour scratch buffers.
struct ParsedFile {
    StringView path;
    StringView text;
    u8* colours;  // one byte per text byte (the document's is the published buffer)
};

// Nesting deeper than this is cut off by the parsers and passes (an error is recorded),
// so that no input can exhaust a thread's stack.
constexpr i32 max_nesting_depth = 1000;

struct ParseState {
    Array<Token> tokens;
    i64 pos;
    i64 error_count;
    i64 resume_pos;
    u8 recovering;
    u8 block_abort;
    u8 in_block;
    i32 depth;  // recursion depth of the parser
    // The furthest token at which nesting was cut off: an item that failed there is not
    // retried from each token before it (each retry would nest as deep again).
    i64 depth_cut_pos;
    // Tokens looked at by cfam_recover_to_token, and the most it may look at (0: no
    // bound): past it the look-ahead gives way to cfam_skip_statement, which jumps, so that
    // errors at every level of a deep nesting cost linear time in all.
    i64 lookahead_spent;
    i64 lookahead_budget;
    Array<ParsedFile> files;
    i64 current_file;  // index into files of the declaration being worked on
    // Optional jump tables of the recovery scans (one entry per token), so that a scan
    // costs no more than the braces and ";" it passes; null: scans step token by token.
    i32* next_stop;    // next "{", "}", ";" or end token at or after each token
    i32* brace_match;  // for a "{": its "}" in the same file, -1 when unmatched
};

struct TokenPosition {
    StringView source;
    u32 line;
    u32 column;
    i64 offset;
};

// Empties the state (pool_parser arrays).
void parse_state_reset(ParseState* p);
// Lexes a file with `lexer`, appending its tokens (each file ends with its own end
// token), and records it in files. `colours` must hold text.length bytes. A token names
// its file by a 16-bit index: past max_parsed_files nothing is added and false returned.
constexpr i64 max_parsed_files = 65535;
bool parse_state_add_file(ParseState* p, u8 kind, StringView path, StringView text, u8* colours);

inline bool at_end(const ParseState* p) { return p->pos >= p->tokens.count; }
// The current token; past the end a static end token.
const Token& current_token(const ParseState* p);
const Token& token_at(const ParseState* p, i64 index);
inline u16 current_code(const ParseState* p) { return current_token(p).code; }
StringView token_text(const ParseState* p);
// The text of a token of the pass (empty for end tokens).
StringView text_of(const ParseState* p, const Token& t);
// The path of a token's file (empty when unknown).
StringView path_of(const ParseState* p, const Token& t);
TokenPosition token_position(const ParseState* p);
// Index in files of a token's file, or -1.
inline i64 file_of_token(const ParseState* p, const Token& t) { return t.file < p->files.count ? t.file : -1; }
void colour_token(ParseState* p, const Token& t, u8 kind);
void colour_current_token(ParseState* p, u8 kind);
// Colours a byte range of the current file, only when it lies inside the buffer.
void colour_range(ParseState* p, u8 kind, i64 offset, i64 length);

// The top-level loop: parse items until the tokens are used up, skipping stray tokens
// with brace-depth tracking. `parse_item` returns true when it produced (and stored) an
// item; `record_error` is the language's error step.
void top_level_driver(ParseState* p, bool (*parse_item)(ParseState*, void*), void (*record_error)(ParseState*),
                      void* context);
