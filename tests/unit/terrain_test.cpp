#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "world/Terrain.h"

namespace {

struct Vec {
    float x, y, z;
};
float length(Vec v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
Vec at(const std::vector<float>& array, int r, int c) {
    const size_t k = static_cast<size_t>(r * 512 + c) * 3;
    return {array[k], array[k + 1], array[k + 2]};
}

// The game's terrain (sample spacing 7.01), built once for the suite.
class TerrainBuilt : public testing::Test {
protected:
    static void SetUpTestSuite() {
        terrain = std::make_unique<Terrain>();
        terrain->sampleSpacing = Terrain::kWorldSampleSpacing;
        terrain->buildTerrain();
    }
    static void TearDownTestSuite() { terrain.reset(); }

    static float square() { return terrain->sampleSpacing * terrain->columns / (terrain->rows - 1.0f); }
    static float h(int r, int c) { return terrain->sample(r, c) * terrain->heightScale; }

    static std::unique_ptr<Terrain> terrain;
};
std::unique_ptr<Terrain> TerrainBuilt::terrain;

// Ken Perlin's improved noise in its published 3-D form over a 512-entry table: an
// independent check of the reduction to the plane z = 0 and of the gradient table.
double referenceNoise(const std::array<int32_t, 256>& perm, double x, double y, double z) {
    int p[512];
    for (int i = 0; i < 512; ++i) p[i] = perm[static_cast<size_t>(i & 127)];
    const auto fade = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    const auto lerp = [](double t, double a, double b) { return a + t * (b - a); };
    const auto grad = [](int hash, double gx, double gy, double gz) {
        const int hh = hash & 15;
        const double u = hh < 8 ? gx : gy, v = hh < 4 ? gy : hh == 12 || hh == 14 ? gx : gz;
        return ((hh & 1) == 0 ? u : -u) + ((hh & 2) == 0 ? v : -v);
    };
    const int X = static_cast<int>(std::floor(x)) & 255, Y = static_cast<int>(std::floor(y)) & 255,
              Z = static_cast<int>(std::floor(z)) & 255;
    x -= std::floor(x);
    y -= std::floor(y);
    z -= std::floor(z);
    const double u = fade(x), v = fade(y), w = fade(z);
    const int A = p[X] + Y, AA = p[A] + Z, AB = p[A + 1] + Z, B = p[X + 1] + Y, BA = p[B] + Z, BB = p[B + 1] + Z;
    return lerp(w,
                lerp(v, lerp(u, grad(p[AA], x, y, z), grad(p[BA], x - 1, y, z)),
                     lerp(u, grad(p[AB], x, y - 1, z), grad(p[BB], x - 1, y - 1, z))),
                lerp(v, lerp(u, grad(p[AA + 1], x, y, z - 1), grad(p[BA + 1], x - 1, y, z - 1)),
                     lerp(u, grad(p[AB + 1], x, y - 1, z - 1), grad(p[BB + 1], x - 1, y - 1, z - 1))));
}

}  // namespace

TEST(PerlinNoise, TableIsAShuffleOfTheFirst128IntegersStoredTwice) {
    PerlinNoise noise;
    noise.seed(Terrain::kNoiseSeed);
    std::array<bool, 128> seen{};
    int moved = 0;
    for (size_t k = 0; k < 128; ++k) {
        const int32_t v = noise.p[k];
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 128);
        EXPECT_FALSE(seen[static_cast<size_t>(v)]) << v << " twice";
        seen[static_cast<size_t>(v)] = true;
        EXPECT_EQ(noise.p[128 + k], v);
        if (v != static_cast<int32_t>(k)) ++moved;
    }
    EXPECT_GT(moved, 100) << "hardly shuffled";

    PerlinNoise other;
    other.seed(Terrain::kNoiseSeed + 1);
    EXPECT_NE(other.p, noise.p) << "the seed must matter";
}

