#pragma once
// The frame's input as the rules see it: every event of the frame that the game reacts
// to, in arrival order, translated from SDL's at the edge (or read from a script).
// Consumers read the whole list; it is emptied once per frame.
#include <SDL.h>

#include <optional>
#include <vector>

#include "gameplay/InputEvent.h"

class InputManager {
public:
    static InputManager& instance();
    // A window-system event, translated.
    void push(const SDL_Event& event);
    // A scripted event.
    void push(const InputEvent& event);
    void clear() { events.clear(); }

    InputEvents events;

    // The pointer as the rules see it. While the mouse is captured SDL stops the
    // reported position at the window's edge, so the position follows the relative
    // motion instead: the player can turn round as often as they like.
    int32_t pointerX = 0;
    int32_t pointerY = 0;

private:
    InputManager() = default;
};

// The rules' key for a window-system key symbol.
Key keyOf(SDL_Keycode sym);
// The rules' view of one event; nothing for events they do not react to.
std::optional<InputEvent> translate(const SDL_Event& event, bool relativeMode, int32_t& pointerX, int32_t& pointerY);

// Mouse capture for play, and its release for the menus.
void captureMouse();
void releaseMouse();
