#pragma once
// The two guns the player carries. Plain records: firing, the view-model poses and
// the switch between guns are rules of the player update; the pose animations below
// move a gun's pose by one frame and say where its view model is drawn.
#include <cstdint>
#include <string>

#include "scene/ModelHandle.h"

// Where the gun's view model sits in camera space, and the phase of its animations.
struct WeaponPose {
    float yaw = 3.31613f;  // radians about y
    float depth = -2.5f;
    float runDepth = -2.5f;
    float restDepth = -2.5f;
    float bobHeight = -2.0f;
    bool swayUp = true;
    bool depthBack = false;
    bool switchRaising = false;
    float swayHeight = -2.0f;
};

struct Weapon {
    float fireTimer = 0.0f;  // grows towards fireInterval; a shot needs it above
    float fireInterval = 0.0f;
    int32_t ammo = 0;
    int32_t magazineSize = 0;
    int32_t damage = 0;
    WeaponPose pose;
    std::string modelPath;
    ModelHandle model = kNoModel;  // filled by the drawing side when it loads modelPath
    std::string fireSound;

    void refill() { ammo = magazineSize; }
    // Only a gun that is not full takes cartridges; the rest of the pick-up is lost.
    bool addAmmo(int32_t n);
};

Weapon makeRifle();
Weapon makeSniperRifle();

// The fire timer runs slower than the clock: a held trigger fires every
// fireInterval / 0.79 seconds.
inline constexpr float kFireTimerRate = 0.79f;

// The turn of a gun held ready, and of one swung aside (running, switching).
inline constexpr float kReadyYaw = 3.31613f;
inline constexpr float kAsideYaw = 4.5f;

// Where one frame of an animation draws the gun in camera space: x is always 1.7.
struct PosePlacement {
    float height = 0.0f;
    float depth = 0.0f;
    float yaw = 0.0f;
};

// Moves value toward target by step at most, stopping there; true once it is there.
bool moveToward(float& value, float target, float step);

// One frame of each view-model animation on a gun's pose.
PosePlacement idlePose(WeaponPose& pose, float dt);
PosePlacement walkPose(WeaponPose& pose, float dt);
PosePlacement runPose(WeaponPose& pose, float dt);
PosePlacement recoilPose(WeaponPose& pose, float dt);

// One frame of the change of guns: the outgoing gun sinks out of view, then the
// incoming one rises into it.
struct SwitchStep {
    bool drawn = false;
    bool incomingDrawn = false;  // which gun the placement is for
    PosePlacement placement;
    bool done = false;  // the incoming gun is up
};
SwitchStep switchPose(WeaponPose& pose, float dt);
