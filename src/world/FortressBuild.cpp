#include "world/FortressBuild.h"

#include <memory>

#include "util/Random.h"

void buildSeededFortress(WorldCells& grid, RandomEngine& random, uint32_t generatorSeed, FortressSetup& out,
                         const FortressBuildHooks& hooks) {
    resetWorldGrid(grid);
    out.map = FortressMap(generatorSeed, hooks.pumpEvents);
    out.map.publishToWorld(grid);

    placeLandingSite(grid);
    Furnishing furnishing;
    furnishFortress(grid, random, furnishing);

    NoMapIcons noIcons;
    MapIconFactory& icons = hooks.icons ? *hooks.icons : noIcons;
    const MapScreenResult map =
        prepareMapScreen(grid, out.initialWorld, furnishing.scannerTargets, icons, hooks.pumpEvents);

    out.scannerTargets = std::move(furnishing.scannerTargets);
    out.correctForceField = furnishing.correctForceField;
    out.report = furnishing.report;
    out.hiyuraCell = map.hiyuraCell;
    out.spaceshipCell = map.spaceshipCell;
    out.mapIconCount = map.iconCount;
}

void seedAndBuildFortress(uint32_t mapSeed, FortressSetup& out, const FortressBuildHooks& hooks) {
    RandomEngine random(mapSeed);
    // The build leaves its grid equal to the snapshot, so a scratch grid will do.
    const auto grid = std::make_unique<WorldCells>();
    buildSeededFortress(*grid, random, generatorSeedFor(mapSeed), out, hooks);
}
