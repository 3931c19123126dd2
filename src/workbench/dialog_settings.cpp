// The compiler-settings dialog: the name of the sources list that the analysis reads.
#include "analysis/analysis_state.h"
#include "analysis/source_cache.h"
#include "editor/editor_state.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"
#include "editor/recolour.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

void set_sources_box_text(StringView name) {
    // Before workbench_init the box is not an entry field yet; it starts empty then.
    if (workbench.settings.box.single_line) document_set_text(&workbench.settings.box, name);
}

StringView sources_box_text() { return document_text(&workbench.settings.box); }

void open_settings_dialog() {
    SettingsState& s = workbench.settings;
    workbench.menu.open = false;
    set_sources_box_text(owned_view(analysis.source_cache.sources_name));
    s.box.submitted = 0;
    s.open = true;
    workbench_take_focus();
}

void run_settings_dialog() {
    SettingsState& s = workbench.settings;
    if (!s.open) return;
    Rect r = dialog_frame(640, 180, SV("compiler settings"));
    f32 k = workbench.scale;
    draw_text(&render.font, render.theme.text_color, SV("sources"), r.x + 16 * k, r.y + 100 * k, k, k, 0, align_center_y);
    dialog_text_box(&s.box, r.x + 112 * k, r.y + 84 * k, r.width - 128 * k, 32 * k);
    f32 middle = r.x + r.width * 0.5f;
    bool ok = dialog_button(&s.ok, middle - (dialog_button_width + 8) * k, r.y + 16 * k);
    bool cancel = dialog_button(&s.cancel, middle + 8 * k, r.y + 16 * k);
    if (s.box.submitted) {
        s.box.submitted = 0;
        ok = true;
    }
    if (ok) {
        StringView name = string_copy(sources_box_text(), pool_frame);
        // The name is part of the project file.
        if (!sv_equal(name, owned_view(analysis.source_cache.sources_name))) workbench.project_saved = false;
        source_cache_rebuild(name);
        if (editor.current_document) recolour_document(editor.current_document);
    }
    if (ok || cancel) {
        s.open = false;
        workbench_give_focus_back();
    }
}
