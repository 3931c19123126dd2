// The per-frame key handling of a focused document.
#include "editor/clipboard.h"
#include "editor/completion.h"
#include "editor/edit.h"
#include "editor/indent.h"
#include "editor/editor_state.h"
#include "editor/line_table.h"
#include "editor/motion.h"
#include "editor/search.h"
#include "platform/platform.h"

namespace {
struct KeyFrame {
    bool shift, ctrl;
    bool keypad_moves;       // keypad keys navigate: the Shift state equals Num Lock
    bool keypad_navigation;  // and one of them was typed
    bool changed;
};

bool typed(i32 key) { return input_key_is_typed(key); }

void open_prompt(i32 mode, StringView title) {
    if (editor.hooks.open_prompt) editor.hooks.open_prompt(mode, title);
}

// Ctrl shortcuts, each acting when its key was typed, in this order.
void handle_ctrl_keys(Document* doc) {
    bool multi_line = !doc->single_line;
    if (typed(key_A)) {
        doc->anchor = 0;
        doc->cursor = (i32)document_length(doc);
    }
    if (typed(key_X)) cut_selection(doc);
    if (typed(key_C)) copy_selection(doc);
    if (typed(key_V)) paste(doc);
    if (typed(key_Z)) undo(doc);
    if (typed(key_Y)) redo(doc);
    if (!multi_line) return;
    if (typed(key_F)) open_prompt(1, SV("find"));
    if (typed(key_R)) open_prompt(2, SV("replace"));
    if (typed(key_G)) open_prompt(3, SV("goto line"));
    if (typed(key_J)) find_previous(doc);
    if (typed(key_L)) find_next(doc, doc->cursor);
    if (typed(key_home)) go_to(doc, 0);
    if (typed(key_end)) go_to(doc, (i32)document_length(doc));
    if (typed(key_I) && doc->symbol_list_selected > 0) doc->symbol_list_selected--;
    if (typed(key_K) && doc->symbol_list_selected + 1 < doc->symbol_list.count) doc->symbol_list_selected++;
    if (typed(key_T)) replace_selection(doc);
    // Ctrl+Shift+B belongs to the workbench (the side panels).
    if (typed(key_B) && !input_key_is_held(key_shift)) open_symbol_list(doc);
    if (typed(key_W)) editor.search.whole_word = !editor.search.whole_word;
    if (typed(key_match_case)) editor.search.match_case = !editor.search.match_case;
    if (typed(key_space)) {
        doc->completion_open = !doc->completion_open;
        if (doc->completion_open) {
            gather_candidates(doc);
            filter_candidates(doc);
        }
    }
}

bool keypad_navigation_typed(bool keypad_moves) {
    if (!keypad_moves) return false;
    for (i32 key = key_kp_1; key <= key_kp_period; key++)
        if (typed(key)) return true;
    return false;
}

// Backspace, Delete and the motion keys; the first that was typed acts.
void handle_editing_keys(Document* doc, KeyFrame* k) {
    if (typed(key_backspace)) {
        delete_backward(doc, k->ctrl);
        k->changed = true;
    } else if (typed(key_delete) || (k->keypad_moves && typed(key_kp_period))) {
        delete_forward(doc, k->ctrl);
        k->changed = true;
    } else {
        handle_motion_keys(doc, k->shift, k->ctrl, k->keypad_moves);
    }
}
}  // namespace

void handle_keys(Document* doc) {
    if (typed(key_escape)) {
        if (!doc->single_line) editor.search.highlight = false;
        return;
    }
    // In a one-line field Tab belongs to the dialog (next field, name completion).
    if (doc->single_line && typed(key_tab) && input_text_typed().length <= 0) return;
    // Alt+Left and Alt+Right walk the history of places, they move no caret.
    if (!doc->single_line && input_key_is_held(key_alt) && (typed(key_left) || typed(key_right))) return;
    // F3 and Shift+F3: the next and the previous match, as Ctrl+L and Ctrl+J.
    if (!doc->single_line && input_key_is_typed(key_f1 + 2)) {
        input_key_is_held(key_shift) ? find_previous(doc) : find_next(doc, doc->cursor);
        editor.search.highlight = editor.search.search_text.length > 0;
        return;
    }
    StringView text = input_text_typed();
    if (text.length <= 0 && !typed(key_any)) return;

    doc->blink_phase = 0;
    doc->reset_column = 1;
    doc->numlock_state = (input_key_modifiers() & modifier_num_lock) ? 1 : 0;
    i32 old_cursor = doc->cursor;
    KeyFrame k{};
    k.shift = input_key_is_held(key_shift);
    k.ctrl = input_key_is_held(key_ctrl);
    k.keypad_moves = k.shift == (doc->numlock_state != 0);
    k.keypad_navigation = keypad_navigation_typed(k.keypad_moves);

    if (k.ctrl) handle_ctrl_keys(doc);

    char tab_spaces[8];
    if (typed(key_tab) && (k.shift || doc->cursor != doc->anchor)) {
        indent_block(doc, k.shift);
        k.changed = true;
    } else {
        if (typed(key_enter) || typed(key_kp_enter)) text = SV("\n");
        else if (typed(key_tab)) text = StringView{tab_spaces, tab_text(doc, tab_spaces, (i64)sizeof tab_spaces)};
        bool to_editing_keys = text.length <= 0 || k.keypad_navigation || k.ctrl;
        if (text.length == 1 && text.data[0] == '\n') {
            if (doc->single_line) {
                doc->submitted = 1;
                return;
            }
            if (!to_editing_keys) undo_checkpoint(doc, edit_structural);
        }
        if (to_editing_keys) handle_editing_keys(doc, &k);
        else k.changed = insert_typed_text(doc, text);
    }

    if (doc->reset_column) doc->preferred_column = visual_column(doc, doc->cursor);
    if (doc->cursor != old_cursor) doc->view_request = 1;
    if (k.changed) finish_edit(doc);
}
