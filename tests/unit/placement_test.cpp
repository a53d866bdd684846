#include <gtest/gtest.h>

#include <vector>

#include "fortress_testing.h"
#include "gameplay/RouteSearch.h"
#include "world/Placement.h"

using fortress_testing::forEachCell;
using fortress_testing::freshWorld;
using fortress_testing::furnishOnly;
using fortress_testing::makeWall;

class Placement : public fortress_testing::GridTest {};

namespace {

// Seeds with many rounds of locks in the checked range, plus a few ordinary ones.
const uint32_t kSeeds[] = {1u, 67u, 2059u, 31337u, 4294967295u};

bool isLock(const WorldCell& c) {
    return !c.isBlock && (isGate(c.objectType) || c.objectType == item::WormAlien || c.objectType == item::RuneMonolith);
}

bool isKeyItem(const WorldCell& c) {
    return !c.isBlock && (c.objectType == item::KeyRed || c.objectType == item::KeyGreen ||
                          c.objectType == item::KeyYellow || c.objectType == item::BlueRepellent ||
                          c.objectType == item::RedInductor);
}

}  // namespace

TEST_F(Placement, FailedPickDrawsOneMorePairAndGivesNothing) {
    // Every cell a wall, except the start area, a doorway and a reserved cell.
    for (int i = 0; i < kWorldSize; ++i) {
        for (int j = 0; j < kWorldSize; ++j) makeWall(grid, i, j);
    }
    for (GridCell c : {GridCell{6, 4}, GridCell{5, 4}, GridCell{7, 4}, GridCell{6, 3}, GridCell{6, 5}, GridCell{20, 20},
                       GridCell{30, 30}}) {
        grid[c.i][c.j] = WorldCell{};
        grid[c.i][c.j].pathCost = kOpenPathCost;
        grid[c.i][c.j].isRoomFloor = true;
    }
    grid[20][20].isDoorway = true;
    grid[30][30].reserved = true;

    random.seed(11);
    RandomEngine reference(11);
    EXPECT_EQ(pickRandomCell(grid, CellRule{true, true, false, false, 0}, random), (GridCell{0, 0}));
    for (int k = 0; k < 2 * (kPickCandidates + 1); ++k) reference.uniformInt(kPickLow, kPickHigh);
    EXPECT_EQ(random.next(), reference.next()) << "500 candidates and one more pair";
}

TEST_F(Placement, LandingSiteIsFixed) {
    placeLandingSite(grid);
    const WorldCell& pole = grid[6][4];
    EXPECT_EQ(pole.objectType, item::FlagPole);
    EXPECT_EQ(pole.pathCost, kWallPathCost);
    EXPECT_FALSE(pole.blocksMovement || pole.interactive || pole.isBlock);
    const WorldCell& ship = grid[6][5];
    EXPECT_EQ(ship.objectType, item::Spaceship);
    EXPECT_TRUE(ship.blocksMovement && ship.interactive && ship.visible);
    for (GridCell p : {GridCell{7, 2}, GridCell{5, 2}, GridCell{4, 4}, GridCell{8, 4}}) {
        EXPECT_EQ(grid[p.i][p.j].objectType, item::EnergyPlatform);
        EXPECT_TRUE(grid[p.i][p.j].blocksMovement && grid[p.i][p.j].interactive);
    }
}

TEST_F(Placement, RandomPlacementRespectsItsCellRules) {
    for (uint32_t seed : kSeeds) {
        const Furnishing f = furnishOnly(grid, seed);
        forEachCell(grid, [&](GridCell at, const WorldCell& c) {
            if (c.objectType == 0) return;
            // Doorways only ever hold locks (placed from their own list).
            if (c.isDoorway) {
                EXPECT_TRUE(isLock(c)) << seed << " doorway " << at.i << "," << at.j;
            }
            const int di = at.i - 6, dj = at.j - 4;
            if (di * di + dj * dj == 1 && !(at == GridCell{6, 5})) {
                ADD_FAILURE() << seed << ": object beside the start at " << at.i << "," << at.j;
            }

            auto neighbours = [&](bool diagonals, auto test) {
                for (int a = -1; a <= 1; ++a) {
                    for (int b = -1; b <= 1; ++b) {
                        if ((a == 0 && b == 0) || (!diagonals && a != 0 && b != 0)) continue;
                        if (test(grid[at.i + a][at.j + b])) return true;
                    }
                }
                return false;
            };
            if (c.hazardClass == 1) {
                EXPECT_FALSE(neighbours(true, [](const WorldCell& n) { return n.pathCost == kWallPathCost; }))
                    << seed << " spikes beside a wall at " << at.i << "," << at.j;
                EXPECT_FALSE(neighbours(true, [](const WorldCell& n) { return n.hazardClass == 1; }))
                    << seed << " spikes beside spikes at " << at.i << "," << at.j;
            }
            if (c.hazardClass == 2) {
                EXPECT_FALSE(neighbours(false, [](const WorldCell& n) { return n.hazardClass != 0; }))
                    << seed << " lava plant beside a hazard at " << at.i << "," << at.j;
            }
            if (!c.isBlock && (c.objectType == item::TreeBlocking || c.objectType == item::Rock)) {
                EXPECT_FALSE(neighbours(true, [](const WorldCell& n) { return n.blocksMovement; }))
                    << seed << " blocking scenery boxed in at " << at.i << "," << at.j;
            }
        });
    }
}

