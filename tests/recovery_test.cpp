// Crash recovery: the recovery file format, the files kept while documents are
// modified, putting their text back after a crash, and damaged or foreign files.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "editor/editor_state.h"
#include "editor/recovery.h"
#include "editor/recovery_file.h"
#include "workbench/workbench_state.h"
#include "workbench_frame_fixture.h"

TEST(RecoveryFile, ReadsOnlyWholeWellFormedFiles) {
    std::string text = "int main() {}\n\xc3\xa9\n";
    char header[recovery_header_capacity];
    i64 n = recovery_header(header, sizeof header, SV("/p/a.c"), SV("/p/p.project"), sv_of(text));
    ASSERT_GT(n, 0);
    std::string file = std::string(header, (size_t)n) + text;
    RecoveryContent c{};
    ASSERT_TRUE(recovery_parse(sv_of(file), &c));
    EXPECT_EQ(str_of(c.document), "/p/a.c");
    EXPECT_EQ(str_of(c.project), "/p/p.project");
    EXPECT_EQ(str_of(c.text), text);

    std::string flipped = file;
    flipped[flipped.size() - 2] ^= 1;
    for (const std::string& bad : {file.substr(0, file.size() - 1), file + "x", flipped, std::string("garbage"),
                                   std::string(), file.substr(0, (size_t)n - 1)})
        EXPECT_FALSE(recovery_parse(sv_of(bad), &c)) << bad.size();
    // A path with a line break cannot be written.
    EXPECT_EQ(recovery_header(header, sizeof header, SV("/p/a\n.c"), SV(""), sv_of(text)), -1);
    // Names depend on the project as well as the document.
    char a[32], b[32];
    recovery_file_name(a, SV("/p/one.project"), SV("/p/a.c"));
    recovery_file_name(b, SV("/p/two.project"), SV("/p/a.c"));
    EXPECT_NE(std::string(a, recovery_file_name_length), std::string(b, recovery_file_name_length));
}

class Recovery : public WorkbenchFrame {
protected:
    void SetUp() override {
        WorkbenchFrame::SetUp();
        recovery_dir = dir + "/state/recovery";
        recovery_init(sv_of(recovery_dir), false);
    }
    void TearDown() override {
        recovery_shutdown();
        WorkbenchFrame::TearDown();
    }
    std::string recovery_file_of(const Document* doc) {
        char name[32];
        recovery_name_of(doc, name);
        return recovery_dir + "/" + std::string(name, recovery_file_name_length);
    }
    std::string recovered_text(const std::string& file) {
        std::string bytes = ::read_file(file);
        RecoveryContent c{};
        return recovery_parse(sv_of(bytes), &c) ? str_of(c.text) : "<unreadable>";
    }
    // The document's file as it was long before the crash.
    void age(const std::string& name) {
        struct timespec times[2] = {{1000000, 0}, {1000000, 0}};
        utimensat(AT_FDCWD, path_of(name).c_str(), times, 0);
    }
    std::string recovery_dir;
};

TEST_F(Recovery, AModifiedDocumentKeepsARecoveryFileUntilItIsSaved) {
    project_with({{"a.vnt", "one\n"}});
    project_save(sv_of(path_of("test.proj")));
    Document* doc = editor.current_document;
    std::string file = recovery_file_of(doc);
    // Each frame takes a recovery step at the workbench clock (the one after a frame with
    // input, which is shown first); the test steps a little ahead of it.
    type("x");
    EXPECT_EQ(::read_file(file), "<missing>") << "the frame that takes the key only shows it";
    frame();
    f64 t = workbench.clock;
    EXPECT_EQ(recovered_text(file), "xone\n");
    // Written again once a second has passed since the last write.
    type("y");
    recovery_step(t + 0.5);
    EXPECT_EQ(recovered_text(file), "xone\n");
    recovery_step(t + 1.1);
    EXPECT_EQ(recovered_text(file), "xyone\n");
    ctrl_key(key_S);
    recovery_step(t + 1.2);
    EXPECT_EQ(::read_file(file), "<missing>") << "a clean save removes it";
    // Discarded changes take their file with them.
    type("z");
    recovery_step(t + 3);
    ASSERT_EQ(recovered_text(file), "xyzone\n");
    request_close_tab((i32)doc->id);
    frame();
    click_button(workbench.confirm.no);
    recovery_step(t + 4);
    EXPECT_EQ(::read_file(file), "<missing>");
}

