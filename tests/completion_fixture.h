#pragma once
// A document in tab slot 0, driven through editor_view frames on the headless back-end,
// with real analysis results: each request the document posts is analysed on the spot by
// the same steps the analysis thread takes, and published for the next frame to take.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/analysis_job.h"
#include "analysis/analysis_state.h"
#include "analysis/analysis_thread.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "app/frame_input.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/completion.h"
#include "editor/edit.h"
#include "editor/document.h"
#include "editor/editor_state.h"
#include "editor/view.h"
#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "syntax/coloring_file.h"
#include "syntax/token_kinds.h"
#include "glyph_rows_fixture.h"
#include "test_support.h"

namespace completion_test {

inline const Color panel_color = {0.12f, 0.13f, 0.14f, 1};
inline const Color selected_color = {0.22f, 0.23f, 0.24f, 1};
inline const Color label_color = {0.32f, 0.33f, 0.34f, 1};

inline bool same_color(const f32* c, Color want) {
    return c[0] == want.r && c[1] == want.g && c[2] == want.b && c[3] == want.a;
}

struct Box {
    f64 left, bottom, width, height;
    u32 texture;
    Color color;
    i64 index;  // in the frame's draws
};

inline std::string str(StringView s) {
    return std::string(s.data ? s.data : "", (size_t)(s.length > 0 ? s.length : 0));
}

inline void setup_globals() {
    ensure_arenas();
    static bool done = false;
    if (done) return;
    done = true;
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    ensure_analysis_locks();
}

// One cycle of the analysis thread, run here. False when nothing was pending.
inline bool run_analysis_cycle() { return analysis_run_pending(); }

class CompletionFixture : public ::testing::Test {
protected:
    void SetUp() override {
        setup_globals();
        headless_reset();
        render.gpu = Renderer{};
        theme_set_defaults();
        render.theme.menu_background_color = panel_color;
        render.theme.selection_color = selected_color;
        render.theme.text_color = label_color;
        gpu_setup();
        std::string info = font_info_text();
        ASSERT_TRUE(font_parse(&test_font, StringView{info.data(), (i64)info.size()}, SV("fixture/font_info.txt")));
        test_font.texture = texture_create();
        for (int i = 0; i < icon_count; i++) render.icon_textures[i] = texture_create();
        white = render.icon_textures[icon_white];
        core.frame_time = 1.0f / 60;
        editor.hooks = EditorHooks{};
        editor.view_sets_pointer_shape = false;

        mutex_lock(analysis.lock);
        analysis.request = AnalysisRequest{};
        analysis.result_slot.ready = 0;
        mutex_unlock(analysis.lock);
        source_cache_clear();
        core.project_path.length = 0;
        analysis.current_result.scopes.count = 0;
        analysis.current_result.cursor_ranges.count = 0;
        analysis.current_result.signatures.count = 0;

        tab_table_init();
        doc = &editor.tab_table.slots[0];
        doc->font = &test_font;
        doc->caret_texture = doc->background_texture = doc->scrollbar_texture = white;
        doc->x = 100;
        doc->y = 50;
        doc->width = 600;
        doc->height = 600;
        doc->focused = 1;
        doc->smooth_scroll = 0;
        headless_mouse_move(20, render.gpu.height - 20);  // outside the box
    }
    void TearDown() override {
        for (int i = 0; i < icon_count; i++) render.icon_textures[i] = 0;
        render.gpu = Renderer{};
        source_cache_clear();
        core.project_path.length = 0;
    }

