// Any bytes lexed as GLSL.
#include "lex_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Lexer lexer{};
    lex_fuzz::reserve_small_arenas();
    if (!lexer.keywords) lexer_build_keywords(&lexer, language_glsl);
    lex_fuzz::check_all(&lexer, data, (i64)size, glsl_kind_multi_line_comment,
                        [](Lexer* l, i64 start, i64 end) { lex_glsl(l, start, end); });
    return 0;
}
