#pragma once
// The 3D instances of the furnished fortress as plain records: one per block object
// (a registry render object: walls, teleports, picture frames, route marks) and one
// per model object (items, hazards, gates, scenery). The drawing side reads them;
// gameplay adds and removes single records through the per-cell operations.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "scene/ModelHandle.h"
#include "world/WorldGrid.h"

// Which program a model is drawn with: the scene's models or the enemies'.
enum class ModelProgram : uint8_t { Scenery, Enemy };

// Loads a model for an instance. The game loads each file once through its model
// library; the sim and the tests load nothing.
class ModelLoader {
public:
    virtual ~ModelLoader() = default;
    virtual ModelHandle loadModel(const std::string& path, ModelProgram program) = 0;
};

class NoModels : public ModelLoader {
public:
    ModelHandle loadModel(const std::string&, ModelProgram) override { return kNoModel; }
};


struct BlockInstance {
    bool visible = false;
    int32_t renderObjectId = 0;
    int32_t i = 0;
    int32_t j = 0;
    glm::vec3 position{0.0f};
    glm::vec3 rotationDegrees{0.0f};
    glm::vec3 scale{1.0f};
    bool spins = false;
};

struct ModelInstance {
    bool visible = false;
    int32_t i = 0;
    int32_t j = 0;
    ModelHandle model = kNoModel;
    glm::vec3 position{0.0f};
    glm::vec3 rotationAxis{0.0f, 1.0f, 0.0f};
    float rotationAngle = 0.0f;  // radians
    bool spins = false;
    glm::vec3 secondAxis{0.0f};
    float secondAngle = 0.0f;
    glm::vec3 scale{1.0f};
    // Stays with the record while earlier records are removed, so a sliding gate is
    // still found after a pick-up moved the list up.
    uint32_t serial = 0;
};

// A gate sliding open: its record's serial, its axis and the coordinate past which it
// is gone. Every opened gate slides on its own until it is through.
struct Slide {
    uint32_t serial = 0;
    bool alongX = true;
    float end = 0.0f;
};

inline constexpr const char* kRockModelPath = "../Data/Models3D/Rock/LowPolyRock.dae";

class WorldInstances {
public:
    std::vector<BlockInstance> blockInstances;
    std::vector<ModelInstance> modelInstances;
    std::vector<ModelInstance> sceneryModels;  // the rocks along the edge, no cell of their own

    // The gates sliding open, in the order they were opened.
    std::vector<Slide> slides;

    // The instance of one cell's object, appended to its list; nothing for object 0,
    // an unknown id, a block without a render object or an item without a model.
    void createCellInstance(int32_t i, int32_t j, int32_t objectType, bool isBlock, bool visible,
                            const GroundHeight& ground, ModelLoader& models);
    // Empties both lists and creates the instance of every furnished cell of rows and
    // columns 2 ... 70 of the grid; afterRow runs once per grid row.
    void createAllCellInstances(const WorldCells& grid, const GroundHeight& ground, ModelLoader& models,
                                const std::function<void()>& afterRow = {});
    // Index of the first record of the cell in the list isBlock selects (the cell's own
    // isBlock in the grid when not given), or -1. A gate sliding open has left its cell:
    // its record is never found for it.
    int32_t findCellInstance(const WorldCells& grid, int32_t i, int32_t j) const;
    int32_t findCellInstance(int32_t i, int32_t j, bool isBlock) const;
    // Removes that record at once; the later records move up.
    void removeCellInstance(const WorldCells& grid, int32_t i, int32_t j);
    void removeCellInstance(int32_t i, int32_t j, bool isBlock);
    // Starts the cell's model record sliding open, 50 units along its axis; gates that
    // are already sliding go on.
    void startSliding(int32_t i, int32_t j, bool alongX);
    // The slide of a model record, or nullptr when it stands still.
    const Slide* slideOf(const ModelInstance& record) const;
    // Takes the gates that have slid through out of the list (and their slides).
    void removeFinishedSlides(const std::vector<uint32_t>& serials);
    void clearSliding() { slides.clear(); }

    // The eight rocks along the terrain's edge.
    void addSceneryRocks(ModelLoader& models);

private:
    uint32_t nextSerial = 1;
};
