#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fortress_testing.h"
#include "util/Random.h"
#include "world/FortressMap.h"

namespace {

// A map with the given rows as tile codes (one digit per cell) and no styles.
FortressMap mapFromRows(const std::vector<std::string>& rows) {
    FortressMap m;
    m.height = static_cast<int32_t>(rows.size());
    m.width = static_cast<int32_t>(rows[0].size());
    for (const std::string& row : rows) {
        for (char ch : row) m.tiles.push_back(static_cast<FortressTile>(ch - '0'));
    }
    m.wallStyles.assign(m.tiles.size(), 0);
    return m;
}

std::vector<std::string> rowsOf(const FortressMap& m) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < m.height; ++y) {
        std::string row;
        for (int32_t x = 0; x < m.width; ++x) row += static_cast<char>('0' + static_cast<int32_t>(m.tile(x, y)));
        rows.push_back(row);
    }
    return rows;
}

// The value rand() gives after `skipped` draws from a fresh seed.
int randAfter(uint32_t seed, int skipped) {
    CrtRand sequence(seed);
    for (int k = 0; k < skipped; ++k) sequence.rand();
    return sequence.rand();
}

}  // namespace

TEST(FortressGenerator, FailedCarvesStillConsumeTheirDraws) {
    FortressMap full = mapFromRows(std::vector<std::string>(12, std::string(12, '1')));
    full.random.srand(4242);
    EXPECT_FALSE(full.carveRoom(6, 6, 8, 6, North));
    const int afterRoom = full.random.rand();
    EXPECT_EQ(afterRoom, randAfter(4242, 3)) << "a room draws x length, y length and style before testing";

    full.random.srand(4242);
    EXPECT_FALSE(full.carveCorridor(6, 6, 6, East));
    const int afterCorridor = full.random.rand();
    EXPECT_EQ(afterCorridor, randAfter(4242, 1)) << "a corridor draws its length before testing";
    EXPECT_EQ(rowsOf(full), std::vector<std::string>(12, std::string(12, '1'))) << "a failed carve changes nothing";
}

TEST(FortressGenerator, RoomRectangleFollowsTheDirection) {
    // Rectangle bounds per direction for a room of xLength by yLength grown from (x, y).
    struct Case {
        int32_t direction;
        int32_t firstX, lastX, firstY, lastY;  // as offsets from x, y given xl, yl below
    };
    const uint32_t seed = 99;
    CrtRand sequence(seed);
    const int32_t xl = sequence.rand() % 5 + 4, yl = sequence.rand() % 3 + 4, style = sequence.rand() % 4 + 4;
    const int32_t x = 15, y = 15;
    const Case cases[] = {
        {North, x - xl / 2, x + (xl + 1) / 2 - 1, y - yl + 1, y},
        {East, x, x + xl - 1, y - yl / 2, y + (yl + 1) / 2 - 1},
        {South, x - xl / 2, x + (xl + 1) / 2 - 1, y, y + yl - 1},
        {West, x - xl + 1, x, y - yl / 2, y + (yl + 1) / 2 - 1},
        {7, x - xl / 2, x + (xl + 1) / 2 - 1, y - yl + 1, y},  // out of range counts as north
    };
    for (const Case& c : cases) {
        FortressMap m = mapFromRows(std::vector<std::string>(30, std::string(30, '0')));
        m.random.srand(seed);
        ASSERT_TRUE(m.carveRoom(x, y, 8, 6, c.direction));
        for (int32_t cy = 0; cy < 30; ++cy) {
            for (int32_t cx = 0; cx < 30; ++cx) {
                const bool inside = cx >= c.firstX && cx <= c.lastX && cy >= c.firstY && cy <= c.lastY;
                const bool edge = inside && (cx == c.firstX || cx == c.lastX || cy == c.firstY || cy == c.lastY);
                const FortressTile expected = !inside ? FortressTile::Empty : edge ? FortressTile::Wall : FortressTile::Floor;
                ASSERT_EQ(m.tile(cx, cy), expected) << "direction " << c.direction << " at " << cx << "," << cy;
                ASSERT_EQ(m.wallStyle(cx, cy), edge ? style : 0);
            }
        }
        EXPECT_EQ(m.tile(x, y), FortressTile::Wall) << "the start cell lies on the room's edge";
    }
}

TEST(FortressGenerator, CleanUpPassesWorkInPlaceAndStopAfterThree) {
    struct Case {
        const char* name;
        std::vector<std::string> before, after;
    };
    const Case cases[] = {
        // Open end in the east: each pass melts one more cell from that end.
        {"east end open",
         {"3333333333", "3111111113", "3144444403", "3111111113", "3333333333"},
         {"3333333333", "3111111113", "3144400003", "3111111113", "3333333333"}},
        // Open end in the west: the melting runs with the scan, all in the first pass.
        {"west end open",
         {"3333333333", "3111111113", "3044444413", "3111111113", "3333333333"},
         {"3333333333", "3111111113", "3000000013", "3111111113", "3333333333"}},
        // Doors: walls west and east (stays), walls north and south (stays), a corner door
        // with walls north and west only (opens to ground); markers become floor.
        {"doors and markers",
         {"333333333", "315101113", "306005153", "317101003", "333333333"},
         {"333333333", "315101113", "302005103", "312101003", "333333333"}},
    };
    for (const Case& c : cases) {
        FortressMap m = mapFromRows(c.before);
        m.cleanUp();
        EXPECT_EQ(rowsOf(m), c.after) << c.name;
    }
}

