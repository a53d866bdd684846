// The GL-free game session: its start-up steps in the game's random order, the drones'
// creation, the playing frame's skeleton and the rules the frame applies.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "gameplay/Enemy.h"
#include "gameplay/Session.h"
#include "gameplay/TestAids.h"
#include "util/Random.h"
#include "world/ObjectTables.h"
#include "world/WorldGrid.h"

namespace {

TEST(RevealTable, RingsRiseFromTheMiddleOutwards) {
    const RevealTable t = makeRevealTable();
    const float expected[6] = {0.2f, 0.2f, 0.325f, 0.45f, 0.575f, 0.7f};  // by ring
    for (int32_t a = 0; a < kRevealSize; ++a)
        for (int32_t b = 0; b < kRevealSize; ++b) {
            const int32_t ring = std::max(std::abs(a - 5), std::abs(b - 5));
            EXPECT_FLOAT_EQ(t[static_cast<size_t>(a)][static_cast<size_t>(b)], expected[ring]) << a << "," << b;
        }
}

TEST(Enemies, EachDroneDrawsItsSpawnThenItsTwoEffectsInListOrder) {
    const auto grid = std::make_unique<WorldCells>();
    resetWorldGrid(*grid);  // open ground: every first spawn try succeeds
    RandomEngine random(77), expected(77);
    const std::vector<Enemy> enemies = createEnemies(*grid, random);
    ASSERT_EQ(enemies.size(), 60u);
    for (const Enemy& e : enemies) {
        const float x = static_cast<float>(expected.uniformReal(90.0f, 3512.12f));
        const float z = static_cast<float>(expected.uniformReal(90.0f, 3512.12f));
        EXPECT_EQ(e.position, glm::vec3(x, 0.0f, z));
        ParticleSystem hit, destroyed;
        hit.init(20, 1.0f, expected);
        destroyed.init(10, 0.1f, expected);
        EXPECT_EQ(e.damageEffect.particles.size(), 20u);
        EXPECT_FLOAT_EQ(e.destroyEffect.particles[9].life, destroyed.particles[9].life);
    }
    EXPECT_EQ(random.drawsSinceSeed(), 60u * (2 + 20 * 4 + 10 * 4));
    EXPECT_EQ(random.next(), expected.next());
}

TEST(Enemies, ASpawnOnABlockedCellIsDrawnAgainAndABoundedSearchGivesUp) {
    const auto ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
    resetWorldGrid(grid);
    for (auto& column : grid)
        for (WorldCell& c : column) c.blocksMovement = true;
    grid[10][10].blocksMovement = false;
    Enemy e;
    e.spawnMin = 480.0f;  // cells 10 and 11 on both axes: one free cell in four
    e.spawnMax = 540.0f;
    RandomEngine random(5);
    ASSERT_TRUE(e.spawnAtRandom(grid, random));
    EXPECT_EQ(cellOf(e.position.x), 10);
    EXPECT_EQ(cellOf(e.position.z), 10);

    grid[10][10].blocksMovement = true;
    testing::internal::CaptureStderr();
    const glm::vec3 before = e.position;
    EXPECT_FALSE(e.spawnAtRandom(grid, random));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: No free spawn position for an enemy.\n");
    EXPECT_EQ(e.position, before);
}

TEST(Enemies, TheRollChoosesTheLooks) {
    struct Case {
        int32_t roll;
        const char* file;
        float scale;
    } cases[] = {{1, "cildrone.dae", 10}, {9, "cildrone.dae", 10}, {10, "recondrone.dae", 5},
                 {19, "recondrone.dae", 5}, {20, "recondrone_2.dae", 5}, {39, "enemy_pyramid.dae", 4.3f},
                 {49, "enemy_pyramid_2.dae", 4.3f}, {59, "enemy_skull.dae", 12}, {60, "enemy_skull_2.dae", 12},
                 {100, "enemy_skull_2.dae", 12}};
    for (const Case& c : cases) {
        const EnemyKind& kind = enemyKindForRoll(c.roll);
        EXPECT_NE(std::string(kind.modelPath).find(std::string("/") + c.file), std::string::npos) << c.roll;
        EXPECT_FLOAT_EQ(kind.scale.x, c.scale) << c.roll;
        EXPECT_EQ(kind.shortRetreat, c.roll >= 10 && c.roll <= 19) << c.roll;
    }
}

class PlayingSession : public ::testing::Test {
protected:
    // The terrain is slow to build and the same for every test: built once, copied into
    // each test's own session so that no test sees what another one played.
    static void SetUpTestSuite() {
        terrain = new Terrain;
        Session builder;
        builder.buildTerrain();
        *terrain = std::move(builder.terrain);
        terrain->releaseMeshData();
    }
    static void TearDownTestSuite() { delete terrain; }
    void SetUp() override {
        owned = std::make_unique<Session>();
        session = owned.get();
        resetWorldGrid(session->grid);
        session->terrain = *terrain;
        session->setUpLights();
        session->createClothFlag();
        session->initialisePlayer();
        session->startGame(true);
    }
    static Terrain* terrain;
    std::unique_ptr<Session> owned;
    Session* session = nullptr;
    SilentServices sound;
    RandomEngine random{1};
};
Terrain* PlayingSession::terrain = nullptr;

TEST_F(PlayingSession, TheSkyTurnsOnceIn720SecondsOfUnfrozenPlay) {
    for (int frame = 0; frame < 720 * 4; ++frame) session->frameRules(0.25f, sound, false);
    EXPECT_NEAR(session->skyRotationDegrees, 360.0f, 0.01f);
    session->frameRules(1.0f, sound, true);
    EXPECT_NEAR(session->skyRotationDegrees, 360.0f, 0.05f) << "frozen under an overlay";
}

TEST_F(PlayingSession, AFrozenFrameOnlyCountsTheHudTimer) {
    const glm::vec3 before = session->sceneCamera.position;
    const float spin = session->spinAngleSlow;
    session->update(0.25f, {InputEvent::keyDown(Key::W)}, sound, true);
    EXPECT_FLOAT_EQ(session->hudCacheTimer, 0.75f);
    EXPECT_EQ(session->sceneCamera.position, before);
    EXPECT_FLOAT_EQ(session->spinAngleSlow, spin);
    EXPECT_FALSE(session->player.moveForward);
}

TEST_F(PlayingSession, WalkingMovesThePlayerOverTheGroundAndTheDrawWindowFollowsEveryTwoSeconds) {
    session->sceneCamera.front = {1.0f, 0.0f, 0.0f};
    session->update(1.0f / 60.0f, {InputEvent::keyDown(Key::W)}, sound, false);
    for (int frame = 0; frame < 179; ++frame) session->update(1.0f / 60.0f, {}, sound, false);
    const Camera& camera = session->sceneCamera;
    EXPECT_NEAR(camera.position.x, 250.0f + 80.0f * 3.0f, 1.0f);
    EXPECT_FLOAT_EQ(camera.position.y, session->groundHeight(camera.position.x, camera.position.z) + 10.0f);
    // The last two-second tick came at 2 s, with the player at x 410, cell 8.
    EXPECT_EQ(session->drawWindow.minX, 8 - 24) << "moved at the last two-second tick";
    EXPECT_TRUE(session->drawWindow.valid);
}

TEST_F(PlayingSession, ANewGameComputesTheDrawWindowForTheStartCellAtOnce) {
    EXPECT_TRUE(session->drawWindow.valid);
    EXPECT_EQ(session->drawWindow.minX, 5 - 24);
    EXPECT_EQ(session->drawWindow.maxZ, 4 + 24);
}

TEST_F(PlayingSession, TheClothHangsFromItsPinsAndMovesInTheWind) {
    const glm::vec3 pinned = session->cloth.at(0, 0).position;
    const glm::vec3 free = session->cloth.at(19, 8).position;
    for (int frame = 0; frame < 30; ++frame) session->frameRules(1.0f / 60.0f, sound, false);
    EXPECT_EQ(session->cloth.at(0, 0).position, pinned);
    EXPECT_NE(session->cloth.at(19, 8).position, free);
}

TEST(TestAids, OptionsAndTheirErrors) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        const char* error;
    } cases[] = {
        {{"velkaran"}, true, ""},
        {{"velkaran", "--dt", "0.02", "--frames", "10", "--trace", "t.jsonl", "--trace-every", "0"}, true, ""},
        {{"velkaran", "--dt"}, false, "missing value for --dt"},
        {{"velkaran", "--dt", "fast"}, false, "bad frame time for --dt: 'fast' (seconds, above 0 and at most 1)"},
        {{"velkaran", "--dt", "0"}, false, "bad frame time for --dt: '0' (seconds, above 0 and at most 1)"},
        // Above 0 as a double, 0 as the float frame time that would be used.
        {{"velkaran", "--dt", "1e-300"}, false, "bad frame time for --dt: '1e-300' (seconds, above 0 and at most 1)"},
        {{"velkaran", "--trace"}, false, "missing value for --trace"},
        {{"velkaran", "stray"}, false, "unexpected argument 'stray'"},
        {{"velkaran", "--frames", "-3"}, false, "bad count for --frames: '-3'"},
        {{"velkaran", "--fullscreen"}, false, "unknown option '--fullscreen'"},
        {{"velkaran", "--script", "/nonexistent/walk.txt"}, false, nullptr},
    };
    for (const Case& c : cases) {
        TestAids aids;
        std::string error;
        EXPECT_EQ(parseTestAids(static_cast<int>(c.args.size()), c.args.data(), aids, error), c.ok) << c.args.back();
        if (c.error) EXPECT_EQ(error, c.error);
        else EXPECT_EQ(error.rfind("/nonexistent/walk.txt: ", 0), 0u) << error;
    }
    TestAids aids;
    std::string error;
    const char* args[] = {"velkaran", "--dt", "0.02", "--frames", "10", "--fast-forward", "7"};
    ASSERT_TRUE(parseTestAids(7, args, aids, error));
    EXPECT_FLOAT_EQ(*aids.fixedDelta, 0.02f);
    EXPECT_EQ(*aids.frameLimit, 10);
    EXPECT_EQ(aids.fastForward, 7);
    EXPECT_EQ(aids.traceEvery, 1);
}

TEST_F(PlayingSession, TheTraceLineHasThePlayersFieldsInOrder) {
    const std::string line = traceLine(1, GameState::Playing, *session, 1234);
    EXPECT_EQ(line.rfind("{\"frame\": 1, \"state\": 101, \"player\": {\"pos\": [250, ", 0), 0u) << line;
    for (const char* key : {"\"front\": [", "\"cell\": [5, 4]", "\"health\": 100", "\"dead\": false", "\"weapon\": 1",
                            "\"ammo\": [80, 20]", "\"flashlight\": 1", "\"scoped\": false", "\"inventory\": []",
                            "\"escaping\": false}", "\"draws\": 1234}"})
        EXPECT_NE(line.find(key), std::string::npos) << key << " in " << line;
}

}  // namespace
