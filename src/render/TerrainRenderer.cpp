#include "render/TerrainRenderer.h"

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cmath>

#include <glm/gtc/matrix_access.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "render/FastDrawing.h"
#include "render/ImageStore.h"
#include "render/OpaqueDrawing.h"
#include "render/Renderer.h"
#include "render/Transform.h"
#include "world/Terrain.h"

namespace {

// A box counts as outside a plane only when it is this far (world units) beyond it:
// the driver's clipping rounds differently from this test, and a tile kept in vain
// costs nothing but time.
constexpr float kCullMargin = 0.5f;

using Planes = std::array<glm::vec4, 6>;

// The six clip planes of a projection * view * model matrix, pointing inwards and
// normalised so that a point's distance comes out in model units.
Planes frustumPlanes(const glm::mat4& m) {
    const auto row = [&m](int i) { return glm::vec4(m[0][i], m[1][i], m[2][i], m[3][i]); };
    Planes planes = {row(3) + row(0), row(3) - row(0), row(3) + row(1),
                     row(3) - row(1), row(3) + row(2), row(3) - row(2)};
    for (glm::vec4& p : planes) {
        const float length = glm::length(glm::vec3(p));
        if (length > 0.0f) p /= length;
    }
    return planes;
}

bool boxVisible(const TerrainRenderer::Tile& box, const Planes& planes) {
    for (const glm::vec4& p : planes) {
        // The box corner furthest along the plane's normal.
        const glm::vec3 corner(p.x >= 0.0f ? box.boundsMax.x : box.boundsMin.x,
                               p.y >= 0.0f ? box.boundsMax.y : box.boundsMin.y,
                               p.z >= 0.0f ? box.boundsMax.z : box.boundsMin.z);
        if (glm::dot(glm::vec3(p), corner) + p.w < -kCullMargin) return false;
    }
    return true;
}

}  // namespace

glm::vec3 TerrainRenderer::meanColourOf(const std::string& key) {
    std::vector<int32_t> size;
    ImageStore::instance().getSize(key, size);
    const uint8_t* pixels = ImageStore::instance().getPixels(key);
    if (!pixels || size.size() < 2 || size[0] <= 0 || size[1] <= 0) return glm::vec3(0.5f);
    const size_t count = static_cast<size_t>(size[0]) * static_cast<size_t>(size[1]);
    double sum[3] = {0.0, 0.0, 0.0};
    for (size_t p = 0; p < count; ++p)
        for (size_t c = 0; c < 3; ++c) sum[c] += pixels[p * 4 + c];
    const double scale = 1.0 / (255.0 * static_cast<double>(count));
    return glm::vec3(static_cast<float>(sum[0] * scale), static_cast<float>(sum[1] * scale),
                     static_cast<float>(sum[2] * scale));
}

void TerrainRenderer::setUp(const std::string& vertexShaderPath, const std::string& fragmentShaderPath) {
    if (!Renderer::instance().glReady) return;
    shader.build(vertexShaderPath, fragmentShaderPath);
    textures.createFromImages({"soil", "soil2", "grass", "soil4", "blendMap", "grassNormalMap"});
    // The default drawing shades the deep fog with each ground texture's mean colour.
    const char* const grounds[4] = {"soil", "soil2", "grass", "soil4"};
    for (size_t k = 0; k < 4; ++k) meanColours[k] = meanColourOf(grounds[k]);
}

