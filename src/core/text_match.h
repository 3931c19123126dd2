#pragma once
// Finding a string in bytes with the find options (case, whole word): the one set of
// rules that the editor's find and the project search share.
#include "core/string_view.h"

// ASCII letters, digits, "_", "#", "$" and every byte of 0x80 or above.
inline bool is_word_char(u8 c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '#' ||
           c == '$' || c >= 0x80;
}

inline u8 fold_ascii(u8 c) { return (c >= 'A' && c <= 'Z') ? (u8)(c + ('a' - 'A')) : c; }

// Whether [s, e) of a text of `length` bytes stands on word edges: a word character
// starts it after a non-word one (or the text's start) and ends it before a non-word one.
// A match that runs to the very end of the text is not a whole word. `byte_at(i)` reads
// the text; only bytes s - 1, s, e - 1 and e are read.
template <typename ByteAt>
inline bool on_word_edges(const ByteAt& byte_at, i64 length, i64 s, i64 e) {
    auto word = [&byte_at](i64 i) { return is_word_char(byte_at(i)); };
    if (s < 0 || e <= s || s >= length) return false;
    bool start_ok = s == 0 ? word(0) : word(s - 1) != word(s);
    bool end_ok = e < length && word(e - 1) != word(e);
    return start_ok && end_ok;
}

struct MatchOptions {
    bool match_case;
    bool whole_word;
};

// Whether the n bytes at a and b are equal (ASCII letters folded unless match_case).
bool bytes_same(const u8* a, const u8* b, i64 n, bool match_case);
// The first match of `needle` in text[0, length) that starts at or after `from`; -1 when
// there is none (or the needle is empty).
i64 find_match(const u8* text, i64 length, i64 from, StringView needle, MatchOptions options);

// Walks the matches of a text that do not overlap, with the line of each: the 0-based
// line, its start and its end (before "\n"), counted as the walk goes.
struct LineMatchWalk {
    const u8* text;
    i64 length;
    StringView needle;
    MatchOptions options;
    i64 next;     // where the next match may start
    i64 line;     // of `counted`
    i64 counted;  // the newlines before it have been counted
    // The last match.
    i64 start, line_start, line_end;
};
LineMatchWalk line_match_walk(const u8* text, i64 length, StringView needle, MatchOptions options);
bool line_match_next(LineMatchWalk* walk);
