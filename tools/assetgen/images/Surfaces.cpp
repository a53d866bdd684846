// Tiling surfaces: wall stones, ceiling panels, ground, the blend map, sphere skins.
#include <array>
#include <cmath>
#include <vector>

#include "Noise.h"
#include "Painters.h"

namespace assetgen::img {
namespace {

constexpr float kPi = 3.14159265f;

inline int wrap(int v, int n) { return ((v % n) + n) % n; }

// Height and albedo maps turned into a lit picture: a gentle light from the upper
// left gives relief without fighting the game's own lights.
Image shadeRelief(const std::vector<float>& height, const std::vector<Color>& albedo, int w, int h, float strength,
                  float ambient = 0.62f) {
    Image out(w, h);
    const float lx = -0.45f, ly = -0.55f, lz = 0.70f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float dx = height[size_t(y) * w + wrap(x + 1, w)] - height[size_t(y) * w + wrap(x - 1, w)];
            float dy = height[size_t(wrap(y + 1, h)) * w + x] - height[size_t(wrap(y - 1, h)) * w + x];
            float nx = -dx * strength, ny = -dy * strength, nz = 1.0f;
            float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            float diff = std::max(0.0f, (nx * lx + ny * ly + nz * lz) / len);
            float k = ambient + (1.0f - ambient) * 1.45f * diff;
            Color a = albedo[size_t(y) * w + x];
            out.at(x, y) = {a.r * k, a.g * k, a.b * k, 1};
        }
    return out;
}

struct StoneStyle {
    int w = 512, h = 1024;
    int courses = 16;
    float avgWidth = 128, widthJitter = 0.0f;
    bool halfBond = true;  // alternate courses shifted by half a block
    float mortar = 4;
    float corner = 3;
    float bevel = 7;
    Color mortarColor;
    std::array<Color, 3> palette;
    float colorJitter = 0.08f;
    float grain = 0.25f;
    float chip = 2.5f;
    std::uint32_t seed = 1;
    int extra = 0;  // 1 glowing veins, 2 moss, 3 soot
};

Image stoneWall(const StoneStyle& s) {
    const int w = s.w, h = s.h;
    const float ch = float(h) / s.courses;
    // Block cuts per course, periodic over the width.
    std::vector<std::vector<float>> cuts(s.courses);
    std::vector<float> offsets(s.courses);
    for (int c = 0; c < s.courses; ++c) {
        Rng r(s.seed * 977u + std::uint32_t(c));
        int n = std::max(1, int(std::lround(w / s.avgWidth)));
        std::vector<float> widths(n);
        float sum = 0;
        for (float& bw : widths) sum += (bw = 1.0f + s.widthJitter * (r.unit() * 2 - 1));
        float acc = 0;
        cuts[c].push_back(0);
        for (float bw : widths) cuts[c].push_back(acc += bw * w / sum);
        offsets[c] = s.halfBond ? ((c % 2) ? s.avgWidth * 0.5f : 0.0f) + (s.widthJitter > 0 ? r.unit() * w : 0.0f)
                                : r.unit() * w;
    }
    std::vector<float> height(size_t(w) * h);
    std::vector<Color> albedo(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        int c = std::min(s.courses - 1, int(y / ch));
        float ly = y + 0.5f - c * ch;
        for (int x = 0; x < w; ++x) {
            float xs = std::fmod(x + 0.5f - offsets[c] + 4.0f * w, float(w));
            const auto& cc = cuts[c];
            size_t k = 0;
            while (k + 2 < cc.size() && xs >= cc[k + 1]) ++k;
            float bw = cc[k + 1] - cc[k], lx = xs - cc[k];
            std::uint32_t id = hash2(c, int(k), s.seed);
            // Chipped, slightly irregular edges.
            float sd = sdBox(lx, ly, bw / 2, ch / 2, bw / 2 - s.mortar, ch / 2 - s.mortar, s.corner);
            if (sd > -s.chip - 1) sd += fbm(x / 32.0f, y / 32.0f, w / 32, 3, s.seed + 11) * s.chip;
            float depth = -sd;  // > 0 inside the block
            float fine = fbm(x / 16.0f, y / 16.0f, w / 16, 4, s.seed + 23);
            float coarse = fbm(x / 128.0f + hashUnit(id) * 7, y / 128.0f, w / 128, 2, s.seed + 31);
            size_t i = size_t(y) * w + x;
            if (depth > 0) {
                float t = hashUnit(hash32(id));
                Color base = t < 0.5f ? mix(s.palette[0], s.palette[1], t * 2) : mix(s.palette[1], s.palette[2], t * 2 - 1);
                float v = 1.0f + (hashUnit(hash32(id + 7)) - 0.5f) * 2 * s.colorJitter + fine * s.grain * 0.5f +
                          coarse * s.grain * 0.4f;
                Color a = scale(base, v);
                float ao = 0.6f + 0.4f * smooth(0, s.bevel * 1.2f, depth);
                a = scale(a, ao);
                // Pits and small specks.
                float pit = gradientNoise(x / 4.0f, y / 4.0f, w / 4, s.seed + 41);
                if (pit > 0.55f) a = scale(a, 0.8f);
                albedo[i] = a;
                height[i] = smooth(0, s.bevel, depth) * 3.0f + fine * 0.6f + coarse * 0.8f + (pit > 0.55f ? -0.4f : 0);
            } else {
                float m = fbm(x / 8.0f, y / 8.0f, w / 8, 3, s.seed + 53);
                albedo[i] = scale(s.mortarColor, 0.85f + 0.3f * m);
                height[i] = -0.3f + 0.3f * m;
            }
        }
    }
    if (s.extra == 2) {  // moss creeping along the joints and the lower edges of blocks
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                size_t i = size_t(y) * w + x;
                float m = fbm(x / 64.0f, y / 64.0f, w / 64, 4, s.seed + 71) * 0.5f + 0.5f;
                float low = height[i] < 0.5f ? 1.0f : 0.35f;
                float k = smooth(0.52f, 0.72f, m) * low;
                float speck = fbm(x / 8.0f, y / 8.0f, w / 8, 2, s.seed + 73) * 0.5f + 0.5f;
                albedo[i] = mix(albedo[i], scale(hex(0x4f6b2a), 0.7f + 0.5f * speck), k * 0.85f);
                height[i] += k * 0.6f * speck;
            }
    }
    if (s.extra == 3) {  // soot stains
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                size_t i = size_t(y) * w + x;
                float m = fbm(x / 128.0f, y / 128.0f, w / 128, 4, s.seed + 91) * 0.5f + 0.5f;
                albedo[i] = scale(albedo[i], 1.0f - 0.45f * smooth(0.45f, 0.8f, m));
            }
    }
    Image out = shadeRelief(height, albedo, w, h, 0.9f);
    if (s.extra == 1) {  // glowing fissures in dark volcanic stone
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                size_t i = size_t(y) * w + x;
                if (height[i] < 0.8f) continue;
                float r = ridged(x / 128.0f, y / 128.0f, w / 128, 4, s.seed + 101);
                float k = smooth(0.80f, 0.93f, r);
                if (k <= 0) continue;
                Color glow = mix(hex(0x8a1505), hex(0xffa23a), smooth(0.9f, 0.97f, r));
                blendOver(out.at(x, y), glow, k);
            }
    }
    return out;
}

