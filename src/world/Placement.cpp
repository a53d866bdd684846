#include "world/Placement.h"

#include <array>

#include "world/Reachability.h"
#include "util/Random.h"
#include "world/ObjectTables.h"

namespace {

// ---- picking cells --------------------------------------------------------

bool isStyledWall(const WorldCell& c) {
    return c.pathCost == kWallPathCost && c.objectType >= block::FirstWall && c.objectType <= block::LastWall;
}

bool nearStart(int32_t i, int32_t j) {
    const int32_t di = i - kStartCell.i, dj = j - kStartCell.j;
    return (di == 0 && dj == 0) || (di * di + dj * dj == 1);
}

template <typename Test>
bool anyOrthogonal(const WorldCells& grid, int32_t i, int32_t j, Test test) {
    return test(grid[i - 1][j]) || test(grid[i + 1][j]) || test(grid[i][j + 1]) || test(grid[i][j - 1]);
}

template <typename Test>
bool anyAround(const WorldCells& grid, int32_t i, int32_t j, Test test) {
    for (int32_t di = -1; di <= 1; ++di) {
        for (int32_t dj = -1; dj <= 1; ++dj) {
            if ((di != 0 || dj != 0) && test(grid[i + di][j + dj])) return true;
        }
    }
    return false;
}

bool acceptable(const WorldCells& grid, int32_t i, int32_t j, const CellRule& rule) {
    const WorldCell& c = grid[i][j];
    if (c.reserved || c.isDoorway) return false;
    if (!rule.mustBeOpen && !isStyledWall(c)) return false;
    if (rule.mustBeRoomFloor && !c.isRoomFloor) return false;
    if (rule.mustBeOpen && (c.pathCost == kWallPathCost || c.objectType != 0)) return false;
    if (nearStart(i, j)) return false;
    if (rule.mustTouchWall && !anyOrthogonal(grid, i, j, [](const WorldCell& n) { return n.pathCost == kWallPathCost; }))
        return false;
    if (rule.noBlockingAround && anyAround(grid, i, j, [](const WorldCell& n) { return n.blocksMovement; })) return false;
    if (rule.hazardRule == 2 && anyOrthogonal(grid, i, j, [](const WorldCell& n) { return n.hazardClass != 0; }))
        return false;
    if (rule.hazardRule == 1 &&
        anyAround(grid, i, j, [](const WorldCell& n) { return n.hazardClass != 0 || n.pathCost == kWallPathCost; }))
        return false;
    return true;
}

// ---- placing objects ------------------------------------------------------

void placeItem(WorldCells& grid, GridCell at, int32_t id) {
    WorldCell& c = cellAt(grid, at);
    c.objectType = id;
    c.isBlock = false;
    c.visible = true;
    c.blocksMovement = itemTable()[static_cast<size_t>(id)].blocksMovement;
}

void placeInteractiveItem(WorldCells& grid, GridCell at, int32_t id) {
    placeItem(grid, at, id);
    cellAt(grid, at).interactive = true;
}

void placeBlock(WorldCells& grid, GridCell at, int32_t id) {
    WorldCell& c = cellAt(grid, at);
    c.objectType = id;
    c.isBlock = true;
    c.visible = true;
}

constexpr CellRule kOpen{true, false, false, false, 0};
constexpr CellRule kRoomFloor{true, true, false, false, 0};
constexpr CellRule kOpenClear{true, false, false, true, 0};  // nothing blocking around
constexpr CellRule kFrameSpot{true, true, true, false, 0};
constexpr CellRule kStyledWall{false, false, false, false, 0};
constexpr CellRule kSpikeSpot{true, false, false, false, 1};
constexpr CellRule kLavaSpot{true, false, false, false, 2};

// n x object (rule): up to n picks; a failed pick ends this object's placements.
struct ItemBatch {
    int32_t count;
    int32_t itemId;
    CellRule rule;
    bool interactive;
    int32_t hazardClass;
};

template <typename OnPlaced>
void placeBatch(WorldCells& grid, RandomEngine& rng, const ItemBatch& batch, OnPlaced onPlaced) {
    for (int32_t n = 0; n < batch.count; ++n) {
        const GridCell at = pickRandomCell(grid, batch.rule, rng);
        if (!picked(at)) return;
        placeItem(grid, at, batch.itemId);
        WorldCell& c = cellAt(grid, at);
        if (batch.interactive) c.interactive = true;
        if (batch.hazardClass != 0) c.hazardClass = batch.hazardClass;
        onPlaced(at);
    }
}

void placeBatch(WorldCells& grid, RandomEngine& rng, const ItemBatch& batch) {
    placeBatch(grid, rng, batch, [](GridCell) {});
}

// ---- injector enclosure ---------------------------------------------------

// The rectangle kept clear around the enclosure, relative to its corner (i, j).
constexpr int32_t kEnclosureFirstDi = -1, kEnclosureLastDi = 5;
constexpr int32_t kEnclosureFirstDj = -1, kEnclosureLastDj = 3;
constexpr int32_t kEnclosureAttempts = 501;
constexpr GridCell kEnclosureFallback{64, 67};
// Only this part of the rectangle is marked reserved.
constexpr int32_t kReserveBelowI = 64, kReserveBelowJ = 66;
constexpr int32_t kLastInnerCell = kWorldSize - 2;  // the boundary ring runs along 71

struct EnclosurePiece {
    int32_t di, dj, itemId;
    bool interactive;
};
constexpr std::array<EnclosurePiece, 11> kEnclosure = {{
    {1, 0, item::ForceFieldBlue, true},
    {2, 0, item::ForceFieldGreen, true},
    {3, 0, item::ForceFieldViolet, true},
    {0, 1, item::ForceFieldYellow, true},
    {1, 1, item::Tree, false},
    {2, 1, item::PlasmaInjector, true},
    {3, 1, item::Plant, false},
    {4, 1, item::ForceFieldRed, true},
    {1, 2, item::ForceFieldViolet, true},
    {2, 2, item::ForceFieldGreen, true},
    {3, 2, item::ForceFieldBlue, true},
}};
constexpr float kEnclosureFirstTouch = 2.0f;

// The whole rectangle must be free of blocking cells and stay inside the
// boundary ring; a rectangle over fortress walls or doorways would cut holes
// into them, and one over the ring would open the world.
bool enclosureFits(const WorldCells& grid, GridCell at) {
    if (!picked(at)) return false;
    const int32_t i = at.i, j = at.j;
    if (i - 1 == 1 || i - 1 > 64 || j - 1 == 1) return false;
    if (i + kEnclosureLastDi > kLastInnerCell || j + kEnclosureLastDj > kLastInnerCell) return false;
    for (int32_t ci = i + kEnclosureFirstDi; ci <= i + kEnclosureLastDi; ++ci) {
        for (int32_t cj = j + kEnclosureFirstDj; cj <= j + kEnclosureLastDj; ++cj) {
            if (grid[ci][cj].blocksMovement) return false;
        }
    }
    return true;
}

// ---- teleports and picture frames -----------------------------------------

constexpr int32_t kTeleports = 10;
constexpr int32_t kFrameAttempts = 60;

// Sides 1 ... 4 in the order they are tried: the wall's offset and the frame side that faces it.
struct FrameWall {
    int32_t di, dj, frameSide;
};
constexpr std::array<FrameWall, 4> kFrameWalls = {{{0, 1, 1}, {0, -1, 0}, {1, 0, 3}, {-1, 0, 2}}};

bool isFrameWall(const WorldCell& c) { return c.pathCost == kWallPathCost && c.objectType != block::Teleport; }

// ---- the tables of random placement ---------------------------------------

constexpr ItemBatch kHiyura{1, item::Hiyura, kRoomFloor, false, 0};
constexpr ItemBatch kCloakerNodes{15, item::CloakerNode, kRoomFloor, true, 0};
constexpr ItemBatch kEnergyCells{4, item::EnergyCell, kRoomFloor, true, 0};

constexpr std::array<ItemBatch, 4> kSupplies = {{
    {6, item::ScannerCard, kOpen, true, 0},
    {18, item::Health, kOpen, true, 0},
    {14, item::ExtraHealth, kRoomFloor, true, 0},
    {14, item::Ammo, kRoomFloor, true, 0},
}};

constexpr std::array<ItemBatch, 4> kHazards = {{
    {22, item::Stalagmites, kSpikeSpot, true, 1},
    {22, item::Cactus, kSpikeSpot, true, 1},
    {12, item::LavaPlant, kLavaSpot, true, 2},
    {12, item::LavaPlantTall, kLavaSpot, true, 2},
}};

constexpr std::array<ItemBatch, 7> kScenery = {{
    {18, item::Tree, kOpen, false, 0},
    {8, item::TreeBlocking, kOpenClear, false, 0},
    {12, item::Rock, kOpenClear, false, 0},
    {15, item::Plant, kOpen, false, 0},
    {15, item::Reeds, kOpen, false, 0},
    {18, item::Skull, kRoomFloor, false, 0},
    {12, item::Skeleton, kRoomFloor, false, 0},
}};

// ---- locks and keys -------------------------------------------------------

constexpr std::array<int32_t, 5> kKeyItems = {item::KeyRed, item::KeyGreen, item::KeyYellow, item::BlueRepellent,
                                              item::RedInductor};

struct LockKind {
    int32_t count;
    int32_t itemId;
    bool isGate;  // gates come in a straight and a turned model
};
constexpr std::array<LockKind, 5> kLocks = {{
    {20, item::GateRed, true},
    {20, item::GateGreen, true},
    {20, item::GateYellow, true},
    {10, item::WormAlien, false},
    {10, item::RuneMonolith, false},
}};

struct SavedCell {
    GridCell at;
    WorldCell record;
};

std::vector<GridCell> collectDoorways(const WorldCells& grid) {
    std::vector<GridCell> doorways;
    for (int32_t j = 0; j < kWorldSize; ++j) {
        for (int32_t i = 0; i < kWorldSize; ++i) {
            if (grid[i][j].isDoorway) doorways.push_back({i, j});
        }
    }
    return doorways;
}

void placeKeys(WorldCells& grid, RandomEngine& rng, std::vector<SavedCell>& saved, std::vector<GridCell>& keys) {
    for (int32_t key : kKeyItems) {
        const GridCell at = pickRandomCell(grid, kRoomFloor, rng);
        if (!picked(at)) continue;
        saved.push_back({at, cellAt(grid, at)});
        placeInteractiveItem(grid, at, key);
        keys.push_back(at);
    }
}

int32_t placeLocks(WorldCells& grid, RandomEngine& rng, std::vector<SavedCell>& saved) {
    std::vector<GridCell> doorways = collectDoorways(grid);
    int32_t placed = 0;
    for (const LockKind& lock : kLocks) {
        for (int32_t n = 0; n < lock.count; ++n) {
            if (doorways.empty()) return placed;
            const int32_t last = static_cast<int32_t>(doorways.size()) - 1;
            const auto d = static_cast<size_t>(rng.uniformInt(0, last));
            const GridCell at = doorways[d];
            doorways.erase(doorways.begin() + static_cast<std::ptrdiff_t>(d));
            saved.push_back({at, cellAt(grid, at)});
            // A doorway in a wall running north-south takes the turned gate.
            const int32_t id = lock.isGate && !cellAt(grid, at).northOpen ? lock.itemId + 1 : lock.itemId;
            placeInteractiveItem(grid, at, id);
            cellAt(grid, at).blocksMovement = true;
            ++placed;
        }
    }
    return placed;
}

// Writes the saved records back, newest first, from entry `first` on.
void restore(WorldCells& grid, const std::vector<SavedCell>& saved, size_t first) {
    for (size_t k = saved.size(); k > first; --k) cellAt(grid, saved[k - 1].at) = saved[k - 1].record;
}

bool everyKeyReachable(const WorldCells& grid, const std::vector<GridCell>& keys) {
    if (keys.empty()) return true;
    // Only over cells the player can stand in: the outer strip gets the boundary ring
    // later, and a key reached only through it could never be taken.
    const ReachableArea area(grid, kStartCell, Passage::Strict, true);
    for (const GridCell& key : keys) {
        if (!area.routeExists(key)) return false;
    }
    return true;
}

}  // namespace

