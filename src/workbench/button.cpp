// The button widget shared by the toolbar and the dialogs.
#include "core/core_state.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "workbench/workbench_state.h"

namespace {
const Color disabled_cover = {0, 0, 0, 0.5f};
const f32 icon_margin = 6;

void draw_contents(const ToolbarButton* b, f32 colour_factor) {
    if (b->has_icon) {
        f32 side = (b->width < b->height ? b->width : b->height) - 2 * icon_margin * workbench.scale;
        if (side > 0)
            draw_quad(b->icon, color_scale(b->icon_color, colour_factor), b->x + (b->width - side) * 0.5f,
                      b->y + (b->height - side) * 0.5f, side, side, 0, 0, 0, uv_rect_full);
    }
    if (b->label.length > 0 && b->font)
        draw_text(b->font, color_scale(b->label_color, colour_factor), b->label, b->x + b->width * 0.5f,
                  b->y + b->height * 0.5f, b->text_scale, b->text_scale, align_center_x, align_center_y);
}
}  // namespace

bool button_frame(ToolbarButton* b, bool accepts_input) {
    Rect r{b->x, b->y, b->width, b->height};
    if (b->disabled) {
        b->held = 0;
        draw_rect(disabled_cover, b->x, b->y, b->width, b->height);
        draw_contents(b, 0.5f);
        return false;
    }
    draw_contents(b, 1.0f);
    bool hovered = point_in_rect(r, core.mouse_x, core.mouse_y);
    bool clicked = false;
    if (accepts_input) {
        if (hovered && input_mouse_is_pressed(mouse_primary)) b->held = 1;
        if (input_mouse_is_released(mouse_primary)) {
            clicked = b->held != 0;
            b->held = 0;
        }
    } else {
        b->held = 0;
    }
    if (b->held) draw_rect(render.theme.pressed_color, b->x, b->y, b->width, b->height);
    else if (hovered && accepts_input) draw_rect(render.theme.hover_color, b->x, b->y, b->width, b->height);
    return clicked;
}

void dialog_button_init(ToolbarButton* b, StringView label) {
    *b = ToolbarButton{};
    b->label = label;
    b->width = dialog_button_width * workbench.scale;
    b->height = dialog_button_height * workbench.scale;
    b->label_color = render.theme.text_color;
    b->font = &render.font;
    b->text_scale = workbench.scale;
}

bool dialog_button(ToolbarButton* b, f32 x, f32 y) {
    b->x = x;
    b->y = y;
    b->width = dialog_button_width * workbench.scale;
    b->height = dialog_button_height * workbench.scale;
    // A faint plate so that the label reads as a button on the dialog's fill.
    draw_rect(color_scale(render.theme.text_color, 0.15f), x, y, b->width, b->height);
    return button_frame(b, true);
}
