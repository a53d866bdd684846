#pragma once
// Deterministic noise. The 2D functions take an integer period (in lattice cells)
// so that textures built from them tile without seams.
#include <cstdint>

namespace assetgen::img {

// Gradient noise in about -1..1, periodic with period p on both axes (p > 0).
float gradientNoise(float x, float y, int p, std::uint32_t seed);
// Fractal sum of octaves; the period doubles with the frequency. About -1..1.
float fbm(float x, float y, int p, int octaves, std::uint32_t seed, float gain = 0.5f);
// Ridged variant (0..1, creases near 1).
float ridged(float x, float y, int p, int octaves, std::uint32_t seed);

struct Cell {
    float f1, f2;   // distances to the nearest and second nearest feature point
    std::uint32_t id;  // hash of the nearest cell
    float cx, cy;   // nearest feature point
};
// Periodic cellular noise with one jittered feature point per lattice cell.
Cell worley(float x, float y, int p, std::uint32_t seed, float jitter = 0.9f);

// 3D gradient noise (not periodic), about -1..1, and its fractal sum.
float gradientNoise3(float x, float y, float z, std::uint32_t seed);
float fbm3(float x, float y, float z, int octaves, std::uint32_t seed, float gain = 0.5f);

}  // namespace assetgen::img
