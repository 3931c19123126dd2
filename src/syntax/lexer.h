#pragma once
// Tokens and the lexer record shared by the vantrel, C/C++ and GLSL lexers and by every
// parser. Lexers write lexical token kinds into a colour buffer (one byte per text byte)
// and append tokens that give their place in the text; nothing is copied.
//
// A run over [start, end) begins every token whose first byte lies before `end` and
// finishes it by the language's rules, so a comment, literal, number or operator begun
// inside the range may read and colour past `end` (never past the text). Bytes at or
// beyond `end` are otherwise only looked at as the one or two bytes of look-ahead that
// the rules need. Colour bytes outside the tokens, comments and directives met are
// left as they were.
#include "core/array.h"
#include "core/string_view.h"
#include "core/types.h"
#include "syntax/keyword_trie.h"

struct Token {
    u16 code;
    u16 file;       // which text: the lexer's `file`, an index its caller gives meaning
    u32 line;       // from 0 at the run's start offset
    u32 column;     // bytes of the line consumed when the token ended
    u32 length;     // of the token's text (saturated: no real token comes near it)
    i32 offset;     // of the token's text (a literal's contents, without quotes); texts live in pools under 2 GB
};
// Kept small: a large file has a token every nine bytes or so.
static_assert(sizeof(Token) == 20);

// Token codes, the same in every language. A byte value below 128 is the one-byte
// operator of that character; keyword codes start at 1024.
enum : u16 {
    token_integer = 128,
    token_real = 129,
    token_string = 130,
    token_character = 131,
    token_identifier = 132,
    token_end = 133,
    token_arrow = 768,     // "->"
    token_ellipsis = 769,  // "..." (C/C++ only)
    token_keyword_first = 1024,
};
constexpr u16 token_with_equal(char c) { return (u16)((u8)c + 256); }     // "<=" 316
constexpr u16 token_doubled(char c) { return (u16)((u8)c + 512); }        // "&&" 550
constexpr u16 token_doubled_equal(char c) { return (u16)((u8)c + 768); }  // "<<=" 828

struct Lexer {
    u16 file;               // stamped into every token
    StringView text;        // the bytes being lexed; length is the whole text
    u8** colours;           // the colour buffer (text length bytes), or null: tokens only
    u8 complete;            // cleared by unterminated comments/literals and unknown bytes
    Array<Token>* tokens;   // appended to; null skips the tokens (colouring only)
    // Where the last run stopped (a run counts in locals and stores these at its end).
    u32 line;
    u32 column;
    i64 pos;
    u8 current;             // byte at pos, 0 past the end
    i64 mark;               // start of the last token formed
    i64 length;             // its length
    KeywordTrie* keywords;      // the language's list (the C list for C/C++)
    KeywordTrie* cpp_keywords;  // C/C++ lexer only: the C++-only list
};

// `end` = -1 (or beyond the text) means the whole text. Every run ends with one end token.
void lex_vantrel(Lexer* lexer, i64 start, i64 end);
// `c_mode` (C files) never consults the C++-only keywords.
void lex_cpp(Lexer* lexer, bool c_mode, i64 start, i64 end);
void lex_glsl(Lexer* lexer, i64 start, i64 end);

// Builds the keyword trie(s) of a lexer for language_vantrel, language_cpp or
// language_glsl, creating them in pool_main the first time and rebuilding in place after.
void lexer_build_keywords(Lexer* lexer, int language);
