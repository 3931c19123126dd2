// Going to declarations and listing uses, asked through tesmora-analyze as a script
// would: the same answers the editor's F2 and Shift+F2 give.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "test_support.h"

namespace {
namespace fs = std::filesystem;

struct Project {
    std::string dir;
    std::string project;  // "--project FILE " or empty
};

// Writes the files into a fresh folder; with `listed`, a project whose sources are them.
Project write_project(const std::string& name, const std::vector<std::pair<std::string, std::string>>& files,
                      bool listed) {
    Project p;
    p.dir = std::string(TESMORA_BINARY_DIR) + "/test-state/navigation/" + name + "/";
    fs::remove_all(p.dir);
    fs::create_directories(p.dir);
    std::string list;
    for (const auto& [file, text] : files) {
        std::ofstream(p.dir + file) << text;
        list += file + "\n";
    }
    if (listed) {
        std::ofstream(p.dir + "sources.txt") << list;
        std::ofstream(p.dir + name + ".project") << "sources sources.txt\n";
        p.project = "--project '" + p.dir + name + ".project' ";
    }
    return p;
}

// "definition FILE LINE COLUMN" (the file without its folder), or what was printed.
std::string ask(const Project& p, const std::string& question, const std::string& place) {
    std::string binary = TESMORA_BINARY_DIR "/tesmora-analyze";
    int status = 0;
    std::string out = run_analyze(binary, p.project + "--" + question + " '" + p.dir + place + "'", &status);
    std::string shown;
    for (size_t at = 0; at < out.size();) {
        size_t end = out.find('\n', at);
        std::string line = out.substr(at, end - at);
        size_t folder = line.find(p.dir);
        if (folder != std::string::npos) line.erase(folder, p.dir.size());
        shown += (shown.empty() ? "" : "|") + line;
        at = end == std::string::npos ? out.size() : end + 1;
    }
    return shown;
}

bool analyze_built() { return std::ifstream(TESMORA_BINARY_DIR "/tesmora-analyze").good(); }

TEST(AnalyzeNavigation, CLocalsShadowGlobalsAndPrototypesLeadToDefinitions) {
    if (!analyze_built()) GTEST_SKIP() << "tesmora-analyze is not built";
    Project p = write_project("c", {{"a.c",
                                     "int count;\n"                       // 1
                                     "int step(int by);\n"                // 2
                                     "struct node { struct node *next; int value; };\n"
                                     "#if defined(BIG)\n"                 // 4
                                     "int limit = 100;\n"                 // 5
                                     "#else\n"
                                     "int limit = 10;\n"                  // 7
                                     "#endif\n"
                                     "int step(int by) {\n"               // 9
                                     "    int count = by;\n"              // 10
                                     "    return count + limit;\n"        // 11
                                     "}\n"
                                     "int main(void) {\n"                 // 13
                                     "    struct node n;\n"               // 14
                                     "    count = step(n.next->next->value);\n"  // 15
                                     "    return count;\n"                // 16
                                     "}\n"}},
                              false);
    EXPECT_EQ(ask(p, "definition", "a.c:11:13"), "definition a.c 10 9");  // the local, not the global
    EXPECT_EQ(ask(p, "definition", "a.c:15:5"), "definition a.c 1 5");
    // A call goes to the first declaration; F2 again on it goes on to the definition.
    EXPECT_EQ(ask(p, "definition", "a.c:15:13"), "definition a.c 2 5");
    EXPECT_EQ(ask(p, "definition", "a.c:2:5"), "definition a.c 9 5");
    EXPECT_EQ(ask(p, "definition", "a.c:15:35"), "definition a.c 3 38");  // through "." and "->"
    EXPECT_EQ(ask(p, "definition", "a.c:11:22"), "definition a.c 5 5");   // inside an #if branch
    EXPECT_EQ(ask(p, "uses", "a.c:1:5"), "use a.c 1 5|use a.c 15 5|use a.c 16 12");
    EXPECT_EQ(ask(p, "definition", "a.c:13:1"), "no declaration known");
}

TEST(AnalyzeNavigation, CppMembersOverloadsAndNamespaces) {
    if (!analyze_built()) GTEST_SKIP() << "tesmora-analyze is not built";
    Project p = write_project("cpp", {{"b.cpp",
                                       "namespace geo {\n"                                   // 1
                                       "struct Vec { float x, y; float length() const; };\n"  // 2
                                       "struct Body { Vec* position; Body* next; };\n"       // 3
                                       "float dot(Vec a, Vec b);\n"                          // 4
                                       "float dot(Vec a);\n"                                 // 5
                                       "}\n"
                                       "int main() {\n"                                      // 7
                                       "    geo::Body b;\n"                                  // 8
                                       "    float d = b.next->position->length();\n"         // 9
                                       "    return geo::dot(*b.position) + d;\n"             // 10
                                       "}\n"
                                       "float geo::Vec::length() const { return x; }\n"}},  // 12
                                false);
    EXPECT_EQ(ask(p, "definition", "b.cpp:9:33"), "definition b.cpp 2 32");
    EXPECT_EQ(ask(p, "definition", "b.cpp:9:17"), "definition b.cpp 3 36");
    EXPECT_EQ(ask(p, "definition", "b.cpp:8:5"), "definition b.cpp 1 11");
    // Overloads: the first, then the next one from there.
    EXPECT_EQ(ask(p, "definition", "b.cpp:10:17"), "definition b.cpp 4 7");
    EXPECT_EQ(ask(p, "definition", "b.cpp:4:7"), "definition b.cpp 5 7");
    EXPECT_EQ(ask(p, "uses", "b.cpp:9:17"), "use b.cpp 3 36|use b.cpp 9 17");
    // A member defined outside its class is one function with its declaration.
    EXPECT_EQ(ask(p, "definition", "b.cpp:2:32"), "definition b.cpp 12 17");
    EXPECT_EQ(ask(p, "uses", "b.cpp:12:17"), "use b.cpp 2 32|use b.cpp 9 33|use b.cpp 12 17");
}

TEST(AnalyzeNavigation, VantrelDeclarationsInAnotherFileOfTheProject) {
    if (!analyze_built()) GTEST_SKIP() << "tesmora-analyze is not built";
    Project p = write_project("vnt",
                              {{"shapes.vnt", "struct Shape {\n    real radius;\n}\nproc grow(Shape* s) {\n    s.radius = s.radius * 2;\n}\n"},
                               {"main.vnt", "proc main() {\n    Shape c;\n    c.radius = 1;\n    grow(&c);\n}\n"}},
                              true);
    EXPECT_EQ(ask(p, "definition", "main.vnt:2:5"), "definition shapes.vnt 1 8");
    EXPECT_EQ(ask(p, "definition", "main.vnt:3:8"), "definition shapes.vnt 2 10");
    EXPECT_EQ(ask(p, "definition", "main.vnt:4:5"), "definition shapes.vnt 4 6");
    EXPECT_EQ(ask(p, "uses", "main.vnt:3:7"),
              "use main.vnt 3 7|use shapes.vnt 2 10|use shapes.vnt 5 7|use shapes.vnt 5 18");
}

TEST(AnalyzeNavigation, GlslStructMembersLocalsAndBuiltins) {
    if (!analyze_built()) GTEST_SKIP() << "tesmora-analyze is not built";
    Project p = write_project("glsl", {{"s.frag",
                                        "struct Light { vec3 colour; float power; };\n"  // 1
                                        "uniform Light light;\n"                         // 2
                                        "out vec4 result;\n"                             // 3
                                        "void main() {\n"                                // 4
                                        "    float k = light.power;\n"                   // 5
                                        "    result = vec4(light.colour * k, 1.0);\n"    // 6
                                        "}\n"}},
                                 false);
    EXPECT_EQ(ask(p, "definition", "s.frag:6:26"), "definition s.frag 1 21");
    EXPECT_EQ(ask(p, "definition", "s.frag:6:34"), "definition s.frag 5 11");
    EXPECT_EQ(ask(p, "definition", "s.frag:6:5"), "definition s.frag 3 10");
    EXPECT_EQ(ask(p, "definition", "s.frag:6:14"), "no declaration known");  // a built-in
    EXPECT_EQ(ask(p, "uses", "s.frag:2:15"), "use s.frag 2 15|use s.frag 5 15|use s.frag 6 19");
}
}  // namespace
