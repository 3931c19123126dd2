// vantrel: nested block comments, no directives, "$" and "?" inside identifiers,
// "=" always alone, keywords of 2 to 9 bytes.
#include "syntax/keyword_lists.h"
#include "syntax/lex_common.h"
#include "syntax/token_kinds.h"

struct VantrelRules {
    static constexpr LexActionTable actions = make_action_table(";={}(),[]", "&+-.|<>", "!%&*+-/<>^|", "$?", false);
    static constexpr LexIdentifierTable identifiers = make_identifier_table("$?");
    static constexpr u8 operation_kind = vantrel_kind_operation;
    static constexpr u8 number_kind = vantrel_kind_number_literal;
    static constexpr u8 string_kind = vantrel_kind_string_literal;
    static constexpr u8 character_kind = vantrel_kind_character_literal;
    static constexpr u8 line_comment_kind = vantrel_kind_single_line_comment;
    static constexpr u8 block_comment_kind = vantrel_kind_multi_line_comment;
    static constexpr u8 directive_kind = 0;  // vantrel has no directives
    static constexpr bool nested_comments = true;
    static constexpr bool arrow = true;
    static constexpr bool ellipsis = false;
    static constexpr bool exponent_plus = false;  // "1e+5" is "1e", "+", "5"
    static constexpr u8 exponent_separator = '_';
    static constexpr bool digit_separator = false;
    static constexpr bool raw_strings = false;
    static constexpr bool leading_dot_numbers = false;
    static constexpr u8 suffix = suffix_none;
    static constexpr i64 keyword_max = 9;

    static u16 keyword(const Lexer* lexer, bool, const char* word, i64 n, u8* kind) {
        if (!lexer->keywords) return 0;
        u16 code = trie_lookup(lexer->keywords, word, n);
        u16 index = (u16)(code - vantrel_keyword_first);
        if (code == 0 || index >= vantrel_keyword_count) return 0;
        *kind = vantrel_keyword_kind[index];
        return code;
    }
};

void lex_vantrel(Lexer* lexer, i64 start, i64 end) { lex_run<VantrelRules>(lexer, false, start, end); }
