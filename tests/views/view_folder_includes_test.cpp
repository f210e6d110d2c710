// The view folders include each other one way only: a surface builds on the
// shared rooms (design/, access/, file_dialogs/, controls/) and on the surfaces it opens, never on
// a surface that opens it. A cycle between folders means a shared piece sits in one surface's
// folder; this test names the files that close it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// For each folder, the folders it includes, each with one include that shows
// the arrow ("from/file.cpp -> to/file.hpp").
using FolderGraph = std::map<std::string, std::map<std::string, std::string>>;

FolderGraph readFolderGraph(const fs::path& viewsRoot) {
    static const std::regex include(R"re(^\s*#\s*include\s*"views/([a-z_0-9]+)/([^"]+)")re");
    FolderGraph graph;
    for (const auto& folder : fs::directory_iterator(viewsRoot)) {
        if (!folder.is_directory())
            continue;
        const std::string from = folder.path().filename().string();
        graph[from];
        for (const auto& file : fs::directory_iterator(folder.path())) {
            const auto extension = file.path().extension();
            if (extension != ".cpp" && extension != ".hpp")
                continue;
            std::ifstream in(file.path());
            std::string line;
            std::smatch match;
            while (std::getline(in, line)) {
                if (!std::regex_search(line, match, include) || match[1] == from)
                    continue;
                graph[from].try_emplace(match[1], from + "/" + file.path().filename().string() +
                                                      " -> " + match[1].str() + "/" +
                                                      match[2].str());
            }
        }
    }
    return graph;
}

// The first cycle found, as its chain of includes; nothing when the folders
// form a one-way graph.
std::optional<std::vector<std::string>> findCycle(const FolderGraph& graph) {
    std::map<std::string, int> state;  // 0 unseen, 1 on the path, 2 done
    std::vector<std::string> path;
    std::vector<std::string> examples;
    std::optional<std::vector<std::string>> cycle;
    std::function<void(const std::string&)> visit = [&](const std::string& folder) {
        state[folder] = 1;
        path.push_back(folder);
        const auto edges = graph.find(folder);
        if (edges != graph.end()) {
            for (const auto& [to, example] : edges->second) {
                if (cycle)
                    break;
                examples.push_back(example);
                if (state[to] == 1) {
                    const auto start = std::find(path.begin(), path.end(), to) - path.begin();
                    cycle = std::vector<std::string>(examples.begin() + start, examples.end());
                } else if (state[to] == 0) {
                    visit(to);
                }
                examples.pop_back();
            }
        }
        path.pop_back();
        state[folder] = 2;
    };
    for (const auto& [folder, edges] : graph)
        if (!cycle && state[folder] == 0)
            visit(folder);
    return cycle;
}

std::string describe(const std::vector<std::string>& chain) {
    std::string text;
    for (const auto& step : chain)
        text += "\n  " + step;
    return text;
}

TEST(ViewFolderIncludes, RunOneWayBetweenFolders) {
    const FolderGraph graph = readFolderGraph(fs::path(QUORVANE_SOURCE_DIR) / "src" / "views");
    // The rooms this test is about are all there (a moved source tree would
    // otherwise pass by reading nothing).
    for (const char* folder : {"design", "access", "file_dialogs", "controls", "main_window",
                               "detail_form", "panel", "settings", "import_sheet"})
        ASSERT_TRUE(graph.contains(folder)) << folder;
    const auto cycle = findCycle(graph);
    EXPECT_FALSE(cycle.has_value()) << "view folders include each other:" << describe(*cycle);
}

TEST(ViewFolderIncludes, SharedRoomsIncludeNoSurface) {
    const FolderGraph graph = readFolderGraph(fs::path(QUORVANE_SOURCE_DIR) / "src" / "views");
    const std::set<std::string> shared{"design", "access", "file_dialogs", "controls"};
    for (const auto& room : shared)
        for (const auto& [to, example] : graph.at(room))
            EXPECT_TRUE(shared.contains(to)) << "a shared room includes a surface: " << example;
}

TEST(ViewFolderIncludes, FindsACycleWhenTwoFoldersIncludeEachOther) {
    const FolderGraph graph{
        {"design", {}},
        {"main_window",
         {{"detail_form", "main_window/a.cpp -> detail_form/b.hpp"},
          {"design", "main_window/a.cpp -> design/c.hpp"}}},
        {"detail_form", {{"main_window", "detail_form/b.cpp -> main_window/d.hpp"}}},
    };
    const auto cycle = findCycle(graph);
    ASSERT_TRUE(cycle.has_value());
    EXPECT_EQ(cycle->size(), 2u);
    EXPECT_FALSE(findCycle({{"a", {{"b", "x"}}}, {"b", {{"c", "y"}}}, {"c", {}}}).has_value());
}

}  // namespace
}  // namespace quorvane
