#include "Symbols.h"

#include <cmath>

#include "Text.h"

namespace assetgen::img {
namespace {

constexpr float kPi = 3.14159265f;

// Shading helper: a vertical light-to-dark gradient of a base colour.
Shader gradientV(Box b, Color top, Color bottom) {
    return [=](float, float y) { return mix(top, bottom, clamp01((y - b.y) / b.h)); };
}
Shader solid(Color c) {
    return [c](float, float) { return c; };
}
Color lighter(Color c, float k) { return mix(c, rgb(1, 1, 1, c.a), k); }
Color darker(Color c, float k) { return mix(c, rgb(0, 0, 0, c.a), k); }

// Rotates (x, y) about (cx, cy) by a (radians).
inline void rot(float& x, float& y, float cx, float cy, float a) {
    float dx = x - cx, dy = y - cy, c = std::cos(a), s = std::sin(a);
    x = cx + dx * c - dy * s;
    y = cy + dx * s + dy * c;
}

void fillIn(Image& im, Box b, const Sdf& sdf, const Shader& sh) { fill(im, sdf, sh, b.x - 2, b.y - 2, b.x + b.w + 2, b.y + b.h + 2); }
void fillIn(Image& im, Box b, const Sdf& sdf, Color c) { fillIn(im, b, sdf, solid(c)); }

}  // namespace

Color keyRed() { return hex(0xe8322a); }
Color keyGreen() { return hex(0x38d04a); }
Color keyYellow() { return hex(0xf5cf2a); }

void drawKey(Image& im, Box b, Color c) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    const float a = -kPi / 4;  // the key lies diagonally, bow at the upper left
    auto keySdf = [=](float x, float y) {
        rot(x, y, cx, cy, a);
        float bow = sdCircle(x, y, cx - 0.25f * S, cy, 0.2f * S);
        float hole = sdCircle(x, y, cx - 0.25f * S, cy, 0.085f * S);
        float shaft = sdBox(x, y, cx + 0.12f * S, cy, 0.22f * S, 0.055f * S, 0.02f * S);
        float t1 = sdBox(x, y, cx + 0.26f * S, cy + 0.1f * S, 0.045f * S, 0.08f * S, 0.01f * S);
        float t2 = sdBox(x, y, cx + 0.12f * S, cy + 0.085f * S, 0.04f * S, 0.065f * S, 0.01f * S);
        float d = std::min({bow, shaft, t1, t2});
        return std::max(d, -hole);
    };
    fillIn(im, b, keySdf, [=](float x, float y) {
        float t = clamp01(((x - b.x) + (y - b.y)) / (b.w + b.h));
        return mix(lighter(c, 0.45f), darker(c, 0.35f), t);
    });
    // A highlight along the bow.
    fillIn(im, b,
           [=](float x, float y) {
               rot(x, y, cx, cy, a);
               float r = sdRing(x, y, cx - 0.25f * S, cy, 0.145f * S, 0.018f * S);
               return std::max(r, -(y - cy + 0.02f * S));
           },
           withAlpha(lighter(c, 0.75f), 0.8f));
}

void drawHealth(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, cy, 0.4f * S, 0.4f * S, 0.1f * S); },
           gradientV(b, hex(0xffffff), hex(0xc9d2d8)));
    auto cross = [=](float x, float y) {
        return std::min(sdBox(x, y, cx, cy, 0.28f * S, 0.1f * S, 0.02f * S), sdBox(x, y, cx, cy, 0.1f * S, 0.28f * S, 0.02f * S));
    };
    fillIn(im, b, cross, gradientV(b, hex(0xff4a3d), hex(0xb3140c)));
}

