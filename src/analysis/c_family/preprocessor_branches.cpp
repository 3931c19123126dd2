#include "analysis/c_family/preprocessor_branches.h"

#include "analysis/c_family/records.h"
#include "core/sort.h"

namespace {
// Net change and lowest running depth of braces and of parentheses over a run of tokens;
// runs concatenate.
struct Balance {
    i32 brace, brace_low, paren, paren_low;
};

Balance concat(Balance a, Balance b) {
    i32 brace_low = a.brace + b.brace_low < a.brace_low ? a.brace + b.brace_low : a.brace_low;
    i32 paren_low = a.paren + b.paren_low < a.paren_low ? a.paren + b.paren_low : a.paren_low;
    return Balance{a.brace + b.brace, brace_low, a.paren + b.paren, paren_low};
}

bool is_balanced(Balance b) { return b.brace == 0 && b.brace_low >= 0 && b.paren == 0 && b.paren_low >= 0; }

Balance of_token(u16 code) {
    switch (code) {
    case '{': return Balance{1, 0, 0, 0};
    case '}': return Balance{-1, -1, 0, 0};
    case '(': return Balance{0, 0, 1, 0};
    case ')': return Balance{0, 0, -1, -1};
    default: return Balance{0, 0, 0, 0};
    }
}

enum : u8 { value_unknown, value_false, value_true };
enum : u8 { word_other, word_if, word_ifdef, word_elif, word_elifdef, word_else, word_endif };

struct Branch {
    i64 start;  // offset of its directive's line
    u8 value;
    Balance balance;
};

struct Region {
    i64 start, end;
};

bool is_word_byte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The kind of the directive word after "#" at `at`; `after` is set just past the word.
u8 directive_word(StringView text, i64 at, i64* after) {
    i64 i = at + 1;
    while (i < text.length && (text.data[i] == ' ' || text.data[i] == '\t')) i++;
    i64 start = i;
    while (i < text.length && is_word_byte(text.data[i])) i++;
    *after = i;
    StringView w{text.data + start, i - start};
    if (sv_equal(w, SV("if"))) return word_if;
    if (sv_equal(w, SV("ifdef")) || sv_equal(w, SV("ifndef"))) return word_ifdef;
    if (sv_equal(w, SV("elif"))) return word_elif;
    if (sv_equal(w, SV("elifdef")) || sv_equal(w, SV("elifndef"))) return word_elifdef;
    if (sv_equal(w, SV("else"))) return word_else;
    if (sv_equal(w, SV("endif"))) return word_endif;
    return word_other;
}

// "0" or "1" alone as the condition ("#if 0", "#if (1)", "#elif 0 // why").
u8 condition_value(StringView text, i64 at, i64 end) {
    i64 i = at;
    while (i < end && (text.data[i] == ' ' || text.data[i] == '\t' || text.data[i] == '(')) i++;
    if (i >= end || (text.data[i] != '0' && text.data[i] != '1')) return value_unknown;
    u8 value = text.data[i] == '0' ? value_false : value_true;
    i++;
    while (i < end && (text.data[i] == ' ' || text.data[i] == '\t' || text.data[i] == ')')) i++;
    if (i < end && !(text.data[i] == '/' || text.data[i] == '\r' || text.data[i] == '\n')) return value_unknown;
    return value;
}

i64 line_end(StringView text, i64 from) {
    if (from >= text.length) return text.length;
    const void* found = memchr(text.data + from, '\n', (size_t)(text.length - from));
    return found ? (const char*)found - text.data : text.length;
}

struct Walk {
    ParseState* p;
    i64 token;  // next token not yet folded into a branch
    i64 token_end;
    Array<Branch> branches;  // the branches of every open group, innermost last
    Array<i64> groups;       // index in branches of each open group's first branch
    Array<Region> dropped;

    // Folds the tokens before `offset` into the innermost open branch.
    void fold_tokens_before(i64 offset) {
        Balance b{0, 0, 0, 0};
        while (token < token_end && p->tokens[token].offset < offset) b = concat(b, of_token(p->tokens[token++].code));
        if (branches.count > 0) branches[branches.count - 1].balance = concat(branches[branches.count - 1].balance, b);
    }

    void open_branch(i64 start, u8 value) { array_append(&branches, Branch{start, value, Balance{0, 0, 0, 0}}); }

