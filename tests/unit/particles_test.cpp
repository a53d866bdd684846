#include <gtest/gtest.h>

#include <ostream>
#include <random>

#include "gameplay/Particles.h"
#include "util/Random.h"

namespace {

// The value uniformReal(lo, hi) gives for the reference engine's next draw, as stored.
float nextUniform(std::mt19937& reference, float lo, float hi) {
    return static_cast<float>(RandomEngine::realFromDraw(lo, hi, static_cast<uint32_t>(reference())));
}

void expectVec3Eq(const glm::vec3& actual, const glm::vec3& expected) {
    EXPECT_FLOAT_EQ(actual.x, expected.x);
    EXPECT_FLOAT_EQ(actual.y, expected.y);
    EXPECT_FLOAT_EQ(actual.z, expected.z);
}

}  // namespace

TEST(ParticleSystem, InitDrawsLifeThenVelocityXYZForEachParticleInTurn) {
    RandomEngine engine(2024);
    std::mt19937 reference(2024);
    ParticleSystem first, second;
    first.init(20, 1.0f, engine);
    second.init(10, 0.1f, engine);  // carries on where the first stopped

    EXPECT_EQ(first.count, 20);
    EXPECT_FLOAT_EQ(second.scale, 0.1f);
    ASSERT_EQ(first.particles.size(), 20u);
    ASSERT_EQ(second.particles.size(), 10u);
    for (const ParticleSystem* system : {&first, &second}) {
        for (const Particle& p : system->particles) {
            EXPECT_EQ(p.life, nextUniform(reference, 0.5f, 1.5f));
            EXPECT_EQ(p.velocity.x, nextUniform(reference, -1.0f, 1.0f));
            EXPECT_EQ(p.velocity.y, nextUniform(reference, 1.0f, 5.0f));
            EXPECT_EQ(p.velocity.z, nextUniform(reference, -2.0f, 2.0f));
            EXPECT_EQ(p.position, glm::vec3(0.0f));
            EXPECT_EQ(p.origin, glm::vec3(0.0f));
        }
    }
    EXPECT_EQ(engine.next(), static_cast<uint32_t>(reference())) << "init drew more than four values a particle";
}

TEST(ParticleSystem, SameEngineStateGivesTheSameParticlesFrameForFrame) {
    RandomEngine a(77), b(77);
    ParticleSystem left, right;
    left.init(20, 1.0f, a);
    right.init(20, 1.0f, b);
    for (int frame = 0; frame < 300; ++frame) {
        const glm::vec3 emitter(static_cast<float>(frame), 3.0f, -2.0f);
        left.update(0.016f, emitter, a);
        right.update(0.016f, emitter, b);
    }
    for (size_t i = 0; i < left.particles.size(); ++i) {
        EXPECT_EQ(left.particles[i].position, right.particles[i].position);
        EXPECT_EQ(left.particles[i].velocity, right.particles[i].velocity);
        EXPECT_EQ(left.particles[i].life, right.particles[i].life);
    }
    EXPECT_EQ(a.next(), b.next());
}

TEST(ParticleSystem, ParticlesFlyAlongTheirVelocityWithoutDrawing) {
    RandomEngine engine(5);
    ParticleSystem system;
    system.init(3, 1.0f, engine);
    const ParticleSystem before = system;
    RandomEngine untouched = engine;
    system.update(0.25f, {10.0f, 0.0f, 0.0f}, engine);  // every initial life is at least 0.5
    for (size_t i = 0; i < system.particles.size(); ++i) {
        const Particle& was = before.particles[i];
        const Particle& now = system.particles[i];
        expectVec3Eq(now.position, was.velocity * 0.25f);
        EXPECT_FLOAT_EQ(now.life, was.life - 0.25f);
        EXPECT_EQ(now.velocity, was.velocity);
        EXPECT_EQ(now.origin, glm::vec3(10.0f, 0.0f, 0.0f));
    }
    EXPECT_EQ(engine.next(), untouched.next());
}

