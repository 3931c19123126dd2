#pragma once
// The bitmap font (an atlas image plus its font_info glyph list), UTF-8 decoding and
// the text operations: measuring, drawing in one colour or a colour per byte, and
// finding the pen position after n bytes.
#include "core/array.h"
#include "core/hash.h"
#include "core/string_view.h"
#include "core/types.h"
#include "render/color.h"

// Fractions of the atlas size; multiplied by Font::size and the caller's scale at drawing time.
struct Glyph {
    f64 offset_x;  // from the pen to the quad's left edge (subtracted)
    f64 offset_y;  // from the pen to the quad's bottom edge (subtracted)
    f64 advance;
    f64 u;  // atlas rectangle, origin bottom-left
    f64 v;
    f64 width;
    f64 height;
};

struct Font {
    f64 space_advance;
    f64 tab_advance;
    f64 line_height;  // tallest glyph
    f64 size;         // 256
    u32 texture;
    Array<Glyph> glyphs;  // pool 0; index 0 is the fallback (the U+FFFD glyph when there is one)
    IntMap glyph_map;     // code point -> glyph index, pool 0
};


struct Utf8Decoded {
    u32 code_point;
    i64 length;  // bytes taken, at least 1
};

struct TextMetrics {
    f32 offset_x;  // where the block's lines start, relative to the text's x
    f32 offset_y;  // where the first line's pen stands, relative to the text's y
    f32 width;
    f32 height;
};

struct TextPoint {
    f32 x, y;
};

// Horizontal alignment: 2 centres the block on x, 3 ends it at x, anything else starts
// at x. Vertical: 1 puts the last line's pen on y, 2 centres the block on y, 4 hangs the
// block below y, anything else puts the first line's pen on y.
enum : u8 {
    align_center_x = 2,
    align_right = 3,
    align_bottom = 1,
    align_center_y = 2,
    align_below = 4,
};

// Reads theme.font_path and, when every record is good, installs it as `font`.
void font_load();
// Builds a font from the bytes of a font_info file whose own path is `info_path` (used
// to find the atlas next to it). Returns false, having printed why when there is a
// reason to tell, when the font must not be installed.
bool font_parse(Font* out, StringView bytes, StringView info_path);

// Decodes the first character of `text` (which must not be empty).
Utf8Decoded utf8_decode(StringView text);
// Glyph index of a code point; 0 (the fallback) when the font has none.
u32 glyph_lookup(const Font* f, u32 code_point);

TextMetrics measure_text(const Font* f, StringView text, f64 scale_x, f64 scale_y, u8 horizontal_align,
                         u8 vertical_align, f64 wrap_width);
// Returns the pen's final x relative to x.
f32 draw_text(const Font* f, Color color, StringView text, f64 x, f64 y, f64 scale_x, f64 scale_y,
              u8 horizontal_align, u8 vertical_align);
// `kinds` holds one byte per text byte; a glyph takes palette[kind of its last byte],
// and a kind beyond the palette takes palette[0]. Returns the pen's final x.
f32 draw_text_colored(const Font* f, const Color* palette, i64 palette_count, StringView text, const u8* kinds,
                      f64 x, f64 y, f64 scale_x, f64 scale_y, u8 vertical_align, f64 wrap_width);
// Pen position after the first n bytes, relative to the text's origin.
TextPoint caret_position(const Font* f, StringView text, i64 n, f64 scale_x, f64 scale_y, f64 wrap_width);
