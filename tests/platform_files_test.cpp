// Saving files without losing the user's work or writing the wrong file: links, hard
// links, owners and permissions, temporaries left behind; and the path and stamp helpers.
// The suite runs as root in CI and as a normal user elsewhere; the cases that need
// another user run in a child that has become nobody.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

const uid_t nobody = 65534;

StringView view(const std::string& s) { return StringView{s.data(), (i64)s.size()}; }

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    std::stringstream out;
    out << in.rdbuf();
    return out.str();
}

void write_bytes(const std::string& path, const std::string& bytes, mode_t mode = 0644) {
    std::ofstream(path, std::ios::binary) << bytes;
    chmod(path.c_str(), mode);
}

struct stat stat_of(const std::string& path) {
    struct stat st{};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st;
}

// Runs `body` in a child; its return value comes back as the exit status, a signal as
// 1000 + its number.
int in_child(const std::function<int()>& body) {
    fflush(stdout);
    pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

bool become_nobody() { return setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0; }

class PlatformFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tesmora_platform_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        // A child that became nobody must reach the files inside.
        chmod(dir.c_str(), 0755);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(dir, ignored))
            if (!entry.is_symlink()) fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }
    std::string path(const std::string& relative) const { return dir + "/" + relative; }
    // Every name in the directory, temporaries included.
    std::set<std::string> names(const std::string& relative = "") const {
        std::set<std::string> out;
        for (const auto& entry : fs::directory_iterator(relative.empty() ? dir : path(relative)))
            out.insert(entry.path().filename().string());
        return out;
    }
    SaveResult save(const std::string& p, const std::string& text) { return file_save_atomic(view(p), view(text)); }

    std::string dir;
};

TEST_F(PlatformFiles, SavesThroughLinksToTheFileTheyName) {
    write_bytes(path("real.txt"), "old\n");
    fs::create_directory(path("sub"));
    fs::create_symlink(path("real.txt"), path("absolute"));
    fs::create_symlink("../real.txt", path("sub/relative"));  // from the link's directory
    fs::create_symlink("sub/relative", path("chain"));
    for (const char* link : {"absolute", "sub/relative", "chain"}) {
        std::string text = std::string("through ") + link + "\n";
        EXPECT_EQ(save(path(link), text), save_ok) << link;
        EXPECT_EQ(read_bytes(path("real.txt")), text) << link;
    }
    for (const char* link : {"absolute", "sub/relative", "chain"}) EXPECT_TRUE(fs::is_symlink(path(link))) << link;
    EXPECT_EQ(names(), (std::set<std::string>{"real.txt", "sub", "absolute", "chain"}));

    // A dangling link whose target's directory exists: the target is made.
    fs::create_symlink("sub/new.txt", path("dangling"));
    EXPECT_EQ(save(path("dangling"), "made\n"), save_ok);
    EXPECT_TRUE(fs::is_symlink(path("dangling")));
    EXPECT_EQ(read_bytes(path("sub/new.txt")), "made\n");

    // A loop, and a chain longer than 40 links, fail without writing anything.
    fs::create_symlink("loop_b", path("loop_a"));
    fs::create_symlink("loop_a", path("loop_b"));
    EXPECT_EQ(save(path("loop_a"), "x\n"), save_open_failed);
    fs::create_symlink("real.txt", path("hop0"));
    for (int i = 1; i <= 40; i++) fs::create_symlink("hop" + std::to_string(i - 1), path("hop" + std::to_string(i)));
    EXPECT_EQ(save(path("hop39"), "forty\n"), save_ok);  // hop39 is 40 links from the file
    EXPECT_EQ(save(path("hop40"), "forty-one\n"), save_open_failed);
    EXPECT_EQ(read_bytes(path("real.txt")), "forty\n");
    EXPECT_TRUE(fs::is_symlink(path("loop_a")) && fs::is_symlink(path("loop_b")));
}

