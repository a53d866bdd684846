#pragma once
// Draws a Cloth as one textured, lit triangle strip. The strip's indices are uploaded
// once; the vertices (positions and normals change every frame) are re-sent each draw.
#include <cstdint>
#include <string>
#include <vector>

#include "gameplay/Cloth.h"
#include "scene/Camera.h"
#include "render/ShaderProgram.h"
#include "render/TextureSet.h"

class ClothRenderer {
public:
    static constexpr const char* kVertexShader = "../Data/Shaders/Cloth Shaders/VertexShader.vs";
    static constexpr const char* kFragmentShader = "../Data/Shaders/Cloth Shaders/FragmentShader.fs";

    ShaderProgram shader;
    TextureSet textures;  // on unit 0
    // Made on the first draw.
    uint32_t vao = 0;
    uint32_t vertexBuffer = 0;
    uint32_t elementBuffer = 0;
    int32_t elementCount = 0;
    // The grid the uploaded strip was built for.
    int32_t stripWide = 0;
    int32_t stripHigh = 0;

    // Builds the program and the texture of the key. Does nothing without a GL context.
    void init(const std::string& textureKey = "clothTex");
    // Rebuilds the cloth's normals and draws it at its position, back faces culled
    // (the caller's culling state is put back). Does nothing without a GL context.
    void draw(const Camera& camera, const Cloth& cloth);
    void release();

private:
    void createBuffers();
    std::vector<float> vertices;  // scratch: position, uv, normal per particle
};
