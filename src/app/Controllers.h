#pragma once
// Game controllers through SDL's game-controller API, whose mapping database knows
// the common pads (SDL_GAMECONTROLLERCONFIG and SDL_GAMECONTROLLERCONFIG_FILE add
// more), plugged in and out at any time. They enter the game as the keyboard's and the
// mouse's events do: the left stick holds the walk keys (pushed fully it runs too), the
// right stick turns the view as the captured pointer does, the triggers are the mouse
// buttons and the face buttons keys. So the rules, a script and the headless game play
// a controller's game without knowing a controller was there.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <vector>

#include "gameplay/InputEvent.h"

class Controllers {
public:
    Controllers() = default;
    Controllers(const Controllers&) = delete;
    Controllers& operator=(const Controllers&) = delete;

    // Starts SDL's game-controller part; the pads already plugged in arrive as added
    // events. False, after one line on standard error, when SDL cannot.
    bool start();
    // Closes the pads and the game-controller part (before SDL itself is shut down).
    void stop();

    // A controller's event of SDL, translated into out; false for any other event.
    bool handle(const SDL_Event& event, InputEvents& out);
    // Once a frame, after the frame's events: the right stick's turn as pointer motion
    // while the pointer is captured (in play), the pointer moved as the mouse would.
    void look(bool pointerCaptured, int32_t& pointerX, int32_t& pointerY, InputEvents& out);

    size_t connected() const { return pads.size(); }

    // The look: stick_sensitivity= and invert_y= of the settings, and the view's own
    // factor (mouse_sensitivity=), which the stick's speed does not follow.
    float stickSensitivity = 1.0f;
    bool invertY = false;
    float lookScale = 1.0f;

private:
    struct Pad {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
        std::array<int16_t, SDL_CONTROLLER_AXIS_MAX> axes{};
        std::array<bool, SDL_CONTROLLER_BUTTON_MAX> held{};  // buttons whose key is down
        std::array<bool, 4> walking{};                        // forward, back, left, right
        bool running = false;
        bool firing = false;
        bool scoped = false;
        float restX = 0.0f;  // the stick's turn below a whole pixel, carried to the next frame
        float restY = 0.0f;
    };
    Pad* find(SDL_JoystickID id);
    void added(int deviceIndex);
    // What the pad holds down, let go: a pad pulled out mid-run must not walk on.
    static void release(Pad& pad, InputEvents& out);
    static void followSticks(Pad& pad, InputEvents& out);

    std::vector<Pad> pads;
    bool started = false;
};

// The rules' key of a controller button (Key::Unknown for the buttons the game leaves alone).
Key keyOfControllerButton(SDL_GameControllerButton button);
