// Hazards: stalagmites, cactus and two kinds of lava vegetation. The game draws
// them with different scales across and upwards; each is designed in units that
// are the same in every direction (one unit = the horizontal scale in world
// units) and squeezed at the end, so it keeps its proportions in the world.
#include <cmath>

#include "Catalog.h"

namespace assetgen::models {
namespace {

using glm::vec3;

// Converts a model designed with equal units to the game's unequal scale.
void squeeze(Model& m, float scaleAcross, float scaleUp) { transformModel(m, S(1.0f, scaleAcross / scaleUp, 1.0f)); }

std::vector<glm::vec2> spikeProfile(float r, float h, float y0, float jitter) {
    return {{r, y0 - 0.3f}, {r * (0.82f + 0.1f * jitter), y0 + 0.28f * h}, {r * (0.5f - 0.08f * jitter), y0 + 0.62f * h},
            {r * 0.18f, y0 + 0.9f * h}, {0.0f, y0 + h}};
}

// A cluster of rock spikes 10-18 world units tall; drawn at (6, 4, 6), standing
// on the ground one horizontal unit below its origin.
Model stalagmites() {
    Model m;
    Surface& rock = m["rock_red"];
    Surface& dark = m["rock_dark"];
    const float y0 = -1.0f;
    blob(dark, T(0, y0, 0) * S(1.0f, 0.25f, 1.0f), vec3(1.9f), 2, 0.3f, 11, 0.8f);
    const vec3 spots[] = {{0, 0, 0}, {0.85f, 0, 0.3f}, {-0.7f, 0, 0.55f}, {-0.3f, 0, -0.85f}, {0.55f, 0, -0.7f}, {-1.1f, 0, -0.2f}, {0.2f, 0, 1.0f}};
    const float heights[] = {3.0f, 2.1f, 1.7f, 2.4f, 1.4f, 1.1f, 1.3f};
    const float radii[] = {0.62f, 0.45f, 0.4f, 0.5f, 0.36f, 0.3f, 0.33f};
    for (int i = 0; i < 7; ++i) {
        LatheOpts o;
        o.segments = 7;
        o.faceted = true;
        o.smooth = false;
        o.tileU = 1.2f;
        o.tileV = 1.2f;
        o.startDeg = 40.0f * static_cast<float>(i);
        const float tilt = (hash01(static_cast<std::uint32_t>(i), 3) - 0.5f) * 16.0f;
        lathe(rock, T(spots[i]) * Rz(tilt) * Rx(tilt * 0.7f), spikeProfile(radii[i], heights[i], y0, hash01(static_cast<std::uint32_t>(i))), o);
    }
    for (int i = 0; i < 9; ++i) {
        const float a = 2.39996f * static_cast<float>(i);
        const float r = 1.2f + 0.4f * hash01(static_cast<std::uint32_t>(i), 8);
        blob(dark, T(r * std::cos(a), y0 + 0.05f, r * std::sin(a)), vec3(0.22f + 0.1f * hash01(static_cast<std::uint32_t>(i), 9)), 1, 0.35f,
             static_cast<std::uint32_t>(20 + i), 0.6f);
    }
    squeeze(m, 6.0f, 4.0f);
    return m;
}

// Saguaro-like cactus about 22 units tall with two arms and pink flowers.
Model cactus() {
    Model m;
    Surface& skinS = m["cactus"];
    Surface& flower = m["glow_pink"];
    Surface& rock = m["rock_red"];
    LatheOpts o;
    o.segments = 16;
    o.tileU = 0.3f;
    o.tileV = 0.3f;
    lathe(skinS, glm::mat4(1.0f), {{0.07f, -0.02f}, {0.08f, 0.1f}, {0.078f, 0.6f}, {0.07f, 0.72f}, {0.05f, 0.8f}, {0.0f, 0.83f}}, o);
    auto arm = [&](std::vector<vec3> path, float r) {
        tube(skinS, glm::mat4(1.0f), path, {r}, 12, 0.3f, false);
        sphere(skinS, T(path.back()), r, 12, 6, 0.3f);
        sphere(flower, T(path.back() + vec3(0, r * 0.9f, 0)), r * 0.35f, 8, 6, 0.1f);
    };
    arm({{0.04f, 0.3f, 0}, {0.14f, 0.31f, 0}, {0.2f, 0.35f, 0}, {0.22f, 0.42f, 0}, {0.22f, 0.58f, 0}}, 0.045f);
    arm({{-0.04f, 0.42f, 0.01f}, {-0.13f, 0.43f, 0.02f}, {-0.18f, 0.48f, 0.03f}, {-0.19f, 0.55f, 0.03f}, {-0.19f, 0.67f, 0.03f}}, 0.04f);
    arm({{0.0f, 0.5f, -0.04f}, {0.0f, 0.52f, -0.12f}, {0.0f, 0.57f, -0.15f}, {0.0f, 0.66f, -0.15f}}, 0.035f);
    for (int i = 0; i < 4; ++i) {
        const float a = glm::radians(90.0f * static_cast<float>(i) + 20.0f);
        sphere(flower, T(0.03f * std::cos(a), 0.82f, 0.03f * std::sin(a)), 0.02f, 8, 6, 0.1f);
    }
    sphere(skinS, T(0.16f, 0.03f, 0.1f) * S(1.0f, 0.8f, 1.0f), 0.06f, 12, 8, 0.2f);
    for (int i = 0; i < 5; ++i) {
        const float a = 1.3f * static_cast<float>(i);
        blob(rock, T(0.13f * std::cos(a), 0.0f, 0.13f * std::sin(a)), vec3(0.04f + 0.015f * static_cast<float>(i % 3)), 1, 0.3f,
             static_cast<std::uint32_t>(40 + i), 0.1f);
    }
    squeeze(m, 22.0f, 25.0f);
    return m;
}

void lavaLeafClump(Model& m, vec3 at, int leaves, float len, std::uint32_t seed) {
    Surface& leafS = m["leaves_charred"];
    Surface& glowS = m["glow_orange"];
    for (int i = 0; i < leaves; ++i) {
        const float a = 360.0f * static_cast<float>(i) / static_cast<float>(leaves) + 40.0f * hash01(seed, static_cast<std::uint32_t>(i));
        const float tilt = 25.0f + 30.0f * hash01(seed + 1, static_cast<std::uint32_t>(i));
        const float l = len * (0.7f + 0.5f * hash01(seed + 2, static_cast<std::uint32_t>(i)));
        const glm::mat4 base = T(at) * Ry(a) * Rx(tilt);
        leaf(leafS, base, l, l * 0.28f, l * 0.35f, l * 0.03f, l * 0.5f);
        sphere(glowS, base * T(0, l * 0.98f, l * 0.35f), l * 0.05f, 8, 6, l * 0.2f);
    }
}

// Lava pool about 30 units across with charred plants; drawn at (5, 1.5, 5),
// two units below the ground.
Model lavaPool() {
    Model m;
    Surface& lavaS = m["lava"];
    Surface& rock = m["rock_dark"];
    Surface& glowS = m["glow_orange"];
    const float ground = 0.4f;
    LatheOpts o;
    o.segments = 36;
    o.tileU = 1.5f;
    o.tileV = 1.5f;
    lathe(lavaS, glm::mat4(1.0f), {{0.0f, ground + 0.05f}, {2.9f, ground + 0.05f}, {3.0f, ground - 0.1f}}, o);
    for (int i = 0; i < 16; ++i) {
        const float a = glm::radians(22.5f * static_cast<float>(i) + 7.0f * hash01(static_cast<std::uint32_t>(i), 5));
        const float r = 2.95f + 0.15f * hash01(static_cast<std::uint32_t>(i), 6);
        const float s = 0.35f + 0.2f * hash01(static_cast<std::uint32_t>(i), 7);
        blob(rock, T(r * std::cos(a), ground, r * std::sin(a)), vec3(s, s * 0.6f, s), 1, 0.35f, static_cast<std::uint32_t>(60 + i), 0.8f);
    }
    for (int i = 0; i < 7; ++i) {
        const float a = 2.39996f * static_cast<float>(i), r = 0.6f + 1.6f * hash01(static_cast<std::uint32_t>(i), 12);
        sphere(glowS, T(r * std::cos(a), ground + 0.05f, r * std::sin(a)) * S(1.0f, 0.4f, 1.0f), 0.1f + 0.08f * hash01(static_cast<std::uint32_t>(i), 13), 12, 6, 0.2f);
    }
    lavaLeafClump(m, {1.4f, ground, -1.2f}, 6, 0.9f, 1);
    lavaLeafClump(m, {-1.5f, ground, 0.6f}, 5, 0.75f, 2);
    lavaLeafClump(m, {0.4f, ground, 1.7f}, 4, 0.6f, 3);
    squeeze(m, 5.0f, 1.5f);
    return m;
}

// A burning lava plant about 20 units across and 15 tall; drawn at (25, 35, 25),
// two units above the ground.
Model lavaPlant() {
    Model m;
    Surface& lavaS = m["lava"];
    Surface& stalk = m["rock_dark"];
    Surface& glowS = m["glow_orange"];
    const float ground = -0.08f;
    cylinder(lavaS, T(0, ground - 0.01f, 0), 0.22f, 0.02f, 24, 0.3f);
    lavaLeafClump(m, {0, ground, 0}, 9, 0.55f, 7);
    for (int i = 0; i < 3; ++i) {
        const float a = glm::radians(120.0f * static_cast<float>(i) + 15.0f);
        const vec3 tip(0.1f * std::cos(a), ground + 0.42f + 0.08f * static_cast<float>(i), 0.1f * std::sin(a));
        tube(stalk, glm::mat4(1.0f), {{0, ground, 0}, {0.03f * std::cos(a), ground + 0.2f, 0.03f * std::sin(a)}, tip}, {0.025f, 0.018f, 0.012f}, 8, 0.1f);
        sphere(glowS, T(tip) * S(1.0f, 1.3f, 1.0f), 0.045f, 12, 8, 0.1f);
    }
    for (int i = 0; i < 5; ++i) {
        const float a = 1.7f * static_cast<float>(i);
        blob(stalk, T(0.22f * std::cos(a), ground, 0.22f * std::sin(a)), vec3(0.05f), 1, 0.35f, static_cast<std::uint32_t>(90 + i), 0.1f);
    }
    squeeze(m, 25.0f, 35.0f);
    return m;
}

}  // namespace

void addHazards(std::vector<ModelDef>& out) {
    out.push_back({"Damages/stalagmites.dae", stalagmites});
    out.push_back({"Damages/cactus_1.dae", cactus});
    out.push_back({"Damages/vegetation_lava.dae", lavaPool});
    out.push_back({"Damages/vegetation_lava_2.dae", lavaPlant});
}

}  // namespace assetgen::models
