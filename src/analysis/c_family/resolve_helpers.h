#pragma once
// Name resolution shared by the C-family analyses (C/C++, GLSL): look a name up from a
// scope outwards, colour it by what it names, find the members that may follow a type,
// and bring a type's members into the current scope.
//
// The language supplies the parts that depend on its work lists through ResolveHooks:
// a symbol's value is the index of its record in the list of its kind.
#include "analysis/c_family/scope_stack.h"
#include "analysis/symbols.h"

// What an expression or type stands for: a SymbolKind and the index of the record in
// that kind's work list (a procedure: its function record). kind 0: nothing known.
struct TypeInfo {
    u8 kind;
    i32 index;
};
constexpr TypeInfo no_type{0, 0};

// Progress of a work record's lazily resolved type: a record met again while busy (a
// cycle) gives no_type.
enum : u8 {
    type_pending = 0,
    type_busy = 1,
    type_done = 2,
};

struct ResolveHooks {
    void* context;
    // The type a variable record's declaration resolved to (variables of every kind).
    TypeInfo (*variable_type)(void* context, i32 index);
    // The member scope of a struct, namespace or enum record; -1 when it has none.
    i32 (*scope_of_record)(void* context, u8 kind, i32 index);
    // What a typedef (or using) record names; no_type when unknown.
    TypeInfo (*alias_target)(void* context, u8 kind, i32 index);
};

struct ResolveContext {
    ParseState* p;
    AnalysisResult* result;
    ScopeStack* stack;
    const u8* token_kind_of;  // TokenKind of each SymbolKind (symbol_kind_count entries)
    ResolveHooks hooks;
    // Optional filter of the names declared anywhere (one bit per name hash, set by
    // cfam_note_declared_name): a name whose bit is clear is found nowhere, so its lookup
    // needs no walk up the scopes. Null: every lookup walks.
    u64* declared_names;
};

// Bits of the declared-name filter.
constexpr i64 declared_name_bits = 1 << 20;
// Turns the filter on (pool_parser); from then on every declaration must be noted.
void cfam_enable_name_filter(ResolveContext* r);
void cfam_note_declared_name(ResolveContext* r, StringView name);

// Typedef chains longer than this resolve to nothing (cycles end too).
constexpr i32 alias_chain_limit = 9;

// The symbol `name` in `scope`, then (with allow_parent) in each enclosing scope up to
// the root; null when it is nowhere.
const Symbol* cfam_find_symbol(const ResolveContext* r, i32 scope, StringView name, bool allow_parent);
// The type info of a found symbol: the symbol itself for types and namespaces, the
// declared type for variables, the function record for procedures.
TypeInfo cfam_type_of_symbol(ResolveContext* r, const Symbol* symbol);
// Looks the token's name up (cfam_find_symbol); when found colours it in the current file
// with the symbol's TokenKind, notes the use, and gives its type info.
TypeInfo cfam_resolve_name_token(ResolveContext* r, i32 scope, i64 token, bool allow_parent);
// The scope whose members may follow the type: a struct's, a namespace's, an enum's
// (its enumerators' scope), through typedef chains; -1 when there is none.
i32 cfam_member_scope(ResolveContext* r, TypeInfo type);
// The member named by the token `name` after the access operator `op` ("." "->" "::")
// applied to a value of `type`: looked up among cfam_member_scope(type) alone; no_type when
// there is no such scope or name. With note_range the cursor range from just after the
// operator to the end of the name offers that scope's members.
TypeInfo cfam_resolve_member_access(ResolveContext* r, TypeInfo type, i64 op, i64 name, bool note_range);
// The cursor range between a call's parentheses (tokens open and close), offering the
// signatures of the function record `function`; with no close (-1) the range runs to where
// the unclosed argument list plausibly ends (unclosed_call_end).
void cfam_note_call_range(ResolveContext* r, i64 open, i64 close, i32 function);
// Declares every member of cfam_member_scope(type) again, same kind and value, into the
// current scope (nothing when that is the current scope already).
void cfam_import_scope(ResolveContext* r, TypeInfo type);
// The lazily resolved type of record `index` of a work list whose records carry `token`
// and `state`: the field `type` once worked out by `work` in the record's own file. A
// record met again while busy (a cycle) gives what the field holds meanwhile. The list is
// indexed anew after `work`, which may append to it.
template <typename Analysis, typename Record>
TypeInfo cfam_lazy_record_type(Analysis* a, Array<Record>* list, i32 index, TypeInfo Record::*type,
                          TypeInfo (*work)(Analysis* a, const Record& record)) {
    if (index < 0 || index >= list->count) return no_type;
    Record r = (*list)[index];
    if (r.state != type_pending) return r.*type;
    (*list)[index].state = type_busy;
    i64 file = cfam_switch_current_file(&a->p, r.token);
    TypeInfo t = work(a, r);
    a->p.current_file = file;
    (*list)[index].*type = t;
    (*list)[index].state = type_done;
    return t;
}

// Declares `name` (a token) in `scope` and colours it with the kind's TokenKind;
// returns the existing symbol when the key was declared before.
Symbol* cfam_declare_token(ResolveContext* r, u8 kind, i32 value, i32 scope, i64 token);
