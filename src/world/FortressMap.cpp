#include "world/FortressMap.h"

#include <algorithm>

#include "util/Random.h"
#include "world/WorldGrid.h"

namespace {

bool isFloorOrCorridor(FortressTile code) { return code == FortressTile::Floor || code == FortressTile::Corridor; }

}  // namespace

FortressMap::FortressMap(uint32_t generatorSeed, std::function<void()> pump) : pumpEvents(std::move(pump)) {
    random.srand(generatorSeed);
    if (generateMap(kDefaultWidth, kDefaultHeight, kDefaultFeatures)) cleanUp();
}

bool FortressMap::generateMap(int32_t requestedWidth, int32_t requestedHeight, int32_t requestedFeatures) {
    featureTarget = requestedFeatures >= 1 ? requestedFeatures : 100;
    width = requestedWidth < 3 ? 3 : std::min(requestedWidth, maxWidth);
    height = requestedHeight < 3 ? 3 : std::min(requestedHeight, maxHeight);

    tiles.assign(static_cast<size_t>(width) * static_cast<size_t>(height), FortressTile::Empty);
    wallStyles.assign(tiles.size(), 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1) setTile(x, y, FortressTile::Border);
        }
    }

    const int32_t centralDirection = randBelow(4);
    carveRoom(width / 2, height / 2, kRoomMaxX, kRoomMaxY, centralDirection);
    featuresBuilt = 1;  // counted whether or not the central room fitted

    for (int32_t attempt = 0; attempt < kGrowthAttempts; ++attempt) {
        if (featuresBuilt == featureTarget) break;
        if (pumpEvents) pumpEvents();
        growOnce();
    }

    placeMarker(0, FortressTile::MarkerA);
    placeMarker(1, FortressTile::MarkerB);
    return true;
}

bool FortressMap::findAttachment(Attachment& found) {
    for (int32_t attempt = 0; attempt < kAttachTries; ++attempt) {
        const int32_t x = randBelow(width - 1) + 1;
        const int32_t y = randBelow(height - 1) + 1;
        const FortressTile code = tile(x, y);
        if (code != FortressTile::Wall && code != FortressTile::Corridor) continue;

        // The neighbour the new feature grows away from, in the order of the search.
        struct Probe {
            int32_t nx, ny, direction, dx, dy;
        };
        const Probe probes[4] = {
            {x, y + 1, North, 0, -1},
            {x - 1, y, East, 1, 0},
            {x, y - 1, South, 0, 1},
            {x + 1, y, West, -1, 0},
        };
        const Probe* chosen = nullptr;
        bool besideDoor = false;
        for (const Probe& p : probes) {
            const FortressTile neighbour = tile(p.nx, p.ny);
            if (neighbour == FortressTile::Door) besideDoor = true;
            if (!chosen && isFloorOrCorridor(neighbour)) chosen = &p;
        }
        if (!chosen || besideDoor) continue;
        found = {x, y, chosen->direction, chosen->dx, chosen->dy};
        return true;
    }
    return false;
}

void FortressMap::growOnce() {
    Attachment at{};
    if (!findAttachment(at)) return;
    const int32_t roll = randBelow(101);
    const int32_t startX = at.x + at.dx;
    const int32_t startY = at.y + at.dy;
    if (roll <= roomChance) {
        if (carveRoom(startX, startY, kRoomMaxX, kRoomMaxY, at.direction)) {
            ++featuresBuilt;
            setTile(at.x, at.y, FortressTile::Door);
            setTile(startX, startY, FortressTile::Floor);  // the new room's wall cell opens onto the door
        }
    } else if (carveCorridor(startX, startY, kCorridorMax, at.direction)) {
        ++featuresBuilt;
        setTile(at.x, at.y, FortressTile::Door);
    }
}

void FortressMap::placeMarker(int which, FortressTile code) {
    markerFound[which] = false;
    markerTries[which] = 0;
    while (markerTries[which] < kMarkerTryLimit) {
        ++markerTries[which];
        const int32_t x = randBelow(width - 1) + 1;
        const int32_t y = randBelow(height - 2) + 1;
        // The cell itself is not examined; all four neighbours must be open floor.
        const bool enclosed = isFloorOrCorridor(tileOrBorder(x, y + 1)) && isFloorOrCorridor(tileOrBorder(x - 1, y)) &&
                              isFloorOrCorridor(tileOrBorder(x, y - 1)) && isFloorOrCorridor(tileOrBorder(x + 1, y));
        if (enclosed) {
            setTile(x, y, code);
            markerFound[which] = true;
            return;
        }
    }
}

bool FortressMap::rectIsEmpty(const Rect& r) const {
    for (int32_t y = r.firstY; y <= r.lastY; ++y) {
        for (int32_t x = r.firstX; x <= r.lastX; ++x) {
            if (!inside(x, y) || tile(x, y) != FortressTile::Empty) return false;
        }
    }
    return true;
}

