#include "syntax/coloring_file.h"

#include <cstdio>

#include "memory/arena.h"
#include "platform/platform.h"
#include "syntax/syntax_state.h"


void build_keyword_tables() {
    for (int language = 0; language < lexer_language_count; language++) {
        lexer_build_keywords(&syntax.recolour_lexers[language], language);
        lexer_build_keywords(&syntax.analysis_lexers[language], language);
    }
}

Color parse_coloring_color(StringView data, i64* pos) {
    Color c;
    c.r = (f32)parse_decimal(data, pos);
    (*pos)++;
    c.g = (f32)parse_decimal(data, pos);
    (*pos)++;
    c.b = (f32)parse_decimal(data, pos);
    if (*pos < data.length && data.data[*pos] == ' ') {
        (*pos)++;
        c.a = (f32)parse_decimal(data, pos);
    } else {
        c.a = 1;
    }
    return c;
}

void apply_coloring_entry(StringView key, Color color) {
    for (const ColoringKey& k : coloring_keys) {
        if (!sv_equal(k.name, key)) continue;
        if (k.vantrel >= 0) syntax.vantrel_palette[k.vantrel] = color;
        if (k.cpp >= 0) syntax.cpp_palette[k.cpp] = color;
        // GLSL directives keep their built-in colour: the key belongs to C/C++ only.
        if (k.glsl >= 0 && k.glsl != glsl_kind_preprocessor_directive) syntax.glsl_palette[k.glsl] = color;
    }
    if (sv_equal(key, SV("rainbow_default"))) {
        syntax.rainbow_palette.count = 0;
        array_append(&syntax.rainbow_palette, color);
    } else if (sv_equal(key, SV("rainbow"))) {
        array_append(&syntax.rainbow_palette, color);
    }
    refresh_rainbow_view();
}

void parse_coloring_data(StringView data) {
    const char* d = data.data;
    i64 n = data.data ? data.length : 0, p = 0;
    while (p < n) {
        // The key runs to the next space, across line feeds: a line without a space
        // swallows the next one.
        i64 key_start = p;
        while (p < n && d[p] != ' ') p++;
        StringView key = {d + key_start, p - key_start};
        p++;
        Color color = parse_coloring_color(data, &p);
        while (p < n && d[p] != '\n') p++;
        p++;
        apply_coloring_entry(key, color);
    }
}

void load_coloring_file(StringView path) {
    build_keyword_tables();
    reset_rainbow_palette();
    FileContents contents = file_read_all(path, pool_frame, pool_available(pool_frame));
    if (contents.status == read_too_large) {
        fputs("coloring file too large, skipped\n", stdout);
        fflush(stdout);
    }
    if (contents.status == read_ok && contents.bytes.length > 0) parse_coloring_data(contents.bytes);
}
