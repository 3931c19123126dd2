// Every kind of file the editor reads, in five bad versions each: broken (malformed
// lines, values and names), empty, huge (sparse files far beyond what the reader takes),
// binary (random bytes) and not UTF-8 (Latin-1 bytes). One test per kind; the README's
// "Bad files" table states what each shows, and names these tests.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis_job.h"
#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "app/shell_state.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/document.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "syntax/coloring_file.h"
#include "syntax/syntax_state.h"
#include "syntax/token_kinds.h"
#include "test_support.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace fs = std::filesystem;

namespace {

StringView view(const std::string& s) { return StringView{s.data(), (i64)s.size()}; }
std::string str(StringView s) { return s.length > 0 ? std::string(s.data, (size_t)s.length) : std::string(); }

std::string random_bytes(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string s(n, 0);
    for (char& c : s) c = (char)(random() & 0xFF);
    return s;
}

// A small PNG that ships with the program.
std::string read_repository_png() {
    std::ifstream in(TESMORA_SOURCE_DIR "/resources/close.png", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool same_color(Color a, Color b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

class BadFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ensure_arenas();
        pool_reset(pool_frame);
        headless_reset();
        render.gpu = Renderer{};
        theme_set_defaults();
        shell_set_defaults();
        ensure_analysis_locks();
        char pattern[] = "/tmp/tesmora_bad_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        previous_directory = cwd;
        decode_buffer = malloc((size_t)64 << 20);
        image_set_buffer((i64)64 << 20, decode_buffer);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(previous_directory.c_str()), 0);
        image_set_buffer(0, nullptr);
        free(decode_buffer);
        theme_set_defaults();
        shell_set_defaults();
        render.font = Font{};
        core.project_path.length = 0;
        source_cache_clear();
        editor.hooks = EditorHooks{};
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    std::string path(const std::string& name) const { return dir + "/" + name; }
    void write(const std::string& name, const std::string& bytes) {
        fs::create_directories(fs::path(path(name)).parent_path());
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    // A file of `size` bytes that takes no disk: all zero bytes.
    void write_sparse(const std::string& name, off_t size) {
        int fd = open(path(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, size), 0);
        close(fd);
    }
    std::vector<std::string> messages() const { return shown_messages(); }

    std::string dir, previous_directory;
    void* decode_buffer = nullptr;
};

// ---- settings.txt ---------------------------------------------------------------------
TEST_F(BadFiles, SettingsFile) {
    ASSERT_EQ(chdir(dir.c_str()), 0);
    auto load = [&](const std::string& bytes) {
        write("settings.txt", bytes);
        shell_set_defaults();
        testing::internal::CaptureStdout();
        settings_load();
        return testing::internal::GetCapturedStdout();
    };
    // Broken: numbers that are not numbers read 0, unknown keys are skipped, a missing
    // theme is no theme, a line without a space swallows the next line's key, and a key
    // at the end without a value gives an empty value.
    EXPECT_EQ(load("sleep twelve\ncoloring x y\ntheme missing.txt\nbogus 1\nlost\nsleep 3\nworkspace"), "");
    EXPECT_EQ(shell.sleep_ms, 0);
    EXPECT_EQ(shell.workspace_path.length, 0);
    EXPECT_EQ(str(owned_view(shell.coloring_path)), "x y");
    // Empty: the defaults.
    EXPECT_EQ(load(""), "");
    EXPECT_EQ(shell.sleep_ms, 12);
    EXPECT_EQ(shell.coloring_path.length, 0);
    // Huge: refused unread, with a line on standard output; the defaults stay.
    write_sparse("settings.txt", (off_t)3 << 30);
    shell_set_defaults();
    testing::internal::CaptureStdout();
    settings_load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "settings.txt too large, ignored\n");
    EXPECT_EQ(shell.sleep_ms, 12);
    // Binary: read like any other text (a key runs to the next space, across line
    // breaks); no value holds a line break.
    for (unsigned seed = 1; seed <= 20; seed++) {
        load(random_bytes(4096, seed) + " \nsleep 7\n");
        EXPECT_EQ(shell.sleep_ms, 7) << seed;
        EXPECT_EQ(str(owned_view(shell.workspace_path)).find('\n'), std::string::npos);
        EXPECT_EQ(str(owned_view(shell.coloring_path)).find('\n'), std::string::npos);
    }
    // Not UTF-8: the bytes are kept as they are.
    load("workspace caf\xe9 \xff\xfe\nsleep 5\n");
    EXPECT_EQ(str(owned_view(shell.workspace_path)), "caf\xe9 \xff\xfe");
    EXPECT_EQ(shell.sleep_ms, 5);
}

// ---- theme file -----------------------------------------------------------------------
TEST_F(BadFiles, ThemeFile) {
    auto load = [&](const std::string& bytes) {
        write("theme.txt", bytes);
        theme_set_defaults();
        pool_reset(pool_frame);
        theme_load(view(path("theme.txt")));
    };
    const Color transparent{0, 0, 0, 0};
    // Broken: values that are not numbers read 0; unknown keys are skipped; a colour
    // cut short takes the line break as a separator and so swallows the next line;
    // colours the file does not name become transparent black.
    load("background_color x y z\nnot_a_key 1 1 1\ntext_color 1 0.5\ncursor_color 0 1 0\nerror_color 1 0 0\n");
    EXPECT_TRUE(same_color(render.theme.background_color, Color{0, 0, 0, 1}));
    EXPECT_TRUE(same_color(render.theme.text_color, Color{1, 0.5f, 0, 1}));
    EXPECT_TRUE(same_color(render.theme.cursor_color, transparent));
    EXPECT_TRUE(same_color(render.theme.error_color, Color{1, 0, 0, 1}));
    EXPECT_TRUE(same_color(render.theme.selection_color, transparent));
    EXPECT_TRUE(sv_equal(render.theme.font_path, SV("resources/font_info.txt")));
    // Empty: a readable file replaces every colour, so all are transparent black.
    load("");
    for (int i = 0; i < theme_color_count; i++) EXPECT_TRUE(same_color(*theme_color_field(&render.theme, i), transparent)) << i;
    // Huge: as unreadable; the colours stay as they were.
    write_sparse("theme.txt", (off_t)2 << 30);
    theme_set_defaults();
    Color before = render.theme.text_color;
    theme_load(view(path("theme.txt")));
    EXPECT_TRUE(same_color(render.theme.text_color, before));
    // Binary: no more entries than keys; every colour parsed or transparent black.
    for (unsigned seed = 1; seed <= 20; seed++) {
        load(random_bytes(8192, seed));
        EXPECT_LE(render.theme.entries.count, theme_color_count);
    }
    // Not UTF-8: paths keep their bytes.
    load("font caf\xe9/f\xff.txt\nbackground \xe9t\xe9.png\ntext_color 0 1 0\n");
    EXPECT_EQ(str(render.theme.font_path), "caf\xe9/f\xff.txt");
    EXPECT_EQ(str(render.theme.background_path), "\xe9t\xe9.png");
    EXPECT_TRUE(same_color(render.theme.text_color, Color{0, 1, 0, 1}));
}

// ---- font description and atlas --------------------------------------------------------
TEST_F(BadFiles, FontDescriptionAndAtlas) {
    std::string atlas = read_repository_png();
    write("atlas.png", atlas);
    std::string info_path = path("font_info.txt");
    auto load = [&](const std::string& bytes) {
        write("font_info.txt", bytes);
        render.theme.font_path = view(info_path);
        testing::internal::CaptureStdout();
        font_load();
        return testing::internal::GetCapturedStdout();
    };
    // A good font first: failures below must leave it in place.
    EXPECT_EQ(load("s 16 16\ni atlas.png\ng 65 0 0 8 0 0 8 16\n"), "");
    ASSERT_EQ(render.font.glyphs.count, 2);
    u32 good_texture = render.font.texture;
    // Broken: an unknown line is named, and the font in use stays.
    EXPECT_EQ(load("s 16 16\ng 66 0 0 8 0 0 8 16\nx bogus\n"), "unknown x\n");
    EXPECT_EQ(render.font.glyphs.count, 2);
    EXPECT_EQ(render.font.texture, good_texture);
    // A broken atlas image: the glyphs load, the atlas texture is empty (nothing drawn).
    write("broken.png", "\x89PNG\r\n\x1a\n not really");
    EXPECT_EQ(load("s 16 16\ni broken.png\ng 66 0 0 8 0 0 8 16\n"), "");
    EXPECT_EQ(render.font.glyphs.count, 2);
    i32 w = -1, h = -1;
    headless_texture_size(render.font.texture, &w, &h);
    EXPECT_EQ(w, 0);
    // Empty: only the fallback glyph, no atlas.
    EXPECT_EQ(load(""), "");
    EXPECT_EQ(render.font.glyphs.count, 1);
    // Huge: as missing.
    write_sparse("font_info.txt", (off_t)3 << 30);
    render.font = Font{};
    testing::internal::CaptureStdout();
    font_load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed to open " + info_path + "\n");
    EXPECT_EQ(render.font.glyphs.count, 0);
    // Binary: refused or read, never more glyphs than lines.
    for (unsigned seed = 1; seed <= 20; seed++) {
        std::string bytes = random_bytes(8192, seed);
        load(bytes);
        EXPECT_LE(render.font.glyphs.count, 8193) << seed;
    }
    // Not UTF-8: an atlas name of Latin-1 bytes is looked for as written.
    std::string out = load("s 16 16\ni atl\xe9s.png\n");
    EXPECT_EQ(out, "failed to load font image: " + dir + "/atl\xe9s.png\n");
    write("atl\xe9s.png", atlas);
    EXPECT_EQ(load("s 16 16\ni atl\xe9s.png\ng 67 0 0 8 0 0 8 16\n"), "");
    headless_texture_size(render.font.texture, &w, &h);
    EXPECT_GT(w, 0);
}

// ---- coloring file --------------------------------------------------------------------
TEST_F(BadFiles, ColoringFile) {
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    std::vector<Color> builtin(syntax.vantrel_palette, syntax.vantrel_palette + vantrel_kind_count);
    i64 builtin_rainbow = syntax.rainbow_view.count;
    auto load = [&](const std::string& bytes) {
        write("coloring.txt", bytes);
        store_builtin_palettes();
        pool_reset(pool_frame);
        testing::internal::CaptureStdout();
        load_coloring_file(view(path("coloring.txt")));
        return testing::internal::GetCapturedStdout();
    };
    auto unchanged = [&] {
        for (i64 i = 0; i < vantrel_kind_count; i++)
            if (!same_color(syntax.vantrel_palette[i], builtin[(size_t)i])) return false;
        return syntax.rainbow_view.count == builtin_rainbow;
    };
    // Broken: keys that name nothing are skipped; the palettes keep their colours.
    EXPECT_EQ(load("not_a_kind 1 0 0\nkeyword\n\n\n  \nrainbow_nothing 1\n"), "");
    EXPECT_TRUE(unchanged());
    // Empty: the built-in colours.
    EXPECT_EQ(load(""), "");
    EXPECT_TRUE(unchanged());
    // Huge: skipped with a line on standard output.
    write_sparse("coloring.txt", (off_t)2 << 30);
    store_builtin_palettes();
    testing::internal::CaptureStdout();
    load_coloring_file(view(path("coloring.txt")));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "coloring file too large, skipped\n");
    EXPECT_TRUE(unchanged());
    // Binary: no crash; the rainbow keeps at least its default entry.
    for (unsigned seed = 1; seed <= 20; seed++) {
        load(random_bytes(16384, seed));
        EXPECT_GE(syntax.rainbow_view.count, 1) << seed;
    }
    // Not UTF-8: keys of Latin-1 bytes match nothing.
    EXPECT_EQ(load("k\xe9yword 1 0 0\n\xff\xfe 0 1 0\n"), "");
    EXPECT_TRUE(unchanged());
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
}


TEST_F(BadFiles, ProjectFile) {
    tab_table_init();
    editor.hooks.add_tab_entry = record_tab_entry;
    for (Document* box : {&workbench.settings.box, &workbench.prompt.box, &workbench.file_dialog.box})
        if (!box->single_line) document_init_entry_field(box);
    write("a.txt", "alpha\n");
    auto load = [&](const std::string& bytes) {
        write("p.tproj", bytes);
        headless_clear_message_boxes();
        testing::internal::CaptureStdout();
        project_load(view(path("p.tproj")));
        testing::internal::GetCapturedStdout();
        return messages();
    };
    const std::string invalid = "error: invalid project file: " + path("p.tproj");
    // Broken: reading stops at the first bad section word; what came before stays.
    EXPECT_EQ(load("tabs 1\n1 1 a.txt\nfiles 1\n1 a.txt\nbogus 3\nnodes 1\n1 0 a.txt\n"),
              std::vector<std::string>{invalid});
    EXPECT_EQ(workbench.project.tab_entries.count, 1);
    EXPECT_EQ(workbench.file_tree.rows.count, 0);
    ASSERT_NE(editor.current_document, nullptr);
    EXPECT_EQ(str(document_text(editor.current_document)), "alpha\n");
    // Empty: an empty project; the next file gets id 2.
    EXPECT_EQ(load(""), std::vector<std::string>{});
    EXPECT_EQ(workbench.project.tab_entries.count, 0);
    EXPECT_EQ(editor.next_tab_id, 1);
    EXPECT_TRUE(workbench.project_saved);
    // Huge: refused unread.
    write_sparse("p.tproj", (off_t)2 << 30);
    headless_clear_message_boxes();
    testing::internal::CaptureStdout();
    project_load(view(path("p.tproj")));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(messages(), std::vector<std::string>{"error: project file too large: " + path("p.tproj")});
    EXPECT_EQ(workbench.file_tree.rows.count, 0);
    // Binary: invalid (or empty) and never more tabs than slots.
    for (unsigned seed = 1; seed <= 20; seed++) {
        std::vector<std::string> m = load(random_bytes(8192, seed));
        EXPECT_LE(m.size(), 1u) << seed;
        EXPECT_LE(workbench.project.tab_entries.count, tab_slot_count);
    }
    // Not UTF-8: labels, paths and names keep their bytes through saving and loading.
    write("caf\xe9.txt", "latin\n");
    EXPECT_EQ(load("tabs 1\n2 1 caf\xe9.txt\nfiles 1\n2 caf\xe9.txt\nnodes 1\n2 8 caf\xe9 \xff\n"),
              std::vector<std::string>{});
    ASSERT_NE(editor.current_document, nullptr);
    EXPECT_EQ(str(document_text(editor.current_document)), "latin\n");
    std::string first = str(project_file_text());
    EXPECT_EQ(load(first), std::vector<std::string>{});
    EXPECT_EQ(str(project_file_text()), first);
    EXPECT_EQ(str(workbench.file_tree.rows[0].name), "caf\xe9 \xff");
    project_reset(StringView{nullptr, 0});
}

// ---- sources list ---------------------------------------------------------------------
TEST_F(BadFiles, SourcesList) {
    write("a.vnt", "var a = 1\n");
    write("b.c", "int b;\n");
    string_assign(&core.project_path, view(path("p.tproj")), pool_main);
    auto rebuild = [&](const std::string& bytes) {
        write("sources.txt", bytes);
        headless_clear_message_boxes();
        pool_reset(pool_frame);
        testing::internal::CaptureStdout();
        source_cache_rebuild(SV("sources.txt"));
        return testing::internal::GetCapturedStdout();
    };
    // Broken: missing files, a line ending in "\r" and an empty line each fail with a
    // line and a message; the others are read.
    std::string out = rebuild("a.vnt\r\nmissing.vnt\n\nb.c\n");
    EXPECT_EQ(messages(), (std::vector<std::string>{"error: failed to open file: " + path("a.vnt\r"),
                                                    "error: failed to open file: " + path("missing.vnt"),
                                                    "error: failed to open file: " + path("")}));
    const std::string failed = "failed to open file as source cache\n";
    EXPECT_EQ(out, failed + failed + failed);
    ASSERT_EQ(analysis.source_cache.source_entries.count, 1);
    EXPECT_EQ(str(source_cache_copy(SV("b.c"), pool_frame)), "int b;\n");
    // Empty: no sources, no message.
    EXPECT_EQ(rebuild(""), "");
    EXPECT_EQ(analysis.source_cache.source_entries.count, 0);
    EXPECT_TRUE(messages().empty());
    // Huge: "Too many source files!", and only the first 262,144 bytes are used.
    std::string many;
    while (many.size() < 300000) many += "a.vnt\n";
    rebuild(many);
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages()[0], "Error: Too many source files!");
    EXPECT_EQ(analysis.source_cache.source_paths.count, 262144 / 6 + 1);  // the last line cut short
    EXPECT_EQ(analysis.source_cache.source_entries.count, 262144 / 6);
    write_sparse("sources.txt", (off_t)3 << 30);
    headless_clear_message_boxes();
    testing::internal::CaptureStdout();
    source_cache_rebuild(SV("sources.txt"));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(messages()[0], "Error: Too many source files!");
    // Binary: every line a failed open at worst.
    for (unsigned seed = 1; seed <= 5; seed++) {
        std::string bytes = random_bytes(2048, seed) + "\na.vnt\n";
        rebuild(bytes);
        EXPECT_GE(analysis.source_cache.source_entries.count, 1) << seed;
        EXPECT_LE((i64)messages().size(), analysis.source_cache.source_paths.count);
    }
    // Not UTF-8: a file name of Latin-1 bytes is opened as written.
    write("caf\xe9.vnt", "var c = 3\n");
    EXPECT_EQ(rebuild("caf\xe9.vnt\n"), "");
    ASSERT_EQ(analysis.source_cache.source_entries.count, 1);
    EXPECT_EQ(str(source_cache_copy(SV("caf\xe9.vnt"), pool_frame)), "var c = 3\n");
}

