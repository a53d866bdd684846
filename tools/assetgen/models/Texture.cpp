#include "Texture.h"

#include <algorithm>
#include <cmath>

#include <stb_image_write.h>

namespace assetgen::models {
namespace {

constexpr float kPi = 3.14159265358979f;

std::uint32_t mix32(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float h01(int x, int y, std::uint32_t seed) {
    return static_cast<float>(mix32(static_cast<std::uint32_t>(x) * 0x8da6b343U ^
                                     mix32(static_cast<std::uint32_t>(y) * 0xd8163841U ^ mix32(seed))) >>
                              8) *
           (1.0f / 16777216.0f);
}

int wrapi(int a, int n) { return ((a % n) + n) % n; }
float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }
float sat(float x) { return std::clamp(x, 0.0f, 1.0f); }
float smoothstep(float a, float b, float x) {
    const float t = sat((x - a) / (b - a));
    return t * t * (3.0f - 2.0f * t);
}
glm::vec3 lerp3(glm::vec3 a, glm::vec3 b, float t) { return a + (b - a) * t; }

// Lattice values of one noise frequency, kept per thread since every pixel asks
// for the same few lattices. A slot keeps its first lattice; a colliding one is
// hashed on the fly (same values, only slower).
const float* lattice(int fx, int fy, std::uint32_t seed) {
    struct Entry {
        int fx = -1, fy = -1;
        std::uint32_t seed = 0;
        std::vector<float> v;
    };
    thread_local std::vector<Entry> cache(1024);
    const std::uint32_t slot =
        ((static_cast<std::uint32_t>(fx) * 0x9E3779B1U + static_cast<std::uint32_t>(fy) * 0x85EBCA77U + seed * 0xC2B2AE3DU) >> 22) & 1023U;
    Entry& e = cache[slot];
    if (e.fx == fx && e.fy == fy && e.seed == seed) return e.v.data();
    if (e.fx != -1) return nullptr;
    e.fx = fx;
    e.fy = fy;
    e.seed = seed;
    e.v.resize(static_cast<std::size_t>(fx) * static_cast<std::size_t>(fy));
    for (int y = 0; y < fy; ++y)
        for (int x = 0; x < fx; ++x) e.v[static_cast<std::size_t>(y * fx + x)] = h01(x, y, seed);
    return e.v.data();
}

// Value noise with separate cell counts across and down (both wrap).
float noise2(float u, float v, int fx, int fy, std::uint32_t seed) {
    const float* L = lattice(fx, fy, seed);
    const float x = u * static_cast<float>(fx), y = v * static_cast<float>(fy);
    const float xf = std::floor(x), yf = std::floor(y);
    const int x0 = wrapi(static_cast<int>(xf), fx), y0 = wrapi(static_cast<int>(yf), fy);
    const int x1 = x0 + 1 == fx ? 0 : x0 + 1, y1 = y0 + 1 == fy ? 0 : y0 + 1;
    const float tx = fade(x - xf), ty = fade(y - yf);
    auto at = [&](int xx, int yy) { return L ? L[yy * fx + xx] : h01(xx, yy, seed); };
    const float a = at(x0, y0), b = at(x1, y0), c = at(x0, y1), d = at(x1, y1);
    const float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return (top + (bottom - top) * ty) * 2.0f - 1.0f;
}

template <class F>
void each(Image& im, F f) {
    for (int y = 0; y < im.h; ++y)
        for (int x = 0; x < im.w; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(im.w);
            const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(im.h);
            im.px[static_cast<std::size_t>(y) * static_cast<std::size_t>(im.w) + static_cast<std::size_t>(x)] = f(u, v, x, y);
        }
}

void scratches(Image& im, int count, float strength, std::uint32_t seed) {
    Rng r(seed);
    const float sz = static_cast<float>(im.w);
    for (int i = 0; i < count; ++i) {
        const glm::vec2 a(r.uniform(0, sz), r.uniform(0, sz));
        const float ang = r.uniform(0.0f, 2.0f * kPi), len = r.uniform(0.02f, 0.12f) * sz;
        const glm::vec2 b = a + len * glm::vec2(std::cos(ang), std::sin(ang));
        const float light = r.uniform(0.0f, 1.0f) < 0.7f ? 1.0f : 0.0f;
        blendLine(im, a, b, r.uniform(0.6f, 1.3f), glm::vec3(light ? 0.85f : 0.05f), strength * r.uniform(0.4f, 1.0f));
    }
}

void grain(Image& im, float amount, std::uint32_t seed) {
    each(im, [&](float u, float v, int x, int y) {
        const glm::vec3 c = im.at(x, y);
        return c * (1.0f + amount * (0.6f * noise2(u, v, 128, 128, seed) + 0.4f * (h01(x, y, seed + 7) * 2.0f - 1.0f)));
    });
}

}  // namespace

Image::Image(int width, int height, glm::vec3 fill) : w(width), h(height), px(static_cast<std::size_t>(width * height), fill) {}

glm::vec3& Image::at(int x, int y) {
    return px[static_cast<std::size_t>(wrapi(y, h)) * static_cast<std::size_t>(w) + static_cast<std::size_t>(wrapi(x, w))];
}

std::vector<unsigned char> Image::encodePng() const {
    std::vector<unsigned char> bytes(px.size() * 3);
    for (std::size_t i = 0; i < px.size(); ++i)
        for (int k = 0; k < 3; ++k)
            bytes[i * 3 + static_cast<std::size_t>(k)] =
                static_cast<unsigned char>(std::lround(sat(px[i][k]) * 255.0f));
    std::vector<unsigned char> out;
    stbi_write_png_to_func(
        [](void* ctx, void* data, int size) {
            auto* o = static_cast<std::vector<unsigned char>*>(ctx);
            const auto* b = static_cast<const unsigned char*>(data);
            o->insert(o->end(), b, b + size);
        },
        &out, w, h, 3, bytes.data(), w * 3);
    return out;
}

float noise(float u, float v, int freq, std::uint32_t seed) { return noise2(u, v, freq, freq, seed); }
float fbm(float u, float v, int freq, int octaves, std::uint32_t seed, float gain) {
    float sum = 0.0f, amp = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise2(u, v, freq << o, freq << o, seed + static_cast<std::uint32_t>(o) * 1013U);
        norm += amp;
        amp *= gain;
    }
    return sum / norm;
}

