// The model half of the asset generator: builds every model of the catalogue,
// writes it as Collada and writes the textures its materials name beside it.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>

#include "../Assets.h"
#include "Catalog.h"
#include "Export.h"
#include "Materials.h"

namespace assetgen {
namespace models {

const std::vector<ModelDef>& catalog() {
    static const std::vector<ModelDef> all = [] {
        std::vector<ModelDef> v;
        addEnemies(v);
        addWeapons(v);
        addItems(v);
        addHazards(v);
        addScenery(v);
        addForceFields(v);
        return v;
    }();
    return all;
}

namespace {
bool writeFile(const std::filesystem::path& file, const void* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        std::fprintf(stderr, "models: cannot write %s\n", file.string().c_str());
        return false;
    }
    return true;
}
}  // namespace

}  // namespace models

bool generateModels(const std::filesystem::path& dataDir) {
    using namespace models;
    const auto start = std::chrono::steady_clock::now();
    const std::filesystem::path root = dataDir / "Models3D";
    std::map<std::string, std::vector<unsigned char>> encoded;
    std::set<std::filesystem::path> written;
    bool ok = true;
    for (const ModelDef& def : catalog()) {
        const Model model = def.build();
        const std::filesystem::path file = root / def.path;
        std::error_code ec;
        std::filesystem::create_directories(file.parent_path(), ec);
        bool valid = !model.surfaces.empty();
        for (const Surface& s : model.surfaces) valid = valid && knownMaterial(s.material) && !s.idx.empty();
        const std::string text = valid ? toCollada(model) : std::string();
        if (text.empty()) {
            std::fprintf(stderr, "models: cannot build %s\n", def.path.c_str());
            ok = false;
            continue;
        }
        ok = writeFile(file, text.data(), text.size()) && ok;
        for (const Surface& s : model.surfaces) {
            const std::filesystem::path tex = file.parent_path() / (s.material + ".png");
            if (!written.insert(tex).second) continue;
            auto it = encoded.find(s.material);
            if (it == encoded.end()) it = encoded.emplace(s.material, materialImage(s.material).encodePng()).first;
            ok = writeFile(tex, it->second.data(), it->second.size()) && ok;
        }
    }
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("models: %zu models, %zu textures in %.2f s\n", catalog().size(), written.size(), secs);
    return ok;
}

}  // namespace assetgen