TEST_F(Placement, EveryKeyIsReachableWithoutPassingALock) {
    for (uint32_t seed : kSeeds) {
        const Furnishing f = furnishOnly(grid, seed);
        EXPECT_TRUE(f.report.locksSettled);
        int keys = 0, locks = 0, doorways = 0;
        forEachCell(grid, [&](GridCell at, const WorldCell& c) {
            doorways += c.isDoorway;
            locks += isLock(c);
            if (!isKeyItem(c)) return;
            ++keys;
            RouteGrid g{};
            EXPECT_TRUE(findRoute(grid, 6, 4, at.i, at.j, true, false, 0, g)) << seed << " key at " << at.i << "," << at.j;
        });
        // Retried rounds leave nothing behind: exactly one round's keys and locks remain.
        EXPECT_EQ(keys, f.report.keysPlaced) << seed;
        EXPECT_EQ(locks, std::min(doorways, 80)) << seed;
    }
}

TEST_F(Placement, GatesTurnWithTheirDoorway) {
    for (uint32_t seed : kSeeds) {
        furnishOnly(grid, seed);
        forEachCell(grid, [&](GridCell at, const WorldCell& c) {
            if (c.isBlock || !isGate(c.objectType)) return;
            const bool turned = (c.objectType - item::FirstGate) % 2 == 1;
            EXPECT_EQ(turned, !c.northOpen) << seed << " gate " << c.objectType << " at " << at.i << "," << at.j;
            EXPECT_EQ(turned, grid[at.i][at.j - 1].pathCost == kWallPathCost);
        });
    }
}

TEST_F(Placement, ScannerTargetsListNodesThenCells) {
    const Furnishing f = furnishOnly(grid, 31337);
    ASSERT_EQ(f.scannerTargets.size(), 19u);
    for (size_t k = 0; k < f.scannerTargets.size(); ++k) {
        const ScannerTarget& t = f.scannerTargets[k];
        EXPECT_EQ(t.kind, k < 15 ? item::CloakerNode : item::EnergyCell);
        EXPECT_EQ(grid[t.i][t.j].objectType, t.kind);
        EXPECT_TRUE(grid[t.i][t.j].isRoomFloor && grid[t.i][t.j].interactive);
    }
}

TEST_F(Placement, InjectorEnclosureNeedsItsWholeRectangleClear) {
    // Open ground only in columns 55 ... 69, with a wall down column 66. Cells
    // at i >= 64 count like all others: the rectangle i - 1 ... i + 5 must stop
    // short of the wall, so the corner lies in 56 ... 60.
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        freshWorld(grid);
        for (int i = 0; i < kWorldSize; ++i) {
            for (int j = 0; j < kWorldSize; ++j) {
                if (i < 55 || i > 69 || i == 66) grid[i][j].blocksMovement = true;
            }
        }
        random.seed(seed);
        FurnishReport report;
        buildInjectorEnclosure(grid, random, report);
        ASSERT_FALSE(report.injectorFallback);
        const GridCell at = report.injectorCorner;
        EXPECT_GE(at.i, 56) << seed;
        EXPECT_LE(at.i, 60) << seed;
        EXPECT_NE(at.j - 1, 1);
        EXPECT_LE(at.j + 3, 70) << "clear of the boundary ring";
        for (int i = at.i - 1; i <= at.i + 5; ++i) {
            for (int j = at.j - 1; j <= at.j + 3; ++j) {
                EXPECT_EQ(grid[i][j].reserved, i < 64 && j < 66);
                EXPECT_FALSE(grid[i][j].blocksMovement);
            }
        }
        EXPECT_EQ(grid[at.i + 2][at.j + 1].objectType, item::PlasmaInjector);
    }
}

TEST_F(Placement, InjectorEnclosureFallsBackToItsFixedPlace) {
    for (int i = 0; i < kWorldSize; ++i) {
        for (int j = 0; j < kWorldSize; ++j) grid[i][j].blocksMovement = true;
    }
    random.seed(8);
    FurnishReport report;
    buildInjectorEnclosure(grid, random, report);
    EXPECT_TRUE(report.injectorFallback);
    EXPECT_EQ(report.injectorCorner, (GridCell{64, 67}));

    struct Piece {
        int i, j;
        int32_t id;
        bool interactive;
    };
    const Piece pieces[] = {
        {65, 67, item::ForceFieldBlue, true},   {66, 67, item::ForceFieldGreen, true},
        {67, 67, item::ForceFieldViolet, true}, {64, 68, item::ForceFieldYellow, true},
        {65, 68, item::Tree, false},            {66, 68, item::PlasmaInjector, true},
        {67, 68, item::Plant, false},           {68, 68, item::ForceFieldRed, true},
        {65, 69, item::ForceFieldViolet, true}, {66, 69, item::ForceFieldGreen, true},
        {67, 69, item::ForceFieldBlue, true},
    };
    for (const Piece& p : pieces) {
        const WorldCell& c = grid[p.i][p.j];
        EXPECT_EQ(c.objectType, p.id) << p.i << "," << p.j;
        EXPECT_FALSE(c.isBlock || c.blocksMovement);
        EXPECT_EQ(c.interactive, p.interactive);
        EXPECT_EQ(c.nextInteractionTime, p.interactive ? 2.0f : 0.0f);
    }
    forEachCell(grid, [](GridCell, const WorldCell& c) { EXPECT_FALSE(c.reserved); });
}