// ---- source files of each language ------------------------------------------------------
TEST_F(BadFiles, SourceFilesOfEveryLanguage) {
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    tab_table_init();
    editor.hooks = EditorHooks{};
    string_assign(&core.project_path, view(path("p.tproj")), pool_main);
    Document* doc = &editor.tab_table.slots[0];
    doc->focused = 1;
    // Loads the file, edits it a little, and runs the language's whole analysis over it.
    auto load_edit_analyse = [&](const std::string& name) {
        document_load(doc, view(name));
        for (int i = 0; i < 30; i++) {
            doc->cursor = doc->anchor = (i32)((i * 7919) % document_length(doc));
            headless_text(i % 3 ? SV("x(") : SV("\n}"));
            input_poll();
            handle_keys(doc);
            headless_key_tap(i % 2 ? key_backspace : key_delete);
            input_poll();
            handle_keys(doc);
        }
        EXPECT_EQ(document_length(doc), document_length(doc)) << name;
        EXPECT_EQ(document_byte(doc, document_length(doc) - 1), '\n') << name;
        pool_reset(pool_parser);
        static AnalysisResult result;
        AnalysisJob job{};
        job.text = string_copy(document_text(doc), pool_parser);
        job.path = view(name);
        job.kind = doc->kind;
        job.result = &result;
        analysis_run_job(&job);
        EXPECT_EQ(job.colours.count, job.text.length) << name;
    };
    const char* const endings[] = {".vnt", ".c", ".cpp", ".h", ".glsl", ".txt"};
    const std::string broken[] = {"proc main( {\n  var x: = [1, 2\n}}}\n\"unterminated\n/* open",
                                  "int main( { return (1 + ; }\n#if\n#endif\n#include \"\nstruct {",
                                  "template <class T class X : public { void f() const = ; };\n",
                                  "#define X(a, \\\n", "void main() { vec3 v = vec3(1, ; uniform }\n#version",
                                  "words\twith\ttabs\r\nand \x7f control"};
    for (int k = 0; k < 6; k++) {
        std::string e = endings[k];
        // Broken: coloured and analysed as far as it makes sense.
        write("broken" + e, broken[k]);
        load_edit_analyse("broken" + e);
        // Empty: a single newline.
        write("empty" + e, "");
        document_load(doc, view("empty" + e));
        EXPECT_EQ(str(document_text(doc)), "\n");
        load_edit_analyse("empty" + e);
        // Binary and not UTF-8: every byte kept, loaded and saved back unchanged.
        std::string binary = random_bytes(65536, (unsigned)k + 1) + "\n";
        write("binary" + e, binary);
        document_load(doc, view("binary" + e));
        EXPECT_EQ(str(document_text(doc)), binary) << e;
        load_edit_analyse("binary" + e);
        std::string latin = "caf\xe9 = \"\xe9t\xe9\" // \xff\xfe\n\xc3(\xa0\xa1\xe2\x82 \xf0\x28\x8c\xbc\n";
        write("latin" + e, latin);
        document_load(doc, view("latin" + e));
        EXPECT_EQ(str(document_text(doc)), latin);
        doc->dirty = 1;
        document_save(doc);
        std::ifstream in(path("latin" + e), std::ios::binary);
        std::stringstream saved;
        saved << in.rdbuf();
        EXPECT_EQ(saved.str(), latin) << e;
        load_edit_analyse("latin" + e);
    }
    EXPECT_TRUE(messages().empty());
    // Huge: refused with a message, the document left empty (and the program going on).
    write_sparse("huge.vnt", (off_t)3 << 30);
    document_load(doc, SV("huge.vnt"));
    EXPECT_EQ(messages(), std::vector<std::string>{"error: file too large to open: " + path("huge.vnt")});
    EXPECT_EQ(str(document_text(doc)), "\n");
    document_reset(doc);
}

