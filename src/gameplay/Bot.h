#pragma once
// The automatic player: plays the mission through input events alone, as a person
// would with the keyboard and the mouse. It reads the world grid, the player and the
// mission's state to decide, and never changes them.
#include <cstdint>
#include <memory>

#include "gameplay/InputEvent.h"

class Session;

class Bot {
public:
    Bot();
    ~Bot();
    Bot(const Bot&) = delete;
    Bot& operator=(const Bot&) = delete;

    // The events of the next frame.
    InputEvents nextFrame(const Session& session, float dt);

private:
    struct Plan;
    std::unique_ptr<Plan> plan;
};
