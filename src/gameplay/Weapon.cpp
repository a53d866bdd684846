#include "gameplay/Weapon.h"

#include <algorithm>
#include <cmath>

bool Weapon::addAmmo(int32_t n) {
    if (ammo >= magazineSize) return false;
    ammo = std::min(ammo + n, magazineSize);
    return true;
}

namespace {

Weapon makeGun(const char* modelPath, int32_t magazineSize, float fireInterval, int32_t damage, const char* fireSound) {
    Weapon w;
    w.fireInterval = fireInterval;
    w.fireTimer = fireInterval;  // the first shot leaves at once
    w.magazineSize = magazineSize;
    w.ammo = magazineSize;
    w.damage = damage;
    w.modelPath = modelPath;
    w.fireSound = fireSound;
    return w;
}

constexpr float kYawRate = 7.0f;
constexpr float kSwayTop = -2.0f;
constexpr float kSwayBottom = -2.1f;
constexpr float kSwayRate = 0.05f;
constexpr float kSettleRate = 1.5f;  // depth back to rest
constexpr float kBobTop = -2.0f;
constexpr float kBobBottom = -2.5f;
constexpr float kBobRate = 1.0f;
constexpr float kWalkBobReach = 0.4f;
constexpr float kRecoilFront = -2.5f;
constexpr float kRecoilBack = -1.5f;
constexpr float kRecoilRate = 10.0f;
constexpr float kSwitchRate = 7.0f;
constexpr float kSwitchBottom = -6.0f;
constexpr float kSwitchTop = -2.0f;

// The gun turns back to ready, never past it.
void settleYaw(WeaponPose& pose, float dt) {
    if (pose.yaw >= kReadyYaw) moveToward(pose.yaw, kReadyYaw, kYawRate * dt);
}

// The slow breathing of a gun held still, between -2.0 and -2.1.
void sway(WeaponPose& pose, float dt) {
    if (pose.swayUp) {
        if (moveToward(pose.swayHeight, kSwayTop, kSwayRate * dt)) pose.swayUp = false;
    } else {
        if (moveToward(pose.swayHeight, kSwayBottom, kSwayRate * dt)) pose.swayUp = true;
    }
}

}  // namespace

Weapon makeRifle() {
    return makeGun("../Data/Models3D/Weapons/Sci-fi_AssaultRifle/AssaultRifle.dae", 80, 0.12f, 35, "AR_Fired");
}

Weapon makeSniperRifle() {
    return makeGun("../Data/Models3D/Weapons/Sci-fi_SniperRifle/SniperRifle.dae", 20, 2.0f, 100, "Scope_Fired");
}

bool moveToward(float& value, float target, float step) {
    if (std::fabs(target - value) <= step) {
        value = target;
        return true;
    }
    value += value < target ? step : -step;
    return false;
}

PosePlacement idlePose(WeaponPose& pose, float dt) {
    settleYaw(pose, dt);
    sway(pose, dt);
    moveToward(pose.depth, pose.restDepth, kSettleRate * dt);
    return {pose.swayHeight, pose.depth, pose.yaw};
}

PosePlacement walkPose(WeaponPose& pose, float dt) {
    settleYaw(pose, dt);
    pose.bobHeight = kBobBottom;
    // The gun swings a little away from the eye and back with each pair of steps.
    const float farthest = pose.restDepth - kWalkBobReach;
    if (pose.depth >= pose.restDepth) pose.depthBack = true;
    if (pose.depth <= farthest) pose.depthBack = false;
    moveToward(pose.depth, pose.depthBack ? farthest : pose.restDepth, kBobRate * dt);
    return {kSwayTop, pose.depth, pose.yaw};
}

PosePlacement runPose(WeaponPose& pose, float dt) {
    moveToward(pose.yaw, kAsideYaw, kYawRate * dt);
    if (pose.swayUp) {
        if (moveToward(pose.bobHeight, kBobTop, kBobRate * dt)) pose.swayUp = false;
    } else {
        if (moveToward(pose.bobHeight, kBobBottom, kBobRate * dt)) pose.swayUp = true;
    }
    return {pose.bobHeight, pose.runDepth, pose.yaw};
}

PosePlacement recoilPose(WeaponPose& pose, float dt) {
    settleYaw(pose, dt);
    pose.bobHeight = kBobBottom;
    if (pose.depth <= kRecoilFront) pose.depthBack = false;
    if (pose.depth >= kRecoilBack) pose.depthBack = true;
    moveToward(pose.depth, pose.depthBack ? kRecoilFront : kRecoilBack, kRecoilRate * dt);
    return {pose.swayHeight, pose.depth, pose.yaw};
}

SwitchStep switchPose(WeaponPose& pose, float dt) {
    SwitchStep step;
    if (!pose.switchRaising) {
        moveToward(pose.yaw, kAsideYaw, kYawRate * dt);
        pose.bobHeight -= kSwitchRate * dt;
        step.drawn = true;
        step.placement = {pose.bobHeight, pose.depth, pose.yaw};
        if (pose.bobHeight < kSwitchBottom) pose.switchRaising = true;
        return step;
    }
    moveToward(pose.depth, pose.restDepth, kSettleRate * dt);
    if (pose.bobHeight < kSwitchTop) {
        settleYaw(pose, dt);
        pose.bobHeight += kSwitchRate * dt;
        step.drawn = true;
        step.incomingDrawn = true;
        step.placement = {pose.bobHeight, pose.depth, pose.yaw};
    }
    // Finished on the frame the gun comes up, so no frame goes without a gun.
    if (pose.bobHeight >= kSwitchTop) {
        step.done = true;
        pose.switchRaising = false;
    }
    return step;
}
