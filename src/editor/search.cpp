#include "editor/search.h"

#include "core/text_match.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/motion.h"
#include "editor/text_change.h"
#include "editor/view.h"


namespace {
MatchOptions options() { return MatchOptions{editor.search.match_case, editor.search.whole_word}; }

void select_match(Document* doc, i64 start, i64 end) {
    doc->anchor = (i32)start;
    doc->cursor = (i32)end;
    scroll_to_cursor_centred(doc);
}
}  // namespace

bool on_word_boundaries(const Document* doc, i64 s, i64 e) {
    return on_word_edges([doc](i64 i) { return document_byte(doc, i); }, document_length(doc), s, e);
}

bool matches_at(const Document* doc, i64 start, i64 end) {
    StringView needle = owned_view(editor.search.search_text);
    if (start < 0 || end > document_length(doc) || end - start != needle.length) return false;
    const u8* text = (const u8*)document_range(doc, start, end).data;
    if (!bytes_same(text, (const u8*)needle.data, needle.length, editor.search.match_case)) return false;
    return !editor.search.whole_word || on_word_boundaries(doc, start, end);
}

void find_next(Document* doc, i64 from) {
    close_completion(doc);
    i64 n = editor.search.search_text.length;
    i64 length = document_length(doc);
    i64 start = from < 0 ? 0 : from;
    for (i64 tests = length - n + 1; tests > 0; tests--) {
        if (start + n > length) start = 0;
        if (matches_at(doc, start, start + n)) {
            select_match(doc, start, start + n);
            return;
        }
        start++;
    }
}

void find_previous(Document* doc) {
    close_completion(doc);
    i64 n = editor.search.search_text.length;
    i64 length = document_length(doc);
    if (n > length) return;
    i64 end = doc->anchor;
    if (end > length) end = length;
    for (i64 tests = length - n + 1; tests > 0; tests--) {
        i64 start = end - n;
        if (start < 0) {
            end = length;
            start = length - n;
        }
        if (matches_at(doc, start, end)) {
            select_match(doc, start, end);
            return;
        }
        end--;
    }
}

bool selection_is_match(const Document* doc) {
    i64 s = doc->anchor < doc->cursor ? doc->anchor : doc->cursor;
    i64 e = doc->anchor < doc->cursor ? doc->cursor : doc->anchor;
    return e > s && matches_at(doc, s, e);
}

MatchCount count_matches(Document* doc, StringView needle, i64 before) {
    MatchCount c{};
    i64 length = document_length(doc);
    if (needle.length <= 0 || needle.length > length) return c;
    // One contiguous view of the text (moves the gap once).
    const u8* text = (const u8*)document_range(doc, 0, length).data;
    for (i64 i = find_match(text, length, 0, needle, options()); i >= 0;
         i = find_match(text, length, i + needle.length, needle, options())) {
        if (i < before) c.before++;
        c.total++;
    }
    return c;
}

StringView search_text_at_caret(const Document* doc) {
    i64 s = doc->anchor < doc->cursor ? doc->anchor : doc->cursor;
    i64 e = doc->anchor < doc->cursor ? doc->cursor : doc->anchor;
    if (e > s) {
        for (i64 i = s; i < e; i++)
            if (document_byte(doc, i) == '\n') return StringView{nullptr, 0};
        return document_range(doc, s, e);
    }
    i64 start = word_start(doc, doc->cursor, true), end = word_end(doc, doc->cursor, true);
    if (end <= start) return StringView{nullptr, 0};
    return document_range(doc, start, end);
}

i64 replace_all(Document* doc) {
    StringView needle = owned_view(editor.search.search_text);
    StringView replacement = owned_view(editor.search.replace_text);
    MatchCount c = count_matches(doc, needle, 0);
    if (c.total == 0) return 0;
    if (!document_can_grow(doc, document_length(doc) + c.total * (replacement.length - needle.length) + 1)) return 0;
    undo_checkpoint(doc, edit_structural);
    // From the end backwards, so that the positions still to visit do not move.
    i64 replaced = 0;
    for (i64 start = document_length(doc) - needle.length; start >= 0;) {
        if (matches_at(doc, start, start + needle.length)) {
            text_remove(doc, start, needle.length);
            text_insert(doc, start, replacement, 0);
            replaced++;
            start -= needle.length;
        } else {
            start--;
        }
    }
    doc->cursor = doc->anchor = doc->cursor > document_length(doc) ? (i32)document_length(doc) : doc->cursor;
    finish_edit(doc);
    return replaced;
}

void replace_selection(Document* doc) {
    // Only a selected match is replaced: anything else would put the text at the caret.
    if (!selection_is_match(doc)) return;
    StringView replacement = owned_view(editor.search.replace_text);
    i64 selected = doc->cursor > doc->anchor ? doc->cursor - doc->anchor : doc->anchor - doc->cursor;
    if (!document_can_grow(doc, document_length(doc) - selected + replacement.length)) return;
    undo_checkpoint(doc, edit_structural);
    delete_selection(doc);
    insert_bytes(doc, replacement, 0);
    finish_edit(doc);
}
