#include "effects/ClothRenderer.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>

#include "render/Renderer.h"

namespace {

// One vertex: position (3 floats), uv (2), normal (3).
constexpr GLsizei kStride = 32;
constexpr size_t kFloatsPerVertex = 8;

void pointAttribute(GLuint program, const char* name, GLint size, size_t offset) {
    const GLint slot = glGetAttribLocation(program, name);
    if (slot < 0) return;  // not used by the program, so optimised away
    glEnableVertexAttribArray(static_cast<GLuint>(slot));
    glVertexAttribPointer(static_cast<GLuint>(slot), size, GL_FLOAT, GL_FALSE, kStride,
                          reinterpret_cast<const void*>(offset));
}

}  // namespace

void ClothRenderer::init(const std::string& textureKey) {
    if (!Renderer::instance().glReady) return;
    shader.build(kVertexShader, kFragmentShader);
    textures.createFromImage(textureKey);
}

void ClothRenderer::createBuffers() {
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &elementBuffer);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    pointAttribute(shader.programId, "position", 3, 0);
    pointAttribute(shader.programId, "uv", 2, 12);
    pointAttribute(shader.programId, "normal", 3, 20);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ClothRenderer::draw(const Camera& camera, const Cloth& cloth) {
    if (!Renderer::instance().glReady || !shader.programId) return;
    const std::vector<glm::vec3> normals = cloth.vertexNormals();
    glUseProgram(shader.programId);
    textures.bind(0);

    if (!vao) createBuffers();
    if (stripWide != cloth.particlesWide || stripHigh != cloth.particlesHigh) {
        // Once for the game's one flag; again only if a cloth of another grid is drawn.
        const std::vector<uint32_t> strip = cloth.stripIndices();
        glBindVertexArray(vao);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(strip.size() * sizeof(uint32_t)), strip.data(),
                     GL_STATIC_DRAW);
        glBindVertexArray(0);
        elementCount = static_cast<int32_t>(strip.size());
        stripWide = cloth.particlesWide;
        stripHigh = cloth.particlesHigh;
    }

    // Rows in order, as the particles are stored; a one-particle row or column gets
    // uv 0 rather than a division by zero.
    const int32_t w = cloth.particlesWide, h = cloth.particlesHigh;
    const float uSpan = w > 1 ? static_cast<float>(w - 1) : 1.0f;
    const float vSpan = h > 1 ? static_cast<float>(h - 1) : 1.0f;
    vertices.resize(cloth.particles.size() * kFloatsPerVertex);
    size_t k = 0;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const ClothParticle& p = cloth.at(x, y);
            const glm::vec3& normal = normals[static_cast<size_t>(cloth.index(x, y))];
            const float v[kFloatsPerVertex] = {p.position.x,
                                               p.position.y,
                                               p.position.z,
                                               static_cast<float>(x) / uSpan,
                                               static_cast<float>(y) / vSpan,
                                               normal.x,
                                               normal.y,
                                               normal.z};
            for (float f : v) vertices[k++] = f;
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)), vertices.data(),
                 GL_STREAM_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    const glm::mat4 model = glm::translate(glm::mat4(1.0f), cloth.position);
    shader.setMat4("mvp", camera.projection * camera.view * model);
    shader.setMat4("view", camera.view);

    const GLboolean wasCulling = glIsEnabled(GL_CULL_FACE);
    GLint cullMode = GL_BACK;
    glGetIntegerv(GL_CULL_FACE_MODE, &cullMode);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    if (elementCount > 0) {
        glBindVertexArray(vao);
        glDrawElements(GL_TRIANGLE_STRIP, elementCount, GL_UNSIGNED_INT, nullptr);
        glBindVertexArray(0);
    }
    glCullFace(static_cast<GLenum>(cullMode));
    if (!wasCulling) glDisable(GL_CULL_FACE);
    glUseProgram(0);
}

void ClothRenderer::release() {
    vertices.clear();
    if (!Renderer::instance().glReady) return;
    textures.release();
    if (vertexBuffer) glDeleteBuffers(1, &vertexBuffer);
    if (elementBuffer) glDeleteBuffers(1, &elementBuffer);
    if (vao) glDeleteVertexArrays(1, &vao);
    vertexBuffer = elementBuffer = 0;
    vao = 0;
    elementCount = stripWide = stripHigh = 0;
}
