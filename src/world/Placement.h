#pragma once
// Furnishing the published fortress in the grid given: the fixed landing site beside
// the start, then every random placement drawn from the given engine in a fixed order,
// so one seed furnishes one fortress.
#include <cstdint>
#include <vector>

#include "world/WorldGrid.h"

class RandomEngine;

// A mission object the scanner can point to: cell column, item id, cell row.
struct ScannerTarget {
    int32_t i = 0;
    int32_t kind = 0;
    int32_t j = 0;
    friend bool operator==(const ScannerTarget&, const ScannerTarget&) = default;
};

// The conditions a random cell must meet (see pickRandomCell).
struct CellRule {
    bool mustBeOpen = false;        // no wall, no object; false asks for a styled wall
    bool mustBeRoomFloor = false;
    bool mustTouchWall = false;
    bool noBlockingAround = false;  // none of the eight neighbours blocks
    int32_t hazardRule = 0;         // 1: no wall or hazard among the eight; 2: no hazard among the four
};

inline constexpr int32_t kPickCandidates = 500;
inline constexpr int32_t kPickLow = 2;
inline constexpr int32_t kPickHigh = 69;

// Up to 500 candidates (i drawn before j, both in 2 ... 69); the first that
// passes is returned. When all fail, one more pair is drawn and (0, 0) returned.
GridCell pickRandomCell(const WorldCells& grid, const CellRule& rule, RandomEngine& rng);
inline bool picked(GridCell c) { return !(c.i == 0 && c.j == 0); }

// Flag pole, spaceship and the four energy-cell platforms; no draws.
void placeLandingSite(WorldCells& grid);

// How the open-ended steps went, for the fortress checker.
struct FurnishReport {
    bool injectorFallback = false;  // no free rectangle: the enclosure stands at its fixed place
    GridCell injectorCorner{};      // (i, j) of the enclosure
    int32_t statueAttempts = 0;
    bool statuePlaced = false;
    int32_t lockRounds = 0;         // rounds of keys and locks laid (1 when the first one held)
    bool locksSettled = false;      // every placed key reachable without passing a lock
    int32_t keysPlaced = 0;
    int32_t locksPlaced = 0;
};

struct Furnishing {
    std::vector<ScannerTarget> scannerTargets;
    int32_t correctForceField = 24;
    FurnishReport report;
};

// These loops have no natural end; the limits are far above what any seed in
// the checked range needs, so that no seed can hang the start-up.
inline constexpr int32_t kStatueAttemptLimit = 10'000;
inline constexpr int32_t kLockRoundLimit = 10'000;

// All random placement, in order.
void furnishFortress(WorldCells& grid, RandomEngine& rng, Furnishing& out);

// The steps of furnishFortress that have rules of their own, in their order.
void buildInjectorEnclosure(WorldCells& grid, RandomEngine& rng, FurnishReport& report);
int32_t placeStatue(WorldCells& grid, RandomEngine& rng, FurnishReport& report);  // returns the correct force field id
void placeTeleports(WorldCells& grid, RandomEngine& rng);
void placePictureFrames(WorldCells& grid, RandomEngine& rng);
void placeLocksAndKeys(WorldCells& grid, RandomEngine& rng, FurnishReport& report);