void drawAmmo(Image& im, Box b) {
    float S = b.S();
    for (int i = 0; i < 3; ++i) {
        float cx = b.cx() + (i - 1) * 0.26f * S, base = b.cy() + 0.38f * S, top = b.cy() - 0.05f * S;
        float hw = 0.09f * S;
        fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, (base + top) / 2, hw, (base - top) / 2, 0.015f * S); },
               [=](float x, float) {
                   float t = clamp01((x - (cx - hw)) / (2 * hw));
                   return mix(hex(0xffe08a), hex(0x9a6a14), t);
               });
        fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, base - 0.03f * S, hw * 1.1f, 0.025f * S, 0.01f * S); }, hex(0x7a5410));
        // Copper ogive tip.
        fillIn(im, b,
               [=](float x, float y) {
                   float nose = sdEllipse(x, y, cx, top, hw * 0.95f, 0.24f * S);
                   return std::max(nose, y - top);
               },
               [=](float x, float) {
                   float t = clamp01((x - (cx - hw)) / (2 * hw));
                   return mix(hex(0xf2a070), hex(0x8a3c18), t);
               });
    }
}

void drawCloakNode(Image& im, Box b, bool struck) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    // Waves it would emit.
    for (int i = 1; i <= 2; ++i) {
        float r = (0.24f + 0.1f * i) * S;
        fillIn(im, b,
               [=](float x, float y) {
                   float ring = sdRing(x, y, cx, cy, r, 0.025f * S);
                   float ang = std::fabs(std::atan2(y - cy, x - cx));
                   float keep = std::min(ang, kPi - ang) - 0.55f;  // left and right arcs
                   return std::max(ring, -keep * r);
               },
               withAlpha(hex(0x7fe8ff), 0.9f - 0.25f * i));
    }
    // Hexagonal crystal.
    std::vector<float> hexPts;
    for (int k = 0; k < 6; ++k) {
        float a = kPi / 2 + k * kPi / 3;
        hexPts.push_back(cx + std::cos(a) * 0.2f * S);
        hexPts.push_back(cy + std::sin(a) * 0.27f * S);
    }
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, hexPts); },
           [=](float x, float y) {
               float t = clamp01(((x - cx) * 0.6f + (y - cy)) / (0.5f * S) + 0.5f);
               return mix(hex(0xd6fbff), hex(0x1c8fb8), t);
           });
    fillIn(im, b, [=](float x, float y) { return sdSegment(x, y, cx, cy - 0.25f * S, cx, cy + 0.25f * S, 0.012f * S); },
           withAlpha(hex(0xffffff), 0.6f));
    if (struck) {
        fillIn(im, b, [=](float x, float y) { return sdSegment(x, y, cx - 0.36f * S, cy + 0.36f * S, cx + 0.36f * S, cy - 0.36f * S, 0.06f * S); },
               hex(0x1a0000));
        fillIn(im, b, [=](float x, float y) { return sdSegment(x, y, cx - 0.34f * S, cy + 0.34f * S, cx + 0.34f * S, cy - 0.34f * S, 0.04f * S); },
               hex(0xff3a2a));
    }
}