Image teleportWall() {
    const int w = 512, h = 1024;
    StoneStyle base;
    base.courses = 8;
    base.avgWidth = 256;
    base.mortar = 3;
    base.bevel = 10;
    base.corner = 6;
    base.chip = 0.5f;
    base.mortarColor = hex(0x15171c);
    base.palette = {hex(0x3a4350), hex(0x444e5c), hex(0x343b46)};
    base.colorJitter = 0.04f;
    base.grain = 0.12f;
    base.seed = 505;
    Image im = stoneWall(base);
    // Rivets on the plates.
    for (int c = 0; c < 8; ++c)
        for (int k = 0; k < 2; ++k) {
            float oy = c * 128.0f, ox = (c % 2 ? 128.0f : 0.0f) + k * 256.0f;
            for (float rx : {16.0f, 240.0f})
                for (float ry : {16.0f, 112.0f}) {
                    float cx = std::fmod(ox + rx, float(w)), cy = oy + ry;
                    fill(im, [=](float x, float y) { return sdCircle(x, y, cx, cy, 5); },
                         [=](float x, float y) {
                             float t = clamp01(0.5f + ((cx - x) + (cy - y)) / 10.0f);
                             return mix(hex(0x20242a), hex(0xaab4c0), t);
                         },
                         cx - 7, cy - 7, cx + 7, cy + 7);
                }
        }
    // The gate: an arched opening of swirling energy within a heavy frame.
    const float cx = w / 2.0f, top = 150, bottom = h - 60, hw = 170;
    auto arch = [=](float x, float y, float grow) {
        float r = hw + grow;
        float rect = sdBox(x, y, cx, (top + r + bottom) / 2, r, (bottom - top - r) / 2);
        float dome = sdCircle(x, y, cx, top + hw, r);
        return std::min(rect, dome);
    };
    fill(im, [=](float x, float y) { return arch(x, y, 40); }, hex(0x101317), 0, 0, float(w), float(h));
    fill(im, [=](float x, float y) { return arch(x, y, 28); },
         [=](float x, float y) {
             float n = fbm(x / 20.0f, y / 20.0f, 64, 3, 77) * 0.5f + 0.5f;
             return scale(hex(0x5b6573), 0.75f + 0.5f * n);
         },
         0, 0, float(w), float(h));
    fill(im, [=](float x, float y) { return std::fabs(arch(x, y, 14)) - 2.5f; }, hex(0x39c8ff), 0, 0, float(w), float(h));
    fill(im, [=](float x, float y) { return arch(x, y, 0); },
         [=](float x, float y) {
             float dx = (x - cx) / hw, dy = (y - (top + hw + 250)) / 420.0f;
             float rad = std::sqrt(dx * dx + dy * dy);
             float ang = std::atan2(dy, dx);
             float swirl = fbm(ang * 3 / kPi + rad * 4.0f, rad * 6.0f, 64, 4, 131) * 0.5f + 0.5f;
             float bands = 0.5f + 0.5f * std::sin(rad * 26.0f - ang * 3.0f + swirl * 6.0f);
             float core = std::exp(-rad * rad * 3.0f);
             Color deep = hex(0x061a4a), mid = hex(0x1e7bff), hot = hex(0xbff6ff);
             Color c = mix(deep, mid, clamp01(swirl * 0.8f + bands * 0.35f));
             c = mix(c, hot, clamp01(core * 0.9f + bands * swirl * 0.25f));
             return c;
         },
         0, 0, float(w), float(h));
    // Chevron lights on the frame and a warning band at the foot.
    for (int i = 0; i < 7; ++i) {
        float a = kPi * (0.1f + 0.8f * i / 6.0f);
        float px = cx - std::cos(a) * (hw + 22), py = top + hw - std::sin(a) * (hw + 22);
        fill(im, [=](float x, float y) { return sdCircle(x, y, px, py, 6); }, hex(0x9ff0ff), px - 8, py - 8, px + 8, py + 8);
    }
    fill(im, [=](float x, float y) { return sdBox(x, y, cx, bottom + 28, hw + 40, 14); },
         [=](float x, float y) {
             bool stripe = std::fmod(x + y + 4096.0f, 40.0f) < 20.0f;
             return stripe ? hex(0xd9a514) : hex(0x1a1a1a);
         },
         0, 0, float(w), float(h));
    return im;
}

}  // namespace

