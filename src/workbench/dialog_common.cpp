// What the dialogs share: keyboard focus while they are open, the dialog box, its
// one-line text box and its buttons.
#include "editor/editor_state.h"
#include "editor/view.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/project.h"
#include "workbench/workbench_state.h"

bool modal_dialog_open() {
    const WorkbenchState& w = workbench;
    return w.prompt.open || w.confirm.open || w.file_dialog.open || w.settings.open;
}

bool any_dialog_open() { return modal_dialog_open() || workbench.menu.open; }

void workbench_take_focus() {
    if (editor.current_document) editor.current_document->focused = 0;
    workbench.file_tree.has_focus = 0;
    workbench.outline.has_focus = 0;
}

void workbench_give_focus_back() {
    if (any_dialog_open()) return;
    if (editor.current_document) editor.current_document->focused = 1;
    workbench.file_tree.has_focus = 1;
    workbench.outline.has_focus = 1;
}

Color opaque_panel_color() {
    Color c = render.theme.menu_background_color;
    c.a = 1;
    return c;
}

Rect dialog_frame(f32 width, f32 height, StringView title) {
    const WorkbenchLayout& l = workbench.layout;
    f32 k = workbench.scale;
    width *= k;
    height *= k;
    Rect r{(f32)math_floor((l.width - width) * 0.5f), (f32)math_floor((l.height - height) * 0.5f), width, height};
    draw_rect(opaque_panel_color(), r.x, r.y, r.width, r.height);
    draw_text(&render.font, render.theme.text_color, title, r.x + r.width * 0.5f, r.y + r.height - 24 * k, k, k,
              align_center_x, align_center_y);
    return r;
}

void dialog_text_box(Document* box, f32 x, f32 y, f32 width, f32 height, bool takes_keys) {
    // A field darker than the dialog, and solid: the code behind must not show through.
    Color field = color_scale(opaque_panel_color(), 0.5f);
    field.a = 1;
    box->background = field;
    box->x = x;
    box->y = y;
    box->width = width;
    box->height = height;
    box->focused = takes_keys ? 1 : 0;
    editor_view(box);
    box->focused = 1;
}
