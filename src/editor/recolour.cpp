#include "editor/recolour.h"

#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "editor/document.h"
#include "editor/line_table.h"
#include "editor/motion.h"
#include "render/font.h"
#include "syntax/coloring_file.h"
#include "syntax/file_kind.h"
#include "syntax/lex_text.h"
#include "syntax/syntax_state.h"

ByteRange visible_range(const Document* doc) {
    ByteRange range{0, 0};
    i64 count = line_count(doc);
    if (count == 0) return range;
    if (doc->single_line) return ByteRange{0, document_length(doc)};
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
        if (first > count) first = count;
    }
    while (first < count && !visible(first) && (t <= 0 || top - t / 2 - (f64)first * t >= doc->y - t / 2)) first++;
    if (first >= count || !visible(first)) return range;
    i64 offset = row_start(doc, first);  // from the line table's last look-up, not the top
    i64 end = offset;
    for (i64 i = first; i < count && visible(i); i++) end += line_length(doc, i);
    if (end > document_length(doc)) end = document_length(doc);
    return ByteRange{offset, end};
}

namespace {
// The rows on screen and a little past them, where a token begun on screen ends: a
// comment or string running further is coloured as far as that.
void lex_rows_on_screen(Document* doc, int language) {
    i64 length = document_length(doc);
    ByteRange range = visible_range(doc);
    doc->lexed = range;
    if (language != language_plain && range.end <= range.start) return;
    i64 window_end = range.end + recolour_lookahead < length ? range.end + recolour_lookahead : length;
    StringView window = document_range(doc, range.start, window_end);
    u8* colours = document_colour_range(doc, range.start, window_end);
    lex_file_text(syntax.recolour_lexers, doc->kind, 0, window, colours, nullptr, 0,
                  range.end - range.start);
}

void request_analysis(Document* doc) {
    document_share_text(doc);
    i64 limit = source_cache_lists(owned_view(doc->path)) ? analysis_text_limit : unlisted_analysis_limit;
    bool has_text = document_length(doc) < limit;
    doc->lexical_only = has_text ? 0 : 1;
    analysis_post_request(owned_view(doc->path), has_text, doc->kind);
}
}  // namespace

void recolour_document(Document* doc) {
    if (document_length(doc) == 0) return;
    int language = language_of_file_kind(doc->kind);
    // Entry fields and other documents of no kind are neither coloured nor analysed.
    if (language < 0) return;
    doc->palette = language == language_plain ? syntax.rainbow_view : palette_of_language(language);
    lex_rows_on_screen(doc, language);
    request_analysis(doc);
}

void recolour_on_screen(Document* doc) {
    int language = language_of_file_kind(doc->kind);
    if (language < 0 || document_length(doc) == 0) return;
    if (doc->analysis_outdated) {
        doc->analysis_outdated = 0;
        // Once per state: a text the analysis cannot see as it is must not loop.
        if (doc->analysis_reasked_state != doc->state_id) {
            doc->analysis_reasked_state = doc->state_id;
            request_analysis(doc);
        }
    }
    if (!doc->lexical_only) return;
    ByteRange range = visible_range(doc);
    if (range.start != doc->lexed.start || range.end != doc->lexed.end) lex_rows_on_screen(doc, language);
}