Image bricks(int style) {
    StoneStyle s;
    switch (style) {
        case 1:  // fired clay bricks, red-brown
            s.courses = 16;
            s.avgWidth = 128;
            s.mortar = 4;
            s.mortarColor = hex(0x8c8376);
            s.palette = {hex(0x7a3322), hex(0x94462c), hex(0x6b2d21)};
            s.colorJitter = 0.12f;
            s.seed = 101;
            s.extra = 3;
            break;
        case 2:  // grey granite ashlar
            s.courses = 10;
            s.avgWidth = 170;
            s.widthJitter = 0.35f;
            s.mortar = 3.5f;
            s.bevel = 10;
            s.corner = 5;
            s.mortarColor = hex(0x4a4846);
            s.palette = {hex(0x7b7d80), hex(0x8f8d88), hex(0x6a6e73)};
            s.colorJitter = 0.07f;
            s.grain = 0.35f;
            s.seed = 202;
            break;
        case 3:  // black volcanic blocks with glowing fissures
            s.courses = 8;
            s.avgWidth = 256;
            s.widthJitter = 0.25f;
            s.mortar = 3;
            s.bevel = 12;
            s.corner = 6;
            s.mortarColor = hex(0x120d0c);
            s.palette = {hex(0x2c2726), hex(0x37302d), hex(0x252122)};
            s.colorJitter = 0.06f;
            s.grain = 0.45f;
            s.seed = 303;
            s.extra = 1;
            break;
        case 4:  // weathered sandstone with moss
            s.courses = 12;
            s.avgWidth = 128;
            s.widthJitter = 0.3f;
            s.mortar = 4;
            s.bevel = 9;
            s.corner = 4;
            s.chip = 4;
            s.mortarColor = hex(0x6e6550);
            s.palette = {hex(0xa88f62), hex(0xb89d6c), hex(0x957c55)};
            s.colorJitter = 0.08f;
            s.grain = 0.4f;
            s.seed = 404;
            s.extra = 2;
            break;
        default: return teleportWall();
    }
    return stoneWall(s);
}

