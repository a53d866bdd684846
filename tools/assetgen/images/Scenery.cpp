#include "Scenery.h"

#include <cmath>
#include <vector>

#include "Noise.h"

namespace assetgen::img {

void paintLandscape(Image& im, const LandscapeOptions& o) {
    const float W = float(im.w), H = float(im.h);
    const float hz = o.horizon * H;
    // Sky: gradient, nebula haze and stars.
    render(im, [&](float x, float y) {
        float t = clamp01(y / hz);
        Color c = mix(o.skyTop, o.skyHorizon, std::pow(t, 2.2f));
        float band = std::exp(-std::pow((y / H - 0.25f - 0.25f * x / W) / 0.22f, 2.0f));
        float neb = band > 0.02f ? fbm(x / H * 3, y / H * 3, 64, 5, o.seed + 1) * 0.5f + 0.5f : 0.0f;
        float k = smooth(0.45f, 0.85f, neb) * band * 0.35f;
        c.r += 0.55f * k;
        c.g += 0.12f * k;
        c.b += 0.18f * k;
        std::uint32_t h = hash2(int(x), int(y), o.seed + 2);
        float s = hashUnit(h);
        float starP = 0.0025f * o.starDensity * (1.0f - t);
        if (s < starP) {
            float b = 0.3f + 0.7f * hashUnit(hash32(h));
            c = mix(c, rgb(1, 0.92f, 0.85f), b);
        }
        c.a = 1;
        return c;
    });
    // Bright stars with a small cross glint.
    Rng r(o.seed + 3);
    int bright = int(40 * o.starDensity * W / 1280.0f);
    for (int i = 0; i < bright; ++i) {
        float sx = r.range(0, W), sy = r.range(0, hz * 0.85f), sr = r.range(0.8f, 1.8f);
        fill(im,
             [=](float x, float y) {
                 float d = sdCircle(x, y, sx, sy, sr);
                 float cross = std::min(sdSegment(x, y, sx - sr * 4, sy, sx + sr * 4, sy, 0.35f),
                                        sdSegment(x, y, sx, sy - sr * 4, sx, sy + sr * 4, 0.35f));
                 return std::min(d, cross);
             },
             rgb(1, 0.95f, 0.9f, 0.9f), sx - sr * 5, sy - sr * 5, sx + sr * 5, sy + sr * 5);
    }
    // Planet with bands, lit from the left, and its glow.
    if (o.planet) {
        float pcx = o.planetX * W, pcy = o.planetY * H, pr = o.planetR * H;
        fill(im, [=](float x, float y) { return sdCircle(x, y, pcx, pcy, pr * 1.5f); },
             [=](float x, float y) {
                 float d = std::hypot(x - pcx, y - pcy) / pr;
                 float g = std::exp(-std::pow((d - 1.0f) / 0.18f, 2.0f)) * (d > 1 ? 1.0f : 0.0f);
                 return withAlpha(o.planetLight, 0.55f * g);
             },
             pcx - pr * 1.6f, pcy - pr * 1.6f, pcx + pr * 1.6f, pcy + pr * 1.6f);
        fill(im, [=](float x, float y) { return sdCircle(x, y, pcx, pcy, pr); },
             [=](float x, float y) {
                 float lx = (x - pcx) / pr, ly = (y - pcy) / pr;
                 float lz = std::sqrt(std::max(0.0f, 1 - lx * lx - ly * ly));
                 float lit = std::max(0.0f, -0.65f * lx - 0.35f * ly + 0.67f * lz);
                 float lat = ly * 0.95f + lx * 0.2f;
                 float sw = fbm(lx * 3 + 10, lat * 10, 64, 4, o.seed + 4) * 0.5f + 0.5f;
                 float bands = 0.5f + 0.5f * std::sin(lat * 18 + sw * 4);
                 Color c = mix(scale(o.planetLight, 0.45f), o.planetLight, bands * 0.6f + sw * 0.4f);
                 return scale(c, 0.06f + 1.05f * std::pow(lit, 0.9f));
             },
             pcx - pr, pcy - pr, pcx + pr, pcy + pr);
    }
    // Far mountains, then the fortress on its hill, then the near ground.
    auto ridge = [&](float x, float base, float amp, float freq, std::uint32_t seed) {
        return base - amp * (0.5f + 0.5f * fbm(x / W * freq, 0.5f, 64, 5, seed));
    };
    std::vector<float> far(im.w), near(im.w);
    for (int x = 0; x < im.w; ++x) {
        far[x] = ridge(x + 0.5f, hz, H * 0.12f, 3, o.seed + 5);
        near[x] = ridge(x + 0.5f, hz + H * 0.16f, H * 0.09f, 2.2f, o.seed + 6);
    }
    paint(im, [&](float x, float y) {
        float r1 = far[int(x)];
        if (y < r1) return rgb(0, 0, 0, 0);
        float t = clamp01((y - r1) / (H * 0.25f));
        Color c = mix(hex(0x3a0f12), hex(0x160608), t);
        return withAlpha(c, clamp01(y - r1 + 0.5f));
    });
    if (o.fortress) {
        float fx = o.fortressX * W, s = o.fortressScale * H / 800.0f;
        float base = hz + H * 0.02f;
        Color wall = hex(0x0c0406);
        // Hill.
        fill(im, [=](float x, float y) { return sdEllipse(x, y, fx, base + 60 * s, 420 * s, 90 * s); }, hex(0x12050a));
        // Curtain wall with crenellations.
        fill(im,
             [=](float x, float y) {
                 float body = sdBox(x, y, fx, base - 20 * s, 300 * s, 40 * s);
                 // Merlons every 24 units along the top of the wall.
                 float mx = fx + (std::round((x - fx) / (24 * s))) * 24 * s;
                 float cren = std::fabs(x - fx) < 300 * s ? sdBox(x, y, mx, base - 64 * s, 6 * s, 6 * s) : 1e9f;
                 return std::min(body, cren);
             },
             wall);
        // Towers of different heights, with spires.
        const float towers[][3] = {{-260, 34, 150}, {-150, 26, 110}, {-40, 46, 230}, {70, 30, 170}, {190, 24, 120}, {280, 36, 160}};
        for (const auto& t : towers) {
            float tx = fx + t[0] * s, tw = t[1] * s, th = t[2] * s;
            fill(im, [=](float x, float y) { return sdBox(x, y, tx, base - th / 2, tw / 2, th / 2); }, wall);
            std::vector<float> spire = {tx - tw * 0.65f, base - th, tx + tw * 0.65f, base - th, tx, base - th - tw * 1.6f};
            fill(im, [=](float x, float y) { return sdPolygon(x, y, spire); }, wall);
            // Lit windows.
            Rng wr(hash32(std::uint32_t(int(t[0] + 1000)) + o.seed));
            int nwin = int(th / (28 * s));
            for (int k = 0; k < nwin; ++k) {
                if (wr.unit() < 0.4f) continue;
                float wy = base - th + 20 * s + k * 26 * s, wx = tx + (wr.unit() - 0.5f) * tw * 0.5f;
                fill(im, [=](float x, float y) { return sdBox(x, y, wx, wy, 2.2f * s, 4.5f * s, 1.5f * s); },
                     [=](float, float) { return hex(0xffb34a); });
                fill(im, [=](float x, float y) { return sdCircle(x, y, wx, wy, 12 * s); },
                     [=](float x, float y) {
                         float d = std::hypot(x - wx, y - wy) / (6 * s);
                         return rgb(1.0f, 0.5f, 0.15f, 0.35f * std::exp(-d * d));
                     });
            }
        }
        // A beacon on the tallest spire.
        float bx = fx - 40 * s, by = base - 230 * s - 46 * s * 1.6f;
        fill(im, [=](float x, float y) { return sdCircle(x, y, bx, by, 22 * s); },
             [=](float x, float y) { return rgb(1, 0.2f, 0.1f, 0.5f * std::exp(-std::pow(std::hypot(x - bx, y - by) / (9 * s), 2.0f))); });
        fill(im, [=](float x, float y) { return sdCircle(x, y, bx, by, 3 * s); }, hex(0xff5a3a));
    }
    paint(im, [&](float x, float y) {
        float r2 = near[int(x)];
        if (y < r2) return rgb(0, 0, 0, 0);
        float n = fbm(x / 40, y / 40, 64, 3, o.seed + 7) * 0.5f + 0.5f;
        Color c = scale(hex(0x0d0406), 0.8f + 0.4f * n);
        return withAlpha(c, clamp01(y - r2 + 0.5f));
    });
}

}  // namespace assetgen::img
