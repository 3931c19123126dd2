// The project model and its file: saving and loading round trips, the failure messages,
// atomic saving, damaged or hostile project files and the pools over long use.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "editor/document.h"
#include "editor/editor_state.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "test_support.h"
#include "workbench/project.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace fs = std::filesystem;

namespace {

constexpr u32 sphere_texture = 501, star_texture = 502;

StringView view(const std::string& s) { return StringView{s.data(), (i64)s.size()}; }
std::string str(StringView s) { return s.length > 0 ? std::string(s.data, (size_t)s.length) : std::string(); }

void write_file(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}



class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensure_arenas();
        pool_reset(pool_frame);
        headless_reset();
        theme_set_defaults();
        render.theme.folder_color = Color{0.1f, 0.2f, 0.3f, 1};
        render.theme.vantrel_file_color = Color{0.4f, 0.5f, 0.6f, 1};
        render.theme.text_file_color = Color{0.7f, 0.8f, 0.9f, 1};
        render.theme.c_file_color = Color{0.9f, 0.1f, 0.1f, 1};
        render.icon_textures[icon_sphere] = sphere_texture;
        render.icon_textures[icon_star3d] = star_texture;
        set_up_project_editing();
        // Memory-backed when the system has it: saving syncs to disk, a thousand times over.
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/tesmora_project_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        project_reset(StringView{nullptr, 0});
        headless_clear_message_boxes();
    }
    void TearDown() override {
        project_reset(StringView{nullptr, 0});
        editor.hooks = EditorHooks{};
        render.icon_textures[icon_sphere] = render.icon_textures[icon_star3d] = 0;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(dir, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }

    std::string path(const std::string& relative) { return dir + "/" + relative; }
    void load(const std::string& project_file) { project_load(view(project_file)); }
    // Writes `text` as a project file and loads it.
    void load_text(const std::string& text) {
        write_file(path("p.tproj"), text);
        load(path("p.tproj"));
    }
    std::vector<std::string> messages() {
        std::vector<std::string> out;
        for (i64 i = 0; i < headless_message_box_count(); i++) {
            const RecordedMessageBox* m = headless_message_box(i);
            out.push_back(std::string(m->title) + ": " + m->text);
        }
        return out;
    }
    std::string node_names() {
        std::string s;
        for (const TreeNode& n : workbench.file_tree.rows) s += str(n.name) + "|";
        return s;
    }
    const Document* document_with_id(u32 id) {
        i64 slot = find_tab(id);
        return slot >= 0 ? &editor.tab_table.slots[slot] : nullptr;
    }
    i64 used_slots() {
        i64 n = 0;
        for (i64 i = 0; i < tab_slot_count; i++) n += tab_slot_used(i);
        return n;
    }

    std::string dir;
};

bool same_color(Color a, Color b) { return color_equal(a, b); }

