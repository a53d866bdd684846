// The automatic player's parts: its hands on the mouse and keys, its gun timing, its
// map of where it may walk, its choice of errands and the order of its tour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "fortress_testing.h"
#include "gameplay/Interactions.h"
#include "gameplay/Player.h"
#include "gameplay/Session.h"
#include "gameplay/bot/BotCombat.h"
#include "gameplay/bot/BotMission.h"
#include "gameplay/bot/BotRoutes.h"
#include "gameplay/bot/BotSteering.h"
#include "gameplay/bot/BotTour.h"
#include "util/Random.h"
#include "world/ObjectTables.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;
constexpr float kPi = 3.14159265f;

using fortress_testing::freshWorld;
using fortress_testing::makeWall;

// An item object standing in a cell, as the furnishing leaves it.
void put(WorldCells& grid, int i, int j, int32_t id, bool shown = true) {
    WorldCell& c = grid[i][j];
    c.objectType = id;
    c.isBlock = false;
    c.visible = shown;
    c.interactive = shown;
    c.blocksMovement = itemTable()[static_cast<size_t>(id)].blocksMovement;
}

// A player on flat ground in an empty grid, whose frames run the real player update.
struct Hands {
    Camera camera;
    Player player;
    AimController aim;
    SilentServices sound;
    RandomEngine random{3};
    WorldRequests requests;
    std::unique_ptr<WorldCells> grid = std::make_unique<WorldCells>();
    RuleContext context{random, sound, requests, *grid};
    GroundHeight ground = [](float, float) { return 0.0f; };
    bot::Steering steering;

    Hands() {
        freshWorld(*grid);
        player.initialise(camera, glm::vec3(1000.0f, 0.0f, 1000.0f));
    }

    void frame(const InputEvents& events) { runPlayerFrame(player, camera, ground, kDt, events, aim, 24, context); }
};

TEST(BotSteering, FacesAnyWayWithPointerStepsThatAreNeverTakenForWarps) {
    struct Case {
        float yawDegrees;    // from the view (0, 0, -1), in the sense the view turns
        float pitchDegrees;  // above the horizon
    };
    const Case cases[] = {{0.5f, 0.0f}, {90.0f, 0.0f}, {-90.0f, 0.0f}, {179.0f, 0.0f},
                          {-135.0f, 20.0f}, {45.0f, -30.0f}, {0.0f, 10.0f}};
    for (const Case& c : cases) {
        Camera camera;
        camera.lastMouseX = 12345.0;  // wherever the pointer stands
        camera.lastMouseY = -77.0;
        const float yaw = c.yawDegrees * kPi / 180.0f;
        const float pitch = c.pitchDegrees * kPi / 180.0f;
        // Turning (0, 0, -1) up by yaw about the vertical gives (-sin, 0, -cos).
        const glm::vec3 wanted{-std::sin(yaw) * std::cos(pitch), std::sin(pitch), -std::cos(yaw) * std::cos(pitch)};
        InputEvents events;
        bot::Steering().face(camera, wanted * 3.0f, kDt, events);
        double x = camera.lastMouseX, y = camera.lastMouseY;
        for (const InputEvent& e : events) {
            ASSERT_EQ(e.type, InputType::MouseMotion);
            EXPECT_LE(std::hypot(e.x - x, e.y - y), 50.0) << c.yawDegrees;
            x = e.x;
            y = e.y;
            camera.look(e.x, e.y, kDt);
        }
        const float error = std::acos(std::clamp(glm::dot(glm::normalize(camera.front), wanted), -1.0f, 1.0f));
        EXPECT_LT(error * 180.0f / kPi, 0.2f) << c.yawDegrees << " " << c.pitchDegrees;
    }
}

TEST(BotSteering, TheStrafingViewSendsTheDiagonalStepAlongTheHeading) {
    for (float degrees = -180.0f; degrees < 180.0f; degrees += 37.0f) {
        const float a = degrees * kPi / 180.0f;
        const glm::vec2 heading{std::cos(a), std::sin(a)};
        const glm::vec2 view = glm::normalize(bot::viewForStrafing(heading));
        Camera camera;
        camera.front = glm::vec3(view.x, 0.0f, view.y);
        camera.walkForward(kDt);
        camera.strafeRight(kDt);
        const glm::vec2 step{camera.position.x, camera.position.z};
        EXPECT_NEAR(glm::dot(glm::normalize(step), heading), 1.0f, 1e-5f) << degrees;
        EXPECT_NEAR(glm::length(step), std::sqrt(2.0f) * camera.speed * kDt, 1e-4f) << degrees;
        const glm::vec2 predicted = bot::strafingStep(view) * camera.speed * kDt;
        EXPECT_NEAR(glm::distance(predicted, step), 0.0f, 1e-4f) << degrees;
    }
}

