// The "go to file or symbol" prompt: its box, the ranked list under it, and going there.
#include <cstdio>

#include "analysis/analysis_state.h"
#include "core/core_state.h"
#include "core/fuzzy_match.h"
#include "editor/editor_state.h"
#include "editor/symbol_look.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "workbench/go_to.h"
#include "workbench/navigation.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
// The best this many are listed; the dialog shows about ten at a time.
constexpr i64 list_limit = 64;
constexpr f32 dialog_width = 600, dialog_height = 440;  // before scaling
constexpr f32 row_height = 28;

struct GoToCandidate {
    StringView name;   // what is matched and shown
    StringView path;   // the file it is in (the file itself for a file)
    i32 line, column;  // -1 for a file
    u32 icon;
    Color color;
    FuzzyScore score;
};

struct GoToState {
    u64 listed_state;           // the box state the list was made for
    Array<GoToCandidate> list;  // pool_main, at most list_limit
    Array<char> bytes;          // the listed names and paths; pool_main, reused
    i32 selected, top;
};
GoToState go_to;

bool ranks_before(const GoToCandidate& a, const GoToCandidate& b) {
    if (a.score.tier != b.score.tier || a.score.length != b.score.length) return fuzzy_before(a.score, b.score);
    return sv_compare(a.name, b.name) < 0;
}

// Keeps the best list_limit candidates in order; a worse one is not taken.
void offer(const GoToCandidate& c) {
    Array<GoToCandidate>& l = go_to.list;
    if (c.score.tier < 0) return;
    if (l.count == list_limit && !ranks_before(c, l[l.count - 1])) return;
    i64 at = l.count < list_limit ? l.count : list_limit - 1;
    while (at > 0 && ranks_before(c, l[at - 1])) {
        if (at < list_limit) l.data[at] = l.data[at - 1];
        at--;
    }
    if (l.count < list_limit) l.count++;
    l.data[at] = c;
}

void offer_files(StringView query) {
    for (const TabPath& p : editor.tab_paths) {
        // The file's own name decides; a query with a "/" in it may need the whole path.
        FuzzyScore s = fuzzy_score(tab_display_name(p.path), query);
        FuzzyScore whole = fuzzy_score(p.path, query);
        if (s.tier < 0 || (whole.tier >= 0 && whole.tier < s.tier)) s = whole;
        offer(GoToCandidate{tab_display_name(p.path), p.path, -1, -1, render.icon_textures[icon_sphere],
                            file_color_for_path(p.path), s});
    }
}

bool offered_kind(u8 kind) {
    return kind != symbol_none && kind != symbol_local && kind != symbol_parameter &&
           kind != symbol_template_parameter && kind < symbol_builtin_type;
}

// Declarations of the last analysis; of a chain (prototype and definition), its first.
void offer_symbols(const AnalysisResult& r, StringView query) {
    u8* later = r.sites.count > 0 ? (u8*)pool_alloc(pool_frame, r.sites.count) : nullptr;
    if (later) memset(later, 0, (size_t)r.sites.count);
    for (const DeclarationSite& s : r.sites)
        if (s.next >= 0 && s.next < r.sites.count) later[s.next] = 1;
    for (i64 i = 0; i < r.sites.count; i++) {
        const DeclarationSite& s = r.sites[i];
        if (later[i] || !offered_kind(s.symbol_kind) || s.file < 0 || s.file >= r.files.count) continue;
        GoToCandidate c{s.name,
                        r.files[s.file],
                        s.line,
                        s.column,
                        symbol_kind_icon(&r, s.symbol_kind),
                        symbol_kind_colour(&r, s.symbol_kind),
                        fuzzy_score(s.name, query)};
        offer(c);
    }
}

StringView keep(StringView s) {
    StringView kept{go_to.bytes.data + go_to.bytes.count, s.length};
    if (s.length > 0) memcpy(go_to.bytes.data + go_to.bytes.count, s.data, (size_t)s.length);
    go_to.bytes.count += s.length;
    return kept;
}

void make_list(StringView query) {
    go_to.list.pool = go_to.bytes.pool = pool_main;
    go_to.list.count = 0;
    array_reserve(&go_to.list, list_limit);
    offer_files(query);
    // The result's names live in memory the analysis thread may replace: they are
    // copied before the lock is let go.
    if (analysis.lock) mutex_lock(analysis.lock);
    offer_symbols(analysis.current_result, query);
    i64 needed = 0;
    for (const GoToCandidate& c : go_to.list) needed += c.name.length + c.path.length;
    go_to.bytes.count = 0;
    array_reserve(&go_to.bytes, needed > 0 ? needed : 1);
    for (GoToCandidate& c : go_to.list) {
        c.name = keep(c.name);
        c.path = keep(c.path);
    }
    if (analysis.lock) mutex_unlock(analysis.lock);
    go_to.selected = go_to.top = 0;
}

