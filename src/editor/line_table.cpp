#include "editor/line_table.h"

#include "editor/motion.h"
#include "editor/text_change.h"
#include "core/newlines.h"
#include "memory/arena.h"

namespace {
// Sums of 32 entries at a time let the scan skip most of a long file quickly.
constexpr i64 scan_block = 32;

// The last row looked up (or edited) per document and its first byte. A frame asks for
// the cursor's row, the first visible row and the anchor's row, all close together, and
// a keystroke asks again at the cursor: starting from the previous answer makes each
// look-up cost the distance moved instead of a walk from the top of a million-line file.
// Only this file writes line tables; each change below refreshes or drops the hint, and
// the table's address and length must still match before a hint is trusted. Each thread
// keeps its own (tests and benchmarks look rows up from more than one).
struct RowHint {
    const Document* doc;
    const i32* data;
    i64 count;
    i64 row;
    i64 start;
};
constexpr i64 hint_slots = 8;
thread_local RowHint row_hints[hint_slots];
thread_local i64 next_hint_slot;

RowHint* hint_slot(const Document* doc) {
    for (i64 i = 0; i < hint_slots; i++)
        if (row_hints[i].doc == doc) return &row_hints[i];
    return nullptr;
}

// A trusted (row, start) pair for the document, or null.
const RowHint* valid_hint(const Document* doc) {
    const RowHint* h = hint_slot(doc);
    if (!h || h->data != doc->lines.lengths || h->count != line_count(doc)) return nullptr;
    if (h->row < 0 || h->row >= h->count) return nullptr;
    return h;
}

void remember_row(const Document* doc, i64 row, i64 start) {
    RowHint* h = hint_slot(doc);
    if (!h) {
        h = &row_hints[next_hint_slot];
        next_hint_slot = (next_hint_slot + 1) % hint_slots;
    }
    *h = RowHint{doc, doc->lines.lengths, line_count(doc), row, start};
}

void forget_rows(const Document* doc) {
    if (RowHint* h = hint_slot(doc)) *h = RowHint{};
}

// Walks back from a row known to start after `pos` to the row holding it: the answer
// of the forward scan (the first row whose end lies beyond pos) as lengths are never
// negative.
i64 locate_row_backwards(const Document* doc, i64 pos, i64 row, i64 start, i64* row_start_out) {
    const LineStore* lines = &doc->lines;
    while (row >= scan_block) {
        i64 sum = lines_sum(lines, row - scan_block, scan_block);
        if (start - sum <= pos) break;
        start -= sum;
        row -= scan_block;
    }
    while (row > 0 && start > pos) {
        row--;
        start -= lines_get(lines, row);
    }
    *row_start_out = start;
    return row;
}

// Continues a row search from a known row and its start.
i64 locate_row_from(const Document* doc, i64 pos, i64 row, i64 start, i64* row_start_out) {
    const LineStore* lines = &doc->lines;
    i64 count = line_count(doc);
    if (count <= 0) {
        *row_start_out = 0;
        return 0;
    }
    while (row + scan_block <= count) {
        i64 sum = lines_sum(lines, row, scan_block);
        if (start + sum > pos) break;
        start += sum;
        row += scan_block;
    }
    for (; row < count; row++) {
        i64 length = lines_get(lines, row);
        if (start + length > pos) break;
        start += length;
    }
    if (row >= count) {
        row = count - 1;
        start -= lines_get(lines, row);
    }
    *row_start_out = start;
    return row;
}

// A single-line document holds no newline: they go, with their colour bytes.
void drop_newlines(Document* doc) {
    TextStore* store = &doc->text;
    for (i64 i = document_length(doc) - 1; i >= 0; i--)
        if (store_byte(store, i) == '\n') store_remove(store, i, 1);
}
}  // namespace

void rebuild_line_table(Document* doc) {
    TextStore* store = &doc->text;
    store->pool = doc->lines.pool = pool_main;
    i64 length = document_length(doc);
    if (!doc->single_line && (length == 0 || document_byte(doc, length - 1) != '\n')) {
        DocumentTextLock held(doc);
        if (store_reserve(store, length + 1, pool_available(pool_main))) {
            u8 newline = '\n';
            store_insert(store, length, &newline, 1, nullptr, 0);
        }
    }
    if (doc->single_line) {
        DocumentTextLock held(doc);
        drop_newlines(doc);
    }
    length = document_length(doc);
    StringView text = document_range(doc, 0, length);
    const u8* begin = (const u8*)text.data;
    i64 newlines = count_newlines(begin, text.length);
    LineStore* lines = &doc->lines;
    lines_clear(lines);
    if (!lines_reserve(lines, newlines + 1, pool_available(pool_main))) return;
    lines_insert(lines, 0, newlines + 1);
    i64 index = 0;
    i64 line = 0;
    for_each_newline(begin, text.length, [&](i64 newline) {
        lines_set(lines, index++, newline + 1 - line);
        line = newline + 1;
    });
    lines_set(lines, index, text.length - line);
    forget_rows(doc);
    // Positions stay inside the text whatever was removed.
    if (doc->cursor > length) doc->cursor = (i32)length;
    if (doc->anchor > length) doc->anchor = (i32)length;
    if (doc->cursor < 0) doc->cursor = 0;
    if (doc->anchor < 0) doc->anchor = 0;
}

