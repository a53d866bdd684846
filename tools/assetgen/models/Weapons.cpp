// The two guns, drawn in camera space at scale 1 and turned about y by a little
// more than half a turn: the barrel runs along +z and the muzzle of the rifle
// ends near (0.1, 0.6, 4.1), where the muzzle flash is drawn.
#include "Catalog.h"

namespace assetgen::models {
namespace {

using glm::vec3;

void railTeeth(Surface& s, float y, float z0, float z1, float w) {
    for (float z = z0; z < z1; z += 0.15f) box(s, T(0, y, z), {w, 0.035f, 0.07f}, 0.005f, 0.2f);
}

Model assaultRifle() {
    Model m;
    Surface& body = m["gun_body"];
    Surface& dark = m["hull_dark"];
    Surface& grip = m["gun_grip"];
    Surface& accent = m["gun_accent"];
    Surface& glowS = m["glow_cyan"];
    // receiver, rail, handguard
    box(body, T(0, 0.55f, 0.55f), {0.3f, 0.4f, 2.1f}, 0.05f, 1.0f);
    box(dark, T(0, 0.79f, 0.6f), {0.14f, 0.07f, 1.9f}, 0.01f, 0.5f);
    railTeeth(dark, 0.84f, -0.3f, 1.5f, 0.17f);
    box(body, T(0, 0.53f, 2.3f), {0.27f, 0.32f, 1.42f}, 0.07f, 1.0f);
    box(dark, T(0, 0.73f, 2.3f), {0.12f, 0.06f, 1.3f}, 0.01f, 0.5f);
    for (float sx : {-1.0f, 1.0f}) {
        box(accent, T(sx * 0.152f, 0.6f, 0.55f), {0.02f, 0.17f, 0.95f}, 0.01f, 0.4f);
        for (int i = 0; i < 5; ++i) box(glowS, T(sx * 0.137f, 0.53f, 1.85f + 0.2f * static_cast<float>(i)), {0.012f, 0.14f, 0.09f}, 0.0f, 0.2f);
        box(dark, T(sx * 0.152f, 0.45f, 0.05f), {0.02f, 0.06f, 0.3f}, 0.0f, 0.2f);
    }
    // barrel and muzzle
    cylinder(dark, T(0, 0.55f, 2.95f) * Rx(90), 0.055f, 0.95f, 16, 0.3f);
    prism(dark, T(0, 0.55f, 3.8f) * Rx(90), 0.1f, 0.32f, 8, 0.3f);
    for (int i = 0; i < 3; ++i) box(glowS, T(0, 0.55f, 3.87f + 0.08f * static_cast<float>(i)), {0.215f, 0.03f, 0.035f}, 0.0f, 0.2f);
    // energy coil under the handguard
    cylinder(glowS, T(0, 0.33f, 1.7f) * Rx(90), 0.06f, 1.15f, 14, 0.3f);
    for (int i = 0; i < 6; ++i) torus(dark, T(0, 0.33f, 1.75f + 0.21f * static_cast<float>(i)) * Rx(90), 0.065f, 0.018f, 16, 6, 0.1f);
    // magazine, grip, trigger
    box(grip, T(0, 0.08f, 1.05f) * Rx(-12), {0.2f, 0.72f, 0.34f}, 0.03f, 0.5f);
    box(accent, T(0, -0.27f, 1.12f) * Rx(-12), {0.22f, 0.06f, 0.36f}, 0.015f, 0.3f);
    box(grip, T(0, 0.12f, 0.02f) * Rx(18), {0.19f, 0.56f, 0.28f}, 0.06f, 0.5f);
    box(dark, T(0, 0.24f, 0.38f), {0.05f, 0.03f, 0.42f}, 0.01f, 0.2f);
    box(dark, T(0, 0.29f, 0.35f) * Rx(12), {0.035f, 0.12f, 0.035f}, 0.01f, 0.1f);
    // stock
    box(body, T(0, 0.55f, -0.95f), {0.22f, 0.3f, 1.0f}, 0.05f, 1.0f);
    box(body, T(0, 0.32f, -1.05f) * Rx(-14), {0.2f, 0.16f, 0.85f}, 0.04f, 1.0f);
    box(grip, T(0, 0.46f, -1.52f), {0.24f, 0.58f, 0.12f}, 0.04f, 0.4f);
    box(accent, T(0, 0.71f, -0.95f), {0.16f, 0.04f, 0.7f}, 0.015f, 0.3f);
    // holographic sight and front post
    box(dark, T(0, 0.93f, 0.45f), {0.18f, 0.12f, 0.4f}, 0.02f, 0.3f);
    torus(dark, T(0, 1.1f, 0.55f) * Rx(90), 0.1f, 0.022f, 24, 6, 0.1f);
    cylinder(m["scope_lens"], T(0, 1.1f, 0.54f) * Rx(90), 0.085f, 0.012f, 20, 0.2f);
    box(dark, T(0, 0.84f, 2.85f), {0.05f, 0.14f, 0.05f}, 0.01f, 0.1f);
    box(glowS, T(0, 0.92f, 2.85f), {0.03f, 0.02f, 0.03f}, 0.0f, 0.1f);
    box(dark, T(0.19f, 0.64f, 0.05f), {0.09f, 0.05f, 0.12f}, 0.01f, 0.1f);
    return m;
}

Model sniperRifle() {
    Model m;
    Surface& body = m["sniper_body"];
    Surface& dark = m["hull_dark"];
    Surface& grip = m["gun_grip"];
    Surface& lens = m["scope_lens"];
    Surface& glowS = m["glow_red"];
    box(body, T(0, 0.52f, 0.45f), {0.26f, 0.34f, 2.3f}, 0.05f, 1.0f);
    box(dark, T(0, 0.73f, 0.45f), {0.12f, 0.06f, 2.1f}, 0.01f, 0.5f);
    railTeeth(dark, 0.77f, -0.5f, 1.5f, 0.15f);
    // fluted shroud, long barrel, muzzle brake
    prism(body, T(0, 0.52f, 1.55f) * Rx(90), 0.12f, 1.5f, 6, 0.5f);
    for (int i = 0; i < 6; ++i) box(glowS, T(0, 0.52f, 1.75f + 0.22f * static_cast<float>(i)) * Rz(90), {0.245f, 0.02f, 0.08f}, 0.0f, 0.2f);
    cylinder(dark, T(0, 0.52f, 3.0f) * Rx(90), 0.05f, 1.6f, 16, 0.3f);
    box(dark, T(0, 0.52f, 4.65f), {0.18f, 0.12f, 0.34f}, 0.02f, 0.2f);
    for (int i = 0; i < 3; ++i) box(glowS, T(0, 0.52f, 4.56f + 0.09f * static_cast<float>(i)), {0.19f, 0.08f, 0.03f}, 0.0f, 0.1f);
    // scope
    LatheOpts o;
    o.segments = 24;
    o.tileU = 0.4f;
    o.tileV = 0.4f;
    lathe(dark, T(0, 1.02f, -0.35f) * Rx(90),
          {{0.15f, 0.0f}, {0.15f, 0.22f}, {0.1f, 0.36f}, {0.095f, 1.2f}, {0.17f, 1.42f}, {0.17f, 1.75f}}, o);
    cylinder(lens, T(0, 1.02f, 1.4f) * Rx(90), 0.15f, 0.012f, 24, 0.2f);
    cylinder(lens, T(0, 1.02f, -0.362f) * Rx(90), 0.13f, 0.014f, 24, 0.2f);
    cylinder(body, T(0, 1.12f, 0.45f), 0.06f, 0.08f, 16, 0.2f);
    cylinder(body, T(0.1f, 1.02f, 0.45f) * Rz(-90), 0.06f, 0.08f, 16, 0.2f);
    for (float z : {0.05f, 0.95f}) {
        box(dark, T(0, 0.86f, z), {0.1f, 0.16f, 0.1f}, 0.01f, 0.2f);
        torus(dark, T(0, 1.02f, z) * Rx(90), 0.11f, 0.022f, 20, 6, 0.1f);
    }
    // magazine, grip, trigger guard
    box(grip, T(0, 0.2f, 0.95f), {0.18f, 0.42f, 0.3f}, 0.03f, 0.4f);
    box(grip, T(0, 0.1f, -0.1f) * Rx(20), {0.18f, 0.55f, 0.26f}, 0.06f, 0.5f);
    box(dark, T(0, 0.27f, 0.3f), {0.05f, 0.03f, 0.4f}, 0.01f, 0.2f);
    box(dark, T(0, 0.31f, 0.27f) * Rx(12), {0.035f, 0.11f, 0.035f}, 0.01f, 0.1f);
    // skeleton stock with cheek rest
    box(body, T(0, 0.62f, -1.25f), {0.2f, 0.15f, 1.3f}, 0.04f, 1.0f);
    box(body, T(0, 0.26f, -1.3f) * Rx(-8), {0.18f, 0.1f, 1.1f}, 0.03f, 1.0f);
    box(grip, T(0, 0.8f, -1.2f), {0.18f, 0.12f, 0.6f}, 0.04f, 0.4f);
    box(grip, T(0, 0.45f, -1.92f), {0.22f, 0.62f, 0.12f}, 0.04f, 0.4f);
    box(body, T(0, 0.45f, -0.55f), {0.2f, 0.3f, 0.12f}, 0.02f, 0.4f);
    // folded bipod
    for (float sx : {-0.06f, 0.06f}) {
        tube(dark, glm::mat4(1.0f), {vec3(sx, 0.36f, 2.1f), vec3(sx, 0.36f, 3.2f)}, {0.025f}, 8, 0.2f);
        box(grip, T(sx, 0.36f, 3.24f), {0.05f, 0.05f, 0.08f}, 0.01f, 0.1f);
    }
    box(dark, T(0, 0.4f, 2.05f), {0.2f, 0.08f, 0.12f}, 0.02f, 0.2f);
    return m;
}

}  // namespace

void addWeapons(std::vector<ModelDef>& out) {
    out.push_back({"Weapons/Sci-fi_AssaultRifle/AssaultRifle.dae", assaultRifle});
    out.push_back({"Weapons/Sci-fi_SniperRifle/SniperRifle.dae", sniperRifle});
}

}  // namespace assetgen::models
