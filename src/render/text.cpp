// UTF-8 decoding, glyph lookup and the layout walk shared by every text operation.
#include <cstring>

#include "core/core_state.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/draw_list.h"
#include "render/font.h"
#include "render/renderer.h"

Utf8Decoded utf8_decode(StringView text) {
    if (text.length <= 0) return Utf8Decoded{0xFFFD, 1};
    const u8* s = (const u8*)text.data;
    u32 b = s[0];
    if (b < 0x80) return Utf8Decoded{b, 1};
    i64 length;
    if (b >= 0xC0 && b <= 0xDF) length = 2;
    else if (b >= 0xE0 && b <= 0xEF) length = 3;
    else if (b >= 0xF0) length = 4;
    else return Utf8Decoded{0xFFFD, 1};
    if (text.length < length) return Utf8Decoded{0xFFFD, length};
    u32 c;
    if (length == 2) c = ((b & 0x1F) << 6) | (s[1] & 0x3F);
    else if (length == 3) c = ((b << 12) & 0xFFFF) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3F);
    else c = ((b & 0x07) << 18) | ((s[1] & 0x3Fu) << 12) | ((s[2] & 0x3Fu) << 6) | (s[3] & 0x3F);
    return Utf8Decoded{c, length};
}

u32 glyph_lookup(const Font* f, u32 code_point) {
    u32 index = intmap_lookup(&f->glyph_map, code_point);
    return (i64)index < f->glyphs.count ? index : 0;
}

namespace {

// One pass over the text: the pen, the line count and the widest line so far.
struct TextWalk {
    const Font* font;
    StringView text;
    i64 position;  // bytes consumed
    f64 sx, sy;
    f64 line_start, limit;
    f64 pen_x, pen_y;
    i64 lines;
    f64 widest;
};

// What one step met: the glyph (drawn only when `visible`), the pen before its advance,
// and the byte just past it.
struct WalkStep {
    const Glyph* glyph;
    bool visible;
    f64 pen_x, pen_y;
    i64 end;
};

TextWalk walk_start(const Font* f, StringView text, f64 scale_x, f64 scale_y, f64 start_x, f64 start_y,
                    f64 wrap_width) {
    TextWalk w{};
    w.font = f;
    w.text = text;
    w.sx = scale_x * f->size;
    w.sy = scale_y * f->size;
    w.line_start = start_x;
    w.limit = start_x + wrap_width;
    w.pen_x = start_x;
    w.pen_y = start_y;
    w.lines = 1;
    return w;
}

void walk_new_line(TextWalk* w) {
    f64 line_width = w->pen_x - w->line_start;
    if (line_width > w->widest) w->widest = line_width;
    w->pen_x = w->line_start;
    w->pen_y -= w->font->line_height * w->sy;
    w->lines++;
}

bool walk_next(TextWalk* w, WalkStep* step) {
    if (w->position >= w->text.length) return false;
    Utf8Decoded d = utf8_decode(sv_slice(w->text, w->position, w->text.length));
    w->position += d.length;
    if (w->position > w->text.length) w->position = w->text.length;
    const Glyph* g = &w->font->glyphs[glyph_lookup(w->font, d.code_point)];
    if (w->pen_x + g->advance * w->sx > w->limit) walk_new_line(w);
    step->glyph = g;
    step->visible = false;
    step->pen_x = w->pen_x;
    step->pen_y = w->pen_y;
    step->end = w->position;
    if (d.code_point == 32) {
        w->pen_x += w->font->space_advance * w->sx;
    } else if (d.code_point == 9) {
        w->pen_x += w->font->tab_advance * w->sx;
    } else if (d.code_point == 10) {
        walk_new_line(w);
    } else {
        step->visible = true;
        w->pen_x += g->advance * w->sx;
    }
    return true;
}

f64 walk_width(const TextWalk* w) {
    f64 last = w->pen_x - w->line_start;
    return last > w->widest ? last : w->widest;
}

bool font_empty(const Font* f) { return f == nullptr || f->glyphs.count == 0; }

void draw_glyph(const WalkStep& step, u32 texture, Color color, f64 x, f64 y, f64 sx, f64 sy) {
    const Glyph* g = step.glyph;
    f32 left = (f32)math_floor(x + step.pen_x - g->offset_x * sx + 0.5);
    f32 bottom = (f32)math_floor(y + step.pen_y - g->offset_y * sy + 0.5);
    f32 width = (f32)math_floor(g->width * sx + 0.5);
    f32 height = (f32)math_floor(g->height * sy + 0.5);
    Matrix m = matrix_multiply(render.gpu.combined_matrix, translate(left, bottom));
    m = matrix_multiply(m, scale(width, height));
    QuadInstance* quad = draw_list_add(texture);
    memcpy(quad->mvp, m.e, sizeof quad->mvp);
    quad->color[0] = color.r;
    quad->color[1] = color.g;
    quad->color[2] = color.b;
    quad->color[3] = color.a;
    quad->uv_rect[0] = (f32)g->u;
    quad->uv_rect[1] = (f32)g->v;
    quad->uv_rect[2] = (f32)g->width;
    quad->uv_rect[3] = (f32)g->height;
}

}  // namespace

