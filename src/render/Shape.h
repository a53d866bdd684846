#pragma once
// The procedural primitives every render object is built from. Plain CPU-side lists:
// nothing here knows OpenGL, so the geometry can be checked without a context.
#include <cstdint>
#include <memory>
#include <vector>

// One vertex as the render objects upload it; the field order is also the attribute
// order 0..4 of every render object's vertex array.
struct Vertex {
    float position[3];
    float color[3];
    float texCoords[2];
    float normal[3];
    float tangent[3];
};
static_assert(sizeof(Vertex) == 56, "the vertex layout is five tightly packed float groups");

enum ShapeKind : int32_t {
    TriangleShape = 0,
    QuadShape = 1,
    CubeShape = 2,
    SphereShape = 3,
};

class Shape {
public:
    virtual ~Shape() = default;
    virtual std::vector<Vertex> getVertices() const { return vertices; }
    virtual uint32_t getVertexCount() const { return static_cast<uint32_t>(vertices.size()); }
    virtual const uint32_t* getIndices() const = 0;
    virtual uint32_t getIndexCount() const = 0;
    virtual void generate() = 0;

protected:
    std::vector<Vertex> vertices;
};

class Triangle : public Shape {
public:
    const uint32_t* getIndices() const override { return indices; }
    uint32_t getIndexCount() const override { return 3; }
    void generate() override;

private:
    uint32_t indices[3] = {0, 1, 2};
};

// Spans -1..1 in x and y, so an object's scale is its half-size.
class Quad : public Shape {
public:
    const uint32_t* getIndices() const override { return indices; }
    uint32_t getIndexCount() const override { return 6; }
    void generate() override;

private:
    uint32_t indices[6] = {0, 1, 2, 2, 3, 0};
};

// A unit cube (edges -0.5..0.5), four vertices per face so each face has its own
// normal, texture corners and tangent.
class Cube : public Shape {
public:
    Cube();
    const uint32_t* getIndices() const override { return indices; }
    uint32_t getIndexCount() const override { return 36; }
    void generate() override;

private:
    uint32_t indices[36];
};

// A latitude-longitude sphere with the poles on the y axis.
class Sphere : public Shape {
public:
    const uint32_t* getIndices() const override { return indexList.data(); }
    uint32_t getIndexCount() const override { return static_cast<uint32_t>(indexList.size()); }
    void generate() override;

    int32_t stackCount = 75;
    int32_t sectorCount = 75;
    int32_t radius = 3;
    float pi = 3.1415927f;

private:
    std::vector<uint32_t> indexList;
};

// A new, not yet generated shape of the given kind; null for an unknown kind.
std::unique_ptr<Shape> makeShape(int32_t kind);
