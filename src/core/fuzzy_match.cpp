#include "core/fuzzy_match.h"

#include "core/text_match.h"

namespace {
// Longer names and queries are ranked as plain subsequence matches: the word-start test
// keeps two rows of the name's length on the stack.
constexpr i64 word_test_name_limit = 1024;

bool word_start(StringView s, i64 i) {
    if (i == 0) return true;
    u8 before = (u8)s.data[i - 1], c = (u8)s.data[i];
    if (before == '_' || before == '.' || before == '/') return true;
    bool upper = c >= 'A' && c <= 'Z';
    return upper && ((before >= 'a' && before <= 'z') || (before >= '0' && before <= '9'));
}

bool same_letter(u8 a, u8 b) { return fold_ascii(a) == fold_ascii(b); }

bool is_subsequence(StringView name, StringView query) {
    i64 j = 0;
    for (i64 i = 0; i < name.length && j < query.length; i++)
        if (same_letter((u8)name.data[i], (u8)query.data[j])) j++;
    return j == query.length;
}

// Whether the query can be laid on the name so that each letter follows the previous
// matched one directly or starts a word. From the query's last letter back: row[i] says
// whether query[j..] can be placed with query[j] at name[i].
bool matches_at_word_starts(StringView name, StringView query) {
    i64 n = name.length;
    if (n > word_test_name_limit) return false;
    bool rows[2][word_test_name_limit + 1];
    bool* next = rows[0];
    bool* cur = rows[1];
    for (i64 j = query.length - 1; j >= 0; j--) {
        bool last = j == query.length - 1;
        bool word_start_after = false;  // next[k] && word_start(k) for some k > i
        for (i64 i = n - 1; i >= 0; i--) {
            bool placed = same_letter((u8)name.data[i], (u8)query.data[j]);
            cur[i] = placed && (last || (i + 1 < n && next[i + 1]) || word_start_after);
            if (!last && next[i] && word_start(name, i)) word_start_after = true;
        }
        bool* t = next;
        next = cur;
        cur = t;
    }
    for (i64 i = 0; i < n; i++)
        if (next[i] && word_start(name, i)) return true;
    return false;
}
}  // namespace

FuzzyScore fuzzy_score(StringView name, StringView query) {
    FuzzyScore s{-1, name.length};
    if (query.length > name.length || !is_subsequence(name, query)) return s;
    if (bytes_same((const u8*)name.data, (const u8*)query.data, query.length, false)) s.tier = 0;
    else if (matches_at_word_starts(name, query)) s.tier = 1;
    else s.tier = 2;
    return s;
}
