#include "editor/name_uses.h"

#include "analysis/analysis_state.h"
#include "analysis/name_sites.h"
#include "editor/motion.h"
#include "render/renderer.h"
#include "render/theme.h"

const AnalysisResult* result_of_present_text(const Document* doc) {
    const AnalysisResult* r = &analysis.current_result;
    if (doc->single_line || doc->path.length <= 0 || r->text_changes != doc->text.changes) return nullptr;
    if (!sv_equal(r->path, owned_view(doc->path)) || r->files.count == 0) return nullptr;
    return r;
}

i64 name_use_at_caret(const Document* doc, const AnalysisResult* r) {
    return r ? result_use_at(r, doc->cursor) : -1;
}

void view_draw_name_uses(Document* doc, const ViewFrame* f) {
    if (doc->anchor != doc->cursor || f->last_row < f->first_row) return;
    const AnalysisResult* r = result_of_present_text(doc);
    i64 at = name_use_at_caret(doc, r);
    if (at < 0) return;
    i32 site = r->uses[at].site;
    i64 length = r->sites[site].name.length;
    i64 start = f->first_row_start;
    i64 end = row_start(doc, f->last_row) + line_length(doc, f->last_row);
    // Uses are sorted by (file, offset): the document's on screen lie in one run.
    i64 low = result_first_use_from(r, start);
    Color color = render.theme.name_use_color;
    for (i64 i = low; i < r->uses.count && r->uses[i].file == 0 && r->uses[i].offset < end; i++) {
        const NameUse& u = r->uses[i];
        if (u.site != site || i == at || u.offset + length > document_length(doc)) continue;
        f64 x0 = doc->text_left + line_offset(doc, u.offset);
        f64 x1 = doc->text_left + line_offset(doc, (i32)(u.offset + length));
        view_row_box(doc, color, x0, view_row_centre(doc, f->h, row_of_position(doc, u.offset)), x1 - x0, f->h);
    }
}
