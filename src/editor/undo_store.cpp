#include "editor/undo_store.h"

#include "editor/text_change.h"
#include "memory/arena.h"

namespace {
constexpr i64 budget_chunks = undo_budget_bytes / undo_chunk_size;

struct ChunkStore {
    Array<u8*> chunks;        // storage of each chunk, by index
    Array<i32> next;          // next chunk of a snapshot's chain; -1 ends it
    i32 free_head;            // first free chunk; -1 when none
    i64 in_use;
    u64 sequence;             // age stamp of the newest snapshot
    Array<Document*> owners;  // documents that hold at least one snapshot
};

ChunkStore store{{nullptr, 0, 0, pool_main}, {nullptr, 0, 0, pool_main}, -1, 0, 0, {nullptr, 0, 0, pool_main}};

i32 take_chunk() {
    if (store.free_head >= 0) {
        i32 c = store.free_head;
        store.free_head = store.next[c];
        store.next[c] = -1;
        store.in_use++;
        return c;
    }
    if (store.chunks.count >= budget_chunks) return -1;
    // A new chunk never takes the arena below the documents' safety margin; the tables
    // beside it grow by doubling, so leave room for that too.
    i64 table_room = (store.chunks.capacity + 1) * 2 * (i64)(sizeof(u8*) + sizeof(i32));
    if (pool_available(pool_main) < undo_chunk_size + table_room + document_memory_margin) return -1;
    u8* data = (u8*)pool_alloc(pool_main, undo_chunk_size);
    array_append(&store.chunks, data);
    array_append(&store.next, (i32)-1);
    store.in_use++;
    return (i32)(store.chunks.count - 1);
}

void release_chain(i64 first) {
    while (first >= 0) {
        i32 following = store.next[first];
        store.next[first] = store.free_head;
        store.free_head = (i32)first;
        store.in_use--;
        first = following;
    }
}

void forget_owner(Document* doc) {
    for (i64 i = 0; i < store.owners.count; i++) {
        if (store.owners[i] != doc) continue;
        store.owners[i] = store.owners[store.owners.count - 1];
        store.owners.count--;
        return;
    }
}

void note_owner(Document* doc) {
    for (Document* d : store.owners)
        if (d == doc) return;
    array_append(&store.owners, doc);
}

// The document whose first snapshot is the oldest of all; null when none holds any.
Document* oldest_owner() {
    Document* oldest = nullptr;
    for (Document* d : store.owners) {
        if (d->undo_snapshots.count == 0) continue;
        if (!oldest || d->undo_snapshots[0].sequence < oldest->undo_snapshots[0].sequence) oldest = d;
    }
    return oldest;
}

// Copies `length` bytes into the chain from byte `offset` of the snapshot on.
void write_chain(i64 first, i64 offset, const u8* bytes, i64 length) {
    i64 chunk = first;
    while (offset >= undo_chunk_size) {
        chunk = store.next[chunk];
        offset -= undo_chunk_size;
    }
    while (length > 0) {
        i64 n = undo_chunk_size - offset;
        if (n > length) n = length;
        memcpy(store.chunks[chunk] + offset, bytes, (size_t)n);
        bytes += n;
        length -= n;
        offset = 0;
        chunk = store.next[chunk];
    }
}

void read_chain(i64 first, i64 offset, u8* bytes, i64 length) {
    i64 chunk = first;
    while (offset >= undo_chunk_size) {
        chunk = store.next[chunk];
        offset -= undo_chunk_size;
    }
    while (length > 0) {
        i64 n = undo_chunk_size - offset;
        if (n > length) n = length;
        memcpy(bytes, store.chunks[chunk] + offset, (size_t)n);
        bytes += n;
        length -= n;
        offset = 0;
        chunk = store.next[chunk];
    }
}
}  // namespace

bool undo_store_push(Document* doc, i32 cursor) {
    i64 length = doc->text.count;
    i64 size = 2 * length;
    if (size > undo_budget_bytes) {
        undo_store_clear(doc);
        doc->undo_index = -1;
        doc->history_trimmed = 1;
        return false;
    }
    i64 needed = (size + undo_chunk_size - 1) / undo_chunk_size;
    i64 first = -1, last = -1;
    for (i64 taken = 0; taken < needed;) {
        i32 c = take_chunk();
        if (c < 0) {
            Document* victim = oldest_owner();
            if (victim) {
                undo_store_drop_oldest(victim);
                continue;
            }
            // Not even an empty store holds it (the arena is nearly full).
            release_chain(first);
            undo_store_clear(doc);
            doc->undo_index = -1;
            doc->history_trimmed = 1;
            return false;
        }
        if (last >= 0) store.next[last] = c;
        else first = c;
        last = c;
        taken++;
    }
    if (length > 0) {
        write_chain(first, 0, doc->text.data, length);
        write_chain(first, length, doc->colours.data, length);
    }
    doc->undo_snapshots.pool = pool_main;
    array_append(&doc->undo_snapshots, UndoSnapshot{first, size, cursor, ++store.sequence, doc->state_id});
    note_owner(doc);
    return true;
}

void undo_store_read(Document* doc, i64 index) {
    if (index < 0 || index >= doc->undo_snapshots.count) return;
    const UndoSnapshot& s = doc->undo_snapshots[index];
    i64 length = s.size / 2;
    // The snapshot was this document's text once, so the storage already holds it.
    array_resize(&doc->text, length);
    array_resize(&doc->colours, length);
    if (length == 0) return;
    read_chain(s.first_chunk, 0, doc->text.data, length);
    read_chain(s.first_chunk, length, doc->colours.data, length);
}

void undo_store_drop_oldest(Document* doc) {
    if (doc->undo_snapshots.count == 0) return;
    release_chain(doc->undo_snapshots[0].first_chunk);
    array_remove_first(&doc->undo_snapshots);
    if (doc->undo_index >= 0) doc->undo_index--;
    doc->history_trimmed = 1;
    if (doc->undo_snapshots.count == 0) forget_owner(doc);
}

void undo_store_truncate(Document* doc, i64 keep) {
    if (keep < 0) keep = 0;
    while (doc->undo_snapshots.count > keep) {
        release_chain(doc->undo_snapshots[doc->undo_snapshots.count - 1].first_chunk);
        doc->undo_snapshots.count--;
    }
    if (doc->undo_snapshots.count == 0) forget_owner(doc);
}

void undo_store_clear(Document* doc) { undo_store_truncate(doc, 0); }

i64 undo_store_chunks_in_use() { return store.in_use; }
i64 undo_store_chunks_allocated() { return store.chunks.count; }
