#include <gtest/gtest.h>

#include <vector>

#include "fortress_testing.h"
#include "gameplay/RouteSearch.h"
#include "world/Placement.h"

using fortress_testing::forEachCell;
using fortress_testing::freshWorld;
using fortress_testing::furnishOnly;
using fortress_testing::makeWall;

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

TEST(Placement, FailedPickDrawsOneMorePairAndGivesNothing) {
    freshWorld();
    // Every cell a wall, except the start area, a doorway and a reserved cell.
    for (int i = 0; i < kWorldSize; ++i) {
        for (int j = 0; j < kWorldSize; ++j) makeWall(i, j);
    }
    for (GridCell c : {GridCell{6, 4}, GridCell{5, 4}, GridCell{7, 4}, GridCell{6, 3}, GridCell{6, 5}, GridCell{20, 20},
                       GridCell{30, 30}}) {
        worldGrid[c.i][c.j] = WorldCell{};
        worldGrid[c.i][c.j].pathCost = kOpenPathCost;
        worldGrid[c.i][c.j].isRoomFloor = true;
    }
    worldGrid[20][20].isDoorway = true;
    worldGrid[30][30].reserved = true;

    randomEngine().seed(11);
    RandomEngine reference(11);
    EXPECT_EQ(pickRandomCell(true, true, false, false, 0), (GridCell{0, 0}));
    for (int k = 0; k < 2 * (kPickCandidates + 1); ++k) reference.uniformInt(kPickLow, kPickHigh);
    EXPECT_EQ(randomEngine().next(), reference.next()) << "500 candidates and one more pair";
}

TEST(Placement, LandingSiteIsFixed) {
    freshWorld();
    placeLandingSite();
    const WorldCell& pole = worldGrid[6][4];
    EXPECT_EQ(pole.objectType, item::FlagPole);
    EXPECT_EQ(pole.pathCost, kWallPathCost);
    EXPECT_FALSE(pole.blocksMovement || pole.interactive || pole.isBlock);
    const WorldCell& ship = worldGrid[6][5];
    EXPECT_EQ(ship.objectType, item::Spaceship);
    EXPECT_TRUE(ship.blocksMovement && ship.interactive && ship.visible);
    for (GridCell p : {GridCell{7, 2}, GridCell{5, 2}, GridCell{4, 4}, GridCell{8, 4}}) {
        EXPECT_EQ(worldGrid[p.i][p.j].objectType, item::EnergyPlatform);
        EXPECT_TRUE(worldGrid[p.i][p.j].blocksMovement && worldGrid[p.i][p.j].interactive);
    }
}

