#include "analysis/analysis_job.h"

#include "analysis/symbols.h"
#include "platform/platform.h"
#include "syntax/token_kinds.h"

namespace {
// SymbolKind -> TokenKind in each language; -1 where the language has no such symbols.
struct KindEntry {
    i16 vantrel, cpp, glsl;
};
const KindEntry kind_table[symbol_kind_count] = {
    {vantrel_kind_default, cpp_kind_default, glsl_kind_default},
    {vantrel_kind_struct, cpp_kind_struct, glsl_kind_struct},
    {vantrel_kind_enum, cpp_kind_enum, -1},
    {vantrel_kind_handle, -1, -1},
    {vantrel_kind_alias, -1, -1},
    {vantrel_kind_template_type, cpp_kind_template_expression, -1},
    {vantrel_kind_proc, cpp_kind_proc, glsl_kind_proc},
    {vantrel_kind_member_var, cpp_kind_member_var, glsl_kind_member_var},
    {vantrel_kind_global_var, cpp_kind_global_var, glsl_kind_global_var},
    {vantrel_kind_local_var, cpp_kind_local_var, glsl_kind_local_var},
    {vantrel_kind_parameter_var, cpp_kind_parameter_var, glsl_kind_parameter_var},
    {-1, cpp_kind_namespace, -1},
    {-1, cpp_kind_using, -1},
    {-1, cpp_kind_typedef, -1},
    {-1, -1, glsl_kind_type_keyword},
    {-1, -1, glsl_kind_global_var},
    {-1, -1, glsl_kind_proc},
};
}  // namespace

f64 analysis_clock_ms() {
    return (f64)system_performance_counter() * 1000.0 / (f64)system_performance_frequency();
}

void analysis_begin_result(AnalysisJob* job, int language) {
    AnalysisResult* r = job->result;
    r->scopes = Array<Scope>{nullptr, 0, 0, pool_parser};
    r->symbols = SymbolMap{};
    r->symbols.pool = pool_parser;
    r->outline = Array<OutlineRow>{nullptr, 0, 0, pool_parser};
    r->cursor_ranges = Array<CursorRange>{nullptr, 0, 0, pool_parser};
    r->signatures = Array<Signature>{nullptr, 0, 0, pool_parser};
    r->files = Array<StringView>{nullptr, 0, 0, pool_parser};
    r->sites = Array<DeclarationSite>{nullptr, 0, 0, pool_parser};
    r->uses = Array<NameUse>{nullptr, 0, 0, pool_parser};
    r->uses_by_site = Array<i32>{nullptr, 0, 0, pool_parser};
    r->site_redirects = Array<i32>{nullptr, 0, 0, pool_parser};
    r->path = job->path;
    r->text_changes = job->text_changes;
    r->language = (u8)language;
    i64 palette_count = palette_of_language(language).count;
    for (int k = 0; k < symbol_kind_count; k++) {
        i16 kind = language == language_vantrel ? kind_table[k].vantrel
                   : language == language_cpp   ? kind_table[k].cpp
                                                : kind_table[k].glsl;
        r->kind_tokens[k] = kind >= 0 && kind < palette_count ? kind : (i16)-1;
    }
    open_scope(r, 0, StringView{nullptr, 0}, 0, 0);
}

void add_outline_row(AnalysisJob* job, u8 symbol_kind, i16 token_kind, i32 line, StringView name, u8 group_start,
                     u8 group_end) {
    OutlineRow row{};
    row.name = string_copy(name, pool_parser);
    row.line = line;
    row.symbol_kind = symbol_kind;
    row.token_kind = token_kind >= 0 ? (u8)token_kind : 0;
    row.is_group_start = group_start;
    row.is_group_end = group_end;
    array_append(&job->result->outline, row);
}
