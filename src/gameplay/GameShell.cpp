#include "gameplay/GameShell.h"

#include "gameplay/GameRecorder.h"

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
    pointerWidth = windowWidth;
    pointerHeight = windowHeight;

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
    frameTime = dt;
    // Read once: the calendar runs on while a dialog holds the frame.
    clockReading = useTestClock ? testClockSeconds(testClock) : services->calendarSeconds();
    playFrom = 0;
    // A script plays the game as button 1 would start it, on the first frame.
    if (startOnFirstFrame && framesRun == 0 && state == MainMenu) startFromMenu();
    handleEvents(events);
    ShellFrame frame;
    // The events before the click that started a game were the menus'.
    InputEvents rest;
    if (playFrom > 0) rest.assign(events.begin() + static_cast<std::ptrdiff_t>(playFrom), events.end());
    const InputEvents& played = playFrom > 0 ? rest : events;
    if (state == Playing || (state == Quit && recorder && recorder->recording())) recordFrame(played, dt, false);
    if (isMenuScreen(state)) menuFrame();
    else if (state == Playing) frame = playingFrame(played, dt);
    else if (state == Quit) recordEnd(ReplayEnd::Quit);
    // The pause begins after the frame in which the focus went, so that the releases
    // the window system sends as it goes reach the rules: no key stays held meanwhile.
    if (focusWent && state == Playing && !overlays.paused) pause();
    focusWent = false;
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

double GameShell::preciseNow() const {
    return useTestClock ? testClock : static_cast<double>(clockReading);
}

std::string GameShell::traceLine() const {
    return ::traceLine(framesRun, state, *session, session->random.drawsSinceSeed());
}

// ---- The menu handler ----

void GameShell::handleEvents(const InputEvents& events) {
    handling = &events;
    for (eventIndex = 0; eventIndex < events.size(); ++eventIndex) {
        const InputEvent& event = events[eventIndex];
        switch (event.type) {
            case InputType::Quit:
                state = Quit;
                break;
            case InputType::KeyDown:
                if (isMenuScreen(state)) menuKeyDown(event.key);
                // While paused the keys of play wait for the click that resumes.
                else if (event.key == Key::Escape && state == Playing && !overlays.map && !overlays.paused)
                    askToLeave();
                break;
            case InputType::KeyUp:
                if (isMenuScreen(state)) {
                    if (!menuKeyUp(event.key)) return;
                } else if (state == Playing && !overlays.paused) {
                    playingKeyUp(event.key);
                }
                break;
            case InputType::MouseMotion:
                services->pointerAt(event, mouseX, mouseY);
                hoverAt(mouseX, mouseY);
                break;
            case InputType::ButtonUp:
                if (event.button == MouseButton::Left && state == Playing && overlays.paused) {
                    resume();
                    break;
                }
                if (event.button != MouseButton::Left || !isMenuScreen(state)) break;
                // A click keeps hoveredButton: it changes only on the next mouse motion.
                if (!clickHoveredButton()) {
                    handling = nullptr;
                    return;
                }
                break;
            case InputType::FocusLost:
                if (state == Playing) focusWent = true;
                break;
            default:
                break;
        }
    }
    handling = nullptr;
}

// ---- The menus by keyboard ----

const ButtonArea* GameShell::markedArea() const {
    for (const ButtonArea& area : buttonAreas)
        if (area.screen == state && area.buttonId == hoveredButton) return &area;
    return nullptr;
}

void GameShell::stepMarker(int step) {
    std::vector<const ButtonArea*> screen;
    for (const ButtonArea& area : buttonAreas)
        if (area.screen == state) screen.push_back(&area);
    if (screen.empty()) return;
    const auto count = static_cast<int>(screen.size());
    int next = step > 0 ? 0 : count - 1;  // nothing marked yet: the first or the last
    for (int k = 0; k < count; ++k)
        if (screen[static_cast<size_t>(k)]->buttonId == hoveredButton) next = ((k + step) % count + count) % count;
    const ButtonArea& area = *screen[static_cast<size_t>(next)];
    hoveredButton = area.buttonId;
    services->playOneShot("ButtonHovered");
    moveIndicator(area.indicatorX, area.indicatorY);
}

void GameShell::menuKeyDown(Key key) {
    switch (key) {
        case Key::Down:
        case Key::Tab:
            stepMarker(1);
            break;
        case Key::Up:
            stepMarker(-1);
            break;
        case Key::Return:
        case Key::Space:
        case Key::Escape:
            menuKeyPressed = key;
            break;
        default:
            break;
    }
}

