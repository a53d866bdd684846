#include <gtest/gtest.h>

#include <vector>

#include "fortress_testing.h"
#include "gameplay/RouteSearch.h"

using fortress_testing::freshWorld;
using fortress_testing::makeWall;

class RouteSearch : public fortress_testing::GridTest {};

namespace {

int routeLength(const RouteGrid& g) {
    int n = 0;
    for (const auto& row : g) {
        for (int32_t v : row) n += v;
    }
    return n;
}

RouteGrid filledRouteGrid() {
    RouteGrid g;
    for (auto& row : g) row.fill(1);
    return g;
}

void placeObject(WorldCells& grid, int i, int j, int32_t id, bool blocks) {
    WorldCell& c = grid[i][j];
    c.objectType = id;
    c.isBlock = false;
    c.visible = true;
    c.blocksMovement = blocks;
}

}  // namespace

TEST_F(RouteSearch, FailsAtOnceAndLeavesTheRouteGridClear) {
    struct Case {
        const char* name;
        int32_t sx, sz, gx, gz;
    };
    const Case cases[] = {
        {"start is the goal", 5, 5, 5, 5},
        {"start outside", -1, 5, 8, 8},
        {"goal outside", 5, 5, 72, 8},
        {"start blocked", 10, 10, 20, 20},
        {"goal blocked", 20, 20, 10, 10},
        {"walled in", 30, 30, 40, 40},
    };
    makeWall(grid, 10, 10);
    for (auto [i, j] : {std::pair{29, 30}, {31, 30}, {30, 29}, {30, 31}}) makeWall(grid, i, j);
    for (const Case& c : cases) {
        RouteGrid g = filledRouteGrid();
        EXPECT_FALSE(findRoute(grid, c.sx, c.sz, c.gx, c.gz, true, false, 0, g)) << c.name;
        EXPECT_EQ(routeLength(g), 0) << c.name;
    }
}

TEST_F(RouteSearch, EqualCostsAreSettledBySmallerRowThenColumn) {
    struct Case {
        const char* name;
        bool wallIsRow;          // a wall along a row (true) or a column, at index 10
        GridCell start, goal;
        GridCell taken, avoided;  // the two mirror-image gaps
    };
    const Case cases[] = {
        {"gaps in a row", true, {10, 5}, {10, 15}, {8, 10}, {12, 10}},
        {"gaps in a row, walking north", true, {10, 15}, {10, 5}, {8, 10}, {12, 10}},
        {"gaps in a column", false, {5, 10}, {15, 10}, {10, 8}, {10, 12}},
        {"gaps in a column, walking west", false, {15, 10}, {5, 10}, {10, 8}, {10, 12}},
    };
    for (const Case& c : cases) {
        freshWorld(grid);
        for (int k = 0; k < kWorldSize; ++k) {
            if (c.wallIsRow && k != 8 && k != 12) makeWall(grid, k, 10);
            if (!c.wallIsRow && k != 8 && k != 12) makeWall(grid, 10, k);
        }
        RouteGrid g{};
        ASSERT_TRUE(findRoute(grid, c.start.i, c.start.j, c.goal.i, c.goal.j, true, false, 0, g)) << c.name;
        EXPECT_EQ(g[c.taken.j][c.taken.i], 1) << c.name;
        EXPECT_EQ(g[c.avoided.j][c.avoided.i], 0) << c.name;
        EXPECT_EQ(g[c.start.j][c.start.i], 1);
        EXPECT_EQ(g[c.goal.j][c.goal.i], 1);
        EXPECT_EQ(routeLength(g), 15) << "a shortest route: 14 steps, start and goal included";
    }
}

TEST_F(RouteSearch, RowComesBeforeColumnInTies) {
    // On open ground from (10, 10) to (14, 14) the first two candidates, one
    // step east and one step south, have the same cost; the one in the smaller
    // row (one step east, row 10) is expanded first and becomes the parent.
    RouteGrid g{};
    ASSERT_TRUE(findRoute(grid, 10, 10, 14, 14, true, false, 0, g));
    EXPECT_EQ(g[10][11], 1);
    EXPECT_EQ(g[11][10], 0);
    EXPECT_EQ(routeLength(g), 9);
}