GridCell pickRandomCell(const WorldCells& grid, const CellRule& rule, RandomEngine& rng) {
    for (int32_t candidate = 0;; ++candidate) {
        const int32_t i = rng.uniformInt(kPickLow, kPickHigh);
        const int32_t j = rng.uniformInt(kPickLow, kPickHigh);
        if (candidate == kPickCandidates) return {0, 0};
        if (acceptable(grid, i, j, rule)) return {i, j};
    }
}

void placeLandingSite(WorldCells& grid) {
    const GridCell pole = kStartCell;
    placeItem(grid, pole, item::FlagPole);
    cellAt(grid, pole).pathCost = kWallPathCost;
    cellAt(grid, pole).blocksMovement = false;

    const GridCell ship{6, 5};
    placeInteractiveItem(grid, ship, item::Spaceship);
    cellAt(grid, ship).pathCost = kOpenPathCost;
    cellAt(grid, ship).blocksMovement = true;

    for (const GridCell platform : {GridCell{7, 2}, GridCell{5, 2}, GridCell{4, 4}, GridCell{8, 4}}) {
        placeInteractiveItem(grid, platform, item::EnergyPlatform);
        cellAt(grid, platform).pathCost = kOpenPathCost;
        cellAt(grid, platform).blocksMovement = true;
    }
}

