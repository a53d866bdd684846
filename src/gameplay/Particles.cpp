#include "gameplay/Particles.h"

#include "util/Random.h"

namespace {

float uniform(RandomEngine& random, float lo, float hi) { return static_cast<float>(random.uniformReal(lo, hi)); }

}  // namespace

bool Particle::update(float dt, RandomEngine& random) {
    life -= dt;
    if (life <= 0.0f) {
        position = origin;
        // Separate statements: the draws must happen in this order.
        velocity.x = uniform(random, -2.0f, 2.0f);
        velocity.y = uniform(random, 5.0f, 10.0f);
        velocity.z = uniform(random, -4.0f, 4.0f);
        life = uniform(random, 1.5f, 2.5f);
    } else {
        position += velocity * dt;
    }
    return true;
}

void ParticleSystem::init(int32_t particleCount, float spriteScale, RandomEngine& random) {
    count = particleCount;
    scale = spriteScale;
    particles.clear();
    if (count > 0) particles.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        Particle p;
        p.life = uniform(random, 0.5f, 1.5f);
        p.velocity.x = uniform(random, -1.0f, 1.0f);
        p.velocity.y = uniform(random, 1.0f, 5.0f);
        p.velocity.z = uniform(random, -2.0f, 2.0f);
        particles.push_back(p);
    }
}

void ParticleSystem::update(float dt, const glm::vec3& emitter, RandomEngine& random) {
    for (Particle& p : particles) {
        p.update(dt, random);
        p.origin = emitter;
    }
}
