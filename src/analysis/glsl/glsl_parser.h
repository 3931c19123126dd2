#pragma once
// The GLSL parser: the C/C++ parser's design on a smaller grammar. It never reports an
// error; it recovers with the shared primitive steps (c_family/primitives.h) and the
// shared block and member-list loops (c_family/block_loops.h), and colours struct and
// function names by syntax alone.
#include "analysis/c_family/primitives.h"
#include "analysis/glsl/glsl_state.h"

// Runs the top-level driver over a->p.tokens into a->top_level_items.
void glsl_parse_tokens(GlslAnalysis* a);

// --- shared by the parser's files ---

// Where a declaration stands; decides whether its name may be missing.
enum : u8 {
    gdecl_item,       // file or struct level
    gdecl_statement,  // a declaration statement or the first part of "for"
    gdecl_parameter,  // a function parameter: the name may be missing
};

GlslNode* glsl_parse_top_level_item(GlslAnalysis* a);
GlslBlock* glsl_parse_block(GlslAnalysis* a);
GlslStmt* glsl_parse_statement(GlslAnalysis* a);
// Layout list, storage words, a type and one declarator (more: further ones after ",");
// null, with the position restored, when no declaration starts here.
GlslDeclaration* glsl_parse_declaration(GlslAnalysis* a, bool more, u8 context);
// Words that qualify a type but are no keywords ("const", "highp", "flat", "inout"):
// skipped before the type when a type and a name still follow them.
void glsl_skip_qualifier_words(GlslAnalysis* a);

// Levels 0 to 9 are the two-operand levels (loosest first), 10 the prefix operators,
// 11 a primary with its postfix operations, 12 a primary.
GlslExpr* glsl_parse_expression(GlslAnalysis* a, i32 level);
// A type: the primary and postfix level in type mode (an identifier, "[n]" suffixes).
GlslExpr* glsl_parse_type(GlslAnalysis* a);
