#pragma once
// Scripted frames of the whole workbench on the headless back-end: a test font, icon
// textures that tell draws apart, a project in a temporary directory, and helpers that
// queue input and run one frame as the main loop does.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "app/frame_input.h"
#include "app/shell_state.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/document.h"
#include "editor/editor_state.h"
#include "editor/search.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "test_support.h"
#include "workbench/list_widget.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

// Glyphs 10 pixels wide, rows 16 high.
inline std::string workbench_test_font_info() {
    std::string s = "s 256 256\ng 32 0 0 10 0 0 0 0\ng 9 0 0 40 0 0 0 0\n";
    for (int c = 33; c < 127; c++) s += "g " + std::to_string(c) + " 0 0 10 " + std::to_string(c) + " 0 10 16\n";
    return s;
}

inline StringView sv_of(const std::string& s) { return StringView{s.data(), (i64)s.size()}; }
inline std::string str_of(StringView s) { return std::string(s.data ? s.data : "", (size_t)(s.length > 0 ? s.length : 0)); }

class WorkbenchFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ensure_arenas();
        headless_reset();
        render.gpu = Renderer{};
        theme_set_defaults();
        shell_set_defaults();
        gpu_setup();
        std::string info = workbench_test_font_info();
        render.font = Font{};
        ASSERT_TRUE(font_parse(&render.font, sv_of(info), SV("fixture/font_info.txt")));
        render.font.texture = texture_create();
        for (int i = 0; i < icon_count; i++) render.icon_textures[i] = texture_create();
        ensure_analysis_locks();
        core.frame_time = 1.0f / 60;
        char pattern[] = "/tmp/tesmora_workbench_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        string_assign(&shell.workspace_path, sv_of(dir), pool_main);
        editor.search.match_case = editor.search.whole_word = false;
        tab_table_init();
        project_reset(StringView{nullptr, 0});
        workbench.project_saved = true;
        workbench_init(WorkbenchConfig{owned_view(shell.workspace_path), false});
        headless_clear_message_boxes();
        move(512, 20);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        shell.workspace_path.length = 0;
        project_reset(StringView{nullptr, 0});
        editor.hooks = EditorHooks{};
    }

    // One pass of the main loop as far as the workbench goes.
    void frame() {
        frame_input_begin();
        begin_frame();
        workbench_frame();
    }
    void frames(int n) {
        for (int i = 0; i < n; i++) frame();
    }
    // Window point with y upwards.
    void move(f64 x, f64 y) { headless_mouse_move((i32)x, render.gpu.height - (i32)y); }
    void click(f64 x, f64 y, i32 button = mouse_primary) {
        move(x, y);
        headless_mouse_click(button);
        frame();
        frame();
    }
    void click_button(const ToolbarButton& b) { click(b.x + b.width / 2, b.y + b.height / 2); }
    void ctrl_key(i32 key, bool shift = false) {
        headless_key_down(key_ctrl);
        if (shift) headless_key_down(key_shift);
        headless_key_tap(key);
        frame();
        if (shift) headless_key_up(key_shift);
        headless_key_up(key_ctrl);
        frame();
    }
    void type(const std::string& text) {
        headless_text(sv_of(text));
        frame();
    }
    void enter() {
        headless_key_tap(key_enter);
        frame();
        frame();
    }

    std::string path_of(const std::string& name) { return dir + "/" + name; }
    void write_file(const std::string& name, const std::string& content) {
        std::filesystem::create_directories(std::filesystem::path(path_of(name)).parent_path());
        std::ofstream(path_of(name), std::ios::binary) << content;
    }
    std::string read_file(const std::string& name) { return ::read_file(path_of(name)); }
    // An empty project whose directory is the temporary one.
    void new_project() {
        std::string p = path_of("test.proj");
        project_reset(sv_of(p));
        workbench.project_saved = true;
    }
    // A project with the given files added (and opened in tabs, the last one active).
    void project_with(const std::vector<std::pair<std::string, std::string>>& files) {
        new_project();
        for (auto& f : files) {
            write_file(f.first, f.second);
            project_add_file(sv_of(f.first));
        }
        frame();
    }

    i64 draws_with_texture(u32 texture) {
        i64 n = 0;
        for (i64 i = 0; i < headless_draw_count(); i++)
            if (headless_draws()[i].texture == texture) n++;
        return n;
    }
    std::string message(i64 index) {
        const RecordedMessageBox* m = headless_message_box(index);
        return m ? std::string(m->title) + ": " + m->text : std::string();
    }
    std::string doc_text(const Document* doc) { return str_of(document_text(doc)); }

    std::string dir;
};
