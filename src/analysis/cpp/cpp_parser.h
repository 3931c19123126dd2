#pragma once
// The C/C++ parser: a recursive-descent parser meant for colouring. It never reports an
// error; it recovers from anything (c_family/primitives.h) and already colours the names it
// can classify by syntax alone. C mode knows no templates or lambdas.
#include "analysis/c_family/primitives.h"
#include "analysis/cpp/cpp_state.h"

// Runs the top-level driver over a->p.tokens into a->top_level_items.
void cpp_parse_tokens(CppAnalysis* a);

// --- shared by the parser's files ---

// Expression modes.
enum : u32 {
    cflag_type = 1,       // a type: "*" and "&" are pointer marks, no calls or braces
    cflag_template = 2,   // template arguments: ">" and ">>" close the list
    cflag_no_braces = 4,  // "{" after a name does not start an initialiser
};

// Where a declaration stands; decides what may follow its declarator.
enum : u8 {
    cdecl_statement,  // a declaration statement: needs a name and ";" "," "=" "{" after it
    cdecl_item,       // file, namespace or class level: anything may follow
    cdecl_parameter,  // the name may be missing; "," ")" "=" or "..." follows
    cdecl_condition,  // "if (T x = ...)": "=" or "{" follows
    cdecl_for,        // "for (T x ...": ";" "," "=" "{" or ":" follows
    cdecl_catch,      // "catch (T x)": the name may be missing; ")" follows
};

CppNode* cpp_parse_top_level_item(CppAnalysis* a);
CppNode* cpp_new_node(i64 token, u8 kind);
CppBlock* cpp_parse_block(CppAnalysis* a);
CppStmt* cpp_parse_statement(CppAnalysis* a);
// Specifiers, a type and one declarator (more: further ones after ","); null, with the
// position restored, when no declaration of that kind starts here.
CppDeclaration* cpp_parse_declaration(CppAnalysis* a, bool more, u8 context);
// Pointer marks, the name or a parenthesised declarator, array and "(...)" suffixes.
bool cpp_parse_declarator(CppAnalysis* a, CppDeclaration* d, u8 context);
CppUsing* cpp_parse_using(CppAnalysis* a);
CppTypedef* cpp_parse_typedef(CppAnalysis* a);
// "<" parameters ">"; the current token must be "<".
void cpp_parse_template_parameters(CppAnalysis* a, Array<CppTemplateParam>* out);
// "<" arguments ">"; the current token must be "<".
void cpp_parse_template_arguments(CppAnalysis* a, Array<CppExpr*>* out);
// Consumes a ">" closing template brackets; a ">>" is split and its second half left.
bool cpp_expect_template_close(CppAnalysis* a);
// Whether the "<" at `pos` opens template arguments (a bounded look ahead; never in C).
bool cpp_template_arguments_follow(CppAnalysis* a);
// "(" parameters ")": declarations where they fit, else expressions.
void cpp_parse_parameter_list(CppAnalysis* a, Array<CppParam>* out, u8* variadic);
// Levels 0 to 12 are the binary operators (loosest first), 13 the prefix operators, 14
// a primary with its postfix operations, 15 a primary.
CppExpr* cpp_parse_expression(CppAnalysis* a, i32 level, u32 flags);
inline CppExpr* cpp_parse_type(CppAnalysis* a) { return cpp_parse_expression(a, 14, cflag_type); }
// Declaration specifiers (several sweeps); returns the cspec_ flags met.
u32 cpp_parse_specifiers(CppAnalysis* a);
// "requires" and its constraint: primaries joined by "&&" and "||", ending before the
// declaration or body that follows ("requires C<T> T f()", "f() requires C<T> {").
CppExpr* cpp_parse_requires_clause(CppAnalysis* a);
// Skips __attribute__((...)), __declspec(...), alignas(...), [[...]], __asm__(...) and
// similar decorations; true when something was skipped.
bool cpp_skip_attributes(CppAnalysis* a);

// A parameter-list wrapper macro at `index` ("f OF((int a))", "g __P((char *s))"): a name
// without lower-case letters or starting with "__", then "((" whose inner group closes
// right before the outer one.
bool cpp_at_parameter_wrapper(const CppAnalysis* a, i64 index);
// cpp_parse_parameter_list, or the inner list of a wrapper at `pos`.
void cpp_parse_wrapped_parameter_list(CppAnalysis* a, Array<CppParam>* out, u8* variadic);
// Skips one macro word standing between a declaration's type and its name: before
// pointer marks ("FAR *p"), or with its arguments before the name ("ALIGNED(16) buf").
bool cpp_skip_macro_decoration(CppAnalysis* a);

// A declarator's initialiser: bit-field width, "= value" or a braced list.
void cpp_parse_initializer(CppAnalysis* a, CppDeclaration* d, bool allow_bit_field);
CppDeclaration* cpp_new_declaration(i64 first, u32 specifiers, CppExpr* type);
// Capitals (at least two letters, no lower case): the style of macros that stand for
// specifiers or decorations (_GLIBCXX20_CONSTEXPR, WINAPI, __THROW).
bool cpp_looks_like_macro_name(StringView text);

// Token tests.
bool cpp_is_type_keyword(u16 code);
bool cpp_can_begin_operand(const CppAnalysis* a, u16 code);
CppExpr* cpp_new_expr(CppAnalysis* a, u8 kind, i64 token);

// Tentative parsing that also undoes the splitting of ">>" tokens.
struct CppMark {
    ParseMark mark;
    i64 splits;
    i64 pool_used;  // pool_parser is rewound to this: the attempt's nodes are dropped
};
CppMark cpp_mark(const CppAnalysis* a);
void cpp_restore(CppAnalysis* a, const CppMark& m);

// Everything after the specifiers that is not a struct, enum or namespace: a function or
// a variable declaration; null, with the position at `before_specifiers`, when neither.
CppNode* cpp_parse_function_or_variable(CppAnalysis* a, i64 start, const CppMark& before_specifiers, u32 specifiers,
                                        const Array<CppTemplateParam>& tparams);

// Whether the pass has given back its budget of tokens to abandoned attempts: from then
// on declarations inside statements and parameter lists and casts are not tried.
inline bool cpp_backtracking_spent(const CppAnalysis* a) { return a->backtracked > a->backtrack_budget; }
