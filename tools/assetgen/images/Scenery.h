#pragma once
// Shared painting of the planet's night landscape (menus, loading screen, pictures).
#include <cstdint>

#include "Canvas.h"

namespace assetgen::img {

struct LandscapeOptions {
    std::uint32_t seed = 1;
    float horizon = 0.7f;       // fraction of the height where the far hills stand
    bool planet = true;
    float planetX = 0.78f, planetY = 0.3f, planetR = 0.16f;  // fractions of the height (x of the width)
    bool fortress = true;
    float fortressX = 0.5f;     // centre of the fortress, fraction of the width
    float fortressScale = 1.0f;
    Color skyTop = {0.03f, 0.01f, 0.03f, 1};
    Color skyHorizon = {0.42f, 0.08f, 0.07f, 1};
    Color planetLight = {0.95f, 0.5f, 0.25f, 1};
    float starDensity = 1.0f;
};

// Paints the landscape over the whole image (opaque).
void paintLandscape(Image& im, const LandscapeOptions& o);

}  // namespace assetgen::img
