#include "render/BlockBatch.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

#include "scene/DrawWindow.h"
#include "render/Frustum.h"
#include "render/ImageStore.h"
#include "render/OpaqueDrawing.h"
#include "render/Renderer.h"
#include "render/Transform.h"
#include "scene/RenderObjectIds.h"

namespace {

constexpr float kDegreesPerRadian = 57.29578f;
using render_id::kFirstSolidCube;
using render_id::kLastSolidCube;

bool isSolidCube(int32_t renderObjectId) {
    return renderObjectId >= kFirstSolidCube && renderObjectId <= kLastSolidCube;
}

// Whether every texel of an image of the store is fully opaque (false when it is absent).
bool imageOpaque(const std::string& key) {
    std::vector<int32_t> size;
    ImageStore::instance().getSize(key, size);
    const uint8_t* pixels = ImageStore::instance().getPixels(key);
    if (!pixels || size.size() < 2) return false;
    const size_t count = static_cast<size_t>(size[0]) * static_cast<size_t>(size[1]);
    for (size_t p = 0; p < count; ++p)
        if (pixels[p * 4 + 3] != 255) return false;
    return true;
}

}  // namespace

void BlockBatch::setUp() {
    Renderer& renderer = Renderer::instance();
    if (!renderer.glReady) return;
    for (ShaderProgram* program : {&shader, &opaqueShader}) {
        if (program == &opaqueShader) {
            if (renderer.referenceDrawing) break;
            program->defines = "#define OPAQUE_TEXELS 1\n";
        }
        program->build("../Data/Shaders/BlockInstanced.vs", "../Data/Shaders/EnemyFragmentShader.fs");
        glUseProgram(program->programId);
        program->setBool("nightFog", true);
        program->setInt("meshTexture", 0);
    }
    glUseProgram(0);
    // The walls' textures are read now, while the image store still holds their pixels.
    if (!renderer.referenceDrawing)
        for (int32_t id = kFirstSolidCube; id <= kLastSolidCube; ++id)
            if (const RenderObject* object = renderer.findObject(id); object && imageOpaque(object->textureKey))
                opaqueObjects.push_back(id);
}

