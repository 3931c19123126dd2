#pragma once
// A fixed-size character trie mapping keywords to 16-bit codes: one array step per byte,
// no hashing and no allocation after it is built.
#include "core/string_view.h"
#include "core/types.h"

enum : i64 {
    trie_node_capacity = 300,
    trie_node_width = 39,   // 38 children and the code
    trie_child_other = 37,  // shared by every byte outside a-z, 0-9 and "_"
    trie_code_slot = 38,
};

// One block from pool_main. Slot 0 is never a node (0 means "no child"); node 1 is the root.
struct KeywordTrie {
    i64 node_count;  // slots handed out so far, counting slot 0 and the root
    u16 nodes[trie_node_capacity][trie_node_width];
};
static_assert(sizeof(KeywordTrie) == 23408, "the trie is one block of 23,408 bytes");

extern const u8 trie_child_index[256];

KeywordTrie* trie_create();
// Empties a trie for rebuilding in place.
void trie_clear(KeywordTrie* trie);
// Stores `code` at the end of the word's path. A word that would need more nodes than
// are left is not inserted (one line is printed the first time) and the trie stays valid.
void trie_insert(KeywordTrie* trie, StringView word, u16 code);
// The code of the word, or 0. The empty word gives the root's code.
inline u16 trie_lookup(const KeywordTrie* trie, const char* word, i64 length) {
    u16 node = 1;
    for (i64 i = 0; i < length; i++) {
        node = trie->nodes[node][trie_child_index[(u8)word[i]]];
        if (node == 0) return 0;
    }
    return trie->nodes[node][trie_code_slot];
}
inline u16 trie_lookup(const KeywordTrie* trie, StringView word) {
    return trie_lookup(trie, word.data, word.length);
}
