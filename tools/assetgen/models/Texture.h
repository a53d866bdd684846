#pragma once
// Procedural, tileable textures for the models. Every painter is a pure function
// of its arguments (noise comes from integer hashes), so the same call always
// gives the same pixels.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <glm/glm.hpp>

namespace assetgen::models {

struct Image {
    int w = 0, h = 0;
    std::vector<glm::vec3> px;
    Image(int width, int height, glm::vec3 fill = glm::vec3(0.5f));
    glm::vec3& at(int x, int y);  // wraps around
    // 8-bit RGB PNG bytes.
    std::vector<unsigned char> encodePng() const;
};

// Tileable noise over the unit square: value noise with `freq` cells per side.
float noise(float u, float v, int freq, std::uint32_t seed);
float fbm(float u, float v, int freq, int octaves, std::uint32_t seed, float gain = 0.5f);
// Cellular noise: distance to the nearest and second-nearest feature point (in cell units).
struct Cell {
    float f1, f2;
    std::uint32_t id;
};
Cell cells(float u, float v, int freq, std::uint32_t seed);

// Small deterministic generator for placing details.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : state_(seed * 2654435761U + 1U) {}
    std::uint32_t next();
    float uniform(float lo = 0.0f, float hi = 1.0f);
    int below(int n);

private:
    std::uint32_t state_;
};

// Painting on an image (coordinates in pixels, wrapping around the edges).
void blendRect(Image& im, float x0, float y0, float x1, float y1, glm::vec3 c, float a);
void blendDisc(Image& im, float cx, float cy, float r, glm::vec3 c, float a, float soft = 1.0f);
void blendLine(Image& im, glm::vec2 a, glm::vec2 b, float width, glm::vec3 c, float alpha);

// The painters. `seed` varies the detail without changing the character.
struct PanelStyle {
    int panelsX = 2, panelsY = 2;
    float seam = 0.45f;        // darkness of the panel seams
    bool rivets = true;
    int scratches = 40;
    float grime = 0.35f;
    float variation = 0.08f;   // per-panel tint variation
    glm::vec3 stripe{-1.0f};   // emissive stripe colour (x < 0: none)
    float stripeY = 0.5f;      // position of the stripe (fraction of height)
    float stripeH = 0.06f;
    bool hazard = false;       // yellow and black chevrons along the bottom
};
Image metalPanels(int size, glm::vec3 base, const PanelStyle& st, std::uint32_t seed);
Image paintedMetal(int size, glm::vec3 paint, glm::vec3 metal, float wear, std::uint32_t seed);
Image glow(int size, glm::vec3 colour, std::uint32_t seed);
Image hexField(int size, glm::vec3 colour, std::uint32_t seed);
Image stone(int size, glm::vec3 base, glm::vec3 dark, float cracks, std::uint32_t seed);
Image runeStone(int size, glm::vec3 base, glm::vec3 rune, std::uint32_t seed);
Image bark(int size, glm::vec3 base, std::uint32_t seed);
Image foliage(int size, glm::vec3 base, glm::vec3 light, std::uint32_t seed);
Image bone(int size, glm::vec3 base, std::uint32_t seed);
Image lava(int size, glm::vec3 crust, glm::vec3 hot, std::uint32_t seed);
Image wood(int size, glm::vec3 base, std::uint32_t seed);
Image creatureSkin(int size, glm::vec3 base, glm::vec3 spots, std::uint32_t seed);
Image crystal(int size, glm::vec3 colour, std::uint32_t seed);
Image glass(int size, glm::vec3 colour, std::uint32_t seed);
Image circuit(int size, glm::vec3 board, glm::vec3 trace, std::uint32_t seed);
Image hazardStripes(int size, glm::vec3 a, glm::vec3 b, std::uint32_t seed);
Image fabric(int size, glm::vec3 base, std::uint32_t seed);
Image grip(int size, glm::vec3 base, std::uint32_t seed);
Image marble(int size, glm::vec3 base, glm::vec3 vein, std::uint32_t seed);
Image cactusSkin(int size, glm::vec3 base, std::uint32_t seed);
Image skin(int size, glm::vec3 base, std::uint32_t seed);
Image hair(int size, glm::vec3 base, std::uint32_t seed);

}  // namespace assetgen::models
