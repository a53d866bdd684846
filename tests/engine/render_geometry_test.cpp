// The GL-free half of the drawing layer: shapes, model matrices, text placement and the
// registry's lookup. Nothing here needs a context.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "render/Renderer.h"
#include "render/Shape.h"
#include "render/TextLayout.h"
#include "render/Transform.h"

namespace {

std::unique_ptr<Shape> generated(int32_t kind) {
    std::unique_ptr<Shape> shape = makeShape(kind);
    shape->generate();
    return shape;
}

void expectVec3(const float* v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(v[0], x, tolerance);
    EXPECT_NEAR(v[1], y, tolerance);
    EXPECT_NEAR(v[2], z, tolerance);
}

}  // namespace

TEST(Shapes, CountsAndFixedIndicesPerKind) {
    struct Case {
        int32_t kind;
        uint32_t vertices;
        uint32_t indices;
    };
    for (const Case& c : {Case{TriangleShape, 3, 3}, Case{QuadShape, 4, 6}, Case{CubeShape, 24, 36},
                          Case{SphereShape, 5776, 34200}}) {
        SCOPED_TRACE(c.kind);
        const auto shape = generated(c.kind);
        EXPECT_EQ(shape->getVertexCount(), c.vertices);
        EXPECT_EQ(shape->getVertices().size(), c.vertices);
        EXPECT_EQ(shape->getIndexCount(), c.indices);
        uint32_t largest = 0;
        for (uint32_t i = 0; i < shape->getIndexCount(); ++i) largest = std::max(largest, shape->getIndices()[i]);
        EXPECT_LT(largest, c.vertices) << "an index points past the vertex list";
    }
    const auto quad = generated(QuadShape);
    const uint32_t expected[6] = {0, 1, 2, 2, 3, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(quad->getIndices()[i], expected[i]);
    const auto cube = generated(CubeShape);
    const uint32_t face5[6] = {20, 21, 22, 22, 23, 20};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(cube->getIndices()[30 + i], face5[i]);
}

TEST(Shapes, UnknownKindMakesNoShape) {
    EXPECT_EQ(makeShape(4), nullptr);
    EXPECT_EQ(makeShape(-1), nullptr);
}

TEST(Shapes, SphereRunsFromNorthToSouthPole) {
    const auto sphere = generated(SphereShape);
    const std::vector<Vertex> v = sphere->getVertices();
    expectVec3(v.front().position, 0.0f, 3.0f, 0.0f);
    EXPECT_FLOAT_EQ(v.front().texCoords[0], 0.0f);
    EXPECT_FLOAT_EQ(v.front().texCoords[1], 0.0f);
    expectVec3(v.back().position, 0.0f, -3.0f, 0.0f, 1e-4f);
    EXPECT_NEAR(v.back().texCoords[0], 1.0f, 1e-6f);
    EXPECT_NEAR(v.back().texCoords[1], 1.0f, 1e-6f);
    expectVec3(v.front().color, 1.0f, 0.0f, 0.0f);
    // The last group of six ends on k + 1 for k = 76 * 75 - 1.
    EXPECT_EQ(sphere->getIndices()[sphere->getIndexCount() - 1], 5700u);
}

TEST(Shapes, CubeFacesCarryTheirNormalsAndTangents) {
    const auto cube = generated(CubeShape);
    const std::vector<Vertex> v = cube->getVertices();
    struct Face {
        const char* name;
        float normal[3];
        float tangent[3];
    };
    const Face faces[4] = {{"front", {0, 0, 1}, {1, 0, 0}},
                           {"back", {0, 0, -1}, {-1, 0, 0}},
                           {"right", {1, 0, 0}, {0, 0, -1}},
                           {"left", {-1, 0, 0}, {0, 0, 1}}};
    for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE(faces[f].name);
        for (int c = 0; c < 4; ++c) {
            const Vertex& vertex = v[static_cast<size_t>(4 * f + c)];
            expectVec3(vertex.normal, faces[f].normal[0], faces[f].normal[1], faces[f].normal[2]);
            expectVec3(vertex.tangent, faces[f].tangent[0], faces[f].tangent[1], faces[f].tangent[2]);
        }
    }
    // Texture corners repeat per face.
    EXPECT_FLOAT_EQ(v[6].texCoords[0], 1.0f);
    EXPECT_FLOAT_EQ(v[6].texCoords[1], 1.0f);
}

