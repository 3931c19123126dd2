#pragma once
// Syntax records of the C/C++ parser. Everything lives in pool_parser for one pass and
// refers to tokens by their index in the pass's token list (which gives the file, line
// and byte offset); -1 marks an absent token, null an absent part.
//
// Long runs are kept flat so that walking them needs no deep recursion: the operands of
// a run of binary operators are one list, and a primary with its postfix operations
// (member access, "::", calls, indexes, template arguments) is one chain.
#include "analysis/c_family/records.h"
#include "core/array.h"
#include "core/types.h"

struct CppExpr;
struct CppStmt;
struct CppNode;
struct CppDeclaration;
struct CppLambda;

enum CppExprKind : u8 {
    cexpr_name,        // token: the identifier
    cexpr_literal,     // token: number, string, character, true/false/nullptr, "operator" names
    cexpr_this,        // token: "this"
    cexpr_type,        // a run of type keywords; a: the named part ("struct S", "typename T::x") or null
    cexpr_binary,      // list: the operands of one run of operators of one level
    cexpr_conditional, // a ? b : c
    cexpr_prefix,      // op a
    cexpr_chain,       // a followed by the postfix operations in `post`
    cexpr_paren,       // ( a )
    cexpr_cast,        // a: the type, b: the operand (null for a bare type in parentheses)
    cexpr_keyword_op,  // op: sizeof, alignof, typeid, decltype, noexcept, new, delete, throw, co_await,
                       // requires (its parameters and requirements are skipped)...
                       // a: operand or type; list: placement / constructor arguments
    cexpr_braced,      // list: the items of "{ ... }"
    cexpr_lambda,      // lambda
    cexpr_designator,  // ".name = a" in a braced list; token: the (first) name
};

enum CppPostfixKind : u8 {
    cpost_member,     // "." or "->" name
    cpost_scope,      // "::" name
    cpost_call,       // "(" args ")"
    cpost_index,      // "[" args "]"
    cpost_template,   // "<" args ">"
    cpost_braced,     // "{" args "}"
    cpost_increment,  // "++" or "--"
    cpost_pointer,    // pointer to member "C::*" 
};

// Token indices in the records that are made by the hundred thousand are 32-bit: a pass
// holds far fewer than 2^31 tokens (they live in a pool of 1 GB).
struct CppPostfix {
    u8 kind;
    u8 destructor;  // "::~name"
    i32 token;      // the operator token
    i32 name;       // member and scope: the name token, -1 when missing
    i32 close;      // the closing token of a group, -1 when missing
    Array<CppExpr*> args;
};

// Flag in `op` of names, type runs and chains: "*", "&" or "&&" followed the type.
constexpr u16 cexpr_pointer_marks = 0x8000;

struct CppExpr {
    u8 kind;
    u16 op;  // the operator of prefix, binary and keyword nodes; cexpr_pointer_marks
    i32 token;  // first token (names: the identifier)
    CppExpr* a;
    CppExpr* b;
    union {  // by kind: binary, keyword_op and braced use list; chain post; lambda lambda;
             // conditional c
        Array<CppExpr*> list;
        Array<CppPostfix> post;
        CppLambda* lambda;
        CppExpr* c;
    };
};

// Declaration specifiers remembered by the parser.
enum : u32 {
    cspec_static = 1,
    cspec_inline = 2,
    cspec_extern = 4,
    cspec_export = 8,
    cspec_virtual = 16,
    cspec_friend = 32,
    cspec_explicit = 64,
    cspec_mutable = 128,
    cspec_constexpr = 256,
    cspec_volatile = 512,
    cspec_typedef = 1024,
    cspec_macro_type = 2048,  // a macro with arguments stood for the return type: "EXPORT(int) f(...)"
};

// One parameter or argument of a declarator's "(...)": a declaration where one fits,
// else an expression (direct initialisation "T x(a, b)", macro noise).
struct CppParam {
    CppDeclaration* decl;
    CppExpr* expr;
};

// One declarator of a declaration; further declarators sharing the type and specifiers
// are chained through `next`.
struct CppDeclaration {
    i32 first;                // first token of the declaration
    i32 name;                 // identifier token, -1 when abstract
    u32 specifiers;
    u8 has_function;          // the declarator has a "(...)" suffix
    u8 nested_function;       // ... inside parentheses: "(*f(int))(char)" is a function f
    CppExpr* type;            // shared by the chain
    Array<i64> qualifiers;    // "A::B::name": the tokens of A and B (then nothing is declared)
    Array<CppExpr*> sizes;    // array bounds, bit-field width
    Array<CppParam> params;   // the "(...)" suffix
    CppExpr* init;            // initialiser, or null
    CppDeclaration* next;
};

struct CppTemplateParam {
    i64 name;        // -1 when unnamed
    CppExpr* type;   // value parameters: their type
    CppExpr* value;  // default
};