Cell cells(float u, float v, int freq, std::uint32_t seed) {
    const float x = u * static_cast<float>(freq), y = v * static_cast<float>(freq);
    const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    Cell c{1e9f, 1e9f, 0};
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int gx = cx + dx, gy = cy + dy;
            const int wx = wrapi(gx, freq), wy = wrapi(gy, freq);
            const float px = static_cast<float>(gx) + 0.1f + 0.8f * h01(wx, wy, seed);
            const float py = static_cast<float>(gy) + 0.1f + 0.8f * h01(wx, wy, seed + 1);
            const float d = std::hypot(px - x, py - y);
            if (d < c.f1) {
                c.f2 = c.f1;
                c.f1 = d;
                c.id = static_cast<std::uint32_t>(wy * freq + wx);
            } else if (d < c.f2) {
                c.f2 = d;
            }
        }
    return c;
}

std::uint32_t Rng::next() {
    state_ = state_ * 1664525U + 1013904223U;
    return mix32(state_);
}
float Rng::uniform(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }
int Rng::below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

void blendRect(Image& im, float x0, float y0, float x1, float y1, glm::vec3 c, float a) {
    for (int y = static_cast<int>(std::floor(y0)); y < static_cast<int>(std::ceil(y1)); ++y)
        for (int x = static_cast<int>(std::floor(x0)); x < static_cast<int>(std::ceil(x1)); ++x) {
            glm::vec3& p = im.at(x, y);
            p = lerp3(p, c, a);
        }
}

void blendDisc(Image& im, float cx, float cy, float r, glm::vec3 c, float a, float soft) {
    const int x0 = static_cast<int>(std::floor(cx - r - soft)), x1 = static_cast<int>(std::ceil(cx + r + soft));
    const int y0 = static_cast<int>(std::floor(cy - r - soft)), y1 = static_cast<int>(std::ceil(cy + r + soft));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy);
            const float k = 1.0f - smoothstep(r - soft, r + soft, d);
            if (k <= 0.0f) continue;
            glm::vec3& p = im.at(x, y);
            p = lerp3(p, c, a * k);
        }
}

