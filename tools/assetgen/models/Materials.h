#pragma once
// The named model textures. A surface's material name is also its texture's file
// name (name + ".png"), written beside every model that uses it.
#include <string>

#include "Texture.h"

namespace assetgen::models {

bool knownMaterial(const std::string& name);
// The texture of a material, painted on first use and kept for the run.
const Image& materialImage(const std::string& name);

}  // namespace assetgen::models
