// Any bytes lexed as C (first input byte odd) or C++ (even); the first byte is not text.
#include "lex_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Lexer lexer{};
    lex_fuzz::reserve_small_arenas();
    if (!lexer.keywords) lexer_build_keywords(&lexer, language_cpp);
    if (size == 0) return 0;
    static bool c_mode;
    c_mode = (data[0] & 1) != 0;
    lex_fuzz::check_all(&lexer, data + 1, (i64)size - 1, cpp_kind_multi_line_comment,
                        [](Lexer* l, i64 start, i64 end) { lex_cpp(l, c_mode, start, end); });
    return 0;
}
