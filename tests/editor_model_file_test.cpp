// Loading and saving documents: round trips, failures the user is told about, files of
// every shape, and saving that never leaves a half-written file behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/clipboard.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "editor/text_change.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {


void write_file(const std::string& path, const std::string& content) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(content.data(), 1, content.size(), f);
    fclose(f);
}

StringView view(const std::string& s) { return StringView{s.data(), (i64)s.size()}; }

class EditorFiles : public ::testing::Test {
  protected:
    EditorHooks saved_hooks{};
    Document* doc = nullptr;
    std::string dir;

    void SetUp() override {
        ensure_analysis_locks();
        headless_reset();
        tab_table_init();
        // The workbench may have left its hooks and a project behind.
        saved_hooks = editor.hooks;
        editor.hooks = EditorHooks{};
        core.project_path.length = 0;
        doc = &editor.tab_table.slots[0];
        char name[] = "/tmp/tesmora_files_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override {
        editor.hooks = saved_hooks;
        document_reset(doc);
        core.project_path.length = 0;
        analysis.source_cache.sources_name.length = 0;
        chmod(dir.c_str(), 0755);
        std::string command = "rm -rf '" + dir + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }
    std::string path(const char* name) const { return dir + "/" + name; }
    std::string text() const { return std::string((const char*)((const u8*)document_text(doc).data), (size_t)document_length(doc)); }
    void load(const std::string& p) { document_load(doc, view(p)); }
    std::string last_message() const {
        i64 n = headless_message_box_count();
        return n > 0 ? std::string(headless_message_box(n - 1)->title) + ": " + headless_message_box(n - 1)->text : "";
    }
    void expect_consistent() const {
        EXPECT_EQ(document_length(doc), document_length(doc));
        i64 sum = 0;
        for (i64 i = 0; i < line_count(doc); i++) sum += line_length(doc, i);
        EXPECT_EQ(sum, document_length(doc));
        ASSERT_GT(document_length(doc), 0);
        EXPECT_EQ(document_byte(doc, document_length(doc) - 1), '\n');
        EXPECT_EQ(line_length(doc, line_count(doc) - 1), 0);
    }
    void key(i32 k) {
        headless_key_tap(k);
        input_poll();
        handle_keys(doc);
    }
    void type(const char* s) {
        headless_text(sv_from_cstr(s));
        input_poll();
        handle_keys(doc);
    }
};

TEST_F(EditorFiles, KindsFollowTheEndingInAnyCase) {
    EXPECT_EQ(file_kind_for_path(SV("a.vnt")), file_kind_vantrel);
    EXPECT_EQ(file_kind_for_path(SV("a.cpp")), file_kind_cpp);
    EXPECT_EQ(file_kind_for_path(SV("a.h")), file_kind_cpp);
    EXPECT_EQ(file_kind_for_path(SV("a.hpp")), file_kind_cpp);
    EXPECT_EQ(file_kind_for_path(SV("a.c")), file_kind_c);
    EXPECT_EQ(file_kind_for_path(SV("a.glsl")), file_kind_glsl);
    EXPECT_EQ(file_kind_for_path(SV("A.H")), file_kind_cpp);
    EXPECT_EQ(file_kind_for_path(SV("x/Main.CPP")), file_kind_cpp);
    EXPECT_EQ(file_kind_for_path(SV("a.cc")), file_kind_cpp);
    EXPECT_EQ(file_kind_for_path(SV("a.hxx")), file_kind_cpp);
    EXPECT_EQ(file_kind_for_path(SV("a.inl")), file_kind_cpp);
    EXPECT_EQ(file_kind_for_path(SV("Shader.GLSL")), file_kind_glsl);
    EXPECT_EQ(file_kind_for_path(SV("blur.frag")), file_kind_glsl);
    EXPECT_EQ(file_kind_for_path(SV("cull.comp")), file_kind_glsl);
    EXPECT_EQ(file_kind_for_path(SV("a.tese")), file_kind_glsl);
    EXPECT_EQ(file_kind_for_path(SV("a.cs")), file_kind_other);
    EXPECT_EQ(file_kind_for_path(SV("vert")), file_kind_other);
    EXPECT_EQ(file_kind_for_path(SV("a.txt")), file_kind_other);
    EXPECT_EQ(file_kind_for_path(SV("")), file_kind_other);
}

