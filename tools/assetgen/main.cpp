// velkaran-assetgen DATA_DIR [images|models|sounds|icons]...
// Writes the generated part of the data tree. With no module names, all of them but
// the icons, which belong to the desktop rather than the data tree.
#include <cstdio>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "Assets.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: velkaran-assetgen DATA_DIR [images|models|sounds|icons]...\n");
        return 2;
    }
    const std::filesystem::path dataDir = argv[1];
    std::vector<std::string> modules;
    for (int i = 2; i < argc; ++i) modules.emplace_back(argv[i]);
    if (modules.empty()) modules = {"images", "models", "sounds"};

    // The modules write disjoint files and share no state, so they run side by side.
    std::vector<std::future<bool>> jobs;
    for (const std::string& m : modules) {
        if (m == "images") jobs.push_back(std::async(std::launch::async, assetgen::generateImages, dataDir));
        else if (m == "models") jobs.push_back(std::async(std::launch::async, assetgen::generateModels, dataDir));
        else if (m == "sounds") jobs.push_back(std::async(std::launch::async, assetgen::generateSounds, dataDir));
        else if (m == "icons") jobs.push_back(std::async(std::launch::async, assetgen::generateIcons, dataDir));
        else {
            std::fprintf(stderr, "unknown module: %s\n", m.c_str());
            return 2;
        }
    }
    bool ok = true;
    for (auto& job : jobs) ok = job.get() && ok;
    return ok ? 0 : 1;
}
