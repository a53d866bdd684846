#include "app/InputManager.h"

#include "render/Renderer.h"

InputManager& InputManager::instance() {
    static InputManager manager;
    return manager;
}

void captureMouse() {
    SDL_SetRelativeMouseMode(SDL_TRUE);
    SDL_CaptureMouse(SDL_TRUE);
    SDL_ShowCursor(SDL_DISABLE);
    SDL_SetWindowGrab(Renderer::instance().window, SDL_TRUE);
}

void releaseMouse() {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    SDL_CaptureMouse(SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
    SDL_SetWindowGrab(Renderer::instance().window, SDL_FALSE);
}