TEST(BotSteering, HoldsWalkStrafeRunAndFireAndLetsThemGo) {
    Hands h;
    InputEvents events;
    h.steering.hold(h.player, {.walk = true, .strafe = true, .run = true, .fire = true}, events);
    h.frame(events);
    // Shift counts only with a movement key already down: the order of the events matters.
    EXPECT_TRUE(h.player.moveForward);
    EXPECT_TRUE(h.player.moveRight);
    EXPECT_TRUE(h.player.running);
    EXPECT_EQ(h.camera.speed, kRunSpeed);
    EXPECT_TRUE(h.player.firing);

    events.clear();
    h.steering.hold(h.player, {.walk = true, .strafe = true, .run = true, .fire = true}, events);
    EXPECT_TRUE(events.empty()) << "what is held is not pressed again";

    h.steering.hold(h.player, {}, events);
    h.frame(events);
    EXPECT_FALSE(h.player.anyMovementKey());
    EXPECT_FALSE(h.player.running);
    EXPECT_FALSE(h.player.firing);
    EXPECT_EQ(h.camera.speed, kWalkSpeed);
}

TEST(BotGunnery, KnowsBeforeEachFrameWhetherAHeldTriggerFiresInIt) {
    Hands h;
    // Held, let go and held again, after pauses of both parities: a timer that has run
    // past the interval is first held at it, which is not yet enough to fire.
    std::vector<bool> trigger;
    for (const auto& [held, released] : {std::pair{45, 25}, {30, 26}, {20, 27}, {10, 40}, {5, 13}}) {
        trigger.insert(trigger.end(), static_cast<size_t>(held), true);
        trigger.insert(trigger.end(), static_cast<size_t>(released), false);
    }
    for (size_t frame = 0; frame < trigger.size(); ++frame) {
        const bool hold = trigger[frame];
        InputEvents events{hold ? InputEvent::buttonDown(MouseButton::Left) : InputEvent::buttonUp(MouseButton::Left)};
        const bool predicted = hold && bot::gunFiresNextFrame(h.player.currentGun(), kDt);
        const int32_t before = h.player.rifle.ammo;
        h.frame(events);
        EXPECT_EQ(h.player.rifle.ammo < before, predicted) << "frame " << frame;
    }
    h.player.rifle.ammo = 0;
    EXPECT_FALSE(bot::gunFiresNextFrame(h.player.rifle, kDt)) << "an empty gun only clicks";
}

TEST(BotRoutes, StepCostsFollowWhatThePlayerCarries) {
    const auto ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
    bot::Passkeys none;
    none.safeForceField = item::ForceFieldGreen;
    bot::Passkeys all = none;
    all.redKey = all.greenKey = all.yellowKey = all.repellent = all.inductor = true;
    struct Case {
        const char* what;
        int32_t object;  // item id; 0 = open ground
        int32_t withNothing;
        int32_t withEverything;
    };
    const Case cases[] = {
        {"open ground", 0, bot::kPlainStep, bot::kPlainStep},
        {"red gate", item::GateRed, 0, bot::kLockStep},
        {"turned yellow gate", item::GateYellow + 1, 0, bot::kLockStep},
        {"worm", item::WormAlien, 0, bot::kLockStep},
        {"monolith", item::RuneMonolith, 0, bot::kLockStep},
        {"cactus", item::Cactus, bot::kHazardStep, bot::kHazardStep},
        {"lava plant", item::LavaPlantTall, bot::kHazardStep, bot::kHazardStep},
        {"the statue's force field", item::ForceFieldGreen, bot::kPlainStep, bot::kPlainStep},
        {"another force field", item::ForceFieldRed, 0, 0},
        {"energy platform", item::EnergyPlatform, 0, 0},
        {"rock", item::Rock, 0, 0},
        {"cloaking node", item::CloakerNode, bot::kPlainStep, bot::kPlainStep},
    };
    for (const Case& c : cases) {
        freshWorld(grid);
        if (c.object != 0) put(grid, 10, 10, c.object);
        EXPECT_EQ(bot::stepCost(grid[10][10], none), c.withNothing) << c.what;
        EXPECT_EQ(bot::stepCost(grid[10][10], all), c.withEverything) << c.what;
    }
    freshWorld(grid);
    makeWall(grid, 10, 10);
    EXPECT_EQ(bot::stepCost(grid[10][10], all), 0) << "wall";
    grid[10][10].objectType = block::Teleport;
    EXPECT_EQ(bot::stepCost(grid[10][10], all), 0) << "teleport";
}

