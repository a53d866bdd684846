#pragma once
#include <filesystem>
#include <string>

#include "Geometry.h"

namespace assetgen::models {

// Collada text of a model: one mesh per surface, each with its own material whose
// diffuse texture is "<material>.png" beside the model file. Empty on failure.
std::string toCollada(const Model& model);

}  // namespace assetgen::models