void blendLine(Image& im, glm::vec2 a, glm::vec2 b, float width, glm::vec3 c, float alpha) {
    const glm::vec2 d = b - a;
    const float len2 = std::max(glm::dot(d, d), 1e-6f);
    const int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - width - 1));
    const int x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + width + 1));
    const int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - width - 1));
    const int y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + width + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const glm::vec2 p(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float t = std::clamp(glm::dot(p - a, d) / len2, 0.0f, 1.0f);
            const float dist = glm::length(p - (a + t * d));
            const float k = 1.0f - smoothstep(width * 0.5f - 0.5f, width * 0.5f + 0.5f, dist);
            if (k <= 0.0f) continue;
            glm::vec3& q = im.at(x, y);
            q = lerp3(q, c, alpha * k);
        }
}

Image metalPanels(int size, glm::vec3 base, const PanelStyle& st, std::uint32_t seed) {
    Image im(size, size);
    const float px = 1.0f / static_cast<float>(size);
    each(im, [&](float u, float v, int, int) {
        const int pi = static_cast<int>(u * st.panelsX), pj = static_cast<int>(v * st.panelsY);
        const float tint = 1.0f + st.variation * (h01(pi, pj, seed + 11) * 2.0f - 1.0f);
        glm::vec3 c = base * tint * (1.0f + 0.10f * fbm(u, v, 4, 5, seed));
        c *= 1.0f + 0.05f * noise2(u, v, 4, 96, seed + 3);  // brushed streaks
        const float fu = u * st.panelsX - static_cast<float>(pi), fv = v * st.panelsY - static_cast<float>(pj);
        const float du = std::min(fu, 1.0f - fu) / st.panelsX, dv = std::min(fv, 1.0f - fv) / st.panelsY;
        const float edge = std::min(du, dv) / px;
        if (edge < 1.2f) c *= 1.0f - st.seam;
        else if (edge < 3.0f) c *= (fu < 0.5f && du < dv) || (fv < 0.5f && dv <= du) ? 1.18f : 0.82f;
        const float g = smoothstep(0.1f, 0.7f, fbm(u, v, 3, 4, seed + 5) * 0.5f + 0.5f * fv);
        c *= 1.0f - st.grime * g * 0.6f;
        if (st.stripe.x >= 0.0f) {
            const float dy = std::abs(v - st.stripeY);
            if (dy < st.stripeH * 0.5f) {
                const float core = 1.0f - dy / (st.stripeH * 0.5f);
                c = st.stripe * (0.75f + 0.25f * core) + glm::vec3(0.25f * core * core);
            } else if (dy < st.stripeH * 0.5f + 2.0f * px) {
                c *= 0.3f;
            }
        }
        if (st.hazard && v > 0.86f) {
            const float k = std::fmod((u * 8.0f + v * 8.0f), 1.0f);
            c = k < 0.5f ? glm::vec3(0.85f, 0.66f, 0.08f) : glm::vec3(0.07f);
            c *= 0.85f + 0.15f * fbm(u, v, 8, 3, seed + 9);
        }
        return c;
    });
    if (st.rivets) {
        for (int j = 0; j < st.panelsY; ++j)
            for (int i = 0; i < st.panelsX; ++i) {
                const float cw = static_cast<float>(size) / st.panelsX, ch = static_cast<float>(size) / st.panelsY;
                const float inset = std::max(4.0f, static_cast<float>(size) / 48.0f);
                const float r = std::max(1.5f, static_cast<float>(size) / 160.0f);
                for (int k = 0; k < 4; ++k) {
                    const float x = i * cw + ((k & 1) ? cw - inset : inset), y = j * ch + ((k & 2) ? ch - inset : inset);
                    blendDisc(im, x + 0.6f, y + 0.6f, r, glm::vec3(0.0f), 0.5f);
                    blendDisc(im, x, y, r, base * 1.25f, 1.0f);
                    blendDisc(im, x - r * 0.3f, y - r * 0.3f, r * 0.4f, glm::vec3(0.9f), 0.6f);
                }
            }
    }
    scratches(im, st.scratches, 0.35f, seed + 21);
    grain(im, 0.05f, seed + 31);
    return im;
}

