#pragma once
// The vantrel parser: trees of the pass's token list, one per top-level item. Errors
// never produce messages; they only move the parser on (record_error, recoveries).
#include "analysis/parse_state.h"
#include "analysis/vantrel/vantrel_nodes.h"

// Runs the top-level driver over p->tokens, appending every item to `items`.
void vantrel_parse_tokens(ParseState* p, Array<VItem*>* items);

// --- shared by the parser's files ---

// Expression flags.
enum : u32 {
    vflag_type = 1,       // a type expression: "*" after it is always a pointer
    vflag_no_equal = 2,   // right side of an assignment: "=" is not a comparison
    vflag_condition = 4,  // condition of if / else if / while: "*" is not an operator
    vflag_no_call = 8,    // the type of a compound literal: "(" starts the initialisers
};

// Counts an error; past 1,048,576 errors the position is forced one token on.
void vnt_count_error(ParseState* p);
// Counts an error and, unless already recovering, runs the statement recovery.
void vnt_record_error(ParseState* p);
// Consumes the token `code`, or counts an error and runs the expectation recovery
// (consuming `code` when the recovery stops on it). True when `code` was consumed.
bool vnt_expect(ParseState* p, u16 code);
// The same for an identifier: the index of the consumed identifier, or -1.
i64 vnt_expect_identifier(ParseState* p);
// Recursion guard: false (an error recorded) when nesting is too deep.
bool vnt_enter(ParseState* p);
inline void vnt_leave(ParseState* p) { p->depth--; }

inline u16 code_at(const ParseState* p, i64 index) { return token_at(p, index).code; }
inline u16 next_code(const ParseState* p) { return token_at(p, p->pos + 1).code; }
bool vnt_is_type_keyword(u16 code);
// Tokens that can begin an operand (a prefix-level expression).
bool vnt_can_begin_operand(u16 code);
bool vnt_is_assignment_op(u16 code);
// Operator text of a token code: "+", "+=", "++", "<<=", or empty.
StringView vnt_operator_text(u16 code);

template <typename T>
inline T* vnt_new() {
    T* node = (T*)pool_alloc(pool_parser, (i64)sizeof(T));
    memset((void*)node, 0, sizeof(T));
    return node;
}
template <typename T>
inline Array<T> vnt_array() {
    return Array<T>{nullptr, 0, 0, pool_parser};
}
VExpr* vnt_expr(ParseState* p, u8 kind);  // at the current token

VExpr* vnt_parse_expression(ParseState* p, u32 flags);  // level 0
VExpr* vnt_parse_prefix(ParseState* p, u32 flags);      // level 4
VExpr* vnt_parse_postfix(ParseState* p, u32 flags);     // level 5
inline VExpr* vnt_parse_type(ParseState* p) { return vnt_parse_postfix(p, vflag_type); }
VVarDecl* vnt_parse_var_decl(ParseState* p);
VBlock* vnt_parse_block(ParseState* p);
VStmt* vnt_parse_statement(ParseState* p);
VItem* vnt_parse_item(ParseState* p);
// "using" entries: prefix-level expressions separated by ",".
Array<VExpr*> vnt_parse_using_list(ParseState* p);
