#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "fortress_testing.h"
#include "gameplay/Enemy.h"
#include "gameplay/Player.h"
#include "util/Random.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;

class RecordingServices : public GameServices {
public:
    std::vector<std::string> calls;
    void playOnChannel(const std::string& sound, uint16_t channel, float) override {
        calls.push_back("play " + sound + " " + std::to_string(channel));
    }
    void stopChannel(uint16_t channel) override { calls.push_back("stop " + std::to_string(channel)); }
    void playOneShot(const std::string& sound) override { calls.push_back("once " + sound); }
    long count(const std::string& call) const { return std::count(calls.begin(), calls.end(), call); }
};

// An engine whose next draws satisfy `wanted` (which consumes them from a probe copy),
// found by walking one seeded stream a percent roll at a time.
template <typename Wanted>
RandomEngine engineWhere(Wanted wanted) {
    RandomEngine stream(7);
    for (;;) {
        RandomEngine probe = stream;
        if (wanted(probe)) return stream;
        stream.percentRoll();
    }
}

// One drone over flat ground at height 0, so it hovers at y = 12; the player's eye is
// put at that height too, so every distance below is a flat one.
struct Drones {
    RecordingServices sound;
    RandomEngine random{1};
    WorldRequests requests;
    std::unique_ptr<WorldCells> ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
    RuleContext context{random, sound, requests, grid};
    Camera camera;
    Player player;
    Enemy enemy;
    GroundHeight ground = [](float, float) { return 0.0f; };

    Drones() { fortress_testing::freshWorld(grid); }

    void droneAt(float x, float z) { enemy.position = {x, 12.0f, z}; }
    void playerAt(float x, float z) { camera.position = {x, 12.0f, z}; }
    // Neither chases nor backs away, whatever the distance.
    void holdStill() { enemy.retreatDistance = enemy.chaseDistance = 0.0f; }
    GridCell playerCell() const { return {cellOf(camera.position.x), cellOf(camera.position.z)}; }
    void update(float dt = kDt, bool playerDead = false) {
        enemy.updateEnemy(ground, camera, dt, playerDead, playerCell(), context);
    }
};

}  // namespace

