#pragma once
// The automatic player's gunnery: which drone to shoot and where to point so that the
// shot meets it. A shot leaves along the view as it stands at the end of the frame's
// update, from where the frame's step put the player, and the drones move in that same
// update before the shot is tested; so both ends are predicted one frame ahead.
#include <cstdint>
#include <optional>
#include <vector>

#include <glm/glm.hpp>

#include "gameplay/Weapon.h"

class Session;

namespace bot {

// Whether a trigger held through the coming frame makes the gun fire in it.
bool gunFiresNextFrame(const Weapon& gun, float dt);

struct Shot {
    int32_t enemy = -1;
    glm::vec3 direction{0.0f};  // from the muzzle to where the drone will be
    float distance = 0.0f;
};

class Gunner {
public:
    // Remembers where every drone is, for the next frame's guess of its motion.
    void watch(const Session& session);
    // The nearest awake living drone within reach of `muzzle` (the eye after this
    // frame's step), aimed one frame ahead; none when no drone is near enough.
    std::optional<Shot> aim(const Session& session, glm::vec3 muzzle, float reach) const;
    // The nearest awake living drone's distance from a point; a large value when none.
    float nearestDrone(const Session& session, glm::vec3 from) const;

private:
    std::vector<glm::vec3> lastPositions;
};

}  // namespace bot
