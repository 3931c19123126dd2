#pragma once
// The one main loop of the three lexers. Each language supplies a rules record: a byte
// action table, an identifier table, its comment kinds and flags, its number suffixes and
// its keyword lookup. Everything else (white space and line counting, literals, numbers,
// comments, operators, colouring and token appending) is shared here.
#include <cstdint>
#include <cstring>

#include "syntax/lexer.h"

enum : u8 {
    act_bad = 0,      // skipped, clears `complete`
    act_space,        // space, tab, carriage return
    act_newline,
    act_single,       // always a one-byte token
    act_identifier,
    act_digit,
    act_string,
    act_character,
    act_slash,        // comment, "/=" or "/"
    act_equal,        // c= or c
    act_double,       // cc, c=, c (and "->" where the language has it)
    act_dot,          // "...", ".." or "."
    act_angle,        // cc=, cc, c=, c
    act_colon,        // "::" or ":"
    act_hash,         // preprocessor directive to the end of the line
};

// Number suffixes: C and C++ ("f", and "u" "l" runs), GLSL ("f", "lf" doubles, "u").
enum : u8 { suffix_none, suffix_float_or_integer, suffix_glsl };

// Working state of one run, kept in locals so that writes to the colour buffer do not
// force the counters back to memory.
struct LexRun {
    const u8* text;
    i64 size;
    i64 pos;
    i64 line_start;  // the column is pos - line_start
    u32 line;
    u8 complete;
    u8* colours;
    Array<Token>* tokens;
    u16 file;
    i64 mark;
    i64 length;

    u8 at(i64 i) const { return i < size ? text[i] : 0; }

    void paint(i64 from, i64 to, u8 kind) {
        if (!colours) return;
        if (to - from <= 4) {
            for (i64 i = from; i < to; i++) colours[i] = kind;
        } else {
            memset(colours + from, kind, (size_t)(to - from));
        }
    }

    // Appends a token whose text is [start, start + n); the token ends at pos.
    void emit(u16 code, i64 start, i64 n) {
        mark = start;
        length = n;
        if (!tokens) return;
        Token t;
        t.code = code;
        t.file = file;
        t.line = line;
        t.column = (u32)(pos - line_start);
        t.length = n < (i64)UINT32_MAX ? (u32)n : UINT32_MAX;
        t.offset = start;
        array_append(tokens, t);
    }

    // An operator of n bytes at pos.
    void operation(u16 code, i64 n, u8 kind) {
        i64 start = pos;
        pos += n;
        paint(start, pos, kind);
        emit(code, start, n);
    }

    // "c=" or "c".
    void equal_or_single(u8 c, u8 kind) {
        if (at(pos + 1) == '=') operation(token_with_equal((char)c), 2, kind);
        else operation(c, 1, kind);
    }

    // From pos to the next line feed, zero byte or the end of the text.
    void rest_of_line(u8 kind) {
        i64 start = pos, p = pos;
        while (p < size && text[p] != '\n' && text[p] != 0) p++;
        pos = p;
        paint(start, p, kind);
    }

    // A quoted run inside a directive from the quote at p: up to the closing quote or the
    // line's end (which is left). Returns where scanning goes on.
    i64 directive_quote(i64 p) {
        u8 quote = text[p++];
        while (p < size && text[p] != quote && text[p] != '\n') {
            if (text[p] == '\\' && p + 1 < size) {
                if (text[p + 1] == '\n') {
                    line++;
                    line_start = p + 2;
                }
                p++;
            }
            p++;
        }
        return p < size && text[p] == quote ? p + 1 : p;
    }

    // A preprocessor directive from "#": to the end of its line, with the lines it
    // continues by a trailing backslash and the whole of a block comment begun in it, so
    // that neither is read as code. Quotes are passed over so that "/*" in a file name
    // opens nothing; a line comment ignores "/*" up to the line's end.
    void directive(u8 kind) {
        i64 start = pos, p = pos;
        bool line_comment = false;
        while (p < size) {
            u8 b = text[p];
            if (b == 0) break;
            if (b == '\n') {
                i64 q = p - 1;
                if (q > start && text[q] == '\r') q--;
                if (q <= start || text[q] != '\\') break;
                line++;
                line_start = ++p;
                continue;
            }
            if (line_comment) {
                p++;
            } else if (b == '/' && p + 1 < size && text[p + 1] == '/') {
                line_comment = true;
                p += 2;
            } else if (b == '/' && p + 1 < size && text[p + 1] == '*') {
                i64 closed = -1;
                for (i64 i = p + 2; i < size; i++) {
                    if (text[i] == '*' && i + 1 < size && text[i + 1] == '/') {
                        closed = i + 2;
                        break;
                    }
                    if (text[i] == '\n') {
                        line++;
                        line_start = i + 1;
                    }
                }
                if (closed < 0) {
                    complete = 0;
                    p = size;
                    break;
                }
                p = closed;
            } else if (b == '"' || b == '\'') {
                p = directive_quote(p);
            } else {
                p++;
            }
        }
        pos = p;
        paint(start, p, kind);
    }

