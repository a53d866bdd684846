#pragma once
// A textured primitive of the registry: its mesh, its own program, its own textures
// and its placement. Created once through Renderer::createObject and found by id.
#include <cstdint>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "scene/Camera.h"
#include "scene/Lights.h"
#include "render/ShaderProgram.h"
#include "render/Shape.h"
#include "render/TextureSet.h"
#include "render/Transform.h"

// The ambient colour of objects drawn without an ambient source (HUD and screens).
constexpr glm::vec3 kDefaultAmbient{0.5f, 0.972f, 0.905f};

class RenderObject {
public:
    std::string textureKey;  // also the object's name
    int32_t numericId = 0;
    uint32_t vertexCount = 0;
    uint32_t indexCount = 0;
    uint32_t vao = 0;
    // positions, colours, texture coordinates, normals, tangents, element indices
    uint32_t buffers[6] = {};
    Transform transform;
    ShaderProgram shader;
    TextureSet textures;

    RenderObject() = default;
    RenderObject(const RenderObject&) = delete;
    RenderObject& operator=(const RenderObject&) = delete;

    void setupMesh(const std::vector<Vertex>& vertices, uint32_t count, const uint32_t* indices,
                   uint32_t indexTotal);
    glm::mat4 modelMatrix() const { return ::modelMatrix(transform); }
    void release();

    // The common lit draw. lightPos (0,0,0), no spotlight and no ambient source is how
    // the HUD and the screens are drawn; an external texture replaces the object's own
    // (the post-processing quad shows the off-screen frame this way).
    void draw(const Camera& camera, const glm::vec3& lightPos, bool normalMapped = false,
              const Spotlight* spotlight = nullptr, const DirectionalLight* ambientSource = nullptr,
              bool useExternalTexture = false, uint32_t externalTexture = 0) const;
    // Draws with a ready model matrix instead of the transform; no lighting uniforms.
    void drawWithMatrix(const Camera& camera, const glm::mat4& model, const glm::vec3& lightPos) const;
};