void TerrainRenderer::upload(const Terrain& terrain) {
    constexpr int32_t side = Terrain::kSamples;
    const size_t vertices = static_cast<size_t>(side * side);
    if (terrain.positions.size() != vertices * 3 || terrain.texCoords.size() != vertices * 2 ||
        terrain.normals.size() != vertices * 3 || terrain.tangents.size() != vertices * 3 || terrain.indices.empty())
        return;  // nothing built, or already released

    model = glm::translate(glm::mat4(1.0f), glm::vec3(terrain.originX, 0.0f, terrain.originZ));
    squaresPerSide = side - 1;
    tilesPerSide = (squaresPerSide + kTileSquares - 1) / kTileSquares;
    tiles.assign(static_cast<size_t>(tilesPerSide * tilesPerSide), Tile{});
    for (int32_t tr = 0; tr < tilesPerSide; ++tr) {
        for (int32_t tc = 0; tc < tilesPerSide; ++tc) {
            // A tile's squares reach one sample past their last row and column.
            const int32_t r0 = tr * kTileSquares, r1 = std::min(r0 + kTileSquares, squaresPerSide);
            const int32_t c0 = tc * kTileSquares, c1 = std::min(c0 + kTileSquares, squaresPerSide);
            glm::vec3 lo(INFINITY), hi(-INFINITY);
            for (int32_t r = r0; r <= r1; ++r) {
                for (int32_t c = c0; c <= c1; ++c) {
                    const float* p = &terrain.positions[static_cast<size_t>(r * side + c) * 3];
                    const glm::vec3 v(p[0], p[1], p[2]);
                    lo = glm::min(lo, v);
                    hi = glm::max(hi, v);
                }
            }
            tiles[static_cast<size_t>(tr * tilesPerSide + tc)] = Tile{lo, hi};
        }
    }
    if (!Renderer::instance().glReady) return;

    release(false);
    // The default drawing's levels of detail: their skirts' vertices go after the mesh's
    // in the same buffers, which the reference drawing reads only up to the mesh's end.
    const bool levels = !Renderer::instance().referenceDrawing;
    if (levels) lod.build(terrain.positions, side, Terrain::hillCreases());
    const size_t skirts = levels ? lod.skirtSource.size() : 0;

    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(5, buffers);
    struct Attribute {
        GLuint location;
        GLint components;
        const std::vector<float>* data;
    };
    const Attribute attributes[4] = {
        {0, 3, &terrain.positions}, {2, 2, &terrain.texCoords}, {3, 3, &terrain.normals}, {4, 3, &terrain.tangents}};
    std::vector<float> extra;
    for (size_t a = 0; a < 4; ++a) {
        const size_t n = static_cast<size_t>(attributes[a].components);
        const std::vector<float>& data = *attributes[a].data;
        extra.resize(skirts * n);
        for (size_t k = 0; k < skirts; ++k) {
            const float* from = &data[lod.skirtSource[k] * n];
            std::copy(from, from + n, &extra[k * n]);
            if (a == 0) extra[k * n + 1] -= lod.skirtDrop[k];  // lowered below its edge
        }
        glBindBuffer(GL_ARRAY_BUFFER, buffers[a]);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>((data.size() + extra.size()) * sizeof(float)), nullptr,
                     GL_STATIC_DRAW);
        glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(data.size() * sizeof(float)), data.data());
        if (!extra.empty())
            glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(data.size() * sizeof(float)),
                            static_cast<GLsizeiptr>(extra.size() * sizeof(float)), extra.data());
        glEnableVertexAttribArray(attributes[a].location);
        glVertexAttribPointer(attributes[a].location, attributes[a].components, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    indexCount = static_cast<uint32_t>(terrain.indices.size());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[4]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(terrain.indices.size() * sizeof(uint32_t)),
                 terrain.indices.data(), GL_STATIC_DRAW);
    glBindVertexArray(0);

    if (levels) {
        // The same vertex buffers, the levels' element list.
        glGenVertexArrays(1, &lodVao);
        glBindVertexArray(lodVao);
        for (size_t a = 0; a < 4; ++a) {
            glBindBuffer(GL_ARRAY_BUFFER, buffers[a]);
            glEnableVertexAttribArray(attributes[a].location);
            glVertexAttribPointer(attributes[a].location, attributes[a].components, GL_FLOAT, GL_FALSE, 0, nullptr);
        }
        glGenBuffers(1, &lodElements);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, lodElements);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(lod.indices.size() * sizeof(uint32_t)),
                     lod.indices.data(), GL_STATIC_DRAW);
        glBindVertexArray(0);
        std::vector<uint32_t>().swap(lod.indices);  // the GPU holds them
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void TerrainRenderer::draw(const Camera& camera, const DirectionalLight& dirLight, const PointLight& pointLight,
                           const Spotlight* spotlight) const {
    if (!vao) return;  // no context, or nothing uploaded
    glUseProgram(shader.programId);
    const char* samplers[6] = {"meshTexture", "rTexture", "gTexture", "bTexture", "blendMap", "grassNormalMap"};
    for (uint32_t unit = 0; unit < 6; ++unit) {
        shader.setInt(samplers[unit], static_cast<int>(unit));
        textures.bindIndexed(unit);
    }
    shader.setMat4("model", model);
    shader.setMat4("view", camera.view);
    shader.setMat4("projection", camera.projection);
    shader.setVec3("viewPos", camera.position);

    shader.setVec3("dirLight.direction", dirLight.direction);
    shader.setVec3("dirLight.ambient", dirLight.ambient);
    shader.setVec3("dirLight.diffuse", dirLight.diffuse);
    shader.setVec3("dirLight.specular", dirLight.specular);
    shader.setVec3("dirLight.lightColour", dirLight.lightColour);

    shader.setVec3("pointLight.position", pointLight.position);
    shader.setVec3("pointLight.ambient", pointLight.ambient);
    shader.setVec3("pointLight.diffuse", pointLight.diffuse);
    shader.setVec3("pointLight.specular", pointLight.specular);
    shader.setVec3("pointLight.lightColour", pointLight.lightColour);
    shader.setFloat("pointLight.constant", pointLight.constant);
    shader.setFloat("pointLight.linear", pointLight.linear);
    shader.setFloat("pointLight.quadratic", pointLight.quadratic);

    if (spotlight) {
        shader.setSpotlight(*spotlight);
    }
    shader.setBool("fogActive", true);
    for (size_t k = 0; k < 4; ++k) {
        const std::string name = "meanColours[" + std::to_string(k) + "]";
        shader.setVec3(name.c_str(), meanColours[k]);
    }

    if (lodVao) {
        drawLevels(camera);
    } else {
        drawFull(camera);
    }
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(0);
}

