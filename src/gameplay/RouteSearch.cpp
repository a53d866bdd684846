#include "gameplay/RouteSearch.h"

#include <cfloat>
#include <cmath>
#include <memory>
#include <queue>
#include <vector>

#include "world/ObjectTables.h"

namespace {

constexpr double kUnvisited = static_cast<double>(FLT_MAX);

struct CellRecord {
    int32_t parentRow = -1;
    int32_t parentCol = -1;
    double f = kUnvisited;
    double g = kUnvisited;
    double h = kUnvisited;
};

struct OpenEntry {
    double f;
    int32_t row;
    int32_t col;
};

// Smallest f first, then smallest row, then smallest column. A cell's f only
// ever decreases, so two entries never compare equal.
struct LaterEntry {
    bool operator()(const OpenEntry& a, const OpenEntry& b) const {
        if (a.f != b.f) return a.f > b.f;
        if (a.row != b.row) return a.row > b.row;
        return a.col > b.col;
    }
};

template <typename T>
using Plane = std::array<std::array<T, kWorldSize>, kWorldSize>;

bool insideRange(int32_t v) { return v >= 0 && v < kWorldSize; }

void traceRoute(const Plane<CellRecord>& records, int32_t goalRow, int32_t goalCol, RouteGrid& routeGrid) {
    int32_t row = goalRow, col = goalCol;
    for (;;) {
        routeGrid[row][col] = 1;
        const CellRecord& r = records[row][col];
        if (r.parentRow == row && r.parentCol == col) break;
        row = r.parentRow;
        col = r.parentCol;
    }
}

void layTrail(WorldCells& grid, const RouteGrid& routeGrid, int32_t markKind, const RemoveCellInstance& removeInstance) {
    for (int32_t i = 0; i < kWorldSize; ++i) {
        for (int32_t j = 0; j < kWorldSize; ++j) {
            WorldCell& c = grid[i][j];
            if (c.routeMark == 0) continue;
            if (removeInstance) removeInstance(i, j);  // while the cell still says which list holds it
            c.objectType = 0;
            c.routeMark = 0;
            c.interactive = false;
            c.visible = false;
        }
    }
    for (int32_t i = 0; i < kWorldSize; ++i) {
        for (int32_t j = 0; j < kWorldSize; ++j) {
            WorldCell& c = grid[i][j];
            c.routeMark = 0;
            if (routeGrid[j][i] == 1 && c.objectType == 0) {
                c.objectType = markKind;
                c.routeMark = markKind;
                c.isBlock = true;
                c.interactive = true;
                c.visible = true;
            }
        }
    }
}

}  // namespace


bool findRoute(WorldCells& grid, int32_t startX, int32_t startZ, int32_t goalX, int32_t goalZ, bool strict, bool mark,
               int32_t markKind, RouteGrid& routeGrid, const RemoveCellInstance& removeInstance) {
    const Passage passage = strict ? Passage::Strict : Passage::GatesOpen;
    for (auto& row : routeGrid) row.fill(0);

    if (!insideRange(startX) || !insideRange(startZ) || !insideRange(goalX) || !insideRange(goalZ)) return false;
    auto walkable = [&](int32_t row, int32_t col) { return isPassable(grid[col][row], passage); };
    if (!walkable(startZ, startX) || !walkable(goalZ, goalX)) return false;
    if (startX == goalX && startZ == goalZ) return false;

    // Large enough to live off the stack comfortably.
    auto records = std::make_unique<Plane<CellRecord>>();
    Plane<bool> closed{};
    std::priority_queue<OpenEntry, std::vector<OpenEntry>, LaterEntry> open;

    CellRecord& first = (*records)[startZ][startX];
    first = {startZ, startX, 0.0, 0.0, 0.0};
    open.push({0.0, startZ, startX});

    struct Step {
        int32_t dRow, dCol;
    };
    constexpr Step kSteps[4] = {{-1, 0}, {1, 0}, {0, 1}, {0, -1}};

    while (!open.empty()) {
        const OpenEntry current = open.top();
        open.pop();
        closed[current.row][current.col] = true;
        const double currentG = (*records)[current.row][current.col].g;

        for (const Step& s : kSteps) {
            const int32_t row = current.row + s.dRow, col = current.col + s.dCol;
            if (!insideRange(row) || !insideRange(col)) continue;
            CellRecord& next = (*records)[row][col];
            if (row == goalZ && col == goalX) {
                next.parentRow = current.row;
                next.parentCol = current.col;
                traceRoute(*records, goalZ, goalX, routeGrid);
                if (mark) layTrail(grid, routeGrid, markKind, removeInstance);
                return true;
            }
            if (closed[row][col] || !walkable(row, col)) continue;
            const double g = currentG + 1.0;
            const double dr = row - goalZ, dc = col - goalX;
            const double h = std::sqrt(dr * dr + dc * dc);
            const double f = g + h;
            if (next.f == kUnvisited || f < next.f) {
                open.push({f, row, col});
                next = {current.row, current.col, f, g, h};
            }
        }
    }
    return false;
}