    void block_comment(bool nested, u8 kind) {
        i64 start = pos, p = pos + 2, depth = 1;
        bool closed = false;
        while (p < size) {
            u8 b = text[p];
            if (b == '*') {
                // Pairs are looked at every byte, so "*/*" closes and reopens.
                if (p + 1 < size && text[p + 1] == '/' && --depth == 0) {
                    p += 2;
                    closed = true;
                    break;
                }
            } else if (b == '/') {
                if (nested && p + 1 < size && text[p + 1] == '*') depth++;
            } else if (b == '\n') {
                line++;
                line_start = p + 1;
            }
            p++;
        }
        if (!closed) {
            p = size;
            complete = 0;
        }
        pos = p;
        paint(start, p, kind);
    }

    // A quoted literal. The token covers the contents; the colour covers the quotes too.
    // An open literal stops before the line feed (or zero byte) and colours up to there.
    void literal(u8 quote, u16 code, u8 kind) {
        i64 open = pos, p = pos + 1;
        bool closed = false;
        while (p < size) {
            u8 b = text[p];
            if (b == quote) {
                closed = true;
                break;
            }
            if (b == '\n' || b == 0) break;
            if (b == '\\') {
                // The escaped byte belongs to the contents whatever it is; an escaped
                // line feed still starts a new line for the line count.
                if (++p >= size) break;
                if (text[p] == '\n') {
                    line++;
                    line_start = p + 1;
                }
            }
            p++;
        }
        i64 contents_end = p;
        if (closed) p++;
        else complete = 0;
        pos = p;
        paint(open, p, kind);
        emit(code, open + 1, contents_end - (open + 1));
    }
};

// Whether the identifier [s, s + n) is the prefix of a raw string: R, u8R, uR, UR or LR.
inline bool lex_raw_prefix(const u8* s, i64 n) {
    if (n < 1 || n > 3 || s[n - 1] != 'R') return false;
    if (n == 1) return true;
    if (n == 2) return s[0] == 'u' || s[0] == 'U' || s[0] == 'L';
    return s[0] == 'u' && s[1] == '8';
}

// A raw string R"delim( ... )delim" from its prefix at `start` with pos at the quote:
// nothing inside is an escape, and it may run over many lines. Returns false (nothing
// consumed) when no valid delimiter and "(" follow the quote.
inline bool lex_raw_string(LexRun* r, i64 start, u8 kind) {
    const u8* text = r->text;
    i64 size = r->size, open = r->pos + 1, paren = open;
    while (paren < size && paren - open <= 16 && text[paren] != '(') {
        u8 c = text[paren];
        if (c == ' ' || c == ')' || c == '\\' || c == '\t' || c == '\n' || c == '"') return false;
        paren++;
    }
    if (paren >= size || text[paren] != '(') return false;
    i64 delimiter = paren - open;
    i64 p = paren + 1, contents_end = size, end = size;
    for (; p < size; p++) {
        if (text[p] == '\n') {
            r->line++;
            r->line_start = p + 1;
        } else if (text[p] == ')' && p + delimiter + 1 < size && text[p + delimiter + 1] == '"' &&
                   memcmp(text + p + 1, text + open, (size_t)delimiter) == 0) {
            contents_end = p;
            end = p + delimiter + 2;
            break;
        }
    }
    if (p >= size) r->complete = 0;
    r->pos = end;
    r->paint(start, end, kind);
    r->emit(token_string, paren + 1, contents_end - (paren + 1));
    return true;
}

// Digits of a number: 0-9 and "_", and for hexadecimal literals also a-f and A-F.
struct LexDigitTable {
    u8 is_digit[256];
};
constexpr LexDigitTable make_digit_table(bool hex) {
    LexDigitTable t{};
    for (int c = 0; c < 256; c++)
        t.is_digit[c] = (c >= '0' && c <= '9') || c == '_' || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    return t;
}
inline constexpr LexDigitTable lex_decimal_digits = make_digit_table(false);
inline constexpr LexDigitTable lex_hex_digits = make_digit_table(true);

