#include "effects/ParticleRenderer.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>

#include "render/Renderer.h"

namespace {

// There are two systems per enemy: one program for all of them saves a program's
// worth of driver memory each, and every draw sets all the uniforms it reads.
const ShaderProgram& sharedProgram() {
    static ShaderProgram program;
    if (!program.programId)
        program.buildWithGeometry(ParticleRenderer::kVertexShader, ParticleRenderer::kGeometryShader,
                                  ParticleRenderer::kFragmentShader);
    return program;
}

// Every point of a particle's batch lies at the same place, so its copies give the
// same fragments at the same depth, one after another. When the depth test rejects a
// fragment at exactly the depth already written there, only the first copy can leave
// a trace, and one point per particle gives the same picture for a twentieth of the
// fill (the cost that matters under a software driver). Elsewhere (no depth test or
// buffer, no depth writes, an accepting comparison, or a stencil that would count the
// rejected copies) every copy is drawn.
bool copiesAreHidden() {
    if (!glIsEnabled(GL_DEPTH_TEST) || glIsEnabled(GL_STENCIL_TEST)) return false;
    GLboolean writes = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
    if (!writes) return false;
    GLint func = GL_ALWAYS;
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    if (func != GL_LESS && func != GL_GREATER && func != GL_NOTEQUAL && func != GL_NEVER) return false;
    GLint target = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &target);
    const GLenum attachment = target == 0 ? GL_DEPTH : GL_DEPTH_ATTACHMENT;
    GLint type = GL_NONE;
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE,
                                          &type);
    if (type == GL_NONE) return false;
    GLint bits = 0;
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &bits);
    return bits > 0;
}

}  // namespace

void ParticleRenderer::init(const std::string& textureKey, int32_t count) {
    if (!Renderer::instance().glReady) return;
    textures.createFromImage(textureKey);
    shader = sharedProgram();

    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &pointBuffer);
    glGenBuffers(1, &particleBuffer);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, particleBuffer);
    glEnableVertexAttribArray(kParticleAttribute);
    glVertexAttribPointer(kParticleAttribute, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glVertexAttribDivisor(kParticleAttribute, 1);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    uploadPoints(count);
}

void ParticleRenderer::uploadPoints(int32_t count) {
    pointCount = count > 0 ? count : 0;
    const std::vector<glm::vec3> points(static_cast<size_t>(pointCount), glm::vec3(0.0f));
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, pointBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(points.size() * sizeof(glm::vec3)), points.data(),
                 GL_STATIC_DRAW);
    glEnableVertexAttribArray(kPointAttribute);
    glVertexAttribPointer(kPointAttribute, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParticleRenderer::draw(const Camera& camera, const ParticleSystem& system) {
    if (!Renderer::instance().glReady || !vao) return;
    // The batch is as many points as the system has particles; a system rebuilt with
    // another count gets a matching batch rather than a short or overlong one.
    if (system.count != pointCount) uploadPoints(system.count);
    const GLsizei instances = static_cast<GLsizei>(system.particles.size());
    if (pointCount == 0 || instances == 0) return;

    positions.resize(system.particles.size());
    for (size_t i = 0; i < positions.size(); ++i) positions[i] = system.particles[i].position;

    glUseProgram(shader.programId);
    shader.setMat4("model", glm::translate(glm::mat4(1.0f), kSpriteOffset));
    shader.setMat4("view", camera.view);
    shader.setMat4("projection", camera.projection);
    shader.setFloat("scale", system.scale);
    glBindVertexArray(vao);
    textures.bind(0);
    glBindBuffer(GL_ARRAY_BUFFER, particleBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(positions.size() * sizeof(glm::vec3)), positions.data(),
                 GL_STREAM_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    batchPointsDrawn = copiesAreHidden() ? 1 : pointCount;
    glDrawArraysInstanced(GL_POINTS, 0, batchPointsDrawn, instances);
    glBindVertexArray(0);
    glUseProgram(0);
}

void ParticleRenderer::release() {
    positions.clear();
    if (!Renderer::instance().glReady) return;
    textures.release();
    if (pointBuffer) glDeleteBuffers(1, &pointBuffer);
    if (particleBuffer) glDeleteBuffers(1, &particleBuffer);
    if (vao) glDeleteVertexArrays(1, &vao);
    pointBuffer = particleBuffer = vao = 0;
    pointCount = 0;
}
