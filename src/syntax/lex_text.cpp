#include "syntax/lex_text.h"

#include "syntax/file_kind.h"
#include "syntax/syntax_state.h"
#include "syntax/token_kinds.h"

namespace {
bool is_rainbow_word_byte(u8 c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '#' ||
           c == '$' || c >= 0x80;
}
}  // namespace

void rainbow_colour_words(StringView text, u8* colours, i64 start, i64 end, i64 rainbow_count) {
    if (text.length > 0) memset(colours, 0, (size_t)text.length);
    if (end < 0 || end > text.length) end = text.length;
    if (start < 0) start = 0;
    u8 w = 1;
    i64 i = start;
    while (i < end) {
        u8 c = (u8)text.data[i];
        if (c == '\n') {
            w = 1;
            i++;
            continue;
        }
        if (!is_rainbow_word_byte(c)) {
            i++;
            continue;
        }
        while (i < end && is_rainbow_word_byte((u8)text.data[i])) colours[i++] = w;
        u8 next = (u8)(w + 1);
        w = (next == 0 || next > rainbow_count - 1) ? 1 : next;
    }
}

void lex_file_text(Lexer* lexers, u8 kind, u16 file, StringView text, u8* colours, Array<Token>* tokens,
                   i64 start, i64 end) {
    int language = language_of_file_kind(kind);
    if (language < 0) return;
    if (language == language_plain) {
        rainbow_colour_words(text, colours, start, end, syntax.rainbow_view.count);
        return;
    }
    Lexer* lexer = &lexers[language];
    lexer->file = file;
    lexer->text = text;
    lexer->colours = &colours;
    lexer->tokens = tokens;
    if (language == language_vantrel) lex_vantrel(lexer, start, end);
    else if (language == language_cpp) lex_cpp(lexer, kind == file_kind_c, start, end);
    else lex_glsl(lexer, start, end);
    lexer->colours = nullptr;
    lexer->tokens = nullptr;
}
