#include "core/hash.h"

u32 fnv1a(const void* bytes, i64 length, u32 basis) {
    const u8* p = (const u8*)bytes;
    u32 h = basis;
    for (i64 i = 0; i < length; i++) {
        h ^= p[i];
        h *= 16777619u;
    }
    return h;
}

u32 intmap_hash(u32 key) {
    u8 bytes[4] = {(u8)(key >> 24), (u8)(key >> 16), (u8)(key >> 8), (u8)key};
    return fnv1a(bytes, 4);
}

static IntMapSlot* intmap_new_slots(u8 pool, i64 count) {
    IntMapSlot* slots = (IntMapSlot*)pool_alloc(pool, count * (i64)sizeof(IntMapSlot));
    memset(slots, 0, (size_t)count * sizeof(IntMapSlot));
    return slots;
}

static void intmap_grow(IntMap* map) {
    IntMapSlot* old = map->slots;
    i64 old_count = map->slot_count;
    map->slot_count *= 2;
    map->max_probe += 1;
    map->slots = intmap_new_slots(map->pool, map->slot_count);
    for (i64 i = 0; i < old_count; i++) {
        if (old[i].value == 0) continue;
        i64 mask = map->slot_count - 1;
        i64 at = intmap_hash(old[i].key) & mask;
        while (map->slots[at].value != 0) at = (at + 1) & mask;
        map->slots[at] = old[i];
    }
}

void intmap_insert(IntMap* map, u32 key, u32 value) {
    if (!map->slots) {
        map->slot_count = 8;
        map->max_probe = 3;
        map->slots = intmap_new_slots(map->pool, 8);
    }
    if (map->entry_count > map->slot_count / 2) intmap_grow(map);
    for (;;) {
        i64 mask = map->slot_count - 1;
        i64 at = intmap_hash(key) & mask;
        for (i64 step = 0; step < map->max_probe; step++) {
            IntMapSlot* slot = &map->slots[(at + step) & mask];
            if (slot->value == 0) {
                slot->key = key;
                slot->value = value;
                map->entry_count++;
                return;
            }
        }
        intmap_grow(map);
    }
}

u32 intmap_lookup(const IntMap* map, u32 key) {
    if (!map->slots) return 0;
    i64 mask = map->slot_count - 1;
    i64 start = intmap_hash(key) & mask, at = start;
    do {
        const IntMapSlot* slot = &map->slots[at];
        if (slot->value == 0) return 0;
        if (slot->key == key) return slot->value;
        at = (at + 1) & mask;
    } while (at != start);
    return 0;
}

u32 symbol_hash_of(u8 flag, i32 scope, u32 name_hash) {
    u32 key = (u32)scope | ((u32)(flag ? 1 : 0) << 31);
    // Mixed so that one name in neighbouring scopes lands in unrelated slots.
    u32 h = name_hash ^ (key * 0x9e3779b1u);
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    return h ^ (h >> 16);
}

u32 symbol_hash(u8 flag, i32 scope, StringView name) {
    return symbol_hash_of(flag, scope, fnv1a(name.data, name.length));
}

static bool symbol_matches(const Symbol& s, u8 flag, i32 scope, StringView name) {
    return s.flag == flag && s.scope == scope && sv_equal(s.name, name);
}

static Symbol* symbolmap_new_slots(u8 pool, i64 count) {
    Symbol* slots = (Symbol*)pool_alloc(pool, count * (i64)sizeof(Symbol));
    memset((void*)slots, 0, (size_t)count * sizeof(Symbol));
    return slots;
}

static void symbolmap_grow(SymbolMap* map) {
    Symbol* old = map->slots;
    i64 old_count = map->slot_count;
    map->slot_count *= 2;
    map->max_probe += 1;
    map->slots = symbolmap_new_slots(map->pool, map->slot_count);
    for (i64 i = 0; i < old_count; i++) {
        if (old[i].kind == 0) continue;
        i64 mask = map->slot_count - 1;
        i64 at = symbol_hash(old[i].flag, old[i].scope, old[i].name) & mask;
        while (map->slots[at].kind != 0) at = (at + 1) & mask;
        map->slots[at] = old[i];
    }
}

Symbol* symbolmap_find(const SymbolMap* map, u8 flag, i32 scope, StringView name) {
    if (!map->slots) return nullptr;
    return symbolmap_find_hashed(map, flag, scope, name, fnv1a(name.data, name.length));
}

Symbol* symbolmap_find_hashed(const SymbolMap* map, u8 flag, i32 scope, StringView name, u32 name_hash) {
    if (!map->slots) return nullptr;
    i64 mask = map->slot_count - 1;
    i64 start = symbol_hash_of(flag, scope, name_hash) & mask, at = start;
    do {
        Symbol* slot = &map->slots[at];
        if (slot->kind == 0) return nullptr;
        if (symbol_matches(*slot, flag, scope, name)) return slot;
        at = (at + 1) & mask;
    } while (at != start);
    return nullptr;
}

bool symbolmap_lookup(const SymbolMap* map, u8 flag, i32 scope, StringView name, Array<Symbol>* results) {
    Symbol* found = symbolmap_find(map, flag, scope, name);
    if (!found) return false;
    array_append(results, *found);
    return true;
}

Symbol* symbolmap_insert(SymbolMap* map, const Symbol& symbol) {
    if (Symbol* existing = symbolmap_find(map, symbol.flag, symbol.scope, symbol.name)) return existing;
    if (!map->slots) {
        map->slot_count = 8;
        map->max_probe = 3;
        map->slots = symbolmap_new_slots(map->pool, 8);
    }
    if (map->entry_count > map->slot_count / 2) symbolmap_grow(map);
    for (;;) {
        i64 mask = map->slot_count - 1;
        i64 at = symbol_hash(symbol.flag, symbol.scope, symbol.name) & mask;
        for (i64 step = 0; step < map->max_probe; step++) {
            Symbol* slot = &map->slots[(at + step) & mask];
            if (slot->kind == 0) {
                *slot = symbol;
                map->entry_count++;
                return nullptr;
            }
        }
        symbolmap_grow(map);
    }
}
