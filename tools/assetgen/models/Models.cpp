#include "../Assets.h"

namespace assetgen {
bool generateModels(const std::filesystem::path&) { return true; }
}  // namespace assetgen
