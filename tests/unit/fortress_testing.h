#pragma once
// Shared set-up for the fortress tests: a clean world grid, the tables, and
// small grid editors.
#include <memory>

#include "util/Random.h"
#include "world/FortressBuild.h"
#include "world/ObjectTables.h"
#include "world/WorldGrid.h"

namespace fortress_testing {

// A zero-filled grid (as at process start), then the reset values; tables built.
inline void freshWorld() {
    worldGrid = WorldCells{};
    resetWorldGrid();
}

inline void makeWall(int i, int j, int32_t style = 4) {
    WorldCell& c = worldGrid[i][j];
    c.pathCost = kWallPathCost;
    c.objectType = style;
    c.isBlock = true;
    c.visible = true;
    c.blocksMovement = true;
}

inline std::unique_ptr<FortressSetup> build(uint32_t seed) {
    auto setup = std::make_unique<FortressSetup>();
    worldGrid = WorldCells{};
    seedAndBuildFortress(seed, *setup);
    return setup;
}

// The world grid as it stands after furnishing, before the map screen is prepared.
inline Furnishing furnishOnly(uint32_t seed) {
    worldGrid = WorldCells{};
    resetWorldGrid();
    randomEngine().seed(seed);
    FortressMap map(generatorSeedFor(seed));
    placeLandingSite();
    Furnishing furnishing;
    furnishFortress(furnishing);
    return furnishing;
}

template <typename Visit>
void forEachCell(const WorldCells& grid, Visit visit) {
    for (int j = 0; j < kWorldSize; ++j) {
        for (int i = 0; i < kWorldSize; ++i) visit(GridCell{i, j}, grid[i][j]);
    }
}

}  // namespace fortress_testing