TEST_F(PlatformFiles, HardLinkedFileIsRewrittenInPlace) {
    std::string old_text(5000, 'o');
    write_bytes(path("a.txt"), old_text, 0640);
    ASSERT_EQ(link(path("a.txt").c_str(), path("b.txt").c_str()), 0);
    ino_t inode = stat_of(path("a.txt")).st_ino;

    // A write cut short leaves the original whole: it is only rewritten once the new
    // bytes are safely in the copy, and the copy that failed is gone.
    int result = in_child([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit r{100, 100};
        if (setrlimit(RLIMIT_FSIZE, &r) != 0) return 100;
        return (int)file_save_atomic(view(path("a.txt")), view(std::string(300, 'n')));
    });
    EXPECT_EQ(result, save_write_failed);
    EXPECT_EQ(read_bytes(path("b.txt")), old_text);
    EXPECT_EQ(names(), (std::set<std::string>{"a.txt", "b.txt"}));

    // Shorter than before, in two parts: the tail of the old bytes goes.
    StringView parts[] = {SV("head\n"), SV("body\n")};
    EXPECT_EQ(file_save_atomic_parts(view(path("a.txt")), parts, 2), save_ok);
    for (const char* name : {"a.txt", "b.txt"}) {
        EXPECT_EQ(read_bytes(path(name)), "head\nbody\n") << name;
        struct stat st = stat_of(path(name));
        EXPECT_EQ(st.st_ino, inode) << name;
        EXPECT_EQ(st.st_nlink, 2u) << name;
        EXPECT_EQ(st.st_mode & 07777, 0640u) << name;
    }
    EXPECT_EQ(names(), (std::set<std::string>{"a.txt", "b.txt"}));
}

TEST_F(PlatformFiles, KeepsTheModeAndGivesNewFilesTheUmasksMode) {
    write_bytes(path("kept.txt"), "old\n", 0640);
    EXPECT_EQ(save(path("kept.txt"), "new\n"), save_ok);
    EXPECT_EQ(stat_of(path("kept.txt")).st_mode & 07777, 0640u);
    EXPECT_EQ(read_bytes(path("kept.txt")), "new\n");

    mode_t old_mask = umask(027);
    SaveResult result = save(path("fresh.txt"), "fresh\n");
    umask(old_mask);
    EXPECT_EQ(result, save_ok);
    EXPECT_EQ(stat_of(path("fresh.txt")).st_mode & 07777, 0640u);
    EXPECT_EQ(read_bytes(path("fresh.txt")), "fresh\n");
}

