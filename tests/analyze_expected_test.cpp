// tesmora-analyze on the vantrel sample project must print exactly the reviewed
// colouring and outline kept beside it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include "test_support.h"

namespace {


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
    int status = 0;
    std::string output = run_analyze(binary,
                                     "--project " + dir + "vantrel_sample.project " + dir + "containers.vnt " + dir +
                                         "geometry.vnt " + dir + "main.vnt " + dir + "shapes.vnt",
                                     &status);
    EXPECT_EQ(status, 0);
    std::string expected = read_file(TESMORA_SOURCE_DIR "/" + dir + "expected.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(output == expected) << first_difference(expected, output);
}

// The GLSL samples analysed inside their project: each shader sees its own declarations
// and the built-ins only, never the other shaders of the sources list.
TEST(AnalyzeExpected, GlslSampleProject) {
    std::string binary = TESMORA_BINARY_DIR "/tesmora-analyze";
    if (!std::ifstream(binary).good()) GTEST_SKIP() << "tesmora-analyze is not built";
    std::string dir = "examples/glsl_sample/";
    int status = 0;
    std::string output = run_analyze(binary,
                                     "--project " + dir + "glsl_sample.project " + dir + "blur_fragment.glsl " + dir +
                                         "lighting_fragment.glsl " + dir + "particles.glsl " + dir +
                                         "transform_vertex.glsl",
                                     &status);
    EXPECT_EQ(status, 0);
    std::string expected = read_file(TESMORA_SOURCE_DIR "/" + dir + "expected.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(output == expected) << first_difference(expected, output);
}

}  // namespace

namespace {

// --lexical: the recolouring lexers over whole files of every language, spans checked
// by hand against the files' bytes.
TEST(AnalyzeExpected, LexicalSpansOfEveryLanguage) {
    std::string binary = TESMORA_BINARY_DIR "/tesmora-analyze";
    if (!std::ifstream(binary).good()) GTEST_SKIP() << "tesmora-analyze is not built";
    std::string dir = "examples/lexical/";
    int status = 0;
    std::string output = run_analyze(binary,
                                     "--lexical " + dir + "sample.vnt " + dir + "sample.c " + dir + "sample.cpp " +
                                         dir + "sample.glsl " + dir + "sample.txt",
                                     &status);
    EXPECT_EQ(status, 0);
    std::string expected = read_file(TESMORA_SOURCE_DIR "/" + dir + "expected.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(output == expected) << first_difference(expected, output);
}

// An unreadable file is reported on standard error and makes the status 1; the other
// files are still analysed.
TEST(AnalyzeExpected, UnreadableFileGivesStatusOne) {
    std::string binary = TESMORA_BINARY_DIR "/tesmora-analyze";
    if (!std::ifstream(binary).good()) GTEST_SKIP() << "tesmora-analyze is not built";
    int status = 0;
    std::string output = run_analyze(binary, "--lexical no/such.vnt examples/lexical/sample.txt 2>&1", &status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(output.find("failed to open file: no/such.vnt\n"), std::string::npos);
    EXPECT_NE(output.find("file examples/lexical/sample.txt\nspan 0 3 rainbow1\n"), std::string::npos);
}

}  // namespace
