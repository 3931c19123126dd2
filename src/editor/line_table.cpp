#include "editor/line_table.h"

#include "editor/motion.h"

namespace {
// Sums of 32 entries at a time let the scan skip most of a long file quickly.
constexpr i64 scan_block = 32;

i64 block_sum(const i32* lengths) {
    i64 sum = 0;
    for (i64 k = 0; k < scan_block; k++) sum += lengths[k];
    return sum;
}

// The last row looked up (or edited) per document and its first byte. A frame asks for
// the cursor's row, the first visible row and the anchor's row, all close together, and
// a keystroke asks again at the cursor: starting from the previous answer makes each
// look-up cost the distance moved instead of a walk from the top of a million-line file.
// Only this file writes line tables; each change below refreshes or drops the hint, and
// the table's address and length must still match before a hint is trusted.
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
    if (!h || h->data != doc->line_lengths.data || h->count != doc->line_lengths.count) return nullptr;
    if (h->row < 0 || h->row >= h->count) return nullptr;
    return h;
}

void remember_row(const Document* doc, i64 row, i64 start) {
    RowHint* h = hint_slot(doc);
    if (!h) {
        h = &row_hints[next_hint_slot];
        next_hint_slot = (next_hint_slot + 1) % hint_slots;
    }
    *h = RowHint{doc, doc->line_lengths.data, doc->line_lengths.count, row, start};
}

void forget_rows(const Document* doc) {
    if (RowHint* h = hint_slot(doc)) *h = RowHint{};
}

// Walks back from a row known to start after `pos` to the row holding it: the answer
// of the forward scan (the first row whose end lies beyond pos) as lengths are never
// negative.
i64 locate_row_backwards(const Document* doc, i64 pos, i64 row, i64 start, i64* row_start_out) {
    const i32* lengths = doc->line_lengths.data;
    while (row >= scan_block) {
        i64 sum = block_sum(lengths + row - scan_block);
        if (start - sum <= pos) break;
        start -= sum;
        row -= scan_block;
    }
    while (row > 0 && start > pos) {
        row--;
        start -= lengths[row];
    }
    *row_start_out = start;
    return row;
}

// Continues a row search from a known row and its start.
i64 locate_row_from(const Document* doc, i64 pos, i64 row, i64 start, i64* row_start_out) {
    const i32* lengths = doc->line_lengths.data;
    i64 count = doc->line_lengths.count;
    if (count <= 0) {
        *row_start_out = 0;
        return 0;
    }
    while (row + scan_block <= count) {
        i64 sum = block_sum(lengths + row);
        if (start + sum > pos) break;
        start += sum;
        row += scan_block;
    }
    for (; row < count; row++) {
        if (start + lengths[row] > pos) break;
        start += lengths[row];
    }
    if (row >= count) {
        row = count - 1;
        start -= lengths[row];
    }
    *row_start_out = start;
    return row;
}
}  // namespace

void rebuild_line_table(Document* doc) {
    Array<u8>* text = &doc->text;
    Array<u8>* colours = &doc->colours;
    // Colour bytes always match the text; a mismatch is mended before anything reads both.
    if (colours->count != text->count) {
        i64 old = colours->count;
        array_resize(colours, text->count);
        if (text->count > old) memset(colours->data + old, 0, (size_t)(text->count - old));
    }
    if (!doc->single_line && (text->count == 0 || text->data[text->count - 1] != '\n')) {
        array_append(text, (u8)'\n');
        array_append(colours, (u8)0);
    }
    if (doc->single_line) {
        // Newlines go, with their colour bytes; one pass instead of one removal each.
        i64 kept = 0;
        for (i64 i = 0; i < text->count; i++) {
            if (text->data[i] == '\n') continue;
            text->data[kept] = text->data[i];
            colours->data[kept] = colours->data[i];
            kept++;
        }
        text->count = kept;
        colours->count = kept;
    }
    Array<i32>* lines = &doc->line_lengths;
    const u8* begin = text->data;
    const u8* end = text->data + text->count;
    i64 newlines = 0;
    const u8* p = begin;
    while (p < end && (p = (const u8*)memchr(p, '\n', (size_t)(end - p))) != nullptr) {
        newlines++;
        p++;
    }
    // Doubling growth: tables that creep up by a line at a time (undo, reload) do not
    // leave a trail of abandoned blocks behind.
    array_reserve(lines, newlines + 1);
    lines->count = newlines + 1;
    i64 index = 0;
    const u8* line = begin;
    while (line < end) {
        const u8* newline = (const u8*)memchr(line, '\n', (size_t)(end - line));
        if (!newline) break;
        lines->data[index++] = (i32)(newline + 1 - line);
        line = newline + 1;
    }
    lines->data[index] = (i32)(end - line);
    forget_rows(doc);
    // Positions stay inside the text whatever was removed.
    if (doc->cursor > text->count) doc->cursor = (i32)text->count;
    if (doc->anchor > text->count) doc->anchor = (i32)text->count;
    if (doc->cursor < 0) doc->cursor = 0;
    if (doc->anchor < 0) doc->anchor = 0;
}