TEST(PerlinNoise, AgreesWithTheThreeDimensionalReferenceInThePlaneZZero) {
    PerlinNoise noise;
    noise.seed(Terrain::kNoiseSeed);
    // Inside the terrain's range, on lattice lines, negative, and far beyond the table.
    const double points[][2] = {{0.3, 0.7},   {1.0, 2.5},     {4.1, 3.99},  {17.25, 33.5},  {67.9, 0.01},
                                {-0.5, -7.3}, {255.5, 255.9}, {300.2, 1e4}, {0.0, 0.0},     {12.0, 40.0}};
    for (const auto& pt : points) {
        EXPECT_DOUBLE_EQ(noise.noise(pt[0], pt[1]), referenceNoise(noise.p, pt[0], pt[1], 0.0))
            << pt[0] << ", " << pt[1];
    }
    // Gradient noise vanishes on the lattice, so octaves starting there do too.
    EXPECT_EQ(noise.octaves(0.0, 0.0, 5), 0.0);
    EXPECT_EQ(noise.noise(3.0, 7.0), 0.0);
    const double first = noise.noise(0.3, 0.7), second = noise.noise(0.6, 1.4);
    EXPECT_DOUBLE_EQ(noise.octaves(0.3, 0.7, 2), first + 0.5 * second);
}

TEST_F(TerrainBuilt, HeightsAreTheHalvedOctaveSumsRowAlongX) {
    PerlinNoise noise;
    noise.seed(Terrain::kNoiseSeed);
    ASSERT_EQ(terrain->heights.size(), 512u * 512u);
    EXPECT_EQ(terrain->sample(0, 0), 0.5f);
    for (const auto& [r, c] : {std::pair{0, 100}, {100, 0}, {37, 411}, {511, 511}, {250, 3}}) {
        const double expected = (1.0 + noise.octaves(c * 0.008203125, r * 0.008203125, 5)) * 0.5;
        EXPECT_EQ(terrain->sample(r, c), static_cast<float>(expected)) << r << ", " << c;
    }
    float lo = 1.0f, hi = 0.0f;
    for (float v : terrain->heights) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_GE(lo, 0.0f);
    EXPECT_LE(hi, 1.0f);
    EXPECT_GT(hi - lo, 0.3f) << "a rolling terrain, not a plain";
}

TEST_F(TerrainBuilt, HeightAtInterpolatesOverTheSquaresTwoTriangles) {
    const float s = square();
    EXPECT_NEAR(s, 7.01f * 512.0f / 511.0f, 1e-5f);
    struct Case {
        int gx, gz;
        float fx, fz;
    };
    const Case cases[] = {{0, 0, 0.25f, 0.25f}, {100, 200, 0.1f, 0.6f},  {100, 200, 0.75f, 0.5f},
                          {510, 510, 0.9f, 0.8f}, {510, 0, 0.2f, 0.05f}, {33, 444, 0.5f, 0.5f}};
    for (const Case& k : cases) {
        const float x = (static_cast<float>(k.gx) + k.fx) * s, z = (static_cast<float>(k.gz) + k.fz) * s;
        const float fx = std::fmod(x, s) / s, fz = std::fmod(z, s) / s;
        const float expected =
            fx <= 1.0f - fz ? h(k.gx, k.gz) * (1 - fx - fz) + h(k.gx + 1, k.gz) * fx + h(k.gx, k.gz + 1) * fz
                            : h(k.gx + 1, k.gz) * (1 - fz) + h(k.gx + 1, k.gz + 1) * (fx + fz - 1) +
                                  h(k.gx, k.gz + 1) * (1 - fx);
        EXPECT_FLOAT_EQ(terrain->heightAt(x, z), expected) << k.gx << "+" << k.fx << ", " << k.gz << "+" << k.fz;
    }
    // At the square's own sample points the height is the sample's.
    for (const auto& [gx, gz] : {std::pair{0, 0}, {1, 0}, {0, 1}, {250, 300}, {510, 510}, {7, 509}})
        EXPECT_NEAR(terrain->heightAt(static_cast<float>(gx) * s, static_cast<float>(gz) * s), h(gx, gz), 1e-3f)
            << gx << ", " << gz;
    // The two triangles meet along the diagonal without a step.
    const float x = 40.3f * s, zLow = 40.699f * s, zHigh = 40.701f * s;
    EXPECT_NEAR(terrain->heightAt(x, zLow), terrain->heightAt(x, zHigh), 0.01f);
}

