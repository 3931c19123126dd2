// The bracket at the caret and its partner.
#include "editor/motion.h"
#include "editor/view.h"
#include "render/renderer.h"
#include "render/theme.h"

namespace {

// The partner of a bracket byte, and the direction to look for it.
struct BracketPair {
    u8 partner;
    i64 step;  // +1: opening, search forward; -1: closing, search backward
};

bool bracket_pair(u8 c, BracketPair* pair) {
    switch (c) {
        case '(': *pair = {')', 1}; return true;
        case '[': *pair = {']', 1}; return true;
        case '{': *pair = {'}', 1}; return true;
        case ')': *pair = {'(', -1}; return true;
        case ']': *pair = {'[', -1}; return true;
        case '}': *pair = {'{', -1}; return true;
        default: return false;
    }
}

// The bracket the caret stands on, or else the one just before it; -1 when neither.
i64 bracket_at_caret(const Document* doc) {
    BracketPair pair;
    i64 c = doc->cursor;
    if (c >= 0 && c < document_length(doc) && bracket_pair(document_byte(doc, c), &pair)) return c;
    if (c > 0 && c <= document_length(doc) && bracket_pair(document_byte(doc, c - 1), &pair)) return c - 1;
    return -1;
}

void bracket_box(const Document* doc, const ViewFrame* f, i64 pos, Color color) {
    i64 row = row_of_position(doc, pos);
    if (row < f->first_row || row > f->last_row) return;
    f64 left = doc->text_left + line_offset(doc, (i32)pos);
    f64 width = view_char_advance(doc, document_byte(doc, pos));
    view_row_box(doc, color, left, view_row_centre(doc, f->h, row), width, f->h);
}

}  // namespace

i64 find_matching_bracket(const Document* doc, i64 pos) {
    BracketPair pair;
    if (pos < 0 || pos >= document_length(doc) || pos >= document_length(doc)) return -1;
    u8 self = document_byte(doc, pos);
    if (!bracket_pair(self, &pair)) return -1;
    // Brackets inside strings or comments carry another colour and do not count.
    u8 colour = document_colour(doc, pos);
    i64 end = document_length(doc) < document_length(doc) ? document_length(doc) : document_length(doc);
    i64 depth = 1;
    for (i64 i = pos + pair.step; i >= 0 && i < end; i += pair.step) {
        u8 c = document_byte(doc, i);
        if (c != self && c != pair.partner) continue;
        if (document_colour(doc, i) != colour) continue;
        depth += c == self ? 1 : -1;
        if (depth == 0) return i;
    }
    return -1;
}

void view_draw_brackets(Document* doc, const ViewFrame* f) {
    i64 bracket = bracket_at_caret(doc);
    if (bracket < 0) return;
    i64 partner = find_matching_bracket(doc, bracket);
    // A bracket without a partner shows in the colour of a failed match.
    if (partner >= 0) bracket_box(doc, f, partner, render.theme.good_match_color);
    bracket_box(doc, f, bracket, partner >= 0 ? render.theme.good_match_color : render.theme.bad_match_color);
}
