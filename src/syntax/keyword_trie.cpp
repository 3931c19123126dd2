#include "syntax/keyword_trie.h"

#include <cstdio>
#include <cstring>

#include "memory/arena.h"
#include "syntax/syntax_state.h"

// a-z 0-25, 0-9 26-35, "_" 36, every other byte 37.
const u8 trie_child_index[256] = {
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 36,
    37,  0,  1,  2,  3,  4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14,
    15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
    37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
};

KeywordTrie* trie_create() {
    KeywordTrie* trie = (KeywordTrie*)pool_alloc(pool_main, (i64)sizeof(KeywordTrie));
    trie_clear(trie);
    return trie;
}

void trie_clear(KeywordTrie* trie) {
    memset(trie->nodes, 0, sizeof trie->nodes);
    trie->node_count = 2;
}


void trie_insert(KeywordTrie* trie, StringView word, u16 code) {
    i64 node = 1, i = 0;
    for (; i < word.length; i++) {
        u16 child = trie->nodes[node][trie_child_index[(u8)word.data[i]]];
        if (child == 0) break;
        node = child;
    }
    // Every remaining byte needs a new node; refuse the whole word rather than leave a
    // half-built path.
    if (trie->node_count + (word.length - i) > trie_node_capacity) {
        if (!syntax.keyword_table_full_reported) {
            syntax.keyword_table_full_reported = true;
            fputs("keyword table full\n", stdout);
            fflush(stdout);
        }
        return;
    }
    for (; i < word.length; i++) {
        u16 fresh = (u16)trie->node_count++;
        trie->nodes[node][trie_child_index[(u8)word.data[i]]] = fresh;
        node = fresh;
    }
    trie->nodes[node][trie_code_slot] = code;
}
