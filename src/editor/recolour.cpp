#include "editor/recolour.h"

#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "editor/document.h"
#include "editor/motion.h"
#include "render/font.h"
#include "syntax/coloring_file.h"
#include "syntax/file_kind.h"
#include "syntax/lex_text.h"
#include "syntax/syntax_state.h"

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

void recolour_document(Document* doc) {
    if (doc->text.count == 0) return;
    int language = language_of_file_kind(doc->kind);
    // Entry fields and other documents of no kind are neither coloured nor analysed.
    if (language < 0) return;
    doc->palette = language == language_plain ? syntax.rainbow_view : palette_of_language(language);
    StringView text = document_text(doc);
    ByteRange range = visible_range(doc);
    if (language == language_plain || range.end > range.start)
        lex_file_text(syntax.recolour_lexers, doc->kind, owned_view(doc->path), text, doc->colours.data, nullptr, range.start,
                      range.end);
    StringView request_text = source_cache_update(owned_view(doc->path), text);
    analysis_post_request(owned_view(doc->path), request_text, doc->kind);
}
