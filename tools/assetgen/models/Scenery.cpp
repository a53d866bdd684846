#include "Catalog.h"

namespace assetgen::models {
void addScenery(std::vector<ModelDef>&) {}
}  // namespace assetgen::models