    // Loads the text with the cursor where `marker` ("|") stands (removed from the text),
    // recolours it, analyses it and takes the result.
    void load(const std::string& with_marker, StringView path = SV("main.vnt"), u8 kind = file_kind_vantrel) {
        std::string text = with_marker;
        size_t at = text.find('|');
        if (at != std::string::npos) text.erase(at, 1);
        string_assign(&doc->path, path, pool_main);
        doc->kind = kind;
        document_set_text(doc, StringView{text.data(), (i64)text.size()});
        doc->cursor = doc->anchor = at == std::string::npos ? 0 : (i32)at;
        doc->last_typed = 0;
        finish_edit(doc);
        doc->dirty = 0;
        analyse_and_frame();
    }
    // As the workbench frame does: a posted result is taken, then the view runs. True
    // when a result was taken.
    bool frame() {
        frame_input_begin();
        begin_frame();
        bool taken = editor_take_analysis_result(doc);
        editor_view(doc);
        return taken;
    }
    // The pending request is analysed, and the next frame takes its result.
    void analyse_and_frame() {
        run_analysis_cycle();
        frame();
    }
    void type(const std::string& s) {
        headless_text(StringView{s.data(), (i64)s.size()});
        frame();
    }
    // Types each byte in a frame of its own, with the analysis keeping pace.
    void type_analysed(const std::string& s) {
        for (char c : s) {
            type(std::string(1, c));
            analyse_and_frame();
        }
    }
    void tap(i32 key) {
        headless_key_tap(key);
        frame();
    }
    void ctrl_tap(i32 key) {
        headless_key_down(key_ctrl);
        headless_key_tap(key);
        frame();
        headless_key_up(key_ctrl);
        frame();
    }
    std::string text() const { return str(document_text(doc)); }
    i32 offset_of(const std::string& s, int n = 0) const {
        std::string t = text();
        size_t at = t.find(s);
        while (n-- > 0 && at != std::string::npos) at = t.find(s, at + 1);
        return at == std::string::npos ? -1 : (i32)at;
    }
    std::vector<std::string> completion_names() const {
        std::vector<std::string> out;
        for (const Candidate& c : doc->completion) out.push_back(str(c.name));
        return out;
    }
    std::vector<std::string> symbol_texts() const {
        std::vector<std::string> out;
        for (const SymbolListEntry& e : doc->symbol_list) out.push_back(str(e.text));
        return out;
    }

    Box box_of(const RecordedDraw& d) const {
        f64 w = render.gpu.width, h = render.gpu.height;
        return Box{(d.mvp[12] + 1) * 0.5 * w, (d.mvp[13] + 1) * 0.5 * h, d.mvp[0] * 0.5 * w, d.mvp[5] * 0.5 * h,
                   d.texture, Color{d.color[0], d.color[1], d.color[2], d.color[3]}, 0};
    }
    // Quads of one colour that are not glyphs.
    std::vector<Box> boxes(Color c) const {
        std::vector<Box> out;
        for (i64 i = 0; i < headless_draw_count(); i++) {
            const RecordedDraw& d = headless_draws()[i];
            if (d.texture != test_font.texture && same_color(d.color, c)) {
                out.push_back(box_of(d));
                out.back().index = i;
            }
        }
        return out;
    }
    // Glyphs of one colour (any colour when `any`), grouped into rows, top row first;
    // with `over` only those drawn after that box and inside it.
    std::vector<GlyphRow> glyph_rows(Color c, bool any = false, const Box* over = nullptr) const {
        std::vector<DrawnGlyph> glyphs;
        for (i64 i = over ? over->index + 1 : 0; i < headless_draw_count(); i++) {
            const RecordedDraw& d = headless_draws()[i];
            if (d.texture != test_font.texture || (!any && !same_color(d.color, c))) continue;
            Box b = box_of(d);
            if (over && (b.left < over->left - 0.5 || b.left >= over->left + over->width ||
                         b.bottom < over->bottom - 0.5 || b.bottom >= over->bottom + over->height))
                continue;
            glyphs.push_back({std::round(b.bottom), b.left, (char)std::lround(d.uv_rect[0] * 256)});
        }
        return glyph_rows_of(glyphs);
    }
    // Glyph rows drawn over a panel, in any colour.
    std::vector<GlyphRow> glyph_rows_in(const Box& p) const { return glyph_rows(Color{}, true, &p); }
    // The one panel-coloured box whose top edge is highest (the symbol list lies at the
    // top of the box) or lowest.
    bool panel(Box* out, bool highest) const {
        std::vector<Box> b = boxes(panel_color);
        if (b.empty()) return false;
        *out = b[0];
        for (const Box& x : b) {
            f64 top = x.bottom + x.height, best = out->bottom + out->height;
            if (highest ? top > best : top < best) *out = x;
        }
        return true;
    }

    Font test_font{};
    u32 white = 0;
    Document* doc = nullptr;
};

}  // namespace completion_test
