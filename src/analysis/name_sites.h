#pragma once
// Where names are declared and where they are used, gathered while a pass colours them,
// and the questions the editor asks of a result: the declaration of the name at a place,
// and every use of a declaration.
#include "analysis/analysis_result.h"
#include "analysis/parse_state.h"

// A site for the identifier token `token` (its file, offset, line and column), appended to
// the result; -1 when the token is no name. Symbol::site holds the index plus one.
i32 name_site_of_token(AnalysisResult* r, ParseState* p, i64 token, u8 symbol_kind);
// Declares `name` as declare_symbol does, at `token`'s site: a second declaration of the
// same symbol (a prototype's definition, an overload) joins the first one's chain. The
// declaring name counts as a use. Returns what declare_symbol returns.
Symbol* declare_symbol_at_token(AnalysisResult* r, ParseState* p, u8 kind, u8 flag, i32 value, i32 scope,
                                StringView name, i64 token);
// Notes that the identifier token resolved to `symbol` (nothing when it has no site).
void record_name_use(AnalysisResult* r, ParseState* p, const Token& t, const Symbol* symbol);
// `other` declares what `first` declares (a member function's definition outside its
// class): its sites join first's chain and its uses become first's.
void join_declarations(AnalysisResult* r, const Symbol* first, const Symbol* other);
// End of a pass: the result names the pass's files and its uses are sorted by place.
void finish_name_index(AnalysisResult* r, const ParseState* p);

// Questions for a finished result. The first use of files[0] at or after `offset` (the
// uses of files[0] on from there follow in place order); uses.count when none.
i64 result_first_use_from(const AnalysisResult* r, i64 offset);
// The use in files[0] whose name holds `offset` or ends
// at it (the caret just after a name); -1 when none.
i64 result_use_at(const AnalysisResult* r, i64 offset);
// The site a go-to from `use` lands on: the first of its chain, or, when the caret is on
// a declaration already, the next one of the chain (F2 again cycles through overloads and
// a prototype's definition).
i32 result_definition_for_use(const AnalysisResult* r, i64 use);
// Indices of every use whose symbol starts its chain at `site`, in (file, offset) order.
Array<i64> result_uses_of_site(const AnalysisResult* r, i32 site, u8 pool);
