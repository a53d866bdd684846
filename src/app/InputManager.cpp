#include "app/InputManager.h"

#include "render/Renderer.h"

namespace {

MouseButton buttonOf(Uint8 button) {
    if (button == SDL_BUTTON_LEFT) return MouseButton::Left;
    if (button == SDL_BUTTON_RIGHT) return MouseButton::Right;
    return MouseButton::None;
}

bool isFocusChange(const SDL_Event& e) {
    return e.type == SDL_WINDOWEVENT &&
           (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST || e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
}

}  // namespace

const EdgeSettings& defaultEdgeSettings() {
    static const EdgeSettings defaults;
    return defaults;
}

InputManager& InputManager::instance() {
    static InputManager manager;
    return manager;
}

void InputManager::push(const SDL_Event& event) {
    if (controllers.handle(event, events)) return;
    if (auto e = translate(event, SDL_GetRelativeMouseMode() == SDL_TRUE, pointerX, pointerY, settings))
        events.push_back(*e);
}

void InputManager::push(const InputEvent& event) {
    events.push_back(event);
    if (event.type == InputType::MouseMotion) {
        pointerX = event.x;
        pointerY = event.y;
    }
}

void InputManager::controllersFrame() {
    controllers.look(SDL_GetRelativeMouseMode() == SDL_TRUE, pointerX, pointerY, events);
}

std::optional<InputEvent> translate(const SDL_Event& event, bool relativeMode, int32_t& pointerX, int32_t& pointerY,
                                    const EdgeSettings& settings) {
    switch (event.type) {
        case SDL_QUIT:
            return InputEvent::quit();
        case SDL_KEYDOWN:
            return InputEvent::keyDown(settings.keys.keyOf(event.key.keysym.scancode));
        case SDL_KEYUP:
            return InputEvent::keyUp(settings.keys.keyOf(event.key.keysym.scancode));
        case SDL_MOUSEBUTTONDOWN:
            return InputEvent::buttonDown(buttonOf(event.button.button));
        case SDL_MOUSEBUTTONUP:
            return InputEvent::buttonUp(buttonOf(event.button.button));
        case SDL_MOUSEMOTION:
            if (relativeMode) {
                pointerX += event.motion.xrel;
                pointerY += settings.invertY ? -event.motion.yrel : event.motion.yrel;
            } else {
                pointerX = event.motion.x;
                pointerY = event.motion.y;
            }
            return InputEvent::motion(pointerX, pointerY);
        case SDL_WINDOWEVENT:
            // Minimised: gone to another window as surely as by alt-tab.
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST || event.window.event == SDL_WINDOWEVENT_MINIMIZED)
                return InputEvent::focusLost();
            return std::nullopt;
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

void takeFocusBack() {
    // The window system moved the focus to the box; it need not give it back (X11
    // reverts it to the root window without a window manager), and a loss that lasts
    // is reported a little later (SDL waits out quick focus bounces). So the window
    // asks for it again at once, and what is already queued is dropped.
    if (SDL_Window* window = Renderer::instance().window) {
        SDL_RaiseWindow(window);
        SDL_SetWindowInputFocus(window);
    }
    SDL_PumpEvents();
    std::vector<SDL_Event> kept;
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) == 1)
        if (!isFocusChange(e)) kept.push_back(e);
    for (SDL_Event& k : kept) SDL_PushEvent(&k);
}
