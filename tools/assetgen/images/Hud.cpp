// Head-up display: icons, map icons, aim marks, the scope, overlays and sprites.
#include <cmath>
#include <cstdio>
#include <map>

#include "Noise.h"
#include "Painters.h"
#include "Symbols.h"
#include "Text.h"

namespace assetgen::img {
namespace {

constexpr float kPi = 3.14159265f;

// Held: full colour, a dark rim for contrast against the scene and a soft glow.
Image held(const Image& sym, Color glow) {
    Image out(sym.w, sym.h);
    float S = float(std::min(sym.w, sym.h));
    drawOnto(out, glowOf(sym, S * 0.06f, withAlpha(glow, 0.9f), 1.4f));
    drawOnto(out, glowOf(sym, S * 0.018f, rgb(0, 0, 0, 0.9f), 4.0f));
    drawOnto(out, sym);
    return out;
}

// Missing: a dim grey silhouette with a pale rim, clearly "not yet".
Image missing(const Image& sym) {
    Image shade(sym.w, sym.h);
    for (size_t i = 0; i < sym.px.size(); ++i) {
        const Color& c = sym.px[i];
        float l = 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
        shade.px[i] = {0.2f + 0.2f * l, 0.2f + 0.2f * l, 0.23f + 0.2f * l, c.a * 0.72f};
    }
    Image out(sym.w, sym.h);
    float S = float(std::min(sym.w, sym.h));
    drawOnto(out, glowOf(sym, S * 0.02f, rgb(0.85f, 0.87f, 0.9f, 0.95f), 5.0f));
    drawOnto(out, glowOf(sym, 0.8f, rgb(0, 0, 0, 1), 2.0f));
    drawOnto(out, shade);
    return out;
}

using SymbolFn = std::function<void(Image&, Box)>;

Image symbolImage(int w, int h, float margin, const SymbolFn& fn) {
    Image im(w, h);
    fn(im, {margin, margin, w - 2 * margin, h - 2 * margin});
    return im;
}

Image connectedCells(int n) {
    const int w = 240, h = 100;
    Image out(w, h);
    // Backplate holding four sockets.
    fill(out, [=](float x, float y) { return sdBox(x, y, w / 2.0f, h / 2.0f, w / 2.0f - 6, h / 2.0f - 8, 14); },
         rgb(0.05f, 0.07f, 0.08f, 0.72f));
    fill(out, [=](float x, float y) { return std::fabs(sdBox(x, y, w / 2.0f, h / 2.0f, w / 2.0f - 6, h / 2.0f - 8, 14)) - 1.5f; },
         rgb(0.6f, 0.7f, 0.75f, 0.8f));
    for (int i = 0; i < 4; ++i) {
        float cx = 36 + i * 56.0f;
        Box b{cx - 26, 12, 52, 76};
        if (i < n) {
            Image cell(w, h);
            drawEnergyCell(cell, b);
            drawOnto(out, held(cell, hex(0x4aff6a)));
        } else {
            fill(out, [=](float x, float y) { return std::fabs(sdBox(x, y, cx, 50, 11, 28, 6)) - 1.5f; }, rgb(0.55f, 0.6f, 0.62f, 0.8f));
            fill(out, [=](float x, float y) { return sdBox(x, y, cx, 50, 9.5f, 26.5f, 5); }, rgb(0.1f, 0.12f, 0.13f, 0.8f));
        }
    }
    return out;
}

}  // namespace

Image hudIcon(const std::string& key) {
    auto sq = [](const SymbolFn& fn) { return symbolImage(128, 128, 14, fn); };
    auto tall = [](const SymbolFn& fn) { return symbolImage(96, 150, 10, fn); };
    auto wide = [](const SymbolFn& fn) { return symbolImage(154, 128, 12, fn); };
    auto both = [&](const std::string& k, const Image& sym, Color glow) {
        return k.find('1') != std::string::npos ? held(sym, glow) : missing(sym);
    };
    if (key == "ammoIcon") return held(sq(drawAmmo), hex(0xffc060));
    if (key == "healthIcon") return held(sq(drawHealth), hex(0xff4040));
    if (key == "encubridoresIcon") return held(wide([](Image& im, Box b) { drawCloakNode(im, b, true); }), hex(0x60d8ff));
    if (key == "escanerIcon") return held(wide(drawScannerCard), hex(0x60ff9a));
    if (key == "Hiyura0Icon" || key == "Hiyura1Icon") return both(key, tall(drawGirl), hex(0xff9ae8));
    if (key == "Celula0Icon" || key == "Celula1Icon") return both(key, tall(drawEnergyCell), hex(0x4aff6a));
    if (key.rfind("CelulasConectadas", 0) == 0) return connectedCells(key[17] - '0');
    if (key == "InyectorPlasma0Icon" || key == "InyectorPlasma1Icon") return both(key, tall(drawInjector), hex(0xd060ff));
    if (key.rfind("KeyRedIcon", 0) == 0)
        return both(key.substr(10), sq([](Image& im, Box b) { drawKey(im, b, keyRed()); }), keyRed());
    if (key.rfind("KeyGreenIcon", 0) == 0)
        return both(key.substr(12), sq([](Image& im, Box b) { drawKey(im, b, keyGreen()); }), keyGreen());
    if (key.rfind("KeyYellowIcon", 0) == 0)
        return both(key.substr(13), sq([](Image& im, Box b) { drawKey(im, b, keyYellow()); }), keyYellow());
    if (key.rfind("InductorRojo", 0) == 0) return both(key.substr(12), sq(drawCrystal), hex(0xff3030));
    if (key.rfind("RepelenteAzul", 0) == 0) return both(key.substr(13), sq(drawRepellent), hex(0x4a9aff));
    if (key == "CompassIcon") return held(sq([](Image& im, Box b) { drawCompass(im, b, 0); }), hex(0x8090a0));
    if (key == "CompassNorthIcon") return held(sq([](Image& im, Box b) { drawCompass(im, b, 1); }), hex(0xff5040));
    if (key == "CompassSouthIcon") return held(sq([](Image& im, Box b) { drawCompass(im, b, 2); }), hex(0x40a0ff));
    std::fprintf(stderr, "assetgen: no HUD icon painter for %s\n", key.c_str());
    return Image(8, 8);
}

Image mapIcon(const std::string& key) {
    // Painted at 128 and reduced: the map shows each icon about a dozen pixels wide,
    // so shapes are bold and every item sits on a dark disc that separates it from walls.
    const int big = 128, small = 32;
    Image im(big, big);
    Box full{0, 0, float(big), float(big)};
    Box inner{10, 10, big - 20.0f, big - 20.0f};
    auto wallTile = [&](Color c, Color edge) {
        fill(im, [&](float x, float y) { return sdBox(x, y, 64, 64, 62, 62, 10); },
             [&](float x, float y) {
                 float n = fbm(x / 16, y / 16, 8, 3, 77) * 0.5f + 0.5f;
                 float t = clamp01((x + y) / 256.0f);
                 return scale(mix(mix(edge, c, 0.8f), c, 1 - t), 0.85f + 0.3f * n);
             });
        fill(im, [&](float x, float y) { return std::fabs(sdBox(x, y, 64, 64, 60, 60, 9)) - 3; }, withAlpha(edge, 0.9f));
    };
    auto disc = [&](Color ring) {
        fill(im, [](float x, float y) { return sdCircle(x, y, 64, 64, 60); }, rgb(0.04f, 0.05f, 0.07f, 0.92f));
        fill(im, [](float x, float y) { return sdRing(x, y, 64, 64, 57, 4); }, ring);
    };
    if (key == "Wall_0_IconMap") wallTile(hex(0x4a4a50), hex(0x1c1c20));
    else if (key == "Wall_1_IconMap") wallTile(hex(0x9a4a30), hex(0x4a1c10));
    else if (key == "Wall_2_IconMap") wallTile(hex(0x8e9096), hex(0x3c3e42));
    else if (key == "Wall_3_IconMap") wallTile(hex(0x3a3230), hex(0xb03010));
    else if (key == "Wall_4_IconMap") wallTile(hex(0xc0a070), hex(0x5a4a30));
    else if (key == "Player_IconMap") {
        fill(im, [](float x, float y) { return sdCircle(x, y, 64, 64, 62); }, rgb(1, 1, 1, 1));
        fill(im, [](float x, float y) { return sdCircle(x, y, 64, 64, 50); }, hex(0x1ee05a));
        fill(im, [](float x, float y) { return sdCircle(x, y, 64, 64, 20); }, hex(0xeaffef));
    } else if (key == "Trace_IconMap") {
        fill(im, [](float x, float y) { return sdCircle(x, y, 64, 64, 44); }, hex(0x4a2a00));
        fill(im, [](float x, float y) { return sdCircle(x, y, 64, 64, 36); }, hex(0xffc21e));
        fill(im, [](float x, float y) { return sdCircle(x, y, 64, 64, 14); }, hex(0xfff4c8));
    } else if (key == "Teleport_IconMap") {
        drawTeleport(im, full);
        fill(im, [](float x, float y) { return sdRing(x, y, 64, 64, 58, 5); }, hex(0x8ad0ff));
    } else {
        static const std::map<std::string, std::pair<std::uint32_t, SymbolFn>> items = {
            {"ItemChest_IconMap", {0x60d8ff, [](Image& m, Box b) { drawCloakNode(m, b, false); }}},
            {"KeyRed_IconMap", {0xe8322a, [](Image& m, Box b) { drawKey(m, b, keyRed()); }}},
            {"KeyGreen_IconMap", {0x38d04a, [](Image& m, Box b) { drawKey(m, b, keyGreen()); }}},
            {"KeyYellow_IconMap", {0xf5cf2a, [](Image& m, Box b) { drawKey(m, b, keyYellow()); }}},
            {"Spaceship_IconMap", {0xffffff, drawShip}},
            {"DoorRed_IconMap", {0xe8322a, [](Image& m, Box b) { drawGate(m, b, keyRed()); }}},
            {"DoorGreen_IconMap", {0x38d04a, [](Image& m, Box b) { drawGate(m, b, keyGreen()); }}},
            {"DoorYellow_IconMap", {0xf5cf2a, [](Image& m, Box b) { drawGate(m, b, keyYellow()); }}},
            {"EnergyCell_IconMap", {0x4aff6a, drawEnergyCell}},
            {"Statue_IconMap", {0xf0c850, drawStatue}},
            {"EngineDevice_IconMap", {0xd060ff, drawInjector}},
            {"Hiyura_IconMap", {0xff9ae8, drawGirl}},
            {"SlotCell_IconMap", {0x3ad04a, drawSlot}},
            {"InductorRojo_IconMap", {0xff3030, drawCrystal}},
            {"RepelenteAzul_IconMap", {0x4a9aff, drawRepellent}},
            {"WormAlien_IconMap", {0xffa040, drawWorm}},
            {"MonolithAlien_IconMap", {0xc060ff, drawMonolith}},
            {"ForceField_IconMap", {0x60e0ff, drawForceField}},
        };
        auto it = items.find(key);
        if (it == items.end()) {
            std::fprintf(stderr, "assetgen: no map icon painter for %s\n", key.c_str());
        } else {
            disc(hex(it->second.first));
            it->second.second(im, inner);
        }
    }
    return resized(im, small, small);
}

Image crosshair(int style) {
    const int n = 128;
    Image im(n, n);
    float c = n / 2.0f;
    auto both = [&](const Sdf& sdf, Color col) {
        fill(im, [&](float x, float y) { return sdf(x, y) - 1.5f; }, rgb(0, 0, 0, 0.7f));
        fill(im, sdf, col);
    };
    if (style == 1) {
        Color col = hex(0xe8fff0);
        for (int k = 0; k < 4; ++k) {
            float dx = std::cos(k * kPi / 2), dy = std::sin(k * kPi / 2);
            both([=](float x, float y) { return sdSegment(x, y, c + dx * 12, c + dy * 12, c + dx * 34, c + dy * 34, 2.2f); }, col);
        }
        both([=](float x, float y) { return sdCircle(x, y, c, c, 3); }, hex(0xff4a3a));
    } else {
        Color col = hex(0x8affc0);
        both([=](float x, float y) { return sdRing(x, y, c, c, 40, 1.8f); }, col);
        for (int k = 0; k < 4; ++k) {
            float dx = std::cos(k * kPi / 2), dy = std::sin(k * kPi / 2);
            both([=](float x, float y) { return sdSegment(x, y, c + dx * 18, c + dy * 18, c + dx * 52, c + dy * 52, 1.4f); }, col);
        }
        both([=](float x, float y) { return sdCircle(x, y, c, c, 2.2f); }, col);
    }
    return im;
}

Image sniperScope() {
    // Drawn over the whole window; laid out for a 16:10 window so the lens is round.
    const int w = 1024, h = 640;
    const float cx = w / 2.0f, cy = h / 2.0f, R = 0.47f * h;
    Image im(w, h);
    render(im, [=](float x, float y) {
        float r = std::hypot(x - cx, y - cy);
        if (r > R + 1) return rgb(0.0f, 0.0f, 0.0f, 1.0f);
        float edge = clamp01(r - R);
        // Inside: clear glass with a dark vignette and a faint blue coating at the rim.
        float vig = smooth(R * 0.72f, R, r);
        Color glass = mix(rgb(0.05f, 0.12f, 0.2f, 0.0f), rgb(0.0f, 0.02f, 0.04f, 0.85f), vig);
        return mix(glass, rgb(0, 0, 0, 1), edge);
    });
    // Rim.
    fill(im, [=](float x, float y) { return sdRing(x, y, cx, cy, R + 2, 3); }, hex(0x1a1e22));
    // Reticle: fine lines near the centre, heavy posts towards the rim, mil dots.
    Color ink = rgb(0.02f, 0.02f, 0.02f, 0.95f);
    fill(im, [=](float x, float y) { return std::min(sdSegment(x, y, cx - R, cy, cx + R, cy, 0.8f), sdSegment(x, y, cx, cy - R, cx, cy + R, 0.8f)); }, ink);
    for (int k = 0; k < 4; ++k) {
        float dx = std::cos(k * kPi / 2), dy = std::sin(k * kPi / 2);
        fill(im, [=](float x, float y) { return sdSegment(x, y, cx + dx * R * 0.55f, cy + dy * R * 0.55f, cx + dx * R, cy + dy * R, 4.5f); }, ink);
        for (int m = 1; m <= 4; ++m) {
            float px = cx + dx * m * R * 0.11f, py = cy + dy * m * R * 0.11f;
            fill(im, [=](float x, float y) { return sdCircle(x, y, px, py, 2.6f); }, ink);
        }
    }
    fill(im, [=](float x, float y) { return sdCircle(x, y, cx, cy, 2.2f); }, hex(0xff2a1a));
    return im;
}

Image bloodFrame() {
    const int w = 1024, h = 640;
    Image im(w, h);
    render(im, [=](float x, float y) {
        float u = x / w, v = y / h;
        float edge = std::min(std::min(u, 1 - u) * 1.6f, std::min(v, 1 - v));  // distance to the frame, in height units
        float n = fbm(u * 6, v * 4, 64, 5, 3101) * 0.5f + 0.5f;
        float splat = fbm(u * 14, v * 9, 128, 4, 3102) * 0.5f + 0.5f;
        float reach = 0.08f + 0.18f * n;
        float k = smooth(reach, reach * 0.35f, edge);
        k = clamp01(k + smooth(0.62f, 0.8f, splat) * smooth(reach * 1.6f, reach, edge));
        // Darker where the blood is thick.
        Color c = mix(hex(0xb0100a), hex(0x3a0000), clamp01(k * 1.2f - 0.2f + (splat - 0.5f) * 0.4f));
        c.a = k * 0.92f;
        return c;
    });
    // A few drips from the top edge.
    Rng r(3103);
    for (int i = 0; i < 14; ++i) {
        float x0 = r.range(20, w - 20), len = r.range(40, 170), wd = r.range(3, 8);
        fill(im, [=](float x, float y) { return std::min(sdSegment(x, y, x0, 0, x0, len, wd * 0.7f), sdCircle(x, y, x0, len, wd)); },
             rgb(0.45f, 0.02f, 0.02f, 0.88f), x0 - 12, 0, x0 + 12, len + 12);
    }
    return im;
}

Image muzzleFlash() {
    const int n = 256;
    const float c = n / 2.0f;
    Image im(n, n);
    Rng r(3201);
    std::vector<float> rays(9), widths(9);
    for (size_t i = 0; i < rays.size(); ++i) rays[i] = r.range(0.55f, 1.0f), widths[i] = r.range(0.12f, 0.22f);
    render(im, [&](float x, float y) {
        float dx = (x - c) / c, dy = (y - c) / c;
        float rr = std::hypot(dx, dy), a = std::atan2(dy, dx);
        float star = 0;
        for (size_t i = 0; i < rays.size(); ++i) {
            float ra = i * 2 * kPi / rays.size() + 0.3f;
            float da = std::fabs(std::remainder(a - ra, 2 * kPi));
            float len = rays[i];
            star = std::max(star, smooth(widths[i] * (1 - rr / len), 0.0f, da) * smooth(len, len * 0.3f, rr));
        }
        float core = smooth(0.45f, 0.0f, rr);
        float k = clamp01(std::max(star, core));
        Color col = mix(hex(0xff5a0a), hex(0xffd25a), clamp01(k * 1.3f));
        col = mix(col, hex(0xffffff), smooth(0.15f, 0.0f, rr));
        col.a = k;
        return col;
    });
    return im;
}

Image particleSprite(int kind) {
    const int n = 64;
    const float c = n / 2.0f;
    Image im(n, n);
    render(im, [&](float x, float y) {
        float dx = (x - c) / c, dy = (y - c) / c, r = std::hypot(dx, dy);
        float a = std::atan2(dy, dx);
        switch (kind) {
            case 0: {  // hit: a hot four-pointed spark
                float cross = std::max(smooth(0.1f, 0.0f, std::fabs(dx)) * smooth(1.0f, 0.2f, std::fabs(dy)),
                                       smooth(0.1f, 0.0f, std::fabs(dy)) * smooth(1.0f, 0.2f, std::fabs(dx)));
                float k = clamp01(std::max(cross, std::exp(-r * r * 12)));
                Color col = mix(hex(0xff7a1a), hex(0xfff2c0), std::exp(-r * r * 20));
                return withAlpha(col, k);
            }
            case 1: {  // destroyed: a ragged fiery puff
                float n1 = fbm(x / 16, y / 16, 4, 3, 3301) * 0.5f + 0.5f;
                float k = smooth(0.95f, 0.3f, r + (n1 - 0.5f) * 0.5f);
                Color col = mix(hex(0x3a2a24), hex(0xff6a1a), smooth(0.8f, 0.2f, r));
                col = mix(col, hex(0xffe08a), std::exp(-r * r * 10));
                return withAlpha(col, k * 0.95f);
            }
            case 2: {  // rescue: a soft pink sparkle
                float rays = std::pow(std::fabs(std::cos(a * 2)), 8.0f) * smooth(1.0f, 0.0f, r);
                float k = clamp01(std::exp(-r * r * 8) + rays * 0.8f);
                Color col = mix(hex(0xff7ad8), hex(0xffffff), std::exp(-r * r * 14));
                return withAlpha(col, k);
            }
            default: {  // engine: blue-white plasma
                float k = clamp01(std::exp(-r * r * 4.5f) * 1.1f);
                Color col = mix(hex(0x2a6aff), hex(0xe8f6ff), std::exp(-r * r * 12));
                return withAlpha(col, k);
            }
        }
    });
    return im;
}

Image indicator() {
    const int n = 64;
    Image im(n, n);
    std::vector<float> arrow = {14, 10, 54, 32, 14, 54, 24, 32};
    Image shape(n, n);
    fill(shape, [&](float x, float y) { return sdPolygon(x, y, arrow) + 1.0f; },
         [](float, float y) { return mix(hex(0xffd08a), hex(0xff5a1a), clamp01((y - 10) / 44)); });
    drawOnto(im, glowOf(shape, 4, hex(0xff4a10), 1.5f));
    drawOnto(im, glowOf(shape, 1, rgb(0, 0, 0, 1), 3.0f));
    drawOnto(im, shape);
    return im;
}

Image versionBadge() {
    const int w = 320, h = 48;
    Image im(w, h);
    fill(im, [=](float x, float y) { return sdBox(x, y, w / 2.0f, h / 2.0f, w / 2.0f - 2, h / 2.0f - 2, 12); }, rgb(0.05f, 0.02f, 0.03f, 0.7f));
    fill(im, [=](float x, float y) { return std::fabs(sdBox(x, y, w / 2.0f, h / 2.0f, w / 2.0f - 3, h / 2.0f - 3, 11)) - 1.0f; },
         rgb(0.9f, 0.45f, 0.3f, 0.8f));
    Font font(robotoPath("BoldItalic"));
    TextStyle st;
    st.px = 30;
    st.color = hex(0xf4e6dc);
    drawTextInBox(im, font, "Velkaran  v0.1", 0, 0, float(w), float(h), Align::Center, st, 16);
    return im;
}

}  // namespace assetgen::img
