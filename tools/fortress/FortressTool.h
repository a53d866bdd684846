#pragma once
#include <cstdint>
#include <ostream>

#include "world/FortressBuild.h"

// A readable text map of the furnished fortress, with a legend.
void writeShow(std::ostream& out, uint32_t seed, const FortressSetup& setup);
