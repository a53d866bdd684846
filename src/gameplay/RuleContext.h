#pragma once
// What a rule reaches beyond its own records: the shared random engine (every draw
// counts: the same seed and input must give the same game), the sounds, and the
// queue of changes to the drawn world.
#include "gameplay/GameServices.h"
#include "gameplay/WorldRequests.h"

class RandomEngine;

struct RuleContext {
    RandomEngine& random;
    GameServices& services;
    WorldRequests& requests;
};
