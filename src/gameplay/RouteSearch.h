#pragma once
// Route search over the world grid: an A* search on whole cells with four
// neighbours and unit steps, with fixed tie-breaks so that one grid always
// gives one route; and a plain flood fill for questions that only need a yes
// or no ("can this cell be reached from the start at all?").
#include <array>
#include <cstdint>
#include <functional>

#include "world/WorldGrid.h"

// Indexed [row z][column x]; 1 on the cells of the last route found.
using RouteGrid = std::array<std::array<int32_t, kWorldSize>, kWorldSize>;

// Removes the world instance of cell (i, j) at once; the renderer side fills it in.
using RemoveCellInstance = std::function<void(int32_t i, int32_t j)>;

// A* from (startX, startZ) to (goalX, goalZ) over worldGrid. strict = false lets
// the route pass closed jail gates. When mark is set and a route is found, the
// previous trail is removed (through removeInstance) and the empty cells of the
// new route get trail marks of markKind. routeGrid is cleared on every call and
// holds the route on success.
bool findRoute(int32_t startX, int32_t startZ, int32_t goalX, int32_t goalZ, bool strict, bool mark, int32_t markKind,
               RouteGrid& routeGrid, const RemoveCellInstance& removeInstance = {});

// Which cells a walker may enter.
enum class Passage {
    Strict,        // only cells that do not block movement
    GatesOpen,     // jail gates count as open too
    AllLocksOpen,  // gates, the worm and the monolith: a player holding every key item
};

bool isPassable(const WorldCell& cell, Passage passage);

// Every cell reachable from a start cell by four-neighbour steps over
// passable cells, computed once for a fixed grid.
class ReachableArea {
public:
    ReachableArea(const WorldCells& grid, GridCell start, Passage passage);

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
    std::array<std::array<bool, kWorldSize>, kWorldSize> reached{};
};
