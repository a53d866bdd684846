#include "gameplay/bot/BotCombat.h"

#include <limits>

#include "gameplay/Session.h"

namespace bot {

namespace {

constexpr float kHoverHeight = 12.0f;  // a drone floats this far above the ground
constexpr float kEyeHeight = 10.0f;
// A drone that moved farther than this in one frame has respawned: no motion to guess.
constexpr float kLongestDroneStep = 10.0f;

bool threat(const Session& session, size_t k) {
    return static_cast<int32_t>(k) < session.activeEnemyCount && !session.enemies[k].dead;
}

}  // namespace

bool gunFiresNextFrame(const Weapon& gun, float dt) {
    if (gun.ammo <= 0) return false;
    // The frame's tick comes first: below the interval the timer grows, above it it is
    // held at the interval, which is not yet enough.
    const float timer = gun.fireTimer <= gun.fireInterval ? gun.fireTimer + dt * kFireTimerRate : gun.fireInterval;
    return timer > gun.fireInterval;
}

void Gunner::watch(const Session& session) {
    lastPositions.resize(session.enemies.size());
    for (size_t k = 0; k < session.enemies.size(); ++k) lastPositions[k] = session.enemies[k].position;
}

std::optional<Shot> Gunner::aim(const Session& session, glm::vec3 muzzle, float reach) const {
    std::optional<Shot> best;
    for (size_t k = 0; k < session.enemies.size(); ++k) {
        if (!threat(session, k)) continue;
        const glm::vec3 now = session.enemies[k].position;
        const float d = glm::distance(now, muzzle);
        if (d > reach || (best && d >= best->distance)) continue;
        glm::vec3 next = now;
        if (k < lastPositions.size() && glm::distance(now, lastPositions[k]) < kLongestDroneStep)
            next += now - lastPositions[k];
        next.y = session.groundHeight(next.x, next.z) + kHoverHeight;
        const glm::vec3 eye{muzzle.x, session.groundHeight(muzzle.x, muzzle.z) + kEyeHeight, muzzle.z};
        const glm::vec3 way = next - eye;
        if (glm::length(way) < 1e-3f) continue;
        best = Shot{static_cast<int32_t>(k), way, d};
    }
    return best;
}

float Gunner::nearestDrone(const Session& session, glm::vec3 from) const {
    float nearest = std::numeric_limits<float>::max();
    for (size_t k = 0; k < session.enemies.size(); ++k) {
        if (threat(session, k)) nearest = std::min(nearest, glm::distance(session.enemies[k].position, from));
    }
    return nearest;
}

}  // namespace bot