TEST(BotRoutes, GoesRoundHazardsThroughLocksItCanOpenAndBumpsIntoBlockedGoals) {
    const auto ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
    freshWorld(grid);
    // A wall across column 20 from row 2 to 40 with one gap, at row 10.
    for (int j = 2; j <= 40; ++j) {
        if (j != 10) makeWall(grid, 20, j);
    }
    bot::Passkeys keys;
    bot::RouteMap map;
    map.search(grid, keys, {15, 10});
    const std::vector<GridCell> straight = map.routeTo({25, 10});
    EXPECT_EQ(straight.size(), 11u);

    put(grid, 20, 10, item::Stalagmites);  // the gap now hurts: the way round the wall's end is cheaper
    map.search(grid, keys, {15, 10});
    std::vector<GridCell> round = map.routeTo({25, 10});
    EXPECT_TRUE(std::none_of(round.begin(), round.end(), [](GridCell c) { return c == GridCell{20, 10}; }));
    EXPECT_EQ(round.front(), (GridCell{15, 10}));
    EXPECT_EQ(round.back(), (GridCell{25, 10}));
    for (size_t k = 1; k < round.size(); ++k) {
        const GridCell a = round[k - 1], b = round[k];
        ASSERT_LE(std::max(std::abs(b.i - a.i), std::abs(b.j - a.j)), 1);
        EXPECT_TRUE(map.enterable(b));
        if (a.i != b.i && a.j != b.j) {
            // A corner is cut only between two cells of plain ground.
            EXPECT_EQ(bot::stepCost(grid[a.i][b.j], keys), bot::kPlainStep);
            EXPECT_EQ(bot::stepCost(grid[b.i][a.j], keys), bot::kPlainStep);
        }
    }

    put(grid, 20, 10, item::GateRed);  // a gate: a wall without the key, the short way with it
    map.search(grid, keys, {15, 10});
    EXPECT_GT(map.routeTo({25, 10}).size(), 11u);
    keys.redKey = true;
    map.search(grid, keys, {15, 10});
    EXPECT_EQ(map.routeTo({25, 10}).size(), 11u);

    put(grid, 25, 10, item::EnergyPlatform);  // a blocked goal is reached by walking into it
    map.search(grid, keys, {15, 10});
    const std::vector<GridCell> bump = map.routeTo({25, 10});
    ASSERT_EQ(bump.size(), 11u);
    EXPECT_EQ(bump[9], (GridCell{24, 10}));
    EXPECT_EQ(map.costTo({25, 10}), 8 * bot::kPlainStep + bot::kLockStep + bot::kPlainStep);
    makeWall(grid, 25, 11);
    makeWall(grid, 25, 9);
    makeWall(grid, 26, 10);
    makeWall(grid, 24, 10);
    map.search(grid, keys, {15, 10});
    EXPECT_EQ(map.costTo({25, 10}), bot::kUnreachable);
    EXPECT_TRUE(map.routeTo({25, 10}).empty());
}

// A small open fortress around the landing site: the player at the start cell.
struct Errands {
    std::unique_ptr<Session> owned = std::make_unique<Session>();
    Session& session = *owned;
    WorldCells& grid = session.grid;

    Errands() {
        freshWorld(grid);
        session.player.initialise(session.sceneCamera);  // at (250, 200): cell (5, 4)
        session.spaceshipCell = {6, 5};
        put(grid, 6, 5, item::Spaceship);
        for (const GridCell& p : {GridCell{7, 2}, GridCell{5, 2}, GridCell{4, 4}, GridCell{8, 4}})
            put(grid, p.i, p.j, item::EnergyPlatform);
    }

    // Walls round the cell, a gate of that item on its north side.
    void lockIn(GridCell c, int32_t gate) {
        for (int di = -1; di <= 1; ++di)
            for (int dj = -1; dj <= 1; ++dj)
                if (di != 0 || dj != 0) makeWall(grid, c.i + di, c.j + dj);
        put(grid, c.i, c.j - 1, gate);
    }

    bot::Goal nearest() {
        bot::RouteMap map;
        const bot::Passkeys keys = bot::passkeysOf(session.player, 0);
        map.search(grid, keys, {5, 4});
        return bot::nearestGoal(session, map, keys, {}, 0.0f);
    }
};