TEST_F(EditorFiles, LoadAddsTheFinalNewlineAndSaveWritesOnlyWhenChanged) {
    std::string p = path("a.c");
    write_file(p, "int x;");
    load(p);
    EXPECT_EQ(text(), "int x;\n");
    EXPECT_EQ(doc->kind, file_kind_c);
    EXPECT_TRUE(sv_equal(owned_view(doc->path), view(p)));
    EXPECT_EQ(doc->view_request, 1);
    EXPECT_FALSE(doc->dirty);
    expect_consistent();

    // Not dirty: the file is not touched.
    write_file(p, "changed elsewhere");
    document_save(doc);
    EXPECT_EQ(read_file(p), "changed elsewhere");

    // Changed by another program since it was loaded: not written over unless asked to.
    doc->cursor = doc->anchor = 6;
    type("y");
    EXPECT_TRUE(doc->dirty);
    EXPECT_EQ(document_save(doc), save_outcome_changed_on_disk);
    EXPECT_TRUE(doc->dirty);
    EXPECT_EQ(read_file(p), "changed elsewhere");
    EXPECT_EQ(document_save(doc, true), save_outcome_saved);
    EXPECT_FALSE(doc->dirty);
    EXPECT_EQ(read_file(p), "int x;y\n");
    EXPECT_EQ(headless_message_box_count(), 0);
}

TEST_F(EditorFiles, SavingKeepsPermissionsAndReloadingKeepsStorage) {
    std::string p = path("run.sh");
    write_file(p, "echo hi\n");
    chmod(p.c_str(), 0751);
    load(p);
    type("#");
    document_save(doc);
    struct stat st;
    ASSERT_EQ(stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0751u);
    EXPECT_EQ(read_file(p), "#echo hi\n");

    // Reopening a file of the same size takes nothing more from pool_main.
    load(p);
    i64 used = memory.arenas[pool_main].used;
    for (int i = 0; i < 50; i++) load(p);
    EXPECT_EQ(memory.arenas[pool_main].used, used);
}

TEST_F(EditorFiles, PathsJoinTheProjectDirectory) {
    write_file(path("x.vnt"), "x\n");
    std::string project = dir + "/p.proj";
    string_assign(&core.project_path, view(project), pool_main);
    document_load(doc, SV("x.vnt"));
    EXPECT_EQ(text(), "x\n");
    EXPECT_TRUE(sv_equal(owned_view(doc->path), SV("x.vnt")));

    // A file that is not there: reported with its full path; the document takes its name
    // and kind (saving creates it), never keeping the previous file's path.
    document_load(doc, SV("missing.c"));
    EXPECT_EQ(text(), "\n");
    EXPECT_TRUE(sv_equal(owned_view(doc->path), SV("missing.c")));
    EXPECT_EQ(doc->kind, file_kind_c);
    EXPECT_TRUE(doc->file_missing);
    EXPECT_EQ(last_message(), "error: failed to open file: " + dir + "/missing.c");
    // Directories cannot be opened as files, and leave no path to save over.
    document_load(doc, SV(""));
    EXPECT_EQ(last_message(), "error: failed to open file: " + dir + "/");
    EXPECT_EQ(doc->path.length, 0);
}

TEST_F(EditorFiles, SaveIntoReadOnlyDirectoryKeepsDirtyAndTheOldFile) {
    std::string p = path("keep.txt");
    write_file(p, "old\n");
    load(p);
    type("new ");
    ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
    // root writes anywhere, so the save runs as an unprivileged user in a child.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
        headless_clear_message_boxes();
        document_save(doc);
        if (!doc->dirty) _exit(11);
        if (headless_message_box_count() != 1) _exit(12);
        std::string expected = "failed to open file for writing: " + p;
        if (expected != headless_message_box(0)->text) _exit(13);
        if (std::string(headless_message_box(0)->title) != "error") _exit(14);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(read_file(p), "old\n");
}

