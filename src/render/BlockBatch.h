#pragma once
// Draws the fortress's block instances (walls, teleports, picture frames, route marks)
// grouped by their registry render object: one instanced draw per group instead of
// one draw per wall segment. The picture is that of drawing each record with its
// render object's mesh and texture, lit by the flashlight and the sky's colour.
#include <cstdint>
#include <map>
#include <vector>

#include <glm/glm.hpp>

#include "scene/Camera.h"
#include "scene/Lights.h"
#include "render/ShaderProgram.h"
#include "world/WorldInstances.h"

struct DrawWindow;

class BlockBatch {
public:
    // The solid cubes (walls and teleports) can go first: they are opaque, so drawing
    // them before the models changes no pixel and lets the depth test skip the model
    // fragments they hide. Frames and route marks keep their place after the models.
    enum class Pass { SolidCubes, Others };

    // The program: the instanced vertex stage with the walls' fragment stage.
    void setUp();
    // Every visible record inside the draw window and the view, lit as the walls are.
    void draw(const Camera& camera, const std::vector<BlockInstance>& blocks, const DrawWindow& window,
              float spinAngleSlow, const Spotlight* flashlight, const DirectionalLight& ambient, Pass pass);
    void release();

    // How many instances the last draw sent, for the benchmark and the tests.
    size_t lastDrawn = 0;

private:
    struct Group {
        uint32_t vao = 0;
        uint32_t instanceBuffer = 0;
        uint32_t indexCount = 0;
        uint32_t texture = 0;
        float radius = 1.0f;  // of the shape before scaling
        bool opaque = false;  // every texel fully opaque: drawn without discard or blending
        std::vector<glm::mat4> matrices;
        std::vector<std::pair<float, glm::mat4>> byDistance;  // the default drawing sorts near to far
    };
    Group* groupFor(int32_t renderObjectId);

    void setUniforms(const ShaderProgram& program, const Camera& camera, const Spotlight* flashlight,
                     const DirectionalLight& ambient) const;

    ShaderProgram shader;
    ShaderProgram opaqueShader;           // the default drawing's, for opaque groups
    std::vector<int32_t> opaqueObjects;   // render objects whose texture has no transparent texel
    std::map<int32_t, Group> groups;
};
