#pragma once
// The states of the main loop. Stored files and the trace print them as numbers, so
// the values are fixed.
#include <cstdint>

enum class GameState : int32_t {
    MainMenu = 100,
    Playing = 101,
    About = 102,
    Credits = 103,
    Quit = 104,
};
