#pragma once
// The stack of scopes that the declaration and resolution passes of the C-family
// analyses (C/C++, GLSL) work in, and the start of each work-list record.
#include "analysis/parse_state.h"

// What kind of place the top of the stack is; decides how a variable is declared.
enum : u32 {
    scope_flag_file = 1,        // file or namespace level: global variables
    scope_flag_member = 2,      // inside a struct: member variables
    scope_flag_parameters = 4,  // a parameter list: parameters
    scope_flag_body = 8,        // a function body or a block in it: local variables
};

struct ScopeEntry {
    u32 flags;
    i32 scope;  // index in the result's scopes
    i64 reserved[3];
};
static_assert(sizeof(ScopeEntry) == 32, "scope stack entries are 32 bytes");

struct ScopeStack {
    Array<ScopeEntry> entries;  // pool_parser
};

void cfam_scope_stack_reset(ScopeStack* stack);
void cfam_scope_push(ScopeStack* stack, i32 scope, u32 flags);
void cfam_scope_pop(ScopeStack* stack);
// Scope index and flags of the top; the root (0, file level) when the stack is empty.
i32 cfam_current_scope(const ScopeStack* stack);
u32 cfam_current_scope_flags(const ScopeStack* stack);

// The SymbolKind a variable gets in the place described by `flags`.
u8 cfam_variable_kind_for_flags(u32 flags);

// The byte extent of a scope between the brace tokens `open` and `close`: from the "{"
// to the "}", or to the end of the "{"'s file when the "}" is missing; 0 and 0 when
// there is no "{".
void cfam_brace_extent(const ParseState* p, i64 open, i64 close, i32* start, i32* end);
// The name of a function's scope: the file of its body's "{" when it has one, as a
// block's scope is named, so that the editor offers the parameters and locals at a cursor
// inside the body (scopes named by the document's path are the ones it looks into); a
// prototype's scope keeps the function's name.
StringView cfam_function_scope_name(const ParseState* p, i64 body_open, StringView name);
// Opens the scope of a braced block below the current one, named by its file's path with
// the braces as extent, and pushes it as a body.
void cfam_push_block_scope(ParseState* p, AnalysisResult* result, ScopeStack* stack, i64 open, i64 close);

// Starts one record of a resolution pass: the current file becomes the file of `token`,
// and the stack holds the root and, above it, `scope` with `flags`.
void cfam_begin_work_record(ParseState* p, ScopeStack* stack, i64 token, i32 scope, u32 flags);
// Makes the file of `token` the current file; returns the previous one for restoring.
i64 cfam_switch_current_file(ParseState* p, i64 token);