TEST_F(Placement, PictureFramesNeverHangOnTeleports) {
    // A long strip of room floor with a teleport wall to the south and a brick
    // wall to the north: every frame must face north (frame side 0).
    for (int i = 10; i <= 60; ++i) {
        grid[i][30].isRoomFloor = true;
        makeWall(grid, i, 31, block::Teleport);
        makeWall(grid, i, 29, 5);
    }
    random.seed(21);
    placePictureFrames(grid, random);
    int frames = 0;
    for (int i = 10; i <= 60; ++i) {
        const WorldCell& c = grid[i][30];
        if (c.objectType == 0) continue;
        ++frames;
        EXPECT_TRUE(c.isBlock && c.visible);
        EXPECT_FALSE(c.blocksMovement || c.interactive);
        EXPECT_EQ(c.pathCost, kOpenPathCost);
        EXPECT_EQ((c.objectType - block::FirstFrame) % 4, 0) << "frame side 0 faces the wall at j - 1";
    }
    EXPECT_GT(frames, 0);
}

TEST_F(Placement, SameSeedSameFurnishingAndExtraDrawsChangeIt) {
    const Furnishing a = furnishOnly(grid, 4242);
    const WorldCells first = grid;
    const Furnishing b = furnishOnly(grid, 4242);
    EXPECT_EQ(first, grid);
    EXPECT_EQ(a.scannerTargets, b.scannerTargets);
    EXPECT_EQ(a.correctForceField, b.correctForceField);

    // One draw between seeding and furnishing moves objects.
    freshWorld(grid);
    random.seed(4242);
    random.next();
    FortressMap map(generatorSeedFor(4242));
    map.publishToWorld(grid);
    placeLandingSite(grid);
    Furnishing shifted;
    furnishFortress(grid, random, shifted);
    EXPECT_NE(first, grid);
}

TEST_F(Placement, StatueGivesUpWhenNoCellIsReachable) {
    // The start cell walled in: no picked cell can be reached.
    for (GridCell c : {GridCell{5, 4}, GridCell{7, 4}, GridCell{6, 3}, GridCell{6, 5}}) makeWall(grid, c.i, c.j);
    random.seed(3);
    const int32_t colour = RandomEngine(3).uniformInt(0, 4);
    FurnishReport report;
    EXPECT_EQ(placeStatue(grid, random, report), item::ForceFieldYellow + colour);
    EXPECT_FALSE(report.statuePlaced);
    EXPECT_EQ(report.statueAttempts, kStatueAttemptLimit);
    forEachCell(grid, [](GridCell, const WorldCell& c) {
        EXPECT_FALSE(c.objectType >= item::FirstStatue && c.objectType < item::FirstStatue + 5);
    });
}

TEST_F(Placement, LocksGiveWayWhenKeysStayUnreachable) {
    // All room floor lies in a closed box; a few doorways stand in the open.
    for (int i = 20; i <= 40; ++i) {
        for (int j = 20; j <= 40; ++j) {
            if (i == 20 || i == 40 || j == 20 || j == 40) {
                makeWall(grid, i, j);
            } else {
                grid[i][j].isRoomFloor = true;
            }
        }
    }
    const GridCell doorways[] = {{50, 50}, {52, 50}, {54, 50}};
    for (GridCell d : doorways) grid[d.i][d.j].isDoorway = true;

    random.seed(17);
    FurnishReport report;
    placeLocksAndKeys(grid, random, report);
    EXPECT_FALSE(report.locksSettled);
    EXPECT_EQ(report.lockRounds, kLockRoundLimit);
    EXPECT_EQ(report.keysPlaced, 5);
    EXPECT_EQ(report.locksPlaced, 0);
    int keys = 0;
    forEachCell(grid, [&](GridCell, const WorldCell& c) {
        keys += isKeyItem(c);
        EXPECT_FALSE(isLock(c));
    });
    EXPECT_EQ(keys, 5) << "the last round's keys stay";
    for (GridCell d : doorways) {
        EXPECT_EQ(grid[d.i][d.j].objectType, 0);
        EXPECT_FALSE(grid[d.i][d.j].blocksMovement);
    }
}
