#include "editor/motion.h"

#include "editor/edit.h"
#include "editor/line_table.h"
#include "editor/view.h"
#include "platform/platform.h"

namespace {
// Page Up/Down when the view has not been laid out yet.
constexpr i32 page_lines = 12;

bool is_continuation(u8 c) { return c >= 0x80 && c <= 0xBF; }

i64 text_length(const Document* doc) { return document_length(doc); }

i32 clamp_position(const Document* doc, i64 pos) {
    if (pos < 0) return 0;
    if (pos > text_length(doc)) return (i32)text_length(doc);
    return (i32)pos;
}

i64 previous_character(const Document* doc, i64 pos) {
    if (pos <= 0) return 0;
    pos--;
    while (pos > 0 && is_continuation(document_byte(doc, pos))) pos--;
    return pos;
}

i64 next_character(const Document* doc, i64 pos) {
    i64 length = text_length(doc);
    if (pos >= length) return length;
    pos++;
    while (pos < length && is_continuation(document_byte(doc, pos))) pos++;
    return pos;
}

void follow_unless_shift(Document* doc, bool shift) {
    if (!shift) doc->anchor = doc->cursor;
}

void move_left(Document* doc, bool shift, bool ctrl) {
    close_completion(doc);
    if (doc->cursor != doc->anchor && !shift) {
        doc->cursor = doc->anchor = doc->cursor < doc->anchor ? doc->cursor : doc->anchor;
        return;
    }
    i64 pos = previous_character(doc, doc->cursor);
    if (ctrl) pos = word_start(doc, (i32)pos, false);
    doc->cursor = clamp_position(doc, pos);
    follow_unless_shift(doc, shift);
}

void move_right(Document* doc, bool shift, bool ctrl) {
    close_completion(doc);
    if (doc->cursor != doc->anchor && !shift) {
        doc->cursor = doc->anchor = doc->cursor > doc->anchor ? doc->cursor : doc->anchor;
    } else {
        i64 pos = ctrl ? word_end(doc, doc->cursor, false) : next_character(doc, doc->cursor);
        doc->cursor = clamp_position(doc, pos);
        follow_unless_shift(doc, shift);
    }
    doc->cursor = clamp_position(doc, doc->cursor);
    doc->anchor = clamp_position(doc, doc->anchor);
}

// Home goes to the first character that is not a blank, and from there to column 0.
void move_home(Document* doc, bool shift) {
    i64 start = 0;
    i64 row = locate_row(doc, doc->cursor, &start);
    i64 end = start + line_length(doc, row);
    i64 first = start;
    while (first < end && (document_byte(doc, first) == ' ' || document_byte(doc, first) == '\t')) first++;
    if (first >= end || document_byte(doc, first) == '\n' || doc->cursor == first) first = start;
    doc->cursor = clamp_position(doc, first);
    follow_unless_shift(doc, shift);
}

i64 tab_columns(const Document* doc) {
    const Font* f = doc->font;
    if (!f || !(f->space_advance > 0) || !(f->tab_advance > 0)) return 4;
    i64 n = (i64)(f->tab_advance / f->space_advance + 0.5);
    return n > 0 ? n : 1;
}

// The position on the row starting at `start` whose column is the last not past `column`.
i64 position_at_column(const Document* doc, i64 start, i64 row_length, i64 column) {
    i64 end = start + row_length;
    if (end > start && document_byte(doc, end - 1) == '\n') end--;
    i64 tab = tab_columns(doc), at = 0, pos = start;
    while (pos < end) {
        u8 c = document_byte(doc, pos);
        i64 width = c == '\t' ? tab : 1;
        if (at + width > column) {
            // Inside a tab: to whichever of its ends is nearer.
            if (column - at >= at + width - column) pos = next_character(doc, pos);
            break;
        }
        at += width;
        pos = next_character(doc, pos);
    }
    return pos;
}

// Rows Page Up and Page Down move: what the view shows, less one row of context.
i32 page_rows(const Document* doc) {
    f32 h = document_line_height(doc);
    if (!(h > 0) || !(doc->height > h)) return page_lines;
    i32 rows = (i32)(doc->height / h) - 1;
    return rows > 1 ? rows : 1;
}

void move_page(Document* doc, bool down) {
    if (doc->completion_open) {
        for (i32 i = 0; i < 8; i++) down ? move_down(doc) : move_up(doc);
        return;
    }
    i32 rows = page_rows(doc);
    for (i32 i = 0; i < rows; i++) down ? move_down(doc) : move_up(doc);
    // The view moves with the caret, so the caret keeps its place on screen.
    f32 step = (f32)rows * document_line_height(doc);
    doc->target_scroll_y += down ? step : -step;
    if (doc->target_scroll_y < 0) doc->target_scroll_y = 0;
}

void move_end(Document* doc, bool shift) {
    i64 start = 0;
    i64 row = locate_row(doc, doc->cursor, &start);
    i64 end = start + line_length(doc, row);
    if (end > start && end <= text_length(doc) && document_byte(doc, end - 1) == '\n') end--;
    doc->cursor = clamp_position(doc, end);
    follow_unless_shift(doc, shift);
}
}  // namespace

