#pragma once
// CppAnalysis: the whole state of one C/C++ pass — the parse state over the tokens of
// every lexed file, the top-level nodes, and the work lists, scope stack and phase of
// the declaration and resolution passes. Everything lives in pool_parser.
#include "analysis/analysis_job.h"
#include "analysis/c_family/resolve_helpers.h"
#include "analysis/c_family/signatures.h"
#include "analysis/cpp/cpp_nodes.h"

struct CppVariable {
    i64 token;              // the declared name (or the declaration's first token)
    CppDeclaration* decl;   // null for enumerators and names after a struct's "}"
    i32 scope;              // where it was declared
    u8 kind;                // SymbolKind
    u8 state;
    TypeInfo type;          // preset for enumerators and trailing names
};

struct CppFunctionRecord {
    i64 token;              // first token of the item
    CppFunction* node;
    i32 scope;              // the function's own scope
    i32 parent;             // the scope it was declared in
    u8 state;
    TypeInfo return_type;
    TypeInfo this_type;     // the class of a method, found in the bodies phase
    Array<i32> overloads;   // signatures of the same name in the same scope (first record only)
    CachedHeadKey head;
};

struct CppStructRecord {
    i64 token;
    CppStruct* node;
    i32 scope;         // where it was declared
    i32 member_scope;  // the scope of its members
};

struct CppEnumRecord {
    i64 token;
    CppEnum* node;
    i32 scope;            // where it was declared
    i32 enumerator_scope; // its own scope when scoped, else `scope`
};

struct CppTypedefRecord {
    i64 token;            // the typedef's name
    CppDeclaration* decl; // null when the target is preset (typedef struct S {...} T)
    i32 scope;
    u8 state;
    TypeInfo target;
};

struct CppUsingRecord {
    i64 token;
    CppUsing* node;
    i32 scope;
    u8 state;
    TypeInfo target;
};

struct CppNamespaceRecord {
    i64 token;
    CppNamespace* node;
    i32 scope;  // its members' scope
};

struct CppSplit {
    i64 index;
    Token original;
};

struct CppAnalysis {
    ParseState p;
    AnalysisJob* job;
    AnalysisResult* result;
    bool c_mode;
    Array<CppNode*> top_level_items;
    // Declaration and resolution.
    Array<CppVariable> variables;
    Array<CppFunctionRecord> functions;
    Array<CppStructRecord> structs;
    Array<CppEnumRecord> enums;
    Array<CppTypedefRecord> typedefs;
    Array<CppUsingRecord> usings;
    Array<CppNamespaceRecord> namespaces;
    ScopeStack scope_stack;
    ResolveContext resolve;
    u8 bodies_phase;
    u8 declaring_rows;     // outline rows are made (the declaration pass proper)
    i32 current_function;  // in the bodies phase, -1 outside a function
    i32 current_struct;    // while a struct's members are declared, -1 outside one
    i32 resolve_depth;     // recursion depth of the resolution walk
    // Per token (cpp_token_tables.h): the partner of a bracket, whether a "{" holds
    // statements, and the remembered answer of cpp_template_arguments_follow (0 not yet
    // asked, 1 yes, 2 no).
    i32* bracket_match;
    u8* braces_with_statements;
    u8* template_guess;
    // Per token: the first ">" or ">>" at or after it; a "<" with none before the next
    // ";", "{" or "}" opens no template arguments, told without a scan ("a<" repeated).
    i32* next_angle_close;
    // Per "<" of a template parameter list whose parse failed: where it ended (0 not
    // failed), so that retrying items from each later token costs nothing more.
    i32* failed_parameter_lists;
    // Tokens given back by abandoned tentative parses, and the most the pass may give
    // back (a multiple of its tokens): past it, no more alternatives are tried, so that
    // nested ambiguous shapes ("int f(int (" repeated) cost linear time, not exponential.
    i64 backtracked;
    i64 backtrack_budget;
    // ">>" tokens split into ">" (index and original), so that tentative parses that
    // are abandoned can put them back.
    Array<CppSplit> splits;
};

// The C/C++ TokenKind of each SymbolKind.
extern const u8 cpp_token_kind_of_symbol[symbol_kind_count];
