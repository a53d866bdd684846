#include "app/Controllers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr float kAxisFull = 32767.0f;
// A stick held past kOn presses its key and lets go below kOff, so that a thumb
// resting near the line does not chatter.
constexpr float kWalkOn = 0.35f;
constexpr float kWalkOff = 0.25f;
constexpr float kRunOn = 0.92f;
constexpr float kRunOff = 0.82f;
constexpr float kTriggerOn = 0.5f;
constexpr float kTriggerOff = 0.3f;
constexpr float kLookDeadZone = 0.15f;
// The view turns by pixels x sensitivity (7) x the view's factor x the frame time
// degrees, so a fixed number of pixels a frame turns at a fixed speed whatever the
// frame rate: 180 / 7 pixels a frame is 180 degrees a second at full deflection.
constexpr float kFullLookPixels = 180.0f / 7.0f;
// The view takes a jump of the pointer above 50 pixels for a warp, not a turn.
constexpr int32_t kLookStep = 35;
constexpr int32_t kMaxLookSteps = 64;

float axis(int16_t value) { return std::clamp(static_cast<float>(value) / kAxisFull, -1.0f, 1.0f); }

bool held(bool now, float amount, float on, float off) { return now ? amount > off : amount > on; }

}  // namespace

Key keyOfControllerButton(SDL_GameControllerButton button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A: return Key::Space;       // jump; in the menus, press
        case SDL_CONTROLLER_BUTTON_B: return Key::N;           // scanner card
        case SDL_CONTROLLER_BUTTON_X: return Key::F;           // flashlight
        case SDL_CONTROLLER_BUTTON_Y: return Key::Q;           // the other weapon
        case SDL_CONTROLLER_BUTTON_BACK: return Key::M;        // map screen
        case SDL_CONTROLLER_BUTTON_START: return Key::Escape;  // leave the game (asks first)
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return Key::Up;    // the menus' marker
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return Key::Down;
        default: return Key::Unknown;
    }
}

bool Controllers::start() {
    if (started) return true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "velkaran: no game controllers: %s\n", SDL_GetError());
        return false;
    }
    started = true;
    return true;
}

void Controllers::stop() {
    for (Pad& pad : pads) SDL_GameControllerClose(pad.controller);
    pads.clear();
    if (started) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started = false;
}

Controllers::Pad* Controllers::find(SDL_JoystickID id) {
    for (Pad& pad : pads)
        if (pad.id == id) return &pad;
    return nullptr;
}

void Controllers::added(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) {
        std::fprintf(stderr, "velkaran: the game controller %d cannot be opened: %s\n", deviceIndex, SDL_GetError());
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (find(id)) {  // announced twice (plugged in during start-up): it is open already
        SDL_GameControllerClose(controller);
        return;
    }
    Pad pad;
    pad.controller = controller;
    pad.id = id;
    pads.push_back(pad);
}

void Controllers::release(Pad& pad, InputEvents& out) {
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        if (!pad.held[static_cast<size_t>(b)]) continue;
        pad.held[static_cast<size_t>(b)] = false;
        out.push_back(InputEvent::keyUp(keyOfControllerButton(static_cast<SDL_GameControllerButton>(b))));
    }
    pad.axes.fill(0);
    followSticks(pad, out);
}

