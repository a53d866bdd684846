#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "fortress_testing.h"
#include "gameplay/Player.h"
#include "util/Random.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;
constexpr float kPi = 3.14159265f;

// Records every sound call as one line.
class RecordingServices : public GameServices {
public:
    std::vector<std::string> calls;
    void playOnChannel(const std::string& sound, uint16_t channel, float volume) override {
        calls.push_back("play " + sound + " " + std::to_string(channel) + " " + std::to_string(volume));
    }
    void stopChannel(uint16_t channel) override { calls.push_back("stop " + std::to_string(channel)); }
    void playOneShot(const std::string& sound) override { calls.push_back("once " + sound); }
};

const std::string kWalkSound = "play WalkFootsteps 0 " + std::to_string(1.0f);
const std::string kRunSound = "play RunFootsteps 1 " + std::to_string(1.0f);

// A fresh grid and tables, a flat ground at height 3 and an initialised player
// standing at (x, z) looking along front.
struct World {
    Camera camera;
    Player player;
    RecordingServices sound;
    AimController aim;
    RandomEngine random{1};
    WorldRequests requests;
    std::unique_ptr<WorldCells> ownedGrid = std::make_unique<WorldCells>();
    WorldCells& grid = *ownedGrid;
    RuleContext context{random, sound, requests, grid};
    std::vector<Enemy> enemies;
    GroundHeight ground = [](float, float) { return 3.0f; };

    explicit World(glm::vec3 at = kPlayerStartPosition, glm::vec3 front = {0.0f, 0.0f, -1.0f}) {
        fortress_testing::freshWorld(grid);
        player.initialise(camera, at);
        camera.front = front;
    }

    std::vector<Touch> touches;  // every touch the frames made, in order

    // One frame, its touch only recorded (the interaction rules are not applied);
    // returns the sound calls it made.
    std::vector<std::string> frame(const InputEvents& events = {}, float dt = kDt) {
        sound.calls.clear();
        const PlayerMove move = player.move(camera, dt, events, context);
        if (move.touch) touches.push_back(*move.touch);
        if (move.goesOn) player.finishFrame(camera, ground, dt, aim, context);
        return sound.calls;
    }
    void look(const InputEvents& events) { aim.update(camera, kDt, events, enemies, 0, context); }
};

float yawOf(glm::vec3 front) { return std::atan2(front.x, -front.z); }

void placeItem(WorldCells& grid, int i, int j, int32_t id, bool blocks = false, bool interactive = true,
               bool visible = true) {
    WorldCell& c = grid[i][j];
    c.objectType = id;
    c.isBlock = false;
    c.blocksMovement = blocks;
    c.interactive = interactive;
    c.visible = visible;
}

}  // namespace

TEST(PlayerMovement, WalkingIntoABlockedCellThrowsThePlayerBackByTwiceTheStep) {
    struct Case {
        const char* name;
        Key key;
        glm::vec3 start;
        glm::vec3 expected;  // x and z after the bounce
    };
    const float back = 2.0f * 80.0f * kDt;  // about 2.67
    // Facing +x; the blocked cell (6, 4) covers x 275 ... 325 and z 175 ... 225.
    const Case cases[] = {
        {"forward", Key::W, {274.9f, 0, 200}, {274.9f - back, 0, 200}},
        {"back", Key::S, {325.5f, 0, 200}, {325.5f + back, 0, 200}},
        {"left", Key::A, {300, 0, 225.5f}, {300, 0, 225.5f + back}},
        {"right", Key::D, {300, 0, 174.9f}, {300, 0, 174.9f - back}},
    };
    for (const Case& c : cases) {
        World w(c.start, {1.0f, 0.0f, 0.0f});
        w.grid[6][4].blocksMovement = true;
        w.frame({InputEvent::keyDown(c.key)});
        EXPECT_NEAR(w.camera.position.x, c.expected.x, 1e-3f) << c.name;
        EXPECT_NEAR(w.camera.position.z, c.expected.z, 1e-3f) << c.name;
        EXPECT_FLOAT_EQ(w.player.lastPosition.x, c.start.x) << c.name;
        EXPECT_FLOAT_EQ(w.player.lastPosition.z, c.start.z) << c.name;
        EXPECT_EQ(w.player.cellX, 6) << c.name;
        EXPECT_EQ(w.player.cellZ, 4) << c.name;
    }
}

