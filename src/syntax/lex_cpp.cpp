// C and C++: "#" directives, flat block comments, "==", "::", "...", number suffixes,
// keywords of 2 to 17 bytes from the C list and, for C++, the C++-only list.
#include "syntax/keyword_lists.h"
#include "syntax/lex_common.h"
#include "syntax/token_kinds.h"

// The alternative operator spellings of C++ are coloured as keywords but parsed as the
// operators they stand for.
static u16 cpp_operator_code(u16 code) {
    switch (code) {
    case cpp_kw_and: return token_doubled('&');
    case cpp_kw_and_eq: return token_with_equal('&');
    case cpp_kw_bitand: return '&';
    case cpp_kw_bitor: return '|';
    case cpp_kw_compl: return '~';
    case cpp_kw_not: return '!';
    case cpp_kw_not_eq: return token_with_equal('!');
    case cpp_kw_or: return token_doubled('|');
    case cpp_kw_or_eq: return token_with_equal('|');
    case cpp_kw_xor: return '^';
    case cpp_kw_xor_eq: return token_with_equal('^');
    default: return code;
    }
}

struct CppRules {
    static constexpr LexActionTable actions = make_action_table("(),;?[]{}~", "&+-.:|<>", "!%&*+-/<=>^|", "", true);
    static constexpr LexIdentifierTable identifiers = make_identifier_table("");
    static constexpr u8 operation_kind = cpp_kind_operation;
    static constexpr u8 number_kind = cpp_kind_number_literal;
    static constexpr u8 string_kind = cpp_kind_string_literal;
    static constexpr u8 character_kind = cpp_kind_character_literal;
    static constexpr u8 line_comment_kind = cpp_kind_single_line_comment;
    static constexpr u8 block_comment_kind = cpp_kind_multi_line_comment;
    static constexpr u8 directive_kind = cpp_kind_preprocessor_directive;
    static constexpr bool nested_comments = false;
    static constexpr bool arrow = true;
    static constexpr bool ellipsis = true;
    static constexpr bool exponent_plus = true;  // "1e+5" is one number
    static constexpr u8 exponent_separator = '\'';
    static constexpr bool digit_separator = true;
    static constexpr bool raw_strings = true;
    static constexpr bool leading_dot_numbers = true;
    static constexpr u8 suffix = suffix_float_or_integer;
    static constexpr i64 keyword_max = 17;

    static u16 keyword(const Lexer* lexer, bool c_mode, const char* word, i64 n, u8* kind) {
        if (lexer->keywords) {
            u16 code = trie_lookup(lexer->keywords, word, n);
            u16 index = (u16)(code - c_keyword_first);
            if (code != 0 && index < c_keyword_count) {
                *kind = c_keyword_kind[index];
                return code;
            }
        }
        if (c_mode || !lexer->cpp_keywords) return 0;
        u16 code = trie_lookup(lexer->cpp_keywords, word, n);
        u16 index = (u16)(code - cpp_keyword_first);
        if (code == 0 || index >= cpp_keyword_count) return 0;
        *kind = cpp_keyword_kind[index];
        return cpp_operator_code(code);
    }
};

void lex_cpp(Lexer* lexer, bool c_mode, i64 start, i64 end) { lex_run<CppRules>(lexer, c_mode, start, end); }
