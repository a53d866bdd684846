// The drawing side of the Game: the loading picture, the flat menu screens and the
// playing state's off-screen pass.
#include <GL/glew.h>

#include "app/Game.h"
#include "app/InputManager.h"

void Game::showLoadingScreen() {}

void Game::drawMenuScreen() {}

void Game::drawPlayingFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    InputManager::instance().clear();
}

void Game::createFramebuffer() {}

void Game::moveIndicator(float, float) {}