TEST(FortressGenerator, CleanUpClearsStylesOfCellsThatAreNoLongerWalls) {
    FortressMap m = mapFromRows({"33333", "31613", "33333"});
    m.wallStyles = {0, 0, 0, 0, 0, 0, 5, 5, 5, 0, 0, 0, 0, 0, 0};
    m.cleanUp();
    EXPECT_EQ(m.tile(2, 1), FortressTile::Floor);
    EXPECT_EQ(m.wallStyle(2, 1), 0) << "the marker cell had a style and is floor now";
    EXPECT_EQ(m.wallStyle(1, 1), 5);
    EXPECT_EQ(m.wallStyle(3, 1), 5);
}

TEST(FortressGenerator, RequestedSizesAreClamped) {
    struct Case {
        int32_t width, height, features;
        int32_t expectedWidth, expectedHeight, expectedTarget;
    };
    const Case cases[] = {
        {2, 2, 0, 3, 3, 100},
        {90, 100, -4, 71, 60, 100},
        {40, 30, 12, 40, 30, 12},
    };
    for (const Case& c : cases) {
        FortressMap m;
        m.random.srand(1);
        EXPECT_TRUE(m.generateMap(c.width, c.height, c.features));
        EXPECT_EQ(m.width, c.expectedWidth);
        EXPECT_EQ(m.height, c.expectedHeight);
        EXPECT_EQ(m.featureTarget, c.expectedTarget);
    }
}

TEST(FortressGenerator, MarkerSearchGivesUpWhereNoCellQualifies) {
    // A 3 x 3 grid has no cell with four open neighbours; the search must end.
    FortressMap m;
    m.random.srand(5);
    EXPECT_TRUE(m.generateMap(3, 3, 10));
    EXPECT_FALSE(m.markerFound[0]);
    EXPECT_FALSE(m.markerFound[1]);
    EXPECT_EQ(m.markerTries[0], FortressMap::kMarkerTryLimit);
}

TEST(FortressGenerator, GeneratedGridsKeepTheirInvariants) {
    for (uint32_t seed : {2u, 20u, 4000u, 123456u, 4294967294u}) {
        FortressMap m;
        m.random.srand(seed);
        ASSERT_TRUE(m.generateMap(71, 60, 200));
        // No attachment is made beside a door, so no two doors ever touch.
        for (int32_t y = 1; y < m.height - 1; ++y) {
            for (int32_t x = 1; x < m.width - 1; ++x) {
                if (m.tile(x, y) != FortressTile::Door) continue;
                EXPECT_NE(m.tile(x + 1, y), FortressTile::Door) << seed;
                EXPECT_NE(m.tile(x, y + 1), FortressTile::Door) << seed;
            }
        }
        EXPECT_TRUE(m.markerFound[0] && m.markerFound[1]) << seed;

        m.cleanUp();
        for (int32_t y = 0; y < m.height; ++y) {
            for (int32_t x = 0; x < m.width; ++x) {
                const FortressTile code = m.tile(x, y);
                ASSERT_GE(static_cast<int32_t>(code), 0);
                ASSERT_LE(static_cast<int32_t>(code), static_cast<int32_t>(FortressTile::Door)) << "no marker survives the clean-up";
                EXPECT_EQ(m.wallStyle(x, y) != 0, code == FortressTile::Wall) << seed << " " << x << "," << y;
                if (code == FortressTile::Door) {
                    const bool across = m.tile(x - 1, y) == FortressTile::Wall && m.tile(x + 1, y) == FortressTile::Wall;
                    const bool along = m.tile(x, y - 1) == FortressTile::Wall && m.tile(x, y + 1) == FortressTile::Wall;
                    EXPECT_TRUE(across || along) << seed << " door at " << x << "," << y;
                }
            }
        }
    }
}

TEST(FortressGenerator, SameSeedSameGrid) {
    const FortressMap a(2 * 777u), b(2 * 777u), c(2 * 778u);
    EXPECT_EQ(a.tiles, b.tiles);
    EXPECT_EQ(a.wallStyles, b.wallStyles);
    EXPECT_NE(a.tiles, c.tiles);
}

TEST(FortressGenerator, PublishesWithTheWorldOffset) {
    const auto ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
    fortress_testing::freshWorld(grid);
    FortressMap m = mapFromRows(std::vector<std::string>(60, std::string(71, '0')));
    m.setTile(1, 1, FortressTile::Wall);
    m.wallStyles[static_cast<size_t>(1 * 71 + 1)] = 6;
    m.setTile(1, 2, FortressTile::Door);
    m.setTile(2, 2, FortressTile::Floor);
    m.setTile(69, 58, FortressTile::Floor);
    m.publishToWorld(grid);

    const WorldCell& wall = grid[2][8];
    EXPECT_EQ(wall.pathCost, kWallPathCost);
    EXPECT_EQ(wall.objectType, 6);
    EXPECT_TRUE(wall.visible && wall.isBlock && wall.blocksMovement);
    EXPECT_TRUE(wall.northOpen) << "row 7 was only reset, so it is open";

    const WorldCell& door = grid[2][9];
    EXPECT_TRUE(door.isDoorway);
    EXPECT_FALSE(door.northOpen) << "the wall above closes the north side";
    EXPECT_EQ(door.pathCost, kOpenPathCost);
    EXPECT_FALSE(door.blocksMovement);

    EXPECT_TRUE(grid[3][9].isRoomFloor);
    EXPECT_TRUE(grid[70][65].isRoomFloor) << "generator (69, 58) lands on world (70, 65)";
    EXPECT_FALSE(grid[71][66].isRoomFloor);
}
