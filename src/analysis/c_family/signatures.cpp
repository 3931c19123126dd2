#include "analysis/c_family/signatures.h"

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
