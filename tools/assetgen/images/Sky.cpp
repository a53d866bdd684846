// The night sky: one colour per view direction, sampled for the six cube faces, so
// the faces meet without seams.
#include <cmath>

#include "Noise.h"
#include "Painters.h"

namespace assetgen::img {
namespace {

struct V3 {
    float x, y, z;
};
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
inline float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline V3 norm(V3 a) { return a * (1.0f / std::sqrt(dot(a, a))); }

constexpr int kFace = 512;

// Direction of texel (col, row) of a cube face, following OpenGL's cube-map
// addressing with the file's first row at t = 0.
V3 faceDirection(int face, float col, float row) {
    float s = 2.0f * (col + 0.5f) / kFace - 1.0f, t = 2.0f * (row + 0.5f) / kFace - 1.0f;
    switch (face) {
        case 0: return norm({1, -t, -s});
        case 1: return norm({-1, -t, s});
        case 2: return norm({s, 1, t});
        case 3: return norm({s, -1, -t});
        case 4: return norm({s, -t, 1});
        default: return norm({-s, -t, -1});
    }
}

Color stars(V3 d) {
    const float S = 70.0f;
    float px = d.x * S, py = d.y * S, pz = d.z * S;
    int cx = int(std::floor(px)), cy = int(std::floor(py)), cz = int(std::floor(pz));
    Color acc{0, 0, 0, 1};
    for (int a = -1; a <= 1; ++a)
        for (int b = -1; b <= 1; ++b)
            for (int c = -1; c <= 1; ++c) {
                std::uint32_t h = hash3(cx + a, cy + b, cz + c, 2024);
                if (hashUnit(h) > 0.05f) continue;
                V3 p{(cx + a + hashUnit(hash32(h + 1))) / S, (cy + b + hashUnit(hash32(h + 2))) / S,
                     (cz + c + hashUnit(hash32(h + 3))) / S};
                float len = std::sqrt(dot(p, p));
                if (len < 0.9f || len > 1.1f) continue;  // only points near the sphere
                p = p * (1.0f / len);
                V3 diff = p - d;
                float ang = std::sqrt(dot(diff, diff));  // chord, equal to the angle at this scale
                float m = hashUnit(hash32(h + 4));
                float r = 0.0024f + 0.0022f * m;
                if (ang > 4 * r) continue;
                float bright = 0.25f + 2.2f * m * m * m * m;
                float k = std::exp(-(ang * ang) / (r * r)) * bright;
                float tint = hashUnit(hash32(h + 5));
                Color col = tint < 0.3f ? rgb(1.0f, 0.75f, 0.6f) : (tint < 0.8f ? rgb(1, 0.95f, 0.9f) : rgb(0.75f, 0.85f, 1.0f));
                acc.r += col.r * k;
                acc.g += col.g * k;
                acc.b += col.b * k;
            }
    return acc;
}

Color skyColour(V3 d) {
    float e = d.y;
    // Far below the horizon the terrain hides the sky: a plain dark ground glow.
    if (e < -0.12f) {
        float n = fbm3(d.x * 6, d.y * 6, d.z * 6, 3, 507) * 0.5f + 0.5f;
        return withAlpha(mix(hex(0x0e0305), hex(0x4a1212), smooth(0.3f, 0.8f, n) * 0.8f), 1);
    }
    // Base gradient: a red glow at the horizon fading to a near-black zenith.
    Color zenith = hex(0x06030a), mid = hex(0x1a0610), horizon = hex(0x5a1414), below = hex(0x140507);
    Color c = e > 0 ? mix(mix(horizon, mid, smooth(0.0f, 0.35f, e)), zenith, smooth(0.25f, 0.95f, e))
                    : mix(horizon, below, smooth(0.0f, 0.12f, -e));
    // A nebular band across the sky.
    V3 bandNormal = norm({0.35f, 0.75f, 0.55f});
    float off = dot(d, bandNormal);
    float band = std::exp(-off * off / 0.1f);
    float n1 = fbm3(d.x * 2.2f, d.y * 2.2f, d.z * 2.2f, 5, 501) * 0.5f + 0.5f;
    float n2 = fbm3(d.x * 5.0f + 3, d.y * 5.0f, d.z * 5.0f, 4, 502) * 0.5f + 0.5f;
    float cloud = smooth(0.3f, 0.8f, n1) * (0.3f + 0.9f * band);
    Color neb = mix(hex(0x7a1020), hex(0xff6a2a), smooth(0.5f, 0.9f, n2));
    neb = mix(neb, hex(0xb0307a), smooth(0.55f, 0.25f, n2) * 0.6f);
    float elevationFade = smooth(-0.05f, 0.15f, e);
    c.r += neb.r * cloud * 0.8f * elevationFade;
    c.g += neb.g * cloud * 0.8f * elevationFade;
    c.b += neb.b * cloud * 0.8f * elevationFade;
    // Dust lanes darken the band and hide some stars.
    float dust = smooth(0.55f, 0.8f, fbm3(d.x * 4 + 9, d.y * 4, d.z * 4, 4, 503) * 0.5f + 0.5f) * band;
    c = scale(c, 1.0f - 0.6f * dust);
    Color st = stars(d);
    float starVis = (1.0f - 0.8f * dust) * smooth(-0.02f, 0.08f, e);
    c.r += st.r * starVis;
    c.g += st.g * starVis;
    c.b += st.b * starVis;
    // A ringless gas giant low over the horizon.
    V3 pc = norm({0.62f, 0.22f, -0.75f});
    float pr = 0.24f;
    float ang = std::acos(std::min(1.0f, dot(d, pc)));
    if (ang < pr * 1.6f) {
        V3 u = norm(cross(pc, {0, 1, 0}));
        V3 v = cross(u, pc);
        float lx = dot(d, u) / std::sin(pr), ly = dot(d, v) / std::sin(pr);
        float rr = lx * lx + ly * ly;
        if (rr < 1.0f) {
            float lz = std::sqrt(1 - rr);
            V3 light = norm({-0.6f, 0.5f, 0.6f});
            float lit = std::max(0.0f, lx * light.x + ly * light.y + lz * light.z);
            float lat = ly * 0.9f + lx * 0.25f;
            float swirl = fbm3(lx * 3, lat * 14, 0.5f, 4, 504) * 0.5f + 0.5f;
            float bands = 0.5f + 0.5f * std::sin(lat * 22 + swirl * 4);
            Color surf = mix(hex(0x6a1d12), hex(0xd9773c), bands * 0.7f + swirl * 0.3f);
            surf = scale(surf, 0.08f + 1.0f * std::pow(lit, 0.8f));
            float edge = smooth(1.0f, 0.96f, std::sqrt(rr));
            c = mix(c, withAlpha(surf, 1), edge);
        }
        float glow = std::exp(-std::pow(std::max(0.0f, ang - pr) / (pr * 0.12f), 2.0f));
        c.r += 0.45f * glow;
        c.g += 0.12f * glow;
        c.b += 0.06f * glow;
    }
    // A small pale moon.
    V3 mc = norm({-0.45f, 0.62f, 0.42f});
    float mr = 0.035f;
    float ma = std::acos(std::min(1.0f, dot(d, mc)));
    if (ma < mr * 4) {
        if (ma < mr) {
            float crater = fbm3(d.x * 90, d.y * 90, d.z * 90, 3, 505) * 0.5f + 0.5f;
            Color moon = scale(hex(0xf3e2d0), 0.75f + 0.35f * crater);
            float shadeK = smooth(mr, mr * 0.6f, ma) * 0.3f + 0.7f;
            c = mix(c, scale(moon, shadeK), smooth(mr, mr * 0.92f, ma));
        }
        float halo = std::exp(-std::pow(ma / (mr * 2.2f), 2.0f)) * 0.25f;
        c.r += halo;
        c.g += halo * 0.85f;
        c.b += halo * 0.8f;
    }
    // Distant mountains ring the horizon.
    float az = std::atan2(d.z, d.x);
    float ridge = e < 0.07f ? 0.015f + 0.05f * (fbm3(std::cos(az) * 3, std::sin(az) * 3, 0.0f, 5, 506) * 0.5f + 0.5f) : -1.0f;
    if (e < ridge) {
        float k = smooth(ridge, ridge - 0.003f, e);
        c = mix(c, hex(0x0b0306), k);
    }
    c.a = 1;
    return c;
}

}  // namespace

Image skyFace(int face) {
    Image im(kFace, kFace);
    for (int y = 0; y < kFace; ++y)
        for (int x = 0; x < kFace; ++x) im.at(x, y) = skyColour(faceDirection(face, float(x), float(y)));
    return im;
}

}  // namespace assetgen::img
