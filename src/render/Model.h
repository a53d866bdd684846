#pragma once
// An imported Collada model: its meshes with their material textures and its own
// program. Loaded once at start-up, drawn whole by its owner with a pose and the
// scene's lights.
#include <cstdint>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "scene/Camera.h"
#include "scene/Lights.h"
#include "render/ShaderProgram.h"

struct aiMaterial;
struct aiMesh;
struct aiNode;
struct aiScene;

// Interleaved: location 0 position, 1 normal, 2 texCoords.
struct ModelVertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 texCoords{0.0f};
};
static_assert(sizeof(ModelVertex) == 32, "the vertex buffer layout assumes 32-byte vertices");

struct MeshTexture {
    uint32_t id = 0;   // GL texture name
    std::string type;  // "texture_diffuse" or "texture_specular"
    std::string path;  // the file name as the material gives it
};

// Where one instance of a model stands. Angles are radians; the second rotation
// counts only when its angle is not exactly zero (its axis is then usually zero).
struct ModelPose {
    glm::vec3 position{0.0f};
    glm::vec3 axis{0.0f, 1.0f, 0.0f};
    glm::vec3 scale{1.0f};
    float angle = 0.0f;
    glm::vec3 secondAxis{0.0f};
    float secondAngle = 0.0f;
    glm::vec3 colorize{0.0f};  // added to the shaded colour

    // translate · rotate(angle, axis) · rotate(secondAngle, secondAxis) · scale
    glm::mat4 matrix() const;
};

struct BoundingSphere {
    glm::vec3 centre{0.0f};
    float radius = 0.0f;
};

class Mesh {
public:
    uint32_t vao = 0;
    uint32_t vbo = 0;
    uint32_t ebo = 0;
    std::vector<ModelVertex> vertices;
    std::vector<uint32_t> indices;
    std::vector<MeshTexture> textures;  // diffuse maps first, then specular maps
    // Per texture, its sampler's name: the type and a running number per type
    // ("texture_diffuse1", "texture_diffuse2", "texture_specular1").
    std::vector<std::string> samplerNames;

    void setupMesh();
    // Binds texture i on unit i, draws, unbinds. The caller has the program in use with
    // the per-model uniforms set.
    void draw(const ShaderProgram& program) const;
    void release();
};

class Model {
public:
    std::vector<Mesh> meshes;  // scene traversal order
    size_t triangleCount() const {
        size_t n = 0;
        for (const Mesh& m : meshes) n += m.indices.size() / 3;
        return n;
    }
    std::vector<MeshTexture> texturesLoaded;  // this model's texture cache, by file name
    std::string directory;
    ShaderProgram shader;
    bool ownsProgram = true;  // false: another model's program, which that model deletes
    bool enableSpotlight = false;
    ModelPose pose;  // for owners that keep one instance per model
    // Object space, over every vertex: owners cull instances with it.
    BoundingSphere bounds;

    Model() = default;
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;
    Model(Model&&) = default;
    Model& operator=(Model&&) = default;

    // Builds the program, then imports the file. A file that cannot be imported prints
    // "ERROR: Unable to load 3D model <path>" and leaves the model empty (it draws
    // nothing); false then. Without a GL context the geometry is still read, but no
    // program, buffer or texture is made.
    bool load(const std::string& path, const std::string& vertexShaderPath, const std::string& fragmentShaderPath);
    // The two halves of load: the program (nothing without a context), then the
    // conversion of a scene already read (path gives the texture folder).
    void buildProgram(const std::string& vertexShaderPath, const std::string& fragmentShaderPath);
    // Draws with another model's program instead of building one (load then skips it).
    void shareProgram(const ShaderProgram& program);
    bool loadScene(const aiScene* scene, const std::string& path);

    // Draws every mesh. translateToCamera places the pose in view space (the gun in
    // hand). The flashlight lights the model only with enableSpotlight set; without an
    // ambient source the default ambient colour applies.
    void draw(const Camera& camera, const ModelPose& instance, bool translateToCamera, bool enableSpotlight,
              const Spotlight* flashlight, const DirectionalLight* ambientSource) const;

    // Sets a boolean uniform of the model's own program (such as "nightFog"), which is
    // put in use for it.
    void setBool(const char* name, bool value) const;

    // The bounding sphere of an instance in world space (ignores translateToCamera).
    BoundingSphere worldBounds(const ModelPose& instance) const;

    // Frees the GL objects; the model is empty afterwards.
    void release();

private:
    void processNode(const aiNode* node, const aiScene* scene);
    Mesh processMesh(const aiMesh* mesh, const aiScene* scene);
    void loadMaterialTextures(const aiMaterial* material, int type, const char* typeName,
                              std::vector<MeshTexture>& out);
    uint32_t textureFromFile(const std::string& name) const;
    void computeBounds();
};
