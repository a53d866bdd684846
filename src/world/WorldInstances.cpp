#include "world/WorldInstances.h"

#include <algorithm>
#include <array>

#include "world/ObjectTables.h"
#include "world/WorldGrid.h"

namespace {

constexpr float kCellSize = 50.0f;
constexpr float kSlideDistance = 50.0f;
constexpr int32_t kFirstFurnishedCell = 2;
constexpr int32_t kLastFurnishedCell = 70;


constexpr std::array<glm::vec3, 8> kRockPositions = {{
    {30.0f, 100.0f, 30.0f},
    {1764.56f, 100.0f, 30.0f},
    {3549.12f, 90.0f, 30.0f},
    {30.0f, 120.0f, 1250.0f},
    {30.0f, 100.0f, 3569.12f},
    {1764.56f, 120.0f, 3569.12f},
    {3549.12f, 120.0f, 3559.12f},
    {3569.12f, 120.0f, 1764.56f},
}};

bool hasOffset(const glm::vec3& v) { return v.x != 0.0f || v.y != 0.0f || v.z != 0.0f; }

}  // namespace

void WorldInstances::createCellInstance(int32_t i, int32_t j, int32_t objectType, bool isBlock, bool visible,
                                        const GroundHeight& ground, ModelLoader& models) {
    if (objectType <= 0) return;
    const float x = static_cast<float>(i) * kCellSize;
    const float z = static_cast<float>(j) * kCellSize;
    if (isBlock) {
        if (static_cast<size_t>(objectType) >= blockTable().size()) return;
        const BlockDef& d = blockTable()[static_cast<size_t>(objectType)];
        if (d.renderObjectId == 0) return;
        // A non-negative base height is absolute (walls stand from 10 to 110 whatever
        // the ground); a negative one lifts the block that far above the terrain.
        const float y = d.baseHeight >= 0.0f ? d.baseHeight : ground(x, z) - d.baseHeight;
        glm::vec3 position{x, y, z};
        if (hasOffset(d.offset)) position += d.offset;
        blockInstances.push_back({visible, d.renderObjectId, i, j, position, d.rotationDegrees, d.scale, d.spins});
        return;
    }
    if (static_cast<size_t>(objectType) >= itemTable().size()) return;
    const ItemDef& d = itemTable()[static_cast<size_t>(objectType)];
    if (d.modelPath.empty()) return;
    glm::vec3 position{x, ground(x, z) + d.heightOffset, z};
    if (hasOffset(d.offset)) position += d.offset;
    ModelInstance record;
    record.visible = visible;
    record.i = i;
    record.j = j;
    record.model = models.loadModel(d.modelPath, ModelProgram::Scenery);
    record.position = position;
    record.rotationAxis = d.rotationAxis;
    record.rotationAngle = d.rotationAngle;
    record.spins = d.spins;
    record.secondAxis = d.secondAxis;
    record.secondAngle = d.secondAngle;
    record.scale = d.scale;
    record.serial = nextSerial++;
    modelInstances.push_back(record);
}

void WorldInstances::createAllCellInstances(const WorldCells& grid, const GroundHeight& ground, ModelLoader& models,
                                            const std::function<void()>& afterRow) {
    blockInstances.clear();
    modelInstances.clear();
    for (int32_t j = kFirstFurnishedCell; j <= kLastFurnishedCell; ++j) {
        for (int32_t i = kFirstFurnishedCell; i <= kLastFurnishedCell; ++i) {
            const WorldCell& c = grid[static_cast<size_t>(i)][static_cast<size_t>(j)];
            if (c.objectType != 0) createCellInstance(i, j, c.objectType, c.isBlock, c.visible, ground, models);
        }
        if (afterRow) afterRow();
    }
}

int32_t WorldInstances::findCellInstance(const WorldCells& grid, int32_t i, int32_t j) const {
    if (!insideWorld(i, j)) return -1;
    return findCellInstance(i, j, grid[static_cast<size_t>(i)][static_cast<size_t>(j)].isBlock);
}

int32_t WorldInstances::findCellInstance(int32_t i, int32_t j, bool isBlock) const {
    if (!insideWorld(i, j)) return -1;
    if (isBlock) {
        for (size_t k = 0; k < blockInstances.size(); ++k)
            if (blockInstances[k].i == i && blockInstances[k].j == j) return static_cast<int32_t>(k);
        return -1;
    }
    for (size_t k = 0; k < modelInstances.size(); ++k) {
        const ModelInstance& m = modelInstances[k];
        if (m.i == i && m.j == j && !slideOf(m)) return static_cast<int32_t>(k);
    }
    return -1;
}

void WorldInstances::removeCellInstance(const WorldCells& grid, int32_t i, int32_t j) {
    if (!insideWorld(i, j)) return;
    removeCellInstance(i, j, grid[static_cast<size_t>(i)][static_cast<size_t>(j)].isBlock);
}

void WorldInstances::removeCellInstance(int32_t i, int32_t j, bool isBlock) {
    const int32_t k = findCellInstance(i, j, isBlock);
    if (k < 0) return;
    if (isBlock)
        blockInstances.erase(blockInstances.begin() + k);
    else
        modelInstances.erase(modelInstances.begin() + k);
}

void WorldInstances::startSliding(int32_t i, int32_t j, bool alongX) {
    // Only models slide (the jail gates).
    const int32_t k = findCellInstance(i, j, false);
    if (k < 0) return;
    const ModelInstance& record = modelInstances[static_cast<size_t>(k)];
    slides.push_back({record.serial, alongX, (alongX ? record.position.x : record.position.z) + kSlideDistance});
}

const Slide* WorldInstances::slideOf(const ModelInstance& record) const {
    for (const Slide& s : slides)
        if (s.serial == record.serial) return &s;
    return nullptr;
}

void WorldInstances::removeFinishedSlides(const std::vector<uint32_t>& serials) {
    if (serials.empty()) return;
    auto finished = [&serials](uint32_t serial) {
        return std::find(serials.begin(), serials.end(), serial) != serials.end();
    };
    std::erase_if(slides, [&](const Slide& s) { return finished(s.serial); });
    std::erase_if(modelInstances, [&](const ModelInstance& m) { return finished(m.serial); });
}

void WorldInstances::addSceneryRocks(ModelLoader& models) {
    for (const glm::vec3& position : kRockPositions) {
        ModelInstance rock;
        rock.visible = true;
        rock.model = models.loadModel(kRockModelPath, ModelProgram::Scenery);
        rock.position = position;
        rock.rotationAxis = {0.0f, 1.0f, 0.0f};
        rock.rotationAngle = 180.0f;  // taken as radians by the model transform, as the rocks always were
        rock.scale = {20.0f, 36.0f, 20.0f};
        rock.serial = nextSerial++;
        sceneryModels.push_back(rock);
    }
}
