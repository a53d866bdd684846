#pragma once
// The terrain on the GPU: one vertex array with the mesh, the program and its six
// blended textures, and a draw that skips the parts of the mesh outside the view.
//
// The 511 x 511 squares are grouped in tiles of kTileSquares x kTileSquares, each with
// a bounding box. A draw keeps the element buffer in the mesh's own order and hands
// the driver only the index ranges of squares whose tile touches the view frustum, in
// that order. A tile left out lies wholly outside one clip plane, so none of its
// triangles could have produced a fragment, and the kept triangles reach the depth
// test in the same order as in a draw of the whole mesh: the picture is the same.
// There is no culling by distance: the fog fades to a colour of its own, not to what
// lies behind the terrain (the sky), so far ground is never invisible.
#include <cstdint>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "scene/Camera.h"
#include "scene/Lights.h"
#include "render/ShaderProgram.h"
#include "render/TerrainLod.h"
#include "render/TextureSet.h"

class Terrain;

class TerrainRenderer {
public:
    static constexpr int32_t kTileSquares = 32;

    struct Tile {
        glm::vec3 boundsMin{0.0f};
        glm::vec3 boundsMax{0.0f};
    };

    ShaderProgram shader;
    TextureSet textures;  // "soil", "soil2", "grass", "soil4", "blendMap", "grassNormalMap" on units 0-5
    glm::mat4 model{1.0f};
    uint32_t vao = 0;
    uint32_t buffers[5] = {};  // positions, texture coordinates, normals, tangents, elements
    uint32_t indexCount = 0;
    int32_t squaresPerSide = 0;
    int32_t tilesPerSide = 0;
    std::vector<Tile> tiles;  // tile (row, column) at row * tilesPerSide + column
    // The reference drawing's mesh: off draws it whole in one call (the reference
    // picture for the culled draw).
    bool culling = true;
    // The default drawing: levels of detail over the same vertices (render/TerrainLod.h).
    TerrainLod lod;
    uint32_t lodVao = 0;
    uint32_t lodElements = 0;
    glm::vec3 meanColours[4] = {};  // of "soil", "soil2", "grass", "soil4", for the deep fog
    // What the last draw handed to the driver.
    mutable uint32_t lastTrianglesDrawn = 0;
    mutable uint32_t lastTilesDrawn = 0;

    // Builds the program and the texture set.
    void setUp(const std::string& vertexShaderPath, const std::string& fragmentShaderPath);
    // Uploads the terrain's mesh arrays (static) and takes its model matrix and tile bounds.
    void upload(const Terrain& terrain);
    void draw(const Camera& camera, const DirectionalLight& dirLight, const PointLight& pointLight,
              const Spotlight* spotlight) const;
    // The default drawing's test for leaving out an object wholly in the fog: the ground
    // lies behind every part of it (render/TerrainLod.h); false without levels.
    // pixelsPerUnit: pixelsPerUnitOf(camera) for this frame's camera and viewport.
    bool groundCovers(const Camera& camera, float pixelsPerUnit, const glm::vec3& centre, float radius) const;
    float pixelsPerUnitOf(const Camera& camera) const;
    // Frees the GL objects: the mesh's, and with everything the program and textures too.
    void release(bool everything = true);

private:
    struct Visible {
        float distance;
        uint32_t tile;
        int32_t level;
    };
    static glm::vec3 meanColourOf(const std::string& imageKey);
    void drawLevels(const Camera& camera) const;
    void drawFull(const Camera& camera) const;
    mutable std::vector<Visible> order;
    mutable std::vector<int32_t> rangeCounts;
    mutable std::vector<const void*> rangeStarts;
    mutable std::vector<uint8_t> visibleScratch;
};
