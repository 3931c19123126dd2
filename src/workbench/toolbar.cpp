// The 12 toolbar buttons: layout, when each is disabled, what each does, and the name
// shown after the pointer has rested on one.
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
struct ButtonSpec {
    IconId icon;
    Color Theme::*color;
    StringView tooltip;  // the name, and the shortcut where there is one
};

const ButtonSpec button_specs[toolbar_button_count] = {
    {icon_new, &Theme::new_file_color, SV("New project")},
    {icon_open, &Theme::open_file_color, SV("Open project")},
    {icon_save, &Theme::save_file_color, SV("Save project")},
    {icon_sphere, &Theme::new_file_color, SV("New file (Ctrl+N)")},
    {icon_sphere_open, &Theme::open_file_color, SV("Open file (Ctrl+O)")},
    {icon_sphere_save, &Theme::save_file_color, SV("Save file (Ctrl+S)")},
    {icon_sphere_save_all, &Theme::save_file_color, SV("Save all files")},
    {icon_star3d, &Theme::folder_color, SV("New group")},
    {icon_lightning, &Theme::rename_file_color, SV("Rename")},
    {icon_eye, &Theme::view_file_color, SV("View file")},
    {icon_close, &Theme::remove_file_color, SV("Remove from project")},
    {icon_settings, &Theme::settings_color, SV("Compiler settings")},
};

// The button under the pointer, -1 when none (or while a dialog has the window).
i32 hovered_button() {
    if (modal_dialog_open() || workbench.menu.open) return -1;
    for (i32 i = 0; i < toolbar_button_count; i++) {
        const ToolbarButton& b = workbench.buttons[i];
        if (point_in_rect(Rect{b.x, b.y, b.width, b.height}, core.mouse_x, core.mouse_y)) return i;
    }
    return -1;
}

void lay_out_buttons() {
    WorkbenchState& w = workbench;
    f32 size = w.toolbar_height;
    f32 x = 0;
    for (i32 i = 0; i < toolbar_button_count; i++) {
        // Half a button of space sets the project buttons and the settings button apart.
        if (i == 3 || i == 11) x += size * 0.5f;
        ToolbarButton* b = &w.buttons[i];
        b->x = x;
        b->y = w.layout.height - size;
        b->width = size;
        b->height = size;
        x += size;
    }
}

void set_disabled_flags() {
    ToolbarButton* b = workbench.buttons;
    bool no_project = core.project_path.length <= 0;
    bool no_selection = !any_node_selected();
    b[3].disabled = no_project;
    b[4].disabled = no_project;
    b[5].disabled = no_project || !editor.current_document || !editor.current_document->dirty;
    b[6].disabled = !any_document_modified();
    b[8].disabled = no_selection;
    b[9].disabled = no_selection;
    b[10].disabled = no_selection;
}

void run_button_action(i32 index) {
    switch (index) {
    case 0: open_file_dialog(0, SV("new project"), false); break;
    case 1: open_file_dialog(1, SV("open project"), false); break;
    case 2: save_project_or_ask(); break;
    case 3: open_file_dialog(3, SV("new file"), true); break;
    case 4: open_file_dialog(4, SV("open file"), true); break;
    case 5:
        if (editor.current_document) save_document_interactive(editor.current_document);
        break;
    case 6: save_all_documents(); break;
    case 7: append_new_group(); break;
    case 8: open_prompt(0, SV("rename")); break;
    case 9: view_selected_files(); break;
    case 10: remove_selected_nodes(); break;
    case 11: open_settings_dialog(); break;
    default: break;
    }
}
}  // namespace

void toolbar_init() {
    for (i32 i = 0; i < toolbar_button_count; i++) {
        ToolbarButton* b = &workbench.buttons[i];
        *b = ToolbarButton{};
        b->icon = render.icon_textures[button_specs[i].icon];
        b->icon_color = render.theme.*button_specs[i].color;
        b->label_color = render.theme.text_color;
        b->font = &render.font;
        b->text_scale = 1;
        b->has_icon = 1;
    }
}

void run_toolbar() {
    lay_out_buttons();
    set_disabled_flags();
    // A dialog keeps the toolbar from acting until it closes.
    bool accepts_input = !modal_dialog_open();
    for (i32 i = 0; i < toolbar_button_count; i++)
        if (button_frame(&workbench.buttons[i], accepts_input)) run_button_action(i);
    // The hover clock restarts whenever the pointer comes to another button; a press
    // puts the name away until the pointer leaves.
    WorkbenchState& w = workbench;
    i32 hovered = hovered_button();
    if (hovered != w.tooltip_button) {
        w.tooltip_button = hovered;
        w.tooltip_since = w.clock;
        w.tooltip_dismissed = false;
    }
    if (hovered >= 0 && input_mouse_is_pressed(mouse_primary)) w.tooltip_dismissed = true;
}

StringView toolbar_tooltip(i32 index) {
    return index >= 0 && index < toolbar_button_count ? button_specs[index].tooltip : StringView{nullptr, 0};
}

// Drawn after everything else so that no panel covers it.
void run_tooltip() {
    WorkbenchState& w = workbench;
    if (w.tooltip_button < 0 || w.tooltip_dismissed) return;
    f64 waited = w.clock - w.tooltip_since;
    if (waited < tooltip_delay) {
        frame_request(tooltip_delay - waited);
        return;
    }
    const ToolbarButton& b = w.buttons[w.tooltip_button];
    StringView text = toolbar_tooltip(w.tooltip_button);
    f32 k = w.scale;
    TextMetrics m = measure_text(&render.font, text, k, k, 0, 0, 1e9);
    f32 pad = 8 * k;
    f32 width = m.width + 2 * pad, height = (f32)(render.font.line_height * render.font.size) * k + pad;
    // Under the button, kept inside the window.
    f32 x = b.x;
    if (x + width > w.layout.width) x = w.layout.width - width;
    if (x < 0) x = 0;
    f32 y = b.y - height - 4 * k;
    scissor_off();
    draw_rect(opaque_panel_color(), x, y, width, height);
    draw_text(&render.font, render.theme.text_color, text, x + pad, y + height * 0.5f, k, k, 0, align_center_y);
}
