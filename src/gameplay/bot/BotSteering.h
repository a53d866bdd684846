#pragma once
// The automatic player's hands: turns the view toward a wanted direction with pointer
// motion, as a person moves the mouse, and holds or lets go of the walk, run and fire
// controls. It writes input events only; the player's state tells it what is held.
#include <glm/glm.hpp>

#include "scene/Camera.h"
#include "gameplay/InputEvent.h"

struct Player;

namespace bot {

// The turn that one pixel of pointer motion gives this frame, in radians: the yaw (in
// the sense of yawBetween) for a pixel to the right, and the change of pitch (up counts
// positive) for a pixel down, which lowers the view and so is negative.
struct TurnRates {
    float yaw = 0.0f;
    float pitch = 0.0f;
};
TurnRates turnRates(const Camera& camera, float dt);

// The signed turn about the vertical axis from one horizontal direction to another, in
// radians, in the sense that the pointer's leftward motion turns the view.
float yawBetween(glm::vec2 from, glm::vec2 to);

struct Controls {
    bool walk = false;    // W held
    bool strafe = false;  // and D: the two steps add up, diagonally to the view
    bool run = false;     // and Shift
    bool fire = false;    // the left button held
};

// Walking forward and strafing right at once moves the player along front + right,
// half a right angle to the right of the view and faster by the square root of two.
// viewForStrafing: a level view whose diagonal step points along `heading`;
// strafingStep: the step of a level view per unit of speed and time.
glm::vec2 viewForStrafing(glm::vec2 heading);
glm::vec2 strafingStep(glm::vec2 front);

class Steering {
public:
    // Motion events that turn the camera so that its front points along `direction`
    // (any length above zero; its height share sets the pitch). Every event moves the
    // pointer at most 50 pixels, so that none reads as a warp.
    void face(const Camera& camera, glm::vec3 direction, float dt, InputEvents& out) const;
    // Key and button events that bring what the player holds to `wanted`.
    void hold(const Player& player, const Controls& wanted, InputEvents& out) const;
};

}  // namespace bot
