// The menu handler: the frame's events in the menu screens and the global keys of play.
#include "app/Game.h"
#include "app/InputManager.h"

void Game::buildButtonAreas() {}

void Game::handleMenuInput(const std::vector<SDL_Event>& events) {
    for (const SDL_Event& event : events) {
        if (event.type == SDL_QUIT) gameState = Quit;
    }
}

void Game::menuFrame() { InputManager::instance().clear(); }

void Game::initialiseAudio() {}
