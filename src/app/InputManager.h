#pragma once
// The frame's input as the rules see it: every event of the frame that the game reacts
// to, in arrival order, translated from SDL's at the edge (or read from a script).
// Consumers read the whole list; it is emptied once per frame.
#include <SDL.h>

#include <optional>
#include <vector>

#include "app/Controllers.h"
#include "app/KeyBindings.h"
#include "gameplay/InputEvent.h"

// How the edge reads the keyboard and the mouse: the keys by position through the
// bindings, and the vertical sense of the captured mouse.
struct EdgeSettings {
    KeyBindings keys;
    bool invertY = false;  // invert_y=: the captured pointer's vertical motion turned round
};
// The US positions, the mouse as it moves.
const EdgeSettings& defaultEdgeSettings();

class InputManager {
public:
    static InputManager& instance();
    // A window-system event, translated (a controller's through the controllers).
    void push(const SDL_Event& event);
    // A scripted event.
    void push(const InputEvent& event);
    // The controllers' part of a frame: the right stick's look.
    void controllersFrame();
    void clear() { events.clear(); }

    InputEvents events;
    EdgeSettings settings;
    Controllers controllers;

    // The pointer as the rules see it. While the mouse is captured SDL stops the
    // reported position at the window's edge, so the position follows the relative
    // motion instead: the player can turn round as often as they like.
    int32_t pointerX = 0;
    int32_t pointerY = 0;

private:
    InputManager() = default;
};

// The rules' view of one keyboard, mouse or window event; nothing for events they do
// not react to.
std::optional<InputEvent> translate(const SDL_Event& event, bool relativeMode, int32_t& pointerX, int32_t& pointerY,
                                    const EdgeSettings& settings = defaultEdgeSettings());

// Mouse capture for play, and its release for the menus.
void captureMouse();
void releaseMouse();
// After a modal box of our own: the focus it took from the window comes back, and is no
// player leaving the game.
void takeFocusBack();