// ---- icons and the background image ----------------------------------------------------
TEST_F(BadFiles, IconAndBackgroundImages) {
    std::string good = read_repository_png();
    auto size_of = [&](const std::string& name) {
        i32 w = -1, h = -1;
        u32 texture = texture_load(view(path(name)), false, &w, &h);
        EXPECT_NE(texture, 0u) << name;  // a texture always, so the icon table is whole
        i32 tw = -1, th = -1;
        headless_texture_size(texture, &tw, &th);
        EXPECT_EQ(tw, w) << name;
        return std::make_pair(w, h);
    };
    // Broken (a PNG cut short), empty, huge (a sparse file, and a header claiming 2^30
    // pixels a side), binary: each an empty image; nothing is drawn with it.
    write("cut.png", good.substr(0, good.size() / 2));
    write("empty.png", "");
    write_sparse("sparse.png", (off_t)2 << 30);
    std::string claim = good;
    claim[16] = 0x40;  // width in the header
    claim[20] = 0x40;  // height
    write("claim.png", claim);
    write("binary.png", random_bytes(4096, 3));
    for (const char* name : {"cut.png", "empty.png", "sparse.png", "claim.png", "binary.png", "missing.png"})
        EXPECT_EQ(size_of(name), std::make_pair(0, 0)) << name;
    // A broken background is not drawn at all.
    std::string background = path("cut.png");
    render.theme.background_path = view(background);
    render.background_texture = texture_load(render.theme.background_path, true, &render.background_width, &render.background_height);
    EXPECT_EQ(render.background_width, 0);
    texture_destroy(render.background_texture);
    render.background_texture = 0;
    // Not UTF-8: a good image under a Latin-1 name loads.
    write("ic\xf4ne.png", good);
    std::pair<i32, i32> loaded = size_of("ic\xf4ne.png");
    EXPECT_GT(loaded.first, 0);
    EXPECT_GT(loaded.second, 0);
}

