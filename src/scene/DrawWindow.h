#pragma once
// Block objects are drawn only inside this window of cells around the player, once it
// has been computed: the rules move it, the drawing reads it.
#include <cstdint>

struct DrawWindow {
    int32_t minX = 0;
    int32_t minZ = 0;
    int32_t maxX = 0;
    int32_t maxZ = 0;
    bool valid = false;

    bool contains(int32_t i, int32_t j) const { return !valid || (i >= minX && i <= maxX && j >= minZ && j <= maxZ); }
};
