#pragma once
// The C/C++ declaration and resolution passes: declare every name into scopes and the
// symbol table, build the document's outline, then resolve types, expressions and
// function bodies, colouring each identifier by the symbol it names.
#include "analysis/cpp/cpp_state.h"

// Work lists, scope stack and the resolution hooks; the root scope must exist.
void cpp_semantic_init(CppAnalysis* a);
// The declaration pass over the top-level items (outline rows on).
void cpp_declare_items(CppAnalysis* a);
// Declares one node of kinds 0 to 6 in the current scope (kind 7 does nothing).
void cpp_declare_node(CppAnalysis* a, CppNode* node);
// Resolution passes: variables, structs, enums, usings, typedefs, function return types.
void cpp_resolve_passes(CppAnalysis* a);
// The bodies phase: every function body is walked.
void cpp_bodies_phase(CppAnalysis* a);

// Declares each named declarator of a chain as a variable of the kind the current scope
// asks for; in the bodies phase each is resolved at once.
void cpp_declare_declaration(CppAnalysis* a, CppDeclaration* d);
// Walks an expression or type from `scope`: looks names up, colours them, and gives the
// type of the whole.
TypeInfo cpp_resolve_expression(CppAnalysis* a, CppExpr* e, i32 scope);
inline TypeInfo cpp_resolve_type(CppAnalysis* a, CppExpr* e, i32 scope) { return cpp_resolve_expression(a, e, scope); }
// Resolves everything of a declarator that is not its name: type, bounds, parameters,
// initialiser (the type is resolved once; the result is returned).
void cpp_resolve_declarator_parts(CppAnalysis* a, CppDeclaration* d, i32 scope);
void cpp_walk_statement(CppAnalysis* a, CppStmt* s);
// A lambda's parameters and body, in a scope of their own below `scope`.
void cpp_walk_lambda(CppAnalysis* a, CppLambda* lambda, i32 scope);

// Lazily resolved types of the work records (a record met while busy gives no_type).
TypeInfo cpp_variable_type(CppAnalysis* a, i32 index);
TypeInfo cpp_function_return_type(CppAnalysis* a, i32 index);
TypeInfo cpp_typedef_target(CppAnalysis* a, i32 index);
TypeInfo cpp_using_target(CppAnalysis* a, i32 index);

// True when the token belongs to the requested document.
bool cpp_in_document(const CppAnalysis* a, i64 token);
// Path of the token's file (scopes of blocks are named by it).
StringView cpp_file_path_of(const CppAnalysis* a, i64 token);
i64 cpp_offset_of(const CppAnalysis* a, i64 token);
