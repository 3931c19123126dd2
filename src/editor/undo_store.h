#pragma once
// Undo snapshots of every document live in one store of fixed-size chunks taken from
// pool_main up to a byte budget. Dropped snapshots give their chunks back for reuse, so
// editing for days keeps the store bounded; when the budget is reached the oldest
// snapshot of any document is dropped first.
#include "editor/document.h"

constexpr i64 undo_chunk_size = 64 * 1024;
constexpr i64 undo_budget_bytes = (i64)256 << 20;

// Stores text + colours of `doc` as a new snapshot appended to doc->undo_snapshots;
// returns false when even an empty store cannot hold it.
bool undo_store_push(Document* doc, i32 cursor);
// Copies snapshot `index` of `doc` into its text and colours.
void undo_store_read(Document* doc, i64 index);
// Drops the oldest snapshot of `doc` (its chunks return to the free list).
void undo_store_drop_oldest(Document* doc);
// Drops the snapshots after `keep` (the redo tail).
void undo_store_truncate(Document* doc, i64 keep);
// Drops every snapshot of `doc`.
void undo_store_clear(Document* doc);
i64 undo_store_chunks_in_use();
i64 undo_store_chunks_allocated();