TEST(PlayerMovement, PositionsAreClampedToTheFortressBounds) {
    struct Case {
        const char* name;
        glm::vec3 start;
        glm::vec3 expected;
    };
    const Case cases[] = {
        {"below", {10, 0, 50}, {90, 13, 90}},
        {"above", {4000, 0, 3600}, {3512.12f, 13, 3512.12f}},
        {"mixed", {3600, 0, 20}, {3512.12f, 13, 90}},
        {"inside", {500, 0, 600}, {500, 13, 600}},
    };
    for (const Case& c : cases) {
        World w(c.start);
        w.frame();
        EXPECT_FLOAT_EQ(w.camera.position.x, c.expected.x) << c.name;
        EXPECT_FLOAT_EQ(w.camera.position.z, c.expected.z) << c.name;
        EXPECT_FLOAT_EQ(w.camera.position.y, c.expected.y) << c.name;  // eye 10 above the ground
        EXPECT_FLOAT_EQ(w.player.lastPosition.x, c.expected.x) << c.name;
        EXPECT_FLOAT_EQ(w.player.lastPosition.z, c.expected.z) << c.name;
    }
}

TEST(PlayerMovement, ShiftRunsOnlyWhenPressedWhileMovingAndFootstepsFollow) {
    struct Case {
        const char* name;
        float startSpeed;
        std::vector<InputEvents> frames;
        bool walking, running;
        float speed;
        std::vector<std::string> lastFrameSounds;
    };
    using E = InputEvent;
    const Case cases[] = {
        {"Shift before W walks", 80, {{E::keyDown(Key::LShift), E::keyDown(Key::W)}}, true, false, 80,
         {"stop 1", kWalkSound}},
        {"Shift after W runs", 80, {{E::keyDown(Key::W)}, {E::keyDown(Key::LShift)}}, false, true, 120,
         {"stop 0", kRunSound}},
        {"a key pressed while Shift is held walks", 80,
         {{E::keyDown(Key::W), E::keyDown(Key::LShift)}, {E::keyDown(Key::A)}}, true, true, 120,
         {"stop 1", kWalkSound}},
        {"Shift released while moving walks again", 80,
         {{E::keyDown(Key::W), E::keyDown(Key::LShift)}, {E::keyUp(Key::LShift)}}, true, false, 80,
         {"stop 1", kWalkSound}},
        {"Shift released while scoped restores 80", 40,
         {{E::keyDown(Key::W), E::keyDown(Key::LShift)}, {E::keyUp(Key::LShift)}}, true, false, 80,
         {"stop 1", kWalkSound}},
        {"released keys still sound in their frame", 80, {{E::keyDown(Key::W)}, {E::keyUp(Key::W)}}, true, false,
         80, {"stop 1", kWalkSound}},
        {"then the footsteps stop", 80, {{E::keyDown(Key::W)}, {E::keyUp(Key::W)}, {}}, false, false, 80,
         {"stop 0", "stop 1"}},
    };
    for (const Case& c : cases) {
        World w;
        w.camera.speed = c.startSpeed;
        std::vector<std::string> sounds;
        for (const InputEvents& events : c.frames) sounds = w.frame(events);
        EXPECT_EQ(w.player.walking, c.walking) << c.name;
        EXPECT_EQ(w.player.running, c.running) << c.name;
        EXPECT_FLOAT_EQ(w.camera.speed, c.speed) << c.name;
        EXPECT_EQ(sounds, c.lastFrameSounds) << c.name;
    }
}

TEST(PlayerMovement, RunningCoversOneAndAHalfTimesTheWalkingDistance) {
    World w({500, 0, 500});
    w.frame({InputEvent::keyDown(Key::W), InputEvent::keyDown(Key::LShift)});
    EXPECT_NEAR(w.camera.position.z, 500.0f - 120.0f * kDt, 1e-3f);
    w.frame({InputEvent::keyUp(Key::LShift)});
    EXPECT_NEAR(w.camera.position.z, 500.0f - 200.0f * kDt, 1e-3f);
}

TEST(PlayerJump, RisesAbout27UnitsForAbout1Point56SecondsWithoutFootsteps) {
    World w({500, 0, 500});
    w.frame({InputEvent::keyDown(Key::W)});
    w.frame({InputEvent::keyDown(Key::Space)});
    float top = 0.0f;
    float airborne = kDt;
    bool silentInTheAir = true;
    while (w.player.jumping && airborne < 3.0f) {
        const auto sounds = w.frame();
        silentInTheAir = silentInTheAir && sounds.size() >= 2 && sounds[sounds.size() - 2] == "stop 0" &&
                         sounds.back() == "stop 1";
        top = std::max(top, w.camera.position.y - 13.0f);
        airborne += kDt;
    }
    EXPECT_NEAR(top, 27.0f, 1.0f);
    EXPECT_NEAR(airborne, 1.556f, 0.05f);
    EXPECT_TRUE(silentInTheAir);
    EXPECT_FLOAT_EQ(w.camera.position.y, 13.0f);
    EXPECT_EQ(w.frame(), (std::vector<std::string>{"stop 1", kWalkSound}));  // back on the ground
}

