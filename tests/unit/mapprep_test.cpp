#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "fortress_testing.h"
#include "gameplay/Hud.h"
#include "gameplay/WorldRequests.h"
#include "world/MapScreen.h"

using fortress_testing::forEachCell;

class MapPreparation : public fortress_testing::GridTest {};

namespace {

class RecordingIcons : public MapIconFactory {
public:
    void createMapIcon(const MapIconSpec& icon) override { icons.push_back(icon); }
    std::vector<MapIconSpec> icons;
};

}  // namespace

TEST_F(MapPreparation, IconsRunInRowOrderWithTheirObjectsTextures) {
    auto setup = std::make_unique<FortressSetup>();
    RecordingIcons recorder;
    random.seed(555);
    buildSeededFortress(grid, random, generatorSeedFor(555), *setup, {&recorder, {}});

    ASSERT_FALSE(recorder.icons.empty());
    EXPECT_EQ(static_cast<int>(recorder.icons.size()), setup->mapIconCount);
    for (size_t k = 0; k < recorder.icons.size(); ++k) {
        const MapIconSpec& icon = recorder.icons[k];
        const WorldCell& c = setup->initialWorld[icon.cell.i][icon.cell.j];
        EXPECT_EQ(icon.id, kFirstMapIconId + static_cast<int32_t>(k));
        EXPECT_EQ(c.mapIconId, icon.id);
        if (k > 0) {
            const GridCell before = recorder.icons[k - 1].cell;
            EXPECT_TRUE(before.j < icon.cell.j || (before.j == icon.cell.j && before.i < icon.cell.i));
        }
        const bool boundary = onBoundaryRing(icon.cell.i, icon.cell.j) && c.isBlock && c.mapFog < 1.0f;
        const std::string& tableIcon = c.isBlock ? blockTable()[static_cast<size_t>(c.objectType)].mapIcon
                                                 : itemTable()[static_cast<size_t>(c.objectType)].mapIcon;
        EXPECT_EQ(icon.textureKey, boundary ? std::string(kBoundaryWallIcon) : tableIcon);
    }

    // Objects without an icon: scanner cards, scenery, hazards, the flag pole, picture frames.
    int iconed = 0;
    forEachCell(setup->initialWorld, [&](GridCell at, const WorldCell& c) {
        iconed += c.mapIconId != 0;
        const bool silentItem = !c.isBlock && (c.objectType == item::ScannerCard || c.objectType == item::FlagPole ||
                                               (c.objectType >= item::Stalagmites && c.objectType <= item::LavaPlantTall) ||
                                               (c.objectType >= item::Tree && c.objectType <= item::Skeleton));
        const bool frame = c.isBlock && c.objectType >= block::FirstFrame;
        if (silentItem || frame) {
            EXPECT_EQ(c.mapIconId, 0) << at.i << "," << at.j;
        }
    });
    EXPECT_EQ(iconed, setup->mapIconCount);
}

TEST_F(MapPreparation, BoundaryRingClosesTheWorld) {
    struct Case {
        int i, j;
        bool ring;
    };
    const Case cases[] = {
        {1, 5, true},  {71, 30, true}, {30, 1, true}, {30, 71, true},
        {1, 0, true},  {0, 1, true},   {71, 0, true}, {0, 71, true},  // the ring test applies on every row
        {0, 0, false}, {0, 5, false},  {5, 0, false}, {2, 2, false},
    };
    grid[1][40].objectType = item::Tree;  // an occupied ring cell keeps its object
    grid[1][40].isBlock = false;
    WorldCells snapshot{};
    std::vector<ScannerTarget> targets;
    RecordingIcons recorder;
    prepareMapScreen(grid, snapshot, targets, recorder);
    for (const Case& c : cases) {
        const WorldCell& cell = snapshot[c.i][c.j];
        EXPECT_EQ(cell.blocksMovement, c.ring) << c.i << "," << c.j;
        EXPECT_EQ(cell.pathCost, c.ring ? kWallPathCost : kOpenPathCost) << c.i << "," << c.j;
        EXPECT_EQ(cell.objectType, c.ring ? block::FirstWall : 0);
        EXPECT_EQ(cell.visible, c.ring);
        EXPECT_FLOAT_EQ(cell.mapFog, c.ring ? 0.2f : 1.0f);
        EXPECT_EQ(cell.mapIconId != 0, c.ring);
    }
    EXPECT_EQ(snapshot[1][40].objectType, item::Tree);
    EXPECT_FALSE(snapshot[1][40].blocksMovement);
    EXPECT_EQ(recorder.icons.size(), 4u * 71u - 1u) << "72 + 72 + 70 + 70 ring cells, less the tree";
    EXPECT_EQ(recorder.icons.front().textureKey, kBoundaryWallIcon);
    EXPECT_EQ(recorder.icons.front().cell, (GridCell{1, 0}));
}

