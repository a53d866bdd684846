#pragma once
// Shared set-up for the fortress tests: a grid of each test's own, and small grid
// editors.
#include <gtest/gtest.h>

#include <memory>

#include "util/Random.h"
#include "world/FortressBuild.h"
#include "world/ObjectTables.h"
#include "world/WorldGrid.h"

namespace fortress_testing {

// A zero-filled grid (as a new game's), then the reset values.
inline void freshWorld(WorldCells& grid) {
    grid = WorldCells{};
    resetWorldGrid(grid);
}

inline void makeWall(WorldCells& grid, int i, int j, int32_t style = 4) {
    WorldCell& c = grid[i][j];
    c.pathCost = kWallPathCost;
    c.objectType = style;
    c.isBlock = true;
    c.visible = true;
    c.blocksMovement = true;
}

// A fixture whose every test gets a fresh grid and an engine of its own, so that no
// test sees what another one left.
class GridTest : public ::testing::Test {
protected:
    GridTest() { freshWorld(grid); }

    std::unique_ptr<WorldCells> ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
    RandomEngine random;
};

// The whole seeded build; the grid it leaves is the snapshot, setup->initialWorld.
inline std::unique_ptr<FortressSetup> build(uint32_t seed) {
    auto setup = std::make_unique<FortressSetup>();
    seedAndBuildFortress(seed, *setup);
    return setup;
}

// The grid as it stands after furnishing, before the map screen is prepared.
inline Furnishing furnishOnly(WorldCells& grid, uint32_t seed) {
    freshWorld(grid);
    RandomEngine random(seed);
    FortressMap map(generatorSeedFor(seed));
    map.publishToWorld(grid);
    placeLandingSite(grid);
    Furnishing furnishing;
    furnishFortress(grid, random, furnishing);
    return furnishing;
}

template <typename Visit>
void forEachCell(const WorldCells& grid, Visit visit) {
    for (int j = 0; j < kWorldSize; ++j) {
        for (int i = 0; i < kWorldSize; ++i) visit(GridCell{i, j}, grid[i][j]);
    }
}

}  // namespace fortress_testing