void draw_candidate(const GoToCandidate& c, f32 x, f32 bottom, f32 width, f32 h, f32 k) {
    draw_quad(c.icon, c.color, x, bottom, h, h, 0, 0, 0, uv_rect_full);
    f32 middle = bottom + h * 0.5f;
    f32 pen = x + h + 8 * k;
    pen += draw_text(&render.font, c.color, c.name, pen, middle, k, k, 0, align_center_y);
    // Where it is: the file's path, and the line of a declaration.
    char line[32] = "";
    if (c.line >= 0) snprintf(line, sizeof line, ":%d", c.line + 1);
    StringView where = c.line >= 0 ? c.path : (c.path.length > c.name.length ? c.path : StringView{nullptr, 0});
    if (where.length <= 0 || pen >= x + width) return;
    pen += 16 * k;
    pen += draw_text(&render.font, render.theme.line_number_color, where, pen, middle, k, k, 0, align_center_y);
    draw_text(&render.font, render.theme.line_number_color, sv_from_cstr(line), pen, middle, k, k, 0, align_center_y);
}

// Up and Down (and the pages) move the choice; the list scrolls to keep it in view.
void move_choice(i32 shown) {
    i32 step = 0;
    if (input_key_is_typed(key_down)) step = 1;
    if (input_key_is_typed(key_up)) step = -1;
    if (input_key_is_typed(key_page_down)) step = shown;
    if (input_key_is_typed(key_page_up)) step = -shown;
    i32 last = (i32)go_to.list.count - 1;
    go_to.selected += step;
    if (go_to.selected > last) go_to.selected = last;
    if (go_to.selected < 0) go_to.selected = 0;
    if (go_to.selected < go_to.top) go_to.top = go_to.selected;
    if (go_to.selected >= go_to.top + shown) go_to.top = go_to.selected - shown + 1;
}
}  // namespace

void go_to_reset() { go_to.listed_state = (u64)-1; }

GoToChoice run_go_to(Document* box, StringView title) {
    GoToChoice choice{};
    Rect r = dialog_frame(dialog_width, dialog_height, title);
    f32 k = workbench.scale;
    bool list_keys = input_key_is_typed(key_up) || input_key_is_typed(key_down) || input_key_is_typed(key_page_up) ||
                     input_key_is_typed(key_page_down);
    f32 box_y = r.y + r.height - 88 * k;
    dialog_text_box(box, r.x + 24 * k, box_y, r.width - 48 * k, 32 * k, !list_keys);
    if (box->state_id != go_to.listed_state) {
        make_list(document_text(box));
        go_to.listed_state = box->state_id;
    }
    f32 h = row_height * k;
    Rect list{r.x + 24 * k, r.y + 16 * k, r.width - 48 * k, box_y - 12 * k - (r.y + 16 * k)};
    i32 shown = (i32)(list.height / h);
    if (shown < 1) shown = 1;
    move_choice(shown);

    i64 clicked = -1;
    scissor_set(list.x, list.y, list.width, list.height);
    for (i64 i = go_to.top; i < go_to.list.count && i < go_to.top + shown; i++) {
        f32 bottom = list.y + list.height - (f32)(i - go_to.top + 1) * h;
        Rect row{list.x, bottom, list.width, h};
        bool hovered = point_in_rect(row, core.mouse_x, core.mouse_y);
        if (i == go_to.selected) draw_rect(render.theme.selection_color, row.x, row.y, row.width, row.height);
        else if (hovered) draw_rect(render.theme.hover_color, row.x, row.y, row.width, row.height);
        draw_candidate(go_to.list[i], row.x + 4 * k, bottom, row.width - 8 * k, h, k);
        if (hovered && input_mouse_is_pressed(mouse_primary)) clicked = i;
    }
    scissor_off();
    if (go_to.list.count == 0 && document_length(box) > 0)
        draw_text(&render.font, render.theme.line_number_color, SV("nothing matches"), r.x + r.width * 0.5f,
                  list.y + list.height - h * 0.5f, k, k, align_center_x, align_center_y);

    bool submitted = box->submitted;
    box->submitted = 0;
    i64 chosen = clicked >= 0 ? clicked : submitted ? go_to.selected : -1;
    if (chosen < 0 || chosen >= go_to.list.count) return choice;
    const GoToCandidate& c = go_to.list[chosen];
    choice.chosen = true;
    choice.path = string_copy(c.path, pool_frame);
    choice.line = c.line;
    choice.column = c.column;
    return choice;
}

void go_to_choice(const GoToChoice& choice) {
    if (!choice.chosen) return;
    i64 line = choice.line >= 0 ? choice.line : 0, column = choice.column >= 0 ? choice.column : 0;
    if (!navigate_to(choice.path, line, column))
        notice_show(string_concat(SV("cannot open "), choice.path, pool_frame));
}
