#pragma once
// The JSON document of one fortress (seed, generator grids, the furnished
// snapshot, scanner targets and the mission cells). Other programs read it:
// keep the keys, their order and the cell field order as they are.
#include <cstdint>
#include <ostream>

#include "world/FortressBuild.h"

void writeFortressDump(std::ostream& out, uint32_t seed, const FortressSetup& setup);
