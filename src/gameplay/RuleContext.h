#pragma once
// What a rule reaches beyond its own records: the game's random engine (every draw
// counts: the same seed and input must give the same game), the sounds, the queue of
// changes to the drawn world, and the game's world grid.
#include "gameplay/GameServices.h"
#include "gameplay/WorldRequests.h"
#include "world/WorldGrid.h"

class RandomEngine;

struct RuleContext {
    RandomEngine& random;
    GameServices& services;
    WorldRequests& requests;
    WorldCells& grid;
};
