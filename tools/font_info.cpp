#include "font_info.h"

#include <cmath>
#include <cstdio>

namespace {

struct Reader {
    const std::string& s;
    size_t pos = 0;
    bool at_end() const { return pos >= s.size(); }
    char peek() const { return at_end() ? '\0' : s[pos]; }
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool read_decimal(Reader& r, double* out, bool integer_only) {
    size_t start = r.pos;
    if (r.peek() == '-') r.pos++;
    if (!is_digit(r.peek())) return false;
    while (is_digit(r.peek())) r.pos++;
    if (!integer_only && r.peek() == '.') {
        r.pos++;
        if (!is_digit(r.peek())) return false;
        while (is_digit(r.peek())) r.pos++;
    }
    *out = std::strtod(r.s.substr(start, r.pos - start).c_str(), nullptr);
    return true;
}

bool read_fields(Reader& r, double* values, int count, bool first_is_integer) {
    for (int i = 0; i < count; i++) {
        if (i > 0) {
            if (r.peek() != ' ') return false;
            r.pos++;
        }
        if (!read_decimal(r, &values[i], first_is_integer && i == 0)) return false;
    }
    return true;
}

std::string line_error(const char* what, int line) { return std::string(what) + " on line " + std::to_string(line); }

bool near_integer(double v) { return std::fabs(v - std::round(v)) < 1e-6; }

}  // namespace

bool parse_font_info(const std::string& text, FontInfo* out, std::string* error) {
    Reader r{text};
    double w = 1, h = 1;
    out->glyphs.assign(1, InfoGlyph{});
    int line = 0;
    while (!r.at_end()) {
        line++;
        if (r.pos + 1 >= text.size() || text[r.pos + 1] != ' ') {
            *error = line_error("record without a space after its type", line);
            return false;
        }
        char type = text[r.pos];
        r.pos += 2;
        if (type == 's') {
            double v[2];
            if (!read_fields(r, v, 2, false) || v[0] <= 0 || v[1] <= 0) {
                *error = line_error("bad \"s\" record", line);
                return false;
            }
            w = v[0];
            h = v[1];
        } else if (type == 'i') {
            size_t end = text.find('\n', r.pos);
            if (end == std::string::npos) end = text.size();
            out->image_path = text.substr(r.pos, end - r.pos);
            r.pos = end;
        } else if (type == 'g') {
            double v[8];
            if (!read_fields(r, v, 8, true)) {
                *error = line_error("bad \"g\" record", line);
                return false;
            }
            InfoGlyph g{int(v[0]), v[1] / w, v[2] / h, v[3] / w, v[4] / w, v[5] / h, v[6] / w, v[7] / h};
            if (g.codepoint == 32) out->space_advance = g.advance;
            if (g.codepoint == 9) out->tab_advance = g.advance;
            out->line_height = std::max(out->line_height, g.height);
            out->index.emplace(g.codepoint, out->glyphs.size());
            out->glyphs.push_back(g);
        } else {
            *error = line_error("unknown record type", line);
            return false;
        }
        if (r.peek() != '\n') {
            *error = line_error("text after the record", line);
            return false;
        }
        r.pos++;
    }
    auto fallback = out->index.find(0xFFFD);
    if (fallback != out->index.end()) out->glyphs[0] = out->glyphs[fallback->second];
    return true;
}

const InfoGlyph& glyph_for(const FontInfo& info, int cp) {
    auto it = info.index.find(cp);
    return info.glyphs[it == info.index.end() ? 0 : it->second];
}

int utf8_decode(const std::string& s, size_t at, int* cp) {
    auto byte = [&](size_t i) { return unsigned(uint8_t(s[at + i])); };
    size_t left = s.size() - at;
    unsigned b = byte(0);
    int len = b < 0x80 ? 1 : b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (b >= 0x80 && b < 0xC0) {
        *cp = 0xFFFD;
        return 1;
    }
    if (size_t(len) > left) {
        *cp = 0xFFFD;
        return int(left);  // the walk ends at the text's end
    }
    switch (len) {
        case 1: *cp = int(b); break;
        case 2: *cp = int(((b & 0x1F) << 6) | (byte(1) & 0x3F)); break;
        case 3: *cp = int(((b << 12) & 0xFFFF) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F)); break;
        default:
            *cp = int(((b & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F));
    }
    return len;
}

// `density` is the scale the atlas is drawn at: 1 for the 256-pixel atlas, 2 for the
// double-resolution one, whose pixels land on whole screen pixels only at scale 2.
static bool check_placement(const FontInfo& info, const InfoGlyph& g, double density, std::string* error) {
    // A one-line block centred on row centre c: the pen stands half a line below c.
    const double sx = info.size * density, sy = info.size * density;
    const double line_px = info.line_height * sy;
    for (double centre : {100.0, 100.5}) {
        double pen_y = 0.5 * line_px - line_px;
        double bottom = std::floor(centre + pen_y - g.offset_y * sy + 0.5);
        double top = bottom + std::floor(g.height * sy + 0.5);
        double box_bottom = std::floor(centre + pen_y + 0.5);
        if (bottom < box_bottom || top > box_bottom + std::floor(line_px + 0.5)) {
            char msg[120];
            std::snprintf(msg, sizeof msg, "U+%04X leaves the line box (rows %g..%g, box %g..%g)", g.codepoint, bottom,
                          top, box_bottom, box_bottom + line_px);
            *error = msg;
            return false;
        }
    }
    double left = std::floor(0 - g.offset_x * sx + 0.5);
    if (left + std::floor(g.width * sx + 0.5) > 2 * std::floor(g.advance * sx + 0.5) || left < -g.advance * sx) {
        *error = "glyph U+" + std::to_string(g.codepoint) + " lies far outside its cell";
        return false;
    }
    return true;
}

bool check_font_info(const FontInfo& info, const Image8& atlas, std::string* error) {
    const double W = atlas.width, H = atlas.height;
    if (info.space_advance <= 0) return *error = "no space glyph", false;
    if (std::fabs(info.tab_advance - 4 * info.space_advance) > 1e-9) return *error = "tab is not four spaces", false;
    if (!info.index.count(0xFFFD)) return *error = "no U+FFFD glyph", false;
    std::vector<int> owner(size_t(atlas.width) * atlas.height, -1);
    for (size_t i = 1; i < info.glyphs.size(); i++) {
        const InfoGlyph& g = info.glyphs[i];
        if (info.index.at(g.codepoint) != i) return *error = "code point listed twice: " + std::to_string(g.codepoint), false;
        double px[6] = {g.offset_x * W, g.advance * W, g.u * W, g.v * H, g.width * W, g.height * H};
        for (double v : px)
            if (!near_integer(v)) return *error = "fractional pixel value for " + std::to_string(g.codepoint), false;
        if (g.codepoint != 9 && std::fabs(g.advance - info.space_advance) > 1e-9)
            return *error = "advance differs for " + std::to_string(g.codepoint), false;
        if (g.width == 0 || g.height == 0) continue;
        if (!check_placement(info, g, W / 256, error)) return false;
        int x0 = int(std::lround(px[2])), w = int(std::lround(px[4])), h = int(std::lround(px[5]));
        int top = atlas.height - int(std::lround(px[3])) - h;  // PNG row of the glyph's top
        if (x0 < 0 || top < 0 || x0 + w > atlas.width || top + h > atlas.height)
            return *error = "atlas rectangle outside the image for " + std::to_string(g.codepoint), false;
        bool ink = false;
        for (int y = top - 1; y <= top + h; y++)
            for (int x = x0 - 1; x <= x0 + w; x++) {
                if (x < 0 || y < 0 || x >= atlas.width || y >= atlas.height) continue;
                int& o = owner[size_t(y) * atlas.width + x];
                bool inside = x >= x0 && y >= top && x < x0 + w && y < top + h;
                if (o >= 0 && o != int(i))
                    return *error = "atlas rectangles touch: " + std::to_string(g.codepoint), false;
                if (inside) {
                    o = int(i);
                    ink = ink || atlas.at(x, y)[3] > 0;
                }
            }
        if (!ink) return *error = "empty atlas rectangle for " + std::to_string(g.codepoint), false;
    }
    for (int y = 0; y < atlas.height; y++)
        for (int x = 0; x < atlas.width; x++)
            if (owner[size_t(y) * atlas.width + x] < 0 && atlas.at(x, y)[3] != 0)
                return *error = "ink outside every glyph rectangle", false;
    return true;
}