TEST_F(RouteSearch, OnlyTheLenientSearchPassesClosedGates) {
    struct Case {
        int32_t objectType;
        bool strictFinds, lenientFinds;
    };
    const Case cases[] = {
        {41, false, true}, {42, false, true}, {46, false, true},
        {35, false, false},  // the worm is no gate
        {37, false, false},  // nor is the monolith
    };
    for (const Case& c : cases) {
        freshWorld(grid);
        // A one-cell corridor along row 20 from column 10 to 30, closed at 20.
        for (int i = 9; i <= 31; ++i) {
            makeWall(grid, i, 19);
            makeWall(grid, i, 21);
        }
        makeWall(grid, 9, 20);
        makeWall(grid, 31, 20);
        placeObject(grid, 20, 20, c.objectType, true);
        for (int i = 0; i < kWorldSize; ++i) {
            for (int j = 0; j < kWorldSize; ++j) {
                if (j < 19 || j > 21) grid[i][j].blocksMovement = true;  // nothing around the corridor
            }
        }
        RouteGrid g{};
        EXPECT_EQ(findRoute(grid, 10, 20, 30, 20, true, false, 0, g), c.strictFinds) << c.objectType;
        EXPECT_EQ(findRoute(grid, 10, 20, 30, 20, false, false, 0, g), c.lenientFinds) << c.objectType;
        if (c.lenientFinds) {
            EXPECT_EQ(g[20][20], 1) << "the route runs through the gate";
        }
    }
}

TEST_F(RouteSearch, MarkingReplacesTheOldTrailAndSkipsCellsWithObjects) {
    placeObject(grid, 5, 9, 8, false);  // a cloaking node at the goal
    std::vector<GridCell> removed;
    auto remove = [this, &removed](int32_t i, int32_t j) {
        // Called while the cell still tells which instance list holds its object.
        EXPECT_TRUE(grid[i][j].isBlock);
        EXPECT_NE(grid[i][j].routeMark, 0);
        removed.push_back({i, j});
    };

    RouteGrid g{};
    ASSERT_TRUE(findRoute(grid, 5, 5, 5, 9, false, true, 1, g, remove));
    for (int j = 5; j <= 8; ++j) {
        const WorldCell& c = grid[5][j];
        EXPECT_EQ(c.routeMark, 1);
        EXPECT_EQ(c.objectType, 1);
        EXPECT_TRUE(c.isBlock && c.visible && c.interactive) << "row " << j << ", the start cell included";
    }
    EXPECT_EQ(grid[5][9].objectType, 8) << "the goal keeps its object and carries no mark";
    EXPECT_EQ(grid[5][9].routeMark, 0);
    EXPECT_TRUE(removed.empty());

    ASSERT_TRUE(findRoute(grid, 20, 20, 24, 20, false, true, 2, g, remove));
    EXPECT_EQ(removed.size(), 4u);
    for (int j = 5; j <= 8; ++j) {
        const WorldCell& c = grid[5][j];
        EXPECT_EQ(c.routeMark, 0);
        EXPECT_EQ(c.objectType, 0);
        EXPECT_FALSE(c.visible || c.interactive);
    }
    for (int i = 20; i <= 24; ++i) EXPECT_EQ(grid[i][20].routeMark, 2);

    // A failed search clears the route grid but keeps the trail.
    makeWall(grid, 40, 40);
    removed.clear();
    EXPECT_FALSE(findRoute(grid, 20, 20, 40, 40, false, true, 3, g, remove));
    EXPECT_EQ(routeLength(g), 0);
    EXPECT_TRUE(removed.empty());
    for (int i = 20; i <= 24; ++i) EXPECT_EQ(grid[i][20].routeMark, 2);
}

TEST_F(RouteSearch, FloodFillAnswersLikeTheStrictSearch) {
    for (uint32_t seed : {67u, 2059u}) {
        auto setup = fortress_testing::build(seed);
        grid = setup->initialWorld;
        const ReachableArea area(grid, kStartCell, Passage::Strict);
        int reachable = 0;
        RouteGrid g{};
        for (int i = 0; i < kWorldSize; ++i) {
            for (int j = (i % 3); j < kWorldSize; j += 3) {
                const bool found = findRoute(grid, kStartCell.i, kStartCell.j, i, j, true, false, 0, g);
                ASSERT_EQ(area.routeExists({i, j}), found) << "seed " << seed << " cell " << i << "," << j;
                reachable += found;
            }
        }
        EXPECT_GT(reachable, 300) << "the comparison covers a real share of the fortress";
    }
}
