// Pick-ups. Most of them spin above the ground at the height the game gives
// them, so they are centred on the y axis; the native sizes follow from the very
// different scales the game draws them with (0.015 for the health pack, 80 for
// the scanner card).
#include <cmath>

#include "Catalog.h"

namespace assetgen::models {
namespace {

using glm::vec3;

// White first-aid case, about 6 world units across at scale 0.015.
Model health() {
    Model m;
    Surface& white = m["plastic_white"];
    Surface& red = m["cross_red"];
    Surface& grey = m["hull_grey"];
    box(white, glm::mat4(1.0f), {380.0f, 240.0f, 260.0f}, 30.0f, 200.0f);
    box(grey, T(0, 40.0f, 0), {386.0f, 14.0f, 266.0f}, 6.0f, 100.0f);
    for (float sz : {-1.0f, 1.0f}) {
        box(red, T(0, -10.0f, sz * 130.0f), {150.0f, 46.0f, 10.0f}, 4.0f, 60.0f);
        box(red, T(0, -10.0f, sz * 130.0f), {46.0f, 150.0f, 10.0f}, 4.0f, 60.0f);
        for (float sx : {-1.0f, 1.0f}) box(grey, T(sx * 135.0f, 40.0f, sz * 133.0f), {34.0f, 50.0f, 10.0f}, 4.0f, 60.0f);
    }
    for (float sx : {-1.0f, 1.0f}) {
        box(red, T(sx * 190.0f, -10.0f, 0), {10.0f, 40.0f, 120.0f}, 3.0f, 60.0f);
        box(red, T(sx * 190.0f, -10.0f, 0), {10.0f, 120.0f, 40.0f}, 3.0f, 60.0f);
    }
    tube(grey, glm::mat4(1.0f),
         {{-95, 115, 0}, {-95, 155, 0}, {-80, 175, 0}, {-55, 182, 0}, {55, 182, 0}, {80, 175, 0}, {95, 155, 0}, {95, 115, 0}},
         {14.0f}, 12, 60.0f);
    return m;
}

// Medical canister with a glowing red core, about 8 units tall at scale 5.
Model extraHealth() {
    Model m;
    Surface& white = m["plastic_white"];
    Surface& core = m["glow_red"];
    Surface& grey = m["hull_grey"];
    Surface& red = m["cross_red"];
    LatheOpts o;
    o.segments = 28;
    o.smooth = false;
    o.tileU = 0.6f;
    o.tileV = 0.4f;
    lathe(white, glm::mat4(1.0f), {{0.0f, -0.8f}, {0.42f, -0.8f}, {0.48f, -0.74f}, {0.48f, -0.5f}, {0.38f, -0.44f}, {0.0f, -0.44f}}, o);
    lathe(white, glm::mat4(1.0f), {{0.0f, 0.44f}, {0.38f, 0.44f}, {0.48f, 0.5f}, {0.48f, 0.74f}, {0.42f, 0.8f}, {0.0f, 0.8f}}, o);
    cylinder(core, T(0, -0.46f, 0), 0.3f, 0.92f, 28, 0.6f);
    for (float y : {-0.22f, 0.0f, 0.22f}) torus(grey, T(0, y, 0), 0.305f, 0.025f, 28, 6, 0.2f);
    for (int k = 0; k < 4; ++k) {
        const float a = glm::radians(45.0f + 90.0f * static_cast<float>(k));
        box(white, T(0.37f * std::cos(a), 0, 0.37f * std::sin(a)) * Ry(-glm::degrees(a)), {0.1f, 0.92f, 0.08f}, 0.02f, 0.4f);
    }
    box(red, T(0, 0.815f, 0), {0.44f, 0.04f, 0.13f}, 0.01f, 0.3f);
    box(red, T(0, 0.815f, 0), {0.13f, 0.04f, 0.44f}, 0.01f, 0.3f);
    for (int k = 0; k < 4; ++k) {
        const glm::mat4 face = Ry(90.0f * static_cast<float>(k)) * T(0, -0.62f, 0.485f);
        box(red, face, {0.2f, 0.06f, 0.02f}, 0.005f, 0.2f);
        box(red, face, {0.06f, 0.2f, 0.02f}, 0.005f, 0.2f);
    }
    return m;
}

// Open crate of energy rounds, about 7 units long at scale 8.
Model ammo() {
    Model m;
    Surface& crate = m["ammo_olive"];
    Surface& dark = m["hull_dark"];
    Surface& brass = m["brass"];
    Surface& tip = m["glow_cyan"];
    box(crate, T(0, -0.1f, 0), {0.9f, 0.42f, 0.5f}, 0.03f, 0.5f);
    box(dark, T(0, 0.12f, 0), {0.92f, 0.05f, 0.52f}, 0.012f, 0.3f);
    for (float sx : {-1.0f, 1.0f}) {
        tube(dark, glm::mat4(1.0f), {{sx * 0.45f, 0.0f, -0.12f}, {sx * 0.52f, 0.0f, -0.1f}, {sx * 0.52f, 0.0f, 0.1f}, {sx * 0.45f, 0.0f, 0.12f}},
             {0.018f}, 6, 0.1f);
        box(dark, T(sx * 0.36f, -0.1f, 0), {0.05f, 0.44f, 0.52f}, 0.01f, 0.3f);
    }
    for (int r = 0; r < 2; ++r)
        for (int i = 0; i < 6; ++i) {
            const vec3 p(-0.3f + 0.12f * static_cast<float>(i), 0.12f, -0.09f + 0.18f * static_cast<float>(r));
            const float lean = (i % 2 ? 6.0f : -4.0f) + static_cast<float>(r) * 3.0f;
            const glm::mat4 at = T(p) * Rz(lean);
            cylinder(brass, at, 0.045f, 0.22f, 14, 0.2f);
            torus(brass, at * T(0, 0.02f, 0), 0.047f, 0.008f, 14, 4, 0.1f);
            cone(tip, at * T(0, 0.22f, 0), 0.042f, 0.01f, 0.1f, 14, 0.1f);
        }
    return m;
}

// Cloaking node disguised as a chest, 10 units wide at scale 0.1; it stands on the
// ground 5 units below its origin.
Model chest() {
    Model m;
    Surface& wood = m["wood_chest"];
    Surface& iron = m["iron"];
    Surface& gold = m["gold"];
    Surface& glowS = m["glow_cyan"];
    box(wood, T(0, -27.0f, 0), {100.0f, 46.0f, 62.0f}, 2.0f, 40.0f);
    std::vector<glm::vec2> half, band;
    for (int k = 0; k <= 16; ++k) {
        const float a = glm::radians(180.0f * static_cast<float>(k) / 16.0f);
        half.emplace_back(31.0f * std::cos(a), 22.0f * std::sin(a));
    }
    for (int k = 0; k <= 16; ++k) {
        const float a = glm::radians(180.0f * static_cast<float>(k) / 16.0f);
        band.emplace_back(33.0f * std::cos(a), 24.0f * std::sin(a));
    }
    for (int k = 16; k >= 0; --k) {
        const float a = glm::radians(180.0f * static_cast<float>(k) / 16.0f);
        band.emplace_back(30.5f * std::cos(a), 21.5f * std::sin(a));
    }
    extrude(wood, T(0, -3.0f, 0) * Ry(90), half, 100.0f, 40.0f);
    for (float x : {-36.0f, 36.0f}) {
        box(iron, T(x, -27.0f, 0), {7.0f, 47.0f, 64.0f}, 1.0f, 30.0f);
        extrude(iron, T(x, -3.0f, 0) * Ry(90), band, 7.0f, 30.0f);
    }
    for (float sx : {-1.0f, 1.0f})
        for (float sz : {-1.0f, 1.0f}) {
            box(iron, T(sx * 48.0f, -27.0f, sz * 29.0f), {6.0f, 47.0f, 6.0f}, 1.0f, 20.0f);
            box(iron, T(sx * 44.0f, -49.0f, sz * 26.0f), {10.0f, 4.0f, 10.0f}, 1.0f, 20.0f);
        }
    box(gold, T(0, -10.0f, 31.5f), {18.0f, 22.0f, 3.0f}, 1.0f, 20.0f);
    box(glowS, T(0, -12.0f, 33.2f), {3.5f, 9.0f, 1.0f}, 0.0f, 10.0f);
    box(glowS, T(0, -3.5f, 0), {101.0f, 1.6f, 63.0f}, 0.0f, 20.0f);
    for (float sx : {-1.0f, 1.0f}) box(glowS, T(sx * 50.6f, -27.0f, 0), {1.0f, 6.0f, 30.0f}, 0.0f, 10.0f);
    return m;
}

// Energy cell for the ship, about 8 units tall at scale 4, floating 2 up.
Model energyCell() {
    Model m;
    Surface& cap = m["hull_grey"];
    Surface& dark = m["hull_dark"];
    Surface& core = m["glow_cyan"];
    Surface& haz = m["hazard"];
    LatheOpts o;
    o.segments = 28;
    o.smooth = false;
    o.tileU = 0.5f;
    o.tileV = 0.3f;
    lathe(cap, glm::mat4(1.0f), {{0.0f, -0.4f}, {0.34f, -0.4f}, {0.4f, -0.33f}, {0.4f, -0.1f}, {0.3f, -0.05f}, {0.0f, -0.05f}}, o);
    lathe(cap, glm::mat4(1.0f), {{0.0f, 1.2f}, {0.3f, 1.2f}, {0.4f, 1.25f}, {0.4f, 1.42f}, {0.3f, 1.5f}, {0.0f, 1.5f}}, o);
    cylinder(haz, T(0, -0.28f, 0), 0.405f, 0.12f, 28, 0.4f);
    cylinder(core, T(0, -0.06f, 0), 0.25f, 1.27f, 24, 0.5f);
    for (float y : {0.25f, 0.58f, 0.91f}) torus(dark, T(0, y, 0), 0.255f, 0.03f, 24, 6, 0.2f);
    for (int k = 0; k < 3; ++k) {
        const float a = glm::radians(120.0f * static_cast<float>(k));
        box(cap, T(0.33f * std::cos(a), 0.575f, 0.33f * std::sin(a)) * Ry(-glm::degrees(a)), {0.07f, 1.3f, 0.1f}, 0.02f, 0.4f);
    }
    for (int k = 0; k < 2; ++k) {
        const float x = k ? 0.12f : -0.12f;
        cylinder(dark, T(x, 1.5f, 0), 0.05f, 0.1f, 12, 0.1f);
        sphere(core, T(x, 1.62f, 0), 0.04f, 10, 6, 0.1f);
    }
    return m;
}

// Scanner card standing on edge: 6 units wide at scale 80.
Model scannerCard() {
    Model m;
    Surface& card = m["circuit_blue"];
    Surface& gold = m["gold"];
    Surface& glowS = m["glow_cyan"];
    Surface& dark = m["hull_dark"];
    box(card, T(0, 0.035f, 0), {0.075f, 0.048f, 0.003f}, 0.0015f, 0.075f);
    for (float sz : {-1.0f, 1.0f}) {
        box(gold, T(-0.022f, 0.043f, sz * 0.0016f), {0.013f, 0.011f, 0.001f}, 0.0f, 0.02f);
        box(glowS, T(0, 0.019f, sz * 0.0016f), {0.066f, 0.0035f, 0.0008f}, 0.0f, 0.02f);
        box(dark, T(0.019f, 0.045f, sz * 0.0016f), {0.024f, 0.016f, 0.0008f}, 0.0f, 0.02f);
        box(glowS, T(0.019f, 0.045f, sz * 0.002f), {0.004f, 0.012f, 0.0006f}, 0.0f, 0.02f);
        box(glowS, T(0.019f, 0.045f, sz * 0.002f), {0.02f, 0.0025f, 0.0006f}, 0.0f, 0.02f);
    }
    torus(glowS, T(0, 0.035f, 0) * Rx(90), 0.055f, 0.0012f, 40, 4, 0.02f);
    return m;
}

// Plasma injector: a horizontal device about 10 units long at scale 8.
Model engineDevice() {
    Model m;
    Surface& hull = m["hull_white"];
    Surface& dark = m["hull_dark"];
    Surface& plasma = m["glow_violet"];
    Surface& chrome = m["chrome"];
    const glm::mat4 along = T(-0.55f, 0, 0) * Rz(-90);
    LatheOpts o;
    o.segments = 28;
    o.smooth = false;
    o.tileU = 0.5f;
    o.tileV = 0.3f;
    lathe(hull, along, {{0.0f, 0.0f}, {0.14f, 0.0f}, {0.2f, 0.05f}, {0.2f, 0.25f}, {0.24f, 0.3f}, {0.24f, 0.62f}, {0.19f, 0.66f}, {0.0f, 0.66f}}, o);
    lathe(hull, along, {{0.0f, 0.95f}, {0.16f, 0.95f}, {0.12f, 1.05f}, {0.08f, 1.1f}, {0.0f, 1.1f}}, o);
    cylinder(plasma, along * T(0, 0.64f, 0), 0.17f, 0.33f, 24, 0.4f);
    for (int k = 0; k < 6; ++k)
        box(dark, T(0.255f, 0, 0) * Rx(60.0f * static_cast<float>(k)) * T(0, 0.175f, 0), {0.33f, 0.025f, 0.035f}, 0.006f, 0.2f);
    for (float x : {-0.2f, -0.05f, 0.1f}) torus(plasma, T(x, 0, 0) * Rz(90), 0.243f, 0.022f, 28, 6, 0.2f);
    for (int k = 0; k < 8; ++k)
        box(dark, T(-0.45f, 0, 0) * Rx(45.0f * static_cast<float>(k)) * T(0, 0.24f, 0), {0.16f, 0.12f, 0.02f}, 0.005f, 0.2f);
    cone(chrome, T(0.55f, 0, 0) * Rz(-90), 0.07f, 0.012f, 0.28f, 16, 0.2f);
    sphere(plasma, T(0.84f, 0, 0), 0.025f, 10, 6, 0.1f);
    tube(dark, glm::mat4(1.0f), {{-0.3f, 0.23f, 0}, {-0.28f, 0.33f, 0}, {0.0f, 0.35f, 0}, {0.28f, 0.33f, 0}, {0.3f, 0.23f, 0}}, {0.025f}, 8, 0.1f);
    return m;
}

// Spray bottle of blue repellent, 6 units tall at scale 8.
Model repellent() {
    Model m;
    Surface& glassS = m["glass_blue"];
    Surface& white = m["plastic_white"];
    Surface& dark = m["hull_dark"];
    Surface& glowS = m["glow_blue"];
    LatheOpts o;
    o.segments = 28;
    o.tileU = 0.4f;
    o.tileV = 0.4f;
    lathe(glassS, glm::mat4(1.0f),
          {{0.0f, -0.3f}, {0.14f, -0.3f}, {0.165f, -0.28f}, {0.17f, -0.2f}, {0.17f, 0.1f}, {0.15f, 0.17f}, {0.09f, 0.22f}, {0.065f, 0.25f}, {0.065f, 0.29f}, {0.0f, 0.29f}},
          o);
    cylinder(white, T(0, -0.17f, 0), 0.174f, 0.2f, 28, 0.3f);
    torus(glowS, T(0, -0.07f, 0), 0.175f, 0.008f, 28, 4, 0.1f);
    sphere(glowS, T(0, -0.07f, 0.17f) * S(1.0f, 1.3f, 0.4f), 0.04f, 12, 6, 0.1f);
    cylinder(white, T(0, 0.27f, 0), 0.075f, 0.08f, 20, 0.2f);
    box(white, T(0, 0.38f, 0.015f), {0.09f, 0.07f, 0.13f}, 0.02f, 0.2f);
    cylinder(dark, T(0, 0.385f, 0.08f) * Rx(90), 0.012f, 0.02f, 8, 0.1f);
    box(dark, T(0, 0.33f, -0.05f) * Rx(25), {0.05f, 0.08f, 0.02f}, 0.008f, 0.1f);
    return m;
}

// Red inductor crystal in a gold holder, 7 units tall at scale 10.
Model redCrystal() {
    Model m;
    Surface& crys = m["crystal_red"];
    Surface& gold = m["gold"];
    Surface& glowS = m["glow_red"];
    bipyramid(crys, glm::mat4(1.0f), 0.15f, 0.22f, 0.45f, 6, 0.2f);
    bipyramid(crys, T(0.09f, -0.05f, 0.05f) * Rz(-28) * Rx(8), 0.08f, 0.1f, 0.28f, 6, 0.2f);
    bipyramid(crys, T(-0.09f, -0.06f, -0.03f) * Rz(30) * Rx(-12), 0.07f, 0.08f, 0.24f, 6, 0.2f);
    bipyramid(crys, T(0.0f, -0.08f, -0.1f) * Rx(-32), 0.06f, 0.06f, 0.2f, 6, 0.2f);
    torus(gold, T(0, -0.12f, 0), 0.17f, 0.028f, 28, 8, 0.1f);
    for (int k = 0; k < 3; ++k) {
        const float a = glm::radians(120.0f * static_cast<float>(k) + 30.0f);
        const vec3 d(std::cos(a), 0, std::sin(a));
        tube(gold, glm::mat4(1.0f), {d * 0.17f + vec3(0, -0.12f, 0), d * 0.16f + vec3(0, 0.0f, 0), d * 0.11f + vec3(0, 0.1f, 0)}, {0.02f, 0.016f, 0.01f}, 6, 0.1f);
    }
    bipyramid(gold, T(0, -0.2f, 0), 0.08f, 0.1f, 0.04f, 6, 0.1f);
    sphere(glowS, T(0, -0.31f, 0), 0.025f, 8, 6, 0.1f);
    return m;
}

// Key standing upright, about 4.5 units tall at scale 8.
Model key(const std::string& colour) {
    Model m;
    Surface& metal = m["paint_" + colour];
    Surface& gem = m["glow_" + colour];
    Surface& gold = m["gold"];
    torus(metal, T(0, 0.2f, 0) * Rx(90), 0.1f, 0.03f, 28, 8, 0.1f);
    sphere(gem, T(0, 0.2f, 0) * S(1.0f, 1.0f, 0.55f), 0.065f, 16, 8, 0.1f);
    torus(gold, T(0, 0.085f, 0), 0.04f, 0.014f, 16, 6, 0.05f);
    cylinder(metal, T(0, 0.09f, 0) * Rx(180), 0.026f, 0.41f, 14, 0.1f);
    box(metal, T(0.055f, -0.22f, 0), {0.08f, 0.045f, 0.03f}, 0.006f, 0.1f);
    box(metal, T(0.045f, -0.29f, 0), {0.06f, 0.045f, 0.03f}, 0.006f, 0.1f);
    box(metal, T(0.065f, -0.155f, 0), {0.05f, 0.03f, 0.03f}, 0.006f, 0.1f);
    box(gem, T(0, -0.06f, 0.02f), {0.012f, 0.2f, 0.012f}, 0.0f, 0.05f);
    box(gem, T(0, -0.06f, -0.02f), {0.012f, 0.2f, 0.012f}, 0.0f, 0.05f);
    return m;
}

}  // namespace

void addItems(std::vector<ModelDef>& out) {
    out.push_back({"Items/Item_health.dae", health});
    out.push_back({"Items/Item_extra_health.dae", extraHealth});
    out.push_back({"Items/Item_ammo.dae", ammo});
    out.push_back({"Items/TreasureChest.dae", chest});
    out.push_back({"Items/Energy_Cell.dae", energyCell});
    out.push_back({"Items/scanner_map.dae", scannerCard});
    out.push_back({"Items/engine_device.dae", engineDevice});
    out.push_back({"Items/repelente_azul.dae", repellent});
    out.push_back({"Items/cristal_rojo.dae", redCrystal});
    out.push_back({"Items/Key_red.dae", [] { return key("red"); }});
    out.push_back({"Items/Key_green.dae", [] { return key("green"); }});
    out.push_back({"Items/Key_yellow.dae", [] { return key("yellow"); }});
}

}  // namespace assetgen::models