i32 word_start(const Document* doc, i32 pos, bool identifier_only) {
    i64 length = text_length(doc);
    auto text = [doc](i64 i) { return document_byte(doc, i); };
    if (pos <= 0) return 0;
    if (identifier_only) {
        if (pos > length) pos = (i32)length;
        for (i64 i = pos - 1;; i--) {
            if (i <= 0) return 0;
            if (text(i) == '\n' || !is_word_char(text(i))) return (i32)(i + 1);
        }
    }
    // Past the last byte there is no class to follow: an empty run.
    if (pos >= length) return (i32)length;
    u8 c = text(pos);
    if (c == '\n') return pos;
    bool word = is_word_char(c);
    for (i64 i = pos;; i--) {
        if (i <= 0) return 0;
        if (text(i) == '\n' || is_word_char(text(i)) != word) return (i32)(i + 1);
    }
}

i32 word_end(const Document* doc, i32 pos, bool identifier_only) {
    i64 length = text_length(doc);
    auto text = [doc](i64 i) { return document_byte(doc, i); };
    if (pos < 0) pos = 0;
    if (pos >= length) return (i32)length;
    if (!identifier_only && text(pos) == '\n') return pos + 1;
    bool word = identifier_only ? true : is_word_char(text(pos));
    i64 i = pos;
    while (i < length && text(i) != '\n' && is_word_char(text(i)) == word) i++;
    return (i32)i;
}

void close_completion(Document* doc) { doc->completion_open = 0; }

void move_up(Document* doc) {
    if (doc->completion_open) {
        if (doc->completion_selected > 0) doc->completion_selected--;
        else doc->completion_selected = 0;
        if (doc->completion_selected < doc->completion_top) doc->completion_top = doc->completion_selected;
        return;
    }
    bool shift = input_key_is_held(key_shift);
    i64 c = doc->cursor;
    if (doc->cursor != doc->anchor && !shift) c = doc->cursor < doc->anchor ? doc->cursor : doc->anchor;
    doc->reset_column = 0;
    i64 start = 0;
    i64 row = locate_row(doc, c, &start);
    if (row == 0) {
        doc->cursor = 0;
    } else {
        i64 above_start = start - line_length(doc, row - 1);
        doc->cursor = clamp_position(doc, position_at_column(doc, above_start, line_length(doc, row - 1), doc->preferred_column));
    }
    follow_unless_shift(doc, shift);
}

void move_down(Document* doc) {
    if (doc->completion_open) {
        i32 last = (i32)doc->completion.count - 1;
        if (doc->completion_selected < last) doc->completion_selected++;
        if (doc->completion_selected >= doc->completion_top + 8) doc->completion_top = doc->completion_selected - 7;
        return;
    }
    bool shift = input_key_is_held(key_shift);
    i64 c = doc->cursor;
    if (doc->cursor != doc->anchor && !shift) c = doc->cursor > doc->anchor ? doc->cursor : doc->anchor;
    doc->reset_column = 0;
    i64 start = 0;
    i64 row = locate_row(doc, c, &start);
    if (row + 1 < line_count(doc)) {
        i64 next_start = start + line_length(doc, row);
        doc->cursor = clamp_position(doc, position_at_column(doc, next_start, line_length(doc, row + 1), doc->preferred_column));
    } else {
        doc->cursor = clamp_position(doc, c);
    }
    follow_unless_shift(doc, shift);
}

i32 visual_column(const Document* doc, i64 pos) {
    i64 start = 0;
    locate_row(doc, pos, &start);
    i64 tab = tab_columns(doc), column = 0;
    for (i64 i = start; i < pos && i < text_length(doc); i++) {
        u8 c = document_byte(doc, i);
        if (c == '\t') column += tab;
        else if (!is_continuation(c)) column++;
    }
    return (i32)column;
}

void go_to(Document* doc, i32 pos) {
    doc->view_request = 0;
    close_completion(doc);
    doc->cursor = clamp_position(doc, pos);
    if (!input_key_is_held(key_shift)) doc->anchor = doc->cursor;
    scroll_to_cursor_centred(doc);
}

void go_to_line(Document* doc, i64 n) {
    i64 entries = line_count(doc);
    i64 lines = n < entries ? n : entries;
    i64 pos = lines <= 1 ? 0 : row_start(doc, lines - 1);
    go_to(doc, clamp_position(doc, pos));
}

bool handle_motion_keys(Document* doc, bool shift, bool ctrl, bool keypad_navigation) {
    auto typed = [keypad_navigation](i32 key, i32 keypad_key) {
        return input_key_is_typed(key) || (keypad_navigation && input_key_is_typed(keypad_key));
    };
    if (ctrl && (input_key_is_typed(key_up) || input_key_is_typed(key_down))) {
        // Ctrl+Up/Down scroll by a row and leave the caret where it is.
        f32 h = document_line_height(doc);
        f32 limit = (f32)(line_count(doc) - 1) * h;
        doc->target_scroll_y += input_key_is_typed(key_down) ? h : -h;
        if (doc->target_scroll_y > limit) doc->target_scroll_y = limit;
        if (doc->target_scroll_y < 0) doc->target_scroll_y = 0;
    } else if (typed(key_home, key_kp_7)) {
        move_home(doc, shift);
    } else if (typed(key_end, key_kp_1)) {
        move_end(doc, shift);
    } else if (typed(key_page_up, key_kp_9)) {
        move_page(doc, false);
    } else if (typed(key_page_down, key_kp_3)) {
        move_page(doc, true);
    } else if (typed(key_left, key_kp_4)) {
        move_left(doc, shift, ctrl);
    } else if (typed(key_right, key_kp_6)) {
        move_right(doc, shift, ctrl);
    } else if (typed(key_up, key_kp_8)) {
        move_up(doc);
    } else if (typed(key_down, key_kp_2)) {
        move_down(doc);
    } else {
        return false;
    }
    return true;
}
