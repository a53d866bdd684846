#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "fortress_testing.h"
#include "gameplay/Interactions.h"
#include "gameplay/Player.h"
#include "util/Random.h"
#include "sound_log.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;

// An initialised player on flat ground in an empty grid.
struct Armoury {
    Camera camera;
    Player player;
    OneShotLog sound;
    AimController aim;
    RandomEngine random{11};
    WorldRequests requests;
    std::unique_ptr<WorldCells> grid = std::make_unique<WorldCells>();
    RuleContext context{random, sound, requests, *grid};
    GroundHeight ground = [](float, float) { return 0.0f; };

    Armoury() {
        fortress_testing::freshWorld(*grid);
        player.initialise(camera);
    }

    // One frame; returns the sounds it played once.
    std::vector<std::string> frame(const InputEvents& events = {}, float dt = kDt) {
        sound.played.clear();
        runPlayerFrame(player, camera, ground, dt, events, aim, 24, context);
        return sound.played;
    }
};

bool played(const std::vector<std::string>& sounds, const std::string& name) {
    return std::find(sounds.begin(), sounds.end(), name) != sounds.end();
}

const InputEvents kPress{InputEvent::buttonDown(MouseButton::Left)};

}  // namespace

TEST(Firing, HeldRifleEmptiesAtTheTimedRateAndTheLastCartridgeReleasesTheTrigger) {
    Armoury w;
    std::vector<int> shotFrames;
    int frameNo = 0;
    for (; frameNo < 2000 && w.player.rifle.ammo > 0; ++frameNo) {
        const auto sounds = w.frame(frameNo == 0 ? kPress : InputEvents{});
        ASSERT_FALSE(played(sounds, "Shot_no_ammo")) << "frame " << frameNo;
        if (played(sounds, "AR_Fired")) shotFrames.push_back(frameNo);
    }
    ASSERT_EQ(shotFrames.size(), 80u);
    EXPECT_EQ(shotFrames.front(), 0) << "the first shot leaves at once";
    // ceil(0.12 / (0.79 / 60)) = 10 frames between shots.
    for (size_t i = 1; i < shotFrames.size(); ++i) EXPECT_EQ(shotFrames[i] - shotFrames[i - 1], 10) << "shot " << i;
    EXPECT_NEAR(static_cast<float>(shotFrames.back() - shotFrames.front()) * kDt, 13.17f, 0.01f);
    EXPECT_FALSE(w.player.firing);

    // The button is still held (no release came): the empty gun stays silent.
    for (int i = 0; i < 60; ++i) EXPECT_TRUE(w.frame().empty());

    // A new press clicks, and a held empty trigger clicks once per fire interval.
    w.aim.fireRequest = false;  // no ray test runs in this fixture
    std::vector<int> clickFrames;
    for (int i = 0; i < 40; ++i) {
        const auto sounds = w.frame(i == 0 ? kPress : InputEvents{});
        EXPECT_FALSE(played(sounds, "AR_Fired"));
        if (played(sounds, "Shot_no_ammo")) clickFrames.push_back(i);
    }
    ASSERT_GE(clickFrames.size(), 2u);
    EXPECT_LE(clickFrames.front(), 1);
    EXPECT_EQ(clickFrames[1] - clickFrames[0], 10);
    EXPECT_FALSE(w.aim.fireRequest) << "a click sends no shot";
}

TEST(Firing, MuzzleFlashDrawsThreeNumbersPerShotInOrderAndNonePerClick) {
    Armoury w;
    w.player.rifle.ammo = 2;
    int shots = 0;
    int clicks = 0;
    for (int i = 0; i < 60; ++i) {
        RandomEngine twin = w.random;
        const uint64_t before = w.random.drawsSinceSeed();
        w.aim.fireRequest = false;
        // Press again each frame the trigger was let go, so the empty click is reached.
        const auto sounds = w.frame(w.player.firing ? InputEvents{} : kPress);
        const uint64_t draws = w.random.drawsSinceSeed() - before;
        if (played(sounds, "AR_Fired")) {
            ++shots;
            ASSERT_EQ(draws, 3u);
            EXPECT_TRUE(w.player.muzzleFlash.shown);
            EXPECT_TRUE(w.aim.fireRequest);
            EXPECT_EQ(w.player.muzzleFlash.angle, static_cast<float>(twin.uniformReal(1.0f, 360.0f)));
            EXPECT_EQ(w.player.muzzleFlash.scaleX, static_cast<float>(twin.uniformReal(1.5f, 2.5f)));
            EXPECT_EQ(w.player.muzzleFlash.scaleY, static_cast<float>(twin.uniformReal(1.5f, 2.5f)));
            // The frame of a shot draws the gun twice: at rest, then kicked back.
            EXPECT_EQ(w.player.gunDraws.size(), 2u);
        } else {
            if (played(sounds, "Shot_no_ammo")) ++clicks;
            EXPECT_EQ(draws, 0u);
            EXPECT_FALSE(w.player.muzzleFlash.shown);
        }
    }
    EXPECT_EQ(shots, 2);
    EXPECT_GE(clicks, 2);
}

