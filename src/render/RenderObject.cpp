#include "render/RenderObject.h"

#include <GL/glew.h>

#include <cmath>

void RenderObject::setupMesh(const std::vector<Vertex>& vertices, uint32_t count, const uint32_t* indices,
                             uint32_t indexTotal) {
    vertexCount = count;
    indexCount = indexTotal;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);

    std::vector<float> positions, colors, texCoords, normals, tangents;
    positions.reserve(count * 3u);
    colors.reserve(count * 3u);
    texCoords.reserve(count * 2u);
    normals.reserve(count * 3u);
    tangents.reserve(count * 3u);
    for (uint32_t i = 0; i < count && i < vertices.size(); ++i) {
        const Vertex& v = vertices[i];
        positions.insert(positions.end(), v.position, v.position + 3);
        colors.insert(colors.end(), v.color, v.color + 3);
        texCoords.insert(texCoords.end(), v.texCoords, v.texCoords + 2);
        normals.insert(normals.end(), v.normal, v.normal + 3);
        tangents.insert(tangents.end(), v.tangent, v.tangent + 3);
    }

    glGenBuffers(6, buffers);
    const std::vector<float>* arrays[5] = {&positions, &colors, &texCoords, &normals, &tangents};
    const GLint components[5] = {3, 3, 2, 3, 3};
    for (GLuint a = 0; a < 5; ++a) {
        glBindBuffer(GL_ARRAY_BUFFER, buffers[a]);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(arrays[a]->size() * sizeof(float)),
                     arrays[a]->data(), GL_STATIC_DRAW);
        glEnableVertexAttribArray(a);
        glVertexAttribPointer(a, components[a], GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[5]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexTotal) * 4, indices, GL_STATIC_DRAW);
    glBindVertexArray(0);
}

void RenderObject::release() {
    if (!vao) return;
    glDeleteBuffers(6, buffers);
    glDeleteVertexArrays(1, &vao);
    for (uint32_t& b : buffers) b = 0;
    vao = 0;
    textures.release();
}

void RenderObject::draw(const Camera& camera, const glm::vec3& lightPos, bool normalMapped,
                        const Spotlight* spotlight, const DirectionalLight* ambientSource, bool useExternalTexture,
                        uint32_t externalTexture) const {
    if (!vao) return;  // made without a context: nothing to draw
    glUseProgram(shader.programId);
    if (normalMapped) {
        shader.setInt("meshTexture", 0);
        shader.setInt("normalMap", 1);
        textures.bindIndexed(0);
        textures.bindIndexed(1);
    } else if (useExternalTexture) {
        // Unit 0 explicitly: the active unit may have been left elsewhere by a
        // multi-texture upload, and the programs sample unit 0.
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, externalTexture);
    } else {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(textures.cubeMap ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D, textures.id);
    }
    shader.setMat4("projection", camera.projection);
    shader.setMat4("view", camera.view);
    shader.setMat4("model", modelMatrix());
    shader.setVec3("lightPos", lightPos);
    shader.setVec3("viewPos", camera.position);
    shader.setBool("damaged", false);
    shader.setVec3("ambientLight", ambientSource ? ambientSource->lightColour : kDefaultAmbient);
    if (spotlight) {
        shader.setSpotlight(*spotlight);
    }
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    glUseProgram(0);
}

void RenderObject::drawWithMatrix(const Camera& camera, const glm::mat4& model, const glm::vec3& lightPos) const {
    if (!vao) return;
    glUseProgram(shader.programId);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textures.id);
    shader.setMat4("projection", camera.projection);
    shader.setMat4("view", camera.view);
    shader.setMat4("model", model);
    shader.setVec3("lightPos", lightPos);
    shader.setVec3("viewPos", camera.position);
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    glUseProgram(0);
}