Image paintedMetal(int size, glm::vec3 paint, glm::vec3 metal, float wear, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        glm::vec3 c = paint * (1.0f + 0.12f * fbm(u, v, 4, 5, seed));
        const float w = fbm(u, v, 6, 5, seed + 2) * 0.5f + 0.5f;
        const float t = 1.0f - wear * 0.45f;
        if (w > t + 0.02f) c = metal * (1.0f + 0.15f * noise2(u, v, 8, 64, seed + 4));
        else if (w > t) c *= 0.55f;
        c *= 1.0f - 0.25f * smoothstep(0.3f, 0.9f, fbm(u, v, 3, 3, seed + 6) * 0.5f + 0.5f);
        return c;
    });
    scratches(im, 30, 0.4f, seed + 8);
    grain(im, 0.04f, seed + 9);
    return im;
}

Image glow(int size, glm::vec3 colour, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const float n = fbm(u, v, 3, 5, seed);
        const float band = 0.5f + 0.5f * std::sin(2.0f * kPi * (v * 4.0f + 0.6f * n));
        const float streak = std::pow(std::max(0.0f, noise2(u, v, 24, 2, seed + 5)), 3.0f);
        glm::vec3 c = colour * (0.8f + 0.25f * n);
        c = lerp3(c, glm::vec3(1.0f), 0.30f * std::pow(band, 6.0f) + 0.4f * streak);
        return c;
    });
    return im;
}

Image hexField(int size, glm::vec3 colour, std::uint32_t seed) {
    Image im(size, size);
    const float s3 = std::sqrt(3.0f);
    constexpr int nx = 7, ny = 4;
    each(im, [&](float u, float v, int, int) {
        const glm::vec2 p(u * nx * s3, v * ny * 3.0f);
        auto hexd = [&](glm::vec2 q) {
            q = glm::abs(q);
            return std::max(q.x, 0.5f * q.x + 0.5f * s3 * q.y);
        };
        const glm::vec2 pa(std::fmod(p.x, s3) - s3 * 0.5f, std::fmod(p.y, 3.0f) - 1.5f);
        const glm::vec2 pb(std::fmod(p.x + s3 * 0.5f, s3) - s3 * 0.5f, std::fmod(p.y + 1.5f, 3.0f) - 1.5f);
        // Nearest centre of the two offset lattices (one with its cells half a step over).
        const glm::vec2 q = glm::length(pa) < glm::length(pb) ? pa : pb;
        const glm::vec2 cellId = glm::floor(p - q);
        const float edge = s3 * 0.5f * 0.98f - hexd(q);
        const float flick = h01(static_cast<int>(cellId.x * 3.0f), static_cast<int>(cellId.y), seed);
        const float n = fbm(u, v, 4, 4, seed + 3) * 0.5f + 0.5f;
        glm::vec3 c = colour * (0.30f + 0.35f * flick * n);
        const float line = std::exp(-edge * 14.0f);
        c = lerp3(c, colour * 1.3f + glm::vec3(0.25f), std::min(1.0f, line));
        return c;
    });
    return im;
}

Image stone(int size, glm::vec3 base, glm::vec3 dark, float cracks, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int x, int y) {
        const float n = fbm(u, v, 4, 6, seed) * 0.5f + 0.5f;
        glm::vec3 c = lerp3(dark, base, smoothstep(0.2f, 0.8f, n));
        c *= 0.9f + 0.2f * (fbm(u, v, 16, 3, seed + 4) * 0.5f + 0.5f);
        const Cell ce = cells(u, v, 5, seed + 2);
        const float crack = 1.0f - smoothstep(0.0f, 0.05f, ce.f2 - ce.f1);
        c *= 1.0f - cracks * 0.7f * crack;
        c *= 0.92f + 0.16f * h01(static_cast<int>(ce.id), 0, seed + 9);
        if (h01(x, y, seed + 5) > 0.985f) c *= 1.25f;
        return c;
    });
    return im;
}

