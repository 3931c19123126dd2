// Runs before any test: programs started by tests keep their recovery files in the build
// folder, never among the user's own (a later real start would offer to restore them).
#include <cstdlib>
#include <filesystem>

namespace {
const bool state_home_set = [] {
    std::string dir = std::string(TESMORA_BINARY_DIR) + "/test-state";
    std::filesystem::create_directories(dir);
    return setenv("XDG_STATE_HOME", dir.c_str(), 1) == 0;
}();
}  // namespace
