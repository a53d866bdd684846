// Scenery and mission objects that stand in the fortress, plus the landing site
// (ship, flag pole, cell platforms) and the big rocks at the edge of the world.
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "Catalog.h"

namespace assetgen::models {
namespace {

using glm::vec3;

void squeeze(Model& m, float scaleAcross, float scaleUp) { transformModel(m, S(1.0f, scaleAcross / scaleUp, 1.0f)); }

// Slot for an energy cell, about 28 units across at scale 0.23, standing on the
// ground 4 units below its origin.
Model cellPlatform() {
    Model m;
    Surface& pad = m["platform_metal"];
    Surface& dark = m["hull_dark"];
    Surface& grey = m["hull_grey"];
    Surface& glowS = m["glow_cyan"];
    Surface& haz = m["hazard"];
    LatheOpts o;
    o.segments = 32;
    o.smooth = false;
    o.tileU = 40.0f;
    o.tileV = 20.0f;
    lathe(pad, glm::mat4(1.0f), {{0.0f, -18.0f}, {62.0f, -18.0f}, {62.0f, -12.0f}, {57.0f, -8.0f}, {0.0f, -8.0f}}, o);
    o.caps = false;
    o.tileU = o.tileV = 12.0f;
    lathe(haz, glm::mat4(1.0f), {{56.0f, -7.9f}, {49.0f, -7.9f}}, o);
    o.tileU = o.tileV = 30.0f;
    lathe(grey, glm::mat4(1.0f), {{20.0f, -8.0f}, {18.0f, 8.0f}, {14.0f, 10.0f}, {10.0f, 10.0f}, {10.0f, 2.0f}, {0.0f, 2.0f}}, o);
    torus(glowS, T(0, 10.0f, 0), 14.0f, 1.3f, 32, 8, 8.0f);
    cylinder(glowS, T(0, 2.0f, 0), 5.0f, 2.0f, 16, 8.0f);
    for (int k = 0; k < 4; ++k) {
        const float a = glm::radians(45.0f + 90.0f * static_cast<float>(k));
        const vec3 p(40.0f * std::cos(a), 0.0f, 40.0f * std::sin(a));
        box(dark, T(p + vec3(0, 11.0f, 0)) * Ry(-glm::degrees(a)), {7.0f, 38.0f, 7.0f}, 1.2f, 20.0f);
        box(glowS, T(p * 0.97f + vec3(0, 14.0f, 0)) * Ry(-glm::degrees(a)), {1.0f, 24.0f, 3.0f}, 0.0f, 10.0f);
        sphere(glowS, T(p + vec3(0, 32.0f, 0)), 3.5f, 12, 8, 8.0f);
        tube(dark, glm::mat4(1.0f), {p + vec3(0, -7.0f, 0), p * 0.5f + vec3(0, -6.0f, 0), p * 0.45f + vec3(0, -5.0f, 0)}, {2.5f}, 8, 10.0f);
    }
    return m;
}

// The captive: a young woman in a flight suit, 10.5 units tall at scale 14,
// standing on a small rescue beacon.
Model girl() {
    Model m;
    Surface& suit = m["suit"];
    Surface& skinS = m["skin"];
    Surface& hairS = m["hair"];
    Surface& dark = m["hull_dark"];
    Surface& glowS = m["glow_cyan"];
    const float y0 = -0.29f;
    cylinder(glowS, T(0, y0 - 0.006f, 0), 0.14f, 0.01f, 28, 0.2f);
    torus(dark, T(0, y0, 0), 0.14f, 0.008f, 28, 6, 0.1f);
    for (float sx : {-1.0f, 1.0f}) {
        box(dark, T(sx * 0.035f, y0 + 0.022f, 0.012f), {0.045f, 0.045f, 0.085f}, 0.012f, 0.1f);
        tube(suit, glm::mat4(1.0f), {{sx * 0.035f, y0 + 0.035f, 0}, {sx * 0.036f, y0 + 0.2f, 0.004f}, {sx * 0.042f, y0 + 0.37f, 0}}, {0.021f, 0.025f, 0.035f}, 10, 0.1f);
        tube(suit, glm::mat4(1.0f), {{sx * 0.072f, y0 + 0.585f, -0.005f}, {sx * 0.088f, y0 + 0.46f, 0.005f}, {sx * 0.082f, y0 + 0.35f, 0.02f}}, {0.02f, 0.016f, 0.014f}, 8, 0.1f);
        sphere(skinS, T(sx * 0.082f, y0 + 0.335f, 0.022f), 0.016f, 8, 6, 0.05f);
        sphere(suit, T(sx * 0.072f, y0 + 0.585f, -0.005f), 0.024f, 8, 6, 0.05f);
        sphere(dark, T(sx * 0.017f, y0 + 0.672f, 0.046f), 0.006f, 6, 4, 0.02f);
    }
    LatheOpts o;
    o.segments = 20;
    o.tileU = 0.2f;
    o.tileV = 0.2f;
    lathe(suit, T(0, y0 + 0.34f, 0) * S(1.0f, 1.0f, 0.68f),
          {{0.0f, 0.0f}, {0.068f, 0.0f}, {0.075f, 0.05f}, {0.06f, 0.14f}, {0.074f, 0.2f}, {0.064f, 0.245f}, {0.03f, 0.265f}, {0.0f, 0.265f}}, o);
    torus(dark, T(0, y0 + 0.38f, 0) * S(1.0f, 1.0f, 0.68f), 0.072f, 0.008f, 20, 4, 0.1f);
    box(glowS, T(0.03f, y0 + 0.55f, 0.044f), {0.022f, 0.012f, 0.004f}, 0.0f, 0.05f);
    cylinder(skinS, T(0, y0 + 0.595f, 0), 0.018f, 0.04f, 10, 0.05f);
    sphere(skinS, T(0, y0 + 0.665f, 0.004f) * S(0.88f, 1.05f, 0.95f), 0.05f, 16, 10, 0.1f);
    sphere(hairS, T(0, y0 + 0.678f, -0.01f) * S(0.95f, 1.0f, 0.96f), 0.054f, 16, 10, 0.1f);
    box(hairS, T(0, y0 + 0.6f, -0.04f) * Rx(8), {0.085f, 0.15f, 0.03f}, 0.012f, 0.1f);
    return m;
}

// Escape ship, about 48 units long and 53 wide at scale 0.1, nose towards +z;
// its landing pads touch the ground 4 units below its origin (40 model units).
Model spaceship() {
    Model m;
    Surface& hull = m["ship_hull"];
    Surface& stripe = m["ship_stripe"];
    Surface& dark = m["ship_dark"];
    Surface& canopy = m["glass_cyan"];
    Surface& flame = m["glow_orange"];
    LatheOpts o;
    o.segments = 28;
    o.tileU = 120.0f;
    o.tileV = 120.0f;
    const glm::mat4 body = T(0, 110.0f, 0) * S(1.15f, 0.8f, 1.0f) * Rx(90);
    lathe(hull, body, {{0.0f, -235.0f}, {38.0f, -230.0f}, {55.0f, -185.0f}, {60.0f, -60.0f}, {56.0f, 60.0f}, {43.0f, 150.0f}, {22.0f, 220.0f}, {0.0f, 252.0f}}, o);
    lathe(stripe, body, {{60.5f, -20.0f}, {59.5f, 40.0f}}, [] {
        LatheOpts s;
        s.segments = 28;
        s.caps = false;
        s.smooth = false;
        s.tileU = 120.0f;
        s.tileV = 60.0f;
        return s;
    }());
    sphere(canopy, T(0, 140.0f, 115.0f) * S(0.75f, 0.5f, 1.6f), 42.0f, 24, 12, 60.0f);
    box(dark, T(0, 147.0f, 110.0f), {6.0f, 8.0f, 120.0f}, 2.0f, 40.0f);
    for (float sx : {-1.0f, 1.0f}) {
        const glm::mat4 side = S(sx, 1.0f, 1.0f);
        extrude(stripe, side * T(0, 92.0f, 0) * Rz(4) * Rx(90),
                {{40.0f, -120.0f}, {60.0f, 60.0f}, {265.0f, -128.0f}, {262.0f, -160.0f}}, 11.0f, 160.0f);
        extrude(dark, side * T(262.0f, 92.0f, 0) * Ry(-90), {{-165.0f, -10.0f}, {-110.0f, -10.0f}, {-150.0f, 48.0f}, {-172.0f, 48.0f}}, 8.0f, 60.0f);
        sphere(m[sx < 0 ? "glow_red" : "glow_green"], T(sx * 264.0f, 112.0f, -160.0f), 6.0f, 10, 6, 10.0f);
        lathe(dark, T(sx * 80.0f, 100.0f, -238.0f) * Rx(90),
              {{26.0f, 0.0f}, {32.0f, 14.0f}, {35.0f, 60.0f}, {31.0f, 150.0f}, {18.0f, 178.0f}, {0.0f, 180.0f}}, o);
        cylinder(flame, T(sx * 80.0f, 100.0f, -240.0f) * Rx(90), 24.0f, 3.0f, 24, 30.0f);
        torus(hull, T(sx * 80.0f, 100.0f, -225.0f) * Rx(90), 33.0f, 4.0f, 24, 6, 20.0f);
        cylinder(dark, T(sx * 160.0f, 88.0f, -60.0f) * Rx(90), 5.0f, 120.0f, 10, 20.0f);
        tube(dark, glm::mat4(1.0f), {{sx * 80.0f, 88.0f, -110.0f}, {sx * 82.0f, 45.0f, -112.0f}}, {5.0f}, 8, 20.0f);
        cylinder(dark, T(sx * 82.0f, 40.0f, -112.0f), 14.0f, 5.0f, 16, 20.0f);
    }
    extrude(hull, T(0, 130.0f, 0) * Ry(-90), {{-225.0f, 0.0f}, {-120.0f, 0.0f}, {-195.0f, 90.0f}, {-228.0f, 90.0f}}, 10.0f, 120.0f);
    tube(dark, glm::mat4(1.0f), {{0.0f, 75.0f, 150.0f}, {0.0f, 45.0f, 152.0f}}, {5.0f}, 8, 20.0f);
    cylinder(dark, T(0, 40.0f, 152.0f), 12.0f, 5.0f, 16, 20.0f);
    for (float sx : {-1.0f, 1.0f}) box(dark, T(sx * 52.0f, 118.0f, 40.0f) * Ry(sx * 8.0f), {14.0f, 26.0f, 60.0f}, 4.0f, 40.0f);
    return m;
}

// Broad-leaved tree about 48 units tall, drawn at (5, 8, 5).
Model tree1() {
    Model m;
    Surface& barkS = m["bark"];
    Surface& leaves = m["leaves_green"];
    LatheOpts o;
    o.segments = 12;
    o.tileU = 1.5f;
    o.tileV = 2.0f;
    lathe(barkS, glm::mat4(1.0f), {{0.55f, -0.2f}, {0.38f, 0.6f}, {0.3f, 3.0f}, {0.22f, 6.0f}, {0.08f, 8.0f}, {0.0f, 8.3f}}, o);
    const vec3 ends[] = {{1.9f, 6.6f, 0.3f}, {-1.6f, 6.9f, 1.0f}, {0.2f, 6.4f, -1.9f}, {-0.6f, 7.4f, -1.2f}, {1.0f, 7.6f, 1.4f}};
    for (int i = 0; i < 5; ++i) {
        const vec3 start(0.0f, 4.2f + 0.6f * static_cast<float>(i), 0.0f);
        tube(barkS, glm::mat4(1.0f), {start, glm::mix(start, ends[i], 0.5f) + vec3(0, 0.5f, 0), ends[i]}, {0.16f, 0.1f, 0.06f}, 8, 1.0f);
        blob(leaves, T(ends[i] + vec3(0, 0.3f, 0)), vec3(1.5f, 1.15f, 1.5f) * (0.9f + 0.3f * hash01(static_cast<std::uint32_t>(i), 31)), 2,
             0.22f, static_cast<std::uint32_t>(300 + i), 1.5f);
    }
    blob(leaves, T(0, 8.6f, 0), vec3(1.9f, 1.4f, 1.9f), 2, 0.22f, 310, 1.5f);
    for (int i = 0; i < 4; ++i) {
        const float a = glm::radians(90.0f * static_cast<float>(i) + 30.0f);
        tube(barkS, glm::mat4(1.0f), {{0.2f * std::cos(a), 0.5f, 0.2f * std::sin(a)}, {0.7f * std::cos(a), 0.05f, 0.7f * std::sin(a)}, {0.9f * std::cos(a), -0.1f, 0.9f * std::sin(a)}},
             {0.18f, 0.1f, 0.05f}, 8, 1.0f);
    }
    squeeze(m, 5.0f, 8.0f);
    return m;
}

// Alien umbrella tree about 40 units tall with hanging glowing pods, at (5, 7, 5).
Model tree2() {
    Model m;
    Surface& barkS = m["bark_alien"];
    Surface& leaves = m["leaves_teal"];
    Surface& pods = m["glow_cyan"];
    std::vector<vec3> trunk;
    std::vector<float> radius;
    for (int k = 0; k <= 10; ++k) {
        const float t = static_cast<float>(k) / 10.0f;
        trunk.emplace_back(0.35f * std::sin(t * 4.0f), t * 6.0f - 0.2f, 0.3f * std::sin(t * 2.5f + 1.0f) - 0.2f);
        radius.push_back(0.5f - 0.3f * t);
    }
    tube(barkS, glm::mat4(1.0f), trunk, radius, 10, 1.5f);
    const vec3 top = trunk.back();
    const float layers[3][3] = {{5.2f, 3.1f, 0.0f}, {6.3f, 2.3f, 0.6f}, {7.3f, 1.4f, 1.2f}};
    for (int i = 0; i < 3; ++i) {
        const vec3 c(top.x, layers[i][0], top.z);
        blob(leaves, T(c), vec3(layers[i][1], 0.45f, layers[i][1]), 2, 0.2f, static_cast<std::uint32_t>(320 + i), 1.5f);
        if (i > 0) cylinder(barkS, T(c - vec3(0, 1.1f, 0)), 0.12f, 1.1f, 8, 1.0f);
    }
    for (int i = 0; i < 9; ++i) {
        const float a = 2.39996f * static_cast<float>(i), r = 1.2f + 1.6f * hash01(static_cast<std::uint32_t>(i), 41);
        const vec3 at(top.x + r * std::cos(a), 4.9f, top.z + r * std::sin(a));
        cylinder(barkS, T(at - vec3(0, 0.6f, 0)), 0.03f, 0.6f, 6, 0.5f);
        sphere(pods, T(at - vec3(0, 0.75f, 0)) * S(1.0f, 1.4f, 1.0f), 0.16f, 10, 6, 0.3f);
    }
    for (int i = 0; i < 5; ++i) {
        const float a = glm::radians(72.0f * static_cast<float>(i));
        tube(barkS, glm::mat4(1.0f), {{0.25f * std::cos(a), 0.4f, 0.25f * std::sin(a) - 0.2f}, {0.9f * std::cos(a), -0.1f, 0.9f * std::sin(a) - 0.2f}}, {0.16f, 0.06f}, 8, 1.0f);
    }
    squeeze(m, 5.0f, 7.0f);
    return m;
}

// Boulder about 30 units across at scale 18, sunk into the ground 16 below its origin.
Model rock1() {
    Model m;
    Surface& rock = m["rock_grey"];
    blob(rock, T(0, -0.3f, 0), {0.95f, 0.72f, 0.85f}, 2, 0.3f, 501, 0.6f);
    blob(rock, T(0.62f, -0.62f, 0.42f), {0.45f, 0.38f, 0.42f}, 1, 0.3f, 502, 0.6f);
    blob(rock, T(-0.58f, -0.68f, -0.32f), {0.38f, 0.3f, 0.36f}, 1, 0.3f, 503, 0.6f);
    return m;
}

// Alien rosette with glowing bulbs, about 10 units tall at scale 12.
Model plant1() {
    Model m;
    Surface& leaves = m["leaves_purple"];
    Surface& stalk = m["bark_alien"];
    Surface& bulb = m["glow_violet"];
    const float y0 = -0.6f;
    for (int i = 0; i < 9; ++i) {
        const float a = 40.0f * static_cast<float>(i);
        const float tilt = 45.0f + 20.0f * hash01(static_cast<std::uint32_t>(i), 51);
        const float len = 0.38f + 0.14f * hash01(static_cast<std::uint32_t>(i), 52);
        leaf(leaves, T(0, y0, 0) * Ry(a) * Rx(tilt), len, len * 0.42f, len * 0.3f, 0.01f, 0.4f);
    }
    for (int i = 0; i < 3; ++i) {
        const float a = glm::radians(120.0f * static_cast<float>(i) + 20.0f);
        const vec3 tip(0.08f * std::cos(a), y0 + 0.45f + 0.07f * static_cast<float>(i), 0.08f * std::sin(a));
        tube(stalk, glm::mat4(1.0f), {{0, y0, 0}, {0.03f * std::cos(a), y0 + 0.25f, 0.03f * std::sin(a)}, tip}, {0.018f, 0.013f, 0.01f}, 6, 0.1f);
        sphere(bulb, T(tip), 0.045f, 10, 6, 0.1f);
    }
    return m;
}

// Clump of reeds about 18 units tall; drawn at scale 22 with its origin 30 units
// above the ground, so the clump stands well below the origin.
Model reeds() {
    Model m;
    Surface& reed = m["reed"];
    Surface& head = m["bark"];
    Surface& blade = m["leaves_green"];
    const float y0 = -1.38f;
    for (int i = 0; i < 18; ++i) {
        const float a = 2.39996f * static_cast<float>(i), r = 0.02f + 0.1f * hash01(static_cast<std::uint32_t>(i), 61);
        const vec3 base(r * std::cos(a), y0, r * std::sin(a));
        const float h = 0.55f + 0.3f * hash01(static_cast<std::uint32_t>(i), 62);
        const vec3 lean = vec3(std::cos(a), 0, std::sin(a)) * (0.08f * hash01(static_cast<std::uint32_t>(i), 63));
        const vec3 tip = base + vec3(0, h, 0) + lean;
        tube(reed, glm::mat4(1.0f), {base, base + vec3(0, h * 0.5f, 0) + lean * 0.3f, tip}, {0.009f, 0.007f, 0.004f}, 6, 0.1f);
        if (i % 3 == 0) cylinder(head, between(tip - vec3(0, 0.12f, 0) - lean * 0.1f, tip), 0.017f, 0.09f, 8, 0.05f);
    }
    for (int i = 0; i < 10; ++i) {
        const float a = 36.0f * static_cast<float>(i);
        leaf(blade, T(0, y0, 0) * Ry(a) * Rx(12.0f + 14.0f * hash01(static_cast<std::uint32_t>(i), 64)), 0.45f + 0.2f * hash01(static_cast<std::uint32_t>(i), 65),
             0.035f, 0.14f, 0.004f, 0.1f);
    }
    return m;
}

// Horned creature skull about 6 units long at scale 4. The game tips it back by
// 45 degrees about x; it is tipped forward here by 38 so it rests almost level,
// and lowered so it lies on the ground 2 units below its origin.
Model skeletonHead() {
    Model m;
    Surface& boneS = m["bone"];
    Surface& dark = m["rock_dark"];
    sphere(boneS, T(0, 0.22f, -0.2f) * S(0.78f, 0.72f, 1.0f), 0.45f, 20, 10, 0.4f);
    box(boneS, T(0, 0.08f, 0.36f), {0.42f, 0.3f, 0.62f}, 0.12f, 0.4f);
    box(boneS, T(0, -0.14f, 0.25f), {0.36f, 0.1f, 0.62f}, 0.04f, 0.4f);
    for (float sx : {-1.0f, 1.0f}) {
        sphere(dark, T(sx * 0.19f, 0.27f, 0.14f), 0.12f, 12, 8, 0.2f);
        sphere(dark, T(sx * 0.07f, 0.14f, 0.66f), 0.04f, 8, 6, 0.1f);
        for (int k = 0; k < 5; ++k) cone(boneS, T(sx * 0.16f, 0.0f, 0.14f + 0.1f * static_cast<float>(k)) * Rx(180), 0.025f, 0.0f, 0.1f, 6, 0.1f);
        std::vector<vec3> horn;
        std::vector<float> r;
        for (int k = 0; k <= 8; ++k) {
            const float t = static_cast<float>(k) / 8.0f;
            horn.emplace_back(sx * (0.26f + 0.32f * t), 0.42f + 0.22f * std::sin(t * 2.6f), -0.12f - 0.62f * t);
            r.push_back(0.085f * (1.0f - t) + 0.008f);
        }
        tube(boneS, glm::mat4(1.0f), horn, r, 10, 0.3f);
        sphere(boneS, T(sx * 0.25f, 0.05f, 0.0f), 0.09f, 10, 6, 0.2f);
    }
    transformModel(m, Rx(38));
    const glm::mat4 game = glm::rotate(glm::mat4(1.0f), -0.7853982f, vec3(1, 0, 0));
    const float low = minY(m, game);
    // Lift along the direction that the game's rotation turns into world up.
    const vec3 up = glm::vec3(glm::inverse(game) * glm::vec4(0, 1, 0, 0));
    transformModel(m, T(up * (-0.5f - low)));
    return m;
}

// Skeleton of a large creature lying on the ground, about 23 units long at scale 8.
Model skeleton1() {
    Model m;
    Surface& boneS = m["bone"];
    Surface& dark = m["rock_dark"];
    std::vector<vec3> spine;
    for (int k = 0; k <= 14; ++k) {
        const float z = -1.5f + 0.19f * static_cast<float>(k);
        spine.emplace_back(0.06f * std::sin(z * 2.0f), 0.12f + 0.08f * std::sin((z + 1.5f) * 1.1f), z);
    }
    tube(boneS, glm::mat4(1.0f), spine, {0.03f, 0.05f}, 8, 0.3f);
    for (std::size_t k = 1; k < spine.size(); k += 1) sphere(boneS, T(spine[k]) * S(1.0f, 1.2f, 0.6f), 0.065f, 8, 6, 0.2f);
    for (int k = 0; k < 7; ++k) {
        const vec3 s = spine[static_cast<std::size_t>(5 + k)];
        const float w = 0.36f - 0.025f * std::fabs(static_cast<float>(k) - 2.0f);
        for (float sx : {-1.0f, 1.0f})
            tube(boneS, glm::mat4(1.0f), {s, s + vec3(sx * w * 0.7f, 0.18f, -0.03f), s + vec3(sx * w, 0.0f, -0.08f), s + vec3(sx * w * 0.85f, -0.14f, -0.1f)},
                 {0.028f, 0.024f, 0.02f, 0.012f}, 6, 0.2f);
    }
    const vec3 head = spine.back() + vec3(0, -0.02f, 0.25f);
    sphere(boneS, T(head) * S(0.8f, 0.7f, 1.0f), 0.2f, 14, 8, 0.2f);
    box(boneS, T(head + vec3(0, -0.05f, 0.22f)), {0.2f, 0.13f, 0.3f}, 0.05f, 0.2f);
    for (float sx : {-1.0f, 1.0f}) sphere(dark, T(head + vec3(sx * 0.09f, 0.04f, 0.1f)), 0.06f, 8, 6, 0.1f);
    box(boneS, T(spine[3] + vec3(0, 0.0f, 0)), {0.4f, 0.12f, 0.18f}, 0.05f, 0.2f);
    const vec3 legs[4][3] = {{{0.25f, 0.05f, -0.9f}, {0.55f, 0.03f, -1.05f}, {0.75f, 0.04f, -0.8f}},
                             {{-0.25f, 0.05f, -0.95f}, {-0.6f, 0.04f, -0.7f}, {-0.65f, 0.03f, -0.4f}},
                             {{0.3f, 0.05f, 0.6f}, {0.6f, 0.04f, 0.75f}, {0.8f, 0.03f, 0.55f}},
                             {{-0.3f, 0.05f, 0.55f}, {-0.55f, 0.04f, 0.35f}, {-0.8f, 0.03f, 0.45f}}};
    for (const auto& l : legs) {
        tube(boneS, glm::mat4(1.0f), {l[0], l[1]}, {0.035f, 0.03f}, 6, 0.2f);
        tube(boneS, glm::mat4(1.0f), {l[1], l[2]}, {0.028f, 0.022f}, 6, 0.2f);
        for (const vec3& p : l) sphere(boneS, T(p), 0.045f, 8, 6, 0.1f);
    }
    return m;
}

// Giant worm rising from the ground, about 40 units tall at scale 8, its origin 26
// units up; the open, toothed mouth looks forward.
Model worm() {
    Model m;
    Surface& skinS = m["worm_skin"];
    Surface& mouth = m["worm_mouth"];
    Surface& boneS = m["bone"];
    Surface& eye = m["glow_green"];
    Surface& rock = m["rock_dark"];
    std::vector<vec3> path;
    std::vector<float> radius;
    for (int k = 0; k <= 16; ++k) {
        const float t = static_cast<float>(k) / 16.0f;
        path.emplace_back(0.35f * std::sin(t * 3.0f), -3.5f + 5.3f * std::sin(t * 1.45f), 1.6f * t * t);
        radius.push_back(1.0f - 0.3f * t);
    }
    tube(skinS, glm::mat4(1.0f), path, radius, 16, 1.0f, false);
    for (std::size_t k = 1; k + 1 < path.size(); k += 2) {
        const vec3 t = glm::normalize(path[k + 1] - path[k - 1]);
        torus(skinS, T(path[k]) * alignY(t), radius[k] * 0.98f, 0.07f, 20, 6, 0.4f);
    }
    const vec3 end = path.back();
    const vec3 dir = glm::normalize(path.back() - path[path.size() - 2]);
    const glm::mat4 at = T(end) * alignY(dir);
    LatheOpts o;
    o.segments = 16;
    o.caps = false;
    o.tileU = o.tileV = 0.6f;
    lathe(mouth, at, {{0.72f, 0.0f}, {0.5f, -0.08f}, {0.2f, -0.3f}, {0.0f, -0.35f}}, o);
    torus(skinS, at, 0.72f, 0.08f, 20, 6, 0.4f);
    for (int k = 0; k < 12; ++k) {
        const float a = glm::radians(30.0f * static_cast<float>(k));
        const vec3 radial(std::cos(a), 0.0f, std::sin(a));
        const vec3 base = radial * 0.6f;
        cone(boneS, at * between(base, base + glm::normalize(-radial * 0.8f + vec3(0, 0.6f, 0))), 0.07f, 0.0f, 0.32f, 6, 0.1f);
    }
    for (float sx : {-1.0f, 1.0f}) {
        const vec3 p = end - dir * 0.35f + vec3(sx * 0.62f, 0.2f, 0.0f);
        sphere(eye, T(p), 0.09f, 10, 6, 0.1f);
        sphere(eye, T(p + vec3(sx * 0.05f, -0.25f, -0.05f)), 0.06f, 8, 6, 0.1f);
    }
    blob(rock, T(0, -3.3f, 0), {1.8f, 0.45f, 1.8f}, 2, 0.3f, 601, 0.8f);
    return m;
}

// Rune monolith about 60 units tall and 26 wide. The game turns it a quarter turn
// about z and scales it (30, 24, 24), so it is built upright and then laid on its
// side here; one unit across = 24 world units.
Model monolith() {
    Model m;
    Surface& stoneS = m["runes_red"];
    Surface& rock = m["rock_dark"];
    Surface& glowS = m["glow_red"];
    extrude(stoneS, glm::mat4(1.0f), {{-0.54f, 0.0f}, {0.54f, 0.0f}, {0.5f, 2.2f}, {0.3f, 2.5f}, {-0.3f, 2.5f}, {-0.5f, 2.2f}}, 0.33f, 0.55f);
    box(rock, T(0, 0.1f, 0), {1.35f, 0.2f, 0.55f}, 0.04f, 0.5f);
    box(rock, T(0, 0.26f, 0), {1.2f, 0.14f, 0.45f}, 0.03f, 0.5f);
    for (float sz : {-1.0f, 1.0f}) {
        box(glowS, T(0, 1.55f, sz * 0.168f), {0.07f, 0.7f, 0.008f}, 0.0f, 0.2f);
        sphere(glowS, T(0, 2.15f, sz * 0.16f) * S(1.0f, 1.0f, 0.3f), 0.1f, 12, 6, 0.2f);
    }
    for (float sx : {-1.0f, 1.0f}) bipyramid(rock, T(sx * 0.85f, 2.0f, 0) * Rz(sx * 15.0f), 0.1f, 0.18f, 0.3f, 4, 0.3f);
    transformModel(m, S(1.0f, 24.0f / 30.0f, 1.0f));
    transformModel(m, Rz(90));
    return m;
}

// Sliding jail gate closing a 50-unit doorway at scale 4.5: it spans x from
// -11.1 to 0 (its origin sits on the edge it slides towards) and 15 units up.
Model jailGate(const std::string& colour) {
    Model m;
    Surface& bars = m["gate_" + colour];
    Surface& dark = m["hull_dark"];
    Surface& glowS = m["glow_" + colour];
    const float w = 50.0f / 4.5f, cx = -w * 0.5f;
    for (int k = 0; k < 11; ++k) {
        const float x = -w + 0.55f + static_cast<float>(k) * (w - 1.1f) / 10.0f;
        cylinder(bars, T(x, 0.5f, 0), 0.16f, 14.0f, 10, 1.0f);
        cone(bars, T(x, 14.5f, 0), 0.2f, 0.0f, 0.5f, 8, 0.5f);
    }
    box(dark, T(cx, 0.4f, 0), {w, 0.8f, 0.55f}, 0.06f, 2.0f);
    box(dark, T(cx, 13.9f, 0), {w, 0.7f, 0.55f}, 0.06f, 2.0f);
    for (float y : {4.6f, 9.6f}) box(bars, T(cx, y, 0), {w - 0.2f, 0.45f, 0.42f}, 0.05f, 2.0f);
    for (float x : {-w + 0.14f, -0.14f}) box(dark, T(x, 7.5f, 0), {0.28f, 15.0f, 0.6f}, 0.05f, 2.0f);
    box(dark, T(cx, 7.2f, 0), {1.7f, 2.1f, 0.75f}, 0.12f, 1.0f);
    for (float sz : {-1.0f, 1.0f}) {
        box(glowS, T(cx, 7.35f, sz * 0.38f), {1.1f, 1.3f, 0.03f}, 0.0f, 0.5f);
        box(dark, T(cx, 7.2f, sz * 0.4f), {0.2f, 0.55f, 0.03f}, 0.0f, 0.2f);
        sphere(dark, T(cx, 7.5f, sz * 0.4f) * S(1.0f, 1.0f, 0.2f), 0.16f, 8, 6, 0.2f);
        for (int k = 0; k < 5; ++k) box(glowS, T(-w + 1.0f + static_cast<float>(k) * (w - 2.0f) / 4.0f, 0.45f, sz * 0.28f), {0.8f, 0.18f, 0.02f}, 0.0f, 0.5f);
    }
    for (int k = 0; k < 3; ++k) sphere(glowS, T(-w * (0.2f + 0.3f * static_cast<float>(k)), 14.3f, 0), 0.22f, 10, 6, 0.3f);
    return m;
}

// Boulder pile at the edge of the world, about 90 wide and 110 tall once drawn at
// (20, 36, 20) with its origin a little above the ground.
Model edgeRock() {
    Model m;
    Surface& rock = m["rock_grey"];
    Surface& dark = m["rock_dark"];
    blob(rock, T(0, 1.3f, 0), {2.2f, 2.8f, 2.0f}, 2, 0.28f, 701, 1.2f);
    blob(rock, T(1.6f, 0.1f, 0.9f), {1.3f, 1.5f, 1.2f}, 2, 0.3f, 702, 1.2f);
    blob(dark, T(-1.5f, -0.1f, -0.7f), {1.2f, 1.2f, 1.3f}, 1, 0.3f, 703, 1.2f);
    blob(dark, T(0.4f, -0.4f, -1.6f), {0.9f, 0.8f, 0.9f}, 1, 0.3f, 704, 1.2f);
    squeeze(m, 20.0f, 36.0f);
    return m;
}

// Flag pole: 44 units from the ground (6 below the origin) to the gilded ball;
// the cloth hangs from its side between 30 and 36.
Model pole() {
    Model m;
    Surface& steel = m["pole_steel"];
    Surface& base = m["concrete"];
    Surface& dark = m["hull_dark"];
    Surface& gold = m["gold"];
    LatheOpts o;
    o.segments = 8;
    o.faceted = true;
    o.smooth = false;
    o.tileU = o.tileV = 3.0f;
    lathe(base, glm::mat4(1.0f), {{0.0f, -6.6f}, {2.8f, -6.6f}, {2.8f, -5.7f}, {1.9f, -5.2f}, {0.0f, -5.2f}}, o);
    cone(steel, T(0, -5.3f, 0), 0.34f, 0.22f, 43.6f, 16, 4.0f);
    torus(steel, T(0, -4.9f, 0), 0.38f, 0.1f, 16, 6, 1.0f);
    sphere(gold, T(0, 38.75f, 0), 0.6f, 16, 8, 1.0f);
    cylinder(gold, T(0, 38.0f, 0), 0.28f, 0.3f, 12, 1.0f);
    cylinder(dark, T(0.32f, -3.0f, 0), 0.035f, 41.0f, 6, 1.0f);
    box(dark, T(0.38f, -2.0f, 0), {0.12f, 0.6f, 0.2f}, 0.03f, 0.5f);
    for (float y : {30.0f, 36.0f}) torus(dark, T(0, y, 0), 0.27f, 0.06f, 12, 6, 0.5f);
    for (int k = 0; k < 4; ++k) {
        const float a = glm::radians(45.0f + 90.0f * static_cast<float>(k));
        cylinder(dark, T(1.4f * std::cos(a), -5.45f, 1.4f * std::sin(a)), 0.12f, 0.35f, 6, 0.5f);
    }
    return m;
}

}  // namespace

void addScenery(std::vector<ModelDef>& out) {
    out.push_back({"Scene/Platform_energy_cell.dae", cellPlatform});
    out.push_back({"Scene/Girl_rescue/girl_rescue.dae", girl});
    out.push_back({"Scene/Spaceship/spaceship.dae", spaceship});
    out.push_back({"Scene/tree_1.dae", tree1});
    out.push_back({"Scene/tree_2.dae", tree2});
    out.push_back({"Scene/rock_1.dae", rock1});
    out.push_back({"Scene/plant_1.dae", plant1});
    out.push_back({"Scene/juncos_1.dae", reeds});
    out.push_back({"Scene/skeleton_head.dae", skeletonHead});
    out.push_back({"Scene/skeleton_1.dae", skeleton1});
    out.push_back({"Scene/Worm_alien.dae", worm});
    out.push_back({"Scene/monolith_alien.dae", monolith});
    out.push_back({"Scene/JailGateRed.dae", [] { return jailGate("red"); }});
    out.push_back({"Scene/JailGateGreen.dae", [] { return jailGate("green"); }});
    out.push_back({"Scene/JailGateYellow.dae", [] { return jailGate("yellow"); }});
    out.push_back({"Rock/LowPolyRock.dae", edgeRock});
    out.push_back({"FlagPole/Pole.dae", pole});
}

}  // namespace assetgen::models
