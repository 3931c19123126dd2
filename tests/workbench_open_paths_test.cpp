// The command line's paths: a folder becomes a project of its files, source files open in
// a project without a file with their neighbours as sources, bad paths are said one by one.
#include <algorithm>

#include "workbench_frame_fixture.h"
#include "analysis/analysis_state.h"
#include "core/core_state.h"
#include "editor/editor_state.h"
#include "workbench/workbench.h"
#include "workbench/workbench_state.h"

namespace {

using WorkbenchOpenPaths = WorkbenchFrame;

std::vector<std::string> tree_names() {
    std::vector<std::string> out;
    for (const TreeNode& n : workbench.file_tree.rows)
        out.push_back((n.is_group_start ? "+" : n.is_group_end ? "-" : "") + str_of(n.name));
    return out;
}

std::vector<std::string> source_names() {
    std::vector<std::string> out;
    for (StringView p : analysis.source_cache.source_paths) {
        std::string s = str_of(p);
        out.push_back(s.substr(s.rfind('/') + 1));
    }
    return out;
}

TEST_F(WorkbenchOpenPaths, AFolderBecomesAProjectOfItsFiles) {
    std::filesystem::create_directories(dir + "/code/sub/deeper");
    std::filesystem::create_directories(dir + "/code/.git");
    std::filesystem::create_directories(dir + "/code/build-release");
    std::filesystem::create_directories(dir + "/code/empty");
    write_file("code/main.c", "int main() { return 0; }\n");
    write_file("code/notes.txt", "notes\n");
    write_file("code/sub/util.h", "int util();\n");
    write_file("code/sub/deeper/blur.frag", "void main() {}\n");
    write_file("code/.git/config", "x\n");
    write_file("code/build-release/gen.c", "int gen;\n");
    std::string folder = dir + "/code";
    StringView paths[] = {sv_of(folder)};
    workbench_open_paths(paths, 1);
    frame();
    std::vector<std::string> names = tree_names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"+deeper", "+sub", "-deeper", "-sub", "blur.frag", "main.c",
                                               "notes.txt", "util.h"}));
    std::vector<std::string> sources = source_names();
    std::sort(sources.begin(), sources.end());
    EXPECT_EQ(sources, (std::vector<std::string>{"blur.frag", "main.c", "util.h"}));
    EXPECT_EQ(core.project_path.length, 0);
    EXPECT_EQ(str_of(owned_view(workbench.unnamed_project_name)), folder + "/code.project");
    EXPECT_TRUE(shown_messages().empty());
}

TEST_F(WorkbenchOpenPaths, FilesOpenInTabsAndBadPathsAreSaidOneByOne) {
    write_file("a.c", "int a;\n");
    write_file("b.c", "int b;\n");
    write_file("beside.h", "int c;\n");
    write_file("other.glsl", "void main() {}\n");
    std::string a = dir + "/a.c", missing = dir + "/nowhere/x.c", b = dir + "/b.c", fresh = dir + "/new.c";
    StringView paths[] = {sv_of(a), sv_of(missing), sv_of(b), sv_of(fresh)};
    workbench_open_paths(paths, 4);
    frame();
    ASSERT_EQ(editor.tab_paths.count, 3);
    EXPECT_EQ(workbench.project.tab_entries.count, 3);
    std::vector<std::string> messages = shown_messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("no such file or folder: " + missing), std::string::npos);
    // The C and C++ files beside them are the sources (new.c once it is saved); the shader
    // is another language.
    std::vector<std::string> sources = source_names();
    std::sort(sources.begin(), sources.end());
    EXPECT_EQ(sources, (std::vector<std::string>{"a.c", "b.c", "beside.h"}));

    // A project file among them is the project; a second one is refused with a message.
    write_file("p.project", "files 1\n2 a.c\nnodes 1\n2 0 a.c\n");
    write_file("q.project", "files 0\nnodes 0\n");
    std::string p = dir + "/p.project", q = dir + "/q.project";
    StringView projects[] = {sv_of(p), sv_of(q)};
    workbench_open_paths(projects, 2);
    EXPECT_EQ(str_of(owned_view(core.project_path)), p);
    EXPECT_EQ(editor.tab_paths.count, 1);
    EXPECT_NE(shown_messages().back().find("one project at a time"), std::string::npos);
}

}  // namespace