float TerrainRenderer::pixelsPerUnitOf(const Camera& camera) const {
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return TerrainLod::pixelsPerUnit(camera.projection, static_cast<float>(viewport[2]), static_cast<float>(viewport[3]));
}

bool TerrainRenderer::groundCovers(const Camera& camera, float pixelsPerUnit, const glm::vec3& centre,
                                   float radius) const {
    if (!lodVao || !(pixelsPerUnit > 0.0f)) return false;
    const glm::mat4 toTerrain = glm::inverse(model);
    // This frame's levels keep the ground within kTerrainErrorPixels of the mesh on screen.
    const float slack = fastDrawing::kTerrainErrorPixels / pixelsPerUnit;
    return lod.groundCovers(glm::vec3(toTerrain * glm::vec4(camera.position, 1.0f)),
                            glm::vec3(toTerrain * glm::vec4(centre, 1.0f)), radius, slack);
}

void TerrainRenderer::drawLevels(const Camera& camera) const {
    const Planes planes = frustumPlanes(camera.projection * camera.view * model);
    // The eye and its view direction in the terrain's own coordinates.
    const glm::mat4 toTerrain = glm::inverse(model);
    const glm::vec3 eye = glm::vec3(toTerrain * glm::vec4(camera.position, 1.0f));
    const glm::vec3 front = glm::normalize(glm::vec3(toTerrain * glm::vec4(-glm::vec3(glm::row(camera.view, 2)), 0.0f)));
    const float pixels = pixelsPerUnitOf(camera);
    // The angle from the view axis to the screen's corners, from the projection.
    const float tanX = 1.0f / std::fabs(camera.projection[0][0]), tanY = 1.0f / std::fabs(camera.projection[1][1]);
    const float cosCorner = 1.0f / std::sqrt(1.0f + tanX * tanX + tanY * tanY);

    order.clear();
    for (size_t t = 0; t < lod.tiles.size(); ++t) {
        const TerrainLod::Tile& tile = lod.tiles[t];
        if (!boxVisible(Tile{tile.boundsMin, tile.boundsMax}, planes)) continue;
        const float depth = TerrainLod::nearestDepth(tile, eye, front, cosCorner);
        const int32_t level = TerrainLod::levelFor(tile, depth, pixels, fastDrawing::kTerrainErrorPixels);
        order.push_back({TerrainLod::distanceTo(tile, eye), static_cast<uint32_t>(t), level});
    }
    // Near tiles first, so that the depth test spares the far ground they hide.
    std::sort(order.begin(), order.end(), [](const Visible& a, const Visible& b) { return a.distance < b.distance; });
    rangeCounts.clear();
    rangeStarts.clear();
    uint32_t kept = 0;
    for (const Visible& v : order) {
        const TerrainLod::Range& range = lod.tiles[v.tile].range[static_cast<size_t>(v.level)];
        rangeCounts.push_back(static_cast<int32_t>(range.count));
        rangeStarts.push_back(reinterpret_cast<const void*>(static_cast<size_t>(range.first) * sizeof(uint32_t)));
        kept += range.count;
    }
    lastTilesDrawn = static_cast<uint32_t>(order.size());
    lastTrianglesDrawn = kept / 3;
    const OpaqueDrawing opaque;  // every terrain fragment has alpha 1
    glBindVertexArray(lodVao);
    if (!rangeCounts.empty())
        glMultiDrawElements(GL_TRIANGLES, rangeCounts.data(), GL_UNSIGNED_INT, rangeStarts.data(),
                            static_cast<GLsizei>(rangeCounts.size()));
    glBindVertexArray(0);
}

