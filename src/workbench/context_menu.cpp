// The context menu: a column of entries at the pointer, each running a command string.
#include "core/core_state.h"
#include "editor/clipboard.h"
#include "editor/editor_state.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
const ContextMenuEntry editor_menu[] = {
    {SV("Cut"), SV("cut")},
    {SV("Copy"), SV("copy")},
    {SV("Paste"), SV("paste")},
    {SV("Upper case"), SV("upper")},
    {SV("Lower case"), SV("lower")},
};

f32 menu_width() { return context_menu_width * workbench.scale; }
f32 row_height() { return context_menu_row_height * workbench.scale; }

Rect entry_rect(i32 index) {
    const ContextMenuState& m = workbench.menu;
    return Rect{m.x, m.y - (f32)(index + 1) * row_height(), menu_width(), row_height()};
}

void run_command(StringView command) {
    Document* doc = editor.current_document;
    if (sv_equal(command, SV("cut"))) {
        if (doc) cut_selection(doc);
    } else if (sv_equal(command, SV("copy"))) {
        if (doc) copy_selection(doc);
    } else if (sv_equal(command, SV("paste"))) {
        if (doc) paste(doc);
    } else if (sv_equal(command, SV("upper"))) {
        if (doc) to_upper_case(doc);
    } else if (sv_equal(command, SV("lower"))) {
        if (doc) to_lower_case(doc);
    } else if (sv_equal(command, SV("view_file"))) {
        view_selected_files();
    } else if (sv_equal(command, SV("rename_file"))) {
        open_prompt(0, SV("rename"));
    } else if (sv_equal(command, SV("remove_file"))) {
        remove_selected_nodes();
    } else if (sv_equal(command, SV("copy_file_name"))) {
        copy_selected_file_names();
    }
}

void close_menu() {
    workbench.menu.open = false;
    workbench.menu.pressed = -1;
    workbench_give_focus_back();
}
}  // namespace

void open_context_menu_at(const ContextMenuEntry* entries, i32 count, f64 x, f64 y) {
    ContextMenuState& m = workbench.menu;
    if (modal_dialog_open() || count <= 0) return;
    if (count > context_menu_capacity) count = context_menu_capacity;
    const WorkbenchLayout& l = workbench.layout;
    f32 column = (f32)count * row_height();
    m.entries = entries;
    m.entry_count = count;
    m.x = (f32)x;
    if (m.x + menu_width() > l.width) m.x = l.width - menu_width();
    if (m.x < 0) m.x = 0;
    // The column hangs below the pointer unless it would leave the window; then it
    // stands on the pointer instead.
    m.y = (f32)y;
    if (m.y - column < 0) m.y = (f32)y + column;
    m.pressed = -1;
    m.open = true;
    workbench_take_focus();
}

void open_editor_context_menu(Document*) {
    if (any_dialog_open()) return;
    open_context_menu_at(editor_menu, 5, core.mouse_x, core.mouse_y);
}

void run_context_menu() {
    ContextMenuState& m = workbench.menu;
    if (!m.open) return;
    // A project reset empties the entries of a menu that is still open.
    if (!m.entries || m.entry_count <= 0) {
        close_menu();
        return;
    }
    i32 hovered = -1;
    for (i32 i = 0; i < m.entry_count; i++)
        if (point_in_rect(entry_rect(i), core.mouse_x, core.mouse_y)) hovered = i;
    Rect column{m.x, m.y - (f32)m.entry_count * row_height(), menu_width(), (f32)m.entry_count * row_height()};
    draw_rect(opaque_panel_color(), column.x, column.y, column.width, column.height);
    if (input_mouse_is_pressed(mouse_primary)) m.pressed = hovered;
    for (i32 i = 0; i < m.entry_count; i++) {
        Rect r = entry_rect(i);
        if (i == hovered) {
            bool held = m.pressed == i && input_mouse_is_held(mouse_primary);
            draw_rect(held ? render.theme.pressed_color : render.theme.hover_color, r.x, r.y, r.width, r.height);
        }
        f32 k = workbench.scale;
        draw_text(&render.font, render.theme.text_color, m.entries[i].label, r.x + 16 * k, r.y + r.height * 0.5f, k, k, 0,
                  align_center_y);
    }
    if (input_mouse_is_pressed(mouse_primary) && hovered < 0) {
        close_menu();
        return;
    }
    if (input_mouse_is_released(mouse_primary) && hovered >= 0) {
        StringView command = m.entries[hovered].command;
        close_menu();
        run_command(command);
    }
}