Image ceilingPanels(int style) {
    const int n = 512;
    std::vector<float> height(size_t(n) * n);
    std::vector<Color> albedo(size_t(n) * n);
    std::uint32_t seed = 600 + std::uint32_t(style);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float fx = x + 0.5f, fy = y + 0.5f;
            size_t i = size_t(y) * n + x;
            float grime = fbm(fx / 64, fy / 64, 8, 4, seed) * 0.5f + 0.5f;
            float fine = fbm(fx / 8, fy / 8, 64, 3, seed + 1);
            Color c;
            float hgt = 0;
            if (style == 1) {  // riveted steel plates, 2 x 2
                float lx = std::fmod(fx, 256.0f), ly = std::fmod(fy, 256.0f);
                float d = -sdBox(lx, ly, 128, 128, 124, 124, 6);
                hgt = smooth(0, 6, d) * 2;
                c = scale(hex(0x6f757c), 0.8f + 0.25f * fine - 0.3f * smooth(0.5f, 0.9f, grime));
                for (float rx : {14.0f, 128.0f, 242.0f})
                    for (float ry : {14.0f, 242.0f}) {
                        float r1 = std::hypot(lx - rx, ly - ry), r2 = std::hypot(lx - ry, ly - rx);
                        float r = std::min(r1, r2);
                        if (r < 5) hgt += 1.5f * std::sqrt(1 - r * r / 25), c = hex(0x9aa2aa);
                    }
                if (d <= 0) c = hex(0x23262a);
            } else if (style == 2) {  // vent grilles framed by plates
                float lx = std::fmod(fx, 256.0f), ly = std::fmod(fy, 256.0f);
                float frame = -sdBox(lx, ly, 128, 128, 122, 122, 10);
                float grille = -sdBox(lx, ly, 128, 128, 90, 90, 4);
                c = scale(hex(0x585f66), 0.85f + 0.2f * fine);
                hgt = smooth(0, 5, frame) * 2;
                if (grille > 0) {
                    float slot = std::fabs(std::fmod(ly + 1000.0f, 12.0f) - 6.0f);
                    hgt = 1.0f + (slot < 3.5f ? -1.5f : 0.3f);
                    c = slot < 3.5f ? hex(0x0d0f11) : hex(0x6a737b);
                }
                if (frame <= 0) c = hex(0x202327);
                c = scale(c, 1.0f - 0.35f * smooth(0.55f, 0.9f, grime));
            } else if (style == 3) {  // hexagonal tech tiles with faint light seams
                const float R = 32;  // hex radius; lattice tiles over 512 with these steps
                float sx = R * 1.7320508f, sy = R * 1.5f;
                // 512 / (sqrt3 * 32) is not whole, so use a lattice scaled to fit exactly.
                float kx = 512.0f / 9.0f / sx, ky = 512.0f / 10.0f / sy;
                float px = fx / kx, py = fy / ky;
                int row = int(std::floor(py / sy));
                float best = 1e9f, second = 1e9f;
                int bi = 0, bj = 0;
                for (int dr = -1; dr <= 1; ++dr) {
                    int r = row + dr;
                    float off = (wrap(r, 10) % 2) ? sx / 2 : 0;
                    int col = int(std::floor((px - off) / sx));
                    for (int dc = -1; dc <= 1; ++dc) {
                        float hx = (col + dc) * sx + off + sx / 2, hy = r * sy + sy / 2;
                        float d = std::hypot(px - hx, py - hy);
                        if (d < best) second = best, best = d, bi = wrap(col + dc, 9), bj = wrap(r, 10);
                        else if (d < second) second = d;
                    }
                }
                float edge = (second - best) * 0.5f;
                float t = hashUnit(hash2(bi, bj, seed));
                c = scale(hex(0x3f4650), 0.85f + 0.3f * t + 0.15f * fine);
                hgt = smooth(0, 4, edge) * 2;
                if (edge < 1.8f) c = mix(hex(0x1b1e22), hex(0x4fd0ff), t > 0.8f ? 0.6f : 0.0f);
                c = scale(c, 1.0f - 0.3f * smooth(0.55f, 0.9f, grime));
            } else {  // rusted corrugated sheets
                float wave = std::sin(fx / 512.0f * kPi * 2 * 24);
                hgt = wave * 1.2f;
                float rust = smooth(0.45f, 0.8f, grime + fine * 0.2f);
                c = mix(hex(0x7d8186), hex(0x8a4a22), rust);
                c = scale(c, 0.85f + 0.15f * wave + 0.15f * fine);
                float seam = std::fabs(std::fmod(fy + 1000.0f, 256.0f) - 128.0f);
                if (seam > 124) c = hex(0x2a2624), hgt = -1;
                float light = std::fabs(std::fmod(fy, 256.0f) - 64.0f);
                if (light < 6 && std::fmod(fx, 128.0f) > 16) c = mix(hex(0xfff3c4), hex(0xffffff), 1 - light / 6), hgt = 1.5f;
            }
            height[i] = hgt + fine * 0.2f;
            albedo[i] = c;
        }
    return shadeRelief(height, albedo, n, n, 0.8f);
}

