// Command line, settings and the statistics overlay text.
#include <gtest/gtest.h>

#include <vector>

#include <string>

#include "app/shell_state.h"
#include "core/core_state.h"
#include "render/theme.h"
#include "test_support.h"

namespace {

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensure_arenas();
        pool_reset(pool_frame);
        shell_set_defaults();
        theme_set_defaults();
        core.frame_time = 1.0f / 60.0f;
    }
};

TEST_F(ShellTest, CommandLineOptionsAndPaths) {
    StringView args[] = {SV("-v"), SV("-x"), SV("-m"), SV("first.project"), SV("-c"), SV("src/"), SV("--version")};
    parse_command_line(args, 7);
    EXPECT_TRUE(shell.display_paced);
    EXPECT_TRUE(shell.show_memory);
    EXPECT_TRUE(shell.keep_system_cursor);
    EXPECT_FALSE(shell.show_timings);
    EXPECT_TRUE(shell.print_version);
    EXPECT_FALSE(shell.print_help);
    // Every path in order; an unknown option is taken as a path.
    ASSERT_EQ(shell.path_count, 3);
    EXPECT_TRUE(sv_equal(shell.paths[0], SV("-x")));
    EXPECT_TRUE(sv_equal(shell.paths[2], SV("src/")));
    std::vector<StringView> many(100, SV("a.c"));
    parse_command_line(many.data(), (i64)many.size());
    EXPECT_EQ(shell.path_count, 64) << "the rest are left out, never written past the list";
}

TEST_F(ShellTest, SettingsValuesAndQuirks) {
    settings_parse(SV("workspace /home/me/code dir\nsleep 8\ncoloring colors.txt\nunknown 5\n"));
    EXPECT_TRUE(sv_equal(owned_view(shell.workspace_path), SV("/home/me/code dir")));
    EXPECT_TRUE(sv_equal(owned_view(shell.coloring_path), SV("colors.txt")));
    EXPECT_EQ(shell.sleep_ms, 8);

    settings_parse(SV("sleep abc\n"));
    EXPECT_EQ(shell.sleep_ms, 0);
    settings_parse(SV("sleep -3"));
    EXPECT_EQ(shell.sleep_ms, -3);
    // No final newline: the last value runs to the end of the file.
    settings_parse(SV("coloring last.txt"));
    EXPECT_TRUE(sv_equal(owned_view(shell.coloring_path), SV("last.txt")));
    // A carriage return stays part of the value; the last occurrence wins.
    settings_parse(SV("coloring a.txt\r\ncoloring b.txt\n"));
    EXPECT_TRUE(sv_equal(owned_view(shell.coloring_path), SV("b.txt")));
    // A line without a space runs on into the next line's key.
    shell.sleep_ms = 12;
    settings_parse(SV("sleepy\nsleep 5\n"));
    EXPECT_EQ(shell.sleep_ms, 12) << "the merged key \"sleepy\\nsleep\" matches nothing, so 5 is lost";
}

TEST_F(ShellTest, SettingsKeyAtEndOfFileWithoutValue) {
    settings_parse(SV("workspace"));
    EXPECT_EQ(shell.workspace_path.length, 0);
    settings_parse(SV("sleep"));
    EXPECT_EQ(shell.sleep_ms, 0);
}

std::string overlay_text() {
    char buffer[1024];
    i64 n = overlay_build(buffer);
    return std::string(buffer, (size_t)n);
}

TEST_F(ShellTest, OverlayTimingLines) {
    shell.show_timings = true;
    shell.render_time = 0.0025;
    shell.sleep_ms = 0;
    core.glyph_count = 321;
    std::string text = overlay_text();
    EXPECT_EQ(text, "2.5 ms rendering\n0 ms sleeping\n16.6667 ms total\n321 glyphs\n");
}

TEST_F(ShellTest, OverlayMemoryLines) {
    shell.show_memory = true;
    std::string text = overlay_text();
    EXPECT_EQ(text.rfind("memory:\n  main: ", 0), 0u);
    for (const char* label : {"  tmp: ", "  project view: ", "  source cache: ", "  parser: ", "  parser output: "})
        EXPECT_NE(text.find(label), std::string::npos) << label;
    EXPECT_NE(text.find("/1073741824  "), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
}

}  // namespace
