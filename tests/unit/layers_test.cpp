// The rules compile and run without a window: the GL-free folders include nothing of
// the drawing, sound or window side, and the world does not reach up into gameplay.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
    const std::regex forbidden(R"(^(GL/|SDL|assimp/|ft2build|freetype|stb_|render/|ui/|app/|audio/|effects/[^s]))");
    const std::regex gameplay("^gameplay/");
    size_t files = 0;
    for (const char* folder : {"util", "scene", "world", "gameplay", "effects/sim"}) {
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

}  // namespace