namespace {
// Ground: heights and colours over a 512 periodic square.
Image groundFrom(const std::function<void(float x, float y, float& h, Color& c)>& f, float relief) {
    const int n = 512;
    std::vector<float> height(size_t(n) * n);
    std::vector<Color> albedo(size_t(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) f(x + 0.5f, y + 0.5f, height[size_t(y) * n + x], albedo[size_t(y) * n + x]);
    return shadeRelief(height, albedo, n, n, relief, 0.7f);
}

void grassField(float x, float y, float& h, Color& c) {
    // Blades: many short strokes in jittered cells, each with its own lean.
    const int cells = 64;  // per side, 8 px each
    float best = 0;
    float shade = 0;
    for (int layer = 0; layer < 3; ++layer) {
        float cs = 512.0f / cells;
        int cx = int(std::floor(x / cs)), cy = int(std::floor(y / cs));
        for (int oy = -2; oy <= 1; ++oy)
            for (int ox = -1; ox <= 1; ++ox) {
                int gx = cx + ox, gy = cy + oy;
                std::uint32_t hsh = hash3(wrap(gx, cells), wrap(gy, cells), layer, 4242);
                float bx = (gx + hashUnit(hsh)) * cs, by = (gy + hashUnit(hash32(hsh))) * cs;
                float len = 10 + 12 * hashUnit(hash32(hsh + 1));
                float lean = (hashUnit(hash32(hsh + 2)) - 0.5f) * 1.2f;
                // Nearest periodic copy.
                float dx = x - bx, dy = y - by;
                dx -= 512.0f * std::round(dx / 512.0f);
                dy -= 512.0f * std::round(dy / 512.0f);
                float d = sdSegment(dx, dy, 0, 0, lean * len, -len, 0.0f);
                float tAlong = clamp01(-dy / len);
                float width = 1.6f * (1 - tAlong) + 0.3f;
                float k = clamp01(width - d);
                if (k > 0) {
                    float hh = (0.4f + tAlong) * k;
                    if (hh > best) best = hh, shade = hashUnit(hash32(hsh + 3)) * 0.5f + tAlong * 0.5f;
                }
            }
    }
    float soil = fbm(x / 32, y / 32, 16, 4, 4343) * 0.5f + 0.5f;
    Color ground = scale(hex(0x3b2c1f), 0.8f + 0.4f * soil);
    Color blade = mix(hex(0x4a5d1e), hex(0x9aa84a), shade);
    float dry = fbm(x / 128, y / 128, 4, 3, 4444) * 0.5f + 0.5f;
    blade = mix(blade, hex(0x8f7a3c), smooth(0.55f, 0.8f, dry) * 0.7f);
    c = mix(ground, blade, clamp01(best * 1.8f));
    h = best * 2.2f + soil * 0.3f;
}
}  // namespace

Image groundSoil() {
    return groundFrom(
        [](float x, float y, float& h, Color& c) {
            float big = fbm(x / 128, y / 128, 4, 4, 700) * 0.5f + 0.5f;
            float mid = fbm(x / 32, y / 32, 16, 3, 701) * 0.5f + 0.5f;
            Cell pebble = worley(x / 16, y / 16, 32, 702, 0.8f);
            float p = hashUnit(pebble.id) > 0.7f ? smooth(0.32f, 0.22f, pebble.f1) : 0.0f;
            Color earth = mix(hex(0x6b3d26), hex(0x8d5a36), big);
            earth = scale(earth, 0.8f + 0.35f * mid);
            Color stone = scale(hex(0x8a7d70), 0.8f + 0.4f * hashUnit(hash32(pebble.id)));
            c = mix(earth, stone, p);
            h = big * 1.5f + mid * 0.8f + p * 1.5f;
        },
        1.0f);
}

Image groundMud() {
    return groundFrom(
        [](float x, float y, float& h, Color& c) {
            Cell cl = worley(x / 32, y / 32, 16, 800, 0.85f);
            float crack = cl.f2 - cl.f1;
            float warp = fbm(x / 16, y / 16, 32, 2, 801) * 0.04f;
            float k = smooth(0.06f + warp, 0.02f, crack);
            float plate = hashUnit(cl.id);
            float fine = fbm(x / 8, y / 8, 64, 3, 802) * 0.5f + 0.5f;
            Color mud = mix(hex(0x4a3324), hex(0x5e4230), plate);
            mud = scale(mud, 0.85f + 0.3f * fine);
            float curl = smooth(0.0f, 0.25f, crack);  // plates curl up at their edges
            c = mix(mud, hex(0x1b110c), k);
            h = -k * 2.0f + (1 - curl) * 0.6f + fine * 0.3f;
        },
        1.2f);
}

Image groundGrass() { return groundFrom(grassField, 1.3f); }

Image groundGrassNormalMap() {
    const int n = 512;
    std::vector<float> height(size_t(n) * n);
    std::vector<Color> albedo(size_t(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) grassField(x + 0.5f, y + 0.5f, height[size_t(y) * n + x], albedo[size_t(y) * n + x]);
    // Tangent space, +x along increasing texture u (image columns) and +y along
    // increasing texture v, which with unflipped rows is down the image.
    Image out(n, n);
    const float strength = 1.2f;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float dx = (height[size_t(y) * n + wrap(x + 1, n)] - height[size_t(y) * n + wrap(x - 1, n)]) * 0.5f;
            float dy = (height[size_t(wrap(y + 1, n)) * n + x] - height[size_t(wrap(y - 1, n)) * n + x]) * 0.5f;
            float nx = -dx * strength, ny = -dy * strength, nz = 1.0f;
            float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            out.at(x, y) = {nx / len * 0.5f + 0.5f, ny / len * 0.5f + 0.5f, nz / len * 0.5f + 0.5f, 1};
        }
    return out;
}

Image groundGravel() {
    return groundFrom(
        [](float x, float y, float& h, Color& c) {
            Cell a = worley(x / 16, y / 16, 32, 900, 0.9f);
            Cell b = worley(x / 8, y / 8, 64, 901, 0.9f);
            float fine = fbm(x / 4, y / 4, 128, 2, 902) * 0.5f + 0.5f;
            float stoneA = smooth(0.45f, 0.3f, a.f1) * (hashUnit(a.id) > 0.25f ? 1.0f : 0.0f);
            float stoneB = smooth(0.42f, 0.28f, b.f1) * (hashUnit(b.id) > 0.4f ? 1.0f : 0.0f);
            Color dirt = scale(hex(0x4d3a2c), 0.8f + 0.3f * fine);
            Color ca = scale(mix(hex(0x6d6660), hex(0x8e7a66), hashUnit(hash32(a.id))), 0.85f + 0.25f * fine);
            Color cb = scale(mix(hex(0x5a534e), hex(0x7c6a5a), hashUnit(hash32(b.id))), 0.85f + 0.25f * fine);
            c = mix(mix(dirt, cb, stoneB), ca, stoneA);
            h = std::max(stoneA * 2.2f * (1 - a.f1), stoneB * 1.2f * (1 - b.f1)) + fine * 0.2f;
        },
        1.4f);
}

Image terrainBlendMap() {
    // Red: cracked mud, green: grass, blue: gravel; the rest shows the base earth.
    // The map spans the whole world once; texture u runs along world x and v along z.
    const int n = 512;
    Image out(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float u = (x + 0.5f) / n, v = (y + 0.5f) / n;
            float wm = fbm(u * 6, v * 6, 64, 5, 1001) + 0.15f;
            float wg = fbm(u * 5 + 3.1f, v * 5, 64, 5, 1002) + 0.05f;
            float wb = fbm(u * 7, v * 7 + 1.7f, 64, 5, 1003);
            // Stonier ground towards the hills at the world's edge.
            float edge = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
            wb += smooth(0.06f, 0.0f, edge) * 0.9f;
            float base = 0.12f;
            auto k = [](float w) { return std::exp(w * 7.0f); };
            float em = k(wm), eg = k(wg), eb = k(wb), e0 = k(base);
            float sum = em + eg + eb + e0;
            out.at(x, y) = {em / sum, eg / sum, eb / sum, 1};
        }
    return out;
}

Image enemySkin() {
    // Equirectangular skin of the drones' shared sphere: armour plates, a glowing belt.
    const int w = 512, h = 256;
    Image out(w, h);
    render(out, [&](float x, float y) {
        float u = x / w, v = y / h;
        float lat = (v - 0.5f) * kPi;
        float fine = fbm(x / 16, y / 16, 32, 3, 1101) * 0.5f + 0.5f;
        int plates = 16;
        float pu = u * plates;
        float seamU = std::fabs(pu - std::round(pu)) * (w / float(plates)) * std::cos(lat);
        float bandV = std::fabs(std::fmod(v * 8 + 8, 1.0f) - 0.5f) * 2;  // 0 at the rings' centres
        float seamV = (1 - bandV) * (h / 16.0f);
        Color c = scale(hex(0x3d3f45), 0.8f + 0.35f * fine);
        float plateId = hashUnit(hash2(int(pu) % plates, int(v * 8), 1102));
        c = scale(c, 0.85f + 0.3f * plateId);
        if (seamU < 1.5f || seamV < 1.5f) c = hex(0x131417);
        float belt = std::fabs(v - 0.5f);
        if (belt < 0.035f) {
            float pulse = 0.5f + 0.5f * std::sin(u * kPi * 2 * 12);
            c = mix(hex(0x7a0b05), hex(0xff5a2a), pulse);
        } else if (belt < 0.05f) {
            c = hex(0x1a1a1d);
        }
        // The eye: a red lens on the belt's front.
        float du = (u - 0.25f) * 2 * kPi * std::cos(lat), dv = lat;
        float eye = std::hypot(du, dv * 1.0f);
        if (eye < 0.32f) c = mix(hex(0xffe0a0), hex(0xc01005), smooth(0.05f, 0.3f, eye));
        if (eye >= 0.32f && eye < 0.38f) c = hex(0x0c0c0e);
        return c;
    });
    return out;
}

Image projectileSkin() {
    const int w = 256, h = 128;
    Image out(w, h);
    render(out, [&](float x, float y) {
        float n = fbm(x / 32, y / 32, 8, 5, 1201) * 0.5f + 0.5f;
        float r = ridged(x / 64, y / 64, 4, 4, 1202);
        Color c = mix(hex(0xb3210a), hex(0xffb347), n);
        c = mix(c, hex(0xfff6d0), smooth(0.7f, 0.95f, r));
        return c;
    });
    return out;
}

Image blastSkin() {
    const int w = 256, h = 128;
    Image out(w, h);
    render(out, [&](float x, float y) {
        float n = fbm(x / 32, y / 32, 8, 5, 1301) * 0.5f + 0.5f;
        float r = ridged(x / 32, y / 32, 8, 4, 1302);
        Color c = mix(hex(0x3a0a02), hex(0xff6a10), n);
        c = mix(c, hex(0xfff0b0), smooth(0.75f, 0.95f, r));
        c.a = 0.55f + 0.45f * clamp01(n * 1.3f);
        return c;
    });
    return out;
}

Image traceSkin(int style) {
    const int w = 128, h = 64;
    static const std::uint32_t cores[3] = {0x7ff6ff, 0x9bff6a, 0xffd060};
    static const std::uint32_t rims[3] = {0x0a6a9a, 0x1c7a1a, 0xa04a06};
    Image out(w, h);
    render(out, [&](float x, float y) {
        float u = x / w, v = y / h;
        float n = fbm(x / 16, y / 16, 8, 3, 1400 + std::uint32_t(style)) * 0.5f + 0.5f;
        float bands = 0.5f + 0.5f * std::sin((v * 6 + u * (style == 2 ? 2 : 0)) * kPi * 2);
        float stripe = style == 3 ? (std::fmod(u * 8 + v * 2, 1.0f) < 0.5f ? 1.0f : 0.0f) : bands;
        Color c = mix(hex(rims[style - 1]), hex(cores[style - 1]), clamp01(0.35f + 0.5f * stripe + 0.3f * n));
        return c;
    });
    return out;
}

}  // namespace assetgen::img