TEST(PlayerJump, SpaceInTheAirDoesNothingAndTheNextJumpAfterLandingWorks) {
    World w({500, 0, 500});
    w.frame();  // stand on the ground first
    w.frame({InputEvent::keyDown(Key::Space)});
    for (int i = 0; i < 30; ++i) w.frame();
    const float speedBefore = w.player.verticalSpeed;
    w.frame({InputEvent::keyDown(Key::Space)});
    EXPECT_NEAR(w.player.verticalSpeed, speedBefore - 90.0f * kDt, 1e-3f);  // only gravity acted
    int frames = 0;
    while (w.player.jumping && frames++ < 200) w.frame();
    ASSERT_FALSE(w.player.jumping);
    w.frame();  // the first frame on the ground releases the latch
    w.frame({InputEvent::keyDown(Key::Space)});
    EXPECT_TRUE(w.player.jumping);
    EXPECT_GT(w.camera.position.y, 13.0f);
}

TEST(PlayerLook, APointerJumpOverFiftyPixelsDoesNotTurnButBecomesTheReference) {
    struct Case {
        const char* name;
        InputEvents motions;
        float turnedPixels;  // the yaw expected, in pixels of motion
    };
    using E = InputEvent;
    const Case cases[] = {
        {"exactly 50 turns", {E::motion(50, 0)}, 50},
        {"51 is ignored", {E::motion(51, 0)}, 0},
        {"just over 50 on a slant is ignored", {E::motion(36, 36)}, 0},
        {"the jump becomes the reference", {E::motion(500, 300), E::motion(520, 300)}, 20},
        {"the jump in the middle is skipped", {E::motion(10, 0), E::motion(400, 0), E::motion(390, 0)}, 0},
    };
    for (const Case& c : cases) {
        World w;
        w.look(c.motions);
        const float expected = c.turnedPixels * 7.0f * kDt * kPi / 180.0f;
        EXPECT_NEAR(yawOf(w.camera.front), expected, 1e-5f) << c.name;
        EXPECT_FLOAT_EQ(w.aim.mouseX, static_cast<float>(c.motions.back().x)) << c.name;
        EXPECT_EQ(w.camera.lastMouseX, c.motions.back().x) << c.name;
    }
}

TEST(PlayerLook, TurnsAtTheSameRateThroughTwentyFullTurnsWhereverThePointerIs) {
    // While the mouse is captured the pointer position runs on beyond the window.
    for (const int32_t start : {0, -5000, 40'000'000}) {
        World w;
        w.look({InputEvent::motion(start, 0)});  // a jump: only the reference
        const float perFrame = 10.0f * 7.0f * kDt * kPi / 180.0f;
        const int framesPerTurn = static_cast<int>(2.0f * kPi / perFrame);
        const int frames = 20 * framesPerTurn + framesPerTurn / 4;
        float lastYaw = yawOf(w.camera.front);
        float worstStep = 0.0f;
        double total = 0.0;
        for (int f = 1; f <= frames; ++f) {
            w.look({InputEvent::motion(start + 10 * f, 0)});
            const float yaw = yawOf(w.camera.front);
            float step = yaw - lastYaw;
            if (step < -kPi) step += 2.0f * kPi;
            worstStep = std::max(worstStep, std::abs(step - perFrame));
            total += step;
            lastYaw = yaw;
        }
        EXPECT_LT(worstStep, 1e-4f) << "from " << start;
        EXPECT_NEAR(total, frames * static_cast<double>(perFrame), 1e-2) << "from " << start;
        EXPECT_NEAR(glm::length(w.camera.front), 1.0f, 1e-3f) << "from " << start;
        EXPECT_NEAR(w.camera.front.y, 0.0f, 1e-4f) << "from " << start;
    }
}