// The left stick as the walk keys (and Left Shift when pushed fully), the triggers as
// the mouse buttons. Shift goes down after a walk key and up before them, as a player's
// fingers would: the game only runs with a walk key held when Shift is pressed.
void Controllers::followSticks(Pad& pad, InputEvents& out) {
    const float x = axis(pad.axes[SDL_CONTROLLER_AXIS_LEFTX]);
    const float y = axis(pad.axes[SDL_CONTROLLER_AXIS_LEFTY]);  // up is negative
    static constexpr Key kWalkKeys[4] = {Key::W, Key::S, Key::A, Key::D};
    const float amounts[4] = {-y, y, -x, x};
    std::array<bool, 4> walk{};
    bool anyWalk = false;
    for (size_t k = 0; k < 4; ++k) {
        walk[k] = held(pad.walking[k], amounts[k], kWalkOn, kWalkOff);
        anyWalk = anyWalk || walk[k];
    }
    const bool run = anyWalk && held(pad.running, std::hypot(x, y), kRunOn, kRunOff);

    if (pad.running && !run) out.push_back(InputEvent::keyUp(Key::LShift));
    for (size_t k = 0; k < 4; ++k)
        if (pad.walking[k] && !walk[k]) out.push_back(InputEvent::keyUp(kWalkKeys[k]));
    for (size_t k = 0; k < 4; ++k)
        if (!pad.walking[k] && walk[k]) out.push_back(InputEvent::keyDown(kWalkKeys[k]));
    if (!pad.running && run) out.push_back(InputEvent::keyDown(Key::LShift));
    pad.walking = walk;
    pad.running = run;

    const bool fire = held(pad.firing, axis(pad.axes[SDL_CONTROLLER_AXIS_TRIGGERRIGHT]), kTriggerOn, kTriggerOff);
    const bool scope = held(pad.scoped, axis(pad.axes[SDL_CONTROLLER_AXIS_TRIGGERLEFT]), kTriggerOn, kTriggerOff);
    if (fire != pad.firing)
        out.push_back(fire ? InputEvent::buttonDown(MouseButton::Left) : InputEvent::buttonUp(MouseButton::Left));
    if (scope != pad.scoped)
        out.push_back(scope ? InputEvent::buttonDown(MouseButton::Right) : InputEvent::buttonUp(MouseButton::Right));
    pad.firing = fire;
    pad.scoped = scope;
}

bool Controllers::handle(const SDL_Event& event, InputEvents& out) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            added(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (Pad* pad = find(event.cdevice.which)) {
                release(*pad, out);
                SDL_GameControllerClose(pad->controller);
                pads.erase(pads.begin() + (pad - pads.data()));
            }
            return true;
        case SDL_CONTROLLERDEVICEREMAPPED:
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            Pad* pad = find(event.cbutton.which);
            const auto button = static_cast<SDL_GameControllerButton>(event.cbutton.button);
            const Key key = keyOfControllerButton(button);
            if (!pad || key == Key::Unknown || button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) return true;
            const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
            bool& isHeld = pad->held[static_cast<size_t>(button)];
            if (down == isHeld) return true;
            isHeld = down;
            out.push_back(down ? InputEvent::keyDown(key) : InputEvent::keyUp(key));
            return true;
        }
        case SDL_CONTROLLERAXISMOTION: {
            Pad* pad = find(event.caxis.which);
            if (!pad || event.caxis.axis >= SDL_CONTROLLER_AXIS_MAX) return true;
            pad->axes[event.caxis.axis] = event.caxis.value;
            followSticks(*pad, out);
            return true;
        }
        default:
            return false;
    }
}

void Controllers::look(bool pointerCaptured, int32_t& pointerX, int32_t& pointerY, InputEvents& out) {
    float dx = 0.0f, dy = 0.0f;
    for (Pad& pad : pads) {
        const float x = axis(pad.axes[SDL_CONTROLLER_AXIS_RIGHTX]);
        const float y = axis(pad.axes[SDL_CONTROLLER_AXIS_RIGHTY]);
        const float length = std::hypot(x, y);
        if (!pointerCaptured || length <= kLookDeadZone) {
            pad.restX = pad.restY = 0.0f;
            continue;
        }
        // Squared past the dead zone: a small push aims finely, a full one turns fast.
        const float reach = std::min(1.0f, (length - kLookDeadZone) / (1.0f - kLookDeadZone));
        const float pixels = kFullLookPixels * reach * reach * stickSensitivity / lookScale;
        pad.restX += x / length * pixels;
        pad.restY += (invertY ? -y : y) / length * pixels;
        const float wholeX = std::trunc(pad.restX);
        const float wholeY = std::trunc(pad.restY);
        pad.restX -= wholeX;
        pad.restY -= wholeY;
        dx += wholeX;
        dy += wholeY;
    }
    if (dx == 0.0f && dy == 0.0f) return;
    const auto stepsX = static_cast<int32_t>(std::ceil(std::fabs(dx) / kLookStep));
    const auto stepsY = static_cast<int32_t>(std::ceil(std::fabs(dy) / kLookStep));
    const int32_t steps = std::clamp(std::max(stepsX, stepsY), 1, kMaxLookSteps);
    const int32_t fromX = pointerX, fromY = pointerY;
    const auto totalX = static_cast<int32_t>(dx), totalY = static_cast<int32_t>(dy);
    for (int32_t k = 1; k <= steps; ++k) {
        pointerX = fromX + totalX * k / steps;
        pointerY = fromY + totalY * k / steps;
        out.push_back(InputEvent::motion(pointerX, pointerY));
    }
}
