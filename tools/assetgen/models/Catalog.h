#pragma once
// Every model the game loads, by its path under Models3D/. Sizes are chosen in
// the model's own units so that, at the scale the game draws it with, it has a
// believable size in a world where a cell is 50 units and the eye is 10 up.
#include <functional>
#include <string>
#include <vector>

#include "Geometry.h"

namespace assetgen::models {

struct ModelDef {
    std::string path;
    std::function<Model()> build;
};

const std::vector<ModelDef>& catalog();

// Builders, grouped by the folders the game reads them from.
void addEnemies(std::vector<ModelDef>& out);
void addWeapons(std::vector<ModelDef>& out);
void addItems(std::vector<ModelDef>& out);
void addHazards(std::vector<ModelDef>& out);
void addScenery(std::vector<ModelDef>& out);
void addForceFields(std::vector<ModelDef>& out);

}  // namespace assetgen::models