// ---- the steps with rules of their own ------------------------------------

void buildInjectorEnclosure(WorldCells& grid, RandomEngine& rng, FurnishReport& report) {
    GridCell at{};
    bool found = false;
    for (int32_t attempt = 0; attempt < kEnclosureAttempts && !found; ++attempt) {
        at = pickRandomCell(grid, kOpenClear, rng);
        found = enclosureFits(grid, at);
    }
    if (!found) at = kEnclosureFallback;
    report.injectorFallback = !found;
    report.injectorCorner = at;

    for (int32_t ci = at.i + kEnclosureFirstDi; ci <= at.i + kEnclosureLastDi; ++ci) {
        for (int32_t cj = at.j + kEnclosureFirstDj; cj <= at.j + kEnclosureLastDj; ++cj) {
            if (ci < kReserveBelowI && cj < kReserveBelowJ) grid[ci][cj].reserved = true;
        }
    }
    for (const EnclosurePiece& piece : kEnclosure) {
        const GridCell cell{at.i + piece.di, at.j + piece.dj};
        placeItem(grid, cell, piece.itemId);
        WorldCell& c = cellAt(grid, cell);
        c.blocksMovement = false;
        if (piece.interactive) {
            c.interactive = true;
            c.nextInteractionTime = kEnclosureFirstTouch;
        }
    }
}

