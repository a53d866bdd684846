#pragma once
// The keyboard read by position. SDL's scancodes name where a key sits, whatever the
// layout prints on it, so a French or German player walks with the keys where a US
// keyboard has W A S D. The table gives each scancode the rules' key; the settings'
// key_...= lines move the actions to other positions.
#include <SDL.h>

#include <array>
#include <string>
#include <vector>

#include "gameplay/InputEvent.h"
#include "world/PlayerOptions.h"

class KeyBindings {
public:
    // The US positions: W A S D, Left Shift, Space, Q F N M for the actions; Escape,
    // F1, F8, F12 and the menus' Up, Down, Tab, Return (and the keypad's Enter), fixed.
    KeyBindings();

    Key keyOf(SDL_Scancode code) const;
    SDL_Scancode scancodeOf(BoundAction action) const { return actionKeys[static_cast<size_t>(action)]; }

    // Moves the actions to the keys the lines name (SDL's scancode names, in any case).
    // A line is left out, with one line of reason in complaints, when its name is no
    // key, names a fixed key, or a key that another action keeps: an action without a
    // line of its own, or with an earlier line. Swapping two actions takes a line each.
    void rebind(const std::vector<KeyBindingLine>& lines, std::vector<std::string>& complaints);

private:
    void rebuild();

    std::array<SDL_Scancode, kBoundActionCount> actionKeys{};
    std::array<Key, SDL_NUM_SCANCODES> keys{};
};

// The rules' key of each action.
Key keyOfAction(BoundAction action);
