// Reading the font_info file: "s" atlas size, "i" atlas image, "g" glyphs.
#include <cstdio>

#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"


static void write_out(StringView text) {
    if (text.length > 0) fwrite(text.data, 1, (size_t)text.length, stdout);
}

static void report(StringView message, StringView detail) {
    write_out(message);
    write_out(detail);
    write_out(SV("\n"));
    fflush(stdout);
}

static i64 line_end(StringView s, i64 pos) {
    while (pos < s.length && s.data[pos] != '\n') pos++;
    return pos;
}

static u32 atlas_load(StringView path) {
    Image image = image_load(path, 4);
    render.frames.resource_generation++;
    u32 texture = texture_create();
    texture_bind(1, texture);
    texture_image_2d(1, 0, 13, image.width, image.height, 8, 0, image.pixels);
    texture_parameter_wrap(1, 0, 2);
    texture_parameter_wrap(1, 1, 2);
    texture_parameter_filter(1, 3, 1);
    texture_parameter_filter(1, 4, 1);
    texture_generate_mipmap(1);
    texture_unbind(1);
    return texture;
}

// A path that does not exist as written is looked for next to the font_info file.
static bool atlas_record(Font* out, StringView image_path, StringView info_path) {
    StringView tried = image_path;
    if (!file_exists(tried)) {
        i64 slash = sv_last_index(info_path, '/');
        if (slash >= 0) tried = string_concat(sv_slice(info_path, 0, slash + 1), image_path, pool_main);
        if (!file_exists(tried)) {
            report(SV("failed to load font image: "), tried);
            return false;
        }
    }
    if (out->texture != 0) texture_destroy(out->texture);
    out->texture = atlas_load(tried);
    return true;
}

// Growing the glyph list or the map must never run the main pool dry: a font that
// big is refused instead.
static bool room_for_glyph(const Font* f) {
    i64 need = 4096;
    if (f->glyphs.count == f->glyphs.capacity) need += f->glyphs.capacity * 2 * (i64)sizeof(Glyph);
    need += f->glyph_map.slot_count * 4 * (i64)sizeof(IntMapSlot);
    return pool_available(pool_main) > need;
}

// An optional "-" and digits, kept modulo 2^32 so that absurd numbers stay defined.
static u32 parse_code_point(StringView s, i64* pos) {
    bool negative = *pos < s.length && s.data[*pos] == '-';
    if (negative) (*pos)++;
    u32 value = 0;
    while (*pos < s.length && s.data[*pos] >= '0' && s.data[*pos] <= '9') {
        value = value * 10 + (u32)(s.data[*pos] - '0');
        (*pos)++;
    }
    return negative ? 0u - value : value;
}

static void glyph_record(Font* out, StringView s, i64* pos, f64 atlas_w, f64 atlas_h) {
    u32 code_point = parse_code_point(s, pos);
    f64 v[7];
    for (int i = 0; i < 7; i++) {
        (*pos)++;
        v[i] = parse_decimal(s, pos);
    }
    Glyph g;
    g.offset_x = v[0] / atlas_w;
    g.offset_y = v[1] / atlas_h;
    g.advance = v[2] / atlas_w;
    g.u = v[3] / atlas_w;
    g.v = v[4] / atlas_h;
    g.width = v[5] / atlas_w;
    g.height = v[6] / atlas_h;
    i64 index = array_append(&out->glyphs, g);
    // A code point listed again keeps the first glyph: lookups stop at the first match
    // anyway, and repeated keys would make the probe runs grow without end.
    if (intmap_lookup(&out->glyph_map, code_point) == 0) intmap_insert(&out->glyph_map, code_point, (u32)index);
    if (code_point == 32) out->space_advance = g.advance;
    if (code_point == 9) out->tab_advance = g.advance;
    if (g.height > out->line_height) out->line_height = g.height;
}

bool font_parse(Font* out, StringView bytes, StringView info_path) {
    *out = Font{};
    out->glyphs.pool = pool_main;
    out->glyph_map.pool = pool_main;
    array_append(&out->glyphs, Glyph{});
    f64 atlas_w = 1, atlas_h = 1;
    i64 pos = 0;
    bool ok = true;
    while (pos < bytes.length) {
        char type = bytes.data[pos];
        if (pos + 1 >= bytes.length || bytes.data[pos + 1] != ' ') {
            ok = false;
            break;
        }
        pos += 2;
        if (type == 's') {
            atlas_w = parse_decimal(bytes, &pos);
            pos++;
            atlas_h = parse_decimal(bytes, &pos);
        } else if (type == 'i') {
            i64 end = line_end(bytes, pos);
            if (!atlas_record(out, sv_slice(bytes, pos, end), info_path)) {
                ok = false;
                break;
            }
            pos = end;
        } else if (type == 'g') {
            if (!room_for_glyph(out)) {
                report(SV("font too large: "), info_path);
                ok = false;
                break;
            }
            glyph_record(out, bytes, &pos, atlas_w, atlas_h);
        } else {
            report(SV("unknown "), StringView{&bytes.data[pos - 2], 1});
            ok = false;
            break;
        }
        if (pos > bytes.length) pos = bytes.length;
        pos = line_end(bytes, pos) + 1;
    }
    if (!ok) {
        if (out->texture != 0) texture_destroy(out->texture);
        out->texture = 0;
        return false;
    }
    u32 replacement = intmap_lookup(&out->glyph_map, 0xFFFD);
    if (replacement != 0 && (i64)replacement < out->glyphs.count) out->glyphs[0] = out->glyphs[replacement];
    out->size = 256;
    return true;
}

void font_load() {
    StringView path = render.theme.font_path;
    // A file the main pool cannot hold is as good as missing.
    FileContents contents = file_read_all(path, pool_main, pool_available(pool_main) / 4);
    if (contents.status != read_ok) {
        report(SV("failed to open "), path);
        return;
    }
    Font loaded;
    if (font_parse(&loaded, contents.bytes, path)) render.font = loaded;
}