// ---- files that are not regular files --------------------------------------------------
// A FIFO would block a read until some writer came, and a device has no size: neither is
// read, each is reported as a file that cannot be opened. A child process with an alarm
// turns a hang into a failure.
TEST_F(BadFiles, FifosAndDevicesAreNotRead) {
    ASSERT_EQ(mkfifo(path("pipe.vnt").c_str(), 0644), 0);
    ASSERT_EQ(mkfifo(path("pipe.png").c_str(), 0644), 0);
    write("sources.txt", "pipe.vnt\n");
    tab_table_init();
    editor.hooks = EditorHooks{};
    string_assign(&core.project_path, view(path("p.tproj")), pool_main);
    fflush(stdout);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        alarm(20);
        Document* doc = &editor.tab_table.slots[0];
        document_load(doc, SV("pipe.vnt"));
        std::string pipe_message = "error: failed to open file: " + path("pipe.vnt");
        if (messages() != std::vector<std::string>{pipe_message}) _exit(10);
        source_cache_rebuild(SV("sources.txt"));
        if (messages().size() != 2 || messages()[1] != pipe_message) _exit(11);
        theme_set_defaults();
        Color before = render.theme.text_color;
        theme_load(view(path("pipe.vnt")));
        if (!same_color(render.theme.text_color, before)) _exit(12);
        i32 w = -1, h = -1;
        texture_load(view(path("pipe.png")), false, &w, &h);
        if (w != 0 || h != 0) _exit(13);
        // A device: opened by name, refused as a file.
        headless_clear_message_boxes();
        string_assign(&core.project_path, SV("/dev/p.tproj"), pool_main);
        document_load(doc, SV("zero"));
        if (messages() != std::vector<std::string>{"error: failed to open file: /dev/zero"}) _exit(14);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0) << " (14: it hung)";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
