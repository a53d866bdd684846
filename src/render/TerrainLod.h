#pragma once
// Levels of detail for the terrain's drawing, bounded by their error on screen.
//
// The mesh stays as built (every sample, uploaded in full); this adds index lists over
// the same vertices. The squares are grouped in tiles of kTileSquares x kTileSquares
// samples' squares; each tile has kLevels levels, level L taking every 2^L-th sample
// of the tile (its last row and column and the creases always), with the mesh's own
// diagonal. Each
// level knows its largest vertical distance from the full mesh at any sample of the
// tile; a draw takes per tile the coarsest level whose distance, seen from the eye at
// the tile's nearest point, stays within a pixel tolerance.
//
// Two tiles at different levels leave cracks along their shared edge, at most the sum
// of their errors high. Every inner tile edge therefore carries a skirt at each level:
// a strip from the level's edge straight down to a copy of the edge's samples lowered
// by the largest error the tile or a neighbour can have, with the edge samples' own
// texture coordinates and normals, so a crack shows the ground beside it.
//
// GL-free: it builds lists and chooses levels; the drawing side uploads and draws.
#include <array>
#include <cstdint>
#include <vector>

#include <glm/glm.hpp>

class TerrainLod {
public:
    static constexpr int32_t kTileSquares = 32;
    static constexpr int32_t kLevels = 6;  // steps 1, 2, 4, 8, 16, 32

    struct Range {
        uint32_t first = 0;  // into indices
        uint32_t count = 0;
    };
    struct Tile {
        int32_t r0 = 0, r1 = 0, c0 = 0, c1 = 0;  // its samples, r0 ... r1 by c0 ... c1
        glm::vec3 boundsMin{0.0f};
        glm::vec3 boundsMax{0.0f};
        std::array<float, kLevels> error{};  // world units, level 0 is exact
        std::array<Range, kLevels> range{};  // the level's triangles and its skirts, contiguous
    };

    int32_t side = 0;  // samples per side
    int32_t tilesPerSide = 0;
    std::vector<Tile> tiles;
    std::vector<uint32_t> indices;  // into the mesh's vertices, then the skirt vertices
    // The skirts' lowered samples, appended after the mesh's side * side vertices: each is
    // a copy of the mesh vertex skirtSource[k], lowered by skirtDrop[k].
    std::vector<uint32_t> skirtSource;
    std::vector<float> skirtDrop;
    // The mesh's lowest and highest sample per block of kBlockSquares x kBlockSquares
    // squares, and every sample's height, for groundCovers.
    static constexpr int32_t kBlockSquares = 8;
    int32_t blocksPerSide = 0;
    float blockSize = 0.0f;  // world units
    float extent = 0.0f;     // the field's side in world units, from its first sample
    std::vector<float> blockFloor;
    std::vector<float> blockCeiling;
    std::vector<float> heights;  // side * side, row-major
    float spacing = 1.0f;

    // positions: side * side samples of x, y, z in row-major order (row r outer), as the
    // terrain's mesh; squares split by the diagonal from (r, c + 1) to (r + 1, c).
    // creases: rows and columns every level keeps (where the ground bends sharply, as
    // at the foot and top of the border hills).
    void build(const std::vector<float>& positions, int32_t samplesPerSide, const std::vector<int32_t>& creases = {});

    // Whether every ray from eye through the outline of the sphere (centre, radius) meets
    // the ground somewhere (before or beyond the sphere), so that on screen the ground
    // lies behind or in front of all of it and no sky shows around it. Conservative: a
    // ray counts as meeting the ground only where it passes below the lowest the drawn
    // ground can be in a block: the mesh's lowest sample there, less slack times the
    // distance from the eye (the levels' error on screen, in world units per unit of depth).
    bool groundCovers(const glm::vec3& eye, const glm::vec3& centre, float radius, float slack) const;
    bool rayMeetsGround(const glm::vec3& origin, const glm::vec3& direction, float slack) const;

    // The pixels a world distance of 1 covers at a depth of 1 in front of the eye (the
    // larger of the two axes' focal lengths in pixels), read from a perspective projection.
    static float pixelsPerUnit(const glm::mat4& projection, float viewportWidth, float viewportHeight);
    // A lower bound of the view depth of any point of the tile that can be on screen: the
    // larger of its box's smallest corner depth along the view direction and its box's
    // distance from the eye times the cosine of the angle from the view axis to the
    // screen's corners (cosCorner).
    static float nearestDepth(const Tile& tile, const glm::vec3& eye, const glm::vec3& front, float cosCorner);
    // The coarsest level whose error, at that depth, stays within tolerance pixels.
    static int32_t levelFor(const Tile& tile, float depth, float pixelsPerUnitAtOne, float tolerance);
    // Distance from a point to the nearest point of a tile's box.
    static float distanceTo(const Tile& tile, const glm::vec3& point);
};
