#pragma once
// FNV-1a hashing and the two open-addressing tables (linear probing, no deletion).
#include "core/array.h"
#include "core/string_view.h"

u32 fnv1a(const void* bytes, i64 length, u32 basis = 0x811c9dc5u);

struct IntMapSlot {
    u32 key;
    u32 value;  // 0 marks an empty slot
};

struct IntMap {
    IntMapSlot* slots;
    i64 slot_count;
    i64 max_probe;
    i64 entry_count;
    u8 pool;
};

u32 intmap_hash(u32 key);
void intmap_insert(IntMap* map, u32 key, u32 value);
// The value stored for the key, or 0.
u32 intmap_lookup(const IntMap* map, u32 key);

// A declared name: also the slot form of SymbolMap.
struct Symbol {
    u8 kind;  // 0 marks an empty slot
    u8 flag;
    i32 value;
    i32 scope;
    i32 site;  // index of its first declaration site in the analysis result, plus one; 0: none
    StringView name;
};
static_assert(sizeof(Symbol) == 32, "Symbol is a 32-byte record");

struct SymbolMap {
    Symbol* slots;
    i64 slot_count;
    i64 max_probe;
    i64 entry_count;
    u8 pool;
};

u32 symbol_hash(u8 flag, i32 scope, StringView name);
// The key's hash from the name's own hash (fnv1a of the name): a lookup that climbs
// through scopes hashes the name once.
u32 symbol_hash_of(u8 flag, i32 scope, u32 name_hash);
// Returns the existing entry when the key (flag, scope, name) is present, else inserts
// `symbol` and returns null.
Symbol* symbolmap_insert(SymbolMap* map, const Symbol& symbol);
Symbol* symbolmap_find(const SymbolMap* map, u8 flag, i32 scope, StringView name);
// The same with the name's hash already known (fnv1a of the name).
Symbol* symbolmap_find_hashed(const SymbolMap* map, u8 flag, i32 scope, StringView name, u32 name_hash);
// Appends a copy of the matching slot to `results` and returns true when found.
bool symbolmap_lookup(const SymbolMap* map, u8 flag, i32 scope, StringView name, Array<Symbol>* results);
