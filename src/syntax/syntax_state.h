#pragma once
// The syntax subsystem's state: the token colours of each language and of plain files, and
// the two sets of lexers (recolouring on the main thread, the analysis thread's own).
#include "syntax/lexer.h"
#include "syntax/token_kinds.h"

struct SyntaxState {
    Color vantrel_palette[vantrel_kind_count];
    Color cpp_palette[cpp_kind_count];
    Color glsl_palette[glsl_palette_storage];
    Array<Color> rainbow_palette;  // pool_main
    PaletteView rainbow_view;      // refreshed after every change of rainbow_palette
    // One lexer per language (index language_vantrel, language_cpp, language_glsl).
    Lexer recolour_lexers[lexer_language_count];
    Lexer analysis_lexers[lexer_language_count];
    bool keyword_table_full_reported;
};

extern SyntaxState syntax;
