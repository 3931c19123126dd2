// The one-line input dialog: renaming tree nodes, find, replace, go to line, search in
// the project, and go to file or symbol.
#include <cstdio>

#include "core/core_state.h"
#include "editor/editor_state.h"
#include "editor/motion.h"
#include "editor/search.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/go_to.h"
#include "workbench/project_search.h"
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
        editor.search.highlight = text.length > 0;
        break;
    case 2: break;  // the replace dialog acts through its own buttons
    case 3:
        if (doc) {
            i64 pos = 0;
            go_to_line(doc, parse_integer(text, &pos));
        }
        break;
    case 4: project_search_start(text); break;
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
    // Renaming starts from the present name, all selected, so that typing replaces it.
    if (mode == 0) {
        document_set_text(&p.box, first_selected_node_name());
        p.box.anchor = 0;
    }
    // Find, replace and the project search start from the selection or the word at the
    // caret, else from the last search; the replacement from the last one.
    if (mode == 1 || mode == 2 || mode == 4) {
        Document* doc = editor.current_document;
        StringView start = doc ? search_text_at_caret(doc) : StringView{nullptr, 0};
        if (start.length <= 0) start = owned_view(editor.search.search_text);
        document_set_text(&p.box, string_copy(start, pool_frame));
        p.box.anchor = 0;
        document_reset(&p.replacement);
        document_set_text(&p.replacement, owned_view(editor.search.replace_text));
        p.replacement.anchor = 0;
        p.focus = 0;
        p.counted_text_state = p.counted_document_state = (u64)-1;
    }
    if (mode == 5) go_to_reset();
    p.box.submitted = 0;
    p.open = true;
    workbench_take_focus();
}

