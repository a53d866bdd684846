#pragma once
// Changes to the world's drawn instances that gameplay files while the player and
// the drones are updated or drawn, served in order by the next update. They wait in
// queues: two removals (or a drop and a connected cell) in one frame must all land.
// The cell records themselves change at once.
#include <cstdint>
#include <vector>

#include "world/WorldGrid.h"

struct ObjectRemoval {
    int32_t i = 0;
    int32_t j = 0;
    bool slide = false;       // a gate slides open instead of vanishing
    bool slideAlongX = true;  // its axis
    // The list the removed object's instance is in, as the cell said when the request
    // was filed: the cell may hold another object by the time it is served.
    bool isBlock = false;
};

struct ObjectPlacement {
    int32_t i = 0;
    int32_t j = 0;
    int32_t objectId = 0;
    bool isBlock = false;
    bool visible = true;
};

struct WorldRequests {
    std::vector<ObjectRemoval> removals;
    std::vector<ObjectPlacement> placements;
    bool teleport = false;
};

// Empties the cell (open floor, no object and no map icon, explored on the map) and
// files the removal of its instance.
void removeCellObject(WorldCells& grid, WorldRequests& requests, int32_t x, int32_t z, bool slide, bool slideAlongX);
// Files the instance of a new object for the cell; with writeCell the cell's record
// takes the object at once, and its map icon (placedObjectIconId).
void placeCellObject(WorldCells& grid, WorldRequests& requests, int32_t x, int32_t z, int32_t objectId, bool isBlock,
                     bool visible, bool blocksMovement, bool interactive, bool writeCell);
