#include "render/Shape.h"

#include <cmath>

namespace {

struct Vec3 {
    float x, y, z;
};

Vertex makeVertex(Vec3 p, float u, float v, Vec3 n, Vec3 t) {
    return Vertex{{p.x, p.y, p.z}, {1.0f, 0.0f, 0.0f}, {u, v}, {n.x, n.y, n.z}, {t.x, t.y, t.z}};
}

// Tangent of triangle (a, b, c) from its positions and texture coordinates.
Vec3 triangleTangent(Vec3 pa, Vec3 pb, Vec3 pc, const float* ta, const float* tb, const float* tc) {
    const Vec3 e1{pb.x - pa.x, pb.y - pa.y, pb.z - pa.z};
    const Vec3 e2{pc.x - pa.x, pc.y - pa.y, pc.z - pa.z};
    const float d1u = tb[0] - ta[0], d1v = tb[1] - ta[1];
    const float d2u = tc[0] - ta[0], d2v = tc[1] - ta[1];
    const float f = 1.0f / (d1u * d2v - d2u * d1v);
    Vec3 t{f * (d2v * e1.x - d1v * e2.x), f * (d2v * e1.y - d1v * e2.y), f * (d2v * e1.z - d1v * e2.z)};
    const float len = std::sqrt(t.x * t.x + t.y * t.y + t.z * t.z);
    if (len > 0.0f) t = {t.x / len, t.y / len, t.z / len};
    return t;
}

}  // namespace

void Triangle::generate() {
    const Vec3 n{0, 0, 1}, t{1, 1, 1};
    vertices.push_back(makeVertex({-0.5f, -0.5f, 0}, 0.0f, 0.0f, n, t));
    vertices.push_back(makeVertex({0.5f, -0.5f, 0}, 0.5f, 1.0f, n, t));
    vertices.push_back(makeVertex({0, 0.5f, 0}, 1.0f, 0.0f, n, t));
}

void Quad::generate() {
    const Vec3 n{0, 0, 1}, t{1, 1, 1};
    vertices.push_back(makeVertex({-1, -1, 0}, 0, 0, n, t));
    vertices.push_back(makeVertex({1, -1, 0}, 1, 0, n, t));
    vertices.push_back(makeVertex({1, 1, 0}, 1, 1, n, t));
    vertices.push_back(makeVertex({-1, 1, 0}, 0, 1, n, t));
}

Cube::Cube() {
    for (uint32_t f = 0; f < 6; ++f) {
        const uint32_t b = 4 * f;
        const uint32_t face[6] = {b, b + 1, b + 2, b + 2, b + 3, b};
        for (uint32_t k = 0; k < 6; ++k) indices[6 * f + k] = face[k];
    }
}

void Cube::generate() {
    static const float kCorners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    struct Face {
        Vec3 p[4];
        Vec3 normal;
    };
    static const Face kFaces[6] = {
        {{{-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}}, {0, 0, 1}},        // front
        {{{0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}}, {0, 0, -1}},   // back
        {{{0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}}, {1, 0, 0}},        // right
        {{{-0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, -0.5f}}, {-1, 0, 0}},   // left
        {{{-0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f}}, {0, 1, 0}},        // top
        {{{0.5f, -0.5f, 0.5f}, {-0.5f, -0.5f, 0.5f}, {-0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}}, {0, -1, 0}},   // bottom
    };
    for (const Face& face : kFaces) {
        const Vec3 t1 = triangleTangent(face.p[0], face.p[1], face.p[2], kCorners[0], kCorners[1], kCorners[2]);
        const Vec3 t2 = triangleTangent(face.p[0], face.p[2], face.p[3], kCorners[0], kCorners[2], kCorners[3]);
        for (int c = 0; c < 4; ++c)
            vertices.push_back(makeVertex(face.p[c], kCorners[c][0], kCorners[c][1], face.normal, c < 3 ? t1 : t2));
    }
}

void Sphere::generate() {
    const float stackStep = pi / static_cast<float>(stackCount);
    const float sectorStep = 2.0f * pi / static_cast<float>(sectorCount);
    const float r = static_cast<float>(radius);
    for (int32_t i = 0; i <= stackCount; ++i) {
        const float phi = static_cast<float>(i) * stackStep;
        for (int32_t j = 0; j <= sectorCount; ++j) {
            const float theta = static_cast<float>(j) * sectorStep;
            const Vec3 n{std::sin(phi) * std::cos(theta), std::cos(phi), std::sin(phi) * std::sin(theta)};
            vertices.push_back(makeVertex({r * n.x, r * n.y, r * n.z}, theta / (2.0f * pi), phi / pi, n, {1, 1, 1}));
        }
    }
    // The walk is linear over the vertex list; its largest index is the last vertex.
    const uint32_t sectors = static_cast<uint32_t>(sectorCount);
    const uint32_t end = static_cast<uint32_t>(stackCount + 1) * sectors;
    for (uint32_t k = 0; k < end; ++k) {
        indexList.insert(indexList.end(), {k, k + sectors + 1, k + sectors, k + sectors + 1, k, k + 1});
    }
}

std::unique_ptr<Shape> makeShape(int32_t kind) {
    switch (kind) {
        case TriangleShape: return std::make_unique<Triangle>();
        case QuadShape: return std::make_unique<Quad>();
        case CubeShape: return std::make_unique<Cube>();
        case SphereShape: return std::make_unique<Sphere>();
        default: return nullptr;
    }
}
