#pragma once
// Scopes and symbols of an analysis result, shared by the three language passes.
#include "analysis/analysis_result.h"

i64 open_scope(AnalysisResult* result, u32 parent, StringView name, i32 start, i32 end);
// Returns the existing symbol when (flag, scope, name) is declared already (nothing
// changes then); otherwise copies the name into pool_parser, appends the symbol to the
// scope's members and the symbol table, and returns null.
Symbol* declare_symbol(AnalysisResult* result, u8 kind, u8 flag, i32 value, i32 scope, StringView name, i32 site = 0);
Symbol* lookup_symbol(const AnalysisResult* result, u8 flag, i32 scope, StringView name);
// declare_symbol for names that are looked up but never offered: the symbol goes into the
// table only, not into the scope's member list that completion reads (operator
// procedures, named "+" or "[]").
Symbol* declare_hidden_symbol(AnalysisResult* result, u8 kind, u8 flag, i32 value, i32 scope, StringView name,
                              i32 site = 0);