BlockBatch::Group* BlockBatch::groupFor(int32_t renderObjectId) {
    auto found = groups.find(renderObjectId);
    if (found != groups.end()) return found->second.vao ? &found->second : nullptr;
    Group& g = groups[renderObjectId];
    const RenderObject* object = Renderer::instance().findObject(renderObjectId);
    if (!object || !object->vao) return nullptr;
    g.indexCount = object->indexCount;
    g.texture = object->textures.id;
    g.opaque = opaqueShader.programId &&
               std::find(opaqueObjects.begin(), opaqueObjects.end(), renderObjectId) != opaqueObjects.end();
    // The render object's own buffers, with the instance matrices beside them.
    glGenVertexArrays(1, &g.vao);
    glGenBuffers(1, &g.instanceBuffer);
    glBindVertexArray(g.vao);
    const struct {
        GLuint location;
        GLuint buffer;
        GLint components;
    } attributes[] = {{0, object->buffers[0], 3}, {2, object->buffers[2], 2}, {3, object->buffers[3], 3}};
    for (const auto& a : attributes) {
        glBindBuffer(GL_ARRAY_BUFFER, a.buffer);
        glEnableVertexAttribArray(a.location);
        glVertexAttribPointer(a.location, a.components, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    glBindBuffer(GL_ARRAY_BUFFER, g.instanceBuffer);
    for (GLuint column = 0; column < 4; ++column) {
        glEnableVertexAttribArray(5 + column);
        glVertexAttribPointer(5 + column, 4, GL_FLOAT, GL_FALSE, sizeof(glm::mat4),
                              reinterpret_cast<const void*>(sizeof(glm::vec4) * column));
        glVertexAttribDivisor(5 + column, 1);
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, object->buffers[5]);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return &g;
}

void BlockBatch::draw(const Camera& camera, const std::vector<BlockInstance>& blocks, const DrawWindow& window,
                      float spinAngleSlow, const Spotlight* flashlight, const DirectionalLight& ambient, Pass pass) {
    lastDrawn = 0;
    if (!shader.programId) return;
    const Frustum view = Frustum::fromMatrix(camera.projection * camera.view);
    const bool sorted = !Renderer::instance().referenceDrawing;
    for (auto& [id, g] : groups) {
        g.matrices.clear();
        g.byDistance.clear();
    }
    for (const BlockInstance& b : blocks) {
        if (!b.visible || !window.contains(b.i, b.j)) continue;
        if (isSolidCube(b.renderObjectId) != (pass == Pass::SolidCubes)) continue;
        // Half the diagonal of the scaled unit shape bounds every primitive (all lie within +-0.5 or a unit sphere).
        if (!view.seesSphere(b.position, glm::length(b.scale))) continue;
        Group* g = groupFor(b.renderObjectId);
        if (!g) continue;
        glm::vec3 rotation = b.rotationDegrees;
        if (b.spins) rotation.y = spinAngleSlow * kDegreesPerRadian;
        const glm::mat4 m = modelMatrix(Transform{b.position, rotation, b.scale});
        if (sorted) g->byDistance.emplace_back(glm::distance(b.position, camera.position), m);
        else g->matrices.push_back(m);
    }
    if (sorted) {
        // Near to far: the depth test then spares what the near walls hide.
        for (auto& [id, g] : groups) {
            std::stable_sort(g.byDistance.begin(), g.byDistance.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (const auto& [distance, m] : g.byDistance) g.matrices.push_back(m);
        }
    }

    const OpaqueDrawing blending;
    uint32_t current = 0;
    glActiveTexture(GL_TEXTURE0);
    for (auto& [id, g] : groups) {
        if (g.matrices.empty() || !g.vao) continue;
        const ShaderProgram& program = g.opaque ? opaqueShader : shader;
        if (program.programId != current) {
            current = program.programId;
            glUseProgram(current);
            setUniforms(program, camera, flashlight, ambient);
        }
        blending.enable(g.opaque);
        glBindBuffer(GL_ARRAY_BUFFER, g.instanceBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(g.matrices.size() * sizeof(glm::mat4)),
                     g.matrices.data(), GL_STREAM_DRAW);
        glBindTexture(GL_TEXTURE_2D, g.texture);
        glBindVertexArray(g.vao);
        glDrawElementsInstanced(GL_TRIANGLES, static_cast<GLsizei>(g.indexCount), GL_UNSIGNED_INT, nullptr,
                                static_cast<GLsizei>(g.matrices.size()));
        lastDrawn += g.matrices.size();
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

void BlockBatch::setUniforms(const ShaderProgram& program, const Camera& camera, const Spotlight* flashlight,
                             const DirectionalLight& ambient) const {
    program.setMat4("projection", camera.projection);
    program.setMat4("view", camera.view);
    program.setVec3("lightPos", glm::vec3(0.0f));
    program.setVec3("viewPos", camera.position);
    program.setBool("damaged", false);
    program.setVec3("colorize_model", glm::vec3(0.0f));
    program.setVec3("ambientLight", ambient.lightColour);
    if (flashlight) {
        program.setSpotlight(*flashlight);
    } else {
        program.setVec3("spotlight.diffuse", glm::vec3(0.0f));
        program.setVec3("spotlight.specular", glm::vec3(0.0f));
    }
}

void BlockBatch::release() {
    for (ShaderProgram* program : {&shader, &opaqueShader})
        if (program->programId) glDeleteProgram(program->programId);
    shader.programId = opaqueShader.programId = 0;
    for (auto& [id, g] : groups) {
        if (g.instanceBuffer) glDeleteBuffers(1, &g.instanceBuffer);
        if (g.vao) glDeleteVertexArrays(1, &g.vao);
    }
    groups.clear();
}
