#pragma once
// The world grid: 72 x 72 cells that every stage after the fortress generator
// reads and writes (walls, placed objects, movement blocking, interaction
// state, route marks and map exploration).
#include <array>
#include <cstdint>
#include <functional>

inline constexpr int kWorldSize = 72;
inline constexpr int32_t kWallPathCost = 100;
inline constexpr int32_t kOpenPathCost = 10;

// A cell position in the world grid: i is the column (world X), j the row (world Z).
struct GridCell {
    int32_t i = 0;
    int32_t j = 0;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

// The player's start cell, beside the landing site.
inline constexpr GridCell kStartCell{6, 4};

struct WorldCell {
    int32_t pathCost = 0;            // 100 marks a wall for gameplay
    bool isRoomFloor = false;
    bool isDoorway = false;
    bool northOpen = false;          // false when the cell to the north is a wall
    int32_t hazardClass = 0;         // 0 none, 1 spikes, 2 lava vegetation
    bool visible = false;
    bool isBlock = false;            // object from the block table, not the item table
    int32_t objectType = 0;          // id in the block or item table; 0 = no object
    bool blocksMovement = false;
    bool reserved = false;           // kept free around the injector enclosure
    float nextInteractionTime = 0.0f;
    bool interactive = false;
    int32_t routeMark = 0;           // scanner trail kind 1 ... 3
    int32_t mapIconId = 0;           // render object id of the map icon, 0 = none
    float mapFog = 0.0f;             // alpha handed to the map icon

    friend bool operator==(const WorldCell&, const WorldCell&) = default;
};

// Indexed [i][j]. A whole grid copies as a value (the furnished snapshot).
using WorldCells = std::array<std::array<WorldCell, kWorldSize>, kWorldSize>;

// Each game owns its grid (see Session) and hands it to every stage and rule that
// reads or writes it. A grid starts zero-filled; fields that no stage writes (doorway
// and north-open flags outside the published fortress) stay zero.

// The terrain's ground height at a world position (the terrain's heightAt, bound by
// whoever owns the terrain).
using GroundHeight = std::function<float(float x, float z)>;

// The cell of a world coordinate: the nearest multiple of 50.
inline int32_t cellOf(float c) { return static_cast<int32_t>(c * 0.02f + 0.5f); }

inline bool insideWorld(int i, int j) { return i >= 0 && i < kWorldSize && j >= 0 && j < kWorldSize; }
// The cells the player can stand in: positions are held within 90 ... 3512 units.
inline bool insidePlayerBand(int i, int j) { return i >= 2 && i <= 70 && j >= 2 && j <= 70; }
inline WorldCell& cellAt(WorldCells& grid, GridCell c) { return grid[c.i][c.j]; }
inline const WorldCell& cellAt(const WorldCells& grid, GridCell c) { return grid[c.i][c.j]; }

// Puts every cell back to its open-ground values. The doorway and north-open
// flags are left alone: the generator writes them for every published cell.
void resetWorldGrid(WorldCells& grid);
