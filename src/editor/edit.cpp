#include "editor/edit.h"

#include "editor/indent.h"

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
    // A newline brings the line's indentation with it (measured once the selection is gone).
    char indentation[256];
    if (!document_can_grow(doc, document_length(doc) - selected + typed.length + (newline ? 2 * 256 + 1 : 0))) return false;

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
    i64 indent = newline ? newline_indentation(doc, doc->cursor, indentation, (i64)sizeof indentation) : 0;
    if (!is_word_char(first)) close_completion(doc);
    if (typed.length == 1 && first == '}') outdent_for_closing_brace(doc);
    doc->last_typed = first;
    doc->last_edit_pos = doc->cursor;
    doc->cursor += (i32)text_insert(doc, doc->cursor, typed, colour);
    if (newline) {
        doc->cursor += (i32)text_insert(doc, doc->cursor, StringView{indentation, indent}, 0);
        // Enter between "{" and "}": the brace goes to a line of its own at the outer level.
        i64 base = leading_blanks(doc, doc->cursor - indent - 1);
        i64 after = doc->cursor;
        while (after < document_length(doc) && (document_byte(doc, after) == ' ' || document_byte(doc, after) == '\t')) after++;
        if (indent > base && after < document_length(doc) && document_byte(doc, after) == '}') {
            if (after > doc->cursor) text_remove(doc, doc->cursor, after - doc->cursor);
            text_insert(doc, doc->cursor, SV("\n"), 0);
            text_insert(doc, doc->cursor + 1, StringView{indentation, base}, 0);
        }
    }
    doc->anchor = doc->cursor;
    return true;
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
