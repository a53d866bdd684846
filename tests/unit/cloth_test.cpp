#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <set>

#include "gameplay/Cloth.h"

namespace {

// The game's flag: 10 x 6 units, 20 x 17 particles.
Cloth gameFlag() {
    Cloth cloth;
    cloth.init(10.0f, 6.0f, 20, 17);
    return cloth;
}

bool pinned(int32_t x, int32_t y) { return x < 3 && (y == 0 || y >= 14); }

// One game frame's forces and step.
void gameFrame(Cloth& cloth) {
    cloth.addForce({0.0f, -0.05f, 0.0f});
    cloth.windForce({0.175f, 0.025f, 0.05f});
    cloth.timeStep();
}

ClothParticle particleAt(float x, bool movable) {
    ClothParticle p;
    p.position = p.oldPosition = {x, 0.0f, 0.0f};
    p.movable = movable;
    p.damping = 1.0f;  // no carried velocity: only the constraint's corrections show
    return p;
}

}  // namespace

TEST(Cloth, GameFlagHasItsParticlesConstraintsAndTriangles) {
    const Cloth cloth = gameFlag();
    EXPECT_EQ(cloth.particles.size(), 340u);
    EXPECT_EQ(cloth.constraints.size(), 2397u);
    EXPECT_EQ(cloth.triangles.size(), 2u * 19u * 16u);

    // Laid out by width / particlesWide and height / particlesHigh, hanging down.
    EXPECT_EQ(cloth.index(3, 2), 43);
    EXPECT_FLOAT_EQ(cloth.at(3, 2).position.x, 1.5f);
    EXPECT_FLOAT_EQ(cloth.at(3, 2).position.y, -12.0f / 17.0f);
    EXPECT_EQ(cloth.at(3, 2).oldPosition, cloth.at(3, 2).position);

    // x-major order: the four constraints of (0, 0), then those of (0, 1); the bending
    // constraints follow all 1251 structural and shear ones.
    const int32_t expected[][2] = {{0, 1}, {0, 20}, {0, 21}, {1, 20}, {20, 21}, {20, 40}};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(cloth.constraints[i].first, expected[i][0]) << i;
        EXPECT_EQ(cloth.constraints[i].second, expected[i][1]) << i;
    }
    EXPECT_FLOAT_EQ(cloth.constraints[0].restDistance, 0.5f);
    EXPECT_FLOAT_EQ(cloth.constraints[1].restDistance, 6.0f / 17.0f);
    EXPECT_EQ(cloth.constraints[1251].first, 0);
    EXPECT_EQ(cloth.constraints[1251].second, 2);
    EXPECT_FLOAT_EQ(cloth.constraints[1251].restDistance, 1.0f);

    const std::array<int32_t, 3> t1{1, 0, 20}, t2{21, 1, 20};
    EXPECT_EQ(cloth.triangles[0], t1);
    EXPECT_EQ(cloth.triangles[1], t2);

    for (int32_t x = 0; x < 20; ++x)
        for (int32_t y = 0; y < 17; ++y) EXPECT_EQ(cloth.at(x, y).movable, !pinned(x, y)) << x << "," << y;
}

TEST(Cloth, WithNoForcesAndNoMotionAStepChangesNothing) {
    Cloth cloth = gameFlag();
    const Cloth before = cloth;
    for (int i = 0; i < 50; ++i) cloth.timeStep();
    for (size_t i = 0; i < cloth.particles.size(); ++i)
        EXPECT_EQ(cloth.particles[i].position, before.particles[i].position) << i;
}

TEST(Cloth, PinnedParticlesNeverMoveWhileTheRestFlutters) {
    Cloth cloth = gameFlag();
    const Cloth before = cloth;
    for (int frame = 0; frame < 2000; ++frame) gameFrame(cloth);
    int moved = 0;
    for (int32_t x = 0; x < 20; ++x) {
        for (int32_t y = 0; y < 17; ++y) {
            const glm::vec3 p = cloth.at(x, y).position, start = before.at(x, y).position;
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) << x << "," << y;
            if (pinned(x, y)) EXPECT_EQ(p, start) << x << "," << y;
            else if (glm::length(p - start) > 0.01f) ++moved;
            // The constraints keep it a flag: nothing flies off.
            EXPECT_LT(glm::length(p - start), 12.0f) << x << "," << y;
        }
    }
    EXPECT_EQ(moved, 340 - 12);
}

