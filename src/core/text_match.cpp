#include "core/text_match.h"

bool bytes_same(const u8* a, const u8* b, i64 n, bool match_case) {
    if (match_case) return n <= 0 || memcmp(a, b, (size_t)n) == 0;
    // Folded byte by byte: no copies of either string.
    for (i64 i = 0; i < n; i++)
        if (fold_ascii(a[i]) != fold_ascii(b[i])) return false;
    return true;
}

i64 find_match(const u8* text, i64 length, i64 from, StringView needle, MatchOptions options) {
    i64 n = needle.length;
    if (n <= 0 || from < 0 || n > length) return -1;
    const u8* wanted = (const u8*)needle.data;
    auto byte_at = [text](i64 i) { return text[i]; };
    // A scan for the first byte (both cases of it when folding), then a comparison.
    u8 first = fold_ascii(wanted[0]), upper = first >= 'a' && first <= 'z' ? (u8)(first - 32) : first;
    bool two_cases = !options.match_case && first != upper;
    for (i64 i = from; i + n <= length;) {
        size_t span = (size_t)(length - n + 1 - i);
        const u8* a = (const u8*)memchr(text + i, two_cases ? first : wanted[0], span);
        if (two_cases) {
            const u8* b = (const u8*)memchr(text + i, upper, a ? (size_t)(a - (text + i)) : span);
            if (b) a = b;
        }
        if (!a) return -1;
        i = a - text;
        if (bytes_same(text + i + 1, wanted + 1, n - 1, options.match_case) &&
            (!options.whole_word || on_word_edges(byte_at, length, i, i + n)))
            return i;
        i++;
    }
    return -1;
}

LineMatchWalk line_match_walk(const u8* text, i64 length, StringView needle, MatchOptions options) {
    LineMatchWalk w{};
    w.text = text;
    w.length = length;
    w.needle = needle;
    w.options = options;
    w.start = -1;
    return w;
}

bool line_match_next(LineMatchWalk* w) {
    i64 at = find_match(w->text, w->length, w->next, w->needle, w->options);
    if (at < 0) {
        w->next = w->length;
        return false;
    }
    // Newlines up to the match, counted from where the last count stopped.
    const u8* p = w->text + w->counted;
    const u8* end = w->text + at;
    i64 line_start = w->line_start;
    while (p < end) {
        const u8* nl = (const u8*)memchr(p, '\n', (size_t)(end - p));
        if (!nl) break;
        w->line++;
        line_start = nl + 1 - w->text;
        p = nl + 1;
    }
    w->counted = at;
    w->line_start = line_start;
    const u8* nl = (const u8*)memchr(w->text + at, '\n', (size_t)(w->length - at));
    w->line_end = nl ? nl - w->text : w->length;
    w->start = at;
    w->next = at + w->needle.length;
    return true;
}
