#include "gameplay/HeadlessGame.h"

#include "world/FortressBuild.h"

HeadlessGame::HeadlessGame(uint32_t seed) {
    identity.settingsPath.clear();  // nothing is written
    identity.mapSeed = seed;
    identity.recordHours = 2;
    identity.formatRecordText();

    // The game's start-up order, every draw included.
    Session& s = *playing;
    s.random.seed(seed);
    s.buildTerrain();
    FortressSetup setup;
    buildSeededFortress(s.grid, s.random, generatorSeedFor(seed), setup);
    s.adoptFortress(setup);
    static NoModels noModels;
    s.populateWorld(noModels);
    setup.map.release();
    s.setUpLights();
    s.createParticleSystems();
    s.createClothFlag();
    s.initialisePlayer();
    s.storeRecordIfBetter = [this] { return identity.storeRecordIfBetter(now()); };
}

bool HeadlessGame::runFrame(const InputEvents& events, float dt) {
    testClock += dt;
    if (framesRun == 0 && state == GameState::MainMenu) {
        // Button 1: the game starts in this frame.
        state = GameState::Playing;
        aboutShown = mapShown = overlayFreeze = false;
        identity.playStartTime = now();
        playing->startGame(firstStart);
        firstStart = false;
    }
    ++framesRun;
    if (state != GameState::Playing) return false;
    handlePlayingKeys(events);
    if (state != GameState::Playing) return false;
    Session& s = *playing;
    s.update(dt, events, *services, overlayFreeze);
    const FrameOutcome outcome = s.frameRules(dt, *services, overlayFreeze, mapShown);
    if (outcome == FrameOutcome::ReturnToMenu) {
        state = GameState::MainMenu;
        return false;
    }
    return true;
}

void HeadlessGame::handlePlayingKeys(const InputEvents& events) {
    for (const InputEvent& event : events) {
        if (event.type == InputType::Quit) {
            state = GameState::Quit;
            return;
        }
        if (event.type != InputType::KeyUp) continue;
        switch (event.key) {
            case Key::F1:
                aboutShown = !aboutShown;
                overlayFreeze = aboutShown || mapShown;
                break;
            case Key::M:
                mapShown = !mapShown;
                overlayFreeze = aboutShown || mapShown;
                break;
            case Key::N: playing->useScanner(*services); break;
            case Key::F8: statsShown = !statsShown; break;
            case Key::F12: static_cast<void>(playing->random.uniformInt(1000, 9999)); break;  // no file is written
            default: break;
        }
    }
}