TEST(ParticleSystem, ZeroTimeStepMovesNothingAndDrawsNothing) {
    RandomEngine engine(9);
    ParticleSystem system;
    system.init(20, 1.0f, engine);
    system.update(0.3f, {1.0f, 2.0f, 3.0f}, engine);  // off the origin, with some velocity
    const ParticleSystem before = system;
    RandomEngine untouched = engine;
    for (int i = 0; i < 5; ++i) system.update(0.0f, {50.0f, 50.0f, 50.0f}, engine);
    for (size_t i = 0; i < system.particles.size(); ++i) {
        EXPECT_EQ(system.particles[i].position, before.particles[i].position);
        EXPECT_EQ(system.particles[i].life, before.particles[i].life);
    }
    EXPECT_EQ(engine.next(), untouched.next());
}

// A particle whose life runs out restarts at its origin in that same update, without
// moving, and draws velocity x, y, z and then its new life.
struct RestartCase {
    const char* name;
    float life;
    float dt;
};
void PrintTo(const RestartCase& c, std::ostream* os) { *os << c.name; }

class ParticleRestart : public testing::TestWithParam<RestartCase> {};

TEST_P(ParticleRestart, RestartsAtTheOriginWithFreshDraws) {
    RandomEngine engine(31);
    std::mt19937 reference(31);
    Particle p;
    p.position = {4.0f, 5.0f, 6.0f};
    p.origin = {-1.0f, 2.0f, -3.0f};
    p.velocity = {100.0f, 100.0f, 100.0f};
    p.life = GetParam().life;
    EXPECT_TRUE(p.update(GetParam().dt, engine));
    EXPECT_EQ(p.position, glm::vec3(-1.0f, 2.0f, -3.0f));
    EXPECT_EQ(p.velocity.x, nextUniform(reference, -2.0f, 2.0f));
    EXPECT_EQ(p.velocity.y, nextUniform(reference, 5.0f, 10.0f));
    EXPECT_EQ(p.velocity.z, nextUniform(reference, -4.0f, 4.0f));
    EXPECT_EQ(p.life, nextUniform(reference, 1.5f, 2.5f));
    EXPECT_EQ(engine.next(), static_cast<uint32_t>(reference()));
}

INSTANTIATE_TEST_SUITE_P(Lives, ParticleRestart,
                         testing::Values(RestartCase{"LifeReachesExactlyZero", 0.5f, 0.5f},
                                         RestartCase{"LifeOvershootsZero", 0.01f, 0.2f},
                                         RestartCase{"LifeAlreadyZeroAtZeroStep", 0.0f, 0.0f}),
                         [](const testing::TestParamInfo<RestartCase>& param) { return param.param.name; });

TEST(ParticleSystem, MovedEmitterTakesEffectAtTheNextRestart) {
    RandomEngine engine(3);
    ParticleSystem system;
    system.init(1, 1.0f, engine);
    Particle& p = system.particles[0];
    const glm::vec3 a(10.0f, 0.0f, 0.0f), b(0.0f, 0.0f, 20.0f), c(-5.0f, 7.0f, 0.0f);

    // The first restart after init goes to (0, 0, 0): no emitter had been given yet.
    system.update(p.life, a, engine);
    EXPECT_EQ(p.position, glm::vec3(0.0f));
    EXPECT_EQ(p.origin, a);

    // The emitter moves to b: the running particle keeps flying on its old path.
    const glm::vec3 flying = p.position + p.velocity * 0.1f;
    system.update(0.1f, b, engine);
    expectVec3Eq(p.position, flying);
    // A restart uses the emitter given before it; the one given with it (c) is taken
    // after the particle has moved, so only the restart after that goes to c.
    system.update(p.life, c, engine);
    EXPECT_EQ(p.position, b);
    system.update(p.life, c, engine);
    EXPECT_EQ(p.position, c);
}

TEST(ParticleSystem, EmptySystemDrawsNothing) {
    RandomEngine engine(1), untouched(1);
    ParticleSystem system;
    system.init(0, 1.0f, engine);
    system.update(1.0f, {1.0f, 1.0f, 1.0f}, engine);
    system.init(-4, 1.0f, engine);
    EXPECT_TRUE(system.particles.empty());
    EXPECT_EQ(engine.next(), untouched.next());
}