TEST(ShotTest, HurtsEveryLivingDroneWhoseSphereTheLineOfSightCrosses) {
    struct Drone {
        glm::vec3 at;
        bool dead;
    };
    struct Case {
        const char* name;
        std::vector<Drone> drones;
        int hits;
    };
    // The camera stands at (500, 10, 500) looking along -z.
    const std::vector<Case> cases = {
        {"ahead", {{{500, 10, 300}, false}}, 1},
        {"behind", {{{500, 10, 700}, false}}, 0},
        {"behind, with one ahead", {{{500, 10, 700}, false}, {{500, 10, 300}, false}}, 1},
        {"grazed inside the radius", {{{505.9f, 10, 300}, false}}, 1},
        {"just outside the radius", {{{506.1f, 10, 300}, false}}, 0},
        {"around the camera", {{{502, 10, 503}, false}}, 1},
        {"a wreck ahead", {{{500, 10, 300}, true}}, 0},
        {"three on the line, the middle one a wreck",
         {{{500, 10, 400}, false}, {{500, 12, 200}, true}, {{498, 9, 100}, false}},
         2},
    };
    for (const Case& c : cases) {
        Armoury w;
        w.camera.position = {500, 10, 500};
        w.camera.front = {0, 0, -1};
        std::vector<Enemy> enemies(c.drones.size());
        for (size_t i = 0; i < c.drones.size(); ++i) {
            enemies[i].position = c.drones[i].at;
            enemies[i].dead = c.drones[i].dead;
        }
        w.aim.fireRequest = true;
        w.aim.update(w.camera, kDt, {}, enemies, 35, w.context);
        EXPECT_EQ(w.sound.count("EnemyHit"), c.hits) << c.name;
        EXPECT_FALSE(w.aim.fireRequest) << c.name;
        EXPECT_EQ(w.aim.rayOrigin, w.camera.position) << c.name;
        EXPECT_EQ(w.aim.rayDirection, w.camera.front) << c.name;

        // Without a shot this frame nothing is tested.
        w.sound.played.clear();
        w.aim.update(w.camera, kDt, {}, enemies, 35, w.context);
        EXPECT_TRUE(w.sound.played.empty()) << c.name;
    }
}

TEST(Flashlight, FiveReleasesOfFCycleTheColoursBackToWarmWhite) {
    struct Step {
        bool on;
        glm::vec3 diffuse;
        const char* sound;
    };
    const Step steps[] = {
        {true, {1.95f, 0, 0}, "FlashOn"},
        {true, {0, 0, 1.95f}, "FlashOn"},
        {true, {0, 1.95f, 0}, "FlashOn"},
        {false, {0, 0, 0}, "FlashOff"},
        {true, {0.92f, 0.76f, 0.35f}, "FlashOn"},
    };
    Armoury w;
    ASSERT_EQ(w.player.flashlightSetting, 1);
    for (const Step& s : steps) {
        const auto sounds = w.frame({InputEvent::keyDown(Key::F), InputEvent::keyUp(Key::F)});
        ASSERT_EQ(sounds, std::vector<std::string>{s.sound});
        EXPECT_EQ(w.player.flashlightOn, s.on);
        EXPECT_EQ(w.player.flashlight.diffuse, s.diffuse);
        EXPECT_EQ(w.player.flashlight.specular, s.on ? glm::vec3(1.0f) : glm::vec3(0.0f));
    }
    EXPECT_EQ(w.player.flashlightSetting, 1);
}

