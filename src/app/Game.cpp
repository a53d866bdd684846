#include "app/Game.h"

#include <GL/glew.h>

#include <ctime>

#include "app/InputManager.h"
#include "audio/AudioManager.h"
#include "render/ImageStore.h"
#include "render/Renderer.h"
#include "util/FrameClock.h"

using enum GameState;

namespace {

// The rules' sounds, played by the audio manager.
class AudioServices : public GameServices {
public:
    void playOnChannel(const std::string& sound, uint16_t channel, float volume) override {
        AudioManager::instance().playOnChannel(sound, channel, volume);
    }
    void stopChannel(uint16_t channel) override { AudioManager::instance().stopChannel(channel); }
    void playOneShot(const std::string& sound) override { AudioManager::instance().playOneShot(sound); }
};

// Under the test aids the Escape question is answered No without a box.
class AnswerNo : public ConfirmDialog {
public:
    DialogAnswer askYesNo(const std::string&, const std::string&) override { return DialogAnswer::No; }
};

}  // namespace

Game::Game() : services(std::make_unique<AudioServices>()) {
    screenCamera.setOrthographic(-20.0f, 20.0f, -20.0f, 20.0f, 0.0f, 100.0f);
}

Game::~Game() {
    if (traceFile) std::fclose(traceFile);
    // The sounds belong to the game that loaded them; the audio manager itself lives
    // until the process ends. A game that never started up leaves them alone.
    if (loadedSoundTable) AudioManager::instance().releaseSounds();
}

bool Game::useTestAids(TestAids aids) {
    testAids = std::move(aids);
    profiler.enabled = testAids.profile;
    Renderer::instance().referenceDrawing = testAids.referenceDrawing;
    if (testAids.script) confirmDialog = std::make_unique<AnswerNo>();
    if (!testAids.tracePath.empty()) {
        traceFile = std::fopen(testAids.tracePath.c_str(), "w");
        if (!traceFile) {
            std::fprintf(stderr, "ERROR: Unable to write the trace file %s\n", testAids.tracePath.c_str());
            return false;
        }
    }
    return true;
}

int64_t Game::now() const {
    return testAids.script ? testClockSeconds(testClock) : static_cast<int64_t>(std::time(nullptr));
}

int Game::run() {
    // Image decoding into the store comes first: it needs no window.
    ImageStore::instance().loadCatalogue();
    // Without a window and GL nothing could be shown or quit: an invisible process
    // that never ends. The renderer has said why; the caller releases and exits.
    if (!Renderer::instance().initialize()) return 1;
    startUp();
    return 0;
}

void Game::startUp() {
    captureMouse();
    showLoadingScreen();
    loadFortressIdentity();
    seedRandomEngines();
    buildButtonAreas();
    buildWorld();
    setUpLights();
    createParticleSystems();
    initialiseAudio();
    createHudLabels();
    createFramebuffer();
    createClothFlag();
    initialisePlayer();
    ImageStore::instance().releasePixels();  // every texture exists now
    releaseMouse();
    mainLoop();
}

void Game::loadFortressIdentity() {
    if (!fortress.loadPreferences()) fortress.createNewFortress();
    fortress.formatRecordText();
}

void Game::seedRandomEngines() {
    session->random.seed(fortress.mapSeed);
    generatorSeed = generatorSeedFor(fortress.mapSeed);
}

void Game::mainLoop() {
    while (gameState != Quit) runFrame();
    shutDown();
}

void Game::runFrame() {
    frameDelta = advanceFrameClock(SDL_GetTicks(), lastFrameTicks);
    if (testAids.fixedDelta) frameDelta = *testAids.fixedDelta;
    testClock += frameDelta;

    // A script plays the game as button 1 would start it, on the first frame.
    if (testAids.script && framesRun == 0 && gameState == MainMenu) startFromMenu();
    collectEvents();

    handleMenuInput(InputManager::instance().events);
    drawState();

    if (pendingScreenshot) {
        saveScreenshot(*pendingScreenshot);
        pendingScreenshot.reset();
    }
    if (framesRun >= testAids.fastForward) {
        const bool playing = gameState == Playing;
        if (playing) profiler.begin(FrameProfiler::Pass::Present);
        SDL_GL_SwapWindow(Renderer::instance().window);
        if (playing) {
            profiler.end();
            profiler.endFrame();
        }
        SDL_Delay(1);
    }

    ++framesRun;
    const bool last = testAids.frameLimit && framesRun >= *testAids.frameLimit;
    traceFrame(last);
    if (last) gameState = Quit;
}

void Game::collectEvents() {
    InputManager& input = InputManager::instance();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        // Under a script only the window's close request is taken from the window system.
        if (!testAids.script || event.type == SDL_QUIT) input.push(event);
    }
    if (testAids.script)
        for (const InputEvent& e : testAids.script->eventsAt(static_cast<uint32_t>(framesRun))) input.push(e);
}

void Game::traceFrame(bool last) {
    if (!traceFile || lastTracedFrame == framesRun) return;
    const bool due = testAids.traceEvery > 0 && framesRun % testAids.traceEvery == 0;
    if (!due && !last) return;
    const std::string line = traceLine(framesRun, gameState, *session, session->random.drawsSinceSeed());
    std::fprintf(traceFile, "%s\n", line.c_str());
    std::fflush(traceFile);
    lastTracedFrame = framesRun;
}

void Game::drawState() {
    switch (gameState) {
        case MainMenu:
        case About:
        case Credits:
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            menuFrame();
            drawMenuScreen();
            break;
        case Playing:
            drawPlayingFrame();
            break;
        default:
            break;  // Quit: nothing is drawn
    }
}

void Game::shutDown() {
    traceFrame(true);  // the last frame is always in the trace
    if (profiler.enabled) {
        std::fputs(profiler.report().c_str(), stdout);
        std::fflush(stdout);
        profiler.release();
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapWindow(Renderer::instance().window);
    AudioManager::instance().stopChannel(kMenuMusicChannel);
}

void Game::setUpLights() { session->setUpLights(); }

void Game::createParticleSystems() {
    session->createParticleSystems();
    girlRenderer.init("GirlRecueEffect", session->girlEffect.count);
    spaceshipRenderer.init("SpaceshipEffect", session->spaceshipEffect.count);
    enemyDamageRenderer.init("EnemyDamageEffect", 20);
    enemyDestroyRenderer.init("EnemyDestroyEffect", 10);
}

void Game::createClothFlag() {
    session->createClothFlag();
    clothRenderer.init();
}

void Game::initialisePlayer() {
    session->initialisePlayer();
    // The escape's record check, against the settings file's record.
    session->storeRecordIfBetter = [this] { return fortress.storeRecordIfBetter(now()); };
    // The guns' view models, drawn with the scene's model program.
    for (Weapon* gun : {&session->player.rifle, &session->player.sniperRifle})
        gun->model = modelLibrary.load(gun->modelPath, "../Data/Shaders/SingleModelLoader.vs",
                                       "../Data/Shaders/SingleModelLoader.fs");
}

// Steps whose subsystems are not built yet.
void Game::createHudLabels() { createLabels(); }
