#pragma once
// Route search over the world grid: an A* search on whole cells with four
// neighbours and unit steps, with fixed tie-breaks so that one grid always
// gives one route. The yes-or-no questions ("can this cell be reached at all?")
// are the world's own (world/Reachability.h).
#include <array>
#include <cstdint>
#include <functional>

#include "world/Reachability.h"
#include "world/WorldGrid.h"

// Indexed [row z][column x]; 1 on the cells of the last route found.
using RouteGrid = std::array<std::array<int32_t, kWorldSize>, kWorldSize>;

// Removes the world instance of cell (i, j) at once; the renderer side fills it in.
using RemoveCellInstance = std::function<void(int32_t i, int32_t j)>;

// A* from (startX, startZ) to (goalX, goalZ) over grid. strict = false lets
// the route pass closed jail gates. When mark is set and a route is found, the
// previous trail is removed (through removeInstance) and the empty cells of the
// new route get trail marks of markKind. routeGrid is cleared on every call and
// holds the route on success.
bool findRoute(WorldCells& grid, int32_t startX, int32_t startZ, int32_t goalX, int32_t goalZ, bool strict, bool mark,
               int32_t markKind, RouteGrid& routeGrid, const RemoveCellInstance& removeInstance = {});
