// Saving documents and projects while the system fails underneath: writes cut short by a
// file-size limit, a directory the user may not write, a full disk, the process killed
// in the middle of a save, and files too large to edit. The file on disk is always the
// old or the new content, the user is told, and dirty and project_saved stay as they were.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "editor/document.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
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

StringView view(const std::string& s) { return StringView{s.data(), (i64)s.size()}; }

void write_file(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}



// Lines of text `bytes` long, with a marker so that two versions never agree.
std::string lines_of(size_t bytes, char marker) {
    std::string s;
    for (int i = 0; s.size() < bytes; i++) s += marker + std::to_string(i) + " some words on a line\n";
    s.resize(bytes - 1);
    return s + "\n";
}

class FaultInjection : public ::testing::Test {
protected:
    void SetUp() override {
        ensure_arenas();
        pool_reset(pool_frame);
        headless_reset();
        theme_set_defaults();
        render.icon_textures[icon_sphere] = 501;
        render.icon_textures[icon_star3d] = 502;
        set_up_project_editing();
        char pattern[] = "/tmp/tesmora_fault_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        // Others (the unprivileged child) must reach files inside it.
        chmod(dir.c_str(), 0755);
        project_reset(StringView{nullptr, 0});
        headless_clear_message_boxes();
    }
    void TearDown() override {
        if (mounted) umount2(mount_point.c_str(), MNT_DETACH);
        project_reset(StringView{nullptr, 0});
        editor.hooks = EditorHooks{};
        render.icon_textures[icon_sphere] = render.icon_textures[icon_star3d] = 0;
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(dir, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }

    std::string path(const std::string& relative) const { return dir + "/" + relative; }
    std::vector<std::string> messages() const { return shown_messages(); }
    // Files in `directory` other than the ones named: left-over temporary files.
    std::vector<std::string> strays(const std::string& directory, const std::vector<std::string>& expected) const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(directory)) {
            std::string name = entry.path().filename().string();
            bool known = false;
            for (const std::string& e : expected) known = known || e == name;
            if (!known) out.push_back(name);
        }
        return out;
    }
    Document* document_of(const char* name) {
        for (i64 slot = 0; slot < tab_slot_count; slot++)
            if (tab_slot_used(slot) && sv_equal(owned_view(editor.tab_table.slots[slot].path), sv_from_cstr(name)))
                return &editor.tab_table.slots[slot];
        return nullptr;
    }
    // Runs `body` in a child process; its return value is the child's exit status, so
    // that a failed check there names itself. A signal gives 1000 + its number.
    int in_child(const std::function<int()>& body) {
        fflush(stdout);
        pid_t child = fork();
        if (child == 0) _exit(body());
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    }
    // A project in `directory` with the files given, each opened in a tab, then saved.
    std::string saved_project(const std::string& directory, const std::vector<std::pair<std::string, std::string>>& files) {
        std::string p = directory + "/work.tproj";
        project_reset(view(p));
        for (const auto& f : files) {
            write_file(directory + "/" + f.first, f.second);
            project_add_file(view(f.first));
        }
        project_save(view(p));
        EXPECT_TRUE(workbench.project_saved);
        return p;
    }

    std::string dir;
    std::string mount_point;
    bool mounted = false;
};

// Child exit codes of the checks below.
enum ChildCheck { child_ok = 0, child_no_limit = 10, child_not_dirty, child_no_message, child_wrong_message,
                  child_saved, child_path_changed, child_dirty, child_privileges };

TEST_F(FaultInjection, DocumentWriteCutShortAtEveryPointKeepsTheOldFileAndDirty) {
    std::string old_text = lines_of(150000, 'o'), new_text = lines_of(200000, 'n');
    saved_project(dir, {{"doc.txt", old_text}});
    Document* doc = document_of("doc.txt");
    ASSERT_NE(doc, nullptr);
    document_set_text(doc, view(new_text));
    doc->dirty = 1;
    const std::string expected = "error: failed to write file: " + path("doc.txt");
    // Nothing at all, one byte, around the first pages, and all but the last byte.
    for (rlim_t limit : {(rlim_t)0, (rlim_t)1, (rlim_t)4095, (rlim_t)4096, (rlim_t)65537, (rlim_t)new_text.size() - 1}) {
        int result = in_child([&] {
            signal(SIGXFSZ, SIG_IGN);
            rlimit r{limit, limit};
            if (setrlimit(RLIMIT_FSIZE, &r) != 0) return (int)child_no_limit;
            headless_clear_message_boxes();
            document_save(doc);
            if (!doc->dirty) return (int)child_not_dirty;
            if (messages().size() != 1) return (int)child_no_message;
            if (messages()[0] != expected) return (int)child_wrong_message;
            return (int)child_ok;
        });
        EXPECT_EQ(result, child_ok) << "limit " << limit;
        EXPECT_EQ(read_file(path("doc.txt")), old_text) << "limit " << limit;
        EXPECT_EQ(strays(dir, {"doc.txt", "work.tproj"}), std::vector<std::string>{}) << "limit " << limit;
    }
    // With room for exactly the new text the same save goes through.
    int result = in_child([&] {
        rlimit r{(rlim_t)new_text.size(), (rlim_t)new_text.size()};
        if (setrlimit(RLIMIT_FSIZE, &r) != 0) return (int)child_no_limit;
        document_save(doc);
        return doc->dirty ? (int)child_dirty : headless_message_box_count() ? (int)child_no_message : (int)child_ok;
    });
    EXPECT_EQ(result, child_ok);
    EXPECT_EQ(read_file(path("doc.txt")), new_text);
}

