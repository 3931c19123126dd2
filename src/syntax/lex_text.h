#pragma once
// Lexing a text by the rules of its file kind: the one way the editor's recolouring, the
// analysis and tesmora-analyze colour bytes (and collect tokens).
#include "syntax/lexer.h"

// Colours [start, end) of `text` (end -1: to the end) into `colours`, one byte per text
// byte, with the lexer of `kind` taken from `lexers` (one per language, as
// recolour_lexers), appending tokens (stamped with `file`) when `tokens` is set. Plain files get rainbow words
// (and every colour byte outside the range is cleared); kind none changes nothing.
void lex_file_text(Lexer* lexers, u8 kind, u16 file, StringView text, u8* colours, Array<Token>* tokens,
                   i64 start, i64 end);
// Plain files: words of a line take rainbow colours 1, 2, ... in turn; `end` -1: all.
void rainbow_colour_words(StringView text, u8* colours, i64 start, i64 end, i64 rainbow_count);
