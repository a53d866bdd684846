// Framed pictures that hang on the fortress walls, and the flag.
#include <cmath>

#include "Noise.h"
#include "Painters.h"
#include "Scenery.h"
#include "Symbols.h"
#include "Text.h"

namespace assetgen::img {
namespace {

constexpr float kPi = 3.14159265f;

// The fortress's emblem: a ringed eye under three spikes.
void emblem(Image& im, float cx, float cy, float R, Color fg, Color bg) {
    fill(im, [=](float x, float y) { return sdRing(x, y, cx, cy, R, R * 0.07f); }, fg);
    for (int k = -1; k <= 1; ++k) {
        float a = -kPi / 2 + k * 0.5f;
        std::vector<float> spike = {cx + std::cos(a - 0.12f) * R * 1.05f, cy + std::sin(a - 0.12f) * R * 1.05f,
                                    cx + std::cos(a) * R * (k == 0 ? 1.75f : 1.5f), cy + std::sin(a) * R * (k == 0 ? 1.75f : 1.5f),
                                    cx + std::cos(a + 0.12f) * R * 1.05f, cy + std::sin(a + 0.12f) * R * 1.05f};
        fill(im, [=](float x, float y) { return sdPolygon(x, y, spike); }, fg);
    }
    fill(im,
         [=](float x, float y) {
             float up = sdCircle(x, y, cx, cy + R * 0.55f, R * 0.85f), down = sdCircle(x, y, cx, cy - R * 0.55f, R * 0.85f);
             return std::max(up, down);
         },
         fg);
    fill(im, [=](float x, float y) { return sdCircle(x, y, cx, cy, R * 0.2f); }, bg);
}

void canvasGrain(Image& im, std::uint32_t seed) {
    for (int y = 0; y < im.h; ++y)
        for (int x = 0; x < im.w; ++x) {
            float weave = 0.5f + 0.25f * (std::sin(x * 1.9f) + std::sin(y * 1.9f));
            float n = fbm(x / 24.0f, y / 24.0f, 64, 3, seed) * 0.5f + 0.5f;
            im.at(x, y) = scale(im.at(x, y), 0.9f + 0.08f * weave + 0.08f * (n - 0.5f));
        }
}

Image painting(int index, int w, int h) {
    Image im(w, h, rgb(0, 0, 0, 1));
    std::uint32_t seed = 7000 + std::uint32_t(index) * 31u;
    switch (index) {
        case 1: case 7: case 10: {  // landscapes under the red sky
            LandscapeOptions o;
            o.seed = seed;
            o.horizon = index == 1 ? 0.62f : 0.7f;
            o.planetX = index == 7 ? 0.3f : 0.7f;
            o.planetY = 0.22f;
            o.planetR = index == 10 ? 0.1f : 0.14f;
            o.fortress = index != 10;
            o.fortressScale = float(w) / 500.0f;
            o.skyHorizon = index == 10 ? hex(0x3a1450) : hex(0x7a2010);
            o.planetLight = index == 10 ? hex(0xd0c0ff) : hex(0xffa050);
            o.starDensity = 6;
            paintLandscape(im, o);
            if (index == 7) {  // a lava fall down the cliffs
                fill(im, [=](float x, float y) {
                         float cx = w * 0.55f + std::sin(y * 0.05f) * 4;
                         return sdBox(x, y, cx, h * 0.82f, 8 + (y / h) * 10, h * 0.2f);
                     },
                     [=](float, float y) { return mix(hex(0xffd040), hex(0xc02000), clamp01((y - h * 0.62f) / (h * 0.38f))); });
            }
            break;
        }
        case 2: case 9: {  // banners with the emblem
            Color field = index == 2 ? hex(0x7a0c10) : hex(0x0e3a1c);
            Color fg = index == 2 ? hex(0xf0c050) : hex(0xd8e8c0);
            render(im, [=](float x, float y) {
                float fold = 0.85f + 0.15f * std::sin(x / w * kPi * 5);
                return scale(field, fold * (0.9f + 0.1f * (fbm(x / 32, y / 32, 64, 3, seed) * 0.5f + 0.5f)));
            });
            fill(im, [=](float x, float y) { return std::fabs(sdBox(x, y, w / 2.0f, h / 2.0f, w * 0.42f, h * 0.44f, 4)) - 3; }, fg);
            emblem(im, w / 2.0f, h * (index == 2 ? 0.55f : 0.5f), w * 0.2f, fg, field);
            break;
        }
        case 3: {  // a star chart
            render(im, [=](float x, float y) {
                float n = fbm(x / 64, y / 64, 64, 4, seed) * 0.5f + 0.5f;
                return mix(hex(0x050a1e), hex(0x1a1a44), n);
            });
            float cx = w / 2.0f, cy = h * 0.45f;
            for (int k = 1; k <= 5; ++k)
                fill(im, [=](float x, float y) { return sdRing(x, y, cx, cy, k * w * 0.085f, 0.8f); }, rgb(0.6f, 0.75f, 1, 0.6f));
            fill(im, [=](float x, float y) { return sdCircle(x, y, cx, cy, w * 0.05f); }, hex(0xffc060));
            Rng r(seed);
            for (int k = 1; k <= 5; ++k) {
                float a = r.range(0, 2 * kPi), rr = k * w * 0.085f;
                float px = cx + std::cos(a) * rr, py = cy + std::sin(a) * rr;
                fill(im, [=](float x, float y) { return sdCircle(x, y, px, py, 3 + k * 1.2f); }, mix(hex(0x80c0ff), hex(0xff8060), k / 5.0f));
            }
            Font f(robotoPath("MediumItalic"));
            TextStyle st;
            st.px = 20;
            st.color = hex(0xc8d8ff);
            drawText(im, f, "Sistema Velkar", cx, h * 0.9f, Align::Center, st);
            break;
        }
        case 4: case 11: {  // portraits of the fortress's masters
            Color bgTop = index == 4 ? hex(0x3a1a10) : hex(0x101a30);
            render(im, [=](float x, float y) {
                float d = std::hypot(x / w - 0.5f, y / h - 0.35f);
                return mix(scale(bgTop, 1.6f), hex(0x050203), smooth(0.1f, 0.7f, d));
            });
            float cx = w / 2.0f, cy = h * 0.42f, s = w * 0.3f;
            Color cloak = index == 4 ? hex(0x1a0808) : hex(0x0a0a14);
            std::vector<float> body = {cx - s * 1.3f, float(h), cx - s * 0.5f, cy + s * 0.7f, cx + s * 0.5f, cy + s * 0.7f, cx + s * 1.3f, float(h)};
            fill(im, [&](float x, float y) { return sdPolygon(x, y, body); }, cloak);
            fill(im, [=](float x, float y) { return sdEllipse(x, y, cx, cy, s * 0.55f, s * 0.75f); }, cloak);
            std::vector<float> crown = {cx - s * 0.55f, cy - s * 0.45f, cx - s * 0.7f, cy - s * 1.3f, cx - s * 0.25f, cy - s * 0.8f,
                                        cx, cy - s * 1.5f, cx + s * 0.25f, cy - s * 0.8f, cx + s * 0.7f, cy - s * 1.3f, cx + s * 0.55f, cy - s * 0.45f};
            fill(im, [&](float x, float y) { return sdPolygon(x, y, crown); }, cloak);
            Color eye = index == 4 ? hex(0xff3a1a) : hex(0x3ad0ff);
            for (float ex : {-0.22f, 0.22f}) {
                float px = cx + ex * s, py = cy - s * 0.05f;
                fill(im, [=](float x, float y) { return sdCircle(x, y, px, py, s * 0.35f); },
                     [=](float x, float y) { return withAlpha(eye, 0.5f * std::exp(-std::pow(std::hypot(x - px, y - py) / (s * 0.12f), 2.0f))); });
                fill(im, [=](float x, float y) { return sdEllipse(x, y, px, py, s * 0.1f, s * 0.045f); }, mix(eye, rgb(1, 1, 1), 0.6f));
            }
            break;
        }
        case 5: case 12: {  // rune tablets
            render(im, [=](float x, float y) {
                float n = fbm(x / 48, y / 48, 64, 5, seed) * 0.5f + 0.5f;
                return scale(index == 5 ? hex(0x6a6058) : hex(0x3a4048), 0.7f + 0.5f * n);
            });
            Rng r(seed);
            int cols = 4, rows = index == 5 ? 8 : 4;
            float cw = w * 0.8f / cols, chh = h * 0.8f / rows;
            Color ink = index == 5 ? hex(0x2a1a10) : hex(0x50e0ff);
            for (int j = 0; j < rows; ++j)
                for (int i = 0; i < cols; ++i) {
                    float ox = w * 0.1f + i * cw + cw * 0.2f, oy = h * 0.1f + j * chh + chh * 0.2f, sw = cw * 0.6f, sh = chh * 0.6f;
                    for (int k = 0; k < 3; ++k) {
                        float ax = ox + r.unit() * sw, ay = oy + r.unit() * sh, bx = ox + r.unit() * sw, by = oy + r.unit() * sh;
                        fill(im, [=](float x, float y) { return sdSegment(x, y, ax, ay, bx, by, 2.2f); }, ink, ox - 4, oy - 4, ox + sw + 4, oy + sh + 4);
                    }
                }
            break;
        }
        case 6: {  // a blueprint of the ship
            render(im, [=](float x, float y) {
                Color c = hex(0x0d3a7a);
                if (std::fmod(x, 16.0f) < 1 || std::fmod(y, 16.0f) < 1) c = hex(0x2a5a9a);
                return c;
            });
            Box b{w * 0.15f, h * 0.12f, w * 0.7f, h * 0.7f};
            Image ship(w, h);
            drawShip(ship, b);
            for (auto& c : ship.px) c = withAlpha(hex(0xe8f4ff), c.a > 0.5f ? 0.25f : c.a * 0.5f);
            drawOnto(im, ship);
            drawOnto(im, glowOf(ship, 1.0f, hex(0xe8f4ff), 6.0f));
            Font f(robotoPath("Medium"));
            TextStyle st;
            st.px = 18;
            st.color = hex(0xe8f4ff);
            drawTextInBox(im, f, "NAVE DE EXPLORACIÓN Mk II", 0, h * 0.85f, float(w), float(h) - 2, Align::Center, st, 8);
            break;
        }
        default: {  // 8: the planet in eclipse
            render(im, [=](float x, float y) {
                float n = fbm(x / 64, y / 64, 64, 4, seed) * 0.5f + 0.5f;
                return mix(hex(0x040206), hex(0x1a0614), n * 0.6f);
            });
            float cx = w / 2.0f, cy = h / 2.0f, R = w * 0.3f;
            fill(im, [=](float x, float y) { return sdCircle(x, y, cx, cy, R * 1.5f); },
                 [=](float x, float y) {
                     float d = std::hypot(x - cx, y - cy) / R;
                     return rgb(1, 0.45f, 0.2f, d > 1 ? 0.8f * std::exp(-std::pow((d - 1) / 0.12f, 2.0f)) : 0.0f);
                 });
            fill(im, [=](float x, float y) { return sdCircle(x, y, cx, cy, R); }, hex(0x050203));
            break;
        }
    }
    canvasGrain(im, seed + 5);
    return im;
}

}  // namespace

Image wallPicture(int index) {
    // Odd pictures hang on tall frames (30 x 60 units), even ones on square frames.
    const bool tall = index % 2 == 1;
    const int w = 256, h = tall ? 512 : 256;
    const float border = 22;
    Image art = painting(index, w - 2 * int(border), h - 2 * int(border));
    Image im(w, h);
    // Carved dark wood with a gilt inner edge.
    render(im, [=](float x, float y) {
        float grain = fbm(x / 6, y / 60, 64, 3, 7777) * 0.5f + 0.5f;
        float inset = std::min(std::min(x, w - x), std::min(y, h - y));
        float bevel = 0.75f + 0.35f * std::sin(clamp01(inset / border) * kPi);
        return scale(mix(hex(0x2a140a), hex(0x5a2e16), grain), bevel);
    });
    fill(im, [=](float x, float y) { return std::fabs(sdBox(x, y, w / 2.0f, h / 2.0f, w / 2.0f - border + 2, h / 2.0f - border + 2)) - 2; },
         hex(0xd0a040));
    drawOnto(im, art, int(border), int(border));
    return im;
}

Image flag() {
    // The flag hangs from its pole on the left (texture u = 0) with its top row first.
    const int w = 510, h = 306;
    Image im(w, h);
    render(im, [=](float x, float y) {
        float n = fbm(x / 32, y / 32, 64, 3, 7501) * 0.5f + 0.5f;
        Color c = x < w * 0.22f ? hex(0x120608) : hex(0x9a0e12);
        float weave = 0.94f + 0.06f * std::sin(x * 2.2f) * std::sin(y * 2.2f);
        return scale(c, (0.85f + 0.25f * n) * weave);
    });
    fill(im, [=](float x, float y) { return sdBox(x, y, w * 0.22f, h / 2.0f, 5, h / 2.0f); }, hex(0xe0b040));
    emblem(im, w * 0.6f, h * 0.54f, h * 0.2f, hex(0xf2c24a), hex(0x9a0e12));
    return im;
}

}  // namespace assetgen::img