TEST_F(Recovery, RecoveredTextComesBackAsAnUnsavedChange) {
    project_with({{"a.vnt", "one\n"}, {"b.vnt", "two\n"}});
    project_save(sv_of(path_of("test.proj")));
    type("lost ");  // b.vnt
    recovery_step(100);
    // The crash: nothing is saved, the program is gone. Then b.vnt is not even open.
    workbench.project.tab_entries[1].close_requested = 0;
    project_reset(StringView{nullptr, 0});
    age("b.vnt");
    write_file("test.proj", "tabs 1\n2 1 a.vnt\nfiles 2\n2 a.vnt\n3 b.vnt\nnodes 0\n");
    project_load(sv_of(path_of("test.proj")));
    Document* b = nullptr;
    for (i64 slot = 0; slot < tab_slot_count; slot++)
        if (tab_slot_used(slot) && str_of(owned_view(editor.tab_table.slots[slot].path)) == "b.vnt") b = &editor.tab_table.slots[slot];
    ASSERT_NE(b, nullptr) << "a file with recovered changes is opened";
    EXPECT_EQ(doc_text(b), "lost two\n");
    EXPECT_TRUE(b->dirty);
    EXPECT_EQ(read_file("b.vnt"), "two\n") << "nothing is written until the user saves";
    ASSERT_EQ(workbench.notices.count, 1);
    EXPECT_EQ(str_of(owned_view(workbench.notices.texts[0])), "recovered unsaved changes of b.vnt");
    // The disk's text is one undo away.
    editor.current_document = b;
    b->focused = 1;
    ctrl_key(key_Z);
    EXPECT_EQ(doc_text(b), "two\n");
}

TEST_F(Recovery, DamagedOlderAndForeignFilesAreKeptAndListed) {
    project_with({{"a.vnt", "one\n"}});
    project_save(sv_of(path_of("test.proj")));
    std::string file = recovery_file_of(editor.current_document);
    std::filesystem::create_directories(recovery_dir);
    std::ofstream(file) << "tesmora recovery 1\ndocument cut short";
    // A foreign one: another project's document.
    std::string foreign = recovery_dir + "/0123456789abcdef.recovery";
    char header[recovery_header_capacity];
    i64 n = recovery_header(header, sizeof header, SV("/elsewhere/x.c"), SV("/elsewhere/x.project"), SV("x\n"));
    std::ofstream(foreign) << std::string(header, (size_t)n) << "x\n";
    testing::internal::CaptureStdout();
    project_load(sv_of(path_of("test.proj")));
    project_load(sv_of(path_of("test.proj")));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(doc_text(editor.current_document), "one\n");
    EXPECT_FALSE(editor.current_document->dirty);
    EXPECT_NE(out.find("unreadable recovery file kept: " + file), std::string::npos);
    EXPECT_NE(out.find("recovery file kept: " + foreign + " (unsaved changes of /elsewhere/x.c)"), std::string::npos);
    EXPECT_EQ(out.find("kept: " + foreign), out.rfind("kept: " + foreign)) << "listed once";
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(std::filesystem::exists(foreign));
}

TEST_F(Recovery, AWriteThatFailsIsReportedOnceAndRetried) {
    write_file("blocker", "a file where the directory should be\n");
    recovery_init(sv_of(path_of("blocker/recovery")), false);
    project_with({{"a.vnt", "one\n"}});
    testing::internal::CaptureStdout();
    type("x");
    f64 t = workbench.clock;
    type("y");
    recovery_step(t + 3);
    frame();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("failed to write recovery file"), std::string::npos);
    EXPECT_EQ(out.find("failed to write recovery file"), out.rfind("failed to write recovery file"));
    ASSERT_GE(workbench.notices.count, 1);
    EXPECT_NE(str_of(owned_view(workbench.notices.texts[0])).find("failed to write recovery file"), std::string::npos);
    // Once the directory can be made, the retry succeeds.
    unlink(path_of("blocker").c_str());
    recovery_step(t + 6);
    char name[32];
    recovery_name_of(editor.current_document, name);
    EXPECT_TRUE(std::filesystem::exists(path_of("blocker/recovery/") + std::string(name, recovery_file_name_length)));
}

// Running out of an arena ends the process, after the recovery files are written.
TEST_F(Recovery, ArenaExhaustionWritesRecoveryFilesFirst) {
    project_with({{"a.vnt", "one\n"}});
    type("unsaved ");
    std::string file = recovery_file_of(editor.current_document);
    fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        memory.exhausted_hook = [](u8) { recovery_write_all_now(); };
        pool_alloc(pool_editor, (i64)1 << 40);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(recovered_text(file), "unsaved one\n");
}

// The worker writes while the main thread goes on (run under ThreadSanitizer too).
TEST_F(Recovery, ThreadedWorkerWritesInTheBackground) {
    recovery_init(sv_of(recovery_dir), true);
    project_with({{"a.vnt", "one\n"}});
    std::string file = recovery_file_of(editor.current_document);
    // Frames step at the workbench clock; the test's own steps run ahead of it.
    f64 t = workbench.clock;
    for (int i = 0; i < 20; i++) {
        type("x");
        recovery_step(t + 10 + i * 1.5);
        usleep(1000);
    }
    for (int i = 0; i < 2000 && recovered_text(file) != std::string(20, 'x') + "one\n"; i++) {
        recovery_step(t + 100 + i * 1.5);
        usleep(1000);
    }
    EXPECT_EQ(recovered_text(file), std::string(20, 'x') + "one\n");
}
