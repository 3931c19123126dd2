#pragma once
// Syntax records of the GLSL parser. Everything lives in pool_parser for one pass and
// refers to tokens by their index in the pass's token list; -1 marks an absent token,
// null an absent part.
//
// As in the C/C++ records, long runs are flat: the operands of a run of operators of one
// level are one list, and a primary with its member, index and call operations is one
// chain, so that walking them needs no deep recursion.
#include "analysis/c_family/records.h"
#include "core/array.h"
#include "core/types.h"

struct GlslExpr;
struct GlslStmt;
struct GlslNode;

enum GlslExprKind : u8 {
    gexpr_name,         // token: the identifier
    gexpr_literal,      // token: number, string, character, true or false
    gexpr_binary,       // list: the operands of one run of one level; ops: the operator tokens
    gexpr_conditional,  // a ? b : c
    gexpr_prefix,       // op a
    gexpr_chain,        // a followed by the postfix operations in `post`
    gexpr_paren,        // ( a )
};

enum GlslPostfixKind : u8 {
    gpost_member,     // "." name
    gpost_index,      // "[" args "]"
    gpost_call,       // "(" args ")"
    gpost_increment,  // "++" or "--"
};

struct GlslPostfix {
    u8 kind;
    i64 token;  // the operator token
    i64 name;   // member: the name token, -1 when missing
    i64 close;  // closing token of an index or call, -1 when missing
    Array<GlslExpr*> args;
};

struct GlslExpr {
    u8 kind;
    u16 op;
    i64 token;  // first token (names: the identifier)
    GlslExpr* a;
    GlslExpr* b;
    GlslExpr* c;
    Array<GlslExpr*> list;   // binary: operands in source order
    Array<i64> ops;          // binary: operator tokens, one between each two operands
    Array<GlslPostfix> post; // chain
};

// One "name = value" of a layout list (value null when there is none).
struct GlslLayoutItem {
    i64 name;
    GlslExpr* value;
};

// One declarator; further declarators sharing the type are chained through `next`.
struct GlslDeclaration {
    i64 first;                      // first token of the declaration
    u32 storage;                    // gstore_ bits of the storage words met
    Array<GlslLayoutItem> layout;   // shared by the chain
    GlslExpr* type;                 // shared by the chain
    i64 name;                       // identifier token, -1 for an unnamed parameter
    Array<GlslExpr*> sizes;         // "[n]" after the name
    GlslExpr* init;                 // initialiser, or null
    GlslDeclaration* next;
};

enum : u32 {
    gstore_attribute = 1,
    gstore_in = 2,
    gstore_out = 4,
    gstore_uniform = 8,
    gstore_varying = 16,
};

struct GlslBlock {
    i64 open, close;  // brace tokens (-1 missing / single statement)
    Array<GlslStmt*> statements;
};

struct GlslFunction {
    i64 first;         // first token of the item: the signature starts here
    i64 head_end;      // the signature ends before this token
    i64 name;          // identifier token
    GlslExpr* return_type;
    Array<GlslDeclaration*> params;
    GlslBlock* body;   // null for a prototype
};

struct GlslStruct {
    i64 name;                   // token, -1 when unnamed
    u8 has_body;
    u8 is_block;                // an interface block: "uniform Name { ... }"
    Array<GlslNode*> members;
    i64 open, close;
    // The instances named after the "}" ("uniform Block { ... } instance;",
    // "struct S { ... } a, b;"), chained through `next`; null when none.
    GlslDeclaration* instance;
};

enum GlslNodeKind : u8 {
    glsl_node_variable = 0,
    glsl_node_function = 1,
    glsl_node_struct = 2,
};

struct GlslNode {
    i64 token;  // first token: line and offset of the item
    u8 kind;
    union {
        GlslDeclaration* variable;
        GlslFunction* function;
        GlslStruct* structure;
    };
};

enum GlslStmtKind : u8 {
    gstmt_block,        // body
    gstmt_expression,   // expr
    gstmt_declaration,  // decl
    gstmt_if,           // conditions[i] / blocks[i] for the if and each else-if; else_body
    gstmt_for,          // init, expr (condition), expr2 (step), body
    gstmt_for_range,    // decl, expr (range), body
    gstmt_while,        // expr, body
    gstmt_do,           // body, expr
    gstmt_switch,       // expr, body
    gstmt_case,         // expr
    gstmt_jump,         // break, continue, default
    gstmt_return,       // expr (may be null)
    gstmt_item,         // item: a struct declared inside a body
};

struct GlslStmt {
    u8 kind;
    i64 token;
    GlslExpr* expr;
    GlslExpr* expr2;
    GlslDeclaration* decl;
    GlslStmt* init;
    GlslBlock* body;
    GlslBlock* else_body;
    GlslNode* item;
    Array<GlslExpr*> conditions;
    Array<GlslBlock*> blocks;
};
