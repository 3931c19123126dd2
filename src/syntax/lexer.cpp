#include "syntax/lexer.h"

#include "syntax/keyword_lists.h"
#include "syntax/token_kinds.h"

static KeywordTrie* fresh_trie(KeywordTrie* existing) {
    if (!existing) return trie_create();
    trie_clear(existing);
    return existing;
}

void lexer_build_keywords(Lexer* lexer, int language) {
    switch (language) {
    case language_vantrel:
        lexer->keywords = fresh_trie(lexer->keywords);
        insert_vantrel_keywords(lexer->keywords);
        break;
    case language_cpp:
        lexer->keywords = fresh_trie(lexer->keywords);
        insert_c_keywords(lexer->keywords);
        lexer->cpp_keywords = fresh_trie(lexer->cpp_keywords);
        insert_cpp_keywords(lexer->cpp_keywords);
        break;
    case language_glsl:
        lexer->keywords = fresh_trie(lexer->keywords);
        insert_glsl_keywords(lexer->keywords);
        break;
    default: break;
    }
}
