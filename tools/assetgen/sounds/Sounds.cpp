#include "../Assets.h"

namespace assetgen {
bool generateSounds(const std::filesystem::path&) { return true; }
}  // namespace assetgen
