#include "world/FortressBuild.h"

#include "util/Random.h"
#include "world/ObjectTables.h"

void buildSeededFortress(uint32_t generatorSeed, FortressSetup& out, const FortressBuildHooks& hooks) {
    resetWorldGrid();
    out.map = FortressMap(generatorSeed, hooks.pumpEvents);

    placeLandingSite();
    Furnishing furnishing;
    furnishFortress(furnishing);

    NoMapIcons noIcons;
    MapIconFactory& icons = hooks.icons ? *hooks.icons : noIcons;
    const MapScreenResult map = prepareMapScreen(out.initialWorld, furnishing.scannerTargets, icons, hooks.pumpEvents);

    out.scannerTargets = std::move(furnishing.scannerTargets);
    out.correctForceField = furnishing.correctForceField;
    out.report = furnishing.report;
    out.hiyuraCell = map.hiyuraCell;
    out.spaceshipCell = map.spaceshipCell;
    out.mapIconCount = map.iconCount;
}

void seedAndBuildFortress(uint32_t mapSeed, FortressSetup& out, const FortressBuildHooks& hooks) {
    randomEngine().seed(mapSeed);
    buildSeededFortress(generatorSeedFor(mapSeed), out, hooks);
}
