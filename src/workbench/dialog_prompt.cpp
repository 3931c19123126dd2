// The one-line input dialog: renaming tree nodes, find, replace and go to line.
#include "editor/editor_state.h"
#include "editor/motion.h"
#include "editor/search.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
void act(i32 mode, StringView text) {
    Document* doc = editor.current_document;
    switch (mode) {
    case 0: rename_selected_nodes(text); break;
    case 1:
        string_assign(&editor.search.search_text, text, pool_main);
        if (doc) find_next(doc, doc->cursor);
        break;
    case 2:
        string_assign(&editor.search.replace_text, text, pool_main);
        if (doc) replace_selection(doc);
        break;
    case 3:
        if (doc) {
            i64 pos = 0;
            go_to_line(doc, parse_integer(text, &pos));
        }
        break;
    default: break;
    }
}
}  // namespace

void open_prompt(i32 mode, StringView title) {
    PromptState& p = workbench.prompt;
    workbench.menu.open = false;
    p.mode = mode;
    string_assign(&p.title, title, pool_main);
    document_reset(&p.box);
    p.box.submitted = 0;
    p.open = true;
    workbench_take_focus();
}

void run_prompt() {
    PromptState& p = workbench.prompt;
    if (!p.open) return;
    Rect r = dialog_frame(600, 300, owned_view(p.title));
    dialog_text_box(&p.box, r.x + 24, r.y + 150, r.width - 48, 32);
    f32 middle = r.x + r.width * 0.5f;
    bool ok = dialog_button(&p.ok, middle - dialog_button_width - 8, r.y + 24);
    bool cancel = dialog_button(&p.cancel, middle + 8, r.y + 24);
    if (p.box.submitted) {
        p.box.submitted = 0;
        ok = true;
    }
    if (!ok && !cancel) return;
    StringView text = string_copy(document_text(&p.box), pool_frame);
    document_reset(&p.box);
    p.open = false;
    workbench_give_focus_back();
    if (ok) act(p.mode, text);
}
