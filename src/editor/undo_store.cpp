#include "editor/undo_store.h"

#include "editor/editor_state.h"
#include "editor/text_change.h"
#include "memory/arena.h"

namespace {
i64 ops_end(const Document* doc) { return doc->undo_ops_base + doc->undo_ops.count; }
UndoOp& op_at(Document* doc, i64 index) { return doc->undo_ops[index - doc->undo_ops_base]; }

// ---- The byte stream: chunks of undo_chunk_bytes text bytes, then as many colours ----
i64 first_chunk(const Document* doc) { return doc->undo_bytes_base / undo_chunk_bytes; }

void give_back_chunk(u8* chunk) { array_append(&editor.undo_chunks.free, chunk); }

// A chunk from those no history holds, else a new one while pool_main keeps its margin.
u8* take_chunk() {
    UndoChunkPool* pool = &editor.undo_chunks;
    if (pool->free.count > 0) return pool->free[--pool->free.count];
    if (pool_available(pool_main) - document_memory_margin < 2 * undo_chunk_bytes + 4096) return nullptr;
    // The free list has room for every chunk made, so giving one back never allocates.
    pool->free.pool = pool_main;
    array_reserve(&pool->free, pool->made + 1);
    pool->made++;
    return (u8*)pool_alloc(pool_main, 2 * undo_chunk_bytes);
}

// Chunks the stream needs to reach absolute offset `end`, beyond those it has.
i64 chunks_missing(const Document* doc, i64 end) {
    i64 wanted = end > doc->undo_bytes_base ? (end - 1) / undo_chunk_bytes - first_chunk(doc) + 1 : 0;
    i64 missing = wanted - doc->undo_chunks.count;
    return missing > 0 ? missing : 0;
}

// Whether `n` more chunks can be had without touching another document's history.
bool chunks_available(i64 n) {
    i64 from_pool = (pool_available(pool_main) - document_memory_margin) / (2 * undo_chunk_bytes + 64);
    return n <= editor.undo_chunks.free.count + (from_pool > 0 ? from_pool : 0);
}

// Appends `n` bytes and their colours (null: none yet, the space is kept) at the end.
bool stream_append(Document* doc, const u8* bytes, const u8* colours, i64 n) {
    doc->undo_chunks.pool = pool_main;
    while (n > 0) {
        i64 index = doc->undo_bytes_end / undo_chunk_bytes - first_chunk(doc);
        if (index >= doc->undo_chunks.count) {
            u8* chunk = take_chunk();
            if (!chunk) return false;
            array_append(&doc->undo_chunks, chunk);
        }
        i64 at = doc->undo_bytes_end % undo_chunk_bytes;
        i64 piece = undo_chunk_bytes - at < n ? undo_chunk_bytes - at : n;
        u8* chunk = doc->undo_chunks[index];
        memcpy(chunk + at, bytes, (size_t)piece);
        memcpy(chunk + undo_chunk_bytes + at, colours, (size_t)piece);
        bytes += piece;
        colours += piece;
        doc->undo_bytes_end += piece;
        n -= piece;
    }
    return true;
}

// The bytes from absolute offset `at` to the end of their chunk (at most `n`).
i64 stream_piece(Document* doc, i64 at, i64 n, const u8** bytes, const u8** colours) {
    u8* chunk = doc->undo_chunks[at / undo_chunk_bytes - first_chunk(doc)];
    i64 offset = at % undo_chunk_bytes;
    *bytes = chunk + offset;
    *colours = chunk + undo_chunk_bytes + offset;
    return undo_chunk_bytes - offset < n ? undo_chunk_bytes - offset : n;
}

// The stream ends at `end`: the chunks after it go back.
void stream_truncate(Document* doc, i64 end) {
    if (end < doc->undo_bytes_base) end = doc->undo_bytes_base;
    i64 keep = end > doc->undo_bytes_base ? (end - 1) / undo_chunk_bytes - first_chunk(doc) + 1 : 0;
    for (i64 i = keep; i < doc->undo_chunks.count; i++) give_back_chunk(doc->undo_chunks[i]);
    if (doc->undo_chunks.count > keep) doc->undo_chunks.count = keep;
    doc->undo_bytes_end = end;
}

// The stream starts at `start`: the chunks wholly before it go back.
void stream_drop_before(Document* doc, i64 start) {
    if (start <= doc->undo_bytes_base) return;
    if (start > doc->undo_bytes_end) start = doc->undo_bytes_end;
    i64 gone = start / undo_chunk_bytes - first_chunk(doc);
    if (gone > doc->undo_chunks.count) gone = doc->undo_chunks.count;
    for (i64 i = 0; i < gone; i++) give_back_chunk(doc->undo_chunks[i]);
    Array<u8*>* chunks = &doc->undo_chunks;
    memmove((void*)chunks->data, chunks->data + gone, (size_t)(chunks->count - gone) * sizeof(u8*));
    chunks->count -= gone;
    doc->undo_bytes_base = start;
}

// Forgets the changes from absolute index `from` on (a redo part no edit can reach).
void drop_ops_from(Document* doc, i64 from) {
    if (from >= ops_end(doc)) return;
    if (from < doc->undo_ops_base) from = doc->undo_ops_base;
    stream_truncate(doc, op_at(doc, from).data);
    doc->undo_ops.count = from - doc->undo_ops_base;
    if (doc->undo_applied > from) doc->undo_applied = from;
}

// Forgets the changes before absolute index `first` and their bytes.
void drop_ops_before(Document* doc, i64 first) {
    if (first <= doc->undo_ops_base) return;
    if (first > ops_end(doc)) first = ops_end(doc);
    i64 n = first - doc->undo_ops_base;
    i64 first_byte = n < doc->undo_ops.count ? op_at(doc, first).data : doc->undo_bytes_end;
    Array<UndoOp>* ops = &doc->undo_ops;
    memmove((void*)ops->data, ops->data + n, (size_t)(ops->count - n) * sizeof(UndoOp));
    ops->count -= n;
    doc->undo_ops_base = first;
    stream_drop_before(doc, first_byte);
}

// Applies the bytes of a change chunk by chunk: `from` is where they start in the stream.
void insert_from_stream(Document* doc, i64 pos, i64 from, i64 n) {
    while (n > 0) {
        const u8* bytes = nullptr;
        const u8* colours = nullptr;
        i64 piece = stream_piece(doc, from, n, &bytes, &colours);
        text_insert_coloured(doc, pos, StringView{(const char*)bytes, piece}, colours);
        pos += piece;
        from += piece;
        n -= piece;
    }
}

// The last change grows instead of a new one being logged: typing at one place makes one
// change per undo step, not one per key.
bool extends_last(Document* doc, i64 pos, StringView removed) {
    if (removed.length != 0 || doc->undo_ops.count == 0 || doc->undo_applied != ops_end(doc)) return false;
    UndoOp& last = op_at(doc, ops_end(doc) - 1);
    // Only within the step: a snapshot taken after it marks a boundary.
    i64 step_start = doc->undo_snapshots.count ? doc->undo_snapshots[doc->undo_snapshots.count - 1].op : 0;
    if (ops_end(doc) - 1 < step_start || last.removed != 0 || last.pos + last.inserted != pos) return false;
    return last.data + last.inserted == doc->undo_bytes_end;
}

void forget_history(Document* doc) {
    undo_store_clear(doc);
    doc->undo_index = -1;
    doc->history_trimmed = 1;
}
}  // namespace

