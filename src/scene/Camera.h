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
    // The last pointer position seen by look. Double, so that a pointer that has run
    // millions of pixels beyond the window (captured, turning on and on) still gives
    // exact one-pixel differences.
    double lastMouseX = 0.0;
    double lastMouseY = 0.0;
    float fieldOfView = 80.0f;
    float speed = 80.0f;
    float sensitivity = 7.0f;
    // The player's own factor on top of sensitivity (the settings file's
    // mouse_sensitivity=); 1 leaves every turn exactly as it was.
    float lookScale = 1.0f;
    bool locked = false;

    void updateView();
    void setPerspective(float fovDegrees, float aspect, float nearPlane, float farPlane);
    void setOrthographic(float left, float right, float bottom, float top, float nearPlane, float farPlane);

    void walkForward(float dt) { position += front * speed * dt; }
    void walkBack(float dt) { position -= front * speed * dt; }
    // The strafe axis is not normalised: strafing slows when looking up or down.
    void strafeLeft(float dt) { position -= glm::cross(front, up) * speed * dt; }
    void strafeRight(float dt) { position += glm::cross(front, up) * speed * dt; }
    void look(double x, double y, float dt);
    void lockCamera(bool lock);
    void escapeView();
};