TEST(GunSwitch, LowersTheOutgoingGunRaisesTheIncomingAndHandsItOver) {
    struct Leg {
        int32_t incoming;
        float restDepth;
        bool sniperShown;
    };
    const Leg legs[] = {{kSniperRifleMode, -4.0f, true}, {kRifleMode, -2.5f, false}};
    Armoury w;
    for (const Leg& leg : legs) {
        const int32_t outgoing = w.player.currentWeapon;
        // The right button only scopes the sniper rifle; the scope goes with it.
        w.frame({InputEvent::buttonDown(MouseButton::Right)});
        EXPECT_EQ(w.player.scoped, outgoing == kSniperRifleMode);
        // The trigger held through the change fires nothing.
        auto sounds = w.frame({InputEvent::keyUp(Key::Q), InputEvent::buttonDown(MouseButton::Left)});
        EXPECT_EQ(w.player.weaponMode, leg.incoming);
        EXPECT_FALSE(w.player.scoped) << "a rifle never looks through the scope";
        std::vector<GunDraw> draws = w.player.gunDraws;
        int frames = 1;
        while (w.player.switching && frames < 600) {
            sounds = w.frame();
            EXPECT_TRUE(sounds.empty());
            ASSERT_EQ(w.player.gunDraws.size(), 1u) << "frame " << frames;
            draws.push_back(w.player.gunDraws.front());
            ++frames;
        }
        ASSERT_FALSE(w.player.switching);
        EXPECT_TRUE(w.player.switchDone);
        EXPECT_GT(frames, 30) << "the change is animated, not instant";

        // The outgoing gun sinks below -6, then the incoming one rises back to -2. The
        // first frame moves the outgoing gun's pose and the rest the incoming gun's, so
        // the sinking is steady from the second frame on.
        const auto firstIncoming = std::find_if(draws.begin(), draws.end(),
                                                [&](const GunDraw& d) { return d.gun == leg.incoming; });
        ASSERT_NE(firstIncoming, draws.end());
        ASSERT_NE(firstIncoming, draws.begin());
        for (auto d = draws.begin(); d != draws.end(); ++d) {
            EXPECT_EQ(d->gun, d < firstIncoming ? outgoing : leg.incoming);
            if (d - draws.begin() >= 2 && d < firstIncoming) {
                EXPECT_LT(d->height, (d - 1)->height);
            }
            if (d > firstIncoming) {
                EXPECT_GT(d->height, (d - 1)->height);
            }
        }
        EXPECT_LT((firstIncoming - 1)->height, -6.0f);
        EXPECT_GE(draws.back().height, -2.0f);
        EXPECT_NEAR(draws.back().yaw, kReadyYaw, 1e-5f);

        EXPECT_EQ(w.player.currentWeapon, leg.incoming);
        EXPECT_EQ(w.player.sniperShown, leg.sniperShown);
        const WeaponPose& pose = w.player.currentGun().pose;
        EXPECT_EQ(pose.depth, leg.restDepth);
        EXPECT_EQ(pose.restDepth, leg.restDepth);
        EXPECT_EQ(pose.runDepth, -2.5f);

        // The held trigger fires the new gun once the change is over.
        int shots = 0;
        for (int i = 0; i < 2; ++i) shots += played(w.frame(), w.player.currentGun().fireSound) ? 1 : 0;
        EXPECT_EQ(shots, 1);
        w.frame({InputEvent::buttonUp(MouseButton::Left), InputEvent::buttonUp(MouseButton::Right)});
    }
}

TEST(GunPoses, EachAnimationKeepsTheGunWithinItsRange) {
    struct Case {
        const char* name;
        InputEvents start;
        float minHeight, maxHeight, minDepth, maxDepth, finalYaw;
    };
    const Case cases[] = {
        {"idle", {}, -2.1f, -2.0f, -2.5f, -2.5f, kReadyYaw},
        {"walk", {InputEvent::keyDown(Key::W)}, -2.0f, -2.0f, -2.9f, -2.5f, kReadyYaw},
        {"run", {InputEvent::keyDown(Key::W), InputEvent::keyDown(Key::LShift)}, -2.5f, -2.0f, -2.5f, -2.5f,
         kAsideYaw},
    };
    for (const Case& c : cases) {
        Armoury w;
        w.frame(c.start);
        float lowH = 1e9f, highH = -1e9f, lowD = 1e9f, highD = -1e9f;
        for (int i = 0; i < 600; ++i) {
            w.camera.position = kPlayerStartPosition;  // stay away from the bounds
            w.frame();
            ASSERT_EQ(w.player.gunDraws.size(), 1u) << c.name;
            const GunDraw& d = w.player.gunDraws.front();
            lowH = std::min(lowH, d.height);
            highH = std::max(highH, d.height);
            lowD = std::min(lowD, d.depth);
            highD = std::max(highD, d.depth);
        }
        const float eps = 1e-4f;
        EXPECT_NEAR(lowH, c.minHeight, eps) << c.name;
        EXPECT_NEAR(highH, c.maxHeight, eps) << c.name;
        EXPECT_NEAR(lowD, c.minDepth, eps) << c.name;
        EXPECT_NEAR(highD, c.maxDepth, eps) << c.name;
        EXPECT_NEAR(w.player.gunDraws.front().yaw, c.finalYaw, eps) << c.name;
    }
}
