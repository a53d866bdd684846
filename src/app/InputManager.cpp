#include "app/InputManager.h"

#include <array>
#include <utility>

#include "render/Renderer.h"

namespace {

constexpr std::array<std::pair<Key, SDL_Keycode>, 14> kKeys = {{
    {Key::W, SDLK_w},
    {Key::A, SDLK_a},
    {Key::S, SDLK_s},
    {Key::D, SDLK_d},
    {Key::Space, SDLK_SPACE},
    {Key::LShift, SDLK_LSHIFT},
    {Key::Q, SDLK_q},
    {Key::F, SDLK_f},
    {Key::N, SDLK_n},
    {Key::M, SDLK_m},
    {Key::F1, SDLK_F1},
    {Key::F8, SDLK_F8},
    {Key::F12, SDLK_F12},
    {Key::Escape, SDLK_ESCAPE},
}};

MouseButton buttonOf(Uint8 button) {
    if (button == SDL_BUTTON_LEFT) return MouseButton::Left;
    if (button == SDL_BUTTON_RIGHT) return MouseButton::Right;
    return MouseButton::None;
}

}  // namespace

InputManager& InputManager::instance() {
    static InputManager manager;
    return manager;
}

void InputManager::push(const SDL_Event& event) {
    if (auto e = translate(event, SDL_GetRelativeMouseMode() == SDL_TRUE, pointerX, pointerY)) events.push_back(*e);
}

void InputManager::push(const InputEvent& event) {
    events.push_back(event);
    if (event.type == InputType::MouseMotion) {
        pointerX = event.x;
        pointerY = event.y;
    }
}

Key keyOf(SDL_Keycode sym) {
    for (const auto& [key, symbol] : kKeys)
        if (symbol == sym) return key;
    return Key::Unknown;
}

std::optional<InputEvent> translate(const SDL_Event& event, bool relativeMode, int32_t& pointerX, int32_t& pointerY) {
    switch (event.type) {
        case SDL_QUIT:
            return InputEvent::quit();
        case SDL_KEYDOWN:
            return InputEvent::keyDown(keyOf(event.key.keysym.sym));
        case SDL_KEYUP:
            return InputEvent::keyUp(keyOf(event.key.keysym.sym));
        case SDL_MOUSEBUTTONDOWN:
            return InputEvent::buttonDown(buttonOf(event.button.button));
        case SDL_MOUSEBUTTONUP:
            return InputEvent::buttonUp(buttonOf(event.button.button));
        case SDL_MOUSEMOTION:
            if (relativeMode) {
                pointerX += event.motion.xrel;
                pointerY += event.motion.yrel;
            } else {
                pointerX = event.motion.x;
                pointerY = event.motion.y;
            }
            return InputEvent::motion(pointerX, pointerY);
        default:
            return std::nullopt;
    }
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