    // Decides the innermost group, whose last branch ends at `end`, and folds what it
    // keeps into the branch around it.
    void close_group(i64 end) {
        i64 base = groups[--groups.count];
        bool chosen = false, after_true = false;
        Balance kept{0, 0, 0, 0};
        for (i64 i = base; i < branches.count; i++) {
            const Branch& b = branches[i];
            bool keep = false;
            if (!after_true && b.value != value_false) {
                keep = !chosen || is_balanced(b.balance);
                chosen = true;
            }
            if (b.value == value_true) after_true = true;
            if (keep) kept = concat(kept, b.balance);
            else array_append(&dropped, Region{b.start, i + 1 < branches.count ? branches[i + 1].start : end});
        }
        branches.count = base;
        if (branches.count > 0) branches[branches.count - 1].balance = concat(branches[branches.count - 1].balance, kept);
    }

    void directive(u8 word, i64 line, i64 after, i64 end, StringView text) {
        fold_tokens_before(line);
        if (word == word_if || word == word_ifdef) {
            array_append(&groups, (i64)branches.count);
            open_branch(line, word == word_if ? condition_value(text, after, end) : (u8)value_unknown);
        } else if (groups.count > 0 && (word == word_elif || word == word_elifdef || word == word_else)) {
            open_branch(line, word == word_elif ? condition_value(text, after, end) : (u8)value_unknown);
        } else if (groups.count > 0 && word == word_endif) {
            close_group(line);
        }
    }
};

// The first token in [from, n) whose offset is at least `offset` (offsets grow).
i64 first_at(const ParseState* p, i64 from, i64 n, i64 offset) {
    i64 lo = from, hi = n;
    while (lo < hi) {
        i64 mid = lo + (hi - lo) / 2;
        if (p->tokens[mid].offset < offset) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

// Removes the tokens of [first, last) that lie in any of the regions (which may nest or
// come in any order): sorted and merged, the kept runs between them move down whole.
void drop_regions(ParseState* p, i64 first, i64 last, Array<Region>* regions) {
    i64 n = regions->count;
    Region* r = regions->data;
    Region* scratch = (Region*)pool_alloc(pool_parser, n * (i64)sizeof(Region));
    merge_sort(r, 0, n, scratch, [](const Region& x, const Region& y) { return x.start < y.start; });
    Token* tokens = p->tokens.data;
    i64 out = first, kept_from = first;
    auto keep_up_to = [&](i64 end) {
        if (out != kept_from) memmove((void*)(tokens + out), (const void*)(tokens + kept_from), (size_t)(end - kept_from) * sizeof(Token));
        out += end - kept_from;
    };
    for (i64 i = 0; i < n;) {
        i64 start = r[i].start, end = r[i].end;
        for (i++; i < n && r[i].start <= end; i++)
            if (r[i].end > end) end = r[i].end;
        i64 lo = first_at(p, kept_from, last, start);
        i64 hi = first_at(p, lo, last, end);
        keep_up_to(lo);
        kept_from = hi;
    }
    keep_up_to(p->tokens.count);
    p->tokens.count = out;
}
}  // namespace

void cfam_follow_preprocessor_branches(ParseState* p, i64 first_token, StringView text, const u8* colours,
                                       u8 directive_kind) {
    if (!colours || first_token < 0 || first_token >= p->tokens.count) return;
    i64 last = p->tokens.count;
    if (p->tokens[last - 1].code == token_end) last--;  // the end token stays
    Walk w{p, first_token, last, cfam_array<Branch>(), cfam_array<i64>(), cfam_array<Region>()};
    // Directives are found by their "#" (rare in code) rather than line by line.
    i64 i = 0;
    while (i < text.length) {
        const char* found = (const char*)memchr(text.data + i, '#', (size_t)(text.length - i));
        if (!found) break;
        i = found - text.data;
        i64 line = i;
        while (line > 0 && (text.data[line - 1] == ' ' || text.data[line - 1] == '\t')) line--;
        if ((line > 0 && text.data[line - 1] != '\n') || colours[i] != directive_kind) {
            i++;
            continue;
        }
        i64 after = 0;
        u8 word = directive_word(text, i, &after);
        // The directive's bytes carry its colour, over the lines it continues too.
        i64 end = i;
        while (end < text.length && colours[end] == directive_kind) end++;
        if (word != word_other) w.directive(word, line, after, end, text);
        i = line_end(text, end) + 1;
    }
    while (w.groups.count > 0) w.close_group(text.length);
    if (w.dropped.count > 0) drop_regions(p, first_token, last, &w.dropped);
}
