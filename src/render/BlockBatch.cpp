#include "render/BlockBatch.h"

#include <GL/glew.h>

#include <cmath>

#include "gameplay/Session.h"
#include "render/Frustum.h"
#include "render/Renderer.h"
#include "render/Transform.h"

namespace {

constexpr float kDegreesPerRadian = 57.29578f;
constexpr int32_t kFirstSolidCube = 52;  // the four brick styles and the teleport wall, 52 ... 56
constexpr int32_t kLastSolidCube = 56;

bool isSolidCube(int32_t renderObjectId) {
    return renderObjectId >= kFirstSolidCube && renderObjectId <= kLastSolidCube;
}

}  // namespace

void BlockBatch::setUp() {
    if (!Renderer::instance().glReady) return;
    shader.build("../Data/Shaders/BlockInstanced.vs", "../Data/Shaders/EnemyFragmentShader.fs");
    glUseProgram(shader.programId);
    shader.setBool("nightFog", true);
    shader.setInt("meshTexture", 0);
    glUseProgram(0);
}

BlockBatch::Group* BlockBatch::groupFor(int32_t renderObjectId) {
    auto found = groups.find(renderObjectId);
    if (found != groups.end()) return found->second.vao ? &found->second : nullptr;
    Group& g = groups[renderObjectId];
    const RenderObject* object = Renderer::instance().findObject(renderObjectId);
    if (!object || !object->vao) return nullptr;
    g.indexCount = object->indexCount;
    g.texture = object->textures.id;
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
    for (auto& [id, g] : groups) g.matrices.clear();
    for (const BlockInstance& b : blocks) {
        if (!b.visible || !window.contains(b.i, b.j)) continue;
        if (isSolidCube(b.renderObjectId) != (pass == Pass::SolidCubes)) continue;
        // Half the diagonal of the scaled unit shape bounds every primitive (all lie within +-0.5 or a unit sphere).
        if (!view.seesSphere(b.position, glm::length(b.scale))) continue;
        Group* g = groupFor(b.renderObjectId);
        if (!g) continue;
        glm::vec3 rotation = b.rotationDegrees;
        if (b.spins) rotation.y = spinAngleSlow * kDegreesPerRadian;
        g->matrices.push_back(modelMatrix(Transform{b.position, rotation, b.scale}));
    }

    glUseProgram(shader.programId);
    shader.setMat4("projection", camera.projection);
    shader.setMat4("view", camera.view);
    shader.setVec3("lightPos", glm::vec3(0.0f));
    shader.setVec3("viewPos", camera.position);
    shader.setBool("damaged", false);
    shader.setVec3("colorize_model", glm::vec3(0.0f));
    shader.setVec3("ambientLight", ambient.lightColour);
    if (flashlight) {
        shader.setSpotlight(*flashlight);
    } else {
        shader.setVec3("spotlight.diffuse", glm::vec3(0.0f));
        shader.setVec3("spotlight.specular", glm::vec3(0.0f));
    }
    glActiveTexture(GL_TEXTURE0);
    for (auto& [id, g] : groups) {
        if (g.matrices.empty() || !g.vao) continue;
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

void BlockBatch::release() {
    for (auto& [id, g] : groups) {
        if (g.instanceBuffer) glDeleteBuffers(1, &g.instanceBuffer);
        if (g.vao) glDeleteVertexArrays(1, &g.vao);
    }
    groups.clear();
}