TEST(Placement, RandomPlacementRespectsItsCellRules) {
    for (uint32_t seed : kSeeds) {
        const Furnishing f = furnishOnly(seed);
        forEachCell(worldGrid, [&](GridCell at, const WorldCell& c) {
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
                        if (test(worldGrid[at.i + a][at.j + b])) return true;
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

TEST(Placement, EveryKeyIsReachableWithoutPassingALock) {
    for (uint32_t seed : kSeeds) {
        const Furnishing f = furnishOnly(seed);
        EXPECT_TRUE(f.report.locksSettled);
        int keys = 0, locks = 0, doorways = 0;
        forEachCell(worldGrid, [&](GridCell at, const WorldCell& c) {
            doorways += c.isDoorway;
            locks += isLock(c);
            if (!isKeyItem(c)) return;
            ++keys;
            RouteGrid g{};
            EXPECT_TRUE(findRoute(6, 4, at.i, at.j, true, false, 0, g)) << seed << " key at " << at.i << "," << at.j;
        });
        // Retried rounds leave nothing behind: exactly one round's keys and locks remain.
        EXPECT_EQ(keys, f.report.keysPlaced) << seed;
        EXPECT_EQ(locks, std::min(doorways, 80)) << seed;
    }
}

TEST(Placement, GatesTurnWithTheirDoorway) {
    for (uint32_t seed : kSeeds) {
        furnishOnly(seed);
        forEachCell(worldGrid, [&](GridCell at, const WorldCell& c) {
            if (c.isBlock || !isGate(c.objectType)) return;
            const bool turned = (c.objectType - item::FirstGate) % 2 == 1;
            EXPECT_EQ(turned, !c.northOpen) << seed << " gate " << c.objectType << " at " << at.i << "," << at.j;
            EXPECT_EQ(turned, worldGrid[at.i][at.j - 1].pathCost == kWallPathCost);
        });
    }
}

TEST(Placement, ScannerTargetsListNodesThenCells) {
    const Furnishing f = furnishOnly(31337);
    ASSERT_EQ(f.scannerTargets.size(), 19u);
    for (size_t k = 0; k < f.scannerTargets.size(); ++k) {
        const ScannerTarget& t = f.scannerTargets[k];
        EXPECT_EQ(t.kind, k < 15 ? item::CloakerNode : item::EnergyCell);
        EXPECT_EQ(worldGrid[t.i][t.j].objectType, t.kind);
        EXPECT_TRUE(worldGrid[t.i][t.j].isRoomFloor && worldGrid[t.i][t.j].interactive);
    }
}

TEST(Placement, InjectorEnclosureNeedsItsWholeRectangleClear) {
    // Open ground only in columns 55 ... 69, with a wall down column 66. Cells
    // at i >= 64 count like all others: the rectangle i - 1 ... i + 5 must stop
    // short of the wall, so the corner lies in 56 ... 60.
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        freshWorld();
        for (int i = 0; i < kWorldSize; ++i) {
            for (int j = 0; j < kWorldSize; ++j) {
                if (i < 55 || i > 69 || i == 66) worldGrid[i][j].blocksMovement = true;
            }
        }
        randomEngine().seed(seed);
        FurnishReport report;
        buildInjectorEnclosure(report);
        ASSERT_FALSE(report.injectorFallback);
        const GridCell at = report.injectorCorner;
        EXPECT_GE(at.i, 56) << seed;
        EXPECT_LE(at.i, 60) << seed;
        EXPECT_NE(at.j - 1, 1);
        EXPECT_LE(at.j + 3, 70) << "clear of the boundary ring";
        for (int i = at.i - 1; i <= at.i + 5; ++i) {
            for (int j = at.j - 1; j <= at.j + 3; ++j) {
                EXPECT_EQ(worldGrid[i][j].reserved, i < 64 && j < 66);
                EXPECT_FALSE(worldGrid[i][j].blocksMovement);
            }
        }
        EXPECT_EQ(worldGrid[at.i + 2][at.j + 1].objectType, item::PlasmaInjector);
    }
}

TEST(Placement, InjectorEnclosureFallsBackToItsFixedPlace) {
    freshWorld();
    for (int i = 0; i < kWorldSize; ++i) {
        for (int j = 0; j < kWorldSize; ++j) worldGrid[i][j].blocksMovement = true;
    }
    randomEngine().seed(8);
    FurnishReport report;
    buildInjectorEnclosure(report);
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
        const WorldCell& c = worldGrid[p.i][p.j];
        EXPECT_EQ(c.objectType, p.id) << p.i << "," << p.j;
        EXPECT_FALSE(c.isBlock || c.blocksMovement);
        EXPECT_EQ(c.interactive, p.interactive);
        EXPECT_EQ(c.nextInteractionTime, p.interactive ? 2.0f : 0.0f);
    }
    forEachCell(worldGrid, [](GridCell, const WorldCell& c) { EXPECT_FALSE(c.reserved); });
}

TEST(Placement, PictureFramesNeverHangOnTeleports) {
    freshWorld();
    // A long strip of room floor with a teleport wall to the south and a brick
    // wall to the north: every frame must face north (frame side 0).
    for (int i = 10; i <= 60; ++i) {
        worldGrid[i][30].isRoomFloor = true;
        makeWall(i, 31, block::Teleport);
        makeWall(i, 29, 5);
    }
    randomEngine().seed(21);
    placePictureFrames();
    int frames = 0;
    for (int i = 10; i <= 60; ++i) {
        const WorldCell& c = worldGrid[i][30];
        if (c.objectType == 0) continue;
        ++frames;
        EXPECT_TRUE(c.isBlock && c.visible);
        EXPECT_FALSE(c.blocksMovement || c.interactive);
        EXPECT_EQ(c.pathCost, kOpenPathCost);
        EXPECT_EQ((c.objectType - block::FirstFrame) % 4, 0) << "frame side 0 faces the wall at j - 1";
    }
    EXPECT_GT(frames, 0);
}

TEST(Placement, SameSeedSameFurnishingAndExtraDrawsChangeIt) {
    const Furnishing a = furnishOnly(4242);
    const WorldCells first = worldGrid;
    const Furnishing b = furnishOnly(4242);
    EXPECT_EQ(first, worldGrid);
    EXPECT_EQ(a.scannerTargets, b.scannerTargets);
    EXPECT_EQ(a.correctForceField, b.correctForceField);

    // One draw between seeding and furnishing moves objects.
    worldGrid = WorldCells{};
    resetWorldGrid();
    randomEngine().seed(4242);
    randomEngine().next();
    FortressMap map(generatorSeedFor(4242));
    placeLandingSite();
    Furnishing shifted;
    furnishFortress(shifted);
    EXPECT_NE(first, worldGrid);
}

TEST(Placement, StatueGivesUpWhenNoCellIsReachable) {
    freshWorld();
    // The start cell walled in: no picked cell can be reached.
    for (GridCell c : {GridCell{5, 4}, GridCell{7, 4}, GridCell{6, 3}, GridCell{6, 5}}) makeWall(c.i, c.j);
    randomEngine().seed(3);
    const int32_t colour = RandomEngine(3).uniformInt(0, 4);
    FurnishReport report;
    EXPECT_EQ(placeStatue(report), item::ForceFieldYellow + colour);
    EXPECT_FALSE(report.statuePlaced);
    EXPECT_EQ(report.statueAttempts, kStatueAttemptLimit);
    forEachCell(worldGrid, [](GridCell, const WorldCell& c) {
        EXPECT_FALSE(c.objectType >= item::FirstStatue && c.objectType < item::FirstStatue + 5);
    });
}

TEST(Placement, LocksGiveWayWhenKeysStayUnreachable) {
    freshWorld();
    // All room floor lies in a closed box; a few doorways stand in the open.
    for (int i = 20; i <= 40; ++i) {
        for (int j = 20; j <= 40; ++j) {
            if (i == 20 || i == 40 || j == 20 || j == 40) {
                makeWall(i, j);
            } else {
                worldGrid[i][j].isRoomFloor = true;
            }
        }
    }
    const GridCell doorways[] = {{50, 50}, {52, 50}, {54, 50}};
    for (GridCell d : doorways) worldGrid[d.i][d.j].isDoorway = true;

    randomEngine().seed(17);
    FurnishReport report;
    placeLocksAndKeys(report);
    EXPECT_FALSE(report.locksSettled);
    EXPECT_EQ(report.lockRounds, kLockRoundLimit);
    EXPECT_EQ(report.keysPlaced, 5);
    EXPECT_EQ(report.locksPlaced, 0);
    int keys = 0;
    forEachCell(worldGrid, [&](GridCell, const WorldCell& c) {
        keys += isKeyItem(c);
        EXPECT_FALSE(isLock(c));
    });
    EXPECT_EQ(keys, 5) << "the last round's keys stay";
    for (GridCell d : doorways) {
        EXPECT_EQ(worldGrid[d.i][d.j].objectType, 0);
        EXPECT_FALSE(worldGrid[d.i][d.j].blocksMovement);
    }
}
