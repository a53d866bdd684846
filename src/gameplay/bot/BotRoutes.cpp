#include "gameplay/bot/BotRoutes.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <tuple>

#include "world/ObjectTables.h"

namespace bot {

namespace {

bool holds(const Passkeys& keys, int32_t itemId) {
    switch (itemId) {
    case item::KeyRed: return keys.redKey;
    case item::KeyGreen: return keys.greenKey;
    case item::KeyYellow: return keys.yellowKey;
    case item::BlueRepellent: return keys.repellent;
    case item::RedInductor: return keys.inductor;
    default: return false;
    }
}

bool isHazard(int32_t objectType) { return objectType >= item::Stalagmites && objectType <= item::LavaPlantTall; }

bool isForceField(int32_t objectType) {
    return objectType >= item::ForceFieldYellow && objectType <= item::ForceFieldRed;
}

constexpr GridCell kNeighbourSteps[4] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};
constexpr GridCell kDiagonalSteps[4] = {{1, -1}, {1, 1}, {-1, 1}, {-1, -1}};

}  // namespace

void give(Passkeys& keys, int32_t opener) {
    switch (opener) {
    case item::KeyRed: keys.redKey = true; break;
    case item::KeyGreen: keys.greenKey = true; break;
    case item::KeyYellow: keys.yellowKey = true; break;
    case item::BlueRepellent: keys.repellent = true; break;
    case item::RedInductor: keys.inductor = true; break;
    default: break;
    }
}

Passkeys passkeysFor(uint32_t openers, int32_t safeForceField) {
    Passkeys keys;
    for (size_t k = 0; k < kLockOpeners.size(); ++k) {
        if ((openers & (1u << k)) != 0) give(keys, kLockOpeners[k]);
    }
    keys.safeForceField = safeForceField;
    return keys;
}

int32_t itemOpening(int32_t objectType) {
    if (isGate(objectType)) return item::KeyRed + (objectType - item::FirstGate) / 2;
    if (objectType == item::WormAlien) return item::BlueRepellent;
    if (objectType == item::RuneMonolith) return item::RedInductor;
    return 0;
}

int32_t stepCost(const WorldCell& cell, const Passkeys& keys) {
    // Objects only count while they are there to be touched: a hidden one is scenery.
    const bool live = cell.objectType != 0 && cell.visible && cell.interactive;
    if (cell.blocksMovement) {
        if (cell.isBlock) return 0;
        const int32_t opener = itemOpening(cell.objectType);
        return live && opener != 0 && holds(keys, opener) ? kLockStep : 0;
    }
    if (live && !cell.isBlock) {
        if (isForceField(cell.objectType)) return cell.objectType == keys.safeForceField ? kPlainStep : 0;
        if (isHazard(cell.objectType)) return kHazardStep;
    }
    // A teleport is a wall block; anything else that lets the player in is plain ground.
    return kPlainStep;
}

void RouteMap::search(const WorldCells& grid, const Passkeys& keys, GridCell from) {
    start = from;
    for (int i = 0; i < kWorldSize; ++i) {
        for (int j = 0; j < kWorldSize; ++j) {
            step[i][j] = stepCost(grid[i][j], keys);
            cost[i][j] = kUnreachable;
            parent[i][j] = GridCell{-1, -1};
        }
    }
    if (!insideWorld(start.i, start.j)) return;
    // (cost, i, j): equal costs settle in a fixed order, so one grid gives one route.
    using Entry = std::tuple<int32_t, int32_t, int32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    cost[start.i][start.j] = 0;
    parent[start.i][start.j] = start;
    open.emplace(0, start.i, start.j);
    auto relax = [&](int32_t i, int32_t j, int32_t ni, int32_t nj, int32_t next) {
        if (next < cost[ni][nj]) {
            cost[ni][nj] = next;
            parent[ni][nj] = GridCell{i, j};
            open.emplace(next, ni, nj);
        }
    };
    while (!open.empty()) {
        const auto [c, i, j] = open.top();
        open.pop();
        if (c != cost[i][j]) continue;
        for (const GridCell& d : kNeighbourSteps) {
            const int32_t ni = i + d.i;
            const int32_t nj = j + d.j;
            if (!insideWorld(ni, nj) || step[ni][nj] == 0) continue;
            relax(i, j, ni, nj, c + step[ni][nj]);
        }
        // A diagonal step cuts the corner between two cells, so both must be plain
        // ground; it costs the diagonal's length.
        for (const GridCell& d : kDiagonalSteps) {
            const int32_t ni = i + d.i;
            const int32_t nj = j + d.j;
            if (!insideWorld(ni, nj) || step[ni][nj] != kPlainStep || step[ni][j] != kPlainStep ||
                step[i][nj] != kPlainStep)
                continue;
            relax(i, j, ni, nj, c + kDiagonalStep);
        }
    }
}

bool RouteMap::touchFrom(GridCell goal, GridCell& from, int32_t& total) const {
    total = kUnreachable;
    for (const GridCell& d : kNeighbourSteps) {
        const GridCell n{goal.i + d.i, goal.j + d.j};
        if (!insideWorld(n.i, n.j) || cost[n.i][n.j] == kUnreachable) continue;
        if (cost[n.i][n.j] + kPlainStep < total) {
            total = cost[n.i][n.j] + kPlainStep;
            from = n;
        }
    }
    return total != kUnreachable;
}

int32_t RouteMap::costTo(GridCell goal) const {
    if (!insideWorld(goal.i, goal.j)) return kUnreachable;
    if (cost[goal.i][goal.j] != kUnreachable) return cost[goal.i][goal.j];
    GridCell from{};
    int32_t total = kUnreachable;
    touchFrom(goal, from, total);
    return total;
}

std::vector<GridCell> RouteMap::routeTo(GridCell goal) const {
    std::vector<GridCell> route;
    if (!insideWorld(goal.i, goal.j)) return route;
    GridCell last = goal;
    if (cost[goal.i][goal.j] == kUnreachable) {
        int32_t total = kUnreachable;
        if (!touchFrom(goal, last, total)) return route;
        route.push_back(goal);
    }
    for (GridCell c = last;; c = parent[c.i][c.j]) {
        route.push_back(c);
        if (c == start) break;
    }
    std::reverse(route.begin(), route.end());
    return route;
}

}  // namespace bot
