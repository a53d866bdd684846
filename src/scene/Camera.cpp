#include "scene/Camera.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

void Camera::updateView() { view = glm::lookAt(position, position + front, up); }

void Camera::setPerspective(float fovDegrees, float aspect, float nearPlane, float farPlane) {
    fieldOfView = fovDegrees;
    projection = glm::perspective(glm::radians(fovDegrees), aspect, nearPlane, farPlane);
}

void Camera::setOrthographic(float left, float right, float bottom, float top, float nearPlane, float farPlane) {
    projection = glm::ortho(left, right, bottom, top, nearPlane, farPlane);
}

void Camera::look(double x, double y, float dt) {
    if (locked) return;
    const auto dx = static_cast<float>(x - lastMouseX);
    const auto dy = static_cast<float>(y - lastMouseY);
    if (std::sqrt(dx * dx + dy * dy) <= 50.0f) {
        // Larger jumps of the pointer (a warp, a re-capture) are not turns.
        const glm::vec3 pitchAxis = glm::cross(front, up);
        const float toRadians = -3.14159265f / 180.0f * sensitivity * lookScale * dt;
        front = glm::vec3(glm::rotate(glm::mat4(1.0f), dx * toRadians, up) * glm::vec4(front, 0.0f));
        if (glm::length(pitchAxis) > 0.0f)
            front = glm::vec3(glm::rotate(glm::mat4(1.0f), dy * toRadians, pitchAxis) * glm::vec4(front, 0.0f));
    }
    lastMouseX = x;
    lastMouseY = y;
}

void Camera::lockCamera(bool lock) {
    locked = lock;
    up = lock ? glm::vec3(90.0f, 1.0f, 0.0f) : glm::vec3(0.0f, 1.0f, 0.0f);
}

void Camera::escapeView() {
    position = glm::vec3(344.5195f, 90.02967f, 100.93983f);
    front = glm::vec3(-0.063406f, -0.019373f, 0.997794f);
    locked = true;
}
