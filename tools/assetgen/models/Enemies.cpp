// Hostile drones. The game spins them about y and draws them a few units above
// the ground, so they are built round the y axis and about 10 to 15 world units
// across once scaled.
#include <cmath>

#include "Catalog.h"

namespace assetgen::models {
namespace {

using glm::vec3;

// Quad-rotor with a single red eye; drawn at scale 10, so about 1.4 units across.
Model cildrone() {
    Model m;
    Surface& hull = m["hull_white"];
    Surface& dark = m["hull_dark"];
    Surface& eye = m["glow_red"];
    const float cy = 0.4f;
    sphere(hull, T(0, cy, 0) * S(1.0f, 0.78f, 1.0f), 0.32f, 22, 11, 0.35f);
    torus(dark, T(0, cy, 0), 0.315f, 0.035f, 36, 8, 0.2f);
    cylinder(dark, T(0, cy, 0.2f) * Rx(90), 0.14f, 0.13f, 24, 0.2f);
    sphere(eye, T(0, cy, 0.33f), 0.105f, 20, 10, 0.2f);
    torus(dark, T(0, cy, 0.33f) * Rx(90), 0.11f, 0.02f, 24, 6, 0.1f);
    for (int k = 0; k < 4; ++k) {
        const float a = glm::radians(45.0f + 90.0f * static_cast<float>(k));
        const vec3 dir(std::cos(a), 0.0f, std::sin(a));
        const vec3 hub = vec3(0, cy + 0.06f, 0) + dir * 0.5f;
        tube(dark, glm::mat4(1.0f), {vec3(0, cy, 0) + dir * 0.22f, hub - dir * 0.06f}, {0.045f, 0.035f}, 10, 0.2f);
        torus(hull, T(hub), 0.18f, 0.032f, 32, 8, 0.2f);
        cylinder(dark, T(hub - vec3(0, 0.07f, 0)), 0.055f, 0.12f, 16, 0.2f);
        for (int b = 0; b < 2; ++b)
            box(dark, T(hub + vec3(0, 0.055f, 0)) * Ry(30.0f * k + 90.0f * b), {0.32f, 0.012f, 0.045f}, 0.004f, 0.2f);
        sphere(eye, T(hub + vec3(0, -0.1f, 0)), 0.028f, 10, 6, 0.1f);
        for (int s = 0; s < 2; ++s) {  // duct struts
            const float sa = a + glm::radians(s ? 90.0f : -90.0f);
            tube(dark, glm::mat4(1.0f), {hub, hub + vec3(std::cos(sa), 0, std::sin(sa)) * 0.165f}, {0.012f}, 6, 0.1f);
        }
    }
    sphere(dark, T(0, cy - 0.23f, 0), 0.1f, 16, 8, 0.2f);
    cylinder(dark, T(0, cy - 0.45f, 0.04f), 0.025f, 0.2f, 10, 0.1f);
    tube(dark, glm::mat4(1.0f), {vec3(0.05f, cy + 0.22f, -0.05f), vec3(0.08f, cy + 0.45f, -0.12f)}, {0.012f, 0.008f}, 6, 0.1f);
    sphere(eye, T(0.08f, cy + 0.46f, -0.12f), 0.02f, 8, 6, 0.1f);
    return m;
}

// Saucer-shaped scout with two ducted fans; drawn at scale 5 (about 2.6 across).
Model recondrone(int variant) {
    Model m;
    const std::string hullName = variant == 0 ? "hull_dark" : "hull_bronze";
    const std::string glowName = variant == 0 ? "glow_cyan" : "glow_orange";
    Surface& hull = m[hullName];
    Surface& trim = m[variant == 0 ? "hull_grey" : "hull_dark"];
    Surface& light = m[glowName];
    LatheOpts o;
    o.segments = 40;
    o.tileU = 0.8f;
    o.tileV = 0.5f;
    lathe(hull, glm::mat4(1.0f),
          {{0.0f, -0.34f}, {0.45f, -0.3f}, {0.75f, -0.14f}, {0.84f, -0.02f}, {0.8f, 0.08f}, {0.55f, 0.22f}, {0.3f, 0.28f},
           {0.0f, 0.3f}},
          o);
    torus(trim, glm::mat4(1.0f), 0.83f, 0.05f, 48, 8, 0.3f);
    sphere(light, T(0, 0.27f, 0) * S(1.0f, 0.55f, 1.0f), 0.3f, 24, 10, 0.3f);
    for (int k = 0; k < 10; ++k) {
        const float a = glm::radians(36.0f * static_cast<float>(k) + 18.0f);
        sphere(light, T(0.86f * std::cos(a), 0.02f, 0.86f * std::sin(a)), 0.045f, 10, 6, 0.1f);
    }
    cylinder(trim, T(0, -0.08f, 0.55f) * Rx(90), 0.16f, 0.3f, 20, 0.3f);
    sphere(light, T(0, -0.08f, 0.86f), 0.12f, 20, 10, 0.2f);
    torus(hull, T(0, -0.08f, 0.85f) * Rx(90), 0.14f, 0.03f, 24, 6, 0.2f);
    for (float sx : {-1.0f, 1.0f}) {
        const vec3 c(sx * 1.06f, 0.02f, -0.05f);
        tube(trim, glm::mat4(1.0f), {vec3(sx * 0.72f, 0.0f, -0.05f), c - vec3(sx * 0.2f, 0, 0)}, {0.07f, 0.05f}, 10, 0.2f);
        torus(hull, T(c), 0.23f, 0.05f, 32, 8, 0.3f);
        cylinder(trim, T(c - vec3(0, 0.06f, 0)), 0.06f, 0.12f, 12, 0.2f);
        for (int b = 0; b < 3; ++b)
            box(trim, T(c + vec3(0, 0.04f, 0)) * Ry(60.0f * b), {0.4f, 0.012f, 0.06f}, 0.005f, 0.2f);
        sphere(light, T(c + vec3(sx * 0.24f, 0, 0)), 0.04f, 10, 6, 0.1f);
    }
    if (variant == 0) {
        tube(trim, glm::mat4(1.0f), {vec3(0, 0.4f, -0.2f), vec3(0, 0.75f, -0.35f)}, {0.02f, 0.012f}, 6, 0.1f);
        sphere(light, T(0, 0.76f, -0.36f), 0.035f, 8, 6, 0.1f);
        sphere(trim, T(0, -0.34f, 0), 0.16f, 16, 8, 0.2f);
        sphere(light, T(0, -0.46f, 0), 0.06f, 10, 6, 0.1f);
    } else {
        for (int k = 0; k < 4; ++k)
            extrude(trim, Ry(45.0f + 90.0f * k) * T(0.35f, -0.3f, 0), {{0.0f, 0.0f}, {0.35f, 0.0f}, {0.1f, -0.28f}}, 0.03f, 0.2f);
        for (float sx : {-0.12f, 0.12f}) {
            tube(trim, glm::mat4(1.0f), {vec3(sx, 0.35f, -0.1f), vec3(sx * 1.6f, 0.62f, -0.3f)}, {0.018f, 0.01f}, 6, 0.1f);
            sphere(light, T(sx * 1.6f, 0.63f, -0.3f), 0.03f, 8, 6, 0.1f);
        }
    }
    return m;
}

// Floating pyramid with one great eye and an orbiting ring; the game stretches it
// by 6.5 upwards and 4.3 across, so round details are squashed here to compensate.
Model pyramidEnemy(int variant) {
    Model m;
    Surface& body = m[variant == 0 ? "obsidian_red" : "hull_bronze"];
    Surface& glowS = m[variant == 0 ? "glow_red" : "glow_cyan"];
    Surface& dark = m["hull_dark"];
    const glm::mat4 squash = S(1.0f, 4.3f / 6.5f, 1.0f);
    pyramid(body, T(0, -0.3f, 0), 1.3f, 1.45f, 4, 0.9f);
    pyramid(body, T(0, -0.3f, 0) * Rx(180), 1.3f, 0.5f, 4, 0.9f);
    for (int k = 0; k < 4; ++k) {  // the eye on each face so it always watches
        const glm::mat4 face = Ry(90.0f * k);
        sphere(glowS, face * T(0, 0.2f, 0.55f) * squash * S(1.0f, 1.0f, 0.45f), 0.24f, 20, 10, 0.2f);
        sphere(dark, face * T(0, 0.2f, 0.64f) * squash * S(1.0f, 1.0f, 0.5f), 0.1f, 14, 8, 0.2f);
        box(dark, face * T(0, 0.2f, 0.52f) * Rx(-16) * S(1, 4.3f / 6.5f, 1), {0.62f, 0.62f, 0.05f}, 0.05f, 0.3f);
    }
    torus(glowS, T(0, -0.3f, 0) * squash, 1.5f, 0.045f, 48, 8, 0.3f);
    torus(dark, T(0, -0.3f, 0) * squash, 1.5f, 0.02f, 48, 6, 0.3f);
    for (int k = 0; k < 4; ++k) {
        const float a = glm::radians(90.0f * static_cast<float>(k));
        sphere(glowS, T(1.5f * std::cos(a), -0.3f, 1.5f * std::sin(a)) * squash, 0.09f, 12, 8, 0.1f);
    }
    bipyramid(glowS, T(0, 1.37f, 0), 0.13f, 0.15f, 0.3f, 4, 0.2f);
    bipyramid(glowS, T(0, -0.95f, 0), 0.1f, 0.25f, 0.1f, 4, 0.2f);
    return m;
}

// Flying cyber-skull; drawn at scale 12 (about 0.9 across).
Model skullEnemy(int variant) {
    Model m;
    Surface& bone = m[variant == 0 ? "bone" : "chrome"];
    Surface& dark = m["hull_dark"];
    Surface& eye = m[variant == 0 ? "glow_red" : "glow_green"];
    Surface& metal = m[variant == 0 ? "hull_grey" : "hull_dark"];
    sphere(bone, T(0, 0.32f, -0.05f) * S(0.86f, 0.86f, 1.0f), 0.42f, 22, 11, 0.4f);
    box(bone, T(0, 0.08f, 0.2f), {0.46f, 0.3f, 0.34f}, 0.09f, 0.3f);
    box(bone, T(0, -0.14f, 0.16f), {0.38f, 0.12f, 0.3f}, 0.05f, 0.3f);
    for (float sx : {-1.0f, 1.0f}) {
        sphere(bone, T(sx * 0.2f, 0.12f, 0.26f) * S(1.0f, 0.7f, 1.0f), 0.1f, 14, 8, 0.2f);
        tube(bone, glm::mat4(1.0f), {vec3(sx * 0.18f, -0.14f, 0.03f), vec3(sx * 0.22f, 0.05f, -0.05f)}, {0.05f, 0.04f}, 8, 0.2f);
        sphere(dark, T(sx * 0.13f, 0.23f, 0.3f) * S(1.0f, 0.9f, 0.7f), 0.105f, 16, 8, 0.2f);
        sphere(eye, T(sx * 0.13f, 0.23f, 0.35f), 0.05f, 12, 8, 0.1f);
        cylinder(metal, T(sx * 0.36f, 0.22f, -0.05f) * Rz(sx * -90.0f), 0.08f, 0.14f, 16, 0.2f);
        cylinder(eye, T(sx * 0.5f, 0.22f, -0.05f) * Rz(sx * -90.0f), 0.05f, 0.02f, 12, 0.1f);
    }
    pyramid(dark, T(0, 0.15f, 0.355f) * Rx(180), 0.05f, 0.1f, 3, 0.1f);
    for (int i = -3; i <= 3; ++i) {
        box(bone, T(static_cast<float>(i) * 0.05f, -0.04f, 0.36f - 0.004f * static_cast<float>(i * i)), {0.04f, 0.07f, 0.03f}, 0.008f, 0.1f);
        box(bone, T(static_cast<float>(i) * 0.05f, -0.12f, 0.33f - 0.004f * static_cast<float>(i * i)), {0.04f, 0.06f, 0.03f}, 0.008f, 0.1f);
    }
    if (variant == 0) {
        box(metal, T(0, 0.66f, -0.08f) * Rx(-8), {0.3f, 0.08f, 0.45f}, 0.03f, 0.2f);
        for (float sx : {-0.1f, 0.1f}) {
            tube(metal, glm::mat4(1.0f), {vec3(sx, 0.68f, -0.2f), vec3(sx * 1.4f, 0.95f, -0.32f)}, {0.015f, 0.01f}, 6, 0.1f);
            sphere(eye, T(sx * 1.4f, 0.96f, -0.32f), 0.025f, 8, 6, 0.1f);
        }
    } else {
        for (float sx : {-1.0f, 1.0f}) {
            std::vector<vec3> path;
            std::vector<float> rad;
            for (int k = 0; k <= 8; ++k) {
                const float t = static_cast<float>(k) / 8.0f;
                path.emplace_back(sx * (0.25f + 0.3f * t), 0.5f + 0.35f * t - 0.1f * t * t, -0.05f - 0.25f * t * t);
                rad.push_back(0.07f * (1.0f - t) + 0.004f);
            }
            tube(dark, glm::mat4(1.0f), path, rad, 10, 0.2f);
        }
        for (int k = 0; k < 5; ++k)
            cone(dark, T(0, 0.6f, -0.3f + 0.12f * k) * Rx(-20.0f + 12.0f * k) * T(0, 0.1f, 0), 0.04f, 0.0f, 0.14f, 8, 0.1f);
    }
    return m;
}

}  // namespace

void addEnemies(std::vector<ModelDef>& out) {
    out.push_back({"Enemy/cildrone.dae", cildrone});
    out.push_back({"Enemy/recondrone.dae", [] { return recondrone(0); }});
    out.push_back({"Enemy/recondrone_2.dae", [] { return recondrone(1); }});
    out.push_back({"Enemy/enemy_pyramid.dae", [] { return pyramidEnemy(0); }});
    out.push_back({"Enemy/enemy_pyramid_2.dae", [] { return pyramidEnemy(1); }});
    out.push_back({"Enemy/enemy_skull.dae", [] { return skullEnemy(0); }});
    out.push_back({"Enemy/enemy_skull_2.dae", [] { return skullEnemy(1); }});
}

}  // namespace assetgen::models