i64 locate_row(const Document* doc, i64 pos, i64* row_start_out) {
    const RowHint* h = valid_hint(doc);
    i64 row;
    if (!h || (h->start > pos && h->start / 2 > pos)) row = locate_row_from(doc, pos, 0, 0, row_start_out);
    else if (h->start <= pos) row = locate_row_from(doc, pos, h->row, h->start, row_start_out);
    else row = locate_row_backwards(doc, pos, h->row, h->start, row_start_out);
    if (doc->line_lengths.count > 0) remember_row(doc, row, *row_start_out);
    return row;
}

i64 row_of_position(const Document* doc, i64 pos) {
    i64 start = 0;
    return locate_row(doc, pos, &start);
}

i64 row_start(const Document* doc, i64 row) {
    i64 count = doc->line_lengths.count;
    if (row > count - 1) row = count - 1;
    if (row <= 0) return 0;
    i64 start = 0, i = 0;
    const i32* lengths = doc->line_lengths.data;
    const RowHint* h = valid_hint(doc);
    if (h && h->row > row && h->row - row < row) {
        // Back from the hint, a block at a time while whole blocks fit.
        i = h->row;
        start = h->start;
        for (; i - scan_block >= row; i -= scan_block) start -= block_sum(lengths + i - scan_block);
        for (; i > row; i--) start -= lengths[i - 1];
    } else {
        if (h && h->row <= row) {
            i = h->row;
            start = h->start;
        }
        for (; i + scan_block <= row; i += scan_block) start += block_sum(lengths + i);
        for (; i < row; i++) start += lengths[i];
    }
    remember_row(doc, row, start);
    return start;
}

void line_table_inserted(Document* doc, i64 pos, StringView bytes) {
    Array<i32>* lines = &doc->line_lengths;
    if (bytes.length <= 0) return;
    if (lines->count == 0) array_append(lines, 0);
    i64 start = 0;
    i64 row = locate_row(doc, pos, &start);
    i64 before = pos - start;                 // bytes of the row before the insertion
    i64 after = lines->data[row] - before;    // bytes of the row after it

    i64 newlines = 0;
    const char* p = bytes.data;
    const char* end = bytes.data + bytes.length;
    while ((p = (const char*)memchr(p, '\n', (size_t)(end - p))) != nullptr) {
        newlines++;
        p++;
    }
    if (newlines == 0) {
        lines->data[row] += (i32)bytes.length;
        remember_row(doc, row, start);
        return;
    }
    // The row splits into newlines + 1 rows.
    array_reserve(lines, lines->count + newlines);
    memmove(lines->data + row + 1 + newlines, lines->data + row + 1,
            (size_t)(lines->count - row - 1) * sizeof(i32));
    lines->count += newlines;
    i64 index = row;
    i64 run = before;
    for (i64 i = 0; i < bytes.length; i++) {
        run++;
        if (bytes.data[i] == '\n') {
            lines->data[index++] = (i32)run;
            run = 0;
        }
    }
    lines->data[index] = (i32)(run + after);
    remember_row(doc, row, start);  // rows before the insertion are as they were
}

void line_table_removing(Document* doc, i64 start, i64 n) {
    Array<i32>* lines = &doc->line_lengths;
    if (n <= 0 || lines->count == 0) return;
    i64 first_start = 0;
    i64 first = locate_row(doc, start, &first_start);
    i64 last_start = 0;
    i64 last = locate_row_from(doc, start + n, first, first_start, &last_start);
    // The rows from first to last become one.
    i64 merged = (start - first_start) + (last_start + lines->data[last] - (start + n));
    lines->data[first] = (i32)merged;
    array_remove_range(lines, first + 1, last - first);
    remember_row(doc, first, first_start);
}