bool FortressMap::carveRoom(int32_t x, int32_t y, int32_t maxXLength, int32_t maxYLength, int32_t direction) {
    // All three draws happen before the space is tested.
    const int32_t xLength = randBelow(maxXLength - 3) + 4;
    const int32_t yLength = randBelow(maxYLength - 3) + 4;
    const int32_t style = randBelow(4) + 4;

    const int32_t centredFirstX = x - xLength / 2;
    const int32_t centredLastX = x + (xLength + 1) / 2 - 1;
    const int32_t centredFirstY = y - yLength / 2;
    const int32_t centredLastY = y + (yLength + 1) / 2 - 1;
    Rect r{};
    switch (direction) {
        case East: r = {x, x + xLength - 1, centredFirstY, centredLastY}; break;
        case South: r = {centredFirstX, centredLastX, y, y + yLength - 1}; break;
        case West: r = {x - xLength + 1, x, centredFirstY, centredLastY}; break;
        default: r = {centredFirstX, centredLastX, y - yLength + 1, y}; break;
    }
    if (!rectIsEmpty(r)) return false;

    for (int32_t cy = r.firstY; cy <= r.lastY; ++cy) {
        for (int32_t cx = r.firstX; cx <= r.lastX; ++cx) {
            const bool edge = cx == r.firstX || cx == r.lastX || cy == r.firstY || cy == r.lastY;
            setTile(cx, cy, edge ? FortressTile::Wall : FortressTile::Floor);
            if (edge) wallStyles[index(cx, cy)] = style;
        }
    }
    return true;
}

bool FortressMap::carveCorridor(int32_t x, int32_t y, int32_t maxLength, int32_t direction) {
    const int32_t length = randBelow(maxLength - 1) + 2;
    int32_t dx = 0, dy = -1;
    switch (direction) {
        case East: dx = 1; dy = 0; break;
        case South: dx = 0; dy = 1; break;
        case West: dx = -1; dy = 0; break;
        default: break;
    }
    for (int32_t k = 0; k < length; ++k) {
        const int32_t cx = x + dx * k, cy = y + dy * k;
        if (!inside(cx, cy) || tile(cx, cy) != FortressTile::Empty) return false;
    }
    for (int32_t k = 0; k < length; ++k) setTile(x + dx * k, y + dy * k, FortressTile::Corridor);
    return true;
}

void FortressMap::cleanUpPass() {
    // In place: a cell examined later in the pass already sees earlier changes.
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const FortressTile code = tile(x, y);
            if (code == FortressTile::MarkerA || code == FortressTile::MarkerB) {
                setTile(x, y, FortressTile::Floor);
            } else if (code == FortressTile::Corridor) {
                const bool touchesGround = tileOrBorder(x, y + 1) == FortressTile::Empty || tileOrBorder(x - 1, y) == FortressTile::Empty ||
                                           tileOrBorder(x, y - 1) == FortressTile::Empty || tileOrBorder(x + 1, y) == FortressTile::Empty;
                if (touchesGround) setTile(x, y, FortressTile::Empty);
            } else if (code == FortressTile::Door) {
                const bool wallsAcross = tileOrBorder(x - 1, y) == FortressTile::Wall && tileOrBorder(x + 1, y) == FortressTile::Wall;
                const bool wallsAlong = tileOrBorder(x, y - 1) == FortressTile::Wall && tileOrBorder(x, y + 1) == FortressTile::Wall;
                if (!wallsAcross && !wallsAlong) setTile(x, y, FortressTile::Empty);
            }
            if (wallStyles[index(x, y)] != 0 && tile(x, y) != FortressTile::Wall) wallStyles[index(x, y)] = 0;
        }
    }
}

void FortressMap::cleanUp() {
    for (int pass = 0; pass < 3; ++pass) cleanUpPass();
}

void FortressMap::publishToWorld(WorldCells& grid) const {
    for (int32_t y = 1; y <= height - 2; ++y) {
        for (int32_t x = 1; x <= width - 2; ++x) {
            const int32_t i = x + kWorldOffsetI, j = y + kWorldOffsetJ;
            if (!insideWorld(i, j)) continue;
            WorldCell& c = grid[i][j];
            const FortressTile code = tile(x, y);
            c.pathCost = code == FortressTile::Wall ? kWallPathCost : kOpenPathCost;
            c.isRoomFloor = code == FortressTile::Floor;
            c.isDoorway = code == FortressTile::Door;
            c.northOpen = grid[i][j - 1].pathCost != kWallPathCost;
            if (code == FortressTile::Wall) {
                c.visible = true;
                c.isBlock = true;
                c.blocksMovement = true;
                c.objectType = wallStyle(x, y);
            }
        }
    }
}

void FortressMap::release() {
    tiles.clear();
    tiles.shrink_to_fit();
    wallStyles.clear();
    wallStyles.shrink_to_fit();
}
