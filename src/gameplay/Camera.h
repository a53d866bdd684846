#pragma once
// A first-person camera: projection and view matrices and the look and move
// operations. The flat screens use a second camera for its matrices only.
#include <glm/glm.hpp>

class Camera {
public:
    glm::mat4 projection{1.0f};
    glm::mat4 view{1.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
    glm::vec3 position{0.0f, 0.0f, 0.0f};
    glm::vec3 front{0.0f, 0.0f, -1.0f};
    float lastMouseX = 0.0f;
    float lastMouseY = 0.0f;
    float fieldOfView = 80.0f;
    float speed = 80.0f;
    float sensitivity = 7.0f;
    bool locked = false;

    void updateView();
    void setPerspective(float fovDegrees, float aspect, float nearPlane, float farPlane);
    void setOrthographic(float left, float right, float bottom, float top, float nearPlane, float farPlane);

    void walkForward(float dt) { position += front * speed * dt; }
    void walkBack(float dt) { position -= front * speed * dt; }
    // The strafe axis is not normalised: strafing slows when looking up or down.
    void strafeLeft(float dt) { position -= glm::cross(front, up) * speed * dt; }
    void strafeRight(float dt) { position += glm::cross(front, up) * speed * dt; }
    void look(float x, float y, float dt);
    void lockCamera(bool lock);
    void escapeView();
};
