// tesmora-analyze on the vantrel sample project must print exactly the reviewed
// colouring and outline kept beside it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// First line that differs, for a readable failure.
std::string first_difference(const std::string& a, const std::string& b) {
    std::istringstream x(a), y(b);
    std::string l, m;
    for (int line = 1;; line++) {
        bool more_x = (bool)std::getline(x, l);
        bool more_y = (bool)std::getline(y, m);
        if (!more_x && !more_y) return "";
        if (!more_x || !more_y || l != m)
            return "line " + std::to_string(line) + ": expected \"" + (more_x ? l : "<end>") + "\", got \"" +
                   (more_y ? m : "<end>") + "\"";
    }
}

TEST(AnalyzeExpected, VantrelSampleProject) {
    std::string binary = TESMORA_BINARY_DIR "/tesmora-analyze";
    if (!std::ifstream(binary).good()) GTEST_SKIP() << "tesmora-analyze is not built";
    std::string dir = "examples/vantrel_sample/";
    std::string command = "cd '" TESMORA_SOURCE_DIR "' && '" + binary + "' --project " + dir +
                          "vantrel_sample.project " + dir + "containers.vnt " + dir + "geometry.vnt " + dir +
                          "main.vnt " + dir + "shapes.vnt";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    int status = pclose(pipe);
    EXPECT_EQ(status, 0);
    std::string expected = read_file(TESMORA_SOURCE_DIR "/" + dir + "expected.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(output == expected) << first_difference(expected, output);
}

}  // namespace
