#pragma once
// The undo history of a document is a log of its changes (each the bytes removed and the
// bytes inserted at one place, with their colour bytes) and a list of snapshots, each a
// point in that log. Going back to a snapshot undoes the changes after it; going forward
// does them again. The history holds what was edited, not copies of the text, so a large
// document keeps all its steps and one document's history never touches another's.
#include "editor/document.h"

// A chunk holds this many bytes of a history's stream and as many colour bytes after them.
constexpr i64 undo_chunk_bytes = (i64)64 << 10;

// Records a change the text has just had (called by text_insert and text_remove): at
// `pos`, `removed` went and `inserted` came, each with its colours. Nothing is recorded
// while undo or redo replays the log. A change made after an undo ends the redo part.
// When memory is short the oldest steps go; without any room the history is cleared.
void undo_log_change(Document* doc, i64 pos, StringView removed, StringView removed_colours, StringView inserted,
                     StringView inserted_colours);
// A new snapshot at the present point of the log (see undo_checkpoint).
void undo_store_push(Document* doc, i32 cursor);
// Brings the text to snapshot `index` by undoing or redoing the changes in between.
void undo_store_apply(Document* doc, i64 index);
// Drops the oldest snapshot of `doc` and the changes before the next one.
void undo_store_drop_oldest(Document* doc);
// Drops the snapshots after `keep` (the redo tail).
void undo_store_truncate(Document* doc, i64 keep);
// Drops the whole history.
void undo_store_clear(Document* doc);
// Bytes the history of `doc` holds (its chunks, change records and snapshots).
i64 undo_store_bytes(const Document* doc);
// Chunks made for all histories, and those no history holds now.
i64 undo_chunks_made();
i64 undo_chunks_free();
