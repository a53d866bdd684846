#include "gameplay/bot/BotSteering.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "gameplay/Player.h"

namespace bot {

namespace {

constexpr int32_t kLongestMotion = 50;  // a longer jump of the pointer is taken for a warp
constexpr float kPi = 3.14159265f;

float wrapAngle(float a) {
    while (a > kPi) a -= 2.0f * kPi;
    while (a < -kPi) a += 2.0f * kPi;
    return a;
}

// Pointer motion split into steps of at most 50 pixels along one axis.
void moveAlong(int32_t& x, int32_t& y, int32_t pixels, bool horizontal, InputEvents& out) {
    while (pixels != 0) {
        const int32_t stepPixels = std::clamp(pixels, -kLongestMotion, kLongestMotion);
        (horizontal ? x : y) += stepPixels;
        pixels -= stepPixels;
        out.push_back(InputEvent::motion(x, y));
    }
}

}  // namespace

glm::vec2 viewForStrafing(glm::vec2 heading) {
    // The right of a view (x, z) is (-z, x); the view is the heading turned back by
    // the eighth turn, scaled so that view + right = the heading.
    return glm::vec2(heading.x + heading.y, heading.y - heading.x) * 0.5f;
}

glm::vec2 strafingStep(glm::vec2 front) { return {front.x - front.y, front.y + front.x}; }

TurnRates turnRates(const Camera& camera, float dt) {
    // The camera's own rule on a copy, turned by a whole step of each axis from a level
    // view: whatever scales the turn (sensitivity, the player's factor, the frame time)
    // is in the answer.
    Camera probe = camera;
    probe.front = glm::vec3(0.0f, 0.0f, -1.0f);
    probe.lastMouseX = 0.0;
    probe.lastMouseY = 0.0;
    probe.look(kLongestMotion, 0.0, dt);
    TurnRates rates;
    rates.yaw = yawBetween({0.0f, -1.0f}, {probe.front.x, probe.front.z}) / static_cast<float>(kLongestMotion);
    probe.front = glm::vec3(0.0f, 0.0f, -1.0f);
    probe.lastMouseX = 0.0;
    probe.look(0.0, kLongestMotion, dt);
    rates.pitch = std::asin(std::clamp(probe.front.y, -1.0f, 1.0f)) / static_cast<float>(kLongestMotion);
    return rates;
}

float yawBetween(glm::vec2 from, glm::vec2 to) {
    // A turn by a about the up axis takes the angle atan2(-z, x) of a direction up by a.
    return wrapAngle(std::atan2(-to.y, to.x) - std::atan2(-from.y, from.x));
}

void Steering::face(const Camera& camera, glm::vec3 direction, float dt, InputEvents& out) const {
    const glm::vec2 flatNow{camera.front.x, camera.front.z};
    const glm::vec2 flatWanted{direction.x, direction.z};
    if (camera.locked || glm::length(flatNow) < 1e-6f || glm::length(flatWanted) < 1e-6f) return;
    const TurnRates rates = turnRates(camera, dt);
    if (!(std::abs(rates.yaw) > 0.0f) || !(std::abs(rates.pitch) > 0.0f)) return;

    auto x = static_cast<int32_t>(std::lround(camera.lastMouseX));
    auto y = static_cast<int32_t>(std::lround(camera.lastMouseY));
    moveAlong(x, y, static_cast<int32_t>(std::lround(yawBetween(flatNow, flatWanted) / rates.yaw)), true, out);
    const float pitchNow = std::atan2(camera.front.y, glm::length(flatNow));
    const float pitchWanted = std::atan2(direction.y, glm::length(flatWanted));
    moveAlong(x, y, static_cast<int32_t>(std::lround((pitchWanted - pitchNow) / rates.pitch)), false, out);
}

void Steering::hold(const Player& player, const Controls& wanted, InputEvents& out) const {
    if (wanted.walk && !player.moveForward) out.push_back(InputEvent::keyDown(Key::W));
    if (!wanted.walk && player.moveForward) out.push_back(InputEvent::keyUp(Key::W));
    const bool strafe = wanted.walk && wanted.strafe;
    if (strafe && !player.moveRight) out.push_back(InputEvent::keyDown(Key::D));
    if (!strafe && player.moveRight) out.push_back(InputEvent::keyUp(Key::D));
    // Shift runs only when pressed with a movement key already held.
    if (wanted.walk && wanted.run && !player.running) out.push_back(InputEvent::keyDown(Key::LShift));
    if ((!wanted.walk || !wanted.run) && player.running) out.push_back(InputEvent::keyUp(Key::LShift));
    if (wanted.fire && !player.firing) out.push_back(InputEvent::buttonDown(MouseButton::Left));
    if (!wanted.fire && player.firing) out.push_back(InputEvent::buttonUp(MouseButton::Left));
}

}  // namespace bot