TEST(PlayerTouch, TouchesOncePerCooldownOnlyLiveCellsWithAnInteraction) {
    struct Case {
        const char* name;
        bool isBlock;
        int32_t objectType;
        bool interactive, visible;
        int expectedCalls;  // while standing in the cell for 3 s
        int32_t expectedKind;
    };
    const Case cases[] = {
        {"health pack, 1 s cooldown", false, item::Health, true, true, 3, static_cast<int32_t>(Interaction::HealthPack)},
        {"lava plant, 0.5 s cooldown", false, item::LavaPlant, true, true, 6, static_cast<int32_t>(Interaction::Hazard)},
        {"teleport block, 2 s cooldown", true, block::Teleport, true, true, 2, static_cast<int32_t>(Interaction::TeleportWall)},
        {"not interactive", false, item::Health, false, true, 0, 0},
        {"not visible", false, item::Health, true, false, 0, 0},
        {"no object", false, 0, true, true, 0, 0},
        {"an object without interaction", false, item::Tree, true, true, 0, 0},
        {"an id beyond the table", false, item::Count + 5, true, true, 0, 0},
    };
    for (const Case& c : cases) {
        World w({500, 0, 600});
        WorldCell& cell = w.grid[10][12];
        cell.isBlock = c.isBlock;
        cell.objectType = c.objectType;
        cell.interactive = c.interactive;
        cell.visible = c.visible;
        for (int f = 0; f < 180; ++f) {
            const size_t before = w.touches.size();
            w.frame();
            if (w.touches.size() != before) {
                EXPECT_GT(w.grid[10][12].nextInteractionTime, w.player.clock) << "the cooldown runs from the touch";
            }
        }
        ASSERT_EQ(static_cast<int>(w.touches.size()), c.expectedCalls) << c.name;
        const Touch expected{static_cast<Interaction>(c.expectedKind), c.isBlock, c.objectType};
        for (const Touch& t : w.touches) EXPECT_EQ(t, expected) << c.name;
    }
}

TEST(PlayerTouch, WalkingIntoAClosedGateBouncesAndTriggersIt) {
    World w({474.9f, 0, 600}, {1.0f, 0.0f, 0.0f});
    placeItem(w.grid, 10, 12, item::GateRed, true);
    w.frame({InputEvent::keyDown(Key::W)});
    EXPECT_EQ(w.touches, (std::vector<Touch>{{Interaction::LockedGate, false, item::GateRed}}));
    EXPECT_LT(w.camera.position.x, 474.9f);
    // The touch itself changes nothing but the cooldown: what it does is for the rules.
    const WorldCell& gate = w.grid[10][12];
    EXPECT_EQ(gate.objectType, item::GateRed);
    EXPECT_TRUE(gate.blocksMovement && gate.interactive && gate.visible);
    EXPECT_GT(gate.nextInteractionTime, 0.0f);
    EXPECT_TRUE(w.requests.removals.empty());
}

TEST(PlayerLife, ADeadPlayerLocksTheCameraAndDoesNothingElse) {
    World w({500, 0, 600});
    w.frame({InputEvent::keyDown(Key::W)});
    placeItem(w.grid, 10, 12, item::Health);
    w.touches.clear();
    w.player.health = 0;
    w.player.hurtTimer = 1.0f;
    const Player before = w.player;
    const glm::vec3 position = w.camera.position;
    const glm::vec3 front = w.camera.front;

    EXPECT_TRUE(w.frame({InputEvent::keyDown(Key::Space), InputEvent::buttonDown(MouseButton::Left)}).empty());
    w.look({InputEvent::motion(10, 0)});

    EXPECT_TRUE(w.player.dead);
    EXPECT_TRUE(w.camera.locked);
    EXPECT_EQ(w.camera.up, glm::vec3(90.0f, 1.0f, 0.0f));
    EXPECT_FALSE(w.player.moveForward);
    EXPECT_EQ(w.camera.position, position);
    EXPECT_EQ(w.camera.front, front);
    EXPECT_TRUE(w.touches.empty());
    EXPECT_EQ(w.player.clock, before.clock);
    EXPECT_EQ(w.player.hurtTimer, before.hurtTimer);
    EXPECT_FALSE(w.player.jumping);
    EXPECT_FALSE(w.player.firing);
}

