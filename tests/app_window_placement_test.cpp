// The window's size and place, kept per user between runs, and the "scale" setting.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/shell_state.h"
#include "app/window_placement.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {
class WindowPlacement : public ::testing::Test {
protected:
    void SetUp() override {
        ensure_arenas();
        headless_reset();
        char pattern[] = "/tmp/tesmora_placement_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        const char* old = getenv("XDG_STATE_HOME");
        had_state = old != nullptr;
        if (old) old_state = old;
        setenv("XDG_STATE_HOME", dir.c_str(), 1);
        ASSERT_TRUE(display_open(1024, 768, SV("tesmora"), 0, 1));
    }
    void TearDown() override {
        display_close();
        if (had_state) setenv("XDG_STATE_HOME", old_state.c_str(), 1);
        else unsetenv("XDG_STATE_HOME");
        std::filesystem::remove_all(dir);
    }
    std::string record() { return read_file(dir + "/tesmora/window"); }
    void write_record(const std::string& text) {
        std::filesystem::create_directories(dir + "/tesmora");
        std::ofstream(dir + "/tesmora/window") << text;
    }
    std::string dir, old_state;
    bool had_state = false;
};
}  // namespace

TEST_F(WindowPlacement, TheNextStartOpensWhereTheWindowWasLeft) {
    window_placement_restore();  // no record yet: as opened
    EXPECT_EQ(headless_window_state()->x, 0);
    display_set_placement(30, 40, 900, 700);
    input_poll();
    window_placement_save();
    EXPECT_EQ(record(), "30 40 900 700\n");
    // The next run: opened at the default size, then put back.
    display_close();
    ASSERT_TRUE(display_open(1024, 768, SV("tesmora"), 0, 1));
    window_placement_restore();
    input_poll();
    i32 width = 0, height = 0;
    ASSERT_TRUE(display_is_resized(&width, &height));
    EXPECT_EQ(width, 900);
    EXPECT_EQ(height, 700);
    EXPECT_EQ(headless_window_state()->x, 30);
    EXPECT_EQ(headless_window_state()->y, 40);
    // A damaged or absurd record is left alone.
    for (const char* bad : {"12 13 50 50\n", "1 2 three\n", "5 6 99999 700\n"}) {
        write_record(bad);
        display_set_placement(0, 0, 1024, 768);
        window_placement_restore();
        EXPECT_EQ(headless_window_state()->x, 0) << bad;
    }
}

TEST(ScaleSetting, ReadFromTheSettingsZeroMeaningTheDisplaysOwn) {
    ensure_arenas();
    shell_set_defaults();
    EXPECT_EQ(shell.scale, 0);
    settings_parse(SV("scale 1.5\nsleep 3\n"));
    EXPECT_EQ(shell.scale, 1.5f);
    EXPECT_EQ(shell.sleep_ms, 3);
}
