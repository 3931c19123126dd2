// F2 and Ctrl+click go to the declaration of the name at the caret, Shift+F2 lists its
// uses in the project, Alt+Left and Alt+Right walk back and forth through the places left.
#include "analysis/analysis_state.h"
#include "analysis/name_sites.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/string_builder.h"
#include "editor/editor_state.h"
#include "editor/motion.h"
#include "editor/name_uses.h"
#include "memory/arena.h"
#include "platform/platform.h"
#include "workbench/navigation.h"
#include "workbench/results_panel.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
enum : u8 { ask_definition = 1, ask_uses = 2 };

// The word at the caret, for the notice when a name has no known declaration.
StringView word_at_caret(const Document* doc) {
    i64 start = doc->cursor, end = doc->cursor;
    auto word = [](u8 c) { return c == '_' || (c >= '0' && c <= '9') || ((c | 32) >= 'a' && (c | 32) <= 'z') || c >= 0x80; };
    while (start > 0 && word(document_byte(doc, start - 1))) start--;
    while (end < document_length(doc) && word(document_byte(doc, end))) end++;
    if (end - start > 80) end = start + 80;
    return string_copy(document_range(doc, start, end), pool_frame);
}

void say_unknown(const Document* doc) {
    StringView word = word_at_caret(doc);
    StringBuilder b{};
    b.pool = pool_frame;
    if (word.length > 0) {
        append_string(&b, SV("no declaration known for "));
        append_string(&b, word);
    } else {
        append_string(&b, SV("no name at the caret"));
    }
    notice_show(builder_view(b));
}

// The text of each listed file, one copy per file (uses come sorted by file): an open
// document's own text, else what the analysis read.
StringView text_of_file(StringView path) {
    for (i64 i = 0; i < editor.tab_table.count; i++) {
        if (!tab_slot_used(i)) continue;
        const Document* doc = &editor.tab_table.slots[i];
        if (sv_equal(owned_view(doc->path), path)) return document_range(doc, 0, document_length(doc));
    }
    return analysis.source_lock ? source_cache_copy(path, pool_frame) : StringView{nullptr, 0};
}

StringView line_text(StringView text, i64 offset) {
    if (offset < 0 || offset > text.length) return StringView{nullptr, 0};
    i64 start = offset, end = offset;
    while (start > 0 && text.data[start - 1] != '\n') start--;
    while (end < text.length && text.data[end] != '\n') end++;
    return StringView{text.data + start, end - start};
}

void list_uses(const AnalysisResult* r, i64 use) {
    i32 site = r->uses[use].site;
    Array<i64> found = result_uses_of_site(r, site, pool_frame);
    Array<ResultRow> rows{nullptr, 0, 0, pool_frame};
    array_reserve(&rows, found.count);
    i32 text_file = -1;
    StringView text{};
    for (i64 i : found) {
        const NameUse& u = r->uses[i];
        if (u.file != text_file) {
            text_file = u.file;
            text = text_of_file(r->files[u.file]);
        }
        ResultRow row{};
        row.path = r->files[u.file];
        row.line = u.line;
        row.column = u.column;
        row.length = (i32)r->sites[site].name.length;
        row.text = line_text(text, u.offset);
        array_append(&rows, row);
    }
    StringBuilder title{};
    title.pool = pool_frame;
    append_int(&title, rows.count);
    append_string(&title, rows.count == 1 ? SV(" use of ") : SV(" uses of "));
    append_string(&title, r->sites[site].name);
    results_panel_show(builder_view(title), rows.data, rows.count);
}

void answer(Document* doc, u8 question) {
    const AnalysisResult* r = result_of_present_text(doc);
    i64 use = name_use_at_caret(doc, r);
    if (use < 0) {
        say_unknown(doc);
        return;
    }
    if (question == ask_uses) {
        list_uses(r, use);
        return;
    }
    const DeclarationSite& s = r->sites[result_definition_for_use(r, use)];
    navigate_to(string_copy(r->files[s.file], pool_frame), s.line, s.column);
}

// Asks now when the last result is of this very text; else waits for the one that is.
void ask(Document* doc, u8 question) {
    NavigationState* n = &workbench.navigation;
    n->waiting = 0;
    bool analysed = doc->kind >= file_kind_vantrel && doc->kind <= file_kind_glsl && !doc->lexical_only;
    if (!analysed || result_of_present_text(doc)) {
        if (analysed) answer(doc, question);
        else notice_show(SV("names are known only in vantrel, C, C++ and GLSL files"));
        return;
    }
    n->waiting = question;
    n->waiting_doc = doc->id;
    n->waiting_cursor = doc->cursor;
}

}  // namespace

void run_waiting_navigation() {
    NavigationState* n = &workbench.navigation;
    Document* doc = editor.current_document;
    if (!n->waiting) return;
    if (!doc || doc->id != n->waiting_doc || doc->cursor != n->waiting_cursor) {
        n->waiting = 0;
        return;
    }
    if (!result_of_present_text(doc)) return;
    u8 question = n->waiting;
    n->waiting = 0;
    answer(doc, question);
}

void run_navigation_keys() {
    Document* doc = editor.current_document;
    if (!doc || modal_dialog_open() || !doc->focused) return;
    if (input_key_is_typed(key_f1 + 1)) ask(doc, input_key_is_held(key_shift) ? ask_uses : ask_definition);
    if (input_key_is_held(key_alt) && !input_key_is_held(key_ctrl)) {
        if (input_key_is_typed(key_left)) navigate_back();
        if (input_key_is_typed(key_right)) navigate_forward();
    }
}

void run_ctrl_click() {
    Document* doc = editor.current_document;
    if (!doc || modal_dialog_open() || !input_key_is_held(key_ctrl) || !input_mouse_is_pressed(mouse_primary)) return;
    if (!point_in_rect(workbench.layout.editor, core.mouse_x, core.mouse_y)) return;
    // The editor has put the caret where the click was.
    ask(doc, ask_definition);
}
