// The rules compile and run without a window: the GL-free folders include nothing of
// the drawing, sound or window side, the world does not reach up into gameplay, and the
// folders' includes run one way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <regex>
#include <string>
#include <vector>

namespace {

std::vector<std::string> includesOf(const std::filesystem::path& file) {
    static const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
    std::vector<std::string> found;
    std::ifstream in(file);
    std::string line;
    std::smatch m;
    while (std::getline(in, line))
        if (std::regex_search(line, m, include)) found.push_back(m[1]);
    return found;
}

TEST(Layers, TheGlFreeCoreIncludesNoDrawingSoundOrWindowHeader) {
    const std::filesystem::path src = std::filesystem::path(VELKARAN_SOURCE_DIR) / "src";
    const std::regex forbidden(R"(^(GL/|SDL|assimp/|ft2build|freetype|stb_|render/|app/|audio/|effects/))");
    const std::regex gameplay("^gameplay/");
    size_t files = 0;
    for (const char* folder : {"util", "scene", "world", "gameplay"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(src / folder)) {
            if (!entry.is_regular_file()) continue;
            ++files;
            const std::string name = std::filesystem::relative(entry.path(), src).string();
            for (const std::string& header : includesOf(entry.path())) {
                EXPECT_FALSE(std::regex_search(header, forbidden)) << name << " includes " << header;
                if (name.rfind("world/", 0) == 0 || name.rfind("util/", 0) == 0) {
                    EXPECT_FALSE(std::regex_search(header, gameplay)) << name << " includes " << header;
                }
            }
        }
    }
    EXPECT_GT(files, 20u) << "the source folders were found";
}

// The folders of src/ as a house: which folders each one's files include.
std::map<std::string, std::set<std::string>> folderIncludes() {
    const std::filesystem::path src = std::filesystem::path(VELKARAN_SOURCE_DIR) / "src";
    const std::regex project(R"(^([a-z]+)/)");
    std::map<std::string, std::set<std::string>> graph;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const std::string folder = std::filesystem::relative(entry.path(), src).begin()->string();
        graph[folder];
        std::smatch m;
        for (const std::string& header : includesOf(entry.path()))
            if (std::regex_search(header, m, project) && m[1] != folder &&
                std::filesystem::is_directory(src / m[1].str()))
                graph[folder].insert(m[1]);
    }
    return graph;
}

TEST(Layers, NoFolderIncludesAFolderThatIncludesItBack) {
    const auto graph = folderIncludes();
    ASSERT_GT(graph.size(), 5u) << "the source folders were found";
    // Depth-first over the folder graph: a folder met again on the current path closes a cycle.
    std::map<std::string, int> state;  // 1 on the path, 2 done
    std::vector<std::string> path;
    std::function<void(const std::string&)> visit = [&](const std::string& folder) {
        state[folder] = 1;
        path.push_back(folder);
        for (const std::string& next : graph.at(folder)) {
            if (state[next] == 1) {
                std::string cycle;
                for (const std::string& f : path) cycle += f + " -> ";
                ADD_FAILURE() << "include cycle: " << cycle << next;
            } else if (state[next] == 0 && graph.count(next)) {
                visit(next);
            }
        }
        path.pop_back();
        state[folder] = 2;
    };
    for (const auto& [folder, _] : graph)
        if (state[folder] == 0) visit(folder);
}

TEST(Layers, TheRendererAndThePlainRecordsStandBelowTheRules) {
    const auto graph = folderIncludes();
    // The renderer draws plain records (camera, lights, draw window, model handles) and
    // the world's data; it does not know the rules, the game or its devices.
    for (const char* above : {"gameplay", "app", "audio", "effects"})
        EXPECT_FALSE(graph.at("render").count(above)) << "render/ includes " << above << "/";
    // The records include nothing of the project but themselves.
    for (const std::string& folder : graph.at("scene")) ADD_FAILURE() << "scene/ includes " << folder << "/";
}

}  // namespace
