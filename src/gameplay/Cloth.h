#pragma once
// The flag: a mass-spring cloth of particles integrated with Verlet steps, held by
// distance constraints to its neighbours and second neighbours, pinned at the top and
// bottom of its left edge. GL-free; ClothRenderer draws it.
#include <array>
#include <cstdint>
#include <vector>

#include <glm/glm.hpp>

struct ClothParticle {
    float damping = 0.1f;
    float timeStepSquared = 0.25f;
    bool movable = true;
    float mass = 1.0f;
    glm::vec3 position{0.0f};
    glm::vec3 oldPosition{0.0f};
    glm::vec3 acceleration{0.0f};  // cleared after every step of a movable particle

    void addForce(const glm::vec3& force) { acceleration += force / mass; }
    // Verlet with damping; an immovable particle keeps its place and its acceleration.
    void step();
};

struct ClothConstraint {
    int32_t first = 0;  // particle indices
    int32_t second = 0;
    float restDistance = 0.0f;  // their distance when the constraint was made
};

class Cloth {
public:
    int32_t particlesWide = 0;
    int32_t particlesHigh = 0;
    std::vector<ClothParticle> particles;  // index y * particlesWide + x
    std::vector<ClothConstraint> constraints;
    // Each grid cell as two triangles of particle indices, cells in x-major order.
    std::vector<std::array<int32_t, 3>> triangles;
    glm::vec3 position{0.0f};  // world position of particle (0, 0)

    // Lays the grid out in local space, hanging down (-y) from row 0, and builds its
    // constraints, pins and triangles.
    void init(float width, float height, int32_t wide, int32_t high);

    int32_t index(int32_t x, int32_t y) const { return y * particlesWide + x; }
    ClothParticle& at(int32_t x, int32_t y) { return particles[static_cast<size_t>(index(x, y))]; }
    const ClothParticle& at(int32_t x, int32_t y) const { return particles[static_cast<size_t>(index(x, y))]; }

    // Adds the force (divided by mass) to every particle's acceleration.
    void addForce(const glm::vec3& force);
    // Wind on every triangle, along its normal and in proportion to its area and to how
    // squarely it faces the wind.
    void windForce(const glm::vec3& direction);
    // Three relaxation passes over the constraints, then one Verlet step.
    void timeStep();

    // Every particle's normal for the drawing: the sum of its triangles' unit normals.
    std::vector<glm::vec3> vertexNormals() const;
    // Indices of one triangle strip over the grid, row by row, joined by repeated
    // indices (670 for 20 x 17).
    std::vector<uint32_t> stripIndices() const;

private:
    void addConstraint(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // Calls visit(triangle, n, |n|) for every triangle with its unnormalised normal
    // n = (p2 - p1) x (p3 - p1). A collapsed triangle has no facing: it catches no wind
    // and adds no normal (and must not spread NaN), so it is skipped.
    template <typename Visit>
    void forEachFacingTriangle(Visit visit) const {
        for (const auto& t : triangles) {
            const glm::vec3& p1 = particles[static_cast<size_t>(t[0])].position;
            const glm::vec3& p2 = particles[static_cast<size_t>(t[1])].position;
            const glm::vec3& p3 = particles[static_cast<size_t>(t[2])].position;
            const glm::vec3 n = glm::cross(p2 - p1, p3 - p1);
            const float length = glm::length(n);
            if (length > 0.0f) visit(t, n, length);
        }
    }
};