// The end of a run of digits from p; with Rules::digit_separator a "'" between two digits
// belongs to the run ("1'000'000").
template <typename Rules>
inline i64 lex_digit_run(const LexRun* r, i64 p, const u8* digits) {
    const u8* text = r->text;
    i64 size = r->size;
    for (;;) {
        while (p < size && digits[text[p]]) p++;
        if (!Rules::digit_separator || p + 1 >= size || text[p] != '\'' || !digits[text[p + 1]]) return p;
        p++;
    }
}

// A number from its first digit, or from a "." followed by a digit (".5").
template <typename Rules>
inline void lex_number(LexRun* r) {
    const u8* text = r->text;
    i64 size = r->size, start = r->pos, p = start;
    const u8* digits = lex_decimal_digits.is_digit;
    bool real = false;
    if (text[p] != '.') {
        p++;
        if (p < size && (text[p] == 'x' || text[p] == 'X')) {
            digits = lex_hex_digits.is_digit;
            p++;
        }
        p = lex_digit_run<Rules>(r, p, digits);
    }
    if (p < size && text[p] == '.' && r->at(p + 1) != '.') {
        p++;
        real = true;
        p = lex_digit_run<Rules>(r, p, digits);
    }
    if (p < size && (text[p] == 'e' || text[p] == 'E')) {
        p++;
        real = true;
        if (p < size && (text[p] == '-' || (Rules::exponent_plus && text[p] == '+'))) p++;
        while (p < size && ((text[p] >= '0' && text[p] <= '9') || text[p] == Rules::exponent_separator)) p++;
    }
    if (Rules::suffix != suffix_none && p < size) {
        u8 s = text[p];
        if (s == 'f' || s == 'F') {
            p++;
        } else if (Rules::suffix == suffix_float_or_integer) {
            while (p < size && (text[p] == 'u' || text[p] == 'U' || text[p] == 'l' || text[p] == 'L')) p++;
        } else if (s == 'u' || s == 'U') {
            p++;
        } else if ((s == 'l' && r->at(p + 1) == 'f') || (s == 'L' && r->at(p + 1) == 'F')) {
            p += 2;
        }
    }
    r->pos = p;
    r->paint(start, p, Rules::number_kind);
    r->emit(real ? token_real : token_integer, start, p - start);
}

