#pragma once
// GlslAnalysis: the whole state of one GLSL pass — the parse state over the document's
// tokens, the top-level nodes, and the work lists, scope stack and phase of the
// declaration and resolution passes. Everything lives in pool_parser.
#include "analysis/analysis_job.h"
#include "analysis/c_family/resolve_helpers.h"
#include "analysis/c_family/signatures.h"
#include "analysis/glsl/glsl_nodes.h"

struct GlslVariable {
    i64 token;              // the declared name (or the declaration's first token)
    GlslDeclaration* decl;  // null for an interface block's instance
    i32 scope;              // where it was declared
    u8 kind;                // SymbolKind, 0 when nothing was declared (unnamed parameter)
    u8 state;
    TypeInfo type;          // preset when decl is null
};

struct GlslFunctionRecord {
    i64 token;  // first token of the item
    GlslFunction* node;
    i32 scope;   // the function's own scope
    i32 parent;  // the scope it was declared in
    u8 state;
    TypeInfo return_type;
    CachedHeadKey head;
};

struct GlslStructRecord {
    i64 token;
    GlslStruct* node;
    i32 scope;         // where it was declared
    i32 member_scope;  // the scope of its members
};

struct GlslAnalysis {
    ParseState p;
    AnalysisJob* job;
    AnalysisResult* result;
    Array<GlslNode*> top_level_items;
    Array<GlslVariable> variables;
    Array<GlslFunctionRecord> functions;
    Array<GlslStructRecord> structs;
    ScopeStack scope_stack;
    ResolveContext resolve;
    u8 bodies_phase;
    u8 declaring_rows;  // outline rows are made (the declaration pass proper)
    i32 resolve_depth;  // recursion depth of the declaration and resolution walks
    // The scopes of the components of 2-, 3- and 4-element vectors, made when first
    // needed; 0 until then.
    i32 component_scopes[3];
};

// The GLSL TokenKind of each SymbolKind.
extern const u8 glsl_token_kind_of_symbol[symbol_kind_count];
