#include "world/Reachability.h"

#include <vector>

#include "world/ObjectTables.h"

bool isPassable(const WorldCell& cell, Passage passage) {
    if (!cell.blocksMovement) return true;
    switch (passage) {
        case Passage::Strict: return false;
        case Passage::GatesOpen: return isGate(cell.objectType);
        case Passage::AllLocksOpen:
            return !cell.isBlock && (isGate(cell.objectType) || cell.objectType == item::WormAlien ||
                                     cell.objectType == item::RuneMonolith);
    }
    return false;
}

ReachableArea::ReachableArea(const WorldCells& cells, GridCell from, Passage rule, bool withinPlayerBand)
    : grid(cells), start(from), passage(rule), playerBandOnly(withinPlayerBand) {
    if (insideWorld(start.i, start.j) && isPassable(grid[start.i][start.j], passage)) {
        std::vector<GridCell> stack{start};
        reached[start.i][start.j] = true;
        while (!stack.empty()) {
            const GridCell c = stack.back();
            stack.pop_back();
            const GridCell around[4] = {{c.i, c.j - 1}, {c.i, c.j + 1}, {c.i + 1, c.j}, {c.i - 1, c.j}};
            for (const GridCell& n : around) {
                if (!insideWorld(n.i, n.j) || (playerBandOnly && !insidePlayerBand(n.i, n.j)) ||
                    reached[n.i][n.j] || !isPassable(grid[n.i][n.j], passage))
                    continue;
                reached[n.i][n.j] = true;
                stack.push_back(n);
            }
        }
    }
}

bool ReachableArea::routeExists(GridCell goal) const {
    if (goal == start || !insideWorld(goal.i, goal.j)) return false;
    return isPassable(grid[goal.i][goal.j], passage) && contains(goal);
}

bool ReachableArea::touchable(GridCell c) const {
    if (contains(c)) return true;
    if (!insideWorld(c.i, c.j)) return false;
    const GridCell around[4] = {{c.i, c.j - 1}, {c.i, c.j + 1}, {c.i + 1, c.j}, {c.i - 1, c.j}};
    for (const GridCell& n : around) {
        if (contains(n)) return true;
    }
    return false;
}
