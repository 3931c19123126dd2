#include "analysis/call_extent.h"

namespace {
// Tokens looked at per call, so that a file of unclosed calls still costs linear time.
constexpr i64 scan_limit = 4096;

i64 line_end(StringView text, i64 from) {
    if (from < 0) from = 0;
    while (from < text.length && text.data[from] != '\n') from++;
    return from < text.length ? from : text.length;
}

bool ends_list(u16 code) { return code == ';' || code == '}' || code == ')' || code == ']'; }
}  // namespace

i64 unclosed_call_end(const ParseState* p, i64 open) {
    const Token& o = token_at(p, open);
    i64 file = file_of_token(p, o);
    StringView text = file >= 0 ? p->files[file].text : StringView{nullptr, 0};
    i64 last = open;
    i32 depth = 0;
    for (i64 i = open + 1; i < p->tokens.count && i - open <= scan_limit; i++) {
        const Token& t = p->tokens[i];
        const Token& before = p->tokens[last];
        // Another file's tokens (or a macro's from further up) end the list too.
        if (t.code == token_end || t.file != o.file || t.offset < before.offset) break;
        if (depth == 0 && ends_list(t.code)) return t.offset;
        if (t.line != before.line && before.code != '(' && before.code != ',') break;
        if (t.code == '(' || t.code == '[' || t.code == '{') depth++;
        else if (depth > 0 && (t.code == ')' || t.code == ']' || t.code == '}')) depth--;
        last = i;
    }
    const Token& end = token_at(p, last);
    return line_end(text, end.offset + end.length);
}
