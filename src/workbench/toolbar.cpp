// The 12 toolbar buttons: layout, when each is disabled, and what each does.
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
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
};

const ButtonSpec button_specs[toolbar_button_count] = {
    {icon_new, &Theme::new_file_color},
    {icon_open, &Theme::open_file_color},
    {icon_save, &Theme::save_file_color},
    {icon_sphere, &Theme::new_file_color},
    {icon_sphere_open, &Theme::open_file_color},
    {icon_sphere_save, &Theme::save_file_color},
    {icon_sphere_save_all, &Theme::save_file_color},
    {icon_star3d, &Theme::folder_color},
    {icon_lightning, &Theme::rename_file_color},
    {icon_eye, &Theme::view_file_color},
    {icon_close, &Theme::remove_file_color},
    {icon_settings, &Theme::settings_color},
};

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
}
