#pragma once
// The GLSL declaration and resolution passes: the built-in table, then the document's
// structs, functions and variables, then types, initialisers and function bodies, each
// identifier coloured by the symbol it names.
#include "analysis/glsl/glsl_state.h"

constexpr i64 glsl_builtin_type_count = 120;
constexpr i64 glsl_builtin_variable_count = 177;
constexpr i64 glsl_builtin_function_count = 203;
extern const StringView glsl_builtin_types[glsl_builtin_type_count];
extern const StringView glsl_builtin_variables[glsl_builtin_variable_count];
extern const StringView glsl_builtin_functions[glsl_builtin_function_count];

// Declares the built-in types, variables and functions in the root scope, in that order
// (flag 0; a type's value is its index in glsl_builtin_types, the others' 0; no rows, no
// work records).
void glsl_declare_builtins(AnalysisResult* result);
// The member named by the token `name` after the "." token `op` applied to a value of the
// built-in type `type`: a vector's components, one to four of one set (x y z w, r g b a,
// s t p q) within its size, give a vector of as many elements (one: its scalar). With
// note_range the cursor range after the "." offers the vector's components, or nothing
// for any other built-in type.
// The built-in type with exactly this name, no_type when there is none.
TypeInfo glsl_builtin_type_named(StringView name);
TypeInfo glsl_builtin_member_access(GlslAnalysis* a, TypeInfo type, i64 op, i64 name, bool note_range);

// Work lists, scope stack and the resolution hooks; the root scope must exist.
void glsl_semantic_init(GlslAnalysis* a);
// The declaration pass over the top-level items (outline rows on).
void glsl_declare_items(GlslAnalysis* a);
void glsl_declare_node(GlslAnalysis* a, GlslNode* node);
// Declares each named declarator of a chain as a variable of the kind the current scope
// asks for; in the bodies phase each is resolved at once.
void glsl_declare_declaration(GlslAnalysis* a, GlslDeclaration* d);
// Resolution passes: variables (type, then initialiser), then function return types.
void glsl_resolve_passes(GlslAnalysis* a);
// The bodies phase: every function body is walked.
void glsl_bodies_phase(GlslAnalysis* a);

// Walks an expression or type from `scope`: looks names up, colours them, and gives the
// type of the whole.
TypeInfo glsl_resolve_expression(GlslAnalysis* a, GlslExpr* e, i32 scope);
// Everything of a declarator but its type: layout values, array sizes, initialiser.
void glsl_resolve_declarator_parts(GlslAnalysis* a, GlslDeclaration* d, i32 scope);
void glsl_walk_statement(GlslAnalysis* a, GlslStmt* s);

// Lazily resolved types of the work records (a record met while busy gives no_type).
TypeInfo glsl_variable_type(GlslAnalysis* a, i32 index);
TypeInfo glsl_function_return_type(GlslAnalysis* a, i32 index);

i64 glsl_offset_of(const GlslAnalysis* a, i64 token);