TEST_F(ProjectTest, SaveWritesEverySectionAndLoadRestoresIt) {
    write_file(path("src/a file.vnt"), "alpha\n");
    write_file(path("b.txt"), "beta");
    write_file(path("sources list.txt"), "src/a file.vnt\n");
    std::string project_file = path("my proj.tproj");
    project_reset(view(project_file));
    project_add_file(SV("src/a file.vnt"));
    project_add_file(SV("b.txt"));
    EXPECT_FALSE(workbench.project_saved);
    ASSERT_EQ(workbench.file_tree.rows.count, 2);
    EXPECT_EQ(workbench.file_tree.rows[0].id, 2);
    EXPECT_EQ(workbench.file_tree.rows[1].id, 3);
    EXPECT_EQ(str(workbench.file_tree.rows[0].name), "a file.vnt");
    EXPECT_TRUE(same_color(workbench.file_tree.rows[0].color, render.theme.vantrel_file_color));

    // A group around the first file, and the second file selected.
    TreeNode start{};
    start.id = -1;
    start.name = SV("my group");
    start.is_group_start = start.is_open = 1;
    TreeNode end{};
    end.id = -1;
    end.is_group_end = 1;
    array_insert(&workbench.file_tree.rows, 0, start);
    array_insert(&workbench.file_tree.rows, 2, end);
    workbench.file_tree.rows[3].is_selected = 1;
    source_cache_rebuild(SV("sources list.txt"));

    project_save(view(project_file));
    EXPECT_TRUE(workbench.project_saved);
    const std::string expected =
        "tabs 2\n2 0 a file.vnt\n3 1 b.txt\n"
        "files 2\n2 src/a file.vnt\n3 b.txt\n"
        "nodes 4\n-1 5 my group\n2 0 a file.vnt\n-1 2 \n3 8 b.txt\n"
        "sources sources list.txt\n";
    EXPECT_EQ(read_file(project_file), expected);

    project_reset(StringView{nullptr, 0});
    testing::internal::CaptureStdout();
    load(project_file);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "opening " + project_file + "\n");
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(workbench.project_saved);
    EXPECT_EQ(str(owned_view(core.project_path)), project_file);

    ASSERT_EQ(workbench.project.tab_entries.count, 2);
    EXPECT_EQ(workbench.project.tab_entries[0].tab_id, 2);
    EXPECT_EQ(str(workbench.project.tab_entries[0].label), "a file.vnt");
    EXPECT_EQ(workbench.project.tab_entries[0].is_active, 0);
    EXPECT_EQ(workbench.project.tab_entries[1].is_active, 1);
    ASSERT_NE(document_with_id(2), nullptr);
    ASSERT_NE(document_with_id(3), nullptr);
    EXPECT_EQ(str(document_text(document_with_id(2))), "alpha\n");
    EXPECT_EQ(str(document_text(document_with_id(3))), "beta\n");
    EXPECT_EQ(editor.current_document, document_with_id(3));

    ASSERT_EQ(editor.tab_paths.count, 2);
    EXPECT_EQ(str(tab_path(2)), "src/a file.vnt");
    EXPECT_EQ(str(tab_path(3)), "b.txt");

    EXPECT_EQ(node_names(), "my group|a file.vnt||b.txt|");
    const TreeNode* n = workbench.file_tree.rows.data;
    EXPECT_TRUE(n[0].is_group_start && n[0].is_open && !n[0].is_selected);
    EXPECT_TRUE(n[2].is_group_end && !n[2].is_group_start);
    EXPECT_TRUE(n[3].is_selected && !n[1].is_selected);
    EXPECT_TRUE(same_color(n[0].color, render.theme.folder_color));
    EXPECT_TRUE(same_color(n[2].color, render.theme.folder_color));
    EXPECT_EQ(n[0].icon, star_texture);
    EXPECT_TRUE(same_color(n[1].color, render.theme.vantrel_file_color));
    EXPECT_TRUE(same_color(n[3].color, render.theme.text_file_color));
    EXPECT_EQ(n[1].icon, sphere_texture);

    EXPECT_EQ(str(owned_view(analysis.source_cache.sources_name)), "sources list.txt");
    EXPECT_EQ(str(sources_box_text()), "sources list.txt");
    EXPECT_EQ(analysis.source_cache.source_entries.count, 1);
    EXPECT_EQ(editor.next_tab_id, 4);

    // Saving what was loaded gives the same bytes.
    std::string again = path("again.tproj");
    project_save(view(again));
    EXPECT_EQ(read_file(again), expected);
}

TEST_F(ProjectTest, NoSourcesNameWritesNoSourcesLine) {
    write_file(path("b.txt"), "beta\n");
    project_reset(view(path("p.tproj")));
    project_add_file(SV("b.txt"));
    project_save(view(path("p.tproj")));
    EXPECT_EQ(read_file(path("p.tproj")), "tabs 1\n2 1 b.txt\nfiles 1\n2 b.txt\nnodes 1\n2 0 b.txt\n");
}

TEST_F(ProjectTest, EmptyProjectFileLoadsEmptyAndTheNextFileGetsIdTwo) {
    write_file(path("new.txt"), "");
    load_text("");
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(workbench.project_saved);
    EXPECT_EQ(workbench.project.tab_entries.count + editor.tab_paths.count + workbench.file_tree.rows.count, 0);
    EXPECT_EQ(editor.current_document, nullptr);
    project_add_file(SV("new.txt"));
    ASSERT_EQ(editor.tab_paths.count, 1);
    EXPECT_EQ(editor.tab_paths[0].id, 2);
    EXPECT_FALSE(workbench.project_saved);
}