// A press acts when its key comes up, as a click does when the button comes up, and
// only for a key that went down in a menu screen: the release of a key held while a
// game ended presses nothing.
bool GameShell::menuKeyUp(Key key) {
    if (key != menuKeyPressed) return true;
    menuKeyPressed = Key::Unknown;
    if (key == Key::Escape) {
        if (state == About || state == Credits) {
            services->playOneShot("ButtonClicked");
            state = MainMenu;
            hideIndicator();
        }
        return true;
    }
    // Only a button marked on this screen: an invisible marker presses nothing.
    if (!markedArea()) return true;
    return clickHoveredButton();
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
            updateFreeze();
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
bool GameShell::askToLeave() {
    services->releasePointer();
    if (services->askYesNo(kQuitGameCaption, quitGameQuestion()) == DialogAnswer::No) {
        services->capturePointer();
        return true;
    }
    // The game's last frame: its events up to this Escape press, and the answer.
    if (handling && recorder && recorder->recording()) {
        const auto first = handling->begin() + static_cast<std::ptrdiff_t>(playFrom);
        const InputEvents upToHere(first, handling->begin() + static_cast<std::ptrdiff_t>(eventIndex) + 1);
        recordFrame(upToHere, frameTime, true);
        recordEnd(ReplayEnd::Left);
    }
    returnToMenu();
    return false;
}

void GameShell::toggleMapScreen() {
    services->playOneShot("ButtonClicked");
    const bool wasShown = overlays.map;
    overlays.map = !overlays.map;
    updateFreeze();
    if (!wasShown) {
        services->setChannelPaused(kGameMusicChannel, true);
        services->playOnChannel("PauseGame_music", kPauseMusicChannel, kPauseMusicVolume);
    } else {
        services->setChannelPaused(kGameMusicChannel, false);
    }
    // Paused rather than stopped: the pause music goes on where it left off next time.
    services->setChannelPaused(kPauseMusicChannel, wasShown);
}

// The frame's rules stand still as under the map screen, and the time away is taken
// off the play clock, so the record is the time played.
void GameShell::pause() {
    overlays.paused = true;
    updateFreeze();
    pausedAt = preciseNow();
    pausedClock = now();
    services->releasePointer();
    services->setChannelPaused(kGameMusicChannel, true);
}

void GameShell::resume() {
    overlays.paused = false;
    updateFreeze();
    pauseCarry += preciseNow() - pausedAt;
    const auto whole = static_cast<int64_t>(pauseCarry);
    fortress.playStartTime += whole;
    pauseCarry -= static_cast<double>(whole);
    services->capturePointer();
    // Under the map screen its own music goes on and the game's stays paused.
    if (!overlays.map) services->setChannelPaused(kGameMusicChannel, false);
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
    // The game takes the events after the click that started it.
    playFrom = handling ? eventIndex + 1 : 0;
    recordStart();
    if (!firstStart) {
        services->capturePointer();
        services->showLoadingPicture();  // shows while the world is reset
    }
    services->stopChannel(kGameMusicChannel);
    overlays.about = false;
    overlays.freeze = false;
    overlays.map = false;
    overlays.paused = false;
    fortress.playStartTime = now();
    pauseCarry = 0.0;
    services->stopChannel(kMenuMusicChannel);

    // The world is still fresh from start-up for the first game; later ones start from
    // the furnished grid again (play changes it) with the lights of start-up.
    session->startGame(firstStart);
    services->gameStarted(firstStart);
    firstStart = false;
}

void GameShell::returnToMenu() {
    recordEnd(session->escapeStage == 4 ? ReplayEnd::Escape : ReplayEnd::Death);
    // A game that ended while paused (the death timer runs on) leaves no pause behind,
    // and a menu key pressed before the game presses nothing when it comes up now.
    overlays.paused = false;
    updateFreeze();
    menuKeyPressed = Key::Unknown;
    services->releasePointer();
    session->deathTimer = 0.0f;
    services->stopChannel(kGameMusicChannel);
    state = MainMenu;
}

// ---- The recording ----

void GameShell::recordStart() {
    if (!recorder || !recorder->wanted()) return;
    ReplayHeader header;
    header.gameVersion = std::string(replayGameVersion());
    header.seed = fortress.mapSeed;
    header.name = fortress.mapName;
    header.recordHours = fortress.recordHours;
    header.recordMinutes = fortress.recordMinutes;
    header.recordSeconds = fortress.recordSeconds;
    header.lookScale = session->sceneCamera.lookScale;
    header.invulnerable = session->player.invulnerable;
    header.windowWidth = pointerWidth;
    header.windowHeight = pointerHeight;
    header.drawsAtStart = session->random.drawsSinceSeed();
    recorder->gameStarted(header, static_cast<std::time_t>(services->calendarSeconds()));
}

void GameShell::recordFrame(const InputEvents& events, float dt, bool escapeAnsweredYes) {
    if (recorder) recorder->frame(dt, clockReading - fortress.playStartTime, events, escapeAnsweredYes);
}

void GameShell::recordEnd(ReplayEnd reason) {
    if (recorder) recorder->gameEnded(reason, session->random.drawsSinceSeed());
}

void GameShell::stopRecording() { recordEnd(ReplayEnd::Stopped); }
