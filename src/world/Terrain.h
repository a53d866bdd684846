#pragma once
// The ground the fortress stands on: a 512 x 512 height field of fractal gradient
// noise with a fixed seed (the same in every fortress), its triangle mesh with the
// hills along the border, and the ground-height query everything standing on it uses.
// GL-free: the drawing side uploads the mesh arrays and then lets them go.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Improved gradient noise over a 128-entry permutation, stored twice.
class PerlinNoise {
public:
    std::array<int32_t, 256> p{};

    // Shuffles the table with a private engine, leaving the game's engine untouched.
    void seed(uint32_t value);
    // Noise in the plane z = 0, roughly in -1 ... 1.
    double noise(double x, double y) const;
    // Sum of octaveCount octaves, each at twice the frequency and half the amplitude.
    double octaves(double x, double y, int32_t octaveCount) const;
};

class Terrain {
public:
    static constexpr int32_t kSamples = 512;  // samples per side of the field
    static constexpr uint32_t kNoiseSeed = 23451;
    // The spacing world construction sets before building (the game's terrain).
    static constexpr float kWorldSampleSpacing = 7.01f;

    float sampleSpacing = 3.0f;  // world construction sets kWorldSampleSpacing before building
    float heightScale = 70.0f;
    float columns = 512.0f;
    float rows = 512.0f;
    float originX = 0.0f;
    float originZ = 0.0f;
    // heights[r * 512 + c]: noise values in 0 ... 1, without the border hills. Row r runs
    // along world X, column c along world Z.
    std::vector<float> heights;
    PerlinNoise noise;

    // The mesh, one entry per sample in row-major order (r outer): 3, 2, 3 and 3 floats.
    std::vector<float> positions;
    std::vector<float> texCoords;
    std::vector<float> normals;
    std::vector<float> tangents;
    // Two triangles per square, squares in row-major order (the drawing side relies on
    // square (r, c) starting at index (r * 511 + c) * 6).
    std::vector<uint32_t> indices;

    // Height field, then the mesh arrays.
    void buildTerrain();
    void buildHeights();
    void buildMesh();
    // Frees the mesh arrays once they are uploaded; the heights stay for heightAt.
    void releaseMeshData();

    float sample(int32_t r, int32_t c) const { return heights[static_cast<size_t>(r * kSamples + c)]; }
    // The border hills added to sample (r, c) in the mesh (not in heightAt).
    static float hill(int32_t r, int32_t c);
    // The rows and columns where the hills bend (the same numbers for both).
    static std::vector<int32_t> hillCreases() { return {11, 12, 501, 502}; }
    // Ground height at a world position, interpolated over the square's two triangles;
    // 0 outside the field or before it is built.
    float heightAt(float x, float z) const;
};