TEST_F(TerrainBuilt, HeightIsZeroOutsideTheField) {
    const float s = square(), nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float outside[][2] = {{-0.01f, 100.0f}, {100.0f, -0.01f},         {-500.0f, -500.0f},
                                {511.0f * s + 0.01f, 100.0f},                {100.0f, 511.0f * s + 0.01f},
                                {600.0f * s, 600.0f * s}, {1e30f, 5.0f},     {nan, 100.0f},
                                {100.0f, nan},            {-inf, inf}};
    for (const auto& p : outside) EXPECT_EQ(terrain->heightAt(p[0], p[1]), 0.0f) << p[0] << ", " << p[1];
    EXPECT_GT(terrain->heightAt(510.99f * s, 510.99f * s), 0.0f) << "the last square is inside";
    EXPECT_GT(terrain->heightAt(0.0f, 0.0f), 0.0f);
    EXPECT_EQ(Terrain().heightAt(100.0f, 100.0f), 0.0f) << "nothing built yet";
}

TEST_F(TerrainBuilt, EveryBuildGivesTheSameTerrain) {
    Terrain again;
    again.sampleSpacing = Terrain::kWorldSampleSpacing;
    again.buildTerrain();
    EXPECT_EQ(again.heights, terrain->heights);
    EXPECT_EQ(again.positions, terrain->positions);
    EXPECT_EQ(again.normals, terrain->normals);
    EXPECT_EQ(again.tangents, terrain->tangents);
    EXPECT_EQ(again.indices, terrain->indices);
}

TEST_F(TerrainBuilt, MeshHasOneVertexPerSampleAndTwoTrianglesPerSquare) {
    EXPECT_EQ(terrain->positions.size(), 262144u * 3u);
    EXPECT_EQ(terrain->normals.size(), 262144u * 3u);
    EXPECT_EQ(terrain->tangents.size(), 262144u * 3u);
    EXPECT_EQ(terrain->texCoords.size(), 262144u * 2u);
    ASSERT_EQ(terrain->indices.size(), 1566726u);
    for (const auto& [r, c] : {std::pair{0u, 0u}, {0u, 510u}, {123u, 45u}, {510u, 510u}}) {
        const size_t k = (r * 511u + c) * 6u;
        const uint32_t v = r * 512u + c;
        const std::vector<uint32_t> square(terrain->indices.begin() + static_cast<std::ptrdiff_t>(k),
                                           terrain->indices.begin() + static_cast<std::ptrdiff_t>(k + 6));
        EXPECT_EQ(square, (std::vector<uint32_t>{v, v + 1, v + 512, v + 1, v + 512, v + 513})) << r << ", " << c;
    }
    const Vec p = at(terrain->positions, 200, 300);
    EXPECT_FLOAT_EQ(p.x, 200 * 7.01f);
    EXPECT_FLOAT_EQ(p.z, 300 * 7.01f);
    EXPECT_FLOAT_EQ(p.y, h(200, 300)) << "no hill in the middle";
    const size_t t = (200u * 512u + 300u) * 2u;
    EXPECT_EQ(terrain->texCoords[t], 200.0f / 512.0f);
    EXPECT_EQ(terrain->texCoords[t + 1], 300.0f / 512.0f);
}

TEST_F(TerrainBuilt, BorderHillsAreInTheMeshButNotInHeightAt) {
    struct Case {
        int r, c;
        float hill;
    };
    const Case cases[] = {{0, 256, 76},  {11, 3, 32},   {12, 256, 0},   {12, 0, 80},    {300, 11, 36},
                          {300, 12, 0},  {300, 501, 0}, {300, 502, 10}, {300, 511, 100}, {501, 256, 0},
                          {502, 0, 10},  {511, 511, 100}, {5, 511, 56}};
    for (const Case& k : cases) {
        EXPECT_FLOAT_EQ(at(terrain->positions, k.r, k.c).y, h(k.r, k.c) + k.hill) << k.r << ", " << k.c;
        EXPECT_EQ(Terrain::hill(k.r, k.c), k.hill) << k.r << ", " << k.c;
    }
    // heightAt near the corners of the border samples gives the bare noise height.
    const float s = square();
    for (const auto& [gx, gz] : {std::pair{0, 256}, {256, 0}, {510, 256}, {256, 510}, {5, 5}})
        EXPECT_NEAR(terrain->heightAt((static_cast<float>(gx) + 0.001f) * s, (static_cast<float>(gz) + 0.001f) * s),
                    h(gx, gz), 0.05f)
            << gx << ", " << gz;
}

