#include "editor/search.h"

#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/motion.h"
#include "editor/view.h"


namespace {
u8 fold(u8 c) { return (c >= 'A' && c <= 'Z') ? (u8)(c + ('a' - 'A')) : c; }

void select_match(Document* doc, i64 start, i64 end) {
    doc->anchor = (i32)start;
    doc->cursor = (i32)end;
    scroll_to_cursor_centred(doc);
}
}  // namespace

bool on_word_boundaries(const Document* doc, i64 s, i64 e) {
    i64 length = document_length(doc);
    auto word = [doc](i64 i) { return is_word_char(document_byte(doc, i)); };
    if (s < 0 || e <= s || s >= length) return false;
    bool start_ok = s == 0 ? word(0) : word(s - 1) != word(s);
    bool end_ok = e < length && word(e - 1) != word(e);
    return start_ok && end_ok;
}

bool matches_at(const Document* doc, i64 start, i64 end) {
    StringView needle = owned_view(editor.search.search_text);
    if (start < 0 || end > document_length(doc) || end - start != needle.length) return false;
    const u8* text = (const u8*)document_range(doc, start, end).data;
    const u8* wanted = (const u8*)needle.data;
    if (editor.search.match_case) {
        if (needle.length > 0 && memcmp(text, wanted, (size_t)needle.length) != 0) return false;
    } else {
        // Folded byte by byte: no copies of either string.
        for (i64 i = 0; i < needle.length; i++)
            if (fold(text[i]) != fold(wanted[i])) return false;
    }
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

void replace_selection(Document* doc) {
    StringView replacement = owned_view(editor.search.replace_text);
    i64 selected = doc->cursor > doc->anchor ? doc->cursor - doc->anchor : doc->anchor - doc->cursor;
    if (!document_can_grow(doc, document_length(doc) - selected + replacement.length)) return;
    undo_checkpoint(doc, edit_structural);
    delete_selection(doc);
    insert_bytes(doc, replacement, 0);
    finish_edit(doc);
}
