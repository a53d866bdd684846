#include "render/Model.h"
#include "render/TexturePrefetch.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>
#include <stb_image.h>

#include "render/RenderObject.h"
#include "render/Renderer.h"

glm::mat4 ModelPose::matrix() const {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), position);
    m = glm::rotate(m, angle, axis);
    // Most owners leave the second axis at zero: rotating about it would give NaNs.
    if (secondAngle != 0.0f) m = glm::rotate(m, secondAngle, secondAxis);
    return glm::scale(m, scale);
}

// ---- Mesh ----

void Mesh::setupMesh() {
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glGenBuffers(1, &ebo);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(ModelVertex)), vertices.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)), indices.data(),
                 GL_STATIC_DRAW);
    const GLsizei stride = sizeof(ModelVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(ModelVertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(ModelVertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(ModelVertex, texCoords)));
    // The enemy models are drawn with the program of the walls, which reads its normal
    // at location 3 (the render objects' layout): feed the normal there too, or that
    // program would light them with a zero normal.
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(ModelVertex, normal)));
    glBindVertexArray(0);
}

void Mesh::draw(const ShaderProgram& program) const {
    const size_t units = textures.size();
    for (size_t i = 0; i < units; ++i) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        program.setInt(samplerNames[i].c_str(), static_cast<int>(i));
        glBindTexture(GL_TEXTURE_2D, textures[i].id);
    }
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    for (size_t i = 0; i < units; ++i) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    // Other draws bind to the active unit and expect it to be unit 0.
    if (units > 1) glActiveTexture(GL_TEXTURE0);
}

void Mesh::release() {
    if (vao) glDeleteVertexArrays(1, &vao);
    if (vbo) glDeleteBuffers(1, &vbo);
    if (ebo) glDeleteBuffers(1, &ebo);
    vao = vbo = ebo = 0;
}

// ---- Model: import ----

bool Model::load(const std::string& path, const std::string& vertexShaderPath, const std::string& fragmentShaderPath) {
    if (!shader.programId) buildProgram(vertexShaderPath, fragmentShaderPath);
    Assimp::Importer importer;
    // GenNormals only fills in meshes that come without normals.
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_FlipUVs | aiProcess_GenNormals);
    return loadScene(scene, path);  // the importer frees the scene on return
}

bool Model::loadScene(const aiScene* scene, const std::string& path) {
    // Incomplete is one bit among others (a validated scene carries more), not the
    // whole value.
    if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode) {
        std::printf("ERROR: Unable to load 3D model %s\n", path.c_str());
        std::fflush(stdout);
        return false;
    }
    const size_t slash = path.find_last_of('/');
    directory = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    processNode(scene->mRootNode, scene);
    computeBounds();
    return true;
}

void Model::processNode(const aiNode* node, const aiScene* scene) {
    for (unsigned i = 0; i < node->mNumMeshes; ++i) {
        const unsigned index = node->mMeshes[i];
        if (index < scene->mNumMeshes) meshes.push_back(processMesh(scene->mMeshes[index], scene));
    }
    for (unsigned i = 0; i < node->mNumChildren; ++i) processNode(node->mChildren[i], scene);
}

Mesh Model::processMesh(const aiMesh* source, const aiScene* scene) {
    Mesh mesh;
    mesh.vertices.resize(source->mNumVertices);
    const aiVector3D* uvs = source->mTextureCoords[0];
    for (unsigned i = 0; i < source->mNumVertices; ++i) {
        ModelVertex& v = mesh.vertices[i];
        const aiVector3D& p = source->mVertices[i];
        v.position = {p.x, p.y, p.z};
        // Lines and points get no generated normals: zero.
        if (source->mNormals) v.normal = {source->mNormals[i].x, source->mNormals[i].y, source->mNormals[i].z};
        if (uvs) v.texCoords = {uvs[i].x, uvs[i].y};
    }
    mesh.indices.reserve(static_cast<size_t>(source->mNumFaces) * 3u);
    for (unsigned f = 0; f < source->mNumFaces; ++f) {
        const aiFace& face = source->mFaces[f];
        // Triangulation leaves only triangles, lines and points; the last two would
        // shift every following triangle of the index list.
        if (face.mNumIndices != 3) continue;
        mesh.indices.insert(mesh.indices.end(), face.mIndices, face.mIndices + 3);
    }
    if (source->mMaterialIndex < scene->mNumMaterials) {
        const aiMaterial* material = scene->mMaterials[source->mMaterialIndex];
        loadMaterialTextures(material, aiTextureType_DIFFUSE, "texture_diffuse", mesh.textures);
        loadMaterialTextures(material, aiTextureType_SPECULAR, "texture_specular", mesh.textures);
    }
    // Sampler names count per type: texture_diffuse1, texture_diffuse2, texture_specular1.
    unsigned diffuseCount = 0, specularCount = 0;
    for (const MeshTexture& t : mesh.textures) {
        const unsigned n = t.type == "texture_diffuse" ? ++diffuseCount : ++specularCount;
        mesh.samplerNames.push_back(t.type + std::to_string(n));
    }
    if (Renderer::instance().glReady) mesh.setupMesh();
    return mesh;
}

