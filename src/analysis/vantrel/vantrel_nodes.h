#pragma once
// Syntax tree records of the vantrel parser. Nodes live in pool_parser and refer to
// tokens by their index in the pass's token list (which gives file, line and offset);
// -1 marks a token that is absent. A part that failed to parse is a null pointer.
#include "core/array.h"
#include "core/string_view.h"
#include "core/types.h"

struct VExpr;
struct VBlock;
struct VStmt;
struct VItem;

enum VExprKind : u8 {
    vexpr_name,          // token: the identifier
    vexpr_type_keyword,  // token: "int", "real", ...
    vexpr_literal,       // token: number, string, character, true/false/null, src_*
    vexpr_paren,         // a
    vexpr_array,         // list: the elements
    vexpr_proc_type,     // list: parameter types; a: return type
    vexpr_compound,      // a: type; tokens: member names; list: their values (null: none)
    vexpr_binary,        // list: operands; tokens: the operators between them
    vexpr_prefix,        // op: "!", "&", "*" or "-"; a: operand
    vexpr_keyword_op,    // op: size_of, align_of, ... inline, no_inline; a: operand
    vexpr_cast,          // op: cast or transmute; a: type (may be null); b: operand
    vexpr_take,          // a: the parenthesised expression; b: operand
    vexpr_path,          // a: base; tokens: pairs (".", name), name -1 when missing
    vexpr_index,         // a: base; b: index (null for "[]")
    vexpr_slice,         // a: base; b: from; c: to
    vexpr_call,          // a: callee; list: arguments (null: empty entry); open/close: "(" ")"
    vexpr_pointer,       // a: the pointed-to type
};

struct VExpr {
    u8 kind;
    u16 op;
    i64 token;  // first token
    VExpr* a;
    VExpr* b;
    VExpr* c;
    Array<VExpr*> list;
    Array<i64> tokens;
    i64 open, close;  // calls: "(" and ")" (-1 when the ")" is missing)
};

// Variable declarations (also parameters and fields).
enum : u8 {
    vmod_static = 1,
    vmod_const = 2,
    vmod_foreign = 4,
    vmod_export = 8,
    // procedures
    vmod_direct = 16,
    vmod_symmetric = 32,
    vmod_inline = 64,
    vmod_no_inline = 128,
};

struct VVarName {
    i64 name;  // identifier token
    u8 has_using;
    u8 uninitialised;  // "= --"
    VExpr* init;
};

struct VVarDecl {
    i64 token;
    u8 modifiers;
    VExpr* type;  // shared with the previous parameter when a parameter has none
    Array<VVarName> names;
};

struct VIfArm {
    VExpr* condition;
    VBlock* block;
};

struct VCaseArm {
    Array<VExpr*> values;  // empty for the "else" arm
    VBlock* block;
    u8 is_else;
};

struct VFor {
    VExpr* type;
    i64 name;  // loop variable, -1 for none
    VExpr* start;
    VExpr* end;
    VExpr* step;
    u8 inclusive;
    u8 downward;
    VBlock* body;
};

struct VBlock {
    i64 open;   // "{"
    i64 close;  // "}", or the token where the block stopped when it is missing
    Array<VStmt*> statements;
};

enum VStmtKind : u8 {
    vstmt_expression = 0,
    vstmt_assignment = 1,
    vstmt_variable = 2,
    vstmt_using = 3,
    vstmt_block = 4,
    vstmt_if = 5,
    vstmt_while = 6,
    vstmt_do = 7,
    vstmt_for = 8,
    vstmt_switch = 9,
    vstmt_break = 10,
    vstmt_break_label = 11,
    vstmt_continue = 12,
    vstmt_continue_label = 13,
    vstmt_return = 14,
    vstmt_return_value = 15,
    vstmt_exit = 16,
};

struct VStmt {
    u8 kind;
    i64 token;
    i64 label;     // -1 for none
    VExpr* expr;   // expression, condition, returned value, label of break/continue, left side
    VBlock* block; // block, loop body, else block
    VVarDecl* decl;
    Array<VExpr*> list;  // "using" entries; right-hand sides of an assignment chain
    Array<i64> ops;      // assignment operators
    Array<VIfArm> arms;  // "if" and "else if"
    Array<VCaseArm> cases;
    VFor* loop;
};

struct VTemplateParam {
    i64 name;
    VExpr* default_type;
};

struct VProc {
    i64 first;      // first token (modifiers included)
    i64 name;       // name token (the first of "[" "]"), -1 when missing
    StringView name_text;
    u8 modifiers;
    Array<VTemplateParam> template_params;
    Array<VVarDecl*> params;
    VExpr* return_type;
    VBlock* body;   // null for a declaration
    i64 head_end;   // the ";" or "{" that ends the head (or where parsing stopped)
};

struct VStruct {
    i64 name;  // -1 for an anonymous struct or union
    u8 is_union;
    Array<VTemplateParam> template_params;
    Array<VItem*> members;
    i64 open, close;
};

struct VEnumMember {
    i64 name;
    VExpr* value;
};

struct VEnum {
    i64 name;
    VExpr* underlying;
    Array<VEnumMember> members;
};

// One "alias" or "handle" entry.
struct VTypeEntry {
    i64 name;
    VExpr* type;
};

enum VItemKind : u8 {
    vitem_variable,
    vitem_procedure,
    vitem_struct,
    vitem_enum,
    vitem_using,
    vitem_alias,
    vitem_handle,
};

struct VItem {
    u8 kind;
    i64 token;
    VVarDecl* var;
    VProc* proc;
    VStruct* record;
    VEnum* enumeration;
    Array<VExpr*> usings;
    Array<VTypeEntry> entries;
};
