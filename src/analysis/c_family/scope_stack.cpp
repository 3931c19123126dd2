#include "analysis/c_family/scope_stack.h"

#include "analysis/analysis_result.h"
#include "analysis/symbols.h"

void cfam_scope_stack_reset(ScopeStack* stack) { stack->entries = Array<ScopeEntry>{nullptr, 0, 0, pool_parser}; }

void cfam_scope_push(ScopeStack* stack, i32 scope, u32 flags) {
    ScopeEntry entry{};
    entry.flags = flags;
    entry.scope = scope;
    array_append(&stack->entries, entry);
}

void cfam_scope_pop(ScopeStack* stack) {
    if (stack->entries.count > 0) stack->entries.count--;
}

i32 cfam_current_scope(const ScopeStack* stack) {
    return stack->entries.count > 0 ? stack->entries[stack->entries.count - 1].scope : 0;
}

u32 cfam_current_scope_flags(const ScopeStack* stack) {
    return stack->entries.count > 0 ? stack->entries[stack->entries.count - 1].flags : scope_flag_file;
}

u8 cfam_variable_kind_for_flags(u32 flags) {
    if (flags & scope_flag_parameters) return symbol_parameter;
    if (flags & scope_flag_member) return symbol_member;
    if (flags & scope_flag_body) return symbol_local;
    return symbol_global;
}

i64 cfam_switch_current_file(ParseState* p, i64 token) {
    i64 previous = p->current_file;
    if (token < 0 || token >= p->tokens.count) return previous;
    const Token& t = p->tokens[token];
    // Most records are in the file worked on already; the search is for the others.
    if (previous == t.file) return previous;
    p->current_file = file_of_token(p, t);
    return previous;
}

void cfam_begin_work_record(ParseState* p, ScopeStack* stack, i64 token, i32 scope, u32 flags) {
    cfam_switch_current_file(p, token);
    stack->entries.count = 0;
    cfam_scope_push(stack, 0, scope_flag_file);
    if (scope != 0) cfam_scope_push(stack, scope, flags);
}

void cfam_brace_extent(const ParseState* p, i64 open, i64 close, i32* start, i32* end) {
    *start = 0;
    *end = 0;
    if (open < 0) return;
    *start = (i32)token_at(p, open).offset;
    *end = *start;
    if (close >= 0) {
        *end = (i32)token_at(p, close).offset;
    } else {
        i64 file = file_of_token(p, token_at(p, open));
        if (file >= 0) *end = (i32)p->files[file].text.length;
    }
}

StringView cfam_function_scope_name(const ParseState* p, i64 body_open, StringView name) {
    return body_open >= 0 ? path_of(p, token_at(p, body_open)) : name;
}

void cfam_push_block_scope(ParseState* p, AnalysisResult* result, ScopeStack* stack, i64 open, i64 close) {
    i32 start, end;
    cfam_brace_extent(p, open, close, &start, &end);
    i32 scope = (i32)open_scope(result, (u32)cfam_current_scope(stack), path_of(p, token_at(p, open)), start, end);
    cfam_scope_push(stack, scope, scope_flag_body);
}
