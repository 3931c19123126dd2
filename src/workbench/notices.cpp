// Notices: one-line messages over the bottom of the editor region that do not stop the
// user (a recovered file, a failed recovery write). A click or Escape dismisses them;
// they go by themselves after a few seconds.
#include "core/core_state.h"
#include "editor/editor_state.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {
void drop_notice(i32 index) {
    NoticeState& n = workbench.notices;
    // Texts keep their storage: the records trade places rather than being copied.
    OwnedString dropped = n.texts[index];
    for (i32 i = index; i + 1 < n.count; i++) {
        n.texts[i] = n.texts[i + 1];
        n.expires[i] = n.expires[i + 1];
    }
    n.texts[n.count - 1] = dropped;
    n.count--;
}

f32 notice_row_height() { return ((f32)(render.font.line_height * render.font.size) + 12) * workbench.scale; }
}  // namespace

void notice_show(StringView text) {
    NoticeState& n = workbench.notices;
    if (n.count == notice_capacity) drop_notice(0);
    string_assign(&n.texts[n.count], text, pool_main);
    // Shown before the first frame (at start-up) it still gets its full time.
    workbench.clock = workbench_seconds();
    n.expires[n.count] = workbench.clock + notice_seconds;
    n.count++;
}

void dismiss_notices() { workbench.notices.count = 0; }

void run_notices() {
    if (editor.line_end_notice.length > 0) {
        notice_show(owned_view(editor.line_end_notice));
        editor.line_end_notice.length = 0;
    }
    NoticeState& n = workbench.notices;
    for (i32 i = 0; i < n.count;) {
        if (workbench.clock >= n.expires[i]) drop_notice(i);
        else i++;
    }
    if (n.count == 0) return;
    Rect editor = workbench.layout.editor;
    f32 h = notice_row_height();
    f32 k = workbench.scale;
    f32 width = editor.width - 16 * k;
    if (width < 32 * k) return;
    scissor_set(editor.x, editor.y, editor.width, editor.height);
    bool pressed = !any_dialog_open() && input_mouse_is_pressed(mouse_primary);
    // Above the editor's row of indicators (modified star, search toggles).
    f32 bottom = editor.y + ((f32)(render.font.line_height * render.font.size) + 8) * k;
    for (i32 i = n.count - 1; i >= 0; i--) {
        f32 y = bottom + (f32)(n.count - 1 - i) * (h + 4 * k);
        Rect r{editor.x + 8 * k, y, width, h};
        Color panel = render.theme.menu_background_color;
        panel.a = 1;  // the code below must not show through the text
        draw_rect(panel, r.x, r.y, r.width, r.height);
        draw_rect(render.theme.note_color, r.x, r.y, 4 * k, r.height);
        draw_text(&render.font, render.theme.text_color, owned_view(n.texts[i]), r.x + 12 * k, r.y + r.height * 0.5f, k, k, 0,
                  align_center_y);
        if (pressed && point_in_rect(r, core.mouse_x, core.mouse_y)) drop_notice(i);
    }
    scissor_off();
}
