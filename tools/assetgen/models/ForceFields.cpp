// Force fields round the plasma injector and the angel statues whose colour
// tells which field lets the player through.
#include <cmath>

#include "Catalog.h"

namespace assetgen::models {
namespace {

using glm::vec3;

// Ring-emitted energy barrier: 24 units tall and about 34 across at scale 12,
// centred on its origin 12 units above the ground.
Model forceField(const std::string& colour) {
    Model m;
    Surface& field = m["field_" + colour];
    Surface& dark = m["hull_dark"];
    Surface& glowS = m["glow_" + colour];
    LatheOpts o;
    o.segments = 32;
    o.caps = false;
    o.tileU = 0.9f;
    o.tileV = 0.6f;
    const std::vector<glm::vec2> wall = {{1.3f, -0.9f}, {1.2f, -0.45f}, {1.17f, 0.0f}, {1.2f, 0.45f}, {1.3f, 0.9f}};
    lathe(field, glm::mat4(1.0f), wall, o);
    // The inside face sits a little inwards so the two never fight for depth.
    std::vector<glm::vec2> inside(wall.rbegin(), wall.rend());
    for (glm::vec2& p : inside) p.x -= 0.02f;
    lathe(field, glm::mat4(1.0f), inside, o);
    for (float y : {-0.95f, 0.95f}) {
        torus(dark, T(0, y, 0), 1.36f, 0.09f, 40, 8, 0.4f);
        torus(glowS, T(0, y * 0.9f, 0), 1.3f, 0.035f, 40, 6, 0.3f);
    }
    for (int k = 0; k < 4; ++k) {
        const float a = glm::radians(90.0f * static_cast<float>(k));
        const vec3 p(1.4f * std::cos(a), 0.0f, 1.4f * std::sin(a));
        box(dark, T(p) * Ry(-glm::degrees(a)), {0.14f, 2.0f, 0.16f}, 0.03f, 0.4f);
        box(glowS, T(p * 1.055f) * Ry(-glm::degrees(a)), {0.02f, 1.5f, 0.06f}, 0.0f, 0.2f);
        sphere(glowS, T(p + vec3(0, 1.05f, 0)), 0.08f, 10, 6, 0.2f);
    }
    return m;
}

// Praying angel on an octagonal plinth, about 30 units tall at scale 22.
Model angel(const std::string& colour) {
    Model m;
    Surface& statue = m["marble_" + colour];
    Surface& plinth = m["marble_white"];
    Surface& glowS = m["glow_" + colour];
    LatheOpts o;
    o.segments = 8;
    o.faceted = true;
    o.smooth = false;
    o.tileU = o.tileV = 0.3f;
    o.startDeg = 22.5f;
    lathe(plinth, glm::mat4(1.0f), {{0.0f, 0.0f}, {0.3f, 0.0f}, {0.3f, 0.05f}, {0.26f, 0.08f}, {0.24f, 0.2f}, {0.28f, 0.23f}, {0.28f, 0.26f}, {0.0f, 0.26f}}, o);
    o.caps = false;
    lathe(glowS, glm::mat4(1.0f), {{0.246f, 0.11f}, {0.246f, 0.15f}}, o);
    LatheOpts r;
    r.segments = 20;
    r.tileU = r.tileV = 0.3f;
    lathe(statue, T(0, 0.26f, 0), {{0.0f, 0.0f}, {0.17f, 0.0f}, {0.15f, 0.2f}, {0.11f, 0.45f}, {0.1f, 0.55f}, {0.0f, 0.56f}}, r);
    lathe(statue, T(0, 0.78f, 0) * S(1.0f, 1.0f, 0.75f), {{0.0f, 0.0f}, {0.1f, 0.0f}, {0.12f, 0.15f}, {0.08f, 0.25f}, {0.0f, 0.26f}}, r);
    cylinder(statue, T(0, 1.02f, 0), 0.03f, 0.05f, 10, 0.1f);
    sphere(statue, T(0, 1.1f, 0.005f) * S(0.9f, 1.05f, 1.0f), 0.065f, 16, 10, 0.2f);
    sphere(statue, T(0, 1.12f, -0.05f), 0.045f, 10, 6, 0.1f);
    torus(glowS, T(0, 1.22f, -0.02f) * Rx(-15), 0.08f, 0.012f, 24, 6, 0.1f);
    for (float sx : {-1.0f, 1.0f}) {
        tube(statue, glm::mat4(1.0f), {{sx * 0.105f, 0.99f, 0.0f}, {sx * 0.13f, 0.86f, 0.06f}, {sx * 0.02f, 0.9f, 0.14f}}, {0.028f, 0.024f, 0.02f}, 8, 0.1f);
        sphere(statue, T(sx * 0.105f, 0.99f, 0.0f), 0.032f, 8, 6, 0.1f);
        const glm::mat4 wingAt = S(sx, 1.0f, 1.0f) * T(0.05f, 0.95f, -0.09f) * Ry(-22) * Rz(-14);
        extrude(statue, wingAt,
                {{0.0f, 0.0f}, {0.12f, 0.12f}, {0.26f, 0.3f}, {0.4f, 0.44f}, {0.47f, 0.4f}, {0.45f, 0.22f}, {0.4f, 0.06f}, {0.34f, -0.1f},
                 {0.26f, -0.26f}, {0.16f, -0.4f}, {0.08f, -0.3f}, {0.03f, -0.12f}},
                0.03f, 0.3f);
        for (int f = 0; f < 4; ++f)
            box(statue, wingAt * T(0.16f + 0.07f * static_cast<float>(f), -0.05f - 0.06f * static_cast<float>(f), 0.0f) * Rz(-55), {0.3f, 0.02f, 0.04f}, 0.008f, 0.2f);
    }
    return m;
}

const char* const kFieldColours[5] = {"yellow", "blue", "green", "violet", "red"};

}  // namespace

void addForceFields(std::vector<ModelDef>& out) {
    for (int i = 0; i < 5; ++i) {
        const std::string c = kFieldColours[i];
        out.push_back({"Force_field/force_field_" + std::to_string(i + 1) + "_" + c + ".dae", [c] { return forceField(c); }});
    }
    for (int i = 0; i < 5; ++i) {
        const std::string c = kFieldColours[i];
        out.push_back({"Force_field/Statue_angel_" + std::to_string(i + 1) + "_" + c + ".dae", [c] { return angel(c); }});
    }
}

}  // namespace assetgen::models
