#pragma once
// The scanner (key N): the way to a mission target still to be collected, laid out as a
// trail of marks over the world grid. And where a teleport may send the player.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gameplay/Player.h"
#include "gameplay/RouteSearch.h"
#include "world/Placement.h"
#include "world/WorldInstances.h"

struct ScannerWorld {
    WorldCells& grid;
    const std::vector<ScannerTarget>& targets;
    bool hiyuraReachable;
    WorldInstances& instances;
    const GroundHeight& ground;
    ModelLoader& models;
    RouteGrid& routeGrid;
};

// Uses one scanner card when a route to a candidate target is found; the trail's
// instances are created at once. Returns the report for the message line; empty when
// there is none (no route found: silent, and the card is kept).
std::string useScanner(Player& player, ScannerWorld world, GameServices& services, RandomEngine& random);

// A free cell reachable from the start area without passing a jail gate, from the
// empty-floor cell search. Empty when the bounded search gives up (with one line on
// standard error); a real fortress never gets there.
std::optional<GridCell> chooseTeleportDestination(WorldCells& grid, RandomEngine& random);
