// The fortress's instance records on a small hand-made grid: where each kind of object
// stands, which cells get none, and the per-cell operations gameplay uses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "world/ObjectTables.h"
#include "world/WorldGrid.h"
#include "world/WorldInstances.h"

namespace {

// Hands out one handle per distinct path, as the game's model library does.
struct CountingModels : ModelLoader {
    std::vector<std::string> requests;
    std::vector<std::string> distinct;
    ModelHandle loadModel(const std::string& path, ModelProgram) override {
        requests.push_back(path);
        for (size_t k = 0; k < distinct.size(); ++k)
            if (distinct[k] == path) return static_cast<ModelHandle>(k);
        distinct.push_back(path);
        return static_cast<ModelHandle>(distinct.size() - 1);
    }
};

class InstanceGrid : public ::testing::Test {
protected:
    void SetUp() override { resetWorldGrid(grid); }
    void place(int32_t i, int32_t j, int32_t type, bool isBlock) {
        WorldCell& c = grid[static_cast<size_t>(i)][static_cast<size_t>(j)];
        c.objectType = type;
        c.isBlock = isBlock;
        c.visible = true;
    }
    // Rolling ground, so that a height that ignores it shows.
    GroundHeight ground = [](float x, float z) { return 0.01f * x + 0.02f * z + 3.0f; };
    CountingModels models;
    WorldInstances world;
    std::unique_ptr<WorldCells> ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
};

TEST_F(InstanceGrid, EachKindOfObjectStandsWhereItsDefinitionSays) {
    place(5, 6, block::FirstWall, true);
    const int32_t frame = block::FirstFrame + 4 * 3 + 1;
    place(7, 8, frame, true);
    place(9, 10, block::FirstTrace, true);
    place(11, 12, item::GateRed, false);
    place(13, 14, item::Health, false);
    world.createAllCellInstances(grid, ground, models);

    ASSERT_EQ(world.blockInstances.size(), 3u);
    const BlockInstance& wall = world.blockInstances[0];
    EXPECT_EQ(wall.position, glm::vec3(250.0f, 60.0f, 300.0f)) << "a wall stands at 60 whatever the ground";
    EXPECT_EQ(wall.renderObjectId, blockTable()[block::FirstWall].renderObjectId);
    const BlockDef& f = blockTable()[static_cast<size_t>(frame)];
    EXPECT_EQ(world.blockInstances[1].position, glm::vec3(350.0f, 70.0f, 400.0f) + f.offset);
    EXPECT_EQ(world.blockInstances[1].renderObjectId, 63);
    EXPECT_FLOAT_EQ(world.blockInstances[2].position.y, ground(450.0f, 500.0f) + 2.0f)
        << "a negative base height lifts the block that far above the ground";
    EXPECT_TRUE(world.blockInstances[2].spins);

    ASSERT_EQ(world.modelInstances.size(), 2u);
    const ModelInstance& gate = world.modelInstances[0];
    EXPECT_EQ(gate.position, glm::vec3(550.0f + 25.0f, ground(550.0f, 600.0f) + itemTable()[item::GateRed].heightOffset, 600.0f))
        << "the gate moves 25 units towards the wall it closes";
    EXPECT_EQ(models.requests[0], itemTable()[item::GateRed].modelPath);
    EXPECT_EQ(models.requests[0].rfind(kModelDirectory, 0), 0u);
    EXPECT_NE(gate.serial, world.modelInstances[1].serial);
}

TEST_F(InstanceGrid, TheBorderRowsObjectZeroAndEmptyDefinitionsGetNoInstance) {
    for (int32_t k : {0, 1, 71}) {
        place(k, 30, block::FirstWall, true);
        place(30, k, item::Health, false);
    }
    world.createAllCellInstances(grid, ground, models);
    EXPECT_TRUE(world.blockInstances.empty());
    EXPECT_TRUE(world.modelInstances.empty());

    world.createCellInstance(20, 20, 0, true, true, ground, models);
    world.createCellInstance(20, 20, 0, false, true, ground, models);
    world.createCellInstance(20, 20, block::Count + 5, true, true, ground, models);
    world.createCellInstance(20, 20, item::ConnectedCells, false, true, ground, models);  // a counter, no model
    EXPECT_TRUE(world.blockInstances.empty());
    EXPECT_TRUE(world.modelInstances.empty());
    EXPECT_TRUE(models.requests.empty());
}

TEST_F(InstanceGrid, OneModelIsLoadedPerFileHoweverManyInstancesUseIt) {
    for (int32_t i = 2; i < 40; ++i) place(i, 20, item::Health, false);
    world.createAllCellInstances(grid, ground, models);
    EXPECT_EQ(world.modelInstances.size(), 38u);
    EXPECT_EQ(models.distinct.size(), 1u);
    for (const ModelInstance& m : world.modelInstances) EXPECT_EQ(m.model, 0);
}

TEST_F(InstanceGrid, FindAndRemoveFollowTheCellsListAndTheLaterRecordsMoveUp) {
    place(4, 4, item::Health, false);
    place(5, 4, block::FirstWall, true);
    place(6, 4, item::Ammo, false);
    world.createAllCellInstances(grid, ground, models);
    EXPECT_EQ(world.findCellInstance(grid, 4, 4), 0);
    EXPECT_EQ(world.findCellInstance(grid, 5, 4), 0) << "the block list, since the cell holds a block";
    EXPECT_EQ(world.findCellInstance(grid, 6, 4), 1);
    EXPECT_EQ(world.findCellInstance(grid, 7, 4), -1);
    EXPECT_EQ(world.findCellInstance(grid, -1, 80), -1);

    world.removeCellInstance(grid, 4, 4);
    EXPECT_EQ(world.findCellInstance(grid, 6, 4), 0);
    EXPECT_EQ(world.modelInstances.size(), 1u);
    world.removeCellInstance(grid, 4, 4);  // nothing left there
    EXPECT_EQ(world.modelInstances.size(), 1u);
}

TEST_F(InstanceGrid, GatesSlideOnTheirOwnAndLeaveTheirCellsAsTheyStart) {
    place(10, 10, item::Health, false);
    place(12, 10, item::GateGreen, false);
    place(14, 10, item::GateRed, false);
    world.createAllCellInstances(grid, ground, models);
    world.startSliding(12, 10, true);
    world.startSliding(14, 10, false);  // while the first still slides
    ASSERT_EQ(world.slides.size(), 2u);
    EXPECT_FLOAT_EQ(world.slides[0].end, world.modelInstances[1].position.x + 50.0f);
    EXPECT_FLOAT_EQ(world.slides[1].end, world.modelInstances[2].position.z + 50.0f);

    world.removeCellInstance(grid, 10, 10);  // a pick-up while the gates slide
    ASSERT_EQ(world.modelInstances[0].i, 12);
    EXPECT_NE(world.slideOf(world.modelInstances[0]), nullptr) << "the gate still slides, not the record after it";
    EXPECT_NE(world.slideOf(world.modelInstances[1]), nullptr);

    // A drop into an opening doorway is that cell's record, not the gate.
    EXPECT_EQ(world.findCellInstance(grid, 12, 10), -1);
    world.createCellInstance(12, 10, item::Health, false, true, ground, models);
    EXPECT_EQ(world.findCellInstance(grid, 12, 10), 2);
    world.removeCellInstance(grid, 12, 10);
    ASSERT_EQ(world.modelInstances.size(), 2u);
    EXPECT_NE(world.slideOf(world.modelInstances[0]), nullptr) << "taking the drop leaves the gate alone";
    world.startSliding(12, 10, true);  // the doorway has no record of its own any more
    world.startSliding(30, 30, true);  // no record at all
    EXPECT_EQ(world.slides.size(), 2u);

    world.removeFinishedSlides({world.modelInstances[0].serial});
    ASSERT_EQ(world.modelInstances.size(), 1u);
    EXPECT_EQ(world.modelInstances[0].i, 14);
    ASSERT_EQ(world.slides.size(), 1u);
    EXPECT_EQ(world.slides[0].serial, world.modelInstances[0].serial);
    world.clearSliding();
    EXPECT_EQ(world.slideOf(world.modelInstances[0]), nullptr);
}

TEST_F(InstanceGrid, EightRocksStandAlongTheEdgeAndShareOneModel) {
    world.addSceneryRocks(models);
    ASSERT_EQ(world.sceneryModels.size(), 8u);
    EXPECT_EQ(world.sceneryModels[0].position, glm::vec3(30.0f, 100.0f, 30.0f));
    EXPECT_EQ(world.sceneryModels[7].position, glm::vec3(3569.12f, 120.0f, 1764.56f));
    EXPECT_EQ(world.sceneryModels[3].scale, glm::vec3(20.0f, 36.0f, 20.0f));
    EXPECT_EQ(models.distinct, std::vector<std::string>{kRockModelPath});
}

}  // namespace
