// The terrain's levels of detail: over the game's own terrain, each level stays within
// the error it claims, the finest level is the mesh itself, the chosen level keeps its
// error on screen within the tolerance, and the test for leaving a fogged object out
// tells ground from sky.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include <glm/gtc/matrix_transform.hpp>

#include "render/TerrainLod.h"
#include "world/Terrain.h"

namespace {

struct GameTerrain {
    Terrain terrain;
    TerrainLod lod;
    GameTerrain() {
        terrain.sampleSpacing = Terrain::kWorldSampleSpacing;
        terrain.buildTerrain();
        lod.build(terrain.positions, Terrain::kSamples, Terrain::hillCreases());
    }
};

const GameTerrain& gameTerrain() {
    static const GameTerrain t;
    return t;
}

// The height of the triangles in [first, first + count) of lod.indices above (x, z), if
// one of them lies over it.
bool surfaceAt(const GameTerrain& t, const TerrainLod::Range& range, float x, float z, float& y) {
    const auto vertex = [&](uint32_t k) {
        const float* p = &t.terrain.positions[static_cast<size_t>(k) * 3];
        return glm::vec3(p[0], p[1], p[2]);
    };
    const uint32_t meshVertices = static_cast<uint32_t>(Terrain::kSamples * Terrain::kSamples);
    for (uint32_t k = range.first; k + 2 < range.first + range.count; k += 3) {
        const uint32_t a = t.lod.indices[k], b = t.lod.indices[k + 1], c = t.lod.indices[k + 2];
        if (a >= meshVertices || b >= meshVertices || c >= meshVertices) continue;  // a skirt
        const glm::vec3 A = vertex(a), B = vertex(b), C = vertex(c);
        const float d = (B.z - C.z) * (A.x - C.x) + (C.x - B.x) * (A.z - C.z);
        if (std::fabs(d) < 1e-9f) continue;
        const float u = ((B.z - C.z) * (x - C.x) + (C.x - B.x) * (z - C.z)) / d;
        const float v = ((C.z - A.z) * (x - C.x) + (A.x - C.x) * (z - C.z)) / d;
        if (u < -1e-4f || v < -1e-4f || u + v > 1.0f + 1e-4f) continue;
        y = u * A.y + v * B.y + (1.0f - u - v) * C.y;
        return true;
    }
    return false;
}

TEST(TerrainLod, EveryLevelCoversItsTileWithinItsErrorAndTheFinestIsTheMesh) {
    const GameTerrain& t = gameTerrain();
    ASSERT_EQ(t.lod.tiles.size(), 256u);
    ASSERT_EQ(t.lod.indices.size() % 3, 0u);
    const uint32_t vertices = static_cast<uint32_t>(Terrain::kSamples * Terrain::kSamples + t.lod.skirtSource.size());
    EXPECT_TRUE(std::all_of(t.lod.indices.begin(), t.lod.indices.end(), [&](uint32_t k) { return k < vertices; }));
    // Tiles of the middle, a corner and the border hills, at every level; samples of
    // every tile's squares (the middle of the first, then a spread).
    for (const size_t tile : {size_t{0}, size_t{15}, size_t{17}, size_t{100}, size_t{240}, size_t{255}}) {
        const TerrainLod::Tile& tl = t.lod.tiles[tile];
        for (int32_t level = 0; level < TerrainLod::kLevels; ++level) {
            const TerrainLod::Range& range = tl.range[static_cast<size_t>(level)];
            for (int32_t r = tl.r0; r <= tl.r1; r += 3) {
                for (int32_t c = tl.c0; c <= tl.c1; c += 5) {
                    const float* p = &t.terrain.positions[static_cast<size_t>(r * Terrain::kSamples + c) * 3];
                    float y = 0.0f;
                    ASSERT_TRUE(surfaceAt(t, range, p[0], p[2], y)) << tile << " " << level << " " << r << " " << c;
                    EXPECT_LE(std::fabs(y - p[1]), tl.error[static_cast<size_t>(level)] + 1e-3f)
                        << "tile " << tile << " level " << level << " sample " << r << ", " << c;
                }
            }
        }
        EXPECT_EQ(tl.error[0], 0.0f);
    }
    // The finest level of a tile is the mesh's own triangles of its squares.
    const TerrainLod::Tile& tile = t.lod.tiles[17];
    std::multiset<std::tuple<uint32_t, uint32_t, uint32_t>> ours, mesh;
    const uint32_t meshVertices = static_cast<uint32_t>(Terrain::kSamples * Terrain::kSamples);
    for (uint32_t k = tile.range[0].first; k < tile.range[0].first + tile.range[0].count; k += 3)
        if (t.lod.indices[k] < meshVertices && t.lod.indices[k + 1] < meshVertices && t.lod.indices[k + 2] < meshVertices)
            ours.insert({t.lod.indices[k], t.lod.indices[k + 1], t.lod.indices[k + 2]});
    for (int32_t r = tile.r0; r < tile.r1; ++r)
        for (int32_t c = tile.c0; c < tile.c1; ++c) {
            const size_t first = static_cast<size_t>(r * (Terrain::kSamples - 1) + c) * 6;
            for (size_t k = first; k < first + 6; k += 3)
                mesh.insert({t.terrain.indices[k], t.terrain.indices[k + 1], t.terrain.indices[k + 2]});
        }
    EXPECT_EQ(ours, mesh);
}

TEST(TerrainLod, TheBorderHillsCostNoDetailAndTheChosenLevelStaysWithinTheTolerance) {
    const GameTerrain& t = gameTerrain();
    // The hills rise in straight slopes from creases that every level keeps: a hill tile
    // is no rougher than the noise it carries (without the creases a coarse level cut
    // the foot of the hill and erred by tens of units).
    const TerrainLod::Tile& hill = t.lod.tiles[0];
    const TerrainLod::Tile& middle = t.lod.tiles[100];
    EXPECT_LT(hill.error[5], 3.0f * middle.error[5] + 1.0f);

    const glm::mat4 projection = glm::perspective(glm::radians(80.0f), 1.6f, 0.1f, 8000.0f);
    const float pixels = TerrainLod::pixelsPerUnit(projection, 1280.0f, 720.0f);
    EXPECT_NEAR(pixels, 0.5f * 1280.0f / (1.6f * std::tan(glm::radians(40.0f))), 0.5f);
    for (const float depth : {1.0f, 150.0f, 600.0f, 2000.0f}) {
        const int32_t level = TerrainLod::levelFor(middle, depth, pixels, 0.75f);
        EXPECT_LE(middle.error[static_cast<size_t>(level)] * pixels / depth, 0.75f) << depth;
        for (int32_t coarser = level + 1; coarser < TerrainLod::kLevels; ++coarser) {  // and none coarser would do
            EXPECT_GT(middle.error[static_cast<size_t>(coarser)] * pixels / depth, 0.75f) << depth;
        }
    }
    EXPECT_EQ(TerrainLod::levelFor(middle, 0.0f, pixels, 0.75f), 0);
}

TEST(TerrainLod, GroundCoversWhatStandsBelowTheHillsNotWhatStandsAgainstTheSky) {
    const GameTerrain& t = gameTerrain();
    const glm::vec3 eye(250.0f, t.terrain.heightAt(250.0f, 264.0f) + 10.0f, 264.0f);
    // Far across the field on the ground, with the border hills rising behind it.
    const glm::vec3 onGround(1800.0f, t.terrain.heightAt(1800.0f, 2900.0f) + 4.0f, 2900.0f);
    EXPECT_TRUE(t.lod.groundCovers(eye, onGround, 4.0f, 0.0016f));
    // The same place, high above the hills' crest.
    EXPECT_FALSE(t.lod.groundCovers(eye, onGround + glm::vec3(0.0f, 600.0f, 0.0f), 4.0f, 0.0016f));
    // Around the eye itself nothing is behind anything.
    EXPECT_FALSE(t.lod.groundCovers(eye, eye, 5.0f, 0.0016f));
}

}  // namespace
