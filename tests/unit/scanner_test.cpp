#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fortress_testing.h"
#include "gameplay/Scanner.h"
#include "util/Random.h"
#include "world/Reachability.h"
#include "sound_log.h"

using fortress_testing::freshWorld;
using fortress_testing::makeWall;

namespace {

using Sounds = std::vector<std::string>;

const Sounds kRefused{"ButtonClicked", "NoItemInv"};
const Sounds kScanned{"ButtonClicked", "UseScanner"};

constexpr int32_t kTraceRenderObject = 48;  // + the trail kind

void putTarget(WorldCells& grid, const ScannerTarget& t) {
    WorldCell& c = grid[t.i][t.j];
    c.objectType = t.kind;
    c.isBlock = false;
    c.visible = true;
    c.interactive = true;
}

int32_t markedCells(const WorldCells& grid) {
    int32_t n = 0;
    for (const auto& column : grid) {
        for (const WorldCell& c : column) n += c.routeMark != 0 ? 1 : 0;
    }
    return n;
}

int32_t traceInstances(const WorldCells& grid, const WorldInstances& instances) {
    int32_t n = 0;
    for (const BlockInstance& b : instances.blockInstances) {
        const bool trace = b.renderObjectId > kTraceRenderObject && b.renderObjectId <= kTraceRenderObject + 3;
        if (!trace) continue;
        ++n;
        EXPECT_NE(grid[b.i][b.j].routeMark, 0) << b.i << "," << b.j;
        EXPECT_EQ(b.renderObjectId, kTraceRenderObject + grid[b.i][b.j].routeMark);
        EXPECT_TRUE(b.visible);
    }
    return n;
}

// A player with scanner cards on cell (10, 10) of an open world.
struct Scan : ::testing::Test {
    std::unique_ptr<WorldCells> ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
    Player player;
    OneShotLog sound;
    RandomEngine random{3};
    std::vector<ScannerTarget> targets;
    bool hiyuraReachable = false;
    WorldInstances instances;
    GroundHeight ground = [](float, float) { return 0.0f; };
    NoModels models;
    RouteGrid routeGrid{};
    std::string report;  // the last scan's

    void SetUp() override {
        freshWorld(grid);
        player.cellX = 10;
        player.cellZ = 10;
    }

    void setTargets(std::vector<ScannerTarget> list) {
        targets = std::move(list);
        for (const ScannerTarget& t : targets) putTarget(grid, t);
    }

