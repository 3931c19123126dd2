#include "editor/clipboard.h"

#include <cstring>

#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/line_ends.h"
#include "editor/text_change.h"
#include "platform/platform.h"
#include "editor/recolour.h"

namespace {
constexpr i64 first_clip_capacity = 4096;

StringView selection_text(const Document* doc) {
    i64 low = doc->cursor < doc->anchor ? doc->cursor : doc->anchor;
    i64 high = doc->cursor < doc->anchor ? doc->anchor : doc->cursor;
    if (low < 0) low = 0;
    if (high > document_length(doc)) high = document_length(doc);
    if (high < low) high = low;
    return document_range(doc, low, high);
}

// The selection is replaced by its converted copy (colours kept), one change of the
// history like any other edit.
void change_case(Document* doc, bool upper) {
    undo_checkpoint(doc, edit_structural);
    i64 low = doc->cursor < doc->anchor ? doc->cursor : doc->anchor;
    StringView selected = selection_text(doc);
    if (selected.length <= 0 || 2 * selected.length > pool_available(pool_frame)) return;
    u8* p = (u8*)pool_alloc(pool_frame, selected.length);
    memcpy(p, selected.data, (size_t)selected.length);
    u8* colours = (u8*)pool_alloc(pool_frame, selected.length);
    memcpy(colours, document_colour_range(doc, low, low + selected.length), (size_t)selected.length);
    for (i64 i = 0; i < selected.length; i++) {
        u8 c = p[i];
        if (upper && c >= 'a' && c <= 'z') p[i] = (u8)(c - ('a' - 'A'));
        if (!upper && c >= 'A' && c <= 'Z') p[i] = (u8)(c + ('a' - 'A'));
    }
    i32 cursor = doc->cursor, anchor = doc->anchor;
    text_remove(doc, low, selected.length);
    text_insert_coloured(doc, low, StringView{(const char*)p, selected.length}, colours);
    doc->cursor = cursor;
    doc->anchor = anchor;
    finish_edit(doc);
}
}  // namespace

void clip_buffer_reserve(Document* doc, i64 length) {
    if (doc->clip_capacity == 0 || !doc->clip_data) {
        doc->clip_data = (char*)pool_alloc(pool_main, first_clip_capacity);
        doc->clip_capacity = first_clip_capacity;
        clipboard_set_buffer(doc->clip_capacity, doc->clip_data);
    }
    if (length <= doc->clip_capacity) return;
    i64 capacity = doc->clip_capacity;
    while (capacity < length) capacity *= 2;
    // A copy of a huge selection must not run the arena dry; the clipboard then takes
    // the text straight from the document.
    if (capacity > pool_available(pool_main) - document_memory_margin) return;
    doc->clip_data = (char*)pool_realloc(pool_main, doc->clip_data, doc->clip_capacity, capacity);
    doc->clip_capacity = capacity;
    clipboard_set_buffer(doc->clip_capacity, doc->clip_data);
}

void copy_selection(Document* doc) {
    StringView selected = selection_text(doc);
    clip_buffer_reserve(doc, selected.length);
    if (selected.length > 0 && selected.length <= doc->clip_capacity) {
        memcpy(doc->clip_data, selected.data, (size_t)selected.length);
        selected.data = doc->clip_data;
    }
    clipboard_set(selected);
}

void cut_selection(Document* doc) {
    undo_checkpoint(doc, edit_structural);
    copy_selection(doc);
    delete_selection(doc);
    finish_edit(doc);
}

// Text from other programs may end its lines in "\r\n"; the text here holds "\n" only.
static StringView without_crs(StringView pasted) {
    if (pasted.length <= 0 || !memchr(pasted.data, '\r', (size_t)pasted.length)) return pasted;
    Array<u8>* copy = &editor.save_scratch;
    copy->pool = pool_main;
    copy->count = 0;
    array_insert_many(copy, 0, (const u8*)pasted.data, pasted.length);
    LineEndCount ends;
    copy->count = line_ends_strip_crlf(copy->data, copy->count, &ends);
    return StringView{(const char*)copy->data, copy->count};
}

void paste(Document* doc) {
    StringView pasted = without_crs(clipboard_get());
    i64 selected = selection_text(doc).length;
    if (!document_can_grow(doc, document_length(doc) - selected + pasted.length)) return;
    undo_checkpoint(doc, edit_structural);
    delete_selection(doc);
    insert_bytes(doc, pasted, 0);
    finish_edit(doc);
}

void to_upper_case(Document* doc) { change_case(doc, true); }
void to_lower_case(Document* doc) { change_case(doc, false); }