void drawScannerCard(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    float hw = std::min(b.w * 0.45f, 0.62f * S), hh = 0.38f * S;
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, cy, hw, hh, 0.08f * S); },
           gradientV(b, hex(0x4a6a8e), hex(0x1d2e44)));
    fillIn(im, b, [=](float x, float y) { return std::fabs(sdBox(x, y, cx, cy, hw, hh, 0.08f * S)) - 0.015f * S; },
           hex(0xa8c8e8));
    // Gold chip.
    float chx = cx - hw + 0.26f * S, chy = cy - 0.1f * S;
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, chx, chy, 0.13f * S, 0.1f * S, 0.025f * S); },
           gradientV(b, hex(0xffe7a0), hex(0xb08a2a)));
    fillIn(im, b,
           [=](float x, float y) {
               return std::min(sdSegment(x, y, chx - 0.13f * S, chy, chx + 0.13f * S, chy, 0.008f * S),
                               sdSegment(x, y, chx, chy - 0.1f * S, chx, chy + 0.1f * S, 0.008f * S));
           },
           hex(0x7a5a10));
    // Radar.
    float rx = cx + hw - 0.3f * S, ry = cy;
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, rx, ry, 0.24f * S); }, hex(0x0b2a14));
    fillIn(im, b,
           [=](float x, float y) {
               float a = std::atan2(y - ry, x - rx) + kPi * 0.75f;
               a = std::fmod(a + 4 * kPi, 2 * kPi);
               float inside = sdCircle(x, y, rx, ry, 0.22f * S);
               return std::max(inside, (a - 1.3f) * 0.1f * S);
           },
           [=](float x, float y) {
               float a = std::fmod(std::atan2(y - ry, x - rx) + kPi * 0.75f + 4 * kPi, 2 * kPi);
               return withAlpha(hex(0x5cff8a), 0.9f - a / 1.5f);
           });
    for (float r : {0.08f, 0.16f})
        fillIn(im, b, [=](float x, float y) { return sdRing(x, y, rx, ry, r * S, 0.01f * S); }, withAlpha(hex(0x5cff8a), 0.7f));
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, rx + 0.07f * S, ry - 0.09f * S, 0.03f * S); }, hex(0xeaffef));
    // Stripe of text lines.
    for (int i = 0; i < 2; ++i) {
        float ly = cy + 0.15f * S + i * 0.09f * S;
        fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx - hw + 0.26f * S, ly, 0.16f * S, 0.018f * S, 0.01f * S); },
               withAlpha(hex(0xc8dcf0), 0.8f));
    }
}

void drawGirl(Image& im, Box b) {
    float cx = b.cx(), W = b.w, H = b.h;
    auto X = [&](float u) { return b.x + u * W; };
    auto Y = [&](float v) { return b.y + v * H; };
    float s = std::min(W, H * 0.6f);
    // Hair behind.
    float hx = cx, hy = Y(0.2f);
    fillIn(im, b,
           [=](float x, float y) {
               float top = sdCircle(x, y, hx, hy, 0.3f * s);
               float fall = sdBox(x, y, hx, hy + 0.22f * s, 0.3f * s, 0.28f * s, 0.14f * s);
               return std::min(top, fall);
           },
           gradientV(b, hex(0x3a2a5a), hex(0x1a1030)));
    // Dress: flared trapezoid.
    std::vector<float> dress = {X(0.5f) - 0.2f * s, Y(0.36f), X(0.5f) + 0.2f * s, Y(0.36f), X(0.5f) + 0.42f * s, Y(0.93f),
                                X(0.5f) - 0.42f * s, Y(0.93f)};
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, dress) - 0.03f * s; }, gradientV(b, hex(0xfbe8ff), hex(0xc07ad8)));
    // Arms.
    fillIn(im, b,
           [=](float x, float y) {
               return std::min(sdSegment(x, y, cx - 0.2f * s, Y(0.4f), cx - 0.36f * s, Y(0.66f), 0.07f * s),
                               sdSegment(x, y, cx + 0.2f * s, Y(0.4f), cx + 0.36f * s, Y(0.66f), 0.07f * s));
           },
           hex(0xf2c9a8));
    // Belt.
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, Y(0.55f), 0.27f * s, 0.03f * s); }, hex(0x8a3aa8));
    // Face and fringe.
    fillIn(im, b, [=](float x, float y) { return sdEllipse(x, y, hx, hy + 0.03f * s, 0.2f * s, 0.23f * s); },
           gradientV(b, hex(0xffe0c8), hex(0xe2a88a)));
    fillIn(im, b,
           [=](float x, float y) {
               float cap = sdCircle(x, y, hx, hy - 0.02f * s, 0.25f * s);
               return std::max(cap, -(hy - 0.07f * s - y));
           },
           hex(0x2c1f48));
}