namespace {
void close_prompt() {
    PromptState& p = workbench.prompt;
    document_reset(&p.box);
    document_reset(&p.replacement);
    p.open = false;
    workbench_give_focus_back();
}

// "k of n" for the text in the find box, counted again only when something changed.
void draw_match_count(PromptState& p, Document* doc, f32 x, f32 y) {
    if (!doc) return;
    if (p.counted_text_state != p.box.state_id || p.counted_document_state != doc->state_id ||
        p.counted_cursor != doc->cursor) {
        i64 s = doc->anchor < doc->cursor ? doc->anchor : doc->cursor;
        MatchCount c = count_matches(doc, document_text(&p.box), s);
        StringView wanted = document_text(&p.box);
        StringView selected = document_range(doc, s, s + wanted.length);
        bool on_match = doc->anchor != doc->cursor && sv_equal(selected, wanted);
        p.match_total = c.total;
        p.match_index = on_match ? c.before + 1 : 0;
        p.counted_text_state = p.box.state_id;
        p.counted_document_state = doc->state_id;
        p.counted_cursor = doc->cursor;
    }
    if (document_length(&p.box) <= 0) return;
    char line[64];
    if (p.match_total == 0) snprintf(line, sizeof line, "no matches");
    else if (p.match_index > 0) snprintf(line, sizeof line, "%lld of %lld", (long long)p.match_index, (long long)p.match_total);
    else snprintf(line, sizeof line, "%lld matches", (long long)p.match_total);
    f32 k = workbench.scale;
    draw_text(&render.font, render.theme.text_color, sv_from_cstr(line), x, y, k, k, align_center_x, align_center_y);
}

// The project search's options, shared with find: Alt+C and Alt+W switch them.
void run_search_options(f32 x, f32 y, bool keys) {
    SearchState& s = editor.search;
    if (keys && input_key_is_typed(key_C)) s.match_case = !s.match_case;
    if (keys && input_key_is_typed(key_W)) s.whole_word = !s.whole_word;
    char line[96];
    snprintf(line, sizeof line, "Alt+C match case: %s    Alt+W whole word: %s", s.match_case ? "on" : "off",
             s.whole_word ? "on" : "off");
    f32 k = workbench.scale;
    draw_text(&render.font, render.theme.text_color, sv_from_cstr(line), x, y, k, k, align_center_x, align_center_y);
}

// The replace dialog: what to find, what to put instead, one match at a time or all.
void run_replace(PromptState& p, Rect r) {
    Document* doc = editor.current_document;
    f32 k = workbench.scale;
    f32 box_x = r.x + 24 * k, box_width = r.width - 48 * k;
    f32 find_y = r.y + 196 * k, replacement_y = r.y + 128 * k;
    if (input_key_is_typed(key_tab)) p.focus = 1 - p.focus;
    if (input_mouse_is_pressed(mouse_primary) && core.mouse_x >= box_x && core.mouse_x < box_x + box_width) {
        if (core.mouse_y >= find_y && core.mouse_y < find_y + 32 * k) p.focus = 0;
        if (core.mouse_y >= replacement_y && core.mouse_y < replacement_y + 32 * k) p.focus = 1;
    }
    dialog_text_box(&p.box, box_x, find_y, box_width, 32 * k, p.focus == 0);
    dialog_text_box(&p.replacement, box_x, replacement_y, box_width, 32 * k, p.focus == 1);
    draw_match_count(p, doc, r.x + r.width * 0.5f, r.y + 176 * k);
    f32 w = dialog_button_width * k;
    f32 left = r.x + r.width * 0.5f - 1.5f * w - 8 * k;
    bool one = dialog_button(&p.replace_one, left, r.y + 24 * k);
    bool every = dialog_button(&p.replace_every, left + w + 8 * k, r.y + 24 * k);
    bool cancel = dialog_button(&p.cancel, left + 2 * (w + 8 * k), r.y + 24 * k);
    if (p.box.submitted || p.replacement.submitted) {
        p.box.submitted = p.replacement.submitted = 0;
        one = true;
    }
    if (cancel) {
        close_prompt();
        return;
    }
    if (!(one || every) || !doc || doc->single_line) return;
    string_assign(&editor.search.search_text, document_text(&p.box), pool_main);
    string_assign(&editor.search.replace_text, document_text(&p.replacement), pool_main);
    if (editor.search.search_text.length <= 0) return;
    editor.search.highlight = true;
    if (every) {
        i64 n = replace_all(doc);
        char said[64];
        snprintf(said, sizeof said, "%lld replaced", (long long)n);
        notice_show(sv_from_cstr(said));
        close_prompt();
        return;
    }
    // The match selected now is replaced, then the next one is selected.
    if (selection_is_match(doc)) replace_selection(doc);
    find_next(doc, doc->cursor);
}
}  // namespace

void run_prompt() {
    PromptState& p = workbench.prompt;
    if (!p.open) return;
    if (p.mode == 2) {
        run_replace(p, dialog_frame(600, 300, owned_view(p.title)));
        return;
    }
    if (p.mode == 5) {
        GoToChoice choice = run_go_to(&p.box, owned_view(p.title));
        if (!choice.chosen) return;
        close_prompt();
        go_to_choice(choice);
        return;
    }
    Rect r = dialog_frame(600, 300, owned_view(p.title));
    f32 k = workbench.scale;
    // Alt+C and Alt+W belong to the search's options, not the box.
    bool options_keys = p.mode == 4 && input_key_is_held(key_alt);
    dialog_text_box(&p.box, r.x + 24 * k, r.y + 150 * k, r.width - 48 * k, 32 * k, !options_keys);
    if (p.mode == 1) draw_match_count(p, editor.current_document, r.x + r.width * 0.5f, r.y + 120 * k);
    if (p.mode == 4) run_search_options(r.x + r.width * 0.5f, r.y + 120 * k, options_keys);
    f32 middle = r.x + r.width * 0.5f;
    bool ok = dialog_button(&p.ok, middle - (dialog_button_width + 8) * k, r.y + 24 * k);
    bool cancel = dialog_button(&p.cancel, middle + 8 * k, r.y + 24 * k);
    if (p.box.submitted) {
        p.box.submitted = 0;
        ok = true;
    }
    if (!ok && !cancel) return;
    StringView text = string_copy(document_text(&p.box), pool_frame);
    close_prompt();
    if (ok) act(p.mode, text);
}