Image runeStone(int size, glm::vec3 base, glm::vec3 rune, std::uint32_t seed) {
    Image im = stone(size, base, base * 0.45f, 0.5f, seed);
    Rng r(seed + 77);
    const int grid = 4;
    const float cell = static_cast<float>(size) / grid;
    for (int j = 0; j < grid; ++j)
        for (int i = 0; i < grid; ++i) {
            const glm::vec2 o(i * cell + cell * 0.25f, j * cell + cell * 0.2f);
            const float gs = cell * 0.5f;
            const int strokes = 2 + r.below(3);
            for (int k = 0; k < strokes; ++k) {
                const glm::vec2 a = o + gs * glm::vec2(static_cast<float>(r.below(3)) * 0.5f, static_cast<float>(r.below(4)) / 3.0f);
                const glm::vec2 b = o + gs * glm::vec2(static_cast<float>(r.below(3)) * 0.5f, static_cast<float>(r.below(4)) / 3.0f);
                if (glm::length(a - b) < 1.0f) continue;
                blendLine(im, a, b, cell * 0.11f, rune * 0.5f, 0.5f);
                blendLine(im, a, b, cell * 0.05f, rune, 1.0f);
                blendLine(im, a, b, cell * 0.018f, glm::vec3(1.0f), 0.6f);
            }
        }
    return im;
}

Image bark(int size, glm::vec3 base, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const float warp = 0.08f * fbm(u, v, 3, 3, seed + 1);
        const float ridges = 0.5f + 0.5f * std::sin(2.0f * kPi * (u + warp) * 12.0f + 3.0f * noise2(u, v, 8, 2, seed + 2));
        const float fib = noise2(u + warp, v, 48, 6, seed + 3) * 0.5f + 0.5f;
        glm::vec3 c = base * (0.55f + 0.45f * ridges) * (0.8f + 0.35f * fib);
        if (ridges < 0.12f) c *= 0.45f;
        c *= 0.9f + 0.2f * (fbm(u, v, 4, 4, seed + 4) * 0.5f + 0.5f);
        return c;
    });
    return im;
}

Image foliage(int size, glm::vec3 base, glm::vec3 light, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const Cell ce = cells(u, v, 9, seed);
        const float shade = h01(static_cast<int>(ce.id), 1, seed + 3);
        glm::vec3 c = lerp3(base, light, shade * 0.7f) * (1.0f - 0.5f * smoothstep(0.2f, 0.9f, ce.f1));
        const float vein = std::abs(std::sin(ce.f1 * 30.0f));
        c *= 0.9f + 0.15f * vein;
        if (ce.f2 - ce.f1 < 0.04f) c *= 0.5f;
        c *= 0.85f + 0.3f * (fbm(u, v, 4, 4, seed + 5) * 0.5f + 0.5f);
        return c;
    });
    return im;
}

Image bone(int size, glm::vec3 base, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int x, int y) {
        const float n = fbm(u, v, 4, 5, seed) * 0.5f + 0.5f;
        glm::vec3 c = lerp3(base * glm::vec3(0.8f, 0.72f, 0.55f), base, smoothstep(0.2f, 0.8f, n));
        const Cell ce = cells(u, v, 7, seed + 1);
        if (ce.f2 - ce.f1 < 0.025f && noise(u, v, 6, seed + 2) > 0.1f) c *= 0.6f;
        if (h01(x, y, seed + 3) > 0.992f) c *= 0.55f;
        c *= 1.0f - 0.3f * smoothstep(0.5f, 1.0f, fbm(u, v, 2, 3, seed + 4) * 0.5f + 0.5f);
        return c;
    });
    return im;
}

Image lava(int size, glm::vec3 crust, glm::vec3 hot, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const Cell ce = cells(u + 0.03f * fbm(u, v, 4, 3, seed + 1), v, 6, seed);
        const float gap = ce.f2 - ce.f1;
        const float heat = 1.0f - smoothstep(0.0f, 0.18f, gap);
        glm::vec3 c = crust * (0.7f + 0.4f * (fbm(u, v, 8, 4, seed + 2) * 0.5f + 0.5f));
        c *= 0.8f + 0.3f * smoothstep(0.0f, 0.6f, ce.f1);
        const glm::vec3 h = lerp3(hot, glm::vec3(1.0f, 0.95f, 0.6f), smoothstep(0.6f, 1.0f, heat));
        c = lerp3(c, h, heat);
        return c;
    });
    return im;
}

