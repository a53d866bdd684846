#pragma once
// The seeded fortress generator: grows rooms and corridors outwards from one
// central room, cleans the result and publishes it into a world grid. It
// draws only from its own C-runtime rand sequence, so one generator seed is one fortress.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "util/Random.h"
#include "world/WorldGrid.h"

// The generator's cell codes (the fortress tool prints them as digits).
enum class FortressTile : int32_t {
    Empty = 0,
    Wall = 1,
    Floor = 2,
    Border = 3,
    Corridor = 4,
    Door = 5,
    MarkerA = 6,
    MarkerB = 7,
};

// Growth directions; anything outside 1 ... 3 counts as north.
enum Direction : int32_t { North = 0, East = 1, South = 2, West = 3 };

class FortressMap {
public:
    static constexpr int32_t kDefaultWidth = 71;
    static constexpr int32_t kDefaultHeight = 60;
    static constexpr int32_t kDefaultFeatures = 200;
    static constexpr int32_t kGrowthAttempts = 3000;
    static constexpr int32_t kAttachTries = 3000;
    static constexpr int32_t kRoomMaxX = 8;
    static constexpr int32_t kRoomMaxY = 6;
    static constexpr int32_t kCorridorMax = 6;
    // The marker search has no natural end; this many tries per marker is far
    // beyond what any fortress with a 3 x 3 floor needs. A marker that is not
    // found is simply not set (it would have become floor in the clean-up).
    static constexpr int64_t kMarkerTryLimit = 1'000'000;

    // Generator cell (x, y) lands on world cell (x + 1, y + 7).
    static constexpr int32_t kWorldOffsetI = 1;
    static constexpr int32_t kWorldOffsetJ = 7;

    int32_t maxWidth = 71;
    int32_t maxHeight = 60;
    int32_t width = 0;
    int32_t height = 0;
    int32_t featureTarget = 0;
    int32_t roomChance = 75;
    std::vector<FortressTile> tiles;  // row-major, cell (x, y) at y * width + x
    std::vector<int32_t> wallStyles;  // 4 ... 7 on room walls, 0 elsewhere

    // The generator's own rand sequence; every draw of the generation comes from it.
    CrtRand random;

    // What the unbounded marker search did, for the fortress checker.
    int32_t featuresBuilt = 0;
    int64_t markerTries[2] = {0, 0};
    bool markerFound[2] = {false, false};

    // Limits only; nothing generated (tests drive generateMap themselves).
    FortressMap() = default;
    // Seeds the generator's rand sequence with generatorSeed, generates 71 x 60 with
    // 200 features and cleans up; publishToWorld then writes it into a grid. pumpEvents
    // runs once per growth attempt so that a window stays responsive.
    explicit FortressMap(uint32_t generatorSeed, std::function<void()> pumpEvents = {});

    bool generateMap(int32_t requestedWidth, int32_t requestedHeight, int32_t requestedFeatures);
    bool carveRoom(int32_t x, int32_t y, int32_t maxXLength, int32_t maxYLength, int32_t direction);
    bool carveCorridor(int32_t x, int32_t y, int32_t maxLength, int32_t direction);
    void cleanUp();
    void publishToWorld(WorldCells& grid) const;
    void release();

    bool inside(int32_t x, int32_t y) const { return x >= 0 && x < width && y >= 0 && y < height; }
    FortressTile tile(int32_t x, int32_t y) const { return tiles[index(x, y)]; }
    int32_t wallStyle(int32_t x, int32_t y) const { return wallStyles[index(x, y)]; }
    void setTile(int32_t x, int32_t y, FortressTile code) { tiles[index(x, y)] = code; }

private:
    struct Attachment {
        int32_t x, y, direction, dx, dy;
    };
    struct Rect {
        int32_t firstX, lastX, firstY, lastY;
    };

    size_t index(int32_t x, int32_t y) const { return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x); }
    // Outside the grid reads as Border (the neighbour east of the last column).
    FortressTile tileOrBorder(int32_t x, int32_t y) const { return inside(x, y) ? tile(x, y) : FortressTile::Border; }
    bool findAttachment(Attachment& found);  // draws from random
    void growOnce();
    void placeMarker(int which, FortressTile code);
    bool rectIsEmpty(const Rect& r) const;
    void cleanUpPass();

    int32_t randBelow(int32_t n) { return random.rand() % n; }

    std::function<void()> pumpEvents;
};
