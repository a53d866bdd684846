#include "util/Random.h"

uint32_t RandomEngine::uniformIndex(uint32_t n) {
    if (n <= 1) return 0;
    constexpr uint32_t m = 0xFFFFFFFFu;
    // When m mod n = n - 1 every 32-bit draw maps evenly, so nothing is rejected.
    const bool acceptAll = (m % n) == n - 1;
    for (;;) {
        const uint32_t r = next();
        if (acceptAll || r / n < m / n) return r % n;
    }
}

int32_t RandomEngine::uniformInt(int32_t lo, int32_t hi) {
    const uint32_t width = static_cast<uint32_t>(hi) - static_cast<uint32_t>(lo) + 1u;
    if (width == 0) return static_cast<int32_t>(static_cast<uint32_t>(lo) + next());
    return static_cast<int32_t>(static_cast<uint32_t>(lo) + uniformIndex(width));
}

double RandomEngine::realFromDraw(float lo, float hi, uint32_t r) {
    const double c = static_cast<double>(static_cast<float>(r)) / 4294967296.0;
    return static_cast<double>(lo) + (static_cast<double>(hi) - static_cast<double>(lo)) * c;
}