// One constraint stretched to twice its rest length, relaxed three times.
struct ConstraintCase {
    const char* name;
    bool firstMovable;
    bool secondMovable;
    float first;
    float second;
};
void PrintTo(const ConstraintCase& c, std::ostream* os) { *os << c.name; }

class ClothConstraintPass : public testing::TestWithParam<ConstraintCase> {};

TEST_P(ClothConstraintPass, MovableEndsShareTheCorrection) {
    const ConstraintCase& c = GetParam();
    Cloth cloth;
    cloth.particles = {particleAt(0.0f, c.firstMovable), particleAt(2.0f, c.secondMovable)};
    cloth.constraints = {{0, 1, 1.0f}};
    cloth.timeStep();
    EXPECT_FLOAT_EQ(cloth.particles[0].position.x, c.first);
    EXPECT_FLOAT_EQ(cloth.particles[1].position.x, c.second);
    EXPECT_EQ(cloth.particles[0].position.y, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Pins, ClothConstraintPass,
    testing::Values(ConstraintCase{"BothPinnedChangeNeither", false, false, 0.0f, 2.0f},
                    // Each pass moves a free end by half the stretch: 2 -> 1.5 -> 1.25 -> 1.125.
                    ConstraintCase{"FirstPinnedSecondTakesHalf", false, true, 0.0f, 1.125f},
                    ConstraintCase{"SecondPinnedFirstTakesHalf", true, false, 0.875f, 2.0f},
                    ConstraintCase{"BothFreeMeetAtRestLength", true, true, 0.5f, 1.5f}),
    [](const testing::TestParamInfo<ConstraintCase>& param) { return param.param.name; });

TEST(Cloth, CoincidentParticlesAreLeftAloneInsteadOfTurningIntoNaN) {
    Cloth cloth;
    cloth.particles = {particleAt(1.0f, true), particleAt(1.0f, true)};
    cloth.constraints = {{0, 1, 0.5f}};
    cloth.timeStep();
    EXPECT_EQ(cloth.particles[0].position, glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(cloth.particles[1].position, glm::vec3(1.0f, 0.0f, 0.0f));
}

TEST(Cloth, VerletStepCarriesVelocityWithDampingAndClearsAcceleration) {
    Cloth cloth;
    ClothParticle free;
    free.mass = 2.0f;
    ClothParticle held = free;
    held.movable = false;
    cloth.particles = {free, held};
    cloth.addForce({0.0f, -0.4f, 0.0f});  // acceleration -0.2 through the mass of 2
    cloth.timeStep();
    EXPECT_FLOAT_EQ(cloth.particles[0].position.y, -0.05f);  // a * 0.25
    EXPECT_EQ(cloth.particles[0].acceleration, glm::vec3(0.0f));
    EXPECT_EQ(cloth.particles[1].position, glm::vec3(0.0f));
    EXPECT_FLOAT_EQ(cloth.particles[1].acceleration.y, -0.2f) << "a pinned particle keeps its acceleration";
    cloth.timeStep();  // no new force: it coasts on 90 % of its last move
    EXPECT_FLOAT_EQ(cloth.particles[0].position.y, -0.05f - 0.045f);
    EXPECT_FLOAT_EQ(cloth.particles[0].oldPosition.y, -0.05f);
}

// On the flat flag every triangle faces +z with twice its area 0.5 * 6/17 as length.
struct WindCase {
    const char* name;
    glm::vec3 direction;
    float expectedZ;  // at particle (19, 0), which is in two triangles
};
void PrintTo(const WindCase& c, std::ostream* os) { *os << c.name; }

class ClothWind : public testing::TestWithParam<WindCase> {};

TEST_P(ClothWind, PushesAlongTheTriangleNormalsByHowSquarelyTheyFaceIt) {
    Cloth cloth = gameFlag();
    cloth.windForce(GetParam().direction);
    const glm::vec3 a = cloth.at(19, 0).acceleration;
    EXPECT_NEAR(a.z, GetParam().expectedZ, 1e-6f);
    EXPECT_EQ(a.x, 0.0f);
    EXPECT_EQ(a.y, 0.0f);
    EXPECT_NEAR(cloth.at(10, 8).acceleration.z, 3.0f * GetParam().expectedZ, 1e-5f) << "inner particles are in six";
}

INSTANTIATE_TEST_SUITE_P(Directions, ClothWind,
                         testing::Values(WindCase{"HeadOn", {0.0f, 0.0f, 1.0f}, 2.0f * 3.0f / 17.0f},
                                         WindCase{"FromBehind", {0.0f, 0.0f, -0.5f}, -3.0f / 17.0f},
                                         WindCase{"AlongTheCloth", {1.0f, 1.0f, 0.0f}, 0.0f},
                                         WindCase{"GameWind", {0.175f, 0.025f, 0.05f}, 0.1f * 3.0f / 17.0f}),
                         [](const testing::TestParamInfo<WindCase>& param) { return param.param.name; });

TEST(Cloth, NormalsSumTheUnitNormalsOfTheAdjacentTriangles) {
    const Cloth cloth = gameFlag();
    const std::vector<glm::vec3> normals = cloth.vertexNormals();
    const auto at = [&](int32_t x, int32_t y) { return normals[static_cast<size_t>(cloth.index(x, y))]; };
    EXPECT_EQ(at(0, 0), glm::vec3(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(at(19, 0), glm::vec3(0.0f, 0.0f, 2.0f));
    EXPECT_EQ(at(10, 8), glm::vec3(0.0f, 0.0f, 6.0f));
    EXPECT_EQ(at(19, 16), glm::vec3(0.0f, 0.0f, 1.0f));

    Cloth ribbon;
    ribbon.init(1.0f, 6.0f, 1, 17);
    EXPECT_TRUE(ribbon.triangles.empty()) << "a cloth one particle wide has no triangles";
    EXPECT_EQ(ribbon.vertexNormals()[3], glm::vec3(0.0f));
}

TEST(Cloth, StripCoversTheGridRowByRowFacingOneWay) {
    const Cloth cloth = gameFlag();
    const std::vector<uint32_t> strip = cloth.stripIndices();
    ASSERT_EQ(strip.size(), 670u);
    const std::vector<uint32_t> head = {0, 20, 1, 21, 2, 22};
    EXPECT_EQ(std::vector<uint32_t>(strip.begin(), strip.begin() + 6), head);
    // End of row 0, the repeated last index, the repeated start of row 1.
    const std::vector<uint32_t> seam = {19, 39, 39, 20, 20, 40, 21};
    EXPECT_EQ(std::vector<uint32_t>(strip.begin() + 38, strip.begin() + 45), seam);
    EXPECT_EQ(strip.back(), 339u);

    // Every non-degenerate strip triangle faces +z (counter-clockwise seen from the
    // front, so culling back faces keeps it), and together they cover each cell twice over.
    std::set<std::set<uint32_t>> covered;
    for (size_t k = 0; k + 2 < strip.size(); ++k) {
        uint32_t a = strip[k], b = strip[k + 1], c = strip[k + 2];
        if (a == b || b == c || a == c) continue;
        if (k % 2 == 1) std::swap(a, b);  // odd strip triangles are wound the other way
        const glm::vec3 n = glm::cross(cloth.particles[b].position - cloth.particles[a].position,
                                       cloth.particles[c].position - cloth.particles[a].position);
        EXPECT_GT(n.z, 0.0f) << "strip triangle " << k;
        covered.insert({a, b, c});
    }
    EXPECT_EQ(covered.size(), 2u * 19u * 16u);

    Cloth single;
    single.init(1.0f, 1.0f, 5, 1);
    EXPECT_TRUE(single.stripIndices().empty());
}
