#pragma once
// The six planes of a camera's view volume, for skipping what cannot be seen.
#include <array>

#include <glm/glm.hpp>

struct Frustum {
    std::array<glm::vec4, 6> planes{};  // inward normals: a point p is inside when dot(n, p) + d >= 0 for all

    static Frustum fromMatrix(const glm::mat4& projectionView) {
        Frustum f;
        const glm::mat4 m = glm::transpose(projectionView);  // rows of the matrix as columns
        f.planes = {m[3] + m[0], m[3] - m[0], m[3] + m[1], m[3] - m[1], m[3] + m[2], m[3] - m[2]};
        for (glm::vec4& p : f.planes) p /= glm::length(glm::vec3(p));
        return f;
    }
    bool seesSphere(const glm::vec3& centre, float radius) const {
        for (const glm::vec4& p : planes)
            if (glm::dot(glm::vec3(p), centre) + p.w < -radius) return false;
        return true;
    }
};