void undo_log_change(Document* doc, i64 pos, StringView removed, StringView removed_colours, StringView inserted,
                     StringView inserted_colours) {
    if (doc->undo_replaying) return;
    if (removed.length <= 0 && inserted.length <= 0) return;
    doc->undo_ops.pool = pool_main;
    // An edit after an undo starts a new branch: the redo part goes, its snapshots too
    // (whatever the caller did about step boundaries, redo must never claim a text that
    // no longer follows from this one).
    undo_store_truncate(doc, doc->undo_index + 1);
    drop_ops_from(doc, doc->undo_applied);
    // Room comes from this document's own oldest steps, never from another's.
    i64 added = removed.length + inserted.length;
    while (!chunks_available(chunks_missing(doc, doc->undo_bytes_end + added)) && doc->undo_snapshots.count > 0)
        undo_store_drop_oldest(doc);
    if (!chunks_available(chunks_missing(doc, doc->undo_bytes_end + added))) {
        forget_history(doc);
        return;
    }
    bool extend = extends_last(doc, pos, removed);
    UndoOp op{pos, removed.length, inserted.length, doc->undo_bytes_end};
    if (!stream_append(doc, (const u8*)removed.data, (const u8*)removed_colours.data, removed.length) ||
        !stream_append(doc, (const u8*)inserted.data, (const u8*)inserted_colours.data, inserted.length)) {
        forget_history(doc);
        return;
    }
    if (extend) {
        op_at(doc, ops_end(doc) - 1).inserted += inserted.length;
        return;
    }
    array_append(&doc->undo_ops, op);
    doc->undo_applied = ops_end(doc);
}