void drawEnergyCell(Image& im, Box b) {
    float cx = b.cx();
    float hw = std::min(b.w * 0.3f, b.h * 0.18f);
    float top = b.Y(0.12f), bottom = b.Y(0.88f);
    // Glass tube with a glowing core.
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, (top + bottom) / 2, hw, (bottom - top) / 2, hw * 0.5f); },
           [=](float x, float) {
               float t = std::fabs(x - cx) / hw;
               return mix(hex(0xc8ffd0), hex(0x1f9a3a), t * t);
           });
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx - hw * 0.45f, (top + bottom) / 2, hw * 0.12f, (bottom - top) * 0.36f, hw * 0.1f); },
           withAlpha(hex(0xffffff), 0.7f));
    // Lightning bolt.
    float s = hw * 1.6f, my = (top + bottom) / 2;
    std::vector<float> bolt = {cx + 0.15f * s, my - 0.7f * s, cx - 0.35f * s, my + 0.08f * s, cx - 0.02f * s, my + 0.08f * s,
                               cx - 0.15f * s, my + 0.7f * s, cx + 0.35f * s, my - 0.1f * s, cx + 0.02f * s, my - 0.1f * s};
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, bolt); }, hex(0x0b4a18));
    // Metal caps and terminal.
    for (float yy : {top, bottom})
        fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, yy, hw * 1.12f, hw * 0.28f, hw * 0.12f); },
               gradientV({b.x, yy - hw * 0.3f, b.w, hw * 0.6f}, hex(0xe6eaee), hex(0x6a7278)));
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, top - hw * 0.42f, hw * 0.4f, hw * 0.18f, hw * 0.08f); }, hex(0xb8c0c6));
}

void drawInjector(Image& im, Box b) {
    float cx = b.cx();
    float hw = std::min(b.w * 0.26f, b.h * 0.13f);
    float top = b.Y(0.1f), bottom = b.Y(0.74f);
    // Handle.
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, top, hw * 1.5f, hw * 0.3f, hw * 0.15f); }, hex(0x8a9298));
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, top + hw * 0.5f, hw * 0.3f, hw * 0.4f); }, hex(0x6a7278));
    // Body.
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, (top + bottom) / 2 + hw * 0.5f, hw, (bottom - top) / 2 - hw * 0.2f, hw * 0.3f); },
           [=](float x, float) {
               float t = std::fabs(x - cx) / hw;
               return mix(hex(0xdde3e8), hex(0x4a5258), t);
           });
    // Plasma window and coils.
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, (top + bottom) / 2 + hw * 0.5f, hw * 0.55f, (bottom - top) * 0.3f, hw * 0.25f); },
           [=](float, float y) {
               float p = 0.5f + 0.5f * std::sin(y * 0.5f);
               return mix(hex(0xb02aff), hex(0xffb0ff), p * 0.6f);
           });
    for (int i = 0; i < 3; ++i) {
        float yy = top + (bottom - top) * (0.32f + 0.22f * i) + hw * 0.3f;
        fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, yy, hw * 1.15f, hw * 0.14f, hw * 0.07f); }, hex(0x3a3f44));
    }
    // Nozzle.
    std::vector<float> cone = {cx - hw * 0.8f, bottom + hw * 0.3f, cx + hw * 0.8f, bottom + hw * 0.3f, cx + hw * 0.15f, b.Y(0.94f),
                               cx - hw * 0.15f, b.Y(0.94f)};
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, cone); }, gradientV(b, hex(0xb8c0c6), hex(0x50585e)));
}