    Sounds scan() {
        sound.played.clear();
        report = useScanner(player, {grid, targets, hiyuraReachable, instances, ground, models, routeGrid}, sound, random);
        return sound.played;
    }
};

TEST_F(Scan, RefusesWithoutACardOrWithoutATarget) {
    setTargets({{30, item::CloakerNode, 10}, {10, item::EnergyCell, 30}, {40, item::Hiyura, 40}});
    EXPECT_EQ(scan(), kRefused);
    EXPECT_EQ(report, "No dispones de ninguna tarjeta para escaneos de objetivos");

    // A card, but the node is collected, a cell is carried and Hiyura is still hidden.
    player.addItem(item::ScannerCard, 1);
    player.addItem(item::EnergyCell, 1);
    player.collectedTargets.push_back({30, item::CloakerNode, 10});
    EXPECT_EQ(scan(), kRefused);
    EXPECT_EQ(report, "Tu escaner no detecta objetivos accesibles");

    EXPECT_EQ(player.itemCount(item::ScannerCard), 1);
    EXPECT_EQ(random.drawsSinceSeed(), 0u);
    EXPECT_EQ(markedCells(grid), 0);
    EXPECT_TRUE(instances.blockInstances.empty());
}

TEST_F(Scan, ASingleCandidateIsTracedWithoutADraw) {
    const ScannerTarget node{30, item::CloakerNode, 10};
    const ScannerTarget cell{10, item::EnergyCell, 30};
    const ScannerTarget hiyura{40, item::Hiyura, 40};
    struct Case {
        bool carryingCell;
        bool hiyuraShown;
        bool nodeCollected;
        ScannerTarget goal;
        const char* name;
    };
    const Case cases[] = {
        {true, false, false, node, "Encubridor"},
        {false, false, true, cell, "Celula de energia"},
        {true, true, true, hiyura, "Hiyura"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        player = Player{};
        player.cellX = 10;
        player.cellZ = 10;
        instances = WorldInstances{};
        random.seed(3);
        setTargets({node, cell, hiyura});
        player.addItem(item::ScannerCard, 2);
        if (c.carryingCell) player.addItem(item::EnergyCell, 1);
        if (c.nodeCollected) player.collectedTargets.push_back({node.i, node.kind, node.j});
        hiyuraReachable = c.hiyuraShown;

        EXPECT_EQ(scan(), kScanned);
        EXPECT_EQ(report, std::string("Sigue la ruta del escaner hasta: ") + c.name);
        EXPECT_EQ(random.drawsSinceSeed(), 0u);
        EXPECT_EQ(player.itemCount(item::ScannerCard), 1);
        EXPECT_EQ(routeGrid[c.goal.j][c.goal.i], 1);
        EXPECT_EQ(grid[c.goal.i][c.goal.j].routeMark, 0);  // the target keeps its object
        const int32_t kind = c.goal.kind == item::EnergyCell ? 2 : c.goal.kind == item::Hiyura ? 3 : 1;
        EXPECT_EQ(grid[10][10].routeMark, kind);  // the player's own cell is marked
        EXPECT_GT(markedCells(grid), 0);
        EXPECT_EQ(traceInstances(grid, instances), markedCells(grid));
    }
}

TEST_F(Scan, SeveralCandidatesCostOneUniformDraw) {
    setTargets({{30, item::CloakerNode, 10}, {10, item::CloakerNode, 40}, {50, item::CloakerNode, 50}});
    player.addItem(item::ScannerCard, 1);
    RandomEngine twin = random;
    const auto k = static_cast<size_t>(twin.uniformInt(0, 2));
    EXPECT_EQ(scan(), kScanned);
    EXPECT_EQ(random.drawsSinceSeed(), twin.drawsSinceSeed());
    for (size_t n = 0; n < targets.size(); ++n) {
        EXPECT_EQ(routeGrid[targets[n].j][targets[n].i], n == k ? 1 : 0);
    }
}

TEST_F(Scan, ASecondScanReplacesTheTrailAndLeavesOtherInstances) {
    makeWall(grid, 25, 25);
    instances.createCellInstance(25, 25, 4, true, true, ground, models);
    setTargets({{30, item::CloakerNode, 10}});
    player.addItem(item::ScannerCard, 2);
    ASSERT_EQ(scan(), kScanned);
    const int32_t firstTrail = markedCells(grid);
    ASSERT_EQ(firstTrail, 20);  // cells 10 ... 29 of row 10
    EXPECT_EQ(grid[20][10].routeMark, 1);

    // The first node is collected; the next one lies down the column.
    player.collectedTargets.push_back({30, item::CloakerNode, 10});
    targets.push_back({10, item::CloakerNode, 20});
    putTarget(grid, targets.back());
    ASSERT_EQ(scan(), kScanned);
    EXPECT_EQ(markedCells(grid), 10);
    EXPECT_EQ(grid[20][10].routeMark, 0);
    EXPECT_EQ(grid[20][10].objectType, 0);
    EXPECT_EQ(traceInstances(grid, instances), 10);
    EXPECT_EQ(instances.blockInstances.size(), 11u);
    EXPECT_EQ(instances.findCellInstance(grid, 25, 25), 0);  // the wall's record is still first
    EXPECT_EQ(player.itemCount(item::ScannerCard), 0);
}

TEST_F(Scan, NoRouteIsSilentAndKeepsCardAndTrail) {
    setTargets({{30, item::CloakerNode, 10}});
    player.addItem(item::ScannerCard, 2);
    ASSERT_EQ(scan(), kScanned);
    const int32_t trail = markedCells(grid);
    const size_t trailInstances = instances.blockInstances.size();

    struct Case {
        const char* name;
        GridCell playerCell;
        ScannerTarget goal;
    };
    const Case cases[] = {
        {"walled in", {10, 10}, {50, item::CloakerNode, 50}},
        {"own cell", {40, 40}, {40, item::CloakerNode, 40}},
    };
    makeWall(grid, 49, 50);
    makeWall(grid, 51, 50);
    makeWall(grid, 50, 49);
    makeWall(grid, 50, 51);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player.cellX = c.playerCell.i;
        player.cellZ = c.playerCell.j;
        player.collectedTargets = {{30, item::CloakerNode, 10}};
        targets = {c.goal};
        putTarget(grid, c.goal);
        EXPECT_EQ(scan(), Sounds{"ButtonClicked"});
        EXPECT_EQ(report, "") << "no route: nothing to report";
        EXPECT_EQ(player.itemCount(item::ScannerCard), 1);
        EXPECT_EQ(markedCells(grid), trail);
        EXPECT_EQ(instances.blockInstances.size(), trailInstances);
    }
}

TEST_F(Scan, TheTrailPassesAClosedGateWithoutMarkingIt) {
    // A wall across column 20 with one red gate in row 10.
    for (int j = 0; j < kWorldSize; ++j) makeWall(grid, 20, j);
    WorldCell& gate = grid[20][10];
    gate = WorldCell{};
    gate.pathCost = kOpenPathCost;
    gate.objectType = item::GateRed;
    gate.isBlock = false;
    gate.blocksMovement = true;
    gate.interactive = true;
    setTargets({{30, item::CloakerNode, 10}});
    player.addItem(item::ScannerCard, 1);
    ASSERT_EQ(scan(), kScanned);
    EXPECT_EQ(routeGrid[10][20], 1);
    EXPECT_EQ(gate.routeMark, 0);
    EXPECT_EQ(gate.objectType, item::GateRed);
    EXPECT_EQ(markedCells(grid), 19);
}

TEST(ScanFortress, TrailsOnASeededFortressMatchTheirInstances) {
    auto setup = fortress_testing::build(4242);
    const auto grid = std::make_unique<WorldCells>(setup->initialWorld);
    WorldInstances instances;
    NoModels models;
    const GroundHeight ground = [](float, float) { return 0.0f; };
    instances.createAllCellInstances(*grid, ground, models);
    const size_t furnished = instances.blockInstances.size();
    RouteGrid routeGrid{};
    OneShotLog sound;
    Player player;
    player.cellX = 5;  // the start position's cell
    player.cellZ = 4;
    player.addItem(item::ScannerCard, 2);
    RandomEngine random(99);

    for (int scan = 1; scan <= 2; ++scan) {
        SCOPED_TRACE(scan);
        const std::string report =
            useScanner(player, {*grid, setup->scannerTargets, false, instances, ground, models, routeGrid}, sound, random);
        EXPECT_EQ(player.itemCount(item::ScannerCard), 2 - scan);
        EXPECT_EQ(report.rfind("Sigue la ruta del escaner hasta: ", 0), 0u) << report;
        const int32_t marks = markedCells(*grid);
        EXPECT_GT(marks, 0);
        EXPECT_EQ(traceInstances(*grid, instances), marks);
        EXPECT_EQ(instances.blockInstances.size(), furnished + static_cast<size_t>(marks));
        for (int i = 0; i < kWorldSize; ++i) {
            for (int j = 0; j < kWorldSize; ++j) {
                if ((*grid)[i][j].routeMark != 0) {
                    EXPECT_EQ(routeGrid[j][i], 1) << i << "," << j;
                }
            }
        }
    }
}

// ---- teleport destinations ----

bool nextToStart(GridCell c) {
    const int di = c.i - kStartCell.i, dj = c.j - kStartCell.j;
    return di * di + dj * dj <= 1;
}

TEST(Teleport, LandsOnFreeFloorReachableFromTheStart) {
    auto setup = fortress_testing::build(4242);
    WorldCells& grid = setup->initialWorld;
    const ReachableArea area(grid, kStartCell, Passage::Strict);
    RandomEngine random{5};
    for (int n = 0; n < 30; ++n) {
        const std::optional<GridCell> at = chooseTeleportDestination(grid, random);
        ASSERT_TRUE(at.has_value());
        SCOPED_TRACE(testing::Message() << at->i << "," << at->j);
        const WorldCell& c = cellAt(grid, *at);
        EXPECT_FALSE(c.reserved);
        EXPECT_FALSE(c.isDoorway);
        EXPECT_NE(c.pathCost, kWallPathCost);
        EXPECT_EQ(c.objectType, 0);
        EXPECT_FALSE(nextToStart(*at));
        EXPECT_TRUE(area.routeExists(*at));
    }
}

TEST(Teleport, DrawsColumnThenRowAndSkipsCellsBehindAGate) {
    const auto ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
    freshWorld(grid);
    RandomEngine random{11};
    RandomEngine twin = random;
    const GridCell first{twin.uniformInt(2, 69), twin.uniformInt(2, 69)};
    const GridCell second{twin.uniformInt(2, 69), twin.uniformInt(2, 69)};
    ASSERT_FALSE(nextToStart(first));
    ASSERT_FALSE(nextToStart(second));
    ASSERT_GT(std::abs(first.i - second.i) + std::abs(first.j - second.j), 1);

    // Unwalled, the first pair is taken as drawn.
    RandomEngine plain = random;
    EXPECT_EQ(chooseTeleportDestination(grid, plain), first);

    // Three walls and a closed gate: reachable for the scanner, not for a teleport.
    makeWall(grid, first.i - 1, first.j);
    makeWall(grid, first.i + 1, first.j);
    makeWall(grid, first.i, first.j - 1);
    WorldCell& gate = grid[first.i][first.j + 1];
    gate.objectType = item::GateGreen;
    gate.isBlock = false;
    gate.blocksMovement = true;
    EXPECT_EQ(chooseTeleportDestination(grid, random), second);
    EXPECT_EQ(random.drawsSinceSeed(), 4u);
}

TEST(Teleport, GivesUpWhenNothingIsReachable) {
    const auto ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
    freshWorld(grid);
    makeWall(grid, kStartCell.i - 1, kStartCell.j);
    makeWall(grid, kStartCell.i + 1, kStartCell.j);
    makeWall(grid, kStartCell.i, kStartCell.j - 1);
    makeWall(grid, kStartCell.i, kStartCell.j + 1);
    RandomEngine random{1};
    testing::internal::CaptureStderr();
    const std::optional<GridCell> at = chooseTeleportDestination(grid, random);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(at.has_value());
    EXPECT_NE(err.find("teleport"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

}  // namespace
