// The tab bar: one entry per open tab, with activation, dragging to reorder, the close
// control (asking first for a modified document) and horizontal scrolling.
#include "core/core_state.h"
#include "editor/editor_state.h"
#include "editor/recovery.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"
#include "syntax/file_kind.h"

namespace {
const Color close_red = {1, 0, 0, 1};
const Color hover_white = {1, 1, 1, 0.25f};
const Color pressed_black = {0, 0, 0, 0.25f};
constexpr f32 label_padding = 8;

Document* entry_document(const TabEntry& e) {
    i64 slot = tab_entry_slot(e);
    return slot >= 0 && editor.tab_table.slots ? &editor.tab_table.slots[slot] : nullptr;
}

// Frees the slot and removes the entry; the neighbour that takes its place (or the last
// entry) becomes active when it was the active one.
void close_entry(i64 index) {
    Array<TabEntry>* entries = &workbench.project.tab_entries;
    TabEntry e = (*entries)[index];
    i64 slot = tab_entry_slot(e);
    Document* doc = entry_document(e);
    bool was_current = e.is_active || (doc && doc == editor.current_document);
    if (slot >= 0) tab_slot_release(slot);
    if (doc && doc == editor.current_document) editor.current_document = nullptr;
    if (doc && doc->recovery_present) recovery_discard(doc);
    array_remove(entries, index);
    workbench.project_saved = false;
    if (!was_current) return;
    if (entries->count > 0) {
        i64 next = index < entries->count ? index : entries->count - 1;
        activate_tab((*entries)[next].tab_id);
    } else {
        editor.current_document = nullptr;
    }
}

void handle_close_requests() {
    Array<TabEntry>* entries = &workbench.project.tab_entries;
    for (i64 i = 0; i < entries->count;) {
        TabEntry* e = &(*entries)[i];
        if (!e->close_requested) {
            i++;
            continue;
        }
        Document* doc = entry_document(*e);
        if (doc && doc->dirty) {
            // One question at a time: later requests wait until the dialog has closed.
            if (!modal_dialog_open()) {
                e->close_requested = 0;
                request_close_tab(e->tab_id);
            }
            i++;
            continue;
        }
        close_entry(i);
    }
}

// Room for the modified mark between the label and the close control, kept whether or
// not the document is modified so that the entries do not shift as one types.
f32 mark_room() { return workbench.tab_bar_height * 0.5f; }

f32 lay_out_entries() {
    f32 x = 0;
    f32 close_size = workbench.tab_bar_height;
    for (TabEntry& e : workbench.project.tab_entries) {
        f32 label = measure_text(&render.font, e.label, workbench.scale, workbench.scale, 0, 0, 1e9).width;
        e.x = x;
        e.width = label_padding * workbench.scale + label + mark_room() + close_size;
        x += e.width;
    }
    return x;
}

i64 active_index() {
    for (i64 i = 0; i < workbench.project.tab_entries.count; i++)
        if (workbench.project.tab_entries[i].is_active) return i;
    return -1;
}

void update_scroll(Rect bar, f32 total) {
    WorkbenchState& w = workbench;
    i64 active = active_index();
    i32 active_id = active >= 0 ? workbench.project.tab_entries[active].tab_id : -1;
    if (active_id != w.last_active_tab) w.tab_bar_changed = 1;
    w.last_active_tab = active_id;
    if (w.tab_bar_changed && active >= 0) {
        const TabEntry& e = workbench.project.tab_entries[active];
        if (e.x + w.tab_scroll < 0) w.tab_scroll = -e.x;
        if (e.x + e.width + w.tab_scroll > bar.width) w.tab_scroll = bar.width - (e.x + e.width);
    }
    w.tab_bar_changed = 0;
    f32 lowest = bar.width - total;
    if (lowest > 0) lowest = 0;
    if (w.tab_scroll < lowest) w.tab_scroll = lowest;
    if (w.tab_scroll > 0 || total <= bar.width) w.tab_scroll = 0;
}

f32 screen_x(const TabEntry& e, Rect bar) {
    return e.dragging ? (f32)core.mouse_x - e.drag_offset : bar.x + e.x + workbench.tab_scroll;
}

void draw_entry(const TabEntry& e, f32 x, Rect bar, bool interactive) {
    f32 h = workbench.tab_bar_height;
    u32 gradient = render.icon_textures[e.is_active ? icon_gradient1 : icon_gradient2];
    draw_quad(gradient, file_color_for_path(e.label), x, bar.y, e.width, h, 0, 0, 0, uv_rect_full);
    f32 label_width = e.width - h;
    f32 text_room = label_width - mark_room();
    f32 scale = workbench.scale;
    // A file that disappeared from disk: the label is struck through.
    const Document* doc = entry_document(e);
    bool missing = doc && doc->file_missing;
    Color label_color = missing ? render.theme.error_color : render.theme.text_color;
    draw_text(&render.font, label_color, e.label, x + text_room * 0.5f, bar.y + h * 0.5f, scale, scale, align_center_x,
              align_center_y);
    if (missing) {
        f32 text_width = measure_text(&render.font, e.label, scale, scale, 0, 0, 1e9).width;
        draw_rect(label_color, x + (text_room - text_width) * 0.5f, bar.y + h * 0.5f - scale, text_width, 2 * scale);
    }
    // Modified: a dot beside the name until the document is saved.
    if (doc && doc->dirty) {
        f32 dot = mark_room() * 0.5f;
        draw_quad(render.icon_textures[icon_sphere], render.theme.text_color, x + text_room + (mark_room() - dot) * 0.5f,
                  bar.y + (h - dot) * 0.5f, dot, dot, 0, 0, 0, uv_rect_full);
    }

    draw_quad(render.icon_textures[icon_close], close_red, x + label_width, bar.y, h, h, 0, 0, 0, uv_rect_full);
    if (!interactive || !point_in_rect(bar, core.mouse_x, core.mouse_y)) return;
    Rect label_part{x, bar.y, label_width, h};
    Rect close_part{x + label_width, bar.y, h, h};
    if (point_in_rect(label_part, core.mouse_x, core.mouse_y)) draw_rect(hover_white, x, bar.y, label_width, h);
    if (point_in_rect(close_part, core.mouse_x, core.mouse_y)) {
        draw_rect(hover_white, close_part.x, bar.y, h, h);
        if (e.close_armed && input_mouse_is_held(mouse_primary)) draw_rect(pressed_black, close_part.x, bar.y, h, h);
    }
}

// Presses start a drag or arm the close control; a dragged entry asks to trade places
// once its edge passes the middle of a neighbour.
void entry_input(i64 index, f32 x, Rect bar, bool pressable) {
    TabEntry* e = &workbench.project.tab_entries[index];
    f32 h = workbench.tab_bar_height;
    f32 label_width = e->width - h;
    bool in_bar = point_in_rect(bar, core.mouse_x, core.mouse_y);
    if (pressable && in_bar && input_mouse_is_pressed(mouse_primary)) {
        if (point_in_rect(Rect{x, bar.y, label_width, h}, core.mouse_x, core.mouse_y)) {
            activate_tab(e->tab_id);
            e->dragging = 1;
            e->drag_offset = (f32)core.mouse_x - x;
        } else if (point_in_rect(Rect{x + label_width, bar.y, h, h}, core.mouse_x, core.mouse_y)) {
            e->close_armed = 1;
        }
    }
    if (e->dragging) {
        e->move_request = 0;
        if (index > 0) {
            const TabEntry& prev = workbench.project.tab_entries[index - 1];
            if (x < bar.x + prev.x + workbench.tab_scroll + prev.width * 0.5f) e->move_request = -1;
        }
        if (index + 1 < workbench.project.tab_entries.count) {
            const TabEntry& next = workbench.project.tab_entries[index + 1];
            if (x + e->width > bar.x + next.x + workbench.tab_scroll + next.width * 0.5f) e->move_request = 1;
        }
    }
    if (input_mouse_is_released(mouse_primary)) {
        if (e->close_armed && in_bar && point_in_rect(Rect{x + label_width, bar.y, h, h}, core.mouse_x, core.mouse_y))
            e->close_requested = 1;
        e->close_armed = 0;
        if (e->dragging) {
            e->dragging = 0;
            e->move_request = 0;
            if (editor.current_document && !any_dialog_open()) editor.current_document->focused = 1;
        }
    }
}

void apply_moves() {
    Array<TabEntry>* entries = &workbench.project.tab_entries;
    for (i64 i = 0; i < entries->count; i++) {
        i32 k = (*entries)[i].move_request;
        (*entries)[i].move_request = 0;
        if (k == 0) continue;
        i64 j = i + k;
        if (j < 0) j = 0;
        if (j >= entries->count) j = entries->count - 1;
        if (j == i) continue;
        TabEntry t = (*entries)[i];
        (*entries)[i] = (*entries)[j];
        (*entries)[j] = t;
        workbench.project_saved = false;
        if (j > i) i++;  // the moved entry has been handled
    }
}
}  // namespace

void run_tab_bar() {
    WorkbenchState& w = workbench;
    Rect bar = w.layout.tab_bar;
    bool interactive = !any_dialog_open();
    if (interactive && point_in_rect(bar, core.mouse_x, core.mouse_y)) {
        i32 wheel = input_mouse_wheel();
        if (wheel != 0) w.tab_scroll += (f32)wheel * 3 * w.tab_bar_height;
    }
    handle_close_requests();
    f32 total = lay_out_entries();
    update_scroll(bar, total);
    bool drawable = bar.width >= 0.001f && bar.height > 0;
    if (drawable) scissor_set(bar.x, bar.y, bar.width, bar.height);
    for (i64 i = 0; i < workbench.project.tab_entries.count; i++) {
        const TabEntry& e = workbench.project.tab_entries[i];
        f32 x = screen_x(e, bar);
        bool visible = drawable && x + e.width > bar.x && x < bar.x + bar.width;
        if (visible) draw_entry(e, x, bar, interactive);
        // Releases always count, so that no drag outlives a dialog opened meanwhile.
        entry_input(i, x, bar, visible && interactive);
    }
    if (drawable) scissor_off();
    apply_moves();
}
