#include "Catalog.h"

namespace assetgen::models {
void addHazards(std::vector<ModelDef>&) {}
}  // namespace assetgen::models
