#include "syntax/syntax_state.h"
#include "syntax/token_kinds.h"

SyntaxState syntax;

const Color rainbow_builtin_colors[rainbow_builtin_count] = {
    {1, 1, 1, 1}, {1, 0, 0, 1},   {1, 0.4f, 0, 1}, {1, 0.8f, 0, 1}, {0, 1, 0.4f, 1},
    {0, 0.8f, 1, 1}, {0.2f, 0, 1, 1}, {0.6f, 0, 1, 1}, {1, 0, 1, 1},
};

// Each key, the kind it names per language (-1: none) and its built-in colour.
const ColoringKey coloring_keys[coloring_key_count] = {
    {SV("default"), 0, 0, 0, {1, 1, 1, 1}},
    {SV("operation"), 1, 1, 1, {1, 1, 1, 1}},
    {SV("type_keyword"), 2, 2, 2, {1, 0, 0, 1}},
    {SV("declaration_keyword"), 3, 3, 3, {0.25f, 0.5f, 1, 1}},
    {SV("operation_keyword"), 4, 4, 4, {1, 0.75f, 0, 1}},
    {SV("number_literal"), 5, 5, 5, {1, 0.75f, 0, 1}},
    {SV("character_literal"), 6, 6, 6, {1, 0, 1, 1}},
    {SV("string_literal"), 7, 7, 7, {0.5f, 0, 1, 1}},
    {SV("preprocessor_directive"), -1, 8, 8, {0.5f, 0, 1, 1}},
    {SV("single_line_comment"), 8, 9, 9, {0.75f, 0.75f, 0.75f, 1}},
    {SV("multi_line_comment"), 9, 10, 10, {0.5f, 0.5f, 0.5f, 1}},
    {SV("struct"), 10, 11, 11, {0, 1, 0.4f, 1}},
    {SV("enum"), 11, 12, -1, {1, 0, 1, 1}},
    {SV("namespace"), -1, 13, -1, {1, 0, 0.5f, 1}},
    {SV("handle"), 12, -1, -1, {0, 1, 1, 1}},
    {SV("alias"), 13, -1, -1, {0, 1, 1, 1}},
    {SV("typedef"), -1, 14, -1, {0, 1, 1, 1}},
    {SV("using"), -1, 15, -1, {0, 1, 1, 1}},
    {SV("template_type"), 14, -1, -1, {0, 1, 1, 1}},
    {SV("template_expression"), -1, 16, -1, {0, 1, 1, 1}},
    {SV("proc"), 15, 17, 12, {1, 0.5f, 0.25f, 1}},
    {SV("member_var"), 16, 18, 13, {0.5f, 0.75f, 1, 1}},
    {SV("global_var"), 17, 19, 14, {0.75f, 1, 0.75f, 1}},
    {SV("local_var"), 18, 20, 15, {1, 1, 0.75f, 1}},
    {SV("parameter_var"), 19, 21, 16, {1, 0.75f, 1, 1}},
};

void store_builtin_palettes() {
    for (const ColoringKey& k : coloring_keys) {
        if (k.vantrel >= 0) syntax.vantrel_palette[k.vantrel] = k.builtin;
        if (k.cpp >= 0) syntax.cpp_palette[k.cpp] = k.builtin;
        if (k.glsl >= 0) syntax.glsl_palette[k.glsl] = k.builtin;
    }
    syntax.glsl_palette[glsl_kind_count] = Color{0, 0, 0, 0};
    // Until the arenas exist the documents' rainbow is the constant built-in one.
    if (syntax.rainbow_palette.data == nullptr)
        syntax.rainbow_view = PaletteView{rainbow_builtin_colors, rainbow_builtin_count};
}

void refresh_rainbow_view() {
    syntax.rainbow_view = PaletteView{syntax.rainbow_palette.data, syntax.rainbow_palette.count};
}

void reset_rainbow_palette() {
    syntax.rainbow_palette.pool = pool_main;
    syntax.rainbow_palette.count = 0;
    for (const Color& c : rainbow_builtin_colors) array_append(&syntax.rainbow_palette, c);
    refresh_rainbow_view();
}

PaletteView palette_of_language(int language) {
    switch (language) {
    case language_vantrel: return PaletteView{syntax.vantrel_palette, vantrel_kind_count};
    case language_cpp: return PaletteView{syntax.cpp_palette, cpp_kind_count};
    case language_glsl: return PaletteView{syntax.glsl_palette, glsl_kind_count};
    default: return syntax.rainbow_view;
    }
}

StringView token_kind_key(int language, TokenKind kind) {
    for (const ColoringKey& key : coloring_keys) {
        int k = language == language_vantrel ? key.vantrel
              : language == language_cpp     ? key.cpp
              : language == language_glsl    ? key.glsl
                                             : -1;
        if (k == (int)kind) return key.name;
    }
    return StringView{nullptr, 0};
}

void append_token_kind_key(StringBuilder* out, int language, TokenKind kind) {
    if (language == language_plain) {
        append_string(out, SV("rainbow"));
        append_int(out, kind);
        return;
    }
    StringView key = token_kind_key(language, kind);
    if (key.length > 0) append_string(out, key);
    else append_int(out, kind);
}