TEST_F(MapPreparation, RecordsHiyuraOnceAndTheSpaceship) {
    auto setup = fortress_testing::build(31337);
    const auto& t = setup->scannerTargets;
    ASSERT_EQ(t.size(), 20u);
    EXPECT_EQ(std::count_if(t.begin(), t.end(), [](const ScannerTarget& s) { return s.kind == item::Hiyura; }), 1);
    EXPECT_EQ(t.back(), (ScannerTarget{setup->hiyuraCell.i, item::Hiyura, setup->hiyuraCell.j}));
    const WorldCell& hiyura = setup->initialWorld[setup->hiyuraCell.i][setup->hiyuraCell.j];
    EXPECT_EQ(hiyura.objectType, item::Hiyura);
    EXPECT_FALSE(hiyura.visible || hiyura.interactive);
    EXPECT_EQ(setup->spaceshipCell, (GridCell{6, 5}));
}

TEST_F(MapPreparation, SnapshotIsTheGridAndRestoresIt) {
    auto setup = std::make_unique<FortressSetup>();
    random.seed(77);
    buildSeededFortress(grid, random, generatorSeedFor(77), *setup);
    EXPECT_EQ(setup->initialWorld, grid);
    grid[20][20].objectType = 99;
    grid[6][5].interactive = false;
    restoreInitialWorld(grid, setup->initialWorld);
    EXPECT_EQ(setup->initialWorld, grid);
}

TEST_F(MapPreparation, IconPositionFollowsTheCell) {
    const MapIconSpec icon = mapIconFor({10, 20}, 1234, "KeyRed_IconMap");
    EXPECT_FLOAT_EQ(icon.position.x, -11.8f + 3.3f);
    EXPECT_FLOAT_EQ(icon.position.y, 19.5f - 11.0f);
    EXPECT_FLOAT_EQ(icon.position.z, 0.0f);
    EXPECT_EQ(icon.rotationDegrees, glm::vec3(0.0f, 0.0f, 180.0f));
    EXPECT_EQ(icon.scale, glm::vec3(0.15f, 0.26f, 0.15f));
}

// After play has emptied a cell and a drone's drop has fallen into it, the map shows
// the drop (or nothing), never the object that was taken.
TEST_F(MapPreparation, TheMapShowsWhatACellHoldsAfterPlayChangedIt) {
    auto setup = fortress_testing::build(77);
    grid = setup->initialWorld;
    GridCell key{};  // an item with an icon of its own: a key, a node, ...
    forEachCell(grid, [&](GridCell at, const WorldCell& c) {
        if (!c.isBlock && c.mapIconId != 0 && c.objectType != item::EnergyCell) key = at;
    });
    ASSERT_NE(key, GridCell{});
    WorldCell& c = grid[key.i][key.j];
    const int32_t keyIcon = c.mapIconId;
    ASSERT_NE(keyIcon, 0);
    auto markAt = [&] {
        for (const MapMark& m : mapScreenMarks(grid))
            if (m.i == key.i && m.j == key.j) return std::optional<MapMark>(m);
        return std::optional<MapMark>();
    };

    WorldRequests requests;
    removeCellObject(grid, requests, key.i, key.j, false, true);
    EXPECT_EQ(c.mapIconId, 0);
    placeCellObject(grid, requests, key.i, key.j, item::ScannerCard, false, true, false, true, true);
    EXPECT_EQ(c.mapIconId, 0) << "a scanner card has no icon";
    EXPECT_FALSE(markAt()) << "the key's icon is not shown over the card";

    removeCellObject(grid, requests, key.i, key.j, false, true);
    placeCellObject(grid, requests, key.i, key.j, item::EnergyCell, false, true, false, true, true);
    const std::optional<MapMark> mark = markAt();
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->iconId, placedObjectIconId(false, item::EnergyCell));
    const std::vector<MapIconSpec> shared = placedObjectIcons();
    const auto icon = std::find_if(shared.begin(), shared.end(), [&](const MapIconSpec& s) { return s.id == mark->iconId; });
    ASSERT_NE(icon, shared.end());
    EXPECT_EQ(icon->textureKey, "EnergyCell_IconMap");
    EXPECT_GT(icon->id, kFirstMapIconId + setup->mapIconCount) << "never one of the cells' own ids";
    EXPECT_EQ(placedObjectIconId(true, block::Teleport), placedObjectIconId(true, block::Teleport));
    EXPECT_NE(placedObjectIconId(true, block::Teleport), placedObjectIconId(false, item::EnergyCell));

    // An energy cell put on a platform leaves the platform's record, and its icon, alone.
    const int32_t before = c.mapIconId;
    placeCellObject(grid, requests, key.i, key.j, item::Health, false, true, false, false, false);
    EXPECT_EQ(c.mapIconId, before);
}
