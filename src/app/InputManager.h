#pragma once
// The frame's input: every SDL event of the frame, in arrival order. Consumers read
// the whole list; it is emptied once per frame.
#include <SDL.h>

#include <vector>

class InputManager {
public:
    static InputManager& instance();
    void push(const SDL_Event& event) { events.push_back(event); }
    void clear() { events.clear(); }

    std::vector<SDL_Event> events;

private:
    InputManager() = default;
};

// Mouse capture for play, and its release for the menus.
void captureMouse();
void releaseMouse();
