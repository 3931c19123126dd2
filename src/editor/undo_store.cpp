#include "editor/undo_store.h"

#include "editor/text_change.h"
#include "memory/arena.h"

namespace {
i64 ops_end(const Document* doc) { return doc->undo_ops_base + doc->undo_ops.count; }
i64 bytes_end(const Document* doc) { return doc->undo_bytes_base + doc->undo_bytes.count; }
UndoOp& op_at(Document* doc, i64 index) { return doc->undo_ops[index - doc->undo_ops_base]; }

// The bytes of a change: removed then inserted, text bytes in the first half of each
// record's area and colours after them, so that [data, data + removed + inserted) are the
// text bytes and the colours follow.
const u8* op_bytes(Document* doc, const UndoOp& op) { return doc->undo_bytes.data + (op.data - doc->undo_bytes_base); }

// Forgets the changes from absolute index `from` on (a redo part no edit can reach).
void drop_ops_from(Document* doc, i64 from) {
    if (from >= ops_end(doc)) return;
    if (from < doc->undo_ops_base) from = doc->undo_ops_base;
    doc->undo_bytes.count = op_at(doc, from).data - doc->undo_bytes_base;
    doc->undo_ops.count = from - doc->undo_ops_base;
    if (doc->undo_applied > from) doc->undo_applied = from;
}

// Forgets the changes before absolute index `first` and their bytes.
void drop_ops_before(Document* doc, i64 first) {
    if (first <= doc->undo_ops_base) return;
    if (first > ops_end(doc)) first = ops_end(doc);
    i64 n = first - doc->undo_ops_base;
    i64 first_byte = n < doc->undo_ops.count ? op_at(doc, first).data : bytes_end(doc);
    i64 bytes = first_byte - doc->undo_bytes_base;
    Array<UndoOp>* ops = &doc->undo_ops;
    memmove((void*)ops->data, ops->data + n, (size_t)(ops->count - n) * sizeof(UndoOp));
    ops->count -= n;
    doc->undo_ops_base = first;
    Array<u8>* store = &doc->undo_bytes;
    if (bytes > 0) memmove(store->data, store->data + bytes, (size_t)(store->count - bytes));
    store->count -= bytes;
    doc->undo_bytes_base = first_byte;
}

bool room_for(i64 bytes) { return pool_available(pool_main) - document_memory_margin > 2 * bytes + 4096; }

void append(Array<u8>* store, StringView s) {
    if (s.length <= 0) return;
    i64 at = store->count;
    array_resize(store, at + s.length);
    memcpy(store->data + at, s.data, (size_t)s.length);
}

// The last change grows instead of a new one being logged: typing at one place makes one
// change per undo step, not one per key.
bool extends_last(Document* doc, i64 pos, StringView removed, StringView inserted) {
    if (removed.length != 0 || doc->undo_ops.count == 0 || doc->undo_applied != ops_end(doc)) return false;
    UndoOp& last = op_at(doc, ops_end(doc) - 1);
    // Only within the step: a snapshot taken after it marks a boundary.
    i64 step_start = doc->undo_snapshots.count ? doc->undo_snapshots[doc->undo_snapshots.count - 1].op : 0;
    if (ops_end(doc) - 1 < step_start || last.removed != 0 || last.pos + last.inserted != pos) return false;
    // Its colours lie after its bytes at the end of the store: both grow together.
    i64 colours_at = last.data + last.inserted;
    if (colours_at + last.inserted != bytes_end(doc)) return false;
    (void)inserted;
    return true;
}
}  // namespace

void undo_log_change(Document* doc, i64 pos, StringView removed, StringView removed_colours, StringView inserted,
                     StringView inserted_colours) {
    if (doc->undo_replaying) return;
    if (removed.length <= 0 && inserted.length <= 0) return;
    doc->undo_bytes.pool = pool_main;
    doc->undo_ops.pool = pool_main;
    // An edit after an undo starts a new branch: the redo part goes.
    drop_ops_from(doc, doc->undo_applied);
    i64 needed = 2 * (removed.length + inserted.length) + (i64)sizeof(UndoOp);
    while (!room_for(needed + doc->undo_bytes.count) && doc->undo_snapshots.count > 0) undo_store_drop_oldest(doc);
    if (!room_for(needed + doc->undo_bytes.count)) {
        undo_store_clear(doc);
        doc->undo_index = -1;
        doc->history_trimmed = 1;
        return;
    }
    if (extends_last(doc, pos, removed, inserted)) {
        UndoOp& last = op_at(doc, ops_end(doc) - 1);
        // Bytes, then colours: the old colours move up past the new bytes.
        i64 n = inserted.length;
        i64 at = last.data - doc->undo_bytes_base;
        array_resize(&doc->undo_bytes, doc->undo_bytes.count + 2 * n);
        u8* area = doc->undo_bytes.data + at;
        memmove(area + last.inserted + n, area + last.inserted, (size_t)last.inserted);
        memcpy(area + last.inserted, inserted.data, (size_t)n);
        memcpy(area + 2 * last.inserted + n, inserted_colours.data, (size_t)n);
        last.inserted += n;
        return;
    }
    UndoOp op{pos, removed.length, inserted.length, bytes_end(doc)};
    append(&doc->undo_bytes, removed);
    append(&doc->undo_bytes, inserted);
    append(&doc->undo_bytes, removed_colours);
    append(&doc->undo_bytes, inserted_colours);
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
        const u8* bytes = op_bytes(doc, op);
        const u8* colours = bytes + op.removed + op.inserted;
        text_remove(doc, op.pos, op.inserted);
        text_insert_coloured(doc, op.pos, StringView{(const char*)bytes, op.removed}, colours);
        doc->undo_applied--;
    }
    while (doc->undo_applied < target) {
        UndoOp op = op_at(doc, doc->undo_applied);
        const u8* bytes = op_bytes(doc, op);
        const u8* colours = bytes + op.removed + op.inserted;
        text_remove(doc, op.pos, op.removed);
        text_insert_coloured(doc, op.pos, StringView{(const char*)bytes + op.removed, op.inserted},
                             colours + op.removed);
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
    doc->undo_snapshots.count = 0;
    doc->undo_ops.count = 0;
    doc->undo_bytes.count = 0;
    doc->undo_ops_base = 0;
    doc->undo_bytes_base = 0;
    doc->undo_applied = 0;
    doc->undo_replaying = 0;
}

i64 undo_store_bytes(const Document* doc) {
    return doc->undo_bytes.count + doc->undo_ops.count * (i64)sizeof(UndoOp) +
           doc->undo_snapshots.count * (i64)sizeof(UndoSnapshot);
}
