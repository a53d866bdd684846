#pragma once
// Which cells of the world grid a walker can reach: the passage rules and one flood
// fill per question. Placement asks it while furnishing; the route search walks by the
// same rules.
#include <array>

#include "world/WorldGrid.h"

// Which cells a walker may enter.
enum class Passage {
    Strict,        // only cells that do not block movement
    GatesOpen,     // jail gates count as open too
    AllLocksOpen,  // gates, the worm and the monolith: a player holding every key item
};

bool isPassable(const WorldCell& cell, Passage passage);

// Every cell reachable from a start cell by four-neighbour steps over
// passable cells, computed once for a fixed grid. withinPlayerBand keeps the walk
// inside the cells the player can stand in (2 ... 70).
class ReachableArea {
public:
    ReachableArea(const WorldCells& grid, GridCell start, Passage passage, bool withinPlayerBand = false);

    bool contains(GridCell c) const { return insideWorld(c.i, c.j) && reached[c.i][c.j]; }
    // The yes/no answer of findRoute(start, goal) for the same passage rule:
    // false for the start itself and for a goal that cannot be entered.
    bool routeExists(GridCell goal) const;
    // Reachable, or a blocked cell that can be walked into from a reachable
    // neighbour (the player touches a blocked cell by bumping into it).
    bool touchable(GridCell c) const;

private:
    const WorldCells& grid;
    GridCell start;
    Passage passage;
    bool playerBandOnly = false;
    std::array<std::array<bool, kWorldSize>, kWorldSize> reached{};
};
