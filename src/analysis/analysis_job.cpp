#include "analysis/analysis_job.h"

#include <cstdio>

#include "analysis/symbols.h"
#include "platform/platform.h"
#include "render/resources.h"
#include "syntax/token_kinds.h"

namespace {
// SymbolKind -> coloring key per language (kind tables), and the icons.
struct KindEntry {
    i16 vantrel, cpp, glsl;  // TokenKind, -1 unset
    IconId icon;
};
const KindEntry kind_table[symbol_kind_count] = {
    {vantrel_kind_default, cpp_kind_default, glsl_kind_default, icon_stone},
    {vantrel_kind_struct, cpp_kind_struct, glsl_kind_struct, icon_cube},
    {vantrel_kind_enum, cpp_kind_enum, -1, icon_octahedron},
    {vantrel_kind_handle, -1, -1, icon_cone},
    {vantrel_kind_alias, -1, -1, icon_cone},
    {vantrel_kind_template_type, cpp_kind_template_expression, -1, icon_cone},
    {vantrel_kind_proc, cpp_kind_proc, glsl_kind_proc, icon_cylinder},
    {vantrel_kind_member_var, cpp_kind_member_var, glsl_kind_member_var, icon_sphere},
    {vantrel_kind_global_var, cpp_kind_global_var, glsl_kind_global_var, icon_sphere},
    {vantrel_kind_local_var, cpp_kind_local_var, glsl_kind_local_var, icon_sphere},
    {vantrel_kind_parameter_var, cpp_kind_parameter_var, glsl_kind_parameter_var, icon_sphere},
    {-1, cpp_kind_namespace, -1, icon_cone},
    {-1, cpp_kind_using, -1, icon_cone},
    {-1, cpp_kind_typedef, -1, icon_cone},
    {-1, -1, glsl_kind_type_keyword, icon_cube},
    {-1, -1, glsl_kind_global_var, icon_sphere},
    {-1, -1, glsl_kind_proc, icon_cylinder},
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
    r->minimap.rows = Array<tree_node>{nullptr, 0, 0, pool_parser};
    r->minimap.moved_rows = Array<i32>{nullptr, 0, 0, pool_parser};
    r->cursor_ranges = Array<CursorRange>{nullptr, 0, 0, pool_parser};
    r->signatures = Array<Signature>{nullptr, 0, 0, pool_parser};
    PaletteView palette = palette_of_language(language);
    for (int k = 0; k < symbol_kind_count; k++) {
        i16 kind = language == language_vantrel ? kind_table[k].vantrel
                   : language == language_cpp   ? kind_table[k].cpp
                                                : kind_table[k].glsl;
        bool set = kind >= 0 && kind < palette.count;
        r->kind_colours[k] = set ? palette.colors[kind] : Color{0, 0, 0, 0};
        r->kind_icons[k] = set ? icon_textures[kind_table[k].icon] : 0;
    }
    open_scope(r, 0, StringView{nullptr, 0}, 0, 0);
}

void remember_group_states(AnalysisJob* job, bool check_names) {
    job->remembered_names = Array<StringView>{nullptr, 0, 0, pool_parser};
    job->remembered_open = Array<u8>{nullptr, 0, 0, pool_parser};
    for (const tree_node& row : job->request_rows) {
        if (!row.is_group_start) continue;
        if (check_names && row.name.length >= 1024) {
            fputs("corrupted minimap node!!\n", stdout);
            fflush(stdout);
            continue;
        }
        array_append(&job->remembered_names, row.name);
        array_append(&job->remembered_open, row.is_open);
    }
}

u8 remembered_state(const AnalysisJob* job, StringView name) {
    for (i64 i = job->remembered_names.count - 1; i >= 0; i--)
        if (sv_equal(job->remembered_names[i], name)) return job->remembered_open[i];
    return 1;
}

void add_minimap_row(AnalysisJob* job, Color color, u32 icon, i32 line, StringView name, u8 group_start, u8 group_end) {
    tree_node row{};
    row.color = color;
    row.icon = icon;
    row.id = line;
    row.name = string_copy(name, pool_parser);
    row.is_group_start = group_start;
    row.is_group_end = group_end;
    row.is_open = group_start ? remembered_state(job, name) : 0;
    array_append(&job->result->minimap.rows, row);
}
