#include "syntax/recolour.h"

#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "editor/document.h"
#include "editor/motion.h"
#include "render/font.h"
#include "syntax/coloring_file.h"

ByteRange visible_range(const Document* doc) {
    ByteRange range{0, 0};
    const Array<i32>& lines = doc->line_lengths;
    if (lines.count == 0) return range;
    if (doc->single_line) return ByteRange{0, doc->text.count};
    f64 t = doc->font ? (f64)doc->zoom * doc->font->size * doc->font->line_height : 0.0;
    f64 top = (f64)doc->y + doc->height + doc->scroll_y;
    auto visible = [&](i64 i) {
        f64 centre = top - t / 2 - (f64)i * t;
        return centre >= doc->y - t / 2 && centre < doc->y + doc->height + t / 2;
    };
    // Rows are of equal height: jump close to the first visible row, then step exactly.
    i64 first = 0;
    if (t > 0) {
        f64 guess = doc->scroll_y / t - 2;
        first = guess > 0 ? (i64)guess : 0;
        if (first > lines.count) first = lines.count;
    }
    while (first < lines.count && !visible(first) && (t <= 0 || top - t / 2 - (f64)first * t >= doc->y - t / 2)) first++;
    if (first >= lines.count || !visible(first)) return range;
    i64 offset = row_start(doc, first);  // from the line table's last look-up, not the top
    i64 end = offset;
    for (i64 i = first; i < lines.count && visible(i); i++) end += lines[i];
    if (end > doc->text.count) end = doc->text.count;
    return ByteRange{offset, end};
}

static bool is_rainbow_word_byte(u8 c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '#' ||
           c == '$' || c >= 0x80;
}

void rainbow_colour_words(StringView text, u8* colours, i64 start, i64 end, i64 rainbow_count) {
    if (text.length > 0) memset(colours, 0, (size_t)text.length);
    if (end < 0 || end > text.length) end = text.length;
    if (start < 0) start = 0;
    u8 w = 1;
    i64 i = start;
    while (i < end) {
        u8 c = (u8)text.data[i];
        if (c == '\n') {
            w = 1;
            i++;
            continue;
        }
        if (!is_rainbow_word_byte(c)) {
            i++;
            continue;
        }
        while (i < end && is_rainbow_word_byte((u8)text.data[i])) colours[i++] = w;
        u8 next = (u8)(w + 1);
        w = (next == 0 || next > rainbow_count - 1) ? 1 : next;
    }
}

void recolour_document(Document* doc) {
    if (doc->text.count == 0) return;
    StringView text = document_text(doc);
    ByteRange range{0, 0};
    int language = -1;
    switch (doc->kind) {
    case file_kind_other:
        doc->palette = rainbow_view;
        range = visible_range(doc);
        rainbow_colour_words(text, doc->colours.data, range.start, range.end, rainbow_view.count);
        break;
    case file_kind_vantrel: language = language_vantrel; break;
    case file_kind_c:
    case file_kind_cpp: language = language_cpp; break;
    case file_kind_glsl: language = language_glsl; break;
    default:
        if (!doc->single_line) analysis_clear_minimap();
        return;
    }
    if (language >= 0) {
        doc->palette = palette_of_language(language);
        range = visible_range(doc);
        Lexer* lexer = &recolour_lexers[language];
        lexer->source = owned_view(doc->path);
        lexer->text = text;
        u8* colours = doc->colours.data;
        lexer->colours = &colours;
        lexer->tokens = nullptr;  // only the colours matter here
        if (range.end > range.start) {
            if (language == language_vantrel) lex_vantrel(lexer, range.start, range.end);
            else if (language == language_cpp) lex_cpp(lexer, doc->kind == file_kind_c, range.start, range.end);
            else lex_glsl(lexer, range.start, range.end);
        }
        lexer->colours = nullptr;
    }
    StringView request_text = source_cache_update(owned_view(doc->path), text);
    analysis_post_request(owned_view(doc->path), request_text, doc->kind);
}
