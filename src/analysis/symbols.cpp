#include "analysis/symbols.h"

#include "memory/arena.h"

i64 open_scope(AnalysisResult* result, u32 parent, StringView name, i32 start, i32 end) {
    Scope scope{name, start, end, parent, 0, Array<Symbol>{nullptr, 0, 0, pool_parser}};
    return array_append(&result->scopes, scope);
}

namespace {
void note_name(AnalysisResult* result, i32 scope, u32 hash) {
    if (scope >= 0 && scope < result->scopes.count) result->scopes[scope].name_bits |= scope_name_bit(hash);
}
}  // namespace

Symbol* declare_symbol(AnalysisResult* result, u8 kind, u8 flag, i32 value, i32 scope, StringView name, i32 site) {
    u32 hash = fnv1a(name.data, name.length);
    if (Symbol* existing = symbolmap_find_hashed(&result->symbols, flag, scope, name, hash)) return existing;
    Symbol symbol{kind, flag, value, scope, site, string_copy(name, pool_parser)};
    if (scope >= 0 && scope < result->scopes.count) array_append(&result->scopes[scope].members, symbol);
    note_name(result, scope, hash);
    symbolmap_insert(&result->symbols, symbol);
    return nullptr;
}

Symbol* lookup_symbol(const AnalysisResult* result, u8 flag, i32 scope, StringView name) {
    return symbolmap_find(&result->symbols, flag, scope, name);
}

Symbol* declare_hidden_symbol(AnalysisResult* result, u8 kind, u8 flag, i32 value, i32 scope, StringView name,
                              i32 site) {
    u32 hash = fnv1a(name.data, name.length);
    if (Symbol* existing = symbolmap_find_hashed(&result->symbols, flag, scope, name, hash)) return existing;
    note_name(result, scope, hash);
    symbolmap_insert(&result->symbols, Symbol{kind, flag, value, scope, site, string_copy(name, pool_parser)});
    return nullptr;
}
