// The confirmation dialog: what to do with unsaved work before an action, whether to
// reload a file another program changed, whether to write over it.
#include "core/project_path.h"
#include "editor/file_io.h"
#include "editor/recovery.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
void open_question(u8 kind, StringView text, i32 doc_id, StringView first, StringView second, StringView third,
                   i32 button_count) {
    close_all_dialogs();
    ConfirmState& c = workbench.confirm;
    c.kind = kind;
    string_assign(&c.text, text, pool_main);
    c.doc_id = doc_id;
    c.button_count = button_count;
    c.yes.label = first;
    c.no.label = second;
    c.cancel.label = third;
    c.open = true;
    workbench_take_focus();
}

void answer_reload(Document* doc, bool reload) {
    if (!doc) return;
    if (reload) {
        recovery_discard(doc);
        document_reload(doc);
    }
}

void answer_overwrite(Document* doc, bool overwrite) {
    if (!overwrite || !doc) {
        cancel_pending();
        return;
    }
    if (document_save(doc, true) != save_outcome_saved) {
        cancel_pending();
        return;
    }
    continue_pending();
}
}  // namespace

void open_unsaved_question(StringView text, bool single_document) {
    open_question(confirm_unsaved, text, -1, single_document ? SV("save") : SV("save all"), SV("discard"),
                  SV("cancel"), 3);
}

void open_reload_question(Document* doc) {
    StringView text = string_concat(owned_view(doc->path), SV(" changed on disk.\nreload it or keep your changes?"),
                                    pool_frame);
    open_question(confirm_reload, text, (i32)doc->id, SV("reload"), SV(""), SV("keep mine"), 2);
}

void open_overwrite_question(Document* doc) {
    StringView text = string_concat(owned_view(doc->path),
                                    SV(" changed on disk since it was loaded.\nwrite over it with your text?"), pool_frame);
    open_question(confirm_overwrite, text, (i32)doc->id, SV("overwrite"), SV(""), SV("cancel"), 2);
}

void answer_confirm(i32 button) {
    ConfirmState& c = workbench.confirm;
    if (!c.open) return;
    c.open = false;
    workbench_give_focus_back();
    u8 kind = c.kind;
    Document* doc = document_of_tab(c.doc_id);
    c.doc_id = -1;
    if (kind == confirm_reload) {
        if (workbench.disk.asked_doc_id >= 0) workbench.disk.asked_doc_id = -1;
        answer_reload(doc, button == 0);
    } else if (kind == confirm_overwrite) {
        answer_overwrite(doc, button == 0);
    } else if (button == 0) {
        continue_pending();
    } else if (button == 1) {
        discard_pending_work();
    } else {
        cancel_pending();
    }
}

void run_confirm_dialog() {
    ConfirmState& c = workbench.confirm;
    if (!c.open) return;
    Rect r = dialog_frame(600, 300, StringView{nullptr, 0});
    f32 k = workbench.scale;
    draw_text(&render.font, render.theme.text_color, owned_view(c.text), r.x + r.width * 0.5f, r.y + r.height * 0.5f + 24 * k,
              k, k, align_center_x, align_center_y);
    // Two or three buttons, centred as a row.
    f32 gap = 16 * k;
    f32 step = dialog_button_width * k + gap;
    f32 left = r.x + (r.width - (f32)c.button_count * step + gap) * 0.5f;
    f32 y = r.y + 24 * k;
    i32 answer = -1;
    if (dialog_button(&c.yes, left, y)) answer = 0;
    if (c.button_count == 3 && dialog_button(&c.no, left + step, y)) answer = 1;
    if (dialog_button(&c.cancel, left + (f32)(c.button_count - 1) * step, y)) answer = 2;
    if (answer >= 0) answer_confirm(answer);
}
