#include "app/Game.h"

#include <GL/glew.h>

#include "app/InputManager.h"
#include "audio/AudioManager.h"
#include "render/ImageStore.h"
#include "render/Renderer.h"
#include "util/FrameClock.h"
#include "util/Random.h"

using enum GameState;

Game::Game() {
    sceneCamera.setPerspective(80.0f, 1.6f, 0.1f, 8000.0f);
    screenCamera.setOrthographic(-20.0f, 20.0f, -20.0f, 20.0f, 0.0f, 100.0f);
}

Game::~Game() {
    // The sounds belong to the game that loaded them; the audio manager itself lives
    // until the process ends. A game that never started up leaves them alone.
    if (loadedSoundTable) AudioManager::instance().releaseSounds();
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
    releaseMouse();
    mainLoop();
}

void Game::loadFortressIdentity() {
    if (!fortress.loadPreferences()) fortress.createNewFortress();
}

void Game::seedRandomEngines() {
    randomEngine().seed(fortress.mapSeed);
    generatorSeed = generatorSeedFor(fortress.mapSeed);
}

void Game::mainLoop() {
    while (gameState != Quit) runFrame();
    shutDown();
}

void Game::runFrame() {
    frameDelta = advanceFrameClock(SDL_GetTicks(), lastFrameTicks);

    InputManager& input = InputManager::instance();
    SDL_Event event;
    while (SDL_PollEvent(&event)) input.push(event);

    handleMenuInput(input.events);
    drawState();

    SDL_GL_SwapWindow(Renderer::instance().window);
    SDL_Delay(1);
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
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapWindow(Renderer::instance().window);
    AudioManager::instance().stopChannel(kMenuMusicChannel);
}

// Steps whose subsystems are not built yet.
void Game::setUpLights() {}
void Game::createParticleSystems() {}
void Game::createHudLabels() {}
void Game::createClothFlag() {}
void Game::initialisePlayer() {}
