#include "analysis/cpp/cpp_disabled_regions.h"

#include "syntax/token_kinds.h"

namespace {
struct Region {
    i64 start, end;  // byte offsets
};

bool is_word_byte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The directive word after "#" at `at` and the offset just after it.
StringView directive_word(StringView text, i64 at, i64* after) {
    i64 i = at + 1;
    while (i < text.length && (text.data[i] == ' ' || text.data[i] == '\t')) i++;
    i64 start = i;
    while (i < text.length && is_word_byte(text.data[i])) i++;
    *after = i;
    return StringView{text.data + start, i - start};
}

// The "\n" ending the line at `from`, or the end of the text.
i64 line_end(StringView text, i64 from) {
    if (from >= text.length) return text.length;
    const void* found = memchr(text.data + from, '\n', (size_t)(text.length - from));
    return found ? (const char*)found - text.data : text.length;
}

// Whether the line ending at the "\n" (or end of text) at `end` ends with a backslash.
bool ends_with_backslash(StringView text, i64 end) {
    i64 i = end - 1;
    if (i >= 0 && text.data[i] == '\r') i--;
    return i >= 0 && text.data[i] == '\\';
}

// "#if 0" (also "#if (0)" and "#if 0 // reason").
bool condition_is_zero(StringView text, i64 at) {
    i64 i = at;
    while (i < text.length && (text.data[i] == ' ' || text.data[i] == '\t' || text.data[i] == '(')) i++;
    if (i >= text.length || text.data[i] != '0') return false;
    i++;
    return i >= text.length || !is_word_byte(text.data[i]);
}

// The byte ranges of "#if 0" groups (up to their "#else", "#elif" or "#endif") and of
// the continuation lines of directives, in text order.
Array<Region> find_regions(StringView text, const u8* colours) {
    Array<Region> regions{nullptr, 0, 0, pool_parser};
    // Per open conditional: 1 when it is a "#if 0" whose dead part is still running.
    Array<u8> open{nullptr, 0, 0, pool_parser};
    i64 dead_depth = -1;  // index in `open` of the group that started the dead text
    i64 dead_start = 0;
    i64 i = 0;
    while (i < text.length) {
        i64 line = i;
        while (i < text.length && (text.data[i] == ' ' || text.data[i] == '\t')) i++;
        if (i < text.length && text.data[i] == '#' && colours && colours[i] == cpp_kind_preprocessor_directive) {
            i64 after = 0;
            StringView word = directive_word(text, i, &after);
            if (sv_equal(word, SV("if")) || sv_equal(word, SV("ifdef")) || sv_equal(word, SV("ifndef"))) {
                array_append(&open, (u8)0);
                if (dead_depth < 0 && sv_equal(word, SV("if")) && condition_is_zero(text, after)) {
                    dead_depth = open.count - 1;
                    dead_start = line;
                }
            } else if ((sv_equal(word, SV("else")) || sv_equal(word, SV("elif"))) && open.count > 0) {
                if (dead_depth == open.count - 1) {
                    array_append(&regions, Region{dead_start, line});
                    dead_depth = -1;
                }
            } else if (sv_equal(word, SV("endif")) && open.count > 0) {
                if (dead_depth == open.count - 1) {
                    array_append(&regions, Region{dead_start, line});
                    dead_depth = -1;
                }
                open.count--;
            }
        }
        bool directive = i < text.length && text.data[i] == '#' && colours && colours[i] == cpp_kind_preprocessor_directive;
        i = line_end(text, i);
        // The lines a directive continues with "\" belong to it, not to the code.
        i64 continued = i;
        while (directive && ends_with_backslash(text, continued) && continued < text.length) {
            continued = line_end(text, continued + 1);
        }
        if (continued > i && dead_depth < 0) array_append(&regions, Region{i + 1, continued});
        i = continued + 1;
    }
    if (dead_depth >= 0) array_append(&regions, Region{dead_start, text.length});
    return regions;
}
// The first token in [from, n) whose offset is at least `offset` (offsets grow).
i64 first_of(const ParseState* p, i64 from, i64 n, i64 offset) {
    i64 lo = from, hi = n;
    while (lo < hi) {
        i64 mid = lo + (hi - lo) / 2;
        if (p->tokens[mid].offset < offset) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}
}  // namespace

void cpp_drop_disabled_regions(ParseState* p, i64 first_token, StringView text, const u8* colours) {
    Array<Region> regions = find_regions(text, colours);
    if (regions.count == 0 || first_token < 0 || first_token >= p->tokens.count) return;
    // Live runs are moved down whole; each region's tokens are found by binary search.
    i64 n = p->tokens.count;
    i64 out = first_token;
    i64 from = first_token;  // first token not yet kept or dropped
    for (const Region& region : regions) {
        i64 lo = first_of(p, from, n, region.start);
        i64 hi = first_of(p, lo, n, region.end);
        if (hi > 0 && hi - 1 >= lo && p->tokens[hi - 1].code == token_end) hi--;  // the end token stays
        if (lo > from) {
            if (out != from) memmove(&p->tokens[out], &p->tokens[from], (size_t)(lo - from) * sizeof(Token));
            out += lo - from;
        }
        from = hi > lo ? hi : lo;
    }
    if (n > from) {
        if (out != from) memmove(&p->tokens[out], &p->tokens[from], (size_t)(n - from) * sizeof(Token));
        out += n - from;
    }
    p->tokens.count = out;
}
