#pragma once
// The coloring file: "key r g b [a]" lines that override palette colours by kind name,
// plus the rainbow colours of plain files. Read once at start-up, which is also when the
// lexers' keyword tables are built.
#include "core/string_view.h"
#include "render/color.h"
#include "syntax/lexer.h"
#include "syntax/token_kinds.h"


// Builds the keyword tables of both lexer sets, resets the rainbow, then reads `path`.
// A file that cannot be opened leaves the built-in colours; nothing is shown.
void load_coloring_file(StringView path);
// Builds the keyword tables of both lexer sets.
void build_keyword_tables();
// Applies every entry of a coloring file's bytes, in order.
void parse_coloring_data(StringView data);
// Sets the palettes named by `key` (nothing for an unknown key) and refreshes rainbow_view.
void apply_coloring_entry(StringView key, Color color);
// "r g b [a]" at *pos: one separator byte of any value between the numbers; alpha only
// after a space, 1 otherwise. Leaves *pos after the last number read.
Color parse_coloring_color(StringView data, i64* pos);
