#include "gameplay/GameShell.h"

#include "gameplay/Hud.h"
#include "gameplay/TestAids.h"

using enum GameState;

namespace {

constexpr float kMenuMusicVolume = 3.0f;
constexpr float kPauseMusicVolume = 0.5f;
constexpr float kHiddenIndicatorY = 21.0f;

}  // namespace

bool isMenuScreen(GameState state) { return state == MainMenu || state == About || state == Credits; }

// ---- Start-up ----

void GameShell::startUp(StartUpSteps& steps, int windowWidth, int windowHeight) {
    fortress = steps.fortress();
    // The random engine holds the fortress seed from here, and nothing draws from it
    // before the furnishing: the same seed gives the same fortress and the same game.
    session->random.seed(fortress.mapSeed);
    generatorSeed = generatorSeedFor(fortress.mapSeed);
    buttonAreas = makeButtonAreas(windowWidth, windowHeight);

    Session& s = *session;
    steps.worldBegins();
    s.buildTerrain();
    steps.terrainBuilt(s.terrain);
    FortressSetup setup;
    buildSeededFortress(s.grid, s.random, generatorSeed, setup, steps.fortressHooks());
    steps.fortressBuilt();
    s.adoptFortress(setup);
    s.populateWorld(steps.models(), steps.afterFurnishedRow());
    steps.worldFurnished();
    setup.map.release();

    s.setUpLights();
    s.createParticleSystems();
    steps.particlesCreated(s);
    s.createClothFlag();
    steps.clothCreated();
    s.initialisePlayer();
    // The escape's record check, against the fortress's stored record.
    s.storeRecordIfBetter = [this] { return fortress.storeRecordIfBetter(now()); };
    steps.playerCreated(s);
}

// ---- The frame ----

ShellFrame GameShell::runFrame(const InputEvents& events, float dt) {
    testClock += dt;
    // A script plays the game as button 1 would start it, on the first frame.
    if (startOnFirstFrame && framesRun == 0 && state == MainMenu) startFromMenu();
    handleEvents(events);
    ShellFrame frame;
    if (isMenuScreen(state)) menuFrame();
    else if (state == Playing) frame = playingFrame(events, dt);
    ++framesRun;
    return frame;
}

ShellFrame GameShell::playingFrame(const InputEvents& events, float dt) {
    Session& s = *session;
    ShellFrame frame;
    frame.played = true;
    s.update(dt, events, *services, overlays.freeze);
    frame.thunderFlash = s.thunderFlash;
    const FrameOutcome outcome = s.frameRules(dt, *services, overlays.freeze, overlays.map);
    // Death and the end of the escape leave play from inside the frame; the frame is
    // still completed and shown.
    if (outcome == FrameOutcome::ReturnToMenu) returnToMenu();
    return frame;
}

void GameShell::menuFrame() {
    services->playOnChannel("MainMenu_music", kMenuMusicChannel, kMenuMusicVolume);
    services->stopChannel(kGameMusicChannel);
}

int64_t GameShell::now() const {
    return useTestClock ? testClockSeconds(testClock) : services->calendarSeconds();
}

std::string GameShell::traceLine() const {
    return ::traceLine(framesRun, state, *session, session->random.drawsSinceSeed());
}

// ---- The menu handler ----

void GameShell::handleEvents(const InputEvents& events) {
    for (const InputEvent& event : events) {
        switch (event.type) {
            case InputType::Quit:
                state = Quit;
                break;
            case InputType::KeyDown:
                if (event.key == Key::Escape && state == Playing && !overlays.map) askToLeave();
                break;
            case InputType::KeyUp:
                if (state == Playing) playingKeyUp(event.key);
                break;
            case InputType::MouseMotion:
                services->pointerAt(event, mouseX, mouseY);
                hoverAt(mouseX, mouseY);
                break;
            case InputType::ButtonUp:
                if (event.button != MouseButton::Left || !isMenuScreen(state)) break;
                // A click keeps hoveredButton: it changes only on the next mouse motion.
                if (!clickHoveredButton()) return;
                break;
            default:
                break;
        }
    }
}