i64 locate_row(const Document* doc, i64 pos, i64* row_start_out) {
    const RowHint* h = valid_hint(doc);
    i64 row;
    if (!h || (h->start > pos && h->start / 2 > pos)) row = locate_row_from(doc, pos, 0, 0, row_start_out);
    else if (h->start <= pos) row = locate_row_from(doc, pos, h->row, h->start, row_start_out);
    else row = locate_row_backwards(doc, pos, h->row, h->start, row_start_out);
    if (line_count(doc) > 0) remember_row(doc, row, *row_start_out);
    return row;
}

i64 row_of_position(const Document* doc, i64 pos) {
    i64 start = 0;
    return locate_row(doc, pos, &start);
}

i64 row_start(const Document* doc, i64 row) {
    i64 count = line_count(doc);
    if (row > count - 1) row = count - 1;
    if (row <= 0) return 0;
    i64 start = 0, i = 0;
    const LineStore* lines = &doc->lines;
    const RowHint* h = valid_hint(doc);
    if (h && h->row > row && h->row - row < row) {
        // Back from the hint, a block at a time while whole blocks fit.
        i = h->row;
        start = h->start;
        for (; i - scan_block >= row; i -= scan_block) start -= lines_sum(lines, i - scan_block, scan_block);
        for (; i > row; i--) start -= lines_get(lines, i - 1);
    } else {
        if (h && h->row <= row) {
            i = h->row;
            start = h->start;
        }
        for (; i + scan_block <= row; i += scan_block) start += lines_sum(lines, i, scan_block);
        for (; i < row; i++) start += lines_get(lines, i);
    }
    remember_row(doc, row, start);
    return start;
}

bool line_table_has_room(const Document* doc, i64 new_rows, i64 room) {
    i64 wanted = line_count(doc) + new_rows;
    if (doc->lines.lengths && doc->lines.capacity >= wanted) return true;
    return lines_planned_capacity(&doc->lines, wanted) * (i64)sizeof(i32) <= room ||
           wanted * (i64)sizeof(i32) <= room;
}

void line_table_inserted(Document* doc, i64 pos, StringView bytes) {
    LineStore* lines = &doc->lines;
    if (bytes.length <= 0) return;
    if (line_count(doc) == 0) {
        lines_reserve(lines, 1, pool_available(pool_main));
        lines_insert(lines, 0, 1);
    }
    i64 start = 0;
    i64 row = locate_row(doc, pos, &start);
    i64 before = pos - start;                     // bytes of the row before the insertion
    i64 after = lines_get(lines, row) - before;   // bytes of the row after it
    i64 newlines = count_newlines((const u8*)bytes.data, bytes.length);
    if (newlines == 0) {
        lines_set(lines, row, lines_get(lines, row) + bytes.length);
        remember_row(doc, row, start);
        return;
    }
    // The row splits into newlines + 1 rows.
    lines_reserve(lines, line_count(doc) + newlines, pool_available(pool_main));
    lines_insert(lines, row + 1, newlines);
    i64 index = row;
    i64 line = -before;  // where the row holding the insertion starts, counted in `bytes`
    for_each_newline((const u8*)bytes.data, bytes.length, [&](i64 newline) {
        lines_set(lines, index++, newline + 1 - line);
        line = newline + 1;
    });
    lines_set(lines, index, bytes.length - line + after);
    remember_row(doc, row, start);  // rows before the insertion are as they were
}

void line_table_removing(Document* doc, i64 start, i64 n) {
    LineStore* lines = &doc->lines;
    if (n <= 0 || line_count(doc) == 0) return;
    i64 first_start = 0;
    i64 first = locate_row(doc, start, &first_start);
    i64 last_start = 0;
    i64 last = locate_row_from(doc, start + n, first, first_start, &last_start);
    // The rows from first to last become one.
    i64 merged = (start - first_start) + (last_start + lines_get(lines, last) - (start + n));
    lines_set(lines, first, merged);
    lines_remove(lines, first + 1, last - first);
    remember_row(doc, first, first_start);
}
