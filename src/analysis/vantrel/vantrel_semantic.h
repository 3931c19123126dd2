#pragma once
// State of the vantrel declaration and resolution passes: the work lists that the
// declaration pass fills and the resolution passes walk, the context stack, and type
// records. Everything lives in pool_parser for one pass.
#include "analysis/parse_state.h"
#include "analysis/symbols.h"
#include "analysis/vantrel/vantrel_nodes.h"

// Name spaces of the symbol table (the Symbol flag).
enum : u8 {
    vns_value = 0,
    vns_type = 1,
};

enum VTypeCategory : u8 {
    vtype_unknown = 0,  // not resolved: fits anywhere
    vtype_builtin,      // target: the type keyword's code
    vtype_struct,       // target: index in structs
    vtype_enum,         // target: index in enums
    vtype_handle,       // target: index in handles
    vtype_alias,        // target: index in aliases
    vtype_template,     // target: index in template_params; fits anywhere
    vtype_proc,         // target: index in procs, or -1 for a procedure type
};

// A type: category and target, plus the array levels (`arrays`, a parameter may have
// more than its argument) and pointer levels (`pointers`, must agree).
struct VType {
    u8 category;
    u8 arrays;
    u8 pointers;
    i32 target;
};

enum : u8 {
    vstate_pending = 0,
    vstate_busy = 1,
    vstate_done = 2,
};

struct VVar {
    VExpr* type_expr;  // null: `type` is given (enum members, "this", typeless loop variables)
    VExpr* init;       // initialiser or parameter default
    i64 name;          // token, -1 for the implicit "this"
    i32 scope;
    u8 kind;           // SymbolKind
    u8 has_using;
    u8 is_enum_member;
    u8 state;
    VType type;
};

struct VProcRecord {
    VProc* node;
    i32 scope;          // the procedure's own scope
    i32 struct_index;   // -1 unless a method
    i32 this_var;       // -1 unless a method
    Array<i32> params;  // var indexes, without "this"
    u8 return_state;
    VType return_type;
};

struct VStructRecord {
    VStruct* node;
    i32 scope;  // member scope
};

struct VEnumRecord {
    VEnum* node;
    i32 scope;  // the enclosing scope (members live there)
    u8 state;
    VType underlying;
};

// An "alias" or "handle" entry.
struct VTypeRecord {
    VTypeEntry entry;
    i32 scope;
    u8 state;
    VType type;
};

struct VUsingRecord {
    Array<VExpr*> list;
    i32 scope;
};

struct VTemplateRecord {
    VTemplateParam* node;
    i32 scope;
};

struct VContext {
    i32 scope;
    i32 struct_index;  // the struct whose members are declared, -1 outside one
    u8 member, parameter, local;
};

struct VantrelAnalysis {
    ParseState* p;
    AnalysisJob* job;
    AnalysisResult* result;
    Array<VItem*> items;
    Array<VVar> vars;
    Array<VProcRecord> procs;
    Array<VStructRecord> structs;
    Array<VEnumRecord> enums;
    Array<VTypeRecord> aliases;
    Array<VTypeRecord> handles;
    Array<VUsingRecord> usings;
    Array<VTemplateRecord> template_params;
    Array<VContext> contexts;
    i32 depth;          // recursion depth of the resolution
    i64 imported;       // symbols brought in by "using" so far (bounded)
};

// Deep trees (the parser bounds them) and chains of declared types resolved on first use
// stop here rather than exhaust the stack.
constexpr i32 vnt_resolve_depth_limit = 2 * max_nesting_depth + 64;
// Whether a type resolved on first use may be resolved now; otherwise a later pass does.
inline bool vnt_can_descend(const VantrelAnalysis* a) { return a->depth < vnt_resolve_depth_limit - 8; }

void vantrel_analysis_init(VantrelAnalysis* a, ParseState* p, AnalysisJob* job);
void vantrel_declare_items(VantrelAnalysis* a);
void vantrel_resolve_all(VantrelAnalysis* a);
// Fills each signature's text and colours from its procedure's head (after colouring).
void vantrel_fill_signatures(VantrelAnalysis* a);

// --- shared by the declaration and resolution files ---

// TokenKind of a SymbolKind (0 for kinds vantrel does not use).
u8 vantrel_colour_of_symbol(u8 kind);
bool vnt_token_in_document(const VantrelAnalysis* a, i64 token);
// Name of the scopes of procedures and blocks: the path of the token's file, so that
// the editor offers their members where the cursor is.
StringView vnt_file_name_of(const VantrelAnalysis* a, i64 token);
i64 vnt_token_offset(const VantrelAnalysis* a, i64 token);
StringView vnt_token_text(const VantrelAnalysis* a, i64 token);
void vnt_colour(VantrelAnalysis* a, i64 token, u8 kind);
// Notes that the name token resolved to `s` (go to definition, uses).
void vnt_note_use(VantrelAnalysis* a, i64 token, const Symbol* s);
// Declares `name` (a token) and colours it; returns the existing symbol when one is there.
Symbol* vnt_declare(VantrelAnalysis* a, u8 kind, i32 value, i32 scope, i64 name);
// Declares one variable record and its symbol; returns its index.
i32 vnt_declare_variable(VantrelAnalysis* a, VVar var);
// Looks a name up from `scope` outwards, first in `ns`, then in the other name space.
const Symbol* vnt_lookup(const VantrelAnalysis* a, i32 scope, u8 ns, StringView name);
// Brings the symbols of `from` into `to` (a "using").
void vnt_import_scope(VantrelAnalysis* a, i32 from, i32 to);

// Types (vantrel_types.cpp).
VType vnt_var_type(VantrelAnalysis* a, i32 var);
VType vnt_return_type(VantrelAnalysis* a, i32 proc);
VType vnt_expand(VantrelAnalysis* a, VType t);
bool vnt_compatible(VantrelAnalysis* a, VType parameter, VType argument);
// The member scope of a type (a struct's), or -1.
i32 vnt_member_scope(VantrelAnalysis* a, VType t);
VType vnt_type_of_symbol(VantrelAnalysis* a, const Symbol* s);

// Resolution of expressions (vantrel_resolve_expressions.cpp).
struct VValue {
    VType type;
    i32 proc;      // the procedure named, -1 for none
    u8 is_type;    // the expression names a type
    u8 has_object; // a procedure reached through a value ("v.f"): the value is `object`
    VType object;
};
VValue vnt_resolve_expr(VantrelAnalysis* a, VExpr* e, i32 scope, u8 ns);
inline VType vnt_resolve_type(VantrelAnalysis* a, VExpr* e, i32 scope) {
    return vnt_resolve_expr(a, e, scope, vns_type).type;
}
// Chooses among a procedure and its overloads for the argument types (an empty entry
// has category 0xFF); `with_object`: the first argument is the object of a method call.
i32 vnt_choose_overload(VantrelAnalysis* a, i32 proc, const VType* args, i64 count, bool with_object);
constexpr u8 vtype_empty_argument = 0xFF;