TEST_F(FaultInjection, ProjectWriteCutShortKeepsBothFilesAndTheProjectUnsaved) {
    std::string old_text = lines_of(30000, 'o');
    std::string p = saved_project(dir, {{"main.vnt", old_text}, {"notes.txt", "notes\n"}});
    std::string old_project = read_file(p);
    // A change to the project and a change to a document, both unsaved.
    for (int i = 0; i < 400; i++) write_file(path("more/f" + std::to_string(i) + ".txt"), "x\n");
    for (int i = 0; i < 20; i++) project_add_file(view("more/f" + std::to_string(i) + ".txt"));
    ASSERT_FALSE(workbench.project_saved);
    Document* doc = document_of("main.vnt");
    ASSERT_NE(doc, nullptr);
    std::string new_text = lines_of(60000, 'n');
    document_set_text(doc, view(new_text));
    doc->dirty = 1;
    // Room for neither the new document nor the new project file.
    rlim_t limit = (rlim_t)old_project.size() / 2;
    int result = in_child([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit r{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &r) != 0) return (int)child_no_limit;
        headless_clear_message_boxes();
        project_save(view(p));
        std::vector<std::string> expected = {"error: failed to write file: " + path("main.vnt"),
                                             "error: failed to save project file: " + p};
        if (workbench.project_saved) return (int)child_saved;
        if (!doc->dirty) return (int)child_not_dirty;
        if (messages() != expected) return (int)child_wrong_message;
        if (!sv_equal(owned_view(core.project_path), view(p))) return (int)child_path_changed;
        return (int)child_ok;
    });
    EXPECT_EQ(result, child_ok);
    EXPECT_EQ(read_file(p), old_project);
    EXPECT_EQ(read_file(path("main.vnt")), old_text);
    EXPECT_EQ(strays(dir, {"main.vnt", "notes.txt", "work.tproj", "more"}), std::vector<std::string>{});

    // Saving under a new name that cannot be written keeps the old name as the project's.
    result = in_child([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit r{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &r) != 0) return (int)child_no_limit;
        project_save(view(path("renamed.tproj")));
        if (workbench.project_saved) return (int)child_saved;
        if (!sv_equal(owned_view(core.project_path), view(p))) return (int)child_path_changed;
        return (int)child_ok;
    });
    EXPECT_EQ(result, child_ok);
    EXPECT_FALSE(fs::exists(path("renamed.tproj")));
}

TEST_F(FaultInjection, ReadOnlyDirectoryRefusesEverySaveAndSaysSo) {
    std::string old_text = "proc main() {\n}\n";
    std::string p = saved_project(dir, {{"main.vnt", old_text}});
    std::string old_project = read_file(p);
    Document* doc = document_of("main.vnt");
    ASSERT_NE(doc, nullptr);
    document_set_text(doc, SV("proc main() {\n    changed()\n}\n"));
    doc->dirty = 1;
    workbench.project_saved = false;
    ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
    // Permissions do not bind root: the saves run as nobody.
    int result = in_child([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return (int)child_privileges;
        headless_clear_message_boxes();
        project_save(view(p));
        std::vector<std::string> expected = {"error: failed to open file for writing: " + path("main.vnt"),
                                             "error: failed to save project file: " + p};
        if (workbench.project_saved) return (int)child_saved;
        if (!doc->dirty) return (int)child_not_dirty;
        if (messages() != expected) return (int)child_wrong_message;
        return (int)child_ok;
    });
    chmod(dir.c_str(), 0755);
    EXPECT_EQ(result, child_ok);
    EXPECT_EQ(read_file(p), old_project);
    EXPECT_EQ(read_file(path("main.vnt")), old_text);
}