TEST_F(ProjectTest, TabWithoutFileEntryKeepsItsSlotButNoText) {
    load_text("tabs 1\n7 1 ghost.txt\nnodes 1\n7 0 ghost.txt\n");
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(used_slots(), 1);
    const Document* doc = document_with_id(7);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(str(document_text(doc)), "\n");
    EXPECT_EQ(editor.current_document, doc);
    ASSERT_EQ(workbench.project.tab_entries.count, 1);
    EXPECT_EQ(str(workbench.project.tab_entries[0].label), "ghost.txt");
    // A node without a file takes the colour of a name with no known ending.
    EXPECT_TRUE(same_color(workbench.file_tree.rows[0].color, render.theme.text_file_color));
    EXPECT_EQ(editor.next_tab_id, 8);
}

TEST_F(ProjectTest, LoadFailuresAreReportedAndKeepWhatWasRead) {
    std::string missing = path("missing.tproj");
    load(missing);
    EXPECT_EQ(messages(), std::vector<std::string>{"error: file does not exist: " + missing});
    EXPECT_EQ(str(owned_view(core.project_path)), missing);
    EXPECT_FALSE(workbench.project_saved);

    headless_clear_message_boxes();
    fs::create_directories(path("folder.tproj"));
    load(path("folder.tproj"));
    EXPECT_EQ(messages(), std::vector<std::string>{"error: file does not exist: " + path("folder.tproj")});

    // An unknown section word stops reading; what came before it stays, and the rest of
    // loading still happens.
    headless_clear_message_boxes();
    write_file(path("a.txt"), "text a\n");
    load_text("tabs 1\n4 1 a.txt\nfiles 1\n4 a.txt\nbogus 1\nnodes 1\n4 0 a.txt\n");
    EXPECT_EQ(messages(), std::vector<std::string>{"error: invalid project file: " + path("p.tproj")});
    EXPECT_EQ(editor.tab_paths.count, 1);
    EXPECT_EQ(workbench.file_tree.rows.count, 0);
    ASSERT_NE(document_with_id(4), nullptr);
    EXPECT_EQ(str(document_text(document_with_id(4))), "text a\n");
    EXPECT_TRUE(workbench.project_saved);
    EXPECT_EQ(editor.next_tab_id, 5);

    if (geteuid() != 0) {
        headless_clear_message_boxes();
        write_file(path("locked.tproj"), "tabs 0\n");
        chmod(path("locked.tproj").c_str(), 0);
        load(path("locked.tproj"));
        EXPECT_EQ(messages(), std::vector<std::string>{"error: failed to open project: " + path("locked.tproj")});
    }
}

TEST_F(ProjectTest, FailedSaveChangesNothingElse) {
    write_file(path("a.txt"), "a\n");
    write_file(path("b.txt"), "b\n");
    std::string good = path("good.tproj");
    project_reset(view(good));
    project_add_file(SV("a.txt"));
    project_save(view(good));
    ASSERT_TRUE(workbench.project_saved);
    std::string saved_text = read_file(good);
    project_add_file(SV("b.txt"));
    ASSERT_FALSE(workbench.project_saved);

    // A directory stands where the file should go: the rename over it fails for anyone.
    fs::create_directories(path("taken.tproj"));
    write_file(path("taken.tproj/keep"), "kept");
    project_save(view(path("taken.tproj")));
    EXPECT_EQ(messages(), std::vector<std::string>{"error: failed to save project file: " + path("taken.tproj")});
    EXPECT_FALSE(workbench.project_saved);
    EXPECT_EQ(str(owned_view(core.project_path)), good);
    EXPECT_EQ(read_file(path("taken.tproj/keep")), "kept");
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename().string().find("tesmora-save"), std::string::npos) << entry.path();

    // A directory that does not exist.
    headless_clear_message_boxes();
    project_save(view(path("nowhere/p.tproj")));
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_FALSE(workbench.project_saved);

    // A read-only directory keeps the old file whole (permissions do not bind root).
    if (geteuid() != 0) {
        headless_clear_message_boxes();
        std::string locked_dir = path("locked");
        write_file(locked_dir + "/p.tproj", saved_text);
        chmod(locked_dir.c_str(), 0555);
        project_save(view(locked_dir + "/p.tproj"));
        EXPECT_EQ(messages().size(), 1u);
        EXPECT_EQ(read_file(locked_dir + "/p.tproj"), saved_text);
        EXPECT_FALSE(workbench.project_saved);
        chmod(locked_dir.c_str(), 0755);
    }
    EXPECT_EQ(read_file(good), saved_text);
}

