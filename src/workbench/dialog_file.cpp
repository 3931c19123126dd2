// The file dialog: a listing to pick from, a text box for the name, and what "ok" does
// in each of its six modes.
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"
#include "syntax/file_kind.h"

namespace {
void open_files(StringView chosen) {
    StringBuilder full{};
    full.pool = pool_frame;
    build_full_path(&full, chosen);
    if (!file_exists(builder_view(full))) {
        show_simple_message_box(0, SV("error"), string_concat(SV("file does not exist: "), chosen, pool_frame));
        return;
    }
    // Several names may be given at once, separated by "|".
    i64 start = 0;
    for (i64 i = 0; i <= chosen.length; i++) {
        if (i < chosen.length && chosen.data[i] != '|') continue;
        if (i > start) project_add_file(sv_slice(chosen, start, i));
        start = i + 1;
    }
}

void new_file(StringView chosen) {
    StringBuilder full{};
    full.pool = pool_frame;
    build_full_path(&full, chosen);
    file_create(builder_view(full));
    project_add_file(chosen);
}

void save_as_target(StringView chosen) {
    Document* doc = document_of_tab(workbench.file_dialog.target_doc_id);
    if (!doc) doc = editor.current_document;
    if (!doc || !save_document_as(doc, chosen)) {
        cancel_pending();
        return;
    }
    continue_pending();
}

void save_project_to(StringView chosen) {
    project_save(chosen);
    if (workbench.project_saved) continue_pending();
    else cancel_pending();
}

void act(i32 mode, StringView chosen) {
    switch (mode) {
    case 0: request_action(pending_new_project, chosen); break;
    case 1: request_action(pending_open_project, chosen); break;
    case 2: save_project_to(chosen); break;
    case 3: new_file(chosen); break;
    case 4: open_files(chosen); break;
    case 5: save_as_target(chosen); break;
    default: break;
    }
}

// The folder the listing shows, absolute; a long one keeps its end, where it differs.
void draw_folder_line(Rect area) {
    char buffer[4096];
    StringView folder = path_absolute(file_dialog_directory(), buffer, sizeof buffer);
    f32 k = workbench.scale;
    f32 room = area.width - measure_text(&render.font, SV("in  ..."), k, k, 0, 0, 1e9).width;
    bool cut = false;
    while (folder.length > 1 && measure_text(&render.font, folder, k, k, 0, 0, 1e9).width > room) {
        folder = sv_slice(folder, 1, folder.length);
        cut = true;
    }
    StringView shown = string_concat(cut ? SV("in ...") : SV("in "), folder, pool_frame);
    scissor_set(area.x, area.y, area.width, area.height);
    draw_text(&render.font, render.theme.line_number_color, shown, area.x, area.y + area.height * 0.5f, k, k, 0,
              align_center_y);
    scissor_off();
}

// Draws the rows and returns the row under a press, or -1.
i64 run_listing(Rect area) {
    FileDialogState& d = workbench.file_dialog;
    bool over = point_in_rect(area, core.mouse_x, core.mouse_y);
    f32 k = workbench.scale, row_height = listing_row_height * k;
    f32 content = (f32)d.entries.count * row_height;
    if (over) d.scroll -= (f32)input_mouse_wheel() * listing_wheel_step * k;
    f32 most = content - area.height > 0 ? content - area.height : 0;
    if (d.scroll > most) d.scroll = most;
    if (d.scroll < 0) d.scroll = 0;
    draw_rect(Color{0, 0, 0, 0.3f}, area.x, area.y, area.width, area.height);
    scissor_set(area.x, area.y, area.width, area.height);
    i64 picked = -1;
    f32 top = area.y + area.height + d.scroll;
    for (i64 i = 0; i < d.entries.count; i++) {
        f32 y = top - (f32)(i + 1) * row_height;
        if (y >= area.y + area.height || y + row_height <= area.y) continue;
        Rect row{area.x, y, area.width, row_height};
        bool hovered = over && point_in_rect(row, core.mouse_x, core.mouse_y);
        if (hovered) draw_rect(render.theme.hover_color, row.x, row.y, row.width, row.height);
        if (hovered && input_mouse_is_pressed(mouse_primary)) picked = i;
        StringView name = listing_name(i);
        Color c = d.entries[i].is_directory ? render.theme.folder_color : file_color_for_path(name);
        draw_text(&render.font, c, name, row.x + 8 * k, row.y + row.height * 0.5f, k, k, 0, align_center_y);
    }
    scissor_off();
    return picked;
}
}  // namespace

void open_file_dialog(i32 mode, StringView title, bool relative) {
    FileDialogState& d = workbench.file_dialog;
    workbench.menu.open = false;
    d.mode = mode;
    string_assign(&d.title, title, pool_main);
    if (relative != d.relative) d.sub_directory.length = 0;
    d.relative = relative;
    d.target_doc_id = -1;
    file_dialog_refresh();
    document_reset(&d.box);
    d.box.submitted = 0;
    d.open = true;
    workbench_take_focus();
}

void close_file_dialog() {
    FileDialogState& d = workbench.file_dialog;
    document_reset(&d.box);
    bool was_open = d.open;
    d.open = false;
    // Given up: whatever waited on this dialog is given up too.
    if (was_open) cancel_pending();
    workbench_give_focus_back();
}

void file_dialog_submit() {
    FileDialogState& d = workbench.file_dialog;
    StringView text = string_copy(document_text(&d.box), pool_frame);
    if (text.length > 0 && text.data[text.length - 1] == '\n') text.length--;
    // A folder's name goes into that folder rather than choosing it.
    StringView full = text.length > 0 ? file_dialog_full_path(text) : StringView{nullptr, 0};
    if (full.length > 0 && directory_exists(full)) {
        char buffer[4096];
        file_dialog_enter_directory(path_absolute(full, buffer, sizeof buffer));
        document_reset(&d.box);
        return;
    }
    StringView chosen = text.length > 0 ? file_dialog_chosen_path(text) : StringView{nullptr, 0};
    i32 mode = d.mode;
    document_reset(&d.box);
    d.open = false;
    workbench_give_focus_back();
    if (text.length > 0) act(mode, chosen);
    else cancel_pending();
}

void run_file_dialog() {
    FileDialogState& d = workbench.file_dialog;
    if (!d.open) return;
    Rect r = dialog_frame(600, 520, owned_view(d.title));
    f32 k = workbench.scale;
    draw_folder_line(Rect{r.x + 16 * k, r.y + 456 * k, r.width - 32 * k, 24 * k});
    i64 picked = run_listing(Rect{r.x + 16 * k, r.y + 112 * k, r.width - 32 * k, 340 * k});
    // Tab completes the name instead of reaching the box as a character.
    bool complete = input_key_is_typed(key_tab) && !input_key_is_held(key_ctrl);
    if (complete) file_dialog_complete(string_copy(document_text(&d.box), pool_frame));
    dialog_text_box(&d.box, r.x + 16 * k, r.y + 64 * k, r.width - 32 * k, 32 * k, !complete);
    f32 middle = r.x + r.width * 0.5f;
    bool ok = dialog_button(&d.ok, middle - (dialog_button_width + 8) * k, r.y + 16 * k);
    bool cancel = dialog_button(&d.cancel, middle + 8 * k, r.y + 16 * k);
    if (d.box.submitted) {
        d.box.submitted = 0;
        ok = true;
    }
    if (picked >= 0) file_dialog_pick(picked);
    if (ok) file_dialog_submit();
    else if (cancel) close_file_dialog();
}
