#pragma once
// Editing from the keyboard: typed text, Enter and Tab, Backspace and Delete, block
// indentation, and the snapshot-based undo history.
#include "core/text_match.h"  // is_word_char
#include "editor/document.h"

void handle_keys(Document* doc);
void undo_checkpoint(Document* doc, u8 kind);
void restore_snapshot(Document* doc);
void undo(Document* doc);
void redo(Document* doc);
void delete_selection(Document* doc);
void insert_byte(Document* doc, u8 byte, u8 colour);
// Inserts many bytes at the cursor with one colour; false (and nothing changes) when the
// document cannot grow that far.
bool insert_bytes(Document* doc, StringView bytes, u8 colour);
void finish_edit(Document* doc);
// The colour that typed text starting with `first` takes at the cursor.
u8 typed_text_colour(const Document* doc, u8 first);
// Whether the document may grow to `new_length` bytes without exhausting its arena;
// shows "document too large" and returns false otherwise.
bool document_can_grow(Document* doc, i64 new_length);

// The steps of the key handling that change text; each returns true when it counts as
// a change (finish_edit follows).
// Typed text at the cursor: undo grouping, colour, auto-indent after a newline.
bool insert_typed_text(Document* doc, StringView typed);
// Backspace and Delete, by character or (with `by_word`) by word.
void delete_backward(Document* doc, bool by_word);
void delete_forward(Document* doc, bool by_word);