TEST_F(EditorFiles, FailedWriteKeepsDirtyAndTheOldFile) {
    std::string p = path("limit.txt");
    write_file(p, "original\n");
    load(p);
    for (int i = 0; i < 20; i++) type("0123456789");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Files may grow to 64 bytes only: the temporary file's write fails.
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(10);
        headless_clear_message_boxes();
        document_save(doc);
        if (!doc->dirty) _exit(11);
        if (headless_message_box_count() != 1) _exit(12);
        std::string expected = "failed to write file: " + p;
        if (expected != headless_message_box(0)->text) _exit(13);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(read_file(p), "original\n");
    // No temporary file is left beside it.
    std::string listing = "ls -A '" + dir + "' | wc -l";
    FILE* ls = popen(listing.c_str(), "r");
    int files = 0;
    ASSERT_EQ(fscanf(ls, "%d", &files), 1);
    pclose(ls);
    EXPECT_EQ(files, 1);
}

// A save killed at any moment leaves either the old or the new bytes, never a mix.
TEST_F(EditorFiles, SaveKilledAtRandomMomentsLeavesOneWholeVersion) {
    std::string p = path("crash.txt");
    std::string a(300000, 'a'), b(200000, 'b');
    for (size_t i = 0; i < a.size(); i += 61) a[i] = '\n';
    a.back() = '\n';
    b.back() = '\n';
    write_file(p, a);
    load(p);
    std::mt19937 random(12345);
    int mixed = 0, saw_new = 0;
    for (int round = 0; round < 40; round++) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; i++) {
                document_set_text(doc, view(i % 2 ? a : b));
                doc->dirty = 1;
                // Earlier children changed the file behind this document's back.
                document_save(doc, true);
            }
        }
        usleep((useconds_t)(random() % 20000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::string now = read_file(p);
        if (now != a && now != b) mixed++;
        saw_new += now == b;
    }
    EXPECT_EQ(mixed, 0);
    EXPECT_GT(saw_new, 0);  // the children did get to save
}

TEST_F(EditorFiles, FileTooLargeForTheArenaIsRefused) {
    std::string p = path("big.txt");
    write_file(p, std::string((size_t)3 << 20, 'z'));
    write_file(path("small.vnt"), "s\n");
    load(path("small.vnt"));
    i64 capacity = memory.arenas[pool_main].capacity;
    memory.arenas[pool_main].capacity = memory.arenas[pool_main].used + document_memory_margin + ((i64)1 << 20);
    load(p);
    memory.arenas[pool_main].capacity = capacity;
    EXPECT_EQ(last_message(), "error: file too large to open: " + p);
    EXPECT_EQ(text(), "\n");
    EXPECT_EQ(doc->kind, file_kind_vantrel);
    expect_consistent();
    load(p);
    EXPECT_EQ(document_length(doc), ((i64)3 << 20) + 1);
}