void drawRepellent(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    float hw = 0.2f * S, top = cy - 0.22f * S, bottom = cy + 0.42f * S;
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, (top + bottom) / 2, hw, (bottom - top) / 2, 0.05f * S); },
           [=](float x, float) {
               float t = std::fabs(x - cx + 0.05f * S) / hw;
               return mix(hex(0x7ab8ff), hex(0x0d3a9a), clamp01(t));
           });
    // Shoulder, cap and nozzle.
    fillIn(im, b, [=](float x, float y) { return sdEllipse(x, y, cx, top, hw, 0.08f * S); }, hex(0xc8d4e0));
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, top - 0.1f * S, 0.09f * S, 0.07f * S, 0.02f * S); }, hex(0xe8eef4));
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx + 0.1f * S, top - 0.13f * S, 0.06f * S, 0.025f * S, 0.01f * S); }, hex(0xe8eef4));
    // Spray mist.
    for (int i = 0; i < 4; ++i) {
        float px = cx + (0.22f + 0.06f * i) * S, py = top - 0.13f * S + (i - 1.5f) * 0.05f * S;
        fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, px, py, (0.03f - 0.004f * i) * S); }, withAlpha(hex(0xbfe2ff), 0.85f));
    }
    // Label with a drop.
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, cy + 0.12f * S, hw, 0.11f * S); }, hex(0xf4f8fc));
    fillIn(im, b,
           [=](float x, float y) {
               float c = sdCircle(x, y, cx, cy + 0.15f * S, 0.055f * S);
               std::vector<float> tip = {cx - 0.05f * S, cy + 0.13f * S, cx + 0.05f * S, cy + 0.13f * S, cx, cy + 0.04f * S};
               return std::min(c, sdPolygon(x, y, tip));
           },
           hex(0x1a5ad8));
}

void drawCrystal(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    float hw = 0.24f * S, hh = 0.42f * S;
    std::vector<float> outline = {cx, cy - hh, cx + hw, cy - hh * 0.45f, cx + hw * 0.8f, cy + hh * 0.5f, cx, cy + hh,
                                  cx - hw * 0.8f, cy + hh * 0.5f, cx - hw, cy - hh * 0.45f};
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, outline); }, hex(0xc0141c));
    // Facets: lighter left faces, darker right faces.
    std::vector<float> f1 = {cx, cy - hh, cx - hw, cy - hh * 0.45f, cx - hw * 0.8f, cy + hh * 0.5f, cx - hw * 0.2f, cy};
    std::vector<float> f2 = {cx, cy - hh, cx - hw * 0.2f, cy, cx, cy + hh, cx + hw * 0.3f, cy};
    std::vector<float> f3 = {cx - hw * 0.8f, cy + hh * 0.5f, cx - hw * 0.2f, cy, cx, cy + hh};
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, f1); }, hex(0xff5a5a));
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, f2); }, hex(0xe8262e));
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, f3); }, hex(0x8a0a10));
    fillIn(im, b, [=](float x, float y) { return sdSegment(x, y, cx - hw * 0.55f, cy - hh * 0.3f, cx - hw * 0.3f, cy - hh * 0.62f, 0.025f * S); },
           withAlpha(hex(0xffffff), 0.85f));
}