void Model::loadMaterialTextures(const aiMaterial* material, int type, const char* typeName,
                                 std::vector<MeshTexture>& out) {
    const aiTextureType textureType = static_cast<aiTextureType>(type);
    const unsigned count = material->GetTextureCount(textureType);
    for (unsigned i = 0; i < count; ++i) {
        aiString file;
        material->GetTexture(textureType, i, &file);
        const std::string name(file.data, file.length);
        const auto cached = std::find_if(texturesLoaded.begin(), texturesLoaded.end(),
                                         [&](const MeshTexture& t) { return t.path == name; });
        if (cached != texturesLoaded.end()) {
            out.push_back(*cached);
            continue;
        }
        MeshTexture texture;
        texture.id = Renderer::instance().glReady ? textureFromFile(name) : 0;
        texture.type = typeName;
        texture.path = name;
        out.push_back(texture);
        texturesLoaded.push_back(texture);
    }
}

// A model texture: RGB rows of 3 x width bytes (not padded to 4), repeated, mipmapped
// and filtered trilinearly. upload fills the bound texture's levels.
template <typename Upload>
static uint32_t makeModelTexture(Upload upload) {
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    upload();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    return id;
}

// A texture whose levels were prepared ahead: uploaded level by level.
static uint32_t uploadPrepared(const PreparedTexture& t) {
    return makeModelTexture([&t] {
        int w = t.width, h = t.height;
        for (size_t level = 0; level < t.levels.size(); ++level) {
            glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE,
                         t.levels[level].data());
            w = std::max(1, w / 2);
            h = std::max(1, h / 2);
        }
    });
}

uint32_t Model::textureFromFile(const std::string& name) const {
    const std::string file = directory + "/" + name;
    if (const uint32_t shared = TexturePrefetch::instance().texture(file, uploadPrepared)) return shared;
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load(file.c_str(), &width, &height, &channels, 3);
    // A file that is missing or does not decode becomes plain white: the model keeps its
    // shape and light instead of showing whatever the driver had in memory.
    static const stbi_uc kWhite[3] = {255, 255, 255};
    const stbi_uc* data = pixels ? pixels : kWhite;
    if (!pixels) width = height = 1;
    const uint32_t id = makeModelTexture([&] {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, data);
        glGenerateMipmap(GL_TEXTURE_2D);
    });
    if (pixels) stbi_image_free(pixels);
    return id;
}

void Model::computeBounds() {
    glm::vec3 low(0.0f), high(0.0f);
    bool any = false;
    for (const Mesh& mesh : meshes)
        for (const ModelVertex& v : mesh.vertices) {
            low = any ? glm::min(low, v.position) : v.position;
            high = any ? glm::max(high, v.position) : v.position;
            any = true;
        }
    bounds.centre = (low + high) * 0.5f;
    float radius = 0.0f;
    for (const Mesh& mesh : meshes)
        for (const ModelVertex& v : mesh.vertices) radius = std::max(radius, glm::length(v.position - bounds.centre));
    bounds.radius = radius;
}

void Model::shareProgram(const ShaderProgram& program) {
    shader.shaderId = program.shaderId;
    shader.programId = program.programId;
    ownsProgram = false;
}

void Model::buildProgram(const std::string& vertexShaderPath, const std::string& fragmentShaderPath) {
    if (!Renderer::instance().glReady) return;
    shader.build(vertexShaderPath, fragmentShaderPath);
}

// ---- Model: drawing ----

void Model::draw(const Camera& camera, const ModelPose& instance, bool translateToCamera, bool spotlightOn,
                 const Spotlight* flashlight, const DirectionalLight* ambientSource) const {
    if (!shader.programId || meshes.empty()) return;  // loaded without a context, or failed
    glm::mat4 model = instance.matrix();
    if (translateToCamera) model = glm::inverse(camera.view) * model;

    glUseProgram(shader.programId);
    // The same for every mesh of the model: set once per draw. Looking the locations up
    // by name costs about 30 ns each under llvmpipe, against a millisecond or more for
    // the draw itself, so they are not kept.
    shader.setMat4("projection", camera.projection);
    shader.setMat4("view", camera.view);
    shader.setMat4("model", model);
    shader.setMat3("normalMatrix", glm::transpose(glm::inverse(glm::mat3(model))));  // read by the default drawing
    shader.setVec3("ambientLight", ambientSource ? ambientSource->lightColour : kDefaultAmbient);
    shader.setVec3("colorize_model", instance.colorize);
    shader.setVec3("lightPos", camera.position + glm::vec3(0.0f, 5.0f, 0.0f));
    shader.setVec3("viewPos", camera.position);
    shader.setBool("EnableSpotlight", spotlightOn);
    if (spotlightOn && flashlight) {
        shader.setSpotlight(*flashlight);
    }
    for (const Mesh& mesh : meshes)
        if (mesh.vao && !mesh.indices.empty()) mesh.draw(shader);
}

void Model::setBool(const char* name, bool value) const {
    if (!shader.programId) return;
    glUseProgram(shader.programId);
    shader.setBool(name, value);
}

BoundingSphere Model::worldBounds(const ModelPose& instance) const {
    const glm::mat4 m = instance.matrix();
    const float stretch = std::max({glm::length(glm::vec3(m[0])), glm::length(glm::vec3(m[1])),
                                    glm::length(glm::vec3(m[2]))});
    return {glm::vec3(m * glm::vec4(bounds.centre, 1.0f)), bounds.radius * stretch};
}

void Model::release() {
    if (!Renderer::instance().glReady) {
        meshes.clear();
        texturesLoaded.clear();
        return;
    }
    for (Mesh& mesh : meshes) mesh.release();
    for (const MeshTexture& t : texturesLoaded)
        if (t.id && !TexturePrefetch::instance().shares(t.id)) glDeleteTextures(1, &t.id);
    if (shader.programId && ownsProgram) glDeleteProgram(shader.programId);
    shader.programId = 0;
    meshes.clear();
    texturesLoaded.clear();
}