Image wood(int size, glm::vec3 base, std::uint32_t seed) {
    Image im(size, size);
    constexpr int planks = 4;
    each(im, [&](float u, float v, int, int) {
        const int pl = static_cast<int>(v * planks);
        const float fv = v * planks - static_cast<float>(pl);
        const float tint = 0.85f + 0.3f * h01(pl, 0, seed);
        const float n = fbm(u, v, 2, 4, seed + static_cast<std::uint32_t>(pl)) * 0.5f;
        const float g = 0.5f + 0.5f * std::sin((fv * 9.0f + n * 6.0f + noise2(u, v, 3, 8, seed + 2) * 1.5f) * 2.0f * kPi);
        glm::vec3 c = base * tint * (0.75f + 0.3f * g);
        c *= 0.92f + 0.1f * noise2(u, v, 64, 4, seed + 3);
        if (fv < 0.03f || fv > 0.97f) c *= 0.35f;
        return c;
    });
    scratches(im, 25, 0.25f, seed + 4);
    return im;
}

Image creatureSkin(int size, glm::vec3 base, glm::vec3 spots, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const float n = fbm(u, v, 4, 5, seed) * 0.5f + 0.5f;
        glm::vec3 c = base * (0.7f + 0.5f * n);
        const Cell ce = cells(u, v, 8, seed + 1);
        const float spot = 1.0f - smoothstep(0.18f, 0.32f, ce.f1 * (0.7f + 0.6f * h01(static_cast<int>(ce.id), 0, seed)));
        c = lerp3(c, spots * (0.8f + 0.4f * n), spot * 0.85f);
        const float wrinkle = std::abs(noise2(u, v, 6, 24, seed + 2));
        c *= 0.8f + 0.25f * smoothstep(0.0f, 0.3f, wrinkle);
        return c;
    });
    return im;
}

Image crystal(int size, glm::vec3 colour, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int x, int y) {
        const Cell ce = cells(u, v, 5, seed);
        const float facet = h01(static_cast<int>(ce.id), 2, seed);
        glm::vec3 c = colour * (0.55f + 0.7f * facet);
        c = lerp3(c, glm::vec3(1.0f), 0.5f * (1.0f - smoothstep(0.0f, 0.06f, ce.f2 - ce.f1)));
        c *= 0.9f + 0.2f * (fbm(u, v, 6, 3, seed + 2) * 0.5f + 0.5f);
        if (h01(x, y, seed + 4) > 0.996f) c = glm::vec3(1.0f);
        return c;
    });
    return im;
}

Image glass(int size, glm::vec3 colour, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const float hl = std::exp(-std::pow((std::fmod(u * 2.0f, 1.0f) - 0.3f) * 9.0f, 2.0f));
        glm::vec3 c = colour * (0.75f + 0.2f * (fbm(u, v, 3, 4, seed) * 0.5f + 0.5f));
        c = lerp3(c, glm::vec3(1.0f), 0.6f * hl);
        const float bubbles = cells(u, v, 12, seed + 1).f1;
        if (bubbles < 0.06f) c *= 1.2f;
        return c;
    });
    return im;
}

Image circuit(int size, glm::vec3 board, glm::vec3 trace, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        return board * (0.85f + 0.2f * (fbm(u, v, 8, 3, seed) * 0.5f + 0.5f));
    });
    Rng r(seed + 5);
    const int grid = 16;
    const float step = static_cast<float>(size) / grid;
    for (int k = 0; k < 34; ++k) {
        glm::vec2 p(static_cast<float>(r.below(grid)) * step + step * 0.5f, static_cast<float>(r.below(grid)) * step + step * 0.5f);
        const int segs = 2 + r.below(4);
        blendDisc(im, p.x, p.y, step * 0.28f, trace, 1.0f);
        for (int sgi = 0; sgi < segs; ++sgi) {
            const int dir = r.below(4);
            const float len = static_cast<float>(1 + r.below(4)) * step;
            const glm::vec2 d = dir == 0 ? glm::vec2(len, 0) : dir == 1 ? glm::vec2(-len, 0) : dir == 2 ? glm::vec2(0, len) : glm::vec2(0, -len);
            blendLine(im, p, p + d, step * 0.35f, trace * 0.35f, 0.6f);
            blendLine(im, p, p + d, step * 0.14f, trace, 1.0f);
            p += d;
        }
        blendDisc(im, p.x, p.y, step * 0.25f, trace * 1.2f, 1.0f);
    }
    return im;
}