void drawCompass(Image& im, Box b, int sector) {
    float S = b.S(), cx = b.cx(), cy = b.cy(), R = 0.44f * S;
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, cx, cy, R); }, gradientV(b, hex(0xd8dde2), hex(0x6a7278)));
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, cx, cy, R * 0.84f); }, gradientV(b, hex(0x1b2128), hex(0x2e3844)));
    for (int k = 0; k < 16; ++k) {
        float a = k * kPi / 8;
        float r0 = R * (k % 4 == 0 ? 0.62f : 0.72f);
        fillIn(im, b,
               [=](float x, float y) {
                   return sdSegment(x, y, cx + std::sin(a) * r0, cy - std::cos(a) * r0, cx + std::sin(a) * R * 0.8f,
                                    cy - std::cos(a) * R * 0.8f, 0.012f * S);
               },
               withAlpha(hex(0xc8d0d8), 0.8f));
    }
    // The needle: points up for north, down for south, sideways otherwise.
    float a = sector == 1 ? 0.0f : (sector == 2 ? kPi : kPi / 2);
    Color tipColor = sector == 1 ? hex(0xff3a2a) : (sector == 2 ? hex(0x3a9aff) : hex(0x9aa4ae));
    float L = R * 0.6f, Wd = R * 0.16f;
    float tx = cx + std::sin(a) * L, ty = cy - std::cos(a) * L, bx = cx - std::sin(a) * L, by = cy + std::cos(a) * L;
    float px = std::cos(a) * Wd, py = std::sin(a) * Wd;
    std::vector<float> tip = {tx, ty, cx + px, cy + py, cx - px, cy - py};
    std::vector<float> tail = {bx, by, cx + px, cy + py, cx - px, cy - py};
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, tail); }, hex(0xe8ecf0));
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, tip); }, tipColor);
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, cx, cy, 0.05f * S); }, hex(0x2a2f34));
    if (sector == 1 || sector == 2) {
        Font font(robotoPath("Black"));
        TextStyle st;
        st.px = S * 0.3f;
        st.color = sector == 1 ? hex(0xff6a5a) : hex(0x7ac0ff);
        st.outline = std::max(1.0f, S * 0.02f);
        st.outlineColor = hex(0x000000);
        const char* letter = sector == 1 ? "N" : "S";
        float cap = font.capHeight(st.px);
        float ly = sector == 1 ? cy + R * 0.45f + cap / 2 : cy - R * 0.45f + cap / 2;
        drawText(im, font, letter, cx, ly, Align::Center, st);
    }
}

void drawGate(Image& im, Box b, Color c) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    float hw = 0.38f * S, hh = 0.4f * S;
    fillIn(im, b, [=](float x, float y) { return std::fabs(sdBox(x, y, cx, cy, hw, hh, 0.04f * S)) - 0.05f * S; }, darker(c, 0.3f));
    for (int i = -1; i <= 1; ++i) {
        float bx = cx + i * 0.19f * S;
        fillIn(im, b, [=](float x, float y) { return sdBox(x, y, bx, cy, 0.045f * S, hh); }, lighter(c, 0.2f));
    }
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, cy, hw, 0.045f * S); }, c);
}

void drawShip(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    std::vector<float> hull = {cx, cy - 0.45f * S, cx + 0.42f * S, cy + 0.35f * S, cx + 0.12f * S, cy + 0.22f * S,
                               cx, cy + 0.4f * S, cx - 0.12f * S, cy + 0.22f * S, cx - 0.42f * S, cy + 0.35f * S};
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, hull); }, gradientV(b, hex(0xffffff), hex(0x9aa8b8)));
    fillIn(im, b, [=](float x, float y) { return sdEllipse(x, y, cx, cy - 0.08f * S, 0.07f * S, 0.16f * S); }, hex(0x2a8aff));
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, cx, cy + 0.38f * S, 0.07f * S); }, hex(0xff9a2a));
}

void drawStatue(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    Color gold = hex(0xf0c850);
    std::vector<float> wingL = {cx - 0.06f * S, cy - 0.12f * S, cx - 0.45f * S, cy - 0.35f * S, cx - 0.36f * S, cy + 0.05f * S,
                                cx - 0.08f * S, cy + 0.12f * S};
    std::vector<float> wingR = {cx + 0.06f * S, cy - 0.12f * S, cx + 0.45f * S, cy - 0.35f * S, cx + 0.36f * S, cy + 0.05f * S,
                                cx + 0.08f * S, cy + 0.12f * S};
    fillIn(im, b, [=](float x, float y) { return std::min(sdPolygon(x, y, wingL), sdPolygon(x, y, wingR)); }, darker(gold, 0.25f));
    std::vector<float> robe = {cx - 0.08f * S, cy - 0.18f * S, cx + 0.08f * S, cy - 0.18f * S, cx + 0.2f * S, cy + 0.42f * S,
                               cx - 0.2f * S, cy + 0.42f * S};
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, robe); }, gold);
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, cx, cy - 0.28f * S, 0.1f * S); }, lighter(gold, 0.3f));
}

