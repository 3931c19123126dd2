// The snapshot history: when to take a snapshot, and stepping back and forth.
#include "editor/edit.h"
#include "editor/undo_store.h"
#include "editor/recolour.h"

namespace {
i64 distance(i64 a, i64 b) { return a > b ? a - b : b - a; }

void take_snapshot(Document* doc, u8 kind) {
    if (doc->undo_index >= doc->undo_limit) undo_store_drop_oldest(doc);
    undo_store_truncate(doc, doc->undo_index + 1);
    undo_store_push(doc, doc->cursor);
    doc->undo_index++;
    doc->last_edit_kind = kind;
}
}  // namespace

void undo_checkpoint(Document* doc, u8 kind) {
    bool character_edit = kind == edit_word_char || kind == edit_other_char || kind == edit_delete_char;
    if (character_edit && kind == doc->last_edit_kind) {
        // A run of like edits near one place forms one undo step.
        if (distance(doc->last_edit_pos, doc->cursor) < 9) {
            doc->last_edit_kind = kind;
            return;
        }
        doc->last_edit_kind = edit_structural;
        take_snapshot(doc, kind);
        return;
    }
    // After an undo or redo the present text equals a stored snapshot, so it needs none;
    // an edit made there starts a new branch, and the old redo steps would bring back
    // text that no longer follows from it, dropping what is typed now.
    if (doc->last_edit_kind == edit_undo) {
        if (kind != edit_undo) undo_store_truncate(doc, doc->undo_index + 1);
        doc->last_edit_kind = kind;
        return;
    }
    if (kind == doc->last_edit_kind && kind != edit_structural) {
        doc->last_edit_kind = kind;
        return;
    }
    take_snapshot(doc, kind);
}

void restore_snapshot(Document* doc) {
    if (doc->undo_index < 0 || doc->undo_index >= doc->undo_snapshots.count) return;
    undo_store_apply(doc, doc->undo_index);
    i32 cursor = doc->undo_snapshots[doc->undo_index].cursor;
    doc->state_id = doc->undo_snapshots[doc->undo_index].state_id;
    document_update_dirty(doc);
    i64 length = document_length(doc);
    doc->cursor = doc->anchor = cursor < length ? cursor : (i32)length;
    recolour_document(doc);
}

void undo(Document* doc) {
    undo_checkpoint(doc, edit_undo);
    if (doc->undo_index < 1) return;
    doc->undo_index--;
    restore_snapshot(doc);
}

void redo(Document* doc) {
    if (doc->undo_index + 1 >= doc->undo_snapshots.count) return;
    doc->undo_index++;
    restore_snapshot(doc);
    doc->last_edit_kind = edit_undo;
}
