#include "gameplay/WorldRequests.h"

#include "world/MapScreen.h"
#include "world/WorldGrid.h"

void removeCellObject(WorldCells& grid, WorldRequests& requests, int32_t x, int32_t z, bool slide, bool slideAlongX) {
    if (!insideWorld(x, z)) {
        requests.removals.push_back({x, z, slide, slideAlongX, false});
        return;
    }
    WorldCell& c = grid[static_cast<size_t>(x)][static_cast<size_t>(z)];
    requests.removals.push_back({x, z, slide, slideAlongX, c.isBlock});
    c.pathCost = kOpenPathCost;
    c.objectType = 0;
    c.visible = false;
    c.blocksMovement = false;
    c.interactive = false;
    c.routeMark = 0;
    c.mapFog = 1.0f;
    c.mapIconId = 0;  // the map shows what is in the cell: nothing now
}

void placeCellObject(WorldCells& grid, WorldRequests& requests, int32_t x, int32_t z, int32_t objectId, bool isBlock,
                     bool visible, bool blocksMovement, bool interactive, bool writeCell) {
    if (writeCell && insideWorld(x, z)) {
        WorldCell& c = grid[static_cast<size_t>(x)][static_cast<size_t>(z)];
        c.blocksMovement = blocksMovement;
        c.pathCost = kOpenPathCost;
        c.objectType = objectId;
        c.isBlock = isBlock;
        c.visible = visible;
        c.interactive = interactive;
        c.mapIconId = placedObjectIconId(isBlock, objectId);
    }
    requests.placements.push_back({x, z, objectId, isBlock, visible});
}
