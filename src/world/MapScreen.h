#pragma once
// Map screen preparation: closes the world with the boundary ring, gives every
// iconed cell its map icon id (from 1000, in row order), records where the
// captive and the spaceship are, and takes the furnished snapshot that every
// later game restarts from.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "world/Placement.h"
#include "world/WorldGrid.h"

inline constexpr int32_t kFirstMapIconId = 1000;
inline constexpr const char* kBoundaryWallIcon = "Wall_0_IconMap";
inline constexpr const char* kMapIconVertexShader = "../Data/Shaders/HUD.vs";
inline constexpr const char* kMapIconFragmentShader = "../Data/Shaders/HUD.fs";

// One map icon: a quad render object with the given id and texture key, drawn
// with the HUD shader pair, placed in the HUD's coordinate space.
struct MapIconSpec {
    int32_t id = 0;
    std::string textureKey;
    GridCell cell;
    glm::vec3 position{0.0f};
    glm::vec3 rotationDegrees{0.0f};
    glm::vec3 scale{1.0f};
};

// Creates the icon render objects; the renderer implements it, GL-free code
// and the tools pass NoMapIcons.
class MapIconFactory {
public:
    virtual ~MapIconFactory() = default;
    virtual void createMapIcon(const MapIconSpec& icon) = 0;
};

class NoMapIcons final : public MapIconFactory {
public:
    void createMapIcon(const MapIconSpec&) override {}
};

// Where cell (i, j)'s icon stands on the map.
MapIconSpec mapIconFor(GridCell cell, int32_t id, std::string textureKey);

// The texture key of an object's map icon; empty when it has none (or is no object).
std::string mapIconKey(bool isBlock, int32_t objectType);

// Objects placed during play (a drone's drop) show on the map through shared icons,
// one per icon texture, with ids from kFirstPlacedIconId (after every id a cell can
// get); the map screen draws them at the cell's place. The id for an object, 0 when
// it has no icon.
inline constexpr int32_t kFirstPlacedIconId = kFirstMapIconId + kWorldSize * kWorldSize;
int32_t placedObjectIconId(bool isBlock, int32_t objectType);
// The shared icons, to be created once beside the cells' own.
std::vector<MapIconSpec> placedObjectIcons();

bool onBoundaryRing(int32_t i, int32_t j);

struct MapScreenResult {
    GridCell hiyuraCell{};
    GridCell spaceshipCell{};
    int32_t iconCount = 0;
};

// Walks the grid row by row (j outer, i inner). Appends the captive to
// scannerTargets, writes the snapshot into initialWorld. pumpEvents runs after
// each row.
MapScreenResult prepareMapScreen(WorldCells& grid, WorldCells& initialWorld, std::vector<ScannerTarget>& scannerTargets,
                                 MapIconFactory& icons, const std::function<void()>& pumpEvents = {});

// Every game after the first starts again from the snapshot.
void restoreInitialWorld(WorldCells& grid, const WorldCells& initialWorld);