TEST(ModelMatrix, HudIconIsScaledTurnedAndMoved) {
    // The ammunition icon's transform.
    const Transform ammo{{-14.5f, -18.4f, 0.0f}, {0.0f, 0.0f, 180.0f}, {0.6f, 1.0f, 0.6f}};
    const glm::mat4 m = modelMatrix(ammo);
    const glm::vec4 corner = m * glm::vec4(1.0f, 1.0f, 0.0f, 1.0f);
    EXPECT_NEAR(corner.x, -15.1f, 1e-5f);
    EXPECT_NEAR(corner.y, -19.4f, 1e-5f);
    EXPECT_NEAR(corner.z, 0.0f, 1e-6f);
    const glm::vec4 depth = m * glm::vec4(0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_NEAR(depth.z, 0.6f, 1e-6f);
    EXPECT_NEAR(m[3][0], -14.5f, 1e-6f);
    EXPECT_NEAR(m[3][1], -18.4f, 1e-6f);
}

TEST(ModelMatrix, RotationsApplyZThenYThenX) {
    // A point on +x turned 90 degrees about z lands on +y; then 90 about x carries +y to +z.
    const Transform t{{0, 0, 0}, {90.0f, 0.0f, 90.0f}, {1, 1, 1}};
    const glm::vec4 p = modelMatrix(t) * glm::vec4(1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(p.x, 0.0f, 1e-5f);
    EXPECT_NEAR(p.y, 0.0f, 1e-5f);
    EXPECT_NEAR(p.z, 1.0f, 1e-5f);
}

TEST(TextLayout, PenMovesInWholePixelsAndSkipsUnknownCodes) {
    GlyphTable glyphs;
    glyphs['A'] = Glyph{1, 20, 30, 2, 25, 1000};  // 1000/64 = 15.625 -> 15 pixels
    glyphs['B'] = Glyph{2, 18, 30, 1, 30, 703};   // 10.98 -> 10 pixels
    glyphs[' '] = Glyph{3, 0, 0, 0, 0, 640};      // no bitmap, still advances

    std::vector<PlacedGlyph> placed;
    // "\xE9" is a Windows-1252 accented letter: no glyph, no advance.
    const float end = layoutLine("AB \xE9" "A", glyphs, 100.0f, 200.0f, 1.0f, 1.0f, &placed);
    EXPECT_FLOAT_EQ(end, 100.0f + 15 + 10 + 10 + 15);
    ASSERT_EQ(placed.size(), 3u);  // the space has nothing to draw
    EXPECT_EQ(placed[2].code, 'A');
    EXPECT_FLOAT_EQ(placed[2].quad.vertices[1][0], 100.0f + 35 + 2);  // pen + bearing

    EXPECT_FLOAT_EQ(layoutLine("AA", glyphs, 0.0f, 0.0f, 1.0f, 0.5f, nullptr), 15.0f);
    EXPECT_FLOAT_EQ(layoutLine("", glyphs, 7.0f, 0.0f, 1.0f, 1.0f, nullptr), 7.0f);
}

TEST(TextLayout, GlyphQuadHangsFromTheBaseline) {
    const Glyph g{1, 20, 30, 2, 25, 1000};
    const GlyphQuad q = glyphQuad(100.0f, 200.0f, g, 2.0f);
    // Bottom-left vertex: pen + 2*2, baseline - (30-25)*2; the top row of the bitmap is v = 0.
    EXPECT_FLOAT_EQ(q.vertices[1][0], 104.0f);
    EXPECT_FLOAT_EQ(q.vertices[1][1], 190.0f);
    EXPECT_FLOAT_EQ(q.vertices[1][3], 1.0f);
    EXPECT_FLOAT_EQ(q.vertices[0][1], 250.0f);
    EXPECT_FLOAT_EQ(q.vertices[0][3], 0.0f);
    EXPECT_FLOAT_EQ(q.vertices[5][0], 144.0f);
}

TEST(Registry, FindObjectReturnsTheFirstMatchAndReportsMisses) {
    Renderer& renderer = Renderer::instance();
    const size_t before = renderer.objects.size();
    for (const auto& [id, key] : {std::pair{1000, "first"}, std::pair{1001, "second"}, std::pair{1000, "dup"}}) {
        auto object = std::make_unique<RenderObject>();
        object->numericId = id;
        object->textureKey = key;
        renderer.objects.push_back(std::move(object));
    }
    ASSERT_NE(renderer.findObject(1000), nullptr);
    EXPECT_EQ(renderer.findObject(1000)->textureKey, "first");
    EXPECT_EQ(renderer.findObject(1001)->textureKey, "second");

    testing::internal::CaptureStderr();
    EXPECT_EQ(renderer.findObject(57), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Unable to find the game object with numeric id: 57.\n");

    renderer.objects.resize(before);
}
