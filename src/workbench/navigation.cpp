// Going to places by meaning, and the history of places left.
#include "workbench/navigation.h"

#include "editor/editor_state.h"
#include "editor/motion.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
NavigationPlace* slot(i64 index) { return &workbench.navigation.places[index % navigation_history_size]; }

// The document open under `path`, or null.
Document* open_document(StringView path) {
    for (i64 i = 0; i < editor.tab_table.count; i++) {
        if (!tab_slot_used(i)) continue;
        Document* doc = &editor.tab_table.slots[i];
        if (sv_equal(owned_view(doc->path), path)) return doc;
    }
    return nullptr;
}

bool show_place(StringView path, i64 line, i64 column) {
    Document* doc = editor.current_document;
    if (!doc || !sv_equal(owned_view(doc->path), path)) {
        if (Document* open = open_document(path)) activate_tab((i32)open->id);
        else project_add_file(path);
        doc = editor.current_document;
        if (!doc || !sv_equal(owned_view(doc->path), path)) return false;
        // A tab opened this frame has not been laid out yet: centring the caret needs
        // the box it will be drawn in.
        Rect box = workbench.layout.editor;
        doc->x = box.x;
        doc->y = box.y;
        doc->width = box.width;
        doc->height = box.height;
    }
    i64 rows = line_count(doc);
    i64 row = line < 0 ? 0 : line < rows ? line : rows - 1;
    i64 start = row_start(doc, row);
    i64 length = line_length(doc, row);
    // The newline is no place on the line; the last line has none.
    i64 last = row + 1 < rows ? length - 1 : length;
    i64 pos = start + (column < 0 ? 0 : column < last ? column : last);
    go_to(doc, (i32)pos);
    doc->anchor = doc->cursor;
    if (!any_dialog_open()) doc->focused = 1;
    return true;
}

void remember(NavigationPlace* place, const Document* doc) {
    string_assign(&place->path, owned_view(doc->path), pool_main);
    place->line = row_of_position(doc, doc->cursor);
    place->column = doc->cursor - row_start(doc, place->line);
}
}  // namespace

bool navigate_to(StringView path, i64 line, i64 column) {
    NavigationState* n = &workbench.navigation;
    const Document* from = editor.current_document;
    // The place left is kept unless it is no file (an empty tab).
    if (from && from->path.length > 0) {
        remember(slot(n->current), from);
        n->current++;
        n->end = n->current;
        if (n->end - n->first > navigation_history_size - 1) n->first = n->end - (navigation_history_size - 1);
    }
    return show_place(path, line, column);
}

bool navigate_back() {
    NavigationState* n = &workbench.navigation;
    const Document* doc = editor.current_document;
    if (n->current <= n->first || !doc) return false;
    // Where we stand now becomes the place Alt+Right returns to.
    if (doc->path.length > 0) remember(slot(n->current), doc);
    if (n->current == n->end) n->end++;
    n->current--;
    const NavigationPlace* p = slot(n->current);
    return show_place(owned_view(p->path), p->line, p->column);
}

bool navigate_forward() {
    NavigationState* n = &workbench.navigation;
    const Document* doc = editor.current_document;
    if (n->current + 1 >= n->end || !doc) return false;
    if (doc->path.length > 0) remember(slot(n->current), doc);
    n->current++;
    const NavigationPlace* p = slot(n->current);
    return show_place(owned_view(p->path), p->line, p->column);
}