TEST_F(ProjectTest, LineBreaksInNamesCannotSplitLines) {
    StringView clean = SV("plain name");
    EXPECT_EQ(sanitize_node_name(clean, pool_frame).data, clean.data);
    EXPECT_EQ(str(sanitize_node_name(SV("two\nlines\r\n"), pool_frame)), "twolines");
    EXPECT_EQ(sanitize_node_name(SV("\n\r"), pool_frame).length, 0);

    project_reset(view(path("p.tproj")));
    TreeNode node{};
    node.id = 5;
    node.name = SV("evil\nnodes 1\n9 0 injected");
    array_append(&workbench.file_tree.rows, node);
    array_append(&editor.tab_paths, TabPath{5, SV("dir\r\nx.txt")});
    TabEntry entry{};
    entry.tab_id = 5;
    entry.label = SV("la\nbel");
    array_append(&workbench.project.tab_entries, entry);
    project_save(view(path("p.tproj")));
    EXPECT_EQ(read_file(path("p.tproj")),
              "tabs 1\n5 0 label\nfiles 1\n5 dirx.txt\nnodes 1\n5 0 evilnodes 19 0 injected\n");

    project_reset(StringView{nullptr, 0});
    load(path("p.tproj"));
    // The tab's file does not exist; only its load complains.
    EXPECT_EQ(messages(), std::vector<std::string>{"error: failed to open file: " + path("dirx.txt")});
    EXPECT_EQ(node_names(), "evilnodes 19 0 injected|");
    EXPECT_EQ(str(tab_path(5)), "dirx.txt");
}

