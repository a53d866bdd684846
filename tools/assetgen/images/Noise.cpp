#include "Noise.h"

#include <cmath>

#include "Canvas.h"

namespace assetgen::img {
namespace {
// One-round lattice hashes: the noise only needs well-mixed high bits.
inline std::uint32_t lattice2(int x, int y, std::uint32_t seed) {
    std::uint32_t h = std::uint32_t(x) * 0x27d4eb2du ^ std::uint32_t(y) * 0x165667b1u ^ seed * 0x9e3779b9u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    return h ^ (h >> 15);
}
inline std::uint32_t lattice3(int x, int y, int z, std::uint32_t seed) {
    return lattice2(x, y ^ int(std::uint32_t(z) * 0x85ebca6bu), seed);
}
inline float fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }
inline int wrapi(int v, int p) { return ((v % p) + p) % p; }
// Sixteen evenly spaced unit gradients.
constexpr float kGradX[16] = {1.0f, 0.92388f, 0.70711f, 0.38268f, 0.0f, -0.38268f, -0.70711f, -0.92388f,
                              -1.0f, -0.92388f, -0.70711f, -0.38268f, 0.0f, 0.38268f, 0.70711f, 0.92388f};
inline float grad2(std::uint32_t h, float x, float y) {
    unsigned i = h >> 28;
    return kGradX[i] * x + kGradX[(i + 12) & 15] * y;
}
inline float grad3(std::uint32_t h, float x, float y, float z) {
    switch (h & 15) {
        case 0: return x + y;
        case 1: return -x + y;
        case 2: return x - y;
        case 3: return -x - y;
        case 4: return x + z;
        case 5: return -x + z;
        case 6: return x - z;
        case 7: return -x - z;
        case 8: return y + z;
        case 9: return -y + z;
        case 10: return y - z;
        case 11: return -y - z;
        case 12: return x + y;
        case 13: return -y + z;
        case 14: return -x + y;
        default: return -y - z;
    }
}
}  // namespace

float gradientNoise(float x, float y, int p, std::uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float dx = x - fx, dy = y - fy;
    int x0 = wrapi(ix, p), x1 = wrapi(ix + 1, p), y0 = wrapi(iy, p), y1 = wrapi(iy + 1, p);
    float n00 = grad2(lattice2(x0, y0, seed), dx, dy);
    float n10 = grad2(lattice2(x1, y0, seed), dx - 1, dy);
    float n01 = grad2(lattice2(x0, y1, seed), dx, dy - 1);
    float n11 = grad2(lattice2(x1, y1, seed), dx - 1, dy - 1);
    float u = fade(dx), v = fade(dy);
    float a = n00 + (n10 - n00) * u, b = n01 + (n11 - n01) * u;
    return (a + (b - a) * v) * 1.41f;
}

float fbm(float x, float y, int p, int octaves, std::uint32_t seed, float gain) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += gradientNoise(x, y, p, seed + std::uint32_t(o) * 1013u) * amp;
        norm += amp;
        amp *= gain;
        x *= 2;
        y *= 2;
        p *= 2;
    }
    return sum / norm;
}

float ridged(float x, float y, int p, int octaves, std::uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        float n = 1.0f - std::fabs(gradientNoise(x, y, p, seed + std::uint32_t(o) * 7919u));
        sum += n * n * amp;
        norm += amp;
        amp *= 0.5f;
        x *= 2;
        y *= 2;
        p *= 2;
    }
    return sum / norm;
}

Cell worley(float x, float y, int p, std::uint32_t seed, float jitter) {
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    Cell c{1e9f, 1e9f, 0, 0, 0};
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            int cx = ix + ox, cy = iy + oy;
            std::uint32_t h = hash2(wrapi(cx, p), wrapi(cy, p), seed);
            float px = cx + 0.5f + (hashUnit(h) - 0.5f) * jitter;
            float py = cy + 0.5f + (hashUnit(hash32(h)) - 0.5f) * jitter;
            float d = std::hypot(px - x, py - y);
            if (d < c.f1) {
                c.f2 = c.f1;
                c.f1 = d;
                c.id = h;
                c.cx = px;
                c.cy = py;
            } else if (d < c.f2) {
                c.f2 = d;
            }
        }
    return c;
}

float gradientNoise3(float x, float y, float z, std::uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    int ix = int(fx), iy = int(fy), iz = int(fz);
    float dx = x - fx, dy = y - fy, dz = z - fz;
    float u = fade(dx), v = fade(dy), w = fade(dz);
    auto g = [&](int a, int b, int c) { return grad3(lattice3(ix + a, iy + b, iz + c, seed) >> 28, dx - a, dy - b, dz - c); };
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    float x00 = lerp(g(0, 0, 0), g(1, 0, 0), u), x10 = lerp(g(0, 1, 0), g(1, 1, 0), u);
    float x01 = lerp(g(0, 0, 1), g(1, 0, 1), u), x11 = lerp(g(0, 1, 1), g(1, 1, 1), u);
    return lerp(lerp(x00, x10, v), lerp(x01, x11, v), w) * 0.9f;
}

float fbm3(float x, float y, float z, int octaves, std::uint32_t seed, float gain) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += gradientNoise3(x, y, z, seed + std::uint32_t(o) * 1013u) * amp;
        norm += amp;
        amp *= gain;
        x *= 2.03f;
        y *= 2.03f;
        z *= 2.03f;
    }
    return sum / norm;
}

}  // namespace assetgen::img
