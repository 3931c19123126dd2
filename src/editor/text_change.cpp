#include "editor/text_change.h"

#include "editor/edit.h"
#include "editor/line_table.h"
#include "memory/arena.h"
#include "platform/platform.h"

namespace {
i64 room_left() {
    i64 room = pool_available(pool_main) - document_memory_margin;
    return room > 0 ? room : 0;
}

// The capacity an array grows to for `wanted` elements: doubling while the arena has
// plenty, smaller steps when it runs low, -1 when not even `wanted` fits in `room`.
i64 planned_capacity(i64 capacity, bool has_data, i64 wanted, i64 element, i64 room) {
    if (has_data && capacity >= wanted) return capacity;
    i64 c = capacity * 2;
    if (c < wanted) c = wanted;
    if (c < 16) c = 16;
    if (c * element > room) {
        c = capacity + capacity / 8;
        if (c < wanted) c = wanted;
    }
    if (c * element > room) c = wanted;
    if (c * element > room) return -1;
    return c;
}

template <typename T>
void grow_to(Array<T>* a, i64 capacity) {
    if (a->data && a->capacity >= capacity) return;
    i64 old_bytes = a->data ? a->capacity * (i64)sizeof(T) : 0;
    a->data = (T*)pool_realloc(a->pool, a->data, old_bytes, capacity * (i64)sizeof(T));
    a->capacity = capacity;
}

struct GrowthPlan {
    bool ok;
    i64 text, colours, lines;
};

GrowthPlan plan_growth(const Document* doc, i64 new_length, i64 new_lines) {
    GrowthPlan plan{false, 0, 0, 0};
    if (new_length > document_length_limit) return plan;
    i64 room = room_left();
    auto take = [&room](i64 capacity, bool has_data, i64 wanted, i64 element) -> i64 {
        i64 c = planned_capacity(capacity, has_data, wanted, element, room);
        if (c < 0) return -1;
        if (!has_data || c > capacity) room -= c * element;
        return c;
    };
    plan.text = take(doc->text.capacity, doc->text.data != nullptr, new_length, 1);
    if (plan.text < 0) return plan;
    plan.colours = take(doc->colours.capacity, doc->colours.data != nullptr, new_length, 1);
    if (plan.colours < 0) return plan;
    plan.lines = take(doc->line_lengths.capacity, doc->line_lengths.data != nullptr,
                      doc->line_lengths.count + new_lines, (i64)sizeof(i32));
    plan.ok = plan.lines >= 0;
    return plan;
}

bool reserve_for(Document* doc, i64 new_length, i64 new_lines) {
    GrowthPlan plan = plan_growth(doc, new_length, new_lines);
    if (!plan.ok) return false;
    grow_to(&doc->text, plan.text);
    grow_to(&doc->colours, plan.colours);
    grow_to(&doc->line_lengths, plan.lines);
    return true;
}

i64 count_newlines(StringView bytes) {
    i64 n = 0;
    const char* p = bytes.data;
    const char* end = bytes.data + bytes.length;
    while (p < end && (p = (const char*)memchr(p, '\n', (size_t)(end - p))) != nullptr) {
        n++;
        p++;
    }
    return n;
}
}  // namespace

bool document_has_room(const Document* doc, i64 new_length, i64 new_lines) {
    return plan_growth(doc, new_length, new_lines).ok;
}

bool document_can_grow(Document* doc, i64 new_length) {
    if (new_length <= doc->text.count) return true;
    // Every added byte could be a newline with its own line entry.
    if (document_has_room(doc, new_length, new_length - doc->text.count)) return true;
    show_simple_message_box(0, SV("error"), SV("document too large"));
    return false;
}

i64 text_insert(Document* doc, i64 pos, StringView bytes, u8 colour) {
    if (!bytes.data || bytes.length <= 0) return 0;
    i64 length = doc->text.count;
    if (pos < 0) pos = 0;
    if (pos > length) pos = length;
    // Bytes that live in the document's own storage would move under the copy.
    const u8* base = doc->text.data;
    if (base && (const u8*)bytes.data < base + doc->text.capacity && (const u8*)bytes.data + bytes.length > base) {
        if (bytes.length > pool_available(pool_frame)) return 0;
        bytes = string_copy(bytes, pool_frame);
    }

    i64 newlines = count_newlines(bytes);
    i64 added = doc->single_line ? bytes.length - newlines : bytes.length;
    if (added <= 0) return 0;
    if (!reserve_for(doc, length + added, doc->single_line ? 0 : newlines)) return 0;

    u8* text = doc->text.data;
    u8* colours = doc->colours.data;
    memmove(text + pos + added, text + pos, (size_t)(length - pos));
    memmove(colours + pos + added, colours + pos, (size_t)(length - pos));
    if (doc->single_line && newlines > 0) {
        i64 out = pos;
        for (i64 i = 0; i < bytes.length; i++)
            if (bytes.data[i] != '\n') text[out++] = (u8)bytes.data[i];
    } else {
        memcpy(text + pos, bytes.data, (size_t)added);
    }
    memset(colours + pos, colour, (size_t)added);
    doc->text.count = length + added;
    doc->colours.count = length + added;
    line_table_inserted(doc, pos, StringView{(const char*)text + pos, added});
    return added;
}

void text_remove(Document* doc, i64 start, i64 n) {
    i64 length = doc->text.count;
    if (start < 0) {
        n += start;
        start = 0;
    }
    if (start + n > length) n = length - start;
    if (n <= 0) return;
    line_table_removing(doc, start, n);
    u8* text = doc->text.data;
    u8* colours = doc->colours.data;
    memmove(text + start, text + start + n, (size_t)(length - start - n));
    memmove(colours + start, colours + start + n, (size_t)(length - start - n));
    doc->text.count = length - n;
    doc->colours.count = length - n;
}

void keep_final_newline(Document* doc) {
    if (doc->single_line) return;
    i64 length = doc->text.count;
    if (length > 0 && doc->text.data[length - 1] == '\n') return;
    text_insert(doc, length, SV("\n"), 0);
}