TEST_F(ProjectTest, DamagedFilesLoadAsFarAsTheyMakeSense) {
    write_file(path("c.txt"), "gamma");
    static const char noise[] = "\0\xff\xfe nodes 1\n";
    struct Case {
        const char* name;
        std::string text;
        i64 tabs, files, nodes;
        bool invalid;
    };
    const Case cases[] = {
        {"count larger than the lines", "tabs 2\n5 1 a", 1, 0, 0, false},
        {"last line without newline", "nodes 3\n1 0 a\n2 0 b", 0, 0, 2, false},
        {"header cut short", "nod", 0, 0, 0, true},
        {"header without a space", "nodes", 0, 0, 0, true},
        {"count too large, next section follows", "nodes 9\n1 0 a\nfiles 1\n1 c.txt\n", 0, 1, 1, false},
        {"count too small", "nodes 1\n1 0 a\n2 0 b\n", 0, 0, 1, true},
        {"negative count", "nodes -3\nfiles 1\n1 c.txt\n", 0, 1, 0, false},
        {"huge count", "files 99999999999999999999999999\n1 c.txt\n", 0, 1, 0, false},
        {"capitalised word", "Tabs 1\n1 1 a\n", 0, 0, 0, true},
        {"empty line between sections", "files 1\n1 c.txt\n\nnodes 1\n1 0 c\n", 0, 1, 0, true},
        {"word glued to its count", "tabs1\n", 0, 0, 0, true},
        {"entries without separators", "nodes 2\n12\n\n", 0, 0, 2, false},
        {"binary noise", std::string(noise, sizeof noise - 1), 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        headless_clear_message_boxes();
        load_text(c.text);
        EXPECT_EQ(workbench.project.tab_entries.count, c.tabs);
        EXPECT_EQ(editor.tab_paths.count, c.files);
        EXPECT_EQ(workbench.file_tree.rows.count, c.nodes);
        std::vector<std::string> expected;
        if (c.invalid) expected.push_back("error: invalid project file: " + path("p.tproj"));
        EXPECT_EQ(messages(), expected);
        EXPECT_TRUE(workbench.project_saved);
    }
}

TEST_F(ProjectTest, HostileNumbersIdsAndLineEnds) {
    write_file(path("c.txt"), "gamma");
    write_file(path("d.txt"), "delta");

    // Numbers saturate to the 32-bit range; flags beyond the four bits are ignored.
    load_text("nodes 2\n99999999999999999999 28 big\n-99999999999999999999 3 small\n");
    ASSERT_EQ(workbench.file_tree.rows.count, 2);
    EXPECT_EQ(workbench.file_tree.rows[0].id, 2147483647);
    EXPECT_TRUE(workbench.file_tree.rows[0].is_open && workbench.file_tree.rows[0].is_selected && !workbench.file_tree.rows[0].is_group_start);
    EXPECT_EQ(workbench.file_tree.rows[1].id, -2147483647 - 1);
    // Flags 3 cannot be both: the row opens a group.
    EXPECT_TRUE(workbench.file_tree.rows[1].is_group_start && !workbench.file_tree.rows[1].is_group_end);
    EXPECT_EQ(editor.next_tab_id, 2147483647);
    headless_clear_message_boxes();
    project_add_file(SV("c.txt"));
    EXPECT_EQ(messages(), std::vector<std::string>{"error: too many files!"});
    EXPECT_EQ(editor.tab_paths.count, 0);
    EXPECT_EQ(used_slots(), 0);

    // Lines ending in "\r\n".
    headless_clear_message_boxes();
    load_text("tabs 1\r\n3 1 c.txt\r\nfiles 1\r\n3 c.txt\r\nnodes 1\r\n3 0 c.txt\r\nsources \r\n");
    EXPECT_TRUE(messages().empty());
    ASSERT_NE(document_with_id(3), nullptr);
    EXPECT_EQ(str(document_text(document_with_id(3))), "gamma\n");
    EXPECT_EQ(str(workbench.project.tab_entries[0].label), "c.txt");
    EXPECT_EQ(node_names(), "c.txt|");

    // Duplicate ids: one tab per id, the first path of an id wins.
    load_text("tabs 2\n3 1 one\n3 0 two\nfiles 2\n3 c.txt\n3 d.txt\nnodes 2\n3 0 c\n3 0 c again\n");
    EXPECT_EQ(workbench.project.tab_entries.count, 1);
    EXPECT_EQ(used_slots(), 1);
    EXPECT_EQ(str(document_text(document_with_id(3))), "gamma\n");
    EXPECT_EQ(workbench.file_tree.rows.count, 2);

    // 33 tabs: the last finds no slot and is skipped.
    std::string text = "tabs 33\n";
    for (int i = 1; i <= 33; i++) text += std::to_string(i) + " 0 t" + std::to_string(i) + "\n";
    load_text(text);
    EXPECT_EQ(used_slots(), 32);
    EXPECT_EQ(workbench.project.tab_entries.count, 32);
    EXPECT_EQ(find_tab(33), -1);
}

TEST_F(ProjectTest, HundredThousandNodesLoadAndSaveBack) {
    const int n = 100000;
    std::string text = "files " + std::to_string(n) + "\n";
    for (int i = 1; i <= n; i++) text += std::to_string(i) + (i % 2 ? " s.vnt\n" : " s.c\n");
    text += "nodes " + std::to_string(n) + "\n";
    for (int i = n; i >= 1; i--) text += std::to_string(i) + " 0 f\n";
    auto started = std::chrono::steady_clock::now();
    load_text(text);
    f64 seconds = std::chrono::duration<f64>(std::chrono::steady_clock::now() - started).count();
    EXPECT_LT(seconds, 10.0);
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(workbench.file_tree.rows.count, n);
    EXPECT_EQ(editor.next_tab_id, n + 1);
    EXPECT_TRUE(same_color(workbench.file_tree.rows[0].color, render.theme.c_file_color));       // id 100000
    EXPECT_TRUE(same_color(workbench.file_tree.rows[1].color, render.theme.vantrel_file_color));  // id 99999

    project_save(view(path("copy.tproj")));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(read_file(path("copy.tproj")), "tabs 0\n" + text);
}

TEST_F(ProjectTest, ProjectFileLargerThanItsPoolIsRefused) {
    std::string big(memory.arenas[pool_project].capacity + 16, 'x');
    load_text(big);
    EXPECT_EQ(messages(), std::vector<std::string>{"error: project file too large: " + path("p.tproj")});
    EXPECT_EQ(workbench.file_tree.rows.count, 0);
}

TEST_F(ProjectTest, AddingAFileWithEveryTabTakenChangesNothing) {
    project_reset(view(path("p.tproj")));
    for (int i = 0; i < 32; i++) {
        write_file(path("f" + std::to_string(i) + ".txt"), "x\n");
        project_add_file(view("f" + std::to_string(i) + ".txt"));
    }
    ASSERT_EQ(used_slots(), 32);
    ASSERT_TRUE(messages().empty());
    write_file(path("extra.txt"), "x\n");
    project_add_file(SV("extra.txt"));
    EXPECT_EQ(messages(), std::vector<std::string>{"error: too many tabs!"});
    EXPECT_EQ(editor.tab_paths.count, 32);
    EXPECT_EQ(workbench.file_tree.rows.count, 32);
}

TEST_F(ProjectTest, ResetEmptiesTheProjectAndTheDialogTexts) {
    write_file(path("a.txt"), "a\n");
    write_file(path("list.txt"), "a.txt\n");
    load_text("tabs 1\n2 1 a.txt\nfiles 1\n2 a.txt\nnodes 1\n2 0 a.txt\nsources list.txt\n");
    ASSERT_EQ(analysis.source_cache.source_entries.count, 1);
    document_set_text(&workbench.prompt.box, SV("find me"));
    document_set_text(&workbench.file_dialog.box, SV("some.txt"));
    string_assign(&workbench.prompt.title, SV("find"), pool_main);

    project_reset(view(path("other.tproj")));
    EXPECT_EQ(str(owned_view(core.project_path)), path("other.tproj"));
    EXPECT_EQ(used_slots(), 0);
    EXPECT_EQ(workbench.project.tab_entries.count + editor.tab_paths.count + workbench.file_tree.rows.count, 0);
    EXPECT_EQ(analysis.source_cache.source_entries.count, 0);
    EXPECT_EQ(analysis.source_cache.sources_name.length, 0);
    EXPECT_EQ(memory.arenas[pool_project].used, 0);
    EXPECT_EQ(memory.arenas[pool_sources].used, 0);
    EXPECT_EQ(editor.current_document, nullptr);
    EXPECT_FALSE(workbench.project_saved);
    EXPECT_EQ(document_text(&workbench.prompt.box).length, 0);
    EXPECT_EQ(document_text(&workbench.file_dialog.box).length, 0);
    EXPECT_EQ(sources_box_text().length, 0);
    EXPECT_EQ(workbench.prompt.title.length, 0);
}

TEST_F(ProjectTest, ThousandLoadsAndSavesKeepThePoolsFlat) {
    write_file(path("a.txt"), "a\n");
    write_file(path("b.vnt"), "var b = 1\n");
    write_file(path("c.txt"), "c\n");
    write_file(path("list.txt"), "a.txt\nb.vnt\n");
    write_file(path("p.tproj"),
               "tabs 2\n2 0 a.txt\n3 1 b.vnt\nfiles 2\n2 a.txt\n3 b.vnt\n"
               "nodes 4\n-1 5 group\n2 0 a.txt\n-1 2 \n3 8 b.vnt\nsources list.txt\n");
    i64 main_used = 0, project_used = 0;
    testing::internal::CaptureStdout();  // 1000 "opening" lines
    for (int i = 0; i < 1000; i++) {
        pool_reset(pool_frame);  // as each frame does
        load(path("p.tproj"));
        project_add_file(SV("c.txt"));
        project_save(view(path("out.tproj")));
        if (i == 10) {
            main_used = memory.arenas[pool_main].used;
            project_used = memory.arenas[pool_project].used;
        }
    }
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(memory.arenas[pool_main].used, main_used);
    EXPECT_EQ(memory.arenas[pool_project].used, project_used);
    EXPECT_EQ(workbench.file_tree.rows.count, 5);
}

}  // namespace
