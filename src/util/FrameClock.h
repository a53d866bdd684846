#pragma once
// Frame timing from SDL's 32-bit millisecond tick count.
#include <cstdint>

// The longest frame the simulation is allowed to see. A stall (a modal dialog, a
// dragged window) would otherwise hand one huge step to the movement code, and a
// held key could carry the player through a wall in a single frame.
constexpr float kMaxFrameDelta = 0.1f;

// Seconds between the previous tick count and now, capped at kMaxFrameDelta.
// lastFrameTicks is updated to now.
inline float advanceFrameClock(uint32_t ticks, float& lastFrameTicks) {
    const float now = static_cast<float>(ticks);
    float delta = (now - lastFrameTicks) * 0.001f;
    lastFrameTicks = now;
    if (delta > kMaxFrameDelta) delta = kMaxFrameDelta;
    if (delta < 0.0f) delta = 0.0f;  // the tick counter wrapped after 49 days
    return delta;
}