int32_t placeStatue(WorldCells& grid, RandomEngine& rng, FurnishReport& report) {
    const int32_t colour = rng.uniformInt(0, 4);
    // Nothing changes on the grid while the statue looks for a cell, so one
    // flood fill answers every route check of this step.
    const ReachableArea area(grid, kStartCell, Passage::Strict);
    for (int32_t attempt = 1; attempt <= kStatueAttemptLimit; ++attempt) {
        report.statueAttempts = attempt;
        const GridCell at = pickRandomCell(grid, kOpenClear, rng);
        if (!area.routeExists(at)) continue;
        placeItem(grid, at, item::FirstStatue + colour);
        report.statuePlaced = true;
        break;
    }
    return item::ForceFieldYellow + colour;
}

void placeTeleports(WorldCells& grid, RandomEngine& rng) {
    for (int32_t n = 0; n < kTeleports; ++n) {
        const GridCell at = pickRandomCell(grid, kStyledWall, rng);
        if (!picked(at)) return;
        placeBlock(grid, at, block::Teleport);
        WorldCell& c = cellAt(grid, at);
        c.blocksMovement = true;
        c.interactive = true;
    }
}

void placePictureFrames(WorldCells& grid, RandomEngine& rng) {
    for (int32_t attempt = 0; attempt < kFrameAttempts; ++attempt) {
        const GridCell at = pickRandomCell(grid, kFrameSpot, rng);
        if (!picked(at)) return;
        const int32_t firstSide = rng.uniformInt(1, 4);
        for (int32_t k = 0; k < 4; ++k) {
            const FrameWall& w = kFrameWalls[static_cast<size_t>((firstSide - 1 + k) % 4)];
            if (!isFrameWall(grid[at.i + w.di][at.j + w.dj])) continue;
            const int32_t group = rng.uniformInt(0, block::FrameGroups - 1);
            placeBlock(grid, at, block::FirstFrame + 4 * group + w.frameSide);
            WorldCell& c = cellAt(grid, at);
            c.pathCost = kOpenPathCost;
            c.blocksMovement = false;
            break;
        }
    }
}

void placeLocksAndKeys(WorldCells& grid, RandomEngine& rng, FurnishReport& report) {
    std::vector<SavedCell> saved;
    std::vector<GridCell> keys;
    for (report.lockRounds = 1;; ++report.lockRounds) {
        saved.clear();
        keys.clear();
        placeKeys(grid, rng, saved, keys);
        report.keysPlaced = static_cast<int32_t>(keys.size());
        report.locksPlaced = placeLocks(grid, rng, saved);
        if (everyKeyReachable(grid, keys)) {
            report.locksSettled = true;
            return;
        }
        if (report.lockRounds == kLockRoundLimit) break;
        restore(grid, saved, 0);
    }
    // No round within the limit kept every key reachable. Keep the last
    // round's keys and take its locks away again, so that nothing the player
    // needs stays shut.
    restore(grid, saved, keys.size());
    report.locksPlaced = 0;
}

void furnishFortress(WorldCells& grid, RandomEngine& rng, Furnishing& out) {
    FurnishReport& report = out.report;
    buildInjectorEnclosure(grid, rng, report);
    out.correctForceField = placeStatue(grid, rng, report);

    placeBatch(grid, rng, kHiyura, [&grid](GridCell at) {
        cellAt(grid, at).visible = false;
        cellAt(grid, at).interactive = false;
    });
    auto listTarget = [&out](int32_t kind) {
        return [&out, kind](GridCell at) { out.scannerTargets.push_back({at.i, kind, at.j}); };
    };
    placeBatch(grid, rng, kCloakerNodes, listTarget(item::CloakerNode));
    placeBatch(grid, rng, kEnergyCells, listTarget(item::EnergyCell));
    for (const ItemBatch& batch : kSupplies) placeBatch(grid, rng, batch);
    for (const ItemBatch& batch : kHazards) placeBatch(grid, rng, batch);
    placeTeleports(grid, rng);
    placePictureFrames(grid, rng);
    for (const ItemBatch& batch : kScenery) placeBatch(grid, rng, batch);
    placeLocksAndKeys(grid, rng, report);
}