template <typename Rules>
inline void lex_run(Lexer* lexer, bool c_mode, i64 start, i64 end) {
    LexRun r;
    r.text = (const u8*)lexer->text.data;
    r.size = lexer->text.data && lexer->text.length > 0 ? lexer->text.length : 0;
    if (end < 0 || end > r.size) end = r.size;
    if (start < 0) start = 0;
    if (start > end) start = end;
    r.pos = start;
    r.line_start = start;
    r.line = 0;
    r.complete = 1;
    r.colours = lexer->colours ? *lexer->colours : nullptr;
    r.tokens = lexer->tokens;
    r.file = lexer->file;
    r.mark = 0;
    r.length = 0;
    const u8* text = r.text;

    while (r.pos < end) {
        u8 c = text[r.pos];
        switch (Rules::actions.action[c]) {
        case act_space: {
            i64 p = r.pos + 1;
            while (p < end && (text[p] == ' ' || text[p] == '\t' || text[p] == '\r')) p++;
            r.pos = p;
            break;
        }
        case act_newline:
            r.pos++;
            r.line++;
            r.line_start = r.pos;
            break;
        case act_single: r.operation(c, 1, Rules::operation_kind); break;
        case act_identifier: {
            i64 s = r.pos, p = s + 1;
            while (p < r.size && Rules::identifiers.continues[text[p]]) p++;
            r.pos = p;
            i64 n = p - s;
            if (Rules::raw_strings && !c_mode && p < r.size && text[p] == '"' && lex_raw_prefix(text + s, n)) {
                r.pos = p;
                if (lex_raw_string(&r, s, Rules::string_kind)) break;
                r.pos = p;
            }
            u16 code = token_identifier;
            if (n >= 2 && n <= Rules::keyword_max) {
                u8 kind = 0;
                u16 keyword = Rules::keyword(lexer, c_mode, (const char*)text + s, n, &kind);
                if (keyword) {
                    code = keyword;
                    r.paint(s, p, kind);
                }
            }
            r.emit(code, s, n);
            break;
        }
        case act_digit: lex_number<Rules>(&r); break;
        case act_string: r.literal('"', token_string, Rules::string_kind); break;
        case act_character: r.literal('\'', token_character, Rules::character_kind); break;
        case act_slash: {
            u8 next = r.at(r.pos + 1);
            if (next == '/') r.rest_of_line(Rules::line_comment_kind);
            else if (next == '*') r.block_comment(Rules::nested_comments, Rules::block_comment_kind);
            else r.equal_or_single(c, Rules::operation_kind);
            break;
        }
        case act_equal: r.equal_or_single(c, Rules::operation_kind); break;
        case act_double: {
            u8 next = r.at(r.pos + 1);
            if (next == c) r.operation(token_doubled((char)c), 2, Rules::operation_kind);
            else if (Rules::arrow && c == '-' && next == '>') r.operation(token_arrow, 2, Rules::operation_kind);
            else r.equal_or_single(c, Rules::operation_kind);
            break;
        }
        case act_dot:
            if (Rules::leading_dot_numbers && r.at(r.pos + 1) >= '0' && r.at(r.pos + 1) <= '9') lex_number<Rules>(&r);
            else if (r.at(r.pos + 1) != '.') r.operation('.', 1, Rules::operation_kind);
            else if (Rules::ellipsis && r.at(r.pos + 2) == '.') r.operation(token_ellipsis, 3, Rules::operation_kind);
            else r.operation(token_doubled('.'), 2, Rules::operation_kind);
            break;
        case act_angle:
            if (r.at(r.pos + 1) != c) r.equal_or_single(c, Rules::operation_kind);
            else if (r.at(r.pos + 2) == '=') r.operation(token_doubled_equal((char)c), 3, Rules::operation_kind);
            else r.operation(token_doubled((char)c), 2, Rules::operation_kind);
            break;
        case act_colon:
            if (r.at(r.pos + 1) == ':') r.operation(token_doubled(':'), 2, Rules::operation_kind);
            else r.operation(':', 1, Rules::operation_kind);
            break;
        case act_hash: r.directive(Rules::directive_kind); break;
        default:
            r.pos++;
            r.complete = 0;
            break;
        }
    }

    i64 column = r.pos - r.line_start;
    if (r.tokens) {
        Token t{};
        t.code = token_end;
        t.file = r.file;
        t.line = r.line;
        t.column = (u32)column;
        t.length = 0;
        t.offset = end;
        array_append(r.tokens, t);
    }
    lexer->complete = r.complete;
    lexer->line = r.line;
    lexer->column = (u32)column;
    lexer->pos = r.pos;
    lexer->current = r.at(r.pos);
    lexer->mark = r.mark;
    lexer->length = r.length;
}

// Builds a 256-entry action table from the language's sets. Bytes not named are act_bad.
struct LexActionTable {
    u8 action[256];
};
constexpr LexActionTable make_action_table(const char* single, const char* doubling, const char* equal,
                                           const char* extra_identifier_start, bool hash_directive) {
    LexActionTable t{};
    auto put = [&t](char c, u8 action) { t.action[(u8)c] = action; };
    auto put_all = [&put](const char* set, u8 action) {
        for (const char* s = set; *s; s++) put(*s, action);
    };
    for (int c = 0; c < 256; c++) {
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
        t.action[c] = letter ? act_identifier : (c >= '0' && c <= '9') ? act_digit : act_bad;
    }
    put_all(extra_identifier_start, act_identifier);
    put_all(" \t\r", act_space);
    put('\n', act_newline);
    put('"', act_string);
    put('\'', act_character);
    put_all(equal, act_equal);
    put_all(doubling, act_double);
    put_all(single, act_single);
    put('.', act_dot);
    put_all("<>", act_angle);
    if (t.action[(u8)':'] == act_double) put(':', act_colon);
    put('/', act_slash);
    if (hash_directive) put('#', act_hash);
    return t;
}

struct LexIdentifierTable {
    u8 continues[256];
};
constexpr LexIdentifierTable make_identifier_table(const char* extra) {
    LexIdentifierTable t{};
    for (int c = 0; c < 256; c++)
        t.continues[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                         c >= 0x80;
    for (const char* s = extra; *s; s++) t.continues[(u8)*s] = 1;
    return t;
}
