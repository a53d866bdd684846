#include "gameplay/Weapon.h"

#include <algorithm>

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

}  // namespace

Weapon makeRifle() {
    return makeGun("../Data/Models3D/Weapons/Sci-fi_AssaultRifle/AssaultRifle.dae", 80, 0.12f, 35, "AR_Fired");
}

Weapon makeSniperRifle() {
    return makeGun("../Data/Models3D/Weapons/Sci-fi_SniperRifle/SniperRifle.dae", 20, 2.0f, 100, "Scope_Fired");
}
