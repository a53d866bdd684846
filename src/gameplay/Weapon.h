#pragma once
// The two guns the player carries. Plain records: firing, the view-model poses and
// the switch between guns are rules of the player update.
#include <cstdint>
#include <string>

#include "gameplay/ModelHandle.h"

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
