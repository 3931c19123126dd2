#pragma once
// Token kinds: the colour byte stored beside every text byte. A kind indexes the palette
// of the document's language; lexers write the lexical kinds, the analyses the others.
#include "core/array.h"
#include "core/string_builder.h"
#include "core/string_view.h"
#include "core/types.h"
#include "render/color.h"

typedef u8 TokenKind;

// Languages with a palette. The first three have lexers; plain files use the rainbow.
enum : int {
    language_vantrel = 0,
    language_cpp = 1,  // C and C++ share one palette and one lexer
    language_glsl = 2,
    language_plain = 3,
    lexer_language_count = 3,
};

enum : TokenKind {
    vantrel_kind_default = 0,
    vantrel_kind_operation = 1,
    vantrel_kind_type_keyword = 2,
    vantrel_kind_declaration_keyword = 3,
    vantrel_kind_operation_keyword = 4,
    vantrel_kind_number_literal = 5,
    vantrel_kind_character_literal = 6,
    vantrel_kind_string_literal = 7,
    vantrel_kind_single_line_comment = 8,
    vantrel_kind_multi_line_comment = 9,
    vantrel_kind_struct = 10,
    vantrel_kind_enum = 11,
    vantrel_kind_handle = 12,
    vantrel_kind_alias = 13,
    vantrel_kind_template_type = 14,
    vantrel_kind_proc = 15,
    vantrel_kind_member_var = 16,
    vantrel_kind_global_var = 17,
    vantrel_kind_local_var = 18,
    vantrel_kind_parameter_var = 19,
    vantrel_kind_count = 20,
};

enum : TokenKind {
    cpp_kind_default = 0,
    cpp_kind_operation = 1,
    cpp_kind_type_keyword = 2,
    cpp_kind_declaration_keyword = 3,
    cpp_kind_operation_keyword = 4,
    cpp_kind_number_literal = 5,
    cpp_kind_character_literal = 6,
    cpp_kind_string_literal = 7,
    cpp_kind_preprocessor_directive = 8,
    cpp_kind_single_line_comment = 9,
    cpp_kind_multi_line_comment = 10,
    cpp_kind_struct = 11,
    cpp_kind_enum = 12,
    cpp_kind_namespace = 13,
    cpp_kind_typedef = 14,
    cpp_kind_using = 15,
    cpp_kind_template_expression = 16,
    cpp_kind_proc = 17,
    cpp_kind_member_var = 18,
    cpp_kind_global_var = 19,
    cpp_kind_local_var = 20,
    cpp_kind_parameter_var = 21,
    cpp_kind_count = 22,
};

enum : TokenKind {
    glsl_kind_default = 0,
    glsl_kind_operation = 1,
    glsl_kind_type_keyword = 2,
    glsl_kind_declaration_keyword = 3,
    glsl_kind_operation_keyword = 4,
    glsl_kind_number_literal = 5,
    glsl_kind_character_literal = 6,
    glsl_kind_string_literal = 7,
    glsl_kind_preprocessor_directive = 8,
    glsl_kind_single_line_comment = 9,
    glsl_kind_multi_line_comment = 10,
    glsl_kind_struct = 11,
    glsl_kind_proc = 12,
    glsl_kind_member_var = 13,
    glsl_kind_global_var = 14,
    glsl_kind_local_var = 15,
    glsl_kind_parameter_var = 16,
    glsl_kind_count = 17,
    glsl_palette_storage = 18,  // one spare slot beyond the used colours
};

enum : i64 { rainbow_builtin_count = 9 };

// A palette as documents hold it: first colour and number of colours.
struct PaletteView {
    const Color* colors;
    i64 count;
};

// Plain files: index 0 for bytes outside words, words cycle through 1..count-1.
extern const Color rainbow_builtin_colors[rainbow_builtin_count];

// Stores the built-in colours of the three language palettes and points rainbow_view at
// the built-in rainbow. Needs no arena, so it can run before the arenas exist.
void store_builtin_palettes();
// Empties rainbow_palette, appends the built-in rainbow and refreshes rainbow_view.
void reset_rainbow_palette();
void refresh_rainbow_view();

// (pointer, count) of a language's palette; language_plain gives rainbow_view.
PaletteView palette_of_language(int language);

// The coloring-file key that names `kind` in `language` ("type_keyword", "proc", ...),
// or an empty view when the language has no such kind. Plain files have no keys.
StringView token_kind_key(int language, TokenKind kind);
// Appends the key of `kind`; plain files give "rainbow" and the index ("rainbow3"),
// a kind without a key its number.
void append_token_kind_key(StringBuilder* out, int language, TokenKind kind);

// One row of the key table: the kind that the key names in each language (-1 where the
// language has none) and the colour those kinds start with.
struct ColoringKey {
    StringView name;
    i8 vantrel;
    i8 cpp;
    i8 glsl;
    Color builtin;
};
enum : int { coloring_key_count = 25 };
extern const ColoringKey coloring_keys[coloring_key_count];