// A "\r\n" file is edited without its CRs and written back with them, byte for byte; a
// mixed file becomes its majority, said once; pasted "\r\n" text gives plain lines.
TEST_F(EditorFiles, LineEndsRoundTripAndMixedFilesTakeTheMajority) {
    std::string p = path("dos.c");
    std::string dos = "int a;\r\nint b; /* \r inside */\r\n\r\n";
    write_file(p, dos);
    load(p);
    EXPECT_EQ(text(), "int a;\nint b; /* \r inside */\n\n");
    EXPECT_EQ(line_count(doc), 4);
    doc->cursor = doc->anchor = 6;
    key(key_enter);
    type("x");
    headless_set_clipboard(SV("p;\r\nq;"));
    paste(doc);
    EXPECT_EQ(text(), "int a;\nxp;\nq;\nint b; /* \r inside */\n\n");
    EXPECT_EQ(document_save(doc), save_outcome_saved);
    EXPECT_EQ(read_file(p), "int a;\r\nxp;\r\nq;\r\nint b; /* \r inside */\r\n\r\n");
    // Undo back to the loaded text, save: the file is byte for byte what it was.
    for (int i = 0; i < 8 && text() != "int a;\nint b; /* \r inside */\n\n"; i++) undo(doc);
    doc->dirty = 1;
    EXPECT_EQ(document_save(doc), save_outcome_saved);
    EXPECT_EQ(read_file(p), dos);
    EXPECT_EQ(editor.line_end_notice.length, 0);

    std::string mixed = path("mixed.c");
    write_file(mixed, "a\r\nb\nc\r\n");
    load(mixed);
    type("z");
    EXPECT_EQ(document_save(doc), save_outcome_saved);
    EXPECT_EQ(read_file(mixed), "za\r\nb\r\nc\r\n");
    EXPECT_NE(std::string(editor.line_end_notice.data, (size_t)editor.line_end_notice.length).find("CRLF"), std::string::npos);
    editor.line_end_notice.length = 0;
    type("y");
    document_save(doc);
    EXPECT_EQ(editor.line_end_notice.length, 0) << "said once";
}

TEST_F(EditorFiles, FilesOfEveryShapeLoadAndEdit) {
    std::mt19937 random(7);
    std::string binary(65536, 0);
    for (char& c : binary) c = (char)(random() & 0xFF);
    std::string invalid = "\xC3(\xA0\xA1\xE2\x82 \xF0\x28\x8C\xBC\xFF\xFE\n\xC3";
    std::string nul = std::string("a\0b\0\n\0", 6);
    std::string one_line((size_t)1 << 20, 'w');
    const std::string shapes[] = {binary, invalid, nul, one_line, "", "no final newline", "\n\n\n"};
    int index = 0;
    for (const std::string& content : shapes) {
        std::string p = path(("shape" + std::to_string(index++)).c_str());
        write_file(p, content);
        load(p);
        std::string expected = content;
        if (expected.empty() || expected.back() != '\n') expected += '\n';
        EXPECT_EQ(text(), expected) << index;
        expect_consistent();
        // Some editing everywhere in it.
        for (int step = 0; step < 40; step++) {
            doc->cursor = doc->anchor = (i32)(random() % (document_length(doc) + 1));
            switch (step % 6) {
                case 0: type("x\xC3\xA9"); break;
                case 1: key(key_backspace); break;
                case 2: key(key_delete); break;
                case 3: key(key_end); key(key_enter); break;
                case 4: headless_key_down(key_ctrl); key(key_right); headless_key_up(key_ctrl); key(key_down); break;
                case 5: headless_key_down(key_ctrl); key(key_backspace); headless_key_up(key_ctrl); break;
            }
            EXPECT_LE(doc->cursor, document_length(doc));
            EXPECT_LE(doc->anchor, document_length(doc));
            expect_consistent();
        }
        document_save(doc);
        EXPECT_EQ(read_file(p), text());
    }
    EXPECT_EQ(headless_message_box_count(), 0);
}

TEST_F(EditorFiles, SavingTheSourcesListRebuildsTheSourceCache) {
    write_file(path("one.vnt"), "one\n");
    write_file(path("two.vnt"), "two\n");
    write_file(path("sources.txt"), "one.vnt\n");
    string_assign(&core.project_path, view(dir + "/p.proj"), pool_main);
    source_cache_rebuild(SV("sources.txt"));
    ASSERT_EQ(analysis.source_cache.source_paths.count, 1);
    document_load(doc, SV("sources.txt"));
    doc->cursor = doc->anchor = (i32)document_length(doc);
    type("two.vnt");
    document_save(doc);
    EXPECT_EQ(read_file(path("sources.txt")), "one.vnt\ntwo.vnt\n");
    EXPECT_EQ(analysis.source_cache.source_paths.count, 2);
    EXPECT_EQ(analysis.source_cache.source_entries.count, 2);
    EXPECT_EQ(headless_message_box_count(), 0);
}

}  // namespace