TEST(EnemyPursuit, DistanceDecidesBetweenClosingInBackingAwayAndStaying) {
    struct Case {
        float distance;
        float expectedDx;  // along the line to the player, which lies on +x
    };
    // The heading (1, 0, 0) times 25 less the bias gives 24 along x.
    const Case cases[] = {
        {75.0f, 24.0f * kDt * 2.5f},
        {74.9f, -24.0f * kDt * 1.5f},
        {350.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        Drones w;
        w.droneAt(1000.0f, 1000.0f);
        w.playerAt(1000.0f + c.distance, 1000.0f);
        w.update();
        EXPECT_NEAR(w.enemy.position.x - 1000.0f, c.expectedDx, 1e-4f);
    }
}

TEST(EnemyWalls, SteppingIntoAWallSlidesAlongTheOpenAxisOrGoesBack) {
    // From cell (2, 2) a chase toward (300, 300) in one 0.1 s step lands in cell (3, 3).
    Drones free;
    free.droneAt(124.0f, 124.0f);
    free.playerAt(300.0f, 300.0f);
    free.update(0.1f);
    const float nx = free.enemy.position.x, nz = free.enemy.position.z;
    ASSERT_EQ(cellOf(nx), 3);
    ASSERT_EQ(cellOf(nz), 3);

    struct Case {
        const char* name;
        std::vector<GridCell> walls;
        float spawnMax;
        float x, z;
    };
    const Case cases[] = {
        {"x still open: keeps x, z goes back", {{3, 3}}, 3512.12f, nx, 124.0f},
        {"only z open: keeps z, x goes back", {{3, 3}, {3, 2}}, 3512.12f, 124.0f, nz},
        {"cornered inside the spawn square: back where it was", {{3, 3}, {3, 2}, {2, 3}}, 3512.12f, 124.0f, 124.0f},
        {"cornered outside the spawn square: pushes on", {{3, 3}, {3, 2}, {2, 3}}, 126.0f, nx, nz},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drones w;
        for (GridCell cell : c.walls) fortress_testing::makeWall(w.grid, cell.i, cell.j);
        w.enemy.spawnMax = c.spawnMax;
        w.droneAt(124.0f, 124.0f);
        w.playerAt(300.0f, 300.0f);
        w.update(0.1f);
        EXPECT_FLOAT_EQ(w.enemy.position.x, c.x);
        EXPECT_FLOAT_EQ(w.enemy.position.z, c.z);
    }
}

TEST(EnemyWalls, CellsBeyondTheGridActAsWalls) {
    {
        SCOPED_TRACE("at the west edge, stepping out: slides along z");
        Drones w;
        w.droneAt(-74.0f, 500.0f);  // cell (0, 10)
        w.playerAt(-300.0f, 600.0f);
        w.update(0.1f);
        EXPECT_FLOAT_EQ(w.enemy.position.x, -74.0f);
        EXPECT_GT(w.enemy.position.z, 500.0f);
    }
    {
        SCOPED_TRACE("outside the grid inside a spawn square round the corner: held");
        Drones w;
        w.enemy.spawnMin = -500.0f;
        w.enemy.spawnMax = 100.0f;
        w.droneAt(-200.0f, -200.0f);
        w.playerAt(0.0f, 0.0f);
        for (int k = 0; k < 30; ++k) w.update(0.1f);
        EXPECT_FLOAT_EQ(w.enemy.position.x, -200.0f);
        EXPECT_FLOAT_EQ(w.enemy.position.z, -200.0f);
    }
}

TEST(EnemySight, TheGridLineDecidesWhetherTheDroneFires) {
    struct Case {
        const char* name;
        GridCell drone;
        GridCell player;
        std::vector<GridCell> walls;
        bool playerDead;
        float sightTimer;
        bool fires;
    };
    const Case cases[] = {
        {"clear straight line", {2, 2}, {10, 2}, {}, false, 0.81f, true},
        {"a wall cell between", {2, 2}, {10, 2}, {{6, 2}}, false, 0.81f, false},
        {"walls beside the diagonal-first path", {2, 2}, {10, 5}, {{4, 3}, {6, 4}}, false, 0.81f, true},
        {"a wall on the diagonal-first path", {2, 2}, {10, 5}, {{4, 4}}, false, 0.81f, false},
        {"the player's own cell blocks", {2, 2}, {10, 2}, {{10, 2}}, false, 0.81f, false},
        {"the drone's own cell is not tested", {2, 2}, {10, 2}, {{2, 2}}, false, 0.81f, true},
        {"beyond 450 units", {2, 2}, {12, 2}, {}, false, 0.81f, false},
        {"the player is dead", {2, 2}, {10, 2}, {}, true, 0.81f, false},
        {"the player in cell (0, 0)", {2, 2}, {0, 0}, {}, false, 0.81f, false},
        {"the check is not due yet", {2, 2}, {10, 2}, {}, false, 0.5f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drones w;
        w.holdStill();
        for (GridCell cell : c.walls) fortress_testing::makeWall(w.grid, cell.i, cell.j);
        w.droneAt(50.0f * static_cast<float>(c.drone.i), 50.0f * static_cast<float>(c.drone.j));
        w.playerAt(50.0f * static_cast<float>(c.player.i), 50.0f * static_cast<float>(c.player.j));
        w.enemy.sightTimer = c.sightTimer;
        w.update(kDt, c.playerDead);
        // The launch is the sign: a ball fired from inside a wall cell bursts at once,
        // which already clears `firing`.
        EXPECT_EQ(w.enemy.projectileInFlight, c.fires);
        EXPECT_EQ(w.sound.count("once FireEnemy"), c.fires ? 1 : 0);
    }
}

TEST(EnemyProjectile, FliesToWhereThePlayerStoodAndStopsAtAWallOrTheGridEdge) {
    struct Case {
        const char* name;
        float droneX;
        float playerX;
        std::vector<GridCell> walls;
        float stopMin, stopMax;  // where the blast must stand along x
    };
    const Case cases[] = {
        {"open ground: at the player's spot", 100.0f, 400.0f, {}, 400.0f, 400.0f},
        {"a wall on the way: at the wall's face", 100.0f, 500.0f, {{6, 2}}, 275.0f, 281.0f},
        {"beyond the grid's edge: at the edge", 3400.0f, 3700.0f, {}, 3575.0f, 3581.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drones w;
        w.holdStill();
        for (GridCell cell : c.walls) fortress_testing::makeWall(w.grid, cell.i, cell.j);
        w.droneAt(c.droneX, 100.0f);
        w.playerAt(c.playerX, 100.0f);
        w.enemy.firing = true;
        for (int k = 0; k < 120 && !w.enemy.exploding; ++k) {
            w.update();
            if (k == 0) w.playerAt(c.playerX, 600.0f);  // it homes on the launch spot, not the player
        }
        ASSERT_TRUE(w.enemy.exploding);
        EXPECT_GE(w.enemy.projectileTarget.x, c.stopMin);
        EXPECT_LE(w.enemy.projectileTarget.x, c.stopMax);
        EXPECT_FALSE(w.enemy.firing);
        EXPECT_TRUE(w.enemy.projectileReady);
        EXPECT_TRUE(w.enemy.projectileInFlight);
        EXPECT_FLOAT_EQ(w.enemy.projectilePosition.y, -999.0f);
        EXPECT_EQ(w.sound.count("once FireEnemy"), 1);
        w.enemy.secondPass(w.player, w.context);
        EXPECT_TRUE(w.enemy.blastShown);
    }
}

TEST(EnemyDamage, DiesBelowOneHealthWithOneOfTwoDeathSounds) {
    struct Case {
        int32_t health;
        int32_t amount;
        int32_t deathRoll;  // 0: the hit is survived and draws nothing
        const char* sound;
    };
    const Case cases[] = {
        {100, 30, 0, nullptr},
        {2, 1, 0, nullptr},
        {1, 1, 50, "once EnemyDead2"},
        {10, 30, 51, "once EnemyDead"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.health);
        Drones w;
        if (c.deathRoll != 0) {
            // The drop roll after it is kept above 30, so nothing else is heard.
            w.random =
                engineWhere([&](RandomEngine& r) { return r.percentRoll() == c.deathRoll && r.percentRoll() > 30; });
        }
        w.droneAt(500.0f, 700.0f);
        w.enemy.health = c.health;
        const uint64_t drawsBefore = w.random.drawsSinceSeed();
        w.enemy.takeDamage(c.amount, w.context);
        EXPECT_EQ(w.enemy.health, c.health - c.amount);
        EXPECT_TRUE(w.enemy.hit);
        EXPECT_FLOAT_EQ(w.enemy.hitTimer, 2.0f);
        const bool dies = c.sound != nullptr;
        EXPECT_EQ(w.enemy.dead, dies);
        if (dies) {
            EXPECT_FLOAT_EQ(w.enemy.deathTimer, 3.0f);
            EXPECT_EQ(w.enemy.deathPosition, w.enemy.position);
            EXPECT_EQ(w.sound.calls, std::vector<std::string>{c.sound});
        } else {
            EXPECT_TRUE(w.sound.calls.empty());
            EXPECT_EQ(w.random.drawsSinceSeed(), drawsBefore);
        }
    }
}

TEST(EnemyDamage, TheDropRollDecidesTheItemLeftInTheDeathCell) {
    struct Case {
        int32_t roll;
        float x, z;  // where the drone dies
        GridCell cell;
        int32_t item;  // 0: nothing
    };
    const Case cases[] = {
        {1, 500.0f, 700.0f, {10, 14}, 3},      {10, 500.0f, 700.0f, {10, 14}, 3},
        {11, 500.0f, 700.0f, {10, 14}, 1},     {20, 500.0f, 700.0f, {10, 14}, 1},
        {21, 500.0f, 700.0f, {10, 14}, 12},    {30, 500.0f, 700.0f, {10, 14}, 12},
        {31, 500.0f, 700.0f, {10, 14}, 0},     {100, 500.0f, 700.0f, {10, 14}, 0},
        {10, -200.0f, 700.0f, {0, 0}, 3},  // beyond the grid: into cell (0, 0)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.roll);
        Drones w;
        w.random = engineWhere([&](RandomEngine& r) { return r.percentRoll() > 0 && r.percentRoll() == c.roll; });
        w.droneAt(c.x, c.z);
        w.enemy.takeDamage(100, w.context);
        ASSERT_TRUE(w.enemy.dead);
        const WorldCell& cell = cellAt(w.grid, c.cell);
        if (c.item == 0) {
            EXPECT_TRUE(w.requests.placements.empty());
            EXPECT_EQ(w.sound.count("once EnemyDropItem"), 0);
            EXPECT_EQ(cell.objectType, 0);
            continue;
        }
        ASSERT_EQ(w.requests.placements.size(), 1u);
        const ObjectPlacement& p = w.requests.placements[0];
        EXPECT_EQ((GridCell{p.i, p.j}), c.cell);
        EXPECT_EQ(p.objectId, c.item);
        EXPECT_FALSE(p.isBlock);
        EXPECT_TRUE(p.visible);
        EXPECT_EQ(cell.objectType, c.item);
        EXPECT_FALSE(cell.isBlock);
        EXPECT_TRUE(cell.visible);
        EXPECT_TRUE(cell.interactive);
        EXPECT_FALSE(cell.blocksMovement);
        EXPECT_EQ(w.sound.calls.back(), "once EnemyDropItem");
    }
}

TEST(EnemyDamage, ADropIntoAnOccupiedCellIsSkippedSilently) {
    Drones w;
    w.random = engineWhere([](RandomEngine& r) { return r.percentRoll() > 0 && r.percentRoll() == 10; });
    WorldCell& cell = w.grid[10][14];
    cell.objectType = 5;
    const WorldCell before = cell;
    w.droneAt(500.0f, 700.0f);
    w.enemy.takeDamage(100, w.context);
    ASSERT_TRUE(w.enemy.dead);
    EXPECT_TRUE(w.requests.placements.empty());
    EXPECT_EQ(w.sound.count("once EnemyDropItem"), 0);
    EXPECT_EQ(cell, before);
}

TEST(EnemyDodge, AHitDroneMayDartAsideAlongTheRolledAxis) {
    struct Case {
        const char* name;
        bool (*rolls)(RandomEngine&);
        float dx, dz;
        uint64_t draws;  // this frame's draws, the sight timer's included
    };
    const float step = 25.0f * 5.0f * kDt;
    const Case cases[] = {
        {"no dodge at 70 or below", [](RandomEngine& r) { return r.percentRoll() <= 70; }, 0.0f, 0.0f, 2},
        {"backwards along x",
         [](RandomEngine& r) { return r.percentRoll() > 70 && r.percentRoll() < 51 && r.percentRoll() > 50; }, -step,
         0.0f, 4},
        {"forwards along z",
         [](RandomEngine& r) { return r.percentRoll() > 70 && r.percentRoll() >= 51 && r.percentRoll() <= 50; }, 0.0f,
         step, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drones w;
        w.holdStill();
        w.random = engineWhere(c.rolls);
        w.droneAt(1000.0f, 1000.0f);
        w.playerAt(2000.0f, 2000.0f);
        w.enemy.hit = true;
        const uint64_t before = w.random.drawsSinceSeed();
        w.update();
        EXPECT_EQ(w.random.drawsSinceSeed() - before, c.draws);
        EXPECT_NEAR(w.enemy.position.x - 1000.0f, c.dx, 1e-4f);
        EXPECT_NEAR(w.enemy.position.z - 1000.0f, c.dz, 1e-4f);
    }
}

TEST(EnemyDodge, TheChanceToDodgeLastsAboutASecondAndADodgeAboutSevenTenths) {
    Drones w;
    w.holdStill();
    w.random = engineWhere([](RandomEngine& r) { return r.percentRoll() > 70; });
    w.droneAt(1000.0f, 1000.0f);
    w.playerAt(2000.0f, 2000.0f);
    w.enemy.hit = true;
    int hitFrames = 0, dodgeFrames = 0;
    for (int k = 0; k < 120; ++k) {
        w.update();
        if (w.enemy.hit) ++hitFrames;
        if (w.enemy.dodging || w.enemy.dodgeTime > 0.0f) ++dodgeFrames;
    }
    EXPECT_NEAR(static_cast<float>(hitFrames) * kDt, 1.0f, 2.0f * kDt);
    EXPECT_FALSE(w.enemy.hit);
    EXPECT_FLOAT_EQ(w.enemy.dodgeTimer, 0.0f);
    EXPECT_GE(static_cast<float>(dodgeFrames) * kDt, 0.7f - 2.0f * kDt);
}

TEST(EnemyContact, HurtsAtMostOncePerSecondWhenCloserThanEightUnits) {
    struct Case {
        float distance;
        int hits;  // over 2.5 s
    };
    const Case cases[] = {{7.9f, 3}, {8.0f, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        Drones w;
        w.holdStill();
        w.droneAt(1000.0f, 1000.0f);
        w.playerAt(1000.0f + c.distance, 1000.0f);
        int hits = 0;
        for (int k = 0; k < 150; ++k) {
            w.update();
            w.enemy.firstPass(w.player, w.context);
            if (w.enemy.contactCooldown == 1.0f) ++hits;
        }
        EXPECT_EQ(hits, c.hits);
    }
}

TEST(EnemyBlast, GrowsForAboutASecondAndHurtsAtMostOnce) {
    struct Case {
        float distance;  // from the player to the blast's centre
        bool hurts;
    };
    const Case cases[] = {{10.0f, true}, {30.0f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        Drones w;
        w.enemy.exploding = true;
        w.enemy.projectileTarget = {1000.0f, 12.0f, 1000.0f};
        w.enemy.cameraCopy.position = {1000.0f + c.distance, 12.0f, 1000.0f};
        w.enemy.frameTime = kDt;
        int shown = 0, disarms = 0;
        float sizeAtHurt = 0.0f;
        for (int k = 0; k < 200 && w.enemy.exploding; ++k) {
            const bool armed = w.enemy.blastArmed;
            w.enemy.secondPass(w.player, w.context);
            if (w.enemy.blastShown) ++shown;
            if (armed && !w.enemy.blastArmed) {
                ++disarms;
                sizeAtHurt = w.enemy.blastSize;
            }
        }
        EXPECT_FALSE(w.enemy.exploding);
        EXPECT_NEAR(static_cast<float>(shown) * kDt, (7.0f - 0.01f) / 6.0f, 2.0f * kDt);
        EXPECT_EQ(disarms, c.hurts ? 1 : 0);
        if (c.hurts) {
            EXPECT_NEAR(sizeAtHurt, c.distance / 4.0f, 6.0f * kDt);
        }
        EXPECT_TRUE(w.enemy.blastArmed);
        EXPECT_FLOAT_EQ(w.enemy.blastSize, 0.01f);
    }
}

TEST(EnemyRespawn, ComesBackTenSecondsAfterDeathWithFullHealthAtAFreePosition) {
    Drones w;
    w.enemy.destroyEffect.init(10, 0.1f, w.random);
    w.droneAt(500.0f, 700.0f);
    w.playerAt(2000.0f, 2000.0f);
    w.enemy.exploding = true;
    w.enemy.takeDamage(100, w.context);
    ASSERT_TRUE(w.enemy.dead);
    int deadFrames = 0, wreckFrames = 0;
    for (int k = 0; k < 700 && w.enemy.dead; ++k) {
        w.update();
        EXPECT_FLOAT_EQ(w.enemy.position.y, -999.0f);
        w.enemy.firstPass(w.player, w.context);
        if (w.enemy.destroyEffectShown) ++wreckFrames;
        ++deadFrames;
    }
    ASSERT_FALSE(w.enemy.dead);
    EXPECT_NEAR(static_cast<float>(deadFrames) * kDt, 10.0f, 2.0f * kDt);
    EXPECT_NEAR(static_cast<float>(wreckFrames) * kDt, 3.0f, 3.0f * kDt);
    EXPECT_EQ(w.enemy.health, 100);
    EXPECT_FALSE(w.enemy.hit);
    EXPECT_FALSE(w.enemy.exploding);
    EXPECT_FLOAT_EQ(w.enemy.hitTimer, 0.0f);
    EXPECT_FLOAT_EQ(w.enemy.deadTime, 0.0f);
    EXPECT_FLOAT_EQ(w.enemy.blastSize, 0.01f);
    const glm::vec3 p = w.enemy.position;
    EXPECT_NE(p, w.enemy.deathPosition);
    EXPECT_GE(std::min(p.x, p.z), w.enemy.spawnMin);
    EXPECT_LE(std::max(p.x, p.z), w.enemy.spawnMax);
}

TEST(EnemyRespawn, WithNoFreeCellTheDroneStaysDownAndSearchesOnce) {
    Drones w;
    for (int i = 0; i < kWorldSize; ++i) {
        for (int j = 0; j < kWorldSize; ++j) fortress_testing::makeWall(w.grid, i, j);
    }
    w.enemy.dead = true;
    w.enemy.deadTime = 9.99f;
    w.enemy.frameTime = kDt;
    testing::internal::CaptureStderr();
    for (int k = 0; k < 5; ++k) w.enemy.firstPass(w.player, w.context);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "ERROR: No free spawn position for an enemy.\n");
    EXPECT_TRUE(w.enemy.dead);
    EXPECT_FALSE(w.enemy.respawns);
}
