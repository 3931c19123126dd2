// GLSL: the C rules with "^^", without "->" and "...", the number suffixes "f", "lf" and "u", and
// one keyword list whose words are declaration keywords except "true" and "false".
#include "syntax/keyword_lists.h"
#include "syntax/lex_common.h"
#include "syntax/token_kinds.h"

struct GlslRules {
    static constexpr LexActionTable actions = make_action_table("(),;?[]{}~", "&+-.:^|<>", "!%&*+-/<=>^|", "", true);
    static constexpr LexIdentifierTable identifiers = make_identifier_table("");
    static constexpr u8 operation_kind = glsl_kind_operation;
    static constexpr u8 number_kind = glsl_kind_number_literal;
    static constexpr u8 string_kind = glsl_kind_string_literal;
    static constexpr u8 character_kind = glsl_kind_character_literal;
    static constexpr u8 line_comment_kind = glsl_kind_single_line_comment;
    static constexpr u8 block_comment_kind = glsl_kind_multi_line_comment;
    static constexpr u8 directive_kind = glsl_kind_preprocessor_directive;
    static constexpr bool nested_comments = false;
    static constexpr bool arrow = false;
    static constexpr bool ellipsis = false;
    static constexpr bool exponent_plus = true;  // "1e+5" is one number
    static constexpr u8 exponent_separator = '\'';
    static constexpr bool digit_separator = false;
    static constexpr bool raw_strings = false;
    static constexpr bool leading_dot_numbers = true;
    static constexpr u8 suffix = suffix_glsl;
    static constexpr i64 keyword_max = 17;

    static u16 keyword(const Lexer* lexer, bool, const char* word, i64 n, u8* kind) {
        if (!lexer->keywords) return 0;
        u16 code = trie_lookup(lexer->keywords, word, n);
        u16 index = (u16)(code - glsl_keyword_first);
        if (code == 0 || index >= glsl_keyword_count) return 0;
        *kind = glsl_keyword_kind[index];
        return code;
    }
};

void lex_glsl(Lexer* lexer, i64 start, i64 end) { lex_run<GlslRules>(lexer, false, start, end); }
