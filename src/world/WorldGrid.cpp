#include "world/WorldGrid.h"

void resetWorldGrid(WorldCells& grid) {
    for (auto& column : grid) {
        for (WorldCell& c : column) {
            c.pathCost = kOpenPathCost;
            c.isRoomFloor = false;
            c.hazardClass = 0;
            c.visible = false;
            c.isBlock = true;
            c.objectType = 0;
            c.blocksMovement = false;
            c.reserved = false;
            c.nextInteractionTime = 0.0f;
            c.interactive = false;
            c.routeMark = 0;
            c.mapIconId = 0;
            c.mapFog = 1.0f;
        }
    }
}