TEST(PlayerLife, ResetStartsANewGameWithNothingLeftOverFromTheLast) {
    World w({900, 0, 900});
    Player& p = w.player;
    p.health = 0;
    w.frame();
    p.inventory = {{8, 3}, {9, 1}};
    p.collectedTargets = {{4, 8, 5}};
    p.rifle.ammo = 3;
    p.sniperRifle.ammo = 0;
    p.weaponMode = p.currentWeapon = kSniperRifleMode;
    p.firing = p.scoped = p.sniperShown = p.running = p.escaping = p.hurt = true;
    p.flashlightSetting = 0;
    p.flashlightOn = false;
    p.flashlight.diffuse = glm::vec3(0.0f);
    p.teleportTarget = {100, 0, 100};
    w.camera.speed = 120.0f;

    p.reset(w.camera);

    EXPECT_EQ(p.health, 100);
    EXPECT_FALSE(p.dead);
    EXPECT_FALSE(w.camera.locked);
    EXPECT_EQ(w.camera.up, glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(w.camera.position, kPlayerStartPosition);
    EXPECT_FLOAT_EQ(w.camera.speed, 80.0f);
    EXPECT_TRUE(p.inventory.empty());
    EXPECT_TRUE(p.collectedTargets.empty());
    EXPECT_EQ(p.rifle.ammo, 80);
    EXPECT_EQ(p.sniperRifle.ammo, 20);
    EXPECT_EQ(p.weaponMode, kRifleMode);
    EXPECT_EQ(&p.currentGun(), &p.rifle);
    EXPECT_FALSE(p.firing || p.scoped || p.sniperShown || p.running || p.escaping || p.hurt);
    EXPECT_TRUE(p.flashlightOn);
    EXPECT_EQ(p.flashlightSetting, 1);
    EXPECT_EQ(p.flashlight.diffuse, glm::vec3(0.92f, 0.76f, 0.35f));
    EXPECT_EQ(p.teleportTarget, glm::vec3(0.0f));
    EXPECT_EQ(p.clock, 0.0f);
}

TEST(PlayerLife, ATeleportTargetMovesThePlayerOnceAndEscapingHoldsTheEscapeView) {
    World w({900, 0, 900});
    w.player.setTeleportTarget(10, 12);
    w.frame();
    EXPECT_EQ(w.camera.position, glm::vec3(500.0f, 13.0f, 600.0f));
    EXPECT_EQ(w.player.teleportTarget, glm::vec3(0.0f));
    EXPECT_EQ(w.player.cellX, 10);
    EXPECT_EQ(w.player.cellZ, 12);

    w.player.escaping = true;
    const float clock = w.player.clock;
    EXPECT_TRUE(w.frame({InputEvent::keyDown(Key::W)}).empty());
    EXPECT_TRUE(w.camera.locked);
    EXPECT_FLOAT_EQ(w.camera.position.x, 344.5195f);
    EXPECT_FALSE(w.player.moveForward);
    EXPECT_FLOAT_EQ(w.player.clock, clock + kDt);
}

TEST(PlayerLife, CopiesAreIndependentPlayers) {
    World w;
    Player copy = w.player;
    copy.currentWeapon = kSniperRifleMode;
    copy.currentGun().ammo = 7;
    EXPECT_EQ(&copy.currentGun(), &copy.sniperRifle);
    EXPECT_EQ(copy.sniperRifle.ammo, 7);
    EXPECT_EQ(w.player.sniperRifle.ammo, 20);
    EXPECT_EQ(&w.player.currentGun(), &w.player.rifle);
}

TEST(PlayerFlashlight, FollowsTheCameraWhileOn) {
    World w({500, 0, 600}, {1.0f, 0.0f, 0.0f});
    w.frame();
    EXPECT_EQ(w.player.flashlight.position, w.camera.position);
    EXPECT_EQ(w.player.flashlight.direction, w.camera.front);
    EXPECT_FLOAT_EQ(w.player.flashlight.cutOff, 35.5f);
    EXPECT_FLOAT_EQ(w.player.flashlight.outerCutOff, 45.0f);
    w.player.flashlightOn = false;
    w.camera.position.x = 700.0f;
    w.frame();
    EXPECT_FLOAT_EQ(w.player.flashlight.position.x, 500.0f);
}

TEST(Weapon, AddAmmoFillsOnlyAGunThatIsNotFull) {
    struct Case {
        const char* name;
        int32_t ammo, add;
        bool taken;
        int32_t after;
    };
    const Case cases[] = {
        {"full", 80, 20, false, 80},
        {"nearly full", 70, 20, true, 80},
        {"half", 30, 20, true, 50},
        {"empty", 0, 20, true, 20},
    };
    for (const Case& c : cases) {
        Weapon rifle = makeRifle();
        rifle.ammo = c.ammo;
        EXPECT_EQ(rifle.addAmmo(c.add), c.taken) << c.name;
        EXPECT_EQ(rifle.ammo, c.after) << c.name;
    }
}

TEST(Weapon, GunsStartFullAndReadyToFire) {
    for (const Weapon& gun : {makeRifle(), makeSniperRifle()}) {
        EXPECT_EQ(gun.ammo, gun.magazineSize);
        EXPECT_EQ(gun.fireTimer, gun.fireInterval);
    }
}
