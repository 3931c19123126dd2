// The source cache: rebuilding from the sources list, storing the edited document, and
// what the analysis thread gets back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "syntax/file_kind.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "platform/headless/headless.h"
#include "test_support.h"

namespace {

class SourceCacheTest : public ::testing::Test {
  protected:
    std::string dir;
    void SetUp() override {
        ensure_analysis_locks();
        headless_reset();
        source_cache_clear();
        char pattern[] = "/tmp/tesmora-cache-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        std::string project = dir + "/p.project";
        string_assign(&core.project_path, StringView{project.data(), (i64)project.size()}, pool_main);
    }
    void TearDown() override {
        source_cache_clear();
        core.project_path.length = 0;
        std::string cmd = "rm -rf '" + dir + "'";
        ASSERT_EQ(system(cmd.c_str()), 0);
    }
    void write(const std::string& name, const std::string& content) {
        FILE* f = fopen((dir + "/" + name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(content.data(), 1, content.size(), f);
        fclose(f);
    }
    static std::string str(StringView s) { return std::string(s.data ? s.data : "", (size_t)s.length); }
    std::string looked_up(const char* path) {
        mutex_lock(analysis.source_lock);
        std::string text = str(source_cache_lookup(sv_from_cstr(path)));
        mutex_unlock(analysis.source_lock);
        return text;
    }
};

TEST_F(SourceCacheTest, RebuildReadsListedFilesAndReportsMissingOnes) {
    write("a.vnt", "proc a() { }\n");
    write("b.c", "int b;\n");
    // An empty line inside the list names no file: one failed open with both messages.
    write("sources.txt", "a.vnt\n\nb.c\nmissing.vnt\n");
    testing::internal::CaptureStdout();
    source_cache_rebuild(SV("sources.txt"));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(analysis.source_cache.source_paths.count, 4);
    EXPECT_EQ(analysis.source_cache.source_entries.count, 2);
    EXPECT_EQ(looked_up("a.vnt"), "proc a() { }\n");
    EXPECT_EQ(looked_up("b.c"), "int b;\n");
    size_t first = out.find("failed to open file as source cache\n");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(out.find("failed to open file as source cache\n", first + 1), std::string::npos);
    ASSERT_EQ(headless_message_box_count(), 2);
    EXPECT_STREQ(headless_message_box(0)->title, "error");
    EXPECT_EQ(std::string(headless_message_box(0)->text), "failed to open file: " + dir + "/");
    EXPECT_EQ(std::string(headless_message_box(1)->text), "failed to open file: " + dir + "/missing.vnt");
}

TEST_F(SourceCacheTest, MissingListKeepsTheCacheAndLongListIsCut) {
    write("a.vnt", "x\n");
    write("sources.txt", "a.vnt\n");
    source_cache_rebuild(SV("sources.txt"));
    source_cache_rebuild(SV("nowhere.txt"));
    EXPECT_EQ(looked_up("a.vnt"), "x\n");
    EXPECT_EQ(headless_message_box_count(), 0);
    // A list longer than 262,144 bytes: a message, and only the first bytes count.
    std::string list = "a.vnt\n";
    while (list.size() <= 262144) list += "a.vnt\n";
    write("long.txt", list);
    testing::internal::CaptureStdout();
    source_cache_rebuild(SV("long.txt"));
    testing::internal::GetCapturedStdout();
    ASSERT_GE(headless_message_box_count(), 1);
    EXPECT_STREQ(headless_message_box(0)->title, "Error");
    EXPECT_STREQ(headless_message_box(0)->text, "Too many source files!");
    EXPECT_EQ(analysis.source_cache.source_paths.count, (262144 + 5) / 6);
}

TEST_F(SourceCacheTest, UpdateUsesTheEntryOrTheSharedBuffer) {
    write("listed.vnt", "old\n");
    write("sources.txt", "listed.vnt\n");
    source_cache_rebuild(SV("sources.txt"));
    StringView r = source_cache_update(SV("listed.vnt"), SV("new text\n"));
    EXPECT_EQ(str(r), "new text\n");
    EXPECT_EQ(looked_up("listed.vnt"), "new text\n");
    EXPECT_NE(r.data, analysis.source_cache.shared_text_buffer);

    StringView s = source_cache_update(SV("other.vnt"), SV("small\n"));
    EXPECT_EQ(s.data, analysis.source_cache.shared_text_buffer);
    EXPECT_EQ(looked_up("other.vnt"), "small\n");
    EXPECT_EQ(looked_up("unknown.vnt"), "");

    // 1 MiB or more and not listed: analysed as empty, and no stale shared copy remains.
    std::string big(shared_text_capacity, 'x');
    StringView b = source_cache_update(SV("other.vnt"), StringView{big.data(), (i64)big.size()});
    EXPECT_EQ(b.length, 0);
    EXPECT_EQ(looked_up("other.vnt"), "");
}

TEST_F(SourceCacheTest, LargeSourceFileBypassesTheFrameArena) {
    std::string big(10 << 20, 'a');
    write("big.c", big);
    write("sources.txt", "big.c\n");
    pool_reset(pool_frame);
    source_cache_rebuild(SV("sources.txt"));
    EXPECT_LT(memory.arenas[pool_frame].used, 64 * 1024);
    EXPECT_EQ(looked_up("big.c").size(), big.size());

    // Open in the editor, the file is read from the document and the cached copy is
    // dropped; closed, the entry holds the document's last text.
    std::string edited(big.size() - 1, 'b');
    TextStore doc{(u8*)edited.data(), (u8*)edited.data(), (i64)edited.size(), (i64)edited.size(), (i64)edited.size(), 7,
                  pool_main};
    source_cache_share(SV("big.c"), &doc);
    EXPECT_EQ(looked_up("big.c").size(), 0u);
    u64 changes = 0;
    pool_reset(pool_parser);
    EXPECT_EQ(str(source_cache_copy(SV("big.c"), pool_parser, &changes)), edited);
    EXPECT_EQ(changes, 7u);
    source_cache_unshare(&doc);
    EXPECT_EQ(looked_up("big.c"), edited);
}

// A nearly full source pool leaves files out or keeps the document's text elsewhere; it
// never asks the arena for more than it has (that would end the program).
TEST_F(SourceCacheTest, FullPoolLeavesFilesOutInsteadOfEndingTheProgram) {
    struct Shrink {
        i64 kept = memory.arenas[pool_sources].capacity;
        ~Shrink() { memory.arenas[pool_sources].capacity = kept; }
    } shrink;
    // A file whose doubled buffer takes the whole pool, then an empty file and a small one.
    memory.arenas[pool_sources].capacity = 1 << 20;
    write("big.txt", std::string(600000, 'b'));
    write("empty.c", "");
    write("small.vnt", "s\n");
    write("sources.txt", "big.txt\nempty.c\nsmall.vnt\n");
    testing::internal::CaptureStdout();
    source_cache_rebuild(SV("sources.txt"));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("source cache full, left out: " + dir + "/empty.c"), std::string::npos) << out;
    EXPECT_NE(out.find("source cache full, left out: " + dir + "/small.vnt"), std::string::npos) << out;
    ASSERT_EQ(analysis.source_cache.source_entries.count, 1);
    EXPECT_EQ(looked_up("big.txt").size(), 600000u);

    // An entry whose doubled buffer would not fit beside the next entry: the document's
    // text goes to the shared buffer instead.
    memory.arenas[pool_sources].capacity = 1024 + 128 + 2000;
    write("a.vnt", std::string(1000, 'a'));
    write("b.vnt", std::string(100, 'b'));
    write("sources.txt", "a.vnt\nb.vnt\n");
    source_cache_rebuild(SV("sources.txt"));
    ASSERT_EQ(analysis.source_cache.source_entries.count, 2);
    std::string edited(1500, 'e');
    StringView stored = source_cache_update(SV("a.vnt"), StringView{edited.data(), (i64)edited.size()});
    EXPECT_EQ(str(stored), edited);
    EXPECT_EQ(looked_up("a.vnt"), edited);
    EXPECT_LE(memory.arenas[pool_sources].used, memory.arenas[pool_sources].capacity);
}

TEST_F(SourceCacheTest, CopiesForAPassFilterAndSkipTheDocument) {
    write("main.cpp", "int main();\n");
    write("util.h", "int util();\n");
    write("notes.txt", "text\n");
    write("shader.glsl", "void main() {}\n");
    write("sources.txt", "main.cpp\nnotes.txt\nutil.h\nshader.glsl\n");
    source_cache_rebuild(SV("sources.txt"));
    const u8 kinds[] = {file_kind_c, file_kind_cpp};
    pool_reset(pool_parser);
    Array<SourceFile> files = source_cache_copy_of_kinds(kinds, 2, SV("main.cpp"), pool_parser);
    ASSERT_EQ(files.count, 1);
    EXPECT_EQ(str(files[0].path), "util.h");
    EXPECT_EQ(str(files[0].text), "int util();\n");
    // The copy is private: later updates do not change it.
    source_cache_update(SV("util.h"), SV("changed\n"));
    EXPECT_EQ(str(files[0].text), "int util();\n");
}

}  // namespace