TextMetrics measure_text(const Font* f, StringView text, f64 scale_x, f64 scale_y, u8 horizontal_align,
                         u8 vertical_align, f64 wrap_width) {
    if (font_empty(f)) return TextMetrics{0, 0, 0, 0};
    TextWalk w = walk_start(f, text, scale_x, scale_y, 0, 0, wrap_width);
    WalkStep step;
    while (walk_next(&w, &step)) {
    }
    f64 one_line = f->line_height * w.sy;
    f64 width = walk_width(&w);
    f64 height = (f64)w.lines * one_line;
    f64 offset_x = 0, offset_y = 0;
    if (horizontal_align == align_center_x) offset_x = -0.5 * width;
    else if (horizontal_align == align_right) offset_x = -width;
    if (vertical_align == align_bottom) offset_y = height - one_line;
    else if (vertical_align == align_center_y) offset_y = 0.5 * height - one_line;
    else if (vertical_align == align_below) offset_y = -one_line;
    return TextMetrics{(f32)offset_x, (f32)offset_y, (f32)width, (f32)height};
}

f32 draw_text(const Font* f, Color color, StringView text, f64 x, f64 y, f64 scale_x, f64 scale_y,
              u8 horizontal_align, u8 vertical_align) {
    if (font_empty(f)) return 0;
    TextMetrics m = measure_text(f, text, scale_x, scale_y, horizontal_align, vertical_align, 1000000000.0);
    TextWalk w = walk_start(f, text, scale_x, scale_y, m.offset_x, m.offset_y, 1000000000.0);
    WalkStep step;
    while (walk_next(&w, &step)) {
        if (!step.visible) continue;
        draw_glyph(step, f->texture, color, x, y, w.sx, w.sy);
        core.glyph_count++;
    }
    render.draw_list.last_color = color;
    return (f32)w.pen_x;
}

f32 draw_text_colored(const Font* f, const Color* palette, i64 palette_count, StringView text, const u8* kinds,
                      f64 x, f64 y, f64 scale_x, f64 scale_y, u8 vertical_align, f64 wrap_width) {
    if (font_empty(f)) return 0;
    TextMetrics m = measure_text(f, text, scale_x, scale_y, 0, vertical_align, wrap_width);
    TextWalk w = walk_start(f, text, scale_x, scale_y, m.offset_x, m.offset_y, wrap_width);
    WalkStep step;
    // Without a palette the glyphs keep the colour of the quad drawn last.
    Color color = render.draw_list.last_color;
    while (walk_next(&w, &step)) {
        if (!step.visible) continue;
        if (palette && palette_count > 0) {
            i64 kind = kinds ? kinds[step.end - 1] : 0;
            color = palette[kind < palette_count ? kind : 0];
        }
        draw_glyph(step, f->texture, color, x, y, w.sx, w.sy);
    }
    render.draw_list.last_color = color;
    return (f32)w.pen_x;
}

TextPoint caret_position(const Font* f, StringView text, i64 n, f64 scale_x, f64 scale_y, f64 wrap_width) {
    if (font_empty(f)) return TextPoint{0, 0};
    TextMetrics m = measure_text(f, text, scale_x, scale_y, 0, align_bottom, wrap_width);
    TextWalk w = walk_start(f, text, scale_x, scale_y, m.offset_x, m.offset_y, wrap_width);
    WalkStep step;
    while (w.position < n && walk_next(&w, &step)) {
    }
    return TextPoint{(f32)w.pen_x, (f32)w.pen_y};
}