void GameShell::hoverAt(int32_t x, int32_t y) {
    bool anyHit = false;
    for (const ButtonArea& area : buttonAreas) {
        if (area.screen != state || !area.contains(x, y)) continue;
        anyHit = true;
        if (area.buttonId == hoveredButton) continue;
        hoveredButton = area.buttonId;
        services->playOneShot("ButtonHovered");
        moveIndicator(area.indicatorX, area.indicatorY);
    }
    if (!anyHit) {
        hoveredButton = NoButton;
        hideIndicator();
    }
}

bool GameShell::clickHoveredButton() {
    if (hoveredButton == NoButton) return true;
    services->playOneShot("ButtonClicked");
    switch (hoveredButton) {
        case StartButton:
            startFromMenu();
            break;
        case NewMapButton:
            // Only an explicit Yes gives up the current fortress.
            if (services->askYesNo(kNewMapCaption, newMapQuestion(fortress.mapName)) != DialogAnswer::Yes)
                return false;
            fortress.createNewFortress();
            state = Quit;  // the new fortress is built at the next launch
            break;
        case AboutButton:
            state = About;
            hideIndicator();
            break;
        case CreditsButton:
            state = Credits;
            hideIndicator();
            break;
        case QuitButton:
            state = Quit;
            break;
        case BackButton:
            state = MainMenu;
            hideIndicator();
            break;
        case HomePageButton:
            services->openWebPage(kHomePageUrl);
            break;
        case GamePageButton:
            services->openWebPage(kGamePageUrl);
            break;
        default:
            break;
    }
    return true;
}

void GameShell::playingKeyUp(Key key) {
    switch (key) {
        case Key::F1:
            overlays.about = !overlays.about;
            overlays.freeze = overlays.about || overlays.map;
            break;
        case Key::M:
            toggleMapScreen();
            break;
        case Key::N:
            session->useScanner(*services);
            break;
        case Key::F8:
            overlays.stats = !overlays.stats;
            break;
        case Key::F12:
            services->playOneShot("Screenshot");
            // The number is drawn at the key, whatever happens to the picture, so the
            // random sequence is the same with and without a screen.
            services->takeScreenshot(session->random.uniformInt(kFirstScreenshotNumber, kLastScreenshotNumber));
            break;
        default:
            break;
    }
}

// Escape while playing: anything but No leaves the game (a box that cannot be shown
// must not trap the player).
void GameShell::askToLeave() {
    services->releasePointer();
    if (services->askYesNo(kQuitGameCaption, quitGameQuestion()) != DialogAnswer::No) returnToMenu();
    else services->capturePointer();
}

void GameShell::toggleMapScreen() {
    services->playOneShot("ButtonClicked");
    const bool wasShown = overlays.map;
    overlays.map = !overlays.map;
    overlays.freeze = overlays.about || overlays.map;
    if (!wasShown) {
        services->setChannelPaused(kGameMusicChannel, true);
        services->playOnChannel("PauseGame_music", kPauseMusicChannel, kPauseMusicVolume);
    } else {
        services->setChannelPaused(kGameMusicChannel, false);
    }
    // Paused rather than stopped: the pause music goes on where it left off next time.
    services->setChannelPaused(kPauseMusicChannel, wasShown);
}

void GameShell::moveIndicator(float x, float y) {
    indicatorX = x;
    indicatorY = y;
}

void GameShell::hideIndicator() { moveIndicator(0.0f, kHiddenIndicatorY); }

// ---- A game's start and end ----

void GameShell::startFromMenu() {
    state = Playing;
    startGame();
    services->capturePointer();
}

void GameShell::startGame() {
    if (!firstStart) {
        services->capturePointer();
        services->showLoadingPicture();  // shows while the world is reset
    }
    services->stopChannel(kGameMusicChannel);
    overlays.about = false;
    overlays.freeze = false;
    overlays.map = false;
    fortress.playStartTime = now();
    services->stopChannel(kMenuMusicChannel);

    // The world is still fresh from start-up for the first game; later ones start from
    // the furnished grid again (play changes it) with the lights of start-up.
    session->startGame(firstStart);
    services->gameStarted(firstStart);
    firstStart = false;
}

void GameShell::returnToMenu() {
    services->releasePointer();
    session->deathTimer = 0.0f;
    services->stopChannel(kGameMusicChannel);
    state = MainMenu;
}