// A small memory file system filled to the last block stands in for a full disk.
TEST_F(FaultInjection, FullDiskKeepsTheOldFilesUntilThereIsRoomAgain) {
    mount_point = path("disk");
    fs::create_directories(mount_point);
    if (geteuid() != 0 || mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no tmpfs mount here; the file-size limit tests cover a failing write";
    mounted = true;
    std::string old_text = lines_of(20000, 'o'), new_text = lines_of(60000, 'n');
    std::string p = saved_project(mount_point, {{"main.c", old_text}});
    std::string old_project = read_file(p);
    Document* doc = document_of("main.c");
    ASSERT_NE(doc, nullptr);
    document_set_text(doc, view(new_text));
    doc->dirty = 1;
    workbench.project_saved = false;
    // Fill the disk.
    std::string filler = mount_point + "/filler";
    int fd = open(filler.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    std::string block(4096, 'f');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    close(fd);

    headless_clear_message_boxes();
    project_save(view(p));
    EXPECT_EQ(messages(), (std::vector<std::string>{"error: failed to write file: " + mount_point + "/main.c",
                                                    "error: failed to save project file: " + p}));
    EXPECT_TRUE(doc->dirty);
    EXPECT_FALSE(workbench.project_saved);
    EXPECT_EQ(read_file(mount_point + "/main.c"), old_text);
    EXPECT_EQ(read_file(p), old_project);
    EXPECT_EQ(strays(mount_point, {"main.c", "work.tproj", "filler"}), std::vector<std::string>{});

    // Room again: the same save goes through.
    fs::remove(filler);
    headless_clear_message_boxes();
    project_save(view(p));
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(doc->dirty);
    EXPECT_TRUE(workbench.project_saved);
    EXPECT_EQ(read_file(mount_point + "/main.c"), new_text);
}

// A project save killed at any moment leaves the old or the new project file, whole.
TEST_F(FaultInjection, ProjectSaveKilledAtRandomMomentsLeavesOneWholeVersion) {
    // Twenty thousand nodes make a file of some hundreds of kilobytes.
    std::string text = "tabs 0\nfiles 1\n1 a.txt\nnodes 20001\n1 0 a.txt\n";
    for (int i = 0; i < 20000; i++) text += "-1 " + std::to_string(i % 2 ? 2 : 5) + " group number " + std::to_string(i) + "\n";
    write_file(path("a.txt"), "a\n");
    std::string p = path("big.tproj");
    write_file(p, text);
    testing::internal::CaptureStdout();
    project_load(view(p));
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(workbench.file_tree.rows.count, 20001);
    // Version A selects nothing and names no sources list; version B selects every node
    // and names one. Both are written once here, so each is known whole.
    auto set_version = [](int v) {
        for (TreeNode& n : workbench.file_tree.rows) n.is_selected = v == 1;
        string_assign(&analysis.source_cache.sources_name, v == 1 ? SV("sources.txt") : StringView{nullptr, 0}, pool_main);
    };
    set_version(1);
    project_save(view(p));
    std::string b = read_file(p);
    set_version(0);
    project_save(view(p));
    std::string a = read_file(p);
    ASSERT_NE(a, b);
    ASSERT_GT(a.size(), 200000u);

    std::mt19937 random(2024);
    int mixed = 0, saw_a = 0, saw_b = 0, left_over = 0;
    for (int round = 0; round < 40; round++) {
        fflush(stdout);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // B first: the file holds A when each child starts.
            for (int i = 1;; i++) {
                pool_reset(pool_frame);
                set_version(i % 2);
                project_save(view(p));
            }
        }
        usleep((useconds_t)(random() % 80000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::string now = read_file(p);
        if (now != a && now != b) mixed++;
        saw_a += now == a;
        saw_b += now == b;
        // A temporary file cut off by the kill may stay beside it; never the project file.
        for (const std::string& name : strays(dir, {"big.tproj", "a.txt"})) {
            EXPECT_NE(name.find("big.tproj.tesmora-save-"), std::string::npos) << name;
            fs::remove(path(name));
            left_over++;
        }
    }
    EXPECT_EQ(mixed, 0);
    EXPECT_GT(saw_a + saw_b, 0);
    EXPECT_GT(saw_b, 0) << "the children did get to save";
    std::printf("killed saves: %d old-or-new A, %d B, %d temporary files left behind\n", saw_a, saw_b, left_over);
}

// Sparse files of 2 and 5 GB: beyond what the arenas hold, and beyond 32-bit positions.
TEST_F(FaultInjection, FilesTooLargeToEditAreRefusedWithAMessage) {
    for (const char* name : {"huge.txt", "larger.vnt"}) {
        int fd = open(path(name).c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        off_t size = name[0] == 'h' ? ((off_t)2 << 30) : ((off_t)5 << 30);
        if (ftruncate(fd, size) != 0) {
            close(fd);
            GTEST_SKIP() << "no sparse files here";
        }
        close(fd);
    }
    write_file(path("small.vnt"), "var x = 1\n");
    write_file(path("sources.txt"), "small.vnt\nhuge.txt\n");
    // A project whose tabs name both huge files and a small one.
    write_file(path("p.tproj"),
               "tabs 3\n1 0 huge.txt\n2 0 larger.vnt\n3 1 small.vnt\nfiles 3\n1 huge.txt\n2 larger.vnt\n3 small.vnt\n"
               "nodes 3\n1 0 huge.txt\n2 0 larger.vnt\n3 0 small.vnt\nsources sources.txt\n");
    i64 main_before = memory.arenas[pool_main].used;
    testing::internal::CaptureStdout();
    project_load(view(path("p.tproj")));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(messages(), (std::vector<std::string>{"error: file too large to open: " + path("huge.txt"),
                                                    "error: file too large to open: " + path("larger.vnt")}));
    // The source cache leaves the huge file out and says so.
    EXPECT_NE(out.find("source cache full, left out: " + path("huge.txt")), std::string::npos) << out;
    ASSERT_EQ(analysis.source_cache.source_entries.count, 1);
    EXPECT_TRUE(sv_equal(analysis.source_cache.source_entries[0].path, SV("small.vnt")));
    // The refused tabs stay open and empty; the small one loaded; nothing was read in.
    Document* huge = document_of("huge.txt");
    EXPECT_EQ(huge, nullptr) << "a refused file keeps no path: saving cannot overwrite it";
    Document* small = document_of("small.vnt");
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(std::string((const char*)((const u8*)document_text(small).data), (size_t)document_length(small)), "var x = 1\n");
    EXPECT_LT(memory.arenas[pool_main].used - main_before, (i64)64 << 20);
    for (i64 slot = 0; slot < tab_slot_count; slot++) {
        if (!tab_slot_used(slot) || &editor.tab_table.slots[slot] == small) continue;
        EXPECT_EQ(document_length(&editor.tab_table.slots[slot]), 1);
        EXPECT_FALSE(editor.tab_table.slots[slot].dirty);
    }

    // Opened on its own from the file dialog: the same message, and the program goes on.
    headless_clear_message_boxes();
    project_add_file(SV("huge.txt"));
    EXPECT_EQ(messages(), std::vector<std::string>{"error: file too large to open: " + path("huge.txt")});
    ASSERT_NE(editor.current_document, nullptr);
    EXPECT_EQ(document_length(editor.current_document), 1);
    document_save(editor.current_document);  // not dirty, no path: nothing is written
    EXPECT_EQ(fs::file_size(path("huge.txt")), (uintmax_t)2 << 30);
}

// A tab slot reused by the next project must not keep the previous project's file name:
// when its own file fails to open (or it has none), a save would overwrite that file.
TEST_F(FaultInjection, TabWhoseFileFailsToOpenCannotOverwriteTheSlotsPreviousFile) {
    write_file(path("notes.txt"), "precious\n");
    write_file(path("other.txt"), "also precious\n");
    write_file(path("one.tproj"), "tabs 2\n1 1 notes.txt\n2 0 other.txt\nfiles 2\n1 notes.txt\n2 other.txt\n"
                                  "nodes 2\n1 0 notes.txt\n2 0 other.txt\n");
    write_file(path("two.tproj"), "tabs 2\n1 1 gone.txt\n7 0 no file\nfiles 1\n1 gone.txt\nnodes 1\n1 0 gone.txt\n");
    testing::internal::CaptureStdout();
    project_load(view(path("one.tproj")));
    ASSERT_NE(document_of("notes.txt"), nullptr);
    ASSERT_NE(document_of("other.txt"), nullptr);
    headless_clear_message_boxes();
    project_load(view(path("two.tproj")));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(messages(), std::vector<std::string>{"error: failed to open file: " + path("gone.txt")});
    EXPECT_EQ(document_of("notes.txt"), nullptr);
    EXPECT_EQ(document_of("other.txt"), nullptr);
    // The user types into both empty tabs and saves everything.
    for (i64 slot = 0; slot < tab_slot_count; slot++) {
        if (!tab_slot_used(slot)) continue;
        document_set_text(&editor.tab_table.slots[slot], SV("typed over\n"));
        editor.tab_table.slots[slot].dirty = 1;
    }
    project_save(view(path("two.tproj")));
    EXPECT_EQ(read_file(path("notes.txt")), "precious\n");
    EXPECT_EQ(read_file(path("other.txt")), "also precious\n");
}

}  // namespace
