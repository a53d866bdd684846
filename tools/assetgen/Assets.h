#pragma once
// The asset generator writes the whole data tree the game reads (images, models,
// sounds) from code and a fixed seed, so the repository holds no opaque binaries.
// Each module writes its own files under the given Data/ folder and returns false
// (after printing why) when something could not be written.
#include <filesystem>

namespace assetgen {
bool generateImages(const std::filesystem::path& dataDir);
bool generateModels(const std::filesystem::path& dataDir);
bool generateSounds(const std::filesystem::path& dataDir);
// The application icon in the sizes of the hicolor theme, under outDir/hicolor/.
// Not part of the data tree: only named, never among the default modules.
bool generateIcons(const std::filesystem::path& outDir);
}  // namespace assetgen