void TerrainRenderer::drawFull(const Camera& camera) const {
    glBindVertexArray(vao);
    if (!culling) {
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, nullptr);
        lastTrianglesDrawn = indexCount / 3;
        lastTilesDrawn = static_cast<uint32_t>(tiles.size());
    } else {
        const Planes planes = frustumPlanes(camera.projection * camera.view * model);
        visibleScratch.resize(tiles.size());
        lastTilesDrawn = 0;
        for (size_t t = 0; t < tiles.size(); ++t) {
            visibleScratch[t] = boxVisible(tiles[t], planes) ? 1 : 0;
            lastTilesDrawn += visibleScratch[t];
        }
        // Square (r, c) owns the six indices from (r * squaresPerSide + c) * 6. Runs of
        // visible tiles along a row become one range; a range that ends where the next
        // row's begins (whole rows visible) grows instead of starting a new one.
        rangeCounts.clear();
        rangeStarts.clear();
        size_t lastEnd = 0;
        uint32_t kept = 0;
        for (int32_t r = 0; r < squaresPerSide; ++r) {
            const uint8_t* rowTiles = &visibleScratch[static_cast<size_t>((r / kTileSquares) * tilesPerSide)];
            for (int32_t tc = 0; tc < tilesPerSide; ++tc) {
                if (!rowTiles[tc]) continue;
                const int32_t c0 = tc * kTileSquares, c1 = std::min(c0 + kTileSquares, squaresPerSide);
                const size_t first = static_cast<size_t>(r * squaresPerSide + c0) * 6;
                const int32_t count = (c1 - c0) * 6;
                if (!rangeCounts.empty() && lastEnd == first) {
                    rangeCounts.back() += count;
                } else {
                    rangeCounts.push_back(count);
                    rangeStarts.push_back(reinterpret_cast<const void*>(first * sizeof(uint32_t)));
                }
                lastEnd = first + static_cast<size_t>(count);
                kept += static_cast<uint32_t>(count);
            }
        }
        if (!rangeCounts.empty())
            glMultiDrawElements(GL_TRIANGLES, rangeCounts.data(), GL_UNSIGNED_INT, rangeStarts.data(),
                                static_cast<GLsizei>(rangeCounts.size()));
        lastTrianglesDrawn = kept / 3;
    }
    glBindVertexArray(0);
}

void TerrainRenderer::release(bool everything) {
    if (vao) {
        glDeleteBuffers(5, buffers);
        glDeleteVertexArrays(1, &vao);
    }
    if (lodVao) {
        glDeleteBuffers(1, &lodElements);
        glDeleteVertexArrays(1, &lodVao);
    }
    for (uint32_t& b : buffers) b = 0;
    vao = lodVao = lodElements = 0;
    indexCount = 0;
    if (!everything) return;
    textures.release();
    if (shader.programId) glDeleteProgram(shader.programId);
    shader.programId = 0;
}
