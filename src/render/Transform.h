#pragma once
// A render object's placement and its model matrix. GL-free.
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

struct Transform {
    glm::vec3 position{0.0f, 0.0f, 0.0f};
    glm::vec3 rotation{0.0f, 0.0f, 0.0f};  // degrees about x, y, z
    glm::vec3 scale{1.0f, 1.0f, 1.0f};
};

constexpr float kDegreesToRadians = 0.017453292f;

// translate · rotate x · rotate y · rotate z · scale, acting on column vectors.
inline glm::mat4 modelMatrix(const Transform& t) {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), t.position);
    m = glm::rotate(m, t.rotation.x * kDegreesToRadians, glm::vec3(1.0f, 0.0f, 0.0f));
    m = glm::rotate(m, t.rotation.y * kDegreesToRadians, glm::vec3(0.0f, 1.0f, 0.0f));
    m = glm::rotate(m, t.rotation.z * kDegreesToRadians, glm::vec3(0.0f, 0.0f, 1.0f));
    return glm::scale(m, t.scale);
}
