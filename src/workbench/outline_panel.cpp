// The outline panel: the declarations of the current document, made from the last
// analysis result each time one is taken. A row's click moves the caret to its line.
#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "editor/completion.h"
#include "editor/editor_state.h"
#include "editor/motion.h"
#include "editor/symbol_look.h"
#include "render/draw.h"
#include "workbench/list_widget.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
u8 remembered_open(StringView name) {
    const OutlineGroups& g = workbench.outline_groups;
    const Array<OutlineGroupState>& states = g.states[g.current];
    const Array<char>& names = g.names[g.current];
    // The last group of a name decides, as rows of one name follow one another.
    for (i64 i = states.count - 1; i >= 0; i--) {
        const OutlineGroupState& s = states[i];
        if (sv_equal(StringView{names.data + s.offset, s.length}, name)) return s.open;
    }
    return 1;
}

// Writes the group rows' names and states into the store not in use, then swaps.
void remember_groups(const Array<TreeNode>& rows) {
    OutlineGroups& g = workbench.outline_groups;
    i32 next = 1 - g.current;
    Array<char>* names = &g.names[next];
    Array<OutlineGroupState>* states = &g.states[next];
    names->pool = states->pool = pool_main;
    names->count = states->count = 0;
    for (const TreeNode& row : rows) {
        if (!row.is_group_start) continue;
        OutlineGroupState s{names->count, row.name.length, row.is_open};
        array_reserve(names, names->count + row.name.length);
        if (row.name.length > 0) memcpy(names->data + names->count, row.name.data, (size_t)row.name.length);
        names->count += row.name.length;
        array_append(states, s);
    }
    g.current = next;
}

void make_rows(const AnalysisResult* r) {
    Array<TreeNode>* rows = &workbench.outline.rows;
    rows->pool = pool_main;
    rows->count = 0;
    array_reserve(rows, r->outline.count);
    for (const OutlineRow& o : r->outline) {
        TreeNode row{};
        row.color = outline_row_colour(r, o);
        row.icon = o.is_group_end ? 0 : outline_row_icon(r, o);
        row.id = o.line;
        row.name = o.name;
        row.is_group_start = o.is_group_start;
        row.is_group_end = o.is_group_end;
        row.is_open = o.is_group_start ? remembered_open(o.name) : 0;
        array_append(rows, row);
    }
    workbench.outline.moved_rows.count = 0;
    remember_groups(*rows);
}

bool too_narrow(Rect r) { return r.width < 0.001f || r.height <= 0; }
}  // namespace

void run_analysis_result() {
    Document* doc = editor.current_document;
    if (analysis.lock) mutex_lock(analysis.lock);
    if (doc && doc->kind == file_kind_none) workbench.outline.rows.count = 0;
    else if (doc && editor_take_analysis_result_locked(doc)) make_rows(&analysis.current_result);
    if (analysis.lock) mutex_unlock(analysis.lock);
}

void run_minimap() {
    Rect r = workbench.layout.minimap;
    if (too_narrow(r)) return;
    // The jump runs after the lock is let go: moving the cursor may post a request.
    i64 target_line = -1;
    // Row names point into the result's memory, which the analysis thread may replace.
    if (analysis.lock) mutex_lock(analysis.lock);
    ListWidget* m = &workbench.outline;
    m->x = r.x;
    m->y = r.y;
    m->width = r.width;
    m->height = r.height;
    scissor_set(r.x, r.y, r.width, r.height);
    list_widget_frame(m);
    scissor_off();
    if (m->rows_changed) remember_groups(m->rows);
    for (TreeNode& row : m->rows) {
        if (!row.is_selected) continue;
        row.is_selected = 0;
        target_line = (i64)row.id + 1;
    }
    if (analysis.lock) mutex_unlock(analysis.lock);
    if (target_line < 0 || !editor.current_document) return;
    go_to_line(editor.current_document, target_line);
    // The jump is to go on typing there: the keyboard goes back to the editor.
    if (!any_dialog_open()) editor.current_document->focused = 1;
}

void clear_minimap_without_document() {
    if (workbench.project.tab_entries.count > 0 && editor.current_document) return;
    workbench.outline.rows.count = 0;
    workbench.outline.scroll = 0;
}
