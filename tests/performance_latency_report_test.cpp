// The opt-in latency report: one line after the present of each frame that took input,
// none for frames without input or when the report is off.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/shell_state.h"
#include "editor/editor_state.h"
#include "editor/view.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

std::vector<std::string> latency_lines(const std::string& out) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < out.size()) {
        size_t end = out.find('\n', at);
        if (end == std::string::npos) end = out.size();
        std::string line = out.substr(at, end - at);
        if (line.rfind("latency ", 0) == 0) lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

TEST(LatencyReport, OneLinePerFrameWithInputMeasuredFromTheEvent) {
    ensure_arenas();
    headless_reset();
    // A window record left by an earlier start would come as a resize: input of its own.
    const char* state = getenv("XDG_STATE_HOME");
    if (state) std::remove((std::string(state) + "/tesmora/window").c_str());
    ASSERT_TRUE(application_start(nullptr, 0));
    // Ended however the test ends, so that no analysis thread outlives it.
    struct Ending {
        ~Ending() {
            application_shutdown();
            editor.hooks = EditorHooks{};
            headless_reset();
        }
    } ending;
    shell.reports.latency = true;

    testing::internal::CaptureStdout();
    ASSERT_TRUE(application_frame());  // no input: no line
    u64 before_event = system_performance_counter();
    headless_text(SV("x"));
    ASSERT_TRUE(application_frame());
    u64 after_present = system_performance_counter();
    ASSERT_TRUE(application_frame());  // the tap is over: no line
    headless_mouse_move(40, 50);
    ASSERT_TRUE(application_frame());
    std::string out = testing::internal::GetCapturedStdout();

    std::vector<std::string> lines = latency_lines(out);
    ASSERT_EQ(lines.size(), 2u) << out;
    double ms = -1;
    unsigned long long presented = 0;
    ASSERT_EQ(sscanf(lines[0].c_str(), "latency %lf present_ns %llu", &ms, &presented), 2) << lines[0];
    // The present lies between the event and the end of that frame, and the latency is
    // the distance from the event to it.
    EXPECT_GE(presented, before_event);
    EXPECT_LE(presented, after_present);
    EXPECT_GE(ms, 0.0);
    EXPECT_LE(ms, (double)(after_present - before_event) / 1e6 + 0.001);

    // Off again: input brings no line.
    shell.reports.latency = false;
    testing::internal::CaptureStdout();
    headless_text(SV("y"));
    ASSERT_TRUE(application_frame());
    EXPECT_TRUE(latency_lines(testing::internal::GetCapturedStdout()).empty());
}

}  // namespace
