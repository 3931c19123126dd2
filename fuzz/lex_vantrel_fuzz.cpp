// Any bytes lexed as vantrel: no reads or writes outside the text and colour buffer,
// tokens inside the text and in order, one end token last.
#include "lex_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Lexer lexer{};
    lex_fuzz::reserve_small_arenas();
    if (!lexer.keywords) lexer_build_keywords(&lexer, language_vantrel);
    lex_fuzz::check_all(&lexer, data, (i64)size, vantrel_kind_multi_line_comment,
                        [](Lexer* l, i64 start, i64 end) { lex_vantrel(l, start, end); });
    return 0;
}