void undo_store_push(Document* doc, i32 cursor) {
    doc->undo_snapshots.pool = pool_main;
    // Changes made before the first snapshot can never be undone.
    if (doc->undo_snapshots.count == 0) drop_ops_before(doc, doc->undo_applied);
    array_append(&doc->undo_snapshots, UndoSnapshot{doc->undo_applied, cursor, doc->state_id});
}

void undo_store_apply(Document* doc, i64 index) {
    if (index < 0 || index >= doc->undo_snapshots.count) return;
    i64 target = doc->undo_snapshots[index].op;
    if (target < doc->undo_ops_base || target > ops_end(doc)) return;
    doc->undo_replaying = 1;
    while (doc->undo_applied > target) {
        UndoOp op = op_at(doc, doc->undo_applied - 1);
        text_remove(doc, op.pos, op.inserted);
        insert_from_stream(doc, op.pos, op.data, op.removed);
        doc->undo_applied--;
    }
    while (doc->undo_applied < target) {
        UndoOp op = op_at(doc, doc->undo_applied);
        text_remove(doc, op.pos, op.removed);
        insert_from_stream(doc, op.pos, op.data + op.removed, op.inserted);
        doc->undo_applied++;
    }
    doc->undo_replaying = 0;
}

void undo_store_drop_oldest(Document* doc) {
    Array<UndoSnapshot>* snapshots = &doc->undo_snapshots;
    if (snapshots->count == 0) return;
    array_remove_first(snapshots);
    if (doc->undo_index >= 0) doc->undo_index--;
    doc->history_trimmed = 1;
    if (snapshots->count == 0) {
        drop_ops_before(doc, ops_end(doc));
        return;
    }
    i64 first = (*snapshots)[0].op;
    if (first > doc->undo_applied) first = doc->undo_applied;
    drop_ops_before(doc, first);
}

void undo_store_truncate(Document* doc, i64 keep) {
    if (keep < 0) keep = 0;
    if (doc->undo_snapshots.count > keep) doc->undo_snapshots.count = keep;
}

void undo_store_clear(Document* doc) {
    for (i64 i = 0; i < doc->undo_chunks.count; i++) give_back_chunk(doc->undo_chunks[i]);
    doc->undo_chunks.count = 0;
    doc->undo_snapshots.count = 0;
    doc->undo_ops.count = 0;
    doc->undo_ops_base = 0;
    doc->undo_bytes_base = 0;
    doc->undo_bytes_end = 0;
    doc->undo_applied = 0;
    doc->undo_replaying = 0;
}

i64 undo_store_bytes(const Document* doc) {
    return doc->undo_chunks.count * 2 * undo_chunk_bytes + doc->undo_ops.count * (i64)sizeof(UndoOp) +
           doc->undo_snapshots.count * (i64)sizeof(UndoSnapshot);
}

i64 undo_chunks_made() { return editor.undo_chunks.made; }
i64 undo_chunks_free() { return editor.undo_chunks.free.count; }
