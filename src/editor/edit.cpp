#include "editor/edit.h"

#include "editor/completion.h"
#include "editor/line_table.h"
#include "editor/motion.h"
#include "editor/text_change.h"
#include "editor/recolour.h"

namespace {
bool is_continuation(u8 c) { return c >= 0x80 && c <= 0xBF; }

void set_cursor(Document* doc, i64 pos) { doc->cursor = (i32)pos; }

// Removes [start, end) and closes the completion list when a non-word byte goes.
void remove_characters(Document* doc, i64 start, i64 end) {
    for (i64 i = start; i < end; i++) {
        if (!is_word_char(document_byte(doc, i))) {
            close_completion(doc);
            break;
        }
    }
    text_remove(doc, start, end - start);
}

i64 leading_tabs(const Document* doc, i64 pos) {
    i64 start = 0;
    locate_row(doc, pos, &start);
    i64 n = 0;
    while (start + n < document_length(doc) && document_byte(doc, start + n) == '\t') n++;
    return n;
}
}  // namespace

void delete_selection(Document* doc) {
    if (doc->cursor == doc->anchor) return;
    if (doc->anchor > doc->cursor) {
        i32 t = doc->anchor;
        doc->anchor = doc->cursor;
        doc->cursor = t;
    }
    text_remove(doc, doc->anchor, (i64)doc->cursor - doc->anchor);
    doc->cursor = doc->anchor;
}

void insert_byte(Document* doc, u8 byte, u8 colour) {
    char c = (char)byte;
    i64 added = text_insert(doc, doc->cursor, StringView{&c, 1}, colour);
    doc->cursor += (i32)added;
}

bool insert_bytes(Document* doc, StringView bytes, u8 colour) {
    if (bytes.length <= 0) return true;
    if (!document_can_grow(doc, document_length(doc) + bytes.length)) return false;
    i64 added = text_insert(doc, doc->cursor, bytes, colour);
    doc->cursor += (i32)added;
    doc->anchor = doc->cursor;
    return true;
}

void finish_edit(Document* doc) {
    document_mark_changed(doc);
    if (doc->completion_open) filter_candidates(doc);
    keep_final_newline(doc);
    recolour_document(doc);
}

u8 typed_text_colour(const Document* doc, u8 first) {
    bool word = is_word_char(first);
    i64 c = doc->cursor;
    u8 colour = 0;
    if (c >= 0 && c < document_length(doc) && is_word_char(document_byte(doc, c)) == word) colour = document_colour(doc, c);
    if (c >= 1 && c - 1 < document_length(doc) && is_word_char(document_byte(doc, c - 1)) == word)
        colour = document_colour(doc, c - 1);
    return colour;
}

bool insert_typed_text(Document* doc, StringView typed) {
    if (typed.length <= 0) return false;
    u8 first = (u8)typed.data[0];
    bool newline = typed.length == 1 && first == '\n';
    i64 selected = doc->cursor > doc->anchor ? doc->cursor - doc->anchor : doc->anchor - doc->cursor;
    // A newline may bring the line's indentation with it.
    i64 extra = newline ? leading_tabs(doc, doc->cursor < doc->anchor ? doc->cursor : doc->anchor) : 0;
    if (!document_can_grow(doc, document_length(doc) - selected + typed.length + extra)) return false;

    if (!newline) undo_checkpoint(doc, is_word_char(first) ? edit_word_char : edit_other_char);
    delete_selection(doc);
    u8 colour = typed_text_colour(doc, first);
    if (newline && doc->completion_open) {
        // Enter takes a candidate only when one is shown; with none it ends the line.
        if (doc->completion_selected >= 0 && doc->completion_selected < doc->completion.count) {
            accept_completion(doc);
            return true;
        }
        close_completion(doc);
    }
    i64 tabs = newline ? leading_tabs(doc, doc->cursor) : 0;
    if (!is_word_char(first)) close_completion(doc);
    doc->last_typed = first;
    doc->last_edit_pos = doc->cursor;
    doc->cursor += (i32)text_insert(doc, doc->cursor, typed, colour);
    if (newline) {
        for (i64 i = 0; i < tabs; i++) insert_byte(doc, '\t', 0);
    }
    doc->anchor = doc->cursor;
    return true;
}

void indent_block(Document* doc, bool outdent) {
    undo_checkpoint(doc, edit_structural);
    bool cursor_larger = doc->cursor >= doc->anchor;
    bool collapsed = doc->cursor == doc->anchor;
    i64 low = cursor_larger ? doc->anchor : doc->cursor;
    i64 high = cursor_larger ? doc->cursor : doc->anchor;
    if (!outdent && !document_can_grow(doc, document_length(doc) + (high - low) + 1)) return;
    auto move_high = [&](i64 delta) {
        high += delta;
        if (cursor_larger || collapsed) doc->cursor = (i32)high;
        if (!cursor_larger || collapsed) doc->anchor = (i32)high;
    };
    i64 start = 0;
    i64 row = locate_row(doc, low, &start);
    while (start < high && start < document_length(doc)) {
        if (!outdent) {
            if (text_insert(doc, start, SV("\t"), 0) == 0) break;
            move_high(1);
        } else if (document_byte(doc, start) == '\t') {
            text_remove(doc, start, 1);
            move_high(-1);
        }
        if (row + 1 >= line_count(doc)) break;
        start += line_length(doc, row);
        row++;
    }
}

void delete_backward(Document* doc, bool by_word) {
    doc->last_typed = 0;
    if (doc->cursor != doc->anchor) {
        undo_checkpoint(doc, edit_structural);
        delete_selection(doc);
    } else {
        undo_checkpoint(doc, by_word ? edit_structural : edit_delete_char);
        if (doc->cursor >= 1 && doc->cursor <= document_length(doc)) {
            i64 target = doc->cursor - 1;
            while (target > 0 && is_continuation(document_byte(doc, target))) target--;
            if (by_word) target = word_start(doc, (i32)target, false);
            remove_characters(doc, target, doc->cursor);
            set_cursor(doc, target);
            doc->anchor = doc->cursor;
        }
    }
    doc->last_edit_pos = doc->cursor;
}

void delete_forward(Document* doc, bool by_word) {
    if (doc->cursor != doc->anchor) {
        undo_checkpoint(doc, edit_structural);
        delete_selection(doc);
    } else {
        undo_checkpoint(doc, by_word ? edit_structural : edit_delete_char);
        i64 length = document_length(doc);
        i64 c = doc->cursor;
        if (c < length) {
            i64 end = c + 1;
            if (by_word) end = word_end(doc, (i32)c, false);
            else
                while (end < length && is_continuation(document_byte(doc, end))) end++;
            if (end <= c) end = c + 1;
            remove_characters(doc, c, end);
        }
    }
    doc->last_edit_pos = doc->cursor;
}
