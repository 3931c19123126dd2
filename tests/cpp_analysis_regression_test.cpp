// Real headers kept under tests/data/cpp_regression (with their licences) must analyse to
// the end with a plausible outline: a fault in recovery shows up as a short outline.
#include <cstdio>

#include "cpp_analysis_harness.h"

using namespace cpp_test;

namespace {
std::string read_data(const char* name) {
    std::string path = std::string(TESMORA_SOURCE_DIR) + "/tests/data/cpp_regression/" + name;
    std::string text;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return text;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    fclose(f);
    return text;
}

int rows_with_icon(const CppRun& run, const char* icon) {
    int n = 0;
    for (const std::string& row : outline(run))
        if (row.find(std::string(" ") + icon + " ") != std::string::npos) n++;
    return n;
}

bool has_row(const CppRun& run, const std::string& row) {
    for (const std::string& r : outline(run))
        if (r == row) return true;
    return false;
}

struct Case {
    const char* file;
    const char* as;  // the document path: its ending picks C or C++
    int min_procedures;
    int min_rows;
    const char* expected_row;
};
}  // namespace

TEST(CppRegression, RealHeadersGiveTheirOutlines) {
    const Case cases[] = {
        {"stb_rect_pack.h", "stb_rect_pack.c", 13, 40, "0 cylinder stbrp_pack_rects"},
        {"stb_perlin.h", "stb_perlin.c", 14, 16, "0 cylinder stb_perlin_noise3_internal"},
        {"glibc_string.h", "string.h", 80, 85, "0 cylinder strtok_r"},
        {"stl_pair.h", "stl_pair.hpp", 60, 100, "1 cube pair"},
    };
    for (const Case& c : cases) {
        std::string text = read_data(c.file);
        ASSERT_FALSE(text.empty()) << c.file;
        CppRun run = analyse(text, c.as);
        EXPECT_EQ(run.job.colours.count, (i64)text.size()) << c.file;
        EXPECT_GE(rows_with_icon(run, "cylinder"), c.min_procedures) << c.file;
        EXPECT_GE((int)run.job.result->outline.count, c.min_rows) << c.file;
        EXPECT_TRUE(has_row(run, c.expected_row)) << c.file << ": " << c.expected_row;
    }
}

TEST(CppRegression, ConcatenatedHeadersDoNotSwallowEachOther) {
    // Each file ends with its own end token, so an error in one cannot hide the next.
    std::string all;
    for (const char* name : {"stb_perlin.h", "glibc_string.h", "stb_rect_pack.h"}) all += read_data(name);
    CppRun run = analyse(all, "all.c");
    EXPECT_TRUE(has_row(run, "0 cylinder stb_perlin_noise3_internal"));
    EXPECT_TRUE(has_row(run, "0 cylinder strtok_r"));
    EXPECT_TRUE(has_row(run, "0 cylinder stbrp_pack_rects"));
}
