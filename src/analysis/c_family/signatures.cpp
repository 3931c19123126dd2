#include "analysis/c_family/signatures.h"

#include "analysis/c_family/primitives.h"

namespace {
// Heads compared per name; past this many offered ones a head is simply added, so that
// a file of overloads costs no more than linear time each.
constexpr i64 compared_heads_limit = 64;

bool is_opener(u16 c) { return c == '(' || c == '[' || c == '{'; }
bool is_closer(u16 c) { return c == ')' || c == ']' || c == '}'; }

bool contains(const Array<i64>& list, i64 value) {
    for (i64 v : list)
        if (v == value) return true;
    return false;
}

bool same_spelling(const ParseState* p, const Array<i64>& a, const Array<i64>& b) {
    if (a.count != b.count) return false;
    for (i64 i = 0; i < a.count; i++)
        if (!sv_equal(cfam_text_of_token(p, a[i]), cfam_text_of_token(p, b[i]))) return false;
    return true;
}
}  // namespace

Signature cfam_signature_of_head(ParseState* p, i32 index, i64 first, i64 head_end) {
    Signature sig{};
    sig.overloads = Array<i32>{nullptr, 0, 0, pool_parser};
    array_append(&sig.overloads, index);
    i64 file = file_of_token(p, token_at(p, first));
    if (file < 0) return sig;
    const ParsedFile& pf = p->files[file];
    i64 start = token_at(p, first).offset;
    const Token& end_token = token_at(p, head_end);
    i64 end = end_token.code != token_end && file_of_token(p, end_token) == file ? end_token.offset : pf.text.length;
    if (start < 0) start = 0;
    if (end > pf.text.length) end = pf.text.length;
    while (end > start) {
        char c = pf.text.data[end - 1];
        if (c != ' ' && c != '\t' && c != '\n') break;
        end--;
    }
    if (end > start) {
        sig.text = StringView{pf.text.data + start, end - start};
        sig.colours = StringView{pf.colours ? (const char*)pf.colours + start : nullptr, pf.colours ? end - start : 0};
    }
    return sig;
}

Array<i64> cfam_parameter_tokens(const ParseState* p, i64 name, i64 head_end, const Array<i64>& names) {
    Array<i64> out{nullptr, 0, 0, pool_parser};
    i64 end = head_end >= 0 && head_end < p->tokens.count ? head_end : p->tokens.count;
    i64 i = name >= 0 ? name : end;
    while (i < end && p->tokens[i].code != '(') i++;
    i32 depth = 0;
    bool in_default = false;
    for (; i < end; i++) {
        u16 c = p->tokens[i].code;
        if (is_opener(c)) depth++;
        if (is_closer(c) && --depth == 0) {
            array_append(&out, i++);
            break;
        }
        if (depth == 1 && c == '=') in_default = true;
        if (depth == 1 && c == ',') in_default = false;
        if (!in_default && !contains(names, i)) array_append(&out, i);
    }
    if (out.count == 3 && sv_equal(cfam_text_of_token(p, out[1]), SV("void"))) {
        out[1] = out[2];
        out.count = 2;
    }
    for (; i < end; i++) {
        StringView t = cfam_text_of_token(p, i);
        bool qualifier = sv_equal(t, SV("const")) || sv_equal(t, SV("volatile")) || sv_equal(t, SV("&")) ||
                         sv_equal(t, SV("&&"));
        if (!qualifier) break;
        array_append(&out, i);
    }
    return out;
}

void cfam_offer_overload(const ParseState* p, AnalysisResult* result, i32 first, i32 index,
                         HeadKey (*key_of)(void* context, i32 index), void* context) {
    if (first < 0 || first >= result->signatures.count || first == index) return;
    Array<i32>* offered = &result->signatures[first].overloads;
    HeadKey key = offered->count <= compared_heads_limit ? key_of(context, index) : HeadKey{};
    for (i64 i = 0; key.comparable && i < offered->count; i++) {
        HeadKey other = key_of(context, (*offered)[i]);
        if (!other.comparable || !same_spelling(p, key.tokens, other.tokens)) continue;
        if (key.preference > other.preference) (*offered)[i] = index;
        return;
    }
    array_append(offered, index);
}
