#pragma once
// The frame's input: every SDL event of the frame, in arrival order, and the same
// events as the rules see them. Consumers read the whole list; it is emptied once per
// frame.
#include <SDL.h>

#include <optional>
#include <vector>

#include "gameplay/InputEvent.h"

class InputManager {
public:
    static InputManager& instance();
    // A window-system event, with its translation for the rules.
    void push(const SDL_Event& event);
    // A scripted event, with the window-system event it stands for.
    void push(const InputEvent& event);
    void clear() {
        events.clear();
        gameEvents.clear();
    }

    std::vector<SDL_Event> events;
    InputEvents gameEvents;

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
SDL_Keycode symbolOf(Key key);
// The rules' view of one event; nothing for events they do not react to.
std::optional<InputEvent> translate(const SDL_Event& event, bool relativeMode, int32_t& pointerX, int32_t& pointerY);
SDL_Event toSdlEvent(const InputEvent& event);

// Mouse capture for play, and its release for the menus.
void captureMouse();
void releaseMouse();
