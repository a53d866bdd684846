#pragma once
// Draws a ParticleSystem: every particle shows the system's whole point batch at its
// position, each point expanded into a camera-facing sprite by the geometry stage.
// All particles of a system go out in one instanced draw (one instance per particle)
// instead of one draw per particle: the same points in the same order, so the same
// picture. Where the depth state hides the repeated points anyway, each instance
// draws only the first (see the draw).
#include <cstdint>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "gameplay/Particles.h"
#include "scene/Camera.h"
#include "render/ShaderProgram.h"
#include "render/TextureSet.h"

class ParticleRenderer {
public:
    static constexpr const char* kVertexShader = "../Data/Shaders/Particle System Shaders/VertexShader.vs";
    static constexpr const char* kGeometryShader = "../Data/Shaders/Particle System Shaders/GeometryShader.geom";
    static constexpr const char* kFragmentShader = "../Data/Shaders/Particle System Shaders/FragmentShader.fs";
    // Every particle is drawn this far from its simulated position ("model").
    static constexpr glm::vec3 kSpriteOffset{2.7f, -2.5f, 0.0f};
    // Vertex attribute slots: the point batch and the per-particle position.
    static constexpr uint32_t kPointAttribute = 0;
    static constexpr uint32_t kParticleAttribute = 1;

    ShaderProgram shader;  // one program shared by every particle renderer
    TextureSet textures;   // the sprite, on unit 0
    uint32_t vao = 0;
    uint32_t pointBuffer = 0;     // pointCount points, all (0, 0, 0)
    uint32_t particleBuffer = 0;  // one position per particle, refilled every draw
    int32_t pointCount = 0;
    // Points per particle in the last draw: pointCount, or 1 where the depth state
    // hides the copies.
    int32_t batchPointsDrawn = 0;

    // The sprite texture of the key and the point batch for count particles. Does
    // nothing without a GL context.
    void init(const std::string& textureKey, int32_t count);
    // Draws the system as it stands; the caller advances it (ParticleSystem::update)
    // right before. Does nothing without a GL context.
    void draw(const Camera& camera, const ParticleSystem& system);
    // Deletes the sprite texture and the buffers; the shared program stays.
    void release();

private:
    void uploadPoints(int32_t count);
    std::vector<glm::vec3> positions;  // scratch for the per-particle upload
};