TEST(BotMission, FetchesAKeyOnlyWhileSomethingWantedIsLockedAway) {
    Errands e;
    WorldCells& grid = e.grid;
    put(grid, 40, 40, item::CloakerNode);
    e.lockIn({40, 40}, item::GateGreen);
    put(grid, 10, 10, item::KeyRed);    // opens nothing here
    put(grid, 30, 30, item::KeyGreen);  // the one that helps, though farther
    EXPECT_EQ(e.nearest(), (bot::Goal{bot::Errand::KeyItem, {30, 30}, item::KeyGreen}));

    e.session.player.addItem(item::KeyGreen, 1);
    EXPECT_EQ(e.nearest(), (bot::Goal{bot::Errand::CloakingNode, {40, 40}, item::CloakerNode}));

    e.session.player.inventory.clear();
    put(grid, 40, 39, 0);  // the gate gone: no key is worth the walk
    grid[40][39].blocksMovement = false;
    EXPECT_EQ(e.nearest(), (bot::Goal{bot::Errand::CloakingNode, {40, 40}, item::CloakerNode}));
}

// The rules every tour keeps, checked over its stops.
void expectMissionOrder(const std::vector<bot::Goal>& stops, bool carrying) {
    ASSERT_GE(stops.size(), 1u);
    EXPECT_EQ(stops.back().errand, bot::Errand::Spaceship);
    bool nodesLeft = std::any_of(stops.begin(), stops.end(),
                                 [](const bot::Goal& g) { return g.errand == bot::Errand::CloakingNode; });
    size_t lastNode = 0;
    for (size_t k = 0; k < stops.size(); ++k) {
        if (stops[k].errand == bot::Errand::CloakingNode) lastNode = k;
    }
    for (size_t k = 0; k + 1 < stops.size(); ++k) {
        const bot::Goal& g = stops[k];
        if (g.errand == bot::Errand::EnergyCell) {
            EXPECT_FALSE(carrying) << "a second energy cell at stop " << k;
            carrying = true;
        } else if (g.errand == bot::Errand::Platform) {
            EXPECT_TRUE(carrying) << "a return without a cell at stop " << k;
            carrying = false;
        } else if (g.errand == bot::Errand::Hiyura && nodesLeft) {
            EXPECT_GT(k, lastNode) << "Hiyura before the last node";
        }
    }
    EXPECT_FALSE(carrying) << "a cell left unconnected";
}

TEST(BotTour, KeepsTheMissionsRulesAndTheSameOrderWhenNothingChanged) {
    Errands e;
    WorldCells& grid = e.grid;
    const GridCell nodes[] = {{20, 10}, {30, 30}, {10, 40}, {50, 50}, {60, 12}};
    for (const GridCell& n : nodes) put(grid, n.i, n.j, item::CloakerNode);
    e.lockIn({50, 50}, item::GateRed);
    put(grid, 15, 20, item::KeyRed);
    const GridCell cells[] = {{25, 12}, {12, 35}, {55, 30}};
    for (const GridCell& c : cells) put(grid, c.i, c.j, item::EnergyCell);
    put(grid, 40, 40, item::Hiyura, false);  // hidden until the last node
    e.session.hiyuraCell = {40, 40};
    put(grid, 35, 8, item::PlasmaInjector);

    bot::TourPlanner planner;
    planner.survey(e.session, 0);
    const std::vector<bot::Goal> stops = planner.order(e.session, {5, 4}, {});
    expectMissionOrder(stops, false);
    // Every place once; three returns for three cells, the last beside the spaceship.
    EXPECT_EQ(std::count_if(stops.begin(), stops.end(), [](const bot::Goal& g) { return g.errand == bot::Errand::Platform; }), 3);
    EXPECT_EQ(stops.size(), 5u + 3u + 1u + 1u + 1u + 3u + 1u);
    const auto at = [&](GridCell c) {
        return std::find_if(stops.begin(), stops.end(), [&](const bot::Goal& g) { return g.cell == c; }) - stops.begin();
    };
    EXPECT_LT(at({15, 20}), at({50, 50})) << "the key before the room it opens";
    EXPECT_EQ(stops[stops.size() - 2].errand, bot::Errand::Platform);

    EXPECT_EQ(planner.order(e.session, {5, 4}, stops), stops);

    // Carrying a cell: it is connected before another is taken.
    e.session.player.addItem(item::EnergyCell, 1);
    put(grid, cells[0].i, cells[0].j, 0);
    const std::vector<bot::Goal> carrying = planner.order(e.session, {5, 4}, stops);
    expectMissionOrder(carrying, true);
    EXPECT_EQ(std::count_if(carrying.begin(), carrying.end(), [](const bot::Goal& g) { return g.errand == bot::Errand::Platform; }), 3);
}

}  // namespace
