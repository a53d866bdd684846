#pragma once
// Parametric primitives composed into the game's models. A Model holds one
// Surface per material; every primitive appends triangles with positions,
// normals and texture coordinates to the surface it is given, placed by a
// transform. Texture coordinates are in texture repeats (the textures tile), so
// the `tile` arguments give the world length one repeat covers.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <glm/glm.hpp>

namespace assetgen::models {

struct Vertex {
    glm::vec3 p;
    glm::vec3 n;
    glm::vec2 uv;
};

struct Surface {
    std::string material;  // also the texture file's base name
    std::vector<Vertex> verts;
    std::vector<std::uint32_t> idx;
};

struct Model {
    std::string path;  // relative to Models3D/
    std::deque<Surface> surfaces;  // a deque: references handed out stay valid
    Surface& operator[](const std::string& material);
};

// Transform helpers (degrees for the rotations).
glm::mat4 T(float x, float y, float z);
glm::mat4 T(glm::vec3 v);
glm::mat4 S(float x, float y, float z);
glm::mat4 S(float s);
glm::mat4 Rx(float deg);
glm::mat4 Ry(float deg);
glm::mat4 Rz(float deg);
// Rotation taking +y to the direction d (used to lay cylinders along a line).
glm::mat4 alignY(glm::vec3 d);
// Transform placing a +y primitive of height |b - a| from a to b.
glm::mat4 between(glm::vec3 a, glm::vec3 b);

// Box centred on the origin, edges rounded with radius r (0 = sharp).
void box(Surface& s, const glm::mat4& m, glm::vec3 size, float r = 0.0f, float tile = 1.0f);

// Surface of revolution about +y. profile holds (radius, y) from bottom to top;
// open ends with radius above zero get flat caps. faceted = flat sides (prisms,
// pyramids, crystals); smooth = shared normals along the profile.
struct LatheOpts {
    int segments = 24;
    bool smooth = true;
    bool faceted = false;
    bool caps = true;
    float tileU = 1.0f;  // world length of one repeat around
    float tileV = 1.0f;  // and along the profile
    float startDeg = 0.0f;
};
void lathe(Surface& s, const glm::mat4& m, const std::vector<glm::vec2>& profile, const LatheOpts& o = {});

// Conveniences over lathe (all stand on y = 0 unless said otherwise).
void cylinder(Surface& s, const glm::mat4& m, float r, float h, int segments = 24, float tile = 1.0f);
void cone(Surface& s, const glm::mat4& m, float r0, float r1, float h, int segments = 24, float tile = 1.0f);
void sphere(Surface& s, const glm::mat4& m, float r, int segments = 24, int rings = 12, float tile = 1.0f);  // centred
void prism(Surface& s, const glm::mat4& m, float r, float h, int sides, float tile = 1.0f);
void pyramid(Surface& s, const glm::mat4& m, float r, float h, int sides, float tile = 1.0f);
void bipyramid(Surface& s, const glm::mat4& m, float r, float hDown, float hUp, int sides, float tile = 1.0f);

// Torus about +y through the origin.
void torus(Surface& s, const glm::mat4& m, float R, float r, int segments = 32, int sides = 12, float tile = 1.0f);

// Polygon in the xy plane (counter-clockwise), extruded from z = -depth/2 to +depth/2.
void extrude(Surface& s, const glm::mat4& m, const std::vector<glm::vec2>& poly, float depth, float tile = 1.0f);

// Circle swept along a polyline; radius per point.
void tube(Surface& s, const glm::mat4& m, const std::vector<glm::vec3>& path, const std::vector<float>& radius,
          int sides = 10, float tile = 1.0f, bool caps = true);

// Lumpy low-poly blob (rocks): a subdivided icosahedron with seeded noise, flat shaded.
void blob(Surface& s, const glm::mat4& m, glm::vec3 radius, int subdivisions, float roughness, std::uint32_t seed,
          float tile = 1.0f);

// Leaf or blade: a thin pointed shape along +y of length len and width w, bent
// towards +z by `bend` at the tip (both sides visible).
void leaf(Surface& s, const glm::mat4& m, float len, float w, float bend, float thickness, float tile = 1.0f);

// Moves every vertex of the model (normals follow).
void transformModel(Model& model, const glm::mat4& m);
// Lowest y of the model after the transform m.
float minY(const Model& model, const glm::mat4& m = glm::mat4(1.0f));

// Helpers for smooth curves and deterministic jitter.
float hash01(std::uint32_t a, std::uint32_t b = 0, std::uint32_t c = 0);
std::vector<glm::vec2> circlePoly(float r, int n, float startDeg = 0.0f);

}  // namespace assetgen::models
