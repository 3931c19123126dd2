#include "editor/text_change.h"

#include "editor/edit.h"
#include "editor/line_table.h"
#include "editor/undo_store.h"
#include "core/newlines.h"
#include "memory/arena.h"
#include "platform/platform.h"

namespace {
i64 room_left() {
    i64 room = pool_available(pool_main) - document_memory_margin;
    return room > 0 ? room : 0;
}

// Room for text, colours and line table together; the store grows only when its gap is
// used up, taking what it needs of the room before the line table takes its share.
bool reserve_for(Document* doc, i64 new_length, i64 new_lines) {
    if (new_length > document_length_limit) return false;
    TextStore* store = &doc->text;
    store->pool = doc->lines.pool = pool_main;
    i64 room = room_left();
    i64 text_bytes = 0;
    if (!store->bytes || store->capacity < new_length) {
        text_bytes = 2 * store_planned_capacity(store, new_length);
        if (text_bytes > room) text_bytes = 2 * new_length;
        if (text_bytes > room) return false;
    }
    if (!line_table_has_room(doc, new_lines, room - text_bytes)) return false;
    {
        DocumentTextLock held(doc);
        if (!store_reserve(store, new_length, room)) return false;
    }
    return lines_reserve(&doc->lines, line_count(doc) + new_lines, room_left());
}

// Bytes from the caller that live in the document's own storage would move under the copy.
bool overlaps_store(const Document* doc, StringView bytes) {
    const u8* base = doc->text.bytes;
    if (!base) return false;
    return (const u8*)bytes.data < base + doc->text.capacity && (const u8*)bytes.data + bytes.length > base;
}

// A single-line document holds no newline.
StringView without_newlines(StringView bytes, const u8* colours, const u8** colours_out) {
    char* text = (char*)pool_alloc(pool_frame, bytes.length);
    u8* kept_colours = colours ? (u8*)pool_alloc(pool_frame, bytes.length) : nullptr;
    i64 n = 0;
    for (i64 i = 0; i < bytes.length; i++) {
        if (bytes.data[i] == '\n') continue;
        if (kept_colours) kept_colours[n] = colours[i];
        text[n++] = bytes.data[i];
    }
    *colours_out = kept_colours;
    return StringView{text, n};
}

i64 insert(Document* doc, i64 pos, StringView bytes, const u8* colours, u8 colour) {
    if (!bytes.data || bytes.length <= 0) return 0;
    i64 length = document_length(doc);
    if (pos < 0) pos = 0;
    if (pos > length) pos = length;
    if (overlaps_store(doc, bytes)) {
        if (bytes.length > pool_available(pool_frame)) return 0;
        bytes = string_copy(bytes, pool_frame);
    }
    if (doc->single_line && memchr(bytes.data, '\n', (size_t)bytes.length)) {
        if (2 * bytes.length > pool_available(pool_frame)) return 0;
        bytes = without_newlines(bytes, colours, &colours);
    }
    i64 added = bytes.length;
    if (added <= 0) return 0;
    i64 newlines = doc->single_line ? 0 : count_newlines((const u8*)bytes.data, bytes.length);
    if (!reserve_for(doc, length + added, newlines)) return 0;
    {
        DocumentTextLock held(doc);
        store_insert(&doc->text, pos, (const u8*)bytes.data, added, colours, colour);
    }
    line_table_inserted(doc, pos, bytes);
    if (!doc->undo_replaying) {
        // Just before the gap: contiguous already.
        const u8* logged_colours = document_colour_range(doc, pos, pos + added);
        undo_log_change(doc, pos, StringView{nullptr, 0}, StringView{nullptr, 0}, bytes,
                        StringView{(const char*)logged_colours, added});
    }
    return added;
}
}  // namespace

bool document_has_room(const Document* doc, i64 new_length, i64 new_lines) {
    if (new_length > document_length_limit) return false;
    i64 room = room_left();
    i64 text_bytes = 0;
    if (!doc->text.bytes || doc->text.capacity < new_length) {
        text_bytes = 2 * store_planned_capacity(&doc->text, new_length);
        if (text_bytes > room) text_bytes = 2 * new_length;
        if (text_bytes > room) return false;
    }
    return line_table_has_room(doc, new_lines, room - text_bytes);
}

bool document_can_grow(Document* doc, i64 new_length) {
    i64 length = document_length(doc);
    if (new_length <= length) return true;
    // Every added byte could be a newline with its own line entry.
    if (document_has_room(doc, new_length, new_length - length)) return true;
    show_simple_message_box(0, SV("error"), SV("document too large"));
    return false;
}

i64 text_insert(Document* doc, i64 pos, StringView bytes, u8 colour) { return insert(doc, pos, bytes, nullptr, colour); }

i64 text_insert_coloured(Document* doc, i64 pos, StringView bytes, const u8* colours) {
    return insert(doc, pos, bytes, colours, 0);
}

void text_remove(Document* doc, i64 start, i64 n) {
    i64 length = document_length(doc);
    if (start < 0) {
        n += start;
        start = 0;
    }
    if (start + n > length) n = length - start;
    if (n <= 0) return;
    if (!doc->undo_replaying) {
        // The removed bytes and colours go into the history before they leave the text.
        StringView removed = document_range(doc, start, start + n);
        const u8* colours = document_colour_range(doc, start, start + n);
        undo_log_change(doc, start, removed, StringView{(const char*)colours, n}, StringView{nullptr, 0},
                        StringView{nullptr, 0});
    }
    line_table_removing(doc, start, n);
    DocumentTextLock held(doc);
    store_remove(&doc->text, start, n);
}

bool text_replace_all(Document* doc, StringView bytes) {
    i64 length = document_length(doc);
    i64 lines = 0;
    for (i64 i = 0; i < bytes.length; i++) lines += bytes.data[i] == '\n';
    // The old text stays in the history: the room must hold both.
    if (!document_has_room(doc, length + bytes.length + 1, lines + 1)) return false;
    text_remove(doc, 0, length);
    text_insert(doc, 0, bytes, 0);
    keep_final_newline(doc);
    return true;
}

void keep_final_newline(Document* doc) {
    if (doc->single_line) return;
    i64 length = document_length(doc);
    if (length > 0 && document_byte(doc, length - 1) == '\n') return;
    text_insert(doc, length, SV("\n"), 0);
}
