#pragma once
// Everything a fortress seed decides, in start-up order and without a GL
// context: the world grid reset, the generator, the landing site, the
// furnishing and the map screen preparation, all into the grid given. World
// construction calls buildSeededFortress where it generates the fortress and
// then creates the cell instances from that grid.
#include <cstdint>
#include <functional>
#include <vector>

#include "world/FortressMap.h"
#include "world/MapScreen.h"
#include "world/Placement.h"
#include "world/WorldGrid.h"

struct FortressBuildHooks {
    MapIconFactory* icons = nullptr;  // null: no icon objects are created
    std::function<void()> pumpEvents;  // keeps a window responsive; may be empty
};

// What the build leaves besides the grid itself.
struct FortressSetup {
    FortressMap map;  // the generator's grids; call map.release() once instances exist
    WorldCells initialWorld{};
    std::vector<ScannerTarget> scannerTargets;
    int32_t correctForceField = 24;
    GridCell hiyuraCell{};
    GridCell spaceshipCell{};
    int32_t mapIconCount = 0;
    FurnishReport report;
};

// The generator seed that goes with a fortress seed (32-bit wrap-around).
inline uint32_t generatorSeedFor(uint32_t mapSeed) { return 2u * mapSeed; }

// Runs, in this order: resetWorldGrid, the generator (its rand sequence seeded
// with generatorSeed), placeLandingSite, furnishFortress and prepareMapScreen, all
// on grid. Draws from random as it stands: the caller seeds it with the fortress
// seed beforehand and draws nothing in between. The grid ends equal to
// out.initialWorld.
void buildSeededFortress(WorldCells& grid, RandomEngine& random, uint32_t generatorSeed, FortressSetup& out,
                         const FortressBuildHooks& hooks = {});

// For tools and tests: an engine seeded with mapSeed, then the build with 2 * mapSeed
// into a grid of its own; the result is the snapshot in out.
void seedAndBuildFortress(uint32_t mapSeed, FortressSetup& out, const FortressBuildHooks& hooks = {});
