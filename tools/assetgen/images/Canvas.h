#pragma once
// A small floating-point RGBA canvas with anti-aliased shape filling, blurs and
// file output. Pictures are painted upright (row 0 at the top, as seen on
// screen) and turned into the row order the renderer samples only when saved.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace assetgen::img {

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

inline Color rgb(float r, float g, float b, float a = 1.0f) { return {r, g, b, a}; }
inline Color hex(std::uint32_t v, float a = 1.0f) {
    return {((v >> 16) & 255) / 255.0f, ((v >> 8) & 255) / 255.0f, (v & 255) / 255.0f, a};
}
inline Color withAlpha(Color c, float a) { return {c.r, c.g, c.b, a}; }
inline Color mix(Color x, Color y, float t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}
inline Color scale(Color c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }
inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float smooth(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// Signed distance in pixels: negative inside the shape.
using Sdf = std::function<float(float x, float y)>;
using Shader = std::function<Color(float x, float y)>;

struct Image {
    int w = 0, h = 0;
    std::vector<Color> px;

    Image() = default;
    Image(int width, int height, Color fill = {0, 0, 0, 0}) : w(width), h(height), px(size_t(width) * height, fill) {}
    Color& at(int x, int y) { return px[size_t(y) * w + x]; }
    const Color& at(int x, int y) const { return px[size_t(y) * w + x]; }
    // Bilinear sample with wrap-around (for tiling textures) or clamping.
    Color sample(float x, float y, bool wrap) const;
};

// Straight-alpha "over" compositing of src with coverage k onto dst.
inline void blendOver(Color& dst, Color src, float k) {
    float a = src.a * k;
    if (a <= 0) return;
    float outA = a + dst.a * (1 - a);
    if (outA <= 1e-6f) {
        dst = {0, 0, 0, 0};
        return;
    }
    float wd = dst.a * (1 - a);
    dst.r = (src.r * a + dst.r * wd) / outA;
    dst.g = (src.g * a + dst.g * wd) / outA;
    dst.b = (src.b * a + dst.b * wd) / outA;
    dst.a = outA;
}

// Fills the pixels where the distance field is negative, with a one-pixel soft edge.
// The box (x0, y0, x1, y1) limits the work; pass a generous one.
void fill(Image& im, const Sdf& sdf, const Shader& shade, float x0, float y0, float x1, float y1);
void fill(Image& im, const Sdf& sdf, Color c, float x0, float y0, float x1, float y1);
// Whole-canvas versions.
void fill(Image& im, const Sdf& sdf, const Shader& shade);
void fill(Image& im, const Sdf& sdf, Color c);
// Runs a shader over every pixel and composites it.
void paint(Image& im, const Shader& shade);
// Replaces every pixel by the shader's colour.
void render(Image& im, const Shader& shade);

// Distance fields.
float sdCircle(float x, float y, float cx, float cy, float r);
float sdBox(float x, float y, float cx, float cy, float hw, float hh, float radius = 0);
float sdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth);
float sdPolygon(float x, float y, const std::vector<float>& xy);  // x0, y0, x1, y1, ...
float sdRing(float x, float y, float cx, float cy, float r, float halfWidth);
float sdEllipse(float x, float y, float cx, float cy, float rx, float ry);

// Gaussian-like blur (three box passes) of all four channels, alpha-weighted.
void blur(Image& im, float radius, bool wrap = false);
// A soft shadow or glow of the image's alpha, tinted, composited under the image.
Image glowOf(const Image& im, float radius, Color tint, float strength, int dx = 0, int dy = 0);
void drawOnto(Image& dst, const Image& src, int ox = 0, int oy = 0, float opacity = 1.0f);
Image resized(const Image& src, int w, int h);  // area average / bilinear
Image flippedVertically(const Image& src);
Image flippedHorizontally(const Image& src);

// How a picture reaches the screen. Images are uploaded top row first and the
// shaders of the screen quads, walls and frames turn the v coordinate over, so an
// unturned quad shows a file as painted.
enum class Mount {
    Upright,   // spheres, the flag, tiling textures, round sprites, sky: stored as painted
    Face,      // unturned screen quads, cube faces, wall frames: stored as painted
    HalfTurn,  // HUD and map icons, turned 180 degrees about the view axis: stored turned
};
Image forMount(const Image& im, Mount m);

// Writes PNG (RGBA, or RGB when opaque is set) or JPEG by extension.
// Adds a deterministic ±0.5 LSB dither to hide banding in smooth gradients.
bool save(const Image& im, const std::filesystem::path& path, Mount m, bool opaque = false, int jpegQuality = 92);

// Deterministic hashing.
std::uint32_t hash32(std::uint32_t x);
inline std::uint32_t hash2(int x, int y, std::uint32_t seed) {
    return hash32(std::uint32_t(x) * 0x8da6b343u ^ hash32(std::uint32_t(y) * 0xd8163841u ^ seed));
}
inline std::uint32_t hash3(int x, int y, int z, std::uint32_t seed) {
    return hash32(hash2(x, y, seed) ^ std::uint32_t(z) * 0xcb1ab31fu);
}
inline float hashUnit(std::uint32_t h) { return (h & 0xffffff) / float(0x1000000); }

// A small deterministic generator for layout decisions.
struct Rng {
    std::uint32_t s;
    explicit Rng(std::uint32_t seed) : s(hash32(seed ^ 0x9e3779b9u)) {}
    std::uint32_t next() { return s = hash32(s + 0x6d2b79f5u); }
    float unit() { return hashUnit(next()); }
    float range(float a, float b) { return a + (b - a) * unit(); }
    int index(int n) { return int(next() % std::uint32_t(n)); }
};

}  // namespace assetgen::img
