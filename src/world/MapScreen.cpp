#include "world/MapScreen.h"

#include <algorithm>

#include "world/ObjectTables.h"

namespace {

constexpr float kMapLeft = -11.8f, kMapColumnStep = 0.33f;
constexpr float kMapTop = 19.5f, kMapRowStep = 0.55f;
const glm::vec3 kMapIconRotation{0.0f, 0.0f, 180.0f};
const glm::vec3 kMapIconScale{0.15f, 0.26f, 0.15f};
constexpr float kBoundaryFog = 0.2f;
constexpr int32_t kRingLow = 1, kRingHigh = kWorldSize - 1;

void makeBoundaryWall(WorldCell& c) {
    c.pathCost = kWallPathCost;
    c.objectType = block::FirstWall;
    c.blocksMovement = true;
    c.visible = true;
    c.mapFog = kBoundaryFog;
}

}  // namespace

MapIconSpec mapIconFor(GridCell cell, int32_t id, std::string textureKey) {
    MapIconSpec spec;
    spec.id = id;
    spec.textureKey = std::move(textureKey);
    spec.cell = cell;
    spec.position = {kMapLeft + kMapColumnStep * static_cast<float>(cell.i),
                     kMapTop - kMapRowStep * static_cast<float>(cell.j), 0.0f};
    spec.rotationDegrees = kMapIconRotation;
    spec.scale = kMapIconScale;
    return spec;
}

std::string mapIconKey(bool isBlock, int32_t objectType) {
    if (objectType <= 0) return {};
    const auto k = static_cast<size_t>(objectType);
    if (isBlock) return k < blockTable().size() ? blockTable()[k].mapIcon : std::string();
    return k < itemTable().size() ? itemTable()[k].mapIcon : std::string();
}

namespace {

// Every distinct icon texture of the two tables, items first, in table order.
std::vector<std::string> iconTextures() {
    std::vector<std::string> keys;
    auto add = [&keys](const std::string& key) {
        if (!key.empty() && std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    };
    for (const ItemDef& d : itemTable()) add(d.mapIcon);
    for (const BlockDef& d : blockTable()) add(d.mapIcon);
    return keys;
}

}  // namespace

int32_t placedObjectIconId(bool isBlock, int32_t objectType) {
    const std::string key = mapIconKey(isBlock, objectType);
    if (key.empty()) return 0;
    const std::vector<std::string> keys = iconTextures();
    const auto at = std::find(keys.begin(), keys.end(), key);
    return kFirstPlacedIconId + static_cast<int32_t>(at - keys.begin());
}

std::vector<MapIconSpec> placedObjectIcons() {
    std::vector<MapIconSpec> icons;
    int32_t id = kFirstPlacedIconId;
    for (std::string& key : iconTextures()) icons.push_back(mapIconFor({0, 0}, id++, std::move(key)));
    return icons;
}

bool onBoundaryRing(int32_t i, int32_t j) { return i == kRingLow || i == kRingHigh || j == kRingLow || j == kRingHigh; }

MapScreenResult prepareMapScreen(WorldCells& grid, WorldCells& initialWorld, std::vector<ScannerTarget>& scannerTargets,
                                 MapIconFactory& icons, const std::function<void()>& pumpEvents) {
    MapScreenResult result;
    int32_t nextId = kFirstMapIconId;
    for (int32_t j = 0; j < kWorldSize; ++j) {
        for (int32_t i = 0; i < kWorldSize; ++i) {
            WorldCell& c = grid[i][j];
            std::string icon;
            if (!c.isBlock) {
                if (c.objectType == item::Hiyura) {
                    result.hiyuraCell = {i, j};
                    scannerTargets.push_back({i, item::Hiyura, j});
                } else if (c.objectType == item::Spaceship) {
                    result.spaceshipCell = {i, j};
                }
                icon = mapIconKey(false, c.objectType);
            } else if (c.objectType == 0) {
                if (onBoundaryRing(i, j)) {
                    makeBoundaryWall(c);
                    icon = kBoundaryWallIcon;
                }
            } else {
                icon = mapIconKey(true, c.objectType);
            }
            if (!icon.empty()) {
                icons.createMapIcon(mapIconFor({i, j}, nextId, std::move(icon)));
                c.mapIconId = nextId++;
                ++result.iconCount;
            }
            initialWorld[i][j] = c;
        }
        if (pumpEvents) pumpEvents();
    }
    return result;
}

void restoreInitialWorld(WorldCells& grid, const WorldCells& initialWorld) { grid = initialWorld; }