TEST_F(PlatformFiles, KeepsTheOwnerAndGroup) {
    if (geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    write_bytes(path("theirs.txt"), "old\n", 0644);
    ASSERT_EQ(chown(path("theirs.txt").c_str(), nobody, nobody), 0);
    EXPECT_EQ(save(path("theirs.txt"), "new\n"), save_ok);
    struct stat st = stat_of(path("theirs.txt"));
    EXPECT_EQ(st.st_uid, nobody);
    EXPECT_EQ(st.st_gid, nobody);
    EXPECT_EQ(read_bytes(path("theirs.txt")), "new\n");
}

// A file that nobody may write through its group but that root owns (a rename could not
// keep the owner) is rewritten in place, keeping inode and owner; a file of nobody's in a
// directory nobody may not write has no room for a safe copy and is left alone.
TEST_F(PlatformFiles, RewritesInPlaceWhenARenameCannotKeepTheFile) {
    if (geteuid() != 0) GTEST_SKIP() << "files of another user need root to set up";
    fs::create_directory(path("open"));
    chmod(path("open").c_str(), 0777);
    write_bytes(path("open/shared.txt"), "old shared text\n", 0664);
    ASSERT_EQ(chown(path("open/shared.txt").c_str(), 0, nobody), 0);
    fs::create_directory(path("locked"));
    chmod(path("locked").c_str(), 0755);
    write_bytes(path("locked/own.txt"), "old own text\n", 0644);
    ASSERT_EQ(chown(path("locked/own.txt").c_str(), nobody, nobody), 0);
    ino_t shared_inode = stat_of(path("open/shared.txt")).st_ino;
    ino_t own_inode = stat_of(path("locked/own.txt")).st_ino;

    int result = in_child([&] {
        if (!become_nobody()) return 100;
        int a = file_save_atomic(view(path("open/shared.txt")), SV("new\n"));
        int b = file_save_atomic(view(path("locked/own.txt")), SV("new own\n"));
        return a * 10 + b;
    });
    EXPECT_EQ(result, save_ok * 10 + save_open_failed);
    struct stat shared = stat_of(path("open/shared.txt"));
    EXPECT_EQ(read_bytes(path("open/shared.txt")), "new\n");
    EXPECT_EQ(shared.st_ino, shared_inode);
    EXPECT_EQ(shared.st_uid, 0u);
    EXPECT_EQ(shared.st_gid, nobody);
    EXPECT_EQ(shared.st_mode & 07777, 0664u);
    EXPECT_EQ(read_bytes(path("locked/own.txt")), "old own text\n");
    EXPECT_EQ(stat_of(path("locked/own.txt")).st_ino, own_inode);
    EXPECT_EQ(names("open"), (std::set<std::string>{"shared.txt"}));
    EXPECT_EQ(names("locked"), (std::set<std::string>{"own.txt"}));
}

TEST_F(PlatformFiles, RefusesAFileTheUserMayNotWrite) {
    // For root this is the rule that a file without any write bit is read-only.
    write_bytes(path("read_only.txt"), "keep\n", 0444);
    ino_t inode = stat_of(path("read_only.txt")).st_ino;
    EXPECT_EQ(save(path("read_only.txt"), "lost\n"), save_not_writable);
    EXPECT_EQ(read_bytes(path("read_only.txt")), "keep\n");
    EXPECT_EQ(stat_of(path("read_only.txt")).st_ino, inode);
    EXPECT_EQ(stat_of(path("read_only.txt")).st_mode & 07777, 0444u);
    EXPECT_EQ(names(), (std::set<std::string>{"read_only.txt"}));
}

// In a directory anyone may write, a rename would replace a file its user may not write.
TEST_F(PlatformFiles, RefusalLooksAtTheFileNotItsDirectory) {
    if (geteuid() != 0) GTEST_SKIP() << "a file of another user needs root to set up";
    chmod(dir.c_str(), 0777);
    write_bytes(path("roots.txt"), "root's\n", 0644);
    int result = in_child([&] {
        if (!become_nobody()) return 100;
        return (int)file_save_atomic(view(path("roots.txt")), SV("nobody's\n"));
    });
    EXPECT_EQ(result, save_not_writable);
    EXPECT_EQ(read_bytes(path("roots.txt")), "root's\n");
    EXPECT_EQ(stat_of(path("roots.txt")).st_uid, 0u);
    EXPECT_EQ(names(), (std::set<std::string>{"roots.txt"}));
}

TEST_F(PlatformFiles, RemovesOnlyItsOwnStrayTemporaries) {
    write_bytes(path("a.c"), "a\n");
    for (const char* name : {"a.c.tesmora-save-Ab12Cd", "a.c.tesmora-save-AB", "a.c.tesmora-save-Ab12Cde",
                             "a.c.tesmora-save-Ab-2Cd", "b.c.tesmora-save-Ab12Cd", "xa.c.tesmora-save-Ab12Cd"})
        write_bytes(path(name), "t\n");
    fs::create_directory(path("a.c.tesmora-save-Dir123"));
    fs::create_symlink("a.c", path("a.c.tesmora-save-Link12"));
    EXPECT_EQ(file_remove_stray_temporaries(view(path("a.c"))), 1);
    EXPECT_EQ(names(), (std::set<std::string>{"a.c", "a.c.tesmora-save-AB", "a.c.tesmora-save-Ab12Cde",
                                              "a.c.tesmora-save-Ab-2Cd", "b.c.tesmora-save-Ab12Cd",
                                              "xa.c.tesmora-save-Ab12Cd", "a.c.tesmora-save-Dir123",
                                              "a.c.tesmora-save-Link12"}));

    // Named through a link, the temporaries are looked for beside the file it names.
    fs::create_directory(path("sub"));
    fs::create_symlink("../a.c", path("sub/link.c"));
    write_bytes(path("a.c.tesmora-save-Zz9900"), "t\n");
    write_bytes(path("a.c.tesmora-save-Yy8811"), "t\n");
    write_bytes(path("sub/link.c.tesmora-save-Xx7722"), "t\n");
    EXPECT_EQ(file_remove_stray_temporaries(view(path("sub/link.c"))), 2);
    EXPECT_FALSE(fs::exists(path("a.c.tesmora-save-Zz9900")) || fs::exists(path("a.c.tesmora-save-Yy8811")));
    EXPECT_TRUE(fs::exists(path("sub/link.c.tesmora-save-Xx7722")));
}

TEST_F(PlatformFiles, AbsolutePathsAreNormalisedByTextAlone) {
    // Relative paths are taken from a directory two levels down in the test's own.
    fs::create_directories(path("work/here"));
    char old_cwd[PATH_MAX], cwd[PATH_MAX];
    ASSERT_NE(getcwd(old_cwd, sizeof old_cwd), nullptr);
    ASSERT_EQ(chdir(path("work/here").c_str()), 0);
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    std::string here = cwd, work = here.substr(0, here.rfind('/'));
    char buffer[PATH_MAX];
    auto absolute = [&](const std::string& p, i64 capacity = PATH_MAX) {
        StringView v = path_absolute(view(p), buffer, capacity);
        return std::string(v.data, (size_t)v.length);
    };
    EXPECT_EQ(absolute("."), here);
    EXPECT_EQ(absolute("x/./y/../z/"), here + "/x/z");
    EXPECT_EQ(absolute("../x"), work + "/x");
    EXPECT_EQ(absolute("../.."), work.substr(0, work.rfind('/')));
    EXPECT_EQ(chdir(old_cwd), 0);

    EXPECT_EQ(absolute("/a/./b//c/"), "/a/b/c");
    EXPECT_EQ(absolute("/a/b/../../c/.."), "/");
    EXPECT_EQ(absolute("/../a/.."), "/");
    EXPECT_EQ(absolute("//"), "/");
    // Links are not followed: ".." after a link drops the link's name.
    fs::create_symlink("/usr/lib", path("link"));
    EXPECT_EQ(absolute(path("link/..")), dir);
    // Exactly fitting, one byte short, and an element that a later ".." removes.
    EXPECT_EQ(absolute("/ab/c", 5), "/ab/c");
    EXPECT_EQ(absolute("/ab/c", 4), "");
    EXPECT_EQ(absolute("/a/a-long-element/../c", 4), "/a/c");
}

TEST_F(PlatformFiles, StampsTellWhatChanged) {
    FileStamp missing = file_stamp(view(path("missing")));
    EXPECT_FALSE(missing.exists || missing.is_regular || missing.is_directory);

    FileStamp directory = file_stamp(view(dir));
    EXPECT_TRUE(directory.exists && directory.is_directory && !directory.is_regular);

    write_bytes(path("f.txt"), "12345");
    timespec times[2] = {{1000, 0}, {1700000000, 123456789}};
    ASSERT_EQ(utimensat(AT_FDCWD, path("f.txt").c_str(), times, 0), 0);
    FileStamp before = file_stamp(view(path("f.txt")));
    EXPECT_TRUE(before.exists && before.is_regular && !before.is_directory);
    EXPECT_EQ(before.size, 5);
    EXPECT_EQ(before.mtime_ns, 1700000000123456789);
    struct stat st = stat_of(path("f.txt"));
    EXPECT_EQ(before.inode, (u64)st.st_ino);
    EXPECT_EQ(before.device, (u64)st.st_dev);

    // Another program changes it; a link to it shows the same file.
    write_bytes(path("f.txt"), "1234567");
    times[1] = {1700000001, 5};
    ASSERT_EQ(utimensat(AT_FDCWD, path("f.txt").c_str(), times, 0), 0);
    fs::create_symlink("f.txt", path("f.link"));
    FileStamp after = file_stamp(view(path("f.link")));
    EXPECT_EQ(after.size, 7);
    EXPECT_EQ(after.mtime_ns, 1700000001000000005);
    EXPECT_EQ(after.inode, before.inode);
}

TEST_F(PlatformFiles, CreatesDirectoriesAndRemovesFiles) {
    mode_t mask = umask(0);
    umask(mask);
    EXPECT_TRUE(directory_create_all(view(path("x//y/z/")), 0750));
    EXPECT_TRUE(fs::is_directory(path("x/y/z")));
    EXPECT_EQ(stat_of(path("x/y/z")).st_mode & 0777, 0750u & ~mask);
    EXPECT_TRUE(directory_create_all(view(path("x/y")), 0750));  // already there
    write_bytes(path("x/file"), "f\n");
    EXPECT_FALSE(directory_create_all(view(path("x/file/sub")), 0755));

    fs::create_symlink("file", path("x/link"));
    EXPECT_FALSE(file_remove(view(path("x/link"))));
    EXPECT_FALSE(file_remove(view(path("x/y"))));
    EXPECT_FALSE(file_remove(view(path("x/missing"))));
    EXPECT_TRUE(fs::is_symlink(path("x/link")) && fs::is_directory(path("x/y")));
    EXPECT_TRUE(file_remove(view(path("x/file"))));
    EXPECT_FALSE(fs::exists(path("x/file")));
}

}  // namespace