struct CppBlock {
    i32 open, close;            // brace tokens (-1 missing / single statement)
    Array<CppStmt*> statements;
};

struct CppInitializer {
    CppExpr* name;          // the member or base named
    Array<CppExpr*> args;
};

struct CppFunction {
    i64 first;              // first token of the item: the signature starts here
    i64 head_end;           // the signature ends before this token
    i64 name;               // the identifier token of the name, -1 for operators
    StringView name_text;   // "f", "~C", "operator[]", "<implicit conversion>"
    Array<i64> qualifiers;  // N and C of N::C::f
    u8 destructor;
    u8 variadic;
    u8 macro_declared;      // named and typed by a declaration macro's arguments
    u8 macro_call;          // no return type, no ";" and no body: a macro call ("X(a) X(b)")
    u32 specifiers;
    Array<CppTemplateParam> template_params;
    CppExpr* return_type;   // null for constructors, destructors, conversions and macro calls
    CppExpr* trailing_return;
    Array<CppParam> params;
    Array<CppInitializer> initializers;
    CppBlock* body;         // null for a prototype
};

struct CppStruct {
    u16 keyword;                 // code of "struct", "class" or "union"
    i64 name;                    // token, -1 when unnamed
    u8 is_typedef;
    u8 has_body;
    u32 specifiers;
    Array<CppTemplateParam> template_params;
    Array<CppExpr*> template_args;
    Array<CppExpr*> bases;
    Array<CppNode*> members;
    i64 open, close;
    CppDeclaration* trailing;    // declarators after "}" (the typedef names under typedef)
};

struct CppEnumerator {
    i64 name;
    CppExpr* value;
};

struct CppEnum {
    i64 name;
    u8 scoped;
    u8 is_typedef;
    CppExpr* underlying;
    Array<CppEnumerator> items;
    i64 open, close;
    CppDeclaration* trailing;
};

struct CppNamespace {
    i64 name;         // -1 when unnamed
    u8 transparent;   // extern "C" { ... }: members belong to the enclosing scope
    Array<CppNode*> members;
    i64 open, close;
};

struct CppUsing {
    u8 is_namespace;  // "using namespace X"
    u8 is_concept;    // "concept C = constraint": known by its name, lends no members
    i64 alias;        // "using A = ..." : the token of A, else -1
    CppExpr* target;
    CppUsing* next;
};

struct CppTypedef {
    CppDeclaration* decl;  // type and declarators (names) of the typedef
};

enum CppNodeKind : u8 {
    cpp_node_variable = 0,
    cpp_node_function = 1,
    cpp_node_struct = 2,
    cpp_node_enum = 3,
    cpp_node_namespace = 4,
    cpp_node_using = 5,
    cpp_node_typedef = 6,
    cpp_node_access = 7,
};

struct CppNode {
    i32 token;  // first token: file, line and offset of the item
    u8 kind;
    union {
        CppDeclaration* variable;
        CppFunction* function;
        CppStruct* structure;
        CppEnum* enumeration;
        CppNamespace* space;
        CppUsing* use;
        CppTypedef* alias;
    };
};

struct CppLambda {
    Array<CppParam> params;
    CppExpr* trailing_return;
    CppBlock* body;
};

enum CppStmtKind : u8 {
    cstmt_block,
    cstmt_expression,   // expr
    cstmt_declaration,  // decl
    cstmt_item,         // item: a struct, enum, typedef or using inside a body
    cstmt_if,           // conditions[i] / blocks[i] for the if and each else-if; else_body
    cstmt_for,          // init, expr (condition), expr2 (step), body
    cstmt_for_range,    // decl, expr (range), body
    cstmt_while,        // expr, body
    cstmt_do,           // body, expr
    cstmt_switch,       // init, expr or decl, body
    cstmt_try,          // body; catches (each a declaration with its block)
    cstmt_case,         // expr
    cstmt_jump,         // break, continue, goto, ";", labels, default
    cstmt_return,       // expr (may be null): return, throw, co_return, co_yield, co_await
    cstmt_delete,       // expr
};

struct CppCondition {
    CppExpr* expr;
    CppDeclaration* decl;  // "if (T x = ...)"
    CppStmt* init;         // "if (init; cond)", "switch (init; v)": a declaration or an expression
};

struct CppCatch {
    CppDeclaration* decl;
    CppBlock* body;
};

struct CppStmt {
    u8 kind;
    i32 token;
    CppExpr* expr;
    CppExpr* expr2;
    CppDeclaration* decl;
    CppStmt* init;
    CppBlock* body;
    CppBlock* else_body;
    CppNode* item;
    Array<CppCondition> conditions;
    Array<CppBlock*> blocks;
    Array<CppCatch> catches;
};