Image hazardStripes(int size, glm::vec3 a, glm::vec3 b, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const float k = std::fmod(u * 4.0f + v * 4.0f, 1.0f);
        glm::vec3 c = k < 0.5f ? a : b;
        c *= 0.8f + 0.25f * (fbm(u, v, 6, 4, seed) * 0.5f + 0.5f);
        return c;
    });
    scratches(im, 40, 0.4f, seed + 1);
    return im;
}

Image fabric(int size, glm::vec3 base, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const float wv = 0.5f + 0.25f * (std::sin(u * 2.0f * kPi * 64.0f) + std::sin(v * 2.0f * kPi * 64.0f));
        glm::vec3 c = base * (0.8f + 0.25f * wv);
        c *= 0.85f + 0.3f * (fbm(u, v, 4, 4, seed) * 0.5f + 0.5f);
        const float seamLine = std::abs(std::fmod(u * 2.0f, 1.0f) - 0.5f);
        if (seamLine < 0.006f) c *= 0.6f;
        return c;
    });
    return im;
}

Image grip(int size, glm::vec3 base, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const float n = 24.0f;
        const float a = std::abs(std::fmod(u * n + v * n, 1.0f) - 0.5f), b = std::abs(std::fmod(u * n - v * n + 100.0f, 1.0f) - 0.5f);
        const float k = smoothstep(0.3f, 0.5f, std::max(a, b));
        glm::vec3 c = base * (1.0f + 0.25f * (1.0f - k)) * (1.0f - 0.5f * k);
        c *= 0.9f + 0.15f * (fbm(u, v, 4, 3, seed) * 0.5f + 0.5f);
        return c;
    });
    return im;
}

Image marble(int size, glm::vec3 base, glm::vec3 vein, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const float n = fbm(u, v, 3, 6, seed);
        const float veins = std::pow(std::abs(std::sin(2.0f * kPi * (u * 2.0f + v + 1.4f * n))), 0.25f);
        glm::vec3 c = base * (0.85f + 0.25f * (fbm(u, v, 6, 4, seed + 1) * 0.5f + 0.5f));
        c = lerp3(vein, c, veins);
        return c;
    });
    return im;
}

Image cactusSkin(int size, glm::vec3 base, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const float rib = 0.5f + 0.5f * std::cos(2.0f * kPi * u * 8.0f);
        glm::vec3 c = base * (0.6f + 0.5f * rib) * (0.85f + 0.3f * (fbm(u, v, 4, 4, seed) * 0.5f + 0.5f));
        c *= 0.9f + 0.12f * noise2(u, v, 8, 64, seed + 1);
        return c;
    });
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 12; ++j) {
            const float x = (static_cast<float>(i) + 0.5f) * static_cast<float>(size) / 8.0f;
            const float y = (static_cast<float>(j) + 0.5f * static_cast<float>(i % 2)) * static_cast<float>(size) / 12.0f;
            blendDisc(im, x, y, static_cast<float>(size) / 110.0f, glm::vec3(0.95f, 0.9f, 0.7f), 0.9f);
            blendLine(im, {x, y}, {x + size / 40.0f, y - size / 50.0f}, 1.0f, glm::vec3(0.95f, 0.92f, 0.8f), 0.8f);
            blendLine(im, {x, y}, {x - size / 40.0f, y - size / 50.0f}, 1.0f, glm::vec3(0.95f, 0.92f, 0.8f), 0.8f);
        }
    return im;
}

Image skin(int size, glm::vec3 base, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        return base * (0.92f + 0.1f * (fbm(u, v, 4, 4, seed) * 0.5f + 0.5f));
    });
    return im;
}

Image hair(int size, glm::vec3 base, std::uint32_t seed) {
    Image im(size, size);
    each(im, [&](float u, float v, int, int) {
        const float strands = noise2(u, v, 96, 3, seed) * 0.5f + 0.5f;
        glm::vec3 c = base * (0.6f + 0.7f * strands);
        c = lerp3(c, glm::vec3(0.9f), 0.15f * std::pow(strands, 6.0f));
        return c;
    });
    return im;
}

}  // namespace assetgen::models
