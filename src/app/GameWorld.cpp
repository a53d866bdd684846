// World building: the fixed render objects, then everything the fortress seed decides.
#include <SDL.h>

#include "app/Game.h"
#include "render/MapIcons.h"

void Game::buildWorld() {
    createRenderObjects();
    buildTerrain();

    // The random engine holds the fortress seed here and nothing has drawn from it
    // since: the furnishing that follows is the same for the same seed.
    RendererMapIcons icons;
    FortressSetup setup;
    FortressBuildHooks hooks;
    hooks.icons = &icons;
    hooks.pumpEvents = [] { SDL_PumpEvents(); };  // keeps the window responsive behind the loading picture
    buildSeededFortress(generatorSeed, setup, hooks);

    initialWorld = setup.initialWorld;
    scannerTargets = std::move(setup.scannerTargets);
    correctForceField = setup.correctForceField;
    hiyuraCell = setup.hiyuraCell;
    spaceshipCell = setup.spaceshipCell;

    createAllCellInstances();
    setup.map.release();
}

// Steps whose subsystems are not built yet.
void Game::buildTerrain() {}
void Game::createAllCellInstances() {}
