#pragma once
// The simulation half of a particle fountain: particles fly up from an emitter, fall
// back to it when their life runs out and start again. GL-free; the drawing half is
// ParticleRenderer. Every restart draws from the game's random engine, so the order
// in which systems are built and advanced is part of the game's random sequence.
#include <cstdint>
#include <vector>

#include <glm/glm.hpp>

class RandomEngine;

struct Particle {
    glm::vec3 position{0.0f};
    glm::vec3 origin{0.0f};  // where the next restart puts it
    glm::vec3 velocity{0.0f};
    float life = 0.0f;  // seconds left

    // Ages it by dt; when its life is used up (exactly 0 included) it restarts at its
    // origin without moving in this step, drawing velocity x, y, z and then life.
    // A particle is never removed, so this always reports that it stays.
    bool update(float dt, RandomEngine& random);
};

class ParticleSystem {
public:
    int32_t count = 0;
    float scale = 1.0f;  // sprite size, sent to the drawing as "scale"
    std::vector<Particle> particles;

    // count particles at (0, 0, 0), each drawing life, velocity x, y, z in that order.
    void init(int32_t particleCount, float spriteScale, RandomEngine& random);
    // One frame of a drawn system: every particle in list order is aged by dt and then
    // takes the emitter point as its origin, so a moved emitter shows at each
    // particle's next restart. A system that is not drawn must not be advanced.
    void update(float dt, const glm::vec3& emitter, RandomEngine& random);
    void release() { particles.clear(); }
};