TEST_F(TerrainBuilt, NormalsAndTangentsAreUnitVectorsEverywhere) {
    for (int r = 0; r < 512; ++r) {
        for (int c = 0; c < 512; ++c) {
            const Vec n = at(terrain->normals, r, c), t = at(terrain->tangents, r, c);
            ASSERT_NEAR(length(n), 1.0f, 1e-5f) << r << ", " << c;
            ASSERT_GT(n.y, 0.0f) << r << ", " << c;
            ASSERT_NEAR(length(t), 1.0f, 1e-5f) << r << ", " << c;
            ASSERT_LT(t.z, 0.0f) << "tangents all point along -Z: " << r << ", " << c;
        }
    }
    // The hills lean the normals away from the border.
    EXPECT_GT(at(terrain->normals, 5, 256).x, 0.25f);
    EXPECT_LT(at(terrain->normals, 506, 256).x, -0.5f);
    EXPECT_GT(at(terrain->normals, 256, 5).z, 0.25f);
    EXPECT_LT(at(terrain->normals, 256, 506).z, -0.5f);
}

TEST(Terrain, NormalsFollowTheMeshSlope) {
    Terrain flat;
    flat.sampleSpacing = Terrain::kWorldSampleSpacing;
    flat.heights.assign(512 * 512, 0.5f);
    flat.buildMesh();
    const Vec up = at(flat.normals, 256, 256);
    EXPECT_FLOAT_EQ(up.x, 0.0f);
    EXPECT_FLOAT_EQ(up.y, 1.0f);
    EXPECT_FLOAT_EQ(up.z, 0.0f);
    const Vec t = at(flat.tangents, 256, 256);
    EXPECT_FLOAT_EQ(t.z, -1.0f);
    // The last column's tangent points the same way as its neighbours' (here up the hill).
    const Vec last = at(flat.tangents, 256, 511);
    const float climb = std::sqrt(10.0f * 10.0f + 7.01f * 7.01f);
    EXPECT_NEAR(last.y, -10.0f / climb, 1e-5f);
    EXPECT_NEAR(last.z, -7.01f / climb, 1e-5f);

    // A ramp rising along X by 0.01 x 70 per sample: the normal leans back against it
    // as (-slope, 1, 0), normalised.
    Terrain ramp;
    ramp.sampleSpacing = Terrain::kWorldSampleSpacing;
    ramp.heights.resize(512 * 512);
    for (int r = 0; r < 512; ++r)
        for (int c = 0; c < 512; ++c) ramp.heights[static_cast<size_t>(r * 512 + c)] = 0.001f * static_cast<float>(r);
    ramp.buildMesh();
    const float slope = 0.001f * 70.0f / 7.01f;
    for (const auto& [r, c] : {std::pair{100, 100}, {250, 300}, {400, 20}}) {
        const Vec n = at(ramp.normals, r, c);
        EXPECT_NEAR(n.x, -slope / std::sqrt(1 + slope * slope), 1e-5f) << r << ", " << c;
        EXPECT_NEAR(n.z, 0.0f, 1e-5f) << r << ", " << c;
    }
}

TEST(Terrain, ReleasingTheMeshKeepsTheHeights) {
    Terrain terrain;
    terrain.sampleSpacing = Terrain::kWorldSampleSpacing;
    terrain.buildTerrain();
    const float before = terrain.heightAt(1234.5f, 987.6f);
    terrain.releaseMeshData();
    EXPECT_EQ(terrain.positions.capacity(), 0u);
    EXPECT_EQ(terrain.normals.capacity(), 0u);
    EXPECT_EQ(terrain.tangents.capacity(), 0u);
    EXPECT_EQ(terrain.texCoords.capacity(), 0u);
    EXPECT_EQ(terrain.indices.capacity(), 0u);
    EXPECT_EQ(terrain.heightAt(1234.5f, 987.6f), before);
    EXPECT_GT(before, 0.0f);
}