void drawWorm(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    for (int i = 0; i < 7; ++i) {
        float t = i / 6.0f;
        float x0 = cx + (t - 0.5f) * 0.7f * S, y0 = cy + std::sin(t * kPi * 2) * 0.18f * S;
        float r = (0.13f + 0.05f * std::sin(t * kPi)) * S;
        fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, x0, y0, r); },
               [=](float, float y) { return mix(hex(0xffb060), hex(0xb0481a), clamp01((y - y0 + r) / (2 * r))); });
    }
    float hx = cx + 0.35f * S, hy = cy;
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, hx + 0.02f * S, hy - 0.05f * S, 0.04f * S); }, hex(0x101010));
}

void drawMonolith(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    std::vector<float> slab = {cx - 0.2f * S, cy + 0.44f * S, cx - 0.16f * S, cy - 0.36f * S, cx, cy - 0.46f * S,
                               cx + 0.16f * S, cy - 0.36f * S, cx + 0.2f * S, cy + 0.44f * S};
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, slab); }, gradientV(b, hex(0x8a6ab0), hex(0x2e1f48)));
    fillIn(im, b,
           [=](float x, float y) {
               float a = sdSegment(x, y, cx, cy - 0.25f * S, cx, cy + 0.25f * S, 0.025f * S);
               float c = sdSegment(x, y, cx - 0.09f * S, cy - 0.1f * S, cx + 0.09f * S, cy + 0.02f * S, 0.025f * S);
               float d = sdSegment(x, y, cx + 0.09f * S, cy - 0.1f * S, cx - 0.09f * S, cy + 0.02f * S, 0.025f * S);
               return std::min({a, c, d});
           },
           hex(0xff4ae0));
}

void drawForceField(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    std::vector<float> pts;
    for (int k = 0; k < 6; ++k) {
        float a = k * kPi / 3;
        pts.push_back(cx + std::cos(a) * 0.42f * S);
        pts.push_back(cy + std::sin(a) * 0.42f * S);
    }
    fillIn(im, b, [=](float x, float y) { return sdPolygon(x, y, pts); }, withAlpha(hex(0x40d8ff), 0.35f));
    fillIn(im, b, [=](float x, float y) { return std::fabs(sdPolygon(x, y, pts)) - 0.04f * S; }, hex(0x8af0ff));
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, cx, cy, 0.1f * S); }, hex(0xe8fdff));
}

void drawTeleport(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, cx, cy, 0.44f * S); }, hex(0x0a1a4a));
    fillIn(im, b,
           [=](float x, float y) {
               float r = std::hypot(x - cx, y - cy) / S;
               float a = std::atan2(y - cy, x - cx);
               float spiral = std::fmod(a / (2 * kPi) + r * 2.6f + 10.0f, 0.5f) - 0.25f;
               return std::max(std::fabs(spiral) * S * 0.5f - 0.05f * S, sdCircle(x, y, cx, cy, 0.4f * S));
           },
           hex(0x5ab8ff));
    fillIn(im, b, [=](float x, float y) { return sdCircle(x, y, cx, cy, 0.1f * S); }, hex(0xdff4ff));
}

void drawSlot(Image& im, Box b) {
    float S = b.S(), cx = b.cx(), cy = b.cy();
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, cy, 0.38f * S, 0.38f * S, 0.08f * S); }, hex(0x2a3238));
    fillIn(im, b, [=](float x, float y) { return std::fabs(sdBox(x, y, cx, cy, 0.38f * S, 0.38f * S, 0.08f * S)) - 0.05f * S; },
           hex(0x3ad04a));
    fillIn(im, b, [=](float x, float y) { return sdBox(x, y, cx, cy, 0.1f * S, 0.2f * S, 0.04f * S); }, hex(0x0c1410));
}

}  // namespace assetgen::img
