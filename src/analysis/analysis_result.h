#pragma once
// The record every language's analysis fills and the editor and workbench read: plain
// data (names, kinds, positions), no widgets, textures or colours.
#include "core/array.h"
#include "core/hash.h"

enum SymbolKind : u8 {
    symbol_none = 0,
    symbol_struct = 1,
    symbol_enum = 2,
    symbol_handle = 3,
    symbol_alias = 4,
    symbol_template_parameter = 5,
    symbol_procedure = 6,
    symbol_member = 7,
    symbol_global = 8,
    symbol_local = 9,
    symbol_parameter = 10,
    symbol_namespace = 11,
    symbol_using = 12,
    symbol_typedef = 13,
    symbol_builtin_type = 14,
    symbol_builtin_variable = 15,
    symbol_builtin_function = 16,
    symbol_kind_count = 17,
};

struct Scope {
    StringView name;
    i32 start;   // byte offset of the opening brace of the body in its file (-1: no place)
    i32 end;     // byte offset of the closing brace (-1: no place)
    u32 parent;  // enclosing scope; 0 for children of the root
    // One bit per declared name (scope_name_bit of its hash): a clear bit means the name
    // is not declared here, so a lookup climbing the scopes skips the table.
    u32 name_bits;
    Array<Symbol> members;
};
static_assert(sizeof(Scope) == 56, "Scope is a 56-byte record");

inline u32 scope_name_bit(u32 name_hash) { return 1u << (name_hash >> 27); }

// A place where the editor can offer help: a member access (is_call 0, target = scope,
// or -1 where a known type has no members to offer) or a call's argument list (is_call 1,
// target = signature).
struct CursorRange {
    i32 start;
    i32 end;
    i32 target;
    u8 is_call;
};
static_assert(sizeof(CursorRange) == 16, "CursorRange is a 16-byte record");

struct Signature {
    StringView text;
    StringView colours;     // one TokenKind byte per byte of text
    Array<i32> overloads;   // signatures to offer for a call of this function
};
static_assert(sizeof(Signature) == 56, "Signature is a 56-byte record");

// One row of the document's outline: a declaration, or the start or end of a group
// (a struct, a namespace) whose rows stand between them.
struct OutlineRow {
    StringView name;
    i32 line;         // 0-based
    u8 symbol_kind;   // SymbolKind: what it declares
    u8 token_kind;    // TokenKind of its colour in the result's language
    u8 is_group_start;
    u8 is_group_end;
};

// Where a name is declared: the pass's file (index into AnalysisResult::files), the name's
// byte offset, 0-based line and byte column. Declarations of one symbol (a prototype and
// its definition, overloads) are chained through `next` (-1 ends the chain).
struct DeclarationSite {
    StringView name;
    i32 file;
    i32 offset;
    i32 line;
    i32 column;
    i32 next;
    u8 symbol_kind;  // SymbolKind
};

// A name resolved to a declaration (the declaring name itself included): `site` is the
// first site of the symbol's chain, so every use of one symbol carries the same site.
struct NameUse {
    i32 file;
    i32 offset;
    i32 line;
    i32 column;
    i32 site;
};
static_assert(sizeof(NameUse) == 20, "NameUse is a 20-byte record");

struct AnalysisResult {
    Array<Scope> scopes;
    SymbolMap symbols;
    Array<OutlineRow> outline;
    Array<CursorRange> cursor_ranges;
    Array<Signature> signatures;
    // The files of the pass (files[0] is the analysed document), every declaration site,
    // and every resolved name, sorted by (file, offset).
    Array<StringView> files;
    Array<DeclarationSite> sites;
    Array<NameUse> uses;
    // Indices into uses ordered by site (then place): the uses of one declaration in a run.
    Array<i32> uses_by_site;
    // While a pass runs: pairs (site, site it stands for) of declarations found to be one
    // (a member function defined outside its class); uses are moved over at the end.
    Array<i32> site_redirects;
    // The document's path and its text's change count when the pass read it, so that
    // positions are used only while the text is the one analysed.
    StringView path;
    u64 text_changes;
    u8 language;  // language_vantrel, language_cpp or language_glsl: the token kinds' palette
    // TokenKind of each SymbolKind in that language; -1 where the language has none.
    i16 kind_tokens[symbol_kind_count];
};


