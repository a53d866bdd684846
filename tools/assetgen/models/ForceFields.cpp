#include "Catalog.h"

namespace assetgen::models {
void addForceFields(std::vector<ModelDef>&) {}
}  // namespace assetgen::models
